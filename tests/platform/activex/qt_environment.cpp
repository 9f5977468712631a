// The widget tests need one application object for the whole run.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/activex/controls.h"
#include "platform/sys/numeric.h"

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "test_platform_activex";
    static char* argv[] = {name, nullptr};
    m_app = new QApplication(argc, argv);
    plat::UseCNumericLocale();
    activex::RegisterControlClasses();
  }
  void TearDown() override { delete m_app; }

 private:
  QApplication* m_app = nullptr;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
