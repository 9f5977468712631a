// What the engine makes of a start, as a table of what clean reads showed
// after it. 144 as the device gives it: 0x01 a test started, 0x02 its record
// ready; 0x0B a one-way ramp ready, 0x09 that ramp running, 0x81 a partial
// stroke running, 0x83 its record ready; 0x00 after a stop.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sys/time_source.h"
#include "shell/test_engine.h"

namespace {

using Outcome = CTestEngine::Outcome;

// A ramp 30 -> 70, hold 2 s, ramp 10 s: a run lasts 12 s at least.
const CTestEngine::Setup kAsked{{30, 70, 2, 10, 0}, 0x09};
const CTestEngine::Setup kOther{{10, 90, 2, 10, 0}, 0x09};

struct Read {
  int afterMs;                              // since the start, or since the read before
  std::optional<BYTE> state;                // a clean state read
  std::optional<CTestEngine::Setup> setup;  // with the set-up read after it
};

struct Case {
  std::string name;
  BYTE before;  // 144 as seen before the start
  bool answered;
  bool stopped;  // a stop written after the start
  std::vector<Read> reads;
  Outcome outcome;
  bool idle;  // a start may be offered
  std::optional<CTestEngine::Setup> readBefore = {};  // the page's set-up as read before the start
};

const Case kCases[] = {
    {"answered, running", 0x0B, true, false, {{500, 0x09, {}}}, Outcome::kRunning, false},
    {"answered, recorded", 0x0B, true, false, {{15000, 0x0B, {}}}, Outcome::kRecorded, true},
    {"answered, stopped", 0x0B, true, true, {{3000, 0x00, {}}}, Outcome::kStopped, true},
    {"unanswered, nothing read", 0x0B, false, false, {}, Outcome::kPending, false},
    // Whose test runs only the set-up tells: another one's never counts.
    {"unanswered, running, no set-up read", 0x0B, false, false, {{500, 0x09, {}}}, Outcome::kPending, false},
    {"unanswered, another set-up running", 0x0B, false, false, {{500, 0x09, kOther}}, Outcome::kPending, false},
    {"unanswered, its set-up running", 0x0B, false, false, {{500, 0x09, kAsked}}, Outcome::kRunning, false},
    {"unanswered, seen running, then recorded", 0x0B, false, false, {{500, 0x09, kAsked}, {15000, 0x0B, {}}},
     Outcome::kRecorded, true},
    // Idle sooner than a run could end: it never came.
    {"unanswered, idle at once", 0x0B, false, false, {{500, 0x0B, {}}}, Outcome::kNotStarted, true},
    {"unanswered, idle at once with its set-up", 0x0B, false, false, {{500, 0x0B, kAsked}}, Outcome::kNotStarted,
     true},
    // A record of its type where there was none: it ran whole.
    {"unanswered, outage, its record where none was", 0x00, false, false, {{15000, 0x0B, {}}}, Outcome::kRecorded,
     true},
    {"unanswered, outage, another test's record as before", 0x83, false, false, {{15000, 0x83, {}}},
     Outcome::kNotStarted, true},
    // Idle as before: only the set-up can tell, and the same set-up cannot.
    {"unanswered, outage, idle as before", 0x0B, false, false, {{15000, 0x0B, {}}}, Outcome::kSetupNeeded, true},
    {"unanswered, outage, idle as before, another set-up", 0x0B, false, false, {{15000, 0x0B, kOther}},
     Outcome::kNotStarted, true},
    {"unanswered, outage, idle as before, its set-up", 0x0B, false, false, {{15000, 0x0B, kAsked}},
     Outcome::kUnknown, true},
    {"unanswered, outage, idle as before, its set-up where the same stood", 0x0B, false, false,
     {{15000, 0x0B, kAsked}}, Outcome::kUnknown, true, kAsked},
    // The set-up it writes, where another stood: it came, and ran whole.
    {"unanswered, outage, idle as before, its set-up where another stood", 0x0B, false, false,
     {{15000, 0x0B, kAsked}}, Outcome::kRecorded, true, kOther},
    {"unanswered, stopped", 0x0B, false, true, {{15000, 0x00, {}}}, Outcome::kStopped, true},
};

TEST(TestEngine, AStartIsJudgedOnlyByWhatCleanReadsShow) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    plat::ManualClock clock;
    plat::ScopedTimeSource scoped{clock};
    CTestEngine engine;
    engine.StateRead(c.before);
    if (c.readBefore) engine.SetupRead(0, *c.readBefore);
    ASSERT_TRUE(engine.SeenIdle());
    engine.Started(0, kAsked, c.answered);
    EXPECT_FALSE(engine.SeenIdle());
    if (c.stopped) engine.StopWritten();
    for (const Read& r : c.reads) {
      clock.Advance(r.afterMs);
      if (r.state) engine.StateRead(*r.state);
      if (r.setup) engine.SetupRead(0, *r.setup);
    }
    EXPECT_EQ(engine.OutcomeOf(0), c.outcome);
    EXPECT_EQ(engine.SeenIdle(), c.idle);
    // Another page's view is not touched.
    EXPECT_EQ(engine.OutcomeOf(1), Outcome::kNone);
  }
}

