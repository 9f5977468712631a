// The HDRL test page against the simulated positioner on the manual
// clock: the page steps the digital command itself, reads the settled
// position of each stair, draws and analyses the run, and gives the valve
// back its mode and command.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "app/page_table.h"
#include "files/fixture.h"
#include "files/hdrl_analysis.h"
#include "diagnostics/run/hdrl_test_page.h"
#include "diagnostics/run/multi_test_page.h"
#include "test_page_fixture.h"
#include "shell/tree_view.h"
#include "support/language_table.h"

namespace {

using testpages::Bytes;
using testpages::Read200;
using View = CDiagnostics_HDRLView;

const Bytes kStateRead = Read200({8, 3});
// The device's test engine, read with the mode and command.
const Bytes kEngineRead = Read200({146, 144});
const Bytes kPositionRead = Read200({10});
const Bytes kStatusPoll = {200, 4, 0, 8, 0, 42};
const Bytes kDigitalMode = {201, 3, 0, 8, 0x01};
// Mode 0 and 37.5 % (42 16 00 00) as read when the page was shown.
const Bytes kRestore = {201, 9, 0, 8, 0x00, 0, 3, 0x42, 0x16, 0x00, 0x00};

// The digital command write of a stair's command, its float by hand.
Bytes CommandWrite(double percent) {
  const struct {
    double percent;
    std::uint8_t hi, next;
  } floats[] = {{0, 0x00, 0x00},   {10, 0x41, 0x20}, {30, 0x41, 0xF0}, {50, 0x42, 0x48},
                {70, 0x42, 0x8C}, {90, 0x42, 0xB4}, {100, 0x42, 0xC8}};
  for (const auto& f : floats)
    if (f.percent == percent) return {201, 6, 0, 3, f.hi, f.next, 0, 0};
  ADD_FAILURE() << percent;
  return {};
}

using testpages::Text;

const int kResultIds[] = {View::kHysteresisAverageId, View::kHysteresisMaximumId, View::kRepeatabilityAverageId,
                          View::kRepeatabilityMaximumId, View::kLinearityId};

class HDRLTestPage : public testpages::DiagnosticPage<View, 22> {
 public:
  void ArrangeDevice() override {
    device->SetVariable(3, 37.5);
    device->SetVariable(8, 0);
  }

  // Shown: the state read, then the first idle poll.
  void Show() {
    page->StartMonitoring();
    Tick(2);
    device->ClearRequests();
  }
  // From Start to the restore: the start tick, 25 stairs, analysis, restore.
  void RunToEnd(const char* settlingTime = "6") {
    page->SetDlgItemText(View::kSettlingTimeId, settlingTime);
    Start();
    Tick();
    ASSERT_TRUE(page->IsRunning());
    for (int tick = 0; tick < 20000 && page->IsRunning(); ++tick) Tick();
    ASSERT_FALSE(page->IsRunning());
  }
  double Result(int id) { return std::stod(Field(id)); }
  // The next `answered` transactions are answered whole (a reply "cut" to
  // more bytes than it has), the `lost` after them get no reply.
  void AnswerThenLose(int answered, int lost) {
    if (answered > 0) device->InjectShortReply(1024, answered);
    device->InjectNoReply(lost);
  }
  // The digital command writes sent, in order.
  std::vector<Bytes> CommandWrites() {
    std::vector<Bytes> writes;
    for (const Bytes& r : device->Requests())
      if (r.size() == 8 && r[0] == 201 && r[3] == 3) writes.push_back(r);
    return writes;
  }
  // What the page leaves to the user: enabled buttons among the five.
  std::vector<int> EnabledButtons() {
    std::vector<int> on;
    for (int id : {View::kLoadId, View::kSaveId, View::kStartId, View::kStopId, View::kPrintId})
      if (Enabled(id)) on.push_back(id);
    return on;
  }
  void RunOn() {
    for (int tick = 0; tick < 20000 && page->IsRunning(); ++tick) Tick();
  }
};

// ---- Showing the page.

TEST_F(HDRLTestPage, CreatedWithItsDefaultsAndShownItReadsModeAndCommandThenPollsEveryFourTicks) {
  EXPECT_EQ(Field(View::kSettlingTimeId), "6");
  // No run, no result: zeros would read as a perfect valve.
  for (int id : kResultIds) EXPECT_EQ(Field(id), "") << id;
  IiPlotAxisPtr time;
  page->GetPlot()->GetXAxisByName("Time", &time);
  double span = 0;
  time->GetSpan(&span);
  EXPECT_EQ(span, 144);

  page->StartMonitoring();
  EXPECT_TRUE(page->HasTimer(54));
  EXPECT_FALSE(Enabled(View::kStartId));  // nothing to put back yet
  Tick();
  EXPECT_EQ(device->Requests(), (std::vector<Bytes>{kStateRead, kEngineRead}));
  EXPECT_TRUE(Enabled(View::kStartId));
  EXPECT_FALSE(Enabled(View::kStopId));
  Tick();
  EXPECT_EQ(device->Requests().back(), kStatusPoll);
  device->ClearRequests();
  Tick(3);
  EXPECT_TRUE(device->Requests().empty());
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kStatusPoll});
}

