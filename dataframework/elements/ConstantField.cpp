#include "dataframework/elements/ConstantField.h"

#include "platform/Assert.h"

namespace dataframework {

const platform::TClass& TConstantField::StaticClass() {
  static const platform::TClass Class("TConstantField", &TCalcField::StaticClass(),
                                      "CommonCalcFields");
  return Class;
}

TConstantField::TConstantField(platform::TComponent* Owner)
    : TCalcField(Owner), FConstValue(EmptyStringValue()) {
  SetIsAggregable(true);
}

TConstantField::TConstantField(const std::string& Name, const TValue& Value)
    : TCalcField(Name, Value.DataType, true, false), FConstValue(Value) {
  SetIsAggregable(true);
}

std::unique_ptr<TConstantField> TConstantField::CreateConst(const std::string& Name,
                                                            const TValue& Value) {
  return std::make_unique<TConstantField>(Name, Value);
}

TConstantField::~TConstantField() = default;

void TConstantField::CalcValue(const TAbstractRow*, TValue& Value) const {
  Value = FConstValue;
}

TSetResult TConstantField::DistributeValue(TAbstractRow*, const TValue&) {
  return srReadOnly;
}

}  // namespace dataframework
