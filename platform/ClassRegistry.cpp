#include "platform/ClassRegistry.h"

#include <map>

#include "platform/TextUtils.h"

namespace platform {

TClass::TClass(std::string Name, const TClass* Parent, std::string UnitName,
               std::vector<TPropInfo> Properties)
    : FName(std::move(Name)),
      FParent(Parent),
      FUnitName(std::move(UnitName)),
      FProperties(std::move(Properties)) {}

TClass::~TClass() = default;

std::string TClass::ClassName() const {
  return FName;
}
const TClass* TClass::ClassParent() const {
  return FParent;
}
std::string TClass::UnitName() const {
  return FUnitName;
}
const std::vector<TPropInfo>& TClass::DeclaredProperties() const {
  return FProperties;
}

bool TClass::InheritsFrom(const TClass* Other) const {
  if (Other == nullptr) return false;
  for (const TClass* c = this; c != nullptr; c = c->ClassParent()) {
    if (c == Other) return true;
  }
  return false;
}

bool TClass::InheritsFrom(std::string_view Name) const {
  for (const TClass* c = this; c != nullptr; c = c->ClassParent()) {
    if (SameText(c->ClassName(), Name)) return true;
  }
  return false;
}

std::vector<const TClass*> TClass::Ancestry() const {
  std::vector<const TClass*> result;
  for (const TClass* c = this; c != nullptr; c = c->ClassParent()) result.push_back(c);
  return result;
}

std::vector<const TPropInfo*> TClass::Properties() const {
  std::vector<const TPropInfo*> result;
  std::vector<const TClass*> chain = Ancestry();
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const TPropInfo& p : (*it)->DeclaredProperties()) {
      bool replaced = false;
      for (const TPropInfo*& existing : result) {
        if (SameText(existing->Name, p.Name)) {
          existing = &p;
          replaced = true;
          break;
        }
      }
      if (!replaced) result.push_back(&p);
    }
  }
  return result;
}

const TPropInfo* TClass::FindProperty(std::string_view Name) const {
  for (const TClass* c = this; c != nullptr; c = c->ClassParent()) {
    for (const TPropInfo& p : c->DeclaredProperties()) {
      if (SameText(p.Name, Name)) return &p;
    }
  }
  return nullptr;
}

namespace {

struct TCaseless {
  bool operator()(const std::string& a, const std::string& b) const {
    return CompareText(a, b) < 0;
  }
};

std::map<std::string, const TClass*, TCaseless>& Registry() {
  static std::map<std::string, const TClass*, TCaseless> registry;
  return registry;
}

}  // namespace

void RegisterClass(const TClass& Class) {
  std::string name = Class.ClassName();
  auto [it, inserted] = Registry().emplace(name, &Class);
  if (!inserted && it->second != &Class) {
    throw Exception("A class named " + name + " already exists");
  }
}

void RegisterClasses(std::initializer_list<const TClass*> Classes) {
  for (const TClass* c : Classes) {
    if (c != nullptr) RegisterClass(*c);
  }
}

void UnRegisterClass(const TClass& Class) {
  auto it = Registry().find(Class.ClassName());
  if (it != Registry().end() && it->second == &Class) Registry().erase(it);
}

const TClass* FindClass(std::string_view Name) {
  auto it = Registry().find(std::string(Name));
  return it == Registry().end() ? nullptr : it->second;
}

const TClass& GetClass(std::string_view Name) {
  const TClass* c = FindClass(Name);
  if (c == nullptr) throw EClassNotFound("Class " + std::string(Name) + " not found");
  return *c;
}

}  // namespace platform
