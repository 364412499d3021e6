// Reference kinds: TPointerType (an address) and TObjectType (an object).
// Their values are not stored in databases (IsStored is false).
//
// Both objects are process-wide and owned by the data type module; values
// never own what they point to.
#pragma once

#include "dataframework/types/DataTypeCore.h"

namespace dataframework {

// Data: the address in the first pointer-wide bytes.
class TPointerType : public TDataType {
 public:
  static const TDataTypeClass kClass;
  static const TDataType* ClassCreateFromParams(const TParams&);
  TPointerType() : TPointerType(kClass) {}

  void PointerToValue(void* P, TValue& R) const noexcept {
    MakeValue(R);
    R.Set<void*>(P);
  }

  std::string AsString(const TValue& V) const override;
  bool AsBoolean(const TValue& V) const override;
  double AsDateTime(const TValue& V) const override;
  void* AsPointer(const TValue& V) const override;
  double AsFloat(const TValue& V) const override;
  int32_t AsInteger(const TValue& V) const override;
  void ConvertValue(const TValue& V, TValue& R) const override;
  std::string SqlTypeName() const override { return "pointer"; }
  // A cell holds a whole address (8 bytes on 64-bit), so nothing is cut.
  int DataSize() const override { return static_cast<int>(sizeof(void*)); }
  int DisplayWidth() const override { return 0; }
  bool IsStored() const override { return false; }
  std::string TypeName() const override { return "Pointer"; }
  int Compare(const TValue& A, const TValue& B) const override;
  void Sum(const TValue& A, const TValue& B, TValue& R) const override;
  void Difference(const TValue& A, const TValue& B, TValue& R) const override;
  void Product(const TValue& A, const TValue& B, TValue& R) const override;
  void Quota(const TValue& A, const TValue& B, TValue& R) const override;
  void Negate(const TValue& V, TValue& R) const override { R = V; }
  bool IsEmpty(const TValue& V) const override;
  void DefaultValue(TValue& R) const override { PointerToValue(nullptr, R); }
  std::string SqlValue(const TValue&) const override { return "''"; }
  void FormatValue(const TValue& V, const TValueFormat& Format, TValue& R) const override;
  bool ParseValue(const std::string& Text, TValue& R, const TValueFormat& Format) const override;
  void WriteBuffer(unsigned char* Dest, const TValue& V, int FieldIndex,
                   TLongTextWriter LongTextWriter, void* Owner) const override;

 protected:
  explicit TPointerType(const TDataTypeClass& Cls) : TDataType(true, Cls) {}
};

// Data: an object reference (platform::TObject*), not owned.
class TObjectType : public TPointerType {
 public:
  static const TDataTypeClass kClass;
  static const TDataType* ClassCreateFromParams(const TParams&);
  TObjectType() : TObjectType(kClass) {}

  void ObjectToValue(platform::TObject* O, TValue& R) const noexcept {
    MakeValue(R);
    R.Set<void*>(static_cast<void*>(O));
  }

  std::string AsString(const TValue& V) const override;
  void* AsPointer(const TValue& V) const override;
  platform::TObject* AsObject(const TValue& V) const override;
  TAlignment Alignment() const override { return taCenter; }
  std::string TypeName() const override { return "Object"; }

 protected:
  explicit TObjectType(const TDataTypeClass& Cls) : TPointerType(Cls) {}
};

}  // namespace dataframework
