#pragma once
// Two saved HDRL tests side by side: both runs in one plot, which three
// graph buttons switch between control signal, hysteresis and dead band,
// and linearity; each file's settling time and results, and how far the
// results of the two files lie apart.
#include "shell/compare_page.h"

class CDiagnostics_HDRLCompareView : public CComparePage {
 public:
  enum : int {
    kControlSignalId = 432,
    kHDRId = 475,
    kLinearityId = 502,
    kComparePlotId = 417,
    kPlotPlaceId = 1066,
    kFilePlotPlaceId = 1062,
  };
  // The graph buttons in graph order.
  static constexpr int kGraphButtons[3] = {kControlSignalId, kHDRId, kLinearityId};

  CDiagnostics_HDRLCompareView();

  void OnControlSignal() { ShowGraph(0); }
  void OnHDR() { ShowGraph(1); }
  void OnLinearity() { ShowGraph(2); }

  IiXYPlotX* GetPlot() const { return m_pComparePlot.GetInterfacePtr(); }
  activex::IReportX* GetReport() const { return m_pReport.GetInterfacePtr(); }

 protected:
  void CreatePlots() override;
  void ShowDefaultView() override { ShowGraph(0); }
  bool LoadFile1() override;
  bool LoadFile2() override;
  // Results with two decimals (the linearity error with four), the other
  // texts as they stand; a text that is no number shows nothing.
  _bstr_t ShownText(int text) const override;
  void GenerateReport(const _bstr_t& definitionPath) override;

 private:
  void ShowGraph(int graph);
  void HideAllChannels();
  void SetPlotCaptions();

  IiXYPlotXPtr m_pComparePlot, m_pFilePlot;
  // The latest "1..." and "2..." succeeded; a file 2 was shown since the
  // latest "1..."; a file 1 was ever shown. Together they decide which
  // channels a graph switch leaves visible.
  bool m_bFile1Loaded = false, m_bFile2Loaded = false, m_bFile2Shown = false, m_bFile1Shown = false;
};
