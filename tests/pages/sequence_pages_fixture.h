#pragma once
// The multi-test page and the four test pages of its sequence, built on the
// simulated positioner with the navigation tree. The test plays the tree:
// Show() is what a selection does (the shown page stops, the new one
// starts), and Follow() shows whatever the pages select while time passes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/page_table.h"
#include "diagnostics/run/multi_test_page.h"
#include "page_fixture.h"
#include "shell/tree_view.h"

namespace testpages {

// The multi-test page and the four pages of its sequence.
constexpr int kSequenceViews[] = {kMultiTestView, kRampTestView, kStepTestView, kHdrlView, kPstView};

class SequencePages : public SimulatedPage {
 public:
  void SetUp() override {
    LoadEnglish();
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    ModifyState([](sim::DeviceState& s) { s.valve.position = 100; });
    CTarnixWexletApp& app = theApp();
    for (int index : kSequenceViews) {
      CTarnixPage* page = CreatePage(index);
      ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 0, 0), &host, static_cast<UINT>(index)));
      page->SendInitialUpdate();
      app.m_pViews[static_cast<size_t>(index)] = page;
    }
    multi = static_cast<CDiagnostics_OfflineView*>(app.m_pViews[kMultiTestView]);
    auto* tree = new CTarnixWexletView;
    ASSERT_TRUE(tree->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 400), &host, 2));
    tree->SendInitialUpdate();
    app.m_pTreeView = tree;
    CTarnixWexletView::SelectItemByCode(treeitem::kMultiTest);
    Show(treeitem::kMultiTest);
    device->ClearRequests();
  }
  void TearDown() override {
    CTarnixWexletApp& app = theApp();
    for (int index : kSequenceViews) app.m_pViews[static_cast<size_t>(index)] = nullptr;
    app.m_pMultiTestView = app.m_pRampTestView = app.m_pStepTestView = app.m_pHDRLView = app.m_pPSTView = nullptr;
    app.m_pTreeView = nullptr;
    for (const std::string& f : files) std::remove(f.c_str());
    SimulatedPage::TearDown();
  }

  static int SelectedItem() {
    CTreeCtrl& tree = theApp().m_pTreeView->GetTreeCtrl();
    return static_cast<int>(tree.GetItemData(tree.GetSelectedItem()));
  }
  // What the tree does on a selection: the shown page stops, the new one
  // starts.
  void Show(int item) {
    if (shown) shown->StopMonitoring();
    shownItem = item;
    shown = CTarnixWexletView::PageByCode(item);
    shown->StartMonitoring();
  }
  // The page of a tree item, as its own class.
  template <class Page>
  static Page* PageOf(int item) {
    return static_cast<Page*>(CTarnixWexletView::PageByCode(item));
  }
  // Follows the tree's selection while time passes, until the sequence is
  // over or `stopAt` is shown.
  void Follow(int stopAt = 0, int limit = 20000) {
    for (int i = 0; i < limit; ++i) {
      if (SelectedItem() != shownItem) {
        Show(SelectedItem());
        if (shownItem == stopAt) return;
        continue;
      }
      if (shownItem == treeitem::kMultiTest && !multi->IsSequenceActive()) return;
      clock.Advance(100);
    }
    ADD_FAILURE() << "the sequence did not end";
  }
  std::string TempFile(const char* name) {
    const std::string path = testing::TempDir() + "multi_" + std::to_string(::getpid()) + "_" + name;
    files.push_back(path);
    files.push_back(path + ".prp");
    return path;
  }

  CDiagnostics_OfflineView* multi = nullptr;
  CTarnixPage* shown = nullptr;
  int shownItem = 0;
  std::vector<std::string> files;
};

}  // namespace testpages
