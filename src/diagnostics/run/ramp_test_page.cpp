#include "diagnostics/run/ramp_test_page.h"

#include <algorithm>
#include <string>

#include "common/ramp_views.h"
#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"
#include "platform/sys/paths.h"
#include "shell/app.h"
#include "support/language_table.h"

using View = CDiagnostics_RampTestView;

namespace {

constexpr StatusHeaderIds kHeader{1011, 1012, 1013, 1018, 1019};

// Variable 144 of the set-up write.
constexpr BYTE kTestBit = 0x01, kBidirectionalBit = 0x04, kOuterLoopBit = 0x08, kInnerLoopBit = 0x40;
constexpr BYTE kBidirectionalRecord = 0x04;  // flag of the stored record
constexpr BYTE kOpening = 4, kClosing = 5;
// Start, stop, hold time, ramp time: the order of the device's set-up and
// of the files.
constexpr int kSettingEdits[4] = {View::kStartEdit, View::kStopEdit, View::kHoldEdit, View::kRampEdit};

std::vector<DialogItem> Items() {
  constexpr unsigned kHiddenOff = DS_HIDDEN | DS_DISABLED;
  return {
      {1022, DlgKind::GroupBox, "Ramp Test Settings", 8, 26, 276, 100},
      {900, DlgKind::Static, "Start Position:", 16, 42, 64, 9},
      {View::kStartEdit, DlgKind::Edit, "", 82, 40, 42, 12, DS_RIGHT},
      {918, DlgKind::Static, "%", 127, 42, 18, 9},
      {View::kStartIcon, DlgKind::Picture, "", 146, 39, 14, 14, DS_ICON},
      {902, DlgKind::Static, "Stop Position:", 16, 62, 64, 9},
      {View::kStopEdit, DlgKind::Edit, "", 82, 60, 42, 12, DS_RIGHT},
      {919, DlgKind::Static, "%", 127, 62, 18, 9},
      {View::kStopIcon, DlgKind::Picture, "", 146, 59, 14, 14, DS_ICON},
      {903, DlgKind::Static, "Hold Time:", 16, 82, 64, 9},
      {View::kHoldEdit, DlgKind::Edit, "", 82, 80, 42, 12, DS_RIGHT},
      {920, DlgKind::Static, "sec", 127, 82, 18, 9},
      {View::kHoldIcon, DlgKind::Picture, "", 146, 79, 14, 14, DS_ICON},
      {904, DlgKind::Static, "Test Duration:", 16, 102, 64, 9},
      {View::kRampEdit, DlgKind::Edit, "", 82, 100, 42, 12, DS_RIGHT},
      {921, DlgKind::Static, "sec", 127, 102, 18, 9},
      {View::kRampIcon, DlgKind::Picture, "", 146, 99, 14, 14, DS_ICON},
      {911, DlgKind::Static, "Stroke Length:", 164, 42, 66, 9},
      {View::kStrokeEdit, DlgKind::Edit, "", 232, 40, 32, 12, DS_READONLY | DS_CENTER},
      {View::kStrokeUnit, DlgKind::Static, "in.", 266, 42, 16, 9},
      {912, DlgKind::Static, "Actuator Size:", 164, 62, 66, 9},
      {View::kActuatorEdit, DlgKind::Edit, "", 232, 60, 32, 12, DS_READONLY | DS_CENTER},
      {View::kAreaUnit, DlgKind::Static, "in.", 266, 62, 16, 9},
      {View::kBidirectionalBox, DlgKind::CheckBox, "Bi-directional", 164, 80, 112, 10},
      {View::kBaselineBox, DlgKind::CheckBox, "Set Baseline", 164, 94, 112, 10},
      {View::kInnerLoopBox, DlgKind::CheckBox, "Inner Loop Test", 164, 108, 112, 10},

      {1010, DlgKind::GroupBox, "Graph Settings", 290, 26, 130, 100},
      {View::kPositionBox, DlgKind::CheckBox, "Position", 298, 40, 116, 10},
      {View::kCommandBox, DlgKind::CheckBox, "Command", 298, 53, 116, 10},
      {View::kPilotCommandBox, DlgKind::CheckBox, "Pilot Relay Command", 298, 66, 116, 10},
      {View::kPilotPositionBox, DlgKind::CheckBox, "Pilot Relay Position", 298, 79, 116, 10},
      {View::kTimeViewButton, DlgKind::PushButton, "View Ramp Test", 298, 93, 114, 14},
      {View::kSignalViewButton, DlgKind::PushButton, "View Signal vs Command", 298, 109, 114, 14},

      {1059, DlgKind::GroupBox, "Monitors", 426, 26, 166, 100},
      {905, DlgKind::Static, "Test Status:", 434, 40, 150, 9},
      {View::kStatusId, DlgKind::Edit, "", 434, 50, 150, 12, DS_READONLY | DS_CENTER},
      {901, DlgKind::Static, "Elapsed Time:", 434, 72, 58, 9},
      {View::kElapsedId, DlgKind::Edit, "", 494, 70, 52, 12, DS_READONLY | DS_CENTER},
      {922, DlgKind::Static, "sec", 550, 72, 24, 9},
      {908, DlgKind::Static, "Data Acquisition Progress:", 434, 92, 150, 9},
      {View::kProgressId, DlgKind::Progress, "", 434, 103, 150, 12},

      {View::kPlotPlace, DlgKind::GroupBox, "", 8, 132, 584, 192, DS_HIDDEN},
      {View::kRetrieveId, DlgKind::PushButton, "Retrieve Baseline", 8, 330, 78, 16, DS_MULTILINE | DS_GROUP},
      {View::kLoadId, DlgKind::PushButton, "Load", 94, 330, 78, 16},
      {View::kSaveId, DlgKind::PushButton, "Save", 180, 330, 78, 16},
      {View::kStartId, DlgKind::PushButton, "Start", 266, 330, 78, 16, DS_DISABLED},
      {View::kStopId, DlgKind::PushButton, "Stop", 352, 330, 78, 16, DS_DISABLED},
      {View::kPrintId, DlgKind::PushButton, "Print Report", 438, 330, 78, 16},
      {1413, DlgKind::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {1414, DlgKind::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},

      // Pressure, spring-set and friction controls of other positioner
      // models: never shown.
      {1197, DlgKind::CheckBox, "Supply Pressure", 0, 0, 60, 10, kHiddenOff},
      {1198, DlgKind::CheckBox, "Port A Pressure", 0, 0, 60, 10, kHiddenOff},
      {1199, DlgKind::CheckBox, "Port B Pressure", 0, 0, 60, 10, kHiddenOff},
      {1200, DlgKind::Edit, "", 0, 0, 40, 12, kHiddenOff},
      {1201, DlgKind::Edit, "", 0, 0, 40, 12, kHiddenOff},
      {438, DlgKind::PushButton, "Retrieve Last", 0, 0, 60, 16, kHiddenOff},
      {435, DlgKind::PushButton, "View Pressure vs Position", 0, 0, 60, 16, kHiddenOff},
      {436, DlgKind::PushButton, "View Friction/Thrust", 0, 0, 60, 16, kHiddenOff},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(268, kHeader, Items()));

constexpr RecordedTestKind kRamp{.multiTestIndex = 0,
                                 .completeKey = "RAMPTEST_COMPLETE",
                                 .stoppedKey = "RAMPTEST_STOPPED",
                                 .pollEvery = 4,
                                 .runCommand = 5,
                                 .baselineCommand = 1,
                                 .logPoints = true};
constexpr RecordedTestIds kIds{View::kStatusId, View::kElapsedId, View::kProgressId, View::kRetrieveId,
                               View::kLoadId,   View::kSaveId,    View::kStartId,    View::kStopId,
                               View::kPrintId,  View::kBaselineBox, View::kPlotPlace, View::kPlotId};

// The boxes of the quantities of rampviews::kQuantities, in its order.
constexpr int kChannelBoxes[] = {View::kPositionBox, View::kCommandBox, View::kPilotCommandBox,
                                 View::kPilotPositionBox};

// Legend texts of the signature curves; the time curves read like their
// boxes.
constexpr std::pair<const char*, const char*> kSignatureTitles[] = {
    {"PosnvCmdOpen", "IDC_STATIC_SIGPOSOPEN"},
    {"ILCmdvCmdOpen", "IDC_STATIC_SIGILCMDOPEN"},
    {"ILPosnvCmdOpen", "IDC_STATIC_SIGILPOSOPEN"},
    {"PosnvCmdClose", "IDC_STATIC_SIGPOSCLOSE"},
    {"ILCmdvCmdClose", "IDC_STATIC_SIGILCMDCLOSE"},
    {"ILPosnvCmdClose", "IDC_STATIC_SIGILPOSCLOSE"},
};

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

}  // namespace

View::CDiagnostics_RampTestView()
    : CRecordedTestPage(268, "IDD_DIAGNOSTIC_RAMP_TEST", 51, 1000, kRamp, kIds,
                        {
                            {kStartEdit, kStartIcon, -10.0, 110.0, "TT_STARTPOS_ERROR"},
                            {kStopEdit, kStopIcon, -10.0, 110.0, "TT_STOPPOS_ERROR"},
                            {kHoldEdit, kHoldIcon, 0.0, 655.35, "TT_PST_HOLDTIME_ERROR"},
                            {kRampEdit, kRampIcon, 0.0, 655.35, "TT_PST_RAMPTIME_ERROR"},
                        },
                        kHeader) {
  m_setupBoxes = {kBidirectionalBox, kInnerLoopBox};
  m_captions = pages::HeaderCaptions(kHeader);
  const std::vector<KeyedControls> captions = {
      {"IDC_STATICRAMPSET", {1022}},
      {"IDC_STATICSTARTPOS", {900}},
      {"IDC_STATICSTOPPOS", {902}},
      {"IDC_STATICHOLDTIME", {903}},
      {"IDC_STATICTESTDUR", {904}},
      {"VeskSEC", {920, 921, 922}},
      {"IDC_STATICSTRLEN", {911}},
      {"IDC_ILABELXACTSIZE", {912}},
      {"IDC_CHECKBIDIR", {kBidirectionalBox}},
      {"IDC_CHECKBASELINE", {kBaselineBox}},
      {"IDC_CHECKINNERLOOP", {kInnerLoopBox}},
      {"IDC_STATICGRPHSET", {1010}},
      {"IDC_STATICPOSNLBL", {kPositionBox}},
      {"IPLOTCHANCMD", {kCommandBox}},
      {"IDC_CHECK_SPOOLCMD", {kPilotCommandBox}},
      {"IDC_CHECK_SPOOLPOS", {kPilotPositionBox}},
      {"IDC_BTN_RAMPTEST", {kTimeViewButton}},
      {"IDC_BTN_SIGvCMD", {kSignalViewButton}},
      {"IDC_STATICMON", {1059}},
      {"IDC_STATICSTESTSTAT", {905}},
      {"IDC_STATICELAPSED", {901}},
      {"IDC_STATICACQPROG", {908}},
      {"IDC_BTN_BASELINE", {kRetrieveId}},
      {"IDC_BUTTON_LOAD", {kLoadId}},
      {"IDC_BUTTON_SAVE", {kSaveId}},
      {"IDC_BTN_START", {kStartId}},
      {"IDC_BTN_STOP", {kStopId}},
      {"IDC_BTN_PRINT", {kPrintId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  m_toolTips = pages::HeaderToolTips(kHeader);
  const std::vector<KeyedControls> tips = {
      {"VeskSTART_TIP", {kStartEdit}},
      {"VeskSTOP_TIP", {kStopEdit}},
      {"IDC_CEDIT_RAMP_HOLDTIP", {kHoldEdit}},
      {"IDC_EDIT_DURATIONTIP", {kRampEdit}},
      {"IDC_EDT_STROKE_LENGTHTIP", {kStrokeEdit}},
      {"IDC_EDIT_ACT_SIZETIP", {kActuatorEdit}},
      {"IDC_CHECKBIDIRTIP_Qel", {kBidirectionalBox}},
      {"IDC_CHECKBASELINETIP", {kBaselineBox}},
      {"IDC_CHECKINNERLOOPTIP", {kInnerLoopBox}},
      {"IDC_CHECK_POSITIONTIP", {kPositionBox}},
      {"IDC_CHECK_DIGITAL_COMMANDTIP", {kCommandBox}},
      {"IDC_CHECK_SPOOLCMDTIP", {kPilotCommandBox}},
      {"IDC_CHECK_SPOOLPOSTIP", {kPilotPositionBox}},
      {"IDC_EDIT_RAMP_STATTIP", {kStatusId}},
      {"VeskELAPSED_TIP", {kElapsedId}},
      {"IDC_PROGRESS_RAMPTIP", {kProgressId}},
      {"IDC_BTN_RAMPTESTTIP", {kTimeViewButton}},
      {"IDC_BTN_SIGvCMDTIP", {kSignalViewButton}},
      {"IDC_BTN_BASELINETIP", {kRetrieveId}},
      {"IDC_BTN_RAMPLOADTIP", {kLoadId}},
      {"IDC_BTN_RAMPSAVETIP", {kSaveId}},
      {"IDC_BTN_RAMPSTARTTIP", {kStartId}},
      {"IDC_BTN_RAMPSTOPTIP", {kStopId}},
      {"VeskPrintReportRampTip", {kPrintId}},
  };
  m_toolTips.insert(m_toolTips.end(), tips.begin(), tips.end());

  MapCommand(BN_CLICKED, kTimeViewButton, &View::OnViewRampTest);
  MapCommand(BN_CLICKED, kSignalViewButton, &View::OnViewSignalVsCommand);
  for (size_t row = 0; row < std::size(kChannelBoxes); ++row)
    MapCommand(BN_CLICKED, kChannelBoxes[row], [this, row] { OnChannelBox(row); });
  MapCommand(BN_CLICKED, kLoadId, &View::OnLoad);
  MapCommand(BN_CLICKED, kSaveId, &View::OnSave);
  MapCommand(BN_CLICKED, kPrintId, &View::OnPrintReport);
}

void View::OnInitialUpdate() {
  CRecordedTestPage::OnInitialUpdate();
  Try("SetPlotCaptions", [this] { SetPlotCaptions(); });
}

void View::CreateControls() {
  CRecordedTestPage::CreateControls();
  CheckDlgButton(kBidirectionalBox, BST_CHECKED);
  for (int box : kChannelBoxes) {
    GetDlgItem(box)->EnableWindow(TRUE);
    CheckDlgButton(box, BST_CHECKED);
  }
  Try("OnViewRampTest", [this] { OnViewRampTest(); });
}

void View::SetupPlot() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  common.SetupRampPlot(m_pPlot);
  common.SetupRampTestChannels(m_pPlot);
}

// ---- The run's page side.

bool View::WriteSetup() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  const bool bidirectional = SetupChecked(kBidirectionalBox);
  m_nBidirectionalPass = bidirectional ? 1 : 0;
  comm.m_byTestState = static_cast<BYTE>(kTestBit | (bidirectional ? kBidirectionalBit : 0) |
                                         (SetupChecked(kInnerLoopBox) ? kInnerLoopBit : kOuterLoopBit));
  comm.m_dVar142 = SetupValue(kStartEdit);
  comm.m_dVar143 = SetupValue(kStopEdit);
  comm.m_dVar145 = SetupValue(kHoldEdit);
  comm.m_dVar149 = SetupValue(kRampEdit);
  const bool answered = comm.WriteTestSetup();
  Try("ScaleAxesForTest", [this] { ScaleAxesForTest(); });
  return answered;
}

void View::AfterSetupWritten() {
  EnableActionButtons(FALSE);
  m_nTestDirection = SetupValue(kStopEdit) > SetupValue(kStartEdit) ? kOpening : kClosing;
}

void View::PrepareTimeAxis() {
  const auto& record = theApp().m_comm.m_TestResult.adSetup;
  double ramp = m_bBaselineLoaded ? record[3] : SetupValue(kRampEdit);
  double hold = m_bBaselineLoaded ? record[2] : SetupValue(kHoldEdit);
  int points = kPointsPerPass, passes = 1;
  if (m_nBidirectionalPass == 1) {
    ramp *= 2;
    hold *= 2;
    points *= 2;
    passes = 2;
  }
  m_dTimeStep = (ramp + hold + passes) / points;
  ComCheck(PlotAxis(true, "RampX")->SetSpan(points * m_dTimeStep));
}

void View::AddSamplePoints(double command, double position, double pilotCommand, double pilotPosition) {
  const bool opening = m_nTestDirection == kOpening;
  const char* names[3] = {"PosnvCmdClose", "ILCmdvCmdClose", "ILPosnvCmdClose"};
  if (opening) {
    names[0] = "PosnvCmdOpen";
    names[1] = "ILCmdvCmdOpen";
    names[2] = "ILPosnvCmdOpen";
  }
  const double values[3] = {position, pilotCommand, pilotPosition};
  std::string log = std::string(SampleName(m_nSignatureSample)) +
                    (opening ? " set PASSSTATEOPEN started\n" : " set PASSSTATEOPEN else started\n");
  // The frame draws a block's four samples in turn.
  m_nSignatureSample = (m_nSignatureSample + 1) % 4;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  for (size_t i = 0; i < 3; ++i) {
    ComCheck(common.GetXYPlotChannelByName(m_pPlot, names[i])->AddXY(command, values[i], nullptr));
    if (m_kind.logPoints) log += PointLine(command, values[i]) + "\n";
  }
  if (m_kind.logPoints) theApp().WriteLog(log.c_str());
}

bool View::NextPass() {
  if (m_nBidirectionalPass != 1) return false;
  m_nBidirectionalPass = 2;
  return true;
}

void View::ShowRecord() {
  const TestResultRecord& record = theApp().m_comm.m_TestResult;
  for (size_t i = 0; i < 4; ++i) SetEditNumber(kSettingEdits[i], "%.1f", record.adSetup[i]);
  const bool bidirectional = (record.byTestBits & kBidirectionalRecord) != 0;
  m_nBidirectionalPass = bidirectional ? 1 : 0;
  CheckDlgButton(kBidirectionalBox, bidirectional ? BST_CHECKED : BST_UNCHECKED);
  // The record's own range, not the last run's.
  Try("ScaleAxesForTest", [this] { ScaleAxesForTest(); });
}

void View::ShowReadTestSetup() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  SetEditNumber(kStartEdit, "%.1f", comm.m_dVar142);
  SetEditNumber(kStopEdit, "%.1f", comm.m_dVar143);
  SetEditNumber(kHoldEdit, "%.1f", comm.m_dVar145);
  SetEditNumber(kRampEdit, "%.1f", comm.m_dVar149);
  ShowStrokeAndActuator();
  m_nTestDirection = comm.m_dVar143 > comm.m_dVar142 ? kOpening : kClosing;
  Try("OnViewRampTest", [this] { OnViewRampTest(); });
}

void View::ShowDeviceTestSetup() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  SetEditNumber(kStartEdit, "%.1f", comm.m_dVar142);
  SetEditNumber(kStopEdit, "%.1f", comm.m_dVar143);
  SetEditNumber(kRampEdit, "%.1f", comm.m_dVar149);
  SetEditNumber(kHoldEdit, "%.1f", comm.m_dVar145);
  CheckDlgButton(kBidirectionalBox, theApp().m_bMultiTestBidirectional ? BST_CHECKED : BST_UNCHECKED);
}

void View::ShowStrokeAndActuator() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  SetEditNumber(kStrokeEdit, "%5.1f", comm.m_dVar116);
  SetDlgItemText(kStrokeUnit, comm.m_strTravelUnits.str().c_str());
  SetEditNumber(kActuatorEdit, "%3.1f", comm.m_dVar391);
  SetDlgItemText(kAreaUnit, comm.m_strAreaUnit.c_str());
}


