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
#include "diagnostics/run/multi_test_page.h"
#include "page_fixture.h"
#include "platform/win/resources.h"
#include "shell/tree_view.h"
#include "support/language_table.h"
#include "support/plot_probe.h"

namespace testpages {

// The icons beside a setting's edit.
constexpr UINT kValidIcon = 153, kInvalidIcon = 152;

// A setting typed into its edit, and how the page must judge it.
struct SettingCase {
  int edit, icon;
  const char* text;
  bool valid;
  const char* errorKey;  // the icon's tip when the text is refused
};

template <class View, int kViewIndex>
class DiagnosticPage : public SimulatedPage {
 public:
  void SetUp() override {
    testpages::LoadEnglish();
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
    app.m_pViews[kMultiTestView] = app.m_pViews[kViewIndex] = nullptr;
    app.m_pMultiTestView = nullptr;
    app.m_pTreeView = nullptr;
    for (const std::string& f : files) std::remove(f.c_str());
    SimulatedPage::TearDown();
  }
  // The device as the test needs it before the page is built.
  virtual void ArrangeDevice() {}

  // Start, the movement question answered Yes.
  void Start() {
    person.Answer(IDYES);
    Click(View::kStartId);
  }
  bool Enabled(int id) { return page->GetDlgItem(id)->IsWindowEnabled(); }
  std::string Field(int id) { return page->GetDlgItemText(id); }
  void Click(int id) { page->template GetDlgItemAs<CButton>(id)->Click(); }
  UINT Icon(int id) { return plat::ResourceIdOf(page->template GetDlgItemAs<CStatic>(id)->GetIcon()); }
  // The setting's icon and Start follow the judgement; a refused text
  // gives the icon its tip.
  void ExpectJudged(const SettingCase& c) {
    EXPECT_EQ(Icon(c.icon), c.valid ? kValidIcon : kInvalidIcon);
    EXPECT_EQ(Enabled(View::kStartId), c.valid);
    if (!c.valid) {
      EXPECT_EQ(page->GetToolTips().GetToolText(page->GetDlgItem(c.icon)), Text(c.errorKey));
    }
  }
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

  // The multi-test page in a sequence that has handed this page its test
  // (1 step, 2 partial stroke, 3 HDRL), and the tree it is selected in.
  CDiagnostics_OfflineView* HandOverFromSequence(int test) {
    CTarnixWexletApp& app = theApp();
    auto* multi = static_cast<CDiagnostics_OfflineView*>(CreatePage(kMultiTestView));
    EXPECT_TRUE(multi->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 0, 0), &host, kMultiTestView));
    multi->SendInitialUpdate();
    auto* tree = new CTarnixWexletView;
    EXPECT_TRUE(tree->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 400), &host, 2));
    tree->SendInitialUpdate();
    app.m_pTreeView = tree;
    app.m_pViews[kMultiTestView] = multi;
    app.m_pViews[kViewIndex] = page;
    multi->m_bMultiTestRunning = true;
    multi->m_nHandedOverTest = test;
    // The sequence began on a device seen idle.
    CWexletCoreCommunication& comm = app.m_comm;
    EXPECT_TRUE(comm.ReadTestState());
    app.m_testEngine.StateRead(comm.m_byTestState);
    device->ClearRequests();
    return multi;
  }
  // The tree item selected.
  static int SelectedItem() {
    CTreeCtrl& tree = theApp().m_pTreeView->GetTreeCtrl();
    return static_cast<int>(tree.GetItemData(tree.GetSelectedItem()));
  }

  View* page = nullptr;
  std::vector<std::string> files;
};

}  // namespace testpages
