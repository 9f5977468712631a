#pragma once
// The records behind the device-specific commands. Plain data that tests
// set and read; a member's own default is zero, and the groups below give
// the values of a valve that has been in service for a while, so that a
// live screen looks plausible. Floats are kept as the singles they are on
// the wire, curve points and samples as the signed hundredths they are.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sim {

template <std::size_t N>
constexpr std::array<std::uint8_t, N> Filled(std::uint8_t value) {
  std::array<std::uint8_t, N> bytes{};
  bytes.fill(value);
  return bytes;
}

// Kept in °C; 135 and 168 give them in the unit of the setup records.
// The reading swings once a day round `mean` (aging.h); a reading set from
// outside moves the mean with it.
struct Temperature {
  float current = 0;  // device variable 135 too
  float highest = 0;
  float lowest = 0;
  float hours = 0;  // hour counter
  double mean = 35;
  double swing = 3;  // amplitude of the daily swing
  friend bool operator==(const Temperature&, const Temperature&) = default;
};

// 168, 170, 174, 176/177. The unit of the temperatures is the fourth
// unit code of SetupRecords, which 168 sends along.
struct StatusRecords {
  std::array<std::uint8_t, 32> bytes{};
  // A set bit reports its status bit; a clear one masks it.
  std::array<std::uint8_t, 32> masks = Filled<32>(0xFF);
  // A set bit here is one that 177 cannot change: the device keeps its
  // mask bit as it was, and the reply shows so.
  std::array<std::uint8_t, 32> fixedMasks{};
  std::array<float, 4> health = {96.5f, 88.25f, 2.5f, 0.75f};
  Temperature temperature = {35.0f, 61.5f, -12.0f, 17520.0f};
  friend bool operator==(const StatusRecords&, const StatusRecords&) = default;
};

// Device variable 42: the index (byte x 8 + bit) of the active status bit
// that comes first, 0 when none is. A bit is active when it is set in the
// status bytes and reported by its mask. Lower byte first, then lower bit:
// the device's own faults sit in the low bytes. Only bits the program has
// a name for count, since it could show no other; bit 0 of byte 0 never
// does, as its index is the 0 that means none.
std::uint8_t PriorityCode(const StatusRecords& status);

using Curve = std::array<std::int16_t, 21>;  // hundredths of a percent
Curve LinearCurve();
Curve QuickOpeningCurve();

// 132, 134/135, 138, 142, 182/183, 188/189, 222/223.
struct SetupRecords {
  // 132's 51 data bytes: 37 is 1 while pressure control is locked, 50 is
  // 1 while the position cut-off is active.
  std::array<std::uint8_t, 51> commandPosition = {1};
  Curve customCurve = QuickOpeningCurve();
  Curve secondCurve = LinearCurve();
  std::array<std::uint8_t, 16> configuration = {2, 1, 0, 3, 0, 1, 4, 0, 12, 0, 0, 1, 5, 0, 2, 0};
  // Percent, psi, psi, °C, percent, inch; 168 sends the fourth along.
  std::array<std::uint8_t, 6> unitCodes = {57, 6, 6, 32, 57, 12};
  std::array<std::uint8_t, 6> bytes182 = {1, 0, 3, 0, 0, 2};
  std::array<std::uint8_t, 7> bytes222 = {0, 1, 0, 0, 5, 0, 1};
  friend bool operator==(const SetupRecords&, const SetupRecords&) = default;
};

inline constexpr std::size_t kTemperatureUnit = 3;
inline constexpr std::uint8_t kFahrenheit = 33;  // any other code is °C

double ToTemperatureUnit(const SetupRecords& setup, double celsius);
double FromTemperatureUnit(const SetupRecords& setup, double value);

// How the device counts one part's motion (aging.h): each counter follows
// a counting point that the part drags along on a play as wide as the
// counter's deadband, so motion inside the deadband counts for nothing.
struct Odometer {
  double travelSlack = 0;  // counting point less part position, in %
  double travelPercent = 0;  // counted travel short of a full stroke
  double cycleSlack = 0;
  std::int8_t direction = 0;  // of the cycle counting point's last move; 0 before any
  friend bool operator==(const Odometer&, const Odometer&) = default;
};

