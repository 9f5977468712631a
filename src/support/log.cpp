#include "support/log.h"

#include <cstdio>
#include <fstream>

#include "platform/sys/paths.h"

namespace support {

std::string LogStamp(const plat::LocalTime& t) {
  char stamp[64] = {};
  std::snprintf(stamp, sizeof stamp, "%02d%02d%02d-%02d%02d%02d-%03d  ", t.year, t.month, t.day, t.hour, t.minute,
                t.second, t.millisecond);
  return stamp;
}

}  // namespace support

void WriteLog(_bstr_t text) {
  try {
    const std::string line = support::LogStamp(plat::Time().Now()) + " " + text.str();
    const std::string path = plat::LogFilePath();
    if (path.empty()) return;  // the user has no folder of their own for it
    std::ofstream out(path, std::ios::out | std::ios::app);
    if (!out) return;
    out << line << '\n';
  } catch (...) {
    // The log must never disturb the caller.
  }
}
