#pragma once
// _bstr_t: a shared UTF-16 text that keeps a null text apart from an empty
// one. Narrow text is UTF-8.
#include <memory>
#include <string>
#include <string_view>

using OLECHAR = char16_t;
using LPCOLESTR = const OLECHAR*;
using LPOLESTR = OLECHAR*;
using BSTR = OLECHAR*;

namespace plat {
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
}  // namespace plat

class _bstr_t {
 public:
  _bstr_t() = default;                    // null
  _bstr_t(std::nullptr_t) {}              // null
  _bstr_t(const char* utf8);              // null for a null pointer
  _bstr_t(const std::string& utf8);
  _bstr_t(const char16_t* text);          // null for a null pointer
  _bstr_t(std::u16string text);

  bool is_null() const { return !m_data; }
  unsigned length() const { return m_data ? static_cast<unsigned>(m_data->wide.size()) : 0; }
  // Null pointer for a null text; valid while this value lives.
  operator const char*() const;
  const char16_t* wstr() const { return m_data ? m_data->wide.c_str() : nullptr; }
  std::u16string_view view() const { return m_data ? std::u16string_view(m_data->wide) : std::u16string_view(); }
  std::string str() const;  // UTF-8; empty for null
  bool operator!() const { return !m_data; }

  _bstr_t& operator+=(const _bstr_t& other);
  friend _bstr_t operator+(const _bstr_t& a, const _bstr_t& b) {
    _bstr_t r = a;
    r += b;
    return r;
  }
  // Null equals only null; otherwise the texts are compared.
  friend bool operator==(const _bstr_t& a, const _bstr_t& b) {
    if (!a.m_data || !b.m_data) return !a.m_data && !b.m_data;
    return a.m_data->wide == b.m_data->wide;
  }
  friend bool operator<(const _bstr_t& a, const _bstr_t& b) { return a.view() < b.view(); }

 private:
  struct Data {
    std::u16string wide;
    mutable std::string narrow;
    mutable bool hasNarrow = false;
  };
  std::shared_ptr<const Data> m_data;
};
