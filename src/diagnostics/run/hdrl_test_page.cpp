#include "diagnostics/run/hdrl_test_page.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "common/hdrl_plot_texts.h"
#include "common/plot_hints.h"
#include "files/hdrl_analysis.h"
#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"
#include "platform/sys/time_source.h"
#include "platform/sys/paths.h"
#include "shell/app.h"
#include "support/language_table.h"
#include "support/log.h"

using View = CDiagnostics_HDRLView;

namespace {

constexpr StatusHeaderIds kHeader{1011, 1012, 1013, 220, 221};
constexpr int kReportPlace = 1413, kPrinterPlace = 1414;
constexpr int kTicksPerSecond = 2;
constexpr int kPollEvery = 4;
constexpr int kLastStair = hdrl::kStairs - 1;
constexpr int kMultiTestIndex = 3;  // the HDRL test's done flag
// The settling time of the settings check: from 6 s, in seconds.
const SettingField kSettlingField{View::kSettlingTimeId, View::kSettlingIconId, View::kMinSettlingTime,
                                  View::kMaxSettlingTime, "TT_HDRL_POS_TIME_ERROR"};

// The branches of the two cycles: their first stair and channel.
struct Branch {
  int firstStair;
  const char* channel;
};
constexpr Branch kBranches[] = {{1, "1stCycle-Incr"}, {7, "1stCycle-Decr"}, {13, "2ndCycle-Incr"}, {19, "2ndCycle-Decr"}};
constexpr int kBranchStairs = 5;

// True once `transact` was answered, sent at most `tries` times.
template <class Transact>
bool AnsweredWithin(int tries, Transact transact) {
  for (int i = 0; i < tries; ++i)
    if (transact()) return true;
  return false;
}

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

std::vector<DialogItem> Items() {
  using K = DlgKind;
  constexpr unsigned kResult = DS_READONLY | DS_CENTER;
  return {
      {1246, K::GroupBox, "Hysteresis && Deadband", 8, 28, 196, 44},
      {908, K::Static, "Average:", 16, 42, 58, 9},
      {View::kHysteresisAverageId, K::Edit, "", 76, 40, 60, 12, kResult},
      {-1, K::Static, "%", 140, 42, 12, 9},
      {909, K::Static, "Maximum:", 16, 57, 58, 9},
      {View::kHysteresisMaximumId, K::Edit, "", 76, 55, 60, 12, kResult},
      {-1, K::Static, "%", 140, 57, 12, 9},
      {1247, K::GroupBox, "Repeatability", 8, 76, 196, 44},
      {907, K::Static, "Average:", 16, 90, 58, 9},
      {View::kRepeatabilityAverageId, K::Edit, "", 76, 88, 60, 12, kResult},
      {-1, K::Static, "%", 140, 90, 12, 9},
      {910, K::Static, "Maximum:", 16, 105, 58, 9},
      {View::kRepeatabilityMaximumId, K::Edit, "", 76, 103, 60, 12, kResult},
      {-1, K::Static, "%", 140, 105, 12, 9},
      {1248, K::GroupBox, "\xC2\xB1 Linearity Error", 8, 124, 196, 30},
      {View::kLinearityId, K::Edit, "", 76, 137, 60, 12, kResult},
      {-1, K::Static, "%", 140, 139, 12, 9},
      {1249, K::GroupBox, "Position Settling Time", 8, 158, 196, 30},
      {View::kSettlingTimeId, K::Edit, "", 76, 171, 60, 12, DS_CENTER},
      {906, K::Static, "sec", 140, 173, 20, 9},
      {View::kSettlingIconId, K::Picture, "", 166, 170, 14, 14, DS_ICON},
      {1017, K::GroupBox, "Monitors", 8, 192, 196, 78},
      {900, K::Static, "Start Time:", 16, 206, 58, 9},
      {View::kStartTimeId, K::Edit, "", 76, 204, 60, 12, kResult},
      {902, K::Static, "hr:min:sec", 140, 206, 60, 9},
      {1250, K::Static, "Elapsed Time:", 16, 222, 58, 9},
      {View::kElapsedId, K::Edit, "", 76, 220, 60, 12, kResult},
      {904, K::Static, "sec", 140, 222, 20, 9},
      {905, K::Static, "HDRL Test Progress:", 16, 239, 120, 9},
      {View::kProgressId, K::Progress, "", 16, 251, 180, 11},
      {View::kControlSignalId, K::PushButton, "Control Signal", 8, 276, 78, 16, DS_DISABLED | DS_GROUP},
      {View::kHysteresisGraphId, K::PushButton, "HDR", 90, 276, 54, 16},
      {View::kLinearityGraphId, K::PushButton, "Linearity", 148, 276, 56, 16},
      {View::kPlotPlaceId, K::GroupBox, "", 212, 28, 380, 296, DS_HIDDEN},
      {kReportPlace, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {kPrinterPlace, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {View::kLoadId, K::PushButton, "Load", 8, 330, 108, 16, DS_GROUP},
      {View::kSaveId, K::PushButton, "Save", 127, 330, 108, 16},
      {View::kStartId, K::PushButton, "Start", 246, 330, 108, 16},
      {View::kStopId, K::PushButton, "Stop", 365, 330, 108, 16, DS_DISABLED},
      {View::kPrintId, K::PushButton, "Print Report", 484, 330, 108, 16},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(270, kHeader, Items()));

}  // namespace

// What a graph button shows: the plot's title, the channels and the axes
// (by index: X 0 "Time", 1 "Command", 2 "Time2"; Y 0 "Position", 1
// "PositionError"); its own button is disabled.
struct HDRLGraph {
  int button;
  const char* titleKey;
  std::vector<const char*> channels;
  LONG xAxis, yAxis;
};

namespace {

const std::vector<KeyedControls> kCaptions = {
    {"IDC_STATICHD", {1246}},        {"IDC_STATICAVG", {908, 907}},         {"IDC_STATICAVGMAX", {909, 910}},
    {"IDC_STATICREP", {1247}},       {"IDC_STATICLINERR", {1248}},          {"IDC_STATICPOSSET", {1249}},
    {"IDC_STATICMON", {1017}},       {"IDC_STATICSTARTTIME", {900}},        {"IDC_STATICELAPSED", {1250}},
    {"IDC_STATICHDRLPROG", {905}},   {"IDC_BTN_CONTROL", {View::kControlSignalId}},
    {"IDC_BTN_LINEARITY", {View::kLinearityGraphId}},                       {"VeskSEC", {904, 906}},
    {"IDC_BUTTON_LOAD", {View::kLoadId}},                                   {"IDC_BUTTON_SAVE", {View::kSaveId}},
    {"IDC_BTN_START", {View::kStartId}},                                    {"IDC_BTN_STOP", {View::kStopId}},
    {"IDC_BTN_PRINT", {View::kPrintId}},
};

const std::vector<KeyedControls> kToolTips = {
    {"IDC_EDIT_HD_AVERAGETIP", {View::kHysteresisAverageId}},
    {"IDC_EDIT_HD_MAXTIP", {View::kHysteresisMaximumId}},
    {"IDC_EDIT_REPEAT_AVERAGETIP", {View::kRepeatabilityAverageId}},
    {"IDC_EDIT_REPEAT_MAXTIP", {View::kRepeatabilityMaximumId}},
    {"IDC_EDIT_LINEARITYTIP", {View::kLinearityId}},
    {"IDC_STATICPOSSETTIP", {View::kSettlingTimeId}},
    {"IDC_EDIT_MONITOR_STARTTIP", {View::kStartTimeId}},
    {"IDC_EDIT_MONITOR_ELAPSEDTIP", {View::kElapsedId}},
    {"IDC_HDRLPROGRESSTIP", {View::kProgressId}},
    {"IDC_BTN_CONTROLTIP", {View::kControlSignalId}},
    {"IDC_BTN_HDRTIP", {View::kHysteresisGraphId}},
    {"IDC_BTN_LINEARITYTIP", {View::kLinearityGraphId}},
    {"IDC_BUTTON_HDRLLOADTIP", {View::kLoadId}},
    {"IDC_BUTTON_HDRLSAVETIP", {View::kSaveId}},
    {"IDC_BTN_HDRLSTARTTIP", {View::kStartId}},
    {"IDC_BTN_HDRLSTOPTIP", {View::kStopId}},
    {"VeskPrintReportHDRLTip", {View::kPrintId}},
};

const HDRLGraph kControlSignal{View::kControlSignalId, "HDRLTITLETEXT", {"Position", "Command"}, 0, 0};
const HDRLGraph kHysteresis{View::kHysteresisGraphId,
                              "HDRLPEVP",
                              {"1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr", "2ndCycle-Decr"},
                              1,
                              1};
const HDRLGraph kLinearity{View::kLinearityGraphId, "HDRLPEVCMD", {"AverageError", "LeastSquareLine"}, 1, 1};

IiPlotAxisPtr AxisAt(IiXYPlotXPtr& plot, bool x, LONG index) {
  IiPlotAxisPtr axis;
  ComCheck(x ? plot->GetXAxis(index, &axis) : plot->GetYAxis(index, &axis));
  if (!axis) ComCheck(E_POINTER);
  return axis;
}

IiPlotAxisPtr AxisNamed(IiXYPlotXPtr& plot, bool x, const char* name) {
  IiPlotAxisPtr axis;
  ComCheck(x ? plot->GetXAxisByName(name, &axis) : plot->GetYAxisByName(name, &axis));
  if (!axis) ComCheck(E_POINTER);
  return axis;
}

}  // namespace

View::CDiagnostics_HDRLView() : CDiagnosticTestPage(270, "IDD_DIAGNOSTIC_HDRL", 54, 500, kHeader) {
  m_nStartRequest = 0;
  m_nStartStep = kStateStep;
  SetSettingFields({kSettlingField});
  m_actionButtons = {kLoadId, kSaveId, kStartId, kPrintId};
  m_captions = pages::HeaderCaptions(kHeader);
  m_captions.insert(m_captions.end(), kCaptions.begin(), kCaptions.end());
  m_toolTips = pages::HeaderToolTips(kHeader);
  m_toolTips.insert(m_toolTips.end(), kToolTips.begin(), kToolTips.end());

  m_requests = {
      // Leaving the page ends a run as a stop does, and a start belongs to
      // the page being shown.
      {kStartRequest, kStartStep, [this] { PrepareTestRun(); }, false},
      {kStopRequest, kRestoreStep,
       [this] {
         m_eRunEnd = RunEnd::kStopped;
         m_nTries = 0;
       },
       false},
  };

  CWexletCoreCommunication& comm = theApp().m_comm;
  const auto handBack = [this] {
    if (m_nStep == kIdleStep && RunningSequence())
      HandBackToMultiTest(kMultiTestIndex, RunEndKey(), m_eRunEnd == RunEnd::kCompleted);
  };
  m_steps = {
      CountdownStatusStep(kIdleStep, kPollEvery, kIdleStep),
      // What the run puts back at its end. Without a reply there is nothing
      // to put back: a restore of made-up values would move the valve.
      // The device's test engine too: a ramp, step or partial stroke test
      // that runs would be run over by this one.
      {kStateStep, "STATE", {},
       [this, &comm] {
         m_bStateSaved = comm.ReadHdrlState();
         if (m_bStateSaved && comm.ReadTestState()) theApp().m_testEngine.StateRead(comm.m_byTestState);
       },
       [this, &comm] {
         if (!m_bStateSaved) {
           m_nStep = kStateStep;
           return;
         }
         m_bySavedControlMode = comm.m_byControlMode;
         m_dSavedCommandPct = comm.m_dCommandPct;
         m_dCommandInDevice = comm.m_dCommandPct;
         EnableActionButtons(TRUE);
         if (!theApp().m_testEngine.SeenIdle())
           m_nStep = kStateStep;
         else if (RunningSequence())
           OnStart();
       },
       kIdleStep},
      {kStartStep, "START", {}, [this] { WriteStart(); }, {}, kSettleStep},
      // A stair whose command is not yet in the device waits for nothing:
      // the write is tried again, and the settling starts once it is in.
      {kSettleStep, "SETTLE", [this] { return m_bCommandPending || ++m_nSettleTicks >= m_nTicksPerStair; },
       [this] { RecordStepAndAdvance(); }, {}, kSettleStep},
      {kAnalysisStep, "ANALYSE", {}, [this] { PlotRunResults(); },
       [this] {
         ShowRunAnalysis();
         m_eRunEnd = RunEnd::kCompleted;
         m_nTries = 0;
       },
       kRestoreStep},
      {kRestoreStep, "RESTORE", {},
       [this] {
         GetDlgItem(kStopId)->EnableWindow(FALSE);
         if (Restore(1))
           EndRun(Restored::kAnswered);
         else if (TriedOut(kRestoreStep))
           m_nStep = kReadBackStep;
       },
       handBack, kIdleStep},
      // A restore whose every reply was lost or cut may still have been
      // carried out: only what the device reads back says where the valve is.
      {kReadBackStep, "READBACK", {},
       [this] {
         if (ReadBack(1))
           EndRun(Restored::kReadBack);
         else if (TriedOut(kReadBackStep))
           EndRun(Restored::kNotRead);
       },
       handBack, kIdleStep},
  };

  MapCommand(BN_CLICKED, kStartId, &View::OnStart);
  MapCommand(BN_CLICKED, kStopId, &View::OnStop);
  MapCommand(BN_CLICKED, kLoadId, &View::OnLoad);
  MapCommand(BN_CLICKED, kSaveId, &View::SaveResults);
  MapCommand(BN_CLICKED, kPrintId, &View::OnPrintReport);
  MapCommand(BN_CLICKED, kControlSignalId, &View::ShowControlSignalGraph);
  MapCommand(BN_CLICKED, kHysteresisGraphId, &View::ShowHysteresisGraph);
  MapCommand(BN_CLICKED, kLinearityGraphId, &View::ShowLinearityGraph);
}

void View::DoDataExchange(CDataExchange* pDX) {
  CDiagnosticTestPage::DoDataExchange(pDX);
  DDX_Control(pDX, kProgressId, m_prgProgress);
  DDX_Control(pDX, kPlotPlaceId, m_wndPlotPlace);
}

// ---- The page's controls.

void View::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pPlot = common.CreateXYPlot(this, &m_wndPlotHost, PlaceholderRect(m_wndPlotPlace), kPlotId);
  Try("plot", [this, &common] {
    common.SetupHDRLPlots(m_pPlot);
    common.SetupHDRLChannels(m_pPlot);
    ComCheck(m_pPlot->ClearAllData());
  });
  CreateReportControls();
  // No run yet: nothing to save or print.
  for (int id : {kSaveId, kPrintId}) GetDlgItem(id)->EnableWindow(FALSE);
  ShowControlSignalGraph();
  // The result boxes stay empty until a run or a file fills them: zeros
  // would read as a perfect valve.
  SetDlgItemText(kSettlingTimeId, "6");
  SetDlgItemText(902, (Text("IDC_ILABELFRICHIWARNUNIT").str() + ":" + Text("IDC_ILABELFRICLOWARNUNIT").str() + ":" +
                       Text("IDC_ILABELFRICLOALMUNIT").str())
                          .c_str());
  Try("time axis", [this] { ResetTimeAxis(CCommonFunctions::ReadEditDouble(*this, kSettlingTimeId)); });
  Try("plot texts", [this] { SetPlotTexts(); });
  GetDlgItem(kStopId)->EnableWindow(FALSE);
}

void View::SetPlotTexts() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  ComCheck(m_pPlot->SetTitle(Text("HDRLTITLETEXT")));
  hdrltexts::SetAxisTitles(m_pPlot);
  for (const hdrltexts::Named& c : hdrltexts::kChannels)
    ComCheck(common.GetXYPlotChannelByName(m_pPlot, c.name)->SetTitle(Text(c.key)));
  plothints::Translate(m_pPlot);
}

void View::OnShown() {
  // The wait for a run's state read starts afresh; a run goes on only
  // while the page is shown.
  m_bStateSaved = false;
  TakeHandOver(kMultiTestIndex);
  EnableActionButtons(TRUE);
}

void View::EnableActionButtons(BOOL enable) {
  GetDlgItem(kLoadId)->EnableWindow(enable);
  for (int id : {kSaveId, kPrintId}) GetDlgItem(id)->EnableWindow(enable && !m_bRunUnfinished);
  GetDlgItem(kStartId)->EnableWindow(enable && StartAllowed());
  GetDlgItem(kStopId)->EnableWindow(!enable);
}

void View::OnChangeSettlingTime() {
  CheckSettingField(0);
  // Not while a run holds the buttons.
  if (!m_bRunning) GetDlgItem(kStartId)->EnableWindow(StartAllowed());
}

// ---- The run.

bool View::StartAllowed() const {
  return AllSettingsValid() && m_bStateSaved && DeviceFreeForTest();
}

void View::OnStart() {
  // The settling time as it stands now, whatever it was when it changed.
  CheckSettingField(0);
  if (!StartAllowed() || m_bRunning) {
    GetDlgItem(kStartId)->EnableWindow(FALSE);
    return;
  }
  if (!RunningSequence() && !AskToMoveValve()) return;
  m_nRequest = kStartRequest;
}

void View::OnStop() {
  m_nRequest = kStopRequest;
  GetDlgItem(kStopId)->EnableWindow(FALSE);
}

void View::RunStep() {
  if (m_bRunning) ShowRunSeconds(kElapsedId);
  CDiagnosticTestPage::RunStep();
}

void View::PrepareTestRun() {
  EnableActionButtons(FALSE);
  Try("PrepareTestRun", [this] { ComCheck(m_pPlot->ClearAllData()); });
  m_prgProgress.SetPos(0);
  m_bRunning = true;
  m_eRunEnd = RunEnd::kStopped;
  m_bRunUnfinished = false;
  m_bModeWritten = false;
  m_bCommandPending = false;
  m_nTries = 0;
  // No other test starts while this one drives the valve.
  theApp().m_testEngine.BeginDriving(CTestEngine::kHdrl);
  m_bFileLoaded = false;
  StartRunClock();
  m_nStepIndex = 0;
  m_nSettleTicks = 0;
  m_aStepResults = {};
  for (int id : {kHysteresisAverageId, kHysteresisMaximumId, kRepeatabilityAverageId, kRepeatabilityMaximumId,
                 kLinearityId, kElapsedId})
    SetDlgItemText(id, "");
  const plat::LocalTime now = plat::Time().Now();
  SetDlgItemText(kStartTimeId, plat::FormatNumber("%.2d:%.2d:%.2d", now.hour, now.minute, now.second).c_str());
  // The settling time of the whole run: a whole number of ticks, at least
  // the time asked for, so that every wait ends.
  m_dSettlingTime = CCommonFunctions::ReadEditDouble(*this, kSettlingTimeId);
  m_nTicksPerStair = std::max(1, static_cast<int>(std::ceil(m_dSettlingTime * kTicksPerSecond)));
  m_prgProgress.SetRange32(0, static_cast<int>(static_cast<float>(m_dSettlingTime * kLastStair)));
  Try("PrepareTestRun axis", [this] { ResetTimeAxis(m_dSettlingTime); });
}

void View::WriteStart() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  if (!m_bModeWritten) m_bModeWritten = comm.WriteCmd201ControlEnable(static_cast<BYTE>(comm.m_byControlMode | 1));
  if (m_bModeWritten && comm.WriteCmd201CmdPctDigital(hdrl::kCommandProfile[0])) {
    m_dCommandInDevice = hdrl::kCommandProfile[0];
    m_nTries = 0;
    return;
  }
  m_nStep = kStartStep;
  MissedTry(RunEnd::kNotStarted);
}

