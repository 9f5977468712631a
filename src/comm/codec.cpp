// HART frame codec: big-endian values and the two text encodings.
#include <bit>
#include <cmath>

#include "comm/communication.h"
#include "platform/com/cp1252.h"
#include "support/log.h"

WORD CWexletCoreCommunication::GetWord(const BYTE* reply, int offset) {
  return static_cast<WORD>((reply[offset] << 8) | reply[offset + 1]);
}

DWORD CWexletCoreCommunication::GetDWord(const BYTE* reply, int offset) {
  return (static_cast<DWORD>(reply[offset]) << 24) | (static_cast<DWORD>(reply[offset + 1]) << 16) |
         (static_cast<DWORD>(reply[offset + 2]) << 8) | static_cast<DWORD>(reply[offset + 3]);
}

float CWexletCoreCommunication::GetFloat(const BYTE* reply, int offset) {
  return std::bit_cast<float>(GetDWord(reply, offset));
}

std::array<BYTE, 4> CWexletCoreCommunication::GetIdBytes(DWORD value) {
  return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
          static_cast<BYTE>(value >> 24)};
}

DWORD CWexletCoreCommunication::FloatBits(double value) {
  return std::bit_cast<DWORD>(static_cast<float>(value));
}

WORD CWexletCoreCommunication::ToWord16(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 32767.0) return static_cast<WORD>(32767);
  if (value <= -32768.0) return static_cast<WORD>(static_cast<std::int16_t>(-32768));
  return static_cast<WORD>(static_cast<std::int16_t>(std::trunc(value)));
}

char CWexletCoreCommunication::SixBitToAscii(BYTE code) {
  code &= 0x3F;
  return static_cast<char>((code & 0x20) ? code : (code | 0x40));
}

void CWexletCoreCommunication::UnpackPackedAscii(const BYTE* reply, int offset, std::string& text) {
  const BYTE b0 = reply[offset], b1 = reply[offset + 1], b2 = reply[offset + 2];
  text.clear();
  text += SixBitToAscii(static_cast<BYTE>(b0 >> 2));
  text += SixBitToAscii(static_cast<BYTE>(((b0 & 0x03) << 4) | (b1 >> 4)));
  text += SixBitToAscii(static_cast<BYTE>(((b1 & 0x0F) << 2) | (b2 >> 6)));
  text += SixBitToAscii(static_cast<BYTE>(b2 & 0x3F));
}

void CWexletCoreCommunication::FromAsciiToString(std::string& text, const BYTE* reply, int first, int end) {
  text.clear();
  try {
    if (end > first)
      text = plat::Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(reply + first), end - first));
  } catch (...) {
    WriteLog("its there in FromAsciiToString");
  }
}

void CWexletCoreCommunication::PackText(const std::string& text, size_t chars, int dataOffset) {
  // One code page code a character. Upper-casing is the C locale's (a-z
  // only); a code outside 0x20..0x5F goes out as its low six bits.
  std::string copy = plat::Utf8To1252(text).substr(0, chars);
  copy.resize(chars, ' ');
  for (char& c : copy)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (size_t i = 0; i < chars; i += 4) {
    const DWORD group = (static_cast<DWORD>(copy[i] & 0x3F) << 18) | (static_cast<DWORD>(copy[i + 1] & 0x3F) << 12) |
                        (static_cast<DWORD>(copy[i + 2] & 0x3F) << 6) | static_cast<DWORD>(copy[i + 3] & 0x3F);
    const auto bytes = GetIdBytes(group);
    const int at = dataOffset + static_cast<int>(i / 4 * 3);
    PutByte(at, bytes[2]);
    PutByte(at + 1, bytes[1]);
    PutByte(at + 2, bytes[0]);
  }
}

bool CWexletCoreCommunication::IsPackedAscii(const std::string& text) {
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if ((code < 0x20 || code > 0x5F) && !(c >= 'a' && c <= 'z')) return false;
  }
  return true;
}

void CWexletCoreCommunication::PackMessage() { PackText(m_strMessage, 32, 0); }

void CWexletCoreCommunication::PackTagAndDescriptor() {
  PackText(m_strTag, 8, 0);
  PackText(m_strDescriptor, 16, 6);
  PutByte(18, m_byDateDay);
  PutByte(19, m_byDateMonth);
  PutByte(20, m_byDateYear);
}

void CWexletCoreCommunication::BeginRequest(BYTE command) {
  m_abyRequest.fill(0);
  m_abyRequest[0] = command;
  m_byReqLength = 1;
}

void CWexletCoreCommunication::BeginRequest(BYTE command, BYTE byteCount) {
  m_abyRequest.fill(0);
  m_abyRequest[0] = command;
  m_abyRequest[1] = byteCount;
  m_byReqLength = static_cast<BYTE>(byteCount + 2);
}

void CWexletCoreCommunication::PutByte(int dataOffset, BYTE value) { m_abyRequest.at(2 + dataOffset) = value; }

void CWexletCoreCommunication::PutWord(int dataOffset, WORD value) {
  const auto b = GetIdBytes(value);
  PutByte(dataOffset, b[1]);
  PutByte(dataOffset + 1, b[0]);
}

void CWexletCoreCommunication::PutDWord(int dataOffset, DWORD value) {
  const auto b = GetIdBytes(value);
  for (int i = 0; i < 4; ++i) PutByte(dataOffset + i, b[3 - i]);
}

void CWexletCoreCommunication::PutFloat(int dataOffset, double value) { PutDWord(dataOffset, FloatBits(value)); }
