#include "views/health/pilot_relay.h"

#include <tuple>

#include "common/control_puts.h"
#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "shell/limit_gauge_page.h"
#include "support/log.h"

namespace {

using View = CHealth_Pos_PilotRelayView;

// The three groups, top to bottom; the response time's limits are both
// editable, the counters' initial warnings follow their full warnings.
constexpr pages::LimitGroup kGroups[] = {
    {1505, 1045, View::kResponseEdit, 1601, "ms", 0, 225, {},
     {289, 1046, View::kWarningEdit, 668, 1610, "ms"}, {291, 1047, View::kAlarmEdit, 669, 1611, "ms"}, {}},
    {230, 1507, View::kCyclesEdit, 0, "", View::kResetCyclesId, 790, {},
     {1516, 1508, View::kCyclesInitialEdit, 0, 0, ""}, {1517, 1509, View::kCyclesFullEdit, 1429, 0, ""}, {}},
    {1048, 1338, View::kTravelEdit, 1602, "x 100%", View::kResetTravelId, 789, {},
     {299, 1340, View::kTravelInitialEdit, 0, 1612, "x 100%"}, {1518, 1342, View::kTravelFullEdit, 1433, 1613, "x 100%"},
     {}},
};
// The legends' images and bitmaps, low and high limit of each group.
constexpr UINT kLegends[3][2][2] = {{{346, 154}, {347, 156}}, {{348, 154}, {349, 155}}, {{350, 154}, {351, 155}}};

std::vector<DialogItem> Items() {
  std::vector<DialogItem> items;
  int y = 30;
  for (const pages::LimitGroup& group : kGroups)
    y = pages::AddLimitGroupItems(items, y, group) + pages::kLimitGroupGap;
  pages::AddApplyRetrieveItems(items, y + 2, View::kApplyId, View::kRetrieveId);
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(283, {}, Items()));

constexpr COLORREF kGreen = 0x00FF00, kYellow = 0x00FFFF, kRed = 0x0A0AFF;
// The device's alerts come on above a limit; a value on it is still good.
constexpr limits::BandColours kResponseColours{kGreen, kYellow, kRed};
constexpr limits::BandColours kCounterColours{kGreen, kYellow, kYellow};

enum Request { kMonitor = 1, kApply = 2, kRetrieve = 3, kResetCycles = 4, kResetTravel = 5 };
// The counter resets read their record, and write it on the step after.
enum Step : int {
  kStatusStep = 1, kStartStep = 5, kReadStep = 7, kApplyStep = 9, kLiveStep = 13,
  kResetCyclesStep = 19, kResetTravelStep = 21,
};
constexpr BYTE kSelectCycles = 2, kSelectTravel = 1;

}  // namespace

