#include "views/config/sensor_calibration.h"

#include <cstdlib>

#include "common/control_puts.h"
#include "platform/sys/numeric.h"
#include "platform/sys/paths.h"
#include "shell/app.h"
#include "shell/tree_view.h"
#include "support/language_table.h"

using View = CCalibration_SensorCalibView;

namespace {

// The page's steps: 1 idle (values, or every fourth tick the status poll),
// 2 the history read, 16 the start, 18 the abort, 20 the values read at
// show, 21 the history write, 32 the result read.
constexpr int kIdleStep = 1, kHistoryStep = 2, kStartStep = 16, kAbortStep = 18, kShowStep = 20,
              kRecordStep = 21, kResultStep = 32;
enum Request { kMonitor = 1, kStartRequest = 4, kAbortRequest = 5, kHistoryRequest = 10, kReportRequest = 13 };
// The idle step polls the header every fourth time, reading the values
// between; the first poll too comes at the fourth.
constexpr int kPollEvery = 4;

std::string Text(const char* key) { return TheLanguageTable().Lookup(key).str(); }

std::vector<DialogItem> Items() {
  return {
      {1725, DlgKind::GroupBox, "Calibration History", 8, 28, 290, 84},
      {908, DlgKind::Static, "Stroke (Quick-Cal)", 112, 40, 110, 9},
      {1292, DlgKind::Static, "Date Last Calibrated:", 16, 55, 92, 9},
      {View::kLastDateId, DlgKind::Edit, "", 112, 53, 110, 12, DS_READONLY},
      {1293, DlgKind::Static, "Last Calibrated By:", 16, 73, 92, 9},
      {View::kLastById, DlgKind::Edit, "", 112, 71, 110, 12, DS_READONLY},
      {906, DlgKind::Static, "New Calibration By:", 16, 91, 92, 9},
      {View::kInitialsId, DlgKind::Edit, "", 112, 89, 40, 12},
      {View::kInitialsIconId, DlgKind::Picture, "", 158, 88, 14, 14, DS_ICON},
      {1285, DlgKind::GroupBox, "", 230, 89, 60, 12, DS_HIDDEN},
      {1719, DlgKind::GroupBox, "Sensor Values", 306, 28, 286, 84},
      {288, DlgKind::Static, "Position", 400, 40, 80, 9, DS_CENTER},
      {907, DlgKind::Static, "A/D Count", 496, 40, 80, 9, DS_CENTER},
      {918, DlgKind::Static, "Values:", 314, 60, 80, 9},
      {1732, DlgKind::GroupBox, "", 400, 54, 80, 22, DS_HIDDEN},
      {1733, DlgKind::GroupBox, "", 496, 54, 80, 22, DS_HIDDEN},
      {914, DlgKind::GroupBox, "Calibration Status", 8, 120, 584, 80},
      {910, DlgKind::Static, "Calibration State:", 16, 136, 92, 9},
      {View::kStateTextId, DlgKind::Edit, "", 112, 134, 380, 12, DS_READONLY},
      {230, DlgKind::GroupBox, "", 504, 134, 60, 12, DS_HIDDEN},
      {911, DlgKind::Static, "Calibration Progress:", 16, 156, 92, 9},
      {View::kProgressId, DlgKind::Progress, "", 112, 154, 380, 12},
      {917, DlgKind::Static, "", 16, 176, 568, 18},
      {View::kStartId, DlgKind::PushButton, "Start Calibration", 8, 208, 86, 16, DS_DISABLED | DS_GROUP},
      {View::kAbortId, DlgKind::PushButton, "Abort", 104, 208, 86, 16, DS_DISABLED},
      {View::kPrintId, DlgKind::PushButton, "Print Report", 200, 208, 86, 16, DS_DISABLED},
      {1413, DlgKind::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {1414, DlgKind::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(1081, {}, Items()));

void SelectTreeItem(int code) {
  CTarnixWexletApp& app = theApp();
  const CTarnixWexletView::Item* target = CTarnixWexletView::ItemByCode(code);
  if (app.m_pTreeView && target) app.m_pTreeView->GetTreeCtrl().SelectItem(app.m_hTreeItems[target->slot]);
}

}  // namespace

View::CCalibration_SensorCalibView()
    : CConfigurationPage(1081, "EDT_ALM_CAL1", 62, 5000), m_initials(*this, m_ToolTip, kInitialsId, kInitialsIconId) {
  m_nStartRequest = kMonitor;
  m_nStartStep = kShowStep;
  m_pollCountdown.Restart(kPollEvery);
  m_actionButtons = {kStartId, kAbortId, kPrintId};
  m_captions = {
      {"IDC_ILABELXINDICATOR", {1018}},      {"IDC_ILABELXSOURCE", {1019}},
      {"IDC_GB_CALHIST", {1725}},            {"IDC_STATICLASTDATE", {1292}},
      {"IDC_STATICLASTBY", {1293}},          {"IDC_STATICLASTQCALDATE", {908}},
      {"IDC_STATICNEWBY", {906}},            {"IDC_STATICVALUES", {1719}},
      {"IDC_STATICPOSNLBL", {288}},          {"IDC_STATICVALUE", {918}},
      {"IDC_STATICAD1", {907}},              {"IDC_STATICSTATUS", {914}},
      {"IDC_STATICCALSTATE", {910}},         {"IDC_STATICPROGRESS", {911}},
      {"IDC_STATIC_REPORTNOTE", {917}},      {"IDC_ILABELSTARTCAL", {kStartId}},
      {"IDC_BTN_ABORTCAL", {kAbortId}},      {"IDC_BTN_PRINT", {kPrintId}},
  };
  m_toolTips = {
      {"IDC_ILED_ALARM", {120}},
      {"EDT_ALARM_DESCRIPTION", {1012}},
      {"IDC_BTN_MODE", {1013}},
      {"IDC_LAST_STROKECALIBRATED_DATE", {kLastDateId}},
      {"IDC_LAST_STROKECALIBRATED_BY", {kLastById}},
      {"IDC_CEDIT_CALIBRATED_BYTIP", {kInitialsId}},
      {"IDC_ILABELXHISTLINKTIP", {kHistoryLinkId}},
      {"IDC_CALI_STATETIP", {kStateTextId}},
      {"IDC_ILABELXERRLINKTIP", {kErrorsLinkId}},
      {"IDC_STATICPROGRESS", {kProgressId}},
      {"IDC_BTN_STARTSELCAL", {kStartId}},
      {"IDC_BTN_ABORTCALTIP", {kAbortId}},
      {"VeskPrintReportTip", {kPrintId}},
  };

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      {kIdleStep, "IDLE", {},
       [this] {
         m_bValuesRead = false;
         if (m_pollCountdown.Due(kPollEvery)) {
           PollStatusArea();
           return;
         }
         ReadValues();
       },
       [this, &comm] {
         if (!m_bValuesRead) {
           // After an abort, only Abort while the device is not heard.
           if (m_bCalRunning && m_bAborted) ShowStatus(kStateTextId, "STROKECAL_END_UNREAD");
           return;
         }
         ShowValues();
         if (m_bCalRunning) ShowRunningState();
         else if (!m_bCalFinished) ShowReadyButtons(comm.m_bySensorCalCmd);
       },
       kIdleStep},
      {kHistoryStep, "184", {}, [this, &comm] { m_bAnswered = calib::ReadHistory(comm, calib::kStrokeHistory); },
       [this, &comm] {
         if (m_bAnswered) ShowHistory(comm.m_strCmd184Text);
         // Held until the device's state is known, which the idle reads
         // will tell if the read at show went unanswered.
         if (m_bValuesRead && !m_bCalRunning) ShowReadyButtons(comm.m_bySensorCalCmd);
       },
       kIdleStep},
      {kStartStep, "START", {},
       [this, &comm] {
         m_bAnswered = comm.WriteCalibCommand();
         // The device changes its end points only as it saves them.
         m_pointsBefore.Forget();
         if (comm.ReadSensorCalibRaw()) m_pointsBefore.Keep(EndPoints());
       },
       [this, &comm] {
         m_pollCountdown.Restart(kPollEvery);
         // Unanswered, the valve may be moving or not: followed as running,
         // with Abort at hand, until the next read of the state tells.
         if (!m_bAnswered) {
           m_bStartUnconfirmed = true;
           m_bCalRunning = true;
           ShowLinks(calib::kLinkGrey, calib::kLinkGrey);
           return;
         }
         ShowStateText(comm.m_bySensorCalCmd);
         // Unless the device took the start, nothing runs that could end,
         // and no result may be judged or recorded.
         if (comm.m_bySensorCalCmd != kStart) {
           ShowLinks(calib::kLinkBlue, calib::kLinkBlue);
           ShowReadyButtons(comm.m_bySensorCalCmd);
           return;
         }
         m_bCalRunning = true;
         m_bReportReady = false;
         ShowLinks(calib::kLinkGrey, calib::kLinkGrey);
       },
       kIdleStep},
      {kAbortStep, "ABORT", {},
       [this, &comm] {
         comm.m_bySensorCalCmd = kIdle;  // also when tried again from a state read
         m_bAnswered = comm.WriteCalibCommand();
       },
       [this, &comm] {
         // A run is followed to its end at idle, which its end points read
         // back judge: the device may go on when the abort did not reach
         // it, or have saved new end points before it took it.
         if (m_bCalRunning) {
           m_bAborted = true;
           m_bAbortUnconfirmed = !m_bAnswered;
           if (m_bAnswered) {
             m_abortTries.Reset();
             ShowStateText(comm.m_bySensorCalCmd);
           }
           m_pollCountdown.Restart(kPollEvery);  // the next ticks read the state
           return;
         }
         // A failed run the device stands in: unanswered, Abort stays for
         // another try.
         if (m_bAnswered) ShowStopped(comm.m_bySensorCalCmd);
       },
       kIdleStep},
      {kShowStep, "SHOW", {}, [this] { ReadValues(); },
       [this] {
         if (!m_bValuesRead) return;
         ShowValues();
         if (m_bCalRunning) ShowRunningState();
       },
       kHistoryStep},
      {kRecordStep, "187", {},
       [&comm, this] {
         m_bAnswered = calib::WriteHistory(comm, calib::kStrokeHistory,
                                           calib::HistoryRecord(plat::Time().Now(), m_initials.Initials()));
       },
       [this, &comm] {
         m_bCalRunning = false;
         m_bCalFinished = false;
         ShowLinks(calib::kLinkBlue, calib::kLinkBlue);
         // A record the device did not confirm is not shown as its own.
         if (m_bAnswered) ShowHistory(comm.m_strCmd184Text);
         ShowReadyButtons(kIdle);
       },
       kShowStep},
      {kResultStep, "174", {}, [this, &comm] { m_bAnswered = comm.ReadCommand(174); },
       [this] {
         if (m_bAnswered) JudgeResult();
         else m_nStep = kResultStep;  // the result needs a fresh status: asked again
       },
       kIdleStep},
  };
  m_requests = {
      {kStartRequest, kStartStep,
       [this, &comm] {
         comm.m_bySensorCalCmd = kStart;
         m_bStartUnconfirmed = false;
         m_bAborted = false;
         m_bAbortUnconfirmed = false;
         m_abortTries.Reset();
         m_prgCalibration.SetRange32(kFirstState, kLastState);
       },
       // Leaving the page aborts a calibration: one left before its start
       // went out is not started at all.
       false},
      {kAbortRequest, kAbortStep, [&comm] { comm.m_bySensorCalCmd = kIdle; }},
      {kReportRequest, kIdleStep,
       [this] {
         theApp().m_CommonFunctions.GenerateStrokeCalReport(
             m_pReport, m_pPrinter, _bstr_t(plat::ProgramPath("\\Dependencies\\ActStrokeFricCalRept.xml")), this);
       },
       false},
  };

  MapCommand(BN_CLICKED, kStartId, &View::OnStartCalibration);
  MapCommand(BN_CLICKED, kAbortId, &View::OnAbortCalibration);
  MapCommand(BN_CLICKED, kPrintId, &View::OnPrintReport);
  MapCommand(EN_CHANGE, kInitialsId, [this] { m_initials.OnChange(); });
  constexpr int kClick = 1;
  MapEvent(kHistoryLinkId, kClick, [this](const EventArgs&) { m_nRequest = kHistoryRequest; });
  MapEvent(kErrorsLinkId, kClick, [this](const EventArgs&) { OnErrorsLinkClick(); });
}

void View::DoDataExchange(CDataExchange* pDX) {
  CConfigurationPage::DoDataExchange(pDX);
  DDX_Control(pDX, kProgressId, m_prgCalibration);
  DDX_Control(pDX, 1732, m_wndPositionPlace);
  DDX_Control(pDX, 1733, m_wndCountPlace);
  DDX_Control(pDX, 1285, m_wndHistoryPlace);
  DDX_Control(pDX, 230, m_wndErrorsPlace);
}

void View::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pHistoryLink = common.CreateLabelCtrl(this, &m_wndHistoryHost, PlaceholderRect(m_wndHistoryPlace), kHistoryLinkId,
                                          TheLanguageTable().Lookup("IDC_ILABELXHISTLINK"));
  m_pErrorsLink = common.CreateLabelCtrl(this, &m_wndErrorsHost, PlaceholderRect(m_wndErrorsPlace), kErrorsLinkId,
                                         TheLanguageTable().Lookup("IDC_ILABELXERRLINK"));
  Try("links", [&] {
    common.SetupLabelFont(m_pHistoryLink, 1);
    common.SetupLabelFont(m_pErrorsLink, 1);
  });
  m_pPosition = common.CreateAnalogDisplay(this, &m_wndPositionHost, PlaceholderRect(m_wndPositionPlace), kPositionId,
                                           _bstr_t("%"));
  m_pCount = common.CreateAnalogDisplay2(this, &m_wndCountHost, PlaceholderRect(m_wndCountPlace), kCountId);
  // A count is whole; the display's default decimals would show "32112.00".
  if (m_pCount) Try("count", [&] { common::Puts(m_pCount.GetInterfacePtr()).Put(activex::kDecimals, 0); });
  CreateReportControls();
  SetDlgItemText(kInitialsId, "NEW");
}

// A calibration ended but not yet judged or recorded goes on with that. A
// run left under way was told to abort on leaving: it is followed again
// from the device's state, with only Abort, until its end tells what the
// device did.
void View::OnShown() {
  m_initials.SkipNextCheck();
  if (m_bCalFinished) {
    m_nStartStep = m_nStep;
    return;
  }
  m_nStartStep = kShowStep;
  // A start still waiting from before the page was left was not written.
  if (m_nRequest == kStartRequest) ShowStatus(kStateTextId, "TEST_START_CANCELLED");
  GetDlgItem(kStartId)->EnableWindow(FALSE);
  GetDlgItem(kAbortId)->EnableWindow(m_bCalRunning);
  GetDlgItem(kPrintId)->EnableWindow(FALSE);
  if (m_bCalRunning) return;
  m_bStartUnconfirmed = false;
  m_bAborted = false;
  m_bAbortUnconfirmed = false;
}

// Every page is stopped at each switch: only the first stop after the page
// was shown tells the device.
void View::StopMonitoring() {
  const bool leaving = IsShown();
  CConfigurationPage::StopMonitoring();
  // An Abort clicked just before is out already, answered.
  if (!leaving || !m_bCalRunning || (m_bAborted && !m_bAbortUnconfirmed)) return;
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_bySensorCalCmd = kIdle;
  bool answered = false;
  Try("StopMonitoring", [&] { answered = comm.WriteCalibCommand(); });
  m_prgCalibration.SetPos(0);
  m_bAborted = true;
  m_bAbortUnconfirmed = !answered;
}

void View::OnTimer(UINT id) {
  if (id != m_nTimerId || m_nRequest != kHistoryRequest) return CConfigurationPage::OnTimer(id);
  // The switch stops every page's timer; this one is not armed again, so
  // the hidden page stops polling.
  KillTimer(id);
  m_nRequest = 0;
  Try("history link", [] { SelectTreeItem(treeitem::kEventHistory); });
}

// ---- What the steps show.

// Back at idle after an abort, or before a start without its answer was
// seen taken, the end points tell what the device did.
void View::ReadValues() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  m_bValuesRead = comm.ReadSensorCalibValues();
  m_bPointsRead = m_bValuesRead && m_bCalRunning && (m_bAborted || m_bStartUnconfirmed) &&
                  comm.m_bySensorCalCmd == kIdle && comm.ReadSensorCalibRaw();
}

