#include "shell/health_page.h"

#include <algorithm>

#include "common/control_puts.h"
#include "shell/app.h"
#include "shell/tree_view.h"
#include "support/language_table.h"
#include "support/log.h"

using alarms::AlarmRow;

namespace pages {

std::vector<DialogItem> HealthSideItems(const health::SideIds& s, int x, int w) {
  return {
      {s.implicationsCaption, DlgKind::Static, "", x, 30, w, 9},
      {s.implications, DlgKind::Edit, "", x, 40, w, 86, DS_MULTILINE | DS_READONLY | DS_VSCROLL},
      {s.solutionsCaption, DlgKind::Static, "", x, 134, w, 9},
      {s.solutions, DlgKind::Edit, "", x, 144, w, 86, DS_MULTILINE | DS_READONLY | DS_VSCROLL},
      {s.legendBox, DlgKind::GroupBox, "", x, 240, w, 56},
      {s.legendLamp, DlgKind::GroupBox, "", x + 8, 252, 10, 10, DS_HIDDEN},
      {s.legendText, DlgKind::Static, "", x + 24, 253, w - 30, 9},
      {s.legendMasked, DlgKind::CheckBox, "", x + 24, 266, w - 30, 10, DS_MANUAL},
      {s.legendSelected, DlgKind::RadioButton, "", x + 24, 280, w - 30, 10, DS_MANUAL | DS_GROUP},
      {CAnnunciatorPage::kApplyId, DlgKind::PushButton, "", x, 310, 58, 15, DS_DISABLED},
      {CAnnunciatorPage::kRetrieveId, DlgKind::PushButton, "", x + 64, 310, 58, 15, DS_DISABLED},
  };
}

void AddHealthValueItems(std::vector<DialogItem>& items, std::span<const health::ValueLine> values) {
  for (const health::ValueLine& v : values) {
    DialogItem box{};
    for (const DialogItem& i : items)
      if (i.id == v.group) box = i;
    const int x = box.x, y = box.y + box.cy - 18;
    const int unitX = x + 63 + v.width;
    items.push_back({v.caption, DlgKind::Static, "", x + 8, y + 1, 50, 9});
    items.push_back({v.value, DlgKind::Edit, "", x + 60, y - 1, v.width, 12, DS_READONLY | v.align});
    if (v.unit) items.push_back({v.unit, DlgKind::Static, v.unitText, unitX, y + 1, 26, 9});
    if (v.reset)
      items.push_back({v.reset, DlgKind::PushButton, "", unitX + 27, y - 2, 18, 14, DS_BITMAP | DS_DISABLED});
    // The link ends at the box's right edge and takes what room the line
    // leaves it for a longer word.
    if (v.link) {
      const int right = x + box.cx - 4;
      const int left = std::max(right - 60, unitX + (v.reset ? 45 : 26) + 2);
      items.push_back({v.link, DlgKind::GroupBox, "", left, y + 1, right - left, 10, DS_HIDDEN});
    }
  }
}

}  // namespace pages

