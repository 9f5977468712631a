// The step test page against the simulated positioner on the manual
// clock: the device really runs the step and records the valve, the page
// drives it tick by tick, downloads and draws the record, and keeps it in
// files and reports. The recorded-test frame's own decisions (lost and
// out-of-turn replies, the multi-test hand-back) are checked here too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "app/page_table.h"
#include "diagnostics/run/multi_test_page.h"
#include "diagnostics/run/step_test_page.h"
#include "recorded_test_faults.h"
#include "test_page_fixture.h"
#include "platform/win/resources.h"
#include "support/report_probe.h"
#include "shell/tree_view.h"
#include "support/language_table.h"

namespace {

using testpages::Bytes;
using testpages::Read200;
using View = CDiagnostics_StepTestView;

const Bytes kEnterWrite = {201, 3, 0, 141, 5};
const Bytes kBaselineWrite = {201, 3, 0, 141, 0};
const Bytes kSetupRead = Read200({116, 150, 391, 410, 56, 142, 143, 145, 149, 144, 147});
const Bytes kStateRead = Read200({146, 144});
const Bytes kPointerWrite = {201, 3, 0, 147, 0};
const Bytes kAbortWrite = {201, 3, 0, 144, 0x22};
const Bytes kStatusPoll = {200, 4, 0, 8, 0, 42};
// 142 = 10.0 (41 20 00 00), 143 = 90.0 (42 B4 00 00), 145 = 5.0 (40 A0 00 00),
// 149 = 0.0, then the step test type 1 in 144.
const Bytes kSetupWrite = {201, 27, 0,    142, 0x41, 0x20, 0, 0, 0, 143, 0x42, 0xB4, 0, 0,
                           0,   145, 0x40, 0xA0, 0,    0,    0, 149, 0, 0, 0, 0, 0, 144, 0x01};

using testpages::StatusText;
using testpages::Text;

class StepTestPage : public testpages::DiagnosticPage<View, 20> {
 public:
  // At the start already: the step comes one second after the set-up.
  void ArrangeDevice() override {
    ModifyState([](sim::DeviceState& s) { s.valve.position = 10; });
  }

  void Settings(const char* start, const char* stop, const char* hold) {
    page->SetDlgItemText(View::kStartPosId, start);
    page->SetDlgItemText(View::kStopPosId, stop);
    page->SetDlgItemText(View::kHoldId, hold);
  }
  // Shown: 141 := 5, the set-up read, the first idle poll.
  void Show() {
    page->StartMonitoring();
    Tick(3);
    device->ClearRequests();
  }
  // Started and run until the record is read and drawn.
  void RunToEnd(const char* start = "10", const char* stop = "90", const char* hold = "5") {
    Settings(start, stop, hold);
    Start();
    Tick();
    ASSERT_TRUE(TickUntil(CRecordedTestPage::kBlockStep));
    ASSERT_TRUE(TickUntil(CRecordedTestPage::kIdleStep));
  }
  // Every point of the four time channels at i x step, in order.
  void ExpectWholeRecord(double step) {
    for (const char* channel : {"Command", "Position", "ILCmd", "ILPos"}) {
      const auto points = Points(channel);
      ASSERT_EQ(points.size(), 208u) << channel;
      for (size_t i = 0; i < points.size(); ++i) ASSERT_DOUBLE_EQ(points[i].first, i * step) << channel << " " << i;
    }
  }
  // The multi-test page in a sequence, and the tree it is selected in.
  CDiagnostics_OfflineView* RunSequence() {
    CDiagnostics_OfflineView* multi = HandOverFromSequence(1);
    // The sequence's settings in the device image.
    CTarnixWexletApp& app = theApp();
    app.m_comm.m_dVar142 = 10;
    app.m_comm.m_dVar143 = 90;
    app.m_comm.m_dVar145 = 5;
    device->ClearRequests();
    return multi;
  }
};

// ---- Showing the page.

TEST_F(StepTestPage, ShowingReadsTheDeviceSetUpIntoTheEditsThenPollsEveryTwentyIdleTicks) {
  device->SetVariable(142, 20);
  device->SetVariable(143, 60.5);
  device->SetVariable(145, 3);
  page->StartMonitoring();
  EXPECT_TRUE(page->HasTimer(52));
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kEnterWrite});
  Tick();
  EXPECT_EQ(device->Requests().back(), kSetupRead);
  EXPECT_EQ(Field(View::kStartPosId), "20.0");
  EXPECT_EQ(Field(View::kStopPosId), "60.5");
  EXPECT_EQ(Field(View::kHoldId), "3.0");
  for (int id : {View::kRetrieveId, View::kLoadId, View::kStartId}) EXPECT_TRUE(Enabled(id)) << id;
  // Nothing run or opened: nothing to save or print.
  for (int id : {View::kSaveId, View::kPrintId, View::kStopId}) EXPECT_FALSE(Enabled(id)) << id;
  // The first idle tick polls, then every twentieth.
  Tick();
  EXPECT_EQ(device->Requests().back(), kStatusPoll);
  device->ClearRequests();
  Tick(19);
  EXPECT_TRUE(device->Requests().empty());
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kStatusPoll});
  const std::vector<std::string> lines = log.Texts();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Reading step test"), lines.end());
}

