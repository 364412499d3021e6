#include "platform/PropInfo.h"

#include "platform/ClassRegistry.h"
#include "platform/TextUtils.h"

namespace platform {

const TClass& TPropInfo::PropertyClass() const {
  const TClass* c = PropClass != nullptr ? PropClass() : nullptr;
  return c != nullptr ? *c : TObject::StaticClass();
}

namespace {

const TPropInfo& Require(const TObject& Instance, std::string_view Name) {
  const TPropInfo* p = Instance.ClassType().FindProperty(Name);
  if (p == nullptr) throw EPropertyError("Property " + std::string(Name) + " does not exist");
  return *p;
}

[[noreturn]] void WrongKind(const TPropInfo& Info) {
  throw EPropertyError("Invalid property type: " + Info.Name);
}

const TPropInfo& Writable(const TPropInfo& Info) {
  if (Info.IsReadOnly()) throw EPropertyError("Property " + Info.Name + " is read-only");
  return Info;
}

bool IsOrdinal(TTypeKind Kind) {
  return Kind == tkInteger || Kind == tkBoolean || Kind == tkEnumeration;
}

}  // namespace

std::vector<const TPropInfo*> GetPropList(const TObject& Instance) {
  return Instance.ClassType().Properties();
}

const TPropInfo* GetPropInfo(const TObject& Instance, std::string_view Name) {
  return Instance.ClassType().FindProperty(Name);
}

bool IsPublishedProp(const TObject& Instance, std::string_view Name) {
  return GetPropInfo(Instance, Name) != nullptr;
}

TTypeKind PropType(const TObject& Instance, std::string_view Name) {
  return Require(Instance, Name).Kind;
}

std::string GetStrProp(const TObject& Instance, std::string_view Name) {
  const TPropInfo& p = Require(Instance, Name);
  if (p.Kind != tkString || !p.GetStr) WrongKind(p);
  return p.GetStr(Instance);
}

void SetStrProp(TObject& Instance, std::string_view Name, const std::string& Value) {
  const TPropInfo& p = Require(Instance, Name);
  if (p.Kind != tkString) WrongKind(p);
  Writable(p).SetStr(Instance, Value);
}

std::int64_t GetOrdProp(const TObject& Instance, std::string_view Name) {
  const TPropInfo& p = Require(Instance, Name);
  if (!IsOrdinal(p.Kind) || !p.GetOrd) WrongKind(p);
  return p.GetOrd(Instance);
}

void SetOrdProp(TObject& Instance, std::string_view Name, std::int64_t Value) {
  const TPropInfo& p = Require(Instance, Name);
  if (!IsOrdinal(p.Kind)) WrongKind(p);
  Writable(p).SetOrd(Instance, Value);
}

std::string GetEnumProp(const TObject& Instance, std::string_view Name) {
  const TPropInfo& p = Require(Instance, Name);
  if ((p.Kind != tkEnumeration && p.Kind != tkBoolean) || !p.GetOrd) WrongKind(p);
  std::int64_t v = p.GetOrd(Instance);
  if (v < 0 || v >= static_cast<std::int64_t>(p.EnumNames.size())) {
    return std::to_string(v);  // a value outside the names: its number
  }
  return p.EnumNames[static_cast<size_t>(v)];
}

void SetEnumProp(TObject& Instance, std::string_view Name, std::string_view Value) {
  const TPropInfo& p = Require(Instance, Name);
  if (p.Kind != tkEnumeration && p.Kind != tkBoolean) WrongKind(p);
  Writable(p);
  for (size_t i = 0; i < p.EnumNames.size(); ++i) {
    if (SameText(p.EnumNames[i], Value)) {
      p.SetOrd(Instance, static_cast<std::int64_t>(i));
      return;
    }
  }
  throw EPropertyError("Invalid property value");
}

TObject* GetObjectProp(const TObject& Instance, std::string_view Name) {
  const TPropInfo& p = Require(Instance, Name);
  if (p.Kind != tkClass || !p.GetObj) WrongKind(p);
  return p.GetObj(Instance);
}

void SetObjectProp(TObject& Instance, std::string_view Name, TObject* Value) {
  const TPropInfo& p = Require(Instance, Name);
  if (p.Kind != tkClass) WrongKind(p);
  Writable(p).SetObj(Instance, Value);
}

std::any GetMethodProp(const TObject& Instance, std::string_view Name) {
  const TPropInfo& p = Require(Instance, Name);
  if (p.Kind != tkMethod || !p.GetMethod) WrongKind(p);
  return p.GetMethod(Instance);
}

void SetMethodProp(TObject& Instance, std::string_view Name, const std::any& Value) {
  const TPropInfo& p = Require(Instance, Name);
  if (p.Kind != tkMethod) WrongKind(p);
  Writable(p).SetMethod(Instance, Value);
}

void ClearMethodProp(TObject& Instance, std::string_view Name) {
  SetMethodProp(Instance, Name, std::any());
}

bool IsAssignedMethodProp(const TObject& Instance, std::string_view Name) {
  return GetMethodProp(Instance, Name).has_value();
}

}  // namespace platform
