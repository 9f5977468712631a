// Every page that writes the status masks, shown while the link is down:
// Apply stays off, saying why, until the masks are read, and then writes
// what the user ticked.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "app/page_table.h"
#include "page_fixture.h"
#include "shell/annunciator_page.h"
#include "views/config/calibration_errors.h"

namespace {

using Mask = std::array<std::uint8_t, 32>;

static_assert(int{CAnnunciatorPage::kApplyId} == int{CCalibration_ErrorsView::kApplyId});
static_assert(int{CAnnunciatorPage::kRetrieveId} == int{CCalibration_ErrorsView::kRetrieveId});
constexpr int kApply = CAnnunciatorPage::kApplyId, kRetrieve = CAnnunciatorPage::kRetrieveId;

class MaskPages : public testpages::SimulatedPage {
 protected:
  void SetUp() override {
    SimulatedPage::SetUp();
    if (HasFatalFailure()) return;
    testpages::ForgetStatusImage();
    testpages::LoadEnglish();
    Mask unmasked;
    unmasked.fill(0xFF);
    ModifyState([&](sim::DeviceState& s) { s.status.masks = unmasked; });
  }
  void Open(int viewIndex) {
    page = static_cast<CStepPage*>(CreatePage(viewIndex));
    ASSERT_TRUE(page->Create(nullptr, nullptr, WS_CHILD | WS_BORDER, CRect(0, 0, 0, 0), &host, 1));
    page->SendInitialUpdate();
    page->StartMonitoring();
  }
  void Tick() { clock.Advance(page->GetPeriod()); }
  // Ticks until the button comes on, at most a few ticks.
  bool TickUntilEnabled(int id) {
    for (int tick = 0; tick < 8 && !Enabled(id); ++tick) Tick();
    return Enabled(id);
  }
  bool Enabled(int id) const { return page->GetDlgItem(id)->IsWindowEnabled(); }
  void Click(int id) { page->GetDlgItemAs<CButton>(id)->Click(); }
  std::string Tip(int id) const { return page->GetToolTips().GetToolText(page->GetDlgItem(id)); }
  Mask DeviceMasks() const { return device->State().status.masks; }

  CStepPage* page = nullptr;
};

struct PageCase {
  const char* name;
  int view;
  int maskBox;  // a row's mask check box
};

constexpr PageCase kPages[] = {
    {"alarm annunciator", 2, 1070},   {"management annunciator", 3, 1187}, {"technician annunciator", 34, 1359},
    {"valve health", 5, 1405},        {"positioner health", 7, 1371},      {"actuator health", 11, 1448},
    {"control loop health", 12, 421}, {"calibration errors", 28, 1316},
};

TEST_F(MaskPages, ApplyWaitsForTheMasksSayingWhyThenWritesWhatWasTicked) {
  const Mask unmasked = DeviceMasks();
  for (const PageCase& c : kPages) {
    SCOPED_TRACE(c.name);
    testpages::ForgetStatusImage();
    device->InjectNoReply(-1);
    Open(c.view);
    ASSERT_TRUE(TickUntilEnabled(kRetrieve));
    for (int tick = 0; tick < 6; ++tick) Tick();
    // Nothing to write over: neither Apply nor a box to tick is offered,
    // and Apply's tip says what brings it.
    EXPECT_FALSE(Enabled(kApply));
    EXPECT_TRUE(Enabled(kRetrieve));
    EXPECT_FALSE(Enabled(c.maskBox));
    EXPECT_EQ(Tip(kApply), testpages::Text("MASKS_NOT_READ"));

    // The link is back: Retrieve brings the masks, the boxes and Apply.
    device->ClearFaults();
    Click(kRetrieve);
    ASSERT_TRUE(TickUntilEnabled(kApply));
    EXPECT_TRUE(Enabled(c.maskBox));
    EXPECT_EQ(page->IsDlgButtonChecked(c.maskBox), 0u);
    EXPECT_EQ(Tip(kApply), testpages::Text("IDC_BTN_APPLY_MASKTIP"));

    Click(c.maskBox);
    Click(kApply);
    ASSERT_TRUE(TickUntilEnabled(kApply));
    EXPECT_NE(DeviceMasks(), unmasked);
    EXPECT_NE(page->IsDlgButtonChecked(c.maskBox), 0u);

    page->StopMonitoring();
    ModifyState([&](sim::DeviceState& s) { s.status.masks = unmasked; });
  }
}

}  // namespace
