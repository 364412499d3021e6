// TDateTimeType, TDateType and TTimeType.

#include "dataframework/types/DateTimeTypes.h"

#include <cmath>

#include "dataframework/types/DataType.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "platform/DateTime.h"
#include "platform/NumberText.h"
#include "platform/TextUtils.h"

namespace dataframework {

const TDataTypeClass TDateTimeType::kClass{"TDateTimeType", &TDateTimeType::ClassCreateFromParams};
const TDataTypeClass TDateType::kClass{"TDateType", &TDateType::ClassCreateFromParams};
const TDataTypeClass TTimeType::kClass{"TTimeType", &TTimeType::ClassCreateFromParams};

double TruncDay(double X) noexcept {
  return std::trunc(X);
}

namespace {

int Sign3(double a, double b) {
  if (a == b) return 0;
  return a > b ? 1 : -1;
}

std::string Digits(int N, int Width) {
  return PadText(std::to_string(N), '0', Width, true);
}

// yyyy-mm-dd of a date-time number.
std::string SqlDateText(double Date) {
  int year, month, day;
  platform::DecodeDate(Date, year, month, day);
  return Digits(year, 4) + "-" + Digits(month, 2) + "-" + Digits(day, 2);
}

}  // namespace

// ---- TDateTimeType

const TDataType* TDateTimeType::ClassCreateFromParams(const TParams&) {
  return DateTimeType();
}

std::string TDateTimeType::AsString(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsString(V);
  return platform::DateTimeToStr(AsDateTime(V));
}

bool TDateTimeType::AsBoolean(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsBoolean(V);
  CannotConvert("DateTime", "Boolean");
}

double TDateTimeType::AsDateTime(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsDateTime(V);
  return V.Get<double>();
}

void* TDateTimeType::AsPointer(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPointer(V);
  CannotConvert("DateTime", "Pointer");
}

double TDateTimeType::AsFloat(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsFloat(V);
  return AsDateTime(V);
}

void TDateTimeType::ConvertValue(const TValue& V, TValue& R) const {
  if (V.DataType == this) {
    R = V;
  } else {
    DateTimeToValue(ValueAsDateTime(V), R);
  }
}

int TDateTimeType::Compare(const TValue& A, const TValue& B) const {
  if (A.DataType == this && B.DataType == this) return Sign3(A.Get<double>(), B.Get<double>());
  return Sign3(ValueAsDateTime(A), ValueAsDateTime(B));
}

void TDateTimeType::Sum(const TValue& A, const TValue& B, TValue& R) const {
  DateTimeToValue(ValueAsDateTime(A) + ValueAsDateTime(B), R);
}

void TDateTimeType::Difference(const TValue& A, const TValue& B, TValue& R) const {
  DateTimeToValue(ValueAsDateTime(A) - ValueAsDateTime(B), R);
}

void TDateTimeType::Product(const TValue&, const TValue&, TValue&) const {
  NotSupported(ClassName(), "Product");
}

void TDateTimeType::Quota(const TValue&, const TValue&, TValue&) const {
  NotSupported("TDateTimeType", "Quota");
}

void TDateTimeType::Negate(const TValue& V, TValue& R) const {
  DateTimeToValue(-ValueAsDateTime(V), R);
}

bool TDateTimeType::IsEmpty(const TValue& V) const {
  return ValuesEqual(V, DateValue(0));
}

void TDateTimeType::DefaultValue(TValue& R) const {
  DateTimeToValue(platform::Now(), R);
}

std::string TDateTimeType::SqlValue(const TValue& V) const {
  try {
    int hour, minute, second, msec;
    platform::DecodeTime(ValueAsTime(V), hour, minute, second, msec);
    const std::string time =
        Digits(hour, 2) + ":" + Digits(minute, 2) + ":" + Digits(second, 2) + "." + Digits(msec, 4);
    return platform::QuotedStr(SqlDateText(ValueAsDate(V)) + " " + time);
  } catch (...) {
    return platform::QuotedStr(ValueAsString(V));
  }
}

void TDateTimeType::FormatValue(const TValue& V, const TValueFormat&, TValue& R) const {
  MemoType()->ConvertValue(V, R);
}

bool TDateTimeType::ParseValue(const std::string& Text, TValue& R, const TValueFormat&) const {
  TValue text;
  MemoType()->StringToValue(Text, text);
  ConvertValue(text, R);
  return true;
}

double TDateTimeType::BufferNumber(const TValue& V) const {
  return V.DataType == this ? V.Get<double>() : ValueAsDateTime(V);
}

void TDateTimeType::WriteBuffer(unsigned char* Dest, const TValue& V, int, TLongTextWriter,
                                void*) const {
  const double x = BufferNumber(V);
  std::memcpy(Dest, &x, sizeof(x));
}

std::string TDateTimeType::InvalidValueMessage(const std::string& Text) const {
  return TranslateMessageFmt(E_ValueInvalidDate, {Text});
}

void TDateTimeType::DateTimeToValue(double X, TValue& R) const noexcept {
  MakeValue(R);
  R.Set<double>(X);
}

double TDateTimeType::StringToDateTime(const std::string& Text) const {
  const std::string text = platform::Trim(Text);
  if (text.empty()) return 0;
  return platform::StrToDateTime(text);
}

// ---- TDateType

const TDataType* TDateType::ClassCreateFromParams(const TParams&) {
  return DateType();
}

std::string TDateType::AsString(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsString(V);
  return platform::DateToStr(AsDate(V));
}

void TDateType::ConvertValue(const TValue& V, TValue& R) const {
  if (V.DataType == this) {
    R = V;
  } else {
    DateTimeToValue(ValueAsDate(V), R);
  }
}

std::string TDateType::SqlValue(const TValue& V) const {
  try {
    return platform::QuotedStr(SqlDateText(ValueAsDate(V)));
  } catch (...) {
    return platform::QuotedStr(ValueAsString(V));
  }
}

void TDateType::DateTimeToValue(double X, TValue& R) const noexcept {
  MakeValue(R);
  R.Set<double>(TruncDay(X));
}

double TDateType::StringToDateTime(const std::string& Text) const {
  return platform::StrToDate(platform::Trim(Text));
}

double TDateType::BufferNumber(const TValue& V) const {
  return V.DataType == this ? V.Get<double>() : ValueAsDate(V);
}

// ---- TTimeType

const TDataType* TTimeType::ClassCreateFromParams(const TParams&) {
  return TimeType();
}

std::string TTimeType::AsString(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsString(V);
  return platform::TimeToStr(AsTime(V));
}

void TTimeType::ConvertValue(const TValue& V, TValue& R) const {
  if (V.DataType == this) {
    R = V;
  } else {
    DateTimeToValue(ValueAsTime(V), R);
  }
}

std::string TTimeType::SqlValue(const TValue& V) const {
  return SqlNumberText(platform::FloatToStr(ValueAsTime(V)));
}

std::string TTimeType::InvalidValueMessage(const std::string& Text) const {
  return TranslateMessageFmt(E_ValueInvalidTime, {Text});
}

double TTimeType::StringToDateTime(const std::string& Text) const {
  const std::string text = platform::Trim(Text);
  if (text.empty()) return 0;
  return platform::StrToTime(text);
}

double TTimeType::BufferNumber(const TValue& V) const {
  return V.DataType == this ? V.Get<double>() : ValueAsTime(V);
}

}  // namespace dataframework
