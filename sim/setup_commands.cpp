#include <algorithm>

#include "sim/commands.h"
#include "sim/wire.h"

namespace sim::cmd {

namespace {

constexpr std::size_t kCurveBytes = 2 * std::tuple_size_v<Curve>;

void PutCurve(std::vector<std::uint8_t>& reply, const Curve& curve) {
  for (std::int16_t point : curve) wire::PutI16(reply, point);
}

std::uint8_t TakeCurve(Curve& curve, std::span<const std::uint8_t> data) {
  if (data.size() < kCurveBytes) return kRcTooFewDataBytes;
  wire::Reader in(data);
  for (std::int16_t& point : curve) point = in.I16();
  return kRcSuccess;
}

template <std::size_t N>
std::uint8_t TakeBytes(std::array<std::uint8_t, N>& bytes, std::span<const std::uint8_t> data) {
  if (data.size() < N) return kRcTooFewDataBytes;
  std::copy_n(data.begin(), N, bytes.begin());
  return kRcSuccess;
}

}  // namespace

std::uint8_t ReadCommandPosition(DeviceState& state, std::span<const std::uint8_t>,
                                 std::vector<std::uint8_t>& reply) {
  wire::PutBytes(reply, state.setup.commandPosition);
  return kRcSuccess;
}

std::uint8_t ReadCustomCurve(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutCurve(reply, state.setup.customCurve);
  return kRcSuccess;
}

// Points are kept as sent, the first one too, though the program always
// sends 0 there.
std::uint8_t WriteCustomCurve(DeviceState& state, std::span<const std::uint8_t> data,
                              std::vector<std::uint8_t>& reply) {
  const std::uint8_t code = TakeCurve(state.setup.customCurve, data);
  if (code != kRcSuccess) return code;
  return ReadCustomCurve(state, {}, reply);
}

std::uint8_t ReadConfiguration(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  wire::PutBytes(reply, state.setup.configuration);
  return kRcSuccess;
}

// The program sends 140 and reads nothing from the answer.
std::uint8_t Acknowledge(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&) {
  return kRcSuccess;
}

std::uint8_t ReadUnitCodes(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  wire::PutBytes(reply, state.setup.unitCodes);
  return kRcSuccess;
}

std::uint8_t ReadBytes182(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  wire::PutBytes(reply, state.setup.bytes182);
  return kRcSuccess;
}

std::uint8_t WriteBytes182(DeviceState& state, std::span<const std::uint8_t> data, std::vector<std::uint8_t>& reply) {
  const std::uint8_t code = TakeBytes(state.setup.bytes182, data);
  if (code != kRcSuccess) return code;
  return ReadBytes182(state, {}, reply);
}

std::uint8_t ReadSecondCurve(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutCurve(reply, state.setup.secondCurve);
  return kRcSuccess;
}

std::uint8_t WriteSecondCurve(DeviceState& state, std::span<const std::uint8_t> data,
                              std::vector<std::uint8_t>& reply) {
  const std::uint8_t code = TakeCurve(state.setup.secondCurve, data);
  if (code != kRcSuccess) return code;
  return ReadSecondCurve(state, {}, reply);
}

std::uint8_t ReadBytes222(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  wire::PutBytes(reply, state.setup.bytes222);
  return kRcSuccess;
}

std::uint8_t WriteBytes222(DeviceState& state, std::span<const std::uint8_t> data, std::vector<std::uint8_t>& reply) {
  const std::uint8_t code = TakeBytes(state.setup.bytes222, data);
  if (code != kRcSuccess) return code;
  return ReadBytes222(state, {}, reply);
}

}  // namespace sim::cmd
