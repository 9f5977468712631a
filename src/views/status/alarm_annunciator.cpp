#include "views/status/alarm_annunciator.h"

#include "shell/app.h"

namespace {

using alarms::kAnnunciatorGroups;
using alarms::kAnnunciatorRows;

constexpr int kColumn = 196;
constexpr int kLegendBox = 1180, kLegendLamp = 1181, kLegendText = 1182, kLegendMasked = 1189;

// ---- Dialog 286, in dialog units.

std::vector<DialogItem> AnnunciatorItems() {
  std::vector<DialogItem> items = pages::AnnunciatorItems(kAnnunciatorGroups, kAnnunciatorRows, kColumn);
  const int x = 8 + 2 * kColumn;
  const int y = pages::AnnunciatorColumnBottom(kAnnunciatorGroups, kAnnunciatorRows, 2) + 6;
  const std::vector<DialogItem> more = {
      {kLegendBox, DlgKind::GroupBox, "", x, y, kColumn - 8, 42},
      {kLegendLamp, DlgKind::GroupBox, "", x + 8, y + 12, 10, 10, DS_HIDDEN},
      {kLegendText, DlgKind::Static, "", x + 24, y + 13, 150, 9},
      {kLegendMasked, DlgKind::CheckBox, "", x + 24, y + 26, 150, 10, DS_MANUAL},
      {CAnnunciatorPage::kApplyId, DlgKind::PushButton, "", x, 300, 58, 15, DS_DISABLED},
      {CAnnunciatorPage::kRetrieveId, DlgKind::PushButton, "", x + 64, 300, 58, 15, DS_DISABLED},
      {CAnnunciatorPage::kPrintId, DlgKind::PushButton, "", x + 128, 300, 60, 15, DS_DISABLED},
      // The report and print engines sit here, unseen.
      {1413, DlgKind::GroupBox, "", x, 322, 10, 10, DS_HIDDEN},
      {1414, DlgKind::GroupBox, "", x + 12, 322, 10, 10, DS_HIDDEN},
  };
  items.insert(items.end(), more.begin(), more.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(286, {}, AnnunciatorItems()));

}  // namespace

CAlarm_AnnunciatorView::CAlarm_AnnunciatorView()
    : CAnnunciatorPage(286, "IDC_BUTTON_ALMANNUCIATE", 11, kAnnunciatorRows) {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_pActiveFlags = common.m_bAlarmActive.data();
  m_pMaskedFlags = common.m_bAlarmMasked.data();
  for (const alarms::AlarmGroup& g : kAnnunciatorGroups) m_captions.push_back({g.captionKey, {g.box}});
  const std::vector<KeyedControls> captions = {
      {"IDC_STATICLEGEND", {kLegendBox}},
      {"IDC_STATICAISTATUSWO", {kLegendText}},
      {"IDC_LBLMASKED2", {kLegendMasked}},
      {"IDC_BTN_PRINT", {kPrintId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  m_toolTips.push_back({"IDC_BTN_PRINT", {kPrintId}});
}

void CAlarm_AnnunciatorView::OnInitialUpdate() {
  CAnnunciatorPage::OnInitialUpdate();
  CheckDlgButton(kLegendMasked, 1);
}

void CAlarm_AnnunciatorView::CreateControls() {
  CAnnunciatorPage::CreateControls();
  CreateLegendLamp(alarms::Lamp::Round, kLegendLamp, 256);
}
