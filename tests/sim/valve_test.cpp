// The valve behind the simulated positioner on a manual clock: position
// follows the command in effect with a first-order lag (tau 1.5 s), held
// by friction and stopped by the dead band; the values worked out by hand
// from x(t) = c - (c - x0) e^(-t / tau), in whole 10 ms steps.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <span>

#include "platform/sys/time_source.h"
#include "sim/positioner.h"
#include "sim/valve_model.h"
#include "sim/variables.h"
#include "tests/sim/bytes.h"

namespace sim::test {
namespace {

const Bytes kDigital = {201, 3, 0, 8, 1};
const Bytes kAnalog = {201, 3, 0, 8, 0};
const Bytes kCommand80 = {201, 6, 0, 3, 0x42, 0xA0, 0x00, 0x00};
const Bytes kCommand50p6 = {201, 6, 0, 3, 0x42, 0x4A, 0x66, 0x66};

class ValveTest : public testing::Test {
 protected:
  std::optional<Bytes> Send(const Bytes& request) { return positioner.Transact(request); }
  // A float variable through 200, as the program reads it.
  double Read(std::uint16_t id) {
    const std::optional<Bytes> reply = Send({200, 2, static_cast<std::uint8_t>(id >> 8), static_cast<std::uint8_t>(id)});
    EXPECT_TRUE(reply && reply->size() == 10 && reply->at(2) == kRcSuccess) << id;
    if (!reply || reply->size() != 10) return -999;
    return GetValue(std::span(*reply).subspan(6, 4), WireType::F32);
  }
  void Valve(double position, double deadBand, double breakaway) {
    DeviceState s = positioner.State();
    s.valve.position = position;
    s.valve.deadBand = deadBand;
    s.valve.breakaway = breakaway;
    positioner.SetState(s);
  }

