// Window timers on the manual clock: restart, kill, per-window ids, and no
// re-entry of a tick while its handler has a message box up.
#include <gtest/gtest.h>

#include "platform/com/com_error.h"
#include "platform/win/person.h"
#include "support/log_capture.h"
#include "win_test_support.h"

namespace {

using testsupport::HostWindow;
using testsupport::RecordingPage;
using Ticks = std::vector<std::pair<std::int64_t, UINT>>;

class WindowTimers : public testing::Test {
 protected:
  void SetUp() override {
    plat::RegisterDialogTemplate(DialogTemplate{9100, 100, 50, {}});
    page = testsupport::MakePage(host, 9100);
    ASSERT_NE(page, nullptr);
  }

  // Declared first: the clock outlives the windows that use it.
  plat::ManualClock clock;
  plat::ScopedTimeSource scoped{clock};
  HostWindow host;
  RecordingPage* page = nullptr;
};

TEST_F(WindowTimers, TickEveryPeriodAndSettingTheIdAgainRestartsIt) {
  EXPECT_EQ(page->SetTimer(3, 5000), 3u);
  clock.Advance(3000);
  // The one-shot pattern of the pages: set again, a full period from now.
  EXPECT_EQ(page->SetTimer(3, 5000), 3u);
  clock.Advance(4999);
  EXPECT_TRUE(page->ticks.empty());
  clock.Advance(1);
  clock.Advance(5000);
  EXPECT_EQ(page->ticks, (Ticks{{8000, 3}, {13000, 3}}));
  EXPECT_EQ(clock.ActiveTimers(), 1);
}

TEST_F(WindowTimers, AKilledTimerDeliversNothingMore) {
  page->SetTimer(3, 5000);
  page->SetTimer(4, 5000);
  // Timer 4 is due at the same moment as 3, whose handler kills it.
  page->onTimer = [&](UINT id) {
    if (id == 3) page->KillTimer(4);
  };
  clock.Advance(5000);
  EXPECT_EQ(page->ticks, (Ticks{{5000, 3}}));
  EXPECT_TRUE(page->KillTimer(3));
  EXPECT_FALSE(page->KillTimer(3));
  clock.Advance(20000);
  EXPECT_EQ(page->ticks.size(), 1u);
  EXPECT_EQ(clock.ActiveTimers(), 0);
}

TEST_F(WindowTimers, IdsArePerWindowAndAWindowTakesItsTimersAlong) {
  auto* other = testsupport::MakePage(host, 9100, 2);
  page->SetTimer(1, 1000);
  other->SetTimer(1, 1500);
  clock.Advance(1500);
  other->KillTimer(1);
  clock.Advance(1500);
  EXPECT_EQ(page->ticks, (Ticks{{1000, 1}, {2000, 1}, {3000, 1}}));
  EXPECT_EQ(other->ticks, (Ticks{{1500, 1}}));

  other->SetTimer(5, 100);
  other->DestroyWindow();  // the page deletes itself with its window
  EXPECT_EQ(clock.ActiveTimers(), 1);

  CWnd noWindow;
  EXPECT_EQ(noWindow.SetTimer(1, 100), 0u);
}

TEST_F(WindowTimers, AMessageBoxInsideATickDoesNotReenterThatTick) {
  testsupport::TestPerson person;
  page->SetTimer(7, 5000);
  page->SetTimer(8, 4000);
  bool asked = false;
  page->onTimer = [&](UINT id) {
    if (id != 7 || asked) return;
    asked = true;
    page->MessageBox("Continue?", "Test", MB_YESNO);
  };
  // While the box is up 6 s pass: timer 8 ticks, timer 7's tick at 10 s is dropped.
  person.Answer(IDYES, [&] { clock.Advance(6000); });
  clock.Advance(20000);
  EXPECT_EQ(page->ticks,
            (Ticks{{4000, 8}, {5000, 7}, {8000, 8}, {12000, 8}, {15000, 7}, {16000, 8}, {20000, 7}, {20000, 8}}));
  ASSERT_EQ(person.Asked().size(), 1u);
  EXPECT_EQ(person.Asked()[0].caption, "Test");
}

TEST_F(WindowTimers, AnExceptionInATickIsLoggedAndTheTimerGoesOn) {
  testsupport::LogCapture log;
  page->SetTimer(2, 1000);
  page->onTimer = [&](UINT) {
    if (page->ticks.size() == 1) _com_issue_error(E_POINTER);
    if (page->ticks.size() == 2) throw std::runtime_error("Input is empty");
  };
  clock.Advance(3000);
  EXPECT_EQ(page->ticks.size(), 3u);
  const auto texts = log.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_NE(texts[0].find("RecordingPage::OnTimer"), std::string::npos) << texts[0];
  EXPECT_NE(texts[0].find("0x80004003"), std::string::npos) << texts[0];
  EXPECT_NE(texts[1].find("Input is empty"), std::string::npos) << texts[1];
}

TEST_F(WindowTimers, WmTimerReachesOnTimerWithAnyId) {
  page->SendMessage(WM_TIMER, 99);
  EXPECT_EQ(page->ticks, (Ticks{{0, 99}}));
}

}  // namespace
