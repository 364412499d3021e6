// TTranslatedStrings: construction, languages, rules, forms, refresh and the
// whole content. The walks over live forms are in TranslatedStringsWalk.cpp.
#include "dataframework/translation/TranslatedStrings.h"

#include <algorithm>
#include <random>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/KeyField.h"
#include "dataframework/elements/RowList.h"
#include "dataframework/elements/RowStorage.h"
#include "dataframework/elements/RowStorageTreeKey.h"
#include "dataframework/translation/DoTranslateDisplayField.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/LangDisplayField.h"
#include "dataframework/translation/LangNameField.h"
#include "dataframework/translation/MarkRowCalcField.h"
#include "dataframework/translation/PropertyPath.h"
#include "dataframework/translation/TranslatorFields.h"
#include "dataframework/translation/TranslatorRowStorage.h"
#include "dataframework/translation/TranslatorViews.h"
#include "dataframework/translation/UnitLookupField.h"
#include "platform/Collection.h"
#include "platform/Component.h"
#include "platform/Errors.h"
#include "platform/StringList.h"
#include "platform/TextUtils.h"

namespace dataframework {

namespace {

// Fields of a translation row before the first language: the three keys,
// then class, component pointer and translate flag.
constexpr int FixedFieldCount = 6;

[[noreturn]] void InvalidIndex(int Index) {
  throw platform::Exception("Invalid index " + std::to_string(Index) + "!");
}

std::unique_ptr<TDataTable> MakeTranslationTable(
    const std::vector<std::unique_ptr<TLangNameField>>& Languages) {
  std::vector<TDataField*> fields = {ClassField(), ComponentPointerField(), TranslateField()};
  for (const auto& language : Languages) fields.push_back(language.get());
  return TDataTable::CreateTable(std::string(), nullptr,
                                 {GuidField(), ComponentField(), PropertyField()}, fields, nullptr);
}

// Every data row of Storage in storage order.
std::vector<TDataRow*> DataRowsOf(TAbstractRowStorage& Storage) {
  platform::TStringList list;
  Storage.GetRows(&list, nullptr, gmRows);
  std::vector<TDataRow*> rows;
  rows.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) {
    auto* row = static_cast<TAbstractRow*>(list.GetObject(i));
    if (row != nullptr && !row->IsSubTotal()) rows.push_back(static_cast<TDataRow*>(row));
  }
  return rows;
}

// Puts Row into Storage; a refused row is a broken invariant of the caller.
void PutOrFail(TAbstractRowStorage& Storage, std::unique_ptr<TDataRow>& Row, TPutAction Action,
               const std::string& What) {
  if (Storage.PutNewRow(Row, Action) == prKeyConflict)
    throw platform::Exception(What + " is given twice");
  if (Row) throw platform::Exception(What + " cannot be stored");
}

std::string NewGuidText() {
  static std::mt19937_64 generator{std::random_device{}()};
  std::uint64_t high = generator();
  std::uint64_t low = generator();
  high = (high & ~0xF000ull) | 0x4000ull;                // version 4
  low = (low & ~(0xC000ull << 48)) | (0x8000ull << 48);  // variant 10
  const std::string h = platform::IntToHex(high, 16);
  const std::string l = platform::IntToHex(low, 16);
  return "{" + h.substr(0, 8) + "-" + h.substr(8, 4) + "-" + h.substr(12, 4) + "-" +
         l.substr(0, 4) + "-" + l.substr(4, 12) + "}";
}

}  // namespace

// ---- Construction.

TTranslatedStrings::TTranslatedStrings(TFormTranslator* Context)
    : FViews(std::make_unique<TTranslatorViews>()) {
  FTranslationTable = MakeTranslationTable(FLanguages);
  FMirrorTable = MakeTranslationTable(FLanguages);
  FFormsStorage = std::make_unique<TRowStorage>(FormsTable());
  FRulesStorage = std::make_unique<TRowStorage>(RulesTable());
  FTranslationStorage = std::make_unique<TTranslatorRowStorage>(FTranslationTable.get(), this);
  FMirrorStorage = std::make_unique<TTranslatorRowStorage>(FMirrorTable.get(), this);
  auto& pages = FViews->Pages();
  pages.push_back({"Translations",
                   {{"Texts",
                     vsTranslation,
                     {MarkRowField(), ClassField(), ComponentField(), PropertyField(),
                      TranslateDisplayField()}}}});
  pages.push_back(
      {"Rules",
       {{"Rules",
         vsRules,
         {ClassField(), PropertyField(), IncludeSubclassesField(), TranslateField()}}}});
  pages.push_back({"Forms", {{"Forms", vsForms, {GuidField(), UnitField(), FormClassField()}}}});
  SetContext(Context);
}

