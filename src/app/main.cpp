// The program: the application object on Qt, with the simulated Tarnix
// positioner behind each configured device item of the in-process OPC
// server.
#include <QApplication>

#include "app/frame.h"
#include "platform/sys/numeric.h"
#include "platform/win/qt_time_source.h"
#include "platform/win/wait_cursor_host.h"
#include "shell/app.h"
#include "sim/install.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  // Qt took the C library's locale from the environment; numbers use ".".
  plat::UseCNumericLocale();
  QApplication::setStyle(QStringLiteral("Fusion"));
  plat::QtTimeSource clock;
  plat::SetTimeSource(&clock);
  plat::QtWaitCursorHost cursor;
  plat::SetWaitCursorHost(&cursor);
  sim::InstallAsOpcDevices();

  CTarnixWexletApp& app = theApp();
  if (!app.InitInstance(argc, argv)) return 1;
  const int result = QApplication::exec();
  app.m_pMainFrame.reset();  // the windows go before the Qt application
  plat::SetWaitCursorHost(nullptr);
  plat::SetTimeSource(nullptr);
  return result;
}
