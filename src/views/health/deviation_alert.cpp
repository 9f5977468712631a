#include "views/health/deviation_alert.h"

#include <algorithm>
#include <numeric>

#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "support/language_table.h"
#include "support/log.h"

namespace {

using Page = CHealth_Ctl_DeviationView;

constexpr StatusHeaderIds kHeader{1060, 1012, 1013};
constexpr int kPlotPlace = 1520, kGaugePlace = 1521, kToleranceSpinPlace = 562, kTimeFrameSpinPlace = 563;
constexpr int kTitlePlace = 946, kBracePlace = 1800, kPicturePlace = 1588, kBracePicturePlace = 1589;
constexpr int kNoAlertArrowPlace = 1583, kAlertArrowPlace = 1587;
constexpr UINT kArrowNoAlertId = 802, kArrowAlertId = 803, kLabelId = 806, kPictureId = 807, kBracePictureId = 808;

constexpr COLORREF kInside = 0xFF0000, kOutside = 0x00FFFF;

// ---- Dialog 398, in dialog units.
std::vector<DialogItem> Items() {
  constexpr unsigned kPlace = DS_HIDDEN;
  return {
      {1513, DlgKind::GroupBox, "Deviation", 8, 26, 372, 322},
      {kPlotPlace, DlgKind::GroupBox, "", 16, 38, 356, 160, kPlace},
      {kGaugePlace, DlgKind::GroupBox, "", 16, 202, 356, 40, kPlace},
      {903, DlgKind::Static, "Current Value:", 16, 252, 84, 9},
      {Page::kCurrentId, DlgKind::Edit, "", 102, 250, 46, 12, DS_READONLY | DS_RIGHT},
      {237, DlgKind::Static, "%", 151, 252, 10, 9},
      {900, DlgKind::Static, "Tolerable error +/-:", 16, 270, 84, 9},
      {Page::kToleranceId, DlgKind::Edit, "", 102, 268, 46, 12, DS_RIGHT},
      {kToleranceSpinPlace, DlgKind::GroupBox, "", 151, 268, 40, 12, kPlace},
      {235, DlgKind::Static, "%", 194, 270, 10, 9},
      {1629, DlgKind::Static, "Deviation time frame:", 16, 288, 84, 9},
      {Page::kTimeFrameId, DlgKind::Edit, "", 102, 286, 46, 12, DS_RIGHT},
      {kTimeFrameSpinPlace, DlgKind::GroupBox, "", 151, 286, 40, 12, kPlace},
      {904, DlgKind::Static, "sec", 194, 288, 16, 9},
      {Page::kResetId, DlgKind::PushButton, "Reset", 232, 250, 18, 17, DS_BITMAP | DS_DISABLED},
      {1582, DlgKind::Static, "Reset Current Histogram", 254, 254, 118, 9},
      {Page::kApplyId, DlgKind::PushButton, "Apply", 232, 284, 64, 15, DS_DISABLED},
      {Page::kRetrieveId, DlgKind::PushButton, "Retrieve", 304, 284, 64, 15, DS_DISABLED},
      {Page::kNoteId, DlgKind::Static, "", 16, 308, 356, 34},
      // The illustration of the alert rule.
      {1514, DlgKind::GroupBox, "", 388, 26, 204, 322},
      {kTitlePlace, DlgKind::GroupBox, "", 396, 36, 188, 14, kPlace},
      {952, DlgKind::Static, "+ Deviation", 396, 56, 60, 9},
      {kBracePlace, DlgKind::GroupBox, "", 396, 78, 14, 58, kPlace},
      {948, DlgKind::Static, "Tolerable Error Band", 396, 140, 100, 9},
      {kPicturePlace, DlgKind::GroupBox, "", 412, 68, 172, 68, kPlace},
      {953, DlgKind::Static, "- Deviation", 396, 152, 60, 9},
      {1584, DlgKind::Static, "Time", 552, 152, 32, 9, DS_RIGHT},
      {kBracePicturePlace, DlgKind::GroupBox, "", 412, 166, 43, 10, kPlace},
      {949, DlgKind::Static, "Deviation Time Frame", 396, 180, 120, 9},
      {kNoAlertArrowPlace, DlgKind::GroupBox, "", 396, 204, 12, 12, kPlace},
      {947, DlgKind::Static, "", 412, 202, 172, 50},
      {kAlertArrowPlace, DlgKind::GroupBox, "", 396, 266, 12, 12, kPlace},
      {951, DlgKind::Static, "", 412, 264, 172, 50},
      {1585, DlgKind::Static, "Training Status:", 396, 326, 60, 9, DS_HIDDEN},
      {1586, DlgKind::Edit, "", 460, 324, 60, 12, DS_HIDDEN | DS_READONLY},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(398, kHeader, Items()));

_bstr_t Text(const char* key) { return TheLanguageTable().Lookup(key); }

double Clamp(double v, double low, double high) { return v <= low ? low : v >= high ? high : v; }

}  // namespace

CHealth_Ctl_DeviationView::CHealth_Ctl_DeviationView() : CMonitoringPage(398, "IDC_BTN_DEVIATION", 26, 5000, kHeader) {
  m_nStartStep = 7;
  m_actionButtons = {kApplyId, kRetrieveId, kResetId};
  AddResetPicture(kResetId);
  m_captions = {
      {"IDC_BTN_DEVIATION", {1513}},      {"IDC_ILABELXCURVAL", {903}},     {"IDC_STATICTOLERR", {900}},
      {"IDC_STATICTIMEFRAME", {1629}},    {"IDC_ILABELRSETHISTO", {1582}},  {"IDC_STATICNOALERT", {947}},
      {"IDC_STATICTOLERRBAND", {948}},    {"IDC_STATICTIMELABEL", {1584}},  {"IDC_STATICUPDEV", {952}},
      {"IDC_STATICDNDEV", {953}},         {"IDC_STATICDEVTIMEFRM", {949}},  {"IDC_STATICALERTGEN", {951}},
      {"VeskSEC", {904}},                 {"RESET", {kResetId}},            {"IDC_BUTTON_APPLY", {kApplyId}},
      {"IDC_BUTTON_RETRIEVE", {kRetrieveId}},
  };
  m_toolTips = {
      {"VeskDEVIATIONVALUETIP", {kCurrentId}},      {"IDC_CEDIT_TOLERABLE_ALARMTIP", {kToleranceId}},
      {"IDC_CEDIT_DEVIATION_ALARMTIP", {kTimeFrameId}}, {"IDC_BTN_RESET_HISTO", {kResetId}},
      {"IDC_BUTTON_APPLYTIP", {kApplyId}},           {"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}},
      {"IDC_LINEAR_DEV", {kGaugeId}},
  };

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      {1, "STAT",
       [this] {
         if (--m_nStatusCountdown > 0) return false;
         m_nStatusCountdown = 10;
         return true;
       },
       [this, &comm] {
         comm.ReadVar12();
         PollStatusArea();
       },
       [this] { ShowDeviation(); }, 1},
      {7, "LIMITS", {}, [this, &comm] { m_bLimitsGood = comm.ReadDeviationLimits() || m_bLimitsGood; },
       [this] {
         ShowDeviationLimits();
         m_bLimitsShown = true;
       },
       23},
      {21, "APPLY", {},
       [this, &comm] {
         m_bLimitsGood = comm.WriteDeviationLimits();
         // A lost reply leaves open what the device holds: say so, and let
         // Apply wait for a read that tells.
         if (!m_bLimitsGood) Note("ALERTAPPLYUNCONFIRMED");
       },
       [this] {
         ShowDeviationLimits();
         EnableActionButtons(TRUE);
       },
       1},
      {23, "SELECT0", {}, [this, &comm] { m_histogram.Begin(), m_histogram.Select(comm, 0); }, {}, 25},
      {25, "READ0", {}, [this] { StorePart(0, 10); }, {}, 27},
      {27, "SELECT1", {}, [this, &comm] { m_histogram.Select(comm, 1); }, {}, 29},
      {29, "READ1", {}, [this] { StorePart(10, 11); }, {}, 31},
      {31, "SELECT2", {}, [this, &comm] { m_histogram.Select(comm, 2); }, {}, 33},
      {33, "READ2", {}, [this] { StorePart(21, 10); }, [this] { PlotHistogram(); }, 1},
      {35, "RESET0", {}, [this] { ResetPart(0); }, {}, 37},
      {37, "RESET1", {}, [this] { ResetPart(1); }, {}, 39},
      {39, "RESET2", {}, [this] { ResetPart(2); }, {}, 23},
  };
  m_requests = {
      {2, 21, [this] { BeginApply(); }},
      {3, 7},
      {4, 35, [this] { ComCheck(theApp().m_CommonFunctions.GetPlotChannelByName(m_pPlot, "Current")->Clear()); }},
  };

  MapCommand(BN_CLICKED, kApplyId, [this] { OnButton(2); });
  MapCommand(BN_CLICKED, kRetrieveId, [this] {
    OnButton(3);
    Try("plot", [this] { ComCheck(m_pPlot->ClearAllData()); });
  });
  MapCommand(BN_CLICKED, kResetId, [this] { OnButton(4); });
  MapCommand(EN_KILLFOCUS, kToleranceId, [this] { Try("tolerance", [this] { OnKillFocusTolerance(); }); });
  MapCommand(EN_KILLFOCUS, kTimeFrameId, [this] { Try("time frame", [this] { OnKillFocusTimeFrame(); }); });
  MapEvent(kToleranceSpinId, 202, &Page::OnToleranceSpinChange);
  MapEvent(kTimeFrameSpinId, 202, &Page::OnTimeFrameSpinChange);
  MapEvent(kGaugeId, 19, &Page::OnGaugeMarkerMoved);
}

void CHealth_Ctl_DeviationView::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  auto rect = [this](int placeholder) { return PlaceholderRect(*GetDlgItem(placeholder)); };
  m_pPlot = common.CreatePlot(this, &m_wndHosts[0], rect(kPlotPlace), kPlotId);
  if (m_pPlot) Try("plot", [&] {
      common.SetupDeviationPlot(m_pPlot);
      common.SetupHistogramCurrentMarker(m_pPlot);
      histogram::SetCaptions(common, m_pPlot, "IDC_IPLOT_DEV", "IDC_BTN_DEVIATION");
    });
  m_pGaugeControl = common.CreateLinearGauge2(this, &m_wndHosts[1], rect(kGaugePlace), kGaugeId);
  if (m_pGaugeControl) Try("gauge", [&] {
      common.SetupDeviationGauge(m_pGaugeControl);
      m_gauge = limits::LimitGauge(m_pGaugeControl);
    });
  m_pArrowNoAlert = common.CreateLedArrow(this, &m_wndHosts[2], rect(kNoAlertArrowPlace), kArrowNoAlertId);
  m_pArrowAlert = common.CreateLedArrow(this, &m_wndHosts[3], rect(kAlertArrowPlace), kArrowAlertId);
  auto setUpArrow = [&](IiLedArrowXPtr& arrow, LONG direction) {
    if (arrow) Try("arrow", [&] {
        common.SetupLedArrow(arrow);
        ComCheck(arrow->put_Direction(direction));
      });
  };
  setUpArrow(m_pArrowNoAlert, activex::kArrowDown);
  setUpArrow(m_pArrowAlert, activex::kArrowUp);
  m_pToleranceSpin = common.CreateSpinEditCtrl(this, &m_wndHosts[4], rect(kToleranceSpinPlace), kToleranceSpinId);
  m_pTimeFrameSpin = common.CreateSpinEditCtrl(this, &m_wndHosts[5], rect(kTimeFrameSpinPlace), kTimeFrameSpinId);
  auto setUpSpin = [&](ISpinEditXPtr& spin, double low, double high) {
    if (spin) Try("spin edit", [&] {
        ComCheck(spin->put_Increment(0.1));
        ComCheck(spin->put_Max(high));
        ComCheck(spin->put_Min(low));
      });
  };
  setUpSpin(m_pToleranceSpin, 0.0, 100.0);
  setUpSpin(m_pTimeFrameSpin, 1.0, 60.0);
  m_pTitleLabel =
      common.CreateLabelCtrl(this, &m_wndHosts[6], rect(kTitlePlace), kLabelId, Text("IDC_ILABELILLUSTRATIONPOSDEV"));
  if (m_pTitleLabel) Try("label", [&] { common.SetupDeviationLabel(m_pTitleLabel); });
  m_pBraceLabel = common.CreateLabelCtrl(this, &m_wndHosts[7], rect(kBracePlace), kLabelId, "{");
  if (m_pBraceLabel) Try("label", [&] { common.SetupDeviationTitleLabel(m_pBraceLabel); });
  m_pPicture = common.CreateImageDisplay(this, &m_wndHosts[8], rect(kPicturePlace), kPictureId, 160);
  m_pBracePicture = common.CreateImageDisplay(this, &m_wndHosts[9], rect(kBracePicturePlace), kBracePictureId, 159);
}

