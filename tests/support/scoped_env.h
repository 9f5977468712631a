#pragma once
// Sets or clears an environment variable for one scope, and puts back
// what was there before.
#include <cstdlib>
#include <optional>
#include <string>

namespace testsupport {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  // A null value clears the variable.
  ScopedEnv(const char* name, const char* value)
      : ScopedEnv(name, value ? std::optional<std::string>(value) : std::nullopt) {}
  ~ScopedEnv() {
    if (m_old)
      setenv(m_name, m_old->c_str(), 1);
    else
      unsetenv(m_name);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

}  // namespace testsupport
