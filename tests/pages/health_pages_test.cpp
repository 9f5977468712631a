// The health pages against the simulated positioner, on the manual clock:
// their alert rows, masks, descriptions, legend, values, counter resets
// and links.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

#include "annunciator_fixture.h"
#include "app/page_table.h"
#include "platform/win/resources.h"
#include "shell/tree_view.h"
#include "support/language_table.h"
#include "views/health/actuator_health.h"
#include "views/health/control_loop_health.h"
#include "views/health/positioner_health.h"
#include "views/health/valve_health.h"

namespace {

using testpages::Bytes;
using testpages::Filled;
using testpages::kReadMasks;
using testpages::kReadStatus;
using testpages::Mask;

const Bytes kStatusPoll = {200, 4, 0, 8, 0, 42};

constexpr int kValveView = 5, kPositionerView = 7, kActuatorView = 11, kControlView = 12;

class HealthPages : public testpages::AnnunciatorPageTest {
 protected:
  void TearDown() override {
    theApp().m_pTreeView = nullptr;
    AnnunciatorPageTest::TearDown();
  }
  // The navigation tree that the links select in.
  CTreeCtrl& Tree() {
    auto* tree = new CTarnixWexletView;
    EXPECT_TRUE(tree->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 400), &host, 2));
    tree->SendInitialUpdate();
    theApp().m_pTreeView = tree;
    return tree->GetTreeCtrl();
  }
  static int Selected(CTreeCtrl& tree) { return static_cast<int>(tree.GetItemData(tree.GetSelectedItem())); }
  // The first visit up to the tick that colours the lamps and brings the
  // buttons: the control loop reads its values a tick before its status.
  static int FirstRefreshTicks(int viewIndex) { return viewIndex == kControlView ? 4 : 3; }
  void OpenAndRefresh(int viewIndex) {
    Open(viewIndex);
    Tick(FirstRefreshTicks(viewIndex));
  }
  static std::string Lookup(const char* key) { return TheLanguageTable().Lookup(key).str(); }
};

constexpr int kApply = CAnnunciatorPage::kApplyId, kRetrieve = CAnnunciatorPage::kRetrieveId;

// ---- Actuator.

constexpr int kSupplyMask = 1448, kSupplySelect = 1449, kActImplications = 1424, kActSolutions = 1346;

TEST_F(HealthPages, ActuatorRowLightsFromItsStatusBitWhateverTheMask) {
  Mask masks = Filled(0xFF);
  masks[15] = 0xFB;  // supply pressure masked
  SetDevice(masks, 15, 0x04);
  Open(kActuatorView);
  EXPECT_EQ(page->GetLampColour(0), 0x696969u);
  EXPECT_FALSE(Enabled(kSupplyMask));
  EXPECT_EQ(Sent(), std::vector<Bytes>{});  // rows enabled
  EXPECT_TRUE(Enabled(kSupplyMask));
  EXPECT_FALSE(Enabled(kApply));
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadMasks});
  EXPECT_EQ(Check(kSupplyMask), 1);
  EXPECT_TRUE(Enabled(kApply));
  EXPECT_TRUE(Enabled(kRetrieve));
  EXPECT_EQ(Sent(), (std::vector<Bytes>{kStatusPoll, kReadStatus}));
  EXPECT_EQ(page->GetLampColour(0), 0x0A0AFFu);
  EXPECT_EQ(Sent(), std::vector<Bytes>{});

  SetDevice(masks, 15, 0xFB);  // every bit but the row's
  Tick(2);
  EXPECT_EQ(page->GetLampColour(0), 0x006400u);
  EXPECT_EQ(log.Texts(), std::vector<std::string>{});
}

TEST_F(HealthPages, ActuatorApplyChangesOnlyItsBit) {
  struct Case {
    std::uint8_t before;
    int shown;
    std::uint8_t written;  // after a click on the check box
  };
  const Case cases[] = {
      {0x04, 0, 0x00},  // reported, then masked
      {0xFB, 1, 0xFF},  // masked, then reported
      {0x5E, 0, 0x5A},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.before));
    Mask masks = Filled(0xA5);
    masks[15] = c.before;
    SetDevice(masks);
    Open(kActuatorView);
    Tick(2);
    EXPECT_EQ(Check(kSupplyMask), c.shown);
    Click(kSupplyMask);
    Click(kApply);
    EXPECT_FALSE(Enabled(kApply));

    Bytes frame(34, 0xA5);
    frame[0] = 177;
    frame[1] = 32;
    frame[2 + 15] = c.written;
    EXPECT_EQ(Sent(), std::vector<Bytes>{frame});
    EXPECT_EQ(device->State().status.masks[15], c.written);
    EXPECT_EQ(Check(kSupplyMask), 1 - c.shown);
    EXPECT_TRUE(Enabled(kApply));
    page->StopMonitoring();
  }
}