void CHealth_Ctl_DeviationView::OnStart() {
  m_bStarted = true;
  Note(nullptr);
  EnableActionButtons(FALSE);
  ComCheck(m_pPlot->ClearAllData());
}

void CHealth_Ctl_DeviationView::RunStep() {
  if (m_bLimitsShown) Try("pointer", [this] { UpdatePointerColour(); });
  CMonitoringPage::RunStep();
}

void CHealth_Ctl_DeviationView::OnButton(int request) {
  m_nStatusCountdown = 1;
  Note(nullptr);
  Request(request);
}

void CHealth_Ctl_DeviationView::Note(const char* key) {
  SetDlgItemText(kNoteId, key ? Text(key).str().c_str() : "");
}

// ---- The device's values on the page.

void CHealth_Ctl_DeviationView::ShowDeviation() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  const double deviation = comm.m_dVar12;
  SetDlgItemText(kCurrentId, plat::FormatNumber("%.1f", deviation).c_str());
  Try("gauge", [&] {
    if (deviation > std::min(comm.m_dDeviationLimit * 1.1, 100.0)) m_gauge.SetMax(deviation);
    m_gauge.SetValue(deviation);
  });
  EnableActionButtons(TRUE);
}

void CHealth_Ctl_DeviationView::ShowDeviationLimits() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  const double limit = comm.m_dDeviationLimit;
  m_gauge.SetMax(std::min(limit * 1.1, 100.0));
  m_gauge.SetMin(-m_gauge.Max());
  if (limit <= 1.0) {
    m_gauge.SetMax(1.1);
    m_gauge.SetMin(-1.1);
  }
  m_tolerance.SetSpinMax(m_gauge.Max());
  m_tolerance.SetSpin(limit);
  m_tolerance.SetEdit(limit);
  const double shown = m_tolerance.Typed();
  m_gauge.SetMarker(1, shown);
  m_gauge.SetMarker(2, -shown);
  if (comm.m_dDeviationLimit2 > 60) comm.m_dDeviationLimit2 = 60;
  m_timeFrame.SetEdit(comm.m_dDeviationLimit2);
  m_timeFrame.SetSpin(comm.m_dDeviationLimit2);
}

