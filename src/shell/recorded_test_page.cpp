#include "shell/recorded_test_page.h"

#include <optional>
#include <string>
#include <utility>

#include "common/plot_hints.h"
#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "support/language_table.h"

namespace {

constexpr int kLastBlock = CBlockDownload::kBlocks - 1;
// A sample's values in this order: command, position, pilot relay command and position.
constexpr const char* kTimeChannels[] = {"Command", "Position", "ILCmd", "ILPos"};

}  // namespace

CRecordedTestPage::CRecordedTestPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs,
                                     const RecordedTestKind& kind, const RecordedTestIds& ids,
                                     std::vector<SettingField> settings, StatusHeaderIds header)
    : CDiagnosticTestPage(templateId, titleKey, timerId, periodMs, header),
      m_kind(kind),
      m_ids(ids),
      m_nIdlePeriod(periodMs) {
  SetSettingFields(std::move(settings));
  m_nStartRequest = 0;
  m_nStartStep = kEnterStep;
  m_actionButtons = {m_ids.retrieve, m_ids.load, m_ids.save, m_ids.start, m_ids.print};
  // A stop waits on state reads between its aborts.
  m_bFinishOnTimer = true;

  m_requests = {
      {kStartRequest, kCommandStep,
       [this] {
         m_bStartWhenIdle = false;
         // A click from before the page was left, or that waited too long
         // for the device: the data on show stays.
         if (!StartStillOwned()) {
           m_nStartTries = 0;
           StartExpired();
           return;
         }
         // Judged again as the start goes out: a field typed since the
         // click, or while the page was busy, is never written unchecked.
         CheckEveryField();
         if (!AllSettingsValid() || !DeviceFreeForTest()) {
           // Start comes back once a state read shows the engine idle; a
           // sequence's test starts then.
           m_bTestRunning = false;
           m_bStartWhenIdle = RunningSequence() && AllSettingsValid();
           EnableActionButtons(m_bStartWhenIdle ? FALSE : TRUE);
           WatchUntilIdle();
           return;
         }
         m_bRetrievingBaseline = false;
         m_bBaselineLoaded = false;
         m_stopping = Stopping::kNone;
         m_nTries = m_nStartTries = 0;
         ResetForRun();
         // What is written is what was checked: the run's own set-up.
         KeepRecordSetup();
         OnRunStarting();
       },
       false},
      {kStopRequest, kAbortStep,
       [this] {
         m_nStateMisses = 0;
         m_bStopUnconfirmed = false;
         m_bTestRunning = false;
         m_bForeignRun = false;
         m_bStartWhenIdle = false;
         m_nTries = 0;
       }},
      {kBaselineRequest, kBaselineStep,
       [this] {
         m_bBaselineLoaded = true;
         m_nSecondPassCommand = 2;
         BeginRetrieval(m_kind.baselineCommand);
       },
       false},
  };

  MapCommand(BN_CLICKED, static_cast<UINT>(m_ids.retrieve), [this] { OnRetrieveBaseline(); });
  MapCommand(BN_CLICKED, static_cast<UINT>(m_ids.start), [this] { OnStart(); });
  MapCommand(BN_CLICKED, static_cast<UINT>(m_ids.stop), [this] { OnStop(); });

  CWexletCoreCommunication& comm = theApp().m_comm;
  PageStep idle = CountdownStatusStep(kIdleStep, m_kind.pollEvery, kIdleStep);
  idle.transact = [this, poll = idle.transact] {
    SetIdlePace();
    // Start comes back only from a state read: an idle page whose engine is
    // not seen idle reads it, or it would wait for nothing.
    if (!theApp().m_testEngine.SeenIdle() && !m_bForeignRun) {
      WatchUntilIdle();
      return;
    }
    poll();
  };
  m_steps = {
      idle,
      // Unanswered, 141 may select another page's record, whose set-up the
      // read would show as this page's.
      {kEnterStep, "ENTER", {},
       [this, &comm] {
         m_bAnswered = comm.WriteTestCommand(m_kind.runCommand);
         NoteSelected(m_kind.runCommand, m_bAnswered);
       },
       [this] {
         if (!m_bAnswered) m_nStep = kEnterStep;
       },
       kSetupReadStep},
      {kSetupReadStep, "SETUP", {},
       [this] { m_bAnswered = Told(ReadDeviceSetup()); },
       [this] { JudgeShownState(); }, kIdleStep},
      // A sequence runs unattended: a box left ticked on the page would
      // overwrite the device's baseline in every sequence.
      {kCommandStep, "COMMAND", {},
       [this, &comm] {
         const bool baseline = IsChecked(m_ids.baselineBox) && !RunningSequence();
         const BYTE record = baseline ? m_kind.baselineCommand : m_kind.runCommand;
         m_bAnswered = comm.WriteTestCommand(record);
         NoteSelected(record, m_bAnswered);
       },
       [this] {
         SetStatus("IDC_CHECKMGTINIT");
         // Not taken, the run would be recorded where the device last chose,
         // and another record downloaded after it.
         if (!m_bAnswered) {
           TryAgain(kCommandStep, &CRecordedTestPage::StartFailed);
           return;
         }
         m_nTries = 0;
         if (!theApp().m_testEngine.KnowsSetup(m_kind.multiTestIndex)) m_nStep = kSetupBeforeStep;
       },
       kSetupStep},
      // The set-up the device holds before the start: an unanswered start
      // found there after an outage then tells that it came and ran.
      {kSetupBeforeStep, "SETUP BEFORE", {},
       [this] {
         m_bAnswered = Told(ReadDeviceSetup());
         if (m_bAnswered) theApp().m_testEngine.SetupRead(m_kind.multiTestIndex, ImageSetup());
       },
       [this] {
         if (m_bAnswered)
           m_nTries = 0;
         else
           TryAgain(kSetupBeforeStep, &CRecordedTestPage::StartFailed);
       },
       kSetupStep},
      {kSetupStep, "START", {},
       [this] {
         m_bStartOwned = StartStillOwned();
         if (!m_bStartOwned) return;
         ++m_nStartTries;
         m_nStateMisses = 0;
         m_bAnswered = WriteSetup();
         CTestEngine& engine = theApp().m_testEngine;
         engine.Started(m_kind.multiTestIndex, ImageSetup(), m_bAnswered);
         m_nStartsAtRecord = engine.Starts();
       },
       [this] {
         if (!m_bStartOwned) {
           StartExpired();
           return;
         }
         AfterSetupWritten();
         // Unanswered, the set-up read tells whether the device took it.
         if (!m_bAnswered) m_nStep = kStartCheckStep;
       },
       kWaitStep},
      // The set-up read serves whichever record 141 selects: another page's
      // selection since is put back first, or the read would be of its set-up.
      {kStartCheckStep, "START CHECK", {},
       [this, &comm] {
         if (!theApp().m_testEngine.IsSelected(m_kind.multiTestIndex, m_bySelected)) {
           m_bAnswered = comm.WriteTestCommand(m_bySelected);
           NoteSelected(m_bySelected, m_bAnswered);
           if (!m_bAnswered) return;
         }
         m_bAnswered = Told(ReadDeviceSetup());
       },
       [this] { JudgeStartCheck(); }, kWaitStep},
      {kWatchStep, "WATCH", {},
       [this, &comm] { m_bAnswered = Told(comm.ReadTestState()); },
       [this] { JudgeWatch(); }, kWatchStep},
      {kBlockStep, "BLOCK", {},
       [this, &comm] {
         const bool answered = comm.ReadTestData();
         switch (m_download.Read(answered ? std::optional<int>(comm.m_bySamplesTrailer) : std::nullopt)) {
           case CBlockDownload::Action::kDraw:
             AcquireTestData();
             m_nStep = m_download.Complete() ? kPassEndStep : kBlockStep;
             break;
           case CBlockDownload::Action::kRewind:
             m_nStep = kRewindStep;
             break;
           case CBlockDownload::Action::kGiveUp:
             // Drawing the last block again in place of the lost ones would
             // save a record with holes as if it were whole.
             DownloadFailed();
             break;
           case CBlockDownload::Action::kReadAgain:
             break;
         }
       },
       {}, kBlockStep},
      // Written only over the run the stop was pressed for, seen running by a
      // clean read in the same tick: over a run that has ended whole, or on
      // an idle device, a stop would clear the state that says whether the
      // run was recorded.
      {kAbortStep, "ABORT", {},
       [this, &comm] {
         CTestEngine& engine = theApp().m_testEngine;
         if (!engine.StopOpen(m_kind.multiTestIndex)) return;
         if (!Told(comm.ReadTestState()) || !CTestEngine::Testing(comm.m_byTestState)) return;
         ++m_nTries;
         comm.WriteTestState();
         engine.StopWritten();
       },
       [this] {
         // Nothing in the device was this stop's to end.
         if (m_stopping == Stopping::kBeforeStart)
           EndStop("TEST_START_CANCELLED", "TEST_START_CANCELLED");
         else if (m_stopping == Stopping::kDownload)
           EndStop("TEST_DOWNLOAD_STOPPED", "TEST_DOWNLOAD_STOPPED");
         else if (m_stopping == Stopping::kRetrieval)
           RetrievalStopped();
       },
       kAbortCheckStep},
      {kAbortCheckStep, "ABORT CHECK", {},
       [this, &comm] { m_bAnswered = Told(comm.ReadTestState()); },
       [this] { JudgeAbort(); }, kIdleStep},
      {kWaitStep, "WAIT", {},
       [this, &comm] { m_bAnswered = Told(comm.ReadTestState()); },
       [this] {
         AfterStateRead();
         FollowStart();
       },
       kWaitStep},
      {kPrepareStep, "PREPARE", {},
       [this] {
         m_prgProgress.SetRange(0, kLastBlock);
         m_prgProgress.SetPos(0);
         if (m_ids.elapsed) SetDlgItemText(m_ids.elapsed, "");
         // Stopped in the middle, a download leaves part of a record.
         m_bNoWholeRecord = true;
         ClearPlot();
         PrepareTimeAxis();
       },
       {}, kPointerStep},
      {kPointerStep, "POINTER", {}, [&comm] { comm.WriteTestVar147(); },
       [this] {
         m_nPointBase = 0;
         m_download.Start();
       },
       m_kind.settleAfterPointer ? kPointerSetStep : kBlockStep},
      {kPointerSetStep, "POINTER SET", {}, {}, {}, kBlockStep},
      {kPassEndStep, "END", {}, [this] { EndPass(); }, {}, kIdleStep},
      // Not taken, the device would serve another record than the one asked for.
      {kBaselineStep, "RETRIEVE", {},
       [this] {
         m_bAnswered = WriteRetrievalCommand(m_byRetrievalCommand);
         NoteSelected(m_byRetrievalCommand, m_bAnswered);
       },
       [this] {
         EnableActionButtons(FALSE);
         if (m_bAnswered)
           m_nTries = 0;
         else
           TryAgain(kBaselineStep, &CRecordedTestPage::RecordFailed);
       },
       kRecordStep},
      {kRecordStep, "RECORD", {}, [this, &comm] { m_bAnswered = comm.ReadCommand(212); },
       [this, &comm] {
         // Unanswered, the image holds the record read before.
         if (!m_bAnswered) {
           TryAgain(kRecordStep, &CRecordedTestPage::RecordFailed);
           return;
         }
         m_nTries = 0;
         m_recordSetup.reset();
         ShowRecord();
         KeepRecordSetup();
         // The record's own direction, whatever the page showed before.
         const auto& setup = comm.m_TestResult.adSetup;
         m_nTestDirection = setup[1] > setup[0] ? 4 : 5;
       },
       kPrepareStep},
      {kSecondPassStep, "PASS2", {},
       [this, &comm] {
         m_prgProgress.SetRange(0, kLastBlock);
         m_prgProgress.SetPos(0);
         m_bAnswered = comm.WriteTestCommand(static_cast<BYTE>(m_nSecondPassCommand));
         NoteSelected(static_cast<BYTE>(m_nSecondPassCommand), m_bAnswered);
         if (m_bAnswered) comm.WriteTestVar147();
       },
       [this] {
         // Not taken, the device would serve the first pass again as the second.
         if (!m_bAnswered) {
           TryAgain(kSecondPassStep, &CRecordedTestPage::DownloadFailed);
           return;
         }
         m_nTries = 0;
         m_nPointBase = kPointsPerPass;
         m_nTestDirection = m_nTestDirection == 4 ? 5 : 4;
         m_download.Start();
       },
       kBlockStep},
      {kRewindStep, "REWIND", {}, [&comm] { comm.WriteTestVar147(); }, [this] { m_download.Rewound(); },
       kBlockStep},
  };
}

