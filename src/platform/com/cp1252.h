#pragma once
// Windows-1252, the 8-bit code page of the device's texts and of the tag in
// the test files: one code a character.
#include <string>
#include <string_view>

namespace plat {
// One code a character; a character outside the code page becomes '?'.
std::string Utf16To1252(std::u16string_view text);
std::string Utf8To1252(std::string_view text);
// Every code comes back as a character; the five unassigned codes keep
// their own value, so every byte round-trips.
std::u16string Cp1252ToUtf16(std::string_view codes);
std::string Cp1252ToUtf8(std::string_view codes);
}  // namespace plat
