// TClosedField: a calculated field whose value depends only on a fixed set
// of other fields, its closure fields. A subtotal row has a value for it
// exactly when it has a value for each closure field.
//
// Ownership: as TCalcField; the closure fields are borrowed.
// REQUIRES: a subclass answers the three operations below.
#pragma once

#include <memory>
#include <string>

#include "dataframework/elements/CalcField.h"

namespace dataframework {

class TClosedField : public TCalcField {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TClosedField(platform::TComponent* Owner);
  TClosedField(const std::string& Name, const TDataType* DataType, bool ReadOnly,
               bool CalcBeforeAggregating);
  ~TClosedField() override;

  // Number of closure fields.
  virtual int ClosureFieldCount() const = 0;
  // Closure field Index (0 <= Index < ClosureFieldCount).
  virtual TDataField* ClosureField(int Index) const = 0;
  // Whether Field is one of the closure fields.
  virtual bool DependsOn(const TDataField* Field) const = 0;

  // Every closure field has a value in Row (FieldHasValue).
  bool ClosureHasValues(const TAbstractRow* Row) const;
};

}  // namespace dataframework