  plat::ManualClock clock;
  plat::ScopedTimeSource time{clock};
  Positioner positioner;
};

// Friction and dead band off: the bare lag, 50 % to 80 %.
TEST_F(ValveTest, DigitalStepFollowsTheLag) {
  Valve(50, 0, 0);
  ASSERT_EQ(Send(kDigital)->at(2), kRcSuccess);
  ASSERT_EQ(Send(kCommand80)->at(2), kRcSuccess);
  EXPECT_EQ(Read(6), 80);
  EXPECT_EQ(Read(10), 50);

  struct Point {
    std::int64_t ms;
    double position;  // 80 - 30 e^(-t / 1.5)
  };
  const Point points[] = {{1500, 68.963617}, {3000, 75.939942}, {4500, 78.506388}, {7500, 79.797862}};
  std::int64_t at = 0;
  double last = 50;
  for (const Point& p : points) {
    // Sampled every 100 ms on the way: it rises and never overshoots.
    while (at < p.ms) {
      clock.Advance(100);
      at += 100;
      positioner.CatchUp();
      const double x = positioner.Variable(10);
      EXPECT_GT(x, last) << at;
      EXPECT_LT(x, 80) << at;
      last = x;
    }
    SCOPED_TRACE(p.ms);
    EXPECT_NEAR(Read(10), p.position, 1e-4);
    EXPECT_NEAR(Read(12), 80 - p.position, 1e-4);
  }
}

struct SettleCase {
  const char* name;
  double from;
  Bytes command;  // 201 of variable 3
  double settled;
};
void PrintTo(const SettleCase& c, std::ostream* os) { *os << c.name; }

class Settling : public ValveTest, public testing::WithParamInterface<SettleCase> {};

// Dead band 0.2 %, breakaway 0.5 %: the stem stops in the first step that
// starts within the dead band, and stays there; the deviation is what is
// left of the command.
TEST_P(Settling, StopsWithinTheDeadBand) {
  const SettleCase& c = GetParam();
  Valve(c.from, 0.2, 0.5);
  Send(kDigital);
  Send(c.command);
  clock.Advance(20'000);
  EXPECT_NEAR(Read(10), c.settled, 1e-4);
  EXPECT_NEAR(Read(12), Read(6) - c.settled, 1e-4);
  clock.Advance(60'000);
  EXPECT_NEAR(Read(10), c.settled, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, Settling,
    testing::Values(
        // 30 e^(-t/1.5) <= 0.2 first after 752 steps: 80 - 30 e^(-7.52/1.5).
        SettleCase{"Up30", 50, kCommand80, 79.800539},
        // 0.6 > 0.5 breaks away; 0.6 e^(-t/1.5) <= 0.2 after 165 steps.
        SettleCase{"JustPastBreakaway", 50, kCommand50p6, 50.400277},
        // 0.4 < 0.5: friction holds the stem.
        SettleCase{"WithinBreakaway", 50.2, kCommand50p6, 50.2},
        // Against the stop at 101.
        SettleCase{"PastTheStroke", 90, {201, 6, 0, 3, 0x42, 0xDC, 0x00, 0x00}, 101},
        // Approaching 50 from either side ends 0.2 short of it (691 steps).
        SettleCase{"DownTo50", 70, {201, 6, 0, 3, 0x42, 0x48, 0x00, 0x00}, 50.199701},
        SettleCase{"UpTo50", 30, {201, 6, 0, 3, 0x42, 0x48, 0x00, 0x00}, 49.800299}),
    [](const auto& info) { return info.param.name; });

// Analog mode follows the loop current's percent, and a digital command
// written meanwhile waits for the switch to digital.
TEST_F(ValveTest, AnalogModeFollowsTheInputAndTheSwitchTakesTheDigitalCommand) {
  EXPECT_EQ(Read(2), 50);
  EXPECT_EQ(Read(1), 12);
  EXPECT_EQ(Send(kCommand80), (Bytes{201, 8, 0, 0, 0, 3, 0x42, 0xA0, 0x00, 0x00}));
  positioner.SetVariable(2, 30);
  EXPECT_EQ(Read(1), 8.8f);  // 4 + 16 * 30 %
  EXPECT_EQ(Read(6), 30);
  clock.Advance(10'000);
  // 19.75 e^(-t/1.5) <= 0.2 after 689 steps: 30 + 19.75 e^(-6.89/1.5)
  EXPECT_NEAR(Read(10), 30.199852, 1e-4);
  EXPECT_EQ(Read(3), 80);

  EXPECT_EQ(Send(kDigital), (Bytes{201, 5, 0, 0, 0, 8, 1}));
  EXPECT_EQ(Read(6), 80);
  clock.Advance(10'000);
  EXPECT_NEAR(Read(10), 80, 0.2);

  EXPECT_EQ(Send(kAnalog), (Bytes{201, 5, 0, 0, 0, 8, 0}));
  EXPECT_EQ(Read(6), 30);
}

TEST_F(ValveTest, NothingMovesWhileTimeStands) {
  Valve(50, 0, 0);
  Send(kDigital);
  Send(kCommand80);
  const DeviceState before = positioner.State();
  for (int i = 0; i < 50; ++i) Send({200, 4, 0, 10, 0, 12});
  positioner.CatchUp();
  EXPECT_EQ(positioner.State(), before);

  // Less than a step is no step, but it is not lost either.
  clock.Advance(9);
  EXPECT_EQ(Read(10), 50);
  clock.Advance(1);
  EXPECT_GT(Read(10), 50);
}

TEST_F(ValveTest, AClockThatJumpsHoursOrStartsOverIsTaken) {
  Valve(50, 0.2, 0.5);
  Send(kDigital);
  Send(kCommand80);
  clock.Advance(10LL * 3600 * 1000);
  EXPECT_NEAR(Read(10), 79.800539, 1e-4);

  // A new clock counts from 0 again: the valve goes on from there.
  plat::ManualClock other;
  plat::ScopedTimeSource swapped{other};
  Send({201, 6, 0, 3, 0x42, 0x48, 0x00, 0x00});
  EXPECT_NEAR(Read(10), 79.800539, 1e-4);
  other.Advance(1500);
  // From the settled 79.8 down to 50: 50 + 29.800539 e^-1.
  EXPECT_NEAR(Read(10), 60.963006, 1e-4);
}

// Values the writes of 6 and 12 and the setters give: what they follow
// from is set, so that they read back.
TEST_F(ValveTest, DerivedVariablesSetWhatTheyFollowFrom) {
  positioner.SetVariable(6, 40);
  EXPECT_EQ(positioner.Variable(2), 40);
  positioner.SetVariable(12, 2.5);
  EXPECT_EQ(positioner.Variable(10), 37.5);
  positioner.SetVariable(1, 20);
  EXPECT_EQ(positioner.Variable(2), 100);
  EXPECT_EQ(Send({201, 3, 0, 8, 1})->at(2), kRcSuccess);
  EXPECT_EQ(Send({201, 6, 0, 6, 0x42, 0x20, 0x00, 0x00}), (Bytes{201, 8, 0, 0, 0, 6, 0x42, 0x20, 0x00, 0x00}));
  EXPECT_EQ(positioner.Variable(3), 40);
}

TEST(ValveModelTest, PilotRelayLeansWithTheErrorAndHoldsAtRest) {
  ValveModel valve;
  valve.position = 50;
  valve.breakaway = 0;
  Step(valve, 51, 0.01);
  EXPECT_EQ(valve.pilotCommand, 58);  // 50 + 8 x 1 %
  Step(valve, 0, 0.01);
  EXPECT_EQ(valve.pilotCommand, 0);  // held to 0..100

  ValveModel rest;  // a fresh device's valve stays as it is
  const ValveModel before = rest;
  for (int i = 0; i < 1000; ++i) Step(rest, 50, 0.01);
  EXPECT_EQ(rest, before);
}

// The dashboard's flags and temperature share their place with the records.
TEST_F(ValveTest, DashboardFlagsAndTemperatureFollowTheRecords) {
  EXPECT_EQ(Send({200, 6, 1, 8, 0, 55, 0, 56}), (Bytes{200, 11, 0, 0, 1, 8, 0, 0, 55, 8, 0, 56, 8}));
  EXPECT_EQ(Send({201, 3, 1, 8, 0x06})->at(2), kRcSuccess);
  const std::optional<Bytes> setup = Send({132});
  ASSERT_TRUE(setup && setup->size() == 55);
  EXPECT_EQ(setup->at(4 + 37), 1);
  EXPECT_EQ(setup->at(4 + 50), 1);
  DeviceState s = positioner.State();
  s.setup.commandPosition[50] = 0;
  positioner.SetState(s);
  EXPECT_EQ(Send({200, 2, 1, 8}), (Bytes{200, 5, 0, 0, 1, 8, 0x04}));

  EXPECT_EQ(Read(135), 35);
  Send({201, 3, 0, 152, 33});
  EXPECT_EQ(Read(135), 95);
  positioner.SetVariable(135, 212);
  EXPECT_EQ(positioner.State().status.temperature.current, 100);
  EXPECT_EQ(Send({168})->at(4), 33);
}

}  // namespace
}  // namespace sim::test
