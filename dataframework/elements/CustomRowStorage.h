// TCustomRowStorage: a row storage with a row view.
//
// The view (RowList) is a flat list of the visible rows: loose rows first,
// then the tree in key order (each level sorted by its sort field when
// CheckTreeOrder allows), a visible subtotal row before its children or,
// with TotalsBelow, after them. In FlatMode the view holds no subtotal rows
// and is sorted by FlatOrder. The view is rebuilt lazily by GetRow and
// RowCount; with RebuildViewOnChange every change invalidates it, otherwise
// insertions and removals patch it in place.
//
// Ownership: as TAbstractRowStorage; rows answered by GetRow stay the
// storage's.
#pragma once

#include <memory>

#include "dataframework/elements/AbstractRowStorage.h"

namespace dataframework {

class TCustomRowStorage : public TAbstractRowStorage {
 public:
  explicit TCustomRowStorage(TDataTable* Table);
  ~TCustomRowStorage() override;

  // Asserts Row given; InsertRow(Row, Action, -1).
  TPutResult PutRow(TDataRow* Row, TPutAction Action) override;
  TDataRow* FirstDataRow() override;

  // --- operations added here, in their order
  // Rebuilds RowList.
  virtual void Refresh();
  // The storage's fixed restriction; none here.
  virtual TCriteria* Criteria() const;
  // Row Index of the view (refreshed first when stale); asserted in range.
  virtual TAbstractRow* GetRow(int Index);
  // Number of rows in the view (refreshed first when stale).
  virtual int RowCount();
  // Puts Row by its keys with Action; a row of another table is a fatal
  // DataError; a row that is not rsExternControlled only warns. On prOk and
  // prKeyOverwrited the view learns of Row at Position (-1: not patched) and
  // Row's State := rsInserted (not for paReinsert).
  // REQUIRES: Row given (asserted).
  virtual TPutResult InsertRow(TDataRow* Row, TPutAction Action, int Position);
  // An independent copy with copies of every row.
  virtual std::unique_ptr<TCustomRowStorage> Clone() const = 0;
  // Row belongs to this storage and has a parent.
  virtual bool CanCollapse(const TAbstractRow* Row) const;
  // Shows Row's parent and hides all its descendants; answers the parent
  // (none when Row cannot collapse).
  virtual TSubTotalRow* Collapse(TAbstractRow* Row);
  // Row is a subtotal row of this storage.
  virtual bool IsOwnSubtotal(const TAbstractRow* Row) const;
  // Hides the subtotal row Row and shows its children.
  virtual void Expand(TAbstractRow* Row);

  bool RebuildViewOnChange() const noexcept { return FRebuildViewOnChange; }
  void SetRebuildViewOnChange(bool Value) noexcept { FRebuildViewOnChange = Value; }

 protected:
  // The common first steps of InsertRow: the nil assertion, the table check
  // and the state warning.
  void CheckInsert(TDataRow* Row, TPutAction Action) const;
};

}  // namespace dataframework
