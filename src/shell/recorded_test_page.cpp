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

constexpr BYTE kRecordReady = 0x02;
constexpr BYTE kLastRunCommand = 5;
constexpr int kLastBlock = CBlockDownload::kBlocks - 1;

}  // namespace

CRecordedTestPage::CRecordedTestPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs,
                                     const RecordedTestKind& kind, const RecordedTestIds& ids,
                                     std::vector<SettingField> settings, StatusHeaderIds header)
    : CDiagnosticTestPage(templateId, titleKey, timerId, periodMs, header),
      m_kind(kind),
      m_ids(ids) {
  SetSettingFields(std::move(settings));
  m_nStartRequest = 0;
  m_nStartStep = kEnterStep;
  m_actionButtons = {m_ids.retrieve, m_ids.load, m_ids.save, m_ids.start, m_ids.print};

  m_requests = {
      {kStartRequest, kCommandStep,
       [this] {
         m_bRetrievingBaseline = false;
         m_bBaselineLoaded = false;
         ResetForRun();
         OnRunStarting();
       }},
      {kStopRequest, kAbortStep, [this] { m_bTestRunning = false; }},
      {kBaselineRequest, kBaselineStep,
       [this] {
         m_bFileLoaded = false;
         m_bBaselineLoaded = true;
         m_bRetrievingBaseline = true;
         m_nSecondPassCommand = 2;
       }},
  };

  MapCommand(BN_CLICKED, static_cast<UINT>(m_ids.retrieve), [this] { OnRetrieveBaseline(); });
  MapCommand(BN_CLICKED, static_cast<UINT>(m_ids.start), [this] { OnStart(); });
  MapCommand(BN_CLICKED, static_cast<UINT>(m_ids.stop), [this] { OnStop(); });

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      CountdownStatusStep(kIdleStep, m_kind.pollEvery, kIdleStep),
      {kEnterStep, "ENTER", {}, [&comm] { comm.WriteTestCommand(kLastRunCommand); }, {}, kSetupReadStep},
      {kSetupReadStep, "SETUP", {}, [&comm] { comm.ReadTestSetup(); }, [this] { ShowReadTestSetup(); }, kIdleStep},
      // A sequence runs unattended: a box left ticked on the page would
      // overwrite the device's baseline in every sequence.
      {kCommandStep, "COMMAND", {},
       [this, &comm] {
         const bool baseline = IsChecked(m_ids.baselineBox) && !RunningSequence();
         comm.WriteTestCommand(baseline ? m_kind.baselineCommand : kLastRunCommand);
       },
       [this] { SetStatus("IDC_CHECKMGTINIT"); }, kSetupStep},
      {kSetupStep, "START", {}, [this] { WriteSetup(); }, [this] { AfterSetupWritten(); }, kWaitStep},
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
             SetStatus("TESTDATA_INCOMPLETE");
             FinishRun(m_kind.stoppedKey);
             break;
           case CBlockDownload::Action::kReadAgain:
             break;
         }
       },
       {}, kBlockStep},
      {kAbortStep, "ABORT", {}, [&comm] { comm.WriteTestState(); },
       [this] {
         m_bRetrievingBaseline = false;
         EnableActionButtons(TRUE);
         SetStatus("STATUSABORTED");
       },
       kIdleStep},
      {kWaitStep, "WAIT", {}, [this, &comm] { m_bStateAnswered = comm.ReadTestState(); },
       [this, &comm] {
         m_prgProgress.SetPos(static_cast<int>(comm.m_dVar146));
         SetStatus("EDT_ALM_COM6");
         AfterStateRead();
         if (comm.m_byTestState & kRecordReady) {
           m_nStep = kPrepareStep;
         } else if (m_bStateAnswered && comm.m_byTestState == 0) {
           // The device runs no test (aborted there, or the start never
           // arrived): waiting on would never end.
           SetStatus("STATUSABORTED");
           FinishRun(m_kind.stoppedKey);
         }
       },
       kWaitStep},
      {kPrepareStep, "PREPARE", {},
       [this] {
         m_prgProgress.SetRange(0, kLastBlock);
         m_prgProgress.SetPos(0);
         SetDlgItemText(m_ids.elapsed, "");
         ComCheck(m_pPlot->ClearAllData());
         PrepareTimeAxis();
       },
       {}, kPointerStep},
      {kPointerStep, "POINTER", {}, [&comm] { comm.WriteTestVar147(); },
       [this] {
         m_nPointBase = 0;
         m_download.Start();
       },
       kBlockStep},
      {kPassEndStep, "END", {}, [this] { EndPass(); }, {}, kIdleStep},
      {kBaselineStep, "BASELINE", {}, [this, &comm] { comm.WriteTestCommand(m_kind.baselineCommand); },
       [this] { EnableActionButtons(FALSE); }, kRecordStep},
      {kRecordStep, "RECORD", {}, [&comm] { comm.ReadCommand(212); },
       [this, &comm] {
         ShowRecord();
         // The record's own direction, whatever the page showed before.
         const auto& setup = comm.m_TestResult.adSetup;
         m_nTestDirection = setup[1] > setup[0] ? 4 : 5;
       },
       kPrepareStep},
      {kSecondPassStep, "PASS2", {},
       [this, &comm] {
         m_prgProgress.SetRange(0, kLastBlock);
         m_prgProgress.SetPos(0);
         comm.WriteTestCommand(static_cast<BYTE>(m_nSecondPassCommand));
         comm.WriteTestVar147();
       },
       [this] {
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
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pPlot = common.CreateXYPlot(this, &m_wndPlotHost, PlaceholderRect(m_wndPlotPlace), m_ids.plot);
  Try("plot", [this] {
    SetupPlot();
    ComCheck(m_pPlot->ClearAllData());
  });
  CreateReportControls();
  GetDlgItem(m_ids.stop)->EnableWindow(FALSE);
}

void CRecordedTestPage::OnShown() {
  EnableActionButtons(TRUE);
  ResetInputIcons();
  m_bTestRunning = false;
  m_bRetrievingBaseline = false;
  // Left as they are unless the page reads the device afresh.
  m_nStartRequest = m_nRequest;
  m_nStartStep = m_nStep;
  if (TakeHandOver(m_kind.multiTestIndex)) {
    ShowDeviceTestSetup();
    OnStart();
    m_nStartRequest = m_nRequest;
  } else if (m_bFileLoaded) {
    SetStatus("IDC_OFF_LINE_DATA");
    ShowPlotView();
  } else if (m_bBaselineLoaded) {
    SetStatus("IDC_LABEL_BASELINE_DATA");
  } else {
    m_nStartRequest = 0;
    m_nStartStep = kEnterStep;
  }
}

void CRecordedTestPage::BeginRequest(int request) {
  m_bRequestTaken = true;
  CDiagnosticTestPage::BeginRequest(request);
}

void CRecordedTestPage::RunStep() {
  if (m_kind.tickLog) theApp().WriteLog(m_kind.tickLog);
  if (!m_bRequestTaken && m_bTestRunning && ++m_nTickCount >= m_kind.ticksPerSecond) {
    m_nTickCount = 0;
    ++m_nElapsedSeconds;
    SetDlgItemText(m_ids.elapsed, std::to_string(m_nElapsedSeconds).c_str());
  }
  m_bRequestTaken = false;
  CDiagnosticTestPage::RunStep();
}

void CRecordedTestPage::EnableActionButtons(BOOL enable) {
  for (int id : {m_ids.retrieve, m_ids.load, m_ids.save, m_ids.print}) GetDlgItem(id)->EnableWindow(enable);
  GetDlgItem(m_ids.start)->EnableWindow(enable && AllSettingsValid());
  GetDlgItem(m_ids.stop)->EnableWindow(!enable);
}

void CRecordedTestPage::OnStart() {
  if (!RunningSequence() && !AskToMoveValve()) return;
  m_nRequest = kStartRequest;
}

void CRecordedTestPage::OnStop() {
  if (!RunningSequence()) {
    Request(kStopRequest);
    GetDlgItem(m_ids.stop)->EnableWindow(FALSE);
    return;
  }
  // The hand-back stops this page's timer before a stored request could be
  // taken up: the device is told at once, so the next test of the sequence
  // does not start on a valve that is still running this one.
  Try("OnStop", [] { theApp().m_comm.WriteTestState(); });
  m_nRequest = 0;
  m_nStep = kIdleStep;
  m_bTestRunning = false;
  m_bRetrievingBaseline = false;
  EnableActionButtons(TRUE);
  SetStatus("STATUSABORTED");
  HandBackToMultiTest(m_kind.multiTestIndex, m_kind.stoppedKey);
}

void CRecordedTestPage::OnRetrieveBaseline() { m_nRequest = kBaselineRequest; }

void CRecordedTestPage::OnSettingChanged(size_t index) {
  if (m_bRetrievingBaseline) return;
  const bool startAllowed = CheckSettingField(index);
  // Not while a run or a retrieval holds the buttons.
  if (!GetDlgItem(m_ids.stop)->IsWindowEnabled()) GetDlgItem(m_ids.start)->EnableWindow(startAllowed);
}

void CRecordedTestPage::ResetForRun() {
  Try("ResetForRun", [this] { ComCheck(m_pPlot->ClearAllData()); });
  m_nTickCount = 0;
  m_nElapsedSeconds = 0;
  m_bTestRunning = true;
  m_bFileLoaded = false;
  m_nSecondPassCommand = 6;
  EnableActionButtons(FALSE);
  SetDlgItemText(m_ids.status, "");
  SetDlgItemText(m_ids.elapsed, "");
}

void CRecordedTestPage::ShowOpenedFile() {
  m_bFileLoaded = true;
  m_bBaselineLoaded = false;
  ShowPlotView();
  SetStatus("IDC_OFF_LINE_DATA");
  SetDlgItemText(m_ids.elapsed, "");
  m_prgProgress.SetPos(0);
}

void CRecordedTestPage::SetStatus(const char* key) {
  SetDlgItemText(m_ids.status, TheLanguageTable().Lookup(key).str().c_str());
}

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

IiPlotAxisPtr CRecordedTestPage::PlotAxis(bool x, const char* name) const {
  return PlotAxisByName(m_pPlot.GetInterfacePtr(), x, name);
}

void CRecordedTestPage::SetAxisRange(bool x, const char* name, double min, double span) const {
  SetPlotAxisRange(m_pPlot.GetInterfacePtr(), x, name, min, span);
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

  CCommonFunctions& common = theApp().m_CommonFunctions;
  IiXYPlotChannelPtr channels[4] = {
      common.GetXYPlotChannelByName(m_pPlot, "Command"), common.GetXYPlotChannelByName(m_pPlot, "Position"),
      common.GetXYPlotChannelByName(m_pPlot, "ILCmd"), common.GetXYPlotChannelByName(m_pPlot, "ILPos")};
  // Sample values in channel order: command, position, pilot command, pilot position.
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
  SetStatus("VeskTEST_COMPLETE");
  FinishRun(m_kind.completeKey);
}

void CRecordedTestPage::FinishRun(const char* sequenceKey) {
  const bool retrieved = m_bRetrievingBaseline;
  m_bTestRunning = false;
  m_bRetrievingBaseline = false;
  m_nStep = kIdleStep;
  // The retrieved settings were not checked while they came in.
  if (retrieved)
    for (size_t i = 0; i < m_settings.size(); ++i) OnSettingChanged(i);
  EnableActionButtons(TRUE);
  if (RunningSequence()) HandBackToMultiTest(m_kind.multiTestIndex, sequenceKey);
}