TEST_F(HealthPages, ActuatorSelectShowsTheTextsUntilThePageIsShownAgain) {
  SetDevice(Filled(0xFF));
  Open(kActuatorView);
  Tick(2);
  EXPECT_EQ(Check(1189), 1);  // legend samples
  EXPECT_EQ(Check(1301), 1);
  Click(kSupplySelect);
  const std::string implications = TheLanguageTable().Lookup("SUPPLY_PRESS_LO_WRNLONG").str();
  EXPECT_EQ(Text(kActImplications), implications);
  EXPECT_EQ(Text(kActSolutions), TheLanguageTable().Lookup("SUPPLY_PRESS_LO_WRNRES").str());

  page->StopMonitoring();
  page->StartMonitoring();
  EXPECT_EQ(Text(kActImplications), "");
  EXPECT_EQ(Text(kActSolutions), "");
  EXPECT_EQ(Check(kSupplySelect), 0);
}

// ---- Positioner.

constexpr int kResponseMask = 1371, kCyclesMask = 1375, kTravelMask = 1077;
constexpr int kResetCycles = CHealth_Pos_MainView::kResetCyclesId, kResetTravel = CHealth_Pos_MainView::kResetTravelId;
constexpr int kCyclesBox = 786, kTravelBox = 1443;
constexpr size_t kResponseRow = 0, kCyclesRow = 1, kPiezoLowRow = 5, kPiezoHighRow = 6, kMainBoardRow = 7;

class PositionerHealth : public HealthPages {
 protected:
  void OpenAndRefresh() { HealthPages::OpenAndRefresh(kPositionerView); }
  // Opened with one English text replaced, as a longer language gives it.
  void OpenAndRefreshWithText(const char* key, const char* text) {
    // Tests run side by side: a file of this test's own.
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("tarnix-" + std::string(key) + "-" + std::to_string(::getpid()) + ".xml");
    std::ofstream(file) << "<languagefile><languages><language lcid=\"1033\" code=\"en\"/></languages>"
                        << "<text key=\"" << key << "\"><locale code=\"en\">" << text << "</locale></text>"
                        << "</languagefile>";
    CLanguageTable& table = TheLanguageTable();
    const _bstr_t shipped(std::string(TARNIX_SOURCE_DIR) + "/resources/Dependencies/Language.xml");
    table.Load(shipped, "1033", false);
    table.Load(_bstr_t(file.string()), "1033", true);
    OpenAndRefresh();
    table.Load(shipped, "1033", false);
    std::filesystem::remove(file);
  }
  CRect Rect(int id) const {
    CRect r;
    page->GetDlgItem(id)->GetWindowRect(&r);
    page->ScreenToClient(&r);
    return r;
  }
};

TEST_F(PositionerHealth, RowLampsFollowTheirBitsAndAWarningBeatsItsAlarm) {
  struct Case {
    int byte;
    std::uint8_t status;
    size_t row;
    COLORREF colour;
  };
  const Case cases[] = {
      {18, 0x03, kResponseRow, 0x00FFFF}, {18, 0x02, kResponseRow, 0x0A0AFF}, {18, 0x20, kPiezoLowRow, 0x0A0AFF},
      {18, 0x30, kPiezoLowRow, 0x00FFFF}, {18, 0x08, kPiezoHighRow, 0x0A0AFF}, {18, 0x00, kPiezoHighRow, 0x006400},
      {13, 0x40, kCyclesRow, 0x00FFFF},   {19, 0x01, kMainBoardRow, 0x0A0AFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.byte << " " << int{c.status});
    SetDevice(Filled(0xFF), c.byte, c.status);
    Open(kPositionerView);
    EXPECT_EQ(page->GetLampColour(c.row), 0x696969u);
    Tick(3);
    EXPECT_EQ(page->GetLampColour(c.row), c.colour);
    page->StopMonitoring();
    SetDevice(Filled(0xFF), c.byte, 0);
  }
}

