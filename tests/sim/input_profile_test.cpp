// The analog input under a process profile, read through command 200 as the
// program reads it: the sine and the staircase worked out by hand, the
// valve and the temperature following, and the steady default untouched.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <span>

#include "platform/sys/time_source.h"
#include "sim/input_profile.h"
#include "sim/positioner.h"
#include "sim/variables.h"
#include "tests/sim/bytes.h"

namespace sim::test {
namespace {

class InputProfileTest : public testing::Test {
 protected:
  // One float variable through 200: [200][6][rc][status][id hi][id lo][f32].
  static double Read(Positioner& p, std::uint16_t id) {
    const std::optional<Bytes> reply = p.Transact(Bytes{200, 2, 0, static_cast<std::uint8_t>(id)});
    EXPECT_TRUE(reply && reply->size() == 10 && reply->at(0) == 200 && reply->at(1) == 8 && reply->at(2) == 0) << id;
    if (!reply || reply->size() != 10) return -999;
    EXPECT_EQ(reply->at(5), id);
    return GetValue(std::span(*reply).subspan(6, 4), WireType::F32);
  }
  void Profile(InputShape shape, double periodS) {
    InputProfile input;
    input.shape = shape;
    input.periodS = periodS;
    moving.SetInputProfile(input);
  }

  plat::ManualClock clock;
  plat::ScopedTimeSource time{clock};
  Positioner moving;
  Positioner steady;
};

TEST_F(InputProfileTest, InputFollowsItsShape) {
  struct Case {
    InputShape shape;
    std::int64_t ms;
    double input;  // centre 50, amplitude 25, period 120 s
  };
  const Case cases[] = {
      {InputShape::SlowSine, 0, 50},      {InputShape::SlowSine, 30'000, 75}, {InputShape::SlowSine, 60'000, 50},
      {InputShape::SlowSine, 90'000, 25}, {InputShape::SlowSine, 150'000, 75}, {InputShape::Steps, 0, 50},
      {InputShape::Steps, 29'990, 50},    {InputShape::Steps, 30'000, 75},     {InputShape::Steps, 60'000, 50},
      {InputShape::Steps, 95'000, 25},    {InputShape::Steps, 120'000, 50},
  };
  for (const Case& c : cases) {
    Positioner fresh;
    InputProfile input;
    input.shape = c.shape;
    fresh.SetInputProfile(input);
    clock.Advance(c.ms);
    EXPECT_NEAR(Read(fresh, 2), c.input, 1e-4) << static_cast<int>(c.shape) << " at " << c.ms;
    // The loop current carries the same input: 4 + 0.16 mA per %.
    EXPECT_NEAR(Read(fresh, 1), 4 + 0.16 * c.input, 1e-4);
  }
}

// The command, the stem, the deviation and the pilot relay move with the
// input; the temperature leans with the process heat at the minute reading.
TEST_F(InputProfileTest, ValveAndTemperatureFollowTheInput) {
  Profile(InputShape::SlowSine, 240);
  const double startPosition = Read(moving, 10);
  const double startPilot = Read(moving, 48);
  clock.Advance(60'000);  // the top of the wave: 75 %
  EXPECT_NEAR(Read(moving, 6), 75, 1e-4);
  EXPECT_GT(Read(moving, 10), startPosition + 20);
  EXPECT_NE(Read(moving, 48), startPilot);
  EXPECT_NEAR(Read(moving, 135) - Read(steady, 135), 4.0, 1e-4);
  clock.Advance(120'000);  // the bottom: 25 %, 4 °C cooler than steady
  EXPECT_NEAR(Read(moving, 6), 25, 1e-4);
  EXPECT_LT(Read(moving, 10), 30);
  EXPECT_NEAR(Read(moving, 135) - Read(steady, 135), -4.0, 1e-4);
}

TEST_F(InputProfileTest, SteadyKeepsTheInputAsSet) {
  steady.SetVariable(2, 62.5);
  clock.Advance(300'000);
  EXPECT_EQ(Read(steady, 2), 62.5);
  EXPECT_EQ(steady.State().input, InputProfile{});
  // Back to steady: the input stays where the profile left it.
  Profile(InputShape::Steps, 120);
  clock.Advance(40'000);
  moving.SetInputProfile({});
  clock.Advance(60'000);
  EXPECT_NEAR(Read(moving, 2), 75, 1e-4);
}

TEST(InputShapeText, ParsesTheThreeNames) {
  InputShape shape = InputShape::Steady;
  EXPECT_TRUE(ParseInputShape("sine", &shape));
  EXPECT_EQ(shape, InputShape::SlowSine);
  EXPECT_TRUE(ParseInputShape("steps", &shape));
  EXPECT_EQ(shape, InputShape::Steps);
  EXPECT_TRUE(ParseInputShape("steady", &shape));
  EXPECT_EQ(shape, InputShape::Steady);
  EXPECT_FALSE(ParseInputShape("Sine", &shape));
  EXPECT_FALSE(ParseInputShape(nullptr, &shape));
}

}  // namespace
}  // namespace sim::test
