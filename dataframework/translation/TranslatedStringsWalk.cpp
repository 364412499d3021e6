// TTranslatedStrings: the rows of a form's texts and the walks that read a
// live form into them and write a language back.
#include "dataframework/conditions/Criteria.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/KeyField.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/LangNameField.h"
#include "dataframework/translation/PropertyPath.h"
#include "dataframework/translation/TranslatedProperties.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslatorFields.h"
#include "dataframework/translation/TranslatorRowStorage.h"
#include "platform/Collection.h"
#include "platform/Component.h"
#include "platform/PropInfo.h"
#include "platform/StringList.h"
#include "platform/TextUtils.h"

namespace dataframework {

namespace {

// The form of Translator and its owned components, in that order.
std::vector<platform::TComponent*> FormComponents(TFormTranslator* Translator) {
  platform::TComponent* form = Translator->Form();
  std::vector<platform::TComponent*> components = {form};
  for (int i = 0; i < form->ComponentCount(); ++i) components.push_back(form->Components(i));
  return components;
}

// The string property Name of Object can be read (itself, or from its action).
bool ReadableText(const platform::TObject* Object, const std::string& Name) {
  platform::TComponent* action = nullptr;
  if (IsActionProperty(Object, Name, action))
    return platform::PropType(*action, Name) == platform::tkString;
  const platform::TPropInfo* info = platform::GetPropInfo(*Object, Name);
  return info != nullptr && info->Kind == platform::tkString;
}

// The string property Name of Object can be written.
bool WritableText(const platform::TObject* Object, const std::string& Name) {
  const platform::TPropInfo* info = platform::GetPropInfo(*Object, Name);
  return info != nullptr && info->Kind == platform::tkString && !info->IsReadOnly();
}

std::string Indexed(const std::string& Prefix, const std::string& Head, int Index) {
  return Prefix + Head + "[" + std::to_string(Index) + "]";
}

}  // namespace

// Lets a temporary storage stand in for the translation storage and puts
// the real one back however the scope is left.
class TTranslatedStrings::TStorageSwap {
 public:
  TStorageSwap(TTranslatedStrings& Strings, std::unique_ptr<TTranslatorRowStorage>& Temporary)
      : FStrings(Strings), FTemporary(Temporary) {
    std::swap(FStrings.FTranslationStorage, FTemporary);
  }
  ~TStorageSwap() { std::swap(FStrings.FTranslationStorage, FTemporary); }
  TStorageSwap(const TStorageSwap&) = delete;
  TStorageSwap& operator=(const TStorageSwap&) = delete;