// The ramp page's start unanswered, and the device idle as before 15 s on:
// only the ramp page's set-up read can tell.
class TestEngineAfterAnOutage : public testing::Test {
 protected:
  void SetUp() override {
    engine.StateRead(0x0B);
    engine.Started(0, kAsked, false);
    clock.Advance(15000);
    engine.StateRead(0x0B);
  }
  plat::ManualClock clock;
  plat::ScopedTimeSource scoped{clock};
  CTestEngine engine;
};

// A set-up read by a page that did not start the test tells nothing of it,
// and an answered stop leaves no idle state standing from before it.
TEST_F(TestEngineAfterAnOutage, OnlyTheStartersSetUpReadJudgesAndAStopForgetsTheStateBefore) {
  engine.SetupRead(1, kOther);
  EXPECT_EQ(engine.OutcomeOf(0), Outcome::kSetupNeeded);
  engine.SetupRead(0, kOther);
  EXPECT_EQ(engine.OutcomeOf(0), Outcome::kNotStarted);

  engine.StopWritten();
  EXPECT_FALSE(engine.SeenStill());
  EXPECT_FALSE(engine.SeenIdle());
}

// A start still to be judged by its page's set-up read, when another page
// starts first: that start writes over the set-up, and it cannot be told.
TEST_F(TestEngineAfterAnOutage, AStartStillToBeJudgedWhenAnotherStartsCannotBeTold) {
  ASSERT_EQ(engine.OutcomeOf(0), Outcome::kSetupNeeded);
  ASSERT_TRUE(engine.SeenIdle());
  engine.Started(1, kOther, true);
  EXPECT_EQ(engine.OutcomeOf(0), Outcome::kUnknown);
  EXPECT_EQ(engine.OutcomeOf(1), Outcome::kRunning);
}

// A stop is for the run it was pressed over: open until that run is seen
// ended, another start is taken, or its page settles it; a run that ended
// whole keeps its own page's stop open until the page has read its record.
TEST(TestEngine, AStopIsOpenOnlyForTheRunItWasPressedFor) {
  struct Step {
    const char* what;
    std::function<void(CTestEngine&, plat::ManualClock&)> act;
    bool open;     // the stopping page's stop
    bool anyOpen;  // a run or a stop that no sequence may start over
  };
  const auto press = [](int page) { return [page](CTestEngine& e, plat::ManualClock&) { e.StopPressed(page); }; };
  const auto read = [](BYTE state, int afterMs) {
    return [state, afterMs](CTestEngine& e, plat::ManualClock& c) {
      c.Advance(afterMs);
      e.StateRead(state);
    };
  };
  const auto start = [](int page) {
    return [page](CTestEngine& e, plat::ManualClock&) { e.Started(page, kAsked, true); };
  };
  const std::vector<std::pair<std::string, std::vector<Step>>> cases = {
      {"over an idle device", {{"read idle", read(0x0B, 0), false, false}, {"stop", press(0), false, false}}},
      {"its run stopped",
       {{"start", start(0), false, true},
        {"stop", press(0), true, true},
        {"read running", read(0x09, 500), true, true},
        {"read stopped", read(0x00, 500), false, false}}},
      {"its run ended whole",
       {{"start", start(0), false, true},
        {"stop", press(0), true, true},
        {"read recorded", read(0x0B, 15000), true, true},
        {"record read", [](CTestEngine& e, plat::ManualClock&) { e.StopSettled(0); }, false, false}}},
      {"another page's run ended whole",
       {{"start", start(1), false, true}, {"stop", press(0), true, true}, {"read recorded", read(0x0B, 15000), false, false}}},
      {"another start taken",
       {{"start", start(0), false, true}, {"stop", press(0), true, true}, {"start again", start(1), false, true}}},
  };
  for (const auto& [name, steps] : cases) {
    plat::ManualClock clock;
    plat::ScopedTimeSource scoped{clock};
    CTestEngine engine;
    for (const Step& s : steps) {
      s.act(engine, clock);
      EXPECT_EQ(engine.StopOpen(0), s.open) << name << ", " << s.what;
      EXPECT_EQ(engine.AnyOpen(), s.anyOpen) << name << ", " << s.what;
    }
  }
}

}  // namespace
