#pragma once
// Two saved partial stroke tests side by side: their position, command and
// pilot relay traces with the point-by-point differences in one time plot,
// and their identification, settings and results with the differences of
// the two result times.
#include "shell/compare_page.h"

class CDiagnostics_PSTCompareView : public CComparePage {
 public:
  enum : UINT { kComparePlotId = 413, kFilePlotId = 414 };
  enum : int {
    kComparePlace = 1357,
    kFilePlace = 1358,
    kTag1Id = 1363, kTag2Id = 1364, kDate1Id = 1365, kDate2Id = 1366, kName1Id = 1367, kName2Id = 1368,
    kStart1Id = 1374, kStart2Id = 1375, kStop1Id = 1376, kStop2Id = 1377, kRamp1Id = 1378, kRamp2Id = 1379,
    kHold1Id = 1380, kHold2Id = 1381, kLimit1Id = 1615, kLimit2Id = 1616,
    kBreakaway1Id = 775, kBreakaway2Id = 779, kBreakawayDiffId = 783,
    kToTarget1Id = 777, kToTarget2Id = 781, kToTargetDiffId = 785,
    kResult1Id = 778, kResult2Id = 782,
  };

  CDiagnostics_PSTCompareView();

  IiPlotX* GetComparePlot() const { return m_comparePlot.GetInterfacePtr(); }
  activex::IReportX* GetReport() const { return m_pReport.GetInterfacePtr(); }

 protected:
  void CreatePlots() override;
  bool LoadFile1() override;
  bool LoadFile2() override;
  void ShowBoxChannels(int box, bool show) override;
  void GenerateReport(const _bstr_t& definitionPath) override;
  // The four result times to two decimals, without the stored blanks.
  _bstr_t ShownText(int text) const override;

 private:
  void SetPlotCaptions();

  IiPlotXPtr m_comparePlot, m_filePlot;
};
