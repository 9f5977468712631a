// Pictures by id, statics and buttons showing them, tool tips, context
// help, the wait cursor and system colours.
#include "platform/win/resources.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "platform/sys/paths.h"
#include "platform/win/html_help.h"
#include "platform/win/person.h"
#include "platform/win/sys_colors.h"
#include "platform/win/tooltip.h"
#include "platform/win/wait_cursor_host.h"
#include "sample_template.h"
#include "support/language_table.h"
#include "win_test_support.h"

namespace {

using namespace testsupport;

TEST(Pictures, HaveTheSizesTheProgramExpects) {
  struct Case {
    UINT id;
    bool icon;
    QSize size;
  };
  const Case cases[] = {
      {169, false, {61, 56}}, {131, false, {126, 48}}, {130, false, {61, 14}}, {132, false, {16, 16}},
      {134, false, {16, 16}}, {167, false, {25, 27}},  {152, true, {16, 16}},  {153, true, {16, 16}},
  };
  for (const Case& c : cases) {
    const QPixmap pixmap = c.icon ? plat::IconPixmap(c.id) : plat::BitmapPixmap(c.id);
    EXPECT_EQ(pixmap.size(), c.size) << c.id;
  }
  EXPECT_FALSE(plat::BitmapPixmap(135).isNull());
  EXPECT_TRUE(plat::BitmapPixmap(4711).isNull());
  EXPECT_EQ(LoadBitmap(AfxGetInstanceHandle(), 4711), nullptr);
  EXPECT_EQ(LoadIcon(AfxGetInstanceHandle(), 152), plat::FindIcon(152));

  CBitmap bitmap;
  ASSERT_TRUE(bitmap.LoadBitmap(131));
  BITMAP info;
  EXPECT_GT(bitmap.GetBitmap(&info), 0);
  EXPECT_EQ(info.bmWidth, 126);
  EXPECT_EQ(info.bmHeight, 48);
  EXPECT_FALSE(CBitmap().LoadBitmap(4711));
}

TEST(Pictures, APageAddsOneInOneCall) {
  plat::RegisterBitmap(154, {12, 12}, [](QPainter& p, const QRect& r) { p.fillRect(r, Qt::yellow); });
  const QImage image = plat::BitmapPixmap(154).toImage();
  EXPECT_EQ(image.size(), QSize(12, 12));
  EXPECT_EQ(image.pixelColor(6, 6), QColor(Qt::yellow));
  EXPECT_EQ(plat::ResourceIdOf(plat::FindBitmap(154)), 154u);
}

class PictureControls : public testing::Test {
 protected:
  void SetUp() override {
    RegisterSampleTemplate();
    page = MakePage(host, kSampleTemplate);
    ASSERT_NE(page, nullptr);
  }
  HostWindow host;
  RecordingPage* page = nullptr;
};

TEST_F(PictureControls, AStaticShowsIconsAndBitmapsByHandle) {
  auto* icon = page->GetDlgItemAs<CStatic>(kValidIcon);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->GetIcon(), plat::FindIcon(153)) << "the template's icon";
  const LRESULT previous =
      page->GetDlgItem(kValidIcon)
          ->SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(LoadIcon(AfxGetInstanceHandle(), 152)));
  EXPECT_EQ(reinterpret_cast<HICON>(previous), plat::FindIcon(153));
  EXPECT_EQ(icon->GetIcon(), plat::FindIcon(152));

  // A picture static takes the bitmap's size and keeps its corner.
  auto* picture = page->GetDlgItemAs<CStatic>(kPicture);
  const QPoint corner = picture->GetSafeWidget()->pos();
  EXPECT_EQ(picture->GetSafeWidget()->size(), QSize(61, 56));
  CBitmap connected;
  connected.LoadBitmap(132);
  picture->SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(static_cast<HBITMAP>(connected)));
  EXPECT_EQ(picture->GetSafeWidget()->size(), QSize(16, 16));
  EXPECT_EQ(picture->GetSafeWidget()->pos(), corner);
  EXPECT_EQ(picture->GetBitmap(), connected.GetSafeHandle());
}

