#include "views/config/command_calibration.h"

#include "common/control_puts.h"
#include "platform/sys/numeric.h"
#include "platform/sys/paths.h"
#include "shell/app.h"
#include "support/language_table.h"

using View = CCalibration_CommandCalibView;

namespace {

// The page's steps: 1 idle (the status poll and the input reading in
// turn), 5 the history read at show, 9 the start, 11 the low point taken,
// 13 the high point taken, 15 the check of a point, 19 the end, 23 the
// status after the end, 24 the points after the end, 17 the history write
// after a success, 25 the history read after the end, 21 the abort, 26
// the status for the report, 28 the masks at show, 31 the status and the
// input reading at show.
constexpr int kIdleStep = 1, kHistoryStep = 5, kStartStep = 9, kLowStep = 11, kHighStep = 13, kCheckStep = 15,
              kRecordStep = 17, kEndStep = 19, kAbortStep = 21, kEndCheckStep = 23, kEndPointsStep = 24,
              kResultHistoryStep = 25, kReportStatusStep = 26, kReportWaitStep = 27, kMaskStep = 28, kShowStep = 31;
enum Request { kMonitor = 1, kStartRequest = 2, kLowRequest = 3, kHighRequest = 4, kFinishRequest = 5,
               kAbortRequest = 6, kReportRequest = 8 };

// The command calibration's flags, status and mask byte 5, in the order
// they are explained; where the report keeps each.
struct CommandFlag {
  BYTE bit;
  const char* implication;
  const char* solution;
  size_t active;    // in m_bCommandCalActive
  size_t maskByte;  // in m_bMgmtFlags
};
constexpr CommandFlag kFlags[] = {
    {0x02, "CMD_RANGE_SMALLLONG", "CMD_RANGE_SMALLRES", 2, 59},
    {0x04, "CMD_BELOW_ADC_RANGELONG", "CMD_BELOW_ADC_RANGERES", 0, 60},
    {0x08, "CMD_ABOVE_ADC_RANGELONG", "CMD_ABOVE_ADC_RANGERES", 1, 61},
};
constexpr size_t kFlagByte = 5;
// Status byte 3 bit 4: the device is in its command calibration.
constexpr size_t kProgressByte = 3;
constexpr BYTE kCalibrating = 0x10;

std::string Text(const char* key) { return TheLanguageTable().Lookup(key).str(); }

// What the wizard asks for at each stage.
std::string StageInstructions(View::Stage stage) {
  switch (stage) {
    case View::kLowStage: return Text("IDC_ILABEL0HELP");
    case View::kHighStage: return Text("IDC_ILABEL100HELP");
    case View::kEndStage: return Text("IDC_ILABEL_ADJUST") + "\n\n" + Text("CLICKACCEPT");
    default: return Text("IDC_ILABELINSTRUCTIONS");
  }
}

std::vector<DialogItem> Items() {
  constexpr unsigned kTextBox = DS_READONLY | DS_MULTILINE | DS_VSCROLL;
  return {
      {922, DlgKind::GroupBox, "Analog Input Calibration", 8, 28, 290, 88},
      {920, DlgKind::Static, "Set zero and span for the analog input channel.", 16, 40, 274, 9},
      {902, DlgKind::Static, "Date Last Calibrated:", 16, 57, 92, 9},
      {View::kLastDateId, DlgKind::Edit, "", 112, 55, 110, 12, DS_READONLY},
      {903, DlgKind::Static, "Last Calibrated By:", 16, 75, 92, 9},
      {View::kLastById, DlgKind::Edit, "", 112, 73, 110, 12, DS_READONLY},
      {1278, DlgKind::Static, "New calibration by:", 16, 93, 92, 9},
      {View::kInitialsId, DlgKind::Edit, "", 112, 91, 40, 12},
      {View::kInitialsIconId, DlgKind::Picture, "", 158, 90, 14, 14, DS_ICON},
      {904, DlgKind::Static, "Positioner Date && Time:", 16, 111, 92, 9, DS_HIDDEN},
      {1277, DlgKind::Edit, "", 112, 109, 110, 12, DS_READONLY | DS_HIDDEN},
      {1688, DlgKind::GroupBox, "Monitor", 306, 28, 286, 88},
      {900, DlgKind::Static, "Command A/D:", 314, 46, 92, 9},
      {View::kCountId, DlgKind::Static, "", 410, 44, 60, 12, DS_SUNKEN | DS_RIGHT},
      {917, DlgKind::Static, "Design Current:", 314, 66, 92, 9},
      {View::kCurrentId, DlgKind::Static, "", 410, 64, 60, 12, DS_SUNKEN | DS_RIGHT},
      {901, DlgKind::Static, "mA", 474, 66, 20, 9},
      {918, DlgKind::Static, "Design current derived from calculation based on internal circuit design.", 314, 94,
       270, 18},
      {923, DlgKind::GroupBox, "Information", 8, 124, 584, 150},
      {1689, DlgKind::GroupBox, "", 16, 136, 568, 36, DS_HIDDEN},
      {1348, DlgKind::Static, "Implications", 16, 180, 280, 9},
      {View::kImplicationsId, DlgKind::Edit, "", 16, 191, 280, 76, kTextBox},
      {1349, DlgKind::Static, "Possible Solutions", 304, 180, 280, 9},
      {View::kSolutionsId, DlgKind::Edit, "", 304, 191, 280, 76, kTextBox},
      {View::kStartId, DlgKind::PushButton, "Start", 8, 282, 86, 16, DS_DISABLED | DS_GROUP},
      {View::kAcceptId, DlgKind::PushButton, "Accept", 104, 282, 86, 16, DS_DISABLED},
      {View::kAbortId, DlgKind::PushButton, "Abort", 200, 282, 86, 16, DS_DISABLED},
      {View::kPrintId, DlgKind::PushButton, "Print Report", 296, 282, 86, 16, DS_DISABLED},
      {919, DlgKind::Static, "NOTE:Report printing is available only after calibration is completed.", 392, 286, 200,
       18},
      {1690, DlgKind::PushButton, "Previous", 0, 0, 1, 1, DS_HIDDEN},
      {1281, DlgKind::PushButton, "Finish", 0, 0, 1, 1, DS_HIDDEN},
      {1413, DlgKind::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {1414, DlgKind::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(261, {}, Items()));

}  // namespace

View::CCalibration_CommandCalibView()
    : CConfigurationPage(261, "EDT_ALM_CAL2", 61, 5000), m_initials(*this, m_ToolTip, kInitialsId, kInitialsIconId) {
  m_nStartRequest = kMonitor;
  m_nStartStep = kMaskStep;
  m_captions = {
      {"IDC_ILABELXINDICATOR", {1018}},
      {"IDC_ILABELXSOURCE", {1019}},
      {"AI_IDD_CALIBRATION_ANALOG_IN", {922}},
      {"IDC_ILABEL_CALAI", {920}},
      {"IDC_BUTTON_INFO", {923}},
      {"IDC_STATICMONITOR", {1688}},
      {"IDC_STATICLASTDATE", {902}},
      {"IDC_STATICLASTBY", {903}},
      {"IDC_STATICTODAY4", {904}},
      {"IDC_STATICNEWBY", {1278}},
      {"IDC_STATICCMDAD", {900}},
      {"IDC_STATICDESCUR", {917}},
      {"IDC_STATICEXPLAIN", {918}},
      {"IDC_STATIC_REPORTNOTE", {919}},
      {"IDC_ILABELXIMP", {1348}},
      {"IDC_ILABELXPOSSSOL", {1349}},
      {"IDC_BTN_ACCEPT", {kAcceptId}},
      {"IDC_BTN_START", {kStartId}},
      {"IDC_BTN_ABORTCAL", {kAbortId}},
      {"IDC_BTN_PRINT", {kPrintId}},
  };
  m_toolTips = {
      {"IDC_ILED_ALARM", {120}},
      {"EDT_ALARM_DESCRIPTION", {1012}},
      {"IDC_BTN_MODE", {1013}},
      {"IDC_LAST_CALIBRATED_DATETIP", {kLastDateId}},
      {"IDC_LAST_AICALIBRATED_BY", {kLastById}},
      {"IDC_AICALIBRATED_BY", {kInitialsId}},
      {"IDC_COMMAND_ADTIP", {kCountId}},
      {"IDC_DESIGN_CURRENTTIP", {kCurrentId}},
      {"IDC_BTN_AIACCEPTTIP", {kAcceptId}},
      {"IDC_ILABELSTARTCAL", {kStartId}},
      {"IDC_BUTTON_ABORTCFGTIP", {kAbortId}},
      {"PRINTAICALREPORT", {kPrintId}},
  };

  CWexletCoreCommunication& comm = theApp().m_comm;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  // A point the device did not take leaves the calibration unfinished
  // whatever the flags say.
  auto writeCode = [this, &comm](BYTE code) {
    m_bAnswered = comm.WriteCommandCalibStep(code);
    if (!m_bAnswered) m_bStepLost = true;
  };
  m_steps = {
      // A status that could not be read at show is asked for again with
      // each input reading.
      {kIdleStep, "IDLE", {},
       [this, &comm] {
         m_bAnswered = m_bStateRead = false;
         if (m_pollCountdown.Due(2)) {
           PollStatusArea();
           return;
         }
         if (m_bStateUnknown) ReadWhereTheDeviceStands();
         m_bAnswered = comm.ReadCommandCalibState();
       },
       [this] {
         if (m_bAnswered) ShowInput();
         if (m_bStateUnknown && m_bStateRead) ShowWhereTheDeviceStands();
       },
       kIdleStep},
      {kHistoryStep, "184", {}, [this, &comm] { m_bAnswered = calib::ReadHistory(comm, calib::kCommandHistory); },
       [this, &comm] {
         if (m_bAnswered) ShowHistory(comm.m_strCmd184Text);
       },
       kShowStep},
      {kStartStep, "START", {},
       [this, &comm, writeCode] {
         writeCode(kCodeStart);
         // The device changes its points only at the end.
         m_pointsBefore.Forget();
         if (m_bAnswered && comm.ReadCommandCalib()) m_pointsBefore.Keep(Points());
       },
       [this] {
         // Unless the device took the start there is no point to accept;
         // a start whose reply was lost may still have been taken, so
         // Abort is offered beside Start.
         if (!m_bAnswered) {
           GetDlgItem(kStartId)->EnableWindow(TRUE);
           GetDlgItem(kAbortId)->EnableWindow(TRUE);
           return;
         }
         ShowStage(kLowStage);
       },
       kIdleStep},
      // Accept waits for the check of the point just taken.
      {kLowStep, "LOW", {}, [writeCode] { writeCode(kCodeLowTaken); },
       [this] {
         ShowInstructions(StageInstructions(kHighStage));
         m_nWizardStage = kHighStage;
       },
       kCheckStep},
      {kHighStep, "HIGH", {}, [writeCode] { writeCode(kCodeHighTaken); },
       [this] {
         ShowInstructions(StageInstructions(kEndStage));
         m_nWizardStage = kEndStage;
       },
       kCheckStep},
      {kCheckStep, "174", {}, [this, &comm] { m_bAnswered = comm.ReadCommand(174); },
       [this] {
         if (!m_bAnswered) {
           m_nStep = kCheckStep;  // a point is accepted only once checked
           return;
         }
         CheckStatus();
         GetDlgItem(kAcceptId)->EnableWindow(TRUE);
       },
       kIdleStep},
      // Whatever the end's reply, what the device did is read back.
      {kEndStep, "END", {}, [&comm] { comm.WriteCommandCalibStep(kCodeEnd); }, {}, kEndCheckStep},
      {kAbortStep, "ABORT", {}, [this, &comm] { m_bAnswered = comm.WriteCommandCalibStep(kCodeEnd); },
       [this] {
         // Past the high point the device takes the abort as the end and
         // may keep the new points; where the page does not know which
         // point the device stands at, it may have passed it. Unanswered,
         // the abort may or may not have ended the calibration: no point
         // is taken until the device says which.
         if ((m_nWizardStage != kLowStage && m_nWizardStage != kHighStage) || !m_bAnswered) {
           GetDlgItem(kAcceptId)->EnableWindow(FALSE);
           m_nStep = kEndCheckStep;
           return;
         }
         ShowIdleButtons();
         ShowResult("CALABORT");
       },
       kIdleStep},
      // The result is judged on the status as the calibration ends, not on
      // an earlier check.
      {kEndCheckStep, "174", {}, [this, &comm] { m_bAnswered = comm.ReadCommand(174); },
       [this, &comm] {
         if (!m_bAnswered) {
           ReadAgain(kEndCheckStep);
           return;
         }
         m_tries.Reset();
         CheckStatus();
         m_bEnded = (comm.m_abyStatus[kProgressByte] & kCalibrating) == 0;
       },
       kEndPointsStep},
      {kEndPointsStep, "POINTS", {}, [this, &comm] { m_bAnswered = comm.ReadCommandCalib(); },
       [this] {
         if (!m_bAnswered) {
           ReadAgain(kEndPointsStep);
           return;
         }
         m_tries.Reset();
         FillReportValues();
         JudgeEnd();
       },
       kIdleStep},
      // The same record again while unanswered, a few times.
      {kRecordStep, "187", {},
       [this, &comm] {
         m_bAnswered = calib::WriteHistory(comm, calib::kCommandHistory,
                                           calib::HistoryRecord(plat::Time().Now(), m_initials.Initials()));
       },
       [this] {
         if (m_bAnswered) {
           m_tries.Reset();
           return;
         }
         if (m_tries.Again()) m_nStep = kRecordStep;
       },
       kResultHistoryStep},
      {kResultHistoryStep, "184", {}, [this, &comm] { m_bAnswered = calib::ReadHistory(comm, calib::kCommandHistory); },
       [this, &comm] {
         if (m_bAnswered) ShowHistory(comm.m_strCmd184Text);
         ShowIdleButtons();
       },
       kIdleStep},
      {kReportStatusStep, "174", {}, [&comm] { comm.ReadCommand(174); },
       [this, &comm, &common] {
         for (const CommandFlag& f : kFlags)
           common.m_bCommandCalActive[f.active] = (comm.m_abyStatus[kFlagByte] & f.bit) != 0;
         m_nRequest = kReportRequest;
       },
       kReportWaitStep},
      {kMaskStep, "176", {}, [&comm] { comm.ReadCommand(176); },
       [&comm, &common] {
         for (const CommandFlag& f : kFlags)
           common.m_bMgmtFlags[f.maskByte] = (comm.m_abyStatusMask[kFlagByte] & f.bit) == 0;
       },
       kHistoryStep},
      // The status first: whether the device calibrates decides the buttons.
      {kShowStep, "SHOW", {},
       [this, &comm] {
         ReadWhereTheDeviceStands();
         m_bAnswered = comm.ReadCommandCalibState();
       },
       [this] {
         if (m_bAnswered) ShowInput();
         m_bStateUnknown = !m_bStateRead;
         if (m_bStateRead) ShowWhereTheDeviceStands();
         else ShowUnended("CMDCAL_STATE_UNREAD");
       },
       kIdleStep},
  };
  m_requests = {
      {kStartRequest, kStartStep,
       [this] {
         m_bStateUnknown = false;
         m_bCalError = false;
         m_bStepLost = false;
         m_bEndSent = false;
         SetDlgItemText(kImplicationsId, "");
         SetDlgItemText(kSolutionsId, "");
       }},
      {kLowRequest, kLowStep},
      {kHighRequest, kHighStep},
      {kFinishRequest, kEndStep, [this] { EndAs(false); }},
      {kAbortRequest, kAbortStep, [this] { EndAs(true); }},
      {kReportRequest, kIdleStep,
       [this, &common] {
         common.GenerateCommandCalReport(m_pReport, m_pPrinter,
                                         _bstr_t(plat::ProgramPath("\\Dependencies\\AnaInputCalRept.xml")), this);
       },
       false},
  };

  MapCommand(BN_CLICKED, kStartId, &View::OnStartCalibration);
  MapCommand(BN_CLICKED, kAcceptId, &View::OnAccept);
  MapCommand(BN_CLICKED, kAbortId, &View::OnAbort);
  MapCommand(BN_CLICKED, kPrintId, &View::OnPrintReport);
  MapCommand(EN_CHANGE, kInitialsId, [this] { m_initials.OnChange(); });
}

void View::DoDataExchange(CDataExchange* pDX) {
  CConfigurationPage::DoDataExchange(pDX);
  DDX_Control(pDX, 1689, m_wndInstructionsPlace);
}

void View::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pInstructions = common.CreateLabelCtrl(this, &m_wndInstructionsHost, PlaceholderRect(m_wndInstructionsPlace),
                                           kInstructionsId, TheLanguageTable().Lookup("IDC_ILABELINSTRUCTIONS"));
  Try("instructions", [this] {
    common::Puts p(m_pInstructions.GetInterfacePtr());
    p.Color(activex::kBackColor, 0xF5F5F5).Put(activex::LabelRow(2), static_cast<LONG>(1));
    common::ChangeFont(p.Control(), {.name = "Arial", .bold = TRUE});
  });
  CreateReportControls();
}

// Leaving the page tells the device nothing, and a request not yet made
// is dropped. A page left while the end was read back and judged goes on
// with that when shown again, its result still to say. Otherwise neither
// Start nor Accept is offered until the device has said where its
// calibration stands (at the end of the show's reads).
void View::OnShown() {
  m_initials.SkipNextCheck();
  const bool judging = m_nStep == kEndCheckStep || m_nStep == kEndPointsStep || m_nStep == kRecordStep ||
                       m_nStep == kResultHistoryStep;
  m_nStartStep = judging ? m_nStep : kMaskStep;
  if (judging) return;
  if (m_nWizardStage == kNoStage && !m_bResultOnShow) ShowInstructions(StageInstructions(kNoStage));
  GetDlgItem(kAcceptId)->EnableWindow(FALSE);
  GetDlgItem(kStartId)->EnableWindow(FALSE);
}

std::string View::GetInstructions() const {
  _bstr_t caption;
  if (!m_pInstructions || FAILED(m_pInstructions->get_Caption(&caption))) return {};
  return caption.str();
}

// ---- What the steps show.

void View::ShowInput() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  SetDlgItemText(kCountId, std::to_string(comm.m_wCmdCalState).c_str());
  SetDlgItemText(kCurrentId, plat::FormatNumber("%5.2f", comm.m_dVar1).c_str());
}

void View::ShowHistory(const std::string& record) {
  const calib::HistoryEntry entry = calib::SplitHistory(record);
  SetDlgItemText(kLastDateId, entry.date.c_str());
  SetDlgItemText(kLastById, entry.by.c_str());
  auto& texts = theApp().m_CommonFunctions.m_strCommandCal;
  texts.by = _bstr_t(entry.by);
  texts.date = _bstr_t(entry.date);
  m_initials.Clear();
}

void View::ShowInstructions(const std::string& text) {
  Try("instructions", [&] { ComCheck(m_pInstructions->put_Caption(_bstr_t(text))); });
}

void View::ShowButtons(bool accept, bool start, bool abort) {
  GetDlgItem(kAcceptId)->EnableWindow(accept);
  GetDlgItem(kStartId)->EnableWindow(start);
  GetDlgItem(kAbortId)->EnableWindow(abort);
}

void View::ShowIdleButtons() {
  ShowButtons(false, true, false);
  GetDlgItem(kPrintId)->EnableWindow(TRUE);
  m_nWizardStage = kNoStage;
}

void View::CheckStatus() {
  const BYTE status = theApp().m_comm.m_abyStatus[kFlagByte];
  m_bCalError = false;
  std::string implication, solution;
  for (const CommandFlag& f : kFlags) {
    if (!(status & f.bit)) continue;
    m_bCalError = true;
    implication = Text(f.implication);
    solution = Text(f.solution);
    break;
  }
  SetDlgItemText(kImplicationsId, implication.c_str());
  SetDlgItemText(kSolutionsId, solution.c_str());
  m_pollCountdown.Restart();
}

void View::ShowResult(const char* key) {
  const std::string text = Text(key);
  ShowInstructions(text);
  m_bResultOnShow = true;
  theApp().m_CommonFunctions.m_strCommandCal.result = _bstr_t(text);
}

calib::PointsBefore<3>::Points View::Points() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  return {comm.m_wVar85, comm.m_wVar86, comm.m_wVar87};
}

