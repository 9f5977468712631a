#pragma once
// What wears and drifts while the simulated valve works: the travel and
// cycle counters of the valve and the pilot relay, the pilot relay's
// response time, the piezo voltage, the temperature and the deviation and
// position histograms. All of it follows the valve's steps and the
// device's clock, so a run on the manual clock is repeatable.
//
// Counting, for the valve (stem position) and the pilot relay (its
// position) alike, with the travel deadband 309 and the cycle deadband 310:
// - travel: a counting point lags the part by up to half the deadband each
//   way and counts every percent it moves; 100 % is one full stroke. A move
//   after a reversal counts all but the deadband, a move within it nothing.
// - cycles: a second counting point on the cycle deadband; each time it
//   turns back, one cycle. So a reversal counts once the part has come back
//   further than the deadband, and a jitter inside it never does.
// Each counted pilot relay cycle slows the relay's response (295) a little;
// the piezo voltage (490) leans with the pilot relay command.
//
// The histograms take a sample each second of the device's clock: the
// deviation (command less position) into one of 31 bins, the position into
// one of 12. The temperature is taken each minute: mean + swing x
// sin(2 pi x hours of the day / 24), so it stands at the mean at 0 h and
// 12 h, highest at 6 h; the highest and lowest records follow it.
#include <cstddef>
#include <cstdint>

namespace sim {

struct DeviceState;
struct ValveModel;

inline constexpr std::int64_t kHistogramSampleMs = 1000;
inline constexpr std::int64_t kTemperatureSampleMs = 60'000;

// Seconds of pilot relay response time per counted pilot relay cycle, and
// the slowest it gets.
inline constexpr double kResponseWearPerCycle = 1e-7;
inline constexpr double kSlowestResponse = 1.0;
// Volts of piezo voltage per percent of pilot relay command.
inline constexpr double kPiezoLean = 0.125;

// Deviation bins, symmetric about bin 15 (within ±0.5 %): one per percent
// out to ±5.5 %, then 5.5-15, ten-percent bins out to ±95 and the rest.
// A value on a bin edge goes to the bin nearer 0.
std::size_t DeviationBin(double deviation);
// Position bins: below 2 %, 2-10, ten-percent bins up to 90, 90-92 and
// from 92 %. A value on an edge goes to the bin above it.
std::size_t PositionBin(double position);

// After one valve step from `before`; the device's clock has moved on from
// `fromMs` to where it now stands.
void Age(DeviceState& state, const ValveModel& before, std::int64_t fromMs);
// The device's clock has moved on from `fromMs` with the valve at rest.
void AgeAtRest(DeviceState& state, std::int64_t fromMs);

// A temperature reading (°C) from outside: the swing goes on round it.
void SetTemperature(DeviceState& state, double celsius);
// Moves the mean so that the swing passes through the current reading now.
void CentreTemperature(DeviceState& state);

}  // namespace sim
