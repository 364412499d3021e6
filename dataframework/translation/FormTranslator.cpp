#include "dataframework/translation/FormTranslator.h"

#include "dataframework/translation/TranslatedStrings.h"
#include "platform/PropInfo.h"

namespace dataframework {

namespace {
TFormTranslator::TDesignerNotify DesignerNotify = nullptr;
}

const platform::TClass& TFormTranslator::StaticClass() {
  using T = TFormTranslator;
  static const platform::TClass Class(
      "TFormTranslator", &platform::TComponent::StaticClass(), "TranslatorFields",
      {platform::StrProp<T>("FormGuid", &T::FormGuid, &T::SetFormGuid),
       platform::StrProp<T>("SecondIdentifier", &T::SecondIdentifier, &T::SetSecondIdentifier),
       platform::IntProp<T>("CurrentLanguage", &T::CurrentLanguage, &T::SetCurrentLanguage),
       platform::BoolProp<T>("AllowDuplicateLanguageNames", &T::AllowDuplicateLanguageNames,
                             &T::SetAllowDuplicateLanguageNames)});
  return Class;
}

TFormTranslator::TFormTranslator(platform::TComponent* AOwner) : TComponent(AOwner) {}

TFormTranslator::~TFormTranslator() {
  if (FStrings != nullptr) FStrings->Detach(this);
}

platform::TComponent* TFormTranslator::Form() {
  return Owner() != nullptr ? Owner() : this;
}

const platform::TComponent* TFormTranslator::Form() const {
  return Owner() != nullptr ? Owner() : this;
}

void TFormTranslator::SwitchLanguage(int Index) {
  if (FStrings == nullptr || Index < 0 || Index >= FStrings->LanguageCount())
    throw platform::Exception("Invalid index " + std::to_string(Index) + "!");
  FCurrentLanguage = Index;
  FStrings->ApplyTranslations(this, Index);
}

void TFormTranslator::SetStrings(TTranslatedStrings* Value) {
  if (Value == FStrings) return;
  if (FStrings != nullptr) FStrings->Detach(this);
  FStrings = nullptr;
  if (Value != nullptr) {
    Value->Attach(this);
    FStrings = Value;
  }
}

void TFormTranslator::SetDesignerNotify(TDesignerNotify Notify) {
  DesignerNotify = Notify;
}

void TFormTranslator::NotifyDesigner() {
  if (DesignerNotify != nullptr && Designing()) DesignerNotify(this);
}

}  // namespace dataframework
