// The identification and action strips against the simulated positioner,
// the numeric input check of the test pages, and the shipped help topics
// and captions.
#include <gtest/gtest.h>

#include <QLabel>

#include <cerrno>
#include <clocale>
#include <algorithm>
#include <filesystem>
#include <map>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>

#include "platform/opc/server.h"
#include "platform/sys/paths.h"
#include "platform/sys/time_source.h"
#include "platform/win/html_help.h"
#include "shell/app.h"
#include "shell/status_page.h"
#include "shell/strips.h"
#include "shell/tree_view.h"
#include "shell/validation.h"
#include "sim/install.h"
#include "support/log_capture.h"

namespace {

namespace fs = std::filesystem;

const fs::path kDependencies =
    fs::path(TARNIX_SOURCE_DIR) / "resources/Dependencies";

// Every item code of the navigation tree: each is a help context id.
constexpr int kTreeCodes[] = {0,  1,  2,  21,  22, 23, 24,  3,  31, 312, 32, 321, 322, 323, 33, 34, 341, 342, 4,
                              41, 44, 5,  51, 511, 52, 521, 53, 531, 54, 541, 6,  61,  62,  63, 7,  72, 73,  731, 77};

// ---- Numeric input.

struct ParseCase {
  const char* text;
  double value;          // when it parses
  const char* error;     // null: parses
  bool invalidArgument;  // the empty-input error's own type
};

const ParseCase kParseCases[] = {
    {"1.5", 1.5, nullptr, false},
    {" 5", 5, nullptr, false},
    {"-10", -10, nullptr, false},
    {"1e2", 100, nullptr, false},
    {nullptr, 0, "Input is empty", true},
    {"", 0, "Input is empty", true},
    {" ", 0, "Input format is not valid", false},
    {"5 ", 0, "Input format is not valid", false},
    {"5%", 0, "Input format is not valid", false},
    {"1,5", 0, "Input format is not valid", false},
    {"1.5.2", 0, "Input format is not valid", false},
    {"abc", 0, "Input format is not valid", false},
    {"1e999", 0, "Value is out of range", false},
    {"-1e999", 0, "Value is out of range", false},
};

struct RangeCase {
  const char* text;
  double minimum, maximum;
  bool valid;
};

// The three field kinds of the test pages: positions, times, settling time.
const RangeCase kRangeCases[] = {
    {"110", -10, 110, true},       {"-10", -10, 110, true},     {"110.01", -10, 110, false},
    {"-10.5", -10, 110, false},    {"1e2", -10, 110, true},     {"1e999", -10, 110, false},
    {" 5", -10, 110, true},        {"5 ", -10, 110, false},     {"5%", -10, 110, false},
    {"1,5", -10, 110, false},      {"", -10, 110, false},       {"655.35", 0, 655.35, true},
    {"655.36", 0, 655.35, false},  {"0", 0, 655.35, true},      {"-0.1", 0, 655.35, false},
    {"6", 6, 655.35, true},        {"5.99", 6, 655.35, false},
};

void ExpectParseTable() {
  for (const ParseCase& c : kParseCases) {
    const std::string name = c.text ? "\"" + std::string(c.text) + "\"" : "null";
    errno = ERANGE;  // left over from something else: must not count
    try {
      const double value = ParseDouble(c.text);
      EXPECT_EQ(c.error, nullptr) << name << " parsed as " << value;
      EXPECT_EQ(value, c.value) << name;
    } catch (const std::invalid_argument& e) {
      EXPECT_TRUE(c.invalidArgument) << name;
      EXPECT_STREQ(e.what(), c.error) << name;
    } catch (const std::runtime_error& e) {
      EXPECT_FALSE(c.invalidArgument) << name;
      EXPECT_STREQ(e.what(), c.error) << name;
      EXPECT_NE(errno, ERANGE) << name;
    }
  }
  for (const RangeCase& c : kRangeCases)
    EXPECT_EQ(CValidatorNumericRange_double(c.minimum, c.maximum).IsValid(_variant_t(c.text)), c.valid)
        << "\"" << c.text << "\" in [" << c.minimum << ", " << c.maximum << "]";
}

TEST(NumericInput, ParsesOneNumberAndChecksTheRange) { ExpectParseTable(); }

// A German locale writes and reads a decimal comma; the check keeps ".".
TEST(NumericInput, SameResultsUnderAGermanLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  ExpectParseTable();
  std::setlocale(LC_ALL, previous.c_str());
}

TEST(NumericInput, VariantsThatAreNotText) {
  const CValidatorNumericRange_double position(-10, 110);
  EXPECT_TRUE(position.IsValid(_variant_t(50.5)));
  EXPECT_FALSE(position.IsValid(_variant_t(LONG{111})));
  EXPECT_FALSE(position.IsValid(_variant_t()));  // empty
}

constexpr UINT kCheckPage = 9115;
const plat::DialogTemplateRegistrar kCheckTemplate({kCheckPage, 200, 40, {
    {2001, DlgKind::Edit, "", 5, 5, 60, 12},
    {2002, DlgKind::Picture, "", 70, 5, 10, 10, DS_ICON},
}});

class NumericEdit : public testing::Test {
 protected:
  void SetUp() override {
    host.Create(nullptr, "host", 0, CRect(0, 0, 400, 100), nullptr, 0);
    page = new CFormView(kCheckPage);
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 100), &host, 1));
    edit = page->GetDlgItemAs<CEdit>(2001);
    icon = page->GetDlgItemAs<CStatic>(2002);
    ASSERT_TRUE(edit && icon);
  }
  UINT IconShown() const { return plat::ResourceIdOf(icon->GetIcon()); }

  CWnd host;  // owns the page
  CFormView* page = nullptr;
  CEdit* edit = nullptr;
  CStatic* icon = nullptr;
};

