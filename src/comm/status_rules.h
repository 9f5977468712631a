#pragma once
// Rules that the device image and the pages share: the LED colours of
// status and health, and the temperature scale chosen by the unit code.
#include "platform/sys/wintypes.h"

namespace status {

// COLORREF values of the LEDs.
inline constexpr COLORREF kHealthy = 0x006400;        // alarm and health LEDs
inline constexpr COLORREF kHeaderHealthy = 0x00FF00;  // the header LED, and gauges in the normal state
inline constexpr COLORREF kAlert = 0x00FFFF;          // alert, mode or warning
inline constexpr COLORREF kActive = 0x00FF00;         // an active state or mode on the annunciators
inline constexpr COLORREF kAlarm = 0x0A0AFF;          // alarm, link down
inline constexpr COLORREF kNotAvailable = 0x696969;

// Unit code 33 is degrees Fahrenheit; every other code reads as Celsius.
struct TemperatureScale {
  bool fahrenheit;
  const char* unit;  // UTF-8 "°F" or "°C"
  int min;
  int max;
};

// The thermometer's scale in the unit; the annunciator pages show a
// narrower one.
constexpr TemperatureScale TemperatureScaleOf(BYTE unitCode, bool annunciator = false) {
  const bool f = unitCode == 33;
  const char* unit = f ? "\xC2\xB0" "F" : "\xC2\xB0" "C";
  if (annunciator) return {f, unit, -40, f ? 178 : 80};
  return {f, unit, -50, f ? 186 : 86};
}

}  // namespace status
