// Start-up, measured from outside (scripts/startup-time.sh): "bare" opens
// an empty Qt window; "program" starts the program on the simulated
// positioner with all its pages, shows the dashboard and waits for its
// first status poll to be answered. Both then quit.
#include <QApplication>
#include <QWidget>
#include <cstring>

#include "app/frame.h"
#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "sim/install.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  plat::UseCNumericLocale();
  if (argc > 1 && std::strcmp(argv[1], "bare") == 0) {
    QWidget window;
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();
    return 0;
  }
  plat::ManualClock clock;
  plat::SetTimeSource(&clock);
  sim::InstallAsOpcDevices();
  const char* args[] = {"tarnix", "/dHART/Net/Tarnix1", "/slocalhost"};
  if (!theApp().InitInstance(3, args)) return 1;
  QApplication::processEvents();
  auto device = sim::PositionerFor("HART/Net/Tarnix1");
  const size_t before = device->Requests().size();
  clock.Advance(5000);  // the dashboard's first tick: its status poll
  const bool polled = device->Requests().size() > before && theApp().m_comm.m_nFailCount == 0;
  theApp().m_pMainFrame.reset();
  plat::SetTimeSource(nullptr);
  return polled ? 0 : 2;
}
