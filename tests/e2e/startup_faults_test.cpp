// Start-up when things are missing: each case starts the whole program in a
// child process of its own, since the application object exists once.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/frame.h"
#include "platform/sys/numeric.h"
#include "platform/win/person.h"
#include "shell/app.h"
#include "shell/strips.h"
#include "sim/install.h"
#include "support/log_capture.h"

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

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication qt(argc, argv);
  plat::UseCNumericLocale();
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  return RUN_ALL_TESTS();
}
