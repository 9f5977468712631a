#pragma once
// What the process does to the simulated positioner's 4-20 mA input: it
// stays where it was set (the default, so every other test sees exact
// values), follows a slow sine, or climbs a staircase. The process warms
// the electronics with it: the temperature readings lean with the wave.
// Both run on the device's clock, so a run on the manual clock repeats.
#include <cstdint>

namespace sim {

enum class InputShape : std::uint8_t {
  Steady,
  SlowSine,  // centre + amplitude x sin(2 pi t / period)
  Steps,     // quarter periods at centre, centre + amplitude, centre, centre - amplitude
};

struct InputProfile {
  InputShape shape = InputShape::Steady;
  double centre = 50.0;     // % of 4-20 mA
  double amplitude = 25.0;  // %
  double periodS = 120.0;
  double heat = 4.0;         // °C that the temperature leans at the top of the wave
  std::int64_t startMs = 0;  // the device's clock when the profile was set
  friend bool operator==(const InputProfile&, const InputProfile&) = default;
};

// -1 .. 1 at the device's clock; 0 when steady.
double InputWave(const InputProfile& profile, std::int64_t clockMs);
// The analog input (%) the profile gives; `held` when it is steady.
double ProfileInput(const InputProfile& profile, std::int64_t clockMs, double held);
// °C the process adds to the temperature now.
double ProcessHeat(const InputProfile& profile, std::int64_t clockMs);
// "steady", "sine" or "steps"; anything else is none.
bool ParseInputShape(const char* text, InputShape* shape);

}  // namespace sim