// ---- A run.

TEST_F(StepTestPage, StartWritesTheSetUpWaitsForTheRecordAndDrawsItsTwoHundredAndEightPoints) {
  Show();
  Settings("10", "90", "5");
  Start();
  ASSERT_EQ(person.Asked().size(), 1u);
  EXPECT_EQ(person.Asked()[0].text, Text("CAUSEMOVEMENT") + "\n" + Text("CONTINUE"));
  EXPECT_TRUE(device->Requests().empty());

  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kEnterWrite});
  EXPECT_EQ(Field(View::kStatusId), Text("IDC_CHECKMGTINIT"));
  for (int id : {View::kRetrieveId, View::kLoadId, View::kSaveId, View::kStartId, View::kPrintId})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(page->IsTestRunning());

  Tick();
  EXPECT_EQ(device->Requests().back(), kSetupWrite);
  EXPECT_TRUE(Enabled(View::kStopId));

  // Waiting: one state read a tick, the axes from the settings.
  Tick();
  EXPECT_EQ(device->Requests().back(), kStateRead);
  EXPECT_EQ(Field(View::kStatusId), Text("EDT_ALM_COM6"));
  EXPECT_EQ(Axis(true, "StepX"), std::make_pair(0.0, 6.0));
  EXPECT_EQ(Axis(false, "StepPerc"), std::make_pair(10.0, 100.0));

  ASSERT_TRUE(TickUntil(CRecordedTestPage::kIdleStep));
  const std::vector<Bytes>& sent = device->Requests();
  size_t i = 3;
  while (i < sent.size() && sent[i] == kStateRead) ++i;
  EXPECT_GE(i, 12u);  // the device takes 6 s
  ASSERT_EQ(sent.size(), i + 1 + 52);
  EXPECT_EQ(sent[i], kPointerWrite);
  for (size_t k = i + 1; k < sent.size(); ++k) EXPECT_EQ(sent[k][0], 214) << k;

  ExpectWholeRecord(6.0 / 208);
  EXPECT_EQ(Axis(true, "StepX"), std::make_pair(0.0, 6.0));
  EXPECT_DOUBLE_EQ(page->GetTimeStep(), 6.0 / 208);
  // The simulated valve: the command steps after a second, the position follows.
  const auto command = Points("Command"), position = Points("Position");
  EXPECT_EQ(command[10].second, 10);
  EXPECT_EQ(command[40].second, 90);
  EXPECT_LT(position[40].second, 50);
  EXPECT_NEAR(position[207].second, 90, 5);

  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
  EXPECT_FALSE(page->IsTestRunning());
  for (int id : {View::kRetrieveId, View::kLoadId, View::kSaveId, View::kStartId, View::kPrintId})
    EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_FALSE(Enabled(View::kStopId));
  EXPECT_TRUE(page->HasTimer(52));
}

