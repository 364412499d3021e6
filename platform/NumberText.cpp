#include "platform/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/Exception.h"
#include "platform/FormatSettings.h"

namespace platform {
namespace {

// A non-negative decimal number 0.Digits x 10^Point: Digits holds the
// significant digits without leading or trailing zeros (empty for zero).
struct TDecimal {
  std::string Digits;
  int64_t Point = 0;
};

void StripTrailingZeros(TDecimal& d) {
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
}

// Significant digits of |x| (finite) rounded to Precision digits.
TDecimal DecimalOf(double x, int precision) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific,
                           precision - 1);
  TDecimal d;
  const char* p = buf;
  for (; p < res.ptr && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') d.Digits += *p;
  }
  int exp = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exp);
  d.Point = exp + 1;
  StripTrailingZeros(d);
  if (d.Digits.empty()) d.Point = 0;
  return d;
}

// Rounds D to Decimals places, halves away from zero.
void RoundDecimal(TDecimal& d, int decimals) {
  int64_t keep = d.Point + decimals;
  if (keep >= static_cast<int64_t>(d.Digits.size())) return;
  if (keep < 0) {
    d.Digits.clear();
    d.Point = 0;
    return;
  }
  bool up = d.Digits[static_cast<size_t>(keep)] >= '5';
  d.Digits.resize(static_cast<size_t>(keep));
  if (up) {
    size_t i = d.Digits.size();
    while (i > 0 && d.Digits[i - 1] == '9') {
      d.Digits[i - 1] = '0';
      --i;
    }
    if (i == 0) {
      d.Digits.insert(d.Digits.begin(), '1');
      ++d.Point;
    } else {
      ++d.Digits[i - 1];
    }
  }
  StripTrailingZeros(d);
  if (d.Digits.empty()) d.Point = 0;
}

// ---- mask formatting ----

// What one section of a mask asks for.
struct TMaskInfo {
  int IntPlaceholders = 0;
  int FirstIntZero = -1;  // index of the first "0" before the point
  int FracPlaceholders = 0;
  int FracZeros = 0;  // index + 1 of the last "0" after the point
  bool Grouping = false;
};

// Calls Literal(text) for copied text and Placeholder(c, beforePoint) for
// "0", "#" and the decimal point "." (first one only); "," before the point
// is reported as a placeholder too.
template <typename FLiteral, typename FPlaceholder>
void WalkMask(std::string_view mask, FLiteral&& literal, FPlaceholder&& placeholder) {
  bool beforePoint = true;
  for (size_t i = 0; i < mask.size(); ++i) {
    char c = mask[i];
    if (c == '\'' || c == '"') {
      size_t close = mask.find(c, i + 1);
      if (close == std::string_view::npos) close = mask.size();
      literal(mask.substr(i + 1, close - i - 1));
      i = close;
    } else if (c == '0' || c == '#') {
      placeholder(c, beforePoint);
    } else if (c == '.' && beforePoint) {
      placeholder(c, beforePoint);
      beforePoint = false;
    } else if (c == ',' && beforePoint) {
      placeholder(c, beforePoint);
    } else {
      literal(mask.substr(i, 1));
    }
  }
}

TMaskInfo AnalyseMask(std::string_view mask) {
  TMaskInfo info;
  WalkMask(
      mask, [](std::string_view) {},
      [&](char c, bool beforePoint) {
        if (c == ',') {
          info.Grouping = true;
        } else if (c == '.') {
        } else if (beforePoint) {
          if (c == '0' && info.FirstIntZero < 0) info.FirstIntZero = info.IntPlaceholders;
          ++info.IntPlaceholders;
        } else {
          ++info.FracPlaceholders;
          if (c == '0') info.FracZeros = info.FracPlaceholders;
        }
      });
  return info;
}