calib::PointsBefore<2>::Points View::EndPoints() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  return {comm.m_wVar80, comm.m_wVar81};
}

void View::ShowValues() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  Try("position", [&] { ComCheck(m_pPosition->put_Value(comm.m_dVar10SensCal)); });
  Try("count", [&] { ComCheck(m_pCount->put_Value(comm.m_wVar69)); });
}

void View::ShowRunningState() {
  const BYTE state = theApp().m_comm.m_bySensorCalCmd;
  if (state == kIdle && (m_bStartUnconfirmed || m_bAborted)) {
    JudgeStop();
    return;
  }
  if (m_bStartUnconfirmed) {
    m_bStartUnconfirmed = false;
    m_bReportReady = false;
  }
  ShowStateText(state);
  m_prgCalibration.SetPos(state);
  Try("status", [this] { RefreshStatusAreaFromCalibration(); });
  // The device passes its abort code on the way back to idle; an aborted
  // run leaves the flags as clean as a good one.
  if (state == kAborted) m_bAborted = true;
  // Still calibrating after an abort without its answer: it did not reach
  // the device, and is tried again. A device that saves or has failed is
  // past what an abort would change.
  if (m_bAbortUnconfirmed && state != kAborted && state != kSaving && state != kCalError) {
    if (m_abortTries.Again()) m_nStep = kAbortStep;
    else m_bAbortUnconfirmed = false;  // Abort stays for the person
  }
  if (state == kIdle || state == kCalError) Finish();
}

