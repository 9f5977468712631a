#include "sim/variables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>
#include <type_traits>

#include "sim/aging.h"
#include "sim/calibration.h"
#include "sim/test_engine.h"
#include "sim/positioner.h"
#include "sim/wire.h"

namespace sim {

namespace {

using enum WireType;

constexpr std::uint16_t kLoopCurrent = 1;
constexpr std::uint16_t kAnalogCommand = 2;
constexpr std::uint16_t kDigitalCommand = 3;
constexpr std::uint16_t kFinalCommand = 6;
constexpr std::uint16_t kControlMode = 8;
constexpr std::uint16_t kPosition = 10;
constexpr std::uint16_t kDeviation = 12;
constexpr std::uint16_t kCommandCalibrationStep = 14;
constexpr std::uint16_t kPriorityCode = 42;
constexpr std::uint16_t kPilotCommand = 48;
constexpr std::uint16_t kPilotPosition = 49;
constexpr std::uint16_t kSupplyCount = 74;
constexpr std::uint16_t kHallCount = 78;
constexpr std::uint16_t kStemCount = 83;
constexpr std::uint16_t kCommandCount = 88;
constexpr std::uint16_t kHallVolts = 132;
constexpr std::uint16_t kTemperature = 135;
constexpr std::uint16_t kDashboardFlags = 264;
constexpr std::uint8_t kCutOffFlag = 0x02;
constexpr std::uint8_t kPressureLockFlag = 0x04;
constexpr std::size_t kPressureLockByte = 37;  // of 132
constexpr std::size_t kCutOffByte = 50;
constexpr std::uint16_t kHistogramSelector = 461;

// Every variable the program reads or writes. The values are those of a
// valve at rest in analog control near mid-travel, with no status active.
// Rows without a value are kept in a record (see RecordMember) or the
// valve (see ReadLinked), or derived.
constexpr VariableInfo kVariables[] = {
    {1, F32},             // loop current, mA: ValveModel::analogInput
    {2, F32},             // analog command, %: ValveModel::analogInput
    {3, F32, 50.0},       // digital command, %
    {6, F32},             // command in effect, %: from 8, 3 and 2
    {8, U8, 0},           // control mode; bit 0 set: digital only
    {10, F32},            // position, %: ValveModel
    {12, F32},            // deviation, %: 6 less 10
    {14, U8, 0},          // command calibration step, as last written: calibration.h
    {17, F32, 63.5},      // stroke calibration ILO value
    {42, U8},             // priority code: derived from the status records
    {43, F32, 2.0},       // valve stability window, %
    {48, F32},            // pilot relay (spool) command, %: ValveModel
    {49, F32},            // pilot relay (spool) position, %: ValveModel
    {55, U8, 0x08},       // DIP switches; bit 3 characterisation
    {56, U8, 0x08},       // software configuration bits; bit 3 linear, bit 6 clear: stability on
    {62, F32, 105.0},     // soft stop, high, %
    {63, F32, -5.0},      // soft stop, low, %
    {69, U16, 32112},     // position sensor A/D count; follows a moving stem
    {71, U16, 410},       // zero supply calibration value 1
    {72, U16, 425},       // zero supply calibration value 2
    {73, U16, 15},        // zero supply calibration value 3
    {74, U16},            // supply pressure sensor A/D count: CalibrationRecords
    {78, U16},            // Hall sensor A/D count: ValveModel::pilotPosition
    {80, U16, 6550},      // stroke calibration low A/D count
    {81, U16, 58980},     // stroke calibration high A/D count
    {83, U16},            // stem position A/D count: ValveModel::position under 80 and 81
    {85, U16, 6400},      // command calibration A/D count at 0 %
    {86, U16, 57600},     // command calibration A/D count at 100 %
    {87, U16, 51200},     // command calibration A/D range
    {88, U16},            // command input A/D count: ValveModel::analogInput
    {116, F32, 100.0},    // stroke length, in the travel unit of 150
    {117, F32, 95.0},     // position alert, high set point, %
    {118, F32, 5.0},      // position alert, low set point, %
    {119, F32, 5.0},      // deviation alert tolerance, %
    {120, F32, 10.0},     // deviation alert time frame, s
    {126, U16, 6400},     // command calibration A/D count at 4 mA
    {132, F32},           // Hall sensor voltage, V: ValveModel::pilotPosition
    {135, F32},           // temperature, in the unit of 152: StatusRecords, in °C
    {141, U8, 5},         // test command: which test record and set-up
    {142, F32, 10.0},     // test start, %
    {143, F32, 90.0},     // test stop, %
    {144, U8, 0x0B},      // test state: a one-way ramp, its record ready
    {145, F32, 5.0},      // test hold, s
    {146, F32, 100.0},    // test progress, %
    {147, U8, 0},         // test sample block control; 0 rewinds 214
    {149, F32, 60.0},     // test ramp time, s
    {150, U8, 57},        // travel unit code: 47 in, 49 mm, 57 %, 143 degrees
    {152, U8},            // temperature unit code, 33 °F, else °C: SetupRecords
    {167, U8, 0},         // stroke characterisation selection
    {170, U8, 0},         // stroke calibration command and state: calibration.h
    {179, U8, 0},         // local panel
    {189, U8, 8},         // valve flow direction code
    {196, U8, 2},         // fail position code
    {211, U8, 4},         // valve body model code
    {212, U8, 5},         // valve body size code
    {228, U8, 2},         // actuator manufacturer code
    {229, U8, 1},         // actuator type code
    {230, U8, 6},         // actuator size code
    {231, U8, 3},         // spring type code
    {264, U8, 0},         // dashboard flags; 0x02 cut-off active, 0x04 pressure control locked: 132
    {265, U8, 0x04},      // pressure sensors present: 0x04
    {285, F32, 1.25},     // partial stroke test break-away time, s
    {287, F32, 6.5},      // partial stroke test time to target, s
    {288, U8, 0},         // partial stroke test result code: 0 passed
    {289, F32, 30.0},     // partial stroke test time limit, s
    {295, F32, 0.0625},   // pilot relay response time, s
    {296, F32, 0.125},    // pilot relay response warning limit, s
    {297, F32, 0.25},     // pilot relay response alarm limit, s
    {301, U32},           // valve travel, in full strokes: TravelRecords
    {302, U32},           // valve travel, initial warning: TravelRecords
    {303, U32},           // valve travel, full warning: TravelRecords
    {305, U32},           // valve cycles: TravelRecords
    {306, U32},           // valve cycles, initial warning: TravelRecords
    {307, U32},           // valve cycles, full warning: TravelRecords
    {309, F32, 0.5},      // valve travel deadband, %
    {310, F32, 1.0},      // valve cycle deadband, %
    {331, U32},           // pilot relay travel: TravelRecords
    {332, U32},           // pilot relay travel, initial warning: TravelRecords
    {333, U32},           // pilot relay travel, full warning: TravelRecords
    {335, U32},           // pilot relay cycles: TravelRecords
    {336, U32},           // pilot relay cycles, initial warning: TravelRecords
    {337, U32},           // pilot relay cycles, full warning: TravelRecords
    {391, F32, 69.0},     // actuator area, in the unit of 410
    {410, U8, 0},         // area unit code: 0 in², 1 cm²
    {454, U8},            // event history control byte; 2 clears: HistoryRecords
    {455, U8, 0},         // all-events history selection; 0 rewinds 238
    {457, U8, 0},         // calibration history selection; 0 rewinds 240
    {459, U8, 0},         // alarm history selection; 0 rewinds 242
    {461, U8, 0},         // histogram 208 returns: 0-2 deviation parts, 3 position
    {462, U8, 0},         // histogram reset; non-zero clears the one of 461
    {490, F32, 12.5},     // piezo voltage, V
};

// Calls `use` with the record member that keeps variable `id`; false for
// a variable that no record keeps. State is DeviceState, const or not.
template <class State, class Use>
bool RecordMember(State& s, std::uint16_t id, Use&& use) {
  switch (id) {
    case 152: use(s.setup.unitCodes[kTemperatureUnit]); return true;
    case 301: use(s.travel.valve.count1); return true;
    case 302: use(s.travel.valve.limit1A); return true;
    case 303: use(s.travel.valve.limit1B); return true;
    case 305: use(s.travel.valve.count2); return true;
    case 306: use(s.travel.valve.limit2A); return true;
    case 307: use(s.travel.valve.limit2B); return true;
    case 331: use(s.travel.pilot.count1); return true;
    case 332: use(s.travel.pilot.limit1A); return true;
    case 333: use(s.travel.pilot.limit1B); return true;
    case 335: use(s.travel.pilot.count2); return true;
    case 336: use(s.travel.pilot.limit2A); return true;
    case 337: use(s.travel.pilot.limit2B); return true;
    case 454: use(s.history.eventSelect); return true;
    default: return false;
  }
}

double Raw(const DeviceState& s, std::uint16_t id) {
  const auto it = s.variables.find(id);
  return it == s.variables.end() ? 0.0 : it->second;
}

double LoopCurrent(double percent) { return 4 + percent * 0.16; }

// The Hall sensor watches the pilot relay's spool: 0.25 V closed to
// 2.25 V fully open, into a 12-bit converter of 2.5 V reference.
double HallVolts(double spool) { return 0.25 + 0.02 * spool; }
double HallCount(double spool) { return std::clamp(std::round(HallVolts(spool) * 4096 / 2.5), 0.0, 4095.0); }

// The variables that the valve keeps, that follow from others, or that
// share their value with a record in another form. No value for the rest.
std::optional<double> ReadLinked(const DeviceState& s, std::uint16_t id) {
  if (const std::optional<double> pst = PstSetupValue(s, id)) return pst;
  const std::array<std::uint8_t, 51>& bytes132 = s.setup.commandPosition;
  switch (id) {
    case kLoopCurrent: return LoopCurrent(s.valve.analogInput);
    case kAnalogCommand: return s.valve.analogInput;
    case kFinalCommand: return FinalCommand(s);
    case kPosition: return s.valve.position;
    case kDeviation: return FinalCommand(s) - s.valve.position;
    case kPilotCommand: return s.valve.pilotCommand;
    case kPilotPosition: return s.valve.pilotPosition;
    case kSupplyCount: return SupplyCount(s);
    case kCommandCount: return CommandCount(LoopCurrent(s.valve.analogInput));
    case kStemCount: return SensorCount(s, s.valve.position);
    case kHallCount: return HallCount(s.valve.pilotPosition);
    case kHallVolts: return HallVolts(s.valve.pilotPosition);
    case kTemperature: return ToTemperatureUnit(s.setup, s.status.temperature.current);
    case kDashboardFlags: {
      // The other bits are kept as written; these two are those of 132.
      unsigned flags = static_cast<unsigned>(Raw(s, kDashboardFlags)) & ~unsigned{kCutOffFlag | kPressureLockFlag};
      if (bytes132[kCutOffByte] == 1) flags |= kCutOffFlag;
      if (bytes132[kPressureLockByte] == 1) flags |= kPressureLockFlag;
      return flags;
    }
    default: return std::nullopt;
  }
}

// A value that follows from others sets what it follows from, so that it
// reads back: the command sets the command source in effect, the
// deviation moves the valve off the command.
bool StoreLinked(DeviceState& s, std::uint16_t id, double value) {
  if (float* pst = PstSetupSlot(s, id)) {
    *pst = static_cast<float>(value);
    return true;
  }
  ValveModel& valve = s.valve;
  switch (id) {
    case kLoopCurrent: valve.analogInput = (value - 4) / 0.16; return true;
    case kAnalogCommand: valve.analogInput = value; return true;
    case kFinalCommand:
      if (Digital(s)) {
        s.variables[kDigitalCommand] = value;
      } else {
        valve.analogInput = value;
      }
      return true;
    case kPosition: valve.position = value; return true;
    case kDeviation:
      valve.position = std::clamp(FinalCommand(s) - value, valve.lowStop, valve.highStop);
      return true;
    case kPilotCommand: valve.pilotCommand = value; return true;
    case kPilotPosition: valve.pilotPosition = value; return true;
    case kSupplyCount:
      s.calibration.supplyPressure = (value - s.calibration.supplyZero) / kSupplyCountsPerPsi;
      return true;
    // Raw sensor readings follow what they measure, which is what to set.
    case kCommandCount:
    case kStemCount:
    case kHallCount:
    case kHallVolts: return true;
    case kTemperature: SetTemperature(s, FromTemperatureUnit(s.setup, value)); return true;
    case kDashboardFlags: {
      s.variables[kDashboardFlags] = value;
      const auto flags = static_cast<unsigned>(value);
      s.setup.commandPosition[kCutOffByte] = (flags & kCutOffFlag) != 0 ? 1 : 0;
      s.setup.commandPosition[kPressureLockByte] = (flags & kPressureLockFlag) != 0 ? 1 : 0;
      return true;
    }
    default: return false;
  }
}

void ClearEvents(EventHistory& history) {
  history.records.clear();
  history.next = 0;
}

// The writes that set something off besides storing the value.
struct Action {
  std::uint16_t id;
  void (*act)(DeviceState& state, double written);
};

constexpr Action kActions[] = {
    {kCommandCalibrationStep, CommandCalibrationStep},
    {144, [](DeviceState& s, double v) { WriteTestState(s, static_cast<std::uint8_t>(v)); }},
    {147, [](DeviceState& s, double v) { if (v == 0) s.tests.samples.next = 0; }},
    // All three histories: the page clears whichever one it shows.
    {454, [](DeviceState& s, double v) {
       if (v != 2) return;
       ClearEvents(s.history.allEvents);
       ClearEvents(s.history.calibrationEvents);
       ClearEvents(s.history.alarmEvents);
     }},
    // Selecting a history before reading it starts it from its first block.
    {455, [](DeviceState& s, double v) { if (v == 0) s.history.allEvents.next = 0; }},
    {457, [](DeviceState& s, double v) { if (v == 0) s.history.calibrationEvents.next = 0; }},
    {459, [](DeviceState& s, double v) { if (v == 0) s.history.alarmEvents.next = 0; }},
    {462, [](DeviceState& s, double v) {
       const double selector = ReadVariable(s, kHistogramSelector);
       auto& histograms = s.aux.histograms;
       if (v != 0 && selector < static_cast<double>(histograms.size())) {
         histograms[static_cast<std::size_t>(selector)] = {};
       }
     }},
};

// Casting an out-of-range double to an integer is undefined, so clamp first.
std::uint32_t Clamped(double value, double max) {
  if (!(value > 0)) return 0;  // also NaN
  return static_cast<std::uint32_t>(std::min(std::trunc(value), max));
}

// The value as it comes back off the wire.
double Narrowed(WireType type, double value) {
  std::vector<std::uint8_t> bytes;
  PutValue(bytes, type, value);
  return GetValue(bytes, type);
}

template <class T>
T Fit(double value) {
  if constexpr (std::is_floating_point_v<T>) {
    return static_cast<T>(value);
  } else {
    return static_cast<T>(Clamped(value, std::numeric_limits<T>::max()));
  }
}

}  // namespace

std::span<const VariableInfo> VariableTable() { return kVariables; }

std::optional<WireType> TypeOf(std::uint16_t id) {
  const auto it = std::find_if(std::begin(kVariables), std::end(kVariables),
                               [id](const VariableInfo& v) { return v.id == id; });
  if (it == std::end(kVariables)) return std::nullopt;
  return it->type;
}

std::size_t SizeOf(WireType type) {
  switch (type) {
    case U8: return 1;
    case U16: return 2;
    case U32:
    case F32: return 4;
  }
  return 0;
}

void PutValue(std::vector<std::uint8_t>& out, WireType type, double value) {
  switch (type) {
    case U8: out.push_back(static_cast<std::uint8_t>(Clamped(value, 0xFF))); break;
    case U16: wire::PutU16(out, static_cast<std::uint16_t>(Clamped(value, 0xFFFF))); break;
    case U32: wire::PutU32(out, Clamped(value, 0xFFFFFFFF)); break;
    case F32: wire::PutF32(out, static_cast<float>(value)); break;
  }
}

double GetValue(std::span<const std::uint8_t> in, WireType type) {
  switch (type) {
    case U8: return in[0];
    case U16: return wire::GetU16(in);
    case U32: return wire::GetU32(in);
    case F32: return wire::GetF32(in);
  }
  return 0;
}

bool Digital(const DeviceState& state) {
  return (static_cast<unsigned>(Raw(state, kControlMode)) & 1) != 0;
}

double FinalCommand(const DeviceState& state) {
  if (const std::optional<double> drive = StrokeDrive(state)) return *drive;
  if (const std::optional<double> drive = TestDrive(state)) return *drive;
  return Digital(state) ? Raw(state, kDigitalCommand) : state.valve.analogInput;
}

double ReadVariable(const DeviceState& state, std::uint16_t id) {
  if (id == kPriorityCode) return PriorityCode(state.status);
  if (const std::optional<double> linked = ReadLinked(state, id)) return *linked;
  double value = 0;
  if (RecordMember(state, id, [&value](const auto& member) { value = static_cast<double>(member); })) return value;
  return Raw(state, id);
}

bool StoreVariable(DeviceState& state, std::uint16_t id, double value) {
  if (id == kPriorityCode) return false;
  const double narrowed = Narrowed(*TypeOf(id), value);
  if (StoreLinked(state, id, narrowed)) return true;
  const auto keep = [narrowed](auto& member) { member = Fit<std::remove_cvref_t<decltype(member)>>(narrowed); };
  if (!RecordMember(state, id, keep)) state.variables[id] = narrowed;
  return true;
}

void WriteVariable(DeviceState& state, std::uint16_t id, double value) {
  if (Order(state, id, Narrowed(*TypeOf(id), value))) return;
  StoreVariable(state, id, value);
  for (const Action& action : kActions) {
    if (action.id == id) action.act(state, ReadVariable(state, id));
  }
}

void FillVariables(DeviceState& state) {
  for (const VariableInfo& v : kVariables) {
    const bool elsewhere = v.id == kPriorityCode || (v.id != kDashboardFlags && ReadLinked(state, v.id)) ||
                           RecordMember(state, v.id, [](const auto&) {});
    if (!elsewhere) state.variables.try_emplace(v.id, Narrowed(v.type, v.initial));
  }
}

}  // namespace sim
