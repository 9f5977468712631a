#pragma once
// The HDRL test: the page itself steps the digital command through two
// cycles of stairs, reads the settled position of each, and works out
// hysteresis plus dead band, repeatability and linearity from them. Nothing
// runs inside the device; the mode and command of when the page was shown
// are put back at the end, and read back when that write is never
// answered. A stair counts only once its command was answered and its
// settled position read; what the device never answered is tried again a
// few times, then said.
#include <array>
#include <optional>
#include <string>

#include "common/common_fields.h"
#include "platform/win/controls.h"
#include "shell/test_page.h"

// One of the page's three graphs (hdrl_test.cpp).
struct HDRLGraph;

class CDiagnostics_HDRLView : public CDiagnosticTestPage {
 public:
  enum : int {
    kHysteresisAverageId = 594,
    kHysteresisMaximumId = 595,
    kRepeatabilityAverageId = 592,
    kRepeatabilityMaximumId = 593,
    kLinearityId = 596,
    kSettlingTimeId = 1813,
    kSettlingIconId = 1729,
    kStartTimeId = 394,
    kElapsedId = 395,
    kProgressId = 506,
    kControlSignalId = 432,
    kHysteresisGraphId = 475,
    kLinearityGraphId = 502,
    kPlotPlaceId = 1243,
    kLoadId = 454,
    kSaveId = 453,
    kStartId = 474,
    kStopId = 501,
    kPrintId = 1245,
  };
  enum : UINT { kPlotId = 403 };
  enum Request : int { kMonitor = 1, kStartRequest = 2, kStopRequest = 3 };
  enum Step : int {
    kIdleStep = 1,
    kStateStep = 4,
    kStartStep = 6,
    kSettleStep = 9,
    kAnalysisStep = 13,
    kRestoreStep = 14,
    kReadBackStep = 15,
  };
  // The settling time the edit accepts, seconds.
  static constexpr double kMinSettlingTime = 6.0;
  static constexpr double kMaxSettlingTime = 655.35;

  CDiagnostics_HDRLView();

  void DoDataExchange(CDataExchange* pDX) override;
  // A run left mid-way gives the valve back its mode and command first:
  // the timer stops here, so the tries are made at once.
  void StopMonitoring() override;

  // Buttons.
  void OnStart();
  // The settling time valid, the mode and command to put back read, and
  // the device's test engine seen idle.
  bool StartAllowed() const;
  void OnStop();
  void OnLoad();
  // Also the multi-test page's "save all".
  void SaveResults();
  void OnPrintReport();
  void ShowControlSignalGraph();
  void ShowHysteresisGraph();
  void ShowLinearityGraph();

  // The results and the settling time as the page shows them, for a report.
  struct ShownResults {
    // Repeatability average and maximum, hysteresis average and maximum,
    // linearity.
    HDRLResultTexts results;
    _bstr_t settlingTime;
  };
  ShownResults GetShownResults() const;
  // A settling time handed over by a multi-test sequence: checked as if
  // typed.
  void SetSettlingTimeText(const std::string& text);

  bool IsRunning() const { return m_bRunning; }
  bool IsSettlingTimeValid() const { return AllSettingsValid(); }
  IiXYPlotX* GetPlot() const { return m_pPlot.GetInterfacePtr(); }
  activex::IReportX* GetReport() const { return m_pReport.GetInterfacePtr(); }

 protected:
  void CreateControls() override;
  void OnShown() override;
  void RunStep() override;
  void EnableActionButtons(BOOL enable) override;

 private:
  struct StairResult {
    double stair = 0, position = 0;
  };
  // How a run ended.
  enum class RunEnd { kCompleted, kStopped, kIncomplete, kNotStarted };
  // What is known of the restore at the end: answered, or read back after
  // its last unanswered try, or neither.
  enum class Restored { kAnswered, kReadBack, kNotRead };

  void OnChangeSettlingTime();
  void OnSettingChanged(size_t) override { OnChangeSettlingTime(); }
  void PrepareTestRun();
  // The first stair's command in digital mode; tried again while unanswered.
  void WriteStart();
  void RecordStepAndAdvance();
  // One more unanswered try of the present write or read; the last one
  // ends the run with `end`.
  void MissedTry(RunEnd end);
  void PlotRunResults();
  void ShowRunAnalysis();
  // One more unanswered try of the restore or its read-back: false while
  // `step` is tried again at the next tick, true at the last try.
  bool TriedOut(int step);
  // Mode and command back as they were when the page was shown; true once
  // the device answered, at most `tries` writes.
  bool Restore(int tries);
  // The mode and command read back after a restore that was never
  // answered; true once read, at most `tries` reads.
  bool ReadBack(int tries);
  // The restore's tries and then the read-back's, all at once.
  Restored RestoreAtOnce();
  // After the restore: what the run leaves to the user.
  void EndRun(Restored restored);
  // Where the valve stands when the restore was never answered; empty when
  // the device reads back as it was put back.
  std::string NotRestoredText(Restored restored) const;
  const char* RunEndKey() const;
  void ShowGraph(const HDRLGraph& graph);
  void SetPlotTexts();
  // The time axis over 24 settling times from 0.
  void ResetTimeAxis(double settlingTime);
  void SetResultText(int id, const char* format, double value);

  std::array<StairResult, 25> m_aStepResults{};
  unsigned m_nStepIndex = 0;
  BYTE m_bySavedControlMode = 0;
  double m_dSavedCommandPct = 0;
  bool m_bStateSaved = false;  // the saved mode and command were read
  RunEnd m_eRunEnd = RunEnd::kStopped;
  bool m_bFileLoaded = false;  // an opened file on show, until the next run
  // From the start's first write until the restore was answered or given
  // up: the valve may stand in digital mode.
  bool m_bRunning = false;
  bool m_bModeWritten = false;     // the start's digital mode was answered
  bool m_bCommandPending = false;  // the stair's command is not known in the device
  // The last command the device answered (a write or a read), over runs:
  // none until one was.
  std::optional<double> m_dCommandInDevice;
  int m_nTries = 0;                // unanswered tries in a row
  // No run yet, or the last one ended without its results (stopped, not
  // started, or a stair never read): nothing to save or print until a run
  // completes or a file opens.
  bool m_bRunUnfinished = true;
  int m_nSettleTicks = 0;
  // Latched at the start: a changed edit moves neither the wait nor the axis.
  double m_dSettlingTime = kMinSettlingTime;
  int m_nTicksPerStair = 12;

  double m_dRepeatabilityAverage = 0, m_dRepeatabilityMaximum = 0;
  double m_dHysteresisAverage = 0, m_dHysteresisMaximum = 0;
  double m_dLinearityError = 0;

  CProgressCtrl m_prgProgress;
  CStatic m_wndPlotPlace;
  CWnd m_wndPlotHost;
  IiXYPlotXPtr m_pPlot;
};