// Back at idle after an abort, or before a start without its answer was
// seen taken: new end points read back mean that the device finished and
// saved a calibration, judged and recorded as any other; the same ones
// mean that it did not.
void View::JudgeStop() {
  if (!m_bPointsRead) {
    // Still followed, with only Abort, until they are read.
    ShowStatus(kStateTextId, "STROKECAL_END_UNREAD");
    return;
  }
  if (m_pointsBefore.Changed(EndPoints())) {
    Finish();
    return;
  }
  const bool aborted = m_bAborted && !m_bStartUnconfirmed;
  ShowStopped(kIdle);
  if (aborted) ShowStateText(kAborted);
}

void View::Finish() {
  m_bStartUnconfirmed = false;
  m_bAbortUnconfirmed = false;
  m_bReportReady = true;
  m_bCalFinished = true;
  m_bCalRunning = false;
  m_nStep = kResultStep;
}

void View::ShowHistory(const std::string& record) {
  const calib::HistoryEntry entry = calib::SplitHistory(record);
  SetDlgItemText(kLastDateId, entry.date.c_str());
  SetDlgItemText(kLastById, entry.by.c_str());
  auto& texts = theApp().m_CommonFunctions.m_strStrokeCal;
  texts.date = _bstr_t(entry.date);
  texts.by = _bstr_t(entry.by);
}

