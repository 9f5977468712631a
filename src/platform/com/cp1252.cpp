#include "platform/com/cp1252.h"

#include "platform/com/bstr.h"

namespace plat {
namespace {

// Codes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char To1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i)
    if (kHigh1252[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

std::string Utf16To1252(std::u16string_view text) {
  std::string codes;
  codes.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
      ++i;  // a pair is one character, and none of the code page
    if (c >= 0xD800 && c <= 0xDFFF) c = u'?';
    codes += To1252(c);
  }
  return codes;
}

std::string Utf8To1252(std::string_view text) { return Utf16To1252(Utf8ToUtf16(text)); }

std::u16string Cp1252ToUtf16(std::string_view codes) {
  std::u16string text;
  text.reserve(codes.size());
  for (const char code : codes) {
    const auto b = static_cast<unsigned char>(code);
    text += b >= 0x80 && b < 0xA0 ? kHigh1252[b - 0x80] : static_cast<char16_t>(b);
  }
  return text;
}

std::string Cp1252ToUtf8(std::string_view codes) { return Utf16ToUtf8(Cp1252ToUtf16(codes)); }

}  // namespace plat