void View::FillReportValues() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  auto& texts = theApp().m_CommonFunctions.m_strCommandCal;
  texts.at4mA = _bstr_t(std::to_string(comm.m_wVar126));
  texts.at0 = _bstr_t(std::to_string(comm.m_wVar85));
  texts.at100 = _bstr_t(std::to_string(comm.m_wVar86));
  texts.adRange = _bstr_t(std::to_string(comm.m_wVar87));
}

void View::EndAs(bool abort) {
  m_bAbortEnd = abort;
  m_bEndSent = true;
  m_bStateUnknown = false;
  m_bEnded = false;
  m_tries.Reset();
}

void View::ReadAgain(int step) {
  if (m_tries.Again()) {
    m_nStep = step;
    return;
  }
  m_nStep = kIdleStep;
  ShowUnended("CMDCAL_END_UNREAD");
}

// The device keeps the new points when it took both points without a flag
// and has ended, whether the page meant to finish or to abort: then it is
// a success and recorded. A point whose reply was lost may still have been
// taken: points read back other than before prove it.
void View::JudgeEnd() {
  if (!m_bEnded) {
    ShowUnended("CMDCAL_NOT_ENDED");
    return;
  }
  const bool changed = m_pointsBefore.Changed(Points());
  m_pointsBefore.Forget();  // this calibration's, no other's
  const bool kept = changed || (m_nWizardStage == kEndStage && !m_bCalError && !m_bStepLost);
  if (kept) {
    ShowResult("SUCCESSCAL");
    m_nStep = kRecordStep;
  } else if (m_bAbortEnd) {
    // An abort reads no history back.
    ShowResult("CALABORT");
    ShowIdleButtons();
  } else {
    ShowResult("CALERRMSG");
    m_nStep = kResultHistoryStep;
  }
}

