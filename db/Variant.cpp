#include "db/Variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/Conversions.h"
#include "platform/DateTime.h"
#include "platform/Exception.h"
#include "platform/FormatSettings.h"
#include "platform/NumberText.h"
#include "platform/TextUtils.h"

namespace db {
namespace {

[[noreturn]] void NotInteger(const std::string& text) {
  throw platform::EConvertError(
      platform::FormatMessage("'%s' is not a valid integer value", {text}));
}

// The standard conversion first (blanks, sign, hexadecimal); decimal text
// beyond 32 bits is read as a 64-bit number.
int64_t TextToInt64(const std::string& text) {
  if (auto small = platform::TryStrToInt(text)) return *small;
  std::string t = platform::Trim(text);
  std::string_view digits = t;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int64_t v = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) NotInteger(text);
  return v;
}

// Drivers write numbers with a "." whatever the process locale says.
double TextToFloat(const std::string& text) {
  platform::TFormatSettings fixed = platform::FormatSettings();
  fixed.DecimalSeparator = '.';
  if (fixed.ThousandSeparator == '.') fixed.ThousandSeparator = ',';
  platform::TFormatSettingsScope scope(fixed);
  double v = 0;
  if (!platform::TryStrToFloat(text, v))
    throw platform::EConvertError(
        platform::FormatMessage("'%s' is not a valid floating point value", {text}));
  return v;
}

double TextToDateTime(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, consumed = 0;
  double s = 0;
  std::string t = platform::Trim(text);
  int n = std::sscanf(t.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &consumed);
  bool ok = n == 3 && mo >= 1 && mo <= 12 && d >= 1 && d <= platform::DaysInMonth(y, mo);
  if (ok && static_cast<size_t>(consumed) < t.size()) {
    int more = 0;
    char sep = t[consumed];
    ok = (sep == ' ' || sep == 'T') &&
         std::sscanf(t.c_str() + consumed + 1, "%2d:%2d:%lf%n", &h, &mi, &s, &more) == 3 &&
         static_cast<size_t>(consumed + 1 + more) == t.size() && h >= 0 && h < 24 && mi >= 0 &&
         mi < 60 && s >= 0 && s < 60;
  }
  double days = 0;
  if (!ok || !TryEncodeDateTime(y, mo, d, h, mi, s, days))
    throw platform::EConvertError(
        platform::FormatMessage("'%s' is not a valid date and time", {text}));
  return days;
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

bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, double second,
                       double& days) {
  if (!(second >= 0 && second < 60)) return false;
  int whole = static_cast<int>(second);
  int ms = static_cast<int>(std::lround((second - whole) * 1000));
  if (ms == 1000) {  // rounds up into the next second, which must still exist
    ms = 999;
  }
  platform::TDateTime date = 0, time = 0;
  if (!platform::TryEncodeDate(year, month, day, date) ||
      !platform::TryEncodeTime(hour, minute, whole, ms, time))
    return false;
  // Before 1899-12-30 the fraction's magnitude is the time of day.
  days = date < 0 ? date - time : date + time;
  return true;
}

double EncodeDateTime(int year, int month, int day, int hour, int minute, double second) {
  double days = 0;
  if (!TryEncodeDateTime(year, month, day, hour, minute, second, days))
    throw platform::EConvertError("Invalid argument to date encode");
  return days;
}

void DecodeDateTime(double days, int& year, int& month, int& day, int& hour, int& minute,
                    double& second) {
  int sec = 0, ms = 0;
  platform::DecodeDateTime(days, year, month, day, hour, minute, sec, ms);
  second = sec + ms / 1000.0;
}

std::string DateTimeToText(double days) {
  int y, mo, d, h, mi, s, ms;
  platform::DecodeDateTime(days, y, mo, d, h, mi, s, ms);
  char buf[64];
  if (ms)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", y, mo, d, h, mi, s, ms);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
  return buf;
}

}  // namespace db
