#pragma once
// The service engineer's log: one line per call, appended to the log file
// and closed again at once, each line stamped with the local time.
#include <string>

#include "platform/com/bstr.h"
#include "platform/sys/time_source.h"

// Never raises: a log that cannot be written is skipped.
void WriteLog(_bstr_t text);

namespace support {

// "%02d%02d%02d-%02d%02d%02d-%03d  " of a local time (four-digit year).
std::string LogStamp(const plat::LocalTime& t);

}  // namespace support
