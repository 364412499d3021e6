// The value record, the abstract data type and the shared helpers.
//
// Every cell, default, key and condition bound of the data framework is a
// TValue: a reference to the TDataType that interprets it, 8 data bytes for
// the non-text kinds and a shared text for the text kinds. A TDataType is an
// immutable object that converts, compares, combines, formats, parses and
// stores values of its kind; type identity is object identity.
//
// Ownership: values never own their type. Every data type object is made by
// this module (process-wide instances, the string-type cache) and lives until
// the process ends; callers only ever hold pointers to them.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "dataframework/types/SharedText.h"
#include "platform/Exception.h"
#include "platform/Persistent.h"

namespace dataframework {

class TDataType;

// A value copied by value. Data holds the value of every non-text kind in the
// layout its type defines; Text holds the value of the string and memo kinds.
struct TValue {
  const TDataType* DataType = nullptr;  // not owned; null only when uninitialised
  alignas(8) unsigned char Data[8] = {};
  TSharedText Text;

  template <typename T>
  T Get() const noexcept {
    static_assert(sizeof(T) <= sizeof(Data));
    T result;
    std::memcpy(&result, Data, sizeof(T));
    return result;
  }
  template <typename T>
  void Set(T value) noexcept {
    static_assert(sizeof(T) <= sizeof(Data));
    std::memset(Data, 0, sizeof(Data));
    std::memcpy(Data, &value, sizeof(T));
  }
};

[[noreturn]] void RaiseUntypedValue();

// The type of V; raises platform::Exception for an uninitialised value.
inline const TDataType& TypeOf(const TValue& V) {
  if (V.DataType == nullptr) RaiseUntypedValue();
  return *V.DataType;
}

// Entry of a value list: a text, an object (not owned) and a value.
struct TValueItem {
  std::string Text;
  platform::TObject* Item = nullptr;
  TValue Value;
};

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

// Display and input settings handed to FormatValue and ParseValue; only the
// numeric types read them.
struct TValueFormat {
  int32_t Magnitude = 0;       // not read by the data types
  int32_t InputDecimals = -1;  // >= 0: ParseValue rounds the fraction with RoundFactor
  int32_t RoundFactor = 0;     // factor for RoundToFactor; <= 0 means no rounding
  long double Scale = 1;       // stored value / Scale is shown, input * Scale is stored
  std::string Mask;            // number mask with "#", "0", "," and "."
  int32_t Reserved = 0;        // not read by the data types
  bool EditMode = false;       // format for editing: no scaling, no grouping
};

// Raised where a kind cannot be converted to another ("Cannot convert
// Boolean to DateTime!").
class ETypeConversionError : public platform::Exception {
 public:
  using platform::Exception::Exception;
};

// Parameter lines "NAME=value" that describe a type (WriteParams, CreateFromParams).
using TParams = std::vector<std::string>;

// The value of the first line "Name=..." in Params, or false when none.
bool ParamValue(const TParams& params, const std::string& name, std::string& value);

// Row buffer callbacks for texts too long for their cell; a row passes its own
// pair and itself as Owner, the other types ignore all three.
using TLongTextWriter = void (*)(void* Owner, int FieldIndex, const std::string& Text);
using TLongTextReader = void (*)(void* Owner, int FieldIndex, std::string& Text);

// A data type class as the registry knows it: its name and its class operation
// CreateFromParams (the type described by Params; a process-wide object).
struct TDataTypeClass {
  const char* Name;
  const TDataType* (*CreateFromParams)(const TParams& Params);
};

class TDataType : public platform::TPersistent {
 public:
  ~TDataType() override = default;
  TDataType(const TDataType&) = delete;
  TDataType& operator=(const TDataType&) = delete;

  const TDataTypeClass& Class() const noexcept { return *FClass; }
  std::string ClassName() const override { return FClass->Name; }

