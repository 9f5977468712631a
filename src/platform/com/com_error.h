#pragma once
#include <exception>
#include <string>

#include "platform/com/hresult.h"

// The exception raised for a failed HRESULT.
class _com_error : public std::exception {
 public:
  explicit _com_error(HRESULT hr, std::string source = {}) : m_hr(hr), m_source(std::move(source)) {}
  HRESULT Error() const noexcept { return m_hr; }
  const std::string& Source() const noexcept { return m_source; }
  // "0x80004003 Invalid pointer" style text for the log.
  std::string ErrorMessage() const;
  const char* what() const noexcept override;

 private:
  HRESULT m_hr;
  std::string m_source;
  mutable std::string m_what;
};

[[noreturn]] void _com_issue_error(HRESULT hr);

// Raises _com_error for a failed result; a success passes.
inline void ComCheck(HRESULT hr) {
  if (FAILED(hr)) _com_issue_error(hr);
}
