// Number text in the locale settings of FormatSettings(): writing, mask
// formatting and reading of floating-point numbers and currency amounts.
//
// A currency amount is a signed 64-bit count of 1/10000 (1.5 is 15000).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Shortest general text of X: at most 15 significant digits, the locale
// decimal separator, no grouping. Plain notation for decimal exponents from
// -4 to 14, otherwise mantissa and exponent ("1E15", "-2.5E-7");
// "NAN", "INF" and "-INF" for the special values.
std::string FloatToStr(double x);

// Text of a currency amount: the locale decimal separator, up to four
// decimals without trailing zeros, no grouping, no currency sign.
std::string CurrToStr(int64_t count);

// Mask formatting. "0" a digit always shown, "#" a digit shown when
// significant, "." the place of the locale decimal separator, "," anywhere
// before it groups thousands with the locale thousands separator, text in
// '...' or "..." is copied without the quotes, other characters are copied.
// A mask of up to three sections "positive;negative;zero" picks the section
// by the sign of the rounded number (a negative section shows no sign of its
// own). The number is rounded to the mask's decimals, halves away from zero,
// from its 15-significant-digit text. An empty mask gives FloatToStr.
std::string FormatNumber(const std::string& mask, double x);

// Mask formatting of a currency amount, exact on the count's four decimals;
// an empty mask gives CurrToStr.
std::string FormatCurr(const std::string& mask, int64_t count);

// Reads locale number text: blanks around it, an optional sign, digits with
// at most one locale decimal separator (at least one digit), an optional
// exponent "e"/"E" with optional sign and digits. Nothing else, no grouping.
// Numbers too large for a double are refused; too small ones read as zero.
bool TryStrToFloat(std::string_view text, double& value);

// As TryStrToFloat; fails with EConvertError
// "'<text>' is not a valid floating point value".
double StrToFloat(const std::string& text);

// Reads currency text (the syntax of TryStrToFloat) as a count of 1/10000,
// exact on the written digits; the fifth decimal and beyond round to the
// nearest count, ties to even. Amounts outside the 64-bit count are refused.
bool TryStrToCurr(std::string_view text, int64_t& count);

// As TryStrToCurr; fails with EConvertError
// "'<text>' is not a valid currency value".
int64_t StrToCurr(const std::string& text);

}  // namespace platform
