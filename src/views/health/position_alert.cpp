#include "views/health/position_alert.h"

#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "support/language_table.h"
#include "support/log.h"

namespace {

using Page = CHealth_Ctl_PosAlertsView;

constexpr StatusHeaderIds kHeader{1060, 1012, 1013};
constexpr int kPlotPlace = 1633, kGaugePlace = 1602, kLowSpinPlace = 560, kHighSpinPlace = 561;
constexpr int kTitlePlace = 1092, kBracePlace = 1802, kPicturePlace = 1635;
constexpr int kArrowPlaces[] = {1632, 1799, 1801, 1800};
constexpr UINT kArrowIds[] = {811, 812, 820, 821};
constexpr LONG kArrowDirections[] = {activex::kArrowDown, activex::kArrowUp, activex::kArrowRight,
                                     activex::kArrowRight};
constexpr UINT kTitleId = 815, kBraceId = 816, kPictureId = 817;
constexpr UINT kPositionPicture = 163;

constexpr COLORREF kInside = 0x00FF00, kOutside = 0x00FFFF;
constexpr double kScaleMin = -10, kScaleMax = 110;
// A typed low set point pushes the high one at most this far.
constexpr double kPushCap = 120;
constexpr BYTE kPositionHistogram = 3;

enum Request { kApply = 2, kRetrieve = 3, kReset = 4 };

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
      {kArrowPlaces[2], DlgKind::GroupBox, "", 458, 88, 10, 10, kPlace},
      {kBracePlace, DlgKind::GroupBox, "", 396, 100, 14, 70, kPlace},
      {958, DlgKind::Static, "No Alert Range", 412, 124, 46, 18},
      {956, DlgKind::Static, "Low Alert Setpoint", 396, 154, 60, 18},
      {kArrowPlaces[3], DlgKind::GroupBox, "", 458, 158, 10, 10, kPlace},
      {953, DlgKind::Static, "-10%", 396, 190, 40, 9},
      {kPicturePlace, DlgKind::GroupBox, "", 470, 58, 114, 140, kPlace},
      {1584, DlgKind::Static, "Time", 540, 202, 44, 9, DS_RIGHT},
      {kArrowPlaces[1], DlgKind::GroupBox, "", 396, 224, 12, 12, kPlace},
      {957, DlgKind::Static, "", 412, 222, 172, 40},
      {kArrowPlaces[0], DlgKind::GroupBox, "", 396, 276, 12, 12, kPlace},
      {959, DlgKind::Static, "", 412, 274, 172, 40},
      {1514, DlgKind::Static, "Training Status:", 396, 326, 60, 9, DS_HIDDEN},
      {1586, DlgKind::Edit, "", 460, 324, 60, 12, DS_HIDDEN | DS_READONLY},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(245, kHeader, Items()));

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

}  // namespace