void View::RecordStepAndAdvance() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  if (!m_bCommandPending) {
    // A lost read would record the last stair's position for this one.
    if (!comm.ReadVar10()) return MissedTry(RunEnd::kIncomplete);
    m_nTries = 0;
    m_aStepResults[m_nStepIndex] = {static_cast<double>(m_nStepIndex), comm.m_dVar10};
    m_prgProgress.SetPos(static_cast<int>(m_dSettlingTime * m_nStepIndex));
    if (m_nStepIndex == kLastStair) {
      m_nStep = kAnalysisStep;
      return;
    }
    ++m_nStepIndex;
  }
  const double command = hdrl::kCommandProfile[m_nStepIndex];
  m_bCommandPending = !comm.WriteCmd201CmdPctDigital(command);
  if (m_bCommandPending) return MissedTry(RunEnd::kIncomplete);
  m_nTries = 0;
  m_nSettleTicks = 0;
  m_dCommandInDevice = command;
}

void View::MissedTry(RunEnd end) {
  if (++m_nTries < kMostTries) return;
  m_eRunEnd = end;
  m_nTries = 0;
  m_nStep = kRestoreStep;
}

bool View::TriedOut(int step) {
  if (++m_nTries < kMostTries) {
    m_nStep = step;
    return false;
  }
  m_nTries = 0;
  return true;
}

