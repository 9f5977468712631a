#pragma once
// Two saved ramp tests side by side, in two views of the same data: the
// ramp run against time, and position, pilot relay command and pilot relay
// position against the command for the opening and the closing stroke.
#include "common/ramp_views.h"
#include "shell/compare_page.h"

class CDiagnostics_RampCompareView : public CComparePage {
 public:
  enum : int {
    kComparePlace = 1356,
    kFilePlace = 1355,
    kComparePlotId = 411,
    kRampViewId = 1135,
    kSignalViewId = 1137,
    kStrokeUnitId = 924,
    kAreaUnitId = 925,
    kBidirectional1Id = 408,
    kBidirectional2Id = 409,
  };
  enum ViewMode : BYTE { kRampView = rampviews::kTimeView, kSignalView = rampviews::kSignalView };

  CDiagnostics_RampCompareView();
  void OnInitialUpdate() override;

  IiXYPlotX* GetPlot() const { return m_pComparePlot.GetInterfacePtr(); }
  activex::IReportX* GetReport() const { return m_pReport.GetInterfacePtr(); }
  ViewMode GetViewMode() const { return m_nViewMode; }

  void ShowRampView();
  void ShowSignalView();

 protected:
  void CreatePlots() override;
  void ShowDefaultView() override { ShowRampView(); }
  bool LoadFile1() override;
  bool LoadFile2() override;
  void ShowBoxChannels(int box, bool show) override;
  _bstr_t ShownText(int text) const override;
  void GenerateReport(const _bstr_t& definitionPath) override;

 private:
  void SetPlotCaptions();
  void ShowView(ViewMode view);

  IiXYPlotXPtr m_pComparePlot;
  IiXYPlotXPtr m_pFilePlot;
  ViewMode m_nViewMode = kRampView;
};