  // Conversions (slots 3 to 13). A type decodes values of its own and forwards
  // any other value to that value's own type.
  virtual std::string AsString(const TValue& V) const = 0;
  virtual bool AsBoolean(const TValue& V) const;
  virtual double AsDateTime(const TValue& V) const = 0;
  virtual double AsDate(const TValue& V) const;
  virtual double AsTime(const TValue& V) const;
  virtual void* AsPointer(const TValue& V) const = 0;
  virtual platform::TObject* AsObject(const TValue& V) const;
  virtual double AsFloat(const TValue& V) const = 0;
  virtual int32_t AsInteger(const TValue& V) const;
  virtual int64_t AsCurrency(const TValue& V) const;  // count of 1/10000
  virtual double AsPercent(const TValue& V) const;    // a fraction: 0.25 is 25 %
  virtual void ConvertValue(const TValue& V, TValue& R) const = 0;

  // Description of the kind.
  virtual std::string SqlTypeName() const = 0;
  virtual int DataSize() const = 0;
  virtual int DisplayWidth() const = 0;
  virtual bool IsStored() const { return true; }
  virtual bool IsNumeric() const { return false; }
  virtual bool IsNegative(const TValue& V) const;
  virtual int DefaultDecimals() const { return 0; }
  virtual bool IsAggregable() const { return false; }
  virtual TAlignment Alignment() const { return taLeftJustify; }
  virtual std::string TypeName() const = 0;
  virtual bool IsDynamicSize() const { return false; }
  virtual void WriteParams(TParams& Params) const;
  // The class operation of this object's class: Class().CreateFromParams.
  virtual const TDataType* CreateFromParams(const TParams& Params) const {
    return FClass->CreateFromParams(Params);
  }
  virtual bool IsComplexValue(const TValue& V) const;

  // Comparison and arithmetic. R may be the same object as an operand.
  virtual int Compare(const TValue& A, const TValue& B) const = 0;
  virtual bool Equals(const TValue& A, const TValue& B) const { return ValuesEqual(A, B); }
  virtual void Sum(const TValue& A, const TValue& B, TValue& R) const = 0;
  virtual void Difference(const TValue& A, const TValue& B, TValue& R) const = 0;
  virtual void Product(const TValue& A, const TValue& B, TValue& R) const = 0;
  virtual void Quota(const TValue& A, const TValue& B, TValue& R) const = 0;
  virtual void LogicalAnd(const TValue& A, const TValue& B, TValue& R) const;
  virtual void LogicalOr(const TValue& A, const TValue& B, TValue& R) const;
  virtual void Negate(const TValue& V, TValue& R) const = 0;
  virtual bool IsEmpty(const TValue&) const { return false; }
  virtual void DefaultValue(TValue& R) const = 0;

  // Text, database literal and row buffer forms.
  virtual std::string SqlValue(const TValue& V) const = 0;
  virtual void FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const = 0;
  virtual bool ParseValue(const std::string& Text, TValue& R, const TValueFormat& Format) const = 0;
  virtual void WriteBuffer(unsigned char* Dest, const TValue& V, int FieldIndex,
                           TLongTextWriter LongTextWriter, void* Owner) const = 0;
  virtual void ReadBuffer(const unsigned char* Source, int FieldIndex, TValue& R,
                          TLongTextReader LongTextReader, void* Owner) const;
  virtual std::string InvalidValueMessage(const std::string& Text) const;

  // True when Compare(A, B) is zero; false when the comparison raises.
  bool ValuesEqual(const TValue& A, const TValue& B) const noexcept;

 protected:
  // Stores Complex and registers Cls with DataTypeFactory().
  TDataType(bool Complex, const TDataTypeClass& Cls);

  // Raises "<ClassName>.<Operation>: Operation not supported!".
  [[noreturn]] static void NotSupported(const std::string& Cls, const char* Operation);
  // Raises ETypeConversionError "Cannot convert <From> to <To>!".
  [[noreturn]] static void CannotConvert(const char* From, const char* To);
  // R := this type, empty text, 8 data bytes cleared.
  void MakeValue(TValue& R) const noexcept {
    R.DataType = this;
    R.Text.clear();
    std::memset(R.Data, 0, sizeof(R.Data));
  }

  bool FComplex;

