#include "db/Variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/Conversions.h"
#include "platform/Exception.h"

namespace db {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

[[noreturn]] void NotInteger(const std::string& text) {
  throw platform::EConvertError(
      platform::FormatMessage("'%s' is not a valid integer value", {text}));
}

int64_t TextToInt64(const std::string& text) {
  std::string_view t = Trim(text);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  int64_t v = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) {
    // Hexadecimal and the other forms of the standard conversion.
    if (auto small = platform::TryStrToInt(text)) return *small;
    NotInteger(text);
  }
  return v;
}

double TextToFloat(const std::string& text) {
  std::string t(Trim(text));
  char* end = nullptr;
  double v = t.empty() ? 0 : std::strtod(t.c_str(), &end);
  if (t.empty() || end != t.c_str() + t.size() || !std::isfinite(v))
    throw platform::EConvertError(
        platform::FormatMessage("'%s' is not a valid floating point value", {text}));
  return v;
}

int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const int64_t kEpoch = DaysFromCivil(1899, 12, 30);

double TextToDateTime(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, consumed = 0;
  double s = 0;
  std::string t(Trim(text));
  int n = std::sscanf(t.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &consumed);
  bool ok = n == 3 && mo >= 1 && mo <= 12 && d >= 1 && d <= 31;
  if (ok && static_cast<size_t>(consumed) < t.size()) {
    int more = 0;
    char sep = t[consumed];
    ok = (sep == ' ' || sep == 'T') &&
         std::sscanf(t.c_str() + consumed + 1, "%2d:%2d:%lf%n", &h, &mi, &s, &more) == 3 &&
         static_cast<size_t>(consumed + 1 + more) == t.size() && h < 24 && mi < 60 && s < 61;
  }
  if (!ok)
    throw platform::EConvertError(
        platform::FormatMessage("'%s' is not a valid date and time", {text}));
  return EncodeDateTime(y, mo, d, h, mi, s);
}

}  // namespace

std::string VarToStr(const TVariant& v) {
  switch (v.index()) {
    case 0:
      return {};
    case 1:
      return std::get<std::string>(v);
    case 2:
      return std::to_string(std::get<int32_t>(v));
    case 3:
      return std::to_string(std::get<int64_t>(v));
    case 4: {
      char buf[64];
      auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::get<double>(v));
      return ec == std::errc() ? std::string(buf, end) : std::string();
    }
    default:
      return std::get<bool>(v) ? "True" : "False";
  }
}

int64_t VarToInt64(const TVariant& v) {
  switch (v.index()) {
    case 0:
      return 0;
    case 1:
      return TextToInt64(std::get<std::string>(v));
    case 2:
      return std::get<int32_t>(v);
    case 3:
      return std::get<int64_t>(v);
    case 4: {
      double d = std::get<double>(v);
      if (!std::isfinite(d) || std::fabs(d) > 9.2e18) NotInteger(VarToStr(v));
      return std::llround(d);
    }
    default:
      return std::get<bool>(v) ? 1 : 0;
  }
}

int32_t VarToInt(const TVariant& v) {
  int64_t x = VarToInt64(v);
  if (x < std::numeric_limits<int32_t>::min() || x > std::numeric_limits<int32_t>::max())
    NotInteger(VarToStr(v));
  return static_cast<int32_t>(x);
}

double VarToFloat(const TVariant& v) {
  switch (v.index()) {
    case 0:
      return 0;
    case 1:
      return TextToFloat(std::get<std::string>(v));
    case 4:
      return std::get<double>(v);
    default:
      return static_cast<double>(VarToInt64(v));
  }
}

double VarToDateTime(const TVariant& v) {
  if (std::holds_alternative<std::string>(v)) return TextToDateTime(std::get<std::string>(v));
  return VarToFloat(v);
}

double EncodeDateTime(int year, int month, int day, int hour, int minute, double second) {
  return static_cast<double>(DaysFromCivil(year, month, day) - kEpoch) +
         (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

void DecodeDateTime(double days, int& year, int& month, int& day, int& hour, int& minute,
                    double& second) {
  double whole = std::floor(days);
  // Milliseconds, rounded, so that 0.5 s stays 0.5 s through the round trip.
  int64_t ms = std::llround((days - whole) * 86400000.0);
  int64_t date = static_cast<int64_t>(whole);
  if (ms >= 86400000) {
    ms -= 86400000;
    ++date;
  }
  CivilFromDays(date + kEpoch, year, month, day);
  hour = static_cast<int>(ms / 3600000);
  minute = static_cast<int>(ms / 60000 % 60);
  second = static_cast<double>(ms % 60000) / 1000.0;
}

std::string DateTimeToText(double days) {
  int y, mo, d, h, mi;
  double s;
  DecodeDateTime(days, y, mo, d, h, mi, s);
  int whole = static_cast<int>(s);
  int ms = static_cast<int>(std::lround((s - whole) * 1000));
  char buf[64];
  if (ms)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", y, mo, d, h, mi, whole,
                  ms);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, whole);
  return buf;
}

}  // namespace db
