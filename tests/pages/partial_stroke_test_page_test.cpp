// The partial stroke test page against the simulated positioner on the
// manual clock: the device really strokes the valve and times it, the page
// drives it tick by tick, shows the results, downloads the stored records
// and keeps them in files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "app/page_table.h"
#include "diagnostics/run/multi_test_page.h"
#include "diagnostics/run/partial_stroke_test_page.h"
#include "recorded_test_faults.h"
#include "test_page_fixture.h"
#include "platform/sys/numeric.h"
#include "platform/win/resources.h"
#include "shell/tree_view.h"
#include "support/language_table.h"

namespace {

using testpages::Bytes;
using testpages::Read200;
using View = CDiagnostics_PSTView;

constexpr int kBusy = 500, kIdle = 5000;
const Bytes kLastCommand = {201, 3, 0, 141, 4};
const Bytes kBaselineCommand = {201, 3, 0, 141, 3};
const Bytes kSetupRead = Read200({142, 143, 145, 149, 289, 144, 147});
const Bytes kStateRead = Read200({146, 144});
const Bytes kResultRead = Read200({285, 287, 288});
const Bytes kPointerWrite = {201, 3, 0, 147, 0};
const Bytes kAbortWrite = {201, 3, 0, 144, 0x22};
const Bytes kStatusPoll = {200, 4, 0, 8, 0, 42};
const Bytes kRecordRead = {212};
const Bytes kBlockRead = {214};

// 142 = 100.0 (42 C8 00 00), 143 = 90.0 (42 B4 00 00), 145 = 5.0
// (40 A0 00 00), 149 = 10.0 (41 20 00 00), 289 = 30.0 (41 F0 00 00), then
// the test state in 144.
Bytes SetupWrite(std::uint8_t state) {
  return {201, 33,   0,    142,  0x42, 0xC8, 0,    0, 0, 143, 0x42, 0xB4, 0,   0, 0, 145, 0x40,
          0xA0, 0,    0,    0,    149,  0x41, 0x20, 0, 0, 1,   33,   0x41, 0xF0, 0, 0, 0,   144, state};
}

using testpages::StatusText;
using testpages::Text;

class PstPage : public testpages::DiagnosticPage<View, 24> {
 public:
  // At the start already: the stroke begins one second after the start.
  void ArrangeDevice() override {
    ModifyState([](sim::DeviceState& s) { s.valve.position = 100; });
  }

