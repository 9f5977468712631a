#include "sim/input_profile.h"

#include <cmath>
#include <numbers>
#include <string_view>

namespace sim {

double InputWave(const InputProfile& profile, std::int64_t clockMs) {
  if (profile.shape == InputShape::Steady || !(profile.periodS > 0)) return 0;
  const double periodMs = profile.periodS * 1000;
  const double phase = std::fmod(static_cast<double>(clockMs - profile.startMs), periodMs) / periodMs;
  const double turn = phase < 0 ? phase + 1 : phase;
  if (profile.shape == InputShape::SlowSine) return std::sin(2 * std::numbers::pi * turn);
  constexpr double kLevels[] = {0, 1, 0, -1};
  return kLevels[static_cast<int>(turn * 4) % 4];
}

double ProfileInput(const InputProfile& profile, std::int64_t clockMs, double held) {
  if (profile.shape == InputShape::Steady) return held;
  return profile.centre + profile.amplitude * InputWave(profile, clockMs);
}

double ProcessHeat(const InputProfile& profile, std::int64_t clockMs) {
  return profile.heat * InputWave(profile, clockMs);
}

bool ParseInputShape(const char* text, InputShape* shape) {
  const std::string_view t = text ? text : "";
  if (t == "steady") *shape = InputShape::Steady;
  else if (t == "sine") *shape = InputShape::SlowSine;
  else if (t == "steps") *shape = InputShape::Steps;
  else return false;
  return true;
}

}  // namespace sim