CHealth_Ctl_PosAlertsView::CHealth_Ctl_PosAlertsView() : CMonitoringPage(245, "POSNALERT", 27, 5000, kHeader) {
  m_nStartStep = 7;
  m_actionButtons = {kApplyId, kRetrieveId, kResetId};
  AddResetPicture(kResetId);
  const std::vector<KeyedControls> captions = {
      {"IDC_BUTTON_INFO_ALERTS", {955}}, {"IDC_STATICLOWSETPOINT", {900}},  {"IDC_ILABELXCURVAL", {1631}},
      {"IDC_STATICSOFTHILBL", {901}},    {"IDC_STATICTRAVELMSG", {902}},    {"IDC_ILABELRSETHISTO", {1582}},
      {"IDC_STATICHIALERT", {957}},      {"IDC_STATICNOALERTRANGE", {958}}, {"IDC_STATICLOALERT", {959}},
      {"IDC_STATICTIMELABEL", {1584}},   {"IDC_STATICHISPLABEL", {954}},    {"IDC_STATICLOSPLABEL", {956}},
      {"RESET", {kResetId}},             {"IDC_BUTTON_APPLY", {kApplyId}},  {"IDC_BUTTON_RETRIEVE", {kRetrieveId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"VeskPOSITIONTIP", {kCurrentId}},       {"IDC_CEDIT_HIGH_TRAVELTIP", {kHighId}},
      {"IDC_CEDIT_LOW_TRAVELTIP", {kLowId}},   {"IDC_LINEAR_POSN", {kGaugeId}},
      {"IDC_BTN_RESET_HISTO", {kResetId}},     {"IDC_BUTTON_APPLYTIP", {kApplyId}},
      {"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      {1, "STAT",
       [this] {
         if (--m_nStatusCountdown > 0) return false;
         m_nStatusCountdown = 10;
         return true;
       },
       [this, &comm] {
         comm.ReadVar10ForAlerts();
         PollStatusArea();
       },
       [this] { ShowPosition(); }, 1},
      {7, "LIMITS", {}, [this, &comm] { m_bLimitsGood = comm.ReadPosAlertLimits() || m_bLimitsGood; },
       [this] {
         ShowPosAlertLimits();
         m_bLimitsShown = true;
       },
       15},
      {9, "APPLY", {}, [this] { Apply(); },
       [this] {
         ShowPosAlertLimits();
         EnableActionButtons(TRUE);
       },
       1},
      {15, "SELECT", {}, [this, &comm] { m_histogram.Begin(), m_histogram.Select(comm, kPositionHistogram); }, {},
       17},
      {17, "READ", {}, [this, &comm] { m_histogram.Fetch(comm, 0, 12); },
       [this] { StoreAndPlotPositionHistogram(); }, 1},
      {19, "RESET", {},
       [this, &comm] {
         if (!histogram::Reset(comm, kPositionHistogram)) Note("HISTORESETLOST");
       },
       {}, 15},
  };
  m_requests = {
      {kApply, 9, [this] { BeginApply(); }},
      {kRetrieve, 7},
      {kReset, 19,
       [this] { ComCheck(theApp().m_CommonFunctions.GetPlotChannelByName(m_pPlot, "Current")->Clear()); }},
  };

  MapCommand(BN_CLICKED, kApplyId, [this] { OnButton(kApply); });
  MapCommand(BN_CLICKED, kRetrieveId, [this] {
    OnButton(kRetrieve);
    Try("plot", [this] { ComCheck(m_pPlot->ClearAllData()); });
  });
  MapCommand(BN_CLICKED, kResetId, [this] { OnButton(kReset); });
  MapCommand(EN_KILLFOCUS, kLowId, [this] { Try("low set point", [this] { OnKillFocusLowSetPoint(); }); });
  MapCommand(EN_KILLFOCUS, kHighId, [this] { Try("high set point", [this] { OnKillFocusHighSetPoint(); }); });
  // Turning a spin edit does not keep the set points apart; Apply refuses
  // a band they leave inverted.
  MapEvent(kLowSpinId, 202, [this](const EventArgs&) { m_low.FollowSpin(); });
  MapEvent(kHighSpinId, 202, [this](const EventArgs&) { m_high.FollowSpin(); });
  MapEvent(kGaugeId, 19, &Page::OnGaugeMarkerMoved);
}

void CHealth_Ctl_PosAlertsView::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  auto rect = [this](int placeholder) { return PlaceholderRect(*GetDlgItem(placeholder)); };
  m_pPlot = common.CreatePlot(this, &m_wndHosts[0], rect(kPlotPlace), kPlotId);
  if (m_pPlot) Try("plot", [&] {
      common.SetupPosAlertsHistogramPlot(m_pPlot);
      common.SetupHistogramCurrentMarker(m_pPlot);
      histogram::SetCaptions(common, m_pPlot, "IDC_IPLOT_POS", "IDC_STATICPOSNLBL");
    });
  m_pGaugeControl = common.CreateLinearGauge2(this, &m_wndHosts[1], rect(kGaugePlace), kGaugeId);
  if (m_pGaugeControl) Try("gauge", [&] {
      common.SetupPosAlertsGauge(m_pGaugeControl);
      m_gauge = limits::LimitGauge(m_pGaugeControl);
    });
  for (size_t k = 0; k < m_pArrows.size(); ++k) {
    IiLedArrowXPtr& arrow = m_pArrows[k];
    arrow = common.CreateLedArrow(this, &m_wndHosts[2 + k], rect(kArrowPlaces[k]), kArrowIds[k]);
    if (arrow) Try("arrow", [&] {
        common.SetupLedArrow(arrow);
        ComCheck(arrow->put_Direction(kArrowDirections[k]));
      });
  }
  m_pLowSpin = common.CreateSpinEditCtrl(this, &m_wndHosts[6], rect(kLowSpinPlace), kLowSpinId);
  m_pHighSpin = common.CreateSpinEditCtrl(this, &m_wndHosts[7], rect(kHighSpinPlace), kHighSpinId);
  auto setUpSpin = [&](const ISpinEditXPtr& spin, limits::LimitField& field, double low) {
    if (spin) Try("spin edit", [&] {
        ComCheck(spin->put_Increment(1.0));
        field.SetSpinRange(low, kScaleMax);
      });
  };
  setUpSpin(m_pLowSpin, m_low, kScaleMin);
  setUpSpin(m_pHighSpin, m_high, 10.0);
  m_pTitleLabel = common.CreateLabelCtrl(this, &m_wndHosts[8], rect(kTitlePlace), kTitleId,
                                         Text("IDC_ILABELILLUSTRATIONTRAVALERT"));
  if (m_pTitleLabel) Try("label", [&] { common.SetupDeviationLabel(m_pTitleLabel); });
  m_pBraceLabel = common.CreateLabelCtrl(this, &m_wndHosts[9], rect(kBracePlace), kBraceId, "{");
  if (m_pBraceLabel) Try("label", [&] { common.SetupDeviationTitleLabel(m_pBraceLabel); });
  m_pPicture = common.CreateImageDisplay(this, &m_wndHosts[10], rect(kPicturePlace), kPictureId, kPositionPicture);
}