TTranslatedStrings::~TTranslatedStrings() {
  if (FEditorForm != nullptr) {
    ITranslationEditorForm* form = FEditorForm;
    FEditorForm = nullptr;
    form->CloseAndRelease();
  }
  for (TFormTranslator* translator : FTranslators) translator->ForgetStrings();
  // The members go in reverse order: storages, tables, views, languages.
}

void TTranslatedStrings::SetContext(TFormTranslator* Context) {
  FContext = Context;
  if (Context != nullptr) Context->SetStrings(this);
}

void TTranslatedStrings::Attach(TFormTranslator* Translator) {
  if (std::find(FTranslators.begin(), FTranslators.end(), Translator) == FTranslators.end())
    FTranslators.push_back(Translator);
}

void TTranslatedStrings::Detach(TFormTranslator* Translator) {
  std::erase(FTranslators, Translator);
  if (FContext == Translator) FContext = nullptr;
}

// ---- Languages.

int TTranslatedStrings::LanguageCount() const {
  return static_cast<int>(FLanguages.size());
}

std::string TTranslatedStrings::LanguageName(int Index) const {
  if (Index < 0 || Index >= LanguageCount()) return std::string();
  return FLanguages[static_cast<size_t>(Index)]->CaptionText();
}

TLangNameField* TTranslatedStrings::LanguageField(int Index) const {
  if (Index < 0 || Index >= LanguageCount())
    throw platform::EListError(
        platform::FormatMessage(platform::SListIndexError, {std::to_string(Index)}));
  return FLanguages[static_cast<size_t>(Index)].get();
}

int TTranslatedStrings::IndexOfLanguage(const std::string& Name) const {
  for (int i = 0; i < LanguageCount(); ++i)
    if (LanguageName(i) == Name) return i;
  return NotFound;
}

void TTranslatedStrings::CheckDuplicateName(const std::string& Name) const {
  if (FContext != nullptr && FContext->AllowDuplicateLanguageNames()) return;
  if (IndexOfLanguage(Name) != NotFound)
    throw platform::Exception("Languagename '" + Name + "' is already used!");
}

void TTranslatedStrings::RenameLanguage(int Index, const std::string& Name) {
  if (Index < 0 || Index >= LanguageCount()) InvalidIndex(Index);
  if (LanguageName(Index) == Name) return;
  CheckDuplicateName(Name);
  FLanguages[static_cast<size_t>(Index)]->SetLanguageName(Name);
}

int TTranslatedStrings::FirstLanguageIndex() const {
  return FixedFieldCount;
}

void TTranslatedStrings::InsertLanguage(int Index, const std::string& Name, int CopyFrom) {
  CheckDuplicateName(Name);
  if (Index < 0 || Index > LanguageCount()) InvalidIndex(Index);
  if (CopyFrom != NotFound && (CopyFrom < 0 || CopyFrom >= LanguageCount())) InvalidIndex(CopyFrom);
  auto field = std::make_unique<TLangNameField>();
  field->SetLanguageName(Name);
  RebuildTables(field.get(), Index, nullptr, CopyFrom);
  FViews->InsertColumn(LanguageColumnOffset + Index, field->DisplayField());
  FLanguages.insert(FLanguages.begin() + Index, std::move(field));
  // Every translator keeps pointing at the language it had.
  for (TFormTranslator* translator : FTranslators)
    if (translator->CurrentLanguage() >= Index)
      translator->SetCurrentLanguage(translator->CurrentLanguage() + 1);
}

void TTranslatedStrings::RemoveLanguage(int Index) {
  if (Index == NotFound) return;
  for (TFormTranslator* translator : FTranslators)
    if (translator->CurrentLanguage() == Index)
      throw platform::Exception("You are not allowed to remove the currently selected language!");
  if (Index < 0 || Index >= LanguageCount()) InvalidIndex(Index);
  TLangNameField* field = FLanguages[static_cast<size_t>(Index)].get();
  RebuildTables(nullptr, Index, field, NotFound);
  FViews->RemoveColumn(field->DisplayField());
  FLanguages.erase(FLanguages.begin() + Index);
  for (TFormTranslator* translator : FTranslators)
    if (translator->CurrentLanguage() > Index)
      translator->SetCurrentLanguage(translator->CurrentLanguage() - 1);
}

