#pragma once
// The partial stroke test: the device moves the valve a little from its
// working position and back by itself and times it; the page writes the
// settings, starts or stops the test, shows its results, draws the stored
// baseline or last test against time, and keeps it in files and reports.
// Its period is 5000 ms while idle and 500 ms during a test or a retrieval.
#include "shell/block_download.h"
#include "shell/test_page.h"

class CDiagnostics_PSTView : public CDiagnosticTestPage {
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
  enum TestRequest : int { kStartRequest = 2, kStopRequest = 3, kBaselineRequest = 4, kLastRequest = 5 };
  enum Step : int {
    kIdleStep = 1, kEnterStep = 4, kSetupReadStep = 6, kCommandStep = 8, kSetupStep = 10, kBlockStep = 12,
    kAbortStep = 14, kWaitStep = 16, kAxesStep = 18, kPointerStep = 19, kPointerSetStep = 20,
    kRetrievedStep = 21, kRetrieveStep = 22, kRecordStep = 24, kResultStep = 26, kRewindStep = 28,
  };
  static constexpr double kSamples = 4.0 * CBlockDownload::kBlocks;

  CDiagnostics_PSTView();

  void DoDataExchange(CDataExchange* pDX) override;

  // Buttons.
  void OnStart();
  void OnStop();
  void OnRetrieveBaseline() { RequestRetrieval(kBaselineRequest); }
  void OnRetrieveLast() { RequestRetrieval(kLastRequest); }
  void OnApply();
  void OnLoad();
  // Also the multi-test page's "save all".
  void SaveResults();
  void OnPrintReport();

  // From the start written until the results are read (or the run stopped).
  bool IsTestRunning() const { return m_nStep == kSetupStep || m_nStep == kWaitStep || m_nStep == kResultStep; }
  bool IsFileLoaded() const { return m_bOfflineData; }
  bool IsBaselineShown() const { return m_bBaselineData; }
  bool IsStartAllowed() const { return AllSettingsValid(); }
  double GetSampleInterval() const { return m_dSampleIntervalMs; }
  IiPlotX* GetPlot() const { return m_pPlot.GetInterfacePtr(); }

 protected:
  void CreateControls() override;
  void OnShown() override;
  void EnableActionButtons(BOOL enable) override;

 private:
  // The five settings into the device image and the set-up write, with
  // the given test state (0x81 start, 0x88 keep only).
  void WriteSetup(BYTE state);
  // Step 7: the device's set-up into the edits, the buttons given back.
  void ShowDeviceSetup();
  void ShowSettings(double start, double stop, double hold, double ramp, double limit);
  // Step 18: the record's time scale, the axes from the edits.
  void PrepareRecordAxes();
  // Step 13: the block just read into the four time channels.
  void AcquireDataBlock();
  void ShowResults(double breakaway, double timeToTarget, BYTE code);
  // The end of a retrieval, drawn whole or given up.
  void EndRetrieval(const char* statusKey, const char* sequenceKey);
  // Every setting checked again (after the validators were quiet).
  void CheckAllSettings();
  void OnSettingChanged(size_t index) override;
  void RequestRetrieval(int request);
  void SetStatus(const char* key);
  void ShowChannels(bool all);
  void SetPlotCaptions();
  void FitAxes();
  // The settings and results as the edits show them, for the file and the report.
  void KeepFieldTexts();

  bool m_bOfflineData = false;
  bool m_bBaselineData = false;
  bool m_bRetrievingBaseline = false;
  bool m_bRetrievingLast = false;
  bool m_bAnswered = false;  // the last state or results read had a reply
  int m_nResultMisses = 0;
  // The result code of what the page shows: the run's, the record's or the file's.
  BYTE m_byShownResultCode = 0;
  double m_dSampleIntervalMs = 0.0;
  CBlockDownload m_download;

  CProgressCtrl m_prgProgress;
  CStatic m_wndPlotPlace;
  CWnd m_wndPlotHost;
  IiPlotXPtr m_pPlot;
};
