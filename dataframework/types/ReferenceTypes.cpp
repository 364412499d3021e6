// TPointerType and TObjectType.

#include "dataframework/types/ReferenceTypes.h"

#include "dataframework/types/DataType.h"
#include "platform/TextUtils.h"

namespace dataframework {

const TDataTypeClass TPointerType::kClass{"TPointerType", &TPointerType::ClassCreateFromParams};
const TDataTypeClass TObjectType::kClass{"TObjectType", &TObjectType::ClassCreateFromParams};

namespace {

std::string AddressText(const char* Prefix, const void* P) {
  return std::string(Prefix) + "($" + platform::IntToHex(reinterpret_cast<uintptr_t>(P), 8) + ")";
}

}  // namespace

// ---- TPointerType

const TDataType* TPointerType::ClassCreateFromParams(const TParams&) {
  return PointerType();
}

std::string TPointerType::AsString(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsString(V);
  return AddressText("Pointer", V.Get<void*>());
}

bool TPointerType::AsBoolean(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsBoolean(V);
  CannotConvert("Pointer", "Boolean");
}

double TPointerType::AsDateTime(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsDateTime(V);
  CannotConvert("Pointer", "DateTime");
}

void* TPointerType::AsPointer(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPointer(V);
  return V.Get<void*>();
}

double TPointerType::AsFloat(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsFloat(V);
  CannotConvert("Pointer", "Double");
}

int32_t TPointerType::AsInteger(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsInteger(V);
  // The low 32 bits of the address, as the integer kind holds no more.
  return static_cast<int32_t>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(AsPointer(V))));
}

void TPointerType::ConvertValue(const TValue& V, TValue& R) const {
  if (V.DataType == this) {
    R = V;
  } else {
    PointerToValue(ValueAsPointer(V), R);
  }
}

int TPointerType::Compare(const TValue& A, const TValue& B) const {
  const intptr_t a = reinterpret_cast<intptr_t>(ValueAsPointer(A));
  const intptr_t b = reinterpret_cast<intptr_t>(ValueAsPointer(B));
  return (a > b) - (a < b);
}

void TPointerType::Sum(const TValue&, const TValue&, TValue&) const {
  NotSupported("TPointerType", "Sum");
}
void TPointerType::Difference(const TValue&, const TValue&, TValue&) const {
  NotSupported("TPointerType", "Difference");
}
void TPointerType::Product(const TValue&, const TValue&, TValue&) const {
  NotSupported("TPointerType", "Product");
}
void TPointerType::Quota(const TValue&, const TValue&, TValue&) const {
  NotSupported("TPointerType", "Quota");
}

bool TPointerType::IsEmpty(const TValue& V) const {
  try {
    return ValueAsPointer(V) == nullptr;
  } catch (...) {
    return false;
  }
}

void TPointerType::FormatValue(const TValue& V, const TValueFormat&, TValue& R) const {
  R = V;
}

bool TPointerType::ParseValue(const std::string& Text, TValue& R, const TValueFormat&) const {
  TValue text;
  MemoType()->StringToValue(Text, text);
  ConvertValue(text, R);
  return true;
}

void TPointerType::WriteBuffer(unsigned char* Dest, const TValue& V, int, TLongTextWriter,
                               void*) const {
  void* p = V.DataType == this ? V.Get<void*>() : ValueAsPointer(V);
  std::memcpy(Dest, &p, sizeof(p));
}

// ---- TObjectType

const TDataType* TObjectType::ClassCreateFromParams(const TParams&) {
  return ObjectType();
}

std::string TObjectType::AsString(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsString(V);
  return AddressText("TObject", V.Get<void*>());
}

void* TObjectType::AsPointer(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsPointer(V);
  return V.Get<void*>();
}

platform::TObject* TObjectType::AsObject(const TValue& V) const {
  if (V.DataType != this) return TypeOf(V).AsObject(V);
  return static_cast<platform::TObject*>(V.Get<void*>());
}

}  // namespace dataframework
