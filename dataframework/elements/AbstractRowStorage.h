// TAbstractRowStorage: the rows of one data table held in a tree of subtotal
// rows, with the operations every storage shares.
//
// Level i of the tree (i = 0 ... TreeKeyCount() - 1) groups by the field of
// tree key i; the children of a subtotal row are kept sorted by that key, and
// the children of the last level's subtotal rows are the data rows. The root
// is the level-0 subtotal row. The storage puts rows by their key values
// (with a put action for a taken key), removes them, finds them by key texts
// or by another row's values, delivers the rows a condition accepts
// (GetRows, in four modes), keeps deleted loaded rows for the write-back and
// tells when it last changed. The row view (RowList, flat or with subtotal
// rows) is filled by TCustomRowStorage.
//
// Listeners (TRowStorageListener) hear of every change the storage notes:
// rows put, removed, moved, changed in value or visibility, expanded and
// collapsed subtrees, and view resets; ChangesDone closes each outermost
// operation (TChangeScope).
//
// Ownership: the storage owns its root (and so every row of the tree), its
// deleted rows, loose rows, pending rows, tree keys, both sort orders, the
// view list and its own subtotal handler (when given one). It borrows its
// table, which it locks for good (no structure change from then on).
// Rows handed to PutRow / InsertRow become the storage's on the results
// prOk, prKeyOverwrited and prRowsAdded; on the others the caller keeps them.
//
// REQUIRES: the table outlives the storage; a storage needs at least one tree
// key above the data level (a table with at least one key field, or
// SetTreeKeys with at least one rule).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dataframework/conditions/ConditionsFwd.h"
#include "dataframework/elements/RowSource.h"
#include "dataframework/elements/RowStorageListener.h"
#include "dataframework/types/DataTypeCore.h"
#include "platform/DateTime.h"

namespace platform {
class TStrings;
class TStringList;
}  // namespace platform

namespace dataframework {

class TAbstractRowStorage : public TRowSource {
 public:
  // Asserts Table given. Locks the table, makes the tree keys from its key
  // fields (each with the field's SortOrder) and an empty root.
  explicit TAbstractRowStorage(TDataTable* Table);
  ~TAbstractRowStorage() override;

  // --- TRowSource
  // IterationRows := every row accepted by an empty patch, in delivery order.
  void First() override;
  // The next iteration row; at the end the list is freed and none answered.
  TAbstractRow* Next() override;
  TRowSortOrder* SortOrder() const override;  // TreeOrder
  bool IsStorage() const override { return true; }

