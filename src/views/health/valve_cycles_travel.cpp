#include "views/health/valve_cycles_travel.h"

#include <tuple>

#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "shell/limit_gauge_page.h"
#include "support/log.h"

namespace {

using View = CHealth_Val_CycleAndTravelsView;

constexpr StatusHeaderIds kHeader{1544, 1012, 1556};

// The two counters' groups: the count with its deadband beside it, the
// gauge, the initial and the full warning; under the travel's limits the
// accumulated travel in the valve's unit.
constexpr pages::LimitGroup kGroups[] = {
    {1060, 1546, View::kCyclesEdit, 0, "", View::kResetCyclesId, 1545,
     {0, 1547, View::kCycleDeadbandEdit, 1555, 1552, "%"},
     {1550, 1548, View::kCyclesInitialEdit, 0, 0, ""},
     {1551, 1549, View::kCyclesFullEdit, 1554, 0, ""},
     {}},
    {231, 1560, View::kTravelEdit, 1566, "x 100%", View::kResetTravelId, 1559,
     {0, 1561, View::kTravelDeadbandEdit, 1568, 1569, "%"},
     {1562, 1563, View::kTravelInitialEdit, 0, 1571, "x 100%"},
     {1564, 1565, View::kTravelFullEdit, 1573, 1574, "x 100%"},
     {0, 1575, View::kAccumulatedEdit, 0, View::kTravelUnit, "%"}},
};
// The legends' images: initial and full warning of each group.
constexpr UINT kLegendIds[2][2] = {{712, 713}, {714, 715}};

std::vector<DialogItem> Items() {
  std::vector<DialogItem> items;
  int y = 30;
  for (const pages::LimitGroup& group : kGroups)
    y = pages::AddLimitGroupItems(items, y, group) + pages::kLimitGroupGap;
  pages::AddApplyRetrieveItems(items, y + 2, View::kApplyId, View::kRetrieveId, "Apply", "Retrieve");
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(382, kHeader, Items()));

// Reached at the limit, as the device counts it.
constexpr limits::BandColours kColours{0x00FF00, 0x00FFFF, 0x3399CC};

enum Request { kApply = 2, kRetrieve = 3, kResetCycles = 4, kResetTravel = 5 };
// The counter resets read their record, and write it on the step after.
enum Step : int { kLiveStep = 1, kLimitsStep = 5, kApplyStep = 9, kResetCyclesStep = 11, kResetTravelStep = 13 };
constexpr BYTE kSelectCycles = 2, kSelectTravel = 1;

}  // namespace

