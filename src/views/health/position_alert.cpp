#include "views/health/position_alert.h"

#include "platform/sys/numeric.h"
#include "shell/app.h"

namespace {

using Page = CHealth_Ctl_PosAlertsView;

constexpr int kPlotPlace = 1633, kGaugePlace = 1602, kLowSpinPlace = 560, kHighSpinPlace = 561;
constexpr int kTitlePlace = 1092, kBracePlace = 1802, kPicturePlace = 1635;
constexpr int kHighArrowPlace = 1801, kLowArrowPlace = 1800;
// The histogram is selected, then read; a reset reads it again.
enum Step : int { kApplyStep = 9, kSelectStep = 15, kReadStep = 17, kResetStep = 19 };
constexpr UINT kPositionPicture = 163;

constexpr COLORREF kInside = 0x00FF00, kOutside = 0x00FFFF;
constexpr double kScaleMin = -10, kScaleMax = 110;
// A typed low set point pushes the high one at most this far.
constexpr double kPushCap = 120;
constexpr BYTE kPositionHistogram = 3;

// ---- Dialog 245, in dialog units.
std::vector<DialogItem> Items() {
  constexpr unsigned kPlace = DS_HIDDEN;
  return {
      {955, DlgKind::GroupBox, "Position Alerts", 8, 26, 372, 322},
      {kPlotPlace, DlgKind::GroupBox, "", 16, 38, 356, 160, kPlace},
      {kGaugePlace, DlgKind::GroupBox, "", 16, 202, 356, 40, kPlace},
      {901, DlgKind::Static, "High Setpoint:", 16, 252, 84, 9},
      {Page::kHighId, DlgKind::Edit, "", 102, 250, 46, 12, DS_RIGHT},
      {kHighSpinPlace, DlgKind::GroupBox, "", 151, 250, 40, 12, kPlace},
      {904, DlgKind::Static, "%", 194, 252, 10, 9},
      {1631, DlgKind::Static, "Current Value:", 16, 270, 84, 9},
      {Page::kCurrentId, DlgKind::Edit, "", 102, 268, 46, 12, DS_READONLY | DS_RIGHT},
      {906, DlgKind::Static, "%", 151, 270, 10, 9},
      {900, DlgKind::Static, "Low Setpoint:", 16, 288, 84, 9},
      {Page::kLowId, DlgKind::Edit, "", 102, 286, 46, 12, DS_RIGHT},
      {kLowSpinPlace, DlgKind::GroupBox, "", 151, 286, 40, 12, kPlace},
      {903, DlgKind::Static, "%", 194, 288, 10, 9},
      {Page::kResetId, DlgKind::PushButton, "Reset", 232, 250, 18, 17, DS_BITMAP | DS_DISABLED},
      {1582, DlgKind::Static, "Reset Current Histogram", 254, 254, 118, 9},
      {Page::kApplyId, DlgKind::PushButton, "Apply", 232, 284, 64, 15, DS_DISABLED},
      {Page::kRetrieveId, DlgKind::PushButton, "Retrieve", 304, 284, 64, 15, DS_DISABLED},
      {902, DlgKind::Static, "", 16, 306, 356, 18},
      {Page::kNoteId, DlgKind::Static, "", 16, 326, 356, 18},
      // The illustration of the alert rule: the labels line up with the
      // set point lines of the picture, a quarter from its top and bottom.
      {1515, DlgKind::GroupBox, "", 388, 26, 204, 322},
      {kTitlePlace, DlgKind::GroupBox, "", 396, 36, 188, 14, kPlace},
      {952, DlgKind::Static, "110%", 396, 58, 40, 9},
      {954, DlgKind::Static, "High Alert Setpoint", 396, 84, 60, 18},
      {kHighArrowPlace, DlgKind::GroupBox, "", 458, 88, 10, 10, kPlace},
      {kBracePlace, DlgKind::GroupBox, "", 396, 100, 14, 70, kPlace},
      {958, DlgKind::Static, "No Alert Range", 412, 124, 46, 18},
      {956, DlgKind::Static, "Low Alert Setpoint", 396, 154, 60, 18},
      {kLowArrowPlace, DlgKind::GroupBox, "", 458, 158, 10, 10, kPlace},
      {953, DlgKind::Static, "-10%", 396, 190, 40, 9},
      {kPicturePlace, DlgKind::GroupBox, "", 470, 58, 114, 140, kPlace},
      {1584, DlgKind::Static, "Time", 540, 202, 44, 9, DS_RIGHT},
      {1799, DlgKind::GroupBox, "", 396, 224, 12, 12, kPlace},
      {957, DlgKind::Static, "", 412, 222, 172, 40},
      {1632, DlgKind::GroupBox, "", 396, 276, 12, 12, kPlace},
      {959, DlgKind::Static, "", 412, 274, 172, 40},
      {1514, DlgKind::Static, "Training Status:", 396, 326, 60, 9, DS_HIDDEN},
      {1586, DlgKind::Edit, "", 460, 324, 60, 12, DS_HIDDEN | DS_READONLY},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(245, Page::kHeader, Items()));

}  // namespace

CHealth_Ctl_PosAlertsView::CHealth_Ctl_PosAlertsView()
    : CAlertPage(245, "POSNALERT", 27, 12,
                 {kCurrentId,
                  {kPlotPlace, kPlotId},
                  &CCommonFunctions::SetupPosAlertsHistogramPlot,
                  "IDC_IPLOT_POS",
                  "IDC_STATICPOSNLBL",
                  {kGaugePlace, kGaugeId},
                  &CCommonFunctions::SetupPosAlertsGauge,
                  // The alert rule's arrows, then those at the set point labels.
                  {{{1632, 811}, activex::kArrowDown},
                   {{1799, 812}, activex::kArrowUp},
                   {{kHighArrowPlace, 820}, activex::kArrowRight},
                   {{kLowArrowPlace, 821}, activex::kArrowRight}},
                  {{{{kLowSpinPlace, kLowSpinId}, 1.0, kScaleMin, kScaleMax},
                    {{kHighSpinPlace, kHighSpinId}, 1.0, 10.0, kScaleMax}}},
                  {kTitlePlace, 815},
                  "IDC_ILABELILLUSTRATIONTRAVALERT",
                  {kBracePlace, 816},
                  {{{kPicturePlace, 817}, kPositionPicture}}},
                 {kApplyStep, kSelectStep, kResetStep}) {
  const std::vector<KeyedControls> captions = {
      {"IDC_BUTTON_INFO_ALERTS", {955}}, {"IDC_STATICLOWSETPOINT", {900}},  {"IDC_ILABELXCURVAL", {1631}},
      {"IDC_STATICSOFTHILBL", {901}},    {"IDC_STATICTRAVELMSG", {902}},    {"IDC_STATICHIALERT", {957}},
      {"IDC_STATICNOALERTRANGE", {958}}, {"IDC_STATICLOALERT", {959}},      {"IDC_STATICHISPLABEL", {954}},
      {"IDC_STATICLOSPLABEL", {956}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"VeskPOSITIONTIP", {kCurrentId}},
      {"IDC_CEDIT_HIGH_TRAVELTIP", {kHighId}},
      {"IDC_CEDIT_LOW_TRAVELTIP", {kLowId}},
      {"IDC_LINEAR_POSN", {kGaugeId}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  CWexletCoreCommunication& comm = theApp().m_comm;
  const std::vector<PageStep> histogramSteps = {
      {kSelectStep, "SELECT", {}, [this, &comm] { m_histogram.Begin(), m_histogram.Select(comm, kPositionHistogram); },
       {}, kReadStep},
      {kReadStep, "READ", {}, [this, &comm] { m_histogram.Fetch(comm, 0, 12); },
       [this] { PlotHistogram(histogram::kPosition); }, kValueStep},
      {kResetStep, "RESET", {},
       [this, &comm] {
         if (!histogram::Reset(comm, kPositionHistogram)) Note("HISTORESETLOST");
       },
       {}, kSelectStep},
  };
  m_steps.insert(m_steps.end(), histogramSteps.begin(), histogramSteps.end());

  MapCommand(EN_KILLFOCUS, kLowId, [this] { Try("low set point", [this] { OnKillFocusLowSetPoint(); }); });
  MapCommand(EN_KILLFOCUS, kHighId, [this] { Try("high set point", [this] { OnKillFocusHighSetPoint(); }); });
  // Turning a spin edit does not keep the set points apart; Apply refuses
  // a band they leave inverted.
  MapEvent(kLowSpinId, 202, [this](const EventArgs&) { m_low.FollowSpin(); });
  MapEvent(kHighSpinId, 202, [this](const EventArgs&) { m_high.FollowSpin(); });
}

// ---- The device's values on the page.

void CHealth_Ctl_PosAlertsView::ReadValue() { theApp().m_comm.ReadVar10ForAlerts(); }

double CHealth_Ctl_PosAlertsView::Value() const { return theApp().m_comm.m_dVar10; }

void CHealth_Ctl_PosAlertsView::ShowOnGauge(double position) {
  m_gauge.SetValue(position);
  // The colour follows the new position at once, not a tick later.
  if (LimitsShown()) UpdatePointerColour();
}

bool CHealth_Ctl_PosAlertsView::ReadLimits() { return theApp().m_comm.ReadPosAlertLimits(); }

void CHealth_Ctl_PosAlertsView::ShowLimits() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  const double high = comm.m_dPosAlertHigh;
  m_high.SetEdit(high);
  m_gauge.SetMax(kScaleMax);
  m_gauge.SetMin(kScaleMin);
  m_high.SetMarker(high);
  const double max = m_gauge.Max(), min = m_gauge.Min();
  m_high.SetSpinRange(min, max);
  m_high.SetSpin(high);
  // The device keeps a lower value until the next Apply.
  if (comm.m_dPosAlertLow <= kScaleMin) comm.m_dPosAlertLow = kScaleMin;
  const double low = comm.m_dPosAlertLow;
  m_low.SetEdit(low);
  m_low.SetMarker(low);
  m_low.SetSpinRange(min, max);
  m_low.SetSpin(low);
}

void CHealth_Ctl_PosAlertsView::UpdatePointerColour() {
  const double p = m_gauge.Value();
  m_gauge.SetPointerColour(m_low.Spin() <= p && p <= m_high.Spin() ? kInside : kOutside);
}

// ---- Apply.

void CHealth_Ctl_PosAlertsView::BeginApply() {
  // Typed values that never lost the focus keep the same range.
  m_low.Show(Clamped(m_low.Typed()));
  m_high.Show(Clamped(m_high.Typed()));
  if (m_low.Typed() < m_high.Typed()) return;
  // An inverted band would keep a position alert on for good.
  m_nStep = kValueStep;
  EnableActionButtons(TRUE);
  Warn("ALERTBANDINVERTED");
}

bool CHealth_Ctl_PosAlertsView::WriteLimits() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  const double high = comm.m_dPosAlertHigh, low = comm.m_dPosAlertLow;
  comm.m_dPosAlertHigh = m_high.Typed();
  comm.m_dPosAlertLow = m_low.Typed();
  if (comm.WritePosAlertLimits()) return true;
  // What the device holds is open: show what it held.
  comm.m_dPosAlertHigh = high;
  comm.m_dPosAlertLow = low;
  return false;
}

// ---- The user's edits, spins and drags: controls only, until Apply.

double CHealth_Ctl_PosAlertsView::Clamped(double value) const {
  return plat::HeldTo(value, m_gauge.Min(), m_gauge.Max());
}

void CHealth_Ctl_PosAlertsView::OnKillFocusLowSetPoint() {
  const double v = Clamped(m_low.Typed());
  m_low.SetSpin(v);
  m_low.SetEdit(v);
  if (v >= m_high.Spin()) m_high.Show(limits::PushedAbove(v, 0.1, kPushCap));
  m_low.SetMarker(v);
}

void CHealth_Ctl_PosAlertsView::OnKillFocusHighSetPoint() {
  const double v = Clamped(m_high.Typed());
  m_high.SetSpin(v);
  m_high.SetEdit(v);
  if (v <= m_low.Spin()) m_low.Show(limits::PushedBelow(v, 0.1, kScaleMin));
  m_high.SetMarker(v);
}

// A marker dragged past an end goes back on it and changes nothing else.
// Inside, a high marker at or below the low one pushes it 0.01 below, a
// low marker at or above the high one pushes it 0.1 above.
void CHealth_Ctl_PosAlertsView::OnMarkerDragged(int index) {
  double v = m_gauge.Marker(index);
  if (m_gauge.ClampMarker(index, v)) return;
  if (index == kHighMarker && v <= m_gauge.Marker(kLowMarker))
    m_low.Show(limits::PushedBelow(v, 0.01, m_gauge.Min()));
  else if (index == kLowMarker && v >= m_gauge.Marker(kHighMarker))
    m_high.Show(limits::PushedAbove(v, 0.1, m_gauge.Max()));
  if (!Started()) return;
  limits::LimitField& dragged = index == kHighMarker ? m_high : m_low;
  dragged.SetSpin(v);
  dragged.SetEdit(v);
}