TEST_F(NumericEdit, ShowsTheValidOrInvalidIcon) {
  edit->SetWindowText("655.35");
  EXPECT_TRUE(ValidateNumericEdit(page, edit, kValidateNumericRangeDouble, icon, 0.0, 655.35));
  EXPECT_EQ(IconShown(), 153u);
  edit->SetWindowText("655.36");
  EXPECT_FALSE(ValidateNumericEdit(page, edit, kValidateNumericRangeDouble, icon, 0.0, 655.35));
  EXPECT_EQ(IconShown(), 152u);
}

TEST_F(NumericEdit, NoEditWindowOrAnotherKindLeavesTheIconAlone) {
  edit->SetWindowText("50");
  EXPECT_FALSE(ValidateNumericEdit(page, edit, 1, icon, -10.0, 110.0));
  CWnd noWindow;
  EXPECT_FALSE(ValidateNumericEdit(page, &noWindow, kValidateNumericRangeDouble, icon, -10.0, 110.0));
  EXPECT_FALSE(ValidateNumericEdit(page, icon, kValidateNumericRangeDouble, icon, -10.0, 110.0));  // a static
  EXPECT_EQ(icon->GetIcon(), nullptr);
}

// ---- Captions that keep their texts whole.

constexpr UINT kCaptionPage = 9116;
const plat::DialogTemplateRegistrar kCaptionTemplate({kCaptionPage, 300, 60, {
    {2101, DlgKind::Edit, "", 5, 5, 150, 12},
    {2102, DlgKind::Static, "Source:", 160, 7, 40, 9, DS_RIGHT},
    {2103, DlgKind::Static, "Two lines of room", 5, 25, 100, 30},
}});

// A field one line high never wraps; a right-aligned caption too long for
// its field grows to the left, the control before it giving up the width
// and the space between them kept.
TEST(Captions, OneLineFieldsKeepOneLineAndARightCaptionGrowsLeftward) {
  CWnd host;
  host.Create(nullptr, "host", 0, CRect(0, 0, 500, 120), nullptr, 0);
  auto* page = new CFormView(kCaptionPage);
  ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 500, 120), &host, 1));
  auto label = [page](int id) { return qobject_cast<QLabel*>(page->GetDlgItem(id)->GetSafeWidget()); };
  auto rect = [page](int id) {
    CRect r;
    page->GetDlgItem(id)->GetWindowRect(&r);
    page->ScreenToClient(&r);
    return r;
  };
  EXPECT_FALSE(label(2102)->wordWrap());
  EXPECT_TRUE(label(2103)->wordWrap());

  const CRect edit = rect(2101), caption = rect(2102);
  pages::WidenCaptionLeftward(*page, 2102, 2101);
  EXPECT_EQ(rect(2102), caption);
  EXPECT_EQ(rect(2101), edit);

  page->SetDlgItemText(2102, "A much longer source caption:");
  pages::WidenCaptionLeftward(*page, 2102, 2101);
  EXPECT_EQ(rect(2102).right, caption.right);
  EXPECT_GE(rect(2102).Width(), label(2102)->fontMetrics().horizontalAdvance(label(2102)->text()));
  EXPECT_EQ(rect(2101).left, edit.left);
  EXPECT_EQ(rect(2102).left - rect(2101).right, caption.left - edit.right);
}