std::vector<std::string_view> SplitSections(std::string_view mask) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < mask.size(); ++i) {
    char c = mask[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';' && sections.size() < 2) {
      sections.push_back(mask.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(mask.substr(start));
  return sections;
}

std::string FormatSection(std::string_view section, const TMaskInfo& info, const TDecimal& d,
                          bool minus) {
  const TFormatSettings& fs = FormatSettings();
  // Integer digits, padded to the forced "0" places.
  std::string intDigits;
  if (d.Point > 0 && !d.Digits.empty()) {
    size_t n = static_cast<size_t>(d.Point);
    if (n <= d.Digits.size()) {
      intDigits.assign(d.Digits, 0, n);
    } else {
      intDigits = d.Digits;
      intDigits.append(n - d.Digits.size(), '0');
    }
  }
  if (info.FirstIntZero >= 0) {
    size_t forced = static_cast<size_t>(info.IntPlaceholders - info.FirstIntZero);
    if (intDigits.size() < forced) intDigits.insert(0, forced - intDigits.size(), '0');
  }
  // Fraction digits actually shown.
  auto fracDigit = [&](int k) -> char {
    int64_t idx = d.Point + k;
    if (idx < 0 || idx >= static_cast<int64_t>(d.Digits.size())) return '0';
    return d.Digits[static_cast<size_t>(idx)];
  };
  int shown = info.FracZeros;
  for (int k = info.FracPlaceholders - 1; k >= shown; --k) {
    if (fracDigit(k) != '0') {
      shown = k + 1;
      break;
    }
  }

  std::string out;
  out.reserve(section.size() + intDigits.size() + intDigits.size() / 3 + 4);
  if (minus) out += '-';
  const int64_t len = static_cast<int64_t>(intDigits.size());
  auto emitDigit = [&](int64_t pos) {  // pos counts from the right, 0 = units
    out += intDigits[static_cast<size_t>(len - 1 - pos)];
    if (info.Grouping && pos > 0 && pos % 3 == 0) out += fs.ThousandSeparator;
  };
  int intIndex = 0;
  int fracIndex = 0;
  bool intDone = false;
  WalkMask(
      section, [&](std::string_view text) { out.append(text); },
      [&](char c, bool beforePoint) {
        if (c == ',') return;
        if (c == '.') {
          if (!intDone) {  // a mask like ".00": the whole part still shows
            for (int64_t p = len - 1; p >= 0; --p) emitDigit(p);
            intDone = true;
          }
          if (shown > 0) out += fs.DecimalSeparator;
          return;
        }
        if (beforePoint) {
          int64_t pos = info.IntPlaceholders - 1 - intIndex;
          if (intIndex == 0) {
            for (int64_t p = len - 1; p > pos; --p) emitDigit(p);
          }
          if (pos < len) emitDigit(pos);
          ++intIndex;
          intDone = true;
        } else {
          if (fracIndex < shown) out += fracDigit(fracIndex);
          ++fracIndex;
        }
      });
  return out;
}

std::string FormatDecimal(const std::string& mask, TDecimal d, bool negative) {
  std::vector<std::string_view> sections = SplitSections(mask);
  TMaskInfo info = AnalyseMask(sections[0]);
  TDecimal rounded = d;
  RoundDecimal(rounded, info.FracPlaceholders);
  bool zero = rounded.Digits.empty();
  if (zero && sections.size() >= 3 && !sections[2].empty()) {
    TMaskInfo zeroInfo = AnalyseMask(sections[2]);
    return FormatSection(sections[2], zeroInfo, TDecimal{}, false);
  }
  if (negative && !zero && sections.size() >= 2 && !sections[1].empty()) {
    TMaskInfo negInfo = AnalyseMask(sections[1]);
    RoundDecimal(d, negInfo.FracPlaceholders);
    return FormatSection(sections[1], negInfo, d, false);
  }
  return FormatSection(sections[0], info, rounded, negative && !zero);
}

// ---- reading ----

struct TScannedNumber {
  bool Negative = false;
  std::string_view IntDigits;
  std::string_view FracDigits;
  int64_t Exponent = 0;   // clamped far beyond any double or currency range
  std::string_view Body;  // from the first digit or separator to the end, sign excluded
};

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool ScanNumber(std::string_view text, char decimalSeparator, TScannedNumber& out) {
  size_t b = 0;
  size_t e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  size_t i = b;
  if (i < e && (text[i] == '+' || text[i] == '-')) {
    out.Negative = text[i] == '-';
    ++i;
  }
  size_t bodyStart = i;
  size_t intStart = i;
  while (i < e && IsDigit(text[i])) ++i;
  out.IntDigits = text.substr(intStart, i - intStart);
  if (i < e && text[i] == decimalSeparator) {
    ++i;
    size_t fracStart = i;
    while (i < e && IsDigit(text[i])) ++i;
    out.FracDigits = text.substr(fracStart, i - fracStart);
  }
  if (out.IntDigits.empty() && out.FracDigits.empty()) return false;
  if (i < e && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool expNegative = false;
    if (i < e && (text[i] == '+' || text[i] == '-')) {
      expNegative = text[i] == '-';
      ++i;
    }
    if (i >= e || !IsDigit(text[i])) return false;
    int64_t exp = 0;
    for (; i < e && IsDigit(text[i]); ++i) {
      if (exp < 1000000) exp = exp * 10 + (text[i] - '0');
    }
    out.Exponent = expNegative ? -exp : exp;
  }
  if (i != e) return false;
  out.Body = text.substr(bodyStart, e - bodyStart);
  return true;
}

// Decimal position of the first significant digit, for telling overflow
// from underflow; 0 digits give the lowest value.
int64_t Magnitude(const TScannedNumber& n) {
  size_t lead = 0;
  while (lead < n.IntDigits.size() && n.IntDigits[lead] == '0') ++lead;
  if (lead < n.IntDigits.size()) {
    return static_cast<int64_t>(n.IntDigits.size() - lead) + n.Exponent;
  }
  size_t fracLead = 0;
  while (fracLead < n.FracDigits.size() && n.FracDigits[fracLead] == '0') ++fracLead;
  if (fracLead == n.FracDigits.size()) return std::numeric_limits<int64_t>::min();
  return -static_cast<int64_t>(fracLead) + n.Exponent;
}

}  // namespace

std::string FloatToStr(double x) {
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
  // Works in fixed buffers: this runs for every number shown or stored as text.
  char sci[40];
  char digits[24];
  int count = 0;
  int exp = 0;
  auto split = [&](std::to_chars_result res) {
    count = 0;
    const char* p = sci;
    for (; p < res.ptr && *p != 'e'; ++p) {
      if (*p != '.') digits[count++] = *p;
    }
    ++p;  // 'e'
    bool negative = p < res.ptr && *p == '-';
    if (p < res.ptr && (*p == '-' || *p == '+')) ++p;
    exp = 0;
    for (; p < res.ptr; ++p) exp = exp * 10 + (*p - '0');
    if (negative) exp = -exp;
  };
  const double magnitude = std::fabs(x);
  split(std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific));
  if (count > 15) {
    split(std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific, 14));
  }
  while (count > 0 && digits[count - 1] == '0') --count;
  if (count == 0) return "0";

  const char sep = FormatSettings().DecimalSeparator;
  char out[64];
  int n = 0;
  if (x < 0) out[n++] = '-';
  if (exp >= -4 && exp < 15) {
    const int point = exp + 1;  // digits before the separator
    if (point <= 0) {
      out[n++] = '0';
      out[n++] = sep;
      for (int i = 0; i < -point; ++i) out[n++] = '0';
      for (int i = 0; i < count; ++i) out[n++] = digits[i];
    } else {
      for (int i = 0; i < point; ++i) out[n++] = i < count ? digits[i] : '0';
      if (count > point) {
        out[n++] = sep;
        for (int i = point; i < count; ++i) out[n++] = digits[i];
      }
    }
  } else {
    out[n++] = digits[0];
    if (count > 1) {
      out[n++] = sep;
      for (int i = 1; i < count; ++i) out[n++] = digits[i];
    }
    out[n++] = 'E';
    auto res = std::to_chars(out + n, out + sizeof out, exp);
    n = static_cast<int>(res.ptr - out);
  }
  return std::string(out, static_cast<size_t>(n));
}