void CRecordedTestPage::DoDataExchange(CDataExchange* pDX) {
  CDiagnosticTestPage::DoDataExchange(pDX);
  DDX_Control(pDX, m_ids.progress, m_prgProgress);
  DDX_Control(pDX, m_ids.plotPlace, m_wndPlotPlace);
}

void CRecordedTestPage::CreateControls() {
  CreatePlot();
  CreateReportControls();
  // Nothing drawn yet: nothing to save or print.
  for (int id : {m_ids.stop, m_ids.save, m_ids.print}) GetDlgItem(id)->EnableWindow(FALSE);
}

void CRecordedTestPage::CreatePlot() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pPlot = common.CreateXYPlot(this, &m_wndPlotHost, PlaceholderRect(m_wndPlotPlace), m_ids.plot);
  Try("plot", [this] {
    SetupPlot();
    ComCheck(m_pPlot->ClearAllData());
  });
}

_com_ptr_t<IPlotChannelBase> CRecordedTestPage::TimeChannel(const char* name) {
  return theApp().m_CommonFunctions.GetXYPlotChannelByName(m_pPlot, name).GetInterfacePtr();
}

void CRecordedTestPage::ClearPlot() {
  IPlotBase* plot = RunPlot();
  ComCheck(plot ? plot->ClearAllData() : E_POINTER);
}

