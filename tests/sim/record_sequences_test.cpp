// Record behaviour that spans requests: counter resets, blocks handed out
// one after the other, the histogram that a device variable chooses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "sim/positioner.h"
#include "tests/sim/bytes.h"

namespace sim::test {
namespace {

std::optional<Bytes> Send(Positioner& positioner, const Bytes& request) { return positioner.Transact(request); }

Bytes Slice(const Bytes& reply, std::size_t at, std::size_t count) {
  const auto first = reply.begin() + static_cast<std::ptrdiff_t>(at);
  return Bytes(first, first + static_cast<std::ptrdiff_t>(count));
}

struct ResetCase {
  const char* name;
  std::uint8_t command;
  std::size_t dataBytes;
  std::uint8_t setting;
  TravelCycle TravelRecords::*record;
  std::size_t count2At;  // reply offset of counter 2 in the record's form
  bool travelReset;
  bool cyclesReset;
};
void PrintTo(const ResetCase& c, std::ostream* os) { *os << c.name; }

class CounterReset : public testing::TestWithParam<ResetCase> {};

// The reply already carries the counter as reset.
TEST_P(CounterReset, FollowsTheSettingByte) {
  const ResetCase& c = GetParam();
  Positioner positioner;
  DeviceState state = positioner.State();
  for (TravelCycle* r : {&state.travel.valve, &state.travel.actuator, &state.travel.bellows, &state.travel.pilot}) {
    r->count1 = 0x01010101;
    r->count2 = 0x02020202;
    r->odometer.travelPercent = 99.5;
  }
  positioner.SetState(state);

  const auto count = static_cast<std::uint8_t>(c.dataBytes);
  const std::optional<Bytes> reply =
      Send(positioner, Bytes{c.command, count} + Zeros(c.dataBytes - 1) + Bytes{c.setting});
  ASSERT_TRUE(reply);
  ASSERT_EQ(reply->at(2), kRcSuccess);
  EXPECT_EQ(Slice(*reply, 4, 4), (c.travelReset ? Zeros(4) : Bytes{1, 1, 1, 1}));
  EXPECT_EQ(Slice(*reply, c.count2At, 4), (c.cyclesReset ? Zeros(4) : Bytes{2, 2, 2, 2}));

  const TravelCycle after = positioner.State().travel.*c.record;
  EXPECT_EQ(after.count1, c.travelReset ? 0u : 0x01010101u);
  EXPECT_EQ(after.count2, c.cyclesReset ? 0u : 0x02020202u);
  // A travel reset starts the next stroke from nothing.
  EXPECT_EQ(after.odometer.travelPercent, c.travelReset ? 0 : 99.5);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CounterReset,
    testing::Values(ResetCase{"ValveTravel", 157, 29, 1, &TravelRecords::valve, 24, true, false},
                    ResetCase{"ValveCycles", 157, 29, 2, &TravelRecords::valve, 24, false, true},
                    ResetCase{"ValveNone", 157, 29, 0, &TravelRecords::valve, 24, false, false},
                    ResetCase{"ValveUnknownSetting", 157, 29, 3, &TravelRecords::valve, 24, false, false},
                    ResetCase{"PilotTravel", 163, 17, 1, &TravelRecords::pilot, 24, true, false},
                    ResetCase{"PilotCycles", 163, 17, 2, &TravelRecords::pilot, 24, false, true},
                    ResetCase{"ActuatorKeepsCounters", 159, 17, 2, &TravelRecords::actuator, 20, false, false},
                    ResetCase{"BellowsKeepsCounters", 161, 17, 1, &TravelRecords::bellows, 20, false, false}),
    [](const auto& info) { return info.param.name; });

struct BlockCase {
  const char* name;
  std::uint8_t command;
  std::size_t trailerAt;
  bool wraps;  // or stays on the last block
  void (*number)(DeviceState&);  // gives every block its number + 1 as its first sample
};
void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.name; }

class SampleBlockSequence : public testing::TestWithParam<BlockCase> {};

TEST_P(SampleBlockSequence, RunsThroughAllBlocksThenGoesOnAsItShould) {
  const BlockCase& c = GetParam();
  Positioner positioner;
  DeviceState state = positioner.State();
  c.number(state);
  positioner.SetState(state);

  for (int read = 0; read < 53; ++read) {
    const auto block = static_cast<std::uint8_t>(c.wraps ? read % 52 : std::min(read, 51));
    SCOPED_TRACE(read);
    const std::optional<Bytes> reply = Send(positioner, {c.command});
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->size(), c.trailerAt + 1);
    EXPECT_EQ(reply->at(c.trailerAt), block);
    EXPECT_EQ(Slice(*reply, 4, 2), (Bytes{0, static_cast<std::uint8_t>(block + 1)}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SampleBlockSequence,
    testing::Values(BlockCase{"TestSamples214", 214, 60, false,
                              [](DeviceState& s) {
                                s.tests.samples.next = 0;
                                for (std::size_t b = 0; b < kSampleBlocks; ++b) {
                                  s.tests.samples.blocks[b][0] = static_cast<std::int16_t>(b + 1);
                                }
                              }},
                    BlockCase{"TestSamples246", 246, 68, true,
                              [](DeviceState& s) {
                                s.tests.samplesB.next = 0;
                                for (std::size_t b = 0; b < kSampleBlocks; ++b) {
                                  s.tests.samplesB.blocks[b][0] = static_cast<std::int16_t>(b + 1);
                                }
                              }}),
    [](const auto& info) { return info.param.name; });

TEST(SampleBlocks, ReadOfOneKindLeavesTheOtherWhereItWas) {
  Positioner positioner;
  Send(positioner, {214});
  Send(positioner, {214});
  EXPECT_EQ(positioner.State().tests.samples.next, 2);
  EXPECT_EQ(positioner.State().tests.samplesB.next, 0);
  EXPECT_EQ(Send(positioner, {246})->at(68), 0);
}

struct HistoryCase {
  const char* name;
  std::uint8_t command;
  EventHistory HistoryRecords::*history;
  std::uint8_t lastBlock;
};
void PrintTo(const HistoryCase& c, std::ostream* os) { *os << c.name; }

class EventHistoryBlocks : public testing::TestWithParam<HistoryCase> {};

// Record k carries code k, so the first code of a block shows which eight
// records it holds. The other two histories do not move.
TEST_P(EventHistoryBlocks, ComeInOrderAndStartAgainAfterTheLast) {
  const HistoryCase& c = GetParam();
  Positioner positioner;
  DeviceState state = positioner.State();
  EventHistory& history = state.history.*c.history;
  history = {{}, c.lastBlock, 0};
  for (int k = 0; k < (c.lastBlock + 1) * 8; ++k) history.records.push_back({static_cast<std::uint8_t>(k), 1, {}});
  positioner.SetState(state);

  for (int block = 0; block <= c.lastBlock + 1; ++block) {
    const auto expected = static_cast<std::uint8_t>(block % (c.lastBlock + 1));
    SCOPED_TRACE(block);
    const std::optional<Bytes> reply = Send(positioner, {c.command});
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->size(), 69u);
    EXPECT_EQ(reply->at(68), expected);
    EXPECT_EQ(reply->at(4), expected * 8);
    EXPECT_EQ(reply->at(60), expected * 8 + 7);
  }
  DeviceState after = positioner.State();
  after.history.*c.history = state.history.*c.history;
  EXPECT_EQ(after.history, state.history);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, EventHistoryBlocks,
    testing::Values(HistoryCase{"AllEvents238", 238, &HistoryRecords::allEvents, 3},
                    HistoryCase{"Calibrations240", 240, &HistoryRecords::calibrationEvents, 4},
                    HistoryCase{"Alarms242", 242, &HistoryRecords::alarmEvents, 24}),
    [](const auto& info) { return info.param.name; });

TEST(Histogram208, FollowsVariable461) {
  Positioner positioner;
  DeviceState state = positioner.State();
  for (std::uint8_t s = 0; s < 4; ++s) state.aux.histograms[s][0] = 0x10u + s;
  positioner.SetState(state);

  for (std::uint8_t selector = 0; selector < 4; ++selector) {
    SCOPED_TRACE(selector);
    ASSERT_EQ(Send(positioner, {201, 3, 0x01, 0xCD, selector})->at(2), kRcSuccess);
    const std::optional<Bytes> reply = Send(positioner, {208});
    ASSERT_TRUE(reply);
    EXPECT_EQ(Slice(*reply, 4, 4), (Bytes{0, 0, 0, static_cast<std::uint8_t>(0x10 + selector)}));
  }
  Send(positioner, {201, 3, 0x01, 0xCD, 4});
  EXPECT_EQ(Send(positioner, {208}), (Bytes{208, 2, kRcInvalidSelection, 0}));
}

struct LengthCase {
  Bytes request;
  std::size_t length;
};

// With nothing set, every read answers in full: a screen that starts
// against the simulator finds every record.
TEST(DefaultDevice, AnswersEveryReadWithItsWholeLayout) {
  const LengthCase reads[] = {
      {{132}, 55}, {{134}, 46}, {{138}, 20}, {{140}, 4},  {{142}, 10}, {{156}, 57},
      {{158}, 37}, {{160}, 37}, {{162}, 45}, {{168}, 37}, {{170}, 20}, {{174}, 36},
      {{176}, 36}, {{182}, 10}, {{188}, 46}, {{194}, 64}, {{196}, 64}, {{202}, 29},
      {{204}, 68}, {{208}, 68}, {{212}, 45}, {{214}, 61}, {{222}, 11}, {{238}, 69},
      {{240}, 69}, {{242}, 69}, {{246}, 69}, {{184, 1, 1}, 29}, {{184, 1, 5}, 29}};
  Positioner positioner;
  for (const LengthCase& read : reads) {
    SCOPED_TRACE(static_cast<int>(read.request[0]));
    const std::optional<Bytes> reply = Send(positioner, read.request);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->size(), read.length);
    EXPECT_EQ(reply->at(1), read.length - 2);
    EXPECT_EQ(reply->at(2), kRcSuccess);
  }
}

}  // namespace
}  // namespace sim::test
