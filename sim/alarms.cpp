#include "sim/alarms.h"

#include <cmath>

#include "sim/positioner.h"
#include "sim/variables.h"

namespace sim {

namespace {

constexpr std::uint16_t kCommandCalibrationStep = 14;
constexpr std::uint16_t kPosition = 10;
constexpr std::uint16_t kDeviation = 12;
constexpr std::uint16_t kPositionHigh = 117;
constexpr std::uint16_t kPositionLow = 118;
constexpr std::uint16_t kDeviationTolerance = 119;
constexpr std::uint16_t kDeviationTimeFrame = 120;
constexpr std::uint16_t kSensorCalibration = 170;
constexpr std::uint16_t kResponseTime = 295;
constexpr std::uint16_t kResponseWarning = 296;
constexpr std::uint16_t kResponseAlarm = 297;
constexpr std::uint16_t kPiezoVoltage = 490;

constexpr std::uint8_t kDigitalCommandMode = 8;      // S1.0
constexpr std::uint8_t kCalibrationInProgress = 81;  // S10.1
constexpr std::uint8_t kStrokeCalibrating = 24;      // S3.0
constexpr std::uint8_t kSettingIlo = 25;             // S3.1
constexpr std::uint8_t kCommandCalibrating = 28;     // S3.4
constexpr double kSettingIloState = 52;
constexpr double kAbortState = 82;

double Var(const DeviceState& s, std::uint16_t id) { return ReadVariable(s, id); }

// A zero limit sets no warning.
bool Reached(std::uint32_t count, std::uint32_t limit) { return limit != 0 && count >= limit; }

bool DeviationAlert(const DeviceState& s) {
  const std::int64_t since = s.alarms.deviationSinceMs;
  return since >= 0 && s.alarms.clockMs - since >= std::llround(Var(s, kDeviationTimeFrame) * 1000);
}

// A pair's warning bit stands for the warning band only, so that the alarm
// band shows as the alarm.
bool ResponseWarning(const DeviceState& s) {
  const double t = Var(s, kResponseTime);
  return t > Var(s, kResponseWarning) && t <= Var(s, kResponseAlarm);
}

struct Derived {
  std::uint8_t code;  // byte x 8 + bit
  bool (*on)(const DeviceState&);
};

// The derived bits; every other status bit is only ever set from outside.
// Piezo bands in volts: alarm below -8 and from 22.75, warning up to 2 and
// from 20.
constexpr Derived kDerived[] = {
    {kDigitalCommandMode, Digital},
    // The abort state only restores control: the calibration is over.
    {kCalibrationInProgress,
     [](const DeviceState& s) {
       const double stroke = Var(s, kSensorCalibration);
       return (stroke != 0 && stroke != kAbortState) || Var(s, kCommandCalibrationStep) != 0;
     }},
    {kStrokeCalibrating, [](const DeviceState& s) { return s.calibration.stroke.phase == StrokePhase::Running; }},
    {kSettingIlo,
     [](const DeviceState& s) {
       return s.calibration.stroke.phase == StrokePhase::Running && Var(s, kSensorCalibration) == kSettingIloState;
     }},
    {kCommandCalibrating, [](const DeviceState& s) { return Var(s, kCommandCalibrationStep) != 0; }},
    {88, DeviationAlert},                                                                     // S11.0
    {96, [](const DeviceState& s) { return Var(s, kPosition) > Var(s, kPositionHigh); }},    // S12.0
    {97, [](const DeviceState& s) { return Var(s, kPosition) < Var(s, kPositionLow); }},     // S12.1
    {104, [](const DeviceState& s) { return Reached(s.travel.valve.count2, s.travel.valve.limit2A); }},  // S13.0 cycles
    {105, [](const DeviceState& s) { return Reached(s.travel.valve.count1, s.travel.valve.limit1A); }},  // S13.1 travel
    {110, [](const DeviceState& s) { return Reached(s.travel.pilot.count2, s.travel.pilot.limit2A); }},  // S13.6
    {111, [](const DeviceState& s) { return Reached(s.travel.pilot.count1, s.travel.pilot.limit1A); }},  // S13.7
    {144, ResponseWarning},                                                                        // S18.0
    {145, [](const DeviceState& s) { return Var(s, kResponseTime) > Var(s, kResponseAlarm); }},  // S18.1
    {146, [](const DeviceState& s) { return Var(s, kPiezoVoltage) >= 20 && Var(s, kPiezoVoltage) < 22.75; }},
    {147, [](const DeviceState& s) { return Var(s, kPiezoVoltage) >= 22.75; }},
    {148, [](const DeviceState& s) { return Var(s, kPiezoVoltage) >= -8 && Var(s, kPiezoVoltage) <= 2; }},
    {149, [](const DeviceState& s) { return Var(s, kPiezoVoltage) < -8; }},
    {156, [](const DeviceState& s) { return s.status.temperature.current > 80; }},   // S19.4
    {157, [](const DeviceState& s) { return s.status.temperature.current < -40; }},  // S19.5
};

bool Bit(const std::array<std::uint8_t, 32>& bytes, std::uint8_t code) {
  return (bytes[code / 8] >> (code % 8) & 1) != 0;
}

void SetBit(std::array<std::uint8_t, 32>& bytes, std::uint8_t code, bool on) {
  const auto bit = static_cast<std::uint8_t>(1u << (code % 8));
  bytes[code / 8] = static_cast<std::uint8_t>(on ? bytes[code / 8] | bit : bytes[code / 8] & ~bit);
}

}  // namespace

void WorkOutAlarms(DeviceState& state) {
  AlarmRecords& alarms = state.alarms;
  if (std::abs(Var(state, kDeviation)) <= Var(state, kDeviationTolerance)) {
    alarms.deviationSinceMs = -1;
  } else if (alarms.deviationSinceMs < 0) {
    alarms.deviationSinceMs = alarms.clockMs;
  }
  for (const Derived& d : kDerived) {
    const bool on = d.on(state);
    if (on == Bit(alarms.worked, d.code)) continue;
    SetBit(alarms.worked, d.code, on);
    if (on == Bit(state.status.bytes, d.code)) continue;
    SetBit(state.status.bytes, d.code, on);
    AppendEvent(state.history.alarmEvents, alarms, d.code, on);
    AppendEvent(state.history.allEvents, alarms, d.code, on);
    if (d.code == kCalibrationInProgress) AppendEvent(state.history.calibrationEvents, alarms, d.code, on);
  }
}

void AppendEvent(EventHistory& history, const AlarmRecords& alarms, std::uint8_t code, bool on) {
  const std::size_t capacity = (history.lastBlock + std::size_t{1}) * 8;
  while (history.records.size() >= capacity) history.records.erase(history.records.begin());
  const auto hours = static_cast<std::uint32_t>(alarms.clockMs / kMsPerHour);
  const auto seconds = static_cast<std::uint16_t>(alarms.clockMs % kMsPerHour / 1000);
  EventRecord r;
  r.code = code;
  r.state = on ? 1 : 0;
  r.extra = {static_cast<std::uint8_t>(hours >> 24), static_cast<std::uint8_t>(hours >> 16),
             static_cast<std::uint8_t>(hours >> 8),  static_cast<std::uint8_t>(hours),
             static_cast<std::uint8_t>(seconds >> 8), static_cast<std::uint8_t>(seconds)};
  history.records.push_back(r);
}

}  // namespace sim