void CRecordedTestPage::ReplaceStep(PageStep row) {
  for (PageStep& s : m_steps)
    if (s.step == row.step) {
      s = std::move(row);
      return;
    }
  m_steps.push_back(std::move(row));
}

bool CRecordedTestPage::ReadDeviceSetup() { return theApp().m_comm.ReadTestSetup(); }

bool CRecordedTestPage::WriteRetrievalCommand(BYTE command) { return theApp().m_comm.WriteTestCommand(command); }

void CRecordedTestPage::OnShown() {
  // A retrieval under way goes on, its settings quiet until it ends.
  const bool retrieving = m_bRetrievingBaseline && m_nStep != kIdleStep;
  // What the edits hold now: on the first showing they are still empty.
  CheckAllSettings();
  m_bRetrievingBaseline = retrieving;
  // A start clicked before the page was left is not the page's to write now.
  m_startClickMs.reset();
  // One that had not gone out is over; a sequence's goes on below.
  if (m_nRequest == kStartRequest && !RunningSequence()) {
    m_nRequest = 0;
    EnableActionButtons(TRUE);
    SetStatus("TEST_START_CANCELLED");
  }
  // Left as they are unless the page reads the device afresh.
  m_nStartRequest = m_nRequest;
  m_nStartStep = m_nStep;
  const bool idle = m_nRequest == 0 && (m_nStep == kIdleStep || m_nStep == kWatchStep);
  // A stop pressed or under way is never dropped: the valve may still move.
  const bool stopping = m_nRequest == kStopRequest || m_nStep == kAbortStep || m_nStep == kAbortCheckStep;
  const bool requested = m_nRequest != 0;
  if (TakeHandOver(m_kind.multiTestIndex)) {
    m_bTestRunning = m_bForeignRun = false;
    EnableActionButtons(TRUE);
    ShowDeviceTestSetup();
    OnStart();
    m_nStartRequest = m_nRequest;
    if (m_bStartWhenIdle) m_nStartStep = kWatchStep;
  } else if (stopping && m_nStep == kAbortCheckStep && m_nRequest == 0) {
    // An abort is out: its state is read on, Stop as it was.
    EnableActionButtons(FALSE);
    GetDlgItem(m_ids.stop)->EnableWindow(m_bStopUnconfirmed);
  } else if (stopping) {
    // Made again from its first try.
    EnableActionButtons(FALSE);
    GetDlgItem(m_ids.stop)->EnableWindow(FALSE);
    m_nStartRequest = kStopRequest;
  } else if (m_bTestRunning) {
    // The page's run went on without it: what the device did is read first,
    // and Stop alone is offered until then. A start that had not yet gone
    // out is over: the start step writes nothing and says so.
    EnableActionButtons(FALSE);
    m_nStartRequest = 0;
    m_nStartStep = m_nStartTries == 0 ? kSetupStep : kEnterStep;
  } else if (retrieving) {
    // Another page may have selected its own record meanwhile: the blocks
    // still to come would be of that one.
    if (!theApp().m_testEngine.IsSelected(m_kind.multiTestIndex, m_bySelected)) ResumeDownload();
  } else if (requested && RunningSequence()) {
    // The sequence's test not yet begun goes on where it was.
  } else if (m_bFileLoaded || m_bBaselineLoaded || !m_bNoWholeRecord) {
    if (!m_bForeignRun) {
      EnableActionButtons(TRUE);
      ShowIdleStatus();
    }
    if (m_bFileLoaded) ShowPlotView();
    // What the device does is read; the data on show keeps its set-up.
    if (idle) {
      m_nStateMisses = 0;
      m_nStartStep = kWatchStep;
    }
  } else {
    // A stop still to be confirmed, or another test running, keeps Start
    // away until the device's state is read.
    if (!m_bForeignRun && !GetDlgItem(m_ids.stop)->IsWindowEnabled()) EnableActionButtons(TRUE);
    m_nStartRequest = 0;
    m_nStartStep = kEnterStep;
  }
}