  void Settings(const char* start, const char* stop, const char* hold, const char* ramp, const char* limit) {
    for (const auto& [id, text] : {std::pair{View::kStartPosId, start}, {View::kStopPosId, stop},
                                   {View::kHoldId, hold}, {View::kRampId, ramp}, {View::kTimeLimitId, limit}})
      page->SetDlgItemText(id, text);
  }
  // Shown: 141 := 4, the set-up read, the first idle poll.
  void Show() {
    page->StartMonitoring();
    Tick(3);
    device->ClearRequests();
  }
  // Started and run until the results are shown.
  void RunToEnd(const char* hold = "5", const char* ramp = "10", const char* limit = "30") {
    Settings("100", "90", hold, ramp, limit);
    Start();
    Tick();
    ASSERT_TRUE(TickUntil(View::kWaitStep));
    ASSERT_TRUE(TickUntil(View::kIdleStep));
  }
  void Retrieve(int button) {
    Click(button);
    Tick();
    ASSERT_TRUE(TickUntil(View::kIdleStep));
  }
  // Every point of the four channels at i x step, in order.
  void ExpectWholeRecord(double stepMs) {
    for (const char* channel : {"Command", "Position", "ILCmd", "ILPos"}) {
      const auto points = Points(channel);
      ASSERT_EQ(points.size(), 208u) << channel;
      for (size_t i = 0; i < points.size(); ++i) ASSERT_NEAR(points[i].first, i * stepMs, 1e-9) << channel << " " << i;
    }
  }
  CDiagnostics_OfflineView* RunSequence() {
    CDiagnostics_OfflineView* multi = HandOverFromSequence(2);
    // The sequence's settings in the device image.
    CWexletCoreCommunication& comm = theApp().m_comm;
    comm.m_dVar142 = 100;
    comm.m_dVar143 = 90;
    comm.m_dVar145 = 5;
    comm.m_dVar149 = 10;
    comm.m_dVar289 = 30;
    device->ClearRequests();
    return multi;
  }
};

// ---- Showing the page.

TEST_F(PstPage, ShowingSelectsTheLastTestReadsItsSetUpThenPollsEveryOtherIdleTick) {
  device->SetVariable(289, 20);
  page->StartMonitoring();
  EXPECT_TRUE(page->HasTimer(53));
  EXPECT_EQ(page->GetPeriod(), static_cast<UINT>(kIdle));
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kLastCommand});
  Tick();
  EXPECT_EQ(device->Requests().back(), kSetupRead);
  // The device's own partial stroke set-up, not that of the ramp test.
  EXPECT_EQ(Field(View::kStartPosId), "100.0");
  EXPECT_EQ(Field(View::kStopPosId), "90.0");
  EXPECT_EQ(Field(View::kHoldId), "5.0");
  EXPECT_EQ(Field(View::kRampId), "10.0");
  EXPECT_EQ(Field(View::kTimeLimitId), "20.0");
  for (int id : {View::kRetrieveBaselineId, View::kRetrieveLastId, View::kLoadId, View::kStartId, View::kApplyId})
    EXPECT_TRUE(Enabled(id)) << id;
  // Nothing run or opened: nothing to save or print.
  for (int id : {View::kSaveId, View::kPrintId, View::kStopId}) EXPECT_FALSE(Enabled(id)) << id;
  device->ClearRequests();
  Tick(4);
  EXPECT_EQ(device->Requests(), (std::vector<Bytes>{kStatusPoll, kStatusPoll}));
  EXPECT_EQ(page->GetPeriod(), static_cast<UINT>(kIdle));
}

// Before the device's set-up is read the edits are empty: no field is
// shown valid, and Start and Apply wait for settings.
TEST_F(PstPage, EmptySettingsAreNotShownValidUntilTheDeviceSetUpIsRead) {
  const int icons[] = {View::kStartIconId, View::kStopIconId, View::kHoldIconId, View::kRampIconId,
                       View::kTimeLimitIconId};
  page->StartMonitoring();
  for (int icon : icons) EXPECT_EQ(Icon(icon), 152u) << icon;
  EXPECT_FALSE(Enabled(View::kStartId));
  EXPECT_FALSE(Enabled(View::kApplyId));
  EXPECT_FALSE(page->IsStartAllowed());
  Tick();
  device->InjectNoReply();
  Tick();  // the set-up read unanswered: nothing of the device to show
  EXPECT_EQ(Field(View::kStartPosId), "");
  for (int icon : icons) EXPECT_EQ(Icon(icon), 152u) << icon;
  EXPECT_FALSE(Enabled(View::kStartId));
  EXPECT_TRUE(Enabled(View::kRetrieveLastId));
  page->StopMonitoring();
  page->StartMonitoring();
  Tick(2);
  EXPECT_EQ(Field(View::kStartPosId), "100.0");
  for (int icon : icons) EXPECT_EQ(Icon(icon), 153u) << icon;
  EXPECT_TRUE(Enabled(View::kStartId));
  EXPECT_TRUE(Enabled(View::kApplyId));
}

// ---- The run.// ---- The run.

