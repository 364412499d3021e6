// TProportionalSubTotalHandler: a writable subtotal handler that spreads a
// new total over the rows below in proportion to their current values
// (a row holding a quarter of the old total gets a quarter of the new one),
// level by level like the even handler it extends.
//
// The last child of every group takes what rounding left over, so the
// group's new total is exactly the value written, for integer and currency
// columns too. A group whose old total is zero has no proportions: its
// children share the difference evenly (the base handler's rule).
//
// With Proportional false it spreads evenly, as the base handler does, so
// that a storage can keep one handler for both ways (a new handler would
// reset every view of the storage).
//
// Ownership: as TSubTotalHandler (a storage owns the handler it is given).
#pragma once

#include "dataframework/elements/SubTotalHandler.h"

namespace grid {

class TProportionalSubTotalHandler : public dataframework::TSubTotalHandler {
 public:
  explicit TProportionalSubTotalHandler(bool UndoEnabled) : TSubTotalHandler(UndoEnabled) {}

  bool Proportional = true;

  // REQUIRES: Row is the current row of the running mark.
  void Distribute(dataframework::TAbstractRowStorage* Storage, dataframework::TSubTotalRow* Row,
                  const dataframework::TValue& Value, dataframework::TDataField* Field) override;
};

}  // namespace grid
