// TFictiveField: a key field without a value of its own. Rows read it
// through its calculated field (CalcField) wherever they meet it, and warn
// "Assignment to fictive fields are not allowed" when it is written.
//
// Ownership: as TKeyField; CalcField is borrowed.
// REQUIRES: CalcField outlives the fictive field's use by rows.
#pragma once

#include <memory>
#include <string>

#include "dataframework/elements/KeyField.h"

namespace dataframework {

class TFictiveField : public TKeyField {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Key field defaults, then read-only and no calculated field.
  explicit TFictiveField(platform::TComponent* Owner);
  // A simple key named Name of DataType that reads through CalcField.
  // REQUIRES: DataType is given.
  TFictiveField(const std::string& Name, const TDataType* DataType, TCalcField* CalcField);
  static std::unique_ptr<TFictiveField> CreateFictive(const std::string& Name,
                                                      const TDataType* DataType,
                                                      TCalcField* CalcField);
  ~TFictiveField() override;

  // False: the value is never kept in the record.
  bool IsStored() const override;

  TCalcField* CalcField() const { return FCalcField; }
  void SetCalcField(TCalcField* Value) { FCalcField = Value; }

 private:
  TCalcField* FCalcField = nullptr;
};

}  // namespace dataframework