// Without a reply there is no mode and command to put back: the page asks
// again and holds Start.
TEST_F(HDRLTestPage, AnUnansweredStateReadIsReadAgainAndHoldsStart) {
  device->InjectNoReply(2);
  page->StartMonitoring();
  Tick(2);
  EXPECT_EQ(device->Requests(), (std::vector<Bytes>{kStateRead, kStateRead}));
  EXPECT_FALSE(Enabled(View::kStartId));
  device->ClearFaults();
  Tick();
  EXPECT_TRUE(Enabled(View::kStartId));
}

TEST_F(HDRLTestPage, TheSettlingTimeIsCheckedFromSixTo655Point35) {
  Show();
  const struct {
    const char* text;
    bool valid;
  } cases[] = {{"5.9", false}, {"6", true}, {"655.35", true}, {"655.36", false}, {"", false}, {"6.3", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    page->SetDlgItemText(View::kSettlingTimeId, c.text);
    EXPECT_EQ(page->IsSettlingTimeValid(), c.valid);
    EXPECT_EQ(Enabled(View::kStartId), c.valid);
    EXPECT_EQ(Field(View::kSettlingTimeId), c.text);  // kept as typed
  }
  page->SetDlgItemText(View::kSettlingTimeId, "5");
  EXPECT_EQ(page->GetToolTips().GetToolText(page->GetDlgItem(View::kSettlingIconId)), Text("TT_HDRL_POS_TIME_ERROR"));
}

// ---- A run.

TEST_F(HDRLTestPage, ARunStepsTheCommandThroughTwentyFiveStairsAndPutsModeAndCommandBack) {
  Show();
  Start();
  ASSERT_EQ(person.Asked().size(), 1u);
  EXPECT_EQ(person.Asked()[0].text, Text("CAUSEMOVEMENT") + "\n" + Text("CONTINUE"));
  Tick();
  EXPECT_EQ(device->Requests(), (std::vector<Bytes>{kDigitalMode, CommandWrite(0)}));
  for (int id : {View::kLoadId, View::kSaveId, View::kStartId, View::kPrintId}) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Enabled(View::kStopId));
  EXPECT_EQ(Field(View::kStartTimeId), "00:00:01");  // the clock starts at midnight

  // Each stair is held 12 ticks, then read, then the next command written.
  device->ClearRequests();
  Tick(11);
  EXPECT_TRUE(device->Requests().empty());
  Tick();
  EXPECT_EQ(device->Requests(), (std::vector<Bytes>{kPositionRead, CommandWrite(10)}));
  EXPECT_EQ(Field(View::kElapsedId), "6");
  for (int tick = 0; tick < 24 * 12; ++tick) Tick();
  EXPECT_EQ(page->GetStep(), View::kAnalysisStep);
  Tick();  // the analysis talks to nobody
  EXPECT_EQ(device->Requests().back(), kPositionRead);
  Tick();
  EXPECT_EQ(device->Requests().back(), kRestore);
  EXPECT_FALSE(page->IsRunning());

  std::vector<Bytes> commands;
  for (const Bytes& r : device->Requests())
    if (r.size() == 8 && r[0] == 201 && r[3] == 3) commands.push_back(r);
  std::vector<Bytes> expected;
  for (size_t k = 1; k < hdrl::kCommandProfile.size(); ++k) expected.push_back(CommandWrite(hdrl::kCommandProfile[k]));
  EXPECT_EQ(commands, expected);
  EXPECT_EQ(Count(kPositionRead), 25u);
  EXPECT_EQ(device->Variable(3), 37.5);
  EXPECT_EQ(device->Variable(8), 0);

  int low = -1, high = -1;
  page->GetDlgItemAs<CProgressCtrl>(View::kProgressId)->GetRange(low, high);
  EXPECT_EQ(high, 144);
  EXPECT_EQ(page->GetDlgItemAs<CProgressCtrl>(View::kProgressId)->GetPos(), 144);
  for (int id : {View::kLoadId, View::kSaveId, View::kStartId, View::kPrintId}) EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_FALSE(Enabled(View::kStopId));

  // The staircase over time: stair k at point 2k, at k x 6 s.
  const auto position = Points("Position"), command = Points("Command");
  ASSERT_EQ(position.size(), 49u);
  ASSERT_EQ(command.size(), 49u);
  for (size_t k = 0; k < 25; ++k) {
    EXPECT_EQ(command[2 * k], std::make_pair(6.0 * k, hdrl::kCommandProfile[k])) << k;
    if (k > 0) {
      EXPECT_EQ(command[2 * k - 1], std::make_pair(6.0 * k, hdrl::kCommandProfile[k - 1])) << k;
    }
  }
  for (const char* branch : {"1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr", "2ndCycle-Decr", "AverageError",
                             "LeastSquareLine"})
    EXPECT_EQ(Points(branch).size(), 5u) << branch;
  // The lag of the simulated valve: each stair read short of its command.
  EXPECT_GT(Result(View::kHysteresisAverageId), 0.4);
  EXPECT_LT(Result(View::kHysteresisMaximumId), 1.0);
  EXPECT_EQ(Field(View::kLinearityId).size(), 6u);  // "%1.4f"
}