TEST_F(PositionerHealth, PairedMaskBitsThatDifferStayAsTheyWereOnApply) {
  Mask masks = Filled(0xFF);
  masks[18] = 0xFE;
  masks[13] = 0x40;
  SetDevice(masks);
  OpenAndRefresh();
  EXPECT_EQ(Check(kResponseMask), 2);
  EXPECT_EQ(Check(kCyclesMask), 0);
  EXPECT_EQ(Check(kTravelMask), 1);

  Click(kApply);
  Bytes frame(34, 0xFF);
  frame[0] = 177;
  frame[1] = 32;
  frame[2 + 18] = 0xFE;
  frame[2 + 13] = 0x40;
  EXPECT_EQ(Sent(), std::vector<Bytes>{frame});
}

TEST_F(PositionerHealth, ValuesAndTemperatureUnit) {
  SetDevice(Filled(0xFF));
  device->SetVariable(295, 0.25);
  device->SetVariable(335, 4321);
  device->SetVariable(331, 77);
  device->SetVariable(135, 31.5);
  device->SetVariable(490, 42.25);
  device->SetVariable(152, 33);
  OpenAndRefresh();
  EXPECT_EQ(Text(1373), "250");
  EXPECT_EQ(Text(kCyclesBox), "4321");
  EXPECT_EQ(Text(kTravelBox), "77");
  EXPECT_EQ(Text(794), "88.70");  // 31.5 degrees C, as the device reports it in F
  EXPECT_EQ(Text(1407), "42.25");
  EXPECT_EQ(Text(1773), "\u00B0F");
  EXPECT_TRUE(Enabled(kResetCycles));
  EXPECT_TRUE(Enabled(kResetTravel));
  EXPECT_EQ(log.Texts(), std::vector<std::string>{});
}

// A value caption longer than its field: the caption shows whole, its
// line moves right into what room the line has and the box gives up the
// rest; nothing runs into the next item or the link, whose right end stays.
TEST_F(PositionerHealth, ALongerValueCaptionTakesTheRoomItNeeds) {
  OpenAndRefreshWithText("IDC_ILABELXCURVAL", "A much longer current value:");
  auto rect = [this](int id) { return Rect(id); };
  struct Line {
    int caption;
    std::vector<int> rest;  // box, unit, Reset button, link: left to right
  };
  const Line lines[] = {{1439, {1373, 1360, 327}}, {1440, {786, kResetCycles, 328}},
                        {1442, {kTravelBox, 1361, kResetTravel, 330}}};
  for (const Line& line : lines) {
    SCOPED_TRACE(line.caption);
    const QWidget* caption = page->GetDlgItem(line.caption)->GetSafeWidget();
    EXPECT_GE(caption->width(), caption->fontMetrics().horizontalAdvance("A much longer current value:"));
    int end = rect(line.caption).right;
    for (int id : line.rest) {
      EXPECT_LE(end, rect(id).left) << id;
      EXPECT_GT(rect(id).Width(), 0) << id;
      end = rect(id).right;
    }
    CRect group;
    page->GetDlgItem(line.caption == 1439 ? 1367 : line.caption == 1440 ? 1366 : 1376)->GetWindowRect(&group);
    page->ScreenToClient(&group);
    EXPECT_NEAR(end, group.right - plat::DluToPixelsX(4), 1);
  }
}

// A link word longer than the room a line with a Reset button leaves goes
// up beside the group's status row, whole and clear of the button.
TEST_F(PositionerHealth, ALongerLinkWordKeepsClearOfTheResetButton) {
  OpenAndRefreshWithText("IDC_BTN_CFG_SETTINGS", "Einstellungen");
  auto rect = [this](int id) { return Rect(id); };
  for (const auto& [link, reset] : {std::pair{328, kResetCycles}, std::pair{330, kResetTravel}}) {
    SCOPED_TRACE(link);
    const QWidget* caption = page->GetDlgItem(1440)->GetSafeWidget();
    EXPECT_GE(rect(link).Width(), caption->fontMetrics().horizontalAdvance("Einstellungen"));
    const CRect a = rect(link), b = rect(reset);
    EXPECT_TRUE(a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top)
        << "the link runs into the Reset button";
  }
}

