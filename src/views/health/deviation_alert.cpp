#include "views/health/deviation_alert.h"

#include <algorithm>
#include <numeric>

#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "support/log.h"

namespace {

using Page = CHealth_Ctl_DeviationView;

constexpr int kPlotPlace = 1520, kGaugePlace = 1521, kToleranceSpinPlace = 562, kTimeFrameSpinPlace = 563;
constexpr int kTitlePlace = 946, kBracePlace = 1800, kPicturePlace = 1588, kBracePicturePlace = 1589;
constexpr int kNoAlertArrowPlace = 1583, kAlertArrowPlace = 1587;
constexpr UINT kArrowNoAlertId = 802, kArrowAlertId = 803, kLabelId = 806, kPictureId = 807, kBracePictureId = 808;

// The histogram comes in three parts, each selected, then read; a reset
// clears the three parts, then reads the histogram again.
enum Step : int {
  kApplyStep = 21, kSelectStep = 23, kReadStep0 = 25, kSelectStep1 = 27, kReadStep1 = 29, kSelectStep2 = 31,
  kReadStep2 = 33, kResetStep0 = 35, kResetStep1 = 37, kResetStep2 = 39,
};

constexpr COLORREF kInside = 0xFF0000, kOutside = 0x00FFFF;

// ---- Dialog 398, in dialog units.
std::vector<DialogItem> Items() {
  constexpr unsigned kPlace = DS_HIDDEN;
  return {
      {1513, DlgKind::GroupBox, "Deviation", 8, 26, 372, 322},
      {kPlotPlace, DlgKind::GroupBox, "", 16, 38, 356, 160, kPlace},
      {kGaugePlace, DlgKind::GroupBox, "", 16, 202, 356, 40, kPlace},
      {903, DlgKind::Static, "Current Value:", 16, 252, 90, 9},
      {Page::kCurrentId, DlgKind::Edit, "", 108, 250, 46, 12, DS_READONLY | DS_RIGHT},
      {237, DlgKind::Static, "%", 157, 252, 10, 9},
      {900, DlgKind::Static, "Tolerable error +/-:", 16, 270, 90, 9},
      {Page::kToleranceId, DlgKind::Edit, "", 108, 268, 46, 12, DS_RIGHT},
      {kToleranceSpinPlace, DlgKind::GroupBox, "", 157, 268, 40, 12, kPlace},
      {235, DlgKind::Static, "%", 200, 270, 10, 9},
      {1629, DlgKind::Static, "Deviation time frame:", 16, 288, 90, 9},
      {Page::kTimeFrameId, DlgKind::Edit, "", 108, 286, 46, 12, DS_RIGHT},
      {kTimeFrameSpinPlace, DlgKind::GroupBox, "", 157, 286, 40, 12, kPlace},
      {904, DlgKind::Static, "sec", 200, 288, 16, 9},
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

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(398, Page::kHeader, Items()));

}  // namespace

CHealth_Ctl_DeviationView::CHealth_Ctl_DeviationView()
    : CAlertPage(398, "IDC_BTN_DEVIATION", 26, 31,
                 {kCurrentId,
                  {kPlotPlace, kPlotId},
                  &CCommonFunctions::SetupDeviationPlot,
                  "IDC_IPLOT_DEV",
                  "IDC_BTN_DEVIATION",
                  {kGaugePlace, kGaugeId},
                  &CCommonFunctions::SetupDeviationGauge,
                  {{{kNoAlertArrowPlace, kArrowNoAlertId}, activex::kArrowDown},
                   {{kAlertArrowPlace, kArrowAlertId}, activex::kArrowUp}},
                  {{{{kToleranceSpinPlace, kToleranceSpinId}, 0.1, 0.0, 100.0},
                    {{kTimeFrameSpinPlace, kTimeFrameSpinId}, 0.1, 1.0, 60.0}}},
                  {kTitlePlace, kLabelId},
                  "IDC_ILABELILLUSTRATIONPOSDEV",
                  {kBracePlace, kLabelId},
                  {{{kPicturePlace, kPictureId}, 160}, {{kBracePicturePlace, kBracePictureId}, 159}}},
                 {kApplyStep, kSelectStep, kResetStep0}) {
  const std::vector<KeyedControls> captions = {
      {"IDC_BTN_DEVIATION", {1513}},   {"IDC_ILABELXCURVAL", {903}},    {"IDC_STATICTOLERR", {900}},
      {"IDC_STATICTIMEFRAME", {1629}}, {"IDC_STATICNOALERT", {947}},    {"IDC_STATICTOLERRBAND", {948}},
      {"IDC_STATICUPDEV", {952}},      {"IDC_STATICDNDEV", {953}},      {"IDC_STATICDEVTIMEFRM", {949}},
      {"IDC_STATICALERTGEN", {951}},   {"VeskSEC", {904}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"VeskDEVIATIONVALUETIP", {kCurrentId}},
      {"IDC_CEDIT_TOLERABLE_ALARMTIP", {kToleranceId}},
      {"IDC_CEDIT_DEVIATION_ALARMTIP", {kTimeFrameId}},
      {"IDC_LINEAR_DEV", {kGaugeId}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  CWexletCoreCommunication& comm = theApp().m_comm;
  const std::vector<PageStep> histogramSteps = {
      {kSelectStep, "SELECT0", {}, [this, &comm] { m_histogram.Begin(), m_histogram.Select(comm, 0); }, {}, kReadStep0},
      {kReadStep0, "READ0", {}, [this] { StorePart(0, 10); }, {}, kSelectStep1},
      {kSelectStep1, "SELECT1", {}, [this, &comm] { m_histogram.Select(comm, 1); }, {}, kReadStep1},
      {kReadStep1, "READ1", {}, [this] { StorePart(10, 11); }, {}, kSelectStep2},
      {kSelectStep2, "SELECT2", {}, [this, &comm] { m_histogram.Select(comm, 2); }, {}, kReadStep2},
      {kReadStep2, "READ2", {}, [this] { StorePart(21, 10); }, [this] { PlotHistogram(histogram::kDeviation); },
       kValueStep},
      {kResetStep0, "RESET0", {}, [this] { ResetPart(0); }, {}, kResetStep1},
      {kResetStep1, "RESET1", {}, [this] { ResetPart(1); }, {}, kResetStep2},
      {kResetStep2, "RESET2", {}, [this] { ResetPart(2); }, {}, kSelectStep},
  };
  m_steps.insert(m_steps.end(), histogramSteps.begin(), histogramSteps.end());

  MapCommand(EN_KILLFOCUS, kToleranceId, [this] { Try("tolerance", [this] { OnKillFocusTolerance(); }); });
  MapCommand(EN_KILLFOCUS, kTimeFrameId, [this] { Try("time frame", [this] { OnKillFocusTimeFrame(); }); });
  MapEvent(kToleranceSpinId, 202, &Page::OnToleranceSpinChange);
  MapEvent(kTimeFrameSpinId, 202, [this](const EventArgs&) { m_timeFrame.FollowSpin(); });
}

// ---- The device's values on the page.

void CHealth_Ctl_DeviationView::ReadValue() { theApp().m_comm.ReadVar12(); }

double CHealth_Ctl_DeviationView::Value() const { return theApp().m_comm.m_dVar12; }

void CHealth_Ctl_DeviationView::ShowOnGauge(double deviation) {
  if (deviation > std::min(theApp().m_comm.m_dDeviationLimit * 1.1, 100.0)) m_gauge.SetMax(deviation);
  m_gauge.SetValue(deviation);
}

bool CHealth_Ctl_DeviationView::ReadLimits() { return theApp().m_comm.ReadDeviationLimits(); }

void CHealth_Ctl_DeviationView::ShowLimits() {
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

bool CHealth_Ctl_DeviationView::WriteLimits() { return theApp().m_comm.WriteDeviationLimits(); }

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

void CHealth_Ctl_DeviationView::ResetPart(BYTE part) {
  if (histogram::Reset(theApp().m_comm, part)) return;
  // The parts before this one are cleared already: say so, and show what
  // the device holds now.
  Note("HISTORESETPARTIAL");
  m_nStep = kSelectStep;
}

// ---- The user's edits, spins and drags: controls only, until Apply.

void CHealth_Ctl_DeviationView::BeginApply() {
  CWexletCoreCommunication& comm = theApp().m_comm;
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
  const double v = plat::HeldTo(m_timeFrame.Typed(), 1.0, 60.0);
  m_timeFrame.SetSpin(v);
  m_timeFrame.SetEdit(v);
}

void CHealth_Ctl_DeviationView::OnToleranceSpinChange(const EventArgs&) {
  const double v = m_tolerance.Spin();
  m_tolerance.SetEdit(v);
  m_gauge.SetMarker(1, v);
  m_gauge.SetMarker(2, -v);
}

void CHealth_Ctl_DeviationView::OnMarkerDragged(int index) {
  const double v = m_gauge.Marker(index);
  // The band stays symmetric about 0.
  const double half = index == 1 ? plat::HeldTo(v, 0.0, m_gauge.Max()) : -plat::HeldTo(v, m_gauge.Min(), 0.0);
  m_gauge.SetMarker(1, half);
  m_gauge.SetMarker(2, -half);
  if (Started()) {
    m_tolerance.SetSpin(half);
    m_tolerance.SetEdit(half);
  }
}