// Settled fully (12 s, eight time constants), the stem stops where the
// dead band lets it: hysteresis plus dead band is twice the dead band, the
// two cycles repeat and the error curve is flat. The break-away of the
// friction is smaller than a stair and cannot show.
TEST_F(HDRLTestPage, ASettledRunGivesTwiceTheDeadBandOfTheSimulatedValve) {
  double deadBand = 0;
  ModifyState([&deadBand](sim::DeviceState& s) { deadBand = s.valve.deadBand; });
  Show();
  RunToEnd("12");
  // The stem stops within one 10 ms model step of the dead band.
  for (int id : {View::kHysteresisAverageId, View::kHysteresisMaximumId})
    EXPECT_NEAR(Result(id), 2 * deadBand, 0.01) << id;
  EXPECT_EQ(Field(View::kRepeatabilityAverageId), "0.00");
  EXPECT_EQ(Field(View::kRepeatabilityMaximumId), "0.00");
  EXPECT_LT(Result(View::kLinearityId), 0.01);
  for (const auto& [command, error] : Points("1stCycle-Incr")) EXPECT_NEAR(error, deadBand, 0.005) << command;
  for (const auto& [command, error] : Points("1stCycle-Decr")) EXPECT_NEAR(error, -deadBand, 0.005) << command;
}

// A settling time of 6.3 s is no whole number of ticks: the wait takes 13
// ticks a stair and ends; an edit changed mid-run changes neither the wait
// nor the time axis of the run.
TEST_F(HDRLTestPage, TheSettlingTimeIsLatchedAtTheStartAndAnyWaitEnds) {
  Show();
  page->SetDlgItemText(View::kSettlingTimeId, "6.3");
  Start();
  Tick();
  device->ClearRequests();
  Tick(12);
  EXPECT_TRUE(device->Requests().empty());
  Tick();
  EXPECT_EQ(device->Requests().front(), kPositionRead);
  page->SetDlgItemText(View::kSettlingTimeId, "600");
  Tick(13);
  EXPECT_EQ(Count(kPositionRead), 2u);
  page->SetDlgItemText(View::kSettlingTimeId, "");
  for (int tick = 0; tick < 25 * 13 && page->IsRunning(); ++tick) Tick();
  EXPECT_FALSE(page->IsRunning());
  EXPECT_EQ(device->Requests().back(), kRestore);
  EXPECT_DOUBLE_EQ(Points("Command").back().first, 6.3 * 24);
}

TEST_F(HDRLTestPage, StopWhileSettlingRestoresAtTheNextTickWithoutAnalysis) {
  Show();
  Start();
  Tick(30);
  Click(View::kStopId);
  EXPECT_FALSE(Enabled(View::kStopId));
  device->ClearRequests();
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kRestore});
  EXPECT_FALSE(page->IsRunning());
  EXPECT_TRUE(Points("Position").empty());
  EXPECT_EQ(Field(View::kHysteresisAverageId), "");
  for (int id : {View::kLoadId, View::kStartId}) EXPECT_TRUE(Enabled(id)) << id;
  // A stopped run is no test to save or print.
  for (int id : {View::kSaveId, View::kPrintId}) EXPECT_FALSE(Enabled(id)) << id;
  // Later ticks are idle: polls only.
  device->ClearRequests();
  Tick(20);
  for (const Bytes& r : device->Requests()) EXPECT_EQ(r, kStatusPoll);
}

// Leaving the page mid-run would leave the valve in digital mode at some
// stair: the mode and command go back before the timer stops.
TEST_F(HDRLTestPage, LeavingMidRunPutsModeAndCommandBack) {
  Show();
  Start();
  Tick(40);
  ASSERT_EQ(device->Variable(8), 1);
  device->ClearRequests();
  page->StopMonitoring();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kRestore});
  EXPECT_EQ(device->Variable(8), 0);
  EXPECT_EQ(device->Variable(3), 37.5);
  EXPECT_FALSE(page->IsRunning());
  EXPECT_FALSE(page->HasTimer(54));
  // Shown again: read afresh, and no write.
  device->ClearRequests();
  page->StartMonitoring();
  Tick(3);
  EXPECT_EQ(device->Requests().front(), kStateRead);
  EXPECT_EQ(Count(kRestore), 0u);
}

