#include "views/status/management_annunciator.h"

#include "shell/app.h"

namespace {

using alarms::kManagementGroups;
using alarms::kManagementRows;

constexpr int kColumn = 196;
constexpr int kLegendBox = 1180, kHealthyLamp = 1542, kHealthyText = 1226, kActiveLamp = 1780, kActiveText = 281,
              kLegendMasked = 1221;

// ---- Dialog 1076, in dialog units.

std::vector<DialogItem> ManagementItems() {
  std::vector<DialogItem> items = pages::AnnunciatorItems(kManagementGroups, kManagementRows, kColumn);
  const int x = 8 + 2 * kColumn;
  constexpr int y = 28;
  const std::vector<DialogItem> more = {
      {kLegendBox, DlgKind::GroupBox, "", x, y, kColumn - 8, 56},
      {kHealthyLamp, DlgKind::GroupBox, "", x + 8, y + 12, 10, 10, DS_HIDDEN},
      {kHealthyText, DlgKind::Static, "", x + 24, y + 13, 150, 9},
      {kActiveLamp, DlgKind::GroupBox, "", x + 8, y + 26, 10, 10, DS_HIDDEN},
      {kActiveText, DlgKind::Static, "", x + 24, y + 27, 150, 9},
      {kLegendMasked, DlgKind::CheckBox, "", x + 24, y + 40, 150, 10, DS_MANUAL},
      // The report and print engines sit here, unseen.
      {1413, DlgKind::GroupBox, "", x, 122, 10, 10, DS_HIDDEN},
      {1414, DlgKind::GroupBox, "", x + 12, 122, 10, 10, DS_HIDDEN},
  };
  items.insert(items.end(), more.begin(), more.end());
  const std::vector<DialogItem> buttons = pages::AnnunciatorButtons(x, 100);
  items.insert(items.end(), buttons.begin(), buttons.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(1076, {}, ManagementItems()));

}  // namespace

CAlarm_ManagementAnnunciatorView::CAlarm_ManagementAnnunciatorView()
    : CAnnunciatorPage(1076, "IDD_ALARM_MGMT_ANNUNCIATE", 12, kManagementRows) {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pActiveFlags = common.m_bMgmtFlags.data();
  m_pMaskedFlags = common.m_bMgmtFlags.data() + alarms::kMgmtFlagRun;
  m_bReadLocalPanel = true;
  for (const alarms::AlarmGroup& g : kManagementGroups) m_captions.push_back({g.captionKey, {g.box}});
  const std::vector<KeyedControls> captions = {
      {"IDC_STATICLEGEND", {kLegendBox}},   {"IDC_STATICAISTATUSWO", {kHealthyText}},
      {"IDC_LBLACTIVE2", {kActiveText}},    {"IDC_LBLMASKED2", {kLegendMasked}},
      {"IDC_BTN_PRINT", {kPrintId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  m_toolTips.push_back({"IDC_BTN_PRINT", {kPrintId}});
  AddReport(&CCommonFunctions::GenerateAlarmMgmtReport, "AlarmMGMTReport2.xml");
}

void CAlarm_ManagementAnnunciatorView::OnInitialUpdate() {
  CAnnunciatorPage::OnInitialUpdate();
  CheckDlgButton(kLegendMasked, 1);
}

void CAlarm_ManagementAnnunciatorView::CreateControls() {
  CAnnunciatorPage::CreateControls();
  CreateLegendLamp(alarms::Lamp::Round, kHealthyLamp, 256);
  CreateLegendLamp(alarms::Lamp::Arrow, kActiveLamp, 298);
}