double View::RunDuration() const {
  const double pass = SetupValue(kRampEdit) + SetupValue(kHoldEdit) + 1.0;
  return SetupChecked(kBidirectionalBox) ? 2 * pass : pass;
}

// ---- The plot's views.

void View::ShowView(BYTE view) {
  m_nPlotView = view;
  const auto shown = static_cast<rampviews::View>(view);
  rampviews::ShowView(*this, kTimeViewButton, kSignalViewButton, m_pPlot, shown);
  // A run's signature is drawn for the strokes it made.
  const bool bidirectional = SetupChecked(kBidirectionalBox);
  const rampviews::Strokes strokes{bidirectional || m_nTestDirection == kOpening,
                                   bidirectional || m_nTestDirection == kClosing};
  CCommonFunctions& common = theApp().m_CommonFunctions;
  for (size_t row = 0; row < std::size(kChannelBoxes); ++row) {
    const rampviews::Quantity& quantity = rampviews::kQuantities[row];
    GetDlgItem(kChannelBoxes[row])->EnableWindow(rampviews::HasCurveIn(quantity, shown));
    rampviews::ShowCurves(common, m_pPlot, quantity, "", shown, IsChecked(kChannelBoxes[row]), strokes);
  }
}

void View::OnViewRampTest() { ShowView(kTimeView); }