void TTranslatedStrings::RebuildTables(TLangNameField* Added, int Index, TLangNameField* Removed,
                                       int CopyFrom) {
  TLangNameField* source =
      CopyFrom == NotFound ? nullptr : FLanguages[static_cast<size_t>(CopyFrom)].get();
  auto reshape = [&](const TDataTable& Old) {
    std::unique_ptr<TDataTable> table = Old.CreateCopy(nullptr, nullptr);
    if (Added != nullptr) {
      table->AddField(Added);
      table->MoveField(Added, FirstLanguageIndex() + Index);
    }
    if (Removed != nullptr) table->RemoveDataField(Removed);
    return table;
  };
  auto refill = [&](TTranslatorRowStorage& Old, TDataTable* Table) {
    auto storage = std::make_unique<TTranslatorRowStorage>(Table, this);
    const TDataTable* oldTable = Old.Table();
    for (TDataRow* old : DataRowsOf(Old)) {
      std::unique_ptr<TDataRow> row = storage->CreateRow();
      TValue value;
      for (int i = 0; i < Table->FieldCount(); ++i) {
        const int from = oldTable->IndexOfField(Table->GetField(i));
        if (from < 0) continue;
        old->ReadIndexRaw(from, value);
        row->WriteIndexRaw(i, value);
      }
      if (source != nullptr) {
        old->GetFieldValue(source, value);
        row->WriteIndexRaw(Table->IndexOfField(Added), value);
      }
      TDataRow* kept = row.get();
      PutOrFail(*storage, row, paRefuse, "A translation row");
      kept->SetVisible(old->Visible());
    }
    return storage;
  };
  std::unique_ptr<TDataTable> table = reshape(*FTranslationTable);
  std::unique_ptr<TDataTable> mirror = reshape(*FMirrorTable);
  std::unique_ptr<TTranslatorRowStorage> storage = refill(*FTranslationStorage, table.get());
  std::unique_ptr<TTranslatorRowStorage> mirrorStorage = refill(*FMirrorStorage, mirror.get());
  // Commit: each old storage goes before its old table.
  FTranslationStorage = std::move(storage);
  FMirrorStorage = std::move(mirrorStorage);
  FTranslationTable = std::move(table);
  FMirrorTable = std::move(mirror);
}

// ---- Rules.

std::vector<const platform::TClass*> TTranslatedStrings::ClassesDerivedFrom(
    const std::string& ClassName) const {
  std::vector<const platform::TClass*> result;
  if (FContext == nullptr) return result;
  auto add = [&result](const platform::TClass* Class) {
    if (std::find(result.begin(), result.end(), Class) == result.end()) result.push_back(Class);
  };
  const platform::TComponent* form = FContext->Form();
  std::vector<const platform::TComponent*> components = {form};
  for (int i = 0; i < form->ComponentCount(); ++i) components.push_back(form->Components(i));
  for (const platform::TComponent* component : components) {
    const platform::TClass& cls = component->ClassType();
    if (platform::SameText(cls.ClassName(), ClassName) || !cls.InheritsFrom(ClassName)) continue;
    for (const platform::TClass* ancestor : cls.Ancestry()) {
      if (platform::SameText(ancestor->ClassName(), ClassName)) break;
      add(ancestor);
    }
  }
  return result;
}

