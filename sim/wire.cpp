#include "sim/wire.h"

#include <bit>
#include <stdexcept>

namespace sim::wire {

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

void PutU24(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 24));
  PutU24(out, value);
}

void PutF32(std::vector<std::uint8_t>& out, float value) {
  PutU32(out, std::bit_cast<std::uint32_t>(value));
}

void PutI16(std::vector<std::uint8_t>& out, std::int16_t value) { PutU16(out, static_cast<std::uint16_t>(value)); }

void PutBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
  for (std::uint8_t b : bytes) out.push_back(b);
}

std::uint16_t GetU16(std::span<const std::uint8_t> in) {
  return static_cast<std::uint16_t>(in[0] << 8 | in[1]);
}

std::uint32_t GetU32(std::span<const std::uint8_t> in) {
  return std::uint32_t{in[0]} << 24 | std::uint32_t{in[1]} << 16 | std::uint32_t{in[2]} << 8 | in[3];
}

float GetF32(std::span<const std::uint8_t> in) { return std::bit_cast<float>(GetU32(in)); }

std::span<const std::uint8_t> Reader::Bytes(std::size_t count) {
  if (count > m_data.size()) throw std::logic_error("sim: request data read past its end");
  const auto taken = m_data.first(count);
  m_data = m_data.subspan(count);
  return taken;
}

std::uint8_t Reader::U8() { return Bytes(1)[0]; }
std::uint16_t Reader::U16() { return GetU16(Bytes(2)); }
std::int16_t Reader::I16() { return static_cast<std::int16_t>(U16()); }
std::uint32_t Reader::U32() { return GetU32(Bytes(4)); }
float Reader::F32() { return GetF32(Bytes(4)); }

namespace {

std::uint8_t Code(char c) {
  auto byte = static_cast<std::uint8_t>(c);
  if (byte >= 'a' && byte <= 'z') byte = static_cast<std::uint8_t>(byte - 'a' + 'A');
  return byte & 0x3F;
}

char Character(std::uint32_t code) {
  return static_cast<char>(code & 0x20 ? code : code + 0x40);
}

}  // namespace

std::vector<std::uint8_t> PackAscii(std::string_view text, std::size_t chars) {
  std::vector<std::uint8_t> out;
  out.reserve(chars / 4 * 3);
  for (std::size_t i = 0; i + 4 <= chars; i += 4) {
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const char c = i + k < text.size() ? text[i + k] : ' ';
      group = group << 6 | Code(c);
    }
    PutU24(out, group);
  }
  return out;
}

std::string UnpackAscii(std::span<const std::uint8_t> packed) {
  std::string text;
  text.reserve(packed.size() / 3 * 4);
  for (std::size_t i = 0; i + 3 <= packed.size(); i += 3) {
    const std::uint32_t group = std::uint32_t{packed[i]} << 16 | std::uint32_t{packed[i + 1]} << 8 | packed[i + 2];
    for (int shift = 18; shift >= 0; shift -= 6) text.push_back(Character(group >> shift & 0x3F));
  }
  return text;
}

}  // namespace sim::wire
