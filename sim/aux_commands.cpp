#include "sim/commands.h"
#include "sim/variables.h"
#include "sim/wire.h"

namespace sim::cmd {

namespace {

constexpr std::size_t kAuxCardWrite = 48;
constexpr std::size_t kTrainingWrite = 5;
constexpr std::uint16_t kHistogramSelector = 461;

void PutAuxCard(std::vector<std::uint8_t>& reply, const AuxCard& card) {
  reply.push_back(card.setting0);
  wire::PutU16(reply, card.setting1);
  wire::PutU16(reply, card.reading0);
  wire::PutF32(reply, card.reading1);
  wire::PutF32(reply, card.reading2);
  reply.push_back(card.reading3);
  reply.push_back(card.reading4);
  for (std::uint16_t word : card.settingWords) wire::PutU16(reply, word);
  wire::PutBytes(reply, card.settingBytes);
  wire::PutF32(reply, card.settingValue);
}

// The readings are the card's own; a write sets the settings only.
std::uint8_t WriteAuxCard(AuxCard& card, std::span<const std::uint8_t> data, std::vector<std::uint8_t>& reply) {
  if (data.size() < kAuxCardWrite) return kRcTooFewDataBytes;
  wire::Reader in(data);
  card.setting0 = in.U8();
  card.setting1 = in.U16();
  for (std::uint16_t& word : card.settingWords) word = in.U16();
  for (std::uint8_t& byte : card.settingBytes) byte = in.U8();
  card.settingValue = in.F32();
  PutAuxCard(reply, card);
  return kRcSuccess;
}

void PutHistogram(std::vector<std::uint8_t>& reply, const Histogram& bins) {
  for (std::uint32_t bin : bins) wire::PutU32(reply, bin);
}

}  // namespace

std::uint8_t ReadAuxCard1(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutAuxCard(reply, state.aux.cards[0]);
  return kRcSuccess;
}

std::uint8_t WriteAuxCard1(DeviceState& state, std::span<const std::uint8_t> data, std::vector<std::uint8_t>& reply) {
  return WriteAuxCard(state.aux.cards[0], data, reply);
}

std::uint8_t ReadAuxCard2(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutAuxCard(reply, state.aux.cards[1]);
  return kRcSuccess;
}

std::uint8_t WriteAuxCard2(DeviceState& state, std::span<const std::uint8_t> data, std::vector<std::uint8_t>& reply) {
  return WriteAuxCard(state.aux.cards[1], data, reply);
}

std::uint8_t ReadTrainingConfig(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  const TrainingConfig& t = state.aux.training;
  wire::PutF32(reply, t.setting);
  reply.push_back(t.settingByte);
  wire::PutF32(reply, t.valueA);
  wire::PutF32(reply, t.valueB);
  wire::PutBytes(reply, t.bytes);
  return kRcSuccess;
}

std::uint8_t WriteTrainingConfig(DeviceState& state, std::span<const std::uint8_t> data,
                                 std::vector<std::uint8_t>& reply) {
  if (data.size() < kTrainingWrite) return kRcTooFewDataBytes;
  wire::Reader in(data);
  state.aux.training.setting = in.F32();
  state.aux.training.settingByte = in.U8();
  return ReadTrainingConfig(state, {}, reply);
}

std::uint8_t ReadTrainingHistogram(DeviceState& state, std::span<const std::uint8_t>,
                                   std::vector<std::uint8_t>& reply) {
  PutHistogram(reply, state.aux.trainingHistogram);
  return kRcSuccess;
}

// The alert pages write the selector as a device variable before they
// read; a selector the device has no histogram for is refused.
std::uint8_t ReadHistogram(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  const double selector = ReadVariable(state, kHistogramSelector);
  const auto& histograms = state.aux.histograms;
  if (!(selector >= 0 && selector < static_cast<double>(histograms.size()))) return kRcInvalidSelection;
  PutHistogram(reply, histograms[static_cast<std::size_t>(selector)]);
  return kRcSuccess;
}

}  // namespace sim::cmd