void CHealth_Ctl_DeviationView::UpdatePointerColour() {
  const double p = m_gauge.Value(), band = m_tolerance.Spin();
  m_gauge.SetPointerColour(-band <= p && p <= band ? kInside : kOutside);
}

// ---- The histogram.

void CHealth_Ctl_DeviationView::StorePart(size_t firstBin, size_t count) {
  if (!m_histogram.Fetch(theApp().m_comm, firstBin, count) || firstBin > 10) return;
  // The first two parts leave their running totals in the log.
  const std::vector<double>& bins = m_histogram.Bins();
  if (firstBin == 0) WriteLog(limits::VariantText(bins[0]).c_str());
  double total = std::accumulate(bins.begin(), bins.begin() + firstBin, 0.0);
  for (size_t i = firstBin; i < firstBin + count; ++i) WriteLog(limits::VariantText(total += bins[i]).c_str());
}

void CHealth_Ctl_DeviationView::PlotHistogram() {
  if (!histogram::Plot(theApp().m_CommonFunctions, m_pPlot, m_histogram, histogram::kDeviation))
    Note("HISTOMISSING");
}

void CHealth_Ctl_DeviationView::ResetPart(BYTE part) {
  if (histogram::Reset(theApp().m_comm, part)) return;
  // The parts before this one are cleared already: say so, and show what
  // the device holds now.
  Note("HISTORESETPARTIAL");
  m_nStep = 23;
}

