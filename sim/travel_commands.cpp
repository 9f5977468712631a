#include "sim/commands.h"
#include "sim/wire.h"

namespace sim::cmd {

namespace {

// Which members of TravelCycle a record puts on the wire.
enum class Form { Full, Short, Pilot };

constexpr std::uint8_t kResetTravel = 1;
constexpr std::uint8_t kResetCycles = 2;

void PutRecord(std::vector<std::uint8_t>& reply, const TravelCycle& r, Form form) {
  wire::PutU32(reply, r.count1);
  wire::PutU32(reply, r.limit1A);
  wire::PutU32(reply, r.limit1B);
  wire::PutF32(reply, r.value1A);
  if (form != Form::Short) wire::PutF32(reply, r.value1B);
  wire::PutU32(reply, r.count2);
  wire::PutU32(reply, r.limit2A);
  wire::PutU32(reply, r.limit2B);
  wire::PutF32(reply, r.value2A);
  if (form != Form::Short) wire::PutF32(reply, r.value2B);
  if (form == Form::Full) {
    wire::PutF32(reply, r.setting1);
    wire::PutF32(reply, r.setting2);
    wire::PutF32(reply, r.setting3);
  }
  reply.push_back(r.setting);
}

// The counters are the device's own: a write sets only limits, settings
// and the setting byte, and the byte may ask to reset a counter.
std::uint8_t WriteRecord(TravelCycle& r, Form form, bool resets, std::span<const std::uint8_t> data,
                         std::vector<std::uint8_t>& reply) {
  const std::size_t size = form == Form::Full ? 29 : 17;
  if (data.size() < size) return kRcTooFewDataBytes;
  wire::Reader in(data);
  r.limit1A = in.U32();
  r.limit1B = in.U32();
  r.limit2A = in.U32();
  r.limit2B = in.U32();
  if (form == Form::Full) {
    r.setting1 = in.F32();
    r.setting2 = in.F32();
    r.setting3 = in.F32();
  }
  r.setting = in.U8();
  if (resets && r.setting == kResetTravel) {
    r.count1 = 0;
    r.odometer.travelPercent = 0;
  }
  if (resets && r.setting == kResetCycles) r.count2 = 0;
  PutRecord(reply, r, form);
  return kRcSuccess;
}

}  // namespace

std::uint8_t ReadValveRecord(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutRecord(reply, state.travel.valve, Form::Full);
  return kRcSuccess;
}

std::uint8_t WriteValveRecord(DeviceState& state, std::span<const std::uint8_t> data,
                              std::vector<std::uint8_t>& reply) {
  return WriteRecord(state.travel.valve, Form::Full, true, data, reply);
}

std::uint8_t ReadActuatorRecord(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutRecord(reply, state.travel.actuator, Form::Short);
  return kRcSuccess;
}

// No page resets the actuator or bellows counters, so their setting byte
// is only kept.
std::uint8_t WriteActuatorRecord(DeviceState& state, std::span<const std::uint8_t> data,
                                 std::vector<std::uint8_t>& reply) {
  return WriteRecord(state.travel.actuator, Form::Short, false, data, reply);
}

std::uint8_t ReadBellowsRecord(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutRecord(reply, state.travel.bellows, Form::Short);
  return kRcSuccess;
}

std::uint8_t WriteBellowsRecord(DeviceState& state, std::span<const std::uint8_t> data,
                                std::vector<std::uint8_t>& reply) {
  return WriteRecord(state.travel.bellows, Form::Short, false, data, reply);
}

std::uint8_t ReadPilotRecord(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutRecord(reply, state.travel.pilot, Form::Pilot);
  return kRcSuccess;
}

std::uint8_t WritePilotRecord(DeviceState& state, std::span<const std::uint8_t> data,
                              std::vector<std::uint8_t>& reply) {
  return WriteRecord(state.travel.pilot, Form::Pilot, true, data, reply);
}

}  // namespace sim::cmd