View::CHealth_Pos_PilotRelayView()
    : CMonitoringPage(283, "PILOTMENU", 23, 5000),
      m_cycles(*this, kCyclesFullEdit, kCyclesInitialEdit, {.clampedDragUpdatesEdits = true, .typedScaleMayShrink = false}),
      m_travel(*this, kTravelFullEdit, kTravelInitialEdit, {.clampedDragUpdatesEdits = true, .typedScaleMayShrink = false}) {
  const std::vector<KeyedControls> captions = {
      {"IDC_GB_PILOTRESP", {1505}},       {"IDC_ILABELXCURVAL", {1045, 1507, 1338}},
      {"IDC_ILABELXRESPWARN", {1046}},    {"IDC_ILABELXRESPALM", {1047}},
      {"IDC_GB_PIRELCNT", {230}},         {"IDC_GB_PILOTTRAVEL", {1048}},
      {"IDC_ILABELXINITWARN", {1508, 1340}}, {"IDC_ILABELXFULLWARN", {1509, 1342}},
      {"IDC_BUTTON_APPLY", {kApplyId}},
      {"IDC_BUTTON_RETRIEVE", {kRetrieveId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"IDC_LINEAR_Spool_Sticking", {kResponseGaugeId}},
      {"Spool_Time_86", {kResponseEdit}},
      {"IDC_CEDIT_Stick_WarnTIP", {kWarningSpinId, kWarningEdit}},
      {"IDC_CEDIT_Stick_AlarmTIP", {kAlarmSpinId, kAlarmEdit}},
      {"IDC_EDIT_CYCLE_COUNTTIP", {kCyclesEdit}},
      {"IDC_EDIT_LOW_CYCLE_LIMITTIP", {kCyclesInitialEdit}},
      {"IDC_LINEAR_Spool_Cycles", {kCyclesGaugeId}},
      {"IDC_CEDIT_HIGH_CYCLETIP", {kCyclesSpinId, kCyclesFullEdit}},
      {"IDC_LINEAR_Spool_Travel", {kTravelGaugeId}},
      {"IDC_CEDIT_HIGH_TRAVELTIP", {kTravelSpinId, kTravelFullEdit}},
      {"IDC_EDITX_ACTUAL_TRAVELTIP", {kTravelEdit}},
      {"IDC_CEDIT_LOW_TRAVELTIP", {kTravelInitialEdit}},
      {"IDC_BTN_RESET_CYCLETIP", {kResetCyclesId}},
      {"IDC_BTN_RESET_TRAVELTIP", {kResetTravelId}},
      {"IDC_BUTTON_APPLYTIP", {kApplyId}},
      {"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_nStartStep = kStartStep;
  m_actionButtons = {kApplyId, kRetrieveId};
  HoldButtonUntil(kApplyId, [this] { return m_bLimitsRead; });
  m_requests = {{kApply, kApplyStep}, {kRetrieve, kReadStep}};
  m_steps = {
      // Every tick comes here or to the live values, so the colours follow
      // each tick.
      {kStatusStep, "STAT", {},
       [this] {
         if (!m_statusCountdown.Due(2)) {
           m_nStep = kStatusStep;
           return;
         }
         PollStatusArea();
       },
       {}, kLiveStep},
      {kStartStep, "START", {}, {}, {}, kReadStep},
      {kReadStep, "READ",
       {},
       [this, &comm] {
         if (comm.ReadPilotRelayA()) m_bLimitsRead = true;
         comm.ReadPilotRelay();
       },
       [this] {
         ShowLimits();
         ShowLiveValues();
         m_bFirstRead = true;
         EnableActionButtons(TRUE);
       },
       kStatusStep},
      {kApplyStep, "APPLY", {}, [this] { Apply(); },
       [this] {
         m_statusCountdown.Restart();
         EnableActionButtons(TRUE);
       },
       kStatusStep},
      {kLiveStep, "LIVE", {}, [&comm] { comm.ReadPilotRelay(); }, [this] { ShowLiveValues(); }, kStatusStep},
  };
  for (auto [button, request] : {std::pair{kApplyId, kApply}, std::pair{kRetrieveId, kRetrieve}})
    MapCommand(BN_CLICKED, static_cast<UINT>(button), [this, request = request] { Request(request); });
  // The cycles reset restarts the period; the travel reset waits for the
  // running timer.
  AddCounterReset({kResetCyclesId, kResetCycles, kResetCyclesStep, 162,
                   &CWexletCoreCommunication::m_PilotRecord, kSelectCycles, nullptr, true},
                  [this, &comm] { SetDlgItemText(kCyclesEdit, limits::WordText(comm.m_PilotRecord.dwCount2).c_str()); });
  AddCounterReset({kResetTravelId, kResetTravel, kResetTravelStep, 162,
                   &CWexletCoreCommunication::m_PilotRecord, kSelectTravel},
                  [this, &comm] { SetDlgItemText(kTravelEdit, limits::WordText(comm.m_PilotRecord.dwCount1).c_str()); });

  MapEvent(kResponseGaugeId, 19, &View::OnResponseMarkerMoved);
  MapEvent(kCyclesGaugeId, 19, [this](const EventArgs& a) { m_cycles.OnMarkerMoved(a.at(0).lVal); });
  MapEvent(kTravelGaugeId, 19, [this](const EventArgs& a) { m_travel.OnMarkerMoved(a.at(0).lVal); });
  MapEvent(kCyclesSpinId, 202, [this](const EventArgs&) { m_cycles.OnSpinChange(); });
  MapEvent(kTravelSpinId, 202, [this](const EventArgs&) { m_travel.OnSpinChange(); });
  // The warning (marker 1) and the alarm (marker 2). Turning a spin edit
  // does not keep them apart; only dragging does.
  for (int k : {0, 1}) {
    MapEvent(k == 0 ? kWarningSpinId : kAlarmSpinId, 202, [this, k](const EventArgs&) {
      // A number typed into the spin edit stays on the scale, as a typed
      // limit does: the device holds the limit as a float in seconds.
      const double value = plat::HeldTo(SpinValue(k), m_response.Min(), SpinMax(k));
      SetResponseLimit(k, value, plat::FormatNumber("%.0f", value));
    });
    MapCommand(EN_KILLFOCUS, k == 0 ? kWarningEdit : kAlarmEdit, [this, k] { OnResponseEditLeft(k); });
  }
  MapCommand(EN_KILLFOCUS, kCyclesFullEdit, [this] { m_cycles.OnEditLeft(); });
  MapCommand(EN_KILLFOCUS, kTravelFullEdit, [this] { m_travel.OnEditLeft(); });
}

void View::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  size_t host = 0;
  auto place = [this](int placeholder) {
    CWnd* wnd = GetDlgItem(placeholder);
    return wnd ? PlaceholderRect(*wnd) : CRect();
  };
  const UINT gaugeIds[] = {kResponseGaugeId, kCyclesGaugeId, kTravelGaugeId};
  IiLinearGaugeXPtr gauges[3];
  for (int g = 0; g < 3; ++g) {
    gauges[g] = common.CreateLinearGauge2(this, &m_wndHosts[host++], place(kGroups[g].gauge), gaugeIds[g]);
    if (!gauges[g]) continue;
    Try("gauge", [&] {
      if (g == 0) {
        common.SetupPilotRelayGaugeA(gauges[g]);
        common::Puts(gauges[g].GetInterfacePtr()).Put(activex::Row(1), 30);  // as the counter gauges
      } else {
        common.SetupPilotRelayGaugeB(gauges[g]);
      }
    });
  }
  const UINT spinIds[] = {kWarningSpinId, kAlarmSpinId, kCyclesSpinId, kTravelSpinId};
  const int spinPlaces[] = {668, 669, 1429, 1433};
  ISpinEditXPtr spins[4];
  for (int s = 0; s < 4; ++s) {
    spins[s] = common.CreateSpinEditCtrl(this, &m_wndHosts[host++], place(spinPlaces[s]), spinIds[s]);
    if (s >= 2 && spins[s]) Try("spin edit", [&] { ComCheck(spins[s]->put_Decimals(0)); });
  }
  for (int g = 0; g < 3; ++g)
    for (int side = 0; side < 2; ++side) {
      const pages::LimitField& row = side == 0 ? kGroups[g].low : kGroups[g].high;
      const auto [id, bitmap] = kLegends[g][side];
      common.CreateImageDisplay(this, &m_wndHosts[host++], place(row.legend), id, static_cast<int>(bitmap));
    }
  m_response = limits::LimitGauge(gauges[0]);
  m_responseSpins = {spins[0], spins[1]};
  m_cycles.Attach(limits::LimitGauge(gauges[1]), spins[2]);
  m_travel.Attach(limits::LimitGauge(gauges[2]), spins[3]);
}

// ---- The machine.

void View::BeginRequest(int request) {
  m_bRequestTick = request != kMonitor;
  CMonitoringPage::BeginRequest(request);
}

void View::OnStepBegin(const PageStep&) {
  // Plain monitoring shows the colours against the limits as the controls
  // hold them, edited or not.
  if (m_bFirstRead && !m_bRequestTick) Try("colours", [this] { UpdatePointerColours(); });
  m_bRequestTick = false;
}

void View::ShowLiveValues() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  SetDlgItemText(kResponseEdit, plat::FormatNumber("%.0f", comm.m_dVar295).c_str());
  SetDlgItemText(kCyclesEdit, limits::WordText(comm.m_nVar335).c_str());
  SetDlgItemText(kTravelEdit, limits::WordText(comm.m_nVar331).c_str());
  Try("response gauge", [&] { m_response.SetValue(comm.m_dVar295); });
  Try("cycles gauge", [&] { m_cycles.Gauge().SetValue(limits::FromWord(comm.m_nVar335)); });
  Try("travel gauge", [&] { m_travel.Gauge().SetValue(limits::FromWord(comm.m_nVar331)); });
  m_cycles.SetReady();
  m_travel.SetReady();
}

void View::ShowLimits() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  Try("response limits", [&] {
    const double max = m_response.Max();
    const std::pair<double, int> limits[] = {{comm.m_dVar297, 1}, {comm.m_dVar296, 0}};
    for (auto [value, k] : limits) {
      m_response.SetMarker(k + 1, value);
      SetDlgItemText(k == 0 ? kWarningEdit : kAlarmEdit, plat::FormatNumber("%.0f", value).c_str());
      ComCheck(m_responseSpins[k]->put_Max(max));
      ComCheck(m_responseSpins[k]->put_Value(value));
    }
  });
  Try("cycles limits", [&] {
    m_cycles.Show(comm.m_nVar336, comm.m_nVar337,
                  limits::CounterScale(limits::FromWord(comm.m_nVar337), limits::FromWord(comm.m_nVar335)));
  });
  Try("travel limits", [&] {
    m_travel.Show(comm.m_nVar332, comm.m_nVar333,
                  limits::CounterScale(limits::FromWord(comm.m_nVar333), limits::FromWord(comm.m_nVar331)));
  });
}

