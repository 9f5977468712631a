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

// status_commands.cpp
std::uint8_t ReadTemperature(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadHealth(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadStatus(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadStatusMasks(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteStatusMasks(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);

// setup_commands.cpp
std::uint8_t ReadCommandPosition(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadCustomCurve(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteCustomCurve(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadConfiguration(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t Acknowledge(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadUnitCodes(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadBytes182(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteBytes182(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadSecondCurve(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteSecondCurve(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadBytes222(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteBytes222(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);

// travel_commands.cpp
std::uint8_t ReadValveRecord(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteValveRecord(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadActuatorRecord(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteActuatorRecord(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadBellowsRecord(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteBellowsRecord(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadPilotRecord(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WritePilotRecord(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);

// aux_commands.cpp
std::uint8_t ReadAuxCard1(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteAuxCard1(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadAuxCard2(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteAuxCard2(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadTrainingConfig(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteTrainingConfig(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadTrainingHistogram(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadHistogram(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);

// test_commands.cpp
std::uint8_t ReadTestResult(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadTestSamples(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadTestSamplesB(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);

// history_commands.cpp
std::uint8_t ReadCalibrationHistory(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteCalibrationHistory(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t WriteEventSelect(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadAllEvents(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadCalibrationEvents(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);
std::uint8_t ReadAlarmEvents(DeviceState&, std::span<const std::uint8_t>, std::vector<std::uint8_t>&);

}  // namespace cmd

}  // namespace sim
