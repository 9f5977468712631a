#include "sim/calibration.h"
#include "sim/commands.h"
#include "sim/variables.h"
#include "sim/wire.h"

namespace sim::cmd {

namespace {

void AppendVariable(const DeviceState& state, std::uint16_t id, WireType type, std::vector<std::uint8_t>& reply) {
  wire::PutU16(reply, id);
  PutValue(reply, type, ReadVariable(state, id));
}

}  // namespace

std::uint8_t ReadVariables(DeviceState& state, std::span<const std::uint8_t> data, std::vector<std::uint8_t>& reply) {
  if (data.empty() || data.size() % 2 != 0) return kRcTooFewDataBytes;
  for (std::size_t i = 0; i < data.size(); i += 2) {
    const std::uint16_t id = wire::GetU16(data.subspan(i, 2));
    const std::optional<WireType> type = TypeOf(id);
    if (!type) return kRcInvalidSelection;
    AppendVariable(state, id, *type, reply);
    if (reply.size() > kMaxReplyData) return kRcInvalidSelection;
  }
  return kRcSuccess;
}

// The whole list is checked before anything is stored; then the values
// take effect in frame order, so a write may act on one written before it
// (462 on 461). The echo shows the values the device holds afterwards: a
// write of the priority code changes nothing, and its echo says so; a
// stroke calibration aborted shows the abort state.
std::uint8_t WriteVariables(DeviceState& state, std::span<const std::uint8_t> data, std::vector<std::uint8_t>& reply) {
  if (data.empty()) return kRcTooFewDataBytes;
  // The reply repeats the request's data, so it has to fit a reply too.
  if (data.size() > kMaxReplyData) return kRcInvalidSelection;
  struct Write {
    std::uint16_t id;
    WireType type;
    double value;
  };
  std::vector<Write> writes;
  std::size_t at = 0;
  while (at < data.size()) {
    if (data.size() - at < 2) return kRcTooFewDataBytes;
    const std::uint16_t id = wire::GetU16(data.subspan(at, 2));
    at += 2;
    const std::optional<WireType> type = TypeOf(id);
    if (!type) return kRcInvalidSelection;
    const std::size_t size = SizeOf(*type);
    if (data.size() - at < size) return kRcTooFewDataBytes;
    writes.push_back({id, *type, GetValue(data.subspan(at, size), *type)});
    at += size;
  }
  for (const Write& w : writes) WriteVariable(state, w.id, w.value);
  for (const Write& w : writes) {
    if (EchoesWritten(w.id)) {
      wire::PutU16(reply, w.id);
      PutValue(reply, w.type, w.value);
    } else {
      AppendVariable(state, w.id, w.type, reply);
    }
  }
  return kRcSuccess;
}

}  // namespace sim::cmd
