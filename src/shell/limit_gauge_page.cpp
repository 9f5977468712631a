#include "shell/limit_gauge_page.h"

#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"
#include "shell/app.h"

CLimitGaugePage::CLimitGaugePage(UINT templateId, const char* titleKey, UINT timerId, GaugeLayout layout)
    : CMonitoringPage(templateId, titleKey, timerId, 5000), m_layout(std::move(layout)) {}

void CLimitGaugePage::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  auto host = [this] { return m_hosts.emplace_back(std::make_unique<CWnd>()).get(); };
  if (CWnd* place = GetDlgItem(m_layout.placeholder)) {
    m_pGauge = common.CreateLinearGauge2(this, host(), PlaceholderRect(*place), m_layout.id);
    const auto setup = m_layout.setup;
    if (m_pGauge) Try("gauge", [this, &common, setup] { (common.*setup)(IiLinearGaugeXPtr(m_pGauge)); });
  }
  for (const Sign& s : m_layout.signs)
    if (CWnd* place = GetDlgItem(s.placeholder))
      m_signs.push_back(common.CreateImageDisplay(this, host(), PlaceholderRect(*place), s.id, s.bitmap));
}

void CLimitGaugePage::RunStep() {
  if (m_bValueShown) Try("pointer colour", [this] { UpdatePointerColour(); });
  CMonitoringPage::RunStep();
}

PageStep CLimitGaugePage::RefreshStep(int step, int ticks, std::function<void()> read, std::function<void()> show) {
  return {step, "REFRESH",
          [this, ticks] { return m_refreshCountdown.Due(ticks); },
          [this, read = std::move(read)] {
            read();
            PollStatusArea();
          },
          [this, show = std::move(show)] {
            show();
            m_bValueShown = true;
          },
          step};
}

void CLimitGaugePage::ShowValue(int box, const char* format, double value) {
  SetDlgItemText(box, plat::FormatNumber(format, value).c_str());
  Try("gauge", [&] { ComCheck(m_pGauge->put_Value(value)); });
}

void CLimitGaugePage::UpdatePointerColour() {
  double value = 0;
  ComCheck(m_pGauge->get_Value(&value));
  LONG count = 0;
  ComCheck(m_pGauge->get_ElementCount(&count));
  std::vector<double> markers;
  for (LONG i = 1; i < count; ++i) ComCheck(m_pGauge->get_ElementPosition(i, &markers.emplace_back()));
  ComCheck(m_pGauge->put_ElementColor(0, PointerColour(value, markers)));
}

namespace pages {

std::vector<DialogItem> GaugeValueItems(int group, const char* title, int gauge, std::span<const GaugeValueColumn> columns,
                                        const GaugeValueGeometry& g) {
  std::vector<DialogItem> items = {
      {group, DlgKind::GroupBox, title, 8, 30, 584, 98},
      {gauge, DlgKind::GroupBox, "", 18, 42, 564, 48, DS_HIDDEN},
  };
  constexpr int y = 108;
  int x = g.x;
  for (const GaugeValueColumn& c : columns) {
    const int box = x + g.captionWidth + 4;
    items.push_back({c.caption, DlgKind::Static, "", x, y + 2, g.captionWidth, 9, DS_RIGHT});
    if (c.sign) items.push_back({c.sign, DlgKind::GroupBox, "", box + (g.boxWidth - 9) / 2, y - 12, 9, 9, DS_HIDDEN});
    items.push_back({c.box, DlgKind::Edit, "", box, y, g.boxWidth, 12, DS_READONLY | DS_RIGHT});
    items.push_back({c.unit, DlgKind::Static, c.unitText, box + g.boxWidth + 3, y + 2, g.unitWidth, 9});
    x += g.step;
  }
  return items;
}

namespace {

// The columns of a limit group: a caption, a box, a spin edit and a unit,
// the right one after a marker's legend.
constexpr int kLeft = 20, kRight = 310, kLegend = 12, kBox = 90, kBoxWidth = 62, kSpin = kBox + kBoxWidth + 4,
              kGap = 4;

// A caption, its box and what follows the box, on one line from x.
void AddField(std::vector<DialogItem>& items, int x, int y, const LimitField& f) {
  const int captionX = f.legend ? x + kLegend : x;
  if (f.legend) items.push_back({f.legend, DlgKind::GroupBox, "", x, y + 2, 8, 8, DS_HIDDEN});
  items.push_back({f.caption, DlgKind::Static, "", captionX, y + 2, x + kBox - kGap - captionX, 9});
  items.push_back({f.edit, DlgKind::Edit, "", x + kBox, y, kBoxWidth, 12, DS_RIGHT | (f.spin ? 0u : DS_READONLY)});
  if (f.spin) items.push_back({f.spin, DlgKind::GroupBox, "", x + kSpin, y, kBoxWidth, 12, DS_HIDDEN});
  const int unitX = x + (f.spin ? kSpin + kBoxWidth : kBox + kBoxWidth) + kGap;
  if (f.unit) items.push_back({f.unit, DlgKind::Static, f.unitText, unitX, y + 2, 30, 9});
}

}  // namespace

int AddLimitGroupItems(std::vector<DialogItem>& items, int y, const LimitGroup& g) {
  const int height = kLimitGroupHeight + (g.extra.caption ? kLimitGroupExtraLine : 0);
  items.push_back({g.box, DlgKind::GroupBox, "", 8, y, 584, height});
  AddField(items, kLeft, y + 14, {0, g.valueCaption, g.value, 0, g.valueUnit, g.valueUnitText});
  if (g.reset)
    items.push_back({g.reset, DlgKind::PushButton, "", kLeft + kSpin + 34, y + 11, 20, 18, DS_BITMAP | DS_DISABLED});
  if (g.setting.caption) AddField(items, kRight, y + 14, g.setting);
  items.push_back({g.gauge, DlgKind::GroupBox, "", 16, y + 30, 568, 34, DS_HIDDEN});
  AddField(items, kLeft, y + 70, g.low);
  AddField(items, kRight, y + 70, g.high);
  if (g.extra.caption) AddField(items, kLeft, y + 70 + kLimitGroupExtraLine, g.extra);
  return y + height;
}

void AddApplyRetrieveItems(std::vector<DialogItem>& items, int y, int apply, int retrieve, const char* applyText,
                           const char* retrieveText) {
  items.push_back({apply, DlgKind::PushButton, applyText, 470, y, 58, 15, DS_DISABLED});
  items.push_back({retrieve, DlgKind::PushButton, retrieveText, 534, y, 58, 15, DS_DISABLED});
}

}  // namespace pages
