#include "dataframework/elements/RunningNumberGenerator.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataTable.h"

namespace dataframework {

bool TDefaultRunningNumberGenerator::NeedsNumber(const TAbstractRow& Row) const {
  TDataField* field = Row.Table()->RunningNumberField();
  if (field == nullptr) return false;
  TValue value;
  Row.GetFieldValue(field, value);
  return ValueAsInteger(value) < 1;
}

void TDefaultRunningNumberGenerator::NextNumber(const TDataTable&,
                                                const std::vector<TValue>& Siblings,
                                                TValue& Value) const {
  int64_t smallest = 0;
  for (const TValue& sibling : Siblings) {
    smallest = std::min<int64_t>(smallest, ValueAsInteger(sibling));
  }
  // Below the smallest integer there is no number left to hand out.
  if (smallest - 1 < INT32_MIN)
    throw platform::Exception("No running number left below " + std::to_string(smallest));
  Value = IntegerValue(static_cast<int32_t>(smallest - 1));
}

}  // namespace dataframework
