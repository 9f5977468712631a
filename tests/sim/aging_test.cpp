// The simulated valve as it wears: counters that follow its motion past
// their deadbands, the pilot relay's response and piezo voltage, the daily
// temperature swing and the histograms, all on the manual clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

#include "platform/sys/time_source.h"
#include "sim/aging.h"
#include "sim/positioner.h"
#include "sim/variables.h"

namespace sim::test {
namespace {

struct PathCase {
  const char* name;
  std::vector<double> path;  // stem positions, the first where it starts
  double travelPercent;      // counted with deadbands 0.5 (travel) and 1 (cycles)
  std::uint32_t cycles;
};
void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class CountingPath : public testing::TestWithParam<PathCase> {};

// Travel loses the deadband to each turn (half of it on the first move),
// and a turn counts as a cycle only once the stem is back further than
// the cycle deadband.
TEST_P(CountingPath, CountsTravelAndCyclesPastTheDeadbands) {
  const PathCase& c = GetParam();
  DeviceState state;
  FillVariables(state);
  state.travel.valve = {};
  state.valve.position = c.path.front();
  for (double p : c.path) {
    const ValveModel before = state.valve;
    state.valve.position = p;
    Age(state, before, state.alarms.clockMs);
  }
  const TravelCycle& r = state.travel.valve;
  EXPECT_NEAR(r.count1 * 100 + r.odometer.travelPercent, c.travelPercent, 1e-9);
  EXPECT_EQ(r.count2, c.cycles);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CountingPath,
    testing::Values(PathCase{"OneMove", {20, 80}, 59.75, 0},
                    // 59.75 + 59.5 + 59.5: a full stroke and 78.75 %.
                    PathCase{"BackAndForth", {20, 80, 20, 80}, 178.75, 2},
                    PathCase{"ManySmallSteps", {20, 30, 40, 50, 60, 70, 80, 70, 60, 50}, 89.25, 1},
                    // Back by the travel deadband: no travel; back by the cycle
                    // deadband: travel, but no cycle.
                    PathCase{"BackByTheDeadbands", {20, 80, 79.5, 80, 79, 80}, 60.75, 0},
                    PathCase{"BackPastTheCycleDeadband", {20, 80, 78.99}, 60.26, 1},
                    PathCase{"JitterInsideTheDeadbands", {50, 50.4, 50, 50.4, 50, 50.4, 50}, 0.15, 0}),
    [](const auto& info) { return info.param.name; });

class AgingTest : public testing::Test {
 protected:
  void Change(const std::function<void(DeviceState&)>& change) {
    DeviceState state = positioner.State();
    change(state);
    positioner.SetState(state);
  }
  void Advance(std::int64_t ms) {
    clock.Advance(ms);
    positioner.CatchUp();
  }
  // A digital command, settled.
  void MoveTo(double percent) {
    positioner.SetVariable(3, percent);
    Advance(20'000);
  }
  bool BitSet(std::uint8_t code) const { return (positioner.State().status.bytes[code / 8] >> (code % 8) & 1) != 0; }

  plat::ManualClock clock;
  plat::ScopedTimeSource time{clock};
  Positioner positioner;
};

// From 49.75 up to 80, down to 20 and up again: the stem turns twice, the
// pilot relay three times (it swings out with each move and back as the
// stem arrives), and about 148 % and 300 % of travel make whole strokes.
TEST_F(AgingTest, StrokingTheValveMovesItsAndThePilotRelaysCounters) {
  positioner.SetVariable(8, 1);
  const double response = positioner.Variable(295);
  MoveTo(80);
  EXPECT_FALSE(BitSet(146));  // the piezo voltage leans, but stays healthy
  MoveTo(20);
  MoveTo(80);
  const TravelRecords fresh;
  EXPECT_EQ(positioner.Variable(301), fresh.valve.count1 + 1);
  EXPECT_EQ(positioner.Variable(305), fresh.valve.count2 + 2);
  EXPECT_EQ(positioner.Variable(331), fresh.pilot.count1 + 2);
  EXPECT_EQ(positioner.Variable(335), fresh.pilot.count2 + 3);
  EXPECT_NEAR(positioner.Variable(295) - response, 3 * kResponseWearPerCycle, 1e-12);
  // Back at rest the piezo voltage leans by what the pilot command moved.
  EXPECT_NEAR(positioner.Variable(490), 12.5 + kPiezoLean * (positioner.Variable(48) - 52), 1e-9);
}

TEST_F(AgingTest, PiezoVoltageLeansWithThePilotCommandMidStroke) {
  Change([](DeviceState& s) { s.valve.pilotTimeConstant = 0; });
  positioner.SetVariable(8, 1);
  positioner.SetVariable(3, 90);
  Advance(100);  // far from the command: the pilot relay is fully open
  EXPECT_EQ(positioner.Variable(48), 100);
  EXPECT_NEAR(positioner.Variable(490), 12.5 + 48 * kPiezoLean, 1e-9);
}

TEST_F(AgingTest, CountersReachingTheirWarningLimitsRaiseTheirBits) {
  Change([](DeviceState& s) {
    s.travel.valve.count2 = s.travel.valve.limit2A - 1;
    s.travel.pilot.count2 = s.travel.pilot.limit2A - 1;
  });
  positioner.SetVariable(8, 1);
  MoveTo(80);
  EXPECT_FALSE(BitSet(104));
  EXPECT_TRUE(BitSet(110));  // the pilot relay turned as the stem arrived
  MoveTo(20);
  EXPECT_TRUE(BitSet(104));
}

// The swing is 3 °C round the mean, highest at 6 h and lowest at 18 h of
// the device's day; a fresh device's clock starts at 0 h.
TEST_F(AgingTest, TemperatureSwingsRoundItsMeanOverTheDay) {
  Change([](DeviceState& s) { s.status.temperature.highest = s.status.temperature.lowest = 35; });
  const struct {
    int hours;
    float celsius;
  } readings[] = {{6, 38}, {12, 35}, {18, 32}, {24, 35}};
  for (const auto& r : readings) {
    Advance(6 * kMsPerHour);
    SCOPED_TRACE(r.hours);
    EXPECT_FLOAT_EQ(positioner.State().status.temperature.current, r.celsius);
  }
  EXPECT_FLOAT_EQ(positioner.State().status.temperature.highest, 38);
  EXPECT_FLOAT_EQ(positioner.State().status.temperature.lowest, 32);
}

TEST_F(AgingTest, ASetTemperatureIsWhereTheSwingGoesOnFrom) {
  Advance(6 * kMsPerHour);
  positioner.SetVariable(135, 20);  // at the day's top: the mean is 17
  EXPECT_EQ(positioner.Variable(135), 20);
  Advance(59'000);
  EXPECT_EQ(positioner.Variable(135), 20);  // read once a minute
  Advance(6 * kMsPerHour - 59'000);
  EXPECT_FLOAT_EQ(positioner.State().status.temperature.current, 17);
  Change([](DeviceState& s) { s.status.temperature.current = 50; });
  Advance(6 * kMsPerHour);
  EXPECT_FLOAT_EQ(positioner.State().status.temperature.current, 47);
}

TEST(HistogramBins, ThePlottedPlaceOfEachBinFallsInIt) {
  const double deviation[] = {-97.5, -90, -80, -70, -60, -50, -40, -30, -20, -10.25, -5, -4, -3, -2, -1, 0,
                              1,     2,   3,   4,   5,   10.25, 20, 30, 40, 50,  60, 70, 80, 90, 97.5};
  for (std::size_t i = 0; i < std::size(deviation); ++i) EXPECT_EQ(DeviationBin(deviation[i]), i) << deviation[i];
  const double position[] = {1, 6, 15, 25, 35, 45, 55, 65, 75, 85, 91, 96};
  for (std::size_t i = 0; i < std::size(position); ++i) EXPECT_EQ(PositionBin(position[i]), i) << position[i];
}

TEST(HistogramBins, EdgesAndBeyondTheRange) {
  const struct {
    double value;
    std::size_t bin;
  } deviation[] = {{0.5, 15}, {-0.5, 15}, {0.51, 16}, {5.5, 20}, {5.51, 21}, {-15, 9}, {-15.01, 8},
                   {95, 29},  {95.01, 30}, {-95.01, 0}, {-101, 0}, {101, 30}};
  for (const auto& d : deviation) EXPECT_EQ(DeviationBin(d.value), d.bin) << d.value;
  const struct {
    double value;
    std::size_t bin;
  } position[] = {{-1, 0}, {1.99, 0}, {2, 1}, {10, 2}, {89.99, 9}, {90, 10}, {91.99, 10}, {92, 11}, {101, 11}};
  for (const auto& p : position) EXPECT_EQ(PositionBin(p.value), p.bin) << p.value;
}

// Friction holds the stem at 47 %, so the deviation stays what the
// command makes it; one sample a second, the hours skipped at rest too.
TEST_F(AgingTest, HistogramsCountEachSecondWhereTheValveStands) {
  Change([](DeviceState& s) {
    s.valve.breakaway = 100;
    s.valve.position = 47;
    s.aux.histograms = {};
  });
  positioner.SetVariable(2, 50);  // deviation 3: bin 18, part 1
  Advance(10'000);
  positioner.SetVariable(2, 27);  // deviation -20: bin 8, part 0
  Advance(2 * kMsPerHour);
  const auto& h = positioner.State().aux.histograms;
  Histogram part0{}, part1{}, position{};
  part0[8] = 7200;
  part1[8] = 10;
  position[5] = 7210;
  EXPECT_EQ(h[0], part0);
  EXPECT_EQ(h[1], part1);
  EXPECT_EQ(h[2], Histogram{});
  EXPECT_EQ(h[3], position);
}

TEST_F(AgingTest, AFullBinStaysFull) {
  Change([](DeviceState& s) { s.aux.histograms[3][5] = 0xFFFFFFFF; });  // 49.75 %
  Advance(5'000);
  EXPECT_EQ(positioner.State().aux.histograms[3][5], 0xFFFFFFFFu);
}

}  // namespace
}  // namespace sim::test
