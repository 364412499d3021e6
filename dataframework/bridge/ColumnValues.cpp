#include "dataframework/bridge/ColumnValues.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "dataframework/types/DataTypes.h"
#include "platform/DateTime.h"

namespace dataframework::bridge {

namespace {

[[noreturn]] void Unreadable(std::string_view Text, const std::string& Table,
                             const std::string& Column) {
  throw EBridgeError("Cannot read '" + std::string(Text) + "' of column " + Table + "." + Column);
}

template <typename T>
TValue RawValue(const TDataType* Type, T X) {
  TValue v;
  v.DataType = Type;
  v.Set(X);
  return v;
}

// Reads an unsigned decimal of exactly Digits digits at Text[Pos].
bool ReadFixed(std::string_view Text, size_t& Pos, size_t Digits, int& Out) {
  if (Pos + Digits > Text.size()) return false;
  int v = 0;
  for (size_t i = 0; i < Digits; ++i) {
    const char c = Text[Pos + i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  Pos += Digits;
  Out = v;
  return true;
}

bool ReadDate(std::string_view Text, size_t& Pos, double& Out) {
  int y = 0, m = 0, d = 0;
  if (!ReadFixed(Text, Pos, 4, y) || Pos >= Text.size() || Text[Pos++] != '-' ||
      !ReadFixed(Text, Pos, 2, m) || Pos >= Text.size() || Text[Pos++] != '-' ||
      !ReadFixed(Text, Pos, 2, d))
    return false;
  return platform::TryEncodeDate(y, m, d, Out);
}

// "hh:mm:ss[.fraction]"; the fraction is rounded to milliseconds (the
// framework's resolution), a rounding up to the next second is kept below it.
bool ReadTime(std::string_view Text, size_t& Pos, double& Out) {
  int h = 0, mi = 0, s = 0, ms = 0;
  if (!ReadFixed(Text, Pos, 2, h) || Pos >= Text.size() || Text[Pos++] != ':' ||
      !ReadFixed(Text, Pos, 2, mi) || Pos >= Text.size() || Text[Pos++] != ':' ||
      !ReadFixed(Text, Pos, 2, s))
    return false;
  if (Pos < Text.size() && Text[Pos] == '.') {
    ++Pos;
    int scale = 100;
    while (Pos < Text.size() && Text[Pos] >= '0' && Text[Pos] <= '9') {
      ms += (Text[Pos] - '0') * scale;
      scale /= 10;
      ++Pos;
    }
  }
  if (h == 24 && mi == 0 && s == 0) {  // the server's end of day
    h = 23, mi = 59, s = 59, ms = 999;
  }
  return platform::TryEncodeTime(h, mi, s, ms, Out);
}

bool ParseCurrency(std::string_view Text, int64_t& Out) {
  size_t i = 0;
  bool negative = false;
  if (i < Text.size() && (Text[i] == '-' || Text[i] == '+')) negative = Text[i++] == '-';
  __int128 whole = 0;
  bool digits = false;
  for (; i < Text.size() && Text[i] >= '0' && Text[i] <= '9'; ++i) {
    whole = whole * 10 + (Text[i] - '0');
    digits = true;
    if (whole > static_cast<__int128>(INT64_MAX) / 10000) return false;
  }
  int64_t frac = 0;
  int scale = 1000;
  bool roundUp = false;
  if (i < Text.size() && Text[i] == '.') {
    ++i;
    for (int n = 0; i < Text.size() && Text[i] >= '0' && Text[i] <= '9'; ++i, ++n) {
      digits = true;
      if (n < 4) {
        frac += (Text[i] - '0') * scale;
        scale /= 10;
      } else if (n == 4) {
        roundUp = Text[i] >= '5';
      }
    }
  }
  if (!digits || i != Text.size()) return false;
  __int128 total = whole * 10000 + frac + (roundUp ? 1 : 0);
  if (total > INT64_MAX) return false;
  Out = static_cast<int64_t>(negative ? -total : total);
  return true;
}

}  // namespace

TValue ValueFromText(TColumnKind Kind, const TDataType* Type, std::string_view Text,
                     const std::string& Table, const std::string& Column) {
  switch (Kind) {
    case ckInteger: {
      int32_t v = 0;
      auto [end, ec] = std::from_chars(Text.data(), Text.data() + Text.size(), v);
      if (ec != std::errc() || end != Text.data() + Text.size()) Unreadable(Text, Table, Column);
      return IntegerValue(v);
    }
    case ckDouble: {
      double v = 0;
      if (Text == "Infinity") {
        v = HUGE_VAL;
      } else if (Text == "-Infinity") {
        v = -HUGE_VAL;
      } else if (Text == "NaN") {
        v = std::nan("");
      } else {
        auto [end, ec] = std::from_chars(Text.data(), Text.data() + Text.size(), v);
        if (ec != std::errc() || end != Text.data() + Text.size()) Unreadable(Text, Table, Column);
      }
      return DoubleValue(v);
    }
    case ckCurrency: {
      int64_t c = 0;
      if (!ParseCurrency(Text, c)) Unreadable(Text, Table, Column);
      return RawValue(Type, c);
    }
    case ckString:
    case ckMemo: {
      TValue v;
      v.DataType = Type;
      v.Text = std::string(Text);
      return v;
    }
    case ckBoolean:
      if (Text == "t" || Text == "1" || Text == "true") return RawValue(Type, true);
      if (Text == "f" || Text == "0" || Text == "false") return RawValue(Type, false);
      Unreadable(Text, Table, Column);
    case ckDate: {
      size_t pos = 0;
      double d = 0;
      if (!ReadDate(Text, pos, d) || pos != Text.size()) Unreadable(Text, Table, Column);
      return RawValue(Type, d);
    }
    case ckTime: {
      size_t pos = 0;
      double t = 0;
      if (!ReadTime(Text, pos, t) || pos != Text.size()) Unreadable(Text, Table, Column);
      return RawValue(Type, t);
    }
    case ckDateTime: {
      size_t pos = 0;
      double d = 0, t = 0;
      if (!ReadDate(Text, pos, d)) Unreadable(Text, Table, Column);
      if (pos < Text.size()) {
        if (Text[pos] != ' ' && Text[pos] != 'T') Unreadable(Text, Table, Column);
        ++pos;
        if (!ReadTime(Text, pos, t)) Unreadable(Text, Table, Column);
      }
      // Days before 1899-12-30 count down while their time of day counts up.
      return RawValue(Type, d >= 0 ? d + t : d - t);
    }
  }
  Unreadable(Text, Table, Column);
}

TValue NullValue(TColumnKind Kind, const TDataType* Type) {
  switch (Kind) {
    case ckInteger:
      return IntegerValue(0);
    case ckDouble:
      return DoubleValue(0);
    case ckCurrency:
      return RawValue(Type, int64_t{0});
    case ckString:
    case ckMemo: {
      TValue v;
      v.DataType = Type;
      return v;
    }
    case ckBoolean:
      return RawValue(Type, false);
    default:
      return RawValue(Type, 0.0);
  }
}

namespace {

std::string DateText(double X) {
  int y = 0, m = 0, d = 0;
  platform::DecodeDate(X, y, m, d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
  return buf;
}

std::string TimeText(double X) {
  int h = 0, mi = 0, s = 0, ms = 0;
  platform::DecodeTime(X, h, mi, s, ms);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%03d", h, mi, s, ms);
  return buf;
}

}  // namespace

std::string TextOfValue(TColumnKind Kind, const TValue& Value) {
  switch (Kind) {
    case ckInteger:
      return std::to_string(ValueAsInteger(Value));
    case ckDouble: {
      const double x = ValueAsFloat(Value);
      if (std::isnan(x)) return "NaN";
      if (std::isinf(x)) return x > 0 ? "Infinity" : "-Infinity";
      char buf[32];
      auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x);
      return std::string(buf, end);
    }
    case ckCurrency: {
      const int64_t c = ValueAsCurrency(Value);
      const uint64_t a = c < 0 ? 0 - static_cast<uint64_t>(c) : static_cast<uint64_t>(c);
      char buf[32];
      std::snprintf(buf, sizeof buf, "%s%llu.%04llu", c < 0 ? "-" : "",
                    static_cast<unsigned long long>(a / 10000),
                    static_cast<unsigned long long>(a % 10000));
      return buf;
    }
    case ckString:
    case ckMemo:
      return ValueAsString(Value);
    case ckBoolean:
      return ValueAsBoolean(Value) ? "1" : "0";
    case ckDate:
      return DateText(ValueAsDate(Value));
    case ckTime:
      return TimeText(ValueAsTime(Value));
    case ckDateTime: {
      const double x = ValueAsDateTime(Value);
      return DateText(x) + " " + TimeText(x);
    }
  }
  return {};
}

uint64_t HashBytes(const void* Data, size_t Size, uint64_t Seed) {
  const auto* p = static_cast<const unsigned char*>(Data);
  for (size_t i = 0; i < Size; ++i) {
    Seed ^= p[i];
    Seed *= 1099511628211ull;
  }
  return Seed;
}

uint64_t HashValue(TColumnKind Kind, const TValue& Value, bool IsNull, uint64_t Seed) {
  const unsigned char tag = IsNull ? 0 : 1;
  Seed = HashBytes(&tag, 1, Seed);
  if (IsNull) return Seed;
  if (Kind == ckString || Kind == ckMemo) {
    const std::string& text = Value.Text.str();
    const uint64_t size = text.size();
    Seed = HashBytes(&size, sizeof size, Seed);
    return HashBytes(text.data(), text.size(), Seed);
  }
  // The canonical number of the kind, not the raw 8 bytes: a value read
  // back from a row record may carry stale bytes beyond its size.
  switch (Kind) {
    case ckInteger: {
      const int32_t v = ValueAsInteger(Value);
      return HashBytes(&v, sizeof v, Seed);
    }
    case ckCurrency: {
      const int64_t v = ValueAsCurrency(Value);
      return HashBytes(&v, sizeof v, Seed);
    }
    case ckBoolean: {
      const unsigned char v = ValueAsBoolean(Value) ? 1 : 0;
      return HashBytes(&v, 1, Seed);
    }
    default: {
      const double v = Kind == ckDouble ? ValueAsFloat(Value) : ValueAsDateTime(Value);
      return HashBytes(&v, sizeof v, Seed);
    }
  }
}

}  // namespace dataframework::bridge