// ---- The user's edits, spins and drags: controls only, until Apply.

void CHealth_Ctl_DeviationView::BeginApply() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  if (!ApplyAllowed(m_bLimitsGood, 7)) return;
  // Typed values that never lost the focus keep the same ranges.
  OnKillFocusTolerance();
  OnKillFocusTimeFrame();
  comm.m_dDeviationLimit = m_tolerance.Typed();
  comm.m_dDeviationLimit2 = m_timeFrame.Typed();
}

void CHealth_Ctl_DeviationView::OnKillFocusTolerance() {
  // A negative tolerance would give the widest band and silence the alert.
  const double v = std::max(m_tolerance.Typed(), 0.0);
  const double scale = std::stod(plat::FormatNumber("%3.1f", std::min(v * 1.1, 100.0)));
  m_gauge.SetMax(scale);
  m_gauge.SetMin(-m_gauge.Max());
  if (v <= 1.0) {
    m_gauge.SetMax(1.1);
    m_gauge.SetMin(-1.1);
  }
  const double deviation = theApp().m_comm.m_dVar12;
  if (deviation > m_gauge.Max()) m_gauge.SetMax(deviation * 1.1);
  m_tolerance.SetSpinMax(m_gauge.Max());
  m_tolerance.SetEdit(v <= scale ? v : 100.0);
  const double shown = m_tolerance.Typed();
  m_tolerance.SetSpin(shown);
  m_gauge.SetMarker(1, shown);
  m_gauge.SetMarker(2, -shown);
}

