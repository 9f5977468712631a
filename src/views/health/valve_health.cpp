#include "views/health/valve_health.h"

#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "shell/tree_view.h"

namespace {

using enum alarms::RowKind;
using status::kAlarm;
using status::kAlert;

// The cycles and travel groups keep a line for their value.
constexpr alarms::AlarmGroup kGroups[] = {
    {1486, "IDC_GB_VALCYC", 0, 1},      {1487, "IDC_GB_VALTRAV", 0, 1},     {1312, "IDC_GB_VALNOOPEN", 0},
    {1314, "IDC_GB_VALNOSHUT", 0},      {1313, "IDC_GB_VAL2FAROPEN", 0},    {1315, "IDC_GB_VAL2FARCLOSE", 0},
};

constexpr const char* kStatus = "IDC_RADIO_ALERTSTATUS";
constexpr alarms::AlarmRow kRows[] = {
    {.group = 1486, .label = 1405, .captionKey = kStatus, .selector = 1828, .placeholder = 1404, .ledId = 383,
     .toolTipKey = "104", .kind = Single, .byte = 13, .bit = 0, .colour = kAlert},
    {.group = 1487, .label = 1407, .captionKey = kStatus, .selector = 1408, .placeholder = 1406, .ledId = 384,
     .toolTipKey = "105", .kind = Single, .byte = 13, .bit = 1, .colour = kAlert},
    {.group = 1312, .label = 1413, .captionKey = kStatus, .selector = 7005, .placeholder = 1412, .ledId = 387,
     .toolTipKey = "134", .kind = Single, .byte = 16, .bit = 6, .colour = kAlarm},
    {.group = 1314, .label = 1416, .captionKey = kStatus, .selector = 7006, .placeholder = 1415, .ledId = 388,
     .toolTipKey = "135", .kind = Single, .byte = 16, .bit = 7, .colour = kAlarm},
    {.group = 1313, .label = 1419, .captionKey = kStatus, .selector = 7007, .placeholder = 1418, .ledId = 389,
     .toolTipKey = "90", .kind = Single, .byte = 11, .bit = 2, .colour = kAlert},
    {.group = 1315, .label = 1422, .captionKey = kStatus, .selector = 1423, .placeholder = 1421, .ledId = 390,
     .toolTipKey = "91", .kind = Single, .byte = 11, .bit = 3, .colour = kAlert},
};
constexpr health::RowTexts kTexts[] = {
    {"VALVE_CYCLES_WRNLONG", "CYC_WRNRES"},    {"VALVE_TRAVEL_WRNLONG", "TRAVEL_WRNRES"},
    {"VALVCANTOPENLONG", "VALVCANTRES"},       {"VALCANTSHUTLONG", "VALVCANTRES"},
    {"VALOPEN_TOOFARLONG", "VAL_TOOFARRES"},   {"VALCLOSE_TOOFARLONG", "VAL_TOOFARRES"},
};
constexpr health::SideIds kSide{1502, 1500, 1501, 1499, 1460, 1497, 1498, 1189, 1496, 391, "IDC_STATICAISTATUSWO"};

constexpr const char* kValue = "IDC_ILABELXCURVAL";
constexpr health::ValueLine kValues[] = {
    {1486, 1030, CHealth_Val_MainView::kCyclesBox, 0, "", kValue, "IDC_EDIT_CYCLE_COUNTTIP",
     CHealth_Val_MainView::kResetCyclesId, 1667, 60},
    {1487, 1493, CHealth_Val_MainView::kTravelBox, CHealth_Val_MainView::kTravelUnit, "%", kValue,
     "IDC_EDIT_ACTUAL_TRAVELTIP", CHealth_Val_MainView::kResetTravelId, 1668, 60},
};

// Both links lead to the cycles and travel page.
constexpr health::Link kLinks[] = {
    {1667, 393, treeitem::kCyclesAndTravel, "IDC_ILABELXCONFIGVALCYCTIP"},
    {1668, 394, treeitem::kCyclesAndTravel, "IDC_ILABELXCONFIGVALTRAVTIP"},
};

constexpr int kColumn = 330;

std::vector<DialogItem> Items() {
  std::vector<DialogItem> items = pages::AnnunciatorItems(kGroups, kRows, kColumn);
  pages::AddHealthValueItems(items, kValues);
  const std::vector<DialogItem> side = pages::HealthSideItems(kSide, 8 + kColumn, pages::kPageWidth - 16 - kColumn);
  items.insert(items.end(), side.begin(), side.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(1077, {}, Items()));

// The travel count is in full strokes; variable 116 turns it into the
// travel unit.
double Travel(DWORD strokes, double unitsPerStroke) { return static_cast<double>(strokes) * unitsPerStroke; }

}  // namespace

CHealth_Val_MainView::CHealth_Val_MainView()
    : CHealthPage(1077, "IDD_HEALTH_VALVE", 31, kGroups, kRows, kTexts, kSide) {
  m_bLinksFollowButtons = true;
  AddValueLines(kValues);
  AddLinks(kLinks);

  // First visit: the travel unit, the masks, then the refresh that brings
  // the rows and the buttons; after that a refresh every third tick.
  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      {kStartStep, "UNIT", {}, [&comm] { comm.ReadValveHealthVar150(); },
       [this, &comm] { SetDlgItemText(kTravelUnit, comm.m_strTravelUnits.str().c_str()); }, kMaskReadStep},
      MaskReadStep(kMaskReadStep, kRefreshStep),
      MaskApplyStep(kMaskApplyStep, kRefreshStep),
      RefreshStep(
          kRefreshStep,
          [this, &comm] {
            ReadStatusBytes();
            comm.ReadValveHealth();
          },
          [this] {
            ShowValues();
            EnableAlarmRows();
            EnableActionButtons(TRUE);
          },
          kRefreshStep),
  };

  // The reset shows the counts of the record it wrote back.
  auto showRecord = [this, &comm] {
    const TravelCycleRecord& r = comm.m_ValveRecord;
    SetDlgItemText(kCyclesBox, std::to_string(r.dwCount2).c_str());
    SetDlgItemText(kTravelBox, plat::FormatNumber("%.0f", Travel(r.dwCount1, comm.m_dVar116)).c_str());
  };
  constexpr BYTE kCycles = 2, kTravel = 1;
  AddCounterReset({kResetCyclesId, kResetCyclesRequest, kResetCyclesStep, 156,
                   &CWexletCoreCommunication::m_ValveRecord, kCycles,
                   "IDC_BTN_RESET_VALCYCLETIP", true},
                  showRecord);
  AddCounterReset({kResetTravelId, kResetTravelRequest, kResetTravelStep, 156,
                   &CWexletCoreCommunication::m_ValveRecord, kTravel,
                   "IDC_BTN_TRAVEL_RESETTIP", true},
                  showRecord);
}

void CHealth_Val_MainView::ShowValues() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  SetDlgItemText(kCyclesBox, std::to_string(comm.m_nValveCycles).c_str());
  SetDlgItemText(kTravelBox, plat::FormatNumber("%.1f", Travel(comm.m_nValveTravel, comm.m_dVar116)).c_str());
}
