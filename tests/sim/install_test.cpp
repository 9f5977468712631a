#include "sim/install.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

TEST(PositionerFor, KeepsOnePositionerPerPathUntilForgotten) {
  ForgetPositioners();
  const auto first = PositionerFor("HART/Modem/Valve1");
  EXPECT_EQ(PositionerFor("HART/Modem/Valve1"), first);
  EXPECT_NE(PositionerFor("HART/Modem/Valve2"), first);

  ForgetPositioners();
  EXPECT_NE(PositionerFor("HART/Modem/Valve1"), first);
}

}  // namespace
}  // namespace sim
