// TDataRow: one record of a data table, free or filed in a row storage.
//
// Besides the values (TAbstractRow) a data row tracks its state towards the
// database (unchanged, modified, inserted, deleted, or outside any storage)
// and how many key updates run on it. Writing a tree key of a stored row
// moves the row in its storage's tree (SetIndexValueEx).
//
// Ownership: made by Create / CreateFromDefaults (or a storage's CreateRow)
// and owned by the caller until a storage's PutRow accepts it; from then on
// the tree owns it. Delete ends the row's life in the tree: a row loaded
// from the database moves to the storage's deleted-row list, any other row
// is freed, so the caller must not own a row it deletes.
#pragma once

#include <memory>

#include "dataframework/elements/AbstractRow.h"

namespace dataframework {

class TDataRow : public TAbstractRow {
 public:
  // Every field with a data type gets its default value; rsExternControlled.
  // REQUIRES: Table != nullptr.
  static std::unique_ptr<TDataRow> Create(TDataTable* Table);
  // A copy of the table's DefaultRow; rsExternControlled.
  // REQUIRES: Table != nullptr ("TDataRow.Create: DataTable <> nil").
  static std::unique_ptr<TDataRow> CreateFromDefaults(TDataTable* Table);
  ~TDataRow() override = default;

  TRowState State() const noexcept { return FState; }
  void SetState(TRowState Value) noexcept { FState = Value; }
  int32_t LockCount() const noexcept { return FLockCount; }

  // ---- Implementations of the row operations.
  bool HasDataRows() const override { return true; }
  bool IsUpdating() const override { return FLockCount > 0; }
  TSetResult SetIndexValueEx(int Index, const TValue& Value, TSetAction Action) override;
  void CollectRows(platform::TStrings* List, TCondition* Condition, bool Sort) override;
  int CountState(TRowState State) const override { return FState == State ? 1 : 0; }
  int KeyLevelCount() const override;
  void CollectState(platform::TStrings* List, TRowState State) override;
  void ExpandInList(platform::TStrings* List, int& Position) override;
  bool CanWrite(TDataField* Field, std::string& Reason) override;
  bool IsChanged() const override;
  bool AllVisible() const override { return Visible(); }
  bool FieldHasValue(TDataField* Field) const override;

  // ---- Added by data rows.
  // Takes the row out of its storage's tree (RemoveEmptyParents: empty
  // subtotal rows above go too; otherwise the parent keeps the key without
  // row until pruned). Loaded rows go to the deleted-row list, others are
  // freed: after the call the caller must not use the row unless it is
  // kept there (State rsDeleted). A row already deleted stays as it is.
  virtual void Delete(bool RemoveEmptyParents);
  // Copies SrcRow's record and long texts.
  // REQUIRES: SrcRow != nullptr; this row is rsExternControlled; same table.
  virtual void CopyContents(const TAbstractRow* SrcRow);
  // A free copy (CreateFromDefaults + CopyContents), owned by the caller.
  virtual std::unique_ptr<TDataRow> Clone() const;

  // Writes every value DefaultRow shows (fictive fields excepted).
  // REQUIRES: DefaultRow != nullptr.
  void SetDefaultsFrom(const TAbstractRow* DefaultRow);
  // Merges SourceRow (same key) into this row. Non-key positions:
  // Mode 0: aggregable fields summed, other fields must be equal (fatal
  // error otherwise, nothing changed); 1: summed, others kept; 2: summed,
  // others taken where this row's value is empty; 3: summed, others taken;
  // 4: every value taken.
  // REQUIRES: SourceRow != nullptr.
  void AddValues(const TAbstractRow* SourceRow, int Mode);
  void BeginKeyUpdate() noexcept { ++FLockCount; }
  void EndKeyUpdate() noexcept { --FLockCount; }
  // The row is filed in its storage's tree (not free, not deleted).
  bool InTree() const noexcept;

 protected:
  // REQUIRES: allocated with room for the record (see Create).
  TDataRow(TDataTable* Table, size_t ObjectSize) noexcept
      : TAbstractRow(Table, ObjectSize, false) {}

 private:
  // The write of a stored row's tree key: the row moves in the tree.
  TSetResult KeyWrite(int Index, const TValue& Value, const TValue& Old, TSetAction Action);

  TRowState FState = rsExternControlled;
  int32_t FLockCount = 0;
};

}  // namespace dataframework
