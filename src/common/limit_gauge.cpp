#include "common/limit_gauge.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "common/common_controls.h"
#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"

namespace limits {

double FromWord(DWORD word) { return static_cast<double>(static_cast<std::uint32_t>(word)); }

std::string WordText(DWORD word) { return std::to_string(static_cast<std::uint32_t>(word)); }

DWORD ToWord(double value) {
  if (!(value > 0)) return 0;  // NaN too
  if (value >= kMaxWord) return 0xFFFFFFFFu;
  return static_cast<DWORD>(std::trunc(value));
}

std::string VariantText(double value) {
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

double CounterScale(double fullWarning, double count) {
  double scale = std::min(1.1 * fullWarning, kMaxWord);
  if (count > scale) scale = 1.1 * count;
  return scale;
}

double FullWarningScale(double fullWarning) {
  const double scale = 1.1 * fullWarning;
  return scale < kMaxWord ? scale : fullWarning;
}

COLORREF BandColour(double value, double lower, double upper, const BandColours& colours, bool atLimit) {
  const auto past = [atLimit](double v, double limit) { return atLimit ? v >= limit : v > limit; };
  if (past(value, upper)) return colours.beyond;
  return past(value, lower) ? colours.between : colours.below;
}

double PushedBelow(double dragged, double gap, double scaleMin) {
  const double pushed = dragged - gap;
  return pushed <= scaleMin ? scaleMin : pushed;
}

double PushedAbove(double dragged, double gap, double scaleMax) {
  const double pushed = dragged + gap;
  return pushed >= scaleMax ? scaleMax : pushed;
}

double LimitGauge::Min() const {
  double value = 0;
  ComCheck(m_gauge->get_ScaleMin(&value));
  return value;
}

double LimitGauge::Max() const {
  double value = 0;
  ComCheck(m_gauge->get_ScaleMax(&value));
  return value;
}

void LimitGauge::SetMax(double max) { ComCheck(m_gauge->put_ScaleMax(max)); }

void LimitGauge::SetMin(double min) { ComCheck(m_gauge->put_ScaleMin(min)); }

double LimitGauge::Value() const { return Marker(0); }

void LimitGauge::SetValue(double value) { SetMarker(0, value); }

void LimitGauge::SetPointerColour(COLORREF colour) { ComCheck(m_gauge->put_ElementColor(0, colour)); }

double LimitGauge::Marker(int index) const {
  double value = 0;
  ComCheck(m_gauge->get_ElementPosition(index, &value));
  return value;
}

void LimitGauge::SetMarker(int index, double value) { ComCheck(m_gauge->put_ElementPosition(index, value)); }

bool LimitGauge::ClampMarker(int index, double& value) {
  const double max = Max(), min = Min();
  if (value >= max)
    value = max;
  else if (value <= min)
    value = min;
  else
    return false;
  SetMarker(index, value);
  return true;
}

void FullWarningGroup::Attach(LimitGauge gauge, activex::ISpinEditXPtr spin) {
  m_gauge = std::move(gauge);
  m_spin = std::move(spin);
}

void FullWarningGroup::Show(DWORD initial, DWORD full, double scaleMax) {
  m_page->SetDlgItemText(m_initialEdit, WordText(initial).c_str());
  m_gauge.SetMarker(1, FromWord(initial));
  m_gauge.SetMax(scaleMax);
  m_gauge.SetMarker(2, FromWord(full));
  m_page->SetDlgItemText(m_fullEdit, WordText(full).c_str());
  ComCheck(m_spin->put_Max(scaleMax));
  ComCheck(m_spin->put_Value(FromWord(full)));
}

void FullWarningGroup::ShowInitial(double full, bool variantText) {
  const double initial = 0.9 * full;
  m_gauge.SetMarker(2, full);
  m_gauge.SetMarker(1, initial);
  m_page->SetDlgItemText(m_initialEdit, (variantText ? VariantText(initial) : plat::FormatNumber("%.0f", initial)).c_str());
}

void FullWarningGroup::OnSpinChange() {
  if (!m_bReady) return;
  // The spin edit keeps a typed number outside its bounds; a full warning
  // still has to fit the device's word, as a typed one does.
  const double full = plat::HeldTo(Full(), m_gauge.Min(), kMaxWord);
  ComCheck(m_spin->put_Value(full));
  m_page->SetDlgItemText(m_fullEdit, plat::FormatNumber("%.0f", full).c_str());
  ShowInitial(full, false);
}

void FullWarningGroup::OnMarkerMoved(long index) {
  if (!m_bReady || index != 2) return;
  double full = m_gauge.Marker(2);
  if (m_gauge.ClampMarker(2, full) && !m_options.clampedDragUpdatesEdits) return;
  ComCheck(m_spin->put_Value(full));
  m_page->SetDlgItemText(m_fullEdit, plat::FormatNumber("%.0f", full).c_str());
  ShowInitial(full, false);
}

void FullWarningGroup::OnEditLeft() {
  if (!m_bReady) return;
  const double typed = CCommonControls::ReadEditDouble(*m_page, m_fullEdit);
  const double full = plat::HeldTo(typed, m_gauge.Min(), kMaxWord);
  if (m_options.typedScaleMayShrink) {
    m_gauge.SetMax(FullWarningScale(full));
  } else {
    const double scale = std::min(1.1 * typed, kMaxWord);
    if (scale > m_gauge.Max()) m_gauge.SetMax(scale);
  }
  ComCheck(m_spin->put_Max(m_gauge.Max()));
  ComCheck(m_spin->put_Value(full));
  const double shown = Full();
  m_page->SetDlgItemText(m_fullEdit, VariantText(shown).c_str());
  ShowInitial(shown, true);
}

DWORD FullWarningGroup::InitialWord() const { return ToWord(CCommonControls::ReadEditDouble(*m_page, m_initialEdit)); }

DWORD FullWarningGroup::FullWord() const { return ToWord(Full()); }

double FullWarningGroup::Full() const {
  double value = 0;
  ComCheck(m_spin->get_Value(&value));
  return value;
}

double LimitField::Typed() const { return CCommonControls::ReadEditDouble(m_page, m_edit); }

double LimitField::Spin() const {
  double value = 0;
  ComCheck(m_spin->get_Value(&value));
  return value;
}

void LimitField::SetEdit(double value) { m_page.SetDlgItemText(m_edit, plat::FormatNumber("%3.1f", value).c_str()); }

void LimitField::SetSpin(double value) { ComCheck(m_spin->put_Value(value)); }

void LimitField::SetMarker(double value) {
  if (m_marker > 0) m_gauge.SetMarker(m_marker, value);
}

void LimitField::SetSpinRange(double min, double max) {
  ComCheck(m_spin->put_Min(min));
  ComCheck(m_spin->put_Max(max));
}

void LimitField::SetSpinMax(double max) { ComCheck(m_spin->put_Max(max)); }

void LimitField::Show(double value) {
  SetSpin(value);
  SetEdit(value);
  SetMarker(value);
}

void LimitField::FollowSpin() {
  const double value = Spin();
  SetEdit(value);
  SetMarker(value);
}

}  // namespace limits
