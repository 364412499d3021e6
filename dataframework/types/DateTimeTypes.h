// Date and time types: TDateTimeType and its specialisations TDateType (whole
// days) and TTimeType (time of day). All keep a date-time number, days since
// 30 December 1899 with the time of day as fraction; text follows the locale.
//
// All objects are process-wide and owned by the data type module.
#pragma once

#include "dataframework/types/DataTypeCore.h"

namespace dataframework {

class TDateTimeType : public TDataType {
 public:
  static const TDataTypeClass kClass;
  static const TDataType* ClassCreateFromParams(const TParams&);
  TDateTimeType() : TDateTimeType(kClass) {}

  std::string AsString(const TValue& V) const override;
  bool AsBoolean(const TValue& V) const override;
  double AsDateTime(const TValue& V) const override;
  void* AsPointer(const TValue& V) const override;
  double AsFloat(const TValue& V) const override;
  void ConvertValue(const TValue& V, TValue& R) const override;
  std::string SqlTypeName() const override { return "datetime"; }
  int DataSize() const override { return 8; }
  int DisplayWidth() const override { return 20; }
  TAlignment Alignment() const override { return taRightJustify; }
  std::string TypeName() const override { return "DateTime"; }
  int Compare(const TValue& A, const TValue& B) const override;
  void Sum(const TValue& A, const TValue& B, TValue& R) const override;
  void Difference(const TValue& A, const TValue& B, TValue& R) const override;
  void Product(const TValue& A, const TValue& B, TValue& R) const override;
  void Quota(const TValue& A, const TValue& B, TValue& R) const override;
  void Negate(const TValue& V, TValue& R) const override;
  bool IsEmpty(const TValue& V) const override;
  void DefaultValue(TValue& R) const override;
  std::string SqlValue(const TValue& V) const override;
  void FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const override;
  bool ParseValue(const std::string& Text, TValue& R, const TValueFormat& Format) const override;
  void WriteBuffer(unsigned char* Dest, const TValue& V, int FieldIndex,
                   TLongTextWriter LongTextWriter, void* Owner) const override;
  std::string InvalidValueMessage(const std::string& Text) const override;

  // Makes a value of this type from a date-time number (cut as the type cuts).
  virtual void DateTimeToValue(double X, TValue& R) const noexcept;
  // Empty or blank text is 0; otherwise a locale date, optionally followed by
  // a time (EConvertError).
  virtual double StringToDateTime(const std::string& Text) const;

 protected:
  explicit TDateTimeType(const TDataTypeClass& Cls) : TDataType(true, Cls) {}
  // The value's number as written to the row buffer.
  virtual double BufferNumber(const TValue& V) const;
};

class TDateType : public TDateTimeType {
 public:
  static const TDataTypeClass kClass;
  static const TDataType* ClassCreateFromParams(const TParams&);
  TDateType() : TDateTimeType(kClass) {}

  std::string AsString(const TValue& V) const override;
  void ConvertValue(const TValue& V, TValue& R) const override;
  int DisplayWidth() const override { return 10; }
  std::string TypeName() const override { return "Date"; }
  std::string SqlValue(const TValue& V) const override;
  void DateTimeToValue(double X, TValue& R) const noexcept override;
  // A locale short date; empty text raises EConvertError.
  double StringToDateTime(const std::string& Text) const override;

 protected:
  double BufferNumber(const TValue& V) const override;
};

class TTimeType : public TDateTimeType {
 public:
  static const TDataTypeClass kClass;
  static const TDataType* ClassCreateFromParams(const TParams&);
  TTimeType() : TDateTimeType(kClass) {}

  std::string AsString(const TValue& V) const override;
  void ConvertValue(const TValue& V, TValue& R) const override;
  std::string SqlTypeName() const override { return "float"; }
  int DisplayWidth() const override { return 10; }
  bool IsNumeric() const override { return true; }
  bool IsAggregable() const override { return true; }
  std::string TypeName() const override { return "Time"; }
  void DefaultValue(TValue& R) const override { DateTimeToValue(0.0, R); }
  // The number of the time of day, "." as decimal point whatever the locale.
  std::string SqlValue(const TValue& V) const override;
  std::string InvalidValueMessage(const std::string& Text) const override;
  // Empty or blank text is 0; otherwise a locale time (EConvertError).
  double StringToDateTime(const std::string& Text) const override;

 protected:
  double BufferNumber(const TValue& V) const override;
};

// The whole day of a date-time number, truncated toward zero.
double TruncDay(double X) noexcept;

}  // namespace dataframework
