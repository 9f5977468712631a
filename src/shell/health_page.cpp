#include "shell/health_page.h"

#include <algorithm>

#include <QFontMetrics>
#include <QLabel>

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
    // The waste bin (25 x 27 pixels) whole inside the button's frame.
    constexpr int kResetWidth = 19, kResetHeight = 20;
    if (v.reset)
      items.push_back({v.reset, DlgKind::PushButton, "", unitX + 27, y + 6 - kResetHeight / 2, kResetWidth,
                       kResetHeight, DS_BITMAP | DS_DISABLED});
    // The link ends at the box's right edge and takes what room the line
    // leaves it for a longer word.
    if (v.link) {
      const int right = x + box.cx - 4;
      const int lineEnd = v.reset ? unitX + 27 + kResetWidth : v.unit ? unitX + 26 : x + 60 + v.width;
      const int left = std::max(right - 60, lineEnd + 2);
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
  m_steps.clear();
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

void CHealthPage::FitValueLines() {
  auto clientRect = [this](const CWnd* window) { return window ? pages::ClientRectOf(*this, *window) : CRect(); };
  const int gap = plat::DluToPixelsX(2);
  const QString linkText = QString::fromStdString(TheLanguageTable().Lookup("IDC_BTN_CFG_SETTINGS").str());
  for (const health::ValueLine& v : m_values) {
    CWnd* caption = GetDlgItem(v.caption);
    CWnd* value = GetDlgItem(v.value);
    const auto* label = caption ? qobject_cast<const QLabel*>(caption->GetSafeWidget()) : nullptr;
    if (!label || !value) continue;
    const QFontMetrics metrics = label->fontMetrics();
    const QString text = QString::fromStdString(TheLanguageTable().Lookup(v.captionKey).str());
    const int excess = metrics.horizontalAdvance(text) + 1 - label->contentsRect().width();
    CWnd* link = v.link ? GetDlgItem(v.link) : nullptr;
    // The link's word, measured in the page's font, with a little to spare
    // for the link's own face.
    const int linkWidth = metrics.horizontalAdvance(linkText) + 4;
    if (excess > 0) {
      // The line moves right into the room before the link's text (or the
      // group's edge); what that room lacks comes out of the value's box.
      std::vector<CWnd*> after;
      for (int id : {v.unit, v.reset})
        if (CWnd* item = id ? GetDlgItem(id) : nullptr) after.push_back(item);
      const int lineEnd = clientRect(after.empty() ? value : after.back()).right;
      const int limit = link ? clientRect(link).right - linkWidth : clientRect(GetDlgItem(v.group)).right - gap;
      const int shift = std::clamp(limit - gap - lineEnd, 0, excess);

      CRect rect = clientRect(caption);
      rect.right += excess;
      caption->MoveWindow(&rect);
      rect = clientRect(value);
      rect.left += excess;
      rect.right += shift;
      value->MoveWindow(&rect);
      for (CWnd* item : after) {
        rect = clientRect(item);
        rect.OffsetRect(shift, 0);
        item->MoveWindow(&rect);
      }
      if (link) {
        rect = clientRect(link);
        rect.left = std::max(static_cast<int>(rect.left), lineEnd + shift + gap);
        link->MoveWindow(&rect);
      }
    }
    // A link whose word the line leaves no room for (a reset button takes
    // it) goes up beside the group's last status row, which ends short of
    // the box's edge.
    if (!link || clientRect(link).Width() >= linkWidth) continue;
    CRect rect = clientRect(link);
    for (const AlarmRow& r : Rows())
      if (CWnd* row = r.group == v.group ? GetDlgItem(r.selector ? r.selector : r.label) : nullptr)
        rect = CRect(rect.right - linkWidth, clientRect(row).top, rect.right, clientRect(row).top + rect.Height());
    link->MoveWindow(&rect);
  }
}

void CHealthPage::CreateControls() {
  CAnnunciatorPage::CreateControls();
  FitValueLines();
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
  m_values = values;
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

PageStep CHealthPage::RefreshStep(int step, std::function<void()> reads, std::function<void()> show, int next) {
  constexpr int kEvery = 3;
  return {step, "REFRESH", [this] { return m_statusCountdown.Due(kEvery); },
          [this, reads] {
            PollStatusArea();
            reads();
          },
          [this, show] {
            UpdateAlarmLeds();
            if (show) show();
          },
          next};
}

void CHealthPage::OnShown() {
  EnableActionButtons(FALSE);
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