TEST_F(PstPage, StartWritesTheSetUpPollsEveryHalfSecondAndShowsThePassedResults) {
  Show();
  Settings("100", "90", "5", "10", "30");
  person.Answer(IDYES);
  Click(View::kStartId);
  ASSERT_EQ(person.Asked().size(), 1u);
  EXPECT_EQ(person.Asked()[0].text,
            Text("PSTSTARTMSG") + "\n" + Text("CAUSEMOVEMENT") + "\n" + Text("CONTINUE"));
  EXPECT_EQ(page->GetPeriod(), static_cast<UINT>(kBusy));
  clock.Advance(kBusy);
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kLastCommand});
  EXPECT_EQ(Field(View::kStatusId), Text("IDC_CHECKMGTINIT"));
  clock.Advance(kBusy);
  EXPECT_EQ(device->Requests().back(), SetupWrite(0x81));
  EXPECT_TRUE(Enabled(View::kStopId));
  for (int id : {View::kRetrieveBaselineId, View::kLoadId, View::kSaveId, View::kStartId, View::kApplyId})
    EXPECT_FALSE(Enabled(id)) << id;

  // The state every 500 ms until the device reports the test done.
  device->ClearRequests();
  clock.Advance(kBusy - 1);
  EXPECT_TRUE(device->Requests().empty());
  clock.Advance(1);
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kStateRead});
  ASSERT_TRUE(TickUntil(View::kIdleStep));
  EXPECT_EQ(device->Requests().back(), kResultRead);
  EXPECT_GE(Count(kStateRead), 30u);  // 16 s of stroke and hold

  const double breakaway = device->Variable(285), toTarget = device->Variable(287);
  EXPECT_GT(toTarget, breakaway);
  EXPECT_EQ(Field(View::kBreakawayId), plat::FormatNumber("%5.2f", breakaway));
  EXPECT_EQ(Field(View::kTimeToTargetId), plat::FormatNumber("%5.2f", toTarget));
  EXPECT_EQ(Field(View::kResultId), Text("PST_RESULT_0_EnumDescr"));
  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
  EXPECT_FALSE(Enabled(View::kStopId));
  EXPECT_TRUE(Enabled(View::kStartId));
  // Back to idle: the next request comes 5000 ms later, and the samples wait
  // for Retrieve Last.
  EXPECT_EQ(page->GetPeriod(), static_cast<UINT>(kIdle));
  EXPECT_TRUE(Points("Position").empty());
  device->ClearRequests();
  clock.Advance(kIdle - 1);
  EXPECT_TRUE(device->Requests().empty());
}

// The float the device sends for its 655.35 mark is not 655.35 times a
// hundred exactly: the mark is still recognised.
TEST_F(PstPage, AStuckStemShowsNoTimesAndItsResult) {
  ModifyState([](sim::DeviceState& s) { s.valve.stuck = true; });
  Show();
  RunToEnd();
  EXPECT_EQ(Field(View::kBreakawayId), " - ");
  EXPECT_EQ(Field(View::kTimeToTargetId), " - ");
  EXPECT_EQ(Field(View::kResultId), Text("PST_RESULT_2_EnumDescr"));
  // The record of the same run shows the same.
  Settings("", "", "", "", "");
  Retrieve(View::kRetrieveLastId);
  EXPECT_EQ(Field(View::kBreakawayId), " - ");
  EXPECT_EQ(Field(View::kResultId), Text("PST_RESULT_2_EnumDescr"));
  EXPECT_EQ(Field(View::kStartPosId), "100.0");
}

