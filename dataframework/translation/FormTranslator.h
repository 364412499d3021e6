// TFormTranslator: the component on a form that links the form to the
// translations of its texts.
//
// It answers what the translated strings need of a form: the form itself
// (its owner; a translator without owner stands for itself), whether it is
// being designed, the current language (a position in the languages of the
// linked TTranslatedStrings, or -1), the form's identifier (a GUID text that
// keeps the form's rows apart from other forms' rows), a second identifier
// text (when set, no GUID is made for an empty identifier) and whether
// duplicate language names are allowed.
//
// Ownership: the translator borrows the TTranslatedStrings it is linked to;
// linking registers the translator there, so either side may die first and
// the other forgets it. A translator made with an owner is freed by it.
#pragma once

#include <string>

#include "platform/Component.h"

namespace dataframework {

class TTranslatedStrings;

class TFormTranslator : public platform::TComponent {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TFormTranslator(platform::TComponent* AOwner);
  ~TFormTranslator() override;

  // The form whose texts are translated: the owner, or the translator itself
  // when it has none.
  platform::TComponent* Form();
  const platform::TComponent* Form() const;
  // The form is being designed (the translator's design state).
  bool Designing() const { return IsDesigning(); }

  // Position in the linked strings' languages, -1 for none. Stored as
  // given; the strings move it when languages are inserted or removed.
  int CurrentLanguage() const { return FCurrentLanguage; }
  void SetCurrentLanguage(int Value) { FCurrentLanguage = Value; }
  // Makes Index the current language and writes its texts into the form.
  // REQUIRES: linked strings and 0 <= Index < their LanguageCount
  // (platform::Exception "Invalid index <n>!" otherwise, nothing changed).
  void SwitchLanguage(int Index);

  // The linked translations (none: the translator works on nothing).
  TTranslatedStrings* Strings() const { return FStrings; }
  // Links to Value (none: unlinks); the old strings forget this translator.
  void SetStrings(TTranslatedStrings* Value);

  const std::string& FormGuid() const { return FFormGuid; }
  void SetFormGuid(const std::string& Value) { FFormGuid = Value; }
  const std::string& SecondIdentifier() const { return FSecondIdentifier; }
  void SetSecondIdentifier(const std::string& Value) { FSecondIdentifier = Value; }
  bool AllowDuplicateLanguageNames() const { return FAllowDuplicateLanguageNames; }
  void SetAllowDuplicateLanguageNames(bool Value) { FAllowDuplicateLanguageNames = Value; }

  // The design environment's "modified" notification; nothing happens
  // without a designer (none is set by default).
  using TDesignerNotify = void (*)(TFormTranslator* Translator);
  static void SetDesignerNotify(TDesignerNotify Notify);
  void NotifyDesigner();

 private:
  friend class TTranslatedStrings;
  // Called by strings that are going away.
  void ForgetStrings() { FStrings = nullptr; }

  int FCurrentLanguage = -1;
  TTranslatedStrings* FStrings = nullptr;
  std::string FFormGuid;
  std::string FSecondIdentifier;
  bool FAllowDuplicateLanguageNames = false;
};

}  // namespace dataframework
