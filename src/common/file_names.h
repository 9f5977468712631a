#pragma once
// Default names of saved tests and reports: the device tag, a kind word and
// the minute of saving, as "PV-101_Ramp_2026_3_5_7h_4m".
#include <algorithm>
#include <string>

#include "platform/com/bstr.h"
#include "platform/sys/time_source.h"

// The tag without the blanks it is padded with and with the characters a
// file name cannot hold ("/" and NUL) made "_", then `middle`, then year,
// month, day, hour and minute.
inline std::string StampedFileName(const _bstr_t& tag, const std::string& middle, const plat::LocalTime& t) {
  std::u16string safe(tag.view());
  safe.erase(0, std::min(safe.size(), safe.find_first_not_of(u' ')));
  safe.erase(safe.find_last_not_of(u' ') + 1);
  for (char16_t& c : safe)
    if (c == u'/' || c == 0) c = u'_';
  return plat::Utf16ToUtf8(safe) + middle + std::to_string(t.year) + "_" + std::to_string(t.month) + "_" +
         std::to_string(t.day) + "_" + std::to_string(t.hour) + "h_" + std::to_string(t.minute) + "m";
}