// The shape of all four travel and cycle records: counter 1 counts travel
// in full strokes, counter 2 cycles. The actuator and bellows records
// leave value1B, value2B and the three settings off the wire, the pilot's
// only the three settings.
struct TravelCycle {
  std::uint32_t count1 = 0;
  std::uint32_t limit1A = 0;
  std::uint32_t limit1B = 0;
  float value1A = 0;
  float value1B = 0;
  std::uint32_t count2 = 0;
  std::uint32_t limit2A = 0;
  std::uint32_t limit2B = 0;
  float value2A = 0;
  float value2B = 0;
  float setting1 = 0;
  float setting2 = 0;
  float setting3 = 0;
  std::uint8_t setting = 0;  // as last written; 1 or 2 asks for a reset
  Odometer odometer{};  // the device's own, never on the wire
  friend bool operator==(const TravelCycle&, const TravelCycle&) = default;
};

// 156 to 163.
struct TravelRecords {
  TravelCycle valve = {.count1 = 1843, .limit1A = 50000, .limit1B = 100000, .value1A = 0.5f, .value1B = 12.5f,
                       .count2 = 26417, .limit2A = 500000, .limit2B = 1000000, .value2A = 1.0f, .value2B = 3.25f,
                       .setting1 = 0.5f, .setting2 = 1.0f, .setting3 = 100.0f};
  TravelCycle actuator = {.count1 = 1840, .limit1A = 50000, .limit1B = 100000, .value1A = 0.5f,
                          .count2 = 26380, .limit2A = 500000, .limit2B = 1000000, .value2A = 1.0f};
  TravelCycle bellows = {.count1 = 1838, .limit1A = 40000, .limit1B = 80000, .value1A = 0.5f,
                         .count2 = 26355, .limit2A = 400000, .limit2B = 800000, .value2A = 1.0f};
  TravelCycle pilot = {.count1 = 5120, .limit1A = 200000, .limit1B = 400000, .value1A = 0.25f, .value1B = 8.0f,
                       .count2 = 91230, .limit2A = 2000000, .limit2B = 4000000, .value2A = 0.5f, .value2B = 2.0f};
  friend bool operator==(const TravelRecords&, const TravelRecords&) = default;
};

struct AuxCard {
  std::uint8_t setting0 = 0;
  std::uint16_t setting1 = 0;
  std::uint16_t reading0 = 0;
  float reading1 = 0;
  float reading2 = 0;
  std::uint8_t reading3 = 0;
  std::uint8_t reading4 = 0;
  std::array<std::uint16_t, 4> settingWords{};
  std::array<std::uint8_t, 33> settingBytes{};
  float settingValue = 0;
  friend bool operator==(const AuxCard&, const AuxCard&) = default;
};

struct TrainingConfig {
  float setting = 0;
  std::uint8_t settingByte = 0;
  float valueA = 0;
  float valueB = 0;
  std::array<std::uint8_t, 12> bytes{};
  friend bool operator==(const TrainingConfig&, const TrainingConfig&) = default;
};

using Histogram = std::array<std::uint32_t, 16>;

// 194 to 197, 202/203, 204, 208.
struct AuxRecords {
  std::array<AuxCard, 2> cards = {
      AuxCard{.setting0 = 1, .setting1 = 250, .reading0 = 2048, .reading1 = 12.0f, .reading2 = 4.0f, .reading3 = 1,
              .settingWords = {0, 100, 0, 100}, .settingValue = 1.0f},
      AuxCard{}};
  TrainingConfig training = {.setting = 2.0f, .settingByte = 1, .valueA = 0.85f, .valueB = 1.5f};
  Histogram trainingHistogram = {0, 3, 12, 41, 96, 180, 240, 210, 150, 88, 40, 17, 6, 2, 0, 0};
  // What 208 returns follows device variable 461: 0 to 2 are the three
  // parts of the deviation histogram (bins 0-9, 10-20 and 21-30 of
  // DeviationBin), 3 the position histogram (PositionBin); aging.h fills
  // them. Mostly within a percent of the command, a little more below it.
  std::array<Histogram, 4> histograms = {{
      {0, 0, 1, 1, 2, 3, 5, 9, 18, 64, 0, 0, 0, 0, 0, 0},
      {52, 88, 160, 410, 1210, 3350, 1180, 395, 150, 84, 47, 0, 0, 0, 0, 0},
      {58, 16, 8, 4, 3, 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0},
      {310, 120, 140, 180, 260, 420, 510, 380, 240, 150, 90, 40, 0, 0, 0, 0},
  }};
  // Off holds the histograms as they are set, for tests that want exact bins.
  bool recordHistograms = true;
  friend bool operator==(const AuxRecords&, const AuxRecords&) = default;
};