void CRecordedTestPage::RunStep() {
  if (m_kind.tickLog) theApp().WriteLog(m_kind.tickLog);
  if (m_bTestRunning && m_ids.elapsed) ShowRunSeconds(m_ids.elapsed);
  CDiagnosticTestPage::RunStep();
}

void CRecordedTestPage::EnableActionButtons(BOOL enable) {
  for (int id : {m_ids.retrieve, m_ids.load}) GetDlgItem(id)->EnableWindow(enable);
  // A start the device never took or a broken download leaves no run to
  // save or print.
  for (int id : {m_ids.save, m_ids.print}) GetDlgItem(id)->EnableWindow(enable && !m_bNoWholeRecord);
  GetDlgItem(m_ids.start)->EnableWindow(enable && IsStartAllowed());
  GetDlgItem(m_ids.stop)->EnableWindow(!enable);
}

void CRecordedTestPage::RequestRun(int request) {
  if (m_kind.busyPeriodMs) m_nPeriod = m_kind.busyPeriodMs;
  Request(request);
}

void CRecordedTestPage::BeginRetrieval(BYTE command) {
  m_bFileLoaded = false;
  // The edits take the record's set-up before its blocks replace the plot:
  // until it is drawn whole, nothing on show is a record to keep.
  m_bNoWholeRecord = true;
  m_bRetrievingBaseline = true;
  m_byRetrievalCommand = command;
  m_nStartsAtRecord = theApp().m_testEngine.Starts();
  m_nTries = 0;
}

void CRecordedTestPage::OnStart() {
  // Every field as it stands now, whatever the page was doing when it
  // changed: nothing out of range or not finite is ever written.
  CheckEveryField();
  if (!AllSettingsValid()) {
    GetDlgItem(m_ids.start)->EnableWindow(FALSE);
    return;
  }
  const bool idle = theApp().m_testEngine.SeenIdle();
  // Start is not offered then; a click that came before the state read
  // that took it away does nothing.
  if (!RunningSequence() && !DeviceFreeForTest()) return;
  if (!RunningSequence() && !AskToMoveValve(m_kind.startLeadKey)) return;
  m_startClickMs = plat::Time().MonotonicMs();
  if (!idle) {
    // The sequence's test starts once the engine is seen idle.
    m_bStartWhenIdle = true;
    WatchUntilIdle();
    EnableActionButtons(FALSE);
    return;
  }
  RequestRun(kStartRequest);
}

void CRecordedTestPage::OnStop() {
  // A stop is for what goes on as it is pressed; pressed again, it keeps
  // that. Only a run the device recorded, and no start has overtaken since,
  // is being read; any other run of the page's is judged by the engine.
  if (m_stopping == Stopping::kNone) {
    const CTestEngine& engine = theApp().m_testEngine;
    const bool recorded = engine.OutcomeOf(m_kind.multiTestIndex) == CTestEngine::Outcome::kRecorded &&
                          engine.Starts() == m_nStartsAtRecord;
    const bool startWaits = m_nRequest == kStartRequest || m_bStartWhenIdle || (m_bTestRunning && m_nStartTries == 0);
    const bool retrieval = m_bRetrievingBaseline || (m_nRequest != 0 && m_nRequest != kStopRequest);
    m_stopping = startWaits      ? Stopping::kBeforeStart
                 : m_bTestRunning ? (recorded ? Stopping::kDownload : Stopping::kRun)
                 : retrieval      ? (m_bRunRecord ? Stopping::kDownload : Stopping::kRetrieval)
                                  : Stopping::kOther;
  }
  if (m_stopping == Stopping::kRun || m_stopping == Stopping::kOther)
    theApp().m_testEngine.StopPressed(m_kind.multiTestIndex);
  // Also in a sequence: it goes on only once the device has confirmed the
  // stop, so the next test never starts on a valve still running this one.
  RequestRun(kStopRequest);
  GetDlgItem(m_ids.stop)->EnableWindow(FALSE);
}