bool View::Restore(int tries) {
  CWexletCoreCommunication& comm = theApp().m_comm;
  if (!AnsweredWithin(
          tries, [&] { return comm.WriteCmd201ControlModeAndCmdPct(m_bySavedControlMode, m_dSavedCommandPct); }))
    return false;
  m_dCommandInDevice = m_dSavedCommandPct;
  return true;
}

bool View::ReadBack(int tries) {
  CWexletCoreCommunication& comm = theApp().m_comm;
  if (!AnsweredWithin(tries, [&comm] { return comm.ReadHdrlState(); })) return false;
  m_dCommandInDevice = comm.m_dCommandPct;
  return true;
}

View::Restored View::RestoreAtOnce() {
  if (Restore(kMostTries)) return Restored::kAnswered;
  return ReadBack(kMostTries) ? Restored::kReadBack : Restored::kNotRead;
}

std::string View::NotRestoredText(Restored restored) const {
  if (restored == Restored::kAnswered) return {};
  if (restored == Restored::kNotRead)
    return Text("HDRL_RESTORE_NOT_READ").str() + " " +
           (m_dCommandInDevice ? plat::FormatNumber("%.1f", *m_dCommandInDevice) + " %"
                               : Text("HDRL_NO_COMMAND_ANSWERED").str());
  const CWexletCoreCommunication& comm = theApp().m_comm;
  // The command travels as a single-precision float both ways.
  if (comm.m_byControlMode == m_bySavedControlMode &&
      static_cast<float>(comm.m_dCommandPct) == static_cast<float>(m_dSavedCommandPct)) {
    WriteLog("HDRL restore unanswered, but read back as put back");
    return {};
  }
  return Text("HDRL_NOT_RESTORED").str() + " " + Text((comm.m_byControlMode & 1) ? "DigOnly" : "Analog").str() +
         ", " + plat::FormatNumber("%.1f", comm.m_dCommandPct) + " %";
}

