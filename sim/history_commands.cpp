#include "sim/commands.h"
#include "sim/wire.h"

namespace sim::cmd {

namespace {

constexpr std::size_t kHistoryChars = 24;
constexpr std::size_t kRecordsPerBlock = 8;

// Plain 8-bit text, cut or padded with blanks.
void PutText(std::vector<std::uint8_t>& reply, const std::string& text) {
  for (std::size_t i = 0; i < kHistoryChars; ++i) {
    reply.push_back(static_cast<std::uint8_t>(i < text.size() ? text[i] : ' '));
  }
}

void PutNextBlock(std::vector<std::uint8_t>& reply, EventHistory& history) {
  if (history.next > history.lastBlock) history.next = 0;
  for (std::size_t k = 0; k < kRecordsPerBlock; ++k) {
    const std::size_t at = history.next * kRecordsPerBlock + k;
    const EventRecord r = at < history.records.size() ? history.records[at] : EventRecord{};
    reply.push_back(r.code);
    reply.push_back(r.state);
    wire::PutBytes(reply, r.extra);
  }
  reply.push_back(history.next);
  history.next = history.next == history.lastBlock ? 0 : static_cast<std::uint8_t>(history.next + 1);
}

}  // namespace

// A code the device keeps no text for is refused, for reading and writing.
std::uint8_t ReadCalibrationHistory(DeviceState& state, std::span<const std::uint8_t> data,
                                    std::vector<std::uint8_t>& reply) {
  if (data.empty()) return kRcTooFewDataBytes;
  const auto it = state.history.calibration.find(data[0]);
  if (it == state.history.calibration.end()) return kRcInvalidSelection;
  reply.push_back(it->first);
  PutText(reply, it->second);
  return kRcSuccess;
}

std::uint8_t WriteCalibrationHistory(DeviceState& state, std::span<const std::uint8_t> data,
                                     std::vector<std::uint8_t>& reply) {
  if (data.size() < 1 + kHistoryChars) return kRcTooFewDataBytes;
  const auto it = state.history.calibration.find(data[0]);
  if (it == state.history.calibration.end()) return kRcInvalidSelection;
  const auto text = data.subspan(1, kHistoryChars);
  it->second.assign(text.begin(), text.end());
  return ReadCalibrationHistory(state, data.first(1), reply);
}

// Only kept: which history a read returns is the read command's choice.
std::uint8_t WriteEventSelect(DeviceState& state, std::span<const std::uint8_t> data,
                              std::vector<std::uint8_t>& reply) {
  if (data.empty()) return kRcTooFewDataBytes;
  state.history.eventSelect = data[0];
  reply.push_back(data[0]);
  return kRcSuccess;
}

std::uint8_t ReadAllEvents(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutNextBlock(reply, state.history.allEvents);
  return kRcSuccess;
}

std::uint8_t ReadCalibrationEvents(DeviceState& state, std::span<const std::uint8_t>,
                                   std::vector<std::uint8_t>& reply) {
  PutNextBlock(reply, state.history.calibrationEvents);
  return kRcSuccess;
}

std::uint8_t ReadAlarmEvents(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutNextBlock(reply, state.history.alarmEvents);
  return kRcSuccess;
}

}  // namespace sim::cmd
