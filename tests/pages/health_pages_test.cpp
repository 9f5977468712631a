// The health pages against the simulated positioner, on the manual clock:
// their alert rows, masks, descriptions, legend, values, counter resets
// and links.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "annunciator_fixture.h"
#include "app/page_table.h"
#include "shell/tree_view.h"
#include "support/language_table.h"
#include "views/health/actuator_health.h"
#include "views/health/positioner_health.h"

namespace {

using testpages::Bytes;
using testpages::Filled;
using testpages::kReadMasks;
using testpages::kReadStatus;
using testpages::Mask;

const Bytes kStatusPoll = {200, 4, 0, 8, 0, 42};

using HealthPages = testpages::AnnunciatorPageTest;

constexpr int kApply = CAnnunciatorPage::kApplyId, kRetrieve = CAnnunciatorPage::kRetrieveId;

// ---- Actuator.

constexpr int kActuatorView = 11;
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
  EXPECT_EQ(Sent(), std::vector<Bytes>{kReadStatus});
  EXPECT_EQ(page->GetLampColour(0), 0x0A0AFFu);
  EXPECT_EQ(Sent(), std::vector<Bytes>{kStatusPoll});

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

constexpr int kPositionerView = 7;
constexpr int kResponseMask = 1371, kCyclesMask = 1375, kTravelMask = 1077;
constexpr int kResetCycles = CHealth_Pos_MainView::kResetCyclesId, kResetTravel = CHealth_Pos_MainView::kResetTravelId;
constexpr int kCyclesBox = 786, kTravelBox = 1443;
constexpr size_t kResponseRow = 0, kCyclesRow = 1, kPiezoLowRow = 5, kPiezoHighRow = 6, kMainBoardRow = 7;

class PositionerHealth : public HealthPages {
 protected:
  // Unit read, mask read, then the refresh that enables the buttons.
  void OpenAndRefresh() {
    Open(kPositionerView);
    Tick(3);
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
    ModifyState([](sim::DeviceState& s) {
      s.travel.pilot.limit1A = 0x01020304;
      s.travel.pilot.limit1B = 0x05060708;
      s.travel.pilot.limit2A = 0x0A0B0C0D;
      s.travel.pilot.limit2B = 0x11121314;
      s.travel.pilot.count1 = 900;
      s.travel.pilot.count2 = 800;
    });
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
  auto* tree = new CTarnixWexletView;
  ASSERT_TRUE(tree->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 400), &host, 2));
  tree->SendInitialUpdate();
  theApp().m_pTreeView = tree;
  SetDevice(Filled(0xFF));
  Open(kPositionerView);
  CTreeCtrl& items = tree->GetTreeCtrl();
  for (auto [label, item] : {std::pair{327, 322}, {328, 322}, {330, 322}, {329, 321}, {333, 323}}) {
    page->OnControlEvent(label, 1, {});
    EXPECT_EQ(static_cast<int>(items.GetItemData(items.GetSelectedItem())), item) << label;
  }
  page->StopMonitoring();
  theApp().m_pTreeView = nullptr;
}

}  // namespace