void View::EndRun(Restored restored) {
  m_bRunning = false;
  theApp().m_testEngine.EndDriving();
  const std::string warning = NotRestoredText(restored);
  if (!warning.empty())
    MessageBox(warning.c_str(), theApp().m_strProductTitle.str().c_str(), MB_OK | MB_ICONEXCLAMATION);
  m_bRunUnfinished = m_eRunEnd != RunEnd::kCompleted;
  if (m_eRunEnd == RunEnd::kIncomplete || m_eRunEnd == RunEnd::kNotStarted) {
    if (m_eRunEnd == RunEnd::kNotStarted) {
      // Nothing of a run that never started is shown as one.
      SetDlgItemText(kStartTimeId, "");
      SetDlgItemText(kElapsedId, "");
    }
    // A sequence runs unattended: its status list says it.
    if (!RunningSequence()) Warn(RunEndKey());
  }
  EnableActionButtons(TRUE);
}

const char* View::RunEndKey() const {
  switch (m_eRunEnd) {
    case RunEnd::kCompleted: return "HDRLTEST_COMPLETE";
    case RunEnd::kIncomplete: return "HDRL_DATA_INCOMPLETE";
    case RunEnd::kNotStarted: return "HDRL_NOT_STARTED";
    case RunEnd::kStopped: break;
  }
  return "HDRL_STOPPED";
}

