// Feeds arbitrary text to every text reader of the data types. The first byte
// picks the locale settings and a display format; the rest is the text.
// Readers may refuse text with the system's own errors (platform::Exception
// and its subclasses); anything else, a crash or a broken promise traps.

#include <cstddef>
#include <cstdint>
#include <string>

#include "dataframework/types/DataType.h"
#include "dataframework/types/DerivedDataType.h"
#include "platform/FormatSettings.h"

namespace df = dataframework;

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

template <typename F>
void Guarded(F&& f) {
  try {
    f();
  } catch (const platform::Exception&) {
  }
}

platform::TFormatSettings Locale(uint8_t selector) {
  platform::TFormatSettings s;
  if (selector & 1) {
    s.DecimalSeparator = ',';
    s.ThousandSeparator = (selector & 2) ? ' ' : '.';
    s.DateSeparator = '.';
    s.ShortDateFormat = "dd/mm/yyyy";
  }
  if (selector & 4) s.ShortDateFormat = "yyyy/mm/dd";
  if (selector & 8) s.TimeSeparator = '.';
  return s;
}

df::TValueFormat Format(uint8_t selector, const std::string& text) {
  df::TValueFormat f;
  f.InputDecimals = (selector & 16) ? 2 : -1;
  f.RoundFactor = (selector & 16) ? 100 : 0;
  f.Scale = (selector & 32) ? 1000 : ((selector & 64) ? 0 : 1);
  f.EditMode = (selector & 128) != 0;
  // Some inputs double as masks.
  if (text.size() < 24) f.Mask = text;
  return f;
}

void ParseAndShow(const df::TDataType* type, const std::string& text,
                  const df::TValueFormat& format) {
  df::TValue r;
  bool ok = false;
  Guarded([&] { ok = type->ParseValue(text, r, format); });
  if (r.DataType == nullptr) return;  // raised before answering
  if (!ok) {
    // A refused input comes back as the raw text.
    Check(r.DataType == df::MemoType() && r.Text.str() == text);
    return;
  }
  Check(r.DataType == type);
  df::TValue shown;
  Guarded([&] { type->FormatValue(r, format, shown); });
  Guarded([&] { (void)type->SqlValue(r); });
  Guarded([&] { (void)df::ValueAsString(r); });
  unsigned char cell[16] = {};
  Guarded([&] {
    type->WriteBuffer(cell, r, 0, nullptr, nullptr);
    df::TValue back;
    type->ReadBuffer(cell, 0, back, nullptr, nullptr);
    Check(type->Compare(back, r) == 0 || type->Compare(r, r) != 0);  // NaN never equals
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  platform::TFormatSettingsScope locale(Locale(selector));
  const df::TValueFormat format = Format(selector, text);

  Guarded([&] { (void)df::IntegerType()->StringToInteger(text); });
  Guarded([&] { (void)df::DoubleType()->StringToDouble(text); });
  Guarded([&] { (void)df::CurrencyType()->StringToCurrency(text); });
  Guarded([&] { (void)df::PercentType()->StringToPercent(text); });
  Guarded([&] { (void)df::DateTimeType()->StringToDateTime(text); });
  Guarded([&] { (void)df::DateType()->StringToDateTime(text); });
  Guarded([&] { (void)df::TimeType()->StringToDateTime(text); });
  Guarded([&] { (void)df::StringDateTimeType()->StringToDateTime(text); });
  (void)df::BooleanType()->StringToBoolean(text);

  for (const df::TDataType* type : {static_cast<const df::TDataType*>(df::IntegerType()),
                                    static_cast<const df::TDataType*>(df::DoubleType()),
                                    static_cast<const df::TDataType*>(df::CurrencyType()),
                                    static_cast<const df::TDataType*>(df::PercentType()),
                                    static_cast<const df::TDataType*>(df::DateTimeType()),
                                    static_cast<const df::TDataType*>(df::DateType()),
                                    static_cast<const df::TDataType*>(df::TimeType()),
                                    static_cast<const df::TDataType*>(df::BooleanType()),
                                    static_cast<const df::TDataType*>(df::StringType(8, false)),
                                    static_cast<const df::TDataType*>(df::ObjectType())})
    ParseAndShow(type, text, format);

  // Text values read as every kind.
  const df::TValue value = df::StringValue(text);
  Guarded([&] { (void)df::ValueAsInteger(value); });
  Guarded([&] { (void)df::ValueAsFloat(value); });
  Guarded([&] { (void)df::ValueAsCurrency(value); });
  Guarded([&] { (void)df::ValueAsPercent(value); });
  Guarded([&] { (void)df::ValueAsDate(value); });
  Guarded([&] { (void)df::ValueAsTime(value); });
  Check(df::StringType(3, true)->SqlValue(value).size() <= 2 + 2 * 3);

  // Parameter lines of a string type.
  df::TParams params;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i)
    if (i == text.size() || text[i] == '\n') {
      params.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  Guarded([&] { Check(df::TStringType::ClassCreateFromParams(params) != nullptr); });

  // The input as a row buffer cell of a string and a memo type.
  std::string cell = text;
  cell.resize(302, '\0');
  const auto* bytes = reinterpret_cast<const unsigned char*>(cell.data());
  df::TValue r;
  df::StringType(300, true)->ReadBuffer(bytes, 0, r, nullptr, nullptr);
  Check(r.Text.size() <= 300);
  cell.resize(255, '\0');
  df::MemoType()->ReadBuffer(bytes, 0, r, nullptr, nullptr);
  Check(r.Text.size() <= 254);
  return 0;
}
