#include "sim/valve_model.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

double Lag(double from, double target, double seconds, double tau) {
  if (!(tau > 0)) return target;
  return from + (target - from) * -std::expm1(-seconds / tau);
}

}  // namespace

void Step(ValveModel& valve, double command, double seconds) {
  const double error = command - valve.position;
  valve.pilotCommand = std::clamp(50.0 + valve.pilotGain * error, 0.0, 100.0);
  valve.pilotPosition = Lag(valve.pilotPosition, valve.pilotCommand, seconds, valve.pilotTimeConstant);
  // A stem that breaks away inside the dead band stops in the same step:
  // a dead band wider than the breakaway leaves it at rest.
  if (valve.stuck) {
    valve.moving = false;
    return;
  }
  if (!valve.moving && std::abs(error) > valve.breakaway) valve.moving = true;
  if (valve.moving && std::abs(error) <= valve.deadBand) valve.moving = false;
  if (!valve.moving) return;
  valve.position = std::clamp(Lag(valve.position, command, seconds, valve.timeConstant), valve.lowStop,
                              valve.highStop);
}

}  // namespace sim