void View::StopMonitoring() {
  if (m_bRunning) Try("StopMonitoring", [this] { EndRun(RestoreAtOnce()); });
  CDiagnosticTestPage::StopMonitoring();
}

void View::PlotRunResults() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  IiXYPlotChannelPtr position = common.GetXYPlotChannelByName(m_pPlot, "Position");
  IiXYPlotChannelPtr command = common.GetXYPlotChannelByName(m_pPlot, "Command");
  for (int i = 0; i < hdrl::kStairs; ++i) {
    const double t = m_dSettlingTime * i;
    const auto stair = static_cast<size_t>(i);
    if (i > 0) {
      ComCheck(position->AddXY(t, m_aStepResults[stair - 1].position, nullptr));
      ComCheck(command->AddXY(t, hdrl::kCommandProfile[stair - 1], nullptr));
    }
    ComCheck(position->AddXY(t, m_aStepResults[stair].position, nullptr));
    ComCheck(command->AddXY(t, hdrl::kCommandProfile[stair], nullptr));
  }
  // The position error (command minus position) of each branch's stairs.
  for (const Branch& b : kBranches) {
    IiXYPlotChannelPtr channel = common.GetXYPlotChannelByName(m_pPlot, b.channel);
    for (int i = b.firstStair; i < b.firstStair + kBranchStairs; ++i) {
      const double c = hdrl::kCommandProfile[static_cast<size_t>(i)];
      ComCheck(channel->AddXY(c, c - m_aStepResults[static_cast<size_t>(i)].position, nullptr));
    }
  }
}

