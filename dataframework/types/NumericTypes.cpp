// TNumericType and the integer, double, currency and percent types.

#include "dataframework/types/NumericTypes.h"

#include <charconv>
#include <cmath>

#include "dataframework/types/DataType.h"
#include "dataframework/types/DataTypes.h"
#include "platform/Conversions.h"
#include "platform/Errors.h"
#include "platform/FormatSettings.h"
#include "platform/NumberText.h"
#include "platform/TextUtils.h"

namespace dataframework {

const TDataTypeClass TIntegerType::kClass{"TIntegerType", &TIntegerType::ClassCreateFromParams};
const TDataTypeClass TDoubleType::kClass{"TDoubleType", &TDoubleType::ClassCreateFromParams};
const TDataTypeClass TCurrencyType::kClass{"TCurrencyType", &TCurrencyType::ClassCreateFromParams};
const TDataTypeClass TPercentType::kClass{"TPercentType", &TPercentType::ClassCreateFromParams};

namespace {

int Sign3(double a, double b) {
  if (a == b) return 0;
  return a > b ? 1 : -1;
}

template <typename T>
int Sign3Int(T a, T b) {
  return (a > b) - (a < b);
}

// 32-bit arithmetic wraps around; the unsigned detour keeps it defined.
int32_t Wrap32(int64_t x) {
  return static_cast<int32_t>(static_cast<uint32_t>(x));
}
int64_t Wrap64(unsigned __int128 x) {
  return static_cast<int64_t>(static_cast<uint64_t>(x));
}

// The mask without its grouping placeholders (editing shows no grouping).
std::string WithoutGrouping(const std::string& Mask) {
  std::string result;
  result.reserve(Mask.size());
  for (char c : Mask)
    if (c != ',') result += c;
  return result;
}

double Divide(double X, long double Scale) {
  if (Scale == 0) throw platform::EZeroDivide();
  return static_cast<double>(X / Scale);
}

std::string IntText(int64_t N) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), N);
  return std::string(buffer, result.ptr);
}

// Rounds N / D to the nearest integer, ties to even (D > 0 or D < 0).
__int128 DivRoundHalfEven(__int128 N, __int128 D) {
  if (D < 0) {
    N = -N;
    D = -D;
  }
  __int128 q = N / D;
  __int128 r = N % D;
  if (r < 0) r = -r;
  const __int128 twice = 2 * r;
  if (twice > D || (twice == D && (q % 2 != 0))) q += N < 0 ? -1 : 1;
  return q;
}

int64_t CheckedCount(__int128 X) {
  if (X > INT64_MAX || X < INT64_MIN) throw platform::Exception("Invalid floating point operation");
  return static_cast<int64_t>(X);
}

// Rounds only the fraction of X, so whole digits of large numbers stay exact.
double RoundFraction(double X, int Factor) {
  const double whole = std::trunc(X);
  return whole + RoundToFactor(Factor, X - whole);
}

bool HasGrouping(const std::string& Text) {
  const char thousands = platform::FormatSettings().ThousandSeparator;
  for (char c : Text)
    if (c == ' ' || c == thousands) return true;
  return false;
}

// The common shape of typed numbers: an optional "-", digits, and optionally
// the decimal separator and more digits. Answers the number of integer and
// fraction digits, or false for any other text (which the platform reads).
bool IsPlainDecimal(const std::string& Text, char Separator, size_t& IntDigits,
                    size_t& FracDigits) {
  size_t i = (!Text.empty() && Text[0] == '-') ? 1 : 0;
  const size_t intStart = i;
  while (i < Text.size() && Text[i] >= '0' && Text[i] <= '9') ++i;
  IntDigits = i - intStart;
  FracDigits = 0;
  if (IntDigits == 0) return false;
  if (i == Text.size()) return true;
  if (Text[i] != Separator) return false;
  const size_t fracStart = ++i;
  while (i < Text.size() && Text[i] >= '0' && Text[i] <= '9') ++i;
  FracDigits = i - fracStart;
  return FracDigits > 0 && i == Text.size();
}

