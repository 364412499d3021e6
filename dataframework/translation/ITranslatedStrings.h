// ITranslatedStrings: the contract through which editors and form
// translators reach the translations of an application's forms.
//
// Not reference counted: AddRef and Release answer 1 and do nothing; the
// object is owned by whoever made it (see TTranslatedStrings).
//
// Languages are known by position (0 ... LanguageCount - 1); NotFound (-1)
// stands for none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dataframework/elements/ElementsFwd.h"

namespace platform {
class TClass;
class TComponent;
class TObject;
class TStrings;
}  // namespace platform

namespace dataframework {

class TFormTranslator;
class TLangNameField;
class TTranslatorRowStorage;
class TTranslatorViews;
class ITranslationEditorForm;

inline constexpr int NotFound = -1;
// Column of the first language in the editor's first view.
inline constexpr int LanguageColumnOffset = 5;

class ITranslatedStrings {
 public:
  virtual ~ITranslatedStrings() = default;

  int AddRef() { return 1; }
  int Release() { return 1; }

  // ---- Operations, in their fixed order.
  // 1, 2: the editor window while one is open (borrowed).
  virtual ITranslationEditorForm* GetEditorForm() const = 0;
  virtual void SetEditorForm(ITranslationEditorForm* Form) = 0;
  // 3: the form translator served (borrowed; none possible).
  virtual TFormTranslator* GetContext() const = 0;
  // 4
  virtual int LanguageCount() const = 0;
  // 5: the current caption of language Index ("" outside the languages).
  virtual std::string LanguageName(int Index) const = 0;
  // 6: nothing when the name is unchanged; a name already used (unless the
  // context allows duplicates) raises "Languagename '<name>' is already
  // used!"; an index outside the languages "Invalid index <n>!".
  virtual void RenameLanguage(int Index, const std::string& Name) = 0;
  // 7: REQUIRES 0 <= Index < LanguageCount (platform::EListError).
  virtual TLangNameField* LanguageField(int Index) const = 0;
  // 8: the classes of the form and its owned components (each once) that
  // have an ancestor named ClassName, each with its ancestors below that
  // class; none without a context.
  virtual std::vector<const platform::TClass*> ClassesDerivedFrom(
      const std::string& ClassName) const = 0;
  // 9: appends the property paths a rule may name for Class (Instance may
  // be none): string properties, string lists as "Name[]", nested
  // persistent objects as "Name.", collection items as "Name[].".
  virtual void CollectPropertyPaths(const platform::TClass& Class,
                                    const platform::TObject* Instance, const std::string& Prefix,
                                    platform::TStrings& List) const = 0;
  // 10: appends the rules that apply to Component's class: texts are the
  // property paths, objects the rule rows (borrowed from RulesStorage).
  virtual void RulesForComponent(const platform::TComponent* Component,
                                 platform::TStrings& List) = 0;
  // 11: the first position whose LanguageName equals Name (case-sensitive).
  virtual int IndexOfLanguage(const std::string& Name) const = 0;
  // 12 ... 16
  virtual TTranslatorViews& GetViews() = 0;
  virtual TRowStorage* GetFormsStorage() const = 0;
  virtual TTranslatorRowStorage* GetTranslationStorage() const = 0;
  virtual TTranslatorRowStorage* GetMirrorStorage() const = 0;
  virtual TRowStorage* GetRulesStorage() const = 0;
  // 17 ... 20: setting either refreshes the rows (Refresh(false)).
  virtual std::uint8_t GetMode() const = 0;
  virtual void SetMode(std::uint8_t Value) = 0;
  virtual std::string GetLabel() const = 0;
  virtual void SetLabel(const std::string& Text) = 0;
  // 21: a new language Name at Index (0 ... LanguageCount); with CopyFrom
  // (a position before the insertion) its texts start as that language's.
  // Raises the duplicate-name and "Invalid index <n>!" errors with nothing
  // changed. The context's current language keeps pointing at its language.
  virtual void InsertLanguage(int Index, const std::string& Name, int CopyFrom) = 0;
  // 22: NotFound does nothing; the context's current language raises "You
  // are not allowed to remove the currently selected language!"; another
  // position outside the languages "Invalid index <n>!".
  virtual void RemoveLanguage(int Index) = 0;
  // 23: appends the form and then each of its owned components (texts are
  // their names); nothing without a context.
  virtual void ListComponents(platform::TStrings& List) = 0;
  // 24: deletes the rows of the form Guid from the forms and translation
  // storages.
  virtual void DeleteForm(const std::string& Guid) = 0;
  // 25: Gather(context, NotFound), then Refresh(false).
  virtual void GatherAll() = 0;
  // 26: reads the live form's texts into the rows (see TTranslatedStrings).
  virtual void Gather(TFormTranslator* Translator, int Language) = 0;
  // 27: gathers the context's form in its current language, registers the
  // form and refreshes the storage's view; answers the number of rows in
  // that view (0 and nothing done without a context).
  virtual int Synchronize() = 0;
  // 28: shows the rows of the context's form that still apply (Mode 1:
  // only those marked translated); stale rows are deleted when DeleteStale,
  // hidden otherwise.
  virtual void Refresh(bool DeleteStale) = 0;
};

}  // namespace dataframework
