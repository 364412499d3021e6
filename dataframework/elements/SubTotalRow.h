// TSubTotalRow: an inner node of a row storage's tree.
//
// A subtotal row groups the rows that share the values of the leading tree
// keys. Its children (subtotal rows of the next level or, at the last level,
// data rows) are kept sorted by the key of its Level. It answers the sums of
// the aggregable fields over its children, computed on demand and cached in
// its record until a change below marks them stale (MarkDirty). Writes go to
// the storage's subtotal handler, which distributes them over the children.
//
// The tree algorithms of the storage live here too: filing a row under its
// keys with the conflict rules of the put actions (PutRow, ReinsertRow),
// taking it out (RemoveRow), collecting the view (CollectRows) and finding a
// row by another row's values (LocateByRowValues).
//
// Ownership: a subtotal row owns its children (data rows included) and its
// extra-key values; it never owns its storage, level or parent. Subtotal
// rows are made by their storage (CreateSubTotal) and by subtotal handlers.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/types/ValueList.h"

namespace dataframework {

class TSubTotalChildren;

// Receives one computed total: position Index of the row's table gets Value.
using TStoreTotalProc = void (*)(void* UserData, int Index, const TValue& Value);

class TSubTotalRow : public TAbstractRow {
 public:
  // A subtotal of Storage's table under Parent (none: the root, level 0)
  // with key KeyValue at Parent's level. Starts from the table's DefaultRow,
  // copies the keys of the levels above from Parent and takes the values
  // the storage's key criteria fixes.
  // REQUIRES: Storage != nullptr, with at least one tree key above the data level.
  static std::unique_ptr<TSubTotalRow> Create(TAbstractRowStorage* Storage, bool Visible,
                                              const TValue& KeyValue, TSubTotalRow* Parent);
  // Frees every child.
  ~TSubTotalRow() override;

  // One value per extra key of the storage (tree keys the table lacks).
  TValueList& ExtraKeyValues() noexcept { return FExtraKeyValues; }
  const TValueList& ExtraKeyValues() const noexcept { return FExtraKeyValues; }
  TDataField* RefreshingField() const noexcept { return FRefreshingField; }
  // The tree level by which the children are grouped.
  TRowStorageTreeKey* Level() const noexcept { return FLevel; }
  // The field of Level (the children's key).
  TDataField* LevelField() const;
  // Position of Level among the storage's tree keys.
  int LevelIndex() const;
  bool TotalsValid() const noexcept { return FTotalsValid; }
  // The children's keys and rows (for the framework's own code: the list is
  // internal).
  const TSubTotalChildren& Children() const noexcept { return *FChildren; }

  // ---- Implementations of the row operations.
  bool HasDataRows() const override;
  bool IsUpdating() const override { return false; }
  TSetResult SetIndexValueEx(int Index, const TValue& Value, TSetAction Action) override;
  void CollectRows(platform::TStrings* List, TCondition* Condition, bool Sort) override;
  // The positions of the children (entries with a row) in the order the
  // view shows them: key order; with Sort by the level's sort field (ties
  // by key) or reversed for a descending level. CollectRows walks them so.
  void ViewOrder(bool Sort, std::vector<int>& Order) const;
  int CountState(TRowState State) const override;
  int KeyLevelCount() const override;
  void BeforeRead(TDataField* Field) const override;
  void CollectState(platform::TStrings* List, TRowState State) override;
  void ExpandInList(platform::TStrings* List, int& Position) override;
  // REQUIRES: Field != nullptr.
  int IndexOfField(const TDataField* Field) const override;
  bool CanWrite(TDataField* Field, std::string& Reason) override;
  bool IsChanged() const override;
  bool AllVisible() const override;
  // REQUIRES: Field != nullptr.
  bool FieldHasValue(TDataField* Field) const override;

