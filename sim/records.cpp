#include "sim/records.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace sim {

std::int16_t Hundredths(double percent) {
  return static_cast<std::int16_t>(std::lround(std::clamp(percent, -327.68, 327.67) * 100));
}

namespace {

// The status bits the program names, byte by byte.
constexpr std::array<std::uint8_t, 32> kNamedBits = {
    0x1F, 0x1F, 0x3F, 0x7F, 0x3F, 0x7F, 0x0F, 0, 0, 0, 0x3F, 0xFF, 0x07, 0xFF, 0, 0xFF,
    0xFF, 0xFF, 0x7F, 0x3F, 0xFF, 0,    0,    0, 0x07, 0x7F, 0x0F, 0xFF, 0x7F, 0, 0, 0};
static_assert([] {
  int named = 0;
  for (std::uint8_t bits : kNamedBits) named += std::popcount(bits);
  return named == 139;
}());


// Follows `target` with the lag of a real actuator.
double Lag(double from, double target, double dt, double tau) {
  return from + (target - from) * (1 - std::exp(-dt / tau));
}

}  // namespace

std::uint8_t PriorityCode(const StatusRecords& status) {
  for (std::size_t byte = 0; byte < kNamedBits.size(); ++byte) {
    const unsigned active = status.bytes[byte] & status.masks[byte] & kNamedBits[byte] & (byte == 0 ? 0xFEu : 0xFFu);
    if (active != 0) return static_cast<std::uint8_t>(byte * 8 + static_cast<std::size_t>(std::countr_zero(active)));
  }
  return 0;
}

double ToTemperatureUnit(const SetupRecords& setup, double celsius) {
  return setup.unitCodes[kTemperatureUnit] == kFahrenheit ? celsius * 1.8 + 32 : celsius;
}

double FromTemperatureUnit(const SetupRecords& setup, double value) {
  return setup.unitCodes[kTemperatureUnit] == kFahrenheit ? (value - 32) / 1.8 : value;
}

Curve LinearCurve() {
  Curve curve{};
  for (std::size_t k = 0; k < curve.size(); ++k) curve[k] = static_cast<std::int16_t>(k * 500);
  return curve;
}

Curve QuickOpeningCurve() {
  Curve curve{};
  for (std::size_t k = 0; k < curve.size(); ++k) curve[k] = Hundredths(100 * std::sqrt(k / 20.0));
  return curve;
}

// A one-way ramp from 10 % to 90 %: one second at the start, 60 s of ramp,
// 5 s of hold, 208 samples over the 66 s.
SampleBlocks<28> RampTestSamples() {
  SampleBlocks<28> out;
  const double dt = 66.0 / 208;
  double position = 10;
  double pilotPosition = 50;
  for (std::size_t i = 0; i < kSampleBlocks * 4; ++i) {
    const double t = i * dt;
    const double command = t < 1 ? 10 : t < 61 ? 10 + 80 * (t - 1) / 60 : 90;
    position = Lag(position, command, dt, 0.9);
    const double pilotCommand = std::clamp(50 + 6 * (command - position), 0.0, 100.0);
    pilotPosition = Lag(pilotPosition, pilotCommand, dt, 0.2);
    const double portA = 18 + 0.35 * position;
    const double values[7] = {command, position, pilotCommand, pilotPosition, 60.0, portA, 60.0 - portA};
    auto& block = out.blocks[i / 4];
    for (std::size_t k = 0; k < 7; ++k) block[i % 4 * 7 + k] = Hundredths(values[k]);
  }
  return out;
}

// Eight samples of command, position and pilot relay command and position
// per block: a step from 40 % to 60 %.
SampleBlocks<32> StepTestSamples() {
  SampleBlocks<32> out;
  double position = 40;
  double pilotPosition = 50;
  for (std::size_t i = 0; i < kSampleBlocks * 8; ++i) {
    const double command = i < 48 ? 40 : 60;
    position = Lag(position, command, 0.1, 0.7);
    const double pilotCommand = std::clamp(50 + 6 * (command - position), 0.0, 100.0);
    pilotPosition = Lag(pilotPosition, pilotCommand, 0.1, 0.15);
    const double values[4] = {command, position, pilotCommand, pilotPosition};
    auto& block = out.blocks[i / 8];
    for (std::size_t k = 0; k < 4; ++k) block[i % 8 * 4 + k] = Hundredths(values[k]);
  }
  return out;
}

// Known status bits going on and off again, an hour stamp in the bytes
// that the program carries without reading.
EventHistory RecentEvents(std::size_t records, std::uint8_t lastBlock) {
  static constexpr std::uint8_t kCodes[] = {9, 17, 24, 33, 41, 88, 104, 121, 152, 161};
  EventHistory history;
  history.lastBlock = lastBlock;
  for (std::size_t k = 0; k < records; ++k) {
    const auto hour = static_cast<std::uint32_t>(16000 + 13 * k);
    EventRecord r;
    r.code = kCodes[k / 2 % std::size(kCodes)];
    r.state = k % 2 == 0 ? 1 : 0;
    r.extra = {static_cast<std::uint8_t>(hour >> 24), static_cast<std::uint8_t>(hour >> 16),
               static_cast<std::uint8_t>(hour >> 8), static_cast<std::uint8_t>(hour), 0, 0};
    history.records.push_back(r);
  }
  return history;
}

}  // namespace sim
