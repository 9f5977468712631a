#include "sim/variables.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "sim/wire.h"

namespace sim {

namespace {

constexpr VariableInfo kVariables[] = {
    {3, WireType::F32},    // digital command, %
    {8, WireType::U8},     // control mode; bit 0 set: digital only
    {10, WireType::F32},   // position, %
    {42, WireType::U8},    // priority code: index of the highest active status bit, 0 for none
    {117, WireType::F32},  // position alert, high set point
    {118, WireType::F32},  // position alert, low set point
    {461, WireType::U8},   // which histogram 208 returns: 0-2 deviation parts, 3 position
};

// Casting an out-of-range double to an integer is undefined, so clamp first.
std::uint32_t Clamped(double value, double max) {
  if (!(value > 0)) return 0;  // also NaN
  return static_cast<std::uint32_t>(std::min(std::trunc(value), max));
}

}  // namespace

std::span<const VariableInfo> VariableTable() { return kVariables; }

std::optional<WireType> TypeOf(std::uint16_t id) {
  const auto it = std::find_if(std::begin(kVariables), std::end(kVariables),
                               [id](const VariableInfo& v) { return v.id == id; });
  if (it == std::end(kVariables)) return std::nullopt;
  return it->type;
}

std::size_t SizeOf(WireType type) {
  switch (type) {
    case WireType::U8: return 1;
    case WireType::U16: return 2;
    case WireType::U32:
    case WireType::F32: return 4;
  }
  return 0;
}

void PutValue(std::vector<std::uint8_t>& out, WireType type, double value) {
  switch (type) {
    case WireType::U8: out.push_back(static_cast<std::uint8_t>(Clamped(value, 0xFF))); break;
    case WireType::U16: wire::PutU16(out, static_cast<std::uint16_t>(Clamped(value, 0xFFFF))); break;
    case WireType::U32: wire::PutU32(out, Clamped(value, 0xFFFFFFFF)); break;
    case WireType::F32: wire::PutF32(out, static_cast<float>(value)); break;
  }
}

double GetValue(std::span<const std::uint8_t> in, WireType type) {
  switch (type) {
    case WireType::U8: return in[0];
    case WireType::U16: return wire::GetU16(in);
    case WireType::U32: return wire::GetU32(in);
    case WireType::F32: return wire::GetF32(in);
  }
  return 0;
}

}  // namespace sim