void View::UpdatePointerColours() {
  m_response.SetPointerColour(
      limits::BandColour(m_response.Value(), SpinValue(0), SpinValue(1), kResponseColours, false));
  for (limits::FullWarningGroup* group : {&m_cycles, &m_travel}) {
    limits::LimitGauge& gauge = group->Gauge();
    gauge.SetPointerColour(
        limits::BandColour(gauge.Value(), gauge.Marker(1), group->Full(), kCounterColours, false));
  }
}

// All six limits as the controls hold them. A write without reply leaves
// the device image as the device last reported it and the edits as typed,
// so nothing shows values that the device may not hold.
void View::Apply() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  auto image = [&comm] {
    return std::tie(comm.m_dVar296, comm.m_dVar297, comm.m_nVar336, comm.m_nVar337, comm.m_nVar332, comm.m_nVar333);
  };
  const auto held = std::tuple(comm.m_dVar296, comm.m_dVar297, comm.m_nVar336, comm.m_nVar337, comm.m_nVar332,
                               comm.m_nVar333);
  image() = std::tuple(SpinValue(0), SpinValue(1), m_cycles.InitialWord(),
                       m_cycles.FullWord(), m_travel.InitialWord(), m_travel.FullWord());
  if (comm.WritePilotRelayValues()) {
    ShowLimits();
    return;
  }
  image() = held;
  WriteLog("Pilot relay limits not written: the device did not answer.");
}

