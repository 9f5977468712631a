#pragma once
// Puts simulated positioners behind the in-process OPC server: one per
// configured device path, kept until ForgetPositioners().
#include <memory>
#include <string>
#include <vector>

#include "sim/positioner.h"

namespace sim {

inline constexpr const char* kDefaultDevicePath = "HART/Net/Tarnix1";

// The device paths to serve: those of $TARNIX_SIM_DEVICES (separated by
// ":") and the lines of the file $TARNIX_SIM_DEVICES_FILE names; the
// default path when neither gives one.
std::vector<std::string> ConfiguredDevicePaths();

// The server gets a positioner for each of these paths and refuses any
// other path, as a host refuses an unknown device.
void InstallAsOpcDevices(std::vector<std::string> devicePaths = ConfiguredDevicePaths());
// The positioner of a device path, created on first use; the server gets
// the same object for that path. $TARNIX_SIM_INPUT ("steady", "sine" or
// "steps") gives a new one its input profile.
std::shared_ptr<Positioner> PositionerFor(const std::string& devicePath);
// The server keeps the devices it was given; opc::ResetServer() drops those.
void ForgetPositioners();

}  // namespace sim
