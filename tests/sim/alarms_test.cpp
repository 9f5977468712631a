// The status bits the simulated positioner works out from its own state,
// and the events their changes leave in the histories.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>

#include "platform/sys/time_source.h"
#include "sim/positioner.h"
#include "tests/sim/bytes.h"

namespace sim::test {
namespace {

class AlarmTest : public testing::Test {
 protected:
  std::optional<Bytes> Send(const Bytes& request) { return positioner.Transact(request); }
  void Change(const std::function<void(DeviceState&)>& change) {
    DeviceState state = positioner.State();
    change(state);
    positioner.SetState(state);
  }
  void Advance(std::int64_t ms) {
    clock.Advance(ms);
    positioner.CatchUp();
  }
  bool BitSet(std::uint8_t code) const { return (positioner.State().status.bytes[code / 8] >> (code % 8) & 1) != 0; }
  static EventRecord Last(const EventHistory& history) { return history.records.back(); }

  plat::ManualClock clock;
  plat::ScopedTimeSource time{clock};
  Positioner positioner;
};

TEST_F(AlarmTest, AFreshDeviceRaisesNothingAsTimeGoesBy) {
  const DeviceState fresh = positioner.State();
  Advance(60'000);
  const DeviceState later = positioner.State();
  EXPECT_EQ(later.status.bytes, fresh.status.bytes);
  EXPECT_EQ(later.history, fresh.history);
  EXPECT_EQ(positioner.Variable(42), 0);
}

struct ConditionCase {
  const char* name;
  std::uint16_t variable;
  double raise;
  double clear;  // the edge of the condition where a neighbour band does not start there
  std::uint8_t code;
};
void PrintTo(const ConditionCase& c, std::ostream* os) { *os << c.name; }

class Condition : public AlarmTest, public testing::WithParamInterface<ConditionCase> {};

TEST_P(Condition, RaisesAndClearsItsBitWithAnEventEachWay) {
  const ConditionCase& c = GetParam();
  const std::size_t alarms = positioner.State().history.alarmEvents.records.size();

  positioner.SetVariable(c.variable, c.raise);
  EXPECT_TRUE(BitSet(c.code));
  EXPECT_EQ(positioner.Variable(42), c.code);
  positioner.SetVariable(c.variable, c.clear);
  EXPECT_FALSE(BitSet(c.code));
  EXPECT_EQ(positioner.Variable(42), 0);

  const HistoryRecords history = positioner.State().history;
  ASSERT_EQ(history.alarmEvents.records.size(), alarms + 2);
  for (const EventHistory* h : {&history.alarmEvents, &history.allEvents}) {
    const auto& r = h->records;
    EXPECT_EQ(r[r.size() - 2].code, c.code);
    EXPECT_EQ(r[r.size() - 2].state, 1);
    EXPECT_EQ(r.back().code, c.code);
    EXPECT_EQ(r.back().state, 0);
  }
}

// Limits of a fresh device: position 95/5, cycles and travel 500000/50000,
// pilot 2000000/200000, response 0.125/0.25 s.
INSTANTIATE_TEST_SUITE_P(
    Cases, Condition,
    testing::Values(ConditionCase{"PositionHigh", 10, 95.5, 95, 96},
                    ConditionCase{"PositionLow", 10, 4.5, 5, 97},
                    ConditionCase{"ValveCycles", 305, 500000, 499999, 104},
                    ConditionCase{"ValveTravel", 301, 50000, 49999, 105},
                    ConditionCase{"PilotCycles", 335, 2000000, 1999999, 110},
                    ConditionCase{"PilotTravel", 331, 200000, 199999, 111},
                    ConditionCase{"ResponseWarning", 295, 0.25, 0.125, 144},
                    ConditionCase{"ResponseAlarm", 295, 0.26, 0.1, 145},
                    ConditionCase{"PiezoHighWarning", 490, 20, 19.99, 146},
                    ConditionCase{"PiezoHighAlarm", 490, 22.75, 12.5, 147},
                    ConditionCase{"PiezoLowWarning", 490, 2, 2.01, 148},
                    ConditionCase{"PiezoLowAlarm", 490, -8.01, 12.5, 149},
                    ConditionCase{"TemperatureHigh", 135, 80.5, 80, 156},
                    ConditionCase{"TemperatureLow", 135, -40.5, -40, 157},
                    ConditionCase{"StrokeCalibration", 170, 1, 0, 81}),
    [](const auto& info) { return info.param.name; });

// A pair's warning bit stands for its warning band only, so that the
// annunciator, where the warning wins, shows an alarm as an alarm.
TEST_F(AlarmTest, PiezoVoltageFallsIntoOneBandAtATime) {
  const struct {
    double volts;
    std::uint8_t bits;  // byte 18
  } cases[] = {{-8.01, 0x20}, {-8, 0x10}, {2, 0x10}, {2.01, 0}, {19.99, 0}, {20, 0x04}, {22.74, 0x04}, {22.75, 0x08}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.volts);
    positioner.SetVariable(490, c.volts);
    EXPECT_EQ(positioner.State().status.bytes[18], c.bits);
  }
}

// Friction holds the stem, so the deviation stays where the command leaves it.
class DeviationAlert : public AlarmTest {
 protected:
  void SetUp() override { Change([](DeviceState& s) { s.valve.breakaway = 100; }); }
  void Deviate(bool outside) { positioner.SetVariable(2, outside ? 60.0 : 52.0); }  // tolerance 5 %
};

TEST_F(DeviationAlert, RisesAfterAWholeTimeFrameOutsideAndFallsAtOnce) {
  Deviate(true);
  Advance(9'990);
  EXPECT_FALSE(BitSet(88));
  Advance(10);
  EXPECT_TRUE(BitSet(88));
  Deviate(false);
  EXPECT_FALSE(BitSet(88));
}

TEST_F(DeviationAlert, ADipInsideTheBandStartsTheTimeFrameAgain) {
  Deviate(true);
  Advance(6'000);
  Deviate(false);
  Deviate(true);
  Advance(6'000);
  EXPECT_FALSE(BitSet(88));
  Advance(4'000);
  EXPECT_TRUE(BitSet(88));
}

TEST_F(DeviationAlert, FollowsAWrittenTimeFrame) {
  positioner.SetVariable(120, 2.5);
  Deviate(true);
  Advance(2'490);
  EXPECT_FALSE(BitSet(88));
  Advance(10);
  EXPECT_TRUE(BitSet(88));
}

// 17521 h 1 min 1.5 s on the device's clock: hours 0x4471, 61 s.
TEST_F(AlarmTest, EventsAreStampedWithTheDevicesClock) {
  Advance(3'661'500);
  positioner.SetVariable(10, 96);
  const EventRecord expected{96, 1, {0x00, 0x00, 0x44, 0x71, 0x00, 0x3D}};
  EXPECT_EQ(Last(positioner.State().history.alarmEvents), expected);
  EXPECT_EQ(Last(positioner.State().history.allEvents), expected);
}

TEST_F(AlarmTest, MasksDecideWhatCountsTowardThePriorityCode) {
  positioner.SetVariable(10, 96);    // S12.0
  positioner.SetVariable(135, 85);  // S19.4
  EXPECT_EQ(positioner.Variable(42), 96);
  Change([](DeviceState& s) { s.status.masks[12] = 0xFE; });
  EXPECT_EQ(positioner.Variable(42), 156);
  Change([](DeviceState& s) { s.status.masks[19] = 0xEF; });
  EXPECT_EQ(positioner.Variable(42), 0);
  EXPECT_TRUE(BitSet(96));
  EXPECT_TRUE(BitSet(156));
}

// Status byte 1 bit 0 follows the command mode of variable 8 (bit 0 set:
// digital), beside a bit of byte 1 set from outside (bit 1, tight
// shut-off); the priority code names the mode while nothing ranks before it.
TEST_F(AlarmTest, TheDigitalCommandModeBitFollowsTheControlMode) {
  Change([](DeviceState& s) { s.status.bytes[1] = 0x02; });
  const struct {
    std::uint8_t mode;
    std::uint8_t byte1;
    std::uint8_t priority;
  } cases[] = {{0x01, 0x03, 8}, {0x00, 0x02, 9}, {0x03, 0x03, 8}, {0x02, 0x02, 9}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int{c.mode});
    ASSERT_EQ(Send({201, 3, 0, 8, c.mode}), (Bytes{201, 5, 0, 0, 0, 8, c.mode}));
    EXPECT_EQ(Send({174}), (Bytes{174, 34, 0, 0, 0x00, c.byte1} + Zeros(30)));
    EXPECT_EQ(Send({200, 2, 0, 42}), (Bytes{200, 5, 0, 0, 0, 42, c.priority}));
  }
}

// A derived bit follows its condition only when the condition changes.
TEST_F(AlarmTest, ABitSetFromOutsideStaysUntilItsConditionChanges) {
  Change([](DeviceState& s) {
    s.status.bytes[12] = 0x01;  // S12.0 while the valve is mid-travel
    s.status.bytes[4] = 0x02;   // no condition of the device's own
  });
  Advance(60'000);
  ASSERT_TRUE(Send({174}));
  EXPECT_TRUE(BitSet(96));
  EXPECT_TRUE(BitSet(33));
  EXPECT_EQ(positioner.Variable(42), 33);

  positioner.SetVariable(10, 96);  // the condition rises: the bit is on already, no event
  const std::size_t events = positioner.State().history.alarmEvents.records.size();
  Change([](DeviceState& s) { s.status.bytes[12] = 0; });
  Advance(1'000);
  EXPECT_FALSE(BitSet(96));
  EXPECT_EQ(positioner.State().history.alarmEvents.records.size(), events);
}

TEST_F(AlarmTest, FullHistoriesDropTheirOldestRecord) {
  Change([](DeviceState& s) {
    s.history.allEvents = {};
    s.history.allEvents.lastBlock = 3;
    for (std::uint8_t k = 0; k < 32; ++k) s.history.allEvents.records.push_back({k, 1, {}});
    s.history.alarmEvents.records.resize(200);
  });
  positioner.SetVariable(10, 96);
  const HistoryRecords h = positioner.State().history;
  ASSERT_EQ(h.allEvents.records.size(), 32u);
  EXPECT_EQ(h.allEvents.records.front().code, 1);
  EXPECT_EQ(h.allEvents.records.back().code, 96);
  ASSERT_EQ(h.alarmEvents.records.size(), 200u);
  EXPECT_EQ(h.alarmEvents.records.back().code, 96);
}

// A calibration goes into the calibration history too; the others only
// hear of status bits.
TEST_F(AlarmTest, ACalibrationAppendsToTheCalibrationHistory) {
  const std::size_t calibrations = positioner.State().history.calibrationEvents.records.size();
  positioner.SetVariable(10, 96);
  ASSERT_TRUE(Send({201, 3, 0, 170, 1}));
  ASSERT_TRUE(Send({201, 3, 0, 170, 0}));
  const EventHistory h = positioner.State().history.calibrationEvents;
  ASSERT_EQ(h.records.size(), calibrations + 2);
  EXPECT_EQ(h.records[calibrations].code, 81);
  EXPECT_EQ(h.records[calibrations].state, 1);
  EXPECT_EQ(h.records.back().code, 81);
  EXPECT_EQ(h.records.back().state, 0);
}

// After a clear the alarm history holds only what happened since; block 0
// carries it, the rest of the block zeros.
TEST_F(AlarmTest, AClearedHistoryStartsAfresh) {
  ASSERT_TRUE(Send({201, 3, 1, 198, 2}));
  ASSERT_TRUE(Send({201, 6, 1, 198, 0, 1, 203, 0}));
  EXPECT_TRUE(positioner.State().history.alarmEvents.records.empty());
  positioner.SetVariable(10, 96);
  EXPECT_EQ(Send({242}),
            (Bytes{242, 67, 0, 0, 96, 1, 0x00, 0x00, 0x44, 0x70, 0x00, 0x00} + Zeros(56) + Bytes{0}));
}

}  // namespace
}  // namespace sim::test
