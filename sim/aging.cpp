#include "sim/aging.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "sim/positioner.h"
#include "sim/variables.h"

namespace sim {

namespace {

constexpr std::uint16_t kResponseTime = 295;
constexpr std::uint16_t kTravelDeadband = 309;
constexpr std::uint16_t kCycleDeadband = 310;
constexpr std::uint16_t kPiezoVoltage = 490;
constexpr std::int64_t kMsPerDay = 24 * kMsPerHour;

// Bin edges by distance from 0 and by position.
constexpr double kDeviationEdges[] = {0.5, 1.5, 2.5, 3.5, 4.5, 5.5, 15, 25, 35, 45, 55, 65, 75, 85, 95};
constexpr std::size_t kDeviationCentre = 15;
constexpr double kPositionEdges[] = {2, 10, 20, 30, 40, 50, 60, 70, 80, 90, 92};
// The deviation histogram comes in parts of 10, 11 and 10 bins.
constexpr std::size_t kSecondPart = 10;
constexpr std::size_t kThirdPart = 21;
constexpr std::size_t kPositionHistogram = 3;

// A counter stops at its top instead of starting again from 0.
void Add(std::uint32_t& counter, std::int64_t count) {
  const std::int64_t room = std::numeric_limits<std::uint32_t>::max() - counter;
  counter += static_cast<std::uint32_t>(std::min(count, room));
}

// Whole periods of the clock that begin after `from` and by `to`.
std::int64_t Crossings(std::int64_t from, std::int64_t to, std::int64_t period) {
  const auto floorDiv = [period](std::int64_t t) { return t / period - (t % period < 0 ? 1 : 0); };
  return floorDiv(to) - floorDiv(from);
}

double Half(double deadband) { return deadband > 0 ? deadband / 2 : 0; }  // NaN too

// Moves a counting point that the part drags along on a play of `half`
// either way (slack: counting point less part), by the part's move
// `delta`; gives the counting point's own move.
double Drag(double& slack, double delta, double half) {
  const double loose = slack - delta;
  slack = std::clamp(loose, -half, half);
  return slack - loose;
}

// Counts one part's move; gives the cycles it counted.
int Count(TravelCycle& record, double delta, double travelDeadband, double cycleDeadband) {
  Odometer& o = record.odometer;
  o.travelPercent += std::abs(Drag(o.travelSlack, delta, Half(travelDeadband)));
  if (o.travelPercent >= 100) {
    const double strokes = std::floor(o.travelPercent / 100);
    Add(record.count1, static_cast<std::int64_t>(strokes));
    o.travelPercent -= strokes * 100;
  }
  const double moved = Drag(o.cycleSlack, delta, Half(cycleDeadband));
  if (moved == 0) return 0;
  const std::int8_t direction = moved > 0 ? 1 : -1;
  const bool reversed = o.direction != 0 && direction != o.direction;
  o.direction = direction;
  if (!reversed) return 0;
  Add(record.count2, 1);
  return 1;
}

double Swing(const Temperature& t, std::int64_t clockMs) {
  const std::int64_t ofDay = (clockMs % kMsPerDay + kMsPerDay) % kMsPerDay;
  return t.swing * std::sin(2 * std::numbers::pi * static_cast<double>(ofDay) / kMsPerDay);
}

void Read(Temperature& t, double celsius) {
  t.current = static_cast<float>(celsius);
  t.highest = std::max(t.highest, t.current);
  t.lowest = std::min(t.lowest, t.current);
}

}  // namespace

std::size_t DeviationBin(double deviation) {
  const double distance = std::abs(deviation);
  const auto ring = static_cast<std::size_t>(
      std::count_if(std::begin(kDeviationEdges), std::end(kDeviationEdges), [distance](double e) { return e < distance; }));
  return deviation < 0 ? kDeviationCentre - ring : kDeviationCentre + ring;
}

std::size_t PositionBin(double position) {
  return static_cast<std::size_t>(
      std::count_if(std::begin(kPositionEdges), std::end(kPositionEdges), [position](double e) { return e <= position; }));
}

void Age(DeviceState& state, const ValveModel& before, std::int64_t fromMs) {
  const ValveModel& valve = state.valve;
  const bool stem = valve.position != before.position;
  const bool pilot = valve.pilotPosition != before.pilotPosition;
  if (stem || pilot) {
    const double travelDeadband = ReadVariable(state, kTravelDeadband);
    const double cycleDeadband = ReadVariable(state, kCycleDeadband);
    if (stem) Count(state.travel.valve, valve.position - before.position, travelDeadband, cycleDeadband);
    if (pilot && Count(state.travel.pilot, valve.pilotPosition - before.pilotPosition, travelDeadband, cycleDeadband)) {
      double& response = state.variables[kResponseTime];
      if (response < kSlowestResponse) response = std::min(response + kResponseWearPerCycle, kSlowestResponse);
    }
  }
  if (valve.pilotCommand != before.pilotCommand) {
    state.variables[kPiezoVoltage] += kPiezoLean * (valve.pilotCommand - before.pilotCommand);
  }
  AgeAtRest(state, fromMs);
}

void AgeAtRest(DeviceState& state, std::int64_t fromMs) {
  const std::int64_t now = state.alarms.clockMs;
  if (const std::int64_t samples = Crossings(fromMs, now, kHistogramSampleMs);
      samples > 0 && state.aux.recordHistograms) {
    auto& histograms = state.aux.histograms;
    const std::size_t bin = DeviationBin(FinalCommand(state) - state.valve.position);
    if (bin < kSecondPart) {
      Add(histograms[0][bin], samples);
    } else if (bin < kThirdPart) {
      Add(histograms[1][bin - kSecondPart], samples);
    } else {
      Add(histograms[2][bin - kThirdPart], samples);
    }
    Add(histograms[kPositionHistogram][PositionBin(state.valve.position)], samples);
  }
  if (Crossings(fromMs, now, kTemperatureSampleMs) > 0) {
    Temperature& t = state.status.temperature;
    Read(t, t.mean + Swing(t, now) + ProcessHeat(state.input, now));
  }
}

void SetTemperature(DeviceState& state, double celsius) {
  Read(state.status.temperature, celsius);
  CentreTemperature(state);
}

void CentreTemperature(DeviceState& state) {
  Temperature& t = state.status.temperature;
  t.mean = t.current - Swing(t, state.alarms.clockMs) - ProcessHeat(state.input, state.alarms.clockMs);
}

}  // namespace sim
