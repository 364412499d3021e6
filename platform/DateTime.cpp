#include "platform/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/Exception.h"
#include "platform/FormatSettings.h"
#include "platform/TextUtils.h"

namespace platform {
namespace {

// Days from 1 January 0001 (day 1) to 30 December 1899.
constexpr int64_t kDateDelta = 693594;
// Day number of 31 December 9999 counted from 1 January 0001.
constexpr int64_t kMaxDay = 3652059;

const int kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                               {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

[[noreturn]] void InvalidDateTime() {
  throw EConvertError("Invalid date-time value");
}

// Splits a date-time into a day counted from 1 January 0001 and the
// milliseconds of the day.
void ToTimeStamp(TDateTime dateTime, int64_t& day, int& msec) {
  if (!std::isfinite(dateTime) || std::fabs(dateTime) > 3.0e6) InvalidDateTime();
  int64_t total = std::llround(dateTime * MSecsPerDay);
  day = kDateDelta + total / MSecsPerDay;
  msec = static_cast<int>((total < 0 ? -total : total) % MSecsPerDay);
  if (day < 1 || day > kMaxDay) InvalidDateTime();
}

void DayToDate(int64_t day, int& year, int& month, int& dayOfMonth) {
  const int64_t d1 = 365, d4 = 1461, d100 = 36524, d400 = 146097;
  int64_t t = day - 1;
  int64_t y = 1;
  y += (t / d400) * 400;
  t %= d400;
  int64_t i = t / d100;
  int64_t d = t % d100;
  if (i == 4) {
    --i;
    d += d100;
  }
  y += i * 100;
  y += (d / d4) * 4;
  d %= d4;
  i = d / d1;
  d %= d1;
  if (i == 4) {
    --i;
    d += d1;
  }
  y += i;
  year = static_cast<int>(y);
  const int* days = kMonthDays[IsLeapYear(year) ? 1 : 0];
  month = 1;
  while (d >= days[month - 1]) {
    d -= days[month - 1];
    ++month;
  }
  dayOfMonth = static_cast<int>(d) + 1;
}

void AppendNumber(std::string& out, int value, int width) {
  char digits[16];
  int start = 16;
  unsigned v = value < 0 ? 0u : static_cast<unsigned>(value);  // decoded fields are never negative
  do {
    digits[--start] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (16 - start < width && start > 0) digits[--start] = '0';
  out.append(digits + start, static_cast<size_t>(16 - start));
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, size_t pos, std::string_view word) {
  if (word.empty() || pos + word.size() > text.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Lower(text[pos + i]) != Lower(word[i])) return false;
  }
  return true;
}

// ---- reading ----

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// Reads 1 to 9 digits at Pos; Digits tells how many were written.
bool ScanNumber(std::string_view text, size_t& pos, int& value, int& digits) {
  size_t start = pos;
  int64_t v = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    if (pos - start >= 9) return false;
    v = v * 10 + (text[pos] - '0');
    ++pos;
  }
  digits = static_cast<int>(pos - start);
  value = static_cast<int>(v);
  return digits > 0;
}

// The order of day, month and year in the short date format: a string such
// as "dmy".
std::string DateOrder() {
  const std::string& format = FormatSettings().ShortDateFormat;
  std::string order;
  char quote = 0;
  for (char c : format) {
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      continue;
    }
    char l = Lower(c);
    if ((l == 'd' || l == 'm' || l == 'y') && order.find(l) == std::string::npos) order += l;
  }
  return order.size() == 3 ? order : std::string("mdy");
}

int CurrentYear() {
  int y, m, d;
  DecodeDate(Today(), y, m, d);
  return y;
}

bool ScanDate(std::string_view text, size_t& pos, TDateTime& date) {
  const char sep = FormatSettings().DateSeparator;
  int values[3];
  int digits[3];
  int count = 0;
  size_t p = pos;
  while (count < 3) {
    if (!ScanNumber(text, p, values[count], digits[count])) return false;
    ++count;
    if (count < 3 && p < text.size() && text[p] == sep && p + 1 < text.size() &&
        IsDigit(text[p + 1])) {
      ++p;
    } else {
      break;
    }
  }
  if (count < 2) return false;
  std::string order = DateOrder();
  int year = 0, month = 0, day = 0;
  int yearDigits = 0;
  if (count == 3) {
    for (int i = 0; i < 3; ++i) {
      if (order[i] == 'd') day = values[i];
      if (order[i] == 'm') month = values[i];
      if (order[i] == 'y') {
        year = values[i];
        yearDigits = digits[i];
      }
    }
  } else {
    order.erase(order.find('y'), 1);
    day = order[0] == 'd' ? values[0] : values[1];
    month = order[0] == 'm' ? values[0] : values[1];
    year = CurrentYear();
    yearDigits = 4;
  }
  if (yearDigits <= 2) {
    // Within 50 years of today, either way.
    int now = CurrentYear();
    int pivot = now - 50;
    year += (pivot / 100) * 100;
    if (year < pivot) year += 100;
  }
  if (!TryEncodeDate(year, month, day, date)) return false;
  pos = p;
  return true;
}

bool ScanTime(std::string_view text, size_t& pos, TDateTime& time) {
  const TFormatSettings& fs = FormatSettings();
  size_t p = pos;
  int hour = 0, min = 0, sec = 0, msec = 0, digits = 0;
  if (!ScanNumber(text, p, hour, digits)) return false;
  bool haveMinutes = false;
  if (p < text.size() && text[p] == fs.TimeSeparator) {
    ++p;
    if (!ScanNumber(text, p, min, digits)) return false;
    haveMinutes = true;
    if (p < text.size() && text[p] == fs.TimeSeparator) {
      ++p;
      if (!ScanNumber(text, p, sec, digits)) return false;
      if (p < text.size() && (text[p] == '.' || text[p] == fs.DecimalSeparator)) {
        ++p;
        if (!ScanNumber(text, p, msec, digits) || digits > 3) return false;
        for (int i = digits; i < 3; ++i) msec *= 10;
      }
    }
  }
  size_t q = p;
  while (q < text.size() && text[q] == ' ') ++q;
  int half = -1;  // 0 AM, 1 PM
  const std::string_view ams[] = {fs.TimeAMString, "AM"};
  const std::string_view pms[] = {fs.TimePMString, "PM"};
  for (int k = 0; k < 2 && half < 0; ++k) {
    if (StartsWithNoCase(text, q, ams[k])) {
      half = 0;
      p = q + ams[k].size();
    } else if (StartsWithNoCase(text, q, pms[k])) {
      half = 1;
      p = q + pms[k].size();
    }
  }
  if (half >= 0) {
    if (hour < 1 || hour > 12) return false;
    hour = (hour % 12) + (half == 1 ? 12 : 0);
  } else if (!haveMinutes) {
    return false;
  }
  if (!TryEncodeTime(hour, min, sec, msec, time)) return false;
  pos = p;
  return true;
}

void TrimRange(std::string_view text, size_t& b, size_t& e) {
  b = 0;
  e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
}

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
  if (month < 1 || month > 12) return 0;
  return kMonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  const int* days = kMonthDays[IsLeapYear(year) ? 1 : 0];
  if (day < 1 || day > days[month - 1]) return false;
  int64_t d = day;
  for (int m = 1; m < month; ++m) d += days[m - 1];
  int64_t i = year - 1;
  d += i * 365 + i / 4 - i / 100 + i / 400 - kDateDelta;
  date = static_cast<double>(d);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date))
    throw EConvertError("Invalid argument to date encode");
  return date;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
  if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 ||
      msec > 999) {
    return false;
  }
  time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime time = 0;
  if (!TryEncodeTime(hour, min, sec, msec, time)) {
    throw EConvertError("Invalid argument to time encode");
  }
  return time;
}