void View::ShowStateText(BYTE state) {
  ShowStatus(kStateTextId, CWexletCoreCommunication::CalibStateTextKey(state));
}

void View::ShowLinks(COLORREF history, COLORREF errors) {
  Try("history link", [&] { calib::ShowLink(m_pHistoryLink, history); });
  Try("errors link", [&] { calib::ShowLink(m_pErrorsLink, errors); });
}

// With no calibration followed, the device's state says what can be done:
// a device that is not idle (a failed or foreign calibration, an abort on
// its way) refuses a start, and only an abort ends it.
void View::ShowReadyButtons(BYTE state) {
  GetDlgItem(kStartId)->EnableWindow(state == kIdle);
  GetDlgItem(kAbortId)->EnableWindow(state != kIdle);
  GetDlgItem(kPrintId)->EnableWindow(m_bReportReady);
}

// The device has stopped the calibration, or never started it.
void View::ShowStopped(BYTE state) {
  ShowStateText(state);
  ShowReadyButtons(state);
  ShowLinks(calib::kLinkBlue, calib::kLinkBlue);
  m_prgCalibration.SetPos(0);
  m_bCalRunning = false;
  m_bCalFinished = false;
  m_bStartUnconfirmed = false;
  m_bAbortUnconfirmed = false;
  m_pollCountdown.Restart(kPollEvery);  // the next ticks read the state
}