// Locale number text without grouping; false where reading raises the
// conversion error. Plain decimals go straight to from_chars, which reads
// them exactly as the platform does.
bool ReadNumber(const std::string& Text, double& X) {
  const char separator = platform::FormatSettings().DecimalSeparator;
  size_t intDigits, fracDigits;
  if (Text.size() < 64 && IsPlainDecimal(Text, separator, intDigits, fracDigits)) {
    char buffer[64];
    std::memcpy(buffer, Text.data(), Text.size());
    if (fracDigits > 0) buffer[Text.size() - fracDigits - 1] = '.';
    const auto result = std::from_chars(buffer, buffer + Text.size(), X);
    if (result.ec == std::errc() && result.ptr == buffer + Text.size()) return true;
  }
  if (!HasGrouping(Text)) return platform::TryStrToFloat(Text, X);
  return platform::TryStrToFloat(StripGrouping(Text), X);
}

bool ReadCurrency(const std::string& Text, int64_t& Count) {
  const char separator = platform::FormatSettings().DecimalSeparator;
  size_t intDigits, fracDigits;
  // Up to 14 whole digits and 4 decimals fit a count exactly.
  if (IsPlainDecimal(Text, separator, intDigits, fracDigits) && intDigits <= 14 &&
      fracDigits <= 4) {
    const bool negative = Text[0] == '-';
    int64_t count = 0;
    for (char c : Text)
      if (c >= '0' && c <= '9') count = count * 10 + (c - '0');
    for (size_t i = fracDigits; i < 4; ++i) count *= 10;
    Count = negative ? -count : count;
    return true;
  }
  if (!HasGrouping(Text)) return platform::TryStrToCurr(Text, Count);
  return platform::TryStrToCurr(StripGrouping(Text), Count);
}

// Plain decimal text of a 32-bit integer: an optional "-" and digits only
// (exactly what from_chars reads for integers).
bool ReadPlainInteger(const std::string& Text, int32_t& I) {
  const char* first = Text.data();
  const char* last = first + Text.size();
  const auto result = std::from_chars(first, last, I);
  return result.ec == std::errc() && result.ptr == last;
}

// R := a memo value of the decimal text of N.
void IntegerTextValue(int64_t N, TValue& R) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), N);
  R.Text.Assign(std::string_view(buffer, result.ptr - buffer));
  R.DataType = MemoType();
  std::memset(R.Data, 0, sizeof(R.Data));
}

// No mask, no rounding, no scaling: the general text as it is.
bool IsPlainFormat(const TValueFormat& Format) {
  return Format.Mask.empty() && Format.RoundFactor <= 0 && (Format.EditMode || Format.Scale == 1);
}

// R := the raw input as memo text, for a caller that shows what was typed.
bool RejectInput(const std::string& Text, TValue& R) {
  MemoType()->StringToValue(Text, R);
  return false;
}

}  // namespace

// ---- TNumericType

bool TNumericType::AsBoolean(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsBoolean(V);
  return AsFloat(V) != 0;
}

bool TNumericType::IsNegative(const TValue& V) const {
  try {
    TValue zero;
    DefaultValue(zero);
    return Compare(V, zero) < 0;
  } catch (...) {
    return false;
  }
}

std::string TNumericType::InvalidValueMessage(const std::string& Text) const {
  return TranslateMessageFmt(E_ValueInvalidNumber, {Text});
}

std::string TNumericType::SqlValue(const TValue& V) const {
  std::string text = ValueAsString(V);
  if (dynamic_cast<const TNumericType*>(V.DataType) != nullptr)
    return SqlNumberText(std::move(text));
  return text;
}

std::string SqlNumberText(std::string Text) {
  const char separator = platform::FormatSettings().DecimalSeparator;
  if (separator != '.')
    for (char& c : Text)
      if (c == separator) c = '.';
  return Text;
}

std::string StripGrouping(const std::string& Text) {
  const char thousands = platform::FormatSettings().ThousandSeparator;
  std::string result;
  result.reserve(Text.size());
  for (char c : Text)
    if (c != ' ' && c != thousands) result += c;
  return result;
}

// ---- TIntegerType

const TDataType* TIntegerType::ClassCreateFromParams(const TParams&) {
  return IntegerType();
}

std::string TIntegerType::AsString(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsString(V);
  return IntText(V.Get<int32_t>());
}

bool TIntegerType::AsBoolean(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsBoolean(V);
  return V.Get<int32_t>() != 0;
}

double TIntegerType::AsDateTime(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsDateTime(V);
  return V.Get<int32_t>();
}

void* TIntegerType::AsPointer(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPointer(V);
  return reinterpret_cast<void*>(static_cast<intptr_t>(V.Get<int32_t>()));
}

