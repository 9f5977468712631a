#pragma once
// Numbers that the program stores, writes or parses again always use ".",
// whatever the user's language. Qt's application object takes the C
// library's locale from the environment, so the program calls
// UseCNumericLocale() right after creating it; the helpers below do not
// depend on that and use the "C" rules in any case.
#include <optional>
#include <string>

namespace plat {

void UseCNumericLocale();

// printf-style formatting under the "C" numeric rules.
std::string FormatNumber(const char* format, ...) __attribute__((format(printf, 1, 2)));

// strtod under the "C" numeric rules.
double StrToD(const char* text, char** end);

// The finite number a text begins with ("." as decimal point); nothing for
// a null or empty text or one that does not begin with a number.
std::optional<double> LeadingNumber(const char* text);

// The value held to [low, high]; not a number gives low. A clamp made of
// two comparisons lets NaN through, and a device variable must never get it.
double HeldTo(double value, double low, double high);

}  // namespace plat
