// The curve sources of the custom characterisation: the generator, the
// previous curve, the linkage procedure's steps and the linkage curve.
#include "common/curve_sources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace curves;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The linkage procedure's advice, word for word in every language.
constexpr const char* kLongerArm = "Use Longer Feedback arm";
constexpr const char* kShorterArm = "We suggest using a shorter Feedback arm";
constexpr const char* kCollarOpen = "Adjust feedback collar towards open position";
constexpr const char* kCollarClosed = "Adjust feedback collar towards closed position";

using PointValues = std::vector<std::pair<int, double>>;  // point index, output

void ExpectPoints(const Outputs& curve, const PointValues& at, double tolerance) {
  EXPECT_EQ(curve.front(), 0);
  EXPECT_EQ(curve.back(), 100);
  for (const auto& [i, y] : at) EXPECT_NEAR(curve[i], y, tolerance) << "point " << i;
}

TEST(GeneratedCurve, TruncatesTheSpinValueAndRefusesOneOutsideItsLimits) {
  const struct {
    double spin;
    PointValues at;  // empty: no curve
  } cases[] = {
      // 100 (50^-0.5 - 1/50) and 100 (50^-0.05 - 1/50).
      {50, {{10, 12.14}, {19, 80.23}}},
      {50.9, {{10, 12.14}, {19, 80.23}}},
      // 100 (30^-0.95 - 1/30) and 100 (300^-0.5 - 1/300): both limits count.
      {30, {{1, 0.62}}},
      {300, {{10, 5.44}}},
      {29.99, {}},
      {300.01, {}},
      {kNaN, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.spin);
    const std::optional<Outputs> curve = GeneratedCurve(c.spin);
    ASSERT_EQ(curve.has_value(), !c.at.empty());
    if (curve) ExpectPoints(*curve, c.at, 0.005);
  }
}

TEST(PreviousCurve, FollowsReadsUntilTheFirstApplyAndOnlyAppliesAfter) {
  const Outputs a{0, 1}, b{0, 2}, c{0, 3};
  PreviousCurve previous;
  EXPECT_FALSE(previous.Restore().has_value());
  previous.Retrieved(a);
  EXPECT_EQ(previous.Restore(), a);
  previous.Retrieved(b);
  EXPECT_EQ(previous.Restore(), b);
  previous.Applying(b);
  previous.Retrieved(c);
  EXPECT_EQ(previous.Restore(), b);
  previous.Applying(c);
  EXPECT_EQ(previous.Restore(), c);
}

// "E" enabled and "T" ticked per step, then the arm length, stroke length
// and Calculate enables.
std::string Shown(const LinkageSteps& s) {
  std::string text = "E";
  for (bool on : s.enabled) text += on ? '1' : '0';
  text += " T";
  for (bool on : s.ticked) text += on ? '1' : '0';
  text += ' ';
  text += s.armLength ? 'A' : '-';
  text += s.strokeLength ? 'S' : '-';
  text += s.calculate ? 'C' : '-';
  return text;
}

TEST(LinkageSteps, Variable229OpensKeepsClosedOrTakesAwayTheProcedure) {
  LinkageSteps open;
  open.enabled = open.ticked = {true, true, true, true};
  open.armLength = open.strokeLength = open.calculate = true;
  const struct {
    unsigned var229;
    const char* shown;
  } cases[] = {
      {0, "E1000 T0000 ---"}, {1, "E1000 T0000 ---"}, {2, "E0000 T0000 ---"}, {4, "E0000 T0000 ---"},
      // Taken away: the stroke length edit is left as it was.
      {5, "E0000 T0000 -S-"}, {254, "E0000 T0000 -S-"}, {255, "E0000 T0000 -S-"},
  };
  for (const auto& c : cases) EXPECT_EQ(Shown(LinkageOnShow(open, c.var229)), c.shown) << c.var229;
}

TEST(LinkageSteps, StepsOpenInOrderAndUntickingWithdrawsWhatFollows) {
  const struct {
    LinkageInput input;
    int tick;  // the box's new state, -1 for an arm length change
    double arm;
    const char* shown;
  } walk[] = {
      {LinkageInput::Step1, 1, 0, "E1100 T1000 ---"},
      {LinkageInput::Step2, 1, 0, "E1110 T1100 A--"},
      {LinkageInput::Step3, 1, 0, "E1110 T1110 A--"},
      {LinkageInput::ArmLength, -1, kNaN, "E1110 T1110 A--"},
      {LinkageInput::ArmLength, -1, -2, "E1110 T1110 A--"},
      {LinkageInput::ArmLength, -1, 2.5, "E1111 T1110 A--"},
      {LinkageInput::Step4, 1, 2.5, "E1111 T1111 ASC"},
      // An arm length of 0 (or text that is not a number) withdraws step 4.
      {LinkageInput::ArmLength, -1, 0, "E1110 T1110 A--"},
      {LinkageInput::ArmLength, -1, 2.5, "E1111 T1110 A--"},
      {LinkageInput::Step4, 1, 2.5, "E1111 T1111 ASC"},
      {LinkageInput::Step4, 0, 2.5, "E1111 T1110 A--"},
      {LinkageInput::Step4, 1, 2.5, "E1111 T1111 ASC"},
      {LinkageInput::Step3, 0, 2.5, "E1110 T1100 A--"},
      {LinkageInput::Step3, 1, 2.5, "E1111 T1110 A--"},
      {LinkageInput::Step4, 1, 2.5, "E1111 T1111 ASC"},
      {LinkageInput::Step1, 0, 2.5, "E1000 T0000 ---"},
  };
  LinkageSteps steps = LinkageOnShow({}, 0);
  int row = 0;
  for (const auto& w : walk) {
    if (w.tick >= 0) steps.ticked[static_cast<int>(w.input)] = w.tick;
    steps = LinkageFollow(steps, w.input, w.arm);
    EXPECT_EQ(Shown(steps), w.shown) << "row " << row++;
  }
}

