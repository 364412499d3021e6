// Text and truth-value types: TStringType (bounded text, one object per size
// and case rule), TMemoType (text of any length, kept outside the row buffer
// when long) and TBooleanType.
//
// All objects are process-wide and owned by the data type module; obtain
// string types through StringType(Size, CaseSensitive).
#pragma once

#include "dataframework/types/DataTypeCore.h"

namespace dataframework {

class TStringType : public TDataType {
 public:
  static const TDataTypeClass kClass;
  static const TDataType* ClassCreateFromParams(const TParams& Params);

  // Use StringType(Size, CaseSensitive) instead, so each pair has one object.
  TStringType(int Size, bool CaseSensitive) : TStringType(Size, CaseSensitive, false, kClass) {}

  int Size() const noexcept { return FSize; }
  bool CaseSensitive() const noexcept { return FCaseSensitive; }
  int LengthPrefixSize() const noexcept { return FSize <= 255 ? 1 : 2; }

  std::string AsString(const TValue& V) const override;
  double AsDateTime(const TValue& V) const override;
  double AsDate(const TValue& V) const override;
  double AsTime(const TValue& V) const override;
  void* AsPointer(const TValue& V) const override;
  double AsFloat(const TValue& V) const override;
  int32_t AsInteger(const TValue& V) const override;
  int64_t AsCurrency(const TValue& V) const override;
  double AsPercent(const TValue& V) const override;
  void ConvertValue(const TValue& V, TValue& R) const override;
  std::string SqlTypeName() const override;
  int DataSize() const override { return LengthPrefixSize() + FSize; }
  int DisplayWidth() const override { return FSize; }
  std::string TypeName() const override;
  void WriteParams(TParams& Params) const override;
  bool IsComplexValue(const TValue& V) const override;
  int Compare(const TValue& A, const TValue& B) const override;
  bool Equals(const TValue& A, const TValue& B) const override;
  void Sum(const TValue& A, const TValue& B, TValue& R) const override;
  void Difference(const TValue& A, const TValue& B, TValue& R) const override;
  void Product(const TValue& A, const TValue& B, TValue& R) const override;
  void Quota(const TValue& A, const TValue& B, TValue& R) const override;
  void Negate(const TValue& V, TValue& R) const override { R = V; }
  bool IsEmpty(const TValue& V) const override;
  void DefaultValue(TValue& R) const override { StringToValue(std::string(), R); }
  std::string SqlValue(const TValue& V) const override;
  void FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const override;
  bool ParseValue(const std::string& Text, TValue& R, const TValueFormat& Format) const override;
  void WriteBuffer(unsigned char* Dest, const TValue& V, int FieldIndex,
                   TLongTextWriter LongTextWriter, void* Owner) const override;
  void ReadBuffer(const unsigned char* Source, int FieldIndex, TValue& R,
                  TLongTextReader LongTextReader, void* Owner) const override;

  // The largest size the class supports.
  virtual int MaxSize() const { return 65535; }
  // R := a value of this type holding Text, cut to Size characters when Size > 0.
  virtual void StringToValue(const std::string& Text, TValue& R) const;

 protected:
  TStringType(int Size, bool CaseSensitive, bool Complex, const TDataTypeClass& Cls)
      : TDataType(Complex, Cls), FSize(Size), FCaseSensitive(CaseSensitive) {}

  int FSize;
  bool FCaseSensitive;
};

class TMemoType : public TStringType {
 public:
  static const TDataTypeClass kClass;
  static const TDataType* ClassCreateFromParams(const TParams& Params);

  // Use MemoType() / CaseSensitiveMemoType() instead.
  explicit TMemoType(bool CaseSensitive) : TMemoType(CaseSensitive, kClass) {}

  std::string SqlTypeName() const override { return "text"; }
  int DataSize() const override { return 255; }
  int DisplayWidth() const override { return 80; }
  std::string TypeName() const override { return "Memo"; }
  bool IsDynamicSize() const override { return true; }
  void WriteParams(TParams& Params) const override;
  bool IsComplexValue(const TValue&) const override { return true; }
  std::string SqlValue(const TValue& V) const override;
  void WriteBuffer(unsigned char* Dest, const TValue& V, int FieldIndex,
                   TLongTextWriter LongTextWriter, void* Owner) const override;
  void ReadBuffer(const unsigned char* Source, int FieldIndex, TValue& R,
                  TLongTextReader LongTextReader, void* Owner) const override;
  int MaxSize() const override { return 2147483647; }
  void StringToValue(const std::string& Text, TValue& R) const override;

 protected:
  TMemoType(bool CaseSensitive, const TDataTypeClass& Cls)
      : TStringType(2147483647, CaseSensitive, true, Cls) {}
};

// A Boolean value keeps Data[0]: 1 for true, 0 for false.
class TBooleanType : public TDataType {
 public:
  static const TDataTypeClass kClass;
  static const TDataType* ClassCreateFromParams(const TParams&);

  // Use BooleanType() instead.
  TBooleanType() : TDataType(true, kClass) {}

  std::string AsString(const TValue& V) const override;
  bool AsBoolean(const TValue& V) const override;
  double AsDateTime(const TValue& V) const override;
  void* AsPointer(const TValue& V) const override;
  double AsFloat(const TValue& V) const override;
  void ConvertValue(const TValue& V, TValue& R) const override;
  std::string SqlTypeName() const override { return "char(1)"; }
  int DataSize() const override { return 1; }
  int DisplayWidth() const override { return 5; }
  std::string TypeName() const override { return "Boolean"; }
  int Compare(const TValue& A, const TValue& B) const override;
  void Sum(const TValue& A, const TValue& B, TValue& R) const override;
  void Difference(const TValue& A, const TValue& B, TValue& R) const override;
  void Product(const TValue& A, const TValue& B, TValue& R) const override;
  void Quota(const TValue& A, const TValue& B, TValue& R) const override;
  void LogicalAnd(const TValue& A, const TValue& B, TValue& R) const override;
  void LogicalOr(const TValue& A, const TValue& B, TValue& R) const override;
  void Negate(const TValue& V, TValue& R) const override;
  void DefaultValue(TValue& R) const override { BooleanToValue(false, R); }
  std::string SqlValue(const TValue& V) const override;
  void FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const override;
  bool ParseValue(const std::string& Text, TValue& R, const TValueFormat& Format) const override;
  void WriteBuffer(unsigned char* Dest, const TValue& V, int FieldIndex,
                   TLongTextWriter LongTextWriter, void* Owner) const override;

  virtual void BooleanToValue(bool B, TValue& R) const;
  // True only for "T", "t", "true", "TRUE", "True", "X" and "x"; never raises.
  virtual bool StringToBoolean(const std::string& Text) const;
};

// The Boolean text rule on its own (StringToBoolean of the Boolean type).
bool IsTrueText(const std::string& Text) noexcept;

}  // namespace dataframework
