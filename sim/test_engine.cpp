#include "sim/test_engine.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "sim/valve_model.h"
#include "sim/variables.h"

namespace sim {

namespace {

constexpr std::uint16_t kSelector = 141;
constexpr std::uint16_t kState = 144;
constexpr std::uint16_t kProgress = 146;
constexpr double kPositioned = 0.5;  // %: close enough to the start to begin
constexpr std::int64_t kMostPrePositionMs = 10'000;
constexpr float kNoTime = 655.35f;
constexpr std::uint16_t kBreakaway = 285, kTimeToTarget = 287, kPstResult = 288, kTimeLimit = 289;
constexpr std::uint8_t kPstBaselineSelector = 3, kPstLastSelector = 4;
constexpr std::uint8_t kPstAborted = 3;
constexpr double kBrokenAway = 0.5;  // %: the stem has left the start
constexpr double kOnTarget = 1.0;    // %: the stem has reached the stop

std::uint8_t Selector(const DeviceState& s) {
  const auto it = s.variables.find(kSelector);
  return it == s.variables.end() ? 0 : static_cast<std::uint8_t>(it->second);
}

bool Running(const DeviceState& s) { return s.tests.run.type != 0; }

std::int64_t PassMs(const TestRun& run) {
  return std::llround((1.0 + run.setup[3] + run.setup[2]) * 1000.0);
}

// The pass's start and stop, turned round on the second pass.
std::pair<double, double> Ends(const TestRun& run) {
  if (run.pass == 2) return {run.setup[1], run.setup[0]};
  return {run.setup[0], run.setup[1]};
}

double Profile(const TestRun& run, double seconds) {
  const auto [from, to] = Ends(run);
  const double ramp = run.setup[3];
  if (seconds < 1) return from;
  if (seconds >= 1 + ramp) return to;
  return from + (to - from) * (seconds - 1) / ramp;
}

void Record(DeviceState& s, double command) {
  TestRun& run = s.tests.run;
  RampSamples& pass = run.pass == 2 ? run.record.second : run.record.first;
  auto& block = pass.blocks[run.sample / 4];
  const std::size_t at = run.sample % 4 * 7;
  const double values[4] = {command, s.valve.position, s.valve.pilotCommand, s.valve.pilotPosition};
  for (std::size_t k = 0; k < 4; ++k) block[at + k] = Hundredths(values[k]);
  ++run.sample;
}

bool PartialStroke(const TestRun& run) { return (run.type & kPartialStroke) != 0; }

// Where 142, 143, 145 and 149 lie in the partial stroke set-up while 141
// selects it; -1 otherwise.
int PstSetupIndex(const DeviceState& s, std::uint16_t id) {
  const std::uint8_t selector = Selector(s);
  if (selector != kPstBaselineSelector && selector != kPstLastSelector) return -1;
  switch (id) {
    case 142: return 0;
    case 143: return 1;
    case 145: return 2;
    case 149: return 3;
    default: return -1;
  }
}

// The partial stroke results where the device shows them.
void ShowPstResults(DeviceState& s, float breakaway, float toTarget, std::uint8_t code) {
  s.variables[kBreakaway] = breakaway;
  s.variables[kTimeToTarget] = toTarget;
  s.variables[kPstResult] = code;
}

// Passed; the target not reached within the time limit; no break-away.
std::uint8_t PstResultCode(const TestRun& run) {
  if (run.breakaway < 0) return 2;
  if (run.toTarget < 0 || run.toTarget > run.timeLimit) return 1;
  return 0;
}

// The stem's times, from the start of the stroke.
void WatchStroke(TestRun& run, double position) {
  const double t = run.ms / 1000.0 - 1.0;
  if (run.pass != 1 || t < 0) return;
  // A stem that never reached the start breaks away from where it stood.
  if (run.ms - kValveStepMs < 1000) run.strokeFrom = position;
  if (run.breakaway < 0 && std::abs(position - run.strokeFrom) > kBrokenAway) run.breakaway = t;
  if (run.toTarget < 0 && std::abs(position - run.setup[1]) < kOnTarget) run.toTarget = t;
}

void Finish(DeviceState& s) {
  TestRun& run = s.tests.run;
  TestResult& r = run.record.result;
  r = {.setup = run.setup, .resultA = kNoTime, .resultC = kNoTime, .bits = run.type};
  const Date& d = s.identity.date;
  r.info = {0, 0, 0, d.month, d.day, static_cast<std::uint8_t>(d.year - 2000)};
  if (PartialStroke(run)) {
    r.resultA = run.breakaway < 0 ? kNoTime : static_cast<float>(run.breakaway);
    r.resultC = run.toTarget < 0 ? kNoTime : static_cast<float>(run.toTarget);
    r.resultCode = PstResultCode(run);
    r.setup4 = run.timeLimit;
    ShowPstResults(s, r.resultA, r.resultC, r.resultCode);
    s.tests.pstLast = run.record;
    if (run.selector == kPstBaselineSelector) s.tests.pstBaseline = run.record;
  } else {
    s.tests.result = r;
    s.tests.samples.blocks = run.record.first.blocks;
    s.tests.secondPass = run.record.second;
    if (run.selector == 1) s.tests.rampBaseline = run.record;
    if (run.selector == 0) s.tests.stepBaseline = run.record;
  }
  s.variables[kState] = run.type | kTestReady;
  s.variables[kProgress] = 100;
  run = {};
}

}  // namespace

void WriteTestState(DeviceState& s, std::uint8_t written) {
  // A start while a run goes on stops that run first.
  const bool strokeStopped = Running(s) && PartialStroke(s.tests.run);
  s.tests.run = {};
  if ((written & kTestAbort) != 0) {
    s.variables[kState] = 0;
    if (strokeStopped) ShowPstResults(s, kNoTime, kNoTime, kPstAborted);
    return;
  }
  // Without the start bit (0x88) the partial stroke set-up is only kept.
  if ((written & kTestStart) == 0) return;
  TestRun& run = s.tests.run;
  run.type = static_cast<std::uint8_t>(written & ~kTestReady);
  run.selector = Selector(s);
  run.setup = {static_cast<float>(ReadVariable(s, 142)), static_cast<float>(ReadVariable(s, 143)),
               static_cast<float>(ReadVariable(s, 145)), static_cast<float>(ReadVariable(s, 149))};
  run.timeLimit = static_cast<float>(ReadVariable(s, kTimeLimit));
  s.variables[kState] = run.type;
  s.variables[kProgress] = 0;
}

float* PstSetupSlot(DeviceState& s, std::uint16_t id) {
  const int index = PstSetupIndex(s, id);
  return index < 0 ? nullptr : &s.tests.pstSetup[static_cast<std::size_t>(index)];
}

std::optional<double> PstSetupValue(const DeviceState& s, std::uint16_t id) {
  const int index = PstSetupIndex(s, id);
  if (index < 0) return std::nullopt;
  return s.tests.pstSetup[static_cast<std::size_t>(index)];
}

std::optional<double> TestDrive(const DeviceState& s) {
  if (!Running(s)) return std::nullopt;
  const TestRun& run = s.tests.run;
  if (run.pass == 0) return run.setup[0];
  return Profile(run, run.ms / 1000.0);
}

void AdvanceTest(DeviceState& s) {
  if (!Running(s)) return;
  TestRun& run = s.tests.run;
  run.ms += kValveStepMs;
  if (run.pass == 0) {
    if (std::abs(s.valve.position - run.setup[0]) < kPositioned || run.ms >= kMostPrePositionMs) {
      run.pass = 1;
      run.ms = 0;
      run.sample = 0;
      Record(s, Profile(run, 0));
    }
    return;
  }
  if (PartialStroke(run)) WatchStroke(run, s.valve.position);
  const std::int64_t passMs = PassMs(run);
  // Sample i falls due at i x passMs / 208.
  while (run.sample < kPassSamples &&
         static_cast<std::int64_t>(run.sample) * passMs <= run.ms * static_cast<std::int64_t>(kPassSamples)) {
    Record(s, Profile(run, static_cast<double>(run.sample) * passMs / kPassSamples / 1000.0));
  }
  const int passes = (run.type & kTestBothWays) != 0 ? 2 : 1;
  const double done = (run.pass - 1) * passMs + std::min(run.ms, passMs);
  s.variables[kProgress] = std::floor(100.0 * done / (passes * passMs));
  if (run.ms < passMs) return;
  if (run.pass < passes) {
    run.pass = 2;
    run.ms = 0;
    run.sample = 0;
    Record(s, Profile(run, 0));
    return;
  }
  Finish(s);
}

const TestResult& SelectedResult(const DeviceState& s) {
  switch (Selector(s)) {
    case 0: return s.tests.stepBaseline.result;
    case 1:
    case 2: return s.tests.rampBaseline.result;
    case kPstBaselineSelector: return s.tests.pstBaseline.result;
    case kPstLastSelector: return s.tests.pstLast.result;
    default: return s.tests.result;
  }
}

const RampSamples& SelectedSamples(const DeviceState& s) {
  switch (Selector(s)) {
    case 0: return s.tests.stepBaseline.first;
    case 1: return s.tests.rampBaseline.first;
    case 2: return s.tests.rampBaseline.second;
    case kPstBaselineSelector: return s.tests.pstBaseline.first;
    case kPstLastSelector: return s.tests.pstLast.first;
    case 6: return s.tests.secondPass;
    default: return s.tests.samples;
  }
}

void RecordFactoryBaselines(DeviceState& s) {
  struct Baseline {
    std::uint8_t selector, type;
    double start, stop, hold, ramp;
  };
  constexpr Baseline kBaselines[] = {
      {1, 0x0D, 0, 100, 5, 30}, {0, 0x01, 40, 60, 5, 0}, {kPstBaselineSelector, 0x81, 100, 90, 5, 10}};
  for (const Baseline& b : kBaselines) {
    DeviceState works = s;
    works.variables[kSelector] = b.selector;
    for (const auto& [id, value] : {std::pair{142, b.start}, {143, b.stop}, {145, b.hold}, {149, b.ramp}}) {
      if (float* slot = PstSetupSlot(works, static_cast<std::uint16_t>(id)))
        *slot = static_cast<float>(value);
      else
        works.variables[static_cast<std::uint16_t>(id)] = value;
    }
    WriteTestState(works, b.type);
    for (int step = 0; step < 200'000 && Running(works); ++step) {
      Step(works.valve, FinalCommand(works), kValveStepMs / 1000.0);
      AdvanceTest(works);
    }
    if (b.selector == 1) s.tests.rampBaseline = works.tests.rampBaseline;
    if (b.selector == 0) s.tests.stepBaseline = works.tests.stepBaseline;
    if (b.selector == kPstBaselineSelector) {
      s.tests.pstBaseline = works.tests.pstBaseline;
      s.tests.pstLast = works.tests.pstLast;
    }
  }
}

}  // namespace sim