// ---- The strips against the simulated positioner.

class Strips : public testing::Test {
 protected:
  void SetUp() override {
    ResetOpcConnection();
    opc::ResetServer();
    opc::RegisterServer();
    sim::ForgetPositioners();
    sim::InstallAsOpcDevices();
    device = sim::PositionerFor("HART/Net/Tarnix1");
    sim::Identity identity = device->GetIdentity();
    identity.tag = "ABCDE";
    device->SetIdentity(identity);
    CWexletCoreCommunication& comm = theApp().m_comm;
    ASSERT_TRUE(comm.Connect("AMS.OPCServer.1", "localhost"));
    ASSERT_EQ(comm.AddGroup("Quorvane"), 1);
    ASSERT_EQ(comm.AddItem("HART/Net/Tarnix1/Param/HART_Frame"), 1);
    comm.m_bLinkOK = 1;
    device->ClearRequests();
    TheLanguageTable().Load(_bstr_t((kDependencies / "Language.xml").string()), "1033", false);
    theApp().m_strHelpFilePath = plat::ProgramDirectory() + "Tarnix Help-en.chm";
    host.Create(nullptr, "main", 0, CRect(0, 0, 1300, 200), nullptr, 0);
  }
  void TearDown() override {
    host.DestroyWindow();
    theApp().m_pTreeView = nullptr;  // a tree made here went with the host
    ResetOpcConnection();
    opc::ResetServer();
    opc::SetDeviceProvider(nullptr);
    sim::ForgetPositioners();
  }

  template <class Strip>
  Strip* Make() {
    auto* strip = new Strip;  // deletes itself with its window
    EXPECT_TRUE(strip->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1280, 120), &host, 0xE900));
    strip->SendInitialUpdate();
    return strip;
  }
  static CRect ScreenRect(const CWnd* window) {
    CRect rect;
    if (window) window->GetWindowRect(&rect);
    return rect;
  }

  testsupport::LogCapture log;
  plat::ManualClock clock;
  plat::ScopedTimeSource time{clock};
  std::shared_ptr<sim::Positioner> device;
  CWnd host;  // owns the strips
};

TEST_F(Strips, IdentificationShowsTheDeviceAndSetsTheProductTitle) {
  CIdentificationArea* strip = Make<CIdentificationArea>();

  // The configuration read follows command 138.
  ASSERT_GE(device->Requests().size(), 2u);
  EXPECT_EQ(device->Requests()[0][0], 138);
  EXPECT_EQ(device->Requests()[1][0], 13);

  // The HART tag as read, padded to eight characters.
  EXPECT_EQ(strip->GetDlgItemText(1683), "ABCDE   ");
  EXPECT_EQ(theApp().m_strProductTitle.str(), "ABCDE    WEXLET");

  const struct {
    int id;
    const char* text;
  } captions[] = {
      {1681, "Tarnix"},         {1682, "DEVICE TAG ID:"}, {1686, "ACTUATOR INFO -> Size:"},
      {1688, "Manufacturer:"},  {1690, "Type:"},          {1692, "Spring Type:"},
      {1700, "Fail Position:"}, {1694, "VALVE BODY INFO -> Model:"},
      {1696, "Body Size:"},     {1698, "Flow Direction:"},
  };
  for (const auto& c : captions) EXPECT_EQ(strip->GetDlgItemText(c.id), c.text) << c.id;

  // The simulator's configuration codes, through the language file.
  const struct {
    int id;
    const char* key;
  } values[] = {
      {1687, "ACT_Size_6_EnumDescr"},        {1689, "ACT_Manufact_Id_2_EnumDescr"},
      {1691, "ACT_Type_LR_1_EnumDescr"},     {1693, "ACT_Spring_Type_3_EnumDescr"},
      {1695, "VALVE_Model_4_EnumDescr"},     {1697, "VALVE_Body_Size_5_EnumDescr"},
      {1699, "VALVE_Flow_Dir_1_EnumDescr"},  {1701, "DC_Fail_Position_2_EnumDescr"},
  };
  for (const auto& v : values) EXPECT_EQ(strip->GetDlgItemText(v.id), TheLanguageTable().Lookup(v.key).str()) << v.id;

  EXPECT_FALSE(strip->GetDlgItem(1684)->IsWindowVisible());
  EXPECT_FALSE(strip->GetDlgItem(1685)->IsWindowVisible());
  EXPECT_FALSE(strip->GetDlgItem(1002)->IsWindowVisible());
  EXPECT_EQ(ScreenRect(strip->GetDlgItem(100)), ScreenRect(strip->GetDlgItem(1002)));
  EXPECT_EQ(ScreenRect(strip->GetDlgItem(101)), ScreenRect(strip->GetDlgItem(1003)));

  // The help button takes its picture's size where the template puts it.
  const CRect button = ScreenRect(strip->GetDlgItem(1000));
  CRect topLeft = plat::DluToPixels(7, 56, 21, 15);
  strip->ClientToScreen(&topLeft);
  EXPECT_EQ(CPoint(button.left, button.top), CPoint(topLeft.left, topLeft.top));
  const QSize bitmap = plat::BitmapPixmap(135).size();
  EXPECT_EQ(CSize(button.Width(), button.Height()), CSize(bitmap.width(), bitmap.height()));
}