struct TestResult {
  std::uint8_t field0 = 0;
  std::array<float, 4> setup{};  // start, stop, hold, ramp as run
  std::array<std::uint8_t, 6> info{};  // 3 to 5: month, day, year - 2000 of the run
  float resultA = 0;
  float resultB = 0;
  float resultC = 0;
  std::uint8_t resultCode = 0;
  float setup4 = 0;
  std::uint8_t bits = 0;  // the test type as started; 0x04 both ways
  friend bool operator==(const TestResult&, const TestResult&) = default;
};

inline constexpr std::size_t kSampleBlocks = 52;

// A percent as the signed hundredths a sample carries, held to their range.
std::int16_t Hundredths(double percent);

// A stored test handed out one block per read: the reply carries the
// block and its number. After the last block 246 starts again at the
// first; 214 stays on the last.
template <std::size_t Samples>
struct SampleBlocks {
  std::array<std::array<std::int16_t, Samples>, kSampleBlocks> blocks{};
  std::uint8_t next = 0;
  friend bool operator==(const SampleBlocks&, const SampleBlocks&) = default;
};

// Four samples of seven values: command, position, pilot relay command,
// pilot relay position, supply and both port pressures.
SampleBlocks<28> RampTestSamples();
SampleBlocks<32> StepTestSamples();

using RampSamples = SampleBlocks<28>;

// A stored run: its result and the samples of both passes (the second
// stays empty for a one-way run).
struct StoredTest {
  TestResult result;
  RampSamples first;
  RampSamples second;
  friend bool operator==(const StoredTest&, const StoredTest&) = default;
};

// The ramp or step test the device is running (test_engine.h).
struct TestRun {
  std::uint8_t type = 0;  // as started; 0 while none runs
  std::uint8_t selector = 0;  // variable 141 at the start
  std::array<float, 4> setup{};  // start, stop, hold, ramp as started
  std::uint8_t pass = 0;  // 0 while pre-positioning, then 1 and 2
  std::int64_t ms = 0;    // into the pre-positioning or the pass
  std::size_t sample = 0;  // the next one the pass records
  StoredTest record;
  // Partial stroke runs: the time limit, where the stem stood as the
  // stroke began, and the seconds from then until it broke away and until
  // it reached the target (negative: not yet).
  float timeLimit = 0;
  double strokeFrom = 0;  // the stem's position when the stroke began
  double breakaway = -1;
  double toTarget = -1;
  friend bool operator==(const TestRun&, const TestRun&) = default;
};

// 212, 214, 246. The 214 block pointer is that of `samples` whichever
// record variable 141 selects.
struct TestRecords {
  TestResult result = {.setup = {10.0f, 90.0f, 5.0f, 60.0f}, .info = {0, 0, 0, 3, 14, 25}, .resultA = 655.35f,
                       .resultC = 655.35f, .setup4 = 30.0f, .bits = 0x09};
  SampleBlocks<28> samples = RampTestSamples();  // the last run's first pass
  RampSamples secondPass;  // and its second
  StoredTest rampBaseline;
  StoredTest stepBaseline;
  // The partial stroke test keeps a set-up of its own (142, 143, 145, 149
  // while 141 selects it) and its own last run and baseline.
  std::array<float, 4> pstSetup = {100.0f, 90.0f, 5.0f, 10.0f};
  StoredTest pstLast;
  StoredTest pstBaseline;
  SampleBlocks<32> samplesB = StepTestSamples();
  TestRun run;
  friend bool operator==(const TestRecords&, const TestRecords&) = default;
};

