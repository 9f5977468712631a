#pragma once
// The commands the simulator serves. A handler gets the request's data
// bytes (as many as the byte count says), appends its reply data and
// returns the response code; any data is dropped when the code is not
// success. A handler that fails must leave the state as it was.
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "sim/positioner.h"

namespace sim {

using CommandHandler = std::uint8_t (*)(DeviceState& state, std::span<const std::uint8_t> data,
                                        std::vector<std::uint8_t>& reply);

const std::map<std::uint8_t, CommandHandler>& CommandTable();

namespace cmd {

// universal_commands.cpp
std::uint8_t ReadUniqueIdentifier(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadMessage(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadTagDescriptorDate(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteMessage(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteTagDescriptorDate(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);

// variable_commands.cpp
std::uint8_t ReadVariables(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteVariables(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);

}  // namespace cmd

}  // namespace sim
