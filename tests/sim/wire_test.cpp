#include "sim/wire.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/variables.h"
#include "tests/sim/bytes.h"

namespace sim::test {
namespace {

struct PackCase {
  const char* name;
  std::string text;
  std::size_t chars;
  Bytes packed;
};

class PackAscii : public testing::TestWithParam<PackCase> {};

TEST_P(PackAscii, PacksTheWorkedBytes) {
  EXPECT_EQ(wire::PackAscii(GetParam().text, GetParam().chars), GetParam().packed);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PackAscii,
    testing::Values(PackCase{"PaddedTag", "ABC", 8, Bytes{0x04, 0x20, 0xE0} + kBlanks},
                    PackCase{"LowerCaseGoesUp", "abc", 8, Bytes{0x04, 0x20, 0xE0} + kBlanks},
                    PackCase{"DigitKeepsItsCode", "TAG1", 4, {0x50, 0x11, 0xF1}},
                    PackCase{"CutToLength", "ABCDEFGH", 4, {0x04, 0x20, 0xC4}},
                    PackCase{"EmptyIsAllBlanks", "", 8, kBlanks + kBlanks}),
    [](const auto& info) { return info.param.name; });

TEST(UnpackAscii, DecodesBothHalvesOfTheCodeRange) {
  EXPECT_EQ(wire::UnpackAscii(Bytes{0x00, 0x00, 0x00}), "@@@@");
  EXPECT_EQ(wire::UnpackAscii(kBlanks), "    ");
  EXPECT_EQ(wire::UnpackAscii(Bytes{0x04, 0x20, 0xE0} + kBlanks), "ABC     ");
  EXPECT_EQ(wire::UnpackAscii(Bytes{0x50, 0x11, 0xF1}), "TAG1");
}

struct ValueCase {
  const char* name;
  WireType type;
  double value;
  Bytes wire;
};

class VariableValue : public testing::TestWithParam<ValueCase> {};

TEST_P(VariableValue, GoesOutBigEndian) {
  Bytes out;
  PutValue(out, GetParam().type, GetParam().value);
  EXPECT_EQ(out, GetParam().wire);
}

INSTANTIATE_TEST_SUITE_P(
    Types, VariableValue,
    testing::Values(ValueCase{"U8", WireType::U8, 200, {0xC8}},
                    ValueCase{"U8TruncatesFraction", WireType::U8, 7.9, {0x07}},
                    ValueCase{"U8ClampsHigh", WireType::U8, 300, {0xFF}},
                    ValueCase{"U8ClampsNegative", WireType::U8, -3, {0x00}},
                    ValueCase{"U16", WireType::U16, 0x1234, {0x12, 0x34}},
                    ValueCase{"U32", WireType::U32, 0x01020304, {0x01, 0x02, 0x03, 0x04}},
                    ValueCase{"F32", WireType::F32, 100.0, {0x42, 0xC8, 0x00, 0x00}},
                    ValueCase{"F32Negative", WireType::F32, -1.5, {0xBF, 0xC0, 0x00, 0x00}}),
    [](const auto& info) { return info.param.name; });

TEST(VariableValue, ReadsBackWhatItWrites) {
  for (WireType type : {WireType::U8, WireType::U16, WireType::U32, WireType::F32}) {
    Bytes out;
    PutValue(out, type, 66);
    ASSERT_EQ(out.size(), SizeOf(type));
    EXPECT_EQ(GetValue(out, type), 66);
  }
}

}  // namespace
}  // namespace sim::test