// A results read without a reply would show the results of the run before
// as this one's.
TEST_F(PstPage, ALostResultsReplyIsReadAgainAndFiveShowNoResults) {
  Show();
  for (int lost : {1, -1}) {
    SCOPED_TRACE(lost);
    Settings("100", "90", "5", "10", "30");
    Start();
    ASSERT_TRUE(TickUntil(View::kResultStep));
    device->ClearRequests();
    device->InjectNoReply(lost);
    ASSERT_TRUE(TickUntil(View::kIdleStep, 10));
    device->ClearFaults();
    if (lost == 1) {
      EXPECT_EQ(Count(kResultRead), 2u);
      EXPECT_EQ(Field(View::kResultId), Text("PST_RESULT_0_EnumDescr"));
      EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
    } else {
      EXPECT_EQ(Count(kResultRead), 5u);
      EXPECT_EQ(Field(View::kResultId), "");
      EXPECT_EQ(Field(View::kStatusId), StatusText("TESTDATA_INCOMPLETE"));
      EXPECT_TRUE(Enabled(View::kStartId));
      // A run without its results is nothing to save or print.
      EXPECT_FALSE(Enabled(View::kSaveId));
      EXPECT_FALSE(Enabled(View::kPrintId));
    }
  }
}

TEST_F(PstPage, SetBaselineStartsWithCommandThreeOutsideASequence) {
  Show();
  page->CheckDlgButton(View::kBaselineBoxId, BST_CHECKED);
  Settings("100", "90", "5", "10", "30");
  Start();
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kBaselineCommand});
}

TEST_F(PstPage, StopWhileWaitingAbortsAtTheNextTickAndGivesTheButtonsBack) {
  Show();
  Settings("100", "90", "5", "10", "30");
  Start();
  Tick(4);
  ASSERT_EQ(device->Requests().back(), kStateRead);
  Click(View::kStopId);
  EXPECT_FALSE(Enabled(View::kStopId));
  Tick();
  EXPECT_EQ(device->Requests().back(), kAbortWrite);
  EXPECT_FALSE(Enabled(View::kStartId));
  Tick();  // the device seen to test no longer
  EXPECT_EQ(device->Requests().back(), kStateRead);
  EXPECT_EQ(Field(View::kStatusId), Text("STATUSABORTED"));
  EXPECT_EQ(page->GetStep(), View::kIdleStep);
  for (int id : {View::kRetrieveBaselineId, View::kRetrieveLastId, View::kLoadId, View::kStartId})
    EXPECT_TRUE(Enabled(id)) << id;
  // A stopped run has no results of its own to save or print.
  for (int id : {View::kSaveId, View::kPrintId}) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_EQ(device->Variable(288), 3);
  Tick();
  EXPECT_EQ(page->GetPeriod(), static_cast<UINT>(kIdle));
}

// After a passed run the device still reports it done with its results:
// a start it did not take would show "Passed" for a stem that never moved.
TEST_F(PstPage, AStartTheDeviceDidNotTakeIsSentAgainAndTheResultsAreThisRuns) {
  Show();
  RunToEnd();
  ASSERT_EQ(Field(View::kResultId), Text("PST_RESULT_0_EnumDescr"));
  ModifyState([](sim::DeviceState& s) {
    s.valve.position = 100;
    s.valve.stuck = true;
  });
  Settings("100", "90", "5", "10", "30");
  Start();
  Tick();
  device->ClearRequests();
  device->InjectNoReply();
  Tick();
  ASSERT_TRUE(TickUntil(View::kIdleStep));
  EXPECT_EQ(Count(SetupWrite(0x81)), 2u);
  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
  EXPECT_EQ(Field(View::kResultId), Text("PST_RESULT_2_EnumDescr"));
  EXPECT_EQ(Field(View::kBreakawayId), " - ");
}