void View::ShowRunAnalysis() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  Try("ShowRunAnalysis", [this, &common] {
    common.ComputeRepeatability(m_pPlot, &m_dRepeatabilityAverage, &m_dRepeatabilityMaximum, 1);
    common.ComputeErrorCurves(m_pPlot);
    common.ComputeLeastSquareLine(m_pPlot, &m_dLinearityError, 1);
    common.ComputeHysteresisDeadband(m_pPlot, &m_dHysteresisAverage, &m_dHysteresisMaximum, 1);
  });
  SetResultText(kRepeatabilityAverageId, "%1.2f", m_dRepeatabilityAverage);
  SetResultText(kRepeatabilityMaximumId, "%1.2f", m_dRepeatabilityMaximum);
  SetResultText(kLinearityId, "%1.4f", m_dLinearityError);
  SetResultText(kHysteresisAverageId, "%1.2f", m_dHysteresisAverage);
  SetResultText(kHysteresisMaximumId, "%1.2f", m_dHysteresisMaximum);
}

void View::SetResultText(int id, const char* format, double value) {
  SetDlgItemText(id, plat::FormatNumber(format, value).c_str());
}

// ---- Graphs.

void View::ShowGraph(const HDRLGraph& graph) {
  for (const HDRLGraph* g : {&kControlSignal, &kHysteresis, &kLinearity})
    GetDlgItem(g->button)->EnableWindow(g != &graph);
  Try("ShowGraph", [this, &graph] {
    CCommonFunctions& common = theApp().m_CommonFunctions;
    ComCheck(m_pPlot->SetTitle(Text(graph.titleKey)));
    for (const hdrltexts::Named& c : hdrltexts::kChannels) {
      bool shown = false;
      for (const char* name : graph.channels) shown = shown || std::string(name) == c.name;
      common.ShowChannel(m_pPlot, c.name, shown);
    }
    for (LONG x = 0; x < 3; ++x) {
      const VARIANT_BOOL on = x == graph.xAxis ? VARIANT_TRUE : VARIANT_FALSE;
      ComCheck(AxisAt(m_pPlot, true, x)->SetVisible(on));
      ComCheck(AxisAt(m_pPlot, true, x)->SetEnabled(on));
    }
    for (LONG y = 0; y < 2; ++y) {
      const VARIANT_BOOL on = y == graph.yAxis ? VARIANT_TRUE : VARIANT_FALSE;
      ComCheck(AxisAt(m_pPlot, false, y)->SetVisible(on));
      ComCheck(AxisAt(m_pPlot, false, y)->SetEnabled(on));
    }
  });
}

