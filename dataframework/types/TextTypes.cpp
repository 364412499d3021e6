// TStringType, TMemoType and TBooleanType.

#include "dataframework/types/TextTypes.h"

#include "dataframework/types/DataType.h"
#include "platform/Conversions.h"
#include "platform/TextUtils.h"

namespace dataframework {

const TDataTypeClass TStringType::kClass{"TStringType", &TStringType::ClassCreateFromParams};
const TDataTypeClass TMemoType::kClass{"TMemoType", &TMemoType::ClassCreateFromParams};
const TDataTypeClass TBooleanType::kClass{"TBooleanType", &TBooleanType::ClassCreateFromParams};

bool IsTrueText(const std::string& Text) noexcept {
  return Text == "T" || Text == "t" || Text == "true" || Text == "TRUE" || Text == "True" ||
         Text == "X" || Text == "x";
}

namespace {

// The case rule of the parameter CS; true when absent.
bool CaseRuleParam(const TParams& Params) {
  std::string value;
  return ParamValue(Params, "CS", value) ? IsTrueText(value) : true;
}

}  // namespace

// ---- TStringType

const TDataType* TStringType::ClassCreateFromParams(const TParams& Params) {
  std::string text;
  std::optional<int32_t> size;
  if (ParamValue(Params, "SIZE", text)) size = platform::TryStrToInt(text);
  // Sizes a string type cannot hold are kept as memo text.
  if (!size || *size <= 0 || *size > 65535) return TMemoType::ClassCreateFromParams(Params);
  return StringType(*size, CaseRuleParam(Params));
}

std::string TStringType::AsString(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsString(V);
  return V.Text.str();
}

double TStringType::AsDateTime(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsDateTime(V);
  return DateTimeType()->StringToDateTime(V.Text);
}

double TStringType::AsDate(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsDate(V);
  return DateType()->StringToDateTime(V.Text);
}

double TStringType::AsTime(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsTime(V);
  return TimeType()->StringToDateTime(V.Text);
}

void* TStringType::AsPointer(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPointer(V);
  return nullptr;
}

double TStringType::AsFloat(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsFloat(V);
  return DoubleType()->StringToDouble(V.Text);
}

int32_t TStringType::AsInteger(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsInteger(V);
  return IntegerType()->StringToInteger(V.Text);
}

int64_t TStringType::AsCurrency(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsCurrency(V);
  return CurrencyType()->StringToCurrency(V.Text);
}

double TStringType::AsPercent(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPercent(V);
  return PercentType()->StringToPercent(V.Text);
}

void TStringType::ConvertValue(const TValue& V, TValue& R) const {
  if (V.DataType == this) {
    R = V;
  } else {
    StringToValue(ValueAsString(V), R);
  }
}

std::string TStringType::SqlTypeName() const {
  return "char(" + std::to_string(FSize) + ")";
}

std::string TStringType::TypeName() const {
  return (FCaseSensitive ? "String(" : "Text(") + std::to_string(FSize) + ")";
}

void TStringType::WriteParams(TParams& Params) const {
  Params.push_back("SIZE=" + std::to_string(FSize));
  Params.push_back(FCaseSensitive ? "CS=T" : "CS=F");
}

bool TStringType::IsComplexValue(const TValue& V) const {
  if (ValueAsString(V).find('\'') != std::string::npos) return true;
  return FComplex;
}

int TStringType::Compare(const TValue& A, const TValue& B) const {
  // Own values are compared in place; others are read as text first.
  if (A.DataType == this && B.DataType == this)
    return FCaseSensitive ? platform::CompareStr(A.Text.str(), B.Text.str())
                          : platform::CompareText(A.Text.str(), B.Text.str());
  const std::string a = ValueAsString(A);
  const std::string b = ValueAsString(B);
  return FCaseSensitive ? platform::CompareStr(a, b) : platform::CompareText(a, b);
}

bool TStringType::Equals(const TValue& A, const TValue& B) const {
  try {
    return ValueAsString(A) == ValueAsString(B);
  } catch (...) {
    return false;
  }
}

void TStringType::Sum(const TValue& A, const TValue& B, TValue& R) const {
  StringToValue(ValueAsString(A) + ValueAsString(B), R);
}

void TStringType::Difference(const TValue&, const TValue&, TValue&) const {
  NotSupported("TStringType", "Difference");
}

void TStringType::Product(const TValue&, const TValue&, TValue&) const {
  NotSupported("TStringType", "Product");
}

void TStringType::Quota(const TValue&, const TValue&, TValue&) const {
  NotSupported(ClassName(), "Quota");
}

bool TStringType::IsEmpty(const TValue& V) const {
  try {
    return ValueAsString(V).empty();
  } catch (...) {
    return false;
  }
}

std::string TStringType::SqlValue(const TValue& V) const {
  // Size 0 puts no limit on values, so it cuts nothing here either.
  std::string text = ValueAsString(V);
  if (FSize > 0 && text.size() > static_cast<size_t>(FSize)) text.resize(FSize);
  return platform::QuotedStr(text);
}

void TStringType::FormatValue(const TValue& V, const TValueFormat&, TValue& R) const {
  MakeStringValue(platform::Trim(ValueAsString(V)), R);
}

bool TStringType::ParseValue(const std::string& Text, TValue& R, const TValueFormat&) const {
  StringToValue(Text, R);
  return true;
}

void TStringType::WriteBuffer(unsigned char* Dest, const TValue& V, int, TLongTextWriter,
                              void*) const {
  const std::string text = ValueAsString(V);
  const size_t n = text.size() < static_cast<size_t>(FSize) ? text.size() : FSize;
  Dest[0] = static_cast<unsigned char>(n & 0xFF);
  if (LengthPrefixSize() == 2) Dest[1] = static_cast<unsigned char>((n >> 8) & 0xFF);
  if (n > 0) std::memcpy(Dest + LengthPrefixSize(), text.data(), n);
}

void TStringType::ReadBuffer(const unsigned char* Source, int, TValue& R, TLongTextReader,
                             void*) const {
  size_t n = Source[0];
  if (LengthPrefixSize() == 2) n |= static_cast<size_t>(Source[1]) << 8;
  // A damaged prefix must not read past the cell.
  if (n > static_cast<size_t>(FSize)) n = FSize;
  R.Text.Assign(std::string_view(reinterpret_cast<const char*>(Source + LengthPrefixSize()), n));
  R.DataType = this;
  std::memset(R.Data, 0, sizeof(R.Data));
}

void TStringType::StringToValue(const std::string& Text, TValue& R) const {
  std::string_view text(Text);
  if (FSize > 0 && text.size() > static_cast<size_t>(FSize)) text = text.substr(0, FSize);
  R.Text.Assign(text);  // first, as Text may be R's own text
  R.DataType = this;
  std::memset(R.Data, 0, sizeof(R.Data));
}

// ---- TMemoType

const TDataType* TMemoType::ClassCreateFromParams(const TParams& Params) {
  return CaseRuleParam(Params) ? static_cast<const TDataType*>(CaseSensitiveMemoType())
                               : MemoType();
}

void TMemoType::WriteParams(TParams& Params) const {
  TStringType::WriteParams(Params);
  Params.push_back("DYNSIZE=T");
}

std::string TMemoType::SqlValue(const TValue& V) const {
  return platform::QuotedStr(ValueAsString(V));
}

void TMemoType::WriteBuffer(unsigned char* Dest, const TValue& V, int FieldIndex,
                            TLongTextWriter LongTextWriter, void* Owner) const {
  const std::string text = ValueAsString(V);
  if (text.size() <= 254) {
    Dest[0] = static_cast<unsigned char>(text.size() + 1);
    if (!text.empty()) std::memcpy(Dest + 1, text.data(), text.size());
  } else {
    Dest[0] = 0;
    if (LongTextWriter != nullptr) LongTextWriter(Owner, FieldIndex, text);
  }
}

void TMemoType::ReadBuffer(const unsigned char* Source, int FieldIndex, TValue& R,
                           TLongTextReader LongTextReader, void* Owner) const {
  const unsigned char b = Source[0];
  std::string text;
  if (b != 0) {
    text.assign(reinterpret_cast<const char*>(Source + 1), b - 1u);
  } else if (LongTextReader != nullptr) {
    LongTextReader(Owner, FieldIndex, text);
  }
  MakeValue(R);
  R.Text = std::move(text);
}

void TMemoType::StringToValue(const std::string& Text, TValue& R) const {
  R.Text.Assign(Text);  // first, as Text may be R's own text
  R.DataType = this;
  std::memset(R.Data, 0, sizeof(R.Data));
}

// ---- TBooleanType

const TDataType* TBooleanType::ClassCreateFromParams(const TParams&) {
  return BooleanType();
}

std::string TBooleanType::AsString(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsString(V);
  return V.Data[0] == 1 ? "T" : "F";
}

bool TBooleanType::AsBoolean(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsBoolean(V);
  return V.Data[0] != 0;
}

double TBooleanType::AsDateTime(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsDateTime(V);
  CannotConvert("Boolean", "DateTime");
}

void* TBooleanType::AsPointer(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPointer(V);
  CannotConvert("Boolean", "Pointer");
}

double TBooleanType::AsFloat(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsFloat(V);
  return V.Data[0] != 0 ? 1.0 : 0.0;
}

void TBooleanType::ConvertValue(const TValue& V, TValue& R) const {
  if (V.DataType == this) {
    R = V;
  } else {
    BooleanToValue(ValueAsBoolean(V), R);
  }
}

int TBooleanType::Compare(const TValue& A, const TValue& B) const {
  const bool a = ValueAsBoolean(A);
  const bool b = ValueAsBoolean(B);
  if (a == b) return 0;
  return a ? 1 : -1;
}

void TBooleanType::Sum(const TValue&, const TValue&, TValue&) const {
  NotSupported("TBooleanType", "Sum");
}

void TBooleanType::Difference(const TValue& A, const TValue& B, TValue& R) const {
  BooleanToValue(!ValuesEqual(A, B), R);
}

void TBooleanType::Product(const TValue&, const TValue&, TValue&) const {
  NotSupported("TBooleanType", "Product");
}

void TBooleanType::Quota(const TValue&, const TValue&, TValue&) const {
  NotSupported("TBooleanType", "Quota");
}

void TBooleanType::LogicalAnd(const TValue& A, const TValue& B, TValue& R) const {
  BooleanToValue(ValueAsBoolean(A) && ValueAsBoolean(B), R);
}

void TBooleanType::LogicalOr(const TValue& A, const TValue& B, TValue& R) const {
  BooleanToValue(ValueAsBoolean(A) || ValueAsBoolean(B), R);
}

void TBooleanType::Negate(const TValue& V, TValue& R) const {
  BooleanToValue(!ValueAsBoolean(V), R);
}

std::string TBooleanType::SqlValue(const TValue& V) const {
  return platform::QuotedStr(ValueAsString(V));
}

void TBooleanType::FormatValue(const TValue& V, const TValueFormat&, TValue& R) const {
  MemoType()->ConvertValue(V, R);
}

bool TBooleanType::ParseValue(const std::string& Text, TValue& R, const TValueFormat&) const {
  TValue text;
  MemoType()->StringToValue(Text, text);
  ConvertValue(text, R);
  return true;
}

void TBooleanType::WriteBuffer(unsigned char* Dest, const TValue& V, int, TLongTextWriter,
                               void*) const {
  Dest[0] = V.DataType == this ? V.Data[0] : (ValueAsBoolean(V) ? 1 : 0);
}

void TBooleanType::BooleanToValue(bool B, TValue& R) const {
  MakeValue(R);
  R.Data[0] = B ? 1 : 0;
}

bool TBooleanType::StringToBoolean(const std::string& Text) const {
  return IsTrueText(Text);
}

}  // namespace dataframework