TEST_F(StepTestPage, ElapsedTimeCountsOnePerTwoTicksOfTheRun) {
  Show();
  Settings("10", "90", "20");
  Start();
  Tick();  // the start itself
  EXPECT_EQ(Field(View::kElapsedId), "");
  Tick();
  EXPECT_EQ(Field(View::kElapsedId), "");
  Tick();
  EXPECT_EQ(Field(View::kElapsedId), "1");
  Tick(2);
  EXPECT_EQ(Field(View::kElapsedId), "2");
  EXPECT_EQ(page->GetElapsedSeconds(), 2);
  // Emptied as the read-out starts, counting on until the run completes.
  ASSERT_TRUE(TickUntil(CRecordedTestPage::kPointerStep));
  EXPECT_EQ(Field(View::kElapsedId), "");
  ASSERT_TRUE(TickUntil(CRecordedTestPage::kIdleStep));
  const std::string atEnd = Field(View::kElapsedId);
  EXPECT_NE(atEnd, "");
  Tick(10);
  EXPECT_EQ(Field(View::kElapsedId), atEnd);
}

TEST_F(StepTestPage, StopWhileWaitingAbortsAtTheNextTickAndGivesTheButtonsBack) {
  Show();
  Settings("10", "90", "20");
  Start();
  Tick(4);
  ASSERT_EQ(device->Requests().back(), kStateRead);
  Click(View::kStopId);
  EXPECT_FALSE(Enabled(View::kStopId));
  Tick();
  EXPECT_EQ(device->Requests().back(), kAbortWrite);
  EXPECT_FALSE(page->IsTestRunning());
  EXPECT_FALSE(Enabled(View::kStartId));
  Tick();  // the device seen to test no longer
  EXPECT_EQ(device->Requests().back(), kStateRead);
  EXPECT_EQ(Field(View::kStatusId), Text("STATUSABORTED"));
  for (int id : {View::kRetrieveId, View::kLoadId, View::kStartId}) EXPECT_TRUE(Enabled(id)) << id;
  // Nothing of a stopped run is a record to save or print.
  for (int id : {View::kSaveId, View::kPrintId, View::kStopId}) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_EQ(page->GetStep(), CRecordedTestPage::kIdleStep);
  EXPECT_EQ(device->Variable(144), 0);
}

// A start or a stop whose write the device never got is sent again: the
// record drawn is this run's, and "Test stopped" comes once the device
// says it tests no longer.
TEST_F(StepTestPage, ALostStartOrStopIsSentAgainUntilTheDeviceIsSeenToTakeIt) {
  // 142 = 30.0 (41 F0 00 00), 143 = 60.0 (42 70 00 00), 145 = 2.0 (40 00 00 00).
  const Bytes setup30To60 = {201, 27, 0,    142, 0x41, 0xF0, 0, 0, 0, 143, 0x42, 0x70, 0, 0,
                             0,   145, 0x40, 0,    0,    0,    0, 149, 0, 0, 0, 0, 0, 144, 0x01};
  Show();
  RunToEnd();  // 10 -> 90: its record stays ready in the device
  Settings("30", "60", "2");
  Start();
  Tick();
  device->InjectNoReply();
  Tick();
  EXPECT_EQ(device->Requests().back(), setup30To60);
  ASSERT_TRUE(TickUntil(CRecordedTestPage::kIdleStep));
  EXPECT_EQ(Count(setup30To60), 2u);
  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
  ExpectWholeRecord(3.0 / 208);
  EXPECT_NEAR(Points("Command").back().second, 60, 0.01);

  Settings("10", "90", "20");
  Start();
  Tick(4);
  device->ClearRequests();
  Click(View::kStopId);
  device->InjectNoReply();
  Tick(2);  // the read before the abort lost: no abort without a clean one
  EXPECT_EQ(device->Requests(), (std::vector<Bytes>{kStateRead, kStateRead}));
  EXPECT_EQ(Field(View::kStatusId), Text("EDT_ALM_COM6"));
  EXPECT_FALSE(Enabled(View::kStartId));
  Tick(2);
  EXPECT_EQ(Count(kAbortWrite), 1u);
  EXPECT_EQ(Field(View::kStatusId), Text("STATUSABORTED"));
  EXPECT_EQ(device->Variable(144), 0);
  EXPECT_TRUE(Enabled(View::kStartId));
}