// The write carries the device's limits as read, big-endian, and the
// select byte: 2 resets the cycles, 1 the travel.
TEST_F(PositionerHealth, ResetReadsTheRecordThenWritesItWithTheSelectByte) {
  struct Case {
    int button;
    std::uint8_t select;
    int box;
  };
  for (const Case& c : {Case{kResetCycles, 2, kCyclesBox}, Case{kResetTravel, 1, kTravelBox}}) {
    SCOPED_TRACE(c.button);
    SetDevice(Filled(0xFF));
    ModifyState(testpages::SetPilotRecord);
    OpenAndRefresh();
    Click(c.button);
    EXPECT_FALSE(Enabled(kResetCycles));
    EXPECT_FALSE(Enabled(kApply));
    EXPECT_EQ(Sent(), std::vector<Bytes>{{162}});
    const Bytes write = {163, 17, 1, 2, 3, 4, 5, 6, 7, 8, 0x0A, 0x0B, 0x0C, 0x0D, 0x11, 0x12, 0x13, 0x14, c.select};
    EXPECT_EQ(Sent(), std::vector<Bytes>{write});
    EXPECT_EQ(Text(c.box), "0");
    EXPECT_TRUE(Enabled(kResetCycles));
    EXPECT_TRUE(Enabled(kApply));
    page->StopMonitoring();
  }
}

TEST_F(PositionerHealth, ResetWhoseReadIsLostWritesNothing) {
  SetDevice(Filled(0xFF));
  OpenAndRefresh();
  Click(kResetCycles);
  device->InjectNoReply();
  Sent();
  EXPECT_TRUE(Enabled(kResetCycles));
  EXPECT_TRUE(Enabled(kApply));
  for (int k = 0; k < 3; ++k)
    for (const Bytes& sent : Sent()) EXPECT_NE(sent.front(), 163);
  EXPECT_EQ(device->State().travel.pilot.count2, sim::TravelRecords{}.pilot.count2);
  EXPECT_EQ(log.Texts().size(), 1u);
}

TEST_F(PositionerHealth, LinksSelectTheirPagesInTheTree) {
  CTreeCtrl& items = Tree();
  SetDevice(Filled(0xFF));
  Open(kPositionerView);
  for (auto [label, item] : {std::pair{327, 322}, {328, 322}, {330, 322}, {329, 321}, {333, 323}}) {
    page->OnControlEvent(label, 1, {});
    EXPECT_EQ(Selected(items), item) << label;
  }
  page->StopMonitoring();
}

// ---- Valve and control loop.

using Valve = CHealth_Val_MainView;
using Control = CHealth_Ctl_MainView;

// A status bit of the device and the lamp it lights on a page.
struct LampCase {
  int view;
  int byte;
  std::uint8_t status;
  size_t row;
  COLORREF colour;
};

TEST_F(HealthPages, ValveAndControlLoopRowLampsFollowTheirBits) {
  const LampCase cases[] = {
      {kValveView, 13, 0x01, 0, 0x00FFFF},   {kValveView, 13, 0x02, 1, 0x00FFFF},
      {kValveView, 16, 0x40, 2, 0x0A0AFF},   {kValveView, 16, 0x80, 3, 0x0A0AFF},
      {kValveView, 11, 0x04, 4, 0x00FFFF},   {kValveView, 11, 0x08, 5, 0x00FFFF},
      {kValveView, 11, 0xF3, 4, 0x006400},   {kControlView, 11, 0x41, 0, 0x0A0AFF},
      {kControlView, 11, 0x41, 3, 0x00FFFF}, {kControlView, 12, 0x02, 1, 0x00FFFF},
      {kControlView, 12, 0x02, 2, 0x006400}, {kControlView, 12, 0x01, 2, 0x00FFFF},
  };
  for (const LampCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.view << " " << c.byte << " " << int{c.status} << " " << c.row);
    SetDevice(Filled(0xFF), c.byte, c.status);
    Open(c.view);
    EXPECT_EQ(page->GetLampColour(c.row), 0x696969u);
    Tick(FirstRefreshTicks(c.view));
    EXPECT_EQ(page->GetLampColour(c.row), c.colour);
    page->StopMonitoring();
    SetDevice(Filled(0xFF), c.byte, 0);
  }
  EXPECT_EQ(log.Texts(), std::vector<std::string>{});
}

