#pragma once
// Limits shown on a gauge: the markers the user drags, the texts of the
// limit edits and the rules that keep a warning and an alarm apart. The
// health pages hold their limits in controls until Apply, so these work on
// the controls only, never on the device image.
#include <string>

#include "platform/activex/controls.h"
#include "platform/win/cwnd.h"

namespace limits {

// The largest count or limit a device word holds.
inline constexpr double kMaxWord = 4294967295.0;

// Device counts and limits are unsigned 32-bit words.
double FromWord(DWORD word);
std::string WordText(DWORD word);
// Toward zero, as the device takes a limit; beyond the word's range the
// nearest end, never a wrapped value.
DWORD ToWord(double value);

// A double as a variant converts it to text: the shortest form that reads
// back, fractions kept, no grouping ("904.5", "1000", "0.1").
std::string VariantText(double value);

// The scale of a counter's gauge: 1.1 times the full warning, at most the
// word's maximum; a count above that grows it to 1.1 times the count.
double CounterScale(double fullWarning, double count);

// The scale that shows a full warning typed or read: 1.1 times it, or the
// warning itself where 1.1 times it would not fit the word.
double FullWarningScale(double fullWarning);

// The colour of a live pointer against a lower and an upper limit. Past
// the upper limit wins; past means above it, or with atLimit also on it
// (likewise for the lower limit).
struct BandColours {
  COLORREF below, between, beyond;
};
COLORREF BandColour(double value, double lower, double upper, const BandColours& colours, bool atLimit);

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
  void SetMin(double min);
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

// The full-warning group of a counter: a gauge whose marker 1 is the
// initial warning and marker 2 the full warning that the user drags, a spin
// edit and an edit for the full warning, and a read-only edit for the
// initial warning. Every change of the full warning on the page sets the
// initial warning to 90 % of it. The handlers do nothing until the group is
// ready (the page has shown the device's limits).
class FullWarningGroup {
 public:
  struct Options {
    // A drag at or past a scale end also updates the spin edit and edits.
    bool clampedDragUpdatesEdits;
    // A typed full warning sets the scale, smaller or larger; otherwise
    // the scale only grows to take it.
    bool typedScaleMayShrink;
  };
  FullWarningGroup(CWnd& page, int fullEdit, int initialEdit, Options options)
      : m_page(&page), m_fullEdit(fullEdit), m_initialEdit(initialEdit), m_options(options) {}

  void Attach(LimitGauge gauge, activex::ISpinEditXPtr spin);
  LimitGauge& Gauge() { return m_gauge; }
  void SetReady() { m_bReady = true; }
  bool Ready() const { return m_bReady; }

  // The device's limits, with the scale chosen by the page.
  void Show(DWORD initial, DWORD full, double scaleMax);
  void OnSpinChange();
  void OnMarkerMoved(long index);
  void OnEditLeft();

  // What Apply writes: the initial warning as its edit shows it and the
  // full warning as its spin edit holds it, toward zero.
  DWORD InitialWord() const;
  DWORD FullWord() const;
  double Full() const;

 private:
  // Full warning v: marker 2 and, at 90 %, marker 1 and the initial edit.
  void ShowInitial(double full, bool variantText);

  CWnd* m_page;
  int m_fullEdit, m_initialEdit;
  Options m_options;
  LimitGauge m_gauge;
  activex::ISpinEditXPtr m_spin;
  bool m_bReady = false;
};

// One limit as a page shows it: its edit ("%3.1f"), its spin edit and,
// unless marker is 0, its gauge marker. The holders are the page's, made
// after the field; a failing control call raises _com_error.
class LimitField {
 public:
  LimitField(CWnd& page, int edit, const activex::ISpinEditXPtr& spin, LimitGauge& gauge, int marker = 0)
      : m_page(page), m_edit(edit), m_spin(spin), m_gauge(gauge), m_marker(marker) {}

  // The edit's leading number; 0 for empty text or none.
  double Typed() const;
  double Spin() const;
  void SetEdit(double value);
  void SetSpin(double value);
  void SetMarker(double value);
  void SetSpinRange(double min, double max);
  void SetSpinMax(double max);
  // Edit, spin edit and marker alike.
  void Show(double value);
  // Edit and marker take the spin edit's value.
  void FollowSpin();

 private:
  CWnd& m_page;
  int m_edit;
  const activex::ISpinEditXPtr& m_spin;
  LimitGauge& m_gauge;
  int m_marker;
};

}  // namespace limits