// ---- Replies lost during a run.

template <class Case>
std::string CaseName(const testing::TestParamInfo<Case>& info) {
  return info.param.name;
}

// A lost read of a settled position, or a lost write of the next command,
// is tried again at the next tick; the stair settles from the tick its
// command was answered, and the run ends whole.
struct RetryCase {
  const char* name;
  int answered;          // before the losses, in the tick of stair 5's read
  size_t reads, writes;  // of stair 5's position and stair 6's command (100 %)
};
void PrintTo(const RetryCase& c, std::ostream* os) { *os << c.name; }
class HDRLRetry : public HDRLTestPage, public testing::WithParamInterface<RetryCase> {
 public:
  // A run up to the tick of stair 5's read, where the replies go as the
  // case says.
  void RunUpToStairFive(int lost) {
    Show();
    Start();
    Tick();
    Tick(12 * 5 + 11);
    AnswerThenLose(GetParam().answered, lost);
  }
};

TEST_P(HDRLRetry, FourLossesAreTriedAgainAndTheRunEndsWhole) {
  const RetryCase& c = GetParam();
  RunUpToStairFive(4);
  device->ClearRequests();
  Tick(5);
  EXPECT_EQ(Count(kPositionRead), c.reads);
  EXPECT_EQ(Count(CommandWrite(100)), c.writes);
  device->ClearRequests();
  Tick(11);
  EXPECT_TRUE(device->Requests().empty());
  Tick();
  EXPECT_EQ(device->Requests(), (std::vector<Bytes>{kPositionRead, CommandWrite(90)}));
  RunOn();
  EXPECT_EQ(person.Asked().size(), 1u);  // the start question only
  EXPECT_EQ(Points("Position").size(), 49u);
  // As a clean run: the simulated valve's lag, not a stair read twice.
  EXPECT_GT(Result(View::kHysteresisAverageId), 0.4);
  EXPECT_LT(Result(View::kHysteresisMaximumId), 1.0);
  EXPECT_LT(Result(View::kRepeatabilityMaximumId), 1.0);
}

// Five tries unanswered: the run ends there, says so, puts the valve back
// and shows nothing as a result; it is neither saved nor printed.
TEST_P(HDRLRetry, FiveLossesEndTheRunIncompleteWithoutResults) {
  RunUpToStairFive(5);
  Tick(5);
  device->ClearRequests();
  person.Answer(IDOK);
  Tick();
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kRestore});
  EXPECT_FALSE(page->IsRunning());
  ASSERT_EQ(person.Asked().size(), 2u);
  EXPECT_EQ(person.Asked()[1].text, Text("HDRL_DATA_INCOMPLETE"));
  for (int id : kResultIds) EXPECT_EQ(Field(id), "") << id;
  EXPECT_TRUE(Points("Position").empty());
  EXPECT_EQ(EnabledButtons(), (std::vector<int>{View::kLoadId, View::kStartId}));
  EXPECT_EQ(device->Variable(8), 0);
  EXPECT_EQ(device->Variable(3), 37.5);
  page->SaveResults();  // the multi-test's save-all: no file asked for
  device->ClearRequests();
  Tick(20);
  EXPECT_TRUE(CommandWrites().empty());

  // A whole run is offered again.
  RunToEnd();
  EXPECT_EQ(EnabledButtons(), (std::vector<int>{View::kLoadId, View::kSaveId, View::kStartId, View::kPrintId}));
  EXPECT_NE(Field(View::kHysteresisAverageId), "");
}

INSTANTIATE_TEST_SUITE_P(Table, HDRLRetry,
                         testing::Values(RetryCase{"PositionRead", 0, 5, 1}, RetryCase{"CommandWrite", 1, 1, 5}),
                         CaseName<RetryCase>);

// The start is the digital mode and the first command: tried again while
// unanswered; a start never answered is no run.
struct StartCase {
  const char* name;
  int answered, lost;
  std::vector<Bytes> sent;  // in the five ticks after Start
  bool started;
};
void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }
class HDRLStart : public HDRLTestPage, public testing::WithParamInterface<StartCase> {};