namespace {

void CollectPaths(const platform::TClass& Class, const platform::TObject* Instance,
                  const std::string& Prefix, platform::TStrings& List, int Depth) {
  // Classes that hold objects of their own kind would never end.
  if (Depth > MaxPathDepth) return;
  for (const platform::TPropInfo* prop : Class.Properties()) {
    if (platform::SameText(prop->Name, "Name")) continue;
    if (prop->Kind == platform::tkString) {
      List.Add(Prefix + prop->Name);
      continue;
    }
    if (prop->Kind != platform::tkClass) continue;
    const platform::TClass& held = prop->PropertyClass();
    if (held.InheritsFrom(&platform::TStrings::StaticClass())) {
      List.Add(Prefix + prop->Name + "[]");
    } else if (held.InheritsFrom(&platform::TPersistent::StaticClass()) &&
               !held.InheritsFrom(&platform::TComponent::StaticClass())) {
      const platform::TObject* object =
          Instance != nullptr && prop->GetObj ? prop->GetObj(*Instance) : nullptr;
      CollectPaths(held, object, Prefix + prop->Name + ".", List, Depth + 1);
      const auto* collection = dynamic_cast<const platform::TCollection*>(object);
      if (held.InheritsFrom(&platform::TCollection::StaticClass()) && collection != nullptr)
        CollectPaths(collection->ItemClass(), nullptr, Prefix + prop->Name + "[].", List,
                     Depth + 1);
    }
  }
}

}  // namespace

void TTranslatedStrings::CollectPropertyPaths(const platform::TClass& Class,
                                              const platform::TObject* Instance,
                                              const std::string& Prefix,
                                              platform::TStrings& List) const {
  CollectPaths(Class, Instance, Prefix, List, 0);
}

void TTranslatedStrings::RulesForComponent(const platform::TComponent* Component,
                                           platform::TStrings& List) {
  if (Component == nullptr || Component->Name().empty()) return;
  bool own = true;
  for (const platform::TClass* cls : Component->ClassType().Ancestry()) {
    TCriteria criteria;
    criteria.CriteriaFields(ClassField()).AddValue(StringValue(cls->ClassName()));
    TDataRowList rows;
    FRulesStorage->GetRows(&rows, &criteria, gmRows);
    for (int i = 0; i < rows.Count(); ++i) {
      TAbstractRow* row = rows.GetDataRow(i);
      const std::string path = row->GetFStringValue(PropertyField());
      if (!own && (!row->GetFBooleanValue(IncludeSubclassesField()) || List.IndexOf(path) >= 0))
        continue;
      List.AddObject(path, row);
    }
    own = false;
  }
}

bool TTranslatedStrings::IsTranslatable(const platform::TClass& Class, const std::string& Path) {
  const std::string stripped = StripIndexes(Path);
  for (const platform::TClass* cls : Class.Ancestry()) {
    TDataRow* rule = FRulesStorage->LocateRow({cls->ClassName(), stripped});
    if (rule == nullptr) continue;
    if (cls == &Class || rule->GetFBooleanValue(IncludeSubclassesField())) return true;
  }
  return false;
}

TDataRow* TTranslatedStrings::AddRule(const std::string& ClassName, const std::string& Path,
                                      bool IncludeSubclasses, bool Translate) {
  const std::string stripped = StripIndexes(Path);
  TDataRow* rule = FRulesStorage->LocateRow({ClassName, stripped});
  if (rule == nullptr) {
    std::unique_ptr<TDataRow> row = FRulesStorage->CreateRow();
    row->SetFStringValue(ClassField(), ClassName);
    row->SetFStringValue(PropertyField(), stripped);
    PutOrFail(*FRulesStorage, row, paRefuse, "The rule " + ClassName + " " + stripped);
    rule = FRulesStorage->LocateRow({ClassName, stripped});
  }
  rule->SetFBooleanValue(IncludeSubclassesField(), IncludeSubclasses);
  rule->SetFBooleanValue(TranslateField(), Translate);
  return rule;
}

// ---- Mode, label, forms.

void TTranslatedStrings::SetMode(std::uint8_t Value) {
  FMode = Value;
  Refresh(false);
}

void TTranslatedStrings::SetLabel(const std::string& Text) {
  FLabel = Text;
  Refresh(false);
}

void TTranslatedStrings::ListComponents(platform::TStrings& List) {
  if (FContext == nullptr) return;
  platform::TComponent* form = FContext->Form();
  List.AddObject(form->Name(), form);
  for (int i = 0; i < form->ComponentCount(); ++i)
    List.AddObject(form->Components(i)->Name(), form->Components(i));
}

void TTranslatedStrings::DeleteForm(const std::string& Guid) {
  TCriteriaField criteria(GuidField());
  criteria.AddValue(StringValue(Guid));
  FFormsStorage->DeleteRowsWhere(criteria);
  FTranslationStorage->DeleteRowsWhere(criteria);
}

