#pragma once
// The run that the ramp, step and partial stroke pages share step for
// step: the device runs the test and records it; the page writes the
// settings, starts it, polls its state until the record is ready, then
// downloads the record block by block (command 214) and draws it. The same
// machine retrieves a record stored in the device. The pages fill in where
// they differ.
//
// A start or a stop counts only once clean reads show what the device did
// (the test engine's handshake): a start the device never received would
// show the record of the run before as this run, and a lost stop would say
// "stopped" over a valve that still moves. A start is sent again only once
// the device is known never to have run it, a stop again only while the
// device is seen testing; until a clean read comes, the page reads on with
// Stop offered. Where it cannot be told whether the device ran the test,
// the page says so.
//
// Shown again, the page first reads what the device does: its own run is
// followed to its record, and while any other test runs only Stop is
// offered. Data that is not a whole record is neither saved nor printed.
//
// The pages share one test engine, one record pointer and one set-up in
// the device (CTestEngine): Start is offered only while the engine is seen
// idle, a start the device answered is never sent again, and a download
// whose record another page selected since starts over from its selection.
// A record on show keeps the set-up it was made with: Save, Print and the
// plot's axes use that, and a page shown again leaves it in the edits.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/controls.h"
#include "shell/app.h"
#include "shell/block_download.h"
#include "shell/test_page.h"

// Where the pages differ in their run.
struct RecordedTestKind {
  int multiTestIndex;        // the page's entry in the multi-test done flags
  const char* completeKey;   // the multi-test status lines
  const char* stoppedKey;
  int pollEvery;             // idle ticks between two status polls
  BYTE runCommand;           // variable 141 for an ordinary run and when the page is shown
  BYTE baselineCommand;      // variable 141 for a baseline run and its retrieval
  const char* tickLog = nullptr;       // written at every tick; null: nothing
  bool logPoints = false;              // every drawn point into the log
  const char* startLeadKey = nullptr;  // before the movement question; null: none
  // The period while a run or a retrieval goes on; 0: the page's period
  // throughout. A page that idles slowly takes a request up at this pace.
  UINT busyPeriodMs = 0;
  bool settleAfterPointer = false;  // one tick without a transaction after the record pointer is set
  bool setupHasTimeLimit = false;   // the set-up written and read holds the time limit (289)
};

// A curve box: the box, the channel it shows, and the key of its caption
// and of the channel's legend.
struct ChannelBox {
  int box;
  const char* channel;
  const char* key;
};
// The step and partial stroke pages' boxes of the four curves of a record.
constexpr std::array<ChannelBox, 4> RecordCurveBoxes(int position, int command, int pilotCommand,
                                                     int pilotPosition) {
  return {{{position, "Position", "IDC_STATICPOSNLBL"},
           {command, "Command", "IPLOTCHANCMD"},
           {pilotCommand, "ILCmd", "IDC_CHECK_SPOOLCMD"},
           {pilotPosition, "ILPos", "IDC_CHECK_SPOOLPOS"}}};
}

// The controls the machine drives (0: the page has none).
struct RecordedTestIds {
  int status, elapsed, progress;
  int retrieve, load, save, start, stop, print;
  int baselineBox;  // "Set Baseline"
  int plotPlace, plot;
};

class CRecordedTestPage : public CDiagnosticTestPage {
 public:
  enum TestRequest : int { kMonitor = 1, kStartRequest = 2, kStopRequest = 3, kBaselineRequest = 4 };
  enum Step : int {
    kIdleStep = 1, kEnterStep = 4, kSetupReadStep = 6, kCommandStep = 8, kSetupStep = 10, kBlockStep = 12,
    kAbortStep = 14, kWaitStep = 16, kPrepareStep = 18, kPointerStep = 19, kPointerSetStep = 20,
    kPassEndStep = 21, kBaselineStep = 22, kRecordStep = 24, kSecondPassStep = 26, kRewindStep = 28,
    kAbortCheckStep = 30, kStartCheckStep = 32, kWatchStep = 34, kSetupBeforeStep = 36,
  };
  static constexpr int kPointsPerPass = 4 * CBlockDownload::kBlocks;

  CRecordedTestPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs, const RecordedTestKind& kind,
                    const RecordedTestIds& ids, std::vector<SettingField> settings, StatusHeaderIds header = {});

  void DoDataExchange(CDataExchange* pDX) override;

  // Buttons.
  void OnStart();
  void OnStop();
  void OnRetrieveBaseline() {
    m_bRunRecord = false;
    RequestRun(kBaselineRequest);
  }

  bool IsTestRunning() const { return m_bTestRunning; }
  bool IsFileLoaded() const { return m_bFileLoaded; }
  bool IsBaselineLoaded() const { return m_bBaselineLoaded; }
  bool IsStartAllowed() const { return AllSettingsValid() && DeviceFreeForTest(); }
  // Only a stop is carried on when the page is left: a start belongs to
  // its page being shown, and a download waits until it is shown again.
  bool RequestUnderWay() const override;
  // Nothing run yet, the last start never reached the device, or the last
  // download broke off: there is no run to keep until a whole record or an
  // opened file.
  bool HasNoRunToKeep() const { return m_bNoWholeRecord; }
  double GetTimeStep() const { return m_dTimeStep; }
  IiXYPlotX* GetPlot() const { return m_pPlot.GetInterfacePtr(); }
  activex::IReportX* GetReport() const { return m_pReport.GetInterfacePtr(); }

 protected:
  // The plot, the report engine and the printer on their placeholders.
  void CreateControls() override;
  void OnShown() override;
  void RunStep() override;
  void EnableActionButtons(BOOL enable) override;

  // --- The plot the run draws into.
  // By default an XY plot on the plot placeholder, laid out by SetupPlot;
  // a page that draws against time alone makes its own.
  virtual void CreatePlot();
  virtual void SetupPlot() {}
  virtual IPlotBase* RunPlot() const { return m_pPlot.GetInterfacePtr(); }
  // A time channel of that plot: "Command", "Position", "ILCmd" or "ILPos".
  virtual _com_ptr_t<IPlotChannelBase> TimeChannel(const char* name);

  // --- Where the pages differ.
  // Step 6: the device's set-up read; true when it was answered.
  virtual bool ReadDeviceSetup();
  // Step 7, after an answered set-up read: the set-up into the page.
  virtual void ShowReadTestSetup() = 0;
  // Step 10: the settings into the device image and the set-up write with
  // the start; true when the device answered it.
  virtual bool WriteSetup() = 0;
  // Step 11, after the set-up write.
  virtual void AfterSetupWritten() = 0;
  // After each state read while waiting.
  virtual void AfterStateRead() {}
  // The run's record is ready in the device: where the machine goes.
  virtual void OnRecordReady();
  // Step 22: variable 141 for a retrieval; true when it was answered.
  virtual bool WriteRetrievalCommand(BYTE command);
  // Step 18: the time step and the time axis of the download.
  virtual void PrepareTimeAxis() = 0;
  // The page's points beyond the four time channels, for one sample.
  virtual void AddSamplePoints(double /*command*/, double /*position*/, double /*pilotCommand*/, double /*pilotPosition*/) {}
  // Step 21: true when a second pass follows.
  virtual bool NextPass() { return false; }
  // A download has ended, drawn whole or given up.
  virtual void OnDownloadEnded() {}
  // Step 25: the retrieved record into the page.
  virtual void ShowRecord() = 0;
  // A multi-test run: the sequence's settings into the edits.
  virtual void ShowDeviceTestSetup() = 0;
  // The view of opened data when the page is shown again.
  virtual void ShowPlotView() = 0;
  // The start request, after the common reset.
  virtual void OnRunStarting() {}

  // --- Shared pieces.
  // A request of a run, a retrieval or a stop, for the next tick.
  void RequestRun(int request);
  // A retrieval request: the record selected with `command` (variable 141).
  void BeginRetrieval(BYTE command);
  // All the points of the run's plot gone.
  void ClearPlot();
  // A row of the page's own in place of the frame's row for that step.
  void ReplaceStep(PageStep row);
  // The check of one settings edit (its EN_CHANGE); quiet while a record
  // is retrieved.
  void OnSettingChanged(size_t index) override;
  // Idle, with no request waiting and no stop to be confirmed: the
  // settings' checks may give Start back.
  bool HoldsNoButtons() const;
  void ResetForRun();
  void SetStatus(const char* key);
  // After a page has opened a test file and shown its settings: the file's
  // data in the page's view, the off-line status, no elapsed time or progress.
  void ShowOpenedFile();
  void SetEditNumber(int id, const char* format, double value);
  // An edit's number as the run reads it (empty: 0).
  double EditValue(int id) const { return CCommonFunctions::ReadEditDouble(*this, id); }
  // The point log: "1st" .. "4th" for a sample of a block, and "x->y".
  static const char* SampleName(size_t sample);
  static std::string PointLine(double x, double y);
  // The plot's tool-bar hints in the user's language.
  void TranslateToolBarHints();
  void WarnIfTagDiffers(const _bstr_t& fileTag) { CDiagnosticTestPage::WarnIfTagDiffers(m_bFileLoaded, fileTag); }
  // An axis of the plot by name; a missing one raises.
  IiPlotAxisPtr PlotAxis(bool x, const char* name) const;
  void SetAxisRange(bool x, const char* name, double min, double span) const;
  // Both display switches of the axis on.
  void ShowPlotAxis(bool x, const char* name) const;
  // The end of a run or a retrieval: the buttons back, idle, the hand-back
  // to a multi-test run.
  void FinishRun(const char* sequenceKey);
  // The pace of an idle page.
  void SetIdlePace() { m_nPeriod = m_nIdlePeriod; }
  // Whether the data on show is a whole run to save and print.
  void KeepWholeRecord(bool whole) { m_bNoWholeRecord = !whole; }

  // The set-up of the data on show: its edits' texts (and the page's set-up
  // boxes, m_setupBoxes) as they were when the data came: at the run's
  // start, from a retrieved record, or from an opened file. Without data
  // on show, what the edits hold now.
  void KeepRecordSetup();
  // Every setting judged as its edit holds it now.
  void CheckEveryField();
  std::string SetupText(int id) const;
  double SetupValue(int id) const;
  bool SetupChecked(int id) const;
  std::vector<int> m_setupBoxes;

  const RecordedTestKind m_kind;
  const RecordedTestIds m_ids;

  bool m_bTestRunning = false;
  int m_nBidirectionalPass = 0;
  int m_nSecondPassCommand = 6;
  BYTE m_nTestDirection = 4;
  double m_dTimeStep = 0.0;  // between two recorded points, in the time axis's unit
  int m_nPointBase = 0;
  WORD m_nPointIndex = 0;
  bool m_bBaselineLoaded = false;
  bool m_bFileLoaded = false;
  bool m_bRetrievingBaseline = false;  // any record retrieval: the input checks are quiet
  // The retrieval asked for reads the record of the page's own run just
  // made: stopped, it is that run's download, not a retrieval.
  bool m_bRunRecord = false;
  BYTE m_byRetrievalCommand = 0;       // variable 141 of the retrieval under way

  CProgressCtrl m_prgProgress;
  CStatic m_wndPlotPlace;
  CWnd m_wndPlotHost;
  IiXYPlotXPtr m_pPlot;

 private:
  // The answered block into the plot.
  void AcquireTestData();
  void EndPass();
  void EndDownload(const char* statusKey, const char* sequenceKey);
  // A write that must be answered: its step again while tries are left,
  // else `giveUp`.
  void TryAgain(int step, void (CRecordedTestPage::*giveUp)());
  // After a read of the page's run: what the engine makes of its start.
  void FollowStart();
  // After the set-up read that follows an unanswered start.
  void JudgeStartCheck();
  // The set-up in the device image: 142, 143, 145, 149, 289 and the type.
  CTestEngine::Setup ImageSetup() const;
  // 141 written (or tried): the engine learns who selected what.
  void NoteSelected(BYTE command, bool answered);
  // A read that holds 144: answered, its state goes into the engine.
  bool Told(bool answered) const;
  // The record this page downloads is no longer selected: selected again
  // and read from its start, or, when a test has started since, given up.
  void ResumeDownload();
  // After the set-up read of a page shown again.
  void JudgeShownState();
  // The page's own run, left while under way, or whose stop is overtaken:
  // followed again, or ended as the engine tells it.
  void SettleOwnRun();
  // Another test runs in the device: only Stop is offered until it ends.
  void WatchForeignRun();
  // The engine's state read until it is seen idle.
  void WatchUntilIdle();
  void JudgeWatch();
  // A state read says no test runs: the buttons back, or the sequence that
  // waits on this page's stop goes on.
  void DeviceIdle();
  // The status of the data on show when the page idles.
  void ShowIdleStatus();
  void StartAgain();
  void StartFailed();
  // The sequence gets the test back only once the engine is seen idle;
  // until then the page reads its state.
  void HandBackWhenIdle(const char* sequenceKey, bool recorded);
  void DownloadFailed();
  // Nothing of the record came in.
  void RecordFailed();
  // After the state read that follows an abort.
  void JudgeAbort();
  // No clean read has yet shown the device stopped: Stop stays offered.
  void StopUnconfirmed();
  // A stop of the page's run whose end the engine has told since.
  bool OwnRunSettled() const;
  void EndStop(const char* statusKey, const char* sequenceKey);
  void RetrievalStopped();
  // The page's stop is over: the engine forgets it.
  void DropStop();
  // A start is written only soon after its click, and while the page that
  // took the click stays shown: a start the device never took is not sent
  // again minutes later, nor by a page shown again.
  bool StartStillOwned() const;
  // The start's click is over before anything was written, or before the
  // device took it.
  void StartExpired();
  // Every setting checked again (after the checks were quiet).
  void CheckAllSettings();

  const UINT m_nIdlePeriod;
  bool m_bAnswered = false;       // the step's transaction had a reply
  bool m_bNoWholeRecord = true;   // no run to keep: nothing run, a start not taken or a download broken off
  bool m_bForeignRun = false;     // a test runs in the device that is not this page's run
  bool m_bStartWhenIdle = false;  // a sequence's start waits for the engine to be seen idle
  // A hand-back to the sequence that waits for the engine to be seen idle:
  // its status key and whether the test has a whole record.
  std::optional<std::pair<const char*, bool>> m_pendingHandBack;
  BYTE m_bySelected = 0;          // 141 as this page last wrote it
  int m_nStartsAtRecord = 0;      // the engine's starts when the record on its way was made
  std::optional<std::int64_t> m_startClickMs;  // the click of the start under way, while the page stays shown
  bool m_bStartOwned = false;     // the start step's write belonged to its click
  std::optional<std::pair<std::vector<std::string>, std::vector<bool>>> m_recordSetup;
  int m_nTries = 0;               // of the write under way
  int m_nStartTries = 0;
  int m_nStateMisses = 0;         // state reads in a row without a clean reply
  // What a stop was pressed for: the page's start before it went out, the
  // page's run, the download of its recorded run, a retrieval of a stored
  // record, or another test that the page watches.
  enum class Stopping { kNone, kBeforeStart, kRun, kDownload, kRetrieval, kOther };
  Stopping m_stopping = Stopping::kNone;
  bool m_bStopUnconfirmed = false;  // said so, with Stop offered again
  CBlockDownload m_download;
};