TEST_F(PstPage, AStartTheDeviceNeverTakesShowsNoResultAndOffersNothingToKeep) {
  Show();
  RunToEnd();
  Retrieve(View::kRetrieveLastId);
  ASSERT_EQ(Points("Command").size(), 208u);
  const size_t asked = person.Asked().size();
  Settings("100", "90", "5", "10", "30");
  Start();
  device->ClearRequests();
  for (int tick = 0; tick < 40 && (tick == 0 || page->GetStep() != View::kIdleStep); ++tick) {
    if (page->GetRequest() == 0 && page->GetStep() == View::kSetupStep) device->InjectNoReply();
    Tick();
  }
  EXPECT_EQ(Count(SetupWrite(0x81)), static_cast<size_t>(CRecordedTestPage::kMostTries));
  EXPECT_EQ(Count(kResultRead), 0u);
  EXPECT_EQ(Field(View::kStatusId), StatusText("TESTNOTSTARTED"));
  for (int id : {View::kBreakawayId, View::kTimeToTargetId, View::kResultId}) EXPECT_EQ(Field(id), "") << id;
  EXPECT_TRUE(Points("Command").empty());
  EXPECT_FALSE(page->IsTestRunning());
  for (int id : {View::kStartId, View::kRetrieveLastId, View::kLoadId}) EXPECT_TRUE(Enabled(id)) << id;
  for (int id : {View::kSaveId, View::kPrintId, View::kStopId}) EXPECT_FALSE(Enabled(id)) << id;
  page->SaveResults();
  EXPECT_EQ(person.Asked().size(), asked + 1);  // the start question only
  Tick();
  EXPECT_EQ(page->GetPeriod(), static_cast<UINT>(kIdle));
}

TEST_F(PstPage, AStopNeverConfirmedSaysTheValveMayStillMoveAndOffersStopAgain) {
  Show();
  Settings("100", "90", "5", "10", "30");
  Start();
  Tick(4);
  device->ClearRequests();
  Click(View::kStopId);
  device->InjectNoReply(-1);
  Tick(20);
  device->ClearFaults();
  // Written only in a tick whose clean read shows the test still running.
  EXPECT_EQ(Count(kAbortWrite), 0u);
  EXPECT_EQ(Field(View::kStatusId), StatusText("STATUSABORTED_UNCONFIRMED"));
  EXPECT_NE(device->State().tests.run.type, 0);
  EXPECT_FALSE(Enabled(View::kStartId));
  EXPECT_TRUE(Enabled(View::kStopId));
  Click(View::kStopId);
  EXPECT_EQ(page->GetPeriod(), static_cast<UINT>(kBusy));
  Tick(2);
  EXPECT_EQ(Field(View::kStatusId), Text("STATUSABORTED"));
  EXPECT_EQ(device->State().tests.run.type, 0);
  EXPECT_EQ(device->Variable(288), 3);
  EXPECT_TRUE(Enabled(View::kStartId));
}

TEST_F(PstPage, ATestTheDeviceNoLongerRunsEndsTheWait) {
  Show();
  Settings("100", "90", "5", "10", "30");
  Start();
  Tick(4);
  ASSERT_EQ(page->GetStep(), View::kWaitStep);
  ModifyState([](sim::DeviceState& s) {
    s.tests.run = {};
    s.variables[144] = 0;
  });
  Tick();
  EXPECT_EQ(Field(View::kStatusId), Text("STATUSABORTED"));
  EXPECT_EQ(page->GetStep(), View::kIdleStep);
  EXPECT_TRUE(Enabled(View::kStartId));
}

// ---- Apply and the settings.

// Built under another language, the baseline box and Apply speak it as
// the other test and configuration pages do.
TEST_F(PstPage, TheBaselineBoxAndApplyShowTheTextsOfTheLanguageLoaded) {
  for (const char* lcid : {"1055", "1036"}) {
    SCOPED_TRACE(lcid);
    testpages::LoadLanguage(lcid);
    auto* built = static_cast<View*>(CreatePage(24));
    ASSERT_TRUE(built->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 24));
    built->SendInitialUpdate();
    for (const auto& [id, key] :
         {std::pair{View::kBaselineBoxId, "IDC_CHECKBASELINE"}, {View::kApplyId, "IDC_BUTTON_APPLY"}})
      EXPECT_EQ(built->GetDlgItemText(id), Text(key)) << key;
  }
  testpages::LoadEnglish();
}

