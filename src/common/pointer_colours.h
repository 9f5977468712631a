#pragma once
// The colour of a gauge's value pointer against the limit markers beside
// it. A value that is not a number counts as outside every band.
#include "comm/status_rules.h"

namespace gauges {

// Between a low and a high marker, both ends included: healthy; else alarm.
constexpr COLORREF BandColour(double value, double low, double high) {
  return value >= low && value <= high ? status::kHeaderHealthy : status::kAlarm;
}

struct AlarmWarningLimits {
  double lowAlarm, lowWarning, highWarning, highAlarm;
};

// Alarm below the low alarm and from the high alarm up; warning from the
// low alarm up to the low warning (included) and from the high warning up
// to the high alarm; healthy between the warnings.
constexpr COLORREF AlarmWarningColour(double value, const AlarmWarningLimits& l) {
  if (!(value >= l.lowAlarm && value < l.highAlarm)) return status::kAlarm;
  if (value <= l.lowWarning || value >= l.highWarning) return status::kAlert;
  return status::kHeaderHealthy;
}

}  // namespace gauges