TEST_P(HDRLStart, ALostStartIsTriedAgainAndOneNeverAnsweredIsNoRun) {
  const StartCase& c = GetParam();
  Show();
  AnswerThenLose(c.answered, c.lost);
  Start();
  Tick(5);
  EXPECT_EQ(device->Requests(), c.sent);
  device->ClearRequests();
  if (c.started) {
    Tick(11);
    EXPECT_TRUE(device->Requests().empty());
    Tick();
    EXPECT_EQ(device->Requests().front(), kPositionRead);
    EXPECT_TRUE(page->IsRunning());
    EXPECT_EQ(person.Asked().size(), 1u);
    return;
  }
  person.Answer(IDOK);
  Tick();
  // What a start may have changed is put back.
  EXPECT_EQ(device->Requests(), std::vector<Bytes>{kRestore});
  EXPECT_FALSE(page->IsRunning());
  ASSERT_EQ(person.Asked().size(), 2u);
  EXPECT_EQ(person.Asked()[1].text, Text("HDRL_NOT_STARTED"));
  for (int id : {View::kStartTimeId, View::kElapsedId}) EXPECT_EQ(Field(id), "") << id;
  for (int id : kResultIds) EXPECT_EQ(Field(id), "") << id;
  EXPECT_TRUE(Points("Position").empty());
  EXPECT_EQ(EnabledButtons(), (std::vector<int>{View::kLoadId, View::kStartId}));
  EXPECT_EQ(device->Variable(8), 0);
  page->SaveResults();  // no file asked for
}

const Bytes kCommand0 = CommandWrite(0);
INSTANTIATE_TEST_SUITE_P(
    Table, HDRLStart,
    testing::Values(
        StartCase{"ModeLostFourTimes", 0, 4,
                  {kDigitalMode, kDigitalMode, kDigitalMode, kDigitalMode, kDigitalMode, kCommand0}, true},
        StartCase{"ModeLostFiveTimes", 0, 5, std::vector<Bytes>(5, kDigitalMode), false},
        StartCase{"FirstCommandLostFiveTimes", 1, 5,
                  {kDigitalMode, kCommand0, kCommand0, kCommand0, kCommand0, kCommand0}, false}),
    CaseName<StartCase>);

// The mode and command go back after the run, after Stop and when the page
// is left mid-run (its timer stops there: the tries are made at once), up
// to five times. A restore never answered may still have been carried out
// (its replies cut, or another command's echo): the mode and command are
// read back, up to five times, and the page says where the valve is only
// from what it read, or that it could not be read.
enum class RunEnd { kRun, kStop, kLeave };
enum class Replies { kFourLost, kFiveLost, kFiveCut, kFiveWrongEcho, kNone };
struct RestoreCase {
  const char* name;
  RunEnd end;
  Replies replies;
  size_t readBacks;
  const char* command;  // in the device when the run ends, as the message shows it
};
void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }
class HDRLRestore : public HDRLTestPage, public testing::WithParamInterface<RestoreCase> {
 public:
  void InjectReplies(Replies replies) {
    switch (replies) {
      case Replies::kFourLost: device->InjectNoReply(4); break;
      case Replies::kFiveLost: device->InjectNoReply(5); break;
      case Replies::kFiveCut: device->InjectShortReply(5, 5); break;
      case Replies::kFiveWrongEcho: device->InjectWrongEcho(5); break;
      case Replies::kNone: device->InjectNoReply(10); break;
    }
  }
};

TEST_P(HDRLRestore, AnUnansweredRestoreIsReadBackAndTheMessageSaysWhatWasRead) {
  const RestoreCase& c = GetParam();
  Show();
  Start();
  // Carried out: all but the lost; cut replies and wrong echoes still restore.
  const bool restored = c.replies != Replies::kFiveLost && c.replies != Replies::kNone;
  std::string message;
  if (c.replies == Replies::kFiveLost)
    message = Text("HDRL_NOT_RESTORED") + " " + Text("DigOnly") + ", " + c.command + " %";
  if (c.replies == Replies::kNone) message = Text("HDRL_RESTORE_NOT_READ") + " " + c.command + " %";
  if (c.end == RunEnd::kRun)
    ASSERT_TRUE(TickUntil(View::kRestoreStep, 400));
  else
    Tick(30);  // stair 2 (30 %) settling
  InjectReplies(c.replies);
  device->ClearRequests();
  if (!message.empty()) person.Answer(IDOK);
  if (c.end == RunEnd::kLeave) {
    page->StopMonitoring();
    EXPECT_FALSE(page->HasTimer(54));
  } else {
    if (c.end == RunEnd::kStop) Click(View::kStopId);
    Tick(2);
    // Not while the valve may stand in digital mode.
    EXPECT_FALSE(Enabled(View::kStartId));
    EXPECT_FALSE(Enabled(View::kStopId));
    for (int tick = 0; tick < 12 && page->IsRunning(); ++tick) Tick();
    EXPECT_TRUE(Enabled(View::kStartId));
  }
  std::vector<Bytes> sent(5, kRestore);
  sent.insert(sent.end(), c.readBacks, kStateRead);
  EXPECT_EQ(device->Requests(), sent);
  EXPECT_FALSE(page->IsRunning());
  EXPECT_EQ(person.Pending(), 0u);
  if (message.empty()) {
    EXPECT_EQ(person.Asked().size(), 1u);
  } else {
    ASSERT_EQ(person.Asked().size(), 2u);
    EXPECT_EQ(person.Asked()[1].text, message);
  }
  EXPECT_EQ(device->Variable(8), restored ? 0 : 1);
  EXPECT_EQ(device->Variable(3), restored ? 37.5 : std::stod(c.command));
}

