#include "views/health/actuator_health.h"

#include "shell/app.h"

namespace {

using enum alarms::RowKind;

constexpr StatusHeaderIds kHeader{1060, 1288, 1624};

constexpr alarms::AlarmGroup kGroups[] = {{1446, "IDC_BTN_SUPPLY", 0}};
constexpr alarms::AlarmRow kRows[] = {
    {.group = 1446, .label = 1448, .captionKey = "IDC_ILABELLOW", .selector = 1449, .placeholder = 1447, .ledId = 901,
     .toolTipKey = "121", .kind = Single, .byte = 15, .bit = 2, .colour = status::kAlarm},
};
constexpr health::RowTexts kTexts[] = {{"SUPPLY_PRESS_LO_WRNLONG", "SUPPLY_PRESS_LO_WRNRES"}};
constexpr health::SideIds kSide{1348, 1424, 1349, 1346, 1627, 1181, 1182, 1189, 1301, 907, "IDC_STATICHEALTHY"};

constexpr int kColumn = 220;

std::vector<DialogItem> Items() {
  std::vector<DialogItem> items = pages::AnnunciatorItems(kGroups, kRows, kColumn);
  const std::vector<DialogItem> side = pages::HealthSideItems(kSide, 8 + kColumn, pages::kPageWidth - 16 - kColumn);
  items.insert(items.end(), side.begin(), side.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(1080, kHeader, Items()));

}  // namespace

CHealth_Act_MainView::CHealth_Act_MainView()
    : CHealthPage(1080, "IDD_HEALTH_ACTUATOR", 41, kGroups, kRows, kTexts, kSide, kHeader) {
  // First visit: the row enabled, then the masks with the buttons; the
  // lamp every third tick after that.
  m_nStartStep = kStartStep;
  m_bEnableAfterMasks = true;
  m_steps = {
      {kStartStep, "START", {}, {}, [this] { EnableAlarmRows(); }, kMaskReadStep},
      MaskReadStep(kMaskReadStep, kRefreshStep),
      MaskApplyStep(kMaskApplyStep, kRefreshStep),
      RefreshStep(kRefreshStep, [this] { ReadStatusBytes(); }, {}, kRefreshStep),
  };
  m_requests = {{kApplyRequest, kMaskApplyStep}, {kRetrieveRequest, kMaskReadStep}};
}