// The device may still be in its calibration: only Abort, which ends it.
void View::ShowUnended(const char* key) {
  m_bResultOnShow = false;
  ShowInstructions(Text(key));
  ShowButtons(false, false, true);
  GetDlgItem(kPrintId)->EnableWindow(FALSE);
}

void View::ShowStage(Stage stage) {
  m_bResultOnShow = false;
  ShowInstructions(StageInstructions(stage));
  ShowButtons(true, false, true);
  GetDlgItem(kPrintId)->EnableWindow(FALSE);
  m_nWizardStage = stage;
}

bool View::Calibrating() { return (theApp().m_comm.m_abyStatus[kProgressByte] & kCalibrating) != 0; }

bool View::Resumable() const { return m_nWizardStage != kNoStage && !m_bEndSent; }

// A calibration offered Abort alone may be past its high point: its
// points, unchanged until its end, are read now for the end to be judged
// on, unless the page has them from its own start.
void View::ReadWhereTheDeviceStands() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  m_bStateRead = comm.ReadCommand(174);
  if (m_bStateRead && Calibrating() && !Resumable() && !m_pointsBefore.Known() && comm.ReadCommandCalib())
    m_pointsBefore.Keep(Points());
}

// A point asked for but left before the device took it is asked for
// again: Accept comes back at the stage the page was left in. A device in
// a calibration whose point the page does not know (an end or abort
// already written, a start without its answer, another program's) is
// offered Abort only; a device in none is ready for a start.
void View::ShowWhereTheDeviceStands() {
  m_bStateUnknown = false;
  if (!Calibrating()) {
    m_nWizardStage = kNoStage;
    if (!m_bResultOnShow) ShowInstructions(StageInstructions(kNoStage));
    ShowButtons(false, true, false);
    return;
  }
  if (Resumable()) {
    CheckStatus();
    ShowStage(static_cast<Stage>(m_nWizardStage));
    return;
  }
  ShowUnended("CMDCAL_NOT_ENDED");
}

// ---- The operator's actions.

void View::OnStartCalibration() {
  if (!m_initials.CheckForStart()) return;
  GetDlgItem(kPrintId)->EnableWindow(FALSE);
  m_nRequest = kStartRequest;
}

void View::OnAccept() {
  GetDlgItem(kAcceptId)->EnableWindow(FALSE);
  switch (m_nWizardStage) {
    case kLowStage: m_nRequest = kLowRequest; break;
    case kHighStage: m_nRequest = kHighRequest; break;
    case kEndStage: m_nRequest = kFinishRequest; break;
    default: break;
  }
}

void View::OnAbort() { m_nRequest = kAbortRequest; }

// The device is read at once; the status follows at the next tick and the
// report at the one after.
void View::OnPrintReport() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  Try("OnPrintReport", [&comm] {
    comm.ReadConfiguration();
    comm.ReadCommandCalib();
  });
  FillReportValues();
  m_nStep = kReportStatusStep;
}
