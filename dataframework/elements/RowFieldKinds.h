// The questions rows ask about a field's kind: fictive fields (which stand
// for a calculated field), calculated fields, closed fields and fields legal
// in subtotals. Calculated fields are not part of the elements yet, so every
// answer here is the one for a plain data or key field; each question is one
// function so that the calculated fields can answer it when they arrive.
//
// Internal to the rows and subtotal rows (not part of the module's interface).
#pragma once

#include "dataframework/elements/ElementsFwd.h"

namespace dataframework::rowkinds {

// The calculated field a fictive field stands for; none for any other field.
inline TDataField* FictiveTarget(const TDataField* /*Field*/) {
  return nullptr;
}
inline bool IsFictive(const TDataField* Field) {
  return FictiveTarget(Field) != nullptr;
}
// The field computes its value (text fields of keys may be such fields).
inline bool IsCalculated(const TDataField* /*Field*/) {
  return false;
}
// A calculated field whose value is defined by closure fields; when it is,
// ClosureHasValues tells whether every closure field has a value in Row.
inline bool IsClosed(const TDataField* /*Field*/) {
  return false;
}
inline bool ClosureHasValues(const TDataField* /*Field*/, const TAbstractRow* /*Row*/) {
  return false;
}
// A calculated field that may be computed on subtotal rows.
inline bool LegalForSubTotals(const TDataField* /*Field*/) {
  return false;
}

}  // namespace dataframework::rowkinds
