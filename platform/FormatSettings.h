// Locale settings for number, date and time text.
//
// The settings are read from the process locale (the environment's LC_*
// variables) on first use and can be replaced as a whole; tests set them
// explicitly. Date and time formats use the tokens of FormatDateTime
// (DateTime.h): "/" stands for DateSeparator and ":" for TimeSeparator.
// Only one thread reads or replaces the settings.
#pragma once

#include <string>

namespace platform {

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "mm/dd/yyyy";  // order of day, month, year
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "AM";  // used by the "ampm" token
  std::string TimePMString = "PM";
};

// The settings in force.
const TFormatSettings& FormatSettings();

// Replaces the settings in force.
void SetFormatSettings(const TFormatSettings& settings);

// The settings of a named locale ("" = the environment's); the defaults of
// TFormatSettings where the locale is unknown or gives no usable value.
// Multi-byte separators (such as a narrow no-break space) become a blank.
TFormatSettings LocaleFormatSettings(const char* localeName = "");

// Replaces the settings for the life of the object and restores the old ones.
class TFormatSettingsScope {
 public:
  explicit TFormatSettingsScope(const TFormatSettings& settings);
  ~TFormatSettingsScope();
  TFormatSettingsScope(const TFormatSettingsScope&) = delete;
  TFormatSettingsScope& operator=(const TFormatSettingsScope&) = delete;

 private:
  TFormatSettings FSaved;
};

}  // namespace platform
