// Feeds arbitrary bytes to the number, currency, date and time readers, the
// mask and date-time formatters and SubstituteArgs. The first byte picks the
// locale settings; the rest is split at 0x00 bytes into the text and its
// arguments. Checks that written text reads back and that substitution stays
// bounded.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dataframework/types/DataTypes.h"
#include "platform/Conversions.h"
#include "platform/DateTime.h"
#include "platform/Exception.h"
#include "platform/FormatSettings.h"
#include "platform/NumberText.h"

namespace {

platform::TFormatSettings SettingsFor(uint8_t selector) {
  platform::TFormatSettings s;
  const char decimals[] = {'.', ',', '.', ','};
  const char groups[] = {',', '.', ' ', ' '};
  const char* dateFormats[] = {"dd/mm/yyyy", "mm/dd/yyyy", "yyyy/mm/dd", "d/m/yy"};
  const char dateSeparators[] = {'.', '/', '-', ' '};
  s.DecimalSeparator = decimals[selector & 3];
  s.ThousandSeparator = groups[(selector >> 2) & 3];
  s.ShortDateFormat = dateFormats[(selector >> 4) & 3];
  s.DateSeparator = dateSeparators[(selector >> 6) & 3];
  s.LongTimeFormat = (selector & 1) ? "hh:nn:ss" : "h:nn:ss ampm";
  return s;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  platform::SetFormatSettings(SettingsFor(data[0]));
  std::vector<std::string> parts(1);
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0 && parts.size() < 8) {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(data[i]);
    }
  }
  const std::string& text = parts[0];

  double x = 0;
  if (platform::TryStrToFloat(text, x)) {
    Check(std::isfinite(x));
    double back = 0;
    Check(platform::TryStrToFloat(platform::FloatToStr(x), back));
    Check(std::fabs(back - x) <= std::fabs(x) * 1e-14);
  }
  // The point locale has its own fast path: it must agree with the general
  // reader, seen through the same text in a comma locale.
  if (text.find(',') == std::string::npos) {
    platform::TFormatSettings point = SettingsFor(0);
    platform::TFormatSettings comma = SettingsFor(1);
    std::string swapped = text;
    for (char& c : swapped) {
      if (c == '.') c = ',';
    }
    double a = 0, b = 0;
    platform::SetFormatSettings(point);
    bool okPoint = platform::TryStrToFloat(text, a);
    platform::SetFormatSettings(comma);
    bool okComma = platform::TryStrToFloat(swapped, b);
    Check(okPoint == okComma && (!okPoint || a == b || (std::isnan(a) && std::isnan(b))));
    platform::SetFormatSettings(SettingsFor(data[0]));
  }
  int64_t count = 0;
  if (platform::TryStrToCurr(text, count)) {
    Check(platform::StrToCurr(platform::CurrToStr(count)) == count);
  }
  (void)platform::TryStrToInt(text);
  platform::TDateTime dt = 0;
  if (platform::TryStrToDate(text, dt)) {
    Check(platform::StrToDate(platform::DateToStr(dt)) == dt || (data[0] >> 4 & 3) == 3);
  }
  if (platform::TryStrToTime(text, dt)) Check(dt >= 0 && dt < 1);
  if (platform::TryStrToDateTime(text, dt)) (void)platform::DateTimeToStr(dt);

  // The text as a mask and as a date-time format, on a number from the bytes.
  double number = 0;
  if (size >= 9) std::memcpy(&number, data + size - 8, sizeof number);
  if (text.size() <= 256) {
    std::string formatted = platform::FormatNumber(text, number);
    Check(formatted.size() <= 2 * 400 + 4 * text.size() + 16);
    (void)platform::FormatCurr(text, static_cast<int64_t>(size) * 1234567);
    try {
      (void)platform::FormatDateTime(text, number);
    } catch (const platform::EConvertError&) {
      // numbers outside the dates are refused
    }
  }

  std::vector<std::string> args(parts.begin() + 1, parts.end());
  std::string result = dataframework::SubstituteArgs(text, args);
  size_t longest = 0;
  for (const auto& a : args) longest = a.size() > longest ? a.size() : longest;
  Check(result.size() <= text.size() + (text.size() / 3 + 1) * longest);
  (void)dataframework::TranslateMessageFmt(text, args);
  return 0;
}
