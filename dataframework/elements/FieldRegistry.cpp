#include "dataframework/elements/FieldRegistry.h"

#include "dataframework/elements/DataElements.h"
#include "dataframework/types/TextTypes.h"

namespace dataframework {

namespace {
// Registry keys: case-sensitive text of length 255.
const TDataType* KeyType() {
  return StringType(255, true);
}

TValue KeyOf(const std::string& Name) {
  TValue key;
  static_cast<const TStringType*>(KeyType())->StringToValue(Name, key);
  return key;
}
}  // namespace

TFieldRegistry::TFieldRegistry() : FList(KeyType()) {
  FList.SetSorted(true);
  FList.SetDuplicates(platform::dupError);
}

bool TFieldRegistry::Add(const std::string& Name, platform::TObject* Object) {
  int index = 0;
  if (Name.empty() || Object == nullptr || FList.Find(KeyOf(Name), index)) return false;
  FList.AddItem(Name, KeyOf(Name), Object);
  return true;
}

bool TFieldRegistry::Remove(const std::string& Name, const platform::TObject* Object) {
  int index = 0;
  if (!Name.empty() && FList.Find(KeyOf(Name), index) && FList.GetObject(index) == Object) {
    FList.Delete(index);
    return true;
  }
  return RemoveObject(Object);
}

bool TFieldRegistry::RemoveObject(const platform::TObject* Object) {
  if (Object == nullptr) return false;
  int index = FList.IndexOfObject(Object);
  if (index < 0) return false;
  FList.Delete(index);
  return true;
}

platform::TObject* TFieldRegistry::Find(const std::string& Name) const {
  int index = 0;
  if (Name.empty() || !FList.Find(KeyOf(Name), index)) return nullptr;
  // Keys longer than the key type are cut; only the exact name counts.
  return FList.Get(index) == Name ? FList.GetObject(index) : nullptr;
}

TDataField* FindFieldByName(const std::string& Name) {
  return dynamic_cast<TDataField*>(FieldRegistry().Find(Name));
}

}  // namespace dataframework