double TIntegerType::AsFloat(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsFloat(V);
  return V.Get<int32_t>();
}

int32_t TIntegerType::AsInteger(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsInteger(V);
  return V.Get<int32_t>();
}

int64_t TIntegerType::AsCurrency(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsCurrency(V);
  return static_cast<int64_t>(V.Get<int32_t>()) * 10000;
}

double TIntegerType::AsPercent(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPercent(V);
  return V.Get<int32_t>();
}

void TIntegerType::ConvertValue(const TValue& V, TValue& R) const {
  if (V.DataType == this) {
    R = V;
  } else {
    IntegerToValue(ValueAsInteger(V), R);
  }
}

int TIntegerType::Compare(const TValue& A, const TValue& B) const {
  // By sign, not by subtraction, which would overflow for distant numbers.
  if (A.DataType == this && B.DataType == this) return Sign3Int(A.Get<int32_t>(), B.Get<int32_t>());
  return Sign3Int(ValueAsInteger(A), ValueAsInteger(B));
}

void TIntegerType::Sum(const TValue& A, const TValue& B, TValue& R) const {
  IntegerToValue(Wrap32(int64_t{ValueAsInteger(A)} + ValueAsInteger(B)), R);
}

void TIntegerType::Difference(const TValue& A, const TValue& B, TValue& R) const {
  IntegerToValue(Wrap32(int64_t{ValueAsInteger(A)} - ValueAsInteger(B)), R);
}

void TIntegerType::Product(const TValue& A, const TValue& B, TValue& R) const {
  IntegerToValue(Wrap32(int64_t{ValueAsInteger(A)} * ValueAsInteger(B)), R);
}

void TIntegerType::Quota(const TValue& A, const TValue& B, TValue& R) const {
  const int32_t a = ValueAsInteger(A);
  const int32_t b = ValueAsInteger(B);
  if (b == 0) throw platform::EDivByZero();
  IntegerToValue(Wrap32(int64_t{a} / b), R);  // truncates toward zero
}

void TIntegerType::Negate(const TValue& V, TValue& R) const {
  IntegerToValue(Wrap32(-int64_t{ValueAsInteger(V)}), R);
}

void TIntegerType::FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const {
  const int32_t i = V.DataType == this ? V.Get<int32_t>() : ValueAsInteger(V);
  const int64_t n = Format.Scale == 1 ? i : RoundHalfAway(Divide(i, Format.Scale));
  IntegerTextValue(n, R);
}

bool TIntegerType::ParseValue(const std::string& Text, TValue& R,
                              const TValueFormat& Format) const {
  int32_t plain;
  if (Format.Scale == 1 && ReadPlainInteger(Text, plain)) {
    IntegerToValue(plain, R);
    return true;
  }
  double number;
  if (!ReadNumber(Text, number)) return RejectInput(Text, R);
  if (Format.Scale != 1) number = static_cast<double>(number * Format.Scale);
  // A number beyond 32 bits is not a valid integer input; cutting it would
  // store another number.
  if (!(number > -2147483648.5 && number < 2147483647.5)) return RejectInput(Text, R);
  IntegerToValue(static_cast<int32_t>(RoundHalfAway(number)), R);
  return true;
}

void TIntegerType::WriteBuffer(unsigned char* Dest, const TValue& V, int, TLongTextWriter,
                               void*) const {
  const int32_t i = V.DataType == this ? V.Get<int32_t>() : ValueAsInteger(V);
  std::memcpy(Dest, &i, sizeof(i));
}

std::string TIntegerType::InvalidValueMessage(const std::string& Text) const {
  return TranslateMessageFmt(E_ValueInvalidInteger, {Text});
}

int32_t TIntegerType::StringToInteger(const std::string& Text) const {
  const std::string text = platform::Trim(Text);
  if (text.empty()) return 0;
  return platform::StrToInt(text);
}

// ---- TDoubleType

const TDataType* TDoubleType::ClassCreateFromParams(const TParams&) {
  return DoubleType();
}

std::string TDoubleType::AsString(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsString(V);
  return platform::FloatToStr(V.Get<double>());
}

double TDoubleType::AsDateTime(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsDateTime(V);
  return V.Get<double>();
}

void* TDoubleType::AsPointer(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPointer(V);
  CannotConvert("Double", "Pointer");
}

double TDoubleType::AsFloat(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsFloat(V);
  return V.Get<double>();
}