INSTANTIATE_TEST_SUITE_P(
    Table, HDRLRestore,
    testing::Values(RestoreCase{"RunFourLost", RunEnd::kRun, Replies::kFourLost, 0, "0.0"},
                    RestoreCase{"RunFiveLost", RunEnd::kRun, Replies::kFiveLost, 1, "0.0"},
                    RestoreCase{"RunFiveCut", RunEnd::kRun, Replies::kFiveCut, 1, "0.0"},
                    RestoreCase{"RunNoneAnswered", RunEnd::kRun, Replies::kNone, 5, "0.0"},
                    RestoreCase{"StopFourLost", RunEnd::kStop, Replies::kFourLost, 0, "30.0"},
                    RestoreCase{"StopFiveLost", RunEnd::kStop, Replies::kFiveLost, 1, "30.0"},
                    RestoreCase{"StopFiveWrongEcho", RunEnd::kStop, Replies::kFiveWrongEcho, 1, "30.0"},
                    RestoreCase{"StopNoneAnswered", RunEnd::kStop, Replies::kNone, 5, "30.0"},
                    RestoreCase{"LeaveFourLost", RunEnd::kLeave, Replies::kFourLost, 0, "30.0"},
                    RestoreCase{"LeaveFiveLost", RunEnd::kLeave, Replies::kFiveLost, 1, "30.0"},
                    RestoreCase{"LeaveFiveCut", RunEnd::kLeave, Replies::kFiveCut, 1, "30.0"},
                    RestoreCase{"LeaveNoneAnswered", RunEnd::kLeave, Replies::kNone, 5, "30.0"}),
    CaseName<RestoreCase>);

// ---- Graphs, files, report.

TEST_F(HDRLTestPage, EachGraphShowsItsChannelsAndDisablesOnlyItsOwnButton) {
  const struct {
    int button;
    std::vector<const char*> shown;
  } cases[] = {
      {View::kHysteresisGraphId, {"1stCycle-Incr", "1stCycle-Decr", "2ndCycle-Incr", "2ndCycle-Decr"}},
      {View::kLinearityGraphId, {"AverageError", "LeastSquareLine"}},
      {View::kControlSignalId, {"Position", "Command"}},
  };
  const char* const all[] = {"Position",      "Command",       "1stCycle-Incr", "1stCycle-Decr",
                             "2ndCycle-Incr", "2ndCycle-Decr", "AverageError",  "LeastSquareLine"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    Click(c.button);
    for (int b : {View::kControlSignalId, View::kHysteresisGraphId, View::kLinearityGraphId})
      EXPECT_EQ(Enabled(b), b != c.button) << b;
    for (const char* channel : all) {
      bool expected = false;
      for (const char* s : c.shown) expected = expected || std::string(s) == channel;
      EXPECT_EQ(Shown(channel), expected) << channel;
    }
  }
}

TEST_F(HDRLTestPage, SaveWithTheDeviceTagThenLoadBringsTheSameResultsBack) {
  Show();
  RunToEnd();
  const std::vector<std::string> ids = {Field(View::kHysteresisAverageId), Field(View::kHysteresisMaximumId),
                                        Field(View::kRepeatabilityAverageId), Field(View::kRepeatabilityMaximumId),
                                        Field(View::kLinearityId)};
  const auto drawn = Points("Position");
  const std::string path = TempFile("run.hdrl");
  device->ClearRequests();
  person.AnswerFile(path);
  Click(View::kSaveId);
  EXPECT_EQ(Count({13}), 1u);
  EXPECT_EQ(theApp().m_CommonFunctions.m_strHDRLTag.str(), "SIM01   ");

  Click(View::kHysteresisGraphId);
  page->SetDlgItemText(View::kSettlingTimeId, "9");
  person.AnswerFile(path);
  Click(View::kLoadId);
  EXPECT_EQ(Field(View::kSettlingTimeId), "6");
  EXPECT_EQ((std::vector<std::string>{Field(View::kHysteresisAverageId), Field(View::kHysteresisMaximumId),
                                      Field(View::kRepeatabilityAverageId), Field(View::kRepeatabilityMaximumId),
                                      Field(View::kLinearityId)}),
            ids);
  EXPECT_EQ(Points("Position"), drawn);
  EXPECT_EQ(Points("LeastSquareLine").size(), 5u);
  EXPECT_FALSE(Enabled(View::kControlSignalId));

  // Saved again, opened data keeps the tag of its file.
  sim::Identity identity = device->GetIdentity();
  identity.tag = "OTHER";
  device->SetIdentity(identity);
  device->ClearRequests();
  person.AnswerFile(TempFile("again.hdrl"));
  Click(View::kSaveId);
  EXPECT_EQ(Count({13}), 0u);
  EXPECT_EQ(theApp().m_CommonFunctions.m_strHDRLTag.str(), "SIM01   ");

  // A cancelled open leaves everything on show as it was.
  page->SetDlgItemText(View::kSettlingTimeId, "7");
  person.CancelFile();
  Click(View::kLoadId);
  EXPECT_EQ(Field(View::kSettlingTimeId), "7");
  EXPECT_EQ(Field(View::kHysteresisAverageId), ids[0]);
  EXPECT_TRUE(page->IsSettlingTimeValid());
}