TEST_F(PstPage, ApplyWritesTheSettingsToKeepOnly) {
  Show();
  Settings("100", "90", "5", "10", "30");
  Click(View::kApplyId);
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{SetupWrite(0x88)});
  EXPECT_TRUE(Enabled(View::kApplyId));
  EXPECT_EQ(device->State().tests.run.type, 0);
  // Not with a setting out of range.
  page->SetDlgItemText(View::kStopPosId, "500");
  EXPECT_FALSE(Enabled(View::kApplyId));
  device->ClearRequests();
  page->OnApply();
  EXPECT_TRUE(device->Requests().empty());
}

TEST_F(PstPage, EachSettingAcceptsTheEndsOfItsRangeAndNothingBeyond) {
  const testpages::SettingCase cases[] = {
      {View::kStartPosId, View::kStartIconId, "-10", true, ""},
      {View::kStartPosId, View::kStartIconId, "110.1", false, "TT_STARTPOS_ERROR"},
      {View::kStopPosId, View::kStopIconId, "110", true, ""},
      {View::kStopPosId, View::kStopIconId, "-10.1", false, "TT_STOPPOS_ERROR"},
      {View::kHoldId, View::kHoldIconId, "655.35", true, ""},
      {View::kHoldId, View::kHoldIconId, "655.36", false, "TT_PST_HOLDTIME_ERROR"},
      {View::kRampId, View::kRampIconId, "0", true, ""},
      {View::kRampId, View::kRampIconId, "-0.1", false, "TT_PST_RAMPTIME_ERROR"},
      {View::kTimeLimitId, View::kTimeLimitIconId, "655.35", true, ""},
      {View::kTimeLimitId, View::kTimeLimitIconId, "abc", false, "TT_TIMELIMIT_ERROR"},
      {View::kTimeLimitId, View::kTimeLimitIconId, "", false, "TT_TIMELIMIT_ERROR"},
  };
  Show();
  for (const testpages::SettingCase& c : cases) {
    SCOPED_TRACE(c.text);
    Settings("100", "90", "5", "10", "30");
    page->SetDlgItemText(c.edit, c.text);
    ExpectJudged(c);
    EXPECT_EQ(Enabled(View::kApplyId), c.valid);
  }
}

// ---- Retrievals.

// A new device holds a baseline of 100 -> 90 %, hold 5 s, ramp 10 s: drawn
// over its own 16 s, whatever the device's set-up of now.
TEST_F(PstPage, RetrieveBaselineDrawsTheRecordOnItsOwnTimesThenChecksTheSettingsAgain) {
  Show();
  Settings("100", "90", "2", "4", "30");
  Click(View::kApplyId);
  Settings("500", "90", "2", "4", "30");  // invalid before the retrieval
  ASSERT_FALSE(page->IsStartAllowed());
  device->ClearRequests();
  Click(View::kRetrieveBaselineId);
  int ticks = 0;
  while (page->GetStep() != View::kIdleStep || ticks == 0) {
    Tick();
    ASSERT_LT(++ticks, 100);
  }
  EXPECT_EQ(ticks, 58);
  EXPECT_EQ(device->Requests()[0], kBaselineCommand);
  EXPECT_EQ(device->Requests()[1], kPointerWrite);
  EXPECT_EQ(device->Requests()[2], kRecordRead);
  EXPECT_EQ(Count(kBlockRead), 52u);
  ExpectWholeRecord(16000.0 / 208);
  EXPECT_DOUBLE_EQ(page->GetSampleInterval(), 16000.0 / 208);
  EXPECT_EQ(Field(View::kStartPosId), "100.0");
  EXPECT_EQ(Field(View::kHoldId), "5.0");
  EXPECT_EQ(Field(View::kRampId), "10.0");
  EXPECT_EQ(Field(View::kResultId), Text("PST_RESULT_0_EnumDescr"));
  EXPECT_EQ(Field(View::kStatusId), Text("VeskTEST_COMPLETE"));
  EXPECT_TRUE(page->IsBaselineLoaded());
  // The settings shown are valid, and the checks work again.
  EXPECT_TRUE(page->IsStartAllowed());
  EXPECT_TRUE(Enabled(View::kStartId));
  page->SetDlgItemText(View::kStopPosId, "120");
  EXPECT_FALSE(Enabled(View::kStartId));
  // Shown again: the baseline stays.
  page->StopMonitoring();
  device->ClearRequests();
  page->StartMonitoring();
  EXPECT_EQ(Field(View::kStatusId), Text("IDC_LABEL_BASELINE_DATA"));
  Tick();
  EXPECT_EQ(Count(kLastCommand), 0u);
}

