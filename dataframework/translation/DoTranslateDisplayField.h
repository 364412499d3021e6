// TDoTranslateDisplayField: the translate flag of a row as the editor shows
// and edits it. Writing goes through SetTranslationValue (a row marked
// translated is applied to the live form at once). Read-only on rows whose
// component takes the property from its action.
//
// Ownership: a process-wide field of the TranslatorFields module.
#pragma once

#include <memory>

#include "dataframework/elements/CalcField.h"

namespace dataframework {

class TDoTranslateDisplayField : public TCalcField {
  CLAVIRA_DECLARE_CLASS()

 public:
  // No name, Boolean, writable, summed before aggregating.
  TDoTranslateDisplayField();
  ~TDoTranslateDisplayField() override;

  // IsActionRow(Row).
  bool IsReadOnly(const TAbstractRow* Row) const override;
  // The row's TranslateField.
  void CalcValue(const TAbstractRow* Row, TValue& Value) const override;
  // SetTranslationValue(Row, TranslateField, Value); srOk.
  TSetResult DistributeValue(TAbstractRow* Row, const TValue& Value) override;
};

}  // namespace dataframework