// A ramp test file chosen at Load is refused and changes nothing: the plot
// (points, display settings, file stamp) and every field stay as the HDRL
// file opened before it left them. The ramp file holds a date and a
// settling time where an HDRL file keeps them.
TEST_F(HDRLTestPage, AnotherKindsFileAtLoadChangesNothing) {
  Show();
  RunToEnd();
  const std::string good = TempFile("good.hdrl");
  person.AnswerFile(good);
  Click(View::kSaveId);
  person.AnswerFile(good);
  Click(View::kLoadId);
  Click(View::kHysteresisGraphId);

  CCommonFunctions& common = theApp().m_CommonFunctions;
  IUnknownPtr control;
  ASSERT_TRUE(SUCCEEDED(control.CreateInstance(kXYPlotProgId)));
  IiXYPlotXPtr ramp(control);
  common.SetupRampPlot(ramp);
  common.SetupRampTestChannels(ramp);
  // The ninth channel, where an HDRL file keeps its date and settling time.
  IiXYPlotChannelPtr lure = common.GetXYPlotChannelByName(ramp, "ILCmdvCmdClose");
  for (double y : {12.0, 8.0, 2026.0, 9.0}) lure->AddXY(0, y, nullptr);
  // Saved as "ramp.rmp" beside "ramp.prp", then renamed.
  const std::string saved = TempFile("ramp"), other = TempFile("ramp.hdrl");
  person.AnswerFile(saved);
  common.SaveRampFile(ramp);
  ASSERT_EQ(std::rename((saved + ".rmp").c_str(), other.c_str()), 0);

  const auto shown = [this] {
    std::vector<std::string> fields;
    for (int id : {View::kHysteresisAverageId, View::kHysteresisMaximumId, View::kRepeatabilityAverageId,
                   View::kRepeatabilityMaximumId, View::kLinearityId, View::kSettlingTimeId, View::kStartTimeId,
                   View::kElapsedId})
      fields.push_back(Field(id));
    for (int id : {View::kLoadId, View::kSaveId, View::kStartId, View::kStopId, View::kPrintId,
                   View::kControlSignalId, View::kHysteresisGraphId, View::kLinearityGraphId})
      fields.push_back(Enabled(id) ? "on" : "off");
    fields.push_back(std::to_string(page->GetDlgItemAs<CProgressCtrl>(View::kProgressId)->GetPos()));
    return fields;
  };
  IiXYPlotXPtr plot(page->GetPlot());
  const std::vector<std::string> before = shown();
  const std::string whole = filetest::WholePlot(plot);
  const size_t asked = person.Asked().size();
  person.AnswerFile(other).Answer(IDOK);
  Click(View::kLoadId);
  ASSERT_EQ(person.Asked().size(), asked + 2);
  EXPECT_EQ(person.Asked().back().text, Text("FILEOPENERR"));
  EXPECT_EQ(shown(), before);
  EXPECT_EQ(filetest::WholePlot(plot), whole);
}

TEST_F(HDRLTestPage, PrintReportTakesTheResultsAsShown) {
  Show();
  // Nothing run or opened: nothing to print.
  EXPECT_FALSE(Enabled(View::kPrintId));
  page->OnPrintReport();
  EXPECT_TRUE(person.Asked().empty());
  RunToEnd();
  page->SetDlgItemText(View::kHysteresisAverageId, "0.51");
  page->SetDlgItemText(View::kLinearityId, "0.0123");
  page->SetDlgItemText(View::kSettlingTimeId, "8");
  Click(View::kHysteresisGraphId);
  person.CancelFile().Answer(IDNO);  // the report's PDF offer and print question
  Click(View::kPrintId);
  const CCommonFunctions& common = theApp().m_CommonFunctions;
  EXPECT_EQ(common.m_strHDRLResults.hysteresisAverage.str(), "0.51");
  EXPECT_EQ(common.m_strHDRLResults.linearity.str(), "0.0123");
  EXPECT_EQ(common.m_strHDRLSettlingTime.str(), "8");
  EXPECT_FALSE(Enabled(View::kControlSignalId));
}