  // --- virtual operations of the storage, in their order
  // Copies every row of Source (with visibility and state) and every deleted
  // row of Source (into DeletedRows, state rsDeleted).
  virtual void AssignRows(TAbstractRowStorage& Source);
  virtual TSubTotalRow* Root() const;
  // rsDeleted: size of DeletedRows; rsExtern: loose data rows;
  // rsExternControlled: loose rows of a custom storage, else 0; other
  // states: Root().CountState.
  virtual int CountRows(TRowState State) const;
  // No deleted rows, no children under the root, no pending rows.
  virtual bool IsEmpty() const;
  virtual bool DeferredTotals() const = 0;
  virtual void SetDeferredTotals(bool Value) = 0;
  // Re-insertion of a row whose key changed (no state change, no running
  // number); used with paReinsert by a row's key write.
  virtual TPutResult ReinsertRow(TDataRow* Row, TPutAction Action);
  // Takes Row out of the tree; on success Row's State := rsExternControlled
  // and the caller owns Row. False when Row is not found at its key.
  virtual bool RemoveRow(TDataRow* Row);
  // View and bookkeeping after a change of Row (kinds in TRowChangeKind).
  virtual void RowChanged(TRowChangeKind Kind, TAbstractRow* Row, int Position);
  // True for a TRowStorage (a storage with a fixed criteria). Answered here
  // too (false): the root, made while the base is being built, asks it.
  virtual bool IsRowStorage() const { return false; }
  virtual void SetTotalsBelow(bool Value);
  // Every tree key's SetVisible(Value) (the data level included).
  virtual void SetLevelsVisible(bool Value);
  // Hooks for subclasses that load rows on demand; empty here.
  virtual void BeforeGetRows(const TCondition* Condition);
  virtual void BeforeLocate(const std::vector<std::string>& KeyTexts);
  virtual void BeforeLocateByRow(const TAbstractRow* Row, const std::vector<TDataField*>& Fields);
  // A new subtotal row of this storage under Parent (none for the root) with
  // the key KeyValue; the caller adds it to the tree.
  virtual std::unique_ptr<TSubTotalRow> CreateSubTotal(TSubTotalRow* Parent, const TValue& KeyValue,
                                                       bool Visible);
  // Appends the rows in State to List (rows as objects): rsDeleted the
  // deleted rows, rsExtern the loose data rows, rsExternControlled nothing,
  // others the tree's rows in that state.
  virtual void CollectState(platform::TStrings& List, TRowState State);
  // Delivers the rows Condition (none: all) accepts into Results by Mode.
  // REQUIRES: Results given unless Mode is gmDelete (asserted).
  virtual void GetRows(platform::TStrings* Results, const TCondition* Condition, TGetRowsMode Mode);
  // GetRows restricted to the rows whose Field value begins with Text (the
  // whole of Text when it is not shorter than Field's data size); an empty
  // Text delivers every row.
  virtual void GetRowsByText(platform::TStrings* Results, const TCondition* Condition,
                             const std::string& Text, TDataField* Field, TGetRowsMode Mode);
  // Puts Row into the tree by its keys (see InsertRow of TCustomRowStorage).
  virtual TPutResult PutRow(TDataRow* Row, TPutAction Action) = 0;
  // The data row whose keys are KeyTexts (one text per tree level), or none.
  // Fewer texts than the table's key count: warning, none.
  virtual TDataRow* LocateRow(const std::vector<std::string>& KeyTexts);
  // Whether a data row lies under the leading keys KeyTexts ([] = any row).
  virtual bool HasRowsFor(const std::vector<std::string>& KeyTexts);
  // Whether some row is accepted by Patch (none: all).
  virtual bool HasRows(const TCondition* Patch);
  // The stored data row whose keys match Row's values (Fields may stand in
  // for the keys through their LookupKey), or none.
  virtual TDataRow* LocateByRowValues(const TAbstractRow* Row,
                                      const std::vector<TDataField*>& Fields);
  // Some loose row, some deleted row, or some changed row in the tree.
  virtual bool IsModified() const;
  // Row is given and stored in this storage.
  virtual bool Owns(const TAbstractRow* Row) const;
  // The first data row of the view, or none.
  virtual TDataRow* FirstDataRow() = 0;
  // A new row with the table's defaults, visible as the data level says; not
  // in the tree.
  virtual std::unique_ptr<TDataRow> CreateRow();

  // --- tree keys
  // Replaces the tree keys by one level per rule of Order (plus the data
  // level) and makes a new empty root. Nothing for none; a storage that is
  // not empty: fatal DataError.
  void SetTreeKeys(const TRowSortOrder* Order);
  // Number of tree levels without the data level.
  int TreeKeyCount() const noexcept { return static_cast<int>(FTreeKeys.size()) - 1; }
  // Tree key Index, 0 ... TreeKeyCount() (the data level); asserted.
  TRowStorageTreeKey& GetTreeKey(int Index) const;
  TRowStorageTreeKey& DataLevelKey() const { return *FTreeKeys.back(); }
  // The tree key whose field is Field (none: the data level), or none.
  TRowStorageTreeKey* TreeKeyOf(const TDataField* Field) const;
  // The number of tree keys whose field the table lacks before Field's key.
  int ExtraKeyIndex(const TDataField* Field) const;
  TRowSortOrder& TreeOrder() const { return *FTreeOrder; }
  TRowSortOrder& FlatOrder() const { return *FFlatOrder; }
  // Whether the view and the get-rows walk can sort levels by their sort
  // fields (those fields are readable at the level).
  bool CheckTreeOrder() const;

  // --- puts with owned rows
  // PutRow for a row the caller owns: Row is released when the storage took
  // it (prOk, prKeyOverwrited, prRowsAdded) and kept otherwise.
  TPutResult PutNewRow(std::unique_ptr<TDataRow>& Row, TPutAction Action);

  // --- view options
  bool TotalsBelow() const noexcept { return FTotalsBelow; }
  bool FlatMode() const noexcept { return FFlatMode; }
  // The view holds no subtotal rows and is sorted by FlatOrder.
  void SetFlatMode(bool Value);
  bool ViewValid() const noexcept { return FViewValid; }

  // --- deleted, loose and pending rows
  int DeletedRowCount() const noexcept { return static_cast<int>(FDeletedRows.size()); }
  TDataRow* DeletedRow(int Index) const;
  // Takes over a row removed from the tree that must still be deleted in the
  // database (a row's Delete).
  void AddDeletedRow(std::unique_ptr<TDataRow> Row);
  int LooseRowCount() const noexcept { return static_cast<int>(FLooseRows.size()); }
  TAbstractRow* LooseRow(int Index) const;
  bool IsLooseRow(const TAbstractRow* Row) const;
  // Takes over a row held outside the tree.
  void AddLooseRow(std::unique_ptr<TAbstractRow> Row);
  int PendingRowCount() const noexcept { return static_cast<int>(FPendingRows.size()); }

