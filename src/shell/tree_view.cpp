#include "shell/tree_view.h"

#include "shell/app.h"
#include "shell/page_splitter.h"

namespace {

using Item = CTarnixWexletView::Item;

constexpr std::array<Item, 39> kItems = {{
    {0, 0, -1, nullptr, 0, false, 1},
    {1, 1, 0, "IDC_BUTTON_DASHBOARD", 1, true, 0},
    {2, 2, 0, "IDC_BUTTON_ALARMS", 0, false, 21},
    {3, 21, 2, "IDC_BUTTON_ALMANNUCIATE", 2, true, 0},
    {4, 22, 2, "IDD_ALARM_MGMT_ANNUNCIATE", 3, true, 0},
    {5, 23, 2, "IDC_BUTTON_EVENTS", 4, true, 0},
    {6, 24, 2, "IDD_TECHANNUNCIATOR", 34, true, 0},
    {7, 3, 0, "IDC_BTN_HEALTH", 0, false, 31},
    {8, 31, 3, "IDD_HEALTH_VALVE", 5, true, 0},
    {10, 312, 31, "VALCYCANDTRAVMENU", 6, true, 0},
    {12, 32, 3, "IDD_HEALTH_POSITIONER", 7, true, 0},
    {13, 321, 32, "IDC_BTN_TEMP", 8, true, 0},
    {14, 322, 32, "PILOTMENU", 9, true, 0},
    {15, 323, 32, "EDT_ALM_ELE4", 10, true, 0},
    {16, 33, 3, "IDD_HEALTH_ACTUATOR", 11, true, 0},
    {21, 34, 3, "CTRLHEALTH", 12, true, 0},
    {22, 341, 34, "IDC_BTN_DEVIATION", 13, true, 0},
    {23, 342, 34, "POSNALERT", 14, true, 0},
    {29, 4, 0, "MAINONLINEDIAGMENU", 0, false, 41},
    {30, 41, 4, "IDD_DIAGNOSTIC_DATALOGGER", 16, true, 0},
    {31, 44, 4, "IDD_TECHSENSORS", 35, true, 0},
    {34, 5, 0, "MAINOFFLINEDIAGMENU", 17, true, 0},
    {35, 51, 5, "IDD_DIAGNOSTIC_RAMP_TEST", 18, true, 0},
    {36, 511, 51, "IDD_DIAGNOSTIC_RAMPCOMPARE", 19, false, 0},
    {37, 52, 5, "IDD_DIAGNOSTIC_STEP_TEST", 20, true, 0},
    {38, 521, 52, "IDD_DIAGNOSTIC_STEPCOMPARE", 21, false, 0},
    {39, 53, 5, "IDD_DIAGNOSTIC_HDRL", 22, true, 0},
    {40, 531, 53, "IDD_DIAGNOSTIC_HDRLCOMPARE", 23, false, 0},
    {41, 54, 5, "PARTTEST", 24, true, 0},
    {42, 541, 54, "IDD_DIAGNOSTIC_PSTCOMPARE", 25, false, 0},
    {44, 6, 0, "IDC_BUTTON_CALIBRATOR", 0, false, 61},
    {45, 61, 6, "EDT_ALM_CAL1", 26, true, 0},
    {47, 62, 6, "EDT_ALM_CAL2", 27, true, 0},
    {48, 63, 6, "CALERRORS", 28, true, 0},
    {49, 7, 0, "IDC_BUTTON_CONFIGURATOR", 0, false, 72},
    {52, 72, 7, "IDC_STATICSTABLITYLBL", 30, true, 0},
    {53, 73, 7, "IDC_BUTTON_CUS_CHAR", 31, true, 0},
    {54, 731, 73, "IDD_CONFIG_CUST_CHAR", 32, true, 0},
    {63, 77, 7, "IDC_BUTTON_INFO_HART", 36, true, 0},
}};

// Pages with a timer to stop, in the order they are stopped.
constexpr int kStopOrder[] = {1,  2,  3,  4,  20, 18, 24, 22, 16, 26, 27, 28, 31, 32,
                              30, 7,  8,  5,  9,  10, 12, 6,  13, 11, 14, 34, 35, 36};

constexpr int kExpanded[] = {0, 1, 2, 3, 31, 32, 33, 34, 4, 5, 6, 7};

}  // namespace

