// The tree: selection from code and from the keyboard notifies at once,
// a handler may move the selection on (nested), and re-selecting the
// selected item notifies nothing.
#include "platform/win/tree.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTreeWidget>

#include "win_test_support.h"

namespace {

using testsupport::HostWindow;

// A navigation tree in miniature: groups hand the selection on to their
// first page, as the program's tree does.
class NavigationTree : public CTreeView {
 public:
  struct Change {
    DWORD_PTR from;  // item data, or 999 for no item
    DWORD_PTR to;
    int depth;  // 1 for a notification, 2 for one inside another
  };

  void Build() {
    CTreeCtrl& tree = GetTreeCtrl();
    root = Add("Tarnix", 0, TVI_ROOT);
    dashboard = Add("Dashboard", 1, root);
    alarms = Add("Alarms", 2, root);
    annunciator = Add("Annunciator", 21, alarms);
    events = Add("Event history", 23, alarms);
    configuration = Add("Configuration", 7, root);
    pressure = Add("Pressure control", 72, configuration);
    for (HTREEITEM item : {root, alarms, configuration}) tree.Expand(item, TVE_EXPAND);
  }

  void OnSelchanged(NMHDR* header, LRESULT* result) override {
    auto* info = reinterpret_cast<NMTREEVIEW*>(header);
    const DWORD_PTR to = info->itemNew.hItem ? static_cast<DWORD_PTR>(info->itemNew.lParam) : 999;
    const DWORD_PTR from = info->itemOld.hItem ? static_cast<DWORD_PTR>(info->itemOld.lParam) : 999;
    ++depth;
    changes.push_back(Change{from, to, depth});
    // A group moves the selection on to its first page.
    if (to == 0) GetTreeCtrl().SelectItem(dashboard);
    if (to == 2) GetTreeCtrl().SelectItem(annunciator);
    if (to == 7) SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(pressure));
    --depth;
    *result = 0;
  }

  HTREEITEM root{}, dashboard{}, alarms{}, annunciator{}, events{}, configuration{}, pressure{};
  std::vector<Change> changes;
  int depth = 0;

 private:
  HTREEITEM Add(const char* text, DWORD_PTR code, HTREEITEM parent) {
    HTREEITEM item = GetTreeCtrl().InsertItem(text, parent, TVI_LAST);
    GetTreeCtrl().SetItemData(item, code);
    return item;
  }
};

bool operator==(const NavigationTree::Change& a, const NavigationTree::Change& b) {
  return a.from == b.from && a.to == b.to && a.depth == b.depth;
}
std::ostream& operator<<(std::ostream& os, const NavigationTree::Change& c) {
  return os << "{" << c.from << "->" << c.to << " depth " << c.depth << "}";
}
using Changes = std::vector<NavigationTree::Change>;

class TreeSelection : public testing::Test {
 protected:
  void SetUp() override {
    tree = new NavigationTree;
    ASSERT_TRUE(tree->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 250, 400), &host, 0xE900));
    tree->Build();
  }
  CTreeCtrl& Ctrl() { return tree->GetTreeCtrl(); }
  HostWindow host;
  NavigationTree* tree = nullptr;
};

TEST_F(TreeSelection, ItemsKeepInsertionOrderDataAndText) {
  CTreeCtrl& ctrl = Ctrl();
  EXPECT_EQ(ctrl.GetSelectedItem(), nullptr) << "building selects nothing";
  EXPECT_EQ(ctrl.GetRootItem(), tree->root);
  EXPECT_EQ(ctrl.GetChildItem(tree->root), tree->dashboard);
  EXPECT_EQ(ctrl.GetNextSiblingItem(tree->dashboard), tree->alarms);
  EXPECT_EQ(ctrl.GetNextSiblingItem(tree->alarms), tree->configuration);
  EXPECT_EQ(ctrl.GetNextSiblingItem(tree->configuration), nullptr);
  EXPECT_EQ(ctrl.GetParentItem(tree->events), tree->alarms);
  EXPECT_EQ(ctrl.GetItemText(tree->events), "Event history");
  EXPECT_EQ(ctrl.GetItemData(tree->pressure), 72u);
  EXPECT_EQ(ctrl.GetCount(), 7u);
  EXPECT_TRUE(ctrl.IsExpanded(tree->alarms));
  EXPECT_FALSE(ctrl.Expand(tree->events, TVE_EXPAND)) << "no children, no effect";
  // Getting the focus selects nothing either.
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(tree->GetSafeWidget(), &in);
  EXPECT_EQ(ctrl.GetSelectedItem(), nullptr);
  EXPECT_TRUE(tree->changes.empty());
}

TEST_F(TreeSelection, SelectingFromCodeNotifiesAtOnceWithOldAndNewItem) {
  EXPECT_TRUE(Ctrl().SelectItem(tree->dashboard));
  EXPECT_EQ(tree->changes, (Changes{{999, 1, 1}}));
  tree->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(tree->events));
  EXPECT_EQ(tree->changes, (Changes{{999, 1, 1}, {1, 23, 1}}));
  EXPECT_EQ(reinterpret_cast<HTREEITEM>(tree->SendMessage(TVM_GETNEXTITEM, TVGN_CARET)), tree->events);
}

TEST_F(TreeSelection, AGroupHandsTheSelectionOnFromInsideItsNotification) {
  Ctrl().SelectItem(tree->dashboard);
  tree->changes.clear();
  Ctrl().SelectItem(tree->alarms);
  EXPECT_EQ(tree->changes, (Changes{{1, 2, 1}, {2, 21, 2}}));
  EXPECT_EQ(Ctrl().GetSelectedItem(), tree->annunciator);

  tree->changes.clear();
  Ctrl().SelectItem(tree->root);  // two levels: root -> dashboard
  Ctrl().SelectItem(tree->configuration);
  EXPECT_EQ(tree->changes, (Changes{{21, 0, 1}, {0, 1, 2}, {1, 7, 1}, {7, 72, 2}}));
  EXPECT_EQ(Ctrl().GetSelectedItem(), tree->pressure);
}

TEST_F(TreeSelection, SelectingTheSelectedItemNotifiesNothing) {
  Ctrl().SelectItem(tree->events);
  tree->changes.clear();
  EXPECT_TRUE(Ctrl().SelectItem(tree->events));
  tree->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(tree->events));
  EXPECT_TRUE(tree->changes.empty());
}

TEST_F(TreeSelection, TheKeyboardOntoAGroupReturnsToItsFirstPage) {
  Ctrl().SelectItem(tree->annunciator);
  tree->changes.clear();
  QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(tree->GetSafeWidget(), &up);
  EXPECT_EQ(tree->changes, (Changes{{21, 2, 1}, {2, 21, 2}}));
  EXPECT_EQ(Ctrl().GetSelectedItem(), tree->annunciator);
}

TEST(TreeControl, InsideAWindowNotifiesItsParent) {
  struct Parent : CWnd {
    BOOL OnNotify(UINT id, NMHDR* header, LRESULT*) override {
      seen.emplace_back(id, header->code);
      return TRUE;
    }
    std::vector<std::pair<UINT, int>> seen;
  };
  Parent parent;
  parent.Create(nullptr, "parent", 0, CRect(0, 0, 200, 200), nullptr, 0);
  CTreeCtrl tree;
  ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &parent, 55));
  HTREEITEM item = tree.InsertItem("one");
  tree.SelectItem(item);
  EXPECT_EQ(parent.seen, (std::vector<std::pair<UINT, int>>{{55, TVN_SELCHANGED}}));
}

}  // namespace
