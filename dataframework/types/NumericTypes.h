// Numeric types: TIntegerType (32-bit), TDoubleType, TCurrencyType (count of
// 1/10000) and TPercentType (a fraction shown as a percentage), on the common
// base TNumericType. Number text follows the process locale settings.
//
// All objects are process-wide and owned by the data type module.
#pragma once

#include "dataframework/types/DataTypeCore.h"

namespace dataframework {

class TNumericType : public TDataType {
 public:
  bool AsBoolean(const TValue& V) const override;
  bool IsNumeric() const override { return true; }
  bool IsNegative(const TValue& V) const override;
  bool IsAggregable() const override { return true; }
  TAlignment Alignment() const override { return taRightJustify; }
  std::string InvalidValueMessage(const std::string& Text) const override;
  // The value's text; a number with "." as decimal point whatever the locale,
  // as a statement would otherwise read "1,5" as two values.
  std::string SqlValue(const TValue& V) const override;

 protected:
  using TDataType::TDataType;
};

// Data: 32-bit signed integer in the first 4 bytes.
class TIntegerType : public TNumericType {
 public:
  static const TDataTypeClass kClass;
  static const TDataType* ClassCreateFromParams(const TParams&);
  TIntegerType() : TNumericType(false, kClass) {}

  void IntegerToValue(int32_t I, TValue& R) const noexcept {
    MakeValue(R);
    R.Set<int32_t>(I);
  }

  std::string AsString(const TValue& V) const override;
  bool AsBoolean(const TValue& V) const override;
  double AsDateTime(const TValue& V) const override;
  void* AsPointer(const TValue& V) const override;
  double AsFloat(const TValue& V) const override;
  int32_t AsInteger(const TValue& V) const override;
  int64_t AsCurrency(const TValue& V) const override;
  double AsPercent(const TValue& V) const override;
  void ConvertValue(const TValue& V, TValue& R) const override;
  std::string SqlTypeName() const override { return "int"; }
  int DataSize() const override { return 4; }
  int DisplayWidth() const override { return 12; }
  std::string TypeName() const override { return "Integer"; }
  int Compare(const TValue& A, const TValue& B) const override;
  void Sum(const TValue& A, const TValue& B, TValue& R) const override;
  void Difference(const TValue& A, const TValue& B, TValue& R) const override;
  void Product(const TValue& A, const TValue& B, TValue& R) const override;
  void Quota(const TValue& A, const TValue& B, TValue& R) const override;
  void Negate(const TValue& V, TValue& R) const override;
  void DefaultValue(TValue& R) const override { IntegerToValue(0, R); }
  void FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const override;
  bool ParseValue(const std::string& Text, TValue& R, const TValueFormat& Format) const override;
  void WriteBuffer(unsigned char* Dest, const TValue& V, int FieldIndex,
                   TLongTextWriter LongTextWriter, void* Owner) const override;
  std::string InvalidValueMessage(const std::string& Text) const override;

  // Empty or blank text is 0; otherwise decimal integer text (EConvertError).
  virtual int32_t StringToInteger(const std::string& Text) const;
};

// Data: 64-bit IEEE double.
class TDoubleType : public TNumericType {
 public:
  static const TDataTypeClass kClass;
  static const TDataType* ClassCreateFromParams(const TParams&);
  TDoubleType() : TNumericType(true, kClass) {}

  void DoubleToValue(double X, TValue& R) const noexcept {
    MakeValue(R);
    R.Set<double>(X);
  }

  std::string AsString(const TValue& V) const override;
  double AsDateTime(const TValue& V) const override;
  void* AsPointer(const TValue& V) const override;
  double AsFloat(const TValue& V) const override;
  void ConvertValue(const TValue& V, TValue& R) const override;
  std::string SqlTypeName() const override { return "float"; }
  int DataSize() const override { return 8; }
  int DisplayWidth() const override { return 16; }
  int DefaultDecimals() const override { return 1; }
  std::string TypeName() const override { return "Float"; }
  int Compare(const TValue& A, const TValue& B) const override;
  void Sum(const TValue& A, const TValue& B, TValue& R) const override;
  void Difference(const TValue& A, const TValue& B, TValue& R) const override;
  void Product(const TValue& A, const TValue& B, TValue& R) const override;
  void Quota(const TValue& A, const TValue& B, TValue& R) const override;
  void Negate(const TValue& V, TValue& R) const override;
  void DefaultValue(TValue& R) const override { DoubleToValue(0.0, R); }
  void FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const override;
  bool ParseValue(const std::string& Text, TValue& R, const TValueFormat& Format) const override;
  void WriteBuffer(unsigned char* Dest, const TValue& V, int FieldIndex,
                   TLongTextWriter LongTextWriter, void* Owner) const override;