// ---- Limit editing.

double View::SpinValue(int k) const {
  double value = 0;
  ComCheck(m_responseSpins[k]->get_Value(&value));
  return value;
}

double View::SpinMax(int k) const {
  double value = 0;
  ComCheck(m_responseSpins[k]->get_Max(&value));
  return value;
}

// A marker dragged past an end goes back on it and changes nothing else.
// Inside, a warning at or above the alarm pushes the alarm up by 1, an
// alarm at or below the warning pushes the warning down by 2.
void View::OnResponseMarkerMoved(const EventArgs& args) {
  const int k = static_cast<int>(args.at(0).lVal);
  if (k != 1 && k != 2) return;
  double value = m_response.Marker(k);
  if (m_response.ClampMarker(k, value)) return;
  const int other = 3 - k;
  if (k == 2 ? value <= m_response.Marker(1) : value >= m_response.Marker(2)) {
    const double pushed = k == 2 ? limits::PushedBelow(value, 2, m_response.Min())
                                 : limits::PushedAbove(value, 1, m_response.Max());
    SetResponseLimit(other - 1, pushed, plat::FormatNumber("%.0f", pushed));
  }
  SetResponseLimit(k - 1, value, plat::FormatNumber("%.0f", value));
}

// Typed limits stay on the scale; the text stays as typed when it was.
void View::OnResponseEditLeft(int k) {
  const int edit = k == 0 ? kWarningEdit : kAlarmEdit;
  double value = CCommonFunctions::ReadEditDouble(*this, edit);
  const double upper = SpinMax(k);
  const double lower = m_response.Min();
  const bool clamped = value >= upper || value < lower;
  if (clamped) value = value >= upper ? upper : lower;
  SetResponseLimit(k, value, clamped ? limits::VariantText(value) : GetDlgItemText(edit));
}

void View::SetResponseLimit(int k, double value, const std::string& text) {
  m_response.SetMarker(k + 1, value);
  ComCheck(m_responseSpins[k]->put_Value(value));
  SetDlgItemText(k == 0 ? kWarningEdit : kAlarmEdit, text.c_str());
}
