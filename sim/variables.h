#pragma once
// The device variables the simulator knows, each with the type it has on
// the wire, and where each one's value lives: most in
// DeviceState::variables; the counters, limits, units and bytes that a
// record carries too in that record, so that the two never disagree; the
// analog input, position and pilot relay in the valve model; and the
// priority code (42), the command in effect (6), the deviation (12), the
// loop current (1), the raw sensor readings (88 command A/D count, 83
// stem A/D count, 78 and 132 Hall sensor) and the supply pressure count
// (74) nowhere, as every read works them out. New variables go into
// the table in variables.cpp.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace sim {

struct DeviceState;

enum class WireType { U8, U16, U32, F32 };

struct VariableInfo {
  std::uint16_t id;
  WireType type;
  double initial = 0;  // a fresh device's value; unused where a record keeps it
};

std::span<const VariableInfo> VariableTable();
// No value for an id the simulator does not know.
std::optional<WireType> TypeOf(std::uint16_t id);
std::size_t SizeOf(WireType type);

// Integer types take the value rounded toward zero and held to their range.
void PutValue(std::vector<std::uint8_t>& out, WireType type, double value);
// The span must hold SizeOf(type) bytes.
double GetValue(std::span<const std::uint8_t> in, WireType type);

// The ids below must be known (TypeOf has a value for them).

// Variable 8's bit 0: the device takes the digital command (3), not the
// analog one (2).
bool Digital(const DeviceState& state);
// The command the valve follows, variable 6.
double FinalCommand(const DeviceState& state);

// What a read of the variable gives.
double ReadVariable(const DeviceState& state, std::uint16_t id);
// Keeps the value as the wire would carry it, and sets nothing off. False,
// keeping nothing, for the priority code: it follows the status bytes. The
// raw sensor readings keep nothing either: they follow the valve.
bool StoreVariable(DeviceState& state, std::uint16_t id, double value);
// What one value of a 201 list does: stores it, then carries out what a
// write of that variable sets off on the device; an order (calibration.h)
// is carried out instead of stored.
void WriteVariable(DeviceState& state, std::uint16_t id, double value);
// Gives every variable that lives in DeviceState::variables and is missing
// there a fresh device's value.
void FillVariables(DeviceState& state);

}  // namespace sim
