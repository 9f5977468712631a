// The health pages against the simulated positioner, on the manual clock:
// their alert rows, masks, descriptions and legend.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/page_table.h"
#include "page_fixture.h"
#include "support/language_table.h"
#include "views/health/actuator_health.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Mask = std::array<std::uint8_t, 32>;

const Bytes kStatusPoll = {200, 4, 0, 8, 0, 42};
const Bytes kReadStatus = {174};
const Bytes kReadMasks = {176};

Mask Filled(std::uint8_t value) {
  Mask m;
  m.fill(value);
  return m;
}

class HealthPages : public testpages::SimulatedPage {
 protected:
  void SetUp() override {
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    CWexletCoreCommunication& comm = theApp().m_comm;
    comm.m_abyStatus = {};
    comm.m_abyStatusMask = {};
    comm.m_abyStatusMaskDevice = {};
    comm.m_bStatusMaskValid = false;
  }
  void Open(int viewIndex) {
    page = static_cast<CAnnunciatorPage*>(CreatePage(viewIndex));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
    page->SendInitialUpdate();
    page->StartMonitoring();
    device->ClearRequests();
  }
  void Tick(int n = 1) { clock.Advance(5000 * n); }
  std::vector<Bytes> Sent() {
    device->ClearRequests();
    Tick();
    return device->Requests();
  }
  void SetDevice(const Mask& masks, int statusByte = 0, std::uint8_t status = 0) {
    sim::DeviceState state = device->State();
    state.status.masks = masks;
    state.status.bytes[statusByte] = status;
    device->SetState(state);
  }
  int Check(int id) const { return static_cast<int>(page->IsDlgButtonChecked(id)); }
  void Click(int id) { page->GetDlgItemAs<CButton>(id)->Click(); }
  bool Enabled(int id) const { return page->GetDlgItem(id)->IsWindowEnabled(); }
  std::string Text(int id) const { return page->GetDlgItemText(id); }

  CAnnunciatorPage* page = nullptr;
};

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

}  // namespace
