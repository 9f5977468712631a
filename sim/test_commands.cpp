#include "sim/commands.h"
#include "sim/test_engine.h"
#include "sim/wire.h"

#include <algorithm>

namespace sim::cmd {

namespace {

// Hands out the next block and its number, and moves on.
template <std::size_t Samples>
void PutNextBlock(std::vector<std::uint8_t>& reply, SampleBlocks<Samples>& samples) {
  if (samples.next >= kSampleBlocks) samples.next = 0;
  for (std::int16_t sample : samples.blocks[samples.next]) wire::PutI16(reply, sample);
  reply.push_back(samples.next);
  samples.next = static_cast<std::uint8_t>((samples.next + 1) % kSampleBlocks);
}

}  // namespace

std::uint8_t ReadTestResult(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  const TestResult& r = SelectedResult(state);
  reply.push_back(r.field0);
  for (float value : r.setup) wire::PutF32(reply, value);
  wire::PutBytes(reply, r.info);
  wire::PutF32(reply, r.resultA);
  wire::PutF32(reply, r.resultB);
  wire::PutF32(reply, r.resultC);
  reply.push_back(r.resultCode);
  wire::PutF32(reply, r.setup4);
  reply.push_back(r.bits);
  return kRcSuccess;
}

// The selected record's block at the pointer, which stops at the last
// block: a reader that lost the last reply gets it again, not block 0.
std::uint8_t ReadTestSamples(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  std::uint8_t& next = state.tests.samples.next;
  next = std::min<std::uint8_t>(next, kSampleBlocks - 1);
  for (std::int16_t sample : SelectedSamples(state).blocks[next]) wire::PutI16(reply, sample);
  reply.push_back(next);
  if (next + 1u < kSampleBlocks) ++next;
  return kRcSuccess;
}

std::uint8_t ReadTestSamplesB(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutNextBlock(reply, state.tests.samplesB);
  return kRcSuccess;
}

}  // namespace sim::cmd
