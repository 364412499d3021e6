// TLangDisplayField: a language's text as the editor shows and edits it.
// Reading gives the row's text; writing goes through SetTranslationValue
// (marks the row translated and updates the live form). Read-only on rows
// whose component takes the property from its action.
//
// Ownership: owned by its TLangNameField; LanguageField is borrowed.
#pragma once

#include "dataframework/elements/CalcField.h"

namespace dataframework {

class TLangNameField;

class TLangDisplayField : public TCalcField {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Data type of LanguageField, writable, summed before aggregating.
  // REQUIRES: LanguageField given.
  explicit TLangDisplayField(TLangNameField* LanguageField);
  ~TLangDisplayField() override;

  // IsActionRow(Row).
  bool IsReadOnly(const TAbstractRow* Row) const override;
  void CalcValue(const TAbstractRow* Row, TValue& Value) const override;
  // SetTranslationValue(Row, LanguageField, Value); srOk.
  TSetResult DistributeValue(TAbstractRow* Row, const TValue& Value) override;

  TLangNameField* LanguageField() const { return FLanguageField; }

 private:
  TLangNameField* FLanguageField;
};

}  // namespace dataframework
