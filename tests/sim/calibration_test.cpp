// The positioner's calibrations as a program sees them on the wire: the
// stroke calibration polled every 5 s, the command calibration's steps at
// set input currents, the zero supply capture and the mask write that the
// device takes only in part.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <optional>
#include <ostream>
#include <vector>

#include "platform/sys/time_source.h"
#include "sim/positioner.h"
#include "tests/sim/bytes.h"

namespace sim::test {
namespace {

constexpr std::int64_t kPollMs = 5'000;

class CalibrationTest : public testing::Test {
 protected:
  Bytes Send(const Bytes& request) {
    const std::optional<Bytes> reply = positioner.Transact(request);
    return reply ? *reply : Bytes{};
  }
  void Change(const std::function<void(DeviceState&)>& change) {
    DeviceState state = positioner.State();
    change(state);
    positioner.SetState(state);
  }
  std::uint8_t StrokeState() { return Send({200, 2, 0, 170}).at(6); }
  // The loop calibrator off the loop: the current stays at `milliamps`.
  void FixLoopCurrent(double milliamps) {
    Change([](DeviceState& s) { s.calibration.loopCalibrator = false; });
    positioner.SetVariable(1, milliamps);
  }
  std::uint8_t StatusByte(std::size_t index) { return Send({174}).at(4 + index); }
  // Polls as the page does until the state is `until`; the codes seen, in order.
  std::vector<std::uint8_t> PollUntil(std::uint8_t until) {
    std::vector<std::uint8_t> seen;
    for (int poll = 0; poll < 400; ++poll) {
      clock.Advance(kPollMs);
      seen.push_back(StrokeState());
      if (seen.back() == until) break;
    }
    return seen;
  }

  plat::ManualClock clock;
  plat::ScopedTimeSource time{clock};
  Positioner positioner;
};

// Each state is seen at several polls, 0 only at the end, and the stroke
// found at the valve's stops (-1 % and 101 % of the old calibration:
// 6550 - 524.3 and 6550 + 52954.3) becomes the new one.
TEST_F(CalibrationTest, AStrokeCalibrationRunsThroughItsStatesAndKeepsTheNewEnds) {
  Change([](DeviceState& s) {
    s.status.bytes[0] = 0x04;  // calibration required
    s.status.bytes[4] = 0x08;  // left by an earlier run
  });
  const std::size_t events = positioner.State().history.calibrationEvents.records.size();
  EXPECT_EQ(Send({201, 3, 0, 170, 1}), (Bytes{201, 5, 0, 0, 0, 170, 1}));

  std::vector<std::uint8_t> seen;
  std::vector<std::uint8_t> order;
  bool runningBit = true;
  bool iloBitAt52 = true;
  for (int poll = 0; poll < 400 && (seen.empty() || seen.back() != 0); ++poll) {
    clock.Advance(kPollMs);
    seen.push_back(StrokeState());
    const std::uint8_t byte3 = StatusByte(3);
    if (seen.back() != 0) runningBit = runningBit && (byte3 & 0x01) != 0;
    if (seen.back() == 52) iloBitAt52 = iloBitAt52 && (byte3 & 0x02) != 0;
    if (order.empty() || order.back() != seen.back()) order.push_back(seen.back());
  }
  EXPECT_TRUE(runningBit);
  EXPECT_TRUE(iloBitAt52);
  EXPECT_EQ(order, (std::vector<std::uint8_t>{21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 40,
                                              41, 42, 43, 44, 45, 50, 51, 52, 53, 80, 0}));
  for (std::uint8_t code : order) {
    if (code == 0) continue;
    EXPECT_GE(std::count(seen.begin(), seen.end(), code), 2) << int{code};
  }
  EXPECT_EQ(StatusByte(3) & 0x03, 0);
  EXPECT_EQ(StatusByte(4), 0);
  EXPECT_EQ(StatusByte(0) & 0x04, 0);

  EXPECT_EQ(Send({200, 4, 0, 80, 0, 81}), (Bytes{200, 10, 0, 0, 0, 80, 0x17, 0x8A, 0, 81, 0xE8, 0x70}));
  EXPECT_NE(positioner.Variable(17), 63.5);
  EXPECT_NEAR(positioner.Variable(17), 50, 3);
  // Calibration in progress on, calibration required off at the save, then in progress off.
  const std::vector<EventRecord> records = positioner.State().history.calibrationEvents.records;
  ASSERT_EQ(records.size(), events + 3);
  const std::uint8_t codes[] = {81, 2, 81};
  const std::uint8_t states[] = {1, 0, 0};
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(records[events + k].code, codes[k]);
    EXPECT_EQ(records[events + k].state, states[k]);
  }

