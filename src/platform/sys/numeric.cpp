#include "platform/sys/numeric.h"

#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace plat {
namespace {

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

// Switches the calling thread to the "C" locale for one call.
class CLocaleScope {
 public:
  CLocaleScope() : m_previous(uselocale(CLocale())) {}
  ~CLocaleScope() { uselocale(m_previous); }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t m_previous;
};

}  // namespace

void UseCNumericLocale() { std::setlocale(LC_NUMERIC, "C"); }

std::string FormatNumber(const char* format, ...) {
  CLocaleScope scope;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  // Most numbers fit the local buffer: one formatting pass.
  char local[128];
  const int n = std::vsnprintf(local, sizeof local, format, copy);
  va_end(copy);
  std::string out;
  if (n > 0 && static_cast<size_t>(n) < sizeof local) {
    out.assign(local, static_cast<size_t>(n));
  } else if (n > 0) {
    out.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(n));
  }
  va_end(args);
  return out;
}

double StrToD(const char* text, char** end) { return strtod_l(text, end, CLocale()); }

std::optional<double> LeadingNumber(const char* text) {
  if (!text) return std::nullopt;
  char* end = nullptr;
  const double value = StrToD(text, &end);
  if (end == text || !std::isfinite(value)) return std::nullopt;
  return value;
}

double HeldTo(double value, double low, double high) {
  if (!(value > low)) return low;  // NaN too
  return value < high ? value : high;
}

}  // namespace plat