TEST_F(PstPage, RetrieveLastDrawsTheRunJustMade) {
  Show();
  RunToEnd("2", "4", "30");
  device->ClearRequests();
  Retrieve(View::kRetrieveLastId);
  EXPECT_EQ(device->Requests()[0], kLastCommand);
  ExpectWholeRecord(7000.0 / 208);
  const auto command = Points("Command");
  EXPECT_DOUBLE_EQ(command.front().second, 100);
  EXPECT_DOUBLE_EQ(command.back().second, 90);
  EXPECT_FALSE(page->IsBaselineLoaded());
}

// ---- The download under lost replies, through the shared verdict.

// Lost, garbled and unanswered block reads: the cases every recorded page
// shares, on the device's last record.
struct PstRecord {
  using View = CDiagnostics_PSTView;
  using Page = PstPage;
  static void BeginDownload(PstPage& p) { p.Click(View::kRetrieveLastId); }
  static void StartRun(PstPage& p) {
    p.Settings("100", "90", "5", "10", "30");
    p.Start();
  }
  static void Save(View& v) { v.SaveResults(); }
  static void Print(View& v) { v.OnPrintReport(); }
  static constexpr const char* kFileName = "faults.pst";
  static constexpr double kRecordStep = 16000.0 / 208;
  static constexpr int kButtonsBack[] = {View::kRetrieveBaselineId, View::kRetrieveLastId, View::kLoadId,
                                         View::kStartId};
  static constexpr const char* kStoppedKey = "TEST_RETRIEVAL_STOPPED";
};
INSTANTIATE_TYPED_TEST_SUITE_P(PstPage, RecordedTestFaults, PstRecord);

// ---- Files.