void CRecordedTestPage::OnSettingChanged(size_t index) {
  if (m_bRetrievingBaseline) return;
  CheckSettingField(index);
  if (HoldsNoButtons()) GetDlgItem(m_ids.start)->EnableWindow(IsStartAllowed());
}

bool CRecordedTestPage::RequestUnderWay() const {
  // A stop the page has said it cannot confirm is read on once it is shown,
  // unless Stop is pressed again.
  if (m_nRequest == kStopRequest) return true;
  return (m_nStep == kAbortStep || m_nStep == kAbortCheckStep) && !m_bStopUnconfirmed;
}

bool CRecordedTestPage::HoldsNoButtons() const {
  return m_nStep == kIdleStep && m_nRequest == 0 && !GetDlgItem(m_ids.stop)->IsWindowEnabled();
}

void CRecordedTestPage::CheckAllSettings() {
  m_bRetrievingBaseline = false;
  for (size_t i = 0; i < m_settings.size(); ++i) OnSettingChanged(i);
}

void CRecordedTestPage::CheckEveryField() {
  for (size_t i = 0; i < m_settings.size(); ++i) CheckSettingField(i);
}

void CRecordedTestPage::KeepRecordSetup() {
  auto& [texts, boxes] = m_recordSetup.emplace();
  for (const SettingField& f : m_settings) texts.push_back(GetDlgItemText(f.edit));
  for (int box : m_setupBoxes) boxes.push_back(IsChecked(box));
}

std::string CRecordedTestPage::SetupText(int id) const {
  if (m_recordSetup)
    for (size_t i = 0; i < m_settings.size(); ++i)
      if (m_settings[i].edit == id) return m_recordSetup->first[i];
  return GetDlgItemText(id);
}

double CRecordedTestPage::SetupValue(int id) const {
  // Read as an edit's number is read.
  return plat::LeadingNumber(SetupText(id).c_str()).value_or(0.0);
}

bool CRecordedTestPage::SetupChecked(int id) const {
  if (m_recordSetup)
    for (size_t i = 0; i < m_setupBoxes.size(); ++i)
      if (m_setupBoxes[i] == id) return m_recordSetup->second[i];
  return IsChecked(id);
}

void CRecordedTestPage::ResetForRun() {
  Try("ResetForRun", [this] { ClearPlot(); });
  m_recordSetup.reset();
  StartRunClock();
  m_bTestRunning = true;
  m_bFileLoaded = false;
  // The plot is empty until the run's record is whole: a stop, or a
  // download that breaks off, leaves nothing to keep.
  m_bNoWholeRecord = true;
  m_nSecondPassCommand = 6;
  // The device's progress is a percentage; a download before left its blocks' range.
  m_prgProgress.SetRange(0, 100);
  m_prgProgress.SetPos(0);
  EnableActionButtons(FALSE);
  SetDlgItemText(m_ids.status, "");
  if (m_ids.elapsed) SetDlgItemText(m_ids.elapsed, "");
}

void CRecordedTestPage::ShowOpenedFile() {
  m_bFileLoaded = true;
  m_bBaselineLoaded = false;
  m_bNoWholeRecord = false;
  KeepRecordSetup();
  EnableActionButtons(TRUE);
  ShowPlotView();
  SetStatus("IDC_OFF_LINE_DATA");
  if (m_ids.elapsed) SetDlgItemText(m_ids.elapsed, "");
  m_prgProgress.SetPos(0);
}

void CRecordedTestPage::SetStatus(const char* key) { ShowStatus(m_ids.status, key); }

void CRecordedTestPage::SetEditNumber(int id, const char* format, double value) {
  SetDlgItemText(id, plat::FormatNumber(format, value).c_str());
}

void CRecordedTestPage::TranslateToolBarHints() { plothints::Translate(m_pPlot); }

const char* CRecordedTestPage::SampleName(size_t sample) {
  static const char* const names[4] = {"1st", "2nd", "3rd", "4th"};
  return names[sample % 4];
}

std::string CRecordedTestPage::PointLine(double x, double y) {
  return plat::FormatNumber("%g", x) + "->" + plat::FormatNumber("%g", y);
}

IiPlotAxisPtr CRecordedTestPage::PlotAxis(bool x, const char* name) const { return PlotAxisByName(RunPlot(), x, name); }

void CRecordedTestPage::SetAxisRange(bool x, const char* name, double min, double span) const {
  SetPlotAxisRange(RunPlot(), x, name, min, span);
}

void CRecordedTestPage::ShowPlotAxis(bool x, const char* name) const {
  IiPlotAxisPtr axis = PlotAxis(x, name);
  ComCheck(axis->SetVisible(VARIANT_TRUE));
  ComCheck(axis->SetEnabled(VARIANT_TRUE));
}

