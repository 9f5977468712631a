// The engines paint with Qt: one application object for the whole run.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/activex/controls.h"
#include "platform/sys/numeric.h"

int main(int argc, char** argv) {
  // Test discovery runs this without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  plat::UseCNumericLocale();
  activex::RegisterControlClasses();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
