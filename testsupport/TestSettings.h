// Locale settings used by the platform tests, so no test depends on the
// machine's locale.
#pragma once

#include "platform/FormatSettings.h"

namespace platform::testing {

// Decimal point, comma grouping, day.month.year, 24-hour time.
inline TFormatSettings PointSettings() {
  TFormatSettings s;
  s.DecimalSeparator = '.';
  s.ThousandSeparator = ',';
  s.DateSeparator = '.';
  s.TimeSeparator = ':';
  s.ShortDateFormat = "dd/mm/yyyy";
  s.LongTimeFormat = "hh:nn:ss";
  return s;
}

// Decimal comma with the given grouping character.
inline TFormatSettings CommaSettings(char grouping) {
  TFormatSettings s = PointSettings();
  s.DecimalSeparator = ',';
  s.ThousandSeparator = grouping;
  return s;
}

}  // namespace platform::testing
