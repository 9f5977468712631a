#pragma once
// What stands behind an OPC HART frame item: a device that takes one
// request frame and gives back one reply frame, or none.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace opc {

class IHartFrameDevice {
 public:
  virtual ~IHartFrameDevice() = default;
  // Request: [command][byte count][data...] (or [command] alone).
  // Reply:   [command][byte count][response code][device status][data...].
  // No value means the device did not answer.
  virtual std::optional<std::vector<std::uint8_t>> Transact(std::span<const std::uint8_t> request) = 0;
};

}  // namespace opc
