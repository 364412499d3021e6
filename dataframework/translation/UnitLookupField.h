// TUnitLookupField: a form's unit or class name. In the forms table it is an
// ordinary stored column; on a translation row it looks the row's form up in
// the forms storage of the row's translated strings and answers that row's
// value of this very field (empty when there is none). Read-only.
//
// Ownership: the two instances are process-wide fields of the
// TranslatorFields module.
#pragma once

#include "dataframework/elements/CalcField.h"

namespace dataframework {

class TUnitLookupField : public TCalcField {
  CLAVIRA_DECLARE_CLASS()

 public:
  // No name, StringType(64, false), read-only, summed before aggregating.
  TUnitLookupField();
  ~TUnitLookupField() override;

  void CalcValue(const TAbstractRow* Row, TValue& Value) const override;
};

}  // namespace dataframework
