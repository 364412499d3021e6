// TGridDocument: one database table open for editing in a grid, without any
// window: the rows of the table (or of its filter) loaded through the
// database bridge into the bridge table's row storage, grouped in its
// subtotal tree, edited with undo and redo, saved in one transaction, and
// exported to CSV. The grid window and the headless program are both
// made of it.
//
// Tree and groups. The storage's tree has one level per key column, in key
// order; grouping by the first N key columns (0 <= N < key count) shows the
// subtotal rows of tree levels 1 ... N as groups (level L groups the rows
// sharing the first L keys) and, when GrandTotal is set, the root (level 0)
// as the grand total; the other levels' subtotal rows are never shown.
// A group is collapsed (its row shown, nothing below it) or expanded (its
// row hidden, the next groups or the data rows below it shown); an item
// model over the storage shows an expanded group as a node above its rows.
//
// Filter. A criteria in its text form (FilterText, SetFilterText): the load
// asks the bridge for the rows it accepts. Changing the filter reloads.
//
// Edits. A data row's cell is parsed by its field's data type; a refused
// value leaves the old one and answers why. A subtotal cell spreads the new
// total over the rows below, evenly (TSubTotalHandler) or in proportion
// (TProportionalSubTotalHandler). Every edit, add, delete and spread is one
// step of the undo stack. Save and revert empty the stack.
//
// Ownership: the document borrows the bridge (which must outlive it) and
// owns the bridge table it opened, its criteria and its undo stack. Rows
// and subtotal rows handed out stay the storage's and are valid until the
// next change made through the document.
// REQUIRES: OnReset listeners drop every pointer into the table (item
// models over the storage) before the table is replaced.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "dataframework/bridge/DbDataBridge.h"
#include "dataframework/conditions/Criteria.h"
#include "grid/GridCommand.h"
#include "platform/Exception.h"

namespace grid {

// A refused request of the grid (a bad column, a filter that does not
// parse, a grouping the table cannot have, a put the storage refused).
class EGridError : public platform::Exception {
 public:
  using platform::Exception::Exception;
};

enum TSpreadMode { smEven, smProportional };

class TGridDocument {
 public:
  explicit TGridDocument(dataframework::bridge::TDbDataBridge& Bridge);
  ~TGridDocument();
  TGridDocument(const TGridDocument&) = delete;
  TGridDocument& operator=(const TGridDocument&) = delete;

  // ---- Opening and loading.
  // Describes Name and loads the rows of the filter (none: all). The
  // bridge's errors pass through ("Table x does not exist", ...). Answers
  // false when Progress interrupted the load: the rows read so far stay
  // and Complete() is false.
  bool Open(const std::string& Name, platform::TInterruptable* Progress = nullptr);
  bool IsOpen() const noexcept { return FTable != nullptr; }
  const std::string& Name() const noexcept { return FName; }
  // The last load read every row its filter asks for.
  bool Complete() const noexcept { return FComplete; }
  // REQUIRES (all below): IsOpen().
  dataframework::bridge::TBridgeTable& Table() const { return *FTable; }
  dataframework::bridge::TBridgeRowStorage& Storage() const;
  // The table's fields in column order (keys first).
  std::vector<dataframework::TDataField*> Fields() const;
  // The field of the column Name (as written, else without regard to
  // case). Raises EGridError "Unknown column <name> in table <table>".
  dataframework::TDataField* Column(const std::string& Name) const;
  const std::string& ColumnName(const dataframework::TDataField* Field) const;
  int KeyCount() const;

  // ---- Groups.
  int GroupLevels() const noexcept { return FGroupLevels; }
  // Groups by the first Levels key columns; every group collapsed.
  // Raises EGridError "<table> can be grouped by at most <k> columns".
  void SetGroupLevels(int Levels);
  // Groups by Columns, which must be the leading key columns in key order.
  // Raises EGridError "Cannot group by <column>: groups follow the key
  // columns in order (<k1>, <k2>, ...)" or the unknown-column error.
  void SetGroupColumns(const std::vector<std::string>& Columns);
  bool GrandTotal() const noexcept { return FGrandTotal; }
  void SetGrandTotal(bool Value);
  bool TotalsBelow() const;
  void SetTotalsBelow(bool Value);
  bool FlatMode() const;
  // Flat: every data row, no subtotal rows. Leaving it collapses the groups.
  void SetFlatMode(bool Value);
  // The group level of a subtotal row (0 grand total, 1 ... N), -1 for
  // other rows.
  int GroupLevelOf(const dataframework::TAbstractRow* Row) const;
  // Groups of levels below Level expanded, groups of level Level collapsed
  // (Level > GroupLevels(): everything expanded down to the data rows).
  void ShowLevel(int Level);
  // Shows the next groups (or the data rows) below Group / hides them.
  void ExpandGroup(dataframework::TSubTotalRow* Group);
  void CollapseGroup(dataframework::TSubTotalRow* Group);

