#pragma once
// The alarms and alerts the simulated positioner works out from its own
// state, and the event histories that every change of a status bit goes
// into.
#include <array>
#include <cstdint>

namespace sim {

struct DeviceState;
struct EventHistory;

inline constexpr std::int64_t kMsPerHour = 3'600'000;

struct AlarmRecords {
  // The device's running clock, which stamps every event; it starts where
  // the hour counter of 168 stands on a fresh device.
  std::int64_t clockMs = 17520 * kMsPerHour;
  // Since when (clockMs) the deviation has been outside its tolerance; -1
  // while it is inside.
  std::int64_t deviationSinceMs = -1;
  // The derived bits as last worked out. A derived bit follows its
  // condition only when the condition changes, so a bit set from outside
  // stays as set until then.
  std::array<std::uint8_t, 32> worked{};
  friend bool operator==(const AlarmRecords&, const AlarmRecords&) = default;
};

// Works the derived bits out again at the device's clock and appends an
// event for every bit that rises or falls.
void WorkOutAlarms(DeviceState& state);

// Appends a record (code = byte x 8 + bit, state 1 on, 0 off) stamped with
// the device's clock: hours big-endian in bytes 2-5, seconds into the hour
// in 6-7. A full history drops its oldest record.
void AppendEvent(EventHistory& history, const AlarmRecords& alarms, std::uint8_t code, bool on);

}  // namespace sim