// Every caption and value on the strip's lines shows whole, in every
// language: the texts after a longer one move right, and a line beside the
// picture stops short of it.
TEST_F(Strips, IdentificationLinesShowEveryTextWholeInEveryLanguage) {
  for (const char* language : {"1033", "1031", "3082", "1036", "1040", "1046", "1055"}) {
    SCOPED_TRACE(language);
    TheLanguageTable().Load(_bstr_t((kDependencies / "Language.xml").string()), language, false);
    CIdentificationArea* strip = Make<CIdentificationArea>();
    std::map<int, std::vector<std::pair<CRect, int>>> lines;  // top -> rectangle, text width
    for (int id = 1681; id <= 1701; ++id) {
      CWnd* text = strip->GetDlgItem(id);
      if (!text || text->GetSafeWidget()->isHidden()) continue;
      CRect rect = ScreenRect(text);
      strip->ScreenToClient(&rect);
      const QWidget* widget = text->GetSafeWidget();
      lines[rect.top].emplace_back(rect, widget->fontMetrics().horizontalAdvance(QString::fromStdString(text->GetWindowText())));
    }
    CRect picture = ScreenRect(strip->GetDlgItem(101));
    strip->ScreenToClient(&picture);
    for (auto& [top, cells] : lines) {
      std::ranges::sort(cells, {}, [](const auto& cell) { return cell.first.left; });
      for (size_t i = 0; i < cells.size(); ++i) {
        const auto& [rect, textWidth] = cells[i];
        EXPECT_GE(rect.Width(), textWidth) << "line " << top << " cell " << i;
        if (i + 1 < cells.size()) {
          EXPECT_LT(rect.left + textWidth, cells[i + 1].first.left) << "line " << top;
        }
        if (top < picture.bottom) {
          EXPECT_LT(rect.right, picture.left) << "line " << top << " cell " << i;
        }
      }
    }
  }
}

TEST(StripLine, TextsThatFitStayALongerOnePushesWhatFollowsAndTheEndHolds) {
  using strips::Cell;
  using strips::Span;
  // caption, value, caption, value as a template places them
  const std::vector<Cell> fits = {{100, 60, 50, 12}, {165, 80, 70, 4}, {300, 40, 30, 12}, {345, 60, 40, 4}};
  EXPECT_EQ(strips::FlowLine(fits, 500), (std::vector<Span>{{100, 60}, {165, 80}, {300, 40}, {345, 60}}));

  // The first caption needs 90: its value follows 4 after its text, the
  // second pair moves only as far as the value's text needs.
  std::vector<Cell> longer = fits;
  longer[0].textWidth = 90;
  EXPECT_EQ(strips::FlowLine(longer, 500), (std::vector<Span>{{100, 90}, {194, 80}, {300, 40}, {345, 60}}));
  longer[1].textWidth = 110;
  EXPECT_EQ(strips::FlowLine(longer, 500), (std::vector<Span>{{100, 90}, {194, 110}, {316, 40}, {350, 60}}));

  // A long last value draws the pair before it back into the room its
  // template left, no further than its own text needs.
  std::vector<Cell> longLast = fits;
  longLast[3].textWidth = 100;
  EXPECT_EQ(strips::FlowLine(longLast, 430), (std::vector<Span>{{100, 60}, {165, 80}, {296, 40}, {330, 100}}));

  // Packed to the gaps and still too long: the last text is cut at the
  // line's end, one beyond it has no width.
  EXPECT_EQ(strips::FlowLine(longer, 380), (std::vector<Span>{{100, 90}, {194, 110}, {316, 40}, {350, 30}}));
  EXPECT_EQ(strips::FlowLine(longer, 340), (std::vector<Span>{{100, 90}, {194, 110}, {316, 24}, {350, 0}}));
}

