#include "views/health/positioner_health.h"

#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "shell/tree_view.h"

namespace {

using enum alarms::RowKind;
using status::kAlarm;
using status::kAlert;

constexpr StatusHeaderIds kHeader{1060, 1012, 1013};

// The pilot relay, temperature and piezo groups keep a line for their value.
constexpr alarms::AlarmGroup kGroups[] = {
    {1367, "IDC_GB_PILOTRESP", 0, 1},    {1366, "IDC_GB_PRCYC", 0, 1},         {1376, "IDC_GB_PILOTTRAVEL", 0, 1},
    {1445, "IDC_GB_POSNTEMP", 0, 1},     {1393, "EDT_ALM_ELE4", 0, 1},         {239, "IDC_GB_MNBRDFAIL", 1},
    {240, "IDC_CHECKANNSOFTERR", 1},     {241, "IDC_CHECKANNMEMERR", 1},       {237, "IDC_GB_POSENSFAIL", 1},
    {1747, "IDC_CHECKFBACKLINK", 1},     {1386, "IDC_CHECKANNDRVRMOD", 1},     {1457, "IDC_GB_POSADCOVER", 1},
    {1434, "IDC_GB_POSADCUNDER", 1},
};

constexpr const char* kStatus = "IDC_RADIO_ALERTSTATUS";
constexpr alarms::AlarmRow kRows[] = {
    {.group = 1367, .label = 1371, .captionKey = kStatus, .selector = 1372, .placeholder = 1370, .ledId = 300,
     .toolTipKey = "144", .kind = Pair, .byte = 18, .bit = 0, .colour = kAlarm},
    {.group = 1366, .label = 1375, .captionKey = kStatus, .selector = 631, .placeholder = 1374, .ledId = 302,
     .toolTipKey = "110", .kind = Single, .byte = 13, .bit = 6, .colour = kAlert},
    {.group = 1376, .label = 1077, .captionKey = kStatus, .selector = 1379, .placeholder = 1069, .ledId = 304,
     .toolTipKey = "111", .kind = Single, .byte = 13, .bit = 7, .colour = kAlert},
    {.group = 1445, .label = 1768, .captionKey = "IDC_ILABELLOW", .selector = 1769, .placeholder = 1767, .ledId = 305,
     .toolTipKey = "157", .kind = Single, .byte = 19, .bit = 5, .colour = kAlert},
    {.group = 1445, .label = 1771, .captionKey = "IDC_ILABELHIGH", .selector = 1772, .placeholder = 1770, .ledId = 306,
     .toolTipKey = "156", .kind = Single, .byte = 19, .bit = 4, .colour = kAlert},
    {.group = 1393, .label = 1395, .captionKey = "IDC_ILABELLOW", .selector = 7004, .placeholder = 1452, .ledId = 311,
     .toolTipKey = "148", .kind = Pair, .byte = 18, .bit = 4, .colour = kAlarm},
    {.group = 1393, .label = 1437, .captionKey = "IDC_ILABELHIGH", .selector = 1438, .placeholder = 1436, .ledId = 312,
     .toolTipKey = "146", .kind = Pair, .byte = 18, .bit = 2, .colour = kAlarm},
    {.group = 239, .label = 1402, .captionKey = kStatus, .selector = 1403, .placeholder = 314, .ledId = 301,
     .toolTipKey = "152", .kind = Single, .byte = 19, .bit = 0, .colour = kAlarm},
    {.group = 240, .label = 436, .captionKey = kStatus, .selector = 641, .placeholder = 315, .ledId = 303,
     .toolTipKey = "153", .kind = Single, .byte = 19, .bit = 1, .colour = kAlert},
    {.group = 241, .label = 1140, .captionKey = kStatus, .selector = 642, .placeholder = 1139, .ledId = 332,
     .toolTipKey = "154", .kind = Single, .byte = 19, .bit = 2, .colour = kAlert},
    {.group = 237, .label = 1400, .captionKey = kStatus, .selector = 7002, .placeholder = 1399, .ledId = 313,
     .toolTipKey = "89", .kind = Single, .byte = 11, .bit = 1, .colour = kAlarm},
    {.group = 1747, .label = 1484, .captionKey = kStatus, .selector = 1748, .placeholder = 1749, .ledId = 967,
     .toolTipKey = "98", .kind = Single, .byte = 12, .bit = 2, .colour = kAlarm},
    {.group = 1386, .label = 1149, .captionKey = kStatus, .selector = 1389, .placeholder = 1148, .ledId = 320,
     .toolTipKey = "150", .kind = Single, .byte = 18, .bit = 6, .colour = kAlarm},
    {.group = 1457, .label = 1404, .captionKey = kStatus, .selector = 7003, .placeholder = 1431, .ledId = 321,
     .toolTipKey = "34", .kind = Single, .byte = 4, .bit = 2, .colour = kAlarm},
    {.group = 1434, .label = 1432, .captionKey = kStatus, .selector = 1433, .placeholder = 1435, .ledId = 322,
     .toolTipKey = "33", .kind = Single, .byte = 4, .bit = 1, .colour = kAlarm},
};
constexpr health::RowTexts kTexts[] = {
    {"PILOT_RESPONSE_WRNLONG", "PILOT_RESPONSE_WRNRES"},
    {"PILOT_CYCLES_WRNLONG", "PILOTRES"},
    {"PILOTTRAVLONG", "PILOTRES"},
    {"TEMPERATURE_LOW_WRNLONG", "TEMPERATURE_LOW_WRNRES"},
    {"TEMPERATURE_HIGH_WRNLONG", "TEMPERATURE_HIGH_WRNRES"},
    {"PIEZO_LOWWRNLONG", "PIEZO_LOWRES"},
    {"PIEZO_WARNLONG", "PIEZO_LOWRES"},
    {"MAINBOARD_FAILLONG", "MAINBOARD_FAILRES"},
    {"SOFTERR_WARNLONG", "SOFTERR_RES"},
    {"MEMERR_WRNLONG", "MEMERR_WRNRES"},
    {"FBACK_ARMLONG", "FBACK_ARMRES"},
    {"IDC_RADIO_FBACKLINK", "IDC_RADIO_FBACKLINKRES"},
    {"DRIVERMOD_ALRMLONG", "DRIVERMOD_RES"},
    {"PSN_ABOVE_ADC_RANGELONG", "PSN_ABOVE_ADC_RANGERES"},
    {"PSN_BELOW_ADC_RANGELONG", "PSN_BELOW_ADC_RANGERES"},
};
constexpr health::SideIds kSide{1348, 1458, 1349, 1459, 1460, 1181, 1182, 1189, 1301, 323, "IDC_STATICAISTATUSWO"};

constexpr int kTemperatureUnit = 1773;
constexpr const char* kValue = "IDC_ILABELXCURVAL";
constexpr health::ValueLine kValues[] = {
    {1367, 1439, 1373, 1360, "ms.", kValue, "Spool_Time_86", 0, 1667},
    {1366, 1440, 786, 0, "", kValue, "IDC_EDIT_CYCLE_COUNTTIP", CHealth_Pos_MainView::kResetCyclesId, 1662},
    {1376, 1442, 1443, 1361, "x 100%", kValue, "IDC_EDIT_ACTUAL_TRAVELTIP", CHealth_Pos_MainView::kResetTravelId, 1663},
    {1445, 1447, 794, kTemperatureUnit, "", kValue, "VeskTEMP_TOOL_TIP", 0, 1664},
    {1393, 1453, 1407, 1408, "V", kValue, "IDC_EDIT_PZO_VOLTSTIP", 0, 1666},
};
constexpr int kResponseBox = 1373, kCyclesBox = 786, kTravelBox = 1443, kTemperatureBox = 794, kPiezoBox = 1407;

// The pilot relay page, the temperature page and the piezo voltage page.
constexpr health::Link kLinks[] = {
    {1667, 327, treeitem::kPilotRelay, "IDC_ILABELXCONFIGRESPTIME"},
    {1662, 328, treeitem::kPilotRelay, "IDC_ILABELXCONFIGRESPTIME"},
    {1663, 330, treeitem::kPilotRelay, "IDC_ILABELXCONFIGRESPTIME"},
    {1664, 329, treeitem::kTemperatureAndHumidity, "IDC_ILABELXCONFIGRESPTIME"},
    {1666, 333, treeitem::kPiezoVoltage, "IDC_ILABELXCONFIGRESPTIME"},
};

constexpr int kColumn = 200;

std::vector<DialogItem> Items() {
  std::vector<DialogItem> items = pages::AnnunciatorItems(kGroups, kRows, kColumn);
  pages::AddHealthValueItems(items, kValues);
  const std::vector<DialogItem> side =
      pages::HealthSideItems(kSide, 8 + 2 * kColumn, pages::kPageWidth - 16 - 2 * kColumn);
  items.insert(items.end(), side.begin(), side.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(1079, kHeader, Items()));

std::string Unsigned(DWORD n) { return std::to_string(n); }

}  // namespace

CHealth_Pos_MainView::CHealth_Pos_MainView()
    : CHealthPage(1079, "IDD_HEALTH_POSITIONER", 21, kGroups, kRows, kTexts, kSide, kHeader) {
  AddValueLines(kValues);
  AddLinks(kLinks);

  // First visit: the unit, the masks, then the refresh that brings the
  // rows and the buttons; after that a refresh every third tick.
  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      {kStartStep, "UNIT", {}, [&comm] { comm.ReadVar152(); },
       [this, &comm] { SetDlgItemText(kTemperatureUnit, comm.m_strVar152.c_str()); }, kMaskReadStep},
      MaskReadStep(kMaskReadStep, kRefreshStep),
      MaskApplyStep(kMaskApplyStep, kRefreshStep),
      RefreshStep(
          kRefreshStep,
          [this, &comm] {
            comm.ReadPositionerHealth();
            ReadStatusBytes();
          },
          [this] {
            ShowValues();
            EnableAlarmRows();
            EnableActionButtons(TRUE);
          },
          kRefreshStep),
  };
  // The buttons come back as soon as the masks are written.
  ExtendStep(kMaskApplyStep, {}, [this] { EnableActionButtons(TRUE); });