// Judged only on the status just read: the stroke calibration's flags are
// status bytes 4 and 5.
void View::JudgeResult() {
  const auto& status = theApp().m_comm.m_abyStatus;
  const bool success = status[4] == 0 && status[5] == 0;
  const std::string text = calib::ResultText(success);
  SetDlgItemText(kStateTextId, text.c_str());
  theApp().m_CommonFunctions.m_strStrokeCal.result = _bstr_t(text);
  if (success) {
    m_nStep = kRecordStep;
    return;
  }
  // Start stays disabled and Abort enabled: the device is told to stop
  // before another calibration starts.
  ShowLinks(calib::kLinkBlue, calib::kLinkRed);
  m_prgCalibration.SetPos(0);
  GetDlgItem(kPrintId)->EnableWindow(TRUE);
  m_bCalFinished = false;
}

// ---- The operator's actions.

void View::OnStartCalibration() {
  if (!m_initials.CheckForStart()) return;
  const std::string question = Text("CAUSEMOVEMENT") + "\n\n" + Text("USEABORT") + "\n\n" + Text("CONTINUE");
  if (MessageBox(question.c_str(), theApp().m_strProductTitle.str().c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  SetDlgItemText(kStateTextId, "");
  StopTimer();
  GetDlgItem(kStartId)->EnableWindow(FALSE);
  GetDlgItem(kAbortId)->EnableWindow(TRUE);
  GetDlgItem(kPrintId)->EnableWindow(FALSE);
  m_nRequest = kStartRequest;
  ArmTimer();
}

void View::OnAbortCalibration() { m_nRequest = kAbortRequest; }

void View::OnErrorsLinkClick() { SelectTreeItem(treeitem::kCalibrationErrors); }

void View::OnPrintReport() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  Try("OnPrintReport", [&comm] {
    comm.ReadConfiguration();
    comm.ReadSensorCalibRaw();
    comm.ReadCommand(174);
    comm.ReadCommand(176);
  });
  FillReportFields();
  m_nRequest = kReportRequest;
}

void View::FillReportFields() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  common.m_strStrokeCal.ilo = _bstr_t(plat::FormatNumber("%5.2f", comm.m_dVar17));
  common.m_strStrokeCal.lowAD = _bstr_t(std::to_string(comm.m_wVar80));
  common.m_strStrokeCal.highAD = _bstr_t(std::to_string(comm.m_wVar81));
  common.m_strStrokeCal.adRange = _bstr_t(std::to_string(std::abs(int(comm.m_wVar80) - int(comm.m_wVar81))));
  auto& flags = common.m_bStrokeCalFlags;
  for (int bit = 0; bit < 6; ++bit) {
    flags[bit] = (comm.m_abyStatus[4] >> bit) & 1;
    flags[7 + bit] = ((comm.m_abyStatusMask[4] >> bit) & 1) == 0;
  }
  flags[6] = (comm.m_abyStatus[0] >> 2) & 1;
  flags[13] = ((comm.m_abyStatusMask[0] >> 2) & 1) == 0;
}