void CRecordedTestPage::AcquireTestData() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  SetStatus("VeskPSTAcquiringDataPoint");
  const int block = comm.m_bySamplesTrailer;
  m_nPointIndex = static_cast<WORD>(4 * block + m_nPointBase);
  m_prgProgress.SetPos(block);
  std::array<std::array<double, 4>, 4> samples{};
  for (size_t j = 0; j < 4; ++j)
    for (size_t k = 0; k < 4; ++k) samples[j][k] = comm.m_adTestSamples[7 * j + k];

  _com_ptr_t<IPlotChannelBase> channels[4];
  for (size_t k = 0; k < 4; ++k) channels[k] = TimeChannel(kTimeChannels[k]);
  std::string log;
  for (size_t j = 0; j < 4; ++j) {
    const double t = (m_nPointIndex + static_cast<int>(j)) * m_dTimeStep;
    if (m_kind.logPoints) log += std::string(SampleName(j)) + " set started\n";
    for (size_t k = 0; k < 4; ++k) {
      ComCheck(channels[k]->AddXY(t, samples[j][k], nullptr));
      if (m_kind.logPoints) log += PointLine(t, samples[j][k]) + "\n";
    }
  }
  if (!log.empty()) theApp().WriteLog(log.c_str());
  for (const auto& s : samples) AddSamplePoints(s[0], s[1], s[2], s[3]);
}

void CRecordedTestPage::EndPass() {
  if (NextPass()) {
    m_nStep = kSecondPassStep;
    return;
  }
  m_bNoWholeRecord = false;
  EndDownload("VeskTEST_COMPLETE", m_kind.completeKey);
}

void CRecordedTestPage::EndDownload(const char* statusKey, const char* sequenceKey) {
  SetStatus(statusKey);
  OnDownloadEnded();
  FinishRun(sequenceKey);
}

void CRecordedTestPage::DownloadFailed() {
  // What was drawn is not the record: saved, it would pass for a whole test.
  // Nor was the test stopped: the sequence's list says what the page says.
  m_bNoWholeRecord = true;
  EndDownload("TESTDATA_INCOMPLETE", "TESTDATA_INCOMPLETE");
}

void CRecordedTestPage::RecordFailed() {
  // Nothing of the record came in: what the plot showed is not it.
  m_bBaselineLoaded = false;
  Try("RecordFailed", [this] { ClearPlot(); });
  m_recordSetup.reset();
  DownloadFailed();
}

void CRecordedTestPage::FinishRun(const char* sequenceKey) {
  const bool retrieved = m_bRetrievingBaseline;
  DropStop();
  m_startClickMs.reset();
  m_bTestRunning = false;
  m_nStep = kIdleStep;
  // The retrieved settings were not checked while they came in.
  if (retrieved) CheckAllSettings();
  EnableActionButtons(TRUE);
  // Only a run downloaded whole is the sequence's to save.
  if (RunningSequence()) {
    HandBackWhenIdle(sequenceKey, !m_bNoWholeRecord);
  } else if (!theApp().m_testEngine.SeenIdle()) {
    // A start the device may have taken after all: its state is read until
    // the engine is idle, and Start comes back only then.
    WatchUntilIdle();
  }
}

void CRecordedTestPage::HandBackWhenIdle(const char* sequenceKey, bool recorded) {
  if (theApp().m_testEngine.SeenIdle()) {
    HandBackToMultiTest(m_kind.multiTestIndex, sequenceKey, recorded);
    return;
  }
  // The next test would start over one that may still run.
  m_pendingHandBack.emplace(sequenceKey, recorded);
  HoldSequence(m_kind.multiTestIndex, nullptr);
  EnableActionButtons(FALSE);
  WatchUntilIdle();
}

void CRecordedTestPage::NoteSelected(BYTE command, bool answered) {
  m_bySelected = command;
  theApp().m_testEngine.Selected(m_kind.multiTestIndex, command, answered);
}

bool CRecordedTestPage::Told(bool answered) const {
  if (answered) theApp().m_testEngine.StateRead(theApp().m_comm.m_byTestState);
  return answered;
}

void CRecordedTestPage::ResumeDownload() {
  // A test started since may have put its record where this one was.
  if (theApp().m_testEngine.Starts() != m_nStartsAtRecord) {
    DownloadFailed();
    m_nStartStep = m_nStep;
    return;
  }
  Try("ResumeDownload", [this] { ClearPlot(); });
  m_nTries = 0;
  m_nStartStep = kBaselineStep;
}

void CRecordedTestPage::TryAgain(int step, void (CRecordedTestPage::*giveUp)()) {
  if (++m_nTries < kMostTries) {
    m_nStep = step;
    return;
  }
  m_nTries = 0;
  (this->*giveUp)();
}

void CRecordedTestPage::FollowStart() {
  using Outcome = CTestEngine::Outcome;
  const Outcome outcome = theApp().m_testEngine.OutcomeOf(m_kind.multiTestIndex);
  // Nothing is written until a clean read tells what became of the start,
  // however long the link is down; a start the engine has settled is
  // judged whatever this read did.
  if (!m_bAnswered && theApp().m_testEngine.Open(m_kind.multiTestIndex)) {
    if (outcome == Outcome::kRunning) {
      if (++m_nStateMisses == kMostTries) SetStatus("TEST_LINK_LOST");
    } else {
      // Whose test runs, or whether it ran, only the set-up read tells.
      m_nStep = kStartCheckStep;
    }
    return;
  }
  m_nStateMisses = 0;
  const CWexletCoreCommunication& comm = theApp().m_comm;
  switch (outcome) {
    case Outcome::kPending:
    case Outcome::kSetupNeeded:
      // Whose test runs, or whether it ran, only the set-up read tells.
      m_nStep = kStartCheckStep;
      break;
    case Outcome::kRunning:
      SetStatus("EDT_ALM_COM6");
      m_prgProgress.SetPos(static_cast<int>(comm.m_dVar146));
      m_nStep = kWaitStep;
      break;
    case Outcome::kRecorded:
      // Also after a stop that came too late: the run ended whole.
      DropStop();
      m_bTestRunning = true;
      m_prgProgress.SetPos(static_cast<int>(comm.m_dVar146));
      OnRecordReady();
      break;
    case Outcome::kStopped:
      SetStatus("STATUSABORTED");
      FinishRun(m_kind.stoppedKey);
      break;
    case Outcome::kNotStarted:
      // Tried again only while nobody asked it to stop.
      if (m_stopping == Stopping::kNone)
        StartAgain();
      else
        StartFailed();
      break;
    case Outcome::kNone:
    case Outcome::kUnknown:
      m_bNoWholeRecord = true;
      SetStatus("TEST_START_UNCONFIRMED");
      FinishRun("TEST_START_UNCONFIRMED");
      break;
  }
}