struct EventRecord {
  std::uint8_t code = 0;   // status byte x 8 + bit
  std::uint8_t state = 0;  // 1 on, 0 off
  std::array<std::uint8_t, 6> extra{};
  friend bool operator==(const EventRecord&, const EventRecord&) = default;
};

// One event history, read eight records a block, numbered 0 to lastBlock
// and then from 0 again. Record k goes out in block k / 8; missing ones
// go out as zeros. The device keeps the latest (lastBlock + 1) x 8 records
// (AppendEvent), oldest first.
struct EventHistory {
  std::vector<EventRecord> records;
  std::uint8_t lastBlock = 0;
  std::uint8_t next = 0;
  friend bool operator==(const EventHistory&, const EventHistory&) = default;
};

EventHistory RecentEvents(std::size_t records, std::uint8_t lastBlock);

// 184/187, 237, 238/240/242.
struct HistoryRecords {
  // The 24-character text of every code the device keeps: 1 the stroke
  // calibration, 5 the command calibration, never done here.
  std::map<std::uint8_t, std::string> calibration = {{1, "03/14/2025 10:22:05 ABC "},
                                                     {5, std::string(24, ' ')}};
  EventHistory allEvents = RecentEvents(32, 3);
  EventHistory calibrationEvents = RecentEvents(12, 4);
  EventHistory alarmEvents = RecentEvents(75, 24);
  // Device variable 454, the event history control byte, as 237 or a
  // variable write last set it.
  std::uint8_t eventSelect = 0;
  friend bool operator==(const HistoryRecords&, const HistoryRecords&) = default;
};

enum class StrokePhase : std::uint8_t {
  Idle,
  Running,   // from the start to the end of the save state
  Failed,    // standing at the error state until an abort
  Aborting,  // at the abort state, briefly
};

// The stroke calibration behind variable 170 (calibration.h). The state
// code itself is variable 170.
struct StrokeCalibration {
  StrokePhase phase = StrokePhase::Idle;
  std::int64_t sinceMs = 0;      // the device clock when the state code last changed
  double startPosition = 0;      // %, where the run found the valve
  double closedPosition = 0;     // %, as sampled at the closed end
  double closedCount = 0;        // position A/D at the closed end
  double openCount = 0;          // and at the open end
  float ilo = 0;                 // as measured while setting ILO
  // How long each state lasts, so that a page polling every 5 s sees it
  // several times.
  std::int64_t stateMs = 15'000;
  // A state code the run never leaves (0: none), for a calibration that
  // does not end.
  std::uint8_t hangAt = 0;
  friend bool operator==(const StrokeCalibration&, const StrokeCalibration&) = default;
};

// The command calibration behind variable 14: the step last taken (0 none,
// 1 taking the low point, 5 taking the high point, 9 both taken) and the
// A/D counts taken, kept apart until the end keeps them.
struct CommandCalibration {
  std::uint8_t step = 0;
  std::uint16_t low = 0;
  std::uint16_t high = 0;
  // The analog input (%) the loop had when the calibration started; the
  // loop calibrator gives it back at the end.
  double loopBefore = 0;
  friend bool operator==(const CommandCalibration&, const CommandCalibration&) = default;
};

struct CalibrationRecords {
  StrokeCalibration stroke;
  CommandCalibration command;
  // An engineer's loop calibrator on the 4-20 mA input: it gives 4 mA while
  // the command calibration takes its low point and 20 mA from then on to
  // the end. Off, the loop current stays where it was set, for tests that
  // take the points at currents of their own.
  bool loopCalibrator = true;
  // The air supply, psi, as the sensor sees it (a little below 0 when its
  // zero has drifted); below kLeastSupply the actuator cannot move the
  // stem. The supply sensor's count (variable 74) is supplyZero plus
  // kSupplyCountsPerPsi a psi.
  double supplyPressure = 60;
  double supplyZero = 412;
  friend bool operator==(const CalibrationRecords&, const CalibrationRecords&) = default;
};

}  // namespace sim
