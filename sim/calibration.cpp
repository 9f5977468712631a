#include "sim/calibration.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "sim/alarms.h"
#include "sim/positioner.h"
#include "sim/variables.h"

namespace sim {

namespace {

constexpr std::uint16_t kIlo = 17;
constexpr std::uint16_t kPositionCount = 69;
constexpr std::uint16_t kSupplyZero = 71;
constexpr std::uint16_t kSupplyHighest = 72;
constexpr std::uint16_t kSupplyDifference = 73;
constexpr std::uint16_t kSupplyCount = 74;
constexpr std::uint16_t kClosedCount = 80;
constexpr std::uint16_t kOpenCount = 81;
constexpr std::uint16_t kCommandLow = 85;
constexpr std::uint16_t kCommandHigh = 86;
constexpr std::uint16_t kCommandRange = 87;
constexpr std::uint16_t kCommandCount = 88;
constexpr std::uint16_t kStrokeState = 170;

constexpr std::uint8_t kStart = 1;  // taken, and left at the next step
constexpr std::uint8_t kSaving = 80;
constexpr std::uint8_t kError = 81;
constexpr std::uint8_t kAborted = 82;

// Status byte 4: the stroke calibration's flags; byte 0 bit 2: stroke
// calibration required; byte 5 bits 1 to 3: the command calibration's.
constexpr std::uint8_t kRangeSmall = 0x01;
constexpr std::uint8_t kBelowWindow = 0x02;
constexpr std::uint8_t kAboveWindow = 0x04;
constexpr std::uint8_t kNoMotion = 0x08;
constexpr std::uint8_t kNotSettled = 0x10;
constexpr std::uint8_t kStrokeFlags = 0x3F;
constexpr std::uint8_t kCalibrationRequired = 0x04;
constexpr std::uint8_t kCalibrationRequiredCode = 2;  // byte 0 bit 2
constexpr std::uint8_t kCommandRangeSmall = 0x02;
constexpr std::uint8_t kCommandBelow = 0x04;
constexpr std::uint8_t kCommandAbove = 0x08;
constexpr std::uint8_t kCommandFlags = 0x0E;

// Beyond the stops, so that the stem goes as far as it can.
constexpr double kCloseDrive = -10;
constexpr double kOpenDrive = 110;
constexpr double kJog = 5;
constexpr double kMid = 50;
constexpr double kLeastMotion = 1;   // %
constexpr double kSettledWithin = 2;  // %

enum class Drive { Hold, Close, Jog, Open, Mid, Release };

struct StrokeState {
  std::uint8_t code;
  Drive drive;
};

constexpr StrokeState kStrokeStates[] = {
    {kStart, Drive::Hold}, {21, Drive::Hold},     {22, Drive::Close},     {23, Drive::Close},
    {24, Drive::Close},    {25, Drive::Close},    {26, Drive::Close},     {27, Drive::Jog},
    {28, Drive::Jog},      {29, Drive::Open},     {30, Drive::Open},      {31, Drive::Open},
    {32, Drive::Open},     {33, Drive::Open},     {34, Drive::Close},     {35, Drive::Close},
    {36, Drive::Close},    {40, Drive::Close},    {41, Drive::Close},     {42, Drive::Close},
    {43, Drive::Open},     {44, Drive::Open},     {45, Drive::Open},      {50, Drive::Mid},
    {51, Drive::Mid},      {52, Drive::Mid},      {53, Drive::Release},   {kSaving, Drive::Release},
};

std::uint8_t Code(const DeviceState& s) { return static_cast<std::uint8_t>(ReadVariable(s, kStrokeState)); }

const StrokeState* Current(const DeviceState& s) {
  const std::uint8_t code = Code(s);
  const auto it = std::find_if(std::begin(kStrokeStates), std::end(kStrokeStates),
                               [code](const StrokeState& st) { return st.code == code; });
  return it == std::end(kStrokeStates) ? nullptr : it;
}

void Enter(DeviceState& s, std::uint8_t code) {
  StoreVariable(s, kStrokeState, code);
  s.calibration.stroke.sinceMs = s.alarms.clockMs;
}

void Fail(DeviceState& s, std::uint8_t flag) {
  s.status.bytes[4] |= flag;
  s.calibration.stroke.phase = StrokePhase::Failed;
  Enter(s, kError);
}

// The new end points: the position scale moves with them, so that the
// stem stays where it is and reads its count as before.
void Save(DeviceState& s) {
  StrokeCalibration& run = s.calibration.stroke;
  const double low = ReadVariable(s, kClosedCount);
  const double span = ReadVariable(s, kOpenCount) - low;
  const double newSpan = run.openCount - run.closedCount;
  const auto rescale = [&](double& position) {
    position = (low + span * position / 100 - run.closedCount) / newSpan * 100;
  };
  rescale(s.valve.position);
  rescale(s.valve.lowStop);
  rescale(s.valve.highStop);
  StoreVariable(s, kClosedCount, run.closedCount);
  StoreVariable(s, kOpenCount, run.openCount);
  StoreVariable(s, kIlo, run.ilo);
  s.status.bytes[4] &= static_cast<std::uint8_t>(~kStrokeFlags);
  s.status.bytes[0] &= static_cast<std::uint8_t>(~kCalibrationRequired);
  AppendEvent(s.history.calibrationEvents, s.alarms, kCalibrationRequiredCode, false);
}

// What the state being left measured, and whether the run may go on.
bool Leave(DeviceState& s, std::uint8_t code) {
  StrokeCalibration& run = s.calibration.stroke;
  const double position = s.valve.position;
  switch (code) {
    case 26:
      run.closedPosition = position;
      run.closedCount = SensorCount(s, position);
      return true;
    case 30:
      if (position - run.closedPosition < kLeastMotion) {
        Fail(s, kNoMotion);
        return false;
      }
      return true;
    case 33: run.openCount = SensorCount(s, position); return true;
    case 50: {
      std::uint8_t flag = 0;
      if (run.openCount - run.closedCount < kLeastStrokeCounts) flag = kRangeSmall;
      else if (run.closedCount < kLeastSensorCount) flag = kBelowWindow;
      else if (run.openCount > kMostSensorCount) flag = kAboveWindow;
      if (flag == 0) return true;
      Fail(s, flag);
      return false;
    }
    case 51:
      if (std::abs(position - kMid) <= kSettledWithin) return true;
      Fail(s, kNotSettled);
      return false;
    case 52: run.ilo = static_cast<float>(std::round(s.valve.pilotPosition * 100) / 100); return true;
    default: return true;
  }
}

void AdvanceStroke(DeviceState& s) {
  StrokeCalibration& run = s.calibration.stroke;
  const std::int64_t elapsed = s.alarms.clockMs - run.sinceMs;
  if (run.phase == StrokePhase::Aborting) {
    if (elapsed < kAbortMs) return;
    run.phase = StrokePhase::Idle;
    Enter(s, 0);
    return;
  }
  if (run.phase != StrokePhase::Running) return;
  const StrokeState* state = Current(s);
  // A code set from outside in the middle of a run ends it.
  if (state == nullptr) {
    run.phase = StrokePhase::Idle;
    return;
  }
  if (state->code == run.hangAt || (state->code != kStart && elapsed < run.stateMs)) return;
  if (!Leave(s, state->code)) return;
  if (state->code == kSaving) {
    run.phase = StrokePhase::Idle;
    Enter(s, 0);
    return;
  }
  const StrokeState* next = state + 1;
  Enter(s, next->code);
  if (next->code == kSaving) Save(s);
}

void StartStroke(DeviceState& s) {
  StrokeCalibration& run = s.calibration.stroke;
  run.phase = StrokePhase::Running;
  run.startPosition = s.valve.position;
  run.closedPosition = s.valve.position;
  s.status.bytes[4] &= static_cast<std::uint8_t>(~kStrokeFlags);
  Enter(s, kStrokeStates[0].code);
}

std::uint8_t WindowFlag(double count) {
  if (count < kLeastCommandCount) return kCommandBelow;
  if (count > kMostCommandCount) return kCommandAbove;
  return 0;
}

std::uint16_t LiveCommandCount(const DeviceState& s) {
  return static_cast<std::uint16_t>(ReadVariable(s, kCommandCount));
}

}  // namespace

bool AirOff(const DeviceState& state) { return state.calibration.supplyPressure < kLeastSupply; }

std::optional<double> StrokeDrive(const DeviceState& state) {
  if (state.calibration.stroke.phase != StrokePhase::Running) return std::nullopt;
  const StrokeState* current = Current(state);
  if (current == nullptr) return std::nullopt;
  switch (current->drive) {
    case Drive::Hold: return state.calibration.stroke.startPosition;
    case Drive::Close: return kCloseDrive;
    case Drive::Jog: return kJog;
    case Drive::Open: return kOpenDrive;
    case Drive::Mid: return kMid;
    case Drive::Release: return std::nullopt;
  }
  return std::nullopt;
}

double SensorCount(const DeviceState& state, double position) {
  const double low = ReadVariable(state, kClosedCount);
  const double high = ReadVariable(state, kOpenCount);
  return std::clamp(std::round(low + (high - low) * position / 100), 0.0, 65535.0);
}

double CommandCount(double milliamps) {
  return std::clamp(std::round(kCountsAtZero + kCountsPerMilliamp * milliamps), 0.0, 65535.0);
}

double SupplyCount(const DeviceState& state) {
  const CalibrationRecords& c = state.calibration;
  return std::clamp(std::round(c.supplyZero + kSupplyCountsPerPsi * c.supplyPressure), 0.0, 65535.0);
}

bool Order(DeviceState& state, std::uint16_t id, double value) {
  if (id == kSupplyCount) {
    StoreVariable(state, kSupplyZero, value);
    StoreVariable(state, kSupplyDifference,
                  std::max(ReadVariable(state, kSupplyHighest) - ReadVariable(state, kSupplyZero), 0.0));
    return true;
  }
  if (id != kStrokeState) return false;
  StrokeCalibration& run = state.calibration.stroke;
  if (value == 1) {
    if (run.phase == StrokePhase::Idle) StartStroke(state);
  } else if (value == 0) {
    if (run.phase == StrokePhase::Running || run.phase == StrokePhase::Failed) {
      run.phase = StrokePhase::Aborting;
      Enter(state, kAborted);
    } else if (run.phase == StrokePhase::Idle) {
      Enter(state, 0);
    }
  } else if (run.phase == StrokePhase::Idle) {
    StoreVariable(state, kStrokeState, value);
  }
  return true;
}

bool EchoesWritten(std::uint16_t id) { return id == kSupplyCount; }

void CommandCalibrationStep(DeviceState& state, double step) {
  CommandCalibration& cal = state.calibration.command;
  std::uint8_t& flags = state.status.bytes[5];
  const bool running = cal.step != 0;
  if (step == 1) {
    // A start over keeps the loop's own current of the first start.
    cal = {.step = 1, .loopBefore = running ? cal.loopBefore : state.valve.analogInput};
    flags &= static_cast<std::uint8_t>(~kCommandFlags);
  } else if (step == 5 && cal.step == 1) {
    cal.low = LiveCommandCount(state);
    flags |= WindowFlag(cal.low);
    cal.step = 5;
  } else if (step == 9 && cal.step == 5) {
    cal.high = LiveCommandCount(state);
    flags |= WindowFlag(cal.high);
    if (cal.high < cal.low + kLeastCommandRange) flags |= kCommandRangeSmall;
    cal.step = 9;
  } else if (step == 0 && cal.step != 0) {
    if (cal.step == 9 && (flags & kCommandFlags) == 0) {
      StoreVariable(state, kCommandLow, cal.low);
      StoreVariable(state, kCommandHigh, cal.high);
      StoreVariable(state, kCommandRange, cal.high - cal.low);
    }
    cal.step = 0;
  }
  if (const std::optional<double> input = CalibratorInput(state)) {
    state.valve.analogInput = *input;
  } else if (running && cal.step == 0 && state.calibration.loopCalibrator) {
    state.valve.analogInput = cal.loopBefore;
  }
}

std::optional<double> CalibratorInput(const DeviceState& state) {
  if (!state.calibration.loopCalibrator) return std::nullopt;
  switch (state.calibration.command.step) {
    case 1: return 0.0;  // 4 mA
    case 5:
    case 9: return 100.0;  // 20 mA
    default: return std::nullopt;
  }
}

void AdvanceCalibration(DeviceState& state, const ValveModel& before) {
  if (state.valve.position != before.position) {
    StoreVariable(state, kPositionCount, SensorCount(state, state.valve.position));
  }
  AdvanceStroke(state);
}

}  // namespace sim
