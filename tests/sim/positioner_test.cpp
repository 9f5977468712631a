#include "sim/positioner.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

#include "platform/sys/time_source.h"
#include "tests/sim/bytes.h"

namespace sim::test {
namespace {

// "HELLO" in a 32-character message.
const Bytes kPackedHello = Bytes{0x20, 0x53, 0x0C, 0x3E, 0x08, 0x20} + Repeat(kBlanks, 6);
// Tag "ABC", descriptor "TAG1", 15 March 2024.
const Bytes kPackedTagDescriptorDate = Bytes{0x04, 0x20, 0xE0} + kBlanks + Bytes{0x50, 0x11, 0xF1} +
                                       Repeat(kBlanks, 3) + Bytes{0x0F, 0x03, 0x7C};

class PositionerTest : public testing::Test {
 protected:
  std::optional<Bytes> Send(const Bytes& request) { return positioner.Transact(request); }

  // Still, so that the valve stays where a test puts it.
  plat::ManualClock clock;
  plat::ScopedTimeSource time{clock};
  Positioner positioner;
};

TEST_F(PositionerTest, UniqueIdentifierCarriesTheIdentity) {
  EXPECT_EQ(Send({0}), (Bytes{0, 14, 0, 0, 254, 0xF4, 0x54, 5, 5, 2, 5, 1, 0, 0x00, 0xA1, 0xB2}));

  Identity id;
  id.manufacturerId = 0x11;
  id.deviceType = 0x22;
  id.deviceRevision = 3;
  id.softwareRevision = 7;
  id.hardwareRevision = 0x29;
  id.deviceId = 0x123456;
  positioner.SetIdentity(id);
  EXPECT_EQ(Send({0, 0}), (Bytes{0, 14, 0, 0, 254, 0x11, 0x22, 5, 5, 3, 7, 0x29, 0, 0x12, 0x34, 0x56}));
}

TEST_F(PositionerTest, ReadsMessageAndTagUpperCase) {
  Identity id;
  id.message = "hello";
  id.tag = "abc";
  id.descriptor = "Tag1";
  id.date = {15, 3, 2024};
  positioner.SetIdentity(id);

  EXPECT_EQ(Send({12}), (Bytes{12, 26, 0, 0} + kPackedHello));
  EXPECT_EQ(Send({13, 0}), (Bytes{13, 23, 0, 0} + kPackedTagDescriptorDate));
}

TEST_F(PositionerTest, WrittenMessageIsReadBack) {
  // The program may send the unused tail of the message along.
  for (const Bytes& request : {Bytes{17, 24} + kPackedHello, Bytes{17, 32} + kPackedHello + Repeat({0xFF}, 8)}) {
    SCOPED_TRACE(request.size());
    positioner.SetIdentity({});
    EXPECT_EQ(Send(request), (Bytes{17, 26, 0, 0} + kPackedHello));
    EXPECT_EQ(Send({12}), (Bytes{12, 26, 0, 0} + kPackedHello));
    EXPECT_EQ(positioner.GetIdentity().message, "HELLO" + std::string(27, ' '));
  }
}

TEST_F(PositionerTest, WrittenTagDescriptorDateAreReadBack) {
  EXPECT_EQ(Send(Bytes{18, 21} + kPackedTagDescriptorDate), (Bytes{18, 23, 0, 0} + kPackedTagDescriptorDate));
  EXPECT_EQ(Send({13}), (Bytes{13, 23, 0, 0} + kPackedTagDescriptorDate));

  const Identity id = positioner.GetIdentity();
  EXPECT_EQ(id.tag, "ABC     ");
  EXPECT_EQ(id.descriptor, "TAG1" + std::string(12, ' '));
  EXPECT_EQ(id.date, (Date{15, 3, 2024}));
}

TEST_F(PositionerTest, ReadsVariablesInRequestOrder) {
  positioner.SetVariable(8, 1);  // digital: the priority code names the mode (S1.0)
  EXPECT_EQ(Send({200, 4, 0, 8, 0, 42}), (Bytes{200, 8, 0, 0, 0, 8, 1, 0, 42, 8}));
  EXPECT_EQ(Send({200, 4, 0, 42, 0, 8}), (Bytes{200, 8, 0, 0, 0, 42, 8, 0, 8, 1}));

  positioner.SetVariable(117, 100.0);
  positioner.SetVariable(118, -1.5);
  EXPECT_EQ(Send({200, 4, 0, 117, 0, 118}),
            (Bytes{200, 14, 0, 0, 0, 117, 0x42, 0xC8, 0x00, 0x00, 0, 118, 0xBF, 0xC0, 0x00, 0x00}));
}

TEST_F(PositionerTest, WritesVariablesAndEchoesThem) {
  EXPECT_EQ(Send({201, 3, 0, 8, 1}), (Bytes{201, 5, 0, 0, 0, 8, 1}));
  EXPECT_EQ(positioner.Variable(8), 1);

  EXPECT_EQ(Send({201, 9, 0, 179, 3, 0, 117, 0x41, 0x48, 0x00, 0x00}),
            (Bytes{201, 11, 0, 0, 0, 179, 3, 0, 117, 0x41, 0x48, 0x00, 0x00}));
  EXPECT_EQ(positioner.Variable(179), 3);
  EXPECT_EQ(positioner.Variable(117), 12.5);
}

TEST_F(PositionerTest, UnknownOrDerivedVariableIsATestMistake) {
  EXPECT_THROW(positioner.SetVariable(9999, 1), std::out_of_range);
  EXPECT_THROW(positioner.Variable(9999), std::out_of_range);
  EXPECT_THROW(positioner.SetVariable(42, 88), std::invalid_argument);
}

struct RefusedCase {
  const char* name;
  Bytes request;
  Bytes reply;
};

class RefusedRequest : public PositionerTest, public testing::WithParamInterface<RefusedCase> {};

// Refused requests change nothing, not even the part of a list that was fine.
TEST_P(RefusedRequest, AnswersWithTheCodeAlone) {
  const DeviceState before = positioner.State();
  EXPECT_EQ(Send(GetParam().request), GetParam().reply);
  EXPECT_EQ(positioner.State(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, RefusedRequest,
    testing::Values(
        RefusedCase{"ByteCountBeyondFrame", {12, 3, 0}, {12, 2, 5, 0}},
        RefusedCase{"ListCutShort", {200, 4, 0, 8}, {200, 2, 5, 0}},
        RefusedCase{"MessageShort", Bytes{17, 23} + Bytes(kPackedHello.begin(), kPackedHello.end() - 1),
                    {17, 2, 5, 0}},
        RefusedCase{"MessageMissing", {17}, {17, 2, 5, 0}},
        RefusedCase{"TagDescriptorDateShort",
                    Bytes{18, 20} + Bytes(kPackedTagDescriptorDate.begin(), kPackedTagDescriptorDate.end() - 1),
                    {18, 2, 5, 0}},
        RefusedCase{"ReadOddByteCount", {200, 3, 0, 8, 0}, {200, 2, 5, 0}},
        RefusedCase{"ReadNothing", {200}, {200, 2, 5, 0}},
        RefusedCase{"ReadUnknownId", {200, 4, 0, 8, 0, 99}, {200, 2, 2, 0}},
        RefusedCase{"ReadUnknownHighByte", {200, 2, 1, 44}, {200, 2, 2, 0}},
        RefusedCase{"ReadIdBetweenKnownOnes", {200, 2, 0, 148}, {200, 2, 2, 0}},
        RefusedCase{"ReadIdPastTheLast", {200, 2, 1, 235}, {200, 2, 2, 0}},
        RefusedCase{"WriteIdBetweenKnownOnes", {201, 3, 0, 148, 0}, {201, 2, 2, 0}},
        RefusedCase{"WriteNothing", {201, 0}, {201, 2, 5, 0}},
        RefusedCase{"WriteUnknownId", {201, 3, 0, 99, 1}, {201, 2, 2, 0}},
        RefusedCase{"WriteFloatCutShort", {201, 4, 0, 117, 0x42, 0xC8}, {201, 2, 5, 0}},
        RefusedCase{"WriteDanglingIdByte", {201, 4, 0, 8, 1, 0}, {201, 2, 5, 0}},
        RefusedCase{"WriteSecondIdUnknown", {201, 6, 0, 8, 1, 0, 99, 1}, {201, 2, 2, 0}},
        RefusedCase{"WriteSecondValueShort", {201, 6, 0, 8, 1, 0, 117, 0x42}, {201, 2, 5, 0}},
        RefusedCase{"NotImplemented", {3}, {3, 2, 64, 0}},
        RefusedCase{"NotImplementedWithData", {255, 2, 1, 2}, {255, 2, 64, 0}}),
    [](const auto& info) { return info.param.name; });

TEST_F(PositionerTest, ListWhoseReplyWouldOverflowTheByteCountIsRefused) {
  // 42 floats make 252 data bytes; one more does not fit.
  const Bytes fortyTwo = Repeat({0, 117}, 42);
  const std::optional<Bytes> fits = Send(Bytes{200, 84} + fortyTwo);
  ASSERT_TRUE(fits);
  EXPECT_EQ(fits->size(), 256u);
  EXPECT_EQ((*fits)[1], 254);
  EXPECT_EQ(Send(Bytes{200, 86} + fortyTwo + Bytes{0, 117}), (Bytes{200, 2, 2, 0}));
}

TEST_F(PositionerTest, StatusByteRidesOnEveryReply) {
  positioner.SetDeviceStatus(0x50);
  EXPECT_EQ(Send({12})->at(3), 0x50);
  EXPECT_EQ(Send({3}), (Bytes{3, 2, 64, 0x50}));
  EXPECT_EQ(Send({12, 3, 0}), (Bytes{12, 2, 5, 0x50}));
}

TEST_F(PositionerTest, BytesPastTheByteCountAreIgnored) {
  EXPECT_EQ(Send({0, 0, 0xAA}), Send({0}));
  EXPECT_EQ(Send(Bytes{17, 24} + kPackedHello + Bytes{0xFF}), (Bytes{17, 26, 0, 0} + kPackedHello));
}

TEST_F(PositionerTest, EmptyRequestGetsNoReply) { EXPECT_EQ(Send({}), std::nullopt); }

TEST_F(PositionerTest, RecordsEveryRequestAsReceived) {
  Send({0});
  Send({});
  Send({12, 3, 0});
  Send({201, 3, 0, 8, 1});
  EXPECT_EQ(positioner.Requests(), (std::vector<Bytes>{{0}, {}, {12, 3, 0}, {201, 3, 0, 8, 1}}));

  positioner.ClearRequests();
  EXPECT_TRUE(positioner.Requests().empty());
}

TEST_F(PositionerTest, ALongRunKeepsOnlyTheLatestRequests) {
  for (int i = 0; i < 100000; ++i) Send({0, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)});
  const auto& requests = positioner.Requests();
  EXPECT_LE(requests.size(), Positioner::kRequestLimit);
  EXPECT_GE(requests.size(), Positioner::kRequestLimit / 2);
  // Still in order, the newest last.
  const int oldest = 100000 - static_cast<int>(requests.size());
  for (size_t k = 0; k < requests.size(); ++k) {
    const int i = oldest + static_cast<int>(k);
    ASSERT_EQ(requests[k], (Bytes{0, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)})) << k;
  }
}

}  // namespace
}  // namespace sim::test
