#include "dataframework/elements/FictiveField.h"

#include "dataframework/elements/CalcField.h"
#include "platform/PropInfo.h"

namespace dataframework {

const platform::TClass& TFictiveField::StaticClass() {
  using F = TFictiveField;
  static const platform::TClass Class(
      "TFictiveField", &TKeyField::StaticClass(), "CalcField",
      {platform::ClassProp<F, TCalcField>("CalcField", &F::CalcField, &F::SetCalcField)});
  return Class;
}

TFictiveField::TFictiveField(platform::TComponent* Owner) : TKeyField(Owner) {
  SetDefaultReadOnly(true);
  FCalcField = nullptr;
}

TFictiveField::TFictiveField(const std::string& Name, const TDataType* DataType,
                             TCalcField* CalcField)
    : TKeyField(Name, DataType, {nullptr}, dvKeyOnly, false, -1, nullptr), FCalcField(CalcField) {
  SetDefaultReadOnly(true);
}

std::unique_ptr<TFictiveField> TFictiveField::CreateFictive(const std::string& Name,
                                                            const TDataType* DataType,
                                                            TCalcField* CalcField) {
  return std::make_unique<TFictiveField>(Name, DataType, CalcField);
}

TFictiveField::~TFictiveField() = default;

bool TFictiveField::IsStored() const {
  return false;
}

}  // namespace dataframework
