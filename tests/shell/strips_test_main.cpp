// One Qt application for the strip tests, on the offscreen platform, with
// every control class registered.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/activex/controls.h"
#include "platform/sys/numeric.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  plat::UseCNumericLocale();
  activex::RegisterControlClasses();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
