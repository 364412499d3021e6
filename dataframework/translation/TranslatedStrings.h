// TTranslatedStrings: all translations of the texts of an application's
// forms, kept in the framework's own tables.
//
// For each form (by its GUID), each named component and each translatable
// text property of it (a property path: Caption, Items[2],
// Columns[0].Title.Caption) the translation storage holds one row with one
// text per language and a flag that says whether the property is
// translated. The rules storage says which properties of which classes are
// translated (a rule may hold for subclasses too). Gather reads a live form
// into the rows; ApplyTranslations writes a language back into the form.
//
// Tables: TranslationTable has the keys GuidField, ComponentField,
// PropertyField, the fields ClassField, ComponentPointerField,
// TranslateField and one TLangNameField per language (in language order);
// MirrorTable has the same shape and is kept in step. Rules and forms live
// in storages over the process-wide RulesTable and FormsTable.
//
// Ownership: owns both tables, the four storages, the views, the language
// fields and their list. Borrows the context translator, the translators
// linked to it (each is told when the strings die) and the editor window
// (closed and released on destruction). Components are borrowed for the
// length of a call; rows keep a component's address only as a value.
// REQUIRES: used by one thread at a time, like the rest of the framework.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dataframework/translation/ITranslatedStrings.h"
#include "dataframework/translation/TranslationContent.h"
#include "dataframework/types/DataTypeCore.h"

namespace platform {
class TComponent;
}

namespace dataframework {

class TTranslatedProperties;

class TTranslatedStrings : public ITranslatedStrings {
 public:
  // Empty strings (no languages, rules, forms or rows) serving Context
  // (none possible). The first page of the views lists the translation rows
  // with the mark, class, component, property and translate columns.
  explicit TTranslatedStrings(TFormTranslator* Context = nullptr);
  TTranslatedStrings(const TTranslatedStrings&) = delete;
  TTranslatedStrings& operator=(const TTranslatedStrings&) = delete;
  ~TTranslatedStrings() override;

  // ---- ITranslatedStrings, in its order.
  ITranslationEditorForm* GetEditorForm() const override { return FEditorForm; }
  void SetEditorForm(ITranslationEditorForm* Form) override { FEditorForm = Form; }
  TFormTranslator* GetContext() const override { return FContext; }
  int LanguageCount() const override;
  std::string LanguageName(int Index) const override;
  void RenameLanguage(int Index, const std::string& Name) override;
  TLangNameField* LanguageField(int Index) const override;
  std::vector<const platform::TClass*> ClassesDerivedFrom(
      const std::string& ClassName) const override;
  void CollectPropertyPaths(const platform::TClass& Class, const platform::TObject* Instance,
                            const std::string& Prefix, platform::TStrings& List) const override;
  void RulesForComponent(const platform::TComponent* Component, platform::TStrings& List) override;
  int IndexOfLanguage(const std::string& Name) const override;
  TTranslatorViews& GetViews() override { return *FViews; }
  TRowStorage* GetFormsStorage() const override { return FFormsStorage.get(); }
  TTranslatorRowStorage* GetTranslationStorage() const override {
    return FTranslationStorage.get();
  }
  TTranslatorRowStorage* GetMirrorStorage() const override { return FMirrorStorage.get(); }
  TRowStorage* GetRulesStorage() const override { return FRulesStorage.get(); }
  std::uint8_t GetMode() const override { return FMode; }
  void SetMode(std::uint8_t Value) override;
  std::string GetLabel() const override { return FLabel; }
  void SetLabel(const std::string& Text) override;
  void InsertLanguage(int Index, const std::string& Name, int CopyFrom) override;
  void RemoveLanguage(int Index) override;
  void ListComponents(platform::TStrings& List) override;
  void DeleteForm(const std::string& Guid) override;
  void GatherAll() override;
  // For the form and each of its owned components, for each rule that
  // applies (in order), walks the rule's path and stores each text found
  // under the component the walk started from (StoreText). Paths that name
  // nothing are skipped; nothing deeper than MaxPathDepth is visited.
  void Gather(TFormTranslator* Translator, int Language) override;
  int Synchronize() override;
  void Refresh(bool DeleteStale) override;

  // ---- Context and linked translators.
  void SetContext(TFormTranslator* Context);
  TDataTable* TranslationTable() const { return FTranslationTable.get(); }
  TDataTable* MirrorTable() const { return FMirrorTable.get(); }

