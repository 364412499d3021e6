// Date-time numbers and their text.
//
// A TDateTime counts days from 30 December 1899 (day 0); the fraction is the
// time of day (0.5 is noon). For negative numbers the whole part is still the
// day and the magnitude of the fraction the time: -1.25 is 29 December 1899,
// 06:00. Valid dates run from 1 January 0001 to 31 December 9999. Decoding
// rounds to the millisecond. Text follows FormatSettings().
#pragma once

#include <string>
#include <string_view>

namespace platform {

using TDateTime = double;

inline constexpr int HoursPerDay = 24;
inline constexpr int MinsPerDay = 24 * 60;
inline constexpr int SecsPerDay = 24 * 60 * 60;
inline constexpr int MSecsPerDay = 24 * 60 * 60 * 1000;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12

// Encoding. The raising forms fail with EConvertError
// "Invalid argument to date encode" / "Invalid argument to time encode".
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeTime(int hour, int min, int sec, int msec,
                   TDateTime& time);  // 0..23, 0..59, 0..59, 0..999
TDateTime EncodeTime(int hour, int min, int sec, int msec);

// Decoding. A number outside the valid dates, or not finite, fails with
// EConvertError "Invalid date-time value".
void DecodeDate(TDateTime dateTime, int& year, int& month, int& day);
void DecodeTime(TDateTime dateTime, int& hour, int& min, int& sec, int& msec);
void DecodeDateTime(TDateTime dateTime, int& year, int& month, int& day, int& hour, int& min,
                    int& sec, int& msec);

// The local date and time; Today() is its whole day.
TDateTime Now();
TDateTime Today();

// Writes DateTime by Format: "d"/"dd" day, "m"/"mm" month, "yy"/"yyyy" year,
// "h"/"hh" hour, "n"/"nn" minute, "s"/"ss" second, "z"/"zzz" millisecond,
// "ampm" the locale AM/PM text (and a 12-hour clock), "/" the locale date
// separator, ":" the locale time separator, '...' and "..." literal text,
// any other character as it is.
std::string FormatDateTime(const std::string& format, TDateTime dateTime);

// The date in the short date format; the time in the long time format; the
// date, and unless the time is exactly midnight, a blank and the time.
std::string DateToStr(TDateTime date);
std::string TimeToStr(TDateTime time);
std::string DateTimeToStr(TDateTime dateTime);

// Reading, blanks around the text allowed.
// Date: the numbers of day, month and year in the order of the short date
// format, separated by the date separator; without the year the current year
// is taken; a year of one or two digits lies within 50 years of today.
// Time: hour and minute, optional seconds and ".milliseconds", separated by
// the time separator, optionally followed by the AM or PM text.
// Date and time: a date, optionally followed by blanks and a time; or a time.
// The raising forms fail with EConvertError "'<text>' is not a valid date",
// "... valid time" and "... valid date and time".
bool TryStrToDate(std::string_view text, TDateTime& date);
TDateTime StrToDate(const std::string& text);
bool TryStrToTime(std::string_view text, TDateTime& time);
TDateTime StrToTime(const std::string& text);
bool TryStrToDateTime(std::string_view text, TDateTime& dateTime);
TDateTime StrToDateTime(const std::string& text);

}  // namespace platform
