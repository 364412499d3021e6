#include "dataframework/elements/ClosedField.h"

#include "dataframework/elements/AbstractRow.h"

namespace dataframework {

const platform::TClass& TClosedField::StaticClass() {
  static const platform::TClass Class("TClosedField", &TCalcField::StaticClass(), "CalcField");
  return Class;
}

TClosedField::TClosedField(platform::TComponent* Owner) : TCalcField(Owner) {}

TClosedField::TClosedField(const std::string& Name, const TDataType* DataType, bool ReadOnly,
                           bool CalcBeforeAggregating)
    : TCalcField(Name, DataType, ReadOnly, CalcBeforeAggregating) {}

TClosedField::~TClosedField() = default;

bool TClosedField::ClosureHasValues(const TAbstractRow* Row) const {
  const int count = ClosureFieldCount();
  for (int i = 0; i < count; ++i) {
    if (!Row->FieldHasValue(ClosureField(i))) return false;
  }
  return true;
}

}  // namespace dataframework
