#pragma once
// Two saved step tests side by side: both files' position, command and
// pilot relay traces with their differences in one plot, their tags, dates,
// file names and settings in read-only edits, and the comparison report.
#include "shell/compare_page.h"

class CDiagnostics_StepCompareView : public CComparePage {
 public:
  enum : int {
    kTag1Id = 899,
    kTag2Id = 910,
    kDate1Id = 909,
    kDate2Id = 914,
    kName1Id = 1109,
    kName2Id = 1111,
    kStart1Id = 1061,
    kStart2Id = 895,
    kStop1Id = 1062,
    kStop2Id = 896,
    kHold1Id = 1063,
    kHold2Id = 897,
    kViewId = 1140,
    kPlotPlaceId = 1052,
    kFilePlotPlaceId = 1054,
  };
  enum : UINT { kPlotId = 419, kFilePlotId = 420 };

  CDiagnostics_StepCompareView();

  IiXYPlotX* GetPlot() const { return m_pPlot.GetInterfacePtr(); }
  activex::IReportX* GetReport() const { return m_pReport.GetInterfacePtr(); }

 protected:
  void CreatePlots() override;
  // The step graph: its title, the channels of the checked boxes, both axes.
  void ShowDefaultView() override;
  bool LoadFile1() override;
  bool LoadFile2() override;
  void ShowBoxChannels(int box, bool show) override;
  void GenerateReport(const _bstr_t& definitionPath) override;

 private:
  void SetPlotCaptions();

  IiXYPlotXPtr m_pPlot;
  IiXYPlotXPtr m_pFilePlot;
};
