// TLangSortField: the sort key of a language's text: the text in lower case
// with every "&" removed ("&Open File" sorts as "open file"). Read-only.
//
// Ownership: owned by its TLangNameField; LanguageField is borrowed.
#pragma once

#include "dataframework/elements/CalcField.h"

namespace dataframework {

class TLangNameField;

class TLangSortField : public TCalcField {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Data type of LanguageField, read-only, summed before aggregating.
  // REQUIRES: LanguageField given.
  explicit TLangSortField(TLangNameField* LanguageField);
  ~TLangSortField() override;

  void CalcValue(const TAbstractRow* Row, TValue& Value) const override;

  TLangNameField* LanguageField() const { return FLanguageField; }

 private:
  TLangNameField* FLanguageField;
};

}  // namespace dataframework
