#include "common/curve_sources.h"

#include <cmath>

namespace curves {

Outputs EqualPercentage(int rangeability) {
  Outputs curve{};
  const float r = std::pow(static_cast<float>(rangeability), -1.0f);
  for (int i = 1; i < kPoints - 1; ++i) {
    const float e = static_cast<float>((InputAt(i) - 100) * 0.01);
    const float p = std::pow(static_cast<float>(rangeability), e);
    curve[i] = (p - r) * 100;
  }
  curve[kPoints - 1] = 100;
  return curve;
}

std::optional<Outputs> GeneratedCurve(double rangeability) {
  if (!(rangeability >= kMinRangeability && rangeability <= kMaxRangeability)) return std::nullopt;
  return EqualPercentage(static_cast<int>(rangeability));
}

void PreviousCurve::Retrieved(const Outputs& device) {
  if (!m_applied) m_curve = device;
}

void PreviousCurve::Applying(const Outputs& device) {
  m_curve = device;
  m_applied = true;
}

namespace {

// The handlers of the procedure's controls; each settles what follows it.
void Step4(LinkageSteps& s) { s.strokeLength = s.calculate = s.ticked[3]; }

void ArmLength(LinkageSteps& s, double armLength) {
  if (armLength > 0 && s.ticked[2]) {
    s.enabled[3] = true;
    return;
  }
  s.enabled[3] = s.ticked[3] = false;
  Step4(s);
}

void Step2(LinkageSteps& s, double armLength) {
  if (s.ticked[1]) {
    s.enabled[2] = s.armLength = true;
    return;
  }
  s.enabled[2] = s.ticked[2] = s.armLength = false;
  ArmLength(s, armLength);
}

void Step1(LinkageSteps& s, double armLength) {
  if (s.ticked[0]) {
    s.enabled[1] = true;
    return;
  }
  s.enabled[1] = s.ticked[1] = false;
  Step2(s, armLength);
}

}  // namespace

LinkageSteps LinkageOnShow(LinkageSteps now, unsigned var229) {
  if (var229 <= 4) {
    now.enabled[0] = var229 <= 1;
    now.ticked[0] = false;
    Step1(now, 0);
  } else {
    now.enabled = now.ticked = {};
    now.calculate = now.armLength = false;
  }
  return now;
}

LinkageSteps LinkageFollow(LinkageSteps now, LinkageInput changed, double armLength) {
  switch (changed) {
    case LinkageInput::Step1: Step1(now, armLength); break;
    case LinkageInput::Step2: Step2(now, armLength); break;
    case LinkageInput::Step3:
    case LinkageInput::ArmLength: ArmLength(now, armLength); break;
    case LinkageInput::Step4: Step4(now); break;
  }
  return now;
}

namespace {

// Pi taken as 3.1415926, so that curves equal those calculated before.
constexpr double kRadiansPerDegree = 0.017453292222222222;
constexpr double kDegreesPerRadian = 57.295780490442965;
constexpr double kSixtyDegrees = 1.0471975333333332;

double SinDegrees(double degrees) { return std::sin(degrees * kRadiansPerDegree); }

// The linkage procedure's advice, in its own words.
constexpr const char* kLongerArm = "Use Longer Feedback arm";
constexpr const char* kShorterArm = "We suggest using a shorter Feedback arm";
constexpr const char* kCollarOpen = "Adjust feedback collar towards open position";
constexpr const char* kCollarClosed = "Adjust feedback collar towards closed position";

}  // namespace

LinkageResult Linearise(double strokeLength, double armLength, double position) {
  const double s = strokeLength, l = armLength;
  const bool towardsOpen = position < 50;
  const char* outOfReach = towardsOpen ? kCollarOpen : kCollarClosed;
  // A length or position that gives no swing gets the advice its ratio or
  // its side of 50 % calls for, and no curve.
  if (!(l > 0)) return {std::nullopt, kLongerArm};
  const double ratio = s / l;
  if (!(ratio < 1.73)) return {std::nullopt, kLongerArm};
  if (!(ratio > 0)) return {std::nullopt, kShorterArm};
  if (!(position < 100) || std::isinf(position)) return {std::nullopt, outOfReach};

  const double p = 0.01 * position, q = 1 - p;
  const double reach = l * (std::sin(kSixtyDegrees) + SinDegrees(towardsOpen ? 60 * p / q : 60 * q / p));
  if (reach <= s) return {std::nullopt, outOfReach};

  // The swing that covers the stroke; within reach it ends by 60 degrees,
  // and the bound keeps a pathological input from holding the page.
  double swing = 0;
  while (l * (SinDegrees(swing) + SinDegrees(swing * p / q)) - s < 0) {
    swing += 0.01;
    if (swing > 90) return {std::nullopt, outOfReach};
  }
  const double closed = -swing * p / q;
  const double closedX = l * SinDegrees(closed);
  const double total = swing - closed;

  Outputs curve{};
  for (int i = 1; i < kPoints - 1; ++i) {
    const double angle = std::asin((closedX + InputAt(i) * s / 100) / l) * kDegreesPerRadian;
    curve[i] = 100 * (angle - closed) / total;
  }
  curve[kPoints - 1] = 100;
  return {curve, ratio <= 0.35 ? kShorterArm : "OK"};
}

}  // namespace curves
