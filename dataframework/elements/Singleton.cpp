#include "dataframework/elements/Singleton.h"

namespace dataframework {

const platform::TClass& TSingleton::StaticClass() {
  static const platform::TClass Class("TSingleton", &platform::TComponent::StaticClass(),
                                      "DataElements");
  return Class;
}

TSingleton::TSingleton(platform::TComponent* Owner)
    : platform::TComponent(Owner), FDisplayNames(std::make_unique<platform::TLangArray>()) {
  BindLanguage(*FDisplayNames);
  // 0x7FFF in both halves: not placed on any design surface.
  SetDesignPosition(32767, 32767);
}

TSingleton::~TSingleton() = default;

void TSingleton::SetName(const std::string&) {}

bool TSingleton::HasParent() const {
  return false;
}

platform::TComponent* TSingleton::GetParentComponent() const {
  return nullptr;
}

void TSingleton::SetParentComponent(platform::TComponent*) {}

void TSingleton::DefineProperties(platform::TFiler*) {}

void TSingleton::BindLanguage(platform::TCommonLangArray& Array) {
  Array.SetLanguageCallback([] { return platform::CurrentLanguageIndex(); });
}

}  // namespace dataframework