  // ---- Children.
  int ChildCount() const noexcept;
  // Child i (none for a key whose row was deleted by a walk not yet pruned).
  TAbstractRow* Child(int Index) const noexcept;
  TValue ChildKey(int Index) const;
  // Binary search of KeyValue among the children's keys.
  bool FindChild(const TValue& KeyValue, int& Index) const;
  // Position of Row among the children, or -1.
  int IndexOfChild(const TAbstractRow* Row) const;
  // Files Row under KeyValue (an entry without row takes it); the position.
  // Takes ownership of Row. REQUIRES: Row != nullptr; no other row under KeyValue.
  int AddChild(const TValue& KeyValue, TAbstractRow* Row);
  // Takes Row out of the children (a subtotal child is freed, a data row is
  // handed back to the caller), then marks the totals stale or, with
  // RemoveEmpty and no child left, removes this row from its parent (which
  // frees it). Nothing for none or a row that is not a child.
  void RemoveChild(TAbstractRow* Row, bool RemoveEmpty);
  // Frees every child.
  void ClearChildren();
  // Drops every child entry without row (left by a deleting walk) in one pass.
  void PruneEmptyEntries();
  // The children are data rows.
  bool IsLastLevel() const;

  // ---- Totals and keys.
  // Recomputes the totals through the storage's subtotal handler when stale.
  void RecalcTotals();
  // The totals of this row and every ancestor are stale.
  void MarkDirty() noexcept;
  // Reads the extra keys of the levels above again (loose rows).
  void RefreshExtraKeys();
  // Sum of the children's values of Field (floating-point 0 without children).
  void SumChildren(TDataField* Field, TValue& Value) const;
  // Shows or hides the rows of tree level LevelIndex at and below this row.
  void SetVisibleAtLevel(int LevelIndex, bool Value);
  void SetChildrenVisible(bool Value, bool Recursive);
  // The value of tree key Field for Row (a subtotal row) as the tree knows it.
  static bool TreeKeyValue(const TAbstractRow* Row, TDataField* Field, TValue& Value);

  // ---- The storage's tree algorithms (started at the root).
  // Files Row under its key values, making missing levels; on a taken key
  // the rule of Action applies. On prOk, prKeyOverwrited and prRowsAdded
  // the tree owns Row; otherwise the caller keeps it.
  // REQUIRES: Row != nullptr, a row of the storage's table.
  TPutResult PutRow(TDataRow* Row, TPutAction Action);
  // The descent of PutRow without the running-number steps.
  TPutResult ReinsertRow(TDataRow* Row, TPutAction Action);
  // Takes Row out of the tree under this row; empty subtotal rows go.
  // Row is handed back to the caller. False when its key is not here.
  bool RemoveRow(TAbstractRow* Row);
  // The stored data row whose keys match Row's values (Fields may stand in
  // for the level fields through their LookupKey), or none.
  TAbstractRow* LocateByRowValues(const TAbstractRow* Row, std::span<TDataField* const> Fields);

 protected:
  // REQUIRES: allocated with room for the record (see Create).
  TSubTotalRow(TAbstractRowStorage* Storage, TRowStorageTreeKey* Level, const TDataType* KeyType,
               size_t ObjectSize);

 private:
  // A key write moves its row by hand: it takes the entry out without any
  // notification and a delete leaves the key without row.
  friend class TDataRow;
  void DetachChild(int Index);
  void ClearChildRow(int Index);
  TPutResult Descend(TDataRow* Row, TPutAction Action, bool Reinsert);
  // The conflict rules for a taken key at position Index of the last level.
  TPutResult Conflict(TDataRow* Row, TPutAction Action, int Index);
  // Puts Row into entry Index in place of the row there (deleted).
  void Overwrite(TDataRow* Row, int Index);
  static void StoreTotal(void* UserData, int Index, const TValue& Value);

  TValueList FExtraKeyValues;
  TDataField* FRefreshingField = nullptr;
  TRowStorageTreeKey* FLevel;
  std::unique_ptr<TSubTotalChildren> FChildren;  // never null
  mutable bool FTotalsValid = true;
};

}  // namespace dataframework
