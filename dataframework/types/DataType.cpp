// The core of the data type module: defaults of TDataType, the registry, the
// process-wide instances with the string-type cache, and the value helpers.

#include "dataframework/types/DataType.h"

#include <cmath>
#include <memory>

#include "dataframework/types/DataTypes.h"
#include "platform/TextUtils.h"

namespace dataframework {

namespace {

// Everything this module makes once and frees at shutdown.
struct TProcessWide {
  // String types by size, one list per case rule ([0] ignores case).
  std::vector<std::unique_ptr<TStringType>> StringTypes[2];
  std::unique_ptr<TObjectType> Object;
  std::unique_ptr<TIntegerType> Integer;
  std::unique_ptr<TBooleanType> Boolean;
  std::unique_ptr<TDateTimeType> DateTime;
  std::unique_ptr<TDateType> Date;
  std::unique_ptr<TTimeType> Time;
  std::unique_ptr<TPointerType> Pointer;
  std::unique_ptr<TDoubleType> Double;
  std::unique_ptr<TCurrencyType> Currency;
  std::unique_ptr<TPercentType> Percent;
  std::unique_ptr<TMemoType> Memo;
  std::unique_ptr<TMemoType> CaseSensitiveMemo;
  TValue EmptyString;
  TValue True;
  TValue Zero;
};

TProcessWide* g_state = nullptr;
TDataTypeFactory* g_factory = nullptr;

constexpr int kDirectStringSizes = 1024;
// The row buffer cell counts the length in at most two bytes.
constexpr int kMaxStringSize = 65535;

void Initialise() {
  auto state = std::make_unique<TProcessWide>();
  state->Object = std::make_unique<TObjectType>();
  state->Integer = std::make_unique<TIntegerType>();
  state->Boolean = std::make_unique<TBooleanType>();
  state->DateTime = std::make_unique<TDateTimeType>();
  state->Date = std::make_unique<TDateType>();
  state->Time = std::make_unique<TTimeType>();
  state->Pointer = std::make_unique<TPointerType>();
  state->Double = std::make_unique<TDoubleType>();
  state->Currency = std::make_unique<TCurrencyType>();
  state->Percent = std::make_unique<TPercentType>();
  state->Memo = std::make_unique<TMemoType>(false);
  state->CaseSensitiveMemo = std::make_unique<TMemoType>(true);
  g_state = state.release();
  // The constants need the instances (and StringType) in place.
  g_state->EmptyString = StringValue(std::string());
  g_state->True = BooleanValue(true);
  g_state->Zero = IntegerValue(0);
}

TProcessWide& State() {
  if (g_state == nullptr) Initialise();
  return *g_state;
}

void Finalise() {
  if (g_state != nullptr) {
    TProcessWide& s = *g_state;
    s.Object.reset();
    s.Integer.reset();
    s.Boolean.reset();
    s.DateTime.reset();
    s.Date.reset();
    s.Time.reset();
    s.Pointer.reset();
    s.Double.reset();
    s.Currency.reset();
    s.Percent.reset();
    s.Memo.reset();
    s.CaseSensitiveMemo.reset();
    s.StringTypes[0].clear();
    s.StringTypes[1].clear();
  }
  delete g_factory;
  g_factory = nullptr;
  delete g_state;
  g_state = nullptr;
}

// Makes the instances when the module starts and frees them at exit.
struct TModuleLifetime {
  TModuleLifetime() { State(); }
  ~TModuleLifetime() { Finalise(); }
} g_lifetime;

void CheckRoundable(double X) {
  // Beyond +-2^63 (or not a number) there is no 64-bit integer to round to.
  if (!(std::fabs(X) < 9223372036854775808.0))
    throw platform::Exception("Invalid floating point operation");
}

}  // namespace

// ---- TDataType defaults

void RaiseUntypedValue() {
  throw platform::Exception("The value has no data type!");
}

TDataType::TDataType(bool Complex, const TDataTypeClass& Cls) : FComplex(Complex), FClass(&Cls) {
  DataTypeFactory().Register(Cls);
}

void TDataType::NotSupported(const std::string& Cls, const char* Operation) {
  throw platform::Exception(Cls + "." + Operation + ": Operation not supported!");
}

void TDataType::CannotConvert(const char* From, const char* To) {
  throw ETypeConversionError(std::string("Cannot convert ") + From + " to " + To + "!");
}

bool TDataType::AsBoolean(const TValue& V) const {
  return IsTrueText(AsString(V));
}
double TDataType::AsDate(const TValue& V) const {
  return TruncDay(AsDateTime(V));
}
double TDataType::AsTime(const TValue& V) const {
  return AsDateTime(V);
}
platform::TObject* TDataType::AsObject(const TValue& V) const {
  return static_cast<platform::TObject*>(AsPointer(V));
}

int32_t TDataType::AsInteger(const TValue& V) const {
  const int64_t n = RoundHalfAway(AsFloat(V));
  // A number outside 32 bits has no integer form; cutting it would give a
  // wrong number silently.
  if (n < INT32_MIN || n > INT32_MAX)
    throw platform::EConvertError(std::to_string(n) + " is not within the integer range");
  return static_cast<int32_t>(n);
}

int64_t TDataType::AsCurrency(const TValue& V) const {
  return RoundHalfEven(AsFloat(V) * 10000.0);
}
double TDataType::AsPercent(const TValue& V) const {
  return AsFloat(V);
}
bool TDataType::IsNegative(const TValue&) const {
  return false;
}
void TDataType::WriteParams(TParams&) const {}
bool TDataType::IsComplexValue(const TValue&) const {
  return FComplex;
}
void TDataType::LogicalAnd(const TValue&, const TValue&, TValue& R) const {
  DefaultValue(R);
}
void TDataType::LogicalOr(const TValue&, const TValue&, TValue& R) const {
  DefaultValue(R);
}

void TDataType::ReadBuffer(const unsigned char* Source, int, TValue& R, TLongTextReader,
                           void*) const {
  MakeValue(R);
  const int size = DataSize();
  if (size > 0) std::memcpy(R.Data, Source, size < 8 ? size : 8);
}

std::string TDataType::InvalidValueMessage(const std::string& Text) const {
  return TranslateMessageFmt(E_ValueInvalidType, {Text});
}

bool TDataType::ValuesEqual(const TValue& A, const TValue& B) const noexcept {
  try {
    return Compare(A, B) == 0;
  } catch (...) {
    return false;
  }
}

// ---- registry

void TDataTypeFactory::Register(const TDataTypeClass& TypeClass) {
  FClasses.emplace(TypeClass.Name, &TypeClass);
}

const TDataTypeClass* TDataTypeFactory::FindClass(const std::string& Name) const {
  auto it = FClasses.find(Name);
  return it == FClasses.end() ? nullptr : it->second;
}

std::vector<std::string> TDataTypeFactory::ClassNames() const {
  std::vector<std::string> names;
  for (const auto& entry : FClasses) names.push_back(entry.first);
  return names;
}

TDataTypeFactory& DataTypeFactory() {
  if (g_factory == nullptr) g_factory = new TDataTypeFactory();
  return *g_factory;
}

bool ParamValue(const TParams& params, const std::string& name, std::string& value) {
  for (const std::string& line : params) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos && platform::SameText(std::string_view(line).substr(0, eq), name)) {
      value = line.substr(eq + 1);
      return true;
    }
  }
  return false;
}