void View::ShowControlSignalGraph() { ShowGraph(kControlSignal); }
void View::ShowHysteresisGraph() { ShowGraph(kHysteresis); }
void View::ShowLinearityGraph() { ShowGraph(kLinearity); }

void View::ResetTimeAxis(double settlingTime) {
  if (!std::isfinite(settlingTime) || settlingTime <= 0) return;
  IiPlotAxisPtr time = AxisNamed(m_pPlot, true, "Time");
  ComCheck(time->SetMin(0.0));
  ComCheck(time->SetStartValue(0.0));
  ComCheck(time->SetSpan(settlingTime * kLastStair));
}

// ---- Files and report.

void View::OnLoad() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  bool opened = false;
  Try("OnLoad", [&] { opened = common.OpenHDRLFile(m_pPlot); });
  // A cancelled or failed open leaves the run on show as it is.
  if (!opened) return;
  m_bFileLoaded = true;
  m_bRunUnfinished = false;
  if (!m_bRunning) EnableActionButtons(TRUE);
  const auto& results = common.m_strHDRLResults;
  const int ids[] = {kRepeatabilityAverageId, kRepeatabilityMaximumId, kHysteresisAverageId, kHysteresisMaximumId};
  for (size_t i = 0; i < 4; ++i) SetResultText(ids[i], "%1.2f", std::atof(InOrder(results, i).str().c_str()));
  SetResultText(kLinearityId, "%1.4f", std::atof(results.linearity.str().c_str()));
  SetDlgItemText(kSettlingTimeId, common.m_strHDRLSettlingTime.str().c_str());
  SetDlgItemText(kElapsedId, "");
  m_prgProgress.SetPos(0);
  ShowControlSignalGraph();
}

