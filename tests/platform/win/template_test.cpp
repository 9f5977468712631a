// Dialog templates: dialog units to pixels, placeholders, and scrolling.
#include <gtest/gtest.h>

#include <QScrollArea>
#include <QScrollBar>

#include "platform/win/form_view.h"
#include "support/log_capture.h"
#include "win_test_support.h"

namespace {

using namespace testsupport;

// The identification strip's template, as its table gives it.
void RegisterIdentificationTemplate() {
  plat::RegisterDialogTemplate(DialogTemplate{135, 847, 73, {
      {-1, DlgKind::GroupBox, "", 0, 51, 846, 21},
      {1000, DlgKind::PushButton, "", 7, 56, 21, 15, DS_BITMAP},
      {1002, DlgKind::GroupBox, "", 2, 6, 61, 40, DS_HIDDEN},
      {1003, DlgKind::GroupBox, "", 736, 3, 99, 29, DS_HIDDEN},
      {1681, DlgKind::Static, "Tarnix", 68, 10, 63, 9},
      {1682, DlgKind::Static, "DEVICE TAG ID:", 245, 10, 63, 9},
      {1684, DlgKind::Static, "DEVICE VERSION:", 245, 40, 63, 9, DS_HIDDEN},
  }});
}

TEST(DialogUnits, BecomePixelsWithBaseUnitsSixByThirteen) {
  // Worked out by hand: x and width times 1.5, y and height times 1.625,
  // each rounded half up on its own.
  struct Case {
    int x, y, cx, cy;
    CRect pixels;
  };
  const Case cases[] = {
      {7, 56, 21, 15, CRect(11, 91, 43, 115)},      // 10.5, 91, 31.5, 24.375
      {2, 6, 61, 40, CRect(3, 10, 95, 75)},         // 3, 9.75, 91.5, 65
      {736, 3, 99, 29, CRect(1104, 5, 1253, 52)},   // 1104, 4.875, 148.5, 47.125
      {68, 10, 63, 9, CRect(102, 16, 197, 31)},     // 102, 16.25, 94.5, 14.625
      {0, 0, 0, 0, CRect(0, 0, 0, 0)},
  };
  for (const Case& c : cases) EXPECT_EQ(plat::DluToPixels(c.x, c.y, c.cx, c.cy), c.pixels) << c.x << "," << c.y;
  EXPECT_EQ(plat::DluToPixels(CSize(847, 73)), CSize(1271, 119));
  EXPECT_EQ(plat::DluToPixels(CSize(850, 42)), CSize(1275, 68));
}

class TemplateLayout : public testing::Test {
 protected:
  void SetUp() override {
    RegisterIdentificationTemplate();
    page = MakePage(host, 135);
    ASSERT_NE(page, nullptr);
  }
  HostWindow host{1400, 300};
  RecordingPage* page = nullptr;
};

TEST_F(TemplateLayout, ControlsStandAtTheirTemplateRectangles) {
  EXPECT_EQ(page->GetTotalSize(), CSize(1271, 119));
  const std::pair<int, CRect> expected[] = {
      {1000, CRect(11, 91, 43, 115)},
      {1002, CRect(3, 10, 95, 75)},
      {1003, CRect(1104, 5, 1253, 52)},
      {1681, CRect(102, 16, 197, 31)},
  };
  for (const auto& [id, rect] : expected) {
    CWnd* item = page->GetDlgItem(id);
    ASSERT_NE(item, nullptr) << id;
    EXPECT_EQ(FromQRect(item->GetSafeWidget()->geometry()), rect) << id;
    EXPECT_EQ(item->GetDlgCtrlID(), id);
    EXPECT_EQ(item->GetParent(), page);
  }
  EXPECT_EQ(page->GetDlgItem(1681)->GetWindowText(), "Tarnix");
  EXPECT_EQ(page->GetDlgItem(4711), nullptr);
}

TEST_F(TemplateLayout, HiddenPlaceholdersStayHiddenAndGiveTheirRectangle) {
  host.ShowWindow(SW_SHOW);
  page->ShowWindow(SW_SHOW);
  CWnd* placeholder = page->GetDlgItem(1002);
  EXPECT_EQ(placeholder->GetStyle() & WS_VISIBLE, 0u);
  EXPECT_FALSE(placeholder->IsWindowVisible());
  EXPECT_TRUE(page->GetDlgItem(1681)->IsWindowVisible());
  EXPECT_FALSE(page->GetDlgItem(1684)->IsWindowVisible());

  // The pages' way to a control's rectangle: screen, then the page's client.
  CRect rect;
  placeholder->GetWindowRect(&rect);
  EXPECT_EQ(rect.Size(), CSize(92, 65));
  page->ScreenToClient(&rect);
  EXPECT_EQ(rect, CRect(3, 10, 95, 75));
  page->ClientToScreen(&rect);
  CRect again;
  placeholder->GetWindowRect(&again);
  EXPECT_EQ(rect, again);
}

TEST_F(TemplateLayout, APageLargerThanItsPaneScrolls) {
  host.ShowWindow(SW_SHOW);
  page->MoveWindow(0, 0, 600, 80);
  QApplication::processEvents();
  auto* area = qobject_cast<QScrollArea*>(page->GetSafeWidget());
  ASSERT_NE(area, nullptr);
  EXPECT_GT(area->horizontalScrollBar()->maximum(), 600);
  EXPECT_GT(area->verticalScrollBar()->maximum(), 0);
  CRect client;
  page->GetClientRect(&client);
  EXPECT_LE(client.Width(), 600);
  // Client coordinates follow the canvas, wherever it is scrolled to.
  area->horizontalScrollBar()->setValue(500);
  CRect rect;
  page->GetDlgItem(1003)->GetWindowRect(&rect);
  page->ScreenToClient(&rect);
  EXPECT_EQ(rect, CRect(1104, 5, 1253, 52));
}

TEST(Templates, AnUnknownTemplateMakesNoPage) {
  LogCapture log;
  HostWindow host;
  EXPECT_EQ(MakePage(host, 4040), nullptr);
  EXPECT_EQ(log.Texts(), std::vector<std::string>{"No dialog template 4040"});
}

TEST(Templates, DuplicateIdsAreToleratedAndTheFirstIsFound) {
  plat::RegisterDialogTemplate(DialogTemplate{9200, 100, 60, {
      {806, DlgKind::Static, "first", 0, 0, 40, 9},
      {806, DlgKind::Static, "second", 0, 12, 40, 9},
  }});
  HostWindow host;
  RecordingPage* page = MakePage(host, 9200);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->GetDlgItem(806)->GetWindowText(), "first");
}

}  // namespace
