#include "platform/com/com_error.h"

#include <cstdio>

namespace {
const char* Describe(HRESULT hr) {
  switch (hr) {
    case E_NOTIMPL: return "Not implemented";
    case E_NOINTERFACE: return "No such interface supported";
    case E_POINTER: return "Invalid pointer";
    case E_ABORT: return "Operation aborted";
    case E_FAIL: return "Unspecified error";
    case E_UNEXPECTED: return "Catastrophic failure";
    case E_ACCESSDENIED: return "Access is denied";
    case E_OUTOFMEMORY: return "Not enough memory";
    case E_INVALIDARG: return "The parameter is incorrect";
    case REGDB_E_CLASSNOTREG: return "Class not registered";
    case CO_E_CLASSSTRING: return "Invalid class string";
    case RPC_S_SERVER_UNAVAILABLE_HR: return "The RPC server is unavailable";
    default: return "Error";
  }
}
}  // namespace

std::string _com_error::ErrorMessage() const {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%08X ", static_cast<unsigned>(m_hr));
  return buf + std::string(Describe(m_hr));
}

const char* _com_error::what() const noexcept {
  if (m_what.empty()) {
    try {
      m_what = ErrorMessage();
      if (!m_source.empty()) m_what += " (" + m_source + ")";
    } catch (...) {
      return "_com_error";
    }
  }
  return m_what.c_str();
}

void _com_issue_error(HRESULT hr) { throw _com_error(hr); }
