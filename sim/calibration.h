#pragma once
// The positioner's own calibrations, run on the device's clock.
//
// Stroke calibration (variable 170): writing 1 while idle starts it; the
// state code then goes 1, 21, 22 ... 53 (the codes the program names),
// each for StrokeCalibration::stateMs, while the device drives the valve
// closed, open, closed, open and back to mid-travel through the valve
// model, then 80 while it saves and 0. It never reads 0 before the end.
// It fails, standing at 81 with a flag in status byte 4, when the stem
// does not move (a stuck valve, the air off: no-motion time-out, bit 3),
// when the stroke is short (bit 0), when an end's A/D count is outside the
// converter's window (bits 1 and 2) or when the valve does not settle at
// mid-travel (bit 4). Writing 0 while it runs or stands failed aborts: 82
// for a moment, then 0. Only a run that reaches the save state changes the
// end points (80, 81) and the ILO value (17: the pilot relay's position
// while the valve holds mid-travel), clears the flags and the "stroke
// calibration required" bit, and notes that in the calibration history.
// The run moves with the valve's steps, so a clock that jumps more than a
// minute moves it on by only that minute.
//
// Command calibration (variable 14): 1 starts it, 5 takes the low point's
// A/D count (variable 88, from the loop current), 9 the high point's and
// the range, 0 ends it. The points (85, 86, 87) change only when 9 came
// before the 0 and no flag was raised: status byte 5 bit 1 for a range too
// small, bits 2 and 3 for a count below or above the converter's window.
// The command the valve follows keeps the nominal 4-20 mA scale. The loop
// calibrator (CalibrationRecords::loopCalibrator) steps the loop current
// to 4 mA at 1 and to 20 mA at 5, and gives the loop its own current back
// at the end.
//
// Zero supply (variable 74): reads the supply sensor's count; a write
// records the count written as the zero (71) and the difference to the
// highest count (73).
#include <cstdint>
#include <optional>

namespace sim {

struct DeviceState;
struct ValveModel;

inline constexpr double kLeastSupply = 5;  // psi
inline constexpr double kSupplyCountsPerPsi = 400;
inline constexpr std::int64_t kAbortMs = 2'000;

// The command calibration's converter: counts a milliampere, counts at
// 0 mA, and the window a point must fall in.
inline constexpr double kCountsPerMilliamp = 3200;
inline constexpr double kCountsAtZero = -6400;
inline constexpr double kLeastCommandCount = 1600;
inline constexpr double kMostCommandCount = 64000;
inline constexpr double kLeastCommandRange = 25600;

// The stroke calibration's window for an end's count and least stroke.
inline constexpr double kLeastSensorCount = 1000;
inline constexpr double kMostSensorCount = 64535;
inline constexpr double kLeastStrokeCounts = 10000;

bool AirOff(const DeviceState& state);
// The command the stroke calibration drives the valve to, while it does.
std::optional<double> StrokeDrive(const DeviceState& state);
// The position sensor's count at `position` % under the stored end points.
double SensorCount(const DeviceState& state, double position);
double CommandCount(double milliamps);
double SupplyCount(const DeviceState& state);

// A write of 170 or 74 is an order rather than a value to keep: carries
// it out and returns true. False for any other variable.
bool Order(DeviceState& state, std::uint16_t id, double value);
// The zero capture's reply gives the zero taken rather than the live count.
bool EchoesWritten(std::uint16_t id);
// What a kept write of 14 sets off.
void CommandCalibrationStep(DeviceState& state, double step);
// The analog input (%) the loop calibrator gives while the command
// calibration runs; none when it is off or nothing runs.
std::optional<double> CalibratorInput(const DeviceState& state);
// After each valve step from `before`: the position sensor's count
// follows a moving stem, and the stroke calibration goes on.
void AdvanceCalibration(DeviceState& state, const ValveModel& before);

}  // namespace sim