TEST(Linearise, AdvisesOrCalculatesAsTheArmReaches) {
  const struct {
    double stroke, arm, position;
    const char* message;
    PointValues at;  // empty: no curve
  } cases[] = {
      // Stroke over arm 1.73 and above is too long, also exactly.
      {1.73, 1, 30, kLongerArm, {}},
      {3.46, 2, 30, kLongerArm, {}},
      // Reach 1.6 (sin 60 + sin 40) = 1.5088 does not exceed 1.6, on either
      // side of 50 %.
      {1.6, 1, 40, kCollarOpen, {}},
      {1.6, 1, 60, kCollarClosed, {}},
      // Reach equal to the stroke is out of reach.
      {std::sin(1.0471975333333332), 1, 0, kCollarOpen, {}},
      // Position 0: the swing t is the first 0.01 degree step with sin t >=
      // 0.35, 20.49, and point X gets 100 asin(0.35 X / 100) / t; at 0.35
      // the curve comes with the advice of a shorter arm.
      {0.35, 1, 0, kShorterArm, {{1, 4.8937}, {10, 49.1882}, {19, 94.7808}}},
      // 50 % reaches 1.7321, just beyond 1.729: t = 59.83, the closed end at
      // -59.83 degrees, so point 10 is 100 (asin(sin(-59.83) + 0.8645) + 59.83) / 119.66.
      {1.729, 1, 50, "OK", {{1, 7.3075}, {10, 49.9982}, {19, 92.6867}}},
      // 30 %: t = 27.53, closed end -27.53 x 3/7 = -11.7986 degrees.
      {1, 1.5, 30, "OK", {{1, 4.9444}, {10, 48.8255}, {19, 94.5722}}},
      // 75 %: t = 15.65, closed end -46.95 degrees.
      {1, 1, 75, "OK", {{1, 6.4650}, {10, 53.6874}, {19, 95.2308}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.stroke << " " << c.arm << " " << c.position);
    const LinkageResult result = Linearise(c.stroke, c.arm, c.position);
    EXPECT_EQ(result.message, c.message);
    ASSERT_EQ(result.curve.has_value(), !c.at.empty());
    if (result.curve) ExpectPoints(*result.curve, c.at, 0.0005);
  }
}

// Lengths and positions that give no swing get the advice that their
// ratio or their side of 50 % calls for, and no curve.
TEST(Linearise, RefusesLengthsAndPositionsThatGiveNoSwing) {
  const struct {
    double stroke, arm, position;
    const char* message;
  } cases[] = {
      {1, 0, 30, kLongerArm},       {1, -1, 30, kLongerArm},      {1, kNaN, 30, kLongerArm},
      {kInf, 1, 30, kLongerArm},    {kNaN, 1, 30, kLongerArm},    {0, 0, 30, kLongerArm},
      {0, 1, 30, kShorterArm},      {-1, 1, 30, kShorterArm},     {1, kInf, 30, kShorterArm},
      {1, 1, 100, kCollarClosed},   {1, 1, 150, kCollarClosed},   {1, 1, kNaN, kCollarClosed},
      {1, 1, kInf, kCollarClosed},  {1, 1, -kInf, kCollarOpen},
  };
  for (const auto& c : cases) {
    const LinkageResult result = Linearise(c.stroke, c.arm, c.position);
    EXPECT_EQ(result.message, c.message) << c.stroke << " " << c.arm << " " << c.position;
    EXPECT_FALSE(result.curve.has_value());
  }
}

// Whatever is typed, a curve that comes back can be applied: finite and
// rising from 0 to 100.
TEST(Linearise, EveryCurveIsFiniteAndRising) {
  for (double position : {-20.0, 0.0, 10.0, 49.99, 50.0, 75.0, 99.0, 99.9, 99.99, 99.9999})
    for (double stroke : {1e-9, 0.1, 0.5, 0.8, 1.2, 1.7}) {
      const LinkageResult result = Linearise(stroke, 1, position);
      if (!result.curve) continue;
      const Outputs& curve = *result.curve;
      for (int i = 1; i < kPoints; ++i)
        ASSERT_TRUE(std::isfinite(curve[i]) && curve[i] > curve[i - 1]) << stroke << " " << position << " " << i;
    }
}

}  // namespace