View::CHealth_Val_CycleAndTravelsView()
    : CMonitoringPage(382, "VALCYCANDTRAVMENU", 33, 5000, kHeader),
      m_cycles(*this, kCyclesFullEdit, kCyclesInitialEdit, {.clampedDragUpdatesEdits = true, .typedScaleMayShrink = true}),
      m_travel(*this, kTravelFullEdit, kTravelInitialEdit, {.clampedDragUpdatesEdits = false, .typedScaleMayShrink = true}) {
  const std::vector<KeyedControls> captions = {
      {"IDC_GB_VALCYC", {1060}},        {"IDC_GB_VALTRAV", {231}},
      {"IDC_ILABELXCURVAL", {1546, 1560}}, {"IDC_STATICCYCDB", {1547}},
      {"VeskTRAVELDEADBAND", {1561}},   {"IDC_ILABELXINITWARN", {1548, 1563}},
      {"IDC_ILABELXFULLWARN", {1549, 1565}}, {"IDC_STATICACCUMTRAV", {1575}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"IDC_LINEAR_CYCLES", {kCyclesGaugeId}},
      {"IDC_EDIT_CYCLE_COUNTTIP", {kCyclesEdit}},
      {"VeskDEADBANDTIP", {kCycleDeadbandEdit}},
      {"IDC_EDIT_LOW_CYCLE_LIMITTIP", {kCyclesInitialEdit}},
      {"IDC_EDIT_HIGH_CYCLE_LIMITTIP", {kCyclesFullEdit}},
      {"IDC_BTN_RESET_VALCYCLETIP", {kResetCyclesId}},
      {"IDC_LINEAR_VALVETRAVEL", {kTravelGaugeId}},
      {"IDC_EDIT_ACTUAL_TRAVELTIP", {kTravelEdit}},
      {"IDC_EDIT_DEADBAND2TIP", {kTravelDeadbandEdit}},
      {"IDC_EDIT_LOW_TRAVEL_LIMITTIP", {kTravelInitialEdit}},
      {"IDC_CEDIT_HIGH_TRAVELTIP", {kTravelFullEdit}},
      {"IDC_ACCUM_TRAVELTIP", {kAccumulatedEdit}},
      {"IDC_BTN_TRAVEL_RESETTIP", {kResetTravelId}},
      {"IDC_BUTTON_APPLYTIP", {kApplyId}},
      {"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_nStartStep = kLimitsStep;
  m_actionButtons = {kApplyId, kRetrieveId};
  HoldButtonUntil(kApplyId, [this] { return m_bLimitsRead; });
  m_requests = {{kApply, kApplyStep}, {kRetrieve, kLimitsStep, [this] { m_refreshCountdown.Restart(); }}};
  m_steps = {
      {kLiveStep, "LIVE",
       [this] {
         Try("colours", [this] { UpdatePointerColours(); });
         return m_refreshCountdown.Due(3);
       },
       [this, &comm] {
         PollStatusArea();
         comm.ReadCycleAndTravelCounts();
       },
       [this] {
         ShowLiveValues();
         EnableActionButtons(TRUE);
       },
       kLiveStep},
      {kLimitsStep, "LIMITS", {}, [this, &comm] { m_bLimitsRead |= comm.ReadCycleAndTravelLimits(); },
       [this] {
         ShowLimits();
         m_cycles.SetReady();
         m_travel.SetReady();
       },
       kLiveStep},
      {kApplyStep, "APPLY", {}, [this] { Apply(); }, [this] { EnableActionButtons(TRUE); }, kLiveStep},
  };
  for (auto [button, request] : {std::pair{kApplyId, kApply}, std::pair{kRetrieveId, kRetrieve}})
    MapCommand(BN_CLICKED, static_cast<UINT>(button), [this, request = request] { Request(request); });
  auto showCounts = [this, &comm] {
    SetDlgItemText(kCyclesEdit, limits::WordText(comm.m_ValveRecord.dwCount2).c_str());
    SetDlgItemText(kTravelEdit, limits::WordText(comm.m_ValveRecord.dwCount1).c_str());
  };
  AddCounterReset(
      {kResetCyclesId, kResetCycles, kResetCyclesStep, 156,
       &CWexletCoreCommunication::m_ValveRecord, kSelectCycles, nullptr, true},
      showCounts);
  AddCounterReset(
      {kResetTravelId, kResetTravel, kResetTravelStep, 156,
       &CWexletCoreCommunication::m_ValveRecord, kSelectTravel, nullptr, true},
      showCounts);

  MapEvent(kCyclesGaugeId, 19, [this](const EventArgs& a) { m_cycles.OnMarkerMoved(a.at(0).lVal); });
  MapEvent(kTravelGaugeId, 19, [this](const EventArgs& a) { m_travel.OnMarkerMoved(a.at(0).lVal); });
  MapEvent(kCyclesSpinId, 202, [this](const EventArgs&) { m_cycles.OnSpinChange(); });
  MapEvent(kTravelSpinId, 202, [this](const EventArgs&) { m_travel.OnSpinChange(); });
  MapCommand(EN_KILLFOCUS, kCyclesFullEdit, [this] { m_cycles.OnEditLeft(); });
  MapCommand(EN_KILLFOCUS, kTravelFullEdit, [this] { m_travel.OnEditLeft(); });
  // The deadbands, 0 to 100 %.
  for (int k : {0, 1}) {
    const int edit = k == 0 ? kCycleDeadbandEdit : kTravelDeadbandEdit;
    MapEvent(k == 0 ? kCycleDeadbandSpinId : kTravelDeadbandSpinId, 202, [this, k, edit](const EventArgs&) {
      if (!(k == 0 ? m_cycles : m_travel).Ready()) return;
      // A number typed into the spin edit keeps to the range, as a typed
      // deadband does.
      const double deadband = plat::HeldTo(Deadband(k), 0.0, 100.0);
      ComCheck(m_deadbands[k]->put_Value(deadband));
      SetDlgItemText(edit, plat::FormatNumber("%5.1f", deadband).c_str());
    });
    MapCommand(EN_KILLFOCUS, static_cast<UINT>(edit), [this, k, edit] {
      const double typed = CCommonFunctions::ReadEditDouble(*this, edit);
      ComCheck(m_deadbands[k]->put_Value(plat::HeldTo(typed, 0.0, 100.0)));
      SetDlgItemText(edit, limits::VariantText(Deadband(k)).c_str());
    });
  }
}

void View::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  size_t host = 0;
  auto place = [this](int placeholder) {
    CWnd* wnd = GetDlgItem(placeholder);
    return wnd ? PlaceholderRect(*wnd) : CRect();
  };
  const UINT gaugeIds[] = {kCyclesGaugeId, kTravelGaugeId};
  const UINT deadbandIds[] = {kCycleDeadbandSpinId, kTravelDeadbandSpinId};
  const UINT fullIds[] = {kCyclesSpinId, kTravelSpinId};
  limits::FullWarningGroup* groups[] = {&m_cycles, &m_travel};
  for (int g = 0; g < 2; ++g) {
    const pages::LimitGroup& group = kGroups[g];
    IiLinearGaugeXPtr gauge = common.CreateLinearGauge2(this, &m_wndHosts[host++], place(group.gauge), gaugeIds[g]);
    if (gauge) Try("gauge", [&] { common.SetupCycleTravelGauge(gauge); });
    common.CreateImageDisplay(this, &m_wndHosts[host++], place(group.low.legend), kLegendIds[g][0], 154);
    common.CreateImageDisplay(this, &m_wndHosts[host++], place(group.high.legend), kLegendIds[g][1], 157);
    m_deadbands[g] = common.CreateSpinEditCtrl(this, &m_wndHosts[host++], place(group.setting.spin), deadbandIds[g]);
    if (m_deadbands[g]) Try("deadband", [&] {
        ComCheck(m_deadbands[g]->put_Increment(1));
        ComCheck(m_deadbands[g]->put_Max(100));
        ComCheck(m_deadbands[g]->put_Min(0));
      });
    ISpinEditXPtr full = common.CreateSpinEditCtrl(this, &m_wndHosts[host++], place(group.high.spin), fullIds[g]);
    if (full) Try("full warning", [&] {
        ComCheck(full->put_Increment(100));
        ComCheck(full->put_Max(limits::kMaxWord));
        ComCheck(full->put_Min(0));
        ComCheck(full->put_Decimals(0));
      });
    groups[g]->Attach(limits::LimitGauge(gauge), full);
  }
}

double View::Deadband(int k) const {
  double value = 0;
  ComCheck(m_deadbands[k]->get_Value(&value));
  return value;
}

void View::ShowLiveValues() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  const std::tuple<limits::FullWarningGroup*, DWORD, DWORD, int> counters[] = {
      {&m_cycles, comm.m_nValveCycles, comm.m_dwValveCycLimit307, kCyclesEdit},
      {&m_travel, comm.m_nValveTravel, comm.m_dwValveTravelLimit303, kTravelEdit},
  };
  for (const auto& counter : counters) {
    const auto& [group, count, full, edit] = counter;
    SetDlgItemText(edit, limits::WordText(count).c_str());
    Try("counter gauge", [group = group, count = count, full = full] {
      group->Gauge().SetMax(limits::CounterScale(limits::FromWord(full), limits::FromWord(count)));
      group->Gauge().SetValue(limits::FromWord(count));
    });
  }
  SetDlgItemText(kAccumulatedEdit, plat::FormatNumber("%.1f", limits::FromWord(comm.m_nValveTravel) * comm.m_dVar116).c_str());
}