std::string CurrToStr(int64_t count) {
  uint64_t magnitude = count < 0 ? 0 - static_cast<uint64_t>(count) : static_cast<uint64_t>(count);
  std::string out;
  if (count < 0) out += '-';
  out += std::to_string(magnitude / 10000);
  unsigned frac = static_cast<unsigned>(magnitude % 10000);
  if (frac != 0) {
    char digits[4];
    for (int i = 3; i >= 0; --i) {
      digits[i] = static_cast<char>('0' + frac % 10);
      frac /= 10;
    }
    int n = 4;
    while (digits[n - 1] == '0') --n;
    out += FormatSettings().DecimalSeparator;
    out.append(digits, static_cast<size_t>(n));
  }
  return out;
}

std::string FormatNumber(const std::string& mask, double x) {
  if (mask.empty() || !std::isfinite(x)) return FloatToStr(x);
  return FormatDecimal(mask, DecimalOf(x, 15), std::signbit(x));
}

std::string FormatCurr(const std::string& mask, int64_t count) {
  if (mask.empty()) return CurrToStr(count);
  uint64_t magnitude = count < 0 ? 0 - static_cast<uint64_t>(count) : static_cast<uint64_t>(count);
  TDecimal d;
  if (magnitude != 0) {
    d.Digits = std::to_string(magnitude);
    d.Point = static_cast<int64_t>(d.Digits.size()) - 4;
    StripTrailingZeros(d);
  }
  return FormatDecimal(mask, d, count < 0);
}

