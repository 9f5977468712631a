#pragma once
// Puts simulated positioners behind the in-process OPC server: one per
// device path, kept until ForgetPositioners().
#include <memory>
#include <string>

#include "sim/positioner.h"

namespace sim {

void InstallAsOpcDevices();
// The positioner of a device path, created on first use; the server gets
// the same object for that path.
std::shared_ptr<Positioner> PositionerFor(const std::string& devicePath);
// The server keeps the devices it was given; opc::ResetServer() drops those.
void ForgetPositioners();

}  // namespace sim
