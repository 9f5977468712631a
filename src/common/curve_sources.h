#pragma once
// Where a custom characterisation curve can come from besides point edits:
// the equal-percentage generator, the previous curve and the feedback
// linkage linearisation, with the linkage procedure's four steps. Plain
// calculations on what the page holds; the page puts the results into its
// plot and fields and sends nothing until Apply.
#include <array>
#include <optional>
#include <string>

namespace curves {

inline constexpr int kPoints = 21;

// Output percent of the 21 points; point i has input 5 * i percent.
using Outputs = std::array<double, kPoints>;

constexpr double InputAt(int point) { return 5.0 * point; }

// The generator's rangeability, as its spin edit allows it.
inline constexpr double kMinRangeability = 30;
inline constexpr double kMaxRangeability = 300;

// 100 * (R^(x/100 - 1) - 1/R) between the fixed ends 0 and 100, in single
// precision so that the points equal those of earlier curve files.
// rangeability > 0.
Outputs EqualPercentage(int rangeability);

// The generator behind the page's button: the spin value truncated, or
// nothing when it lies outside kMinRangeability..kMaxRangeability.
std::optional<Outputs> GeneratedCurve(double rangeability);

// The curve that Restore brings back: the device's curve that the last
// Apply replaced or, until the first Apply, the last curve read from the
// device. Nothing before either.
class PreviousCurve {
 public:
  void Retrieved(const Outputs& device);
  void Applying(const Outputs& device);
  const std::optional<Outputs>& Restore() const { return m_curve; }

 private:
  std::optional<Outputs> m_curve;
  bool m_applied = false;
};

// The enabled and ticked states of the linkage procedure's controls.
struct LinkageSteps {
  std::array<bool, 4> enabled{}, ticked{};
  bool armLength = false, strokeLength = false, calculate = false;  // enabled
  bool operator==(const LinkageSteps&) const = default;
};

// The controls once the page has read device variable 229: 0 or 1 opens
// step 1, 2 to 4 keep the procedure closed, any other value takes it away
// (the stroke length edit then stays as it was).
LinkageSteps LinkageOnShow(LinkageSteps now, unsigned var229);

enum class LinkageInput { Step1, Step2, Step3, Step4, ArmLength };

// The steps must be ticked in order, and unticking one withdraws what
// follows it; step 4 needs an arm length above 0. now holds the check boxes
// as the user left them; armLength is the number typed (0 when it is none).
LinkageSteps LinkageFollow(LinkageSteps now, LinkageInput changed, double armLength);

// A curve to show, or none when the curve stays as it is, with the
// message for the "Error:" field: the procedure's own words, the same in
// every language.
struct LinkageResult {
  std::optional<Outputs> curve;
  std::string message;
};

// The output curve that makes the valve follow the input through a
// feedback arm of armLength whose angle is the arc sine of stem travel over
// arm length; position is the valve position in percent at which the arm
// is parallel to the take-off slot. Lengths in one unit.
LinkageResult Linearise(double strokeLength, double armLength, double position);

}  // namespace curves