CHealthPage::CHealthPage(UINT templateId, const char* titleKey, UINT timerId,
                         std::span<const alarms::AlarmGroup> groups, std::span<const AlarmRow> rows,
                         std::span<const health::RowTexts> texts, const health::SideIds& side,
                         StatusHeaderIds header)
    : CAnnunciatorPage(templateId, titleKey, timerId, rows, header), m_texts(texts), m_side(side) {
  for (const alarms::AlarmGroup& g : groups) m_captions.push_back({g.captionKey, {g.box}});
  m_bReadSensorsAtStart = false;
  m_bKeepMixedPairs = true;
  m_actionButtons = {kApplyId, kRetrieveId};
  const std::vector<KeyedControls> captions = {
      {"IDC_ILABELXIMP", {side.implicationsCaption}}, {"IDC_ILABELXPOSSSOL", {side.solutionsCaption}},
      {"IDC_STATICLEGEND", {side.legendBox}},         {side.legendTextKey, {side.legendText}},
      {"IDC_LBLMASKED2", {side.legendMasked}},        {"IDC_RADIO_SELECTED", {side.legendSelected}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  KeyedControls selectors{"IMPOSSSOL", {}};
  for (const AlarmRow& r : rows) {
    selectors.ids.push_back(r.selector);
    MapCommand(BN_CLICKED, static_cast<UINT>(r.selector), &CHealthPage::OnSelectAlert);
  }
  m_toolTips.push_back(selectors);
}

void CHealthPage::OnInitialUpdate() {
  CAnnunciatorPage::OnInitialUpdate();
  CheckDlgButton(m_side.legendMasked, 1);
  CheckDlgButton(m_side.legendSelected, 1);
}

void CHealthPage::CreateControls() {
  CAnnunciatorPage::CreateControls();
  CreateLegendLamp(alarms::Lamp::Round, m_side.legendLamp, m_side.legendLampId);
  CCommonFunctions& common = theApp().m_CommonFunctions;
  const _bstr_t caption(TheLanguageTable().Lookup("IDC_BTN_CFG_SETTINGS").str().c_str());
  for (const health::Link& link : m_links) {
    CWnd* place = GetDlgItem(link.placeholder);
    if (!place) continue;
    CWnd* host = m_linkHosts.emplace_back(std::make_unique<CWnd>()).get();
    IiLabelXPtr& label =
        m_linkLabels.emplace_back(common.CreateLabelCtrl(this, host, PlaceholderRect(*place), link.id, caption));
    Try("link", [&] {
      common.SetupLabelFont(label, 1);
      common::Puts(label.operator->()).Put(activex::LabelRow(2), LONG{2});  // flush right
    });
  }
}

void CHealthPage::AddLinks(std::span<const health::Link> links) {
  m_links = links;
  constexpr int kClick = 1;
  for (const health::Link& link : links) {
    m_toolTips.push_back({link.toolTipKey, {static_cast<int>(link.id)}});
    MapEvent(link.id, kClick,
             [item = link.treeItem](const EventArgs&) { CTarnixWexletView::SelectItemByCode(item); });
  }
}

void CHealthPage::AddValueLines(std::span<const health::ValueLine> values) {
  for (const health::ValueLine& v : values) {
    m_captions.push_back({v.captionKey, {v.caption}});
    m_toolTips.push_back({v.toolTipKey, {v.value}});
  }
}

void CHealthPage::EnableActionButtons(BOOL enable) {
  CAnnunciatorPage::EnableActionButtons(enable);
  if (!m_bLinksFollowButtons) return;
  constexpr COLORREF kActive = 0x990033, kInactive = 0x696969;
  for (IiLabelXPtr& label : m_linkLabels)
    Try("link", [&] {
      common::Puts(label.operator->()).Color(activex::LabelRow(5), enable ? kActive : kInactive);
      if (const HRESULT hr = label->put_Enabled(enable); FAILED(hr)) _com_issue_error(hr);
    });
}

void CHealthPage::ExtendStep(int step, std::function<void()> transact, std::function<void()> show) {
  for (PageStep& s : m_steps) {
    if (s.step != step) continue;
    auto chain = [](std::function<void()> first, std::function<void()> then) -> std::function<void()> {
      if (!first) return then;
      return [first, then] {
        first();
        then();
      };
    };
    if (transact) s.transact = chain(s.transact, transact);
    if (show) s.show = chain(s.show, show);
  }
}

void CHealthPage::OnShown() {
  CAnnunciatorPage::OnShown();
  SetDlgItemText(m_side.implications, "");
  SetDlgItemText(m_side.solutions, "");
  for (const AlarmRow& r : Rows()) CheckDlgButton(r.selector, 0);
}

void CHealthPage::OnSelectAlert() {
  for (size_t k = 0; k < Rows().size() && k < m_texts.size(); ++k) {
    if (IsDlgButtonChecked(Rows()[k].selector) != 1) continue;
    SetDlgItemText(m_side.implications, TheLanguageTable().Lookup(m_texts[k].implications).str().c_str());
    SetDlgItemText(m_side.solutions, TheLanguageTable().Lookup(m_texts[k].solutions).str().c_str());
    return;
  }
}
