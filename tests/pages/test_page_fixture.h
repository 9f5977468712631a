#pragma once
// What the tests of the diagnostic pages share: the page built on the
// simulated positioner, its ticks at its own period, the frames it sent,
// its plot's points, and the temporary files a test writes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/page_table.h"
#include "page_fixture.h"
#include "platform/win/resources.h"
#include "support/language_table.h"
#include "support/plot_probe.h"

namespace testpages {

// A text of the language table loaded, English.
inline std::string Text(const char* key) { return TheLanguageTable().Lookup(key).str(); }

template <class View, int kViewIndex>
class DiagnosticPage : public SimulatedPage {
 public:
  void SetUp() override {
    TheLanguageTable().Load(_bstr_t(std::string(TARNIX_SOURCE_DIR) + "/resources/Dependencies/Language.xml"), "1033",
                            false);
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    ArrangeDevice();
    page = static_cast<View*>(CreatePage(kViewIndex));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, kViewIndex));
    page->SendInitialUpdate();
    device->ClearRequests();
  }
  void TearDown() override {
    CTarnixWexletApp& app = theApp();
    app.m_pViews[17] = app.m_pViews[kViewIndex] = nullptr;
    app.m_pMultiTestView = nullptr;
    app.m_pTreeView = nullptr;
    for (const std::string& f : files) std::remove(f.c_str());
    SimulatedPage::TearDown();
  }
  // The device as the test needs it before the page is built.
  virtual void ArrangeDevice() {}

  bool Enabled(int id) { return page->GetDlgItem(id)->IsWindowEnabled(); }
  std::string Field(int id) { return page->GetDlgItemText(id); }
  void Click(int id) { page->template GetDlgItemAs<CButton>(id)->Click(); }
  UINT Icon(int id) { return plat::ResourceIdOf(page->template GetDlgItemAs<CStatic>(id)->GetIcon()); }
  // Ticks at the page's period of each moment.
  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) clock.Advance(page->GetPeriod());
  }
  // Ticks until the step is reached; false after `limit` ticks.
  bool TickUntil(int step, int limit = 200) {
    for (int i = 0; i < limit; ++i) {
      if (page->GetStep() == step) return true;
      Tick();
    }
    return page->GetStep() == step;
  }
  size_t Count(const Bytes& request) {
    size_t n = 0;
    for (const Bytes& r : device->Requests()) n += r == request;
    return n;
  }
  std::vector<std::pair<double, double>> Points(const char* channel) {
    return testsupport::PlotPoints(page->GetPlot(), channel);
  }
  bool Shown(const char* channel) { return testsupport::ChannelShown(page->GetPlot(), channel); }
  // An axis's minimum and span.
  std::pair<double, double> Axis(bool x, const char* name) {
    IiPlotAxisPtr axis;
    if (x)
      page->GetPlot()->GetXAxisByName(name, &axis);
    else
      page->GetPlot()->GetYAxisByName(name, &axis);
    std::pair<double, double> range{};
    axis->GetMin(&range.first);
    axis->GetSpan(&range.second);
    return range;
  }
  // A file of this test in the temporary folder, removed at the end with
  // the settings file beside it.
  std::string TempFile(const char* name) {
    const std::string path =
        testing::TempDir() + "page" + std::to_string(kViewIndex) + "_" + std::to_string(::getpid()) + "_" + name;
    files.push_back(path);
    files.push_back(path + ".prp");
    return path;
  }

  View* page = nullptr;
  std::vector<std::string> files;
};

}  // namespace testpages