void CHealth_Ctl_DeviationView::OnKillFocusTimeFrame() {
  // The spin edit's range: a time frame of 0 s would raise the alert at once.
  const double v = Clamp(m_timeFrame.Typed(), 1.0, 60.0);
  m_timeFrame.SetSpin(v);
  m_timeFrame.SetEdit(v);
}

void CHealth_Ctl_DeviationView::OnToleranceSpinChange(const EventArgs&) {
  const double v = m_tolerance.Spin();
  m_tolerance.SetEdit(v);
  m_gauge.SetMarker(1, v);
  m_gauge.SetMarker(2, -v);
}

void CHealth_Ctl_DeviationView::OnTimeFrameSpinChange(const EventArgs&) { m_timeFrame.FollowSpin(); }

void CHealth_Ctl_DeviationView::OnGaugeMarkerMoved(const EventArgs& args) {
  const int index = args.empty() || args[0].vt != VT_I4 ? 0 : static_cast<int>(args[0].lVal);
  if (index != 1 && index != 2) return;
  const double v = m_gauge.Marker(index);
  // The band stays symmetric about 0.
  const double half = index == 1 ? Clamp(v, 0.0, m_gauge.Max()) : -Clamp(v, m_gauge.Min(), 0.0);
  m_gauge.SetMarker(1, half);
  m_gauge.SetMarker(2, -half);
  if (m_bStarted) {
    m_tolerance.SetSpin(half);
    m_tolerance.SetEdit(half);
  }
}
