#include "sim/install.h"

#include <map>

#include "platform/opc/server.h"

namespace sim {

namespace {

std::map<std::string, std::shared_ptr<Positioner>>& Positioners() {
  static std::map<std::string, std::shared_ptr<Positioner>> byPath;
  return byPath;
}

}  // namespace

void InstallAsOpcDevices() {
  opc::SetDeviceProvider([](const std::string& devicePath) -> std::shared_ptr<opc::IHartFrameDevice> {
    return PositionerFor(devicePath);
  });
}

std::shared_ptr<Positioner> PositionerFor(const std::string& devicePath) {
  std::shared_ptr<Positioner>& positioner = Positioners()[devicePath];
  if (!positioner) positioner = std::make_shared<Positioner>();
  return positioner;
}

void ForgetPositioners() {
  Positioners().clear();
}

}  // namespace sim
