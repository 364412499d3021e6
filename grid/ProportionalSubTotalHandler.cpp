#include "grid/ProportionalSubTotalHandler.h"

#include <vector>

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/DataField.h"
#include "platform/Exception.h"

namespace grid {

using namespace dataframework;

void TProportionalSubTotalHandler::Distribute(TAbstractRowStorage* Storage, TSubTotalRow* Row,
                                              const TValue& Value, TDataField* Field) {
  const TDataType* type = Field->DataType();
  TValue old;
  Row->GetFieldValue(Field, old);
  const double oldTotal = Row->ChildCount() > 0 ? ValueAsFloat(old) : 0;
  if (!Proportional || oldTotal == 0) {
    // Even, or no proportions to keep (or no children: the base handler's
    // refusal).
    TSubTotalHandler::Distribute(Storage, Row, Value, Field);
    return;
  }
  const double ratio = ValueAsFloat(Value) / oldTotal;
  // Keys and current values first: writing one child never changes another.
  std::vector<TValue> keys, shares;
  for (int i = 0; i < Row->ChildCount(); ++i) {
    TAbstractRow* child = Row->Child(i);
    if (child == nullptr) continue;
    keys.push_back(Row->ChildKey(i));
    TValue current;
    child->GetFieldValue(Field, current);
    shares.push_back(current);
  }
  TValue given = ConvertToType(type, DoubleValue(0));
  for (size_t i = 0; i + 1 < shares.size(); ++i) {
    shares[i] = ConvertToType(type, DoubleValue(ValueAsFloat(shares[i]) * ratio));
    TValue sum;
    type->Sum(given, shares[i], sum);
    given = sum;
  }
  // The rest goes to the last child, so the total is exact.
  type->Difference(ConvertToType(type, Value), given, shares.back());
  for (size_t i = 0; i < keys.size(); ++i) SetChildValue(keys[i], shares[i]);
}

}  // namespace grid
