// TConstantField: a calculated field that answers the same value on every
// row and refuses every write (module CommonCalcFields).
//
// Ownership: as TCalcField; ConstValue is held by value.
#pragma once

#include <memory>
#include <string>

#include "dataframework/elements/CalcField.h"

namespace dataframework {

class TConstantField : public TCalcField {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Calculated field defaults, then ConstValue := the shared empty text
  // value, aggregable.
  explicit TConstantField(platform::TComponent* Owner);
  // CreateConst: CreateCalc(Name, Value's type, read-only, not summed before
  // aggregating), ConstValue := Value, aggregable.
  // REQUIRES: Value has a data type.
  TConstantField(const std::string& Name, const TValue& Value);
  static std::unique_ptr<TConstantField> CreateConst(const std::string& Name, const TValue& Value);
  ~TConstantField() override;

  // Value := ConstValue.
  void CalcValue(const TAbstractRow* Row, TValue& Value) const override;
  // srReadOnly.
  TSetResult DistributeValue(TAbstractRow* Row, const TValue& Value) override;

  const TValue& ConstValue() const { return FConstValue; }
  void SetConstValue(const TValue& Value) { FConstValue = Value; }

 private:
  TValue FConstValue;
};

}  // namespace dataframework
