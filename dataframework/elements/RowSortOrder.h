// TRowSortOrder and TRowSortOrderRule: an ordered list of (field, direction)
// rules by which rows are compared (TAbstractRow::Compare) and sorted.
//
// A storage's tree keys are made from a sort order (TreeOrder) and its flat
// view is sorted by another (FlatOrder). Rules are bound to one table at a
// time (SetTable): a bound rule reads a row of that table by position, any
// other row by field.
//
// Ownership: a sort order owns its rules; rules borrow their fields; the
// bound table is borrowed. Sort borrows the list and its row objects.
#pragma once

#include <memory>
#include <vector>

#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/types/DataTypeCore.h"
#include "dataframework/types/DataTypes.h"

namespace platform {
class TStrings;
}

namespace dataframework {

class TRowSortOrderRule {
 public:
  // REQUIRES: Order owns the rule (TRowSortOrder::Add makes rules).
  TRowSortOrderRule(TRowSortOrder& Order, TDataField* Field, TSortOrder Direction);

  // FieldIndex := Table's IndexOfField(Field); -1 without table.
  void Bind(TDataTable* Table);
  // The rule's value of Row: by position when bound to Row's table, else
  // Row's GetFieldValue(Field). Raises what the row's read raises.
  // REQUIRES: Row is given.
  void GetValue(const TAbstractRow& Row, TValue& Value) const;

  TRowSortOrder& Order() const noexcept { return FOrder; }
  TDataField* Field() const noexcept { return FField; }
  TSortOrder Direction() const noexcept { return FDirection; }
  int FieldIndex() const noexcept { return FFieldIndex; }

 private:
  TRowSortOrder& FOrder;
  TDataField* FField;
  TSortOrder FDirection;
  int FFieldIndex = -1;
};

class TRowSortOrder {
 public:
  TRowSortOrder();
  ~TRowSortOrder();
  TRowSortOrder(const TRowSortOrder&) = delete;
  TRowSortOrder& operator=(const TRowSortOrder&) = delete;
  // The same fields and directions, unbound.
  static std::unique_ptr<TRowSortOrder> CreateCopy(const TRowSortOrder& Order);

  void Add(TDataField* Field, TSortOrder Direction);
  int Count() const noexcept { return static_cast<int>(FRules.size()); }
  // REQUIRES: 0 <= Index < Count (asserted).
  TRowSortOrderRule& Rule(int Index) const;
  // Binds every rule to Table; nothing when Table is the bound one.
  void SetTable(TDataTable* Table);
  TDataTable* Table() const noexcept { return FTable; }

  // Sorts the row objects of List by Compare (randomised three-way
  // quicksort; not stable), after SetTable(Table). Entries keep their texts
  // with their rows. REQUIRES: every object of List is a row.
  void Sort(TDataTable* Table, platform::TStrings& List);

 private:
  std::vector<std::unique_ptr<TRowSortOrderRule>> FRules;
  TDataTable* FTable = nullptr;
};

}  // namespace dataframework
