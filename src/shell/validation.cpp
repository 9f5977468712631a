#include "shell/validation.h"

#include <cerrno>
#include <stdexcept>
#include <string>

#include "platform/sys/numeric.h"
#include "platform/win/resources.h"

namespace {

constexpr UINT kInvalidIcon = 152;
constexpr UINT kValidIcon = 153;

// The variant as text, as a conversion to a string would give it; throws
// for a value that has no text.
std::string TextOf(const _variant_t& value) {
  switch (value.vt) {
    case VT_BSTR:
      return value.bstrVal.str();
    case VT_EMPTY:
      return {};
    case VT_I2:
      return std::to_string(value.iVal);
    case VT_I4:
      return std::to_string(value.lVal);
    case VT_UI1:
      return std::to_string(value.bVal);
    case VT_R4:
      return plat::FormatNumber("%.9g", static_cast<double>(value.fltVal));
    case VT_R8:
      return plat::FormatNumber("%.17g", value.dblVal);
    default:
      throw std::runtime_error("Input format is not valid");
  }
}

}  // namespace

double ParseDouble(const char* text) {
  errno = 0;
  if (!text || !*text) throw std::invalid_argument("Input is empty");
  char* end = nullptr;
  const double value = plat::StrToD(text, &end);
  if (*end != '\0') throw std::runtime_error("Input format is not valid");
  if (errno == ERANGE) {
    errno = 0;
    throw std::runtime_error("Value is out of range");
  }
  return value;
}

bool CValidatorNumericRange_double::IsValid(const _variant_t& value) const {
  double number = 0;
  try {
    number = ParseDouble(TextOf(value).c_str());
  } catch (...) {
    return false;
  }
  if (number < m_dMinimum) return false;
  return number <= m_dMaximum;
}

bool ValidateNumericEdit(CWnd* /*page*/, CWnd* edit, int kind, CWnd* icon, double minimum, double maximum) {
  if (!edit || edit->SendMessage(EM_GETLIMITTEXT) == 0) return false;
  if (kind != kValidateNumericRangeDouble) return false;
  try {
    const CValidatorNumericRange_double validator(minimum, maximum);
    const bool valid = validator.IsValid(_variant_t(_bstr_t(edit->GetWindowText())));
    if (icon) {
      const HICON image = LoadIcon(AfxGetInstanceHandle(), valid ? kValidIcon : kInvalidIcon);
      icon->SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(image));
    }
    return valid;
  } catch (...) {
    return false;
  }
}