// Only the page's own bits change; the rest of the block goes back as read.
TEST_F(HealthPages, ValveAndControlLoopApplyWriteBackEverythingElse) {
  struct Case {
    int view;
    std::vector<std::pair<int, std::uint8_t>> read;  // byte, mask
    std::vector<std::pair<int, int>> shown;          // check box, check
    std::vector<int> clicks;
    std::vector<std::pair<int, std::uint8_t>> written;
  };
  const Case cases[] = {
      {kValveView,
       {{11, 0xFF}, {13, 0x00}, {16, 0x3F}},
       {{1405, 1}, {1407, 1}, {1413, 1}, {1416, 1}, {1419, 0}, {1422, 0}},
       {1405, 1419},
       {{11, 0xFB}, {13, 0x01}, {16, 0x3F}}},
      {kControlView,
       {{11, 0xBE}, {12, 0xFD}},
       {{421, 1}, {422, 1}, {427, 0}, {1122, 1}},
       {427},
       {{11, 0xBE}, {12, 0xFC}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.view);
    Mask masks = Filled(0xA5);
    for (auto [byte, mask] : c.read) masks[byte] = mask;
    SetDevice(masks);
    OpenAndRefresh(c.view);
    for (auto [box, check] : c.shown) EXPECT_EQ(Check(box), check) << box;
    for (int box : c.clicks) Click(box);
    EXPECT_EQ(DeviceMasks(), masks);  // nothing written before Apply
    Click(kApply);
    Bytes frame(34, 0xA5);
    frame[0] = 177;
    frame[1] = 32;
    for (auto [byte, mask] : c.written) frame[2 + byte] = mask;
    EXPECT_EQ(Sent(), std::vector<Bytes>{frame});
    page->StopMonitoring();
  }
}

TEST_F(HealthPages, ValveShowsItsCountsUnsignedAndTravelInItsUnit) {
  SetDevice(Filled(0xFF));
  device->SetVariable(305, 4294967295.0);
  device->SetVariable(301, 2147483648.0);
  device->SetVariable(116, 0.5);
  device->SetVariable(150, 47);
  Open(kValveView);
  EXPECT_EQ(Sent(), std::vector<Bytes>{testpages::Read200({150})});
  EXPECT_EQ(Text(Valve::kTravelUnit), Lookup("TRAVEL_units_47_EnumDescr"));
  Tick(2);
  EXPECT_EQ(Text(Valve::kCyclesBox), "4294967295");
  EXPECT_EQ(Text(Valve::kTravelBox), "1073741824.0");
  EXPECT_EQ(log.Texts(), std::vector<std::string>{});
}

// The write carries the record as read (limits and settings big-endian,
// the settings as floats) and the select byte: 2 resets the cycles, 1 the
// travel. The boxes show the record's counts, the travel without
// decimals, until the next refresh.
TEST_F(HealthPages, ValveResetReadsTheRecordThenWritesItWithTheSelectByte) {
  struct Case {
    int button;
    std::uint8_t select;
    const char* cycles;
    const char* travel;
  };
  const Case cases[] = {
      {Valve::kResetCyclesId, 2, "0", "2250"},
      {Valve::kResetTravelId, 1, "800", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    SetDevice(Filled(0xFF));
    ModifyState([](sim::DeviceState& s) {
      s.travel.valve.limit1A = 0x01020304;
      s.travel.valve.limit1B = 0x05060708;
      s.travel.valve.limit2A = 0x0A0B0C0D;
      s.travel.valve.limit2B = 0x11121314;
      s.travel.valve.setting1 = 1.0f;
      s.travel.valve.setting2 = -2.0f;
      s.travel.valve.setting3 = 0.5f;
      s.travel.valve.count1 = 900;
      s.travel.valve.count2 = 800;
    });
    device->SetVariable(116, 2.5);
    OpenAndRefresh(kValveView);
    Click(c.button);
    EXPECT_FALSE(Enabled(Valve::kResetCyclesId));
    EXPECT_FALSE(Enabled(kApply));
    EXPECT_EQ(Sent(), std::vector<Bytes>{{156}});
    const Bytes write = {157,  29,   1,    2,    3,    4,    5,    6,    7,    8,    0x0A, 0x0B, 0x0C, 0x0D, 0x11, 0x12,
                         0x13, 0x14, 0x3F, 0x80, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x00, c.select};
    EXPECT_EQ(Sent(), std::vector<Bytes>{write});
    EXPECT_EQ(Text(Valve::kCyclesBox), c.cycles);
    EXPECT_EQ(Text(Valve::kTravelBox), c.travel);
    EXPECT_TRUE(Enabled(Valve::kResetCyclesId));
    EXPECT_TRUE(Enabled(kApply));
    Tick(3);  // the reset's ticks do not count down to the refresh
    EXPECT_EQ(Text(Valve::kTravelBox), std::string(c.travel) + ".0");
    page->StopMonitoring();
  }
}

TEST_F(HealthPages, ValveResetWhoseReadIsLostWritesNothing) {
  SetDevice(Filled(0xFF));
  OpenAndRefresh(kValveView);
  const sim::TravelCycle before = device->State().travel.valve;
  Click(Valve::kResetTravelId);
  device->InjectNoReply();
  Sent();
  EXPECT_TRUE(Enabled(Valve::kResetTravelId));
  for (int k = 0; k < 3; ++k)
    for (const Bytes& sent : Sent()) EXPECT_NE(sent.front(), 157);
  EXPECT_EQ(device->State().travel.valve.count1, before.count1);
}

// A link is grey and takes no click while a request waits, and leads to
// its page once the buttons are back.
TEST_F(HealthPages, LinksRestWhileARequestIsPending) {
  struct Case {
    int view;
    std::vector<std::pair<UINT, int>> links;  // label, tree item
  };
  const Case cases[] = {
      {kValveView, {{393, 312}, {394, 312}}},
      {kControlView, {{366, 341}, {367, 342}, {371, 54}}},
  };
  CTreeCtrl& tree = Tree();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.view);
    SetDevice(Filled(0xFF));
    Open(c.view);
    auto label = [&](UINT id) {
      return _com_ptr_t<IUnknown>(page->GetDlgItem(static_cast<int>(id))->GetControlUnknown());
    };
    auto expectLinks = [&](BOOL active, COLORREF colour) {
      for (auto [id, item] : c.links) {
        activex::IiLabelXPtr link(label(id));
        IControlPtr settings(label(id));
        ASSERT_TRUE(link && settings);
        BOOL enabled = !active;
        link->get_Enabled(&enabled);
        EXPECT_EQ(enabled, active) << id;
        _variant_t linkColour;
        settings->GetSetting(activex::LabelRow(5), &linkColour);
        EXPECT_EQ(static_cast<COLORREF>(linkColour.lVal), colour) << id;
      }
    };
    auto userClick = [&](UINT id) { IControlTestPtr(label(id))->UserEvent(1, {}); };

    expectLinks(FALSE, 0x696969);  // until the first refresh
    Tick(FirstRefreshTicks(c.view));
    expectLinks(TRUE, 0x990033);
    Click(kApply);
    expectLinks(FALSE, 0x696969);
    const HTREEITEM before = tree.GetSelectedItem();
    for (auto [id, item] : c.links) {
      userClick(id);
      EXPECT_EQ(tree.GetSelectedItem(), before) << id;
    }
    Tick(c.view == kControlView ? 3 : 2);  // the write, then the refresh (values, status)
    expectLinks(TRUE, 0x990033);
    for (auto [id, item] : c.links) {
      userClick(id);
      EXPECT_EQ(Selected(tree), item) << id;
    }
    page->StopMonitoring();
  }
}

