#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>

#include "sim/positioner.h"
#include "tests/sim/bytes.h"

namespace sim::test {
namespace {

const Bytes kWrite = {201, 3, 0, 8, 1};
const Bytes kWriteReply = {201, 5, 0, 0, 0, 8, 1};

struct FaultCase {
  const char* name;
  std::function<void(Positioner&)> inject;
  std::optional<Bytes> reply;
  bool carriedOut;
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class FaultOnce : public testing::TestWithParam<FaultCase> {};

TEST_P(FaultOnce, ShapesOneReplyOnly) {
  Positioner positioner;
  GetParam().inject(positioner);

  EXPECT_EQ(positioner.Transact(kWrite), GetParam().reply);
  EXPECT_EQ(positioner.Variable(8), GetParam().carriedOut ? 1 : 0);
  EXPECT_EQ(positioner.Transact(kWrite), kWriteReply);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FaultOnce,
    testing::Values(
        FaultCase{"NoReply", [](Positioner& p) { p.InjectNoReply(); }, std::nullopt, false},
        FaultCase{"ResponseCode", [](Positioner& p) { p.InjectResponseCode(16); }, Bytes{201, 2, 16, 0}, false},
        FaultCase{"ShortReply", [](Positioner& p) { p.InjectShortReply(5); }, Bytes{201, 5, 0, 0, 0}, true},
        FaultCase{"WrongEcho", [](Positioner& p) { p.InjectWrongEcho(); }, Bytes{202, 5, 0, 0, 0, 8, 1}, true},
        FaultCase{"LongByteCount", [](Positioner& p) { p.InjectLongByteCount(); }, Bytes{201, 6, 0, 0, 0, 8, 1},
                  true}),
    [](const auto& info) { return info.param.name; });

TEST(Faults, LastTheirCountThenGiveWayInOrder) {
  Positioner positioner;
  const Bytes request = {12};
  positioner.InjectResponseCode(6, 2);
  positioner.InjectNoReply();

  EXPECT_EQ(positioner.Transact(request), (Bytes{12, 2, 6, 0}));
  EXPECT_EQ(positioner.Transact(request), (Bytes{12, 2, 6, 0}));
  EXPECT_EQ(positioner.Transact(request), std::nullopt);
  EXPECT_EQ(positioner.Transact(request)->at(2), kRcSuccess);
}

TEST(Faults, WithoutCountLastUntilCleared) {
  Positioner positioner;
  positioner.InjectNoReply(-1);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(positioner.Transact(kWrite), std::nullopt);

  positioner.ClearFaults();
  EXPECT_EQ(positioner.Transact(kWrite), kWriteReply);
}

TEST(Faults, LatencyBlocksTheCaller) {
  using namespace std::chrono;
  Positioner positioner;
  positioner.SetLatency(milliseconds(40));

  const auto start = steady_clock::now();
  EXPECT_EQ(positioner.Transact(kWrite), kWriteReply);
  EXPECT_GE(steady_clock::now() - start, milliseconds(40));
}

}  // namespace
}  // namespace sim::test
