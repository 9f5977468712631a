// Severity of each status code, from "CorratErrors.dlm" beside the program.
#include <cstdlib>
#include <sstream>

#include "comm/communication.h"
#include "platform/sys/paths.h"
#include "platform/sys/safe_file.h"

namespace {

// Leading blanks, an optional sign and decimal digits; 0 when there are none.
int LeadingNumber(const std::string& text) {
  const char* p = text.c_str();
  char* end = nullptr;
  const long v = std::strtol(p, &end, 10);
  if (end == p) return 0;
  if (v > 2147483647L) return 2147483647;
  if (v < -2147483647L - 1) return -2147483647 - 1;
  return static_cast<int>(v);
}

}  // namespace

void CWexletCoreCommunication::LoadErrorTable() { LoadErrorTableFrom(plat::ProgramPath("\\CorratErrors.dlm")); }

void CWexletCoreCommunication::LoadErrorTableFrom(const std::string& path) {
  std::string text;
  if (plat::ReadRegularFile(path, plat::kTableFileCap, &text) != plat::ReadStatus::Ok) return;
  std::istringstream in(std::move(text));
  size_t entry = 0;
  std::string line;
  while (entry < m_aErrorTable.size() && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '/') continue;
    const size_t tab = line.find('\t');
    ErrorEntry e;
    char severity = 0;
    if (tab == std::string::npos) {
      severity = line.empty() ? 0 : line[0];
    } else {
      e.code = LeadingNumber(line.substr(0, tab));
      severity = tab + 1 < line.size() ? line[tab + 1] : 0;
    }
    e.value = (severity >= '0' && severity <= '9') ? severity - '0' : 0;
    m_aErrorTable[entry++] = e;
  }
}

BYTE CWexletCoreCommunication::LookupErrorValue(BYTE code) const {
  BYTE value = 0;
  for (const ErrorEntry& e : m_aErrorTable)
    if (e.code == code) value = static_cast<BYTE>(e.value);
  return value;
}