void View::OnViewSignalVsCommand() {
  ShowView(kSignalView);
  ComCheck(PlotAxis(true, "CmdX")->ZoomToFit());
  ComCheck(PlotAxis(false, "RampPerc")->ZoomToFit());
}

void View::OnChannelBox(size_t row) {
  rampviews::ShowBoxCurves(theApp().m_CommonFunctions, m_pPlot, rampviews::kQuantities[row], "",
                           static_cast<rampviews::View>(m_nPlotView), IsChecked(kChannelBoxes[row]));
}

void View::SetPlotCaptions() {
  rampviews::SetPlotTitles(m_pPlot);
  CCommonFunctions& common = theApp().m_CommonFunctions;
  for (const rampviews::Quantity& quantity : rampviews::kQuantities)
    ComCheck(common.GetXYPlotChannelByName(m_pPlot, quantity.time)->SetTitle(Text(quantity.key)));
  for (const auto& [channel, key] : kSignatureTitles)
    ComCheck(common.GetXYPlotChannelByName(m_pPlot, channel)->SetTitle(Text(key)));
  TranslateToolBarHints();
}

void View::SpanRunAxes() {
  IiPlotAxisPtr time;
  ComCheck(m_pPlot->GetXAxis(0, &time));
  ComCheck(time->SetMin(0.0));
  ComCheck(time->SetSpan(RunDuration()));
  SetAxisRange(true, "CmdX", 0.0, 100.0);
}