  // --- rows by criteria
  // Every row accepted by CriteriaField is deleted (Delete(true)).
  void DeleteRowsWhere(const TCriteriaField& CriteriaField);
  // The one row Criteria accepts, or none; several: the first when
  // FirstOfMany, else an exception "More than one match!".
  TAbstractRow* FindOne(const TCondition& Criteria, bool FirstOfMany);

  // --- subtotals and bookkeeping
  // The storage's own subtotal handler, or the shared read-only default.
  TSubTotalHandler& SubTotalHandlerOf() const;
  // Gives the storage its own handler (none: back to the default).
  void SetSubTotalHandler(std::unique_ptr<TSubTotalHandler> Handler);
  TSubTotalHandler* SubTotalHandler() const noexcept { return FSubTotalHandler.get(); }
  platform::TDateTime LastChange() const noexcept { return FLastChange; }
  // LastChange := now.
  void Touch();

  // --- listeners
  // Listener hears of every change from now on (added once however often
  // it is added). The storage borrows it. REQUIRES: Listener given.
  void AddListener(TRowStorageListener* Listener);
  // Listener hears nothing more; nothing when it is not listening.
  void RemoveListener(TRowStorageListener* Listener);
  bool HasListeners() const noexcept { return !FListeners.empty(); }
  // Brackets one operation of the storage (or of its rows) that may send
  // several notes: the listeners get ChangesDone when the outermost scope
  // ends after a note. A note sent outside any scope is its own operation.
  // Free rows pass no storage (none: nothing is bracketed).
  class TChangeScope {
   public:
    explicit TChangeScope(TAbstractRowStorage* Storage) noexcept : FStorage(Storage) {
      if (FStorage != nullptr) ++FStorage->FChangeDepth;
    }
    ~TChangeScope() {
      if (FStorage != nullptr && --FStorage->FChangeDepth == 0) FStorage->EndOfChange();
    }
    TChangeScope(const TChangeScope&) = delete;
    TChangeScope& operator=(const TChangeScope&) = delete;

   private:
    TAbstractRowStorage* FStorage;
  };
  // The notes that do not pass through RowChanged.
  void NotifyValuesChanged(TAbstractRow& Row) {
    if (!FListeners.empty()) Notify(ntValues, &Row);
  }
  void NotifyRemoving(TAbstractRow& Row) {
    if (!FListeners.empty()) Notify(ntRemoving, &Row);
  }
  void NotifyExpanded(TSubTotalRow& Row);
  void NotifyCollapsed(TSubTotalRow& Row);
  void NotifyViewReset() {
    if (!FListeners.empty()) Notify(ntReset, nullptr);
  }

 protected:
  enum TNoteKind {
    ntInserted,
    ntRemoving,
    ntValues,
    ntMoved,
    ntVisibility,
    ntExpanded,
    ntCollapsed,
    ntReset
  };
  // Tells every listener; outside any scope ChangesDone follows at once.
  void Notify(TNoteKind Kind, TAbstractRow* Row);
  // The outermost scope ended: ChangesDone when a note came in it.
  void EndOfChange();

  // The view is rebuilt on its next use.
  void InvalidateView() noexcept { FViewValid = false; }
  // A data row made from Row's contents (CreateRow + CopyContents).
  std::unique_ptr<TDataRow> CopyOfRow(const TDataRow& Row);

  std::vector<std::unique_ptr<TAbstractRow>> FPendingRows;
  std::unique_ptr<platform::TStringList> FIterationRows;
  int FIterationPosition = 0;
  std::unique_ptr<TRowSortOrder> FFlatOrder;
  bool FFlatMode = false;
  std::vector<std::unique_ptr<TDataRow>> FDeletedRows;
  std::vector<std::unique_ptr<TRowStorageTreeKey>> FTreeKeys;
  std::vector<std::unique_ptr<TAbstractRow>> FLooseRows;
  std::unique_ptr<TRowSortOrder> FTreeOrder;
  std::unique_ptr<TSubTotalHandler> FSubTotalHandler;
  platform::TDateTime FLastChange = 0;
  std::unique_ptr<TSubTotalRow> FRoot;
  std::unique_ptr<platform::TStringList> FRowList;
  bool FViewValid = false;
  bool FTotalsBelow = false;
  // Any change invalidates the view instead of patching it (set by
  // TCustomRowStorage's subclasses).
  bool FRebuildViewOnChange = false;

 private:
  std::vector<TRowStorageListener*> FListeners;
  int FChangeDepth = 0;
  bool FChangeNoted = false;
};

}  // namespace dataframework
