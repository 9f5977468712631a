#pragma once
// The check of a typed number: one decimal number ("." whatever the
// language) and nothing else, inside an inclusive range. The test pages
// call ValidateNumericEdit from each edit's change handler.
#include "platform/com/variant.h"
#include "platform/win/cwnd.h"

// The number of a text. Throws std::invalid_argument "Input is empty" for a
// null or empty text, std::runtime_error "Input format is not valid" when
// anything but one number (leading white space allowed) is there, and
// std::runtime_error "Value is out of range" beyond the range of a double.
double ParseDouble(const char* text);

class CValidatorNumericRange_double {
 public:
  CValidatorNumericRange_double(double minimum, double maximum) : m_dMinimum(minimum), m_dMaximum(maximum) {}
  virtual ~CValidatorNumericRange_double() = default;

  // True when the value's text parses and lies in [minimum, maximum].
  // Never throws.
  bool IsValid(const _variant_t& value) const;

 private:
  double m_dMinimum;
  double m_dMaximum;
};

// The only kind of check there is: a range of doubles.
constexpr int kValidateNumericRangeDouble = 2;

// Checks the edit's text against [minimum, maximum] and shows icon 153
// (valid) or 152 (invalid) on the icon static. False, with the icon left
// alone, when edit is no edit window or kind is not
// kValidateNumericRangeDouble. The page is not used.
bool ValidateNumericEdit(CWnd* page, CWnd* edit, int kind, CWnd* icon, double minimum, double maximum);