void View::ScaleAxesForTest() {
  SpanRunAxes();
  const double start = SetupValue(kStartEdit), stop = SetupValue(kStopEdit);
  const double low = start < stop ? start : stop;
  SetAxisRange(false, "RampPerc", low, 110.0 - low);
}

// ---- Files and report.

void View::OnLoad() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  if (!common.OpenRampFile(m_pPlot)) return;
  for (size_t i = 0; i < 4; ++i) SetDlgItemText(kSettingEdits[i], InOrder(common.m_strRampSettings, i).str().c_str());
  SetDlgItemText(kStrokeEdit, common.m_strRampStrokeLength.str().c_str());
  SetDlgItemText(kActuatorEdit, common.m_strRampActuatorSize.str().c_str());
  SetDlgItemText(kAreaUnit, common.m_strRampAreaUnit.str().c_str());
  SetDlgItemText(kStrokeUnit, common.m_strRampStrokeUnit.str().c_str());
  CheckDlgButton(kBidirectionalBox, common.m_bRampBidirectional ? BST_CHECKED : BST_UNCHECKED);
  ShowOpenedFile();
}

void View::OnSave() {
  if (HasNoRunToKeep()) return;
  CWexletCoreCommunication& comm = theApp().m_comm;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  if (!m_bFileLoaded) {
    comm.ReadCommand(13);
    common.m_strRampTag = comm.m_strTag;
    common.m_nRampAreaUnitCode = comm.m_byAreaUnitCode;
    common.m_nRampStrokeUnitCode = comm.m_byTravelUnitCode;
    common.m_bRampBidirectional = SetupChecked(kBidirectionalBox) ? 1 : 0;
  }
  // Single precision as the file keeps it; the text grows with the number.
  auto text = [](double value, const char* format) {
    return _bstr_t(plat::FormatNumber(format, static_cast<double>(static_cast<float>(value))));
  };
  for (size_t i = 0; i < 4; ++i)
    InOrder(common.m_strRampSettings, i) = text(SetupValue(kSettingEdits[i]), "%5.1f");
  common.m_strRampStrokeLength = text(EditValue(kStrokeEdit), "%5.2f");
  common.m_strRampActuatorSize = text(EditValue(kActuatorEdit), "%5.2f");
  common.SaveRampFile(m_pPlot);
  SpanRunAxes();
}