// ---- In a multi-test sequence.

class HDRLInSequence : public HDRLTestPage {
 public:
  // The multi-test page runs a sequence and has handed the HDRL test over.
  void EnterSequence() { multi = HandOverFromSequence(3); }

  CDiagnostics_OfflineView* multi = nullptr;
};

TEST_F(HDRLInSequence, ItStartsUnaskedAndHandsBackWhenDone) {
  EnterSequence();
  page->StartMonitoring();
  Tick(2);
  EXPECT_TRUE(person.Asked().empty());
  EXPECT_EQ(device->Requests(), (std::vector<Bytes>{kStateRead, kEngineRead, kDigitalMode, CommandWrite(0)}));
  for (int tick = 0; tick < 400 && page->HasTimer(54); ++tick) Tick();
  EXPECT_EQ(Count(kRestore), 1u);
  EXPECT_TRUE(multi->m_abTestDone[3]);
  EXPECT_TRUE(multi->m_abTestRecorded[3]);
  ASSERT_FALSE(multi->StatusLines().empty());
  EXPECT_EQ(multi->StatusLines().back(), Text("HDRLTEST_COMPLETE"));
  EXPECT_EQ(SelectedItem(), treeitem::kMultiTest);
  EXPECT_FALSE(page->HasTimer(54));
  EXPECT_EQ(Points("Position").size(), 49u);
}

// A restore whose every reply is cut was carried out: read back, the
// sequence goes on with no word of digital mode.
TEST_F(HDRLInSequence, ARestoreWithCutRepliesIsReadBackBeforeHandingBack) {
  EnterSequence();
  page->StartMonitoring();
  ASSERT_TRUE(TickUntil(View::kRestoreStep, 400));
  device->InjectShortReply(5, View::kMostTries);
  device->ClearRequests();
  for (int tick = 0; tick < 20 && page->HasTimer(54); ++tick) Tick();
  std::vector<Bytes> sent(5, kRestore);
  sent.push_back(kStateRead);
  EXPECT_EQ(device->Requests(), sent);
  EXPECT_TRUE(person.Asked().empty());
  EXPECT_EQ(device->Variable(8), 0);
  EXPECT_TRUE(multi->m_abTestDone[3]);
  ASSERT_FALSE(multi->StatusLines().empty());
  EXPECT_EQ(multi->StatusLines().back(), Text("HDRLTEST_COMPLETE"));
  EXPECT_EQ(SelectedItem(), treeitem::kMultiTest);
}

// The engineer leaves the page mid-run (the valve is put back at once) and
// comes back during the sequence's turn: the page still runs the test for
// the sequence and reports back, so the sequence never waits on it for good.
TEST_F(HDRLInSequence, LeftMidRunAndShownAgainItStillReportsToTheSequence) {
  EnterSequence();
  page->StartMonitoring();
  ASSERT_TRUE(TickUntil(View::kSettleStep, 20));
  Tick(10);
  ASSERT_TRUE(page->IsRunning());
  page->StopMonitoring();
  EXPECT_FALSE(page->IsRunning());
  EXPECT_EQ(device->Variable(8), 0);
  page->StartMonitoring();
  for (int tick = 0; tick < 400 && page->HasTimer(54); ++tick) Tick();
  EXPECT_TRUE(person.Asked().empty());
  EXPECT_TRUE(multi->m_abTestDone[3]);
  EXPECT_TRUE(multi->m_abTestRecorded[3]);
  ASSERT_FALSE(multi->StatusLines().empty());
  EXPECT_EQ(multi->StatusLines().back(), Text("HDRLTEST_COMPLETE"));
  EXPECT_EQ(SelectedItem(), treeitem::kMultiTest);
}

// Unattended, a start never answered stops nothing with a box: the
// sequence's status list says it, and the test is handed back unsaved.
TEST_F(HDRLInSequence, AStartNeverAnsweredIsToldInTheStatusList) {
  EnterSequence();
  page->StartMonitoring();
  Tick();
  device->InjectNoReply(5);
  for (int tick = 0; tick < 20 && page->HasTimer(54); ++tick) Tick();
  EXPECT_TRUE(person.Asked().empty());
  EXPECT_EQ(Count(kRestore), 1u);
  EXPECT_TRUE(multi->m_abTestDone[3]);
  EXPECT_FALSE(multi->m_abTestRecorded[3]);  // the sequence's save offers no HDRL file
  ASSERT_FALSE(multi->StatusLines().empty());
  EXPECT_EQ(multi->StatusLines().back(), Text("HDRL_NOT_STARTED"));
  EXPECT_EQ(SelectedItem(), treeitem::kMultiTest);
  page->SaveResults();  // the save-all asks for no HDRL file
}

}  // namespace