void TTranslatedStrings::RegisterForm(TFormTranslator* Translator) {
  if (Translator == nullptr) return;
  const platform::TComponent* form = Translator->Form();
  std::unique_ptr<TDataRow> row = FFormsStorage->CreateRow();
  row->SetFStringValue(GuidField(), FormGuid(Translator));
  row->SetFStringValue(UnitField(), form->UnitName());
  row->SetFStringValue(FormClassField(), form->ClassType().ClassName());
  PutOrFail(*FFormsStorage, row, paOverwrite, "The form " + FormGuid(Translator));
}

// ---- Gathering and refreshing.

void TTranslatedStrings::GatherAll() {
  Gather(FContext, NotFound);
  Refresh(false);
}

int TTranslatedStrings::Synchronize() {
  if (FContext == nullptr) return 0;
  Gather(FContext, FContext->CurrentLanguage());
  RegisterForm(FContext);
  FTranslationStorage->Refresh();
  return FTranslationStorage->RowCount();
}

platform::TComponent* TTranslatedStrings::RowComponent(const TAbstractRow* Row) const {
  if (FContext == nullptr || Row == nullptr) return nullptr;
  const std::string name = Row->GetFStringValue(ComponentField());
  if (name.empty()) return nullptr;
  platform::TComponent* form = FContext->Form();
  return platform::SameText(form->Name(), name) ? form : form->FindComponent(name);
}

void TTranslatedStrings::Refresh(bool DeleteStale) {
  if (!FTranslationStorage) return;
  FTranslationStorage->SetLevelsVisible(false);
  FTranslationStorage->DataLevelKey().SetVisible(true);
  // Only the rows of the context's form are judged; rows of other forms are
  // kept (hidden), and nothing is stale without a form to judge against.
  const std::string guid = FContext != nullptr ? FormGuid(FContext) : std::string();
  for (TDataRow* row : DataRowsOf(*FTranslationStorage)) {
    const bool translated = row->GetFBooleanValue(TranslateField());
    if (FContext != nullptr) {
      if (!platform::SameText(row->GetFStringValue(GuidField()), guid)) {
        row->SetVisible(false);
        continue;
      }
      const platform::TComponent* component = RowComponent(row);
      if (component == nullptr ||
          !IsTranslatable(component->ClassType(), row->GetFStringValue(PropertyField()))) {
        if (DeleteStale) {
          row->Delete(true);
        } else {
          row->SetVisible(false);
        }
        continue;
      }
    }
    if (FMode == 1 && !translated) row->SetVisible(false);
  }
  FTranslationStorage->Refresh();
}

// ---- Whole content.

TTranslationContent TTranslatedStrings::Content() const {
  TTranslationContent content;
  for (int i = 0; i < LanguageCount(); ++i) content.Languages.push_back(LanguageName(i));
  for (TDataRow* rule : DataRowsOf(*FRulesStorage))
    content.Rules.push_back({rule->GetFStringValue(ClassField()),
                             rule->GetFStringValue(PropertyField()),
                             rule->GetFBooleanValue(IncludeSubclassesField()),
                             rule->GetFBooleanValue(TranslateField())});
  for (TDataRow* form : DataRowsOf(*FFormsStorage))
    content.Forms.push_back({form->GetFStringValue(GuidField()), form->GetFStringValue(UnitField()),
                             form->GetFStringValue(FormClassField())});
  for (TDataRow* row : DataRowsOf(*FTranslationStorage)) {
    TTranslationEntry entry;
    entry.Guid = row->GetFStringValue(GuidField());
    entry.Component = row->GetFStringValue(ComponentField());
    entry.Path = row->GetFStringValue(PropertyField());
    entry.ClassName = row->GetFStringValue(ClassField());
    entry.Translate = row->GetFBooleanValue(TranslateField());
    for (const auto& language : FLanguages)
      entry.Texts.push_back(row->GetFStringValue(language.get()));
    content.Entries.push_back(std::move(entry));
  }
  return content;
}