  // Empty or blank text is 0; otherwise locale number text (EConvertError).
  virtual double StringToDouble(const std::string& Text) const;
};

// Data: 64-bit signed count of 1/10000 (1.5 is 15000).
class TCurrencyType : public TNumericType {
 public:
  static const TDataTypeClass kClass;
  static const TDataType* ClassCreateFromParams(const TParams&);
  TCurrencyType() : TNumericType(true, kClass) {}

  void CurrencyToValue(int64_t C, TValue& R) const noexcept {
    MakeValue(R);
    R.Set<int64_t>(C);
  }

  std::string AsString(const TValue& V) const override;
  double AsDateTime(const TValue& V) const override;
  void* AsPointer(const TValue& V) const override;
  double AsFloat(const TValue& V) const override;
  int64_t AsCurrency(const TValue& V) const override;
  double AsPercent(const TValue& V) const override;
  void ConvertValue(const TValue& V, TValue& R) const override;
  std::string SqlTypeName() const override { return "money"; }
  int DataSize() const override { return 8; }
  int DisplayWidth() const override { return 16; }
  int DefaultDecimals() const override { return 2; }
  std::string TypeName() const override { return "Currency"; }
  int Compare(const TValue& A, const TValue& B) const override;
  void Sum(const TValue& A, const TValue& B, TValue& R) const override;
  void Difference(const TValue& A, const TValue& B, TValue& R) const override;
  void Product(const TValue& A, const TValue& B, TValue& R) const override;
  void Quota(const TValue& A, const TValue& B, TValue& R) const override;
  void Negate(const TValue& V, TValue& R) const override;
  void DefaultValue(TValue& R) const override { CurrencyToValue(0, R); }
  void FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const override;
  bool ParseValue(const std::string& Text, TValue& R, const TValueFormat& Format) const override;
  void WriteBuffer(unsigned char* Dest, const TValue& V, int FieldIndex,
                   TLongTextWriter LongTextWriter, void* Owner) const override;
  std::string InvalidValueMessage(const std::string& Text) const override;

  // Empty or blank text is 0; otherwise the currency reading, as a count.
  virtual int64_t StringToCurrency(const std::string& Text) const;
};

// Data: 64-bit IEEE double holding the fraction (25 % is 0.25).
class TPercentType : public TNumericType {
 public:
  static const TDataTypeClass kClass;
  static const TDataType* ClassCreateFromParams(const TParams&);
  TPercentType() : TNumericType(true, kClass) {}

  void PercentToValue(double X, TValue& R) const noexcept {
    MakeValue(R);
    R.Set<double>(X);
  }

  std::string AsString(const TValue& V) const override;
  bool AsBoolean(const TValue& V) const override;
  double AsDateTime(const TValue& V) const override;
  void* AsPointer(const TValue& V) const override;
  double AsFloat(const TValue& V) const override;
  int32_t AsInteger(const TValue& V) const override;
  int64_t AsCurrency(const TValue& V) const override;
  double AsPercent(const TValue& V) const override;
  void ConvertValue(const TValue& V, TValue& R) const override;
  std::string SqlTypeName() const override { return "float"; }
  int DataSize() const override { return 8; }
  int DisplayWidth() const override { return 10; }
  int DefaultDecimals() const override { return 1; }
  bool IsAggregable() const override { return false; }
  std::string TypeName() const override { return "Percent"; }
  int Compare(const TValue& A, const TValue& B) const override;
  void Sum(const TValue& A, const TValue& B, TValue& R) const override;
  void Difference(const TValue& A, const TValue& B, TValue& R) const override;
  void Product(const TValue& A, const TValue& B, TValue& R) const override;
  void Quota(const TValue& A, const TValue& B, TValue& R) const override;
  void Negate(const TValue& V, TValue& R) const override;
  void DefaultValue(TValue& R) const override { PercentToValue(0.0, R); }
  std::string SqlValue(const TValue& V) const override;
  void FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const override;
  bool ParseValue(const std::string& Text, TValue& R, const TValueFormat& Format) const override;
  void WriteBuffer(unsigned char* Dest, const TValue& V, int FieldIndex,
                   TLongTextWriter LongTextWriter, void* Owner) const override;
  std::string InvalidValueMessage(const std::string& Text) const override;

  // The number as written ("25 %" is 25); a trailing "%" of the text as given
  // is dropped; empty or blank text is 0.
  virtual double StringToPercent(const std::string& Text) const;
};

// Number text of the platform (FloatToStr, CurrToStr) with the locale
// decimal separator turned into ".", for database statements.
std::string SqlNumberText(std::string Text);

// Text without blanks and locale thousands separators.
std::string StripGrouping(const std::string& Text);

}  // namespace dataframework