TEST_F(PstPage, SaveAndLoadKeepTheResultsAndAReSaveKeepsTheFilesCodeAndTag) {
  ModifyState([](sim::DeviceState& s) { s.valve.stuck = true; });
  Show();
  RunToEnd();
  Retrieve(View::kRetrieveLastId);
  const auto drawn = Points("Position");
  const std::string path = TempFile("stuck.pst");
  device->ClearRequests();
  person.AnswerFile(path);
  Click(View::kSaveId);
  EXPECT_EQ(Count({13}), 1u);
  CCommonFunctions& common = theApp().m_CommonFunctions;
  EXPECT_EQ(common.m_strPSTBreakawayTime.str(), "655.35");
  EXPECT_EQ(common.m_nPSTResultCode, 2);

  // Another device, passed since: the file keeps what it holds.
  sim::Identity identity = device->GetIdentity();
  identity.tag = "OTHER";
  device->SetIdentity(identity);
  ModifyState([](sim::DeviceState& s) { s.valve.stuck = false; });
  RunToEnd();
  ASSERT_EQ(Field(View::kResultId), Text("PST_RESULT_0_EnumDescr"));

  Settings("0", "0", "0", "0", "0");
  person.AnswerFile(path);
  Click(View::kLoadId);
  EXPECT_TRUE(page->IsFileLoaded());
  EXPECT_EQ(Field(View::kStartPosId), "100");
  EXPECT_EQ(Field(View::kTimeLimitId), "30");
  EXPECT_EQ(Field(View::kBreakawayId), " - ");
  EXPECT_EQ(Field(View::kTimeToTargetId), " - ");
  EXPECT_EQ(Field(View::kResultId), Text("PST_RESULT_2_EnumDescr"));
  EXPECT_EQ(Points("Position"), drawn);
  EXPECT_EQ(Field(View::kStatusId), Text("IDC_OFF_LINE_DATA"));

  const std::string again = TempFile("again.pst");
  files.push_back(path);
  files.push_back(path + ".prp");
  device->ClearRequests();
  person.AnswerFile(again);
  Click(View::kSaveId);
  EXPECT_EQ(Count({13}), 0u);
  person.AnswerFile(again);
  Click(View::kLoadId);
  EXPECT_EQ(common.m_nPSTResultCode, 2);
  EXPECT_EQ(common.m_strPSTTag.str(), "SIM01   ");
  EXPECT_EQ(Field(View::kResultId), Text("PST_RESULT_2_EnumDescr"));
  EXPECT_EQ(Field(View::kBreakawayId), " - ");

  // The device's last test in place of the file: saved with the device's tag.
  Retrieve(View::kRetrieveLastId);
  EXPECT_FALSE(page->IsFileLoaded());
  EXPECT_EQ(Field(View::kResultId), Text("PST_RESULT_0_EnumDescr"));
  person.AnswerFile(again);
  Click(View::kSaveId);
  EXPECT_EQ(common.m_strPSTTag.str(), "OTHER   ");
  EXPECT_EQ(common.m_nPSTResultCode, 0);
}

// ---- In a multi-test sequence.

TEST_F(PstPage, StopInASequenceHandsBackOnceTheDeviceConfirmsIt) {
  CDiagnostics_OfflineView* multi = RunSequence();
  page->StartMonitoring();
  EXPECT_TRUE(person.Asked().empty());  // no question in a sequence
  EXPECT_EQ(Field(View::kTimeLimitId), "30.0");
  Tick(4);  // the record selection, the set-up the device holds, the start, its state
  ASSERT_EQ(device->Requests().back(), kStateRead);
  Click(View::kStopId);
  EXPECT_FALSE(multi->m_abTestDone[2]);
  Tick(2);  // the abort, then the state read that confirms it
  EXPECT_EQ(Count(kAbortWrite), 1u);
  EXPECT_EQ(device->State().tests.run.type, 0);
  EXPECT_TRUE(multi->m_abTestDone[2]);
  ASSERT_FALSE(multi->StatusLines().empty());
  EXPECT_EQ(multi->StatusLines().back(), Text("PST_STOPPED"));
  EXPECT_EQ(SelectedItem(), treeitem::kMultiTest);
  EXPECT_FALSE(page->HasTimer(53));
}

TEST_F(PstPage, ARunCompletedInASequenceIsDrawnThenHandedBack) {
  CDiagnostics_OfflineView* multi = RunSequence();
  // Left ticked from an earlier run: the sequence keeps the baseline.
  page->CheckDlgButton(View::kBaselineBoxId, BST_CHECKED);
  page->StartMonitoring();
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kLastCommand});
  // The hand-back switches pages, which stops the timer.
  for (int tick = 0; tick < 200 && page->HasTimer(53); ++tick) Tick();
  // The run's own record, drawn before the hand-back.
  EXPECT_EQ(Count(kLastCommand), 2u);
  EXPECT_EQ(Count(kBlockRead), 52u);
  ExpectWholeRecord(16000.0 / 208);
  EXPECT_TRUE(multi->m_abTestDone[2]);
  ASSERT_FALSE(multi->StatusLines().empty());
  EXPECT_EQ(multi->StatusLines().back(), Text("PST_COMPLETE"));
  EXPECT_EQ(SelectedItem(), treeitem::kMultiTest);
  EXPECT_FALSE(page->HasTimer(53));
}

}  // namespace