void TTranslatedStrings::SetContent(const TTranslationContent& Content) {
  // Everything new is built first; the old state is touched only when
  // nothing can fail any more.
  std::vector<std::unique_ptr<TLangNameField>> languages;
  for (const std::string& name : Content.Languages) {
    const bool taken = std::any_of(languages.begin(), languages.end(),
                                   [&name](const auto& l) { return l->CaptionText() == name; });
    if (taken && !(FContext != nullptr && FContext->AllowDuplicateLanguageNames()))
      throw platform::Exception("Languagename '" + name + "' is already used!");
    auto field = std::make_unique<TLangNameField>();
    field->SetLanguageName(name);
    languages.push_back(std::move(field));
  }
  std::unique_ptr<TDataTable> table = MakeTranslationTable(languages);
  std::unique_ptr<TDataTable> mirror = MakeTranslationTable(languages);
  auto rules = std::make_unique<TRowStorage>(RulesTable());
  for (const TTranslationRule& rule : Content.Rules) {
    std::unique_ptr<TDataRow> row = rules->CreateRow();
    row->SetFStringValue(ClassField(), rule.ClassName);
    row->SetFStringValue(PropertyField(), StripIndexes(rule.Path));
    row->SetFBooleanValue(IncludeSubclassesField(), rule.IncludeSubclasses);
    row->SetFBooleanValue(TranslateField(), rule.Translate);
    PutOrFail(*rules, row, paRefuse, "The rule " + rule.ClassName + " " + rule.Path);
  }
  auto forms = std::make_unique<TRowStorage>(FormsTable());
  for (const TTranslationForm& form : Content.Forms) {
    std::unique_ptr<TDataRow> row = forms->CreateRow();
    row->SetFStringValue(GuidField(), form.Guid);
    row->SetFStringValue(UnitField(), form.UnitName);
    row->SetFStringValue(FormClassField(), form.ClassName);
    PutOrFail(*forms, row, paRefuse, "The form " + form.Guid);
  }
  auto storage = std::make_unique<TTranslatorRowStorage>(table.get(), this);
  for (const TTranslationEntry& entry : Content.Entries) {
    const std::string what = "The text " + entry.Guid + " " + entry.Component + " " + entry.Path;
    if (entry.Texts.size() != languages.size())
      throw platform::Exception(what + " has " + std::to_string(entry.Texts.size()) +
                                " texts for " + std::to_string(languages.size()) + " languages");
    std::unique_ptr<TDataRow> row = storage->CreateRow();
    row->SetFStringValue(GuidField(), entry.Guid);
    row->SetFStringValue(ComponentField(), entry.Component);
    row->SetFStringValue(PropertyField(), entry.Path);
    row->SetFStringValue(ClassField(), entry.ClassName);
    row->SetFBooleanValue(TranslateField(), entry.Translate);
    for (size_t i = 0; i < languages.size(); ++i)
      row->SetFStringValue(languages[i].get(), entry.Texts[i]);
    PutOrFail(*storage, row, paRefuse, what);
  }
  auto mirrorStorage = std::make_unique<TTranslatorRowStorage>(mirror.get(), this);

  // Commit. Translators keep their language by name.
  std::vector<std::string> current;
  for (TFormTranslator* translator : FTranslators)
    current.push_back(LanguageName(translator->CurrentLanguage()));
  for (const auto& language : FLanguages) FViews->RemoveColumn(language->DisplayField());
  FTranslationStorage = std::move(storage);
  FMirrorStorage = std::move(mirrorStorage);
  FRulesStorage = std::move(rules);
  FFormsStorage = std::move(forms);
  FTranslationTable = std::move(table);
  FMirrorTable = std::move(mirror);
  FLanguages = std::move(languages);
  for (int i = 0; i < LanguageCount(); ++i)
    FViews->InsertColumn(LanguageColumnOffset + i,
                         FLanguages[static_cast<size_t>(i)]->DisplayField());
  for (size_t t = 0; t < FTranslators.size(); ++t) {
    const int index = current[t].empty() ? NotFound : IndexOfLanguage(current[t]);
    FTranslators[t]->SetCurrentLanguage(index != NotFound     ? index
                                        : LanguageCount() > 0 ? 0
                                                              : NotFound);
  }
  Refresh(false);
}

// ---- Free functions.

std::string FormGuid(TFormTranslator* Translator) {
  if (Translator->FormGuid().empty() && Translator->SecondIdentifier().empty())
    Translator->SetFormGuid(NewGuidText());
  return Translator->FormGuid();
}

std::string CurrentLanguageName(const TFormTranslator* Translator) {
  if (Translator == nullptr || Translator->Strings() == nullptr) return "[Select Server]";
  return Translator->Strings()->LanguageName(Translator->CurrentLanguage());
}

}  // namespace dataframework