void DecodeDate(TDateTime dateTime, int& year, int& month, int& day) {
  int64_t dayNumber;
  int msec;
  ToTimeStamp(dateTime, dayNumber, msec);
  DayToDate(dayNumber, year, month, day);
}

void DecodeTime(TDateTime dateTime, int& hour, int& min, int& sec, int& msec) {
  int64_t dayNumber;
  int ms;
  ToTimeStamp(dateTime, dayNumber, ms);
  hour = ms / 3600000;
  min = ms / 60000 % 60;
  sec = ms / 1000 % 60;
  msec = ms % 1000;
}

void DecodeDateTime(TDateTime dateTime, int& year, int& month, int& day, int& hour, int& min,
                    int& sec, int& msec) {
  int64_t dayNumber;
  int ms;
  ToTimeStamp(dateTime, dayNumber, ms);
  DayToDate(dayNumber, year, month, day);
  hour = ms / 3600000;
  min = ms / 60000 % 60;
  sec = ms / 1000 % 60;
  msec = ms % 1000;
}

TDateTime Now() {
  auto now = std::chrono::system_clock::now();
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  TDateTime date = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  int sec = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second stays in its minute
  return date + EncodeTime(local.tm_hour, local.tm_min, sec, static_cast<int>(ms % 1000));
}

TDateTime Today() {
  return std::trunc(Now());
}