void CRecordedTestPage::OnRecordReady() {
  // Another page has selected its own record since: the blocks would be
  // that one's. The run's record is selected again and read whole.
  if (!theApp().m_testEngine.IsSelected(m_kind.multiTestIndex, m_bySelected)) {
    BeginRetrieval(m_kind.runCommand);
    m_nStep = kBaselineStep;
    return;
  }
  m_nStep = kPrepareStep;
}

void CRecordedTestPage::StartAgain() {
  if (m_nStartTries < kMostTries)
    m_nStep = kSetupStep;
  else
    StartFailed();
}

bool CRecordedTestPage::StartStillOwned() const {
  constexpr std::int64_t kStartWindowMs = 30000;
  return m_startClickMs && plat::Time().MonotonicMs() - *m_startClickMs <= kStartWindowMs;
}

void CRecordedTestPage::StartExpired() {
  // Written, the device never took it; else nothing went out.
  if (m_nStartTries > 0) {
    StartFailed();
    return;
  }
  SetStatus("TEST_START_CANCELLED");
  FinishRun("TEST_START_CANCELLED");
}

void CRecordedTestPage::StartFailed() {
  m_bNoWholeRecord = true;
  m_prgProgress.SetPos(0);
  SetStatus("TESTNOTSTARTED");
  FinishRun("TESTNOTSTARTED");
}

void CRecordedTestPage::JudgeAbort() {
  // The engine has told how the page's run ended, another test may run
  // since: that one is not this stop's to end.
  if (OwnRunSettled()) {
    m_nTries = 0;
    m_nStep = kIdleStep;
    SettleOwnRun();
    return;
  }
  const bool testing = m_bAnswered && CTestEngine::Testing(theApp().m_comm.m_byTestState);
  if (testing && !theApp().m_testEngine.StopOpen(m_kind.multiTestIndex)) {
    // Another start has taken the place of the test this stop was for.
    DropStop();
    m_nTries = 0;
    WatchForeignRun();
    return;
  }
  // A stop is written again only while a clean read shows the device
  // testing; without one the state is read again, with Stop offered.
  if (!m_bAnswered || testing) {
    const bool tryAgain = m_bAnswered && m_nTries < kMostTries;
    if (m_bAnswered) m_nStateMisses = 0;
    if (tryAgain) {
      m_nStep = kAbortStep;
      return;
    }
    if (!m_bStopUnconfirmed && (m_bAnswered || ++m_nStateMisses >= kMostTries)) StopUnconfirmed();
    m_nStep = kAbortCheckStep;
    return;
  }
  const bool abortsSent = m_nTries > 0;
  m_nTries = 0;
  if (m_stopping == Stopping::kRun) {
    // The engine says what the device did: stopped, recorded, never run.
    m_nStep = kIdleStep;
    FollowStart();
    return;
  }
  // Another test that the page watched: stopped only by an abort that went
  // out, and not where it ended whole before the abort took; else the page
  // shows what it showed before.
  EndStop("STATUSABORTED", m_kind.stoppedKey);
  if (!abortsSent || (theApp().m_comm.m_byTestState & CTestEngine::kRecordReady) != 0) ShowIdleStatus();
}

bool CRecordedTestPage::OwnRunSettled() const {
  const CTestEngine& engine = theApp().m_testEngine;
  return m_stopping == Stopping::kRun &&
         (!engine.Open(m_kind.multiTestIndex) || engine.Starts() != m_nStartsAtRecord);
}

void CRecordedTestPage::StopUnconfirmed() {
  m_bStopUnconfirmed = true;
  SetStatus("STATUSABORTED_UNCONFIRMED");
  // Stop stays offered; a sequence waits on this page until it is settled.
  EnableActionButtons(FALSE);
  if (RunningSequence()) HoldSequence(m_kind.multiTestIndex, "STATUSABORTED_UNCONFIRMED");
}

void CRecordedTestPage::DropStop() {
  m_stopping = Stopping::kNone;
  m_bStopUnconfirmed = false;
  theApp().m_testEngine.StopSettled(m_kind.multiTestIndex);
}

void CRecordedTestPage::RetrievalStopped() {
  // What is on show is neither the baseline nor any other whole record.
  m_bBaselineLoaded = false;
  EndStop("TEST_RETRIEVAL_STOPPED", "TEST_RETRIEVAL_STOPPED");
}