 private:
  const TDataTypeClass* FClass;
};

// Process-wide registry of data type classes, by class name; a name already
// present is ignored.
class TDataTypeFactory {
 public:
  void Register(const TDataTypeClass& TypeClass);
  // The class registered under Name, or null.
  const TDataTypeClass* FindClass(const std::string& Name) const;
  // The registered class names in sorted order.
  std::vector<std::string> ClassNames() const;

 private:
  std::map<std::string, const TDataTypeClass*> FClasses;
};

TDataTypeFactory& DataTypeFactory();

// Process-wide instances, made at start (or by the first StringType call)
// and freed at shutdown.
class TBooleanType;
class TIntegerType;
class TDoubleType;
class TCurrencyType;
class TPercentType;
class TDateTimeType;
class TDateType;
class TTimeType;
class TPointerType;
class TObjectType;
class TMemoType;
class TStringType;

const TBooleanType* BooleanType();
const TIntegerType* IntegerType();
const TDoubleType* DoubleType();
const TCurrencyType* CurrencyType();
const TPercentType* PercentType();
const TDateTimeType* DateTimeType();
const TDateType* DateType();
const TTimeType* TimeType();
const TPointerType* PointerType();
const TObjectType* ObjectType();
const TMemoType* MemoType();               // ignores case; the general text type
const TMemoType* CaseSensitiveMemoType();  // respects case
// The one string type of this size and case rule; raises platform::Exception
// for a size below 0 or above 65535 (the largest a length prefix counts).
const TStringType* StringType(int Size, bool CaseSensitive);
// Number of positions of the string-type cache of one case rule (diagnostics).
size_t StringTypeCacheLength(bool CaseSensitive);

// Constant values, made after the instances.
const TValue& EmptyStringValue();
const TValue& TrueValue();
const TValue& ZeroValue();

// Constructors of values of the process-wide types.
// StringType(length, true) holding Text, never cut; texts longer than 65535
// characters become CaseSensitiveMemoType values.
TValue StringValue(const std::string& Text);
// As StringValue, into R (whose text block is reused when R alone holds it).
void MakeStringValue(const std::string& Text, TValue& R);
TValue BooleanValue(bool B);
TValue IntegerValue(int32_t I);
TValue DoubleValue(double X);
TValue CurrencyValue(int64_t C);  // count of 1/10000
TValue PercentValue(double X);    // a fraction
TValue DateValue(double X);       // drops the time of day
TValue PointerValue(void* P);
TValue ObjectValue(platform::TObject* O);

// Readers: the operation of the value's own type. V must be initialised.
std::string ValueAsString(const TValue& V);
bool ValueAsBoolean(const TValue& V);
double ValueAsDateTime(const TValue& V);
double ValueAsDate(const TValue& V);
double ValueAsTime(const TValue& V);
void* ValueAsPointer(const TValue& V);
platform::TObject* ValueAsObject(const TValue& V);
double ValueAsFloat(const TValue& V);
int32_t ValueAsInteger(const TValue& V);
int64_t ValueAsCurrency(const TValue& V);
double ValueAsPercent(const TValue& V);

// V unchanged when Type is null or V's own type, else Type->ConvertValue(V).
TValue ConvertToType(const TDataType* Type, const TValue& V);
// B when Type->Compare(A, B) < 0, else A.
TValue MaxValue(const TDataType* Type, const TValue& A, const TValue& B);
// A when Type->Compare(A, B) < 0, else B.
TValue MinValue(const TDataType* Type, const TValue& A, const TValue& B);

// Nearest integer, halves away from zero. Raises platform::EConvertError for
// a number that is not finite or out of the 64-bit range.
int64_t RoundHalfAway(double X);
// X when Factor <= 0, else RoundHalfAway(X * Factor) / Factor.
double RoundToFactor(int Factor, double X);
// Nearest integer, ties to even (the currency rounding); raises like RoundHalfAway.
int64_t RoundHalfEven(double X);
// Text lengthened to Width with Fill, in front when AtFront; longer texts unchanged.
std::string PadText(const std::string& Text, char Fill, int Width, bool AtFront);
// Text enclosed in apostrophes, inner apostrophes doubled.
std::string QuotedText(const std::string& Text);

}  // namespace dataframework
