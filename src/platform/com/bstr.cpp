#include "platform/com/bstr.h"

namespace plat {

// Invalid UTF-8 bytes are taken as Latin-1, so 8-bit device texts keep
// their character codes.
std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp = c;
    size_t len = 1;
    if (c >= 0xC2 && c <= 0xF4) {
      len = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      cp = c & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
      bool ok = i + len <= s.size();
      for (size_t k = 1; ok && k < len; ++k) {
        const unsigned char cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) ok = false;
        cp = (cp << 6) | (cc & 0x3F);
      }
      const char32_t min = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
      if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = c;
        len = 1;
      }
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += len;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace plat

_bstr_t::_bstr_t(const char* utf8) {
  if (utf8) m_data = std::make_shared<Data>(Data{plat::Utf8ToUtf16(utf8), {}, false});
}

_bstr_t::_bstr_t(const std::string& utf8) : m_data(std::make_shared<Data>(Data{plat::Utf8ToUtf16(utf8), {}, false})) {}

_bstr_t::_bstr_t(const char16_t* text) {
  if (text) m_data = std::make_shared<Data>(Data{std::u16string(text), {}, false});
}

_bstr_t::_bstr_t(std::u16string text) : m_data(std::make_shared<Data>(Data{std::move(text), {}, false})) {}

_bstr_t::operator const char*() const {
  if (!m_data) return nullptr;
  if (!m_data->hasNarrow) {
    m_data->narrow = plat::Utf16ToUtf8(m_data->wide);
    m_data->hasNarrow = true;
  }
  return m_data->narrow.c_str();
}

std::string _bstr_t::str() const { return m_data ? plat::Utf16ToUtf8(m_data->wide) : std::string(); }

_bstr_t& _bstr_t::operator+=(const _bstr_t& other) {
  if (!m_data && !other.m_data) return *this;
  m_data = std::make_shared<Data>(Data{std::u16string(view()) + std::u16string(other.view()), {}, false});
  return *this;
}
