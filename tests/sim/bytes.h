#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace sim::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline Bytes Repeat(const Bytes& part, int times) {
  Bytes out;
  for (int i = 0; i < times; ++i) out = out + part;
  return out;
}

inline Bytes Zeros(std::size_t count) { return Bytes(count, 0); }

// Plain 8-bit text, one byte a character.
inline Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

// Four blanks, packed.
inline const Bytes kBlanks = {0x82, 0x08, 0x20};

}  // namespace sim::test