TEST_F(Strips, IdentificationWithoutAReplyUsesTheTagItHolds) {
  theApp().m_comm.m_strTag.clear();
  device->InjectNoReply(20);
  CIdentificationArea* strip = Make<CIdentificationArea>();
  EXPECT_EQ(strip->GetDlgItemText(1683), "");
  EXPECT_EQ(theApp().m_strProductTitle.str(), " WEXLET");
}

TEST_F(Strips, HelpButtonShowsTheTopicOfTheSelectedTreeItem) {
  CIdentificationArea* strip = Make<CIdentificationArea>();
  plat::RecordingHelp help;
  auto* button = strip->GetDlgItemAs<CButton>(1000);
  const std::string folder = plat::HelpFolderOf("Tarnix Help-en.chm");

  // No tree yet: the default topic.
  button->Click();
  ASSERT_EQ(help.calls.size(), 1u);
  EXPECT_EQ(help.calls[0].command, HH_DISPLAY_TOPIC);
  EXPECT_EQ(help.calls[0].topic, folder + "index.html");

  auto* tree = new CTarnixWexletView;
  ASSERT_TRUE(tree->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 400), &host, 2));
  tree->SendInitialUpdate();
  CTreeCtrl& items = tree->GetTreeCtrl();
  HTREEITEM cycles = nullptr;
  for (HTREEITEM item : theApp().m_hTreeItems)
    if (item && items.GetItemData(item) == 312) cycles = item;
  ASSERT_NE(cycles, nullptr);
  items.SelectItem(cycles);
  button->Click();
  ASSERT_EQ(help.calls.size(), 2u);
  EXPECT_EQ(help.calls[1].command, HH_HELP_CONTEXT);
  EXPECT_EQ(help.calls[1].data, 312u);
  EXPECT_EQ(help.calls[1].topic, folder + "312.html");
}

TEST_F(Strips, ActionStripFollowsTheLinkAtEachTick) {
  CActionArea* strip = Make<CActionArea>();
  auto* picture = strip->GetDlgItemAs<CStatic>(1009);
  auto shown = [&] { return std::make_pair(strip->GetDlgItemText(1035), plat::ResourceIdOf(picture->GetBitmap())); };
  using Shown = std::pair<std::string, UINT>;

  EXPECT_EQ(ScreenRect(strip->GetDlgItem(102)), ScreenRect(strip->GetDlgItem(1004)));
  clock.Advance(4999);
  EXPECT_EQ(shown(), Shown("", 0u));
  clock.Advance(1);
  EXPECT_EQ(shown(), Shown("Connected", 132u));

  // Two polls without a reply: the second transaction marks the link down.
  device->InjectNoReply(2);
  theApp().m_comm.ReadPriorityBitsAndControlEnable();
  theApp().m_comm.ReadPriorityBitsAndControlEnable();
  ASSERT_EQ(theApp().m_comm.m_bLinkOK, 0);
  clock.Advance(4999);
  EXPECT_EQ(shown(), Shown("Connected", 132u));

  // Another timer id changes nothing and does not move timer 1.
  strip->SendMessage(WM_TIMER, 7);
  EXPECT_EQ(shown(), Shown("Connected", 132u));
  clock.Advance(1);
  EXPECT_EQ(shown(), Shown("Disconnected", 134u));

  // Answered again: the flag is good from the next transaction on.
  theApp().m_comm.ReadPriorityBitsAndControlEnable();
  theApp().m_comm.ReadPriorityBitsAndControlEnable();
  clock.Advance(5000);
  EXPECT_EQ(shown(), Shown("Connected", 132u));
}

