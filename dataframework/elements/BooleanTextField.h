// TBooleanTextField: the text "True" or "False" for a Boolean field (a key
// or a plain field), used as that field's text field so that it shows as
// the text (module CommonCalcFields).
//
// Ownership: as TCalcField; BooleanField is borrowed.
// REQUIRES: BooleanField outlives this field's use by rows.
#pragma once

#include <memory>
#include <string>

#include "dataframework/elements/CalcField.h"

namespace dataframework {

class TBooleanTextField : public TCalcField {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Calculated field defaults, no Boolean field.
  explicit TBooleanTextField(platform::TComponent* Owner);
  // CreateBoolText: CreateCalc(Name, case-insensitive text of 5, read-only,
  // summed before aggregating); BooleanField := BooleanField, whose text
  // fields become [this field] and whose DisplayValues becomes dvTextOnly.
  // REQUIRES: BooleanField != nullptr.
  TBooleanTextField(const std::string& Name, TDataField* BooleanField);
  static std::unique_ptr<TBooleanTextField> CreateBoolText(const std::string& Name,
                                                           TDataField* BooleanField);
  ~TBooleanTextField() override;

  // "True" when Row's value of BooleanField reads as true, else "False".
  void CalcValue(const TAbstractRow* Row, TValue& Value) const override;

  TDataField* BooleanField() const { return FBooleanField; }
  void SetBooleanField(TDataField* Value) { FBooleanField = Value; }

 private:
  TDataField* FBooleanField = nullptr;
};

}  // namespace dataframework