std::string FormatDateTime(const std::string& format, TDateTime dateTime) {
  const TFormatSettings& fs = FormatSettings();
  int year, month, day, hour, min, sec, msec;
  DecodeDateTime(dateTime, year, month, day, hour, min, sec, msec);
  bool twelveHour = false;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != 'a' && format[i] != 'A') continue;
    if (StartsWithNoCase(format, i, "ampm") || StartsWithNoCase(format, i, "am/pm")) {
      twelveHour = true;
    }
  }
  std::string out;  // short results stay in the string's own buffer
  size_t i = 0;
  while (i < format.size()) {
    char c = format[i];
    char l = Lower(c);
    if (c == '\'' || c == '"') {
      size_t close = format.find(c, i + 1);
      if (close == std::string::npos) close = format.size();
      out.append(format, i + 1, close - i - 1);
      i = close + 1;
      continue;
    }
    if (StartsWithNoCase(format, i, "ampm")) {
      out += hour < 12 ? fs.TimeAMString : fs.TimePMString;
      i += 4;
      continue;
    }
    if (StartsWithNoCase(format, i, "am/pm")) {
      bool upper = c == 'A';
      out += hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
      i += 5;
      continue;
    }
    size_t run = 1;
    while (i + run < format.size() && Lower(format[i + run]) == l) ++run;
    switch (l) {
      case 'd':
        AppendNumber(out, day, run >= 2 ? 2 : 1);
        break;
      case 'm':
        AppendNumber(out, month, run >= 2 ? 2 : 1);
        break;
      case 'y':
        if (run <= 2) {
          AppendNumber(out, year % 100, 2);
        } else {
          AppendNumber(out, year, 4);
        }
        break;
      case 'h': {
        int h = hour;
        if (twelveHour) h = h % 12 == 0 ? 12 : h % 12;
        AppendNumber(out, h, run >= 2 ? 2 : 1);
        break;
      }
      case 'n':
        AppendNumber(out, min, run >= 2 ? 2 : 1);
        break;
      case 's':
        AppendNumber(out, sec, run >= 2 ? 2 : 1);
        break;
      case 'z':
        AppendNumber(out, msec, run >= 2 ? 3 : 1);
        break;
      case '/':
        out.append(run, fs.DateSeparator);
        break;
      case ':':
        out.append(run, fs.TimeSeparator);
        break;
      default:
        out.append(format, i, run);
        break;
    }
    i += run;
  }
  return out;
}

std::string DateToStr(TDateTime date) {
  return FormatDateTime(FormatSettings().ShortDateFormat, date);
}

std::string TimeToStr(TDateTime time) {
  return FormatDateTime(FormatSettings().LongTimeFormat, time);
}

std::string DateTimeToStr(TDateTime dateTime) {
  int hour, min, sec, msec;
  DecodeTime(dateTime, hour, min, sec, msec);
  std::string out = DateToStr(dateTime);
  if (hour != 0 || min != 0 || sec != 0 || msec != 0) {
    out += ' ';
    out += TimeToStr(dateTime);
  }
  return out;
}

bool TryStrToDate(std::string_view text, TDateTime& date) {
  size_t b, e;
  TrimRange(text, b, e);
  std::string_view body = text.substr(b, e - b);
  size_t pos = 0;
  return ScanDate(body, pos, date) && pos == body.size();
}

TDateTime StrToDate(const std::string& text) {
  TDateTime date = 0;
  if (!TryStrToDate(text, date)) {
    throw EConvertError(FormatMessage("'%s' is not a valid date", {text}));
  }
  return date;
}

bool TryStrToTime(std::string_view text, TDateTime& time) {
  size_t b, e;
  TrimRange(text, b, e);
  std::string_view body = text.substr(b, e - b);
  size_t pos = 0;
  return ScanTime(body, pos, time) && pos == body.size();
}

TDateTime StrToTime(const std::string& text) {
  TDateTime time = 0;
  if (!TryStrToTime(text, time)) {
    throw EConvertError(FormatMessage("'%s' is not a valid time", {text}));
  }
  return time;
}

bool TryStrToDateTime(std::string_view text, TDateTime& dateTime) {
  size_t b, e;
  TrimRange(text, b, e);
  std::string_view body = text.substr(b, e - b);
  size_t pos = 0;
  TDateTime date = 0;
  if (ScanDate(body, pos, date)) {
    if (pos == body.size()) {
      dateTime = date;
      return true;
    }
    if (body[pos] != ' ') return false;
    while (pos < body.size() && body[pos] == ' ') ++pos;
    TDateTime time = 0;
    if (!ScanTime(body, pos, time) || pos != body.size()) return false;
    // A date before day 0 keeps its time as the magnitude of the fraction.
    dateTime = date < 0 ? date - time : date + time;
    return true;
  }
  pos = 0;
  TDateTime time = 0;
  if (!ScanTime(body, pos, time) || pos != body.size()) return false;
  dateTime = time;
  return true;
}

TDateTime StrToDateTime(const std::string& text) {
  TDateTime dateTime = 0;
  if (!TryStrToDateTime(text, dateTime)) {
    throw EConvertError(FormatMessage("'%s' is not a valid date and time", {text}));
  }
  return dateTime;
}

}  // namespace platform
