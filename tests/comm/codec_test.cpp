// Frame codec against bytes worked out by hand from the frame and
// packed-ASCII tables.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "comm/communication.h"

namespace {

using Comm = CWexletCoreCommunication;
using Bytes = std::vector<BYTE>;

Bytes RequestBytes(const Comm& c) { return Bytes(c.m_abyRequest.begin(), c.m_abyRequest.begin() + c.m_byReqLength); }

TEST(Codec, GettersReadBigEndianAtTheOffset) {
  const Bytes reply = {0xAA, 0x12, 0x34, 0x42, 0xC8, 0x00, 0x00, 0xBF, 0x80, 0x00, 0x00, 0xFF, 0xFE};
  EXPECT_EQ(Comm::GetByte(reply.data(), 0), 0xAA);
  EXPECT_EQ(Comm::GetWord(reply.data(), 1), 0x1234);
  EXPECT_EQ(Comm::GetWord(reply.data(), 11), 0xFFFE);  // unsigned
  EXPECT_EQ(Comm::GetDWord(reply.data(), 1), 0x123442C8u);
  EXPECT_EQ(Comm::GetFloat(reply.data(), 3), 100.0f);
  EXPECT_EQ(Comm::GetFloat(reply.data(), 7), -1.0f);
}

TEST(Codec, IdBytesAreLeastSignificantFirstAndBuildersSendBigEndian) {
  const auto b = Comm::GetIdBytes(0x11223344);
  EXPECT_EQ(b, (std::array<BYTE, 4>{0x44, 0x33, 0x22, 0x11}));

  Comm c;
  c.BeginRequest(201, 12);
  c.PutWord(0, 454);        // id 454 = 01 C6
  c.PutDWord(2, 0x01020304);
  c.PutFloat(6, 0.25);      // 0.25f = 3E 80 00 00
  c.PutByte(10, 0x7F);
  EXPECT_EQ(RequestBytes(c), (Bytes{201, 12, 0x01, 0xC6, 0x01, 0x02, 0x03, 0x04, 0x3E, 0x80, 0x00, 0x00, 0x7F, 0x00}));
}

TEST(Codec, FloatIsNarrowedToTheNearestSingle) {
  EXPECT_EQ(Comm::FloatBits(100.0), 0x42C80000u);
  EXPECT_EQ(Comm::FloatBits(-2.0), 0xC0000000u);
  EXPECT_EQ(Comm::FloatBits(0.1), 0x3DCCCCCDu);  // rounded, not cut
}

TEST(Codec, DoubleToSixteenBitsTruncatesTowardZeroWithinRange) {
  struct Case {
    double in;
    WORD out;
  } cases[] = {
      {12.999, 12},          {-12.999, 0xFFF4},       {1234.0, 0x04D2},
      {32767.9, 0x7FFF},     {40000.0, 0x7FFF},       {-32768.0, 0x8000},
      {-1e9, 0x8000},        {std::numeric_limits<double>::quiet_NaN(), 0},
      {std::numeric_limits<double>::infinity(), 0x7FFF},
  };
  for (const Case& c : cases) EXPECT_EQ(Comm::ToWord16(c.in), c.out) << c.in;
}

TEST(Codec, SixBitCodesTurnBackIntoCharacters) {
  struct Case {
    BYTE code;
    char ch;
  } cases[] = {{0x00, '@'}, {0x01, 'A'}, {0x1A, 'Z'}, {0x1F, '_'}, {0x20, ' '}, {0x30, '0'}, {0x3F, '?'}};
  for (const Case& c : cases) EXPECT_EQ(Comm::SixBitToAscii(c.code), c.ch) << int(c.code);
}

TEST(Codec, UnpackGivesFourCharactersPerThreeBytes) {
  struct Case {
    Bytes bytes;
    const char* text;
  } cases[] = {
      {{0x00, 0x00, 0x00}, "@@@@"},
      {{0x82, 0x08, 0x20}, "    "},
      {{0x04, 0x20, 0xE0}, "ABC "},
      {{0xC3, 0x4D, 0x73}, "0453"},  // 110000 110100 110101 110011
  };
  for (const Case& c : cases) {
    std::string text = "old";
    Comm::UnpackPackedAscii(c.bytes.data(), 0, text);
    EXPECT_EQ(text, c.text);
  }
}

TEST(Codec, TagAndDescriptorArePaddedUpperCasedCutAndFollowedByTheDate) {
  Comm c;
  c.m_strTag = "abcdefghIJKLMNOPQRST";  // 20 characters: only 8 are sent
  c.m_strDescriptor = "abc";
  c.m_byDateDay = 9;
  c.m_byDateMonth = 12;
  c.m_byDateYear = 126;
  c.BeginRequest(18, 21);
  c.PackTagAndDescriptor();
  const Bytes expected = {18,   21,                                   //
                          0x04, 0x20, 0xC4, 0x14, 0x61, 0xC8,         // "ABCD" "EFGH"
                          0x04, 0x20, 0xE0, 0x82, 0x08, 0x20,         // "ABC " "    "
                          0x82, 0x08, 0x20, 0x82, 0x08, 0x20,         // "    " "    "
                          9,    12,   126};
  EXPECT_EQ(RequestBytes(c), expected);
  EXPECT_EQ(c.m_strTag, "abcdefghIJKLMNOPQRST");  // the member itself is not changed
}

TEST(Codec, ShortTagPacksWithBlanks) {
  Comm c;
  c.m_strTag = "ABC";
  c.BeginRequest(18, 21);
  c.PackTagAndDescriptor();
  EXPECT_EQ(Bytes(c.m_abyRequest.begin() + 2, c.m_abyRequest.begin() + 8),
            (Bytes{0x04, 0x20, 0xE0, 0x82, 0x08, 0x20}));
}

TEST(Codec, MessagePacksThirtyTwoCharactersIntoTwentyFourBytes) {
  Comm c;
  c.m_strMessage = "hello";
  c.BeginRequest(17, 24);
  c.PackMessage();
  Bytes expected = {17, 24, 0x20, 0x53, 0x0C, 0x3E, 0x08, 0x20};  // "HELL" "O   "
  for (int i = 0; i < 6; ++i) expected.insert(expected.end(), {0x82, 0x08, 0x20});
  EXPECT_EQ(RequestBytes(c), expected);
}

TEST(Codec, PlainTextTakesEachByteAsItsWindows1252Character) {
  const Bytes reply = {'A', 'b', 0xB0, 0x00, 'z', 0x80, 0xC4, 0x81};
  std::string text = "old";
  Comm::FromAsciiToString(text, reply.data(), 0, 3);
  EXPECT_EQ(text, "Ab\u00B0");
  Comm::FromAsciiToString(text, reply.data(), 2, 2);
  EXPECT_EQ(text, "");
  Comm::FromAsciiToString(text, reply.data(), 3, 5);
  EXPECT_EQ(text, std::string("\0z", 2));
  // The euro sign, A umlaut, and an unassigned code kept as its own value.
  Comm::FromAsciiToString(text, reply.data(), 5, 8);
  EXPECT_EQ(text, "\u20AC\u00C4\u0081");
}

// One Windows-1252 code a character, then the packed rule: a-z upper-cased,
// the low six bits kept.
TEST(Codec, TagPacksOneCodePageCodeACharacter) {
  struct Case {
    const char* tag;
    Bytes packed;  // data bytes 0..5
  } cases[] = {
      // C4 42 43 20 -> 04 02 03 20 -> "DBC "; not C3 84 as UTF-8 bytes ("CDBC")
      {"\u00C4" "BC", {0x10, 0x20, 0xE0, 0x82, 0x08, 0x20}},
      // 80 E4 3F 41: the euro sign and a-umlaut keep their low six bits
      // (00 and 24), a check mark is outside the code page and goes as "?"
      {"\u20AC\u00E4\u2713" "a", {0x02, 0x4F, 0xC1, 0x82, 0x08, 0x20}},
      // A character beyond 16 bits is one "?"
      {"A\U0001F600" "B", {0x07, 0xF0, 0xA0, 0x82, 0x08, 0x20}},
      // Cut after 8 characters, not 8 bytes: eight DC -> 1C
      {"\u00DC\u00DC\u00DC\u00DC\u00DC\u00DC\u00DC\u00DC\u00DC", {0x71, 0xC7, 0x1C, 0x71, 0xC7, 0x1C}},
  };
  for (const Case& k : cases) {
    Comm c;
    c.m_strTag = k.tag;
    c.BeginRequest(18, 21);
    c.PackTagAndDescriptor();
    EXPECT_EQ(Bytes(c.m_abyRequest.begin() + 2, c.m_abyRequest.begin() + 8), k.packed) << k.tag;
  }
}

TEST(Codec, NewRequestLeavesNoBytesOfAnEarlierOne) {
  Comm c;
  c.m_strMessage = "ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ";
  c.BeginRequest(17, 24);
  c.PackMessage();
  c.BeginRequest(13);
  EXPECT_EQ(c.m_byReqLength, 1);
  for (int i = 1; i < Comm::kRequestSize; ++i) EXPECT_EQ(c.m_abyRequest[i], 0) << i;
}

TEST(CommunicationObject, StartsWithTheLinkDownAndEverythingElseZero) {
  Comm c;
  EXPECT_EQ(c.m_bLinkOK, 0);
  EXPECT_FALSE(c.m_bDeviceAnswered);
  EXPECT_FALSE(c.m_bStatusRead);
  EXPECT_EQ(c.m_nFailCount, 0);
  EXPECT_EQ(c.m_pResponse, nullptr);
  EXPECT_EQ(c.ResponseLength(), 0);
  EXPECT_EQ(c.m_dSampleScale, 0.01);
  EXPECT_EQ(c.m_byReqLength, 0);
  for (BYTE b : c.m_abyRequest) EXPECT_EQ(b, 0);
  for (const auto& e : c.m_aErrorTable) EXPECT_TRUE(e.code == 0 && e.value == 0);
  EXPECT_EQ(c.m_strTag, "");
  EXPECT_EQ(c.m_strMessage, "");
  EXPECT_EQ(c.m_bstrStatusText, _bstr_t(""));
  CDeviceImage zero;
  EXPECT_EQ(static_cast<const CDeviceImage&>(c), zero);
  EXPECT_EQ(zero.m_byDeviceRev + zero.m_byDateYear + zero.m_byPriorityBits + zero.m_byControlMode, 0);
}

}  // namespace