void TDoubleType::ConvertValue(const TValue& V, TValue& R) const {
  if (V.DataType == this) {
    R = V;
  } else {
    DoubleToValue(ValueAsFloat(V), R);
  }
}

int TDoubleType::Compare(const TValue& A, const TValue& B) const {
  if (A.DataType == this && B.DataType == this) return Sign3(A.Get<double>(), B.Get<double>());
  return Sign3(ValueAsFloat(A), ValueAsFloat(B));
}

void TDoubleType::Sum(const TValue& A, const TValue& B, TValue& R) const {
  DoubleToValue(ValueAsFloat(A) + ValueAsFloat(B), R);
}

void TDoubleType::Difference(const TValue& A, const TValue& B, TValue& R) const {
  DoubleToValue(ValueAsFloat(A) - ValueAsFloat(B), R);
}

void TDoubleType::Product(const TValue& A, const TValue& B, TValue& R) const {
  DoubleToValue(ValueAsFloat(A) * ValueAsFloat(B), R);
}

void TDoubleType::Quota(const TValue& A, const TValue& B, TValue& R) const {
  try {
    const double b = ValueAsFloat(B);
    if (b == 0) {
      DefaultValue(R);
      return;
    }
    DoubleToValue(ValueAsFloat(A) / b, R);
  } catch (...) {
    DefaultValue(R);
  }
}

void TDoubleType::Negate(const TValue& V, TValue& R) const {
  DoubleToValue(-ValueAsFloat(V), R);
}

void TDoubleType::FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const {
  if (IsPlainFormat(Format)) {
    MakeStringValue(platform::FloatToStr(V.DataType == this ? V.Get<double>() : ValueAsFloat(V)),
                    R);
    return;
  }
  if (Format.EditMode) {
    const double x = RoundToFactor(Format.RoundFactor, ValueAsFloat(V));
    MakeStringValue(platform::Trim(platform::FormatNumber(WithoutGrouping(Format.Mask), x)), R);
    return;
  }
  try {
    const double x = RoundToFactor(Format.RoundFactor, Divide(ValueAsFloat(V), Format.Scale));
    MakeStringValue(platform::Trim(platform::FormatNumber(Format.Mask, x)), R);
  } catch (...) {
    MemoType()->ConvertValue(V, R);
  }
}

bool TDoubleType::ParseValue(const std::string& Text, TValue& R, const TValueFormat& Format) const {
  double number;
  if (!ReadNumber(Text, number)) return RejectInput(Text, R);
  if (Format.Scale != 1) number = static_cast<double>(number * Format.Scale);
  if (Format.InputDecimals >= 0) number = RoundFraction(number, Format.RoundFactor);
  DoubleToValue(number, R);
  return true;
}

void TDoubleType::WriteBuffer(unsigned char* Dest, const TValue& V, int, TLongTextWriter,
                              void*) const {
  const double x = V.DataType == this ? V.Get<double>() : ValueAsFloat(V);
  std::memcpy(Dest, &x, sizeof(x));
}

double TDoubleType::StringToDouble(const std::string& Text) const {
  const std::string text = platform::Trim(Text);
  if (text.empty()) return 0;
  return platform::StrToFloat(text);
}

// ---- TCurrencyType

const TDataType* TCurrencyType::ClassCreateFromParams(const TParams&) {
  return CurrencyType();
}

std::string TCurrencyType::AsString(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsString(V);
  return platform::CurrToStr(V.Get<int64_t>());
}

double TCurrencyType::AsDateTime(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsDateTime(V);
  CannotConvert("Currency", "DateTime");
}

void* TCurrencyType::AsPointer(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPointer(V);
  CannotConvert("Currency", "Pointer");
}

double TCurrencyType::AsFloat(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsFloat(V);
  return static_cast<double>(V.Get<int64_t>()) / 10000.0;
}

int64_t TCurrencyType::AsCurrency(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsCurrency(V);
  return V.Get<int64_t>();
}

double TCurrencyType::AsPercent(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPercent(V);
  return static_cast<double>(V.Get<int64_t>()) / 10000.0;
}

void TCurrencyType::ConvertValue(const TValue& V, TValue& R) const {
  if (V.DataType == this) {
    R = V;
  } else {
    CurrencyToValue(ValueAsCurrency(V), R);
  }
}

int TCurrencyType::Compare(const TValue& A, const TValue& B) const {
  if (A.DataType == this && B.DataType == this) return Sign3Int(A.Get<int64_t>(), B.Get<int64_t>());
  return Sign3Int(ValueAsCurrency(A), ValueAsCurrency(B));
}