const std::array<Item, 39>& CTarnixWexletView::Items() { return kItems; }

const Item* CTarnixWexletView::ItemByCode(int code) {
  for (const Item& item : kItems)
    if (item.code == code) return &item;
  return nullptr;
}

CTarnixPage* CTarnixWexletView::PageByCode(int code) {
  const Item* item = ItemByCode(code);
  return item && item->viewIndex > 0 ? theApp().m_pViews[static_cast<size_t>(item->viewIndex)] : nullptr;
}

void CTarnixWexletView::SelectItemByCode(int code) {
  CTarnixWexletApp& app = theApp();
  const Item* target = ItemByCode(code);
  if (app.m_pTreeView && target) app.m_pTreeView->GetTreeCtrl().SelectItem(app.m_hTreeItems[target->slot]);
}

bool CTarnixWexletView::IsItemSelected(int code) {
  const CTarnixWexletApp& app = theApp();
  const Item* target = ItemByCode(code);
  return app.m_pTreeView && target && app.m_pTreeView->GetTreeCtrl().GetSelectedItem() == app.m_hTreeItems[target->slot];
}

CTarnixWexletView::CTarnixWexletView() { m_strCaptions.fill(_bstr_t("")); }

void CTarnixWexletView::LoadCaptions() {
  for (const Item& item : kItems)
    if (item.captionKey) m_strCaptions[item.slot] = theApp().m_LanguageTable.Lookup(item.captionKey);
}

void CTarnixWexletView::OnInitialUpdate() {
  CTreeView::OnInitialUpdate();
  CTarnixWexletApp& app = theApp();
  app.m_pTreeView = this;
  LoadCaptions();
  CTreeCtrl& tree = GetTreeCtrl();
  for (const Item& item : kItems) {
    const Item* parent = item.parentCode < 0 ? nullptr : ItemByCode(item.parentCode);
    const std::string text = item.captionKey ? m_strCaptions[item.slot].str() : std::string("Tarnix");
    HTREEITEM handle = tree.InsertItem(text.c_str(), parent ? app.m_hTreeItems[parent->slot] : TVI_ROOT, TVI_LAST);
    tree.SetItemData(handle, static_cast<DWORD_PTR>(item.code));
    app.m_hTreeItems[item.slot] = handle;
  }
  for (int code : kExpanded) tree.Expand(app.m_hTreeItems[ItemByCode(code)->slot], TVE_EXPAND);
}

void CTarnixWexletView::OnSelchanged(NMHDR* header, LRESULT* result) {
  *result = 0;
  const auto* change = reinterpret_cast<NMTREEVIEW*>(header);
  CTreeCtrl& tree = GetTreeCtrl();
  const Item* item = ItemByCode(static_cast<int>(tree.GetItemData(change->itemNew.hItem)));
  if (!item) return;
  CTarnixWexletApp& app = theApp();
  if (item->viewIndex == 0) {
    // A group: its first page's own selection does the switch.
    tree.SelectItem(app.m_hTreeItems[ItemByCode(item->redirect)->slot]);
    return;
  }
  auto* splitter = dynamic_cast<CMySplitterWnd*>(GetParent());
  StopAllViewTimers();
  CTarnixPage* page = splitter ? splitter->SwitchView(0, 1, item->viewIndex) : nullptr;
  tree.SetFocus();
  if (page && item->start) page->StartMonitoring();
}

void CTarnixWexletView::StopAllViewTimers() {
  for (int index : kStopOrder)
    if (CTarnixPage* page = theApp().m_pViews[index]) page->StopMonitoring();
}