void View::ShowLimits() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  const std::tuple<limits::FullWarningGroup*, double, DWORD, DWORD, int> groups[] = {
      {&m_cycles, comm.m_dVar310, comm.m_dwValveCycLimit306, comm.m_dwValveCycLimit307, 0},
      {&m_travel, comm.m_dVar309, comm.m_dwValveTravelLimit302, comm.m_dwValveTravelLimit303, 1},
  };
  for (const auto& limit : groups) {
    const auto& [group, deadband, initial, full, k] = limit;
    SetDlgItemText(k == 0 ? kCycleDeadbandEdit : kTravelDeadbandEdit, plat::FormatNumber("%5.1f", deadband).c_str());
    Try("deadband", [&, k = k, deadband = deadband] { ComCheck(m_deadbands[k]->put_Value(deadband)); });
    Try("limits", [group = group, initial = initial, full = full] {
      group->Show(initial, full, limits::FullWarningScale(limits::FromWord(full)));
    });
  }
  SetDlgItemText(kTravelUnit, comm.m_strTravelUnits.str().c_str());
}

void View::UpdatePointerColours() {
  for (limits::FullWarningGroup* group : {&m_cycles, &m_travel}) {
    limits::LimitGauge& gauge = group->Gauge();
    if (!gauge) continue;
    gauge.SetPointerColour(limits::BandColour(gauge.Value(), gauge.Marker(1), group->Full(), kColours, true));
  }
}

// A write without reply leaves the device image as the device last
// reported it and the edits as typed, so nothing shows values that the
// device may not hold.
void View::Apply() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  auto image = [&comm] {
    return std::tie(comm.m_dVar310, comm.m_dwValveCycLimit306, comm.m_dwValveCycLimit307, comm.m_dVar309,
                    comm.m_dwValveTravelLimit302, comm.m_dwValveTravelLimit303);
  };
  const auto held = std::tuple(comm.m_dVar310, comm.m_dwValveCycLimit306, comm.m_dwValveCycLimit307, comm.m_dVar309,
                               comm.m_dwValveTravelLimit302, comm.m_dwValveTravelLimit303);
  image() = std::tuple(Deadband(0), m_cycles.InitialWord(), m_cycles.FullWord(), Deadband(1), m_travel.InitialWord(),
                       m_travel.FullWord());
  if (comm.WriteCycleAndTravelLimits()) {
    ShowLimits();
    return;
  }
  image() = held;
  WriteLog("Valve cycle and travel limits not written: the device did not answer.");
}