View::ShownSettings View::GetShownSettings() const {
  ShownSettings shown;
  for (size_t i = 0; i < 4; ++i) InOrder(shown.settings, i) = SetupText(kSettingEdits[i]);
  shown.bidirectional = SetupChecked(kBidirectionalBox);
  shown.strokeLength = GetDlgItemText(kStrokeEdit);
  shown.strokeUnit = GetDlgItemText(kStrokeUnit);
  shown.actuatorSize = GetDlgItemText(kActuatorEdit);
  shown.areaUnit = GetDlgItemText(kAreaUnit);
  return shown;
}

void View::OnPrintReport() {
  if (HasNoRunToKeep()) return;
  CWexletCoreCommunication& comm = theApp().m_comm;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  comm.ReadConfiguration();
  WarnIfTagDiffers(common.m_strRampTag);
  const ShownSettings shown = GetShownSettings();
  common.m_strRampSettings = shown.settings;
  common.m_bRampBidirectional = shown.bidirectional ? 1 : 0;
  common.m_strRampStrokeLength = shown.strokeLength;
  common.m_strRampStrokeUnit = shown.strokeUnit;
  common.m_strRampActuatorSize = shown.actuatorSize;
  common.m_strRampAreaUnit = shown.areaUnit;
  const _bstr_t definition(plat::ProgramPath("\\Dependencies\\RampTestRept.xml"));
  common.GenerateRampTestReport(m_pPlot, m_pReport, m_pPrinter, definition, this);
  OnViewRampTest();
}
