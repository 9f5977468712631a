// The ramp and step tests the simulated device runs, frame by frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <ostream>
#include <vector>

#include "platform/sys/time_source.h"
#include "sim/positioner.h"
#include "tests/sim/bytes.h"

namespace sim::test {
namespace {

// 201 with 142 = 10, 143 = 90, 145 = 5, 149 = 60 and then 144.
Bytes StartFrame(std::uint8_t type) {
  return {201, 27, 0, 142, 0x41, 0x20, 0, 0, 0, 143, 0x42, 0xB4, 0, 0,
          0, 145, 0x40, 0xA0, 0, 0, 0, 149, 0x42, 0x70, 0, 0, 0, 144, type};
}

// The expected command of a 10 -> 90 pass, R 60, H 5, at sample i.
double Profile(std::size_t i, bool back) {
  const double t = i * 66.0 / 208;
  const double f = t < 1 ? 0 : t >= 61 ? 1 : (t - 1) / 60;
  return back ? 90 - 80 * f : 10 + 80 * f;
}

struct Sample {
  double command, position;
};

class TestEngine : public testing::Test {
 protected:
  TestEngine() {
    DeviceState s = positioner.State();
    s.valve.position = 10;  // already at the start: the pass begins on the first step
    positioner.SetState(s);
  }
  Bytes Send(const Bytes& request) {
    const std::optional<Bytes> reply = positioner.Transact(request);
    return reply ? *reply : Bytes{};
  }
  std::uint8_t TestState() { return Send({200, 4, 0, 146, 0, 144}).at(12); }
  void Select(std::uint8_t selector) { Send({201, 3, 0, 141, selector}); }
  // One pass through 147 = 0 and 52 reads of 214.
  std::vector<Sample> Download(std::uint8_t selector) {
    Select(selector);
    Send({201, 3, 0, 147, 0});
    std::vector<Sample> samples;
    for (std::uint8_t block = 0; block < 52; ++block) {
      const Bytes reply = Send({214});
      EXPECT_EQ(reply.size(), 61u);
      EXPECT_EQ(reply.at(60), block);
      for (std::size_t k = 0; k < 4; ++k) {
        auto value = [&](std::size_t v) {
          const std::size_t at = 4 + k * 14 + v * 2;
          return static_cast<std::int16_t>(reply.at(at) << 8 | reply.at(at + 1)) / 100.0;
        };
        samples.push_back({value(0), value(1)});
      }
    }
    return samples;
  }
  // The way a page waits: a poll a second.
  void Wait(std::int64_t ms) {
    for (; ms > 1'000; ms -= 1'000) {
      clock.Advance(1'000);
      positioner.CatchUp();
    }
    clock.Advance(ms);
  }
  void RunToEnd(std::uint8_t type) {
    Send(StartFrame(type));
    Wait(type & 0x04 ? 132'010 : 66'010);
    EXPECT_EQ(TestState(), type | 0x02);
  }

  plat::ManualClock clock;
  plat::ScopedTimeSource time{clock};
  Positioner positioner;
};

TEST_F(TestEngine, OneWayRampIsReadyAfter66sAndRecordsTheValve) {
  Select(5);
  Send(StartFrame(0x09));
  EXPECT_EQ(TestState(), 0x09);
  Wait(33'010);
  EXPECT_EQ(Send({200, 4, 0, 146, 0, 144}), (Bytes{200, 11, 0, positioner.DeviceStatus(), 0, 146, 0x42, 0x48, 0, 0,
                                                   0, 144, 0x09}));  // 50 %
  Wait(32'990);
  EXPECT_EQ(TestState(), 0x09);
  clock.Advance(10);
  EXPECT_EQ(TestState(), 0x0B);

  const std::vector<Sample> samples = Download(5);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(samples[i].command, Profile(i, false), 0.01);
  }
  // The valve lags the ramp and settles in the hold.
  EXPECT_GT(samples[104].command - samples[104].position, 0.5);
  EXPECT_NEAR(samples[207].position, 90, 0.5);

  EXPECT_EQ(Send({212}), (Bytes{212, 43, 0, positioner.DeviceStatus(), 0, 0x41, 0x20, 0, 0, 0x42, 0xB4, 0, 0,
                                0x40, 0xA0, 0, 0, 0x42, 0x70, 0, 0, 0, 0, 0, 1, 1, 26, 0x44, 0x23, 0xD6, 0x66,
                                0, 0, 0, 0, 0x44, 0x23, 0xD6, 0x66, 0, 0, 0, 0, 0, 0x09}));
}

struct BothWaysCase {
  const char* name;
  std::uint8_t atStart;  // 141 when the run starts
  std::uint8_t first, second;  // 141 that reads each pass
};
void PrintTo(const BothWaysCase& c, std::ostream* os) { *os << c.name; }

class BothWays : public TestEngine, public testing::WithParamInterface<BothWaysCase> {};

TEST_P(BothWays, SecondPassRunsBackFromStopToStart) {
  const BothWaysCase& c = GetParam();
  Select(c.atStart);
  RunToEnd(0x0D);
  const std::vector<Sample> first = Download(c.first);
  const std::vector<Sample> second = Download(c.second);
  for (std::size_t i = 0; i < second.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(first[i].command, Profile(i, false), 0.01);
    EXPECT_NEAR(second[i].command, Profile(i, true), 0.01);
  }
  EXPECT_NEAR(second[207].position, 10, 0.5);
  Select(c.first);
  EXPECT_EQ(Send({212}).at(44), 0x0D);
}

INSTANTIATE_TEST_SUITE_P(Runs, BothWays,
                         testing::Values(BothWaysCase{"Last", 5, 5, 6}, BothWaysCase{"Baseline", 1, 1, 2}),
                         [](const auto& info) { return info.param.name; });

TEST_F(TestEngine, BaselineRunKeepsACopyTheNextRunLeavesAlone) {
  Select(1);
  RunToEnd(0x09);
  const std::vector<Sample> baseline = Download(1);
  const DeviceState after = positioner.State();
  EXPECT_EQ(after.tests.rampBaseline.first, (RampSamples{after.tests.samples.blocks, 0}));

  DeviceState s = positioner.State();
  s.valve.position = 10;
  positioner.SetState(s);
  Select(5);
  RunToEnd(0x09);
  EXPECT_EQ(positioner.State().tests.rampBaseline, after.tests.rampBaseline);
}

// A step is a ramp of no length; 141 = 0 keeps it as the step baseline.
TEST_F(TestEngine, StepJumpsAfterOneSecondAndBecomesTheStepBaseline) {
  Select(0);
  Send({201, 27, 0, 142, 0x41, 0x20, 0, 0, 0, 143, 0x42, 0xB4, 0, 0,
        0, 145, 0x40, 0xA0, 0, 0, 0, 149, 0, 0, 0, 0, 0, 144, 0x01});
  Wait(6'000);
  EXPECT_EQ(TestState(), 0x01);
  Wait(10);
  EXPECT_EQ(TestState(), 0x03);
  const std::vector<Sample> samples = Download(0);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(samples[i].command, i * 6.0 / 208 < 1 ? 10 : 90);
  }
  // The valve follows with its lag, not at once.
  EXPECT_LT(samples[40].position, 50);
  EXPECT_NEAR(samples[207].position, 90, 5);
  EXPECT_EQ(positioner.State().tests.stepBaseline.first.blocks, positioner.State().tests.samples.blocks);
}

// Retrieving a baseline from a new device gives a record of its own valve,
// not zeros.
TEST_F(TestEngine, ANewDeviceHoldsBaselinesOfItsOwnValve) {
  Select(1);
  const Bytes ramp = Send({212});
  ASSERT_EQ(ramp.size(), 45u);
  // 0, 100, 5 and 30 as floats; flags: a ramp both ways.
  EXPECT_EQ(Bytes(ramp.begin() + 5, ramp.begin() + 21),
            (Bytes{0, 0, 0, 0, 0x42, 0xC8, 0, 0, 0x40, 0xA0, 0, 0, 0x41, 0xF0, 0, 0}));
  EXPECT_EQ(ramp.at(44), 0x0D);
  const std::vector<Sample> up = Download(1);
  const std::vector<Sample> down = Download(2);
  EXPECT_EQ(up.front().command, 0);
  EXPECT_EQ(up.back().command, 100);
  EXPECT_EQ(down.back().command, 0);
  EXPECT_GT(up[100].command - up[100].position, 0.2);  // the valve's own lag
  EXPECT_NEAR(up.back().position, 100, 1);
  EXPECT_NEAR(down.back().position, 0, 1);

  Select(0);
  const Bytes step = Send({212});
  // 40, 60, 5 and 0: a step in mid-stroke.
  EXPECT_EQ(Bytes(step.begin() + 5, step.begin() + 21),
            (Bytes{0x42, 0x20, 0, 0, 0x42, 0x70, 0, 0, 0x40, 0xA0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(step.at(44), 0x01);
  EXPECT_NEAR(Download(0).back().position, 60, 1);
}

TEST_F(TestEngine, AbortMidRunLeavesTheRecordsAsTheyWere) {
  const TestRecords before = positioner.State().tests;
  Send(StartFrame(0x09));
  Wait(30'000);
  Send({201, 3, 0, 144, 0x22});
  EXPECT_EQ(TestState(), 0);
  Wait(100'000);
  EXPECT_EQ(TestState(), 0);
  TestRecords after = positioner.State().tests;
  EXPECT_EQ(after, before);
}

// 201 with 142 = 100, 143 = 90, 145 = 5, 149 = 10, 289 = limit and then 144.
Bytes PstFrame(std::uint8_t type, Bytes limit = {0x41, 0xF0, 0, 0}) {
  Bytes frame = {201, 33, 0, 142, 0x42, 0xC8, 0, 0, 0, 143, 0x42, 0xB4, 0, 0, 0, 145, 0x40, 0xA0, 0, 0,
                 0,   149, 0x41, 0x20, 0, 0, 1, 33};
  frame.insert(frame.end(), limit.begin(), limit.end());
  frame.push_back(0);
  frame.push_back(144);
  frame.push_back(type);
  return frame;
}

float FloatAt(const Bytes& reply, std::size_t at) {
  const std::uint32_t bits = static_cast<std::uint32_t>(reply.at(at)) << 24 | reply.at(at + 1) << 16 |
                             reply.at(at + 2) << 8 | reply.at(at + 3);
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

struct PstResult {
  float breakaway, toTarget;
  std::uint8_t code;
};

class PartialStroke : public TestEngine {
 protected:
  PartialStroke() {
    DeviceState s = positioner.State();
    s.valve.position = 100;
    positioner.SetState(s);
  }
  // 285, 287 and 288 as the page reads them.
  PstResult Results() {
    const Bytes reply = Send({200, 6, 1, 29, 1, 31, 1, 32});
    return {FloatAt(reply, 6), FloatAt(reply, 12), reply.at(18)};
  }
  // A stem that cannot reach the start is given up on after 10 s.
  void Run(Bytes limit = {0x41, 0xF0, 0, 0}, std::int64_t ms = 16'010) {
    Select(4);
    Send(PstFrame(0x81, limit));
    Wait(ms);
    EXPECT_EQ(TestState(), 0x83);
  }
};

// The set-up of 141 = 3 or 4 is not that of the ramp and step tests.
TEST_F(PartialStroke, KeepsASetUpOfItsOwn) {
  Select(5);
  Send({201, 6, 0, 142, 0x41, 0x20, 0, 0});  // 10
  Select(4);
  Send({201, 6, 0, 142, 0x42, 0xA0, 0, 0});  // 80
  EXPECT_EQ(Send({200, 2, 0, 142}), (Bytes{200, 8, 0, positioner.DeviceStatus(), 0, 142, 0x42, 0xA0, 0, 0}));
  Select(5);
  EXPECT_EQ(Send({200, 2, 0, 142}), (Bytes{200, 8, 0, positioner.DeviceStatus(), 0, 142, 0x41, 0x20, 0, 0}));
  // 0x88 keeps the set-up and starts nothing.
  Select(4);
  Send(PstFrame(0x88));
  EXPECT_EQ(Send({200, 2, 0, 142}).at(6), 0x42);
  EXPECT_EQ(positioner.State().tests.run.type, 0);
}

TEST_F(PartialStroke, APassingStrokeTimesTheStemAndLeavesTheRampRecordsAlone) {
  const DeviceState before = positioner.State();
  Run();
  const PstResult r = Results();
  EXPECT_EQ(r.code, 0);
  EXPECT_GT(r.breakaway, 0.0f);
  EXPECT_LT(r.breakaway, 2.0f);
  EXPECT_GT(r.toTarget, r.breakaway);
  EXPECT_LT(r.toTarget, 15.0f);

  // The last partial stroke: its set-up, time limit (30) and type.
  const Bytes record = Send({212});
  EXPECT_EQ(Bytes(record.begin() + 5, record.begin() + 21),
            (Bytes{0x42, 0xC8, 0, 0, 0x42, 0xB4, 0, 0, 0x40, 0xA0, 0, 0, 0x41, 0x20, 0, 0}));
  EXPECT_EQ(FloatAt(record, 27), r.breakaway);
  EXPECT_EQ(FloatAt(record, 35), r.toTarget);
  EXPECT_EQ(Bytes(record.begin() + 39, record.end()), (Bytes{0, 0x41, 0xF0, 0, 0, 0x81}));
  const std::vector<Sample> samples = Download(4);
  EXPECT_EQ(samples.front().command, 100);
  EXPECT_EQ(samples.back().command, 90);
  EXPECT_NEAR(samples.back().position, 90, 1);

  const TestRecords& after = positioner.State().tests;
  EXPECT_EQ(after.result, before.tests.result);
  EXPECT_EQ(after.samples.blocks, before.tests.samples.blocks);
  EXPECT_EQ(after.pstBaseline, before.tests.pstBaseline);  // 4 keeps no baseline
}

TEST_F(PartialStroke, FailsAsTheStemMovesOrNot) {
  struct Case {
    const char* name;
    bool stuck;
    double at;  // where the stem stands
    Bytes limit;
    std::uint8_t code;
  } cases[] = {
      {"stuck stem: no break-away", true, 100, {0x41, 0xF0, 0, 0}, 2},
      {"stuck short of the start: no break-away either", true, 95, {0x41, 0xF0, 0, 0}, 2},
      {"time limit of 2 s: target too late", false, 100, {0x40, 0, 0, 0}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeviceState s = positioner.State();
    s.valve.position = c.at;
    s.valve.stuck = c.stuck;
    positioner.SetState(s);
    Run(c.limit, c.at == 100 ? 16'010 : 26'010);
    const PstResult r = Results();
    EXPECT_EQ(r.code, c.code);
    if (c.stuck) {
      EXPECT_EQ(r.breakaway, 655.35f);
      EXPECT_EQ(r.toTarget, 655.35f);
    } else {
      EXPECT_GT(r.toTarget, 2.0f);
    }
  }
}

TEST_F(PartialStroke, AnAbortShowsCodeThreeAndKeepsTheRecords) {
  const TestRecords before = positioner.State().tests;
  Select(3);
  Send(PstFrame(0x81));
  Wait(5'000);
  Send({201, 3, 0, 144, 0x22});
  EXPECT_EQ(TestState(), 0);
  EXPECT_EQ(Results().code, 3);
  EXPECT_EQ(Results().breakaway, 655.35f);
  TestRecords after = positioner.State().tests;
  after.pstSetup = before.pstSetup;
  EXPECT_EQ(after, before);
}

TEST_F(PartialStroke, SelectorThreeKeepsTheRunAsTheBaseline) {
  Select(3);
  Send(PstFrame(0x81));
  Wait(16'010);
  EXPECT_EQ(positioner.State().tests.pstBaseline, positioner.State().tests.pstLast);
  EXPECT_EQ(Send({212}).at(44), 0x81);
}

TEST_F(TestEngine, ReadsPastTheLastBlockStayOnIt) {
  Send({201, 3, 0, 147, 0});
  for (int read = 0; read < 52; ++read) Send({214});
  EXPECT_EQ(Send({214}).at(60), 51);
  EXPECT_EQ(Send({214}).at(60), 51);
  Send({201, 3, 0, 147, 0});
  EXPECT_EQ(Send({214}).at(60), 0);
}

}  // namespace
}  // namespace sim::test
