#pragma once
// The ramp, step and partial stroke tests the device runs on its own
// valve. Writing the test type to 144 with its start bit starts a run from
// the set-up in 142, 143, 145 and 149: the valve is brought to the start,
// then each pass drives it from start to stop (back again on the second
// pass of a run both ways) and records 208 samples evenly over 1 + ramp +
// hold seconds. The finished run becomes the last record and, when
// variable 141 asked for it at the start, the baseline too. A partial
// stroke run (0x80) keeps a set-up and records of its own, times the
// stem's break-away and its arrival at the stop against the time limit
// (289), and shows the results on 285, 287 and 288.
#include <optional>

#include "sim/positioner.h"

namespace sim {

inline constexpr std::uint8_t kTestStart = 0x01;
inline constexpr std::uint8_t kTestReady = 0x02;
inline constexpr std::uint8_t kTestBothWays = 0x04;
inline constexpr std::uint8_t kTestAbort = 0x20;
inline constexpr std::uint8_t kPartialStroke = 0x80;
inline constexpr std::size_t kPassSamples = kSampleBlocks * 4;

// What a write of 144 sets off.
void WriteTestState(DeviceState& state, std::uint8_t written);

// The partial stroke set-up's slot of 142, 143, 145 or 149 while variable
// 141 selects the partial stroke records (3 baseline, 4 last); else null.
float* PstSetupSlot(DeviceState& state, std::uint16_t id);
std::optional<double> PstSetupValue(const DeviceState& state, std::uint16_t id);

// The set-point a running test drives the valve to.
std::optional<double> TestDrive(const DeviceState& state);

// One valve step of kValveStepMs on: records what falls due, ends passes.
void AdvanceTest(DeviceState& state);

// The record 212 and 214 serve, as variable 141 selects it.
const TestResult& SelectedResult(const DeviceState& state);

// A device leaves the works with baselines of its own valve: a ramp both
// ways over the whole stroke, and a step in mid-stroke.
void RecordFactoryBaselines(DeviceState& state);
const RampSamples& SelectedSamples(const DeviceState& state);

}  // namespace sim