void View::SaveResults() {
  // Also the multi-test page's save-all after a run that never finished.
  if (m_bRunUnfinished) {
    WriteLog("HDRL test not saved: the run has no data");
    return;
  }
  CWexletCoreCommunication& comm = theApp().m_comm;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  common.m_strHDRLSettlingTime = _bstr_t(GetDlgItemText(kSettlingTimeId).c_str());
  // Opened data keeps the tag of its file.
  if (!m_bFileLoaded) {
    Try("SaveResults tag", [&comm] { comm.ReadCommand(13); });
    common.m_strHDRLTag = _bstr_t(comm.m_strTag);
  }
  // The file method puts the time axis back over 24 settling times.
  Try("SaveResults", [this, &common] { common.SaveHDRLFile(m_pPlot); });
}

View::ShownResults View::GetShownResults() const {
  const int ids[] = {kRepeatabilityAverageId, kRepeatabilityMaximumId, kHysteresisAverageId, kHysteresisMaximumId,
                     kLinearityId};
  ShownResults shown;
  for (size_t i = 0; i < std::size(ids); ++i) InOrder(shown.results, i) = _bstr_t(GetDlgItemText(ids[i]).c_str());
  shown.settlingTime = _bstr_t(GetDlgItemText(kSettlingTimeId).c_str());
  return shown;
}

void View::SetSettlingTimeText(const std::string& text) { SetDlgItemText(kSettlingTimeId, text.c_str()); }

void View::OnPrintReport() {
  if (m_bRunUnfinished) return;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  Try("OnPrintReport", [] { theApp().m_comm.ReadConfiguration(); });
  // The report shows exactly what the page shows.
  const ShownResults shown = GetShownResults();
  common.m_strHDRLResults = shown.results;
  common.m_strHDRLSettlingTime = shown.settlingTime;
  common.GenerateHDRLReport(m_pPlot, m_pReport, m_pPrinter,
                            _bstr_t(plat::ProgramPath("\\Dependencies\\HDRLTestRept.xml")), this);
  ShowControlSignalGraph();
}
