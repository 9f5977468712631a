#pragma once
// The valve and actuator behind the simulated positioner: the stem follows
// the command with a first-order lag, friction holds a stem at rest until
// the error breaks it away, and a moving stem stops once the error is
// inside the dead band. No noise, so tests get exact values. Plain data
// that tests set; Step() is all the motion there is.
#include <cstdint>

namespace sim {

struct ValveModel {
  // Percent of 4-20 mA: the command while the device takes the analog one.
  double analogInput = 50.0;
  double position = 49.75;  // %
  bool moving = false;      // friction no longer holds the stem
  // The pilot relay, leaning off its 50 % balance with the error; shown
  // only, the stem does not wait for it.
  double pilotCommand = 52.0;   // %
  double pilotPosition = 52.0;  // %
  double timeConstant = 1.5;    // s
  double deadBand = 0.2;        // %; 0 lets the lag run on for ever
  double breakaway = 0.5;       // %; 0 switches friction off
  bool stuck = false;           // friction holds the stem whatever the error
  double pilotTimeConstant = 0.05;  // s
  double pilotGain = 8.0;           // pilot relay % per % of error
  // The stem travels a little past both ends of the calibrated stroke.
  double lowStop = -1.0;
  double highStop = 101.0;
  friend bool operator==(const ValveModel&, const ValveModel&) = default;
};

// The model moves in steps of this many milliseconds of the time source.
inline constexpr std::int64_t kValveStepMs = 10;

// Moves the valve `seconds` on toward `command` (%).
void Step(ValveModel& valve, double command, double seconds);

}  // namespace sim