  constexpr BYTE kCycles = 2, kTravel = 1;
  AddCounterReset({kResetCyclesId, kResetCyclesRequest, kResetCyclesStep, 162,
                   &CWexletCoreCommunication::m_PilotRecord, kCycles,
                   "IDC_BTN_RESET_CYCLETIP"},
                  [this, &comm] { SetDlgItemText(kCyclesBox, Unsigned(comm.m_PilotRecord.dwCount2).c_str()); });
  AddCounterReset({kResetTravelId, kResetTravelRequest, kResetTravelStep, 162,
                   &CWexletCoreCommunication::m_PilotRecord, kTravel,
                   "IDC_BTN_RESET_VALTRAVEL"},
                  [this, &comm] { SetDlgItemText(kTravelBox, Unsigned(comm.m_PilotRecord.dwCount1).c_str()); });
}

void CHealth_Pos_MainView::ShowValues() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  SetDlgItemText(kResponseBox, plat::FormatNumber("%.0f", comm.m_dVar295).c_str());
  SetDlgItemText(kCyclesBox, Unsigned(comm.m_nVar335).c_str());
  SetDlgItemText(kTravelBox, Unsigned(comm.m_nVar331).c_str());
  SetDlgItemText(kTemperatureBox, plat::FormatNumber("%3.2f", comm.m_dTemperature).c_str());
  SetDlgItemText(kPiezoBox, plat::FormatNumber("%3.2f", comm.m_dPiezoVoltage).c_str());
}