// ---- Shipped help and captions.

TEST(HelpTopics, EveryTreeCodeHasATopicInEveryHelpLanguage) {
  for (const char* file : {"Tarnix Help-en.chm", "Tarnix Help-de.chm", "Tarnix Help-es.chm", "Tarnix Help-fr.chm"}) {
    const std::string folder = plat::HelpFolderOf(file);
    EXPECT_EQ(plat::HelpTopicPath(file, HH_DISPLAY_TOPIC, 0), folder + "index.html") << file;
    for (int code : kTreeCodes)
      EXPECT_EQ(plat::HelpTopicPath(file, HH_HELP_CONTEXT, code), folder + std::to_string(code) + ".html")
          << file << " " << code;
  }
}

TEST(HelpTopics, EveryLinkLeadsToAFile) {
  const std::regex link(R"re((?:href|src)="([^"#:]+)(?:#[^"]*)?")re");
  int pages = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kDependencies / "Help")) {
    if (entry.path().extension() != ".html") continue;
    ++pages;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    const std::string html = text.str();
    for (auto it = std::sregex_iterator(html.begin(), html.end(), link); it != std::sregex_iterator(); ++it)
      EXPECT_TRUE(fs::is_regular_file(entry.path().parent_path() / (*it)[1].str()))
          << entry.path() << " links to " << (*it)[1];
  }
  EXPECT_GE(pages, 40);
}

// The tree's captions and the strip's labels in every language of the file.
TEST(Captions, EveryKeyHasATextInEveryLanguage) {
  const char* keys[] = {
      "IDC_BUTTON_DASHBOARD", "IDC_BUTTON_ALARMS", "IDC_BUTTON_ALMANNUCIATE", "IDD_ALARM_MGMT_ANNUNCIATE",
      "IDC_BUTTON_EVENTS", "IDD_TECHANNUNCIATOR", "IDC_BTN_HEALTH", "IDD_HEALTH_VALVE", "VALCYCANDTRAVMENU",
      "IDD_HEALTH_POSITIONER", "IDC_BTN_TEMP", "PILOTMENU", "EDT_ALM_ELE4", "IDD_HEALTH_ACTUATOR", "CTRLHEALTH",
      "IDC_BTN_DEVIATION", "POSNALERT", "MAINONLINEDIAGMENU", "IDD_DIAGNOSTIC_DATALOGGER", "IDD_TECHSENSORS",
      "MAINOFFLINEDIAGMENU", "IDD_DIAGNOSTIC_RAMP_TEST", "IDD_DIAGNOSTIC_RAMPCOMPARE", "IDD_DIAGNOSTIC_STEP_TEST",
      "IDD_DIAGNOSTIC_STEPCOMPARE", "IDD_DIAGNOSTIC_HDRL", "IDD_DIAGNOSTIC_HDRLCOMPARE", "PARTTEST",
      "IDD_DIAGNOSTIC_PSTCOMPARE", "IDC_BUTTON_CALIBRATOR", "EDT_ALM_CAL1", "EDT_ALM_CAL2", "CALERRORS",
      "IDC_BUTTON_CONFIGURATOR", "IDC_STATICSTABLITYLBL", "IDC_BUTTON_CUS_CHAR", "IDD_CONFIG_CUST_CHAR",
      "IDC_BUTTON_INFO_HART",
      // The identification strip.
      "DEVTAGID", "HEADACTINFO", "IDC_STATICSIZE", "IDC_STATICMAN", "IDC_STATICTRTYPE", "IDC_STATICSPRTYPE",
      "HEADBODINFO", "IDC_STATICMODEL", "IDC_STATICBODSIZE", "IDC_STATICBODFLOWDIR", "IDC_STATICFAILPOS"};
  ASSERT_EQ(std::size(keys), 38u + 11u);
  for (const char* language : {"1033", "1031", "3082", "1036", "1040", "1046", "1055"}) {
    CLanguageTable table;
    table.Load(_bstr_t((kDependencies / "Language.xml").string()), language, false);
    for (const char* key : keys) {
      const std::string text = table.Lookup(key).str();
      EXPECT_FALSE(text.empty() || text.rfind("##", 0) == 0) << language << " " << key << ": " << text;
    }
  }
}

}  // namespace