bool TryStrToFloat(std::string_view text, double& value) {
  const char sep = FormatSettings().DecimalSeparator;
  if (sep == '.') {
    // Fast path: the standard reader's syntax equals ours once blanks and the
    // sign are taken off and the text starts with a digit or the point.
    size_t b = 0;
    size_t e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    bool negative = false;
    if (b < e && (text[b] == '+' || text[b] == '-')) {
      negative = text[b] == '-';
      ++b;
    }
    if (b < e && (IsDigit(text[b]) || text[b] == '.')) {
      double result = 0;
      auto res = std::from_chars(text.data() + b, text.data() + e, result);
      if (res.ec == std::errc() && res.ptr == text.data() + e) {
        value = negative ? -result : result;
        return true;
      }
      if (res.ec != std::errc::result_out_of_range) return false;
    } else {
      return false;
    }
  }
  TScannedNumber n;
  if (!ScanNumber(text, sep, n)) return false;
  std::string body(n.Body);
  for (char& c : body) {
    if (c == sep) c = '.';
  }
  double result = 0;
  auto res = std::from_chars(body.data(), body.data() + body.size(), result);
  if (res.ec == std::errc::result_out_of_range) {
    if (Magnitude(n) > 0) return false;  // too large for a double
    result = 0.0;                        // too small: reads as zero
  } else if (res.ec != std::errc() || res.ptr != body.data() + body.size()) {
    return false;
  }
  value = n.Negative ? -result : result;
  return true;
}

double StrToFloat(const std::string& text) {
  double value = 0;
  if (!TryStrToFloat(text, value)) {
    throw EConvertError(FormatMessage("'%s' is not a valid floating point value", {text}));
  }
  return value;
}

bool TryStrToCurr(std::string_view text, int64_t& count) {
  TScannedNumber n;
  if (!ScanNumber(text, FormatSettings().DecimalSeparator, n)) return false;
  // All written digits with the place of the first one: 0.D x 10^point.
  std::string_view digits[2] = {n.IntDigits, n.FracDigits};
  int64_t point = static_cast<int64_t>(n.IntDigits.size()) + n.Exponent;
  size_t part = 0;
  size_t pos = 0;
  auto skipLeadingZeros = [&] {
    while (part < 2) {
      if (pos >= digits[part].size()) {
        ++part;
        pos = 0;
        continue;
      }
      if (digits[part][pos] != '0') return;
      ++pos;
      --point;
    }
  };
  skipLeadingZeros();
  auto next = [&]() -> int {  // next digit, -1 at the end
    while (part < 2 && pos >= digits[part].size()) {
      ++part;
      pos = 0;
    }
    if (part >= 2) return -1;
    return digits[part][pos++] - '0';
  };
  uint64_t magnitude = 0;
  int64_t keep = point + 4;  // digits that make the count
  if (part < 2) {
    if (keep > 19) return false;
    for (int64_t i = 0; i < keep; ++i) {
      int digit = next();
      magnitude = magnitude * 10 + static_cast<uint64_t>(digit < 0 ? 0 : digit);
    }
    if (keep >= 0) {
      int first = next();
      if (first > 5) {
        ++magnitude;
      } else if (first == 5) {
        bool more = false;
        for (int digit = next(); digit >= 0; digit = next()) {
          if (digit != 0) {
            more = true;
            break;
          }
        }
        if (more || (magnitude & 1) != 0) ++magnitude;
      }
    }
  }
  const uint64_t limit =
      static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + (n.Negative ? 1 : 0);
  if (magnitude > limit) return false;
  count = n.Negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

int64_t StrToCurr(const std::string& text) {
  int64_t count = 0;
  if (!TryStrToCurr(text, count)) {
    throw EConvertError(FormatMessage("'%s' is not a valid currency value", {text}));
  }
  return count;
}

}  // namespace platform
