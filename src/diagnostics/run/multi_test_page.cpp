#include "diagnostics/run/multi_test_page.h"

#include <algorithm>
#include <string>

#include "diagnostics/run/hdrl_test_page.h"
#include "diagnostics/run/partial_stroke_test_page.h"
#include "diagnostics/run/ramp_test_page.h"
#include "diagnostics/run/step_test_page.h"
#include "platform/sys/numeric.h"
#include "platform/com/com_error.h"
#include "platform/sys/paths.h"
#include "shell/app.h"
#include "shell/test_engine.h"
#include "shell/tree_view.h"
#include "support/language_table.h"

using View = CDiagnostics_OfflineView;

namespace {

constexpr StatusHeaderIds kHeader{1067, 1012, 1013, 1018, 1019};
constexpr UINT kTimerId = 56, kPeriodMs = 1000;
constexpr int kWatchStep = 0;
constexpr const char* kStartTipKey = "IDC_BTN_MULTITESTSTARTTIP";
constexpr int kReportPlace = 1402, kPrinterPlace = 1403;
constexpr double kMaxSeconds = 655.35;

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

// The thirteen settings in the order of their valid flags.
SettingField Position(int edit, int icon, const char* errorKey) { return {edit, icon, -10.0, 110.0, errorKey}; }
SettingField Seconds(int edit, int icon, const char* errorKey) { return {edit, icon, 0.0, kMaxSeconds, errorKey}; }
const std::vector<SettingField> kSettings = {
    Position(View::kRampStartId, 1102, "TT_STARTPOS_ERROR"),
    Position(View::kRampStopId, 1103, "TT_STOPPOS_ERROR"),
    Seconds(View::kRampHoldId, 1104, "TT_PST_HOLDTIME_ERROR"),
    Seconds(View::kRampTimeId, 1101, "TT_PST_RAMPTIME_ERROR"),
    Position(View::kStepStartId, 1105, "TT_STARTPOS_ERROR"),
    Position(View::kStepStopId, 1106, "TT_STOPPOS_ERROR"),
    Seconds(View::kStepHoldId, 1107, "TT_PST_HOLDTIME_ERROR"),
    Position(View::kPstStartId, 1109, "TT_STARTPOS_ERROR"),
    Position(View::kPstStopId, 1110, "TT_STOPPOS_ERROR"),
    Seconds(View::kPstTimeLimitId, 1111, "TT_TIMELIMIT_ERROR"),
    Seconds(View::kPstRampTimeId, 1112, "TT_PST_RAMPTIME_ERROR"),
    Seconds(View::kPstHoldId, 1113, "TT_PST_HOLDTIME_ERROR"),
    {View::kSettlingTimeId, 1108, CDiagnostics_HDRLView::kMinSettlingTime, kMaxSeconds, "TT_HDRL_POS_TIME_ERROR"},
};

// The test pages' items in the tree.

// The four tests in the order they run; the index is their done flag.
struct SequenceTest {
  int box;
  const char* startedKey;
  const char* heldKey;  // Start's tip while this test's page holds it
  int treeItem;
  std::vector<int> fields;  // enabled with the box
};
const SequenceTest kTests[] = {
    {View::kRampBoxId,
     "RAMPTEST_STARTED",
     "MULTITEST_HELD_RAMP",
     treeitem::kRampTest,
     {View::kRampStartId, View::kRampStopId, View::kRampHoldId, View::kRampTimeId, View::kBidirectionalBoxId}},
    {View::kStepBoxId,
     "STEPTEST_STARTED",
     "MULTITEST_HELD_STEP",
     treeitem::kStepTest,
     {View::kStepStartId, View::kStepStopId, View::kStepHoldId}},
    {View::kPstBoxId,
     "PST_STARTED",
     "MULTITEST_HELD_PST",
     treeitem::kPartialStrokeTest,
     {View::kPstStartId, View::kPstStopId, View::kPstTimeLimitId, View::kPstRampTimeId, View::kPstHoldId}},
    {View::kHdrlBoxId, "HDRLTEST_STARTED", "MULTITEST_HELD_HDRL", treeitem::kHdrlTest, {View::kSettlingTimeId}},
};

// Left column: a group per test with its box; the fields in rows beside it,
// their captions wide enough for "Settling Time:" written out in every
// language.
constexpr int kGroupX = 16, kGroupW = 320, kLabelX = 132, kLabelW = 96, kEditX = kLabelX + kLabelW + 4, kRowH = 14;
constexpr int kStatusX = kGroupX + kGroupW + 12;

void AddGroup(std::vector<DialogItem>& items, int group, const char* title, int box, const char* boxText, int y,
              int rows) {
  items.push_back({group, DlgKind::GroupBox, title, kGroupX, y, kGroupW, 16 + rows * kRowH});
  items.push_back({box, DlgKind::CheckBox, boxText, kGroupX + 8, y + 12, 106, 10});
}
void AddField(std::vector<DialogItem>& items, int label, const char* text, int edit, const char* unit, int icon, int y) {
  items.push_back({label, DlgKind::Static, text, kLabelX, y + 2, kLabelW, 9});
  items.push_back({edit, DlgKind::Edit, "", kEditX, y, 48, 12, DS_CENTER | DS_DISABLED});
  items.push_back({-1, DlgKind::Static, unit, kEditX + 52, y + 2, 16, 9});
  items.push_back({icon, DlgKind::Picture, "", kEditX + 72, y - 1, 14, 14, DS_ICON});
}

std::vector<DialogItem> Items() {
  using K = DlgKind;
  std::vector<DialogItem> items = {{-1, K::GroupBox, "Sequencer", 8, 28, 584, 296}};
  int y = 40;
  AddGroup(items, 1479, "Ramp Test", View::kRampBoxId, "Run Ramp Test", y, 4);
  AddField(items, 1466, "Start Position:", View::kRampStartId, "%", 1102, y + 12);
  AddField(items, 1467, "Stop Position:", View::kRampStopId, "%", 1103, y + 12 + kRowH);
  AddField(items, 1468, "Hold Time:", View::kRampHoldId, "sec", 1104, y + 12 + 2 * kRowH);
  AddField(items, 1469, "Ramp Time:", View::kRampTimeId, "sec", 1101, y + 12 + 3 * kRowH);
  items.push_back({View::kBidirectionalBoxId, K::CheckBox, "", kGroupX + 8, y + 28, 10, 10, DS_DISABLED});
  items.push_back({1465, K::Static, "Bi-Directional", kGroupX + 20, y + 29, 80, 9});
  y += 16 + 4 * kRowH + 4;
  AddGroup(items, 1480, "Step Test", View::kStepBoxId, "Run Step Test", y, 3);
  AddField(items, 1470, "Start Position:", View::kStepStartId, "%", 1105, y + 12);
  AddField(items, 1471, "Stop Position:", View::kStepStopId, "%", 1106, y + 12 + kRowH);
  AddField(items, 1472, "Hold Time:", View::kStepHoldId, "sec", 1107, y + 12 + 2 * kRowH);
  y += 16 + 3 * kRowH + 4;
  AddGroup(items, 1481, "Partial Stroke Test", View::kPstBoxId, "Run Partial Stroke Test", y, 5);
  AddField(items, 1473, "Start Position:", View::kPstStartId, "%", 1109, y + 12);
  AddField(items, 1474, "Stop Position:", View::kPstStopId, "%", 1110, y + 12 + kRowH);
  AddField(items, 1475, "Time Limit:", View::kPstTimeLimitId, "sec", 1111, y + 12 + 2 * kRowH);
  AddField(items, 1476, "Ramp Time:", View::kPstRampTimeId, "sec", 1112, y + 12 + 3 * kRowH);
  AddField(items, 1477, "Hold Time:", View::kPstHoldId, "sec", 1113, y + 12 + 4 * kRowH);
  y += 16 + 5 * kRowH + 4;
  AddGroup(items, 1482, "HDRL", View::kHdrlBoxId, "Run HDRL", y, 1);
  AddField(items, 1478, "Settling Time:", View::kSettlingTimeId, "sec", 1108, y + 12);
  const std::vector<DialogItem> rest = {
      {1483, K::Static, "Test Status", kStatusX, 40, 120, 9},
      {View::kStatusListId, K::ListBox, "", kStatusX, 52, 584 - kStatusX, 264},
      {kReportPlace, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {kPrinterPlace, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN},
      {View::kStartId, K::PushButton, "Start", 8, 330, 108, 16, DS_DISABLED | DS_GROUP},
      {View::kStopId, K::PushButton, "Stop", 127, 330, 108, 16, DS_DISABLED},
      {View::kSaveAllId, K::PushButton, "SAVE", 246, 330, 108, 16, DS_HIDDEN},
      {View::kPrintId, K::PushButton, "Print Report", 484, 330, 108, 16},
  };
  items.insert(items.end(), rest.begin(), rest.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(1090, kHeader, Items()));

const std::vector<KeyedControls> kCaptions = {
    {"IDD_DIAGNOSTIC_RAMP_TEST", {1479}},
    {"IDC_STATICSTARTPOS", {1466, 1470, 1473}},
    {"IDC_STATICSTOPPOS", {1467, 1471, 1474}},
    {"IDC_STATICHOLDTIME", {1468, 1472, 1477}},
    {"IDC_STATICTESTDUR", {1469, 1476}},
    {"IDC_CHECKBIDIR", {1465}},
    {"IDD_DIAGNOSTIC_STEP_TEST", {1480}},
    {"PARTTEST", {1481}},
    {"IDC_STATICBKWTIMLIM", {1475}},
    {"IDD_DIAGNOSTIC_HDRL", {1482}},
    {"IDC_STATICPOSSETMAIN", {1478}},
    {"IDC_STATICSTESTSTAT", {1483}},
    {"RUN_RAMP_TEST", {View::kRampBoxId}},
    {"RUN_STEP_TEST", {View::kStepBoxId}},
    {"RUN_PST_TEST", {View::kPstBoxId}},
    {"RUN_HDRL_TEST", {View::kHdrlBoxId}},
    {"IDC_BTN_START", {View::kStartId}},
    {"IDC_BTN_STOP", {View::kStopId}},
    {"IDC_BTN_PRINT", {View::kPrintId}},
};

const std::vector<KeyedControls> kToolTips = {
    {"VeskSTART_TIP", {View::kRampStartId, View::kStepStartId, View::kPstStartId}},
    {"VeskSTOP_TIP", {View::kRampStopId, View::kStepStopId, View::kPstStopId}},
    {"IDC_CEDIT_RAMP_HOLDTIP", {View::kRampHoldId}},
    {"IDC_EDIT_DURATIONTIP", {View::kRampTimeId}},
    {"IDC_CHECKBIDIRTIP_Qel", {View::kBidirectionalBoxId}},
    {"IDC_CEDIT_STEP_HOLDTIP", {View::kStepHoldId, View::kPstHoldId}},
    {"IDC_CEDIT_DURATIONTIP", {View::kPstRampTimeId}},
    {"IDC_CEDIT_TARGETTIP", {View::kPstTimeLimitId}},
    {"IDC_STATICPOSSETTIP", {View::kSettlingTimeId}},
    {"TT_DIAGNO_BTN_CHECKMAINRAMP", {View::kRampBoxId}},
    {"TT_DIAGNO_BTN_CHECKMAINSTEP", {View::kStepBoxId}},
    {"TT_DIAGNO_BTN_CHECKMAINPST", {View::kPstBoxId}},
    {"TT_DIAGNO_BTN_CHECKMAINHDRL", {View::kHdrlBoxId}},
    {kStartTipKey, {View::kStartId}},
    {"IDC_BTN_MULTITESTSTOPTIP", {View::kStopId}},
    {"VeskPrintReportMULTITESTTip", {View::kPrintId}},
};

template <typename Page>
Page* PageAt(CTarnixPage* page) {
  return dynamic_cast<Page*>(page);
}

}  // namespace

View::CDiagnostics_OfflineView() : CDiagnosticTestPage(1090, "MAINOFFLINEDIAGMENU", kTimerId, kPeriodMs, kHeader) {
  m_nStartRequest = 0;
  // A test page's hold clears while this page is shown: Start comes back
  // without a click. Nothing here talks to the device.
  m_nStartStep = kWatchStep;
  m_steps = {{kWatchStep, "START", {}, {}, [this] { UpdateStartButton(); }, kWatchStep}};
  SetSettingFields(kSettings);
  m_captions = pages::HeaderCaptions(kHeader);
  m_captions.insert(m_captions.end(), kCaptions.begin(), kCaptions.end());
  m_toolTips = pages::HeaderToolTips(kHeader);
  m_toolTips.insert(m_toolTips.end(), kToolTips.begin(), kToolTips.end());

  MapCommand(BN_CLICKED, kStartId, &View::OnStart);
  MapCommand(BN_CLICKED, kStopId, &View::OnStop);
  MapCommand(BN_CLICKED, kSaveAllId, &View::OnSaveAll);
  MapCommand(BN_CLICKED, kPrintId, &View::OnPrintReport);
  for (const SequenceTest& test : kTests) MapCommand(BN_CLICKED, test.box, [this, box = test.box] { OnCheckBox(box); });
}

void View::DoDataExchange(CDataExchange* pDX) {
  CDiagnosticTestPage::DoDataExchange(pDX);
  DDX_Control(pDX, kStatusListId, m_lbStatus);
}

void View::CreateControls() {
  CreateReportControls(kReportPlace, kPrinterPlace);
  SetDlgItemText(kSettlingTimeId, "6");
  UpdateStartButton();
}

void View::AddStatusLine(const _bstr_t& text) {
  m_lbStatus.AddString(text.str().c_str());
  m_lbStatus.SetTopIndex(std::max(0, m_lbStatus.GetCount() - 1));
}

void View::TestHandedBack() {
  // A page hidden when it hands back (a stop confirmed on its timer) may
  // find this page's item selected: selected again, it would not show
  // anew, and the sequence would wait for good.
  if (CTarnixWexletView::IsItemSelected(treeitem::kMultiTest))
    OnStart();
  else
    CTarnixWexletView::SelectItemByCode(treeitem::kMultiTest);
}

std::vector<std::string> View::StatusLines() const {
  std::vector<std::string> lines;
  for (int i = 0; i < m_lbStatus.GetCount(); ++i) lines.push_back(m_lbStatus.GetText(i));
  return lines;
}

// ---- Shown.

void View::OnShown() {
  if (m_bSequenceActive) {
    OnStart();
    return;
  }
  m_lbStatus.ResetContent();
  CTarnixWexletApp& app = theApp();
  app.m_pRampTestView = CTarnixWexletView::PageByCode(treeitem::kRampTest);
  app.m_pStepTestView = CTarnixWexletView::PageByCode(treeitem::kStepTest);
  app.m_pHDRLView = CTarnixWexletView::PageByCode(treeitem::kHdrlTest);
  app.m_pPSTView = CTarnixWexletView::PageByCode(treeitem::kPartialStrokeTest);
  ResetInputIcons();
  RefreshFromDevice();
  // An empty field holds no setting, whatever its flag says from before.
  for (size_t i = 0; i < m_settings.size(); ++i)
    if (GetDlgItemText(m_settings[i].edit).empty()) CheckSettingField(i);
  UpdateStartButton();
}

void View::RefreshFromDevice() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  // Without both replies the edits keep what they show: the image may hold
  // the other test's set-up, or zeros that no device sent.
  auto show = [this](int edit, double value) { SetDlgItemText(edit, plat::FormatNumber("%3.1f", value).c_str()); };
  Try("test setup", [&] {
    const bool selected = comm.WriteTestCommand(5);
    theApp().m_testEngine.Selected(CTestEngine::kSequence, 5, selected);
    if (!comm.ReadTestSetup()) return;
    // The sequence's first test starts only on an engine seen idle.
    theApp().m_testEngine.StateRead(comm.m_byTestState);
    if (!selected) return;
    show(kRampStartId, comm.m_dVar142);
    show(kRampStopId, comm.m_dVar143);
    show(kRampHoldId, comm.m_dVar145);
    show(kRampTimeId, comm.m_dVar149);
    show(kStepStartId, comm.m_dVar142);
    show(kStepStopId, comm.m_dVar143);
    show(kStepHoldId, comm.m_dVar145);
  });
  Try("partial stroke setup", [&] {
    const bool selected = comm.WriteTestCommand(4);
    theApp().m_testEngine.Selected(CTestEngine::kSequence, 4, selected);
    if (!comm.ReadPstSetup()) return;
    theApp().m_testEngine.StateRead(comm.m_byTestState);
    if (!selected) return;
    show(kPstStartId, comm.m_dVar142);
    show(kPstStopId, comm.m_dVar143);
    show(kPstHoldId, comm.m_dVar145);
    show(kPstTimeLimitId, comm.m_dVar289);
    show(kPstRampTimeId, comm.m_dVar149);
  });
}

// ---- Settings.

void View::OnCheckBox(int box) {
  UpdateStartButton();
  const BOOL enable = IsChecked(box);
  for (const SequenceTest& test : kTests)
    if (test.box == box)
      for (int id : test.fields) GetDlgItem(id)->EnableWindow(enable);
}

void View::OnSettingChanged(size_t index) {
  CheckSettingField(index);
  UpdateStartButton();
}

void View::UpdateStartButton() {
  const bool ticked = std::any_of(std::begin(kTests), std::end(kTests), [this](const SequenceTest& t) { return IsChecked(t.box); });
  const int holder = m_bSequenceActive ? CTestEngine::kNobody : TestPageHoldingStart();
  CWnd* start = GetDlgItem(kStartId);
  start->EnableWindow(!m_bSequenceActive && ticked && AllSettingsValid() && holder == CTestEngine::kNobody);
  // Greyed without a word, Start would leave the user guessing.
  const char* tip = holder == CTestEngine::kNobody ? kStartTipKey : kTests[static_cast<size_t>(holder)].heldKey;
  const std::string text = Text(tip).str();
  if (m_ToolTip.GetToolText(start) != text) m_ToolTip.AddTool(start, text.c_str());
}

int View::TestPageHoldingStart() {
  // A sequence's hand-over would drop that page's run, its record unread,
  // or start over a run whose stop the device has not yet confirmed.
  const CTarnixWexletApp& app = theApp();
  if (const int open = app.m_testEngine.OpenPage(); open != CTestEngine::kNobody) return open;
  const CTarnixPage* recording[] = {app.m_pRampTestView, app.m_pStepTestView, app.m_pPSTView};
  for (size_t i = 0; i < std::size(recording); ++i)
    if (const auto* test = dynamic_cast<const CRecordedTestPage*>(recording[i]); test && test->IsTestRunning())
      return static_cast<int>(i);
  const auto* hdrl = dynamic_cast<const CDiagnostics_HDRLView*>(app.m_pHDRLView);
  return hdrl && hdrl->IsRunning() ? CTestEngine::kHdrl : CTestEngine::kNobody;
}

void View::EnableSequenceButtons(bool running) {
  GetDlgItem(kStopId)->EnableWindow(running);
  GetDlgItem(kSaveAllId)->EnableWindow(!running);
  GetDlgItem(kPrintId)->EnableWindow(!running);
  UpdateStartButton();
}

// ---- The sequence.

void View::OnStart() {
  if (!m_bSequenceActive) {
    if (TestPageHoldingStart() != CTestEngine::kNobody) return;
    m_lbStatus.ResetContent();
    if (!AskToMoveValve()) return;
  }
  m_bMultiTestRunning = m_bSequenceActive = true;
  EnableSequenceButtons(true);
  // The device has not confirmed a test's stop: nothing goes on until its
  // page has.
  if (m_nUnconfirmedStop >= 0) return;
  // A test under way is not started again: its page is shown.
  if (m_nTestUnderWay >= 0) {
    CTarnixWexletView::SelectItemByCode(kTests[static_cast<size_t>(m_nTestUnderWay)].treeItem);
    return;
  }
  for (size_t i = 0; i < std::size(kTests); ++i) {
    if (!IsChecked(kTests[i].box) || m_abTestDone[i]) continue;
    // The test before it in the order is done, run or not.
    if (i > 0) m_abTestDone[i - 1] = true;
    m_abTestRecorded[i] = false;
    AddStatusLine(Text(kTests[i].startedKey));
    HandOver(i);
    m_nHandedOverTest = static_cast<int>(i);
    CTarnixWexletView::SelectItemByCode(kTests[i].treeItem);
    return;
  }
  EndSequence();
}

void View::HandOver(size_t test) {
  CTarnixWexletApp& app = theApp();
  CWexletCoreCommunication& comm = app.m_comm;
  auto value = [this](int edit) { return CCommonFunctions::ReadEditDouble(*this, edit); };
  switch (test) {
    case 0:
      comm.m_dVar142 = value(kRampStartId);
      comm.m_dVar143 = value(kRampStopId);
      comm.m_dVar149 = value(kRampTimeId);
      comm.m_dVar145 = value(kRampHoldId);
      app.m_bMultiTestBidirectional = IsChecked(kBidirectionalBoxId);
      break;
    case 1:  // the ramp time stays as it is
      comm.m_dVar142 = value(kStepStartId);
      comm.m_dVar143 = value(kStepStopId);
      comm.m_dVar145 = value(kStepHoldId);
      break;
    case 2:
      comm.m_dVar142 = value(kPstStartId);
      comm.m_dVar143 = value(kPstStopId);
      comm.m_dVar149 = value(kPstRampTimeId);
      comm.m_dVar289 = value(kPstTimeLimitId);
      comm.m_dVar145 = value(kPstHoldId);
      break;
    default:
      // The HDRL page checks the text itself when it changes.
      if (auto* hdrl = PageAt<CDiagnostics_HDRLView>(app.m_pHDRLView)) {
        hdrl->SendInitialUpdate();
        hdrl->SetSettlingTimeText(GetDlgItemText(kSettlingTimeId));
      }
      break;
  }
}

void View::EndSequence() {
  m_abTestDone[3] = true;
  m_bMultiTestRunning = m_bSequenceActive = false;
  m_nHandedOverTest = m_nUnconfirmedStop = m_nTestUnderWay = -1;
  AddStatusLine(Text("MULTITEST_FINISHED"));
  // The header still shows the last test's mode (an HDRL run drives the
  // valve in digital mode); the device has been given its own back.
  Try("status", [this] { PollStatusArea(); });
  // Asked with nothing to save, OK would do nothing.
  bool anyDue = false;
  for (size_t test = 0; test < std::size(kTests); ++test) anyDue = anyDue || SaveDue(test);
  if (!anyDue) {
    AddStatusLine(Text("MULTITEST_NOTHING_TO_SAVE"));
    ForgetTests();
  } else {
    const std::string caption = theApp().m_strProductTitle.str() + "-DAIGMAIN MULTI TESTS";
    if (MessageBox(Text("SAVE_MULTITESTS").str().c_str(), caption.c_str(), MB_OKCANCEL) == IDOK)
      OnSaveAll();
    else
      ForgetTests();
  }
  EnableSequenceButtons(false);
}

void View::OnStop() {
  m_bMultiTestRunning = m_bSequenceActive = false;
  m_nHandedOverTest = m_nUnconfirmedStop = m_nTestUnderWay = -1;
  AddStatusLine("Multi tests stopped");
  // No click notification: the edits keep their enabled state.
  for (int box : {kRampBoxId, kStepBoxId, kPstBoxId, kHdrlBoxId, kBidirectionalBoxId}) CheckDlgButton(box, BST_UNCHECKED);
  // The done flags stay: a later Start skips what this sequence ran.
  EnableSequenceButtons(false);
}

void View::OnSaveAll() {
  if (!m_bSequenceActive) {
    // Each page shows its own save dialog and its own failure message; one
    // that fails leaves the others to be saved, and its data on its page.
    CTarnixWexletApp& app = theApp();
    if (auto* ramp = PageAt<CDiagnostics_RampTestView>(app.m_pRampTestView); ramp && SaveDue(0))
      Try("save ramp test", [ramp] { ramp->OnSave(); });
    if (auto* step = PageAt<CDiagnostics_StepTestView>(app.m_pStepTestView); step && SaveDue(1))
      Try("save step test", [step] { step->OnSave(); });
    if (auto* pst = PageAt<CDiagnostics_PSTView>(app.m_pPSTView); pst && SaveDue(2))
      Try("save partial stroke test", [pst] { pst->SaveResults(); });
    if (auto* hdrl = PageAt<CDiagnostics_HDRLView>(app.m_pHDRLView); hdrl && SaveDue(3))
      Try("save HDRL test", [hdrl] { hdrl->SaveResults(); });
  }
  ForgetTests();
}

bool View::SaveDue(size_t test) const {
  // A test stopped, not started or broken off has no record of its own.
  return IsChecked(kTests[test].box) && m_abTestDone[test] && m_abTestRecorded[test];
}

void View::ForgetTests() {
  m_abTestDone.fill(false);
  m_abTestRecorded.fill(false);
}

void View::OnPrintReport() {
  CTarnixWexletApp& app = theApp();
  CCommonFunctions& common = app.m_CommonFunctions;
  Try("identification", [&app] { app.m_comm.ReadConfiguration(); });
  const _bstr_t na("NA");
  common.m_strRampSettings = {na, na, na, na};
  common.m_strStepSettings = {na, na, na};
  PSTSettingTexts& pst = common.m_strPSTSettings;
  for (_bstr_t* text : {&pst.start, &pst.stop, &pst.rampTime, &pst.timeLimit}) *text = na;
  common.m_strPSTBreakawayTime = common.m_strPSTTimeToTarget = common.m_strPSTResult = na;
  common.m_strHDRLResults = {na, na, na, na, na};
  common.m_strHDRLSettlingTime = na;

  // A test that is not ticked gives the report an empty graph from a plot of
  // its own: the page's plot, and the test on it, are left as they are.
  auto shown = [this](int box, CTarnixPage* view) -> CTarnixPage* {
    if (!IsChecked(box) || !view) return nullptr;
    if (!view->IsInitialized()) view->SendInitialUpdate();
    return view;
  };
  auto scratch = [](const char* progId) {
    IUnknownPtr unknown;
    ComCheck(unknown.CreateInstance(progId));
    return unknown;
  };
  Try("OnPrintReport", [&] {
    IiXYPlotXPtr rampPlot, stepPlot, hdrlPlot;
    IiPlotXPtr pstPlot;
    if (auto* ramp = PageAt<CDiagnostics_RampTestView>(shown(kRampBoxId, app.m_pRampTestView))) {
      const CDiagnostics_RampTestView::ShownSettings shown = ramp->GetShownSettings();
      common.m_strRampSettings = shown.settings;
      // The direction is the sequence's, not the page's.
      common.m_bRampBidirectional = IsChecked(kBidirectionalBoxId) ? 1 : 0;
      common.m_strRampStrokeLength = shown.strokeLength;
      common.m_strRampStrokeUnit = shown.strokeUnit;
      common.m_strRampActuatorSize = shown.actuatorSize;
      const std::string area = shown.areaUnit.str();
      if (area == "in\u00B2") common.m_strRampAreaUnit = "sq.in";
      if (area == "cm\u00B2") common.m_strRampAreaUnit = "sq.cm";
      ramp->OnViewRampTest();
      rampPlot = ramp->GetPlot();
    } else {
      rampPlot = IiXYPlotXPtr(scratch("iPlotLibrary.iXYPlotX"));
      common.SetupRampPlot(rampPlot);
      common.SetupRampTestChannels(rampPlot);
    }
    if (auto* step = PageAt<CDiagnostics_StepTestView>(shown(kStepBoxId, app.m_pStepTestView))) {
      common.m_strStepSettings = step->GetShownSettings();
      stepPlot = step->GetPlot();
    } else {
      stepPlot = IiXYPlotXPtr(scratch("iPlotLibrary.iXYPlotX"));
      common.SetupStepPlot(stepPlot);
      common.SetupStepChannels(stepPlot);
    }
    if (auto* pst = PageAt<CDiagnostics_PSTView>(shown(kPstBoxId, app.m_pPSTView))) {
      const CDiagnostics_PSTView::ShownFields shown = pst->GetShownFields();
      common.m_strPSTSettings = shown.settings;
      common.m_strPSTBreakawayTime = shown.breakaway;
      common.m_strPSTTimeToTarget = shown.timeToTarget;
      common.m_strPSTResult = shown.result;
      pstPlot = pst->GetPlot();
    } else {
      pstPlot = IiPlotXPtr(scratch("iPlotLibrary.iPlotX"));
      common.SetupPSTPlot(pstPlot);
      common.SetupPSTChannels(pstPlot);
    }
    if (auto* hdrl = PageAt<CDiagnostics_HDRLView>(shown(kHdrlBoxId, app.m_pHDRLView))) {
      const CDiagnostics_HDRLView::ShownResults shown = hdrl->GetShownResults();
      common.m_strHDRLResults = shown.results;
      common.m_strHDRLSettlingTime = shown.settlingTime;
      hdrlPlot = hdrl->GetPlot();
    } else {
      hdrlPlot = IiXYPlotXPtr(scratch("iPlotLibrary.iXYPlotX"));
      common.SetupHDRLPlots(hdrlPlot);
      common.SetupHDRLChannels(hdrlPlot);
    }
    common.GenerateMultiTestReport(stepPlot, pstPlot, hdrlPlot, rampPlot, m_pReport, m_pPrinter,
                                   _bstr_t(plat::ProgramPath("\\Dependencies\\AllTestReport.xml")), this);
  });
}