void CRecordedTestPage::EndStop(const char* statusKey, const char* sequenceKey) {
  DropStop();
  m_startClickMs.reset();
  m_nTries = 0;
  m_nStep = kIdleStep;
  if (m_bRetrievingBaseline) CheckAllSettings();
  SetStatus(statusKey);
  EnableActionButtons(TRUE);
  // A sequence goes on only once the device has stopped; a test that had
  // ended before keeps its own line.
  if (RunningSequence()) {
    const auto handBack = std::exchange(m_pendingHandBack, std::nullopt);
    HandBackToMultiTest(m_kind.multiTestIndex, handBack ? handBack->first : sequenceKey, handBack && handBack->second);
  }
}

void CRecordedTestPage::JudgeStartCheck() {
  if (m_bAnswered) theApp().m_testEngine.SetupRead(m_kind.multiTestIndex, ImageSetup());
  FollowStart();
}

CTestEngine::Setup CRecordedTestPage::ImageSetup() const {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  // Single floats, as the device holds them.
  return {{static_cast<float>(comm.m_dVar142), static_cast<float>(comm.m_dVar143),
           static_cast<float>(comm.m_dVar145), static_cast<float>(comm.m_dVar149),
           m_kind.setupHasTimeLimit ? static_cast<float>(comm.m_dVar289) : 0.0f},
          static_cast<BYTE>(comm.m_byTestState & ~CTestEngine::kRecordReady)};
}

void CRecordedTestPage::JudgeShownState() {
  // Unanswered, the image may hold another record's set-up: neither the
  // edits nor the run are judged by it, and it is read again.
  if (!m_bAnswered) {
    m_nStep = kEnterStep;
    return;
  }
  theApp().m_testEngine.SetupRead(m_kind.multiTestIndex, ImageSetup());
  if (m_bTestRunning) {
    SettleOwnRun();
    return;
  }
  // No data on show: the edits show the device's set-up.
  m_recordSetup.reset();
  ShowReadTestSetup();
  if (CTestEngine::Testing(theApp().m_comm.m_byTestState))
    WatchForeignRun();
  else
    DeviceIdle();
}

void CRecordedTestPage::SettleOwnRun() {
  using Outcome = CTestEngine::Outcome;
  CTestEngine& engine = theApp().m_testEngine;
  const BYTE state = theApp().m_comm.m_byTestState;
  const Outcome outcome = engine.OutcomeOf(m_kind.multiTestIndex);
  const bool startedSince = engine.Starts() != m_nStartsAtRecord;
  if (outcome == Outcome::kNotStarted) {
    // Never run, and not to be tried again: a stop, or the page left, has
    // ended its click.
    StartFailed();
  } else if (outcome == Outcome::kRecorded && startedSince) {
    // It ended whole, and another page's test has run since, over its record.
    DownloadFailed();
  } else {
    if (outcome == Outcome::kRecorded) {
      // Its record is downloaded whole, from its first pass.
      if (m_nBidirectionalPass == 2) m_nBidirectionalPass = 1;
      const auto& setup = engine.LastSetup().values;
      m_nTestDirection = setup[1] > setup[0] ? 4 : 5;
    }
    FollowStart();
  }
  if (!m_bTestRunning && CTestEngine::Testing(state)) WatchForeignRun();
}

void CRecordedTestPage::WatchForeignRun() {
  m_bForeignRun = true;
  SetStatus("EDT_ALM_COM6");
  EnableActionButtons(FALSE);
  WatchUntilIdle();
}

void CRecordedTestPage::WatchUntilIdle() {
  m_nStateMisses = 0;
  m_nStep = kWatchStep;
}

void CRecordedTestPage::JudgeWatch() {
  if (m_bAnswered) {
    if (!CTestEngine::Testing(theApp().m_comm.m_byTestState))
      DeviceIdle();
    else if (!m_bForeignRun)
      WatchForeignRun();
    return;
  }
  // A lost read leaves Stop offered while a test was seen, and goes on
  // while the engine is not known to be idle; else the page idles as it
  // was after a few.
  const bool waiting = m_bForeignRun || !theApp().m_testEngine.SeenIdle();
  if (!waiting && ++m_nStateMisses >= kMostTries) m_nStep = kIdleStep;
}

void CRecordedTestPage::DeviceIdle() {
  // Stop was offered for a test that runs no longer.
  const bool stopOffered = m_bForeignRun || GetDlgItem(m_ids.stop)->IsWindowEnabled();
  m_bForeignRun = false;
  m_nStep = kIdleStep;
  if (const auto handBack = std::exchange(m_pendingHandBack, std::nullopt)) {
    EnableActionButtons(TRUE);
    HandBackToMultiTest(m_kind.multiTestIndex, handBack->first, handBack->second);
    return;
  }
  if (m_bStartWhenIdle) {
    m_bStartWhenIdle = false;
    RequestRun(kStartRequest);
    return;
  }
  // A sequence that waits on this page's stop goes on now, with what the
  // device did of the page's run.
  if (RunningSequence()) {
    if (m_stopping == Stopping::kRun)
      SettleOwnRun();
    else
      EndStop("STATUSABORTED", m_kind.stoppedKey);
    return;
  }
  EnableActionButtons(TRUE);
  if (stopOffered) ShowIdleStatus();
}

void CRecordedTestPage::ShowIdleStatus() {
  if (m_bFileLoaded)
    SetStatus("IDC_OFF_LINE_DATA");
  else if (m_bBaselineLoaded)
    SetStatus("IDC_LABEL_BASELINE_DATA");
  else if (!m_bNoWholeRecord)
    SetStatus("VeskTEST_COMPLETE");
  else
    SetDlgItemText(m_ids.status, "");
}