void CHealth_Ctl_PosAlertsView::OnStart() {
  m_bStarted = true;
  Note(nullptr);
  EnableActionButtons(FALSE);
  ComCheck(m_pPlot->ClearAllData());
}

void CHealth_Ctl_PosAlertsView::RunStep() {
  if (m_bLimitsShown) Try("pointer", [this] { UpdatePointerColour(); });
  CMonitoringPage::RunStep();
}

void CHealth_Ctl_PosAlertsView::OnButton(int request) {
  m_nStatusCountdown = 1;
  Note(nullptr);
  Request(request);
}

void CHealth_Ctl_PosAlertsView::Note(const char* key) {
  SetDlgItemText(kNoteId, key ? Text(key).str().c_str() : "");
}

// ---- The device's values on the page.

void CHealth_Ctl_PosAlertsView::ShowPosition() {
  const double position = theApp().m_comm.m_dVar10;
  SetDlgItemText(kCurrentId, plat::FormatNumber("%.1f", position).c_str());
  Try("gauge", [&] {
    m_gauge.SetValue(position);
    // The colour follows the new position at once, not a tick later.
    if (m_bLimitsShown) UpdatePointerColour();
  });
  EnableActionButtons(TRUE);
}

void CHealth_Ctl_PosAlertsView::ShowPosAlertLimits() {
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

void CHealth_Ctl_PosAlertsView::StoreAndPlotPositionHistogram() {
  if (!histogram::Plot(theApp().m_CommonFunctions, m_pPlot, m_histogram, histogram::kPosition))
    Note("HISTOMISSING");
}

// ---- Apply.

void CHealth_Ctl_PosAlertsView::BeginApply() {
  if (!ApplyAllowed(m_bLimitsGood, 7)) return;
  // Typed values that never lost the focus keep the same range.
  m_low.Show(Clamped(m_low.Typed()));
  m_high.Show(Clamped(m_high.Typed()));
  if (m_low.Typed() < m_high.Typed()) return;
  // An inverted band would keep a position alert on for good.
  m_nStep = 1;
  EnableActionButtons(TRUE);
  Warn("ALERTBANDINVERTED");
}

void CHealth_Ctl_PosAlertsView::Apply() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  const double high = comm.m_dPosAlertHigh, low = comm.m_dPosAlertLow;
  comm.m_dPosAlertHigh = m_high.Typed();
  comm.m_dPosAlertLow = m_low.Typed();
  m_bLimitsGood = comm.WritePosAlertLimits();
  if (m_bLimitsGood) return;
  // What the device holds is open: show what it held, say so, and let
  // Apply wait for a read that tells.
  comm.m_dPosAlertHigh = high;
  comm.m_dPosAlertLow = low;
  Note("ALERTAPPLYUNCONFIRMED");
}

// ---- The user's edits, spins and drags: controls only, until Apply.

double CHealth_Ctl_PosAlertsView::Clamped(double value) const {
  const double min = m_gauge.Min(), max = m_gauge.Max();
  return value <= min ? min : value >= max ? max : value;
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
void CHealth_Ctl_PosAlertsView::OnGaugeMarkerMoved(const EventArgs& args) {
  const int index = args.empty() || args[0].vt != VT_I4 ? 0 : static_cast<int>(args[0].lVal);
  if (index != kLowMarker && index != kHighMarker) return;
  double v = m_gauge.Marker(index);
  if (m_gauge.ClampMarker(index, v)) return;
  if (index == kHighMarker && v <= m_gauge.Marker(kLowMarker))
    m_low.Show(limits::PushedBelow(v, 0.01, m_gauge.Min()));
  else if (index == kLowMarker && v >= m_gauge.Marker(kHighMarker))
    m_high.Show(limits::PushedAbove(v, 0.1, m_gauge.Max()));
  if (!m_bStarted) return;
  limits::LimitField& dragged = index == kHighMarker ? m_high : m_low;
  dragged.SetSpin(v);
  dragged.SetEdit(v);
}
