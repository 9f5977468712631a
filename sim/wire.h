#pragma once
// Byte-level helpers of the simulator: big-endian numbers and HART packed
// ASCII. Kept apart from the program's decoder on purpose, so that the two
// cannot share a mistake.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sim::wire {

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value);
void PutU24(std::vector<std::uint8_t>& out, std::uint32_t value);
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value);
void PutF32(std::vector<std::uint8_t>& out, float value);
void PutI16(std::vector<std::uint8_t>& out, std::int16_t value);
// Byte by byte: g++ 12 warns wrongly when a span is inserted into a vector
// that began as an initializer list.
void PutBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes);

// The span must hold at least the value's bytes.
std::uint16_t GetU16(std::span<const std::uint8_t> in);
std::uint32_t GetU32(std::span<const std::uint8_t> in);
float GetF32(std::span<const std::uint8_t> in);

// Takes values off the front of a request's data, in wire order. The
// caller checks the length first; reading past the end throws.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : m_data(data) {}
  std::uint8_t U8();
  std::uint16_t U16();
  std::int16_t I16();
  std::uint32_t U32();
  float F32();
  std::span<const std::uint8_t> Bytes(std::size_t count);

 private:
  std::span<const std::uint8_t> m_data;
};

// Upper-cases `text`, cuts or pads it with blanks to `chars` characters (a
// multiple of 4) and packs it into chars * 3 / 4 bytes.
std::vector<std::uint8_t> PackAscii(std::string_view text, std::size_t chars);
// Four characters for every three bytes; a trailing partial group is ignored.
std::string UnpackAscii(std::span<const std::uint8_t> packed);

}  // namespace sim::wire