// A test the device ends by itself (or never got) leaves no endless wait;
// a state read without a reply is no such sign.
TEST_F(StepTestPage, ATestTheDeviceAbortsEndsTheWaitAndTheNextRunStartsCleanly) {
  Show();
  Settings("10", "90", "20");
  Start();
  Tick(4);
  ASSERT_EQ(page->GetStep(), CRecordedTestPage::kWaitStep);
  device->InjectNoReply();
  ModifyState([](sim::DeviceState& s) {
    s.tests.run = {};
    s.variables[144] = 0;
  });
  Tick();
  EXPECT_TRUE(page->IsTestRunning());  // no reply: the image still says running
  Tick();
  EXPECT_FALSE(page->IsTestRunning());
  EXPECT_EQ(Field(View::kStatusId), Text("STATUSABORTED"));
  EXPECT_EQ(page->GetStep(), CRecordedTestPage::kIdleStep);
  EXPECT_TRUE(Enabled(View::kStartId));
  RunToEnd();
  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
  EXPECT_EQ(Points("Position").size(), 208u);
}

TEST_F(StepTestPage, SetBaselineRunsWithZeroAndRetrieveBaselineDrawsTheRecordOnItsOwnHoldTime) {
  Show();
  page->CheckDlgButton(View::kBaselineBoxId, BST_CHECKED);
  RunToEnd("10", "90", "5");
  EXPECT_EQ(device->Requests()[0], kBaselineWrite);

  // Another run without the box; then other settings typed in.
  page->CheckDlgButton(View::kBaselineBoxId, BST_UNCHECKED);
  device->ClearRequests();
  RunToEnd("20", "40", "2");
  EXPECT_EQ(device->Requests()[0], kEnterWrite);
  Settings("30", "60", "20");
  device->ClearRequests();

  Click(View::kRetrieveId);
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kBaselineWrite});
  EXPECT_FALSE(Enabled(View::kStartId));
  EXPECT_TRUE(Enabled(View::kStopId));
  Tick();
  EXPECT_EQ(device->Requests().back()[0], 212);
  EXPECT_EQ(Field(View::kStartPosId), "10.0");
  EXPECT_EQ(Field(View::kStopPosId), "90.0");
  EXPECT_EQ(Field(View::kHoldId), "5.0");
  ASSERT_TRUE(TickUntil(CRecordedTestPage::kIdleStep));
  EXPECT_EQ(Count(kPointerWrite), 1u);
  ExpectWholeRecord(6.0 / 208);
  EXPECT_EQ(Points("Command")[207].second, 90);
  // On its own axes, not on the last run's 20 % to 110 %.
  EXPECT_EQ(Axis(false, "StepPerc"), std::make_pair(10.0, 100.0));
  EXPECT_TRUE(page->IsBaselineLoaded());
  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
  EXPECT_EQ(Field(View::kElapsedId), "");

  // Shown again with the baseline on show: no device set-up read.
  page->StopMonitoring();
  device->ClearRequests();
  page->StartMonitoring();
  EXPECT_EQ(Field(View::kStatusId), Text("IDC_LABEL_BASELINE_DATA"));
  Tick();
  EXPECT_EQ(Count(kEnterWrite), 0u);
}

// ---- Input checks.

