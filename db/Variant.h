// The small variant that parameters and result columns hold, and its
// conversions. Date-time values are days since 30 December 1899, the
// fraction being the time of day.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace db {

// Null is std::monostate.
using TVariant = std::variant<std::monostate, std::string, int32_t, int64_t, double, bool>;

inline bool VarIsNull(const TVariant& v) {
  return std::holds_alternative<std::monostate>(v);
}

// Null reads as "", 0 and 0.0. Text that is not a number fails with
// platform::EConvertError.
std::string VarToStr(const TVariant& v);
int64_t VarToInt64(const TVariant& v);
int32_t VarToInt(const TVariant& v);
double VarToFloat(const TVariant& v);
// Text is read as "YYYY-MM-DD[ HH:MM:SS[.fff]]" (or with a "T"); numbers are days.
double VarToDateTime(const TVariant& v);

// Calendar date and time to days since 30 December 1899, and back, by the
// platform's calendar (years 1 to 9999; before the epoch the fraction's
// magnitude is the time of day). Encoding fails with platform::EConvertError
// for a date or time that does not exist; TryEncodeDateTime answers false.
bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, double second,
                       double& days);
double EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                      double second = 0);
void DecodeDateTime(double days, int& year, int& month, int& day, int& hour, int& minute,
                    double& second);
// "YYYY-MM-DD HH:MM:SS[.fff]"
std::string DateTimeToText(double days);

}  // namespace db