  // ---- Rows.
  // The row of (FormGuid(Translator), Component's name, Path), or none (also
  // for a missing or unnamed component). A found row learns the component's
  // address and class name. While the translator is designed, a row of a
  // renamed component is found by its address and takes the new name.
  TDataRow* FindTranslationRow(TFormTranslator* Translator, const platform::TComponent* Component,
                               const std::string& Path);
  // Stores Text for the property: a marked row gets it in Language (not
  // for NotFound), an unmarked row in every language; a missing row is made
  // with Text in every language and the flag Translate.
  void StoreText(TFormTranslator* Translator, const platform::TComponent* Component, bool Translate,
                 int Language, const std::string& Text, const std::string& Path);
  // True with the row's text in Language when the property has a row marked
  // translated (and Language is a language); otherwise false and "".
  bool GetTranslatedText(TFormTranslator* Translator, const platform::TComponent* Object,
                         int Language, const std::string& Path, std::string& Text);

  // ---- Rules.
  // A rule for Class (by name) and StripIndexes(Path), or for an ancestor
  // with IncludeSubclasses.
  bool IsTranslatable(const platform::TClass& Class, const std::string& Path);
  // Adds or replaces the rule (Class, StripIndexes(Path)); answers its row.
  TDataRow* AddRule(const std::string& ClassName, const std::string& Path, bool IncludeSubclasses,
                    bool Translate);

  // ---- Writing texts into forms.
  // Writes Language's texts into the translator's form by the same walk as
  // Gather. Nothing when the translator is linked to no strings or Language
  // is not a language.
  void ApplyTranslations(TFormTranslator* Translator, int Language);
  // Writes only Row's texts, in the translator's current language.
  void ApplyRow(TFormTranslator* Translator, const TAbstractRow* Row);
  // Copies the texts and flag of each action's row to the rows of the
  // components that take that property from the action; rows of Action's
  // users that are marked translated are applied at once. A row whose action
  // has no row of its own keeps its texts.
  void PropagateActionTexts(const platform::TComponent* Action);
  // Puts (overwriting) the forms row of the translator's form: GUID, the
  // module that declares the form's class, the form's class name.
  void RegisterForm(TFormTranslator* Translator);

  // ---- Whole content (the translation file).
  // A copy of the languages, rules, forms and translation rows (rows in
  // storage order).
  TTranslationContent Content() const;
  // Replaces everything by Content in one step: on any error (duplicate
  // keys, unknown language positions) nothing is changed. Linked
  // translators keep their current language by name (else 0, or -1 without
  // languages); the rows are then refreshed.
  void SetContent(const TTranslationContent& Content);

 private:
  friend class TFormTranslator;
  class TStorageSwap;

  void Attach(TFormTranslator* Translator);
  void Detach(TFormTranslator* Translator);

  // Position of language field 0 in the translation table.
  int FirstLanguageIndex() const;
  void CheckDuplicateName(const std::string& Name) const;
  // New tables and storages after a language change (Added inserted at
  // Index, or Removed taken out); CopyFrom as in InsertLanguage.
  void RebuildTables(TLangNameField* Added, int Index, TLangNameField* Removed, int CopyFrom);
  // The component a row names on the context's form, or none.
  platform::TComponent* RowComponent(const TAbstractRow* Row) const;

  // Walks of Gather and ApplyTranslations.
  void GatherPath(TFormTranslator* Translator, const platform::TComponent* Component,
                  const platform::TObject* Object, bool Translate, int Language,
                  const std::string& Path, const std::string& Prefix, int Depth);
  void ApplyPath(TFormTranslator* Translator, const platform::TComponent* Component,
                 platform::TObject* Object, int Language, const std::string& Path,
                 const std::string& Prefix, int Depth);

  ITranslationEditorForm* FEditorForm = nullptr;
  TFormTranslator* FContext = nullptr;
  std::vector<TFormTranslator*> FTranslators;  // linked, borrowed
  std::vector<std::unique_ptr<TLangNameField>> FLanguages;
  std::unique_ptr<TTranslatorViews> FViews;
  std::unique_ptr<TDataTable> FTranslationTable;
  std::unique_ptr<TDataTable> FMirrorTable;
  // Storages are declared after the tables so that they die first.
  std::unique_ptr<TRowStorage> FFormsStorage;
  std::unique_ptr<TRowStorage> FRulesStorage;
  std::unique_ptr<TTranslatorRowStorage> FTranslationStorage;
  std::unique_ptr<TTranslatorRowStorage> FMirrorStorage;
  std::uint8_t FMode = 0;
  std::string FLabel;
};

// The translator's identifier; when it and its second identifier are both
// empty, a new GUID ("{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}") is made and
// kept as its identifier first. REQUIRES: Translator given.
std::string FormGuid(TFormTranslator* Translator);
// "[Select Server]" for a translator linked to no strings (or none);
// otherwise the name of its current language.
std::string CurrentLanguageName(const TFormTranslator* Translator);

}  // namespace dataframework