TEST_F(StepTestPage, EachSettingAcceptsTheEndsOfItsRangeAndNothingBeyond) {
  const testpages::SettingCase cases[] = {
      {View::kStartPosId, View::kStartIconId, "-10", true, ""},
      {View::kStartPosId, View::kStartIconId, "110", true, ""},
      {View::kStartPosId, View::kStartIconId, "-10.1", false, "TT_STARTPOS_ERROR"},
      {View::kStopPosId, View::kStopIconId, "110.1", false, "TT_STOPPOS_ERROR"},
      {View::kStopPosId, View::kStopIconId, "abc", false, "TT_STOPPOS_ERROR"},
      {View::kHoldId, View::kHoldIconId, "0", true, ""},
      {View::kHoldId, View::kHoldIconId, "655.35", true, ""},
      {View::kHoldId, View::kHoldIconId, "655.36", false, "TT_PST_HOLDTIME_ERROR"},
      {View::kHoldId, View::kHoldIconId, "-0.1", false, "TT_PST_HOLDTIME_ERROR"},
  };
  Show();
  for (const testpages::SettingCase& c : cases) {
    SCOPED_TRACE(c.text);
    Settings("10", "90", "5");
    page->SetDlgItemText(c.edit, c.text);
    ExpectJudged(c);
    EXPECT_EQ(page->IsStartAllowed(), c.valid);
  }
}

TEST_F(StepTestPage, StartStaysDisabledAfterARunWhileAFieldIsInvalid) {
  Show();
  Settings("10", "90", "5");
  Start();
  Tick(3);
  page->SetDlgItemText(View::kStopPosId, "120");
  EXPECT_FALSE(Enabled(View::kStartId));
  EXPECT_TRUE(Enabled(View::kStopId));  // the run goes on
  ASSERT_TRUE(TickUntil(CRecordedTestPage::kIdleStep));
  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
  EXPECT_TRUE(Enabled(View::kSaveId));
  EXPECT_FALSE(Enabled(View::kStartId));
  page->SetDlgItemText(View::kStopPosId, "90");
  EXPECT_TRUE(Enabled(View::kStartId));
}

// ---- The plot.

TEST_F(StepTestPage, PercentAxisRunsFromTheLowerPositionTo110WhileWaiting) {
  struct Case {
    const char* start;
    const char* stop;
    double min;
  } cases[] = {{"30", "70", 30}, {"70", "30", 30}, {"-10", "50", -10}, {"12.7", "50", 12.7}};
  Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    Settings(c.start, c.stop, "5");
    Start();
    Tick(3);
    ASSERT_EQ(device->Requests().back(), kStateRead);
    EXPECT_EQ(Axis(false, "StepPerc"), std::make_pair(c.min, 110 - c.min));
    Click(View::kStopId);
    Tick(2);
  }
}

TEST_F(StepTestPage, ChannelBoxesShowAndHideTheirCurvesAtOnce) {
  for (const char* channel : {"Position", "Command", "ILCmd", "ILPos"}) EXPECT_TRUE(Shown(channel)) << channel;
  Click(View::kPilotCommandBoxId);
  EXPECT_FALSE(Shown("ILCmd"));
  Click(View::kPilotCommandBoxId);
  EXPECT_TRUE(Shown("ILCmd"));
  Click(View::kPilotCommandBoxId);
  page->OnViewStepTest();
  EXPECT_FALSE(Shown("ILCmd"));
  EXPECT_TRUE(Shown("ILPos"));
}

TEST_F(StepTestPage, PlotTextsAndToolBarHintsAreTheLanguageTexts) {
  _bstr_t text;
  page->GetPlot()->GetTitle(&text);
  EXPECT_EQ(text.str(), Text("IDD_DIAGNOSTIC_STEP_TEST"));
  IiPlotAxisPtr x;
  page->GetPlot()->GetXAxisByName("StepX", &x);
  x->GetTitle(&text);
  EXPECT_EQ(text.str(), Text("STEPTIME"));
  for (const auto& [button, key] : {std::pair{"Zoom Box", "ZOOMBOX"}, std::pair{"Cursor", "CURSOR"},
                                    std::pair{"Select", "CURSORSELECT"}}) {
    page->GetPlot()->GetHintText(button, &text);
    EXPECT_EQ(text.str(), Text(key)) << button;
  }
}