TEST_F(HealthPages, ControlLoopValuesAndTestResult) {
  SetDevice(Filled(0xFF));
  device->SetVariable(6, 100);  // the valve at rest fully open
  device->SetVariable(10, 100);
  device->SetVariable(288, 0);
  OpenAndRefresh(kControlView);
  EXPECT_EQ(Text(Control::kDeviationBox), "0.0");
  EXPECT_EQ(Text(Control::kPositionBox), "100.0");
  EXPECT_EQ(Text(Control::kPstResultBox), Lookup("PST_RESULT_0_EnumDescr"));
  // A code without a text keeps the last result.
  struct Case {
    int code;
    const char* key;
  };
  for (const Case& c : {Case{3, "PST_RESULT_3_EnumDescr"}, Case{7, "PST_RESULT_3_EnumDescr"}}) {
    device->SetVariable(288, c.code);
    Tick(3);
    EXPECT_EQ(Text(Control::kPstResultBox), Lookup(c.key)) << c.code;
  }
}

TEST_F(HealthPages, ValveAndControlLoopSelectFillTheDescriptions) {
  struct Case {
    int view;
    int selector;
    const char* implications;
    const char* solutions;
    int implicationsBox, solutionsBox;
  };
  const Case cases[] = {
      {kValveView, 7006, "VALCANTSHUTLONG", "VALVCANTRES", 1500, 1499},
      {kValveView, 1423, "VALCLOSE_TOOFARLONG", "VAL_TOOFARRES", 1500, 1499},
      {kControlView, 621, "PSN_LOW_LIMIT_ALERTLONG", "PSN_LOW_LIMIT_ALERTRES", 1305, 1542},
      {kControlView, 639, "PST_FAILED_WRNLONG", "PST_FAILED_WRNRES", 1305, 1542},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selector);
    SetDevice(Filled(0xFF));
    OpenAndRefresh(c.view);
    Click(c.selector);
    EXPECT_EQ(Text(c.implicationsBox), Lookup(c.implications));
    EXPECT_EQ(Text(c.solutionsBox), Lookup(c.solutions));
    page->StopMonitoring();
  }
}

