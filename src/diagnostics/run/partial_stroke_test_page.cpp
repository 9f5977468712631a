#include "diagnostics/run/partial_stroke_test_page.h"

#include <optional>
#include <string>

#include "common/plot_hints.h"
#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"
#include "platform/sys/paths.h"
#include "shell/app.h"
#include "support/language_table.h"

using View = CDiagnostics_PSTView;

namespace {

constexpr StatusHeaderIds kHeader{1060, 1012, 1013, 1219, 1220};
constexpr int kReportPlace = 1413, kPrinterPlace = 1414;
constexpr BYTE kBaselineCommand = 3, kLastCommand = 4;
constexpr double kTopPercent = 110.0;
// A file keeps a time the device has not got as the device's mark for it.
constexpr const char* kMissingFileValue = "655.35";

constexpr auto kChannelBoxes =
    RecordCurveBoxes(View::kPositionBoxId, View::kCommandBoxId, View::kPilotCommandBoxId, View::kPilotPositionBoxId);
_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

bool ShowsMissingTime(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  const auto last = text.find_last_not_of(' ');
  return first != std::string::npos && text.substr(first, last - first + 1) == "-";
}

std::vector<DialogItem> Items() {
  using K = DlgKind;
  constexpr unsigned kUnused = DS_HIDDEN | DS_DISABLED;
  struct Row {
    int label, edit, unit, icon;
    const char* caption;
    const char* unitText;
  };
  constexpr Row kRows[] = {
      {1221, View::kStartPosId, 925, View::kStartIconId, "Start Position:", "%"},
      {1222, View::kStopPosId, 926, View::kStopIconId, "Stop Position:", "%"},
      {1239, View::kHoldId, 934, View::kHoldIconId, "Hold Time:", "sec"},
      {1240, View::kRampId, 928, View::kRampIconId, "Ramp Time:", "sec"},
      {914, View::kTimeLimitId, 927, View::kTimeLimitIconId, "Time Limit:", "sec"},
  };
  std::vector<DialogItem> items = {{1019, K::GroupBox, "Partial Stroke Test Settings", 8, 28, 196, 124}};
  int y = 42;
  for (const Row& r : kRows) {
    items.push_back({r.label, K::Static, r.caption, 16, y + 2, 70, 9});
    items.push_back({r.edit, K::Edit, "", 90, y, 50, 12, DS_RIGHT});
    items.push_back({r.unit, K::Static, r.unitText, 144, y + 2, 18, 9});
    items.push_back({r.icon, K::Picture, "", 168, y - 1, 14, 14, DS_ICON});
    y += 17;
  }
  const std::vector<DialogItem> rest = {
      {View::kBaselineBoxId, K::CheckBox, "Set Baseline", 16, 132, 90, 10},
      {View::kApplyId, K::PushButton, "Apply", 132, 129, 64, 15},
      {1241, K::GroupBox, "Graph Settings", 212, 28, 150, 124},
      {View::kPositionBoxId, K::CheckBox, "Position", 220, 44, 136, 10},
      {View::kCommandBoxId, K::CheckBox, "Command", 220, 66, 136, 10},
      {View::kPilotCommandBoxId, K::CheckBox, "Pilot Relay Command", 220, 88, 136, 10},
      {View::kPilotPositionBoxId, K::CheckBox, "Pilot Relay Position", 220, 110, 136, 10},
      {1226, K::GroupBox, "Monitors", 370, 28, 222, 56},
      {1227, K::Static, "Test Status:", 378, 42, 62, 9},
      {View::kStatusId, K::Edit, "", 442, 40, 142, 12, DS_READONLY},
      {906, K::Static, "Progress:", 378, 60, 62, 9},
      {View::kProgressId, K::Progress, "", 442, 58, 142, 12},
      {1228, K::GroupBox, "Results", 370, 88, 222, 64},
      {907, K::Static, "Break-away Time:", 378, 101, 74, 9},
      {View::kBreakawayId, K::Edit, "", 454, 99, 48, 12, DS_READONLY | DS_RIGHT},
      {931, K::Static, "sec", 506, 101, 20, 9},
      {909, K::Static, "Time to Target:", 378, 117, 74, 9},
      {View::kTimeToTargetId, K::Edit, "", 454, 115, 48, 12, DS_READONLY | DS_RIGHT},
      {932, K::Static, "sec", 506, 117, 20, 9},
      {910, K::Static, "Result:", 378, 133, 74, 9},
      {View::kResultId, K::Edit, "", 454, 131, 130, 12, DS_READONLY},
      {View::kPlotPlaceId, K::GroupBox, "", 8, 158, 584, 166, DS_HIDDEN},
      {View::kRetrieveBaselineId, K::PushButton, "Retrieve Baseline", 8, 330, 78, 16, DS_GROUP | DS_DISABLED},
      {View::kRetrieveLastId, K::PushButton, "Retrieve Last", 92, 330, 78, 16, DS_DISABLED},
      {View::kLoadId, K::PushButton, "Load", 176, 330, 78, 16},
      {View::kSaveId, K::PushButton, "Save", 260, 330, 78, 16},
      {View::kStartId, K::PushButton, "Start", 344, 330, 78, 16, DS_DISABLED},
      {View::kStopId, K::PushButton, "Stop", 428, 330, 78, 16, DS_DISABLED},
      {View::kPrintId, K::PushButton, "Print Report", 512, 330, 80, 16, DS_DISABLED},
      // Kept in the template, shown by nothing.
      {411, K::CheckBox, "Supply Pressure", 0, 0, 1, 1, kUnused},
      {1224, K::CheckBox, "", 0, 0, 1, 1, kUnused},
      {1225, K::CheckBox, "", 0, 0, 1, 1, kUnused},
      {1608, K::RadioButton, "Enabled", 0, 0, 1, 1, kUnused},
      {1609, K::RadioButton, "Disabled", 0, 0, 1, 1, kUnused},
      {908, K::Static, "", 0, 0, 1, 1, kUnused},
      {1230, K::Edit, "", 0, 0, 1, 1, kUnused},
      {1680, K::Static, "", 0, 0, 1, 1, kUnused},
      {1018, K::CheckBox, "Continuous Stroke Test", 0, 0, 1, 1, kUnused},
      {1484, K::CheckBox, "Extended Diagnostics", 0, 0, 1, 1, kUnused},
      {kReportPlace, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {kPrinterPlace, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
  };
  items.insert(items.end(), rest.begin(), rest.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(274, kHeader, Items()));

// The device times the stroke and gives its results; the record is read
// only on request. The page idles at 5 s.
constexpr RecordedTestKind kKind{.multiTestIndex = 2,
                                 .completeKey = "PST_COMPLETE",
                                 .stoppedKey = "PST_STOPPED",
                                 .pollEvery = 2,
                                 .runCommand = kLastCommand,
                                 .baselineCommand = kBaselineCommand,
                                 .startLeadKey = "PSTSTARTMSG",
                                 .busyPeriodMs = View::kBusyPeriod,
                                 .settleAfterPointer = true,
                                 .setupHasTimeLimit = true};
// No elapsed time on this page.
constexpr RecordedTestIds kIds{View::kStatusId, 0,
                               View::kProgressId, View::kRetrieveBaselineId,
                               View::kLoadId, View::kSaveId,
                               View::kStartId, View::kStopId,
                               View::kPrintId, View::kBaselineBoxId,
                               View::kPlotPlaceId, View::kPlotId};

}  // namespace

View::CDiagnostics_PSTView()
    : CRecordedTestPage(274, "PARTTEST", 53, kIdlePeriod, kKind, kIds,
                        {{kStartPosId, kStartIconId, -10.0, 110.0, "TT_STARTPOS_ERROR"},
                         {kStopPosId, kStopIconId, -10.0, 110.0, "TT_STOPPOS_ERROR"},
                         {kHoldId, kHoldIconId, 0.0, 655.35, "TT_PST_HOLDTIME_ERROR"},
                         {kRampId, kRampIconId, 0.0, 655.35, "TT_PST_RAMPTIME_ERROR"},
                         {kTimeLimitId, kTimeLimitIconId, 0.0, 655.35, "TT_TIMELIMIT_ERROR"}},
                        kHeader) {
  m_captions = pages::HeaderCaptions(kHeader);
  m_toolTips = pages::HeaderToolTips(kHeader);
  const std::vector<KeyedControls> captions = {
      {"IDC_STATICPARTSET", {1019}},       {"IDC_STATICSTARTPOS", {1221}},   {"IDC_STATICSTOPPOS", {1222}},
      {"IDC_STATICHOLDTIME", {1239}},      {"IDC_STATICTESTDUR", {1240}},    {"IDC_STATICBKWTIMLIM", {914}},
      {"IDC_STATICGRPHSET", {1241}},       {"IDC_STATICMON", {1226}},        {"IDC_STATICSTESTSTAT", {1227}},
      {"IDC_STATICPARTPROG", {906}},       {"IDC_STATICBWRESULTS", {1228}},  {"IDC_STATICBWTIME", {907}},
      {"IDC_STATICTIMTOTGT", {909}},       {"IDC_STATICBWRES", {910}},       {"IDC_BTN_BASELINE", {kRetrieveBaselineId}},
      {"IDC_BTN_LAST", {kRetrieveLastId}}, {"IDC_BUTTON_LOAD", {kLoadId}},   {"IDC_BUTTON_SAVE", {kSaveId}},
      {"IDC_BTN_START", {kStartId}},       {"IDC_BTN_STOP", {kStopId}},      {"IDC_BTN_PRINT", {kPrintId}},
      {"VeskSEC", {934, 928, 927, 931, 932}},
      {"IDC_CHECKBASELINE", {kBaselineBoxId}}, {"IDC_BUTTON_APPLY", {kApplyId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  for (const ChannelBox& b : kChannelBoxes) m_captions.push_back({b.key, {b.box}});
  const std::vector<KeyedControls> toolTips = {
      {"VeskSTART_TIP", {kStartPosId}},
      {"VeskSTOP_TIP", {kStopPosId}},
      {"IDC_CEDIT_PST_HOLDTIP", {kHoldId}},
      {"IDC_CEDIT_DURATIONTIP", {kRampId}},
      {"IDC_CEDIT_TARGETTIP", {kTimeLimitId}},
      {"IDC_CHECK_POSITIONTIP", {kPositionBoxId}},
      {"IDC_CHECK_DIGITAL_COMMANDTIP", {kCommandBoxId}},
      {"IDC_CHECK_SPOOLCMDTIP", {kPilotCommandBoxId}},
      {"IDC_CHECK_SPOOLPOSTIP", {kPilotPositionBoxId}},
      {"IDC_CHECKBASELINETIP", {kBaselineBoxId}},
      {"IDC_EDIT_MONITOR_STATUSTIP", {kStatusId}},
      {"IDC_PROGRESS_PARTTIP", {kProgressId}},
      {"IDC_EDIT_BREAKTIMETIP", {kBreakawayId}},
      {"IDC_EDIT_BREAKPRESSURETIP", {1230}},
      {"IDC_EDIT_TARGETTIMETIP", {kTimeToTargetId}},
      {"IDC_EDIT_RESULTTIP", {kResultId}},
      {"IDC_RADIOENABLETIP", {1608}},
      {"IDC_RADIODISABLETIP", {1609}},
      {"IDC_BUTTON_APPLYTIP", {kApplyId}},
      {"IDC_BTN_BASELINETIP", {kRetrieveBaselineId}},
      {"IDC_BTN_LASTTIP", {kRetrieveLastId}},
      {"IDC_BTN_PARTLOADTIP", {kLoadId}},
      {"IDC_BTN_PARTSAVETIP", {kSaveId}},
      {"IDC_BTN_TESTSTARTTIP", {kStartId}},
      {"IDC_BTN_PARTSTOPTIP", {kStopId}},
      {"VeskPrintReportPSTTip", {kPrintId}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  MapCommand(BN_CLICKED, kRetrieveLastId, &View::OnRetrieveLast);
  MapCommand(BN_CLICKED, kApplyId, &View::OnApply);
  MapCommand(BN_CLICKED, kLoadId, &View::OnLoad);
  MapCommand(BN_CLICKED, kSaveId, &View::SaveResults);
  MapCommand(BN_CLICKED, kPrintId, &View::OnPrintReport);
  for (const ChannelBox& b : kChannelBoxes)
    MapCommand(BN_CLICKED, static_cast<UINT>(b.box), [this, b] {
      Try("channel box",
          [this, b] { theApp().m_CommonFunctions.ShowChannel2(m_pTimePlot, b.channel, IsChecked(b.box)); });
    });

  // The device's record replaces an opened file: saved, it carries the
  // device's tag, not the file's.
  m_requests.push_back({kLastRequest, kBaselineStep, [this] { BeginRetrieval(kLastCommand); }, false});

  CWexletCoreCommunication& comm = theApp().m_comm;
  ReplaceStep({kResultStep, "RESULT", {}, [this, &comm] { m_bResultsAnswered = comm.ReadPstResult(); },
               [this, &comm] {
                 // Without a reply the fields hold an earlier test's results:
                 // read again, and show none rather than those.
                 if (!m_bResultsAnswered && ++m_nResultMisses < CBlockDownload::kMostMisses) {
                   m_nStep = kResultStep;
                   return;
                 }
                 m_nResultMisses = 0;
                 if (m_bResultsAnswered) {
                   ShowResults(comm.m_dVar285, comm.m_dVar287, comm.m_byPstResultCode);
                 } else {
                   for (int id : {kBreakawayId, kTimeToTargetId, kResultId}) SetDlgItemText(id, "");
                 }
                 m_prgProgress.SetPos(0);
                 m_bTestRunning = false;
                 // In a sequence the run just made is drawn before the
                 // hand-back: it is complete, and saved or printed, only
                 // once drawn whole. Stop meanwhile stops its download.
                 if (RunningSequence() && m_bResultsAnswered) {
                   SetStatus("VeskPSTAcquiringDataPoint");
                   KeepWholeRecord(false);
                   EnableActionButtons(FALSE);
                   m_bRunRecord = true;
                   m_nRequest = kLastRequest;
                   return;
                 }
                 SetStatus(m_bResultsAnswered ? "VeskTEST_COMPLETE" : "TESTDATA_INCOMPLETE");
                 // Without its results the run is nothing to save or print.
                 KeepWholeRecord(m_bResultsAnswered);
                 EnableActionButtons(TRUE);
                 if (RunningSequence())
                   FinishRun("TESTDATA_INCOMPLETE");
                 else
                   SetIdlePace();
               },
               kIdleStep});
}

// ---- The page's controls.

void View::CreateControls() {
  CRecordedTestPage::CreateControls();
  for (const ChannelBox& b : kChannelBoxes) CheckDlgButton(b.box, BST_CHECKED);
  Try("plot captions", [this] { SetPlotCaptions(); });
}

void View::CreatePlot() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pTimePlot = common.CreatePlot(this, &m_wndPlotHost, PlaceholderRect(m_wndPlotPlace), kPlotId);
  Try("plot", [this, &common] {
    common.SetupPSTPlot(m_pTimePlot);
    common.SetupPSTChannels(m_pTimePlot);
    ComCheck(m_pTimePlot->ClearAllData());
  });
}

_com_ptr_t<IPlotChannelBase> View::TimeChannel(const char* name) {
  return theApp().m_CommonFunctions.GetPlotChannelByName(m_pTimePlot, name).GetInterfacePtr();
}

void View::SetPlotCaptions() {
  ComCheck(m_pTimePlot->SetTitle(Text("PARTTEST")));
  ComCheck(PlotAxis(true, "RampX")->SetTitle(Text("PARTXAXIS")));
  ComCheck(PlotAxis(false, "RampPerc")->SetTitle(Text("PSTPRESSYAXIS")));
  CCommonFunctions& common = theApp().m_CommonFunctions;
  for (const ChannelBox& b : kChannelBoxes)
    ComCheck(common.GetPlotChannelByName(m_pTimePlot, b.channel)->SetTitle(Text(b.key)));
  plothints::Translate(m_pTimePlot);
}

void View::ShowChannels(bool all) {
  Try("ShowChannels", [this, all] {
    for (const ChannelBox& b : kChannelBoxes)
      theApp().m_CommonFunctions.ShowChannel2(m_pTimePlot, b.channel, all || IsChecked(b.box));
  });
}

void View::FitAxes() {
  Try("FitAxes", [this] {
    ComCheck(PlotAxis(true, "RampX")->ZoomToFit());
    ComCheck(PlotAxis(false, "RampPerc")->ZoomToFit());
  });
}

void View::EnableActionButtons(BOOL enable) {
  CRecordedTestPage::EnableActionButtons(enable);
  GetDlgItem(kRetrieveLastId)->EnableWindow(enable);
  // A set-up with a position of 500 % or a text that is no number never
  // goes to the device.
  GetDlgItem(kApplyId)->EnableWindow(enable && IsStartAllowed());
}

void View::OnSettingChanged(size_t index) {
  CRecordedTestPage::OnSettingChanged(index);
  if (!m_bRetrievingBaseline && HoldsNoButtons()) GetDlgItem(kApplyId)->EnableWindow(IsStartAllowed());
}

// ---- Buttons.

void View::OnApply() {
  // The device takes a set-up write as a start of nothing: a test running
  // would stop.
  CheckEveryField();
  if (!IsStartAllowed()) return;
  GetDlgItem(kApplyId)->EnableWindow(FALSE);
  // Answered or not, what the device held before is known no more.
  theApp().m_testEngine.SetupChanged(m_kind.multiTestIndex);
  Try("OnApply", [this] { WriteSetup(kKeepState); });
  GetDlgItem(kApplyId)->EnableWindow(TRUE);
}

// ---- The run's pieces.

bool View::WriteSetup(BYTE state) {
  CWexletCoreCommunication& comm = theApp().m_comm;
  // A run writes the set-up it was started with; Apply what the edits hold.
  auto value = [this, state](int id) { return state == kKeepState ? EditValue(id) : SetupValue(id); };
  comm.m_byTestState = state;
  comm.m_dVar142 = value(kStartPosId);
  comm.m_dVar143 = value(kStopPosId);
  comm.m_dVar145 = value(kHoldId);
  comm.m_dVar149 = value(kRampId);
  comm.m_dVar289 = value(kTimeLimitId);
  return comm.WritePstSetup();
}

bool View::ReadDeviceSetup() { return theApp().m_comm.ReadPstSetup(); }

void View::ShowReadTestSetup() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  ShowSettings(comm.m_dVar142, comm.m_dVar143, comm.m_dVar145, comm.m_dVar149, comm.m_dVar289);
}

// The multi-test page has put its settings into the device image.
void View::ShowDeviceTestSetup() { ShowReadTestSetup(); }

void View::OnRunStarting() {
  for (int id : {kBreakawayId, kTimeToTargetId, kResultId}) SetDlgItemText(id, "");
}

bool View::WriteRetrievalCommand(BYTE command) {
  CWexletCoreCommunication& comm = theApp().m_comm;
  const bool answered = comm.WriteTestCommand(command);
  if (command == kBaselineCommand) comm.WriteTestVar147();
  return answered;
}

void View::ShowRecord() {
  const TestResultRecord& r = theApp().m_comm.m_TestResult;
  ShowSettings(r.adSetup[0], r.adSetup[1], r.adSetup[2], r.adSetup[3], r.dSetup4);
  ShowResults(r.dResultA, r.dResultC, r.byResultCode);
}

void View::ShowSettings(double start, double stop, double hold, double ramp, double limit) {
  const std::pair<int, double> fields[] = {
      {kStartPosId, start}, {kStopPosId, stop}, {kHoldId, hold}, {kRampId, ramp}, {kTimeLimitId, limit}};
  for (const auto& [id, value] : fields) SetDlgItemText(id, plat::FormatNumber("%.1f", value).c_str());
}

void View::ShowResults(double breakaway, double timeToTarget, BYTE code) {
  SetDlgItemText(kBreakawayId, CCommonFunctions::PSTTimeText(breakaway, "%5.2f").c_str());
  SetDlgItemText(kTimeToTargetId, CCommonFunctions::PSTTimeText(timeToTarget, "%5.2f").c_str());
  SetDlgItemText(kResultId, CCommonFunctions::PSTResultText(code).str().c_str());
  m_byShownResultCode = code;
}

void View::PrepareTimeAxis() {
  // The record's own times: a baseline made with other times than the
  // device's set-up of now is drawn on its own time scale.
  const auto& setup = theApp().m_comm.m_TestResult.adSetup;
  const double durationMs = (setup[3] + setup[2] + 1.0) * 1000.0;
  m_dTimeStep = durationMs / kSamples;
  SetAxisRange(true, "RampX", 0.0, durationMs);
  const double start = SetupValue(kStartPosId);
  const double stop = SetupValue(kStopPosId);
  const double low = stop <= start ? stop : start;
  SetAxisRange(false, "RampPerc", low, kTopPercent - low);
}

// ---- Files and report.

View::ShownFields View::GetShownFields() const {
  ShownFields shown;
  for (size_t i = 0; i < m_settings.size(); ++i) InOrder(shown.settings, i) = _bstr_t(SetupText(m_settings[i].edit));
  shown.breakaway = _bstr_t(GetDlgItemText(kBreakawayId));
  shown.timeToTarget = _bstr_t(GetDlgItemText(kTimeToTargetId));
  shown.result = _bstr_t(GetDlgItemText(kResultId));
  return shown;
}

void View::KeepFieldTexts() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  const ShownFields shown = GetShownFields();
  common.m_strPSTSettings = shown.settings;
  common.m_strPSTBreakawayTime = shown.breakaway;
  common.m_strPSTTimeToTarget = shown.timeToTarget;
  common.m_strPSTResult = shown.result;
}

void View::SaveResults() {
  if (HasNoRunToKeep()) return;
  CWexletCoreCommunication& comm = theApp().m_comm;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  KeepFieldTexts();
  // A missing time is kept as the device's mark for it.
  for (_bstr_t* time : {&common.m_strPSTBreakawayTime, &common.m_strPSTTimeToTarget})
    if (ShowsMissingTime(time->str())) *time = kMissingFileValue;
  // Opened data keeps the tag and the result of its file.
  if (!m_bFileLoaded) {
    Try("SaveResults tag", [&comm] { comm.ReadCommand(13); });
    common.m_strPSTTag = _bstr_t(comm.m_strTag);
  }
  common.m_nPSTResultCode = m_byShownResultCode;
  Try("SaveResults", [this, &common] { common.SavePSTFile(m_pTimePlot); });
}

void View::OnLoad() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  bool opened = false;
  Try("OnLoad", [&] { opened = common.OpenPSTFile(m_pTimePlot); });
  if (!opened) return;
  for (size_t i = 0; i < m_settings.size(); ++i)
    SetDlgItemText(m_settings[i].edit, InOrder(common.m_strPSTSettings, i).str().c_str());
  const std::pair<int, const _bstr_t*> times[] = {{kBreakawayId, &common.m_strPSTBreakawayTime},
                                                  {kTimeToTargetId, &common.m_strPSTTimeToTarget}};
  for (const auto& [id, text] : times) {
    const double seconds = plat::StrToD(text->str().c_str(), nullptr);
    SetDlgItemText(id, CCommonFunctions::PSTTimeText(seconds, "%.2f").c_str());
  }
  SetDlgItemText(kResultId, common.m_strPSTResult.str().c_str());
  m_byShownResultCode = common.m_nPSTResultCode;
  ShowOpenedFile();
}

void View::OnPrintReport() {
  if (HasNoRunToKeep()) return;
  CWexletCoreCommunication& comm = theApp().m_comm;
  CCommonFunctions& common = theApp().m_CommonFunctions;
  Try("OnPrintReport", [&comm] { comm.ReadConfiguration(); });
  KeepFieldTexts();
  WarnIfTagDiffers(common.m_strPSTTag);
  ShowChannels(true);
  common.GeneratePSTReport(m_pTimePlot, m_pReport, m_pPrinter,
                           _bstr_t(plat::ProgramPath("\\Dependencies\\PSTestRept.xml")), this);
  StartMonitoring();
  ShowChannels(false);
}
