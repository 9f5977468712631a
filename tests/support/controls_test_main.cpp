// One Qt application on the offscreen platform, with every control and
// plot class registered: the main of the suites that make controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/activex/controls.h"
#include "platform/activex/plot.h"
#include "platform/sys/numeric.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  plat::UseCNumericLocale();
  activex::RegisterControlClasses();
  plat::RegisterPlotClasses();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
