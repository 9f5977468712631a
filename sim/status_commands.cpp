#include "sim/commands.h"
#include "sim/wire.h"

namespace sim::cmd {

namespace {

constexpr std::size_t kMaskBytes = 32;
// Bytes of the 168 reply that carry nothing the program reads.
constexpr std::size_t kTemperatureGap = 16;

}  // namespace

std::uint8_t ReadTemperature(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  const Temperature& t = state.status.temperature;
  reply.push_back(state.setup.unitCodes[kTemperatureUnit]);
  for (float celsius : {t.current, t.highest, t.lowest}) {
    wire::PutF32(reply, static_cast<float>(ToTemperatureUnit(state.setup, celsius)));
  }
  reply.resize(reply.size() + kTemperatureGap, 0);
  wire::PutF32(reply, t.hours);
  return kRcSuccess;
}

std::uint8_t ReadHealth(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  for (float value : state.status.health) wire::PutF32(reply, value);
  return kRcSuccess;
}

std::uint8_t ReadStatus(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  wire::PutBytes(reply, state.status.bytes);
  return kRcSuccess;
}

std::uint8_t ReadStatusMasks(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  wire::PutBytes(reply, state.status.masks);
  return kRcSuccess;
}

std::uint8_t WriteStatusMasks(DeviceState& state, std::span<const std::uint8_t> data,
                              std::vector<std::uint8_t>& reply) {
  if (data.size() < kMaskBytes) return kRcTooFewDataBytes;
  StatusRecords& status = state.status;
  for (std::size_t i = 0; i < kMaskBytes; ++i) {
    const std::uint8_t fixed = status.fixedMasks[i];
    status.masks[i] = static_cast<std::uint8_t>((status.masks[i] & fixed) | (data[i] & ~fixed));
  }
  return ReadStatusMasks(state, {}, reply);
}

}  // namespace sim::cmd
