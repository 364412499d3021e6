// TLangNameField: the field of one language in the translation tables. Its
// captions are the language's name; it owns the language's sort field (the
// caption text in lower case without accelerator marks) and display field
// (the text as shown and edited in the editor).
//
// Ownership: owns its TLangSortField and TLangDisplayField (freed with it).
// Made and freed by TTranslatedStrings, one per language.
// REQUIRES: removed from every table before it is freed.
#pragma once

#include <memory>
#include <string>

#include "dataframework/elements/DataField.h"

namespace dataframework {

class TLangSortField;
class TLangDisplayField;

class TLangNameField : public TDataField {
  CLAVIRA_DECLARE_CLASS()

 public:
  // A field of StringType(255, false) without a name, then its sort and
  // display fields (SortField of both is the sort field).
  TLangNameField();
  ~TLangNameField() override;

  // Captions of this field and of its display field := [Name].
  void SetLanguageName(const std::string& Name);

  TLangSortField* LangSortField() const { return FSortField.get(); }
  TLangDisplayField* DisplayField() const { return FDisplayField.get(); }

 private:
  std::unique_ptr<TLangSortField> FSortField;
  std::unique_ptr<TLangDisplayField> FDisplayField;
};

}  // namespace dataframework