TEST_F(PictureControls, AButtonShowsABitmap) {
  CBitmap help;
  ASSERT_TRUE(help.LoadBitmap(135));
  CWnd* button = page->GetDlgItem(kApply);
  EXPECT_EQ(button->SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(help.GetSafeHandle())), 0);
  auto* push = qobject_cast<QPushButton*>(button->GetSafeWidget());
  EXPECT_FALSE(push->icon().isNull());
  EXPECT_EQ(push->iconSize(), QSize(help.GetSize().cx, help.GetSize().cy));
  EXPECT_EQ(button->GetWindowText(), "Start");
}

TEST_F(PictureControls, ToolTipsGoOnWindowsAndAreReplacedByAddingAgain) {
  CToolTipCtrl tips;
  CWnd* edit = page->GetDlgItem(kStartEdit);
  EXPECT_FALSE(tips.AddTool(edit, "before create"));
  CToolTipCtrl::FailCreations(1);
  EXPECT_FALSE(tips.Create(page));
  ASSERT_TRUE(tips.Create(page));
  EXPECT_TRUE(tips.AddTool(edit, "Start position in percent"));
  EXPECT_TRUE(tips.AddTool(edit, "TT_CALIB_ERROR text"));
  EXPECT_EQ(tips.GetToolCount(), 1);
  EXPECT_EQ(edit->GetSafeWidget()->toolTip(), QStringLiteral("TT_CALIB_ERROR text"));
  tips.Activate(FALSE);
  EXPECT_TRUE(edit->GetSafeWidget()->toolTip().isEmpty());
  tips.Activate(TRUE);
  EXPECT_EQ(tips.GetToolText(edit), "TT_CALIB_ERROR text");
  CWnd noWindow;
  EXPECT_FALSE(tips.AddTool(&noWindow, "nothing"));
}

class ContextHelp : public testing::Test {
 protected:
  void SetUp() override {
    // A help file of the test's own: the tests of this suite run side by
    // side, and one's clean-up must not take another's pages away.
    file = std::string("/opt/tarnix/Window Layer Test ") +
           testing::UnitTest::GetInstance()->current_test_info()->name() + " Help-en.chm";
    folder = QString::fromStdString(plat::HelpFolderOf(file.c_str()));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char* name : {"index.html", "312.html"}) {
      QFile page(folder + QString::fromLatin1(name));
      ASSERT_TRUE(page.open(QIODevice::WriteOnly));
      page.write("<html></html>");
    }
  }
  void TearDown() override { QDir(folder).removeRecursively(); }
  std::string file;
  QString folder;
};

TEST_F(ContextHelp, AContextIdOpensItsTopicOrTheDefaultOne) {
  EXPECT_EQ(plat::HelpFolderOf("C:\\Program\\Tarnix Help-de.chm"),
            plat::ProgramDirectory() + "Dependencies/Help/Tarnix Help-de/");
  plat::RecordingHelp help;
  HostWindow caller;
  EXPECT_EQ(HtmlHelp(&caller, file.c_str(), HH_HELP_CONTEXT, 312), &caller);
  EXPECT_EQ(HtmlHelp(&caller, file.c_str(), HH_HELP_CONTEXT, 5), &caller);
  EXPECT_EQ(HtmlHelp(&caller, file.c_str(), HH_DISPLAY_TOPIC, 0), &caller);
  EXPECT_EQ(HtmlHelp(&caller, "/opt/tarnix/No Such Help.chm", HH_HELP_CONTEXT, 5), nullptr);
  ASSERT_EQ(help.calls.size(), 4u);
  const std::string base = folder.toStdString();
  EXPECT_EQ(help.calls[0].topic, base + "312.html");
  EXPECT_EQ(help.calls[1].topic, base + "index.html");
  EXPECT_EQ(help.calls[2].topic, base + "index.html");
  EXPECT_EQ(help.calls[3].topic, "");
  EXPECT_EQ(help.calls[0].command, HH_HELP_CONTEXT);
  EXPECT_EQ(help.calls[0].data, 312u);
}