// ---- The four machines.

// The 32 mask bytes as Apply writes them back.
Bytes MaskWrite(std::uint8_t mask) {
  Bytes frame(34, mask);
  frame[0] = 177;
  frame[1] = 32;
  return frame;
}

// From the first visit tick by tick, then from a click on Apply: the
// header's poll goes out in the tick of the page's reads, never a tick
// apart; the control loop counts its poll and its values apart.
TEST_F(HealthPages, EachTickSendsWhatThePagesMachineAsks) {
  using Ticks = std::vector<std::vector<Bytes>>;
  const Bytes pos = testpages::Read200({295, 335, 135, 490, 331});
  const Bytes valve = testpages::Read200({305, 301, 116});
  const Bytes loop = testpages::Read200({10, 12, 288});
  const Bytes write = MaskWrite(0xFF);
  struct Case {
    int view;
    Ticks shown;
    Ticks applied;
  };
  const Case cases[] = {
      {kPositionerView,
       {{testpages::Read200({152})}, {kReadMasks}, {kStatusPoll, pos, kReadStatus}, {}, {}, {kStatusPoll, pos, kReadStatus}},
       {{write}, {kStatusPoll, pos, kReadStatus}, {}, {}, {kStatusPoll, pos, kReadStatus}}},
      {kValveView,
       {{testpages::Read200({150})}, {kReadMasks}, {kStatusPoll, kReadStatus, valve}, {}, {}, {kStatusPoll, kReadStatus, valve}},
       {{write}, {kStatusPoll, kReadStatus, valve}, {}, {}}},
      {kActuatorView,
       {{}, {kReadMasks}, {kStatusPoll, kReadStatus}, {}, {}, {kStatusPoll, kReadStatus}},
       {{write}, {kStatusPoll, kReadStatus}, {}, {}}},
      {kControlView,
       {{},
        {kReadMasks},
        {kStatusPoll, loop},
        {kReadStatus},
        {},
        {loop},
        {kReadStatus},
        {kStatusPoll},
        {loop},
        {kReadStatus},
        {},
        {kStatusPoll, loop},
        {kReadStatus}},
       // The values fall due at once; the poll keeps its own count.
       {{write}, {loop}, {kReadStatus}, {}, {kStatusPoll, loop}, {kReadStatus}, {}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.view);
    SetDevice(Filled(0xFF));
    Open(c.view);
    for (size_t k = 0; k < c.shown.size(); ++k) EXPECT_EQ(Sent(), c.shown[k]) << "tick " << k + 1;
    Click(kApply);
    for (size_t k = 0; k < c.applied.size(); ++k) EXPECT_EQ(Sent(), c.applied[k]) << "tick " << k + 1 << " after Apply";
    page->StopMonitoring();
  }
  EXPECT_EQ(log.Texts(), std::vector<std::string>{});
}

// The rows (mask check box and selector) and the buttons on the first
// visit, tick by tick, and the buttons again after Apply and Retrieve.
TEST_F(HealthPages, RowsAndButtonsComeWhenTheMachineBringsThem) {
  struct Case {
    int view;
    int mask, selector;
    int rowsAt, buttonsAt;  // first visit
    int backAfterApply, backAfterRetrieve;
  };
  const Case cases[] = {
      {kPositionerView, kResponseMask, 1372, 3, 3, 1, 2},
      {kValveView, 1405, 1828, 3, 3, 2, 2},
      {kActuatorView, kSupplyMask, kSupplySelect, 1, 2, 1, 1},
      {kControlView, 421, 1514, 1, 4, 3, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.view);
    SetDevice(Filled(0xFF));
    Open(c.view);
    for (int tick = 1; tick <= 4; ++tick) {
      Tick();
      EXPECT_EQ(Enabled(c.mask), tick >= c.rowsAt) << tick;
      EXPECT_EQ(Enabled(c.selector), tick >= c.rowsAt) << tick;
      EXPECT_EQ(Enabled(kApply), tick >= c.buttonsAt) << tick;
      EXPECT_EQ(Enabled(kRetrieve), tick >= c.buttonsAt) << tick;
    }
    Tick(4);  // past the machine's first pass, wherever the counts stand
    for (auto [button, back] : {std::pair{kApply, c.backAfterApply}, {kRetrieve, c.backAfterRetrieve}}) {
      Click(button);
      for (int tick = 1; tick <= back; ++tick) {
        EXPECT_FALSE(Enabled(kApply)) << button << " " << tick;
        Tick();
        EXPECT_EQ(Enabled(kApply), tick == back) << button << " " << tick;
        EXPECT_EQ(Enabled(kRetrieve), tick == back) << button << " " << tick;
      }
    }
    page->StopMonitoring();
  }
}

// Shown again, a page keeps its lamps and its enabled rows from the last
// visit until its next refresh; only the buttons wait for the machine.
TEST_F(HealthPages, ShownAgainKeepsTheLampsAndTheRowsEnabled) {
  struct Case {
    LampCase lamp;
    int mask, selector;
  };
  const Case cases[] = {
      {{kPositionerView, 19, 0x01, kMainBoardRow, 0x0A0AFF}, 1402, 1403},
      {{kValveView, 16, 0x40, 2, 0x0A0AFF}, 1413, 7005},
      {{kActuatorView, 15, 0x04, 0, 0x0A0AFF}, kSupplyMask, kSupplySelect},
      {{kControlView, 11, 0x41, 3, 0x00FFFF}, 1122, 639},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lamp.view);
    SetDevice(Filled(0xFF), c.lamp.byte, c.lamp.status);
    OpenAndRefresh(c.lamp.view);
    ASSERT_EQ(page->GetLampColour(c.lamp.row), c.lamp.colour);
    std::vector<COLORREF> lamps;
    for (size_t row = 0; page->GetLampColour(row) != 0xFFFFFFFF; ++row) lamps.push_back(page->GetLampColour(row));
    page->StopMonitoring();
    page->StartMonitoring();
    EXPECT_FALSE(Enabled(kApply));
    for (int tick = 0; tick < 2; ++tick) {
      for (size_t row = 0; row < lamps.size(); ++row) EXPECT_EQ(page->GetLampColour(row), lamps[row]) << tick;
      EXPECT_TRUE(Enabled(c.mask)) << tick;
      EXPECT_TRUE(Enabled(c.selector)) << tick;
      Tick();
    }
    page->StopMonitoring();
    SetDevice(Filled(0xFF), c.lamp.byte, 0);
  }
}