  // The stem stayed where it was through the new scale: it reads its
  // count as before and settles back on the command.
  clock.Advance(30'000);
  positioner.CatchUp();
  EXPECT_NEAR(positioner.Variable(10), 50, 0.3);
  EXPECT_NEAR(positioner.Variable(69), 6026 + (59504 - 6026) * positioner.Variable(10) / 100, 1);
}

struct FailureCase {
  const char* name;
  std::function<void(DeviceState&)> fault;
  std::uint8_t flag;  // status byte 4
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class StrokeFailure : public CalibrationTest, public testing::WithParamInterface<FailureCase> {};

// A failed run stands at 81 with its flag, keeps the old end points, and
// leaves through the abort state.
TEST_P(StrokeFailure, StandsAtTheErrorStateUntilAborted) {
  Change(GetParam().fault);
  const DeviceState before = positioner.State();
  ASSERT_EQ(Send({201, 3, 0, 170, 1}).at(6), 1);

  const std::vector<std::uint8_t> seen = PollUntil(81);
  ASSERT_EQ(seen.back(), 81);
  EXPECT_EQ(std::count(seen.begin(), seen.end(), 0), 0);
  EXPECT_EQ(StatusByte(4), GetParam().flag);
  clock.Advance(60'000);
  EXPECT_EQ(StrokeState(), 81);

  EXPECT_EQ(Send({201, 3, 0, 170, 0}), (Bytes{201, 5, 0, 0, 0, 170, 82}));
  clock.Advance(kPollMs);
  EXPECT_EQ(StrokeState(), 0);
  EXPECT_EQ(StatusByte(3) & 0x01, 0);
  for (std::uint16_t id : {17, 80, 81}) EXPECT_EQ(positioner.Variable(id), before.variables.at(id)) << id;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrokeFailure,
    testing::Values(FailureCase{"ValveStuck", [](DeviceState& s) { s.valve.stuck = true; }, 0x08},
                    FailureCase{"AirOff", [](DeviceState& s) { s.calibration.supplyPressure = 0; }, 0x08},
                    FailureCase{"ShortStroke", [](DeviceState& s) { s.valve.lowStop = 40; s.valve.highStop = 55; }, 0x01},
                    FailureCase{"ClosedEndBelowWindow", [](DeviceState& s) { s.variables[80] = 200; }, 0x02},
                    FailureCase{"OpenEndAboveWindow", [](DeviceState& s) { s.variables[81] = 65000; }, 0x04},
                    FailureCase{"StopsShortOfMidTravel", [](DeviceState& s) { s.valve.highStop = 45; }, 0x10}),
    [](const auto& info) { return info.param.name; });

TEST_F(CalibrationTest, AnAbortInTheMiddleKeepsThePreviousCalibration) {
  const DeviceState before = positioner.State();
  Send({201, 3, 0, 170, 1});
  PollUntil(33);
  EXPECT_EQ(Send({201, 3, 0, 170, 0}), (Bytes{201, 5, 0, 0, 0, 170, 82}));
  // A second start while the abort runs is no start.
  EXPECT_EQ(Send({201, 3, 0, 170, 1}), (Bytes{201, 5, 0, 0, 0, 170, 82}));
  clock.Advance(kPollMs);
  EXPECT_EQ(StrokeState(), 0);
  for (std::uint16_t id : {17, 80, 81}) EXPECT_EQ(positioner.Variable(id), before.variables.at(id)) << id;
  clock.Advance(600'000);
  EXPECT_EQ(StrokeState(), 0);
  positioner.CatchUp();
  EXPECT_NEAR(positioner.Variable(10), 50, 0.3);
}

TEST_F(CalibrationTest, ARunThatHangsNeverEnds) {
  Change([](DeviceState& s) { s.calibration.stroke.hangAt = 24; });
  Send({201, 3, 0, 170, 1});
  PollUntil(24);
  for (int poll = 0; poll < 50; ++poll) {
    clock.Advance(kPollMs);
    ASSERT_EQ(StrokeState(), 24);
  }
}

// Counts at 3200 a mA less 6400: 4.5 mA 8000 (0x1F40), 19.5 mA 56000
// (0xDAC0), range 48000 (0xBB80).
TEST_F(CalibrationTest, TheCommandInputReadsItsCurrentAndCount) {
  positioner.SetVariable(1, 4.5);
  EXPECT_EQ(Send({200, 4, 0, 1, 0, 88}), (Bytes{200, 12, 0, 0, 0, 1, 0x40, 0x90, 0x00, 0x00, 0, 88, 0x1F, 0x40}));
}

struct CommandCase {
  const char* name;
  std::vector<std::uint8_t> steps;  // written to 14 in turn, the first at 4.5 mA, the next at `high`
  double high;                      // mA
  std::uint8_t flags;               // status byte 5
  Bytes points;                     // 85, 86, 87 afterwards
};
void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }

class CommandCalibration : public CalibrationTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(CommandCalibration, KeepsNewPointsOnlyWhenBothWereTakenCleanly) {
  const CommandCase& c = GetParam();
  FixLoopCurrent(4.5);
  for (std::uint8_t step : c.steps) {
    if (step == 9) positioner.SetVariable(1, c.high);
    ASSERT_EQ(Send({201, 3, 0, 14, step}), (Bytes{201, 5, 0, 0, 0, 14, step}));
    EXPECT_EQ(StatusByte(3) & 0x10, step != 0 ? 0x10 : 0) << int{step};
  }
  EXPECT_EQ(StatusByte(5), c.flags);
  EXPECT_EQ(Send({200, 6, 0, 85, 0, 86, 0, 87}), (Bytes{200, 14, 0, 0} + c.points));
}

const Bytes kOldPoints = {0, 85, 0x19, 0x00, 0, 86, 0xE1, 0x00, 0, 87, 0xC8, 0x00};

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandCalibration,
    testing::Values(
        CommandCase{"Clean", {1, 5, 9, 0}, 19.5, 0, {0, 85, 0x1F, 0x40, 0, 86, 0xDA, 0xC0, 0, 87, 0xBB, 0x80}},
        CommandCase{"EndedBeforeTheHighPoint", {1, 5, 0}, 19.5, 0, kOldPoints},
        CommandCase{"StepsOutOfOrder", {5, 9, 0}, 19.5, 0, kOldPoints},
        // 12 mA: 32000, 24000 above the low point.
        CommandCase{"RangeSmall", {1, 5, 9, 0}, 12, 0x02, kOldPoints},
        // 22.5 mA is past the converter's end.
        CommandCase{"AboveTheWindow", {1, 5, 9, 0}, 22.5, 0x08, kOldPoints}),
    [](const auto& info) { return info.param.name; });

// 2 mA reads 0: below the window, and a restart clears the flag.
TEST_F(CalibrationTest, ALowPointBelowTheWindowIsFlaggedUntilTheNextStart) {
  FixLoopCurrent(2);
  Send({201, 3, 0, 14, 1});
  Send({201, 3, 0, 14, 5});
  EXPECT_EQ(StatusByte(5), 0x04);
  Send({201, 3, 0, 14, 1});
  EXPECT_EQ(StatusByte(5), 0);
}

// The loop calibrator gives 4 mA for the low point (4.0 = 0x40800000,
// count 6400 = 0x1900) and 20 mA for the high one (0x41A00000, 57600 =
// 0xE100), and the loop its 12 mA (0x41400000, 32000 = 0x7D00) back at the
// end, also after a start over; the device keeps 6400, 57600 and 51200
// (0xC800) in place of the older points.
TEST_F(CalibrationTest, TheLoopCalibratorGivesEachPointItsCurrent) {
  const Bytes readInput = {200, 4, 0, 1, 0, 88};
  auto input = [](Bytes current, Bytes count) { return Bytes{200, 12, 0, 0, 0, 1} + current + Bytes{0, 88} + count; };
  const Bytes at4 = input({0x40, 0x80, 0, 0}, {0x19, 0x00});
  const Bytes at20 = input({0x41, 0xA0, 0, 0}, {0xE1, 0x00});
  const Bytes at12 = input({0x41, 0x40, 0, 0}, {0x7D, 0x00});
  positioner.SetVariable(85, 7000);
  positioner.SetVariable(86, 50000);
  positioner.SetVariable(87, 43000);
  EXPECT_EQ(Send(readInput), at12);
  const struct {
    std::uint8_t step;
    Bytes reading;
  } steps[] = {{1, at4}, {5, at20}, {1, at4}, {5, at20}, {9, at20}, {0, at12}};
  for (const auto& s : steps) {
    Send({201, 3, 0, 14, s.step});
    EXPECT_EQ(Send(readInput), s.reading) << int{s.step};
    clock.Advance(kPollMs);
    EXPECT_EQ(Send(readInput), s.reading) << int{s.step} << " later";
  }
  EXPECT_EQ(StatusByte(5), 0);
  EXPECT_EQ(Send({200, 6, 0, 85, 0, 86, 0, 87}),
            (Bytes{200, 14, 0, 0, 0, 85, 0x19, 0x00, 0, 86, 0xE1, 0x00, 0, 87, 0xC8, 0x00}));
}

// The process moves the input, but not while the calibrator is on the
// loop.
TEST_F(CalibrationTest, TheLoopCalibratorHoldsTheLoopAgainstTheProcess) {
  positioner.SetInputProfile({.shape = InputShape::SlowSine, .centre = 50, .amplitude = 25, .periodS = 120});
  Send({201, 3, 0, 14, 1});
  for (int poll = 0; poll < 6; ++poll) {
    clock.Advance(kPollMs);
    positioner.CatchUp();
    EXPECT_EQ(positioner.Variable(1), 4.0) << poll;
  }
  Send({201, 3, 0, 14, 0});
  clock.Advance(kPollMs);
  positioner.CatchUp();
  EXPECT_NE(positioner.Variable(1), 4.0);
  // 50 + 25 sin(2 pi 35 / 120): the wave's own value at the device's clock.
  EXPECT_NEAR(positioner.Variable(2), 50 + 25 * std::sin(2 * std::numbers::pi * 35 / 120), 1e-6);
}

TEST_F(CalibrationTest, CommandCalibrationRaisesItsOwnBitAndTheCommonOne) {
  positioner.SetVariable(14, 1);
  EXPECT_EQ(StatusByte(3), 0x10);
  EXPECT_EQ(StatusByte(10), 0x02);
  EXPECT_EQ(positioner.Variable(42), 28);
  positioner.SetVariable(14, 0);
  EXPECT_EQ(StatusByte(3), 0);
  EXPECT_EQ(StatusByte(10), 0);
  EXPECT_EQ(positioner.Variable(42), 0);
}

// 412 + 400 a psi: 60 psi 24412 (0x5F5C); without air 412 (0x019C).
TEST_F(CalibrationTest, TheZeroSupplyCaptureTakesTheWrittenCount) {
  EXPECT_EQ(Send({200, 2, 0, 74}), (Bytes{200, 6, 0, 0, 0, 74, 0x5F, 0x5C}));
  Change([](DeviceState& s) { s.calibration.supplyPressure = 0; });
  EXPECT_EQ(Send({200, 2, 0, 74}), (Bytes{200, 6, 0, 0, 0, 74, 0x01, 0x9C}));
  EXPECT_EQ(Send({201, 4, 0, 74, 0x01, 0x9C}), (Bytes{201, 6, 0, 0, 0, 74, 0x01, 0x9C}));
  // 72 stands at 425: the difference is 13.
  EXPECT_EQ(Send({200, 6, 0, 71, 0, 72, 0, 73}),
            (Bytes{200, 14, 0, 0, 0, 71, 0x01, 0x9C, 0, 72, 0x01, 0xA9, 0, 73, 0x00, 0x0D}));
}

TEST_F(CalibrationTest, AMaskWriteKeepsTheBitsTheDeviceHoldsFixed) {
  Change([](DeviceState& s) {
    s.status.fixedMasks[3] = 0x11;
    s.status.masks[3] = 0x01;
  });
  EXPECT_EQ(Send(Bytes{177, 32} + Repeat({0xF0}, 32)),
            (Bytes{177, 34, 0, 0} + Repeat({0xF0}, 3) + Bytes{0xE1} + Repeat({0xF0}, 28)));
}

}  // namespace
}  // namespace sim::test
