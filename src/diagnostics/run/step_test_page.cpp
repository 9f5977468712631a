#include "diagnostics/run/step_test_page.h"

#include <cmath>

#include "platform/com/com_error.h"
#include "platform/sys/paths.h"
#include "shell/app.h"
#include "support/language_table.h"

using View = CDiagnostics_StepTestView;

namespace {

constexpr StatusHeaderIds kHeader{1011, 255, 1013, 1018, 1019};
constexpr BYTE kStepTestType = 1;
constexpr double kTopPercent = 110.0;

const RecordedTestKind kKind{.multiTestIndex = 1,
                             .completeKey = "STEPTEST_COMPLETE",
                             .stoppedKey = "STEPTEST_STOPPED",
                             .pollEvery = 20,
                             .runCommand = 5,
                             .baselineCommand = 0,
                             .tickLog = "Reading step test"};
const RecordedTestIds kIds{View::kStatusId, View::kElapsedId, View::kProgressId, View::kRetrieveId,
                           View::kLoadId,   View::kSaveId,    View::kStartId,    View::kStopId,
                           View::kPrintId,  View::kBaselineBoxId, View::kPlotPlaceId, View::kPlotId};

constexpr auto kChannelBoxes =
    RecordCurveBoxes(View::kPositionBoxId, View::kCommandBoxId, View::kPilotCommandBoxId, View::kPilotPositionBoxId);

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

std::vector<DialogItem> Items() {
  using K = DlgKind;
  constexpr unsigned kUnused = DS_HIDDEN | DS_DISABLED;
  return {
      {1023, K::GroupBox, "Step Test Settings", 8, 28, 196, 90},
      {1203, K::Static, "Start Position:", 16, 44, 70, 9},
      {View::kStartPosId, K::Edit, "", 90, 42, 50, 12, DS_RIGHT},
      {904, K::Static, "%", 144, 44, 18, 9},
      {View::kStartIconId, K::Picture, "", 168, 41, 14, 14, DS_ICON},
      {1204, K::Static, "Stop Position:", 16, 62, 70, 9},
      {View::kStopPosId, K::Edit, "", 90, 60, 50, 12, DS_RIGHT},
      {906, K::Static, "%", 144, 62, 18, 9},
      {View::kStopIconId, K::Picture, "", 168, 59, 14, 14, DS_ICON},
      {1205, K::Static, "Hold Time:", 16, 80, 70, 9},
      {View::kHoldId, K::Edit, "", 90, 78, 50, 12, DS_RIGHT},
      {907, K::Static, "sec", 144, 80, 20, 9},
      {View::kHoldIconId, K::Picture, "", 168, 77, 14, 14, DS_ICON},
      {View::kBaselineBoxId, K::CheckBox, "Set Baseline", 16, 100, 120, 10},
      {1210, K::GroupBox, "Graph Settings", 212, 28, 150, 90},
      {View::kPositionBoxId, K::CheckBox, "Position", 220, 42, 136, 10},
      {View::kCommandBoxId, K::CheckBox, "Command", 220, 60, 136, 10},
      {View::kPilotCommandBoxId, K::CheckBox, "Pilot Relay Command", 220, 78, 136, 10},
      {View::kPilotPositionBoxId, K::CheckBox, "Pilot Relay Position", 220, 96, 136, 10},
      {1197, K::CheckBox, "", 0, 0, 1, 1, kUnused},
      {1198, K::CheckBox, "", 0, 0, 1, 1, kUnused},
      {1199, K::CheckBox, "", 0, 0, 1, 1, kUnused},
      {1206, K::GroupBox, "Monitors", 370, 28, 222, 90},
      {1207, K::Static, "Test Status:", 378, 44, 62, 9},
      {View::kStatusId, K::Edit, "", 442, 42, 142, 12, DS_READONLY},
      {1208, K::Static, "Elapsed Time:", 378, 62, 62, 9},
      {View::kElapsedId, K::Edit, "", 442, 60, 50, 12, DS_READONLY | DS_CENTER},
      {922, K::Static, "sec", 496, 62, 20, 9},
      {1209, K::Static, "Data Acquisition Progress:", 378, 80, 140, 9},
      {View::kProgressId, K::Progress, "", 378, 94, 206, 12},
      {View::kPlotPlaceId, K::GroupBox, "", 8, 124, 584, 200, DS_HIDDEN},
      {View::kRetrieveId, K::PushButton, "Retrieve Baseline", 8, 330, 90, 16, DS_GROUP},
      {View::kLoadId, K::PushButton, "Load", 107, 330, 90, 16},
      {View::kSaveId, K::PushButton, "Save", 206, 330, 90, 16},
      {View::kStartId, K::PushButton, "Start", 305, 330, 90, 16},
      {View::kStopId, K::PushButton, "Stop", 404, 330, 90, 16, DS_DISABLED},
      {View::kPrintId, K::PushButton, "Print Report", 502, 330, 90, 16},
      {View::kViewId, K::PushButton, "View Step Test", 0, 0, 1, 1, kUnused},
      {438, K::PushButton, "Retrieve Last", 0, 0, 1, 1, kUnused},
      {435, K::PushButton, "View Pressure vs Position", 0, 0, 1, 1, kUnused},
      {1413, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {1414, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(266, kHeader, Items()));

}  // namespace

View::CDiagnostics_StepTestView()
    : CRecordedTestPage(266, "IDD_DIAGNOSTIC_STEP_TEST", 52, 500, kKind, kIds,
                        {{kStartPosId, kStartIconId, -10.0, 110.0, "TT_STARTPOS_ERROR"},
                         {kStopPosId, kStopIconId, -10.0, 110.0, "TT_STOPPOS_ERROR"},
                         {kHoldId, kHoldIconId, 0.0, 655.35, "TT_PST_HOLDTIME_ERROR"}},
                        kHeader) {
  m_captions = pages::HeaderCaptions(kHeader);
  m_toolTips = pages::HeaderToolTips(kHeader);
  const std::vector<KeyedControls> captions = {
      {"IDC_STATICSTEPSET", {1023}},      {"IDC_STATICSTARTPOS", {1203}},  {"IDC_STATICSTOPPOS", {1204}},
      {"IDC_STATICHOLDTIME", {1205}},     {"VeskSEC", {907, 922}},         {"IDC_CHECKBASELINE", {kBaselineBoxId}},
      {"IDC_STATICGRPHSET", {1210}},      {"IDC_STATICMON", {1206}},       {"IDC_STATICSTESTSTAT", {1207}},
      {"IDC_STATICELAPSED", {1208}},      {"IDC_STATICACQPROG", {1209}},   {"IDC_BTN_BASELINE", {kRetrieveId}},
      {"IDC_BUTTON_LOAD", {kLoadId}},     {"IDC_BUTTON_SAVE", {kSaveId}},  {"IDC_BTN_START", {kStartId}},
      {"IDC_BTN_STOP", {kStopId}},        {"IDC_BTN_PRINT", {kPrintId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  for (const ChannelBox& b : kChannelBoxes) m_captions.push_back({b.key, {b.box}});
  const std::vector<KeyedControls> toolTips = {
      {"VeskSTART_TIP", {kStartPosId}},
      {"VeskSTOP_TIP", {kStopPosId}},
      {"IDC_CEDIT_STEP_HOLDTIP", {kHoldId}},
      {"IDC_CHECKBASELINETIP", {kBaselineBoxId}},
      {"IDC_CHECK_POSITIONTIP", {kPositionBoxId}},
      {"IDC_CHECK_DIGITAL_COMMANDTIP", {kCommandBoxId}},
      {"IDC_CHECK_SPOOLCMDTIP", {kPilotCommandBoxId}},
      {"IDC_CHECK_SPOOLPOSTIP", {kPilotPositionBoxId}},
      {"IDC_EDIT_MONITOR_STEPSTARTTIP", {kStatusId}},
      {"IDC_EDIT_STEPMONITOR_ELAPSEDTIP", {kElapsedId}},
      {"IDC_PROGRESS_STEPTIP", {kProgressId}},
      {"IDC_BTN_BASELINETIP", {kRetrieveId}},
      {"IDC_BTN_STEPLOADTIP", {kLoadId}},
      {"IDC_BTN_STEPSAVETIP", {kSaveId}},
      {"IDC_BTN_STEPSTARTTIP", {kStartId}},
      {"IDC_BTN_STEPSTOPTIP", {kStopId}},
      {"VeskPrintReportStepTip", {kPrintId}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  MapCommand(BN_CLICKED, kViewId, &View::OnViewStepTest);
  MapCommand(BN_CLICKED, kLoadId, &View::OnLoad);
  MapCommand(BN_CLICKED, kSaveId, &View::OnSave);
  MapCommand(BN_CLICKED, kPrintId, &View::OnPrintReport);
  for (const ChannelBox& b : kChannelBoxes)
    MapCommand(BN_CLICKED, static_cast<UINT>(b.box), [this, b] {
      Try("channel box", [this, b] { theApp().m_CommonFunctions.ShowChannel(m_pPlot, b.channel, IsChecked(b.box)); });
    });
}

// ---- The page's controls.

void View::CreateControls() {
  CRecordedTestPage::CreateControls();
  for (const ChannelBox& b : kChannelBoxes) CheckDlgButton(b.box, BST_CHECKED);
  OnViewStepTest();
  Try("plot captions", [this] { SetPlotCaptions(); });
}

void View::SetupPlot() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  common.SetupStepPlot(m_pPlot);
  common.SetupStepChannels(m_pPlot);
}

void View::SetPlotCaptions() {
  ComCheck(m_pPlot->SetTitle(Text("IDD_DIAGNOSTIC_STEP_TEST")));
  ComCheck(PlotAxis(true, "StepX")->SetTitle(Text("STEPTIME")));
  ComCheck(PlotAxis(false, "StepPerc")->SetTitle(Text("HDRLPOSNPERC")));
  CCommonFunctions& common = theApp().m_CommonFunctions;
  for (const ChannelBox& b : kChannelBoxes)
    ComCheck(common.GetXYPlotChannelByName(m_pPlot, b.channel)->SetTitle(Text(b.key)));
  TranslateToolBarHints();
}

void View::OnViewStepTest() {
  GetDlgItem(kViewId)->EnableWindow(FALSE);
  for (const ChannelBox& b : kChannelBoxes) GetDlgItem(b.box)->EnableWindow(TRUE);
  Try("OnViewStepTest", [this] {
    CCommonFunctions& common = theApp().m_CommonFunctions;
    ComCheck(m_pPlot->SetTitle(Text("IDD_DIAGNOSTIC_STEP_TEST")));
    common.UpdateStepPlot(m_pPlot);
    for (const ChannelBox& b : kChannelBoxes) common.ShowChannel(m_pPlot, b.channel, IsChecked(b.box));
    ShowPlotAxis(true, "StepX");
    ShowPlotAxis(false, "StepPerc");
  });
}


// Equal positions give the stop position.
double View::LowerPosition() const {
  const double start = SetupValue(kStartPosId), stop = SetupValue(kStopPosId);
  return start < stop ? start : stop;
}

void View::ShowSettings(const char* format, double start, double stop, double hold) {
  SetEditNumber(kStartPosId, format, start);
  SetEditNumber(kStopPosId, format, stop);
  SetEditNumber(kHoldId, format, hold);
}

void View::ScaleAxesForTest() {
  m_dTimeSpan = SetupValue(kHoldId) + 1.0;
  m_dLowerPosition = LowerPosition();
  Try("ScaleAxesForTest", [this] {
    SetAxisRange(true, "StepX", 0.0, m_dTimeSpan);
    SetAxisRange(false, "StepPerc", m_dLowerPosition, kTopPercent - m_dLowerPosition);
  });
}

// ---- The run's steps.

bool View::WriteSetup() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_byTestState = kStepTestType;
  comm.m_dVar142 = SetupValue(kStartPosId);
  comm.m_dVar143 = SetupValue(kStopPosId);
  comm.m_dVar145 = SetupValue(kHoldId);
  comm.m_dVar149 = 0.0;
  return comm.WriteTestSetup();
}

void View::AfterSetupWritten() { GetDlgItem(kStopId)->EnableWindow(TRUE); }

void View::PrepareTimeAxis() {
  const double hold = m_bBaselineLoaded ? theApp().m_comm.m_TestResult.adSetup[2] : SetupValue(kHoldId);
  m_dTimeStep = (hold + 1.0) / kSamples;
  SetAxisRange(true, "StepX", 0.0, kSamples * m_dTimeStep);
}

void View::ShowRecord() {
  const auto& setup = theApp().m_comm.m_TestResult.adSetup;
  ShowSettings("%.1f", setup[0], setup[1], setup[2]);
  // The record's own range, not the last run's.
  ScaleAxesForTest();
}

void View::ShowReadTestSetup() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  ShowSettings("%3.1f", comm.m_dVar142, comm.m_dVar143, comm.m_dVar145);
  OnViewStepTest();
}

void View::ShowDeviceTestSetup() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  ShowSettings("%.1f", comm.m_dVar142, comm.m_dVar143, comm.m_dVar145);
}

// ---- Files and report.

StepSettingTexts View::GetShownSettings() const {
  StepSettingTexts texts;
  for (size_t i = 0; i < m_settings.size(); ++i) InOrder(texts, i) = _bstr_t(SetupText(m_settings[i].edit));
  return texts;
}

void View::KeepSettingTexts() { theApp().m_CommonFunctions.m_strStepSettings = GetShownSettings(); }

void View::OnLoad() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  bool opened = false;
  Try("OnLoad", [&] { opened = common.OpenStepFile(m_pPlot); });
  if (!opened) return;
  for (size_t i = 0; i < m_settings.size(); ++i)
    SetDlgItemText(m_settings[i].edit, InOrder(common.m_strStepSettings, i).str().c_str());
  ShowOpenedFile();
}

void View::OnSave() {
  if (HasNoRunToKeep()) return;
  CWexletCoreCommunication& comm = theApp().m_comm;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  // Opened data keeps the tag of its file.
  if (!m_bFileLoaded) {
    Try("OnSave tag", [&comm] { comm.ReadCommand(13); });
    common.m_strStepTag = _bstr_t(comm.m_strTag);
  }
  KeepSettingTexts();
  Try("OnSave", [&common, this] { common.SaveStepFile(m_pPlot); });

  const double hold = SetupValue(kHoldId);
  m_dTimeStep = (hold + 1.0) / kSamples;
  const double lower = std::trunc(LowerPosition());
  Try("OnSave axes", [this, hold, lower] {
    IiPlotAxisPtr x = PlotAxis(true, "StepX");
    ComCheck(x->SetMin(0.0));
    ComCheck(x->SetIncrement(m_dTimeStep));
    ComCheck(x->SetStartValue(0.0));
    ComCheck(x->SetSpan(hold + 1.0));
    SetAxisRange(false, "StepPerc", lower, kTopPercent - lower);
  });
}

void View::OnPrintReport() {
  if (HasNoRunToKeep()) return;
  CWexletCoreCommunication& comm = theApp().m_comm;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  Try("OnPrintReport", [&comm] { comm.ReadConfiguration(); });
  WarnIfTagDiffers(common.m_strStepTag);
  KeepSettingTexts();
  common.GenerateStepTestReport(m_pPlot, m_pReport, m_pPrinter,
                                _bstr_t(plat::ProgramPath("\\Dependencies\\StepTestRept.xml")), this);
  OnViewStepTest();
}
