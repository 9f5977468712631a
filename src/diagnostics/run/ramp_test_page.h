#pragma once
// The ramp test: the device ramps the valve from the start to the stop
// position (and back when bi-directional) and records command, position
// and the pilot relay; the page plots the record against time and as a
// signature against the command, opens, saves and prints it.
#include "common/common_fields.h"
#include "common/ramp_views.h"
#include "shell/recorded_test_page.h"

class CDiagnostics_RampTestView : public CRecordedTestPage {
 public:
  enum : int {
    kStartEdit = 1031,
    kStopEdit = 1032,
    kHoldEdit = 1033,
    kRampEdit = 1034,
    kStrokeEdit = 1035,
    kActuatorEdit = 1036,
    kStrokeUnit = 913,
    kAreaUnit = 914,
    kBidirectionalBox = 1037,
    kBaselineBox = 1038,
    kInnerLoopBox = 410,
    kPositionBox = 1039,
    kCommandBox = 1040,
    kPilotCommandBox = 1044,
    kPilotPositionBox = 1045,
    kTimeViewButton = 434,
    kSignalViewButton = 437,
    kStatusId = 1021,
    kElapsedId = 1046,
    kProgressId = 1047,
    kRetrieveId = 1051,
    kLoadId = 1053,
    kSaveId = 1054,
    kStartId = 1055,
    kStopId = 1056,
    kPrintId = 1057,
    kStartIcon = 1724,
    kStopIcon = 1725,
    kHoldIcon = 1723,
    kRampIcon = 1722,
    kPlotPlace = 1058,
    kPlotId = 400,
  };
  // The plot's two views.
  static constexpr BYTE kTimeView = rampviews::kTimeView, kSignalView = rampviews::kSignalView;

  CDiagnostics_RampTestView();
  void OnInitialUpdate() override;

  void OnViewRampTest();
  void OnViewSignalVsCommand();
  void OnLoad();
  // Also the multi-test page's save of the ramp run.
  void OnSave();
  void OnPrintReport();

  // The settings and the valve's data as the page shows them, for a report.
  struct ShownSettings {
    RampSettingTexts settings;
    bool bidirectional = false;
    _bstr_t strokeLength, strokeUnit, actuatorSize, areaUnit;
  };
  ShownSettings GetShownSettings() const;

  BYTE GetPlotView() const { return m_nPlotView; }
  BYTE GetTestDirection() const { return m_nTestDirection; }

 protected:
  void CreateControls() override;
  void SetupPlot() override;
  bool WriteSetup() override;
  void AfterSetupWritten() override;
  void PrepareTimeAxis() override;
  void AddSamplePoints(double command, double position, double pilotCommand, double pilotPosition) override;
  bool NextPass() override;
  void ShowRecord() override;
  void ShowReadTestSetup() override;
  void ShowDeviceTestSetup() override;
  void ShowPlotView() override { OnViewRampTest(); }
  void OnRunStarting() override { ShowStrokeAndActuator(); }

 private:
  void SetPlotCaptions();
  void ScaleAxesForTest();
  // RampX over the whole run from 0, CmdX over 0 to 100 %.
  void SpanRunAxes();
  void OnChannelBox(size_t row);
  void ShowView(BYTE view);
  void ShowStrokeAndActuator();
  // Ramp time + hold time + 1 s, doubled for a bi-directional run.
  double RunDuration() const;

  BYTE m_nPlotView = kTimeView;
  size_t m_nSignatureSample = 0;  // of the block being drawn
};