// Without a browser or launcher the person is told, with the page's path
// (or the help folder's, when there is no page).
TEST_F(ContextHelp, HelpThatCannotBeShownIsToldWithItsPath) {
  const std::string base = folder.toStdString();
  const std::string missingFolder = plat::HelpFolderOf("/opt/tarnix/No Such Help.chm");
  struct Case {
    const char* file;
    bool opens;
    const char* opened;  // what the opener is given; null: not called
    const char* told;    // the path in the message; null: no message
  } cases[] = {
      {file.c_str(), true, "312.html", nullptr},
      {file.c_str(), false, "312.html", "312.html"},
      {"/opt/tarnix/No Such Help.chm", true, nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + (c.opens ? " opens" : " fails"));
    std::vector<std::string> opened;
    plat::DesktopHelp desktop([&](const std::string& path) {
      opened.push_back(path);
      return c.opens;
    });
    plat::SetHelpSystem(&desktop);
    int failures = 0;
    plat::ScriptedPerson person([&](const std::string&) { ++failures; });
    if (c.told) person.Answer(IDOK);
    HostWindow caller;
    const HWND shown = HtmlHelp(&caller, c.file, HH_HELP_CONTEXT, 312);
    plat::SetHelpSystem(nullptr);

    EXPECT_EQ(shown, c.told ? nullptr : &caller);
    EXPECT_EQ(opened, c.opened ? std::vector<std::string>{base + c.opened} : std::vector<std::string>{});
    EXPECT_EQ(failures, 0);
    if (!c.told) {
      EXPECT_TRUE(person.Asked().empty());
      continue;
    }
    ASSERT_EQ(person.Asked().size(), 1u);
    const std::string where = *c.told ? base + c.told : missingFolder;
    EXPECT_EQ(person.Asked()[0].text, TheLanguageTable().Lookup("HELPNOTOPENED").str() + "\n" + where);
    EXPECT_EQ(person.Asked()[0].owner, &caller);
    EXPECT_EQ(person.Asked()[0].type & MB_TYPEMASK, MB_OK);
  }
  // The text exists in every language of the shipped file.
  for (const char* language : {"1033", "1031", "3082", "1036", "1040", "1046", "1055"}) {
    CLanguageTable shipped;
    shipped.Load(LanguageFilePath(), language, false);
    const std::string text = shipped.Lookup("HELPNOTOPENED").str();
    EXPECT_FALSE(text.empty() || text.starts_with("##")) << language;
    if (std::string(language) == "1033") {
      EXPECT_EQ(text, "Help could not be opened:");
    }
  }
}

TEST(WaitCursor, NestsAndComesOffWithTheLastEnd) {
  plat::QtWaitCursorHost host;
  plat::SetWaitCursorHost(&host);
  {
    CWaitCursor outer;
    {
      CWaitCursor inner;
      ASSERT_NE(QApplication::overrideCursor(), nullptr);
      EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
      QApplication::changeOverrideCursor(Qt::ArrowCursor);  // as a dialog would
      inner.Restore();
      EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(host.Depth(), 1);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  plat::EndWaitCursor();  // one End too many changes nothing
  EXPECT_EQ(host.Depth(), 0);
  plat::SetWaitCursorHost(nullptr);
}

TEST(SystemColours, ComeFromThePaletteAndResolveOleColours) {
  const QColor face = QApplication::palette().color(QPalette::Button);
  const COLORREF expected = static_cast<COLORREF>(face.red() | (face.green() << 8) | (face.blue() << 16));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), expected);
  COLORREF resolved = 0;
  EXPECT_EQ(OleTranslateColor(0x8000000F, nullptr, &resolved), S_OK);
  EXPECT_EQ(resolved, expected);
  EXPECT_EQ(OleTranslateColor(0x00FF6633, nullptr, &resolved), S_OK);
  EXPECT_EQ(resolved, 0x00FF6633u);
}

}  // namespace