// ---- Files and report.

TEST_F(StepTestPage, SaveKeepsTheRunWithTheDeviceTagAndLoadBringsItBack) {
  Show();
  RunToEnd("12.7", "50", "5");
  const auto drawn = Points("Position");
  const std::string path = TempFile("run.stp");
  device->ClearRequests();
  person.AnswerFile(path);
  Click(View::kSaveId);
  EXPECT_EQ(Count({13}), 1u);
  EXPECT_EQ(theApp().m_CommonFunctions.m_strStepTag.str(), "SIM01   ");  // as the device pads it
  // The axes set again from the edits, the percent axis from a whole number.
  EXPECT_EQ(Axis(false, "StepPerc"), std::make_pair(12.0, 98.0));
  EXPECT_EQ(Axis(true, "StepX"), std::make_pair(0.0, 6.0));

  Settings("0", "0", "0");
  person.AnswerFile(path);
  Click(View::kLoadId);
  EXPECT_TRUE(page->IsFileLoaded());
  EXPECT_EQ(Field(View::kStartPosId), "12.7");
  EXPECT_EQ(Field(View::kStopPosId), "50");
  EXPECT_EQ(Field(View::kHoldId), "5");
  EXPECT_EQ(Points("Position"), drawn);
  EXPECT_EQ(Field(View::kStatusId), Text("IDC_OFF_LINE_DATA"));

  // Shown again: the file stays on show.
  page->StopMonitoring();
  device->ClearRequests();
  page->StartMonitoring();
  EXPECT_EQ(Field(View::kStatusId), Text("IDC_OFF_LINE_DATA"));
  Tick();
  EXPECT_EQ(Count(kEnterWrite), 0u);
  EXPECT_EQ(Points("Position"), drawn);
}

TEST_F(StepTestPage, PrintingAnotherDevicesFileTellsSoOnceThenPrints) {
  Show();
  RunToEnd("10", "90", "5");
  const std::string path = TempFile("other.stp");
  person.AnswerFile(path);
  Click(View::kSaveId);
  person.AnswerFile(path);
  Click(View::kLoadId);
  ASSERT_TRUE(page->IsFileLoaded());
  sim::Identity identity = device->GetIdentity();
  identity.tag = "OTHER";
  device->SetIdentity(identity);

  const size_t asked = person.Asked().size();
  person.Answer(IDOK).CancelFile().Answer(IDNO);
  Click(View::kPrintId);
  ASSERT_EQ(person.Asked().size(), asked + 3);
  EXPECT_EQ(person.Asked()[asked].text,
            "Report Header section matches with live device settings and doesn't match the file loaded.");
  EXPECT_EQ(person.Asked()[asked + 1].kind, plat::Question::Kind::SaveFile);
  EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", "StartPosn"), "10");
  EXPECT_EQ(ReportFieldText(page->GetReport(), "Detail", "StopPosn"), "90");
  // The page's own view again, the tool bar included.
  _bstr_t title;
  page->GetPlot()->GetTitle(&title);
  EXPECT_EQ(title.str(), Text("IDD_DIAGNOSTIC_STEP_TEST"));
}

// ---- The frame's download under lost replies.

