#include "shell/limit_gauge_page.h"

#include "platform/sys/numeric.h"
#include "shell/app.h"

namespace {

void Check(HRESULT hr) {
  if (FAILED(hr)) _com_issue_error(hr);
}

}  // namespace

CLimitGaugePage::CLimitGaugePage(UINT templateId, const char* titleKey, UINT timerId, GaugeLayout layout)
    : CMonitoringPage(templateId, titleKey, timerId, 5000), m_layout(std::move(layout)) {}

void CLimitGaugePage::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  auto host = [this] { return m_hosts.emplace_back(std::make_unique<CWnd>()).get(); };
  if (CWnd* place = GetDlgItem(m_layout.placeholder)) {
    m_pGauge = common.CreateLinearGauge2(this, host(), PlaceholderRect(*place), m_layout.id);
    if (m_pGauge) Try("gauge", [&] { (common.*m_layout.setup)(m_pGauge); });
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
          [this, ticks] {
            if (--m_nRefreshCountdown > 0) return false;
            m_nRefreshCountdown = ticks;
            return true;
          },
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
  Try("gauge", [&] { Check(m_pGauge->put_Value(value)); });
}

void CLimitGaugePage::UpdatePointerColour() {
  double value = 0;
  Check(m_pGauge->get_Value(&value));
  LONG count = 0;
  Check(m_pGauge->get_ElementCount(&count));
  std::vector<double> markers;
  for (LONG i = 1; i < count; ++i) Check(m_pGauge->get_ElementPosition(i, &markers.emplace_back()));
  Check(m_pGauge->put_ElementColor(0, PointerColour(value, markers)));
}
