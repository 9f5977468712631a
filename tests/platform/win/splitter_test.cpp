// Static splitters in a frame: rows and columns from their ideal sizes,
// a locked splitter's bars stay put, and pages change places by id.
#include "platform/win/splitter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "platform/win/form_view.h"

namespace {

// The program's frame in miniature: strips above and below, tree and page
// area between.
class Frame : public CFrameWnd {
 public:
  BOOL OnCreateClient(void*, void*) override {
    outer.CreateStatic(this, 3, 1);
    outer.CreateView(0, 0, top = new CView, CSize(0, 0));
    outer.SetLocked(TRUE);
    inner.CreateStatic(&outer, 1, 2, WS_CHILD | WS_VISIBLE | WS_BORDER, outer.IdFromRowCol(1, 0));
    inner.CreateView(0, 0, tree = new CView, CSize(0, 0));
    inner.CreateView(0, 1, placeholder = new CView, CSize(0, 0));
    outer.CreateView(2, 0, bottom = new CView, CSize(0, 0));
    outer.SetRowInfo(0, 120, 0);
    outer.SetRowInfo(1, 780, 0);
    inner.SetColumnInfo(0, 280, 0);
    for (int i = 1; i <= 2; ++i) {
      pages[i] = new CView;
      pages[i]->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &inner, static_cast<UINT>(i));
    }
    return TRUE;
  }
  void OnSize(UINT, int, int cy) override {
    outer.SetRowInfo(0, 120, 0);
    outer.SetRowInfo(1, std::abs(cy - 220), 0);
    RecalcLayout();
  }

  CSplitterWnd outer, inner;
  CView *top = nullptr, *tree = nullptr, *placeholder = nullptr, *bottom = nullptr;
  CView* pages[3] = {};
};

QRect Geometry(CWnd* wnd) { return wnd->GetSafeWidget()->geometry(); }

void Mouse(QWidget* widget, QEvent::Type type, QPoint at) {
  QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

class Splitters : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(frame.Create("Tarnix", 0, CRect(0, 0, 1200, 1000)));
    frame.ShowWindow(SW_SHOW);
    Resize(1200, 1000);
  }
  void Resize(int width, int height) {
    frame.GetSafeWidget()->resize(width, height);
    QApplication::processEvents();
  }
  Frame frame;
};

TEST_F(Splitters, RowsTakeTheirIdealHeightsAndTheLastTheRest) {
  constexpr int bar = CSplitterWnd::kBarSize;
  struct Case {
    int height;
    int middle;  // |height - 220|
  };
  for (const Case c : {Case{1000, 780}, Case{700, 480}, Case{220, 0}}) {
    Resize(1200, c.height);
    EXPECT_EQ(Geometry(frame.top), QRect(0, 0, 1200, 120)) << c.height;
    EXPECT_EQ(Geometry(&frame.inner), QRect(0, 120 + bar, 1200, c.middle)) << c.height;
    const int bottomTop = 120 + bar + c.middle + bar;
    EXPECT_EQ(Geometry(frame.bottom), QRect(0, bottomTop, 1200, std::max(0, c.height - bottomTop))) << c.height;
  }
}

TEST_F(Splitters, TheTreeColumnKeepsItsWidthWhenTheFrameResizes) {
  EXPECT_EQ(Geometry(frame.tree).width(), 280);
  Resize(900, 1000);
  EXPECT_EQ(Geometry(frame.tree).width(), 280);
  EXPECT_EQ(Geometry(frame.placeholder), QRect(280 + CSplitterWnd::kBarSize, 0, 900 - 286, 780));
  int current = 0, minimum = -1;
  frame.inner.GetColumnInfo(0, current, minimum);
  EXPECT_EQ(current, 280);
  EXPECT_EQ(minimum, 0);
}

TEST_F(Splitters, TheUserDragsAnUnlockedBarButNotALockedOne) {
  QWidget* inner = frame.inner.GetSafeWidget();
  const QPoint onBar(282, 300);
  EXPECT_EQ(frame.inner.HitBar(POINT{onBar.x(), onBar.y()}), std::make_pair(false, 0));
  Mouse(inner, QEvent::MouseButtonPress, onBar);
  Mouse(inner, QEvent::MouseMove, QPoint(402, 300));
  Mouse(inner, QEvent::MouseButtonRelease, QPoint(402, 300));
  EXPECT_EQ(Geometry(frame.tree).width(), 399);

  QWidget* outer = frame.outer.GetSafeWidget();
  const QPoint onLockedBar(600, 122);
  EXPECT_EQ(frame.outer.HitBar(POINT{onLockedBar.x(), onLockedBar.y()}), std::make_pair(true, 0));
  Mouse(outer, QEvent::MouseButtonPress, onLockedBar);
  Mouse(outer, QEvent::MouseMove, QPoint(600, 300));
  Mouse(outer, QEvent::MouseButtonRelease, QPoint(600, 300));
  EXPECT_EQ(Geometry(frame.top).height(), 120);
}

TEST_F(Splitters, TheInitialUpdateReachesEveryViewOnce) {
  struct Counting : CView {
    void OnInitialUpdate() override { ++updates; }
    int updates = 0;
  };
  auto* late = new Counting;
  ASSERT_TRUE(late->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 0, 0), &frame.inner, 9));
  frame.SendMessageToDescendants(WM_INITIALUPDATE);
  frame.SendMessageToDescendants(WM_INITIALUPDATE);
  EXPECT_EQ(late->updates, 1);
  for (CView* view : {frame.top, frame.tree, frame.placeholder, frame.bottom, frame.pages[1], frame.pages[2]})
    EXPECT_TRUE(view->IsInitialized());
}

TEST_F(Splitters, SwappingAPaneExchangesControlIds) {
  CSplitterWnd& inner = frame.inner;
  const int paneId = inner.IdFromRowCol(0, 1);
  EXPECT_EQ(paneId, 0xE901);
  EXPECT_EQ(inner.GetPane(0, 1), frame.placeholder);

  EXPECT_EQ(inner.SwapPane(0, 1, frame.pages[1]), frame.placeholder);
  EXPECT_EQ(inner.GetPane(0, 1), frame.pages[1]);
  EXPECT_EQ(frame.placeholder->GetDlgCtrlID(), 1) << "the old window takes the page's id";
  EXPECT_FALSE(frame.placeholder->IsWindowVisible());
  EXPECT_TRUE(frame.pages[1]->IsWindowVisible());
  EXPECT_EQ(Geometry(frame.pages[1]), QRect(286, 0, 1200 - 286, 780));

  inner.SwapPane(0, 1, frame.pages[2]);
  EXPECT_EQ(frame.pages[1]->GetDlgCtrlID(), 2);
  EXPECT_EQ(frame.pages[2]->GetDlgCtrlID(), paneId);
  // The page that is shown again: hidden and shown, nothing else.
  EXPECT_EQ(inner.SwapPane(0, 1, frame.pages[2]), frame.pages[2]);
  EXPECT_EQ(frame.pages[2]->GetDlgCtrlID(), paneId);
  EXPECT_TRUE(frame.pages[2]->IsWindowVisible());
}

}  // namespace