// ---- process-wide instances

const TBooleanType* BooleanType() {
  return State().Boolean.get();
}
const TIntegerType* IntegerType() {
  return State().Integer.get();
}
const TDoubleType* DoubleType() {
  return State().Double.get();
}
const TCurrencyType* CurrencyType() {
  return State().Currency.get();
}
const TPercentType* PercentType() {
  return State().Percent.get();
}
const TDateTimeType* DateTimeType() {
  return State().DateTime.get();
}
const TDateType* DateType() {
  return State().Date.get();
}
const TTimeType* TimeType() {
  return State().Time.get();
}
const TPointerType* PointerType() {
  return State().Pointer.get();
}
const TObjectType* ObjectType() {
  return State().Object.get();
}
const TMemoType* MemoType() {
  return State().Memo.get();
}
const TMemoType* CaseSensitiveMemoType() {
  return State().CaseSensitiveMemo.get();
}

const TStringType* StringType(int Size, bool CaseSensitive) {
  if (Size < 0 || Size > kMaxStringSize)
    throw platform::Exception(
        platform::FormatMessage("StringType: invalid size %d", {std::to_string(Size)}));
  auto& list = State().StringTypes[CaseSensitive ? 1 : 0];
  const size_t size = static_cast<size_t>(Size);
  if (Size <= kDirectStringSizes) {
    if (list.size() <= size) {
      list.resize(size);
      list.push_back(std::make_unique<TStringType>(Size, CaseSensitive));
    } else if (!list[size]) {
      list[size] = std::make_unique<TStringType>(Size, CaseSensitive);
    }
    return list[size].get();
  }
  for (size_t i = kDirectStringSizes + 1; i < list.size(); ++i)
    if (list[i] && list[i]->Size() == Size) return list[i].get();
  if (list.size() < kDirectStringSizes + 1) list.resize(kDirectStringSizes + 1);
  list.push_back(std::make_unique<TStringType>(Size, CaseSensitive));
  return list.back().get();
}