  // ---- Filter.
  // The criteria's text form on one line ("" without filter).
  std::string FilterText() const;
  // Parses Text (see ParseFilter) and reloads with it. Raises EGridError
  // for a text that does not parse (nothing changes) and "Save or revert
  // the changes before changing the filter" while changes are unsaved.
  bool SetFilterText(const std::string& Text, platform::TInterruptable* Progress = nullptr);
  // A criteria on Table's fields from its text form "TCriteria(
  // TCriteriaField(<field>: <values>) ...)" or the short form
  // "<column>: <values>; <column>: <values>"; values as a criteria field
  // writes them ("a, c-f", "'x y'", "All"). None for an empty text.
  // Raises EGridError "Invalid filter: ..." naming what is wrong.
  static std::unique_ptr<dataframework::TCriteria> ParseFilter(
      const dataframework::bridge::TBridgeTable& Table, const std::string& Text);

  // ---- Edits (each one step of the undo stack).
  // Writes Text into Row's Field: a data row through the field's parser, a
  // subtotal row spread with Mode. Answers "Ok", or why the value was
  // refused (the old value stays, no step is recorded).
  std::string EditCell(dataframework::TAbstractRow* Row, dataframework::TDataField* Field,
                       const std::string& Text, TSpreadMode Mode = smEven);
  // A new row with the keys KeyTexts (one per key column, parsed) and the
  // table's defaults. Raises EGridError with the reason (a key text that
  // does not parse, "Key conflict").
  dataframework::TDataRow* AddRow(const std::vector<std::string>& KeyTexts);
  // Deletes Rows (data rows of this storage; others are ignored).
  void DeleteRows(const std::vector<dataframework::TDataRow*>& Rows);
  TGridUndoStack& UndoStack() noexcept { return FUndo; }
  bool Undo();
  bool Redo();

  // ---- Unsaved changes.
  int ChangedCount() const;
  int InsertedCount() const;
  int DeletedCount() const;
  int UnsavedCount() const { return ChangedCount() + InsertedCount() + DeletedCount(); }
  // Writes every change in one transaction. A conflict raises the bridge's
  // EBridgeConflict (its message names the key) with every row and change
  // kept. False when Progress interrupted it (nothing written).
  bool Save(platform::TInterruptable* Progress = nullptr);
  // Drops every change and loads the table again.
  bool Revert(platform::TInterruptable* Progress = nullptr);

  // ---- Export.
  // The rows as CSV (RFC 4180: CRLF lines, fields with a comma, quote or
  // line break quoted, quotes doubled; UTF-8): a header of column names,
  // then every data row in view order; WithSubtotals puts each group's row
  // before its rows (after them with TotalsBelow) with a first column
  // "level" holding the group level (empty for data rows). Independent of
  // which groups are expanded; flat mode has no subtotal rows.
  void ExportCsv(std::ostream& Out, bool WithSubtotals) const;
  // RFC 4180 quoting of one field.
  static std::string CsvField(const std::string& Text);

  // ---- For the commands.
  TKeyValues KeyOf(const dataframework::TAbstractRow& Row) const;
  // The data row with Key, or none.
  dataframework::TDataRow* FindRow(const TKeyValues& Key) const;
  // The subtotal row with the leading keys Path (empty: the root), or none.
  dataframework::TSubTotalRow* FindGroup(const TKeyValues& Path) const;
  TKeyValues GroupPath(const dataframework::TSubTotalRow& Group) const;
  // The data rows below Group, in key order.
  void CollectDataRows(dataframework::TSubTotalRow* Group,
                       std::vector<dataframework::TDataRow*>& Rows) const;
  static bool SameKey(const TKeyValues& A, const TKeyValues& B);
  // Frees the deleted loaded row with Key (it is back in the tree).
  void ForgetDeleted(const TKeyValues& Key);
  // Puts a copy of Row back with State (a loaded row's entry among the
  // deleted rows goes); the row.
  dataframework::TDataRow* Restore(const dataframework::TDataRow& Row,
                                   dataframework::TRowState State);

  // Before the table is replaced or freed (drop item models over it).
  std::function<void()> OnReset;
  // After the rows or their view changed (refresh item models).
  std::function<void()> OnChanged;

 private:
  bool Load(platform::TInterruptable* Progress);
  void Changed() const;
  // Visibility of the subtotal rows below Row for ShowLevel(Level).
  void ShowBelow(dataframework::TSubTotalRow* Row, int Level);
  bool IsGroupLevel(int TreeLevel) const;

  dataframework::bridge::TDbDataBridge& FBridge;
  std::string FName;
  std::string FFilterText;  // parsed again for every table described
  std::unique_ptr<dataframework::bridge::TBridgeTable> FTable;
  std::unique_ptr<dataframework::TCriteria> FFilter;
  TGridUndoStack FUndo;
  int FGroupLevels = 0;
  bool FGrandTotal = false;
  bool FComplete = false;
};

// "Ok" or the text of a refused write.
std::string SetResultText(dataframework::TSetResult Result);

}  // namespace grid
