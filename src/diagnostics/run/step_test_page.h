#pragma once
// The step test: the device holds the valve at a start position, steps the
// command to the stop position and records the response over the hold
// time. The run itself is the recorded-test frame's; the page sets it up,
// draws it against time and keeps it in files and reports.
#include "common/common_fields.h"
#include "shell/recorded_test_page.h"

class CDiagnostics_StepTestView : public CRecordedTestPage {
 public:
  enum : int {
    kStartPosId = 892,
    kStopPosId = 893,
    kHoldId = 894,
    kStartIconId = 1726,
    kStopIconId = 1728,
    kHoldIconId = 1727,
    kBaselineBoxId = 408,
    kPositionBoxId = 1195,
    kCommandBoxId = 1196,
    kPilotCommandBoxId = 1200,
    kPilotPositionBoxId = 1201,
    kStatusId = 1800,
    kElapsedId = 1202,
    kProgressId = 603,
    kPlotPlaceId = 1217,
    kRetrieveId = 439,
    kLoadId = 1211,
    kSaveId = 1212,
    kStartId = 1213,
    kStopId = 1214,
    kPrintId = 1215,
    kViewId = 1024,
  };
  enum : UINT { kPlotId = 401 };
  // Samples of one step run, evenly over its hold time and one second.
  static constexpr double kSamples = 208.0;

  CDiagnostics_StepTestView();

  // The step plot as the boxes choose it.
  void OnViewStepTest();
  void OnLoad();
  // Also the multi-test page's "save all".
  void OnSave();
  void OnPrintReport();

  // Start, stop and hold time as the edits show them, for the file and a
  // report.
  StepSettingTexts GetShownSettings() const;

 protected:
  void CreateControls() override;
  void SetupPlot() override;
  bool WriteSetup() override;
  void AfterSetupWritten() override;
  void AfterStateRead() override { ScaleAxesForTest(); }
  void PrepareTimeAxis() override;
  void ShowRecord() override;
  void ShowReadTestSetup() override;
  void ShowDeviceTestSetup() override;
  void ShowPlotView() override { OnViewStepTest(); }

 private:
  void SetPlotCaptions();
  // The axes for the settings in the edits: time over hold + 1 s, percent
  // from the lower position to 110.
  void ScaleAxesForTest();
  void ShowSettings(const char* format, double start, double stop, double hold);
  double LowerPosition() const;
  // The settings as the edits show them, for the file and the report.
  void KeepSettingTexts();

  double m_dTimeSpan = 0.0;
  double m_dLowerPosition = 0.0;
};