void TCurrencyType::Sum(const TValue& A, const TValue& B, TValue& R) const {
  CurrencyToValue(Wrap64(static_cast<unsigned __int128>(ValueAsCurrency(A)) +
                         static_cast<unsigned __int128>(ValueAsCurrency(B))),
                  R);
}

void TCurrencyType::Difference(const TValue& A, const TValue& B, TValue& R) const {
  CurrencyToValue(Wrap64(static_cast<unsigned __int128>(ValueAsCurrency(A)) -
                         static_cast<unsigned __int128>(ValueAsCurrency(B))),
                  R);
}

void TCurrencyType::Product(const TValue& A, const TValue& B, TValue& R) const {
  const __int128 p = static_cast<__int128>(ValueAsCurrency(A)) * ValueAsCurrency(B);
  CurrencyToValue(CheckedCount(DivRoundHalfEven(p, 10000)), R);
}

void TCurrencyType::Quota(const TValue& A, const TValue& B, TValue& R) const {
  try {
    const int64_t b = ValueAsCurrency(B);
    if (b == 0) {
      CurrencyToValue(0, R);
      return;
    }
    const __int128 a = static_cast<__int128>(ValueAsCurrency(A)) * 10000;
    CurrencyToValue(CheckedCount(DivRoundHalfEven(a, b)), R);
  } catch (...) {
    CurrencyToValue(0, R);
  }
}

void TCurrencyType::Negate(const TValue& V, TValue& R) const {
  CurrencyToValue(Wrap64(-static_cast<unsigned __int128>(ValueAsCurrency(V))), R);
}

void TCurrencyType::FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const {
  int64_t count = V.DataType == this ? V.Get<int64_t>() : ValueAsCurrency(V);
  if (IsPlainFormat(Format)) {
    MakeStringValue(platform::CurrToStr(count), R);
    return;
  }
  if (Format.EditMode) {
    if (Format.RoundFactor > 0)
      count = RoundHalfEven(RoundToFactor(Format.RoundFactor, count / 10000.0) * 10000.0);
    MakeStringValue(platform::Trim(platform::FormatCurr(WithoutGrouping(Format.Mask), count)), R);
    return;
  }
  // Unscaled and unrounded amounts stay exact counts.
  if (Format.RoundFactor > 0 || Format.Scale != 1)
    count = RoundHalfEven(RoundToFactor(Format.RoundFactor, Divide(count / 10000.0, Format.Scale)) *
                          10000.0);
  MakeStringValue(platform::Trim(platform::FormatCurr(Format.Mask, count)), R);
}

bool TCurrencyType::ParseValue(const std::string& Text, TValue& R,
                               const TValueFormat& Format) const {
  int64_t count;
  if (!ReadCurrency(Text, count)) return RejectInput(Text, R);
  if (Format.Scale != 1) count = RoundHalfEven(static_cast<double>(count * Format.Scale));
  if (Format.InputDecimals >= 0 && Format.RoundFactor > 0) {
    const int64_t whole = count / 10000 * 10000;
    const double fraction = static_cast<double>(count - whole) / 10000.0;
    count = whole + RoundHalfEven(RoundToFactor(Format.RoundFactor, fraction) * 10000.0);
  }
  CurrencyToValue(count, R);
  return true;
}

void TCurrencyType::WriteBuffer(unsigned char* Dest, const TValue& V, int, TLongTextWriter,
                                void*) const {
  const int64_t c = V.DataType == this ? V.Get<int64_t>() : ValueAsCurrency(V);
  std::memcpy(Dest, &c, sizeof(c));
}

std::string TCurrencyType::InvalidValueMessage(const std::string& Text) const {
  return TranslateMessageFmt(E_ValueInvalidCurrency, {Text});
}

int64_t TCurrencyType::StringToCurrency(const std::string& Text) const {
  const std::string text = platform::Trim(Text);
  if (text.empty()) return 0;
  return platform::StrToCurr(text);
}

// ---- TPercentType

const TDataType* TPercentType::ClassCreateFromParams(const TParams&) {
  return PercentType();
}

std::string TPercentType::AsString(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsString(V);
  return platform::FloatToStr(V.Get<double>());
}

bool TPercentType::AsBoolean(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsBoolean(V);
  CannotConvert("Percent", "Boolean");
}

