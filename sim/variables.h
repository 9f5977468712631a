#pragma once
// The device variables the simulator knows, each with the type it has on
// the wire. New variables go into the table in variables.cpp.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace sim {

enum class WireType { U8, U16, U32, F32 };

struct VariableInfo {
  std::uint16_t id;
  WireType type;
};

std::span<const VariableInfo> VariableTable();
// No value for an id the simulator does not know.
std::optional<WireType> TypeOf(std::uint16_t id);
std::size_t SizeOf(WireType type);

// Integer types take the value rounded toward zero and held to their range.
void PutValue(std::vector<std::uint8_t>& out, WireType type, double value);
// The span must hold SizeOf(type) bytes.
double GetValue(std::span<const std::uint8_t> in, WireType type);

}  // namespace sim
