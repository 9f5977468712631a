#include "sim/install.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "platform/opc/server.h"
#include "platform/sys/safe_file.h"

namespace sim {

namespace {

std::map<std::string, std::shared_ptr<Positioner>>& Positioners() {
  static std::map<std::string, std::shared_ptr<Positioner>> byPath;
  return byPath;
}

void AddPath(std::vector<std::string>& paths, std::string path) {
  const auto first = path.find_first_not_of(" \t\r");
  const auto last = path.find_last_not_of(" \t\r");
  if (first == std::string::npos) return;
  path = path.substr(first, last - first + 1);
  if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(std::move(path));
}

// A device list is a few lines; anything else is not read.
constexpr std::size_t kMaxListFileSize = 64 * 1024;

void AddPathsOfFile(std::vector<std::string>& paths, const char* file) {
  std::string text;
  if (plat::ReadRegularFile(file, kMaxListFileSize, &text) != plat::ReadStatus::Ok) {
    std::fprintf(stderr, "TARNIX_SIM_DEVICES_FILE: cannot read %s\n", file);
    return;
  }
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) AddPath(paths, line);
}

}  // namespace

std::vector<std::string> ConfiguredDevicePaths() {
  std::vector<std::string> paths;
  if (const char* list = std::getenv("TARNIX_SIM_DEVICES")) {
    const std::string text = list;
    for (size_t start = 0; start <= text.size();) {
      const size_t end = std::min(text.find(':', start), text.size());
      AddPath(paths, text.substr(start, end - start));
      start = end + 1;
    }
  }
  if (const char* file = std::getenv("TARNIX_SIM_DEVICES_FILE"); file && *file) AddPathsOfFile(paths, file);
  if (paths.empty()) paths.emplace_back(kDefaultDevicePath);
  return paths;
}

void InstallAsOpcDevices(std::vector<std::string> devicePaths) {
  opc::SetDeviceProvider(
      [paths = std::move(devicePaths)](const std::string& devicePath) -> std::shared_ptr<opc::IHartFrameDevice> {
        if (std::find(paths.begin(), paths.end(), devicePath) == paths.end()) return nullptr;
        return PositionerFor(devicePath);
      });
}

std::shared_ptr<Positioner> PositionerFor(const std::string& devicePath) {
  std::shared_ptr<Positioner>& positioner = Positioners()[devicePath];
  if (!positioner) {
    positioner = std::make_shared<Positioner>();
    InputProfile input;
    if (ParseInputShape(std::getenv("TARNIX_SIM_INPUT"), &input.shape)) positioner->SetInputProfile(input);
  }
  return positioner;
}

void ForgetPositioners() {
  Positioners().clear();
}

}  // namespace sim
