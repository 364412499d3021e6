#include "platform/FormatSettings.h"

#include <langinfo.h>
#include <locale.h>

namespace platform {
namespace {

// One byte of separator; a multi-byte one (such as a UTF-8 narrow no-break
// space) becomes a blank, an empty one keeps the fallback.
char SeparatorFrom(const char* text, char fallback) {
  if (text == nullptr || text[0] == '\0') return fallback;
  if (text[1] != '\0' || static_cast<unsigned char>(text[0]) >= 0x80) return ' ';
  return text[0];
}

// Turns a strftime date or time format into FormatDateTime tokens and picks
// up its separator. Two-digit years are written with four digits.
std::string TokensFrom(const char* format, char separatorToken, char& separator) {
  std::string out;
  bool haveSeparator = false;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      if (!haveSeparator) {
        separator = *p;
        haveSeparator = true;
      }
      if (*p == separator) {
        out += separatorToken;
      } else if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z')) {
        out += '"';  // a letter would read as a token
        out += *p;
        out += '"';
      } else {
        out += *p;
      }
      continue;
    }
    ++p;
    while (*p == 'E' || *p == 'O' || *p == '-' || *p == '_' || *p == '0') ++p;
    switch (*p) {
      case 'd':
        out += "dd";
        break;
      case 'e':
        out += "d";
        break;
      case 'm':
        out += "mm";
        break;
      case 'y':
      case 'Y':
        out += "yyyy";
        break;
      case 'H':
        out += "hh";
        break;
      case 'I':
        out += "hh";
        break;
      case 'M':
        out += "nn";
        break;
      case 'S':
        out += "ss";
        break;
      case 'p':
        out += "ampm";
        break;
      case 'T':
        out += "hh:nn:ss";
        if (!haveSeparator) {
          separator = ':';
          haveSeparator = true;
        }
        break;
      case 'R':
        out += "hh:nn";
        if (!haveSeparator) {
          separator = ':';
          haveSeparator = true;
        }
        break;
      case 'D':
        out += "mm/dd/yyyy";
        if (!haveSeparator) {
          separator = '/';
          haveSeparator = true;
        }
        break;
      case 'F':
        out += "yyyy/mm/dd";
        if (!haveSeparator) {
          separator = '-';
          haveSeparator = true;
        }
        break;
      case 'r':
        out += "hh:nn:ss ampm";
        if (!haveSeparator) {
          separator = ':';
          haveSeparator = true;
        }
        break;
      case '\0':
        return out;
      default:
        break;  // names of days and months are not used in short formats
    }
  }
  return out;
}

// Keeps the settings only if the format holds each of the needed fields.
bool HasAll(const std::string& format, const char* tokens) {
  for (const char* t = tokens; *t != '\0'; ++t) {
    if (format.find(*t) == std::string::npos) return false;
  }
  return true;
}

TFormatSettings& Current() {
  static TFormatSettings settings = LocaleFormatSettings("");
  return settings;
}

}  // namespace

const TFormatSettings& FormatSettings() {
  return Current();
}

void SetFormatSettings(const TFormatSettings& settings) {
  Current() = settings;
}

TFormatSettings LocaleFormatSettings(const char* localeName) {
  TFormatSettings result;
  locale_t loc = newlocale(LC_ALL_MASK, localeName != nullptr ? localeName : "", locale_t(0));
  if (loc == locale_t(0)) loc = newlocale(LC_ALL_MASK, "C", locale_t(0));
  if (loc == locale_t(0)) return result;

  result.DecimalSeparator = SeparatorFrom(nl_langinfo_l(RADIXCHAR, loc), '.');
  char fallbackGroup = result.DecimalSeparator == ',' ? '.' : ',';
  result.ThousandSeparator = SeparatorFrom(nl_langinfo_l(THOUSEP, loc), fallbackGroup);
  if (result.ThousandSeparator == result.DecimalSeparator) result.ThousandSeparator = fallbackGroup;

  char dateSeparator = '/';
  std::string date = TokensFrom(nl_langinfo_l(D_FMT, loc), '/', dateSeparator);
  if (HasAll(date, "dmy")) {
    result.ShortDateFormat = date;
    result.DateSeparator = dateSeparator;
  }
  char timeSeparator = ':';
  std::string time = TokensFrom(nl_langinfo_l(T_FMT, loc), ':', timeSeparator);
  if (HasAll(time, "hn")) {
    result.LongTimeFormat = time;
    result.TimeSeparator = timeSeparator;
  }
  const char* am = nl_langinfo_l(AM_STR, loc);
  const char* pm = nl_langinfo_l(PM_STR, loc);
  if (am != nullptr && am[0] != '\0') result.TimeAMString = am;
  if (pm != nullptr && pm[0] != '\0') result.TimePMString = pm;
  freelocale(loc);
  return result;
}

TFormatSettingsScope::TFormatSettingsScope(const TFormatSettings& settings)
    : FSaved(FormatSettings()) {
  SetFormatSettings(settings);
}

TFormatSettingsScope::~TFormatSettingsScope() {
  SetFormatSettings(FSaved);
}

}  // namespace platform
