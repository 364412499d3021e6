// TIntegerStringType, TPictureType and TStringDateTimeType.

#include "dataframework/types/DerivedDataType.h"

#include <memory>

#include "platform/Conversions.h"
#include "platform/DateTime.h"
#include "platform/FormatSettings.h"

namespace dataframework {

const TDataTypeClass TIntegerStringType::kClass{"TIntegerStringType",
                                                &TStringType::ClassCreateFromParams};
const TDataTypeClass TPictureType::kClass{"TPictureType", &TObjectType::ClassCreateFromParams};
const TDataTypeClass TStringDateTimeType::kClass{"TStringDateTimeType",
                                                 &TDateTimeType::ClassCreateFromParams};

namespace {

struct TDerivedTypes {
  std::unique_ptr<TIntegerStringType> IntegerString = std::make_unique<TIntegerStringType>();
  std::unique_ptr<TPictureType> Picture = std::make_unique<TPictureType>();
  std::unique_ptr<TStringDateTimeType> StringDateTime = std::make_unique<TStringDateTimeType>();
};

TDerivedTypes* g_derived = nullptr;

TDerivedTypes& Derived() {
  if (g_derived == nullptr) g_derived = new TDerivedTypes();
  return *g_derived;
}

// Made when the module starts, freed when it ends.
struct TModuleLifetime {
  TModuleLifetime() { Derived(); }
  ~TModuleLifetime() {
    delete g_derived;
    g_derived = nullptr;
  }
} g_lifetime;

std::string Digits(int N, int Width) {
  return PadText(std::to_string(N), '0', Width, true);
}

void CheckPatternLength(const char* Operation, const std::string& Text) {
  if (Text.size() != 19)
    throw platform::Exception(
        std::string(Operation) + ": The length of the length of the date/time value '" + Text +
        "' doesn't equal the length of the format string '" + TStringDateTimeType::kPattern + "'!");
}

int Part(const std::string& Text, size_t Start, size_t Length) {
  return platform::StrToInt(Text.substr(Start, Length));
}

}  // namespace

const TIntegerStringType* IntegerStringType() {
  return Derived().IntegerString.get();
}
const TPictureType* PictureType() {
  return Derived().Picture.get();
}
const TStringDateTimeType* StringDateTimeType() {
  return Derived().StringDateTime.get();
}

TValue PictureValue(platform::TPicture* Picture) {
  TValue r;
  PictureType()->PictureToValue(Picture, r);
  return r;
}

platform::TPicture* TPictureType::GetAsPicture(const TValue& V) const {
  platform::TObject* object = ValueAsObject(V);
  if (object == nullptr) return nullptr;
  if (auto* picture = dynamic_cast<platform::TPicture*>(object)) return picture;
  throw platform::Exception(ClassName() +
                            ".GetAsPicture: You can not get Pictures from this DataType!");
}

std::string TStringDateTimeType::AsString(const TValue& V) const {
  if (V.DataType != this) return ValueAsString(V);
  int year, month, day, hour, minute, second, msec;
  platform::DecodeDateTime(ValueAsDateTime(V), year, month, day, hour, minute, second, msec);
  const std::string separator(1, platform::FormatSettings().DateSeparator);
  return Digits(year, 4) + "-" + Digits(month, 2) + "-" + Digits(day, 2) + " " + Digits(hour, 2) +
         separator + Digits(minute, 2) + separator + Digits(second, 2);
}

std::string TStringDateTimeType::SqlTypeName() const {
  return StringType(19, false)->SqlTypeName();
}

double TStringDateTimeType::StringToDateTime(const std::string& Text) const {
  if (Text.empty()) return 0;
  CheckPatternLength("ExtractDate", Text);
  const double date = platform::EncodeDate(Part(Text, 0, 4), Part(Text, 5, 2), Part(Text, 8, 2));
  CheckPatternLength("ExtractTime", Text);
  const double time =
      platform::EncodeTime(Part(Text, 11, 2), Part(Text, 14, 2), Part(Text, 17, 2), 0);
  // Before 1899-12-30 the day counts down while the time still counts up.
  return date < 0 ? date - time : date + time;
}

}  // namespace dataframework
