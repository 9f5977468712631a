// The widget tests need one application object; they run on the offscreen
// platform unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/sys/numeric.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  plat::UseCNumericLocale();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
