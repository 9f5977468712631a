#pragma once
// Limits shown on a gauge: the markers the user drags, the texts of the
// limit edits and the rules that keep a warning and an alarm apart. The
// health pages hold their limits in controls until Apply, so these work on
// the controls only, never on the device image.
#include <string>

#include "platform/activex/controls.h"

namespace limits {

// The largest count or limit a device word holds.
inline constexpr double kMaxWord = 4294967295.0;

// Device counts and limits are unsigned 32-bit words.
double FromWord(DWORD word);
std::string WordText(DWORD word);
// Toward zero, as the device takes a limit; beyond the word's range the
// nearest end, never a wrapped value.
DWORD ToWord(double value);

std::string Format(const char* printfFormat, double value);
// A double as a variant converts it to text: the shortest form that reads
// back, fractions kept, no grouping ("904.5", "1000", "0.1").
std::string VariantText(double value);

// The scale of a counter's gauge: 1.1 times the full warning, at most the
// word's maximum; a count above that grows it to 1.1 times the count.
double CounterScale(double fullWarning, double count);

// A limit pushed away from a dragged one by gap, stopped at the scale end.
double PushedBelow(double dragged, double gap, double scaleMin);
double PushedAbove(double dragged, double gap, double scaleMax);

// A linear gauge whose live pointer is element 0 and whose limits are the
// markers after it. A failing call raises _com_error.
class LimitGauge {
 public:
  LimitGauge() = default;
  explicit LimitGauge(activex::IiLinearGaugeXPtr gauge) : m_gauge(std::move(gauge)) {}
  explicit operator bool() const { return static_cast<bool>(m_gauge); }

  double Min() const;
  double Max() const;
  void SetMax(double max);
  double Value() const;
  void SetValue(double value);
  void SetPointerColour(COLORREF colour);
  double Marker(int index) const;
  void SetMarker(int index, double value);
  // A dragged marker at or past an end of the scale is put back on that end
  // (value gets the end); false when it was inside.
  bool ClampMarker(int index, double& value);

 private:
  activex::IiLinearGaugeXPtr m_gauge;
};

}  // namespace limits
