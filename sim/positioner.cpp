#include "sim/positioner.h"

#include <stdexcept>
#include <string>
#include <thread>

#include "platform/sys/time_source.h"
#include "sim/aging.h"
#include "sim/calibration.h"
#include "sim/test_engine.h"
#include "sim/commands.h"
#include "sim/variables.h"

namespace sim {

namespace {

void CheckKnown(std::uint16_t id) {
  if (!TypeOf(id)) throw std::out_of_range("sim: no device variable " + std::to_string(id));
}

// A jump of hours (a suspended machine, a test's big step) costs no more
// than this; the valve has long settled by then.
constexpr std::int64_t kMaxValveSteps = 60'000 / kValveStepMs;

}  // namespace

Positioner::Positioner() : m_valveMs(plat::Time().MonotonicMs()) {
  FillVariables(m_state);
  RecordFactoryBaselines(m_state);
}

void Positioner::CatchUp() {
  const std::int64_t now = plat::Time().MonotonicMs();
  // Another time source took over and counts from elsewhere: start from it.
  if (now < m_valveMs) {
    m_valveMs = now;
    return;
  }
  std::int64_t steps = (now - m_valveMs) / kValveStepMs;
  if (steps > kMaxValveSteps) {
    // The device's clock still runs the whole time.
    const std::int64_t from = m_state.alarms.clockMs;
    m_state.alarms.clockMs += (steps - kMaxValveSteps) * kValveStepMs;
    AgeAtRest(m_state, from);
    steps = kMaxValveSteps;
    m_valveMs = now;
  } else {
    m_valveMs += steps * kValveStepMs;
  }
  for (std::int64_t i = 0; i < steps; ++i) {
    // The input as it stands at the end of this step: the loop calibrator's
    // while it is on the loop.
    m_state.valve.analogInput = CalibratorInput(m_state).value_or(
        ProfileInput(m_state.input, m_state.alarms.clockMs + kValveStepMs, m_state.valve.analogInput));
    const ValveModel before = m_state.valve;
    // Without air the actuator holds the stem where it is.
    if (!AirOff(m_state)) Step(m_state.valve, FinalCommand(m_state), kValveStepMs / 1000.0);
    const std::int64_t from = m_state.alarms.clockMs;
    m_state.alarms.clockMs += kValveStepMs;
    Age(m_state, before, from);
    AdvanceCalibration(m_state, before);
    AdvanceTest(m_state);
    WorkOutAlarms(m_state);
  }
}

std::optional<std::vector<std::uint8_t>> Positioner::Transact(std::span<const std::uint8_t> request) {
  CatchUp();
  // The older half goes at once, so that dropping costs little per request.
  if (m_requests.size() == kRequestLimit)
    m_requests.erase(m_requests.begin(), m_requests.begin() + kRequestLimit / 2);
  m_requests.emplace_back(request.begin(), request.end());
  std::optional<std::vector<std::uint8_t>> reply;
  if (!request.empty()) {
    reply = Answer(request);
    WorkOutAlarms(m_state);
  }
  // The transaction is synchronous: latency blocks, it never yields.
  if (m_latency.count() > 0) std::this_thread::sleep_for(m_latency);
  return reply;
}

std::optional<std::vector<std::uint8_t>> Positioner::Answer(std::span<const std::uint8_t> request) {
  const std::optional<Fault> fault = TakeFault();
  if (fault && fault->kind == FaultKind::NoReply) return std::nullopt;
  if (fault && fault->kind == FaultKind::ResponseCode) {
    return Frame(request[0], static_cast<std::uint8_t>(fault->value), {});
  }
  std::vector<std::uint8_t> reply = Handle(request);
  if (!fault) return reply;
  switch (fault->kind) {
    case FaultKind::ShortReply:
      if (fault->value < reply.size()) reply.resize(fault->value);
      break;
    case FaultKind::WrongEcho:
      reply[0] = static_cast<std::uint8_t>(reply[0] + 1);
      break;
    case FaultKind::LongByteCount:
      reply[1] = static_cast<std::uint8_t>(reply[1] + 1);
      break;
    case FaultKind::NoReply:
    case FaultKind::ResponseCode:
      break;
  }
  return reply;
}

std::vector<std::uint8_t> Positioner::Handle(std::span<const std::uint8_t> request) {
  const std::uint8_t command = request[0];
  // A read without data may come as the command byte alone.
  std::span<const std::uint8_t> data;
  if (request.size() >= 2) {
    const std::size_t count = request[1];
    if (count > request.size() - 2) return Frame(command, kRcTooFewDataBytes, {});
    data = request.subspan(2, count);
  }
  const auto& table = CommandTable();
  const auto it = table.find(command);
  if (it == table.end()) return Frame(command, kRcNotImplemented, {});
  std::vector<std::uint8_t> out;
  const std::uint8_t code = it->second(m_state, data, out);
  if (code != kRcSuccess) out.clear();
  if (out.size() > kMaxReplyData) throw std::logic_error("sim: reply of command " + std::to_string(command) + " too long");
  return Frame(command, code, out);
}

std::vector<std::uint8_t> Positioner::Frame(std::uint8_t command, std::uint8_t code,
                                            std::span<const std::uint8_t> data) const {
  std::vector<std::uint8_t> reply;
  reply.reserve(4 + data.size());
  reply.push_back(command);
  reply.push_back(static_cast<std::uint8_t>(2 + data.size()));
  reply.push_back(code);
  reply.push_back(m_state.deviceStatus);
  for (std::uint8_t b : data) reply.push_back(b);
  return reply;
}

std::optional<Fault> Positioner::TakeFault() {
  if (m_faults.empty()) return std::nullopt;
  PendingFault& head = m_faults.front();
  const Fault fault = head.fault;
  if (head.times > 0 && --head.times == 0) m_faults.pop_front();
  return fault;
}

DeviceState Positioner::State() const {
  return m_state;
}

void Positioner::SetState(const DeviceState& state) {
  CatchUp();
  const float reading = m_state.status.temperature.current;
  m_state = state;
  // A new reading is where the daily swing goes on from.
  if (m_state.status.temperature.current != reading) CentreTemperature(m_state);
  FillVariables(m_state);
  WorkOutAlarms(m_state);
}

void Positioner::SetInputProfile(InputProfile profile) {
  CatchUp();
  profile.startMs = m_state.alarms.clockMs;
  m_state.input = profile;
  m_state.valve.analogInput = ProfileInput(profile, profile.startMs, m_state.valve.analogInput);
}

Identity Positioner::GetIdentity() const {
  return m_state.identity;
}

void Positioner::SetIdentity(const Identity& identity) {
  CatchUp();
  m_state.identity = identity;
}

std::uint8_t Positioner::DeviceStatus() const {
  return m_state.deviceStatus;
}

void Positioner::SetDeviceStatus(std::uint8_t status) {
  CatchUp();
  m_state.deviceStatus = status;
}

void Positioner::SetVariable(std::uint16_t id, double value) {
  CheckKnown(id);
  CatchUp();
  if (!StoreVariable(m_state, id, value)) {
    throw std::invalid_argument("sim: device variable " + std::to_string(id) + " follows the status records");
  }
  WorkOutAlarms(m_state);
}

double Positioner::Variable(std::uint16_t id) const {
  CheckKnown(id);
  return ReadVariable(m_state, id);
}

const std::vector<std::vector<std::uint8_t>>& Positioner::Requests() const { return m_requests; }

void Positioner::ClearRequests() {
  m_requests.clear();
}

void Positioner::InjectFault(Fault fault, int times) {
  if (times == 0 || times < -1) return;
  m_faults.push_back({fault, times});
}

void Positioner::ClearFaults() {
  m_faults.clear();
}

void Positioner::SetLatency(std::chrono::milliseconds latency) {
  m_latency = latency;
}

}  // namespace sim
