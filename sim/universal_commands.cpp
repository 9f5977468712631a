#include "sim/commands.h"
#include "sim/wire.h"

namespace sim::cmd {

namespace {

constexpr std::size_t kMessageChars = 32;
constexpr std::size_t kTagChars = 8;
constexpr std::size_t kDescriptorChars = 16;
constexpr std::size_t kPackedMessage = kMessageChars / 4 * 3;
constexpr std::size_t kPackedTag = kTagChars / 4 * 3;
constexpr std::size_t kPackedDescriptor = kDescriptorChars / 4 * 3;
constexpr std::size_t kTagDescriptorDate = kPackedTag + kPackedDescriptor + 3;

void Append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace

std::uint8_t ReadUniqueIdentifier(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  const Identity& id = state.identity;
  reply.insert(reply.end(), {254, id.manufacturerId, id.deviceType, id.requestPreambles, id.universalRevision,
                             id.deviceRevision, id.softwareRevision, id.hardwareRevision, id.flags});
  wire::PutU24(reply, id.deviceId);
  return kRcSuccess;
}

std::uint8_t ReadMessage(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  Append(reply, wire::PackAscii(state.identity.message, kMessageChars));
  return kRcSuccess;
}

std::uint8_t ReadTagDescriptorDate(DeviceState& state, std::span<const std::uint8_t>,
                                   std::vector<std::uint8_t>& reply) {
  const Identity& id = state.identity;
  Append(reply, wire::PackAscii(id.tag, kTagChars));
  Append(reply, wire::PackAscii(id.descriptor, kDescriptorChars));
  reply.insert(reply.end(), {id.date.day, id.date.month, static_cast<std::uint8_t>(id.date.year - 1900)});
  return kRcSuccess;
}

// Bytes past the packed text are ignored, as the program may send the
// message's unused tail along.
std::uint8_t WriteMessage(DeviceState& state, std::span<const std::uint8_t> data, std::vector<std::uint8_t>& reply) {
  if (data.size() < kPackedMessage) return kRcTooFewDataBytes;
  state.identity.message = wire::UnpackAscii(data.first(kPackedMessage));
  return ReadMessage(state, {}, reply);
}

std::uint8_t WriteTagDescriptorDate(DeviceState& state, std::span<const std::uint8_t> data,
                                    std::vector<std::uint8_t>& reply) {
  if (data.size() < kTagDescriptorDate) return kRcTooFewDataBytes;
  Identity& id = state.identity;
  id.tag = wire::UnpackAscii(data.subspan(0, kPackedTag));
  id.descriptor = wire::UnpackAscii(data.subspan(kPackedTag, kPackedDescriptor));
  const auto date = data.subspan(kPackedTag + kPackedDescriptor, 3);
  id.date = {date[0], date[1], static_cast<std::uint16_t>(1900 + date[2])};
  return ReadTagDescriptorDate(state, {}, reply);
}

}  // namespace sim::cmd