double TPercentType::AsDateTime(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsDateTime(V);
  CannotConvert("Percent", "DateTime");
}

void* TPercentType::AsPointer(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPointer(V);
  CannotConvert("Percent", "Pointer");
}

double TPercentType::AsFloat(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsFloat(V);
  return V.Get<double>();
}

int32_t TPercentType::AsInteger(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsInteger(V);
  CannotConvert("Percent", "Integer");
}

int64_t TPercentType::AsCurrency(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsCurrency(V);
  return RoundHalfEven(V.Get<double>() * 10000.0);
}

double TPercentType::AsPercent(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPercent(V);
  return V.Get<double>();
}

void TPercentType::ConvertValue(const TValue& V, TValue& R) const {
  if (V.DataType == this) {
    R = V;
  } else {
    PercentToValue(ValueAsPercent(V), R);
  }
}

int TPercentType::Compare(const TValue& A, const TValue& B) const {
  if (A.DataType == this && B.DataType == this) return Sign3(A.Get<double>(), B.Get<double>());
  return Sign3(ValueAsPercent(A), ValueAsPercent(B));
}

void TPercentType::Sum(const TValue& A, const TValue& B, TValue& R) const {
  PercentToValue(ValueAsPercent(A) + ValueAsPercent(B), R);
}

void TPercentType::Difference(const TValue& A, const TValue& B, TValue& R) const {
  PercentToValue(ValueAsPercent(A) - ValueAsPercent(B), R);
}

void TPercentType::Product(const TValue& A, const TValue& B, TValue& R) const {
  PercentToValue(ValueAsPercent(A) * ValueAsPercent(B), R);
}

void TPercentType::Quota(const TValue& A, const TValue& B, TValue& R) const {
  const double a = ValueAsFloat(A);
  const double b = ValueAsFloat(B);
  if (b == 0) throw platform::EZeroDivide();
  PercentToValue(a / b, R);
}

void TPercentType::Negate(const TValue& V, TValue& R) const {
  PercentToValue(-ValueAsPercent(V), R);
}

std::string TPercentType::SqlValue(const TValue& V) const {
  return SqlNumberText(platform::FloatToStr(ValueAsPercent(V)));
}

void TPercentType::FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const {
  if (!TypeOf(V).IsNumeric()) {
    MemoType()->ConvertValue(V, R);
    return;
  }
  const auto format = [&Format](const std::string& mask, double x) {
    // Without a mask the number keeps its general text in front of the sign.
    if (Format.Mask.empty()) return platform::FloatToStr(x) + " %";
    return platform::Trim(platform::FormatNumber(mask, x));
  };
  const double p = ValueAsPercent(V) * 100.0;
  if (Format.EditMode) {
    const double x = RoundToFactor(Format.RoundFactor, p);
    MakeStringValue(format(WithoutGrouping(Format.Mask) + " %", x), R);
    return;
  }
  try {
    const double x = RoundToFactor(Format.RoundFactor, Divide(p, Format.Scale));
    MakeStringValue(format(Format.Mask + " %", x), R);
  } catch (...) {
    MemoType()->ConvertValue(V, R);
  }
}

bool TPercentType::ParseValue(const std::string& Text, TValue& R,
                              const TValueFormat& Format) const {
  double number;
  try {
    number = StringToPercent(StripGrouping(Text));
  } catch (const platform::EConvertError&) {
    return RejectInput(Text, R);
  }
  if (Format.Scale != 1) number = static_cast<double>(number * Format.Scale);
  if (Format.InputDecimals >= 0) number = RoundFraction(number, Format.RoundFactor);
  PercentToValue(number / 100.0, R);
  return true;
}

void TPercentType::WriteBuffer(unsigned char* Dest, const TValue& V, int, TLongTextWriter,
                               void*) const {
  const double x = V.DataType == this ? V.Get<double>() : ValueAsPercent(V);
  std::memcpy(Dest, &x, sizeof(x));
}

std::string TPercentType::InvalidValueMessage(const std::string& Text) const {
  return TranslateMessageFmt(E_ValueInvalidPercent, {Text});
}

double TPercentType::StringToPercent(const std::string& Text) const {
  if (Text.empty()) return 0;
  std::string text = Text;
  if (text.back() == '%') text.pop_back();
  text = platform::Trim(text);
  if (text.empty()) return 0;
  return platform::StrToFloat(text);
}

}  // namespace dataframework
