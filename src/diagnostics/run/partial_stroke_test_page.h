#pragma once
// The partial stroke test: the device moves the valve a little from its
// working position and back by itself and times it; the page writes the
// settings, starts or stops the test, shows its results, draws the stored
// baseline or last test against time, and keeps it in files and reports.
// Its period is 5000 ms while idle and 500 ms during a test or a retrieval.
#include "common/common_fields.h"
#include "shell/recorded_test_page.h"

class CDiagnostics_PSTView : public CRecordedTestPage {
 public:
  enum : int {
    kStartPosId = 890,
    kStopPosId = 891,
    kHoldId = 892,
    kRampId = 893,
    kTimeLimitId = 898,
    kStartIconId = 853,
    kStopIconId = 855,
    kHoldIconId = 854,
    kRampIconId = 856,
    kTimeLimitIconId = 857,
    kBaselineBoxId = 634,
    kApplyId = 432,
    kPositionBoxId = 1223,
    kCommandBoxId = 629,
    kPilotCommandBoxId = 632,
    kPilotPositionBoxId = 633,
    kStatusId = 774,
    kProgressId = 495,
    kBreakawayId = 1229,
    kTimeToTargetId = 1231,
    kResultId = 1232,
    kRetrieveBaselineId = 475,
    kRetrieveLastId = 476,
    kLoadId = 1234,
    kSaveId = 1235,
    kStartId = 1236,
    kStopId = 1237,
    kPrintId = 1238,
    kPlotPlaceId = 1233,
  };
  enum : UINT { kPlotId = 402, kIdlePeriod = 5000, kBusyPeriod = 500 };
  enum : int { kLastRequest = 5 };
  // After the record is ready the device's results are read, not its samples.
  enum : int { kResultStep = 26 };
  static constexpr double kSamples = 4.0 * CBlockDownload::kBlocks;

  CDiagnostics_PSTView();

  // Buttons.
  void OnRetrieveLast() {
    m_bRunRecord = false;
    RequestRun(kLastRequest);
  }
  void OnApply();
  void OnLoad();
  // Also the multi-test page's "save all".
  void SaveResults();
  void OnPrintReport();

  // Milliseconds between two samples of the record drawn.
  // The settings and results as the page shows them, for the file and a
  // report.
  struct ShownFields {
    PSTSettingTexts settings;
    _bstr_t breakaway, timeToTarget, result;
  };
  ShownFields GetShownFields() const;

  double GetSampleInterval() const { return m_dTimeStep; }
  IiPlotX* GetPlot() const { return m_pTimePlot.GetInterfacePtr(); }

 protected:
  void CreateControls() override;
  void CreatePlot() override;
  IPlotBase* RunPlot() const override { return m_pTimePlot.GetInterfacePtr(); }
  _com_ptr_t<IPlotChannelBase> TimeChannel(const char* name) override;
  void EnableActionButtons(BOOL enable) override;
  void OnSettingChanged(size_t index) override;

  bool ReadDeviceSetup() override;
  void ShowReadTestSetup() override;
  bool WriteSetup() override { return WriteSetup(kStartState); }
  void AfterSetupWritten() override { EnableActionButtons(FALSE); }
  void OnRecordReady() override { m_nStep = kResultStep; }
  bool WriteRetrievalCommand(BYTE command) override;
  void PrepareTimeAxis() override;
  void OnDownloadEnded() override { FitAxes(); }
  void ShowRecord() override;
  void ShowDeviceTestSetup() override;
  void ShowPlotView() override { ShowChannels(false); }
  void OnRunStarting() override;

 private:
  static constexpr BYTE kStartState = 0x81, kKeepState = 0x88;

  // The five settings into the device image and the set-up write, with
  // the given test state (0x81 start, 0x88 keep only).
  bool WriteSetup(BYTE state);
  void ShowSettings(double start, double stop, double hold, double ramp, double limit);
  void ShowResults(double breakaway, double timeToTarget, BYTE code);
  void ShowChannels(bool all);
  void SetPlotCaptions();
  void FitAxes();
  // The settings and results as the edits show them, for the file and the report.
  void KeepFieldTexts();

  bool m_bResultsAnswered = false;
  int m_nResultMisses = 0;
  // The result code of what the page shows: the run's, the record's or the file's.
  BYTE m_byShownResultCode = 0;
  IiPlotXPtr m_pTimePlot;
};
