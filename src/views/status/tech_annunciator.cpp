#include "views/status/tech_annunciator.h"

#include <iterator>

#include "support/language_table.h"

namespace {

using alarms::kTechnicianGroups;
using alarms::kTechnicianRows;

// What a fault implies and how to mend it, row by row.
struct FaultTexts {
  const char* implications;
  const char* solutions;
};

constexpr FaultTexts kFaultTexts[] = {
    {"OSCFAULT_ERRLONG_Qel", "OSCFAULT_ERRRES"},
    {"POSNADC_FAILLONG", "POSNADC_FAILRES"},
    {"SUPPLY_VOLTAGE_ERRORLONG", "SUPPLY_VOLTAGE_ERRORRES"},
    {"REFVOLT_ERRLONG", "REFVOLT_ERRRES"},
    {"SHUNTVOLTS_ERRLONG", "SHUNTVOLTS_ERRRES"},
    {"PILOT_CANT_OPENLONG", "PILOT_CANT_RES"},
    {"HALLLOWERLONG", "PILOT_CANT_RES"},
    {"HALLSENS_FAILLONG", "HALLSENS_FAILRES"},
    {"NVMEM_CRC_ERRORLONG", "NVMEM_CRC_ERRORRES"},
    {"RAM_ERRLONG", "RAMERROR_RES"},
    {"RAMCRC_ERRLONG", "RAMERROR_RES"},
    {"FLASHCRC_ERRLONG", "FLASHCRC_ERRRES"},
    {"WATCH_DOG_TIME_OUTLONG", "WATCH_DOG_TIME_OUTRES"},
    {"STACKOVR_ERRLONG", "STACKOVER_RES"},
    {"CPUUSE_WRNLONG", "STACKOVER_RES"},
    {"FIRMWARE_UPDATELONG", "FIRMWARE_UPDATERES"},
    {"ILOOUT_ERRLONG", "ILOOUT_ERRRES"},
};
static_assert(std::size(kFaultTexts) == std::size(kTechnicianRows));

constexpr int kColumn = 250;
constexpr int kLegendBox = 1627, kLegendLamp = 1181, kLegendText = 1182, kLegendMasked = 1189, kLegendSelected = 1301;
constexpr int kImplicationsCaption = 1744, kSolutionsCaption = 1743;

// ---- Dialog 413, in dialog units.

std::vector<DialogItem> TechnicianItems() {
  using V = CAlarm_TechAnnunciatorView;
  std::vector<DialogItem> items = pages::AnnunciatorItems(kTechnicianGroups, kTechnicianRows, kColumn);
  constexpr int x = 8 + kColumn;
  constexpr int w = pages::kPageWidth - 8 - x;
  const std::vector<DialogItem> more = {
      {kImplicationsCaption, DlgKind::Static, "", x, 30, w, 9},
      {V::kImplicationsId, DlgKind::Edit, "", x, 40, w, 76, DS_MULTILINE | DS_READONLY | DS_VSCROLL},
      {kSolutionsCaption, DlgKind::Static, "", x, 124, w, 9},
      {V::kSolutionsId, DlgKind::Edit, "", x, 134, w, 76, DS_MULTILINE | DS_READONLY | DS_VSCROLL},
      {kLegendBox, DlgKind::GroupBox, "", x, 220, w, 56},
      {kLegendLamp, DlgKind::GroupBox, "", x + 8, 232, 10, 10, DS_HIDDEN},
      {kLegendText, DlgKind::Static, "", x + 24, 233, w - 30, 9},
      {kLegendMasked, DlgKind::CheckBox, "", x + 24, 246, w - 30, 10, DS_MANUAL},
      {kLegendSelected, DlgKind::RadioButton, "", x + 24, 260, w - 30, 10, DS_MANUAL | DS_GROUP},
      {CAnnunciatorPage::kApplyId, DlgKind::PushButton, "", x, 300, 58, 15, DS_DISABLED},
      {CAnnunciatorPage::kRetrieveId, DlgKind::PushButton, "", x + 64, 300, 58, 15, DS_DISABLED},
  };
  items.insert(items.end(), more.begin(), more.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(413, {}, TechnicianItems()));

}  // namespace

CAlarm_TechAnnunciatorView::CAlarm_TechAnnunciatorView()
    : CAnnunciatorPage(413, "IDD_TECHANNUNCIATOR", 82, kTechnicianRows) {
  m_bReadSensorsAtStart = false;
  m_bEnableAfterMasks = true;
  m_actionButtons = {kApplyId, kRetrieveId};
  for (const alarms::AlarmGroup& g : kTechnicianGroups) m_captions.push_back({g.captionKey, {g.box}});
  const std::vector<KeyedControls> captions = {
      {"IDC_ILABELXIMP", {kImplicationsCaption}}, {"IDC_ILABELXPOSSSOL", {kSolutionsCaption}},
      {"IDC_STATICLEGEND", {kLegendBox}},         {"IDC_STATICAISTATUS", {kLegendText}},
      {"IDC_LBLMASKED2", {kLegendMasked}},        {"IDC_RADIO_SELECTED", {kLegendSelected}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  KeyedControls selectors{"IMPOSSSOL", {}};
  for (const alarms::AlarmRow& r : kTechnicianRows) {
    selectors.ids.push_back(r.selector);
    MapCommand(BN_CLICKED, static_cast<UINT>(r.selector), &CAlarm_TechAnnunciatorView::OnSelectFault);
  }
  m_toolTips.push_back(selectors);
}

void CAlarm_TechAnnunciatorView::OnInitialUpdate() {
  CAnnunciatorPage::OnInitialUpdate();
  CheckDlgButton(kLegendMasked, 1);
  CheckDlgButton(kLegendSelected, 1);
}

void CAlarm_TechAnnunciatorView::CreateControls() {
  CAnnunciatorPage::CreateControls();
  CreateLegendLamp(alarms::Lamp::Round, kLegendLamp, 256);
}

void CAlarm_TechAnnunciatorView::OnSelectFault() {
  for (size_t k = 0; k < std::size(kTechnicianRows); ++k) {
    if (IsDlgButtonChecked(kTechnicianRows[k].selector) != 1) continue;
    SetDlgItemText(kImplicationsId, TheLanguageTable().Lookup(kFaultTexts[k].implications).str().c_str());
    SetDlgItemText(kSolutionsId, TheLanguageTable().Lookup(kFaultTexts[k].solutions).str().c_str());
  }
}