// The positioner's Reset waits for the running tick; the valve's restarts
// the period as Apply does.
TEST_F(HealthPages, AResetClickKeepsOrRestartsThePeriod) {
  struct Case {
    int view;
    int button;
    Bytes read;
    int readAfterMs;  // from the click, two seconds into the period
  };
  const Case cases[] = {
      {kPositionerView, kResetCycles, {162}, 3000},
      {kValveView, Valve::kResetTravelId, {156}, 5000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.view);
    SetDevice(Filled(0xFF));
    OpenAndRefresh(c.view);
    clock.Advance(2000);
    Click(c.button);
    device->ClearRequests();
    clock.Advance(c.readAfterMs - 1);
    EXPECT_EQ(device->Requests(), std::vector<Bytes>{});
    clock.Advance(1);
    EXPECT_EQ(device->Requests(), std::vector<Bytes>{c.read});
    page->StopMonitoring();
  }
}

// A Reset button holds its waste bin whole, with room for its own frame
// on every side.
TEST_F(HealthPages, ResetButtonsHoldTheirWholePicture) {
  const std::pair<int, std::vector<int>> pages[] = {
      {kPositionerView, {kResetCycles, kResetTravel}},
      {kValveView, {Valve::kResetCyclesId, Valve::kResetTravelId}},
  };
  for (const auto& [view, buttons] : pages) {
    Open(view);
    for (int id : buttons) {
      SCOPED_TRACE(id);
      auto* button = page->GetDlgItemAs<CButton>(id);
      ASSERT_NE(button, nullptr);
      const QSize picture = plat::PixmapOf(button->GetBitmap()).size();
      ASSERT_EQ(picture, QSize(25, 27));
      CRect rect;
      button->GetClientRect(&rect);
      constexpr int kFrame = 2;
      EXPECT_GE(rect.Width(), picture.width() + 2 * kFrame);
      EXPECT_GE(rect.Height(), picture.height() + 2 * kFrame);
    }
    page->StopMonitoring();
  }
}

}  // namespace
