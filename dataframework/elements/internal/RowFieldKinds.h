// The questions rows ask about a field's kind: fictive fields (which stand
// for a calculated field), calculated fields, closed fields and fields legal
// in subtotals. The calculated fields answer them; each question is one
// function so that the rows need not know those classes. Stored fields are
// told apart by IsStored first, which keeps the class test off the path of
// every ordinary read.
//
// Internal to the rows and subtotal rows (not part of the module's interface).
#pragma once

#include "dataframework/elements/CalcField.h"
#include "dataframework/elements/ElementsFwd.h"

namespace dataframework::rowkinds {

// The calculated field a fictive field stands for; none for any other field
// (and for a fictive field without one, which then reads its record).
inline TDataField* FictiveTarget(const TDataField* Field) {
  if (Field == nullptr || Field->IsStored()) return nullptr;
  auto* fictive = dynamic_cast<const TFictiveField*>(Field);
  return fictive != nullptr ? fictive->CalcField() : nullptr;
}
// Any fictive field, with or without its calculated field (writes warn).
inline bool IsFictive(const TDataField* Field) {
  return Field != nullptr && !Field->IsStored() &&
         dynamic_cast<const TFictiveField*>(Field) != nullptr;
}
// The field computes its value (text fields of keys may be such fields).
inline bool IsCalculated(const TDataField* Field) {
  return Field != nullptr && !Field->IsStored() &&
         dynamic_cast<const TCalcField*>(Field) != nullptr;
}
// A calculated field whose value is defined by closure fields; when it is,
// ClosureHasValues tells whether every closure field has a value in Row.
inline bool IsClosed(const TDataField* Field) {
  return Field != nullptr && !Field->IsStored() &&
         dynamic_cast<const TClosedField*>(Field) != nullptr;
}
// REQUIRES: IsClosed(Field).
inline bool ClosureHasValues(const TDataField* Field, const TAbstractRow* Row) {
  return static_cast<const TClosedField*>(Field)->ClosureHasValues(Row);
}
// A calculated field that may be computed on subtotal rows.
inline bool LegalForSubTotals(const TDataField* Field) {
  auto* calc = dynamic_cast<const TCalcField*>(Field);
  return calc != nullptr && calc->LegalForSubTotals();
}

}  // namespace dataframework::rowkinds
