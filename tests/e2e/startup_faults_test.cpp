// Start-up when things are missing: each case starts the whole program in a
// child process of its own, since the application object exists once.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/frame.h"
#include "comm/status_rules.h"
#include "platform/sys/numeric.h"
#include "platform/win/person.h"
#include "shell/app.h"
#include "shell/strips.h"
#include "sim/install.h"
#include "support/language_table.h"
#include "support/log_capture.h"
#include "views/status/dashboard.h"

namespace {

// Starts the program with these switches and a scripted person; returns
// whether it came up with the dashboard shown.
bool StartWith(std::vector<const char*> args, plat::ScriptedPerson& person, plat::ManualClock& clock) {
  plat::SetTimeSource(&clock);
  sim::InstallAsOpcDevices();
  args.insert(args.begin(), "tarnix");
  const bool started = theApp().InitInstance(static_cast<int>(args.size()), args.data());
  (void)person;
  return started && theApp().m_pMainFrame &&
         MainFrame()->m_wndInnerSplitter.GetPane(0, 1) == theApp().m_pViews[1];
}

void Finish(bool ok) {
  theApp().m_pMainFrame.reset();
  plat::SetTimeSource(nullptr);
  std::exit(ok ? 0 : 1);
}

TEST(StartupFaults, ItemRefusedShowsTheCommunicationErrorAndOpens) {
  // No device path, and a path no device is configured under.
  for (const char* device : {"", "/dHART/Net/Nope"}) {
    EXPECT_EXIT(
        {
          plat::ManualClock clock;
          int failures = 0;
          plat::ScriptedPerson person([&](const std::string&) { ++failures; });
          person.Answer(IDOK);
          std::vector<const char*> args = {"/slocalhost"};
          if (*device) args.push_back(device);
          bool ok = StartWith(args, person, clock);
          ok = ok && person.Asked().size() == 1 && person.Asked()[0].text == "Communication Error." &&
               person.Asked()[0].caption == "MainFrm" && failures == 0;
          Finish(ok);
        },
        testing::ExitedWithCode(0), "")
        << device;
  }
}

TEST(StartupFaults, UnknownComputerOpensWithoutAMessageAndShowsTheLinkDown) {
  EXPECT_EXIT(
      {
        plat::ManualClock clock;
        int failures = 0;
        plat::ScriptedPerson person([&](const std::string&) { ++failures; });
        bool ok = StartWith({"/dHART/Net/Tarnix1", "/splant-server-9"}, person, clock);
        clock.Advance(20000);  // polls fail; the action strip follows
        auto* actions = dynamic_cast<CActionArea*>(MainFrame()->m_wndOuterSplitter.GetPane(2, 0));
        ok = ok && person.Asked().empty() && failures == 0 && actions &&
             actions->GetDlgItemText(1035).find("Disconnected") != std::string::npos;
        Finish(ok);
      },
      testing::ExitedWithCode(0), "");
}

// Without a device nothing on the screen says all is well: not the action
// strip, not the dashboard's header, position pointer or dip switch rows.
// Exits with 0 when a minute of it showed nothing else.
void CheckAMinuteWithoutADevice(std::vector<const char*> args) {
  plat::ManualClock clock;
  int failures = 0;
  plat::ScriptedPerson person([&](const std::string&) { ++failures; });
  person.Answer(IDOK);  // "Communication Error." where it comes
  bool ok = StartWith(std::move(args), person, clock);
  auto* actions = dynamic_cast<CActionArea*>(MainFrame()->m_wndOuterSplitter.GetPane(2, 0));
  auto* dashboard = dynamic_cast<CDashboardView*>(theApp().m_pViews[1]);
  ok = ok && actions && dashboard && dashboard->GetStatusLed() && failures == 0;
  const std::string normal = TheLanguageTable().Lookup("SYSNOM").str();
  const int fields[] = {1054, 1007, 1062, 1088, 1009, 1090, 1089,        // dip switch rows
                        1092, 1008, 1094, 1096, 1010, 1098, 1097, 1102,  // their marks
                        CDashboardView::kCutOffId, CDashboardView::kLockId};
  for (int second = 0; ok && second <= 60; ++second) {
    COLORREF led = 0, pointer = 0;
    dashboard->GetStatusLed()->get_LedColor(&led);
    dashboard->GetPositionGauge()->get_ElementColor(0, &pointer);
    const std::string link = actions->GetDlgItemText(CActionArea::kLinkText);
    ok = link.find("Connected") != 0 && dashboard->GetStatusText().GetWindowText() != normal &&
         led != status::kHeaderHealthy && pointer == status::kNotAvailable;
    for (int id : fields) ok = ok && dashboard->GetDlgItemText(id).empty();
    if (!ok)
      std::fprintf(stderr, "at %d s: link '%s', LED %06X, pointer %06X\n", second, link.c_str(),
                   static_cast<unsigned>(led), static_cast<unsigned>(pointer));
    clock.Advance(1000);
  }
  Finish(ok && actions->GetDlgItemText(CActionArea::kLinkText) == "Disconnected");
}

TEST(StartupFaults, WithoutADeviceNothingSaysAllIsWell) {
  EXPECT_EXIT(CheckAMinuteWithoutADevice({}), testing::ExitedWithCode(0), "") << "no arguments";
  EXPECT_EXIT(CheckAMinuteWithoutADevice({"/slocalhost", "/dHART/Net/Nope"}), testing::ExitedWithCode(0), "")
      << "a path the server refuses";
  EXPECT_EXIT(CheckAMinuteWithoutADevice({"/dHART/Net/Tarnix1", "/splant-server-9"}), testing::ExitedWithCode(0), "")
      << "a server out of reach";
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication qt(argc, argv);
  plat::UseCNumericLocale();
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  return RUN_ALL_TESTS();
}