 private:
  TTranslatedStrings& FStrings;
  std::unique_ptr<TTranslatorRowStorage>& FTemporary;
};

// ---- Rows.

TDataRow* TTranslatedStrings::FindTranslationRow(TFormTranslator* Translator,
                                                 const platform::TComponent* Component,
                                                 const std::string& Path) {
  if (Translator == nullptr || Component == nullptr || Component->Name().empty()) return nullptr;
  const std::string guid = FormGuid(Translator);
  auto* pointer = const_cast<platform::TComponent*>(Component);
  const std::string className = Component->ClassType().ClassName();
  if (TDataRow* row = FTranslationStorage->LocateRow({guid, Component->Name(), Path})) {
    row->SetFPointerValue(ComponentPointerField(), pointer);
    row->SetFStringValue(ClassField(), className);
    return row;
  }
  if (!Translator->Designing()) return nullptr;
  // At design time a renamed component is found by its address.
  TCriteria criteria;
  criteria.CriteriaFields(GuidField()).AddValue(StringValue(guid));
  criteria.CriteriaFields(ClassField()).AddValue(StringValue(className));
  criteria.CriteriaFields(PropertyField()).AddValue(StringValue(Path));
  criteria.CriteriaFields(ComponentPointerField()).AddValue(ObjectValue(pointer));
  TAbstractRow* found = FTranslationStorage->FindOne(criteria, true);
  if (found == nullptr || found->IsSubTotal()) return nullptr;
  auto* row = static_cast<TDataRow*>(found);
  row->SetFStringValue(ComponentField(), Component->Name());
  // The key write moved the row; it is the same object.
  return row;
}

void TTranslatedStrings::StoreText(TFormTranslator* Translator,
                                   const platform::TComponent* Component, bool Translate,
                                   int Language, const std::string& Text, const std::string& Path) {
  if (TDataRow* row = FindTranslationRow(Translator, Component, Path)) {
    if (row->GetFBooleanValue(TranslateField())) {
      if (Language >= 0 && Language < LanguageCount())
        row->SetFStringValue(FLanguages[static_cast<size_t>(Language)].get(), Text);
    } else {
      for (const auto& language : FLanguages) row->SetFStringValue(language.get(), Text);
    }
    return;
  }
  if (Translator == nullptr || Component == nullptr || Component->Name().empty()) return;
  std::unique_ptr<TDataRow> row = FTranslationStorage->CreateRow();
  row->SetFStringValue(GuidField(), FormGuid(Translator));
  row->SetFStringValue(ComponentField(), Component->Name());
  row->SetFStringValue(PropertyField(), Path);
  row->SetFPointerValue(ComponentPointerField(), const_cast<platform::TComponent*>(Component));
  row->SetFStringValue(ClassField(), Component->ClassType().ClassName());
  for (const auto& language : FLanguages) row->SetFStringValue(language.get(), Text);
  row->SetFBooleanValue(TranslateField(), Translate);
  // A key the storage refuses (a name or path longer than its key field)
  // cannot be kept; the text is then not stored.
  FTranslationStorage->PutNewRow(row, paRefuse);
}

bool TTranslatedStrings::GetTranslatedText(TFormTranslator* Translator,
                                           const platform::TComponent* Object, int Language,
                                           const std::string& Path, std::string& Text) {
  Text.clear();
  if (Language < 0 || Language >= LanguageCount()) return false;
  TDataRow* row = FindTranslationRow(Translator, Object, Path);
  if (row == nullptr || !row->GetFBooleanValue(TranslateField())) return false;
  Text = row->GetFStringValue(FLanguages[static_cast<size_t>(Language)].get());
  return true;
}

// ---- Gather.

void TTranslatedStrings::Gather(TFormTranslator* Translator, int Language) {
  if (Translator == nullptr) return;
  TTranslatedProperties properties(*this);
  for (platform::TComponent* component : FormComponents(Translator)) {
    const platform::TStrings& rules = properties.PropertiesOf(component);
    for (int i = 0; i < rules.Count(); ++i) {
      const auto* rule = static_cast<const TAbstractRow*>(rules.GetObject(i));
      GatherPath(Translator, component, component, rule->GetFBooleanValue(TranslateField()),
                 Language, rules.Get(i), std::string(), 0);
    }
  }
}

void TTranslatedStrings::GatherPath(TFormTranslator* Translator,
                                    const platform::TComponent* Component,
                                    const platform::TObject* Object, bool Translate, int Language,
                                    const std::string& Path, const std::string& Prefix, int Depth) {
  if (Object == nullptr || Depth > MaxPathDepth) return;
  const TPathParts parts = SplitPath(Path);
  switch (parts.Kind) {
    case pkPlain:
      if (ReadableText(Object, parts.Head))
        StoreText(Translator, Component, Translate, Language, GetPropertyText(Object, parts.Head),
                  Prefix + parts.Head);
      break;
    case pkList: {
      auto* list = dynamic_cast<platform::TStrings*>(
          GetObjectProperty(Object, parts.Head, platform::TStrings::StaticClass()));
      if (list == nullptr) break;
      for (int n = 0; n < list->Count(); ++n)
        StoreText(Translator, Component, Translate, Language, list->Get(n),
                  Indexed(Prefix, parts.Head, n));
      break;
    }
    case pkObject:
      GatherPath(Translator, Component,
                 GetObjectProperty(Object, parts.Head, platform::TPersistent::StaticClass()),
                 Translate, Language, parts.Tail, Prefix + parts.Head + ".", Depth + 1);
      break;
    case pkCollection: {
      auto* collection = dynamic_cast<platform::TCollection*>(
          GetObjectProperty(Object, parts.Head, platform::TCollection::StaticClass()));
      if (collection == nullptr) break;
      for (int n = 0; n < collection->Count(); ++n)
        GatherPath(Translator, Component, collection->Items(n), Translate, Language, parts.Tail,
                   Indexed(Prefix, parts.Head, n) + ".", Depth + 1);
      break;
    }
  }
}

// ---- Apply.

void TTranslatedStrings::ApplyTranslations(TFormTranslator* Translator, int Language) {
  if (Translator == nullptr || Translator->Strings() == nullptr) return;
  if (Language < 0 || Language >= LanguageCount()) return;
  TTranslatedProperties properties(*this);
  for (platform::TComponent* component : FormComponents(Translator)) {
    const platform::TStrings& rules = properties.PropertiesOf(component);
    for (int i = 0; i < rules.Count(); ++i)
      ApplyPath(Translator, component, component, Language, rules.Get(i), std::string(), 0);
  }
}

void TTranslatedStrings::ApplyPath(TFormTranslator* Translator,
                                   const platform::TComponent* Component, platform::TObject* Object,
                                   int Language, const std::string& Path, const std::string& Prefix,
                                   int Depth) {
  if (Object == nullptr || Depth > MaxPathDepth) return;
  const TPathParts parts = SplitPath(Path);
  std::string text;
  switch (parts.Kind) {
    case pkPlain: {
      if (!WritableText(Object, parts.Head)) break;
      platform::TComponent* action = nullptr;
      const bool found =
          IsActionProperty(Object, parts.Head, action)
              ? GetTranslatedText(Translator, action, Language, parts.Head, text)
              : GetTranslatedText(Translator, Component, Language, Prefix + parts.Head, text);
      if (found) SetPropertyText(Object, parts.Head, text);
      break;
    }
    case pkList: {
      auto* list = dynamic_cast<platform::TStrings*>(
          GetObjectProperty(Object, parts.Head, platform::TStrings::StaticClass()));
      if (list == nullptr) break;
      for (int n = 0; n < list->Count(); ++n)
        if (GetTranslatedText(Translator, Component, Language, Indexed(Prefix, parts.Head, n),
                              text))
          list->Put(n, text);
      break;
    }
    case pkObject:
      ApplyPath(Translator, Component,
                GetObjectProperty(Object, parts.Head, platform::TPersistent::StaticClass()),
                Language, parts.Tail, Prefix + parts.Head + ".", Depth + 1);
      break;
    case pkCollection: {
      auto* collection = dynamic_cast<platform::TCollection*>(
          GetObjectProperty(Object, parts.Head, platform::TCollection::StaticClass()));
      if (collection == nullptr) break;
      for (int n = 0; n < collection->Count(); ++n)
        ApplyPath(Translator, Component, collection->Items(n), Language, parts.Tail,
                  Indexed(Prefix, parts.Head, n) + ".", Depth + 1);
      break;
    }
  }
}

void TTranslatedStrings::ApplyRow(TFormTranslator* Translator, const TAbstractRow* Row) {
  if (Translator == nullptr || Row == nullptr || Row->IsSubTotal()) return;
  auto temporary = std::make_unique<TTranslatorRowStorage>(Row->Table(), this);
  std::unique_ptr<TDataRow> copy = temporary->CreateRow();
  copy->CopyContents(Row);
  temporary->PutNewRow(copy, paOverwrite);
  TStorageSwap swap(*this, temporary);
  ApplyTranslations(Translator, Translator->CurrentLanguage());
}

void TTranslatedStrings::PropagateActionTexts(const platform::TComponent* Action) {
  if (FContext == nullptr) return;
  const std::string guid = FormGuid(FContext);
  std::vector<TDataRow*> applied;
  platform::TStringList rows;
  FTranslationStorage->GetRows(&rows, nullptr, gmRows);
  for (int i = 0; i < rows.Count(); ++i) {
    auto* row = static_cast<TAbstractRow*>(rows.GetObject(i));
    if (row == nullptr || row->IsSubTotal()) continue;
    if (!platform::SameText(row->GetFStringValue(GuidField()), guid)) continue;
    const platform::TComponent* component = RowComponent(row);
    if (component == nullptr) continue;
    const std::string property = row->GetFStringValue(PropertyField());
    platform::TComponent* action = nullptr;
    if (!IsTranslatable(component->ClassType(), property) ||
        !IsActionProperty(component, property, action))
      continue;
    // An action without a row of its own has no texts to hand on.
    TDataRow* source = FTranslationStorage->LocateRow({guid, action->Name(), property});
    if (source == nullptr || source == row) continue;
    for (const auto& language : FLanguages)
      row->SetFStringValue(language.get(), source->GetFStringValue(language.get()));
    row->SetFBooleanValue(TranslateField(), source->GetFBooleanValue(TranslateField()));
    if (action == Action && row->GetFBooleanValue(TranslateField()))
      applied.push_back(static_cast<TDataRow*>(row));
  }
  for (TDataRow* row : applied) ApplyRow(FContext, row);
}

}  // namespace dataframework
