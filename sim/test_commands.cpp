#include "sim/commands.h"
#include "sim/wire.h"

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
  const TestResult& r = state.tests.result;
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

std::uint8_t ReadTestSamples(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutNextBlock(reply, state.tests.samples);
  return kRcSuccess;
}

std::uint8_t ReadTestSamplesB(DeviceState& state, std::span<const std::uint8_t>, std::vector<std::uint8_t>& reply) {
  PutNextBlock(reply, state.tests.samplesB);
  return kRcSuccess;
}

}  // namespace sim::cmd