// Lost, garbled and unanswered block reads: the cases every recorded page
// shares, on a run's record.
struct StepRecord {
  using View = CDiagnostics_StepTestView;
  using Page = StepTestPage;
  static void BeginDownload(StepTestPage& p) { StartRun(p); }
  static void StartRun(StepTestPage& p) {
    p.Settings("10", "90", "5");
    p.Start();
  }
  static void Save(View& v) { v.OnSave(); }
  static void Print(View& v) { v.OnPrintReport(); }
  static constexpr const char* kFileName = "faults.stp";
  static constexpr double kRecordStep = 6.0 / 208;
  // Not Save and Print: what was drawn is no whole record.
  static constexpr int kButtonsBack[] = {View::kRetrieveId, View::kLoadId, View::kStartId};
  static constexpr const char* kStoppedKey = "TEST_DOWNLOAD_STOPPED";
};
INSTANTIATE_TYPED_TEST_SUITE_P(StepTestPage, RecordedTestFaults, StepRecord);

// A device whose block pointer stands still gives the same block again and
// again: that is no progress, and the download ends instead of reading on.
TEST_F(StepTestPage, ABlockPointerThatStandsStillEndsTheDownload) {
  Show();
  Settings("10", "90", "5");
  Start();
  ASSERT_TRUE(TickUntil(CRecordedTestPage::kBlockStep));
  Tick(10);
  device->ClearRequests();
  for (int tick = 0; tick < 40 && page->GetStep() != CRecordedTestPage::kIdleStep; ++tick) {
    ModifyState([](sim::DeviceState& s) { s.tests.samples.next = 3; });
    Tick();
  }
  EXPECT_EQ(Field(View::kStatusId), StatusText("TESTDATA_INCOMPLETE"));
  EXPECT_LT(Count({214}), 20u);
  EXPECT_EQ(Points("Command").size(), 40u);  // nothing drawn twice
}

// ---- In a multi-test sequence.

TEST_F(StepTestPage, StopInASequenceHandsBackOnceTheDeviceConfirmsIt) {
  CDiagnostics_OfflineView* multi = RunSequence();
  page->StartMonitoring();
  EXPECT_TRUE(person.Asked().empty());  // no question in a sequence
  EXPECT_EQ(Field(View::kStartPosId), "10.0");
  Tick(4);  // the record selection, the set-up the device holds, the start, its state
  ASSERT_EQ(device->Requests().back(), kStateRead);
  Click(View::kStopId);
  EXPECT_FALSE(multi->m_abTestDone[1]);
  Tick(2);  // the abort, then the state read that confirms it
  EXPECT_EQ(Count(kAbortWrite), 1u);
  EXPECT_EQ(device->State().tests.run.type, 0);
  EXPECT_TRUE(multi->m_abTestDone[1]);
  ASSERT_FALSE(multi->StatusLines().empty());
  EXPECT_EQ(multi->StatusLines().back(), Text("STEPTEST_STOPPED"));
  EXPECT_EQ(SelectedItem(), treeitem::kMultiTest);
  EXPECT_FALSE(page->HasTimer(52));
  const size_t sent = device->Requests().size();
  Tick(20);
  EXPECT_EQ(device->Requests().size(), sent);
}

TEST_F(StepTestPage, ARunCompletedInASequenceHandsBackWithoutTickingAgain) {
  CDiagnostics_OfflineView* multi = RunSequence();
  // Left ticked from an earlier run: the sequence keeps the baseline.
  page->CheckDlgButton(View::kBaselineBoxId, BST_CHECKED);
  page->StartMonitoring();
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kEnterWrite});
  ASSERT_TRUE(TickUntil(CRecordedTestPage::kIdleStep));
  ExpectWholeRecord(6.0 / 208);
  EXPECT_TRUE(multi->m_abTestDone[1]);
  ASSERT_FALSE(multi->StatusLines().empty());
  EXPECT_EQ(multi->StatusLines().back(), Text("STEPTEST_COMPLETE"));
  EXPECT_EQ(SelectedItem(), treeitem::kMultiTest);
  EXPECT_FALSE(page->HasTimer(52));
  const size_t sent = device->Requests().size();
  Tick(20);
  EXPECT_EQ(device->Requests().size(), sent);
}

}  // namespace
