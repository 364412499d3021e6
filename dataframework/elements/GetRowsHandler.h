// TGetRowsHandler: one walk of a row storage's tree on behalf of GetRows and
// HasRows.
//
// A storage makes a handler for each GetRows / HasRows call and hands it to
// the condition's GetRows(Handler, Row) / HasRows(Handler, Row). The
// condition decides which children of a subtotal row are taken and passes
// each taken child to Deliver; the handler walks a subtotal child further
// (through the condition again) and hands a data row to Results by Mode:
//   gmRows     the row itself is appended;
//   gmCopies   a copy (the storage's CreateRow + CopyContents) is appended;
//   gmMoveOut  a copy is appended, then the row is deleted (Delete(false));
//   gmDelete   the row is deleted, nothing is appended.
// In gmMoveOut and gmDelete every subtotal row walked is pruned after its
// children were processed (Prune): entries left without a row are dropped
// at the last level, children without children are removed above it.
//
// Ownership: the handler borrows the storage, the condition and Results;
// without a condition it makes an empty quilt patch and owns it
// (OwnsCondition). Copies appended to Results in gmCopies / gmMoveOut belong
// to the caller of GetRows (Results never owns its objects).
//
// REQUIRES: the storage outlives the handler; Results is given unless Mode
// is gmDelete (or the handler only serves HasRows).
#pragma once

#include <memory>

#include "dataframework/conditions/ConditionsFwd.h"
#include "dataframework/elements/ElementsFwd.h"

namespace platform {
class TStrings;
}

namespace dataframework {

class TGetRowsHandler {
 public:
  // Table := the storage's table; Condition none: a new empty quilt patch,
  // owned. SortChildren := false in gmDelete, else the storage's
  // CheckTreeOrder. NiceCondition := Condition's IsNice. NeedsRowTest := the
  // condition is not nice, or it does not accept every value of some non-key
  // field of the table.
  TGetRowsHandler(TAbstractRowStorage& Storage, TGetRowsMode Mode, platform::TStrings* Results,
                  const TCondition* Condition);
  ~TGetRowsHandler();
  TGetRowsHandler(const TGetRowsHandler&) = delete;
  TGetRowsHandler& operator=(const TGetRowsHandler&) = delete;

  // Takes Row, a child of the subtotal row Level that the condition accepted
  // (Row may be a subtotal row or a data row; a null Row is ignored).
  // A subtotal row: Condition().GetRows(*this, Row), then Prune(Row) in the
  // two deleting modes. A data row: by Mode (see above).
  void Deliver(TSubTotalRow* Level, TAbstractRow* Row);

  // Runs the walk from the storage's root: Condition().GetRows(*this, Root)
  // and the pruning of the root in the deleting modes.
  void Run();
  // Condition().HasRows(*this, Root).
  bool RunHasRows();

  // Removes what a deleting walk left behind under Row: at the last level the
  // entries without a row, above it the children that have no children left.
  // Does nothing in gmRows and gmCopies.
  void Prune(TSubTotalRow* Row);

  // What the conditions' default GetRows / HasRows read.
  bool OwnsCondition() const noexcept { return FOwnedCondition != nullptr; }
  bool SortChildren() const noexcept { return FSortChildren; }
  bool NiceCondition() const noexcept { return FNiceCondition; }
  bool NeedsRowTest() const noexcept { return FNeedsRowTest; }
  TDataTable* Table() const noexcept { return FTable; }
  const TCondition& Condition() const noexcept { return *FCondition; }
  platform::TStrings* Results() const noexcept { return FResults; }
  TGetRowsMode Mode() const noexcept { return FMode; }
  TAbstractRowStorage& Storage() const noexcept { return FStorage; }

 private:
  void DeliverDataRow(TDataRow* Row);

  TAbstractRowStorage& FStorage;
  std::unique_ptr<TCondition> FOwnedCondition;
  bool FSortChildren = false;
  bool FNiceCondition = false;
  bool FNeedsRowTest = true;
  TDataTable* FTable = nullptr;
  const TCondition* FCondition = nullptr;
  platform::TStrings* FResults = nullptr;
  TGetRowsMode FMode = gmRows;
};

}  // namespace dataframework