size_t StringTypeCacheLength(bool CaseSensitive) {
  return State().StringTypes[CaseSensitive ? 1 : 0].size();
}

const TValue& EmptyStringValue() {
  return State().EmptyString;
}
const TValue& TrueValue() {
  return State().True;
}
const TValue& ZeroValue() {
  return State().Zero;
}

// ---- constructors and readers of values

void MakeStringValue(const std::string& Text, TValue& R) {
  if (Text.size() > static_cast<size_t>(kMaxStringSize)) {
    // No string type holds more than its two-byte length prefix can count.
    CaseSensitiveMemoType()->StringToValue(Text, R);
  } else {
    StringType(static_cast<int>(Text.size()), true)->StringToValue(Text, R);
  }
}

TValue StringValue(const std::string& Text) {
  TValue r;
  MakeStringValue(Text, r);
  return r;
}

TValue BooleanValue(bool B) {
  TValue r;
  BooleanType()->BooleanToValue(B, r);
  return r;
}
TValue IntegerValue(int32_t I) {
  TValue r;
  IntegerType()->IntegerToValue(I, r);
  return r;
}
TValue DoubleValue(double X) {
  TValue r;
  DoubleType()->DoubleToValue(X, r);
  return r;
}
TValue CurrencyValue(int64_t C) {
  TValue r;
  CurrencyType()->CurrencyToValue(C, r);
  return r;
}
TValue PercentValue(double X) {
  TValue r;
  PercentType()->PercentToValue(X, r);
  return r;
}
TValue DateValue(double X) {
  TValue r;
  DateType()->DateTimeToValue(X, r);
  return r;
}
TValue PointerValue(void* P) {
  TValue r;
  PointerType()->PointerToValue(P, r);
  return r;
}
TValue ObjectValue(platform::TObject* O) {
  TValue r;
  ObjectType()->ObjectToValue(O, r);
  return r;
}

std::string ValueAsString(const TValue& V) {
  return TypeOf(V).AsString(V);
}
bool ValueAsBoolean(const TValue& V) {
  return TypeOf(V).AsBoolean(V);
}
double ValueAsDateTime(const TValue& V) {
  return TypeOf(V).AsDateTime(V);
}
double ValueAsDate(const TValue& V) {
  return TypeOf(V).AsDate(V);
}
double ValueAsTime(const TValue& V) {
  return TypeOf(V).AsTime(V);
}
void* ValueAsPointer(const TValue& V) {
  return TypeOf(V).AsPointer(V);
}
platform::TObject* ValueAsObject(const TValue& V) {
  return TypeOf(V).AsObject(V);
}
double ValueAsFloat(const TValue& V) {
  return TypeOf(V).AsFloat(V);
}
int32_t ValueAsInteger(const TValue& V) {
  return TypeOf(V).AsInteger(V);
}
int64_t ValueAsCurrency(const TValue& V) {
  return TypeOf(V).AsCurrency(V);
}
double ValueAsPercent(const TValue& V) {
  return TypeOf(V).AsPercent(V);
}

TValue ConvertToType(const TDataType* Type, const TValue& V) {
  if (Type == nullptr || Type == V.DataType) return V;
  TValue r;
  Type->ConvertValue(V, r);
  return r;
}

TValue MaxValue(const TDataType* Type, const TValue& A, const TValue& B) {
  return Type->Compare(A, B) < 0 ? B : A;
}

TValue MinValue(const TDataType* Type, const TValue& A, const TValue& B) {
  return Type->Compare(A, B) < 0 ? A : B;
}

// ---- numeric helpers

int64_t RoundHalfAway(double X) {
  const double shifted = X >= 0 ? X + 0.5 : X - 0.5;
  CheckRoundable(shifted);
  return static_cast<int64_t>(std::trunc(shifted));
}

double RoundToFactor(int Factor, double X) {
  if (Factor <= 0) return X;
  return static_cast<double>(RoundHalfAway(X * Factor)) / Factor;
}

int64_t RoundHalfEven(double X) {
  CheckRoundable(X);
  const double r = std::nearbyint(X);  // the default rounding mode: ties to even
  CheckRoundable(r);
  return static_cast<int64_t>(r);
}

std::string PadText(const std::string& Text, char Fill, int Width, bool AtFront) {
  if (Width <= 0 || Text.size() >= static_cast<size_t>(Width)) return Text;
  const std::string fill(static_cast<size_t>(Width) - Text.size(), Fill);
  return AtFront ? fill + Text : Text + fill;
}

std::string QuotedText(const std::string& Text) {
  return platform::QuotedStr(Text);
}

}  // namespace dataframework
