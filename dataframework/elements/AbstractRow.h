// TAbstractRow: what every row of the data framework shares.
//
// A row holds one value for every key and ordinary field of its data table,
// packed into a value record laid out by the table (FieldOffset, RecordSize).
// Data rows (TDataRow) are the records themselves; subtotal rows
// (TSubTotalRow) are the inner nodes of a row storage's tree. This class
// gives the value access rules, the record with its long-text list, the
// visibility flag, key display and the row lookup.
//
// Memory: a row and its record are one allocation (the record follows the
// object), so rows are made only through the factories of the subclasses
// (TDataRow::Create, TDataRow::CreateFromDefaults, TSubTotalRow::Create) and
// freed with delete or a std::unique_ptr. The long-text list is made only
// when a text does not fit in its cell.
//
// Ownership: a row never owns its table, storage or parent. A row in a
// storage's tree is owned by its parent subtotal row (the root by the
// storage); a free row is owned by whoever made it.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <string>

#include "dataframework/conditions/ConditionsFwd.h"
#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/types/DataTypeCore.h"
#include "dataframework/types/DataTypes.h"
#include "platform/Object.h"
#include "platform/StringList.h"

namespace dataframework {

// Errors of a value's kind that a row write passes to its caller unchanged
// (every other error of a write becomes srInvalidValue).
class TypeException : public platform::Exception {
 public:
  using platform::Exception::Exception;
};

class TAbstractRow : public platform::TObject {
 public:
  ~TAbstractRow() override;
  TAbstractRow(const TAbstractRow&) = delete;
  TAbstractRow& operator=(const TAbstractRow&) = delete;

  // Rows live in one block with their record; see the factories.
  struct TRecordRoom {
    size_t Bytes;
  };
  static void* operator new(size_t Size, TRecordRoom Room);
  static void operator delete(void* Block, TRecordRoom Room) noexcept;
  static void operator delete(void* Block) noexcept;

  TDataTable* Table() const noexcept { return FTable; }
  bool Visible() const noexcept { return FVisible; }
  TAbstractRowStorage* Storage() const noexcept { return FStorage; }
  TSubTotalRow* Parent() const noexcept { return FParent; }
  // The row is a TSubTotalRow (asked on every read, so kept as a flag).
  bool IsSubTotal() const noexcept { return FIsSubTotal; }
  // Set by the storage's tree when the row is filed or taken out.
  void SetStorage(TAbstractRowStorage* Storage) noexcept { FStorage = Storage; }
  void SetParent(TSubTotalRow* Parent) noexcept { FParent = Parent; }
  // The packed values (the table's RecordSize bytes).
  unsigned char* Record() noexcept { return FRecord; }
  const unsigned char* Record() const noexcept { return FRecord; }
  // Long texts by field position; null until the first long text is stored.
  const platform::TStringList* Texts() const noexcept { return FTexts.get(); }

  // ---- Virtual operations, in their fixed order.
  // 0, 1: SetFieldValueEx / SetIndexValueEx with action 0 (saRefuse).
  virtual TSetResult SetFieldValue(TDataField* Field, const TValue& Value);
  virtual TSetResult SetIndexValue(int Index, const TValue& Value);
  // 2: the row is a data row or has one below it.
  virtual bool HasDataRows() const = 0;
  // 3: a key update is running on the row (the storage's view leaves it alone).
  virtual bool IsUpdating() const = 0;
  // 4: the central write; Action (saRefuse, saOverwrite) matters only for a
  // write that changes a tree key. Failures are result codes; only
  // TypeException passes through.
  virtual TSetResult SetIndexValueEx(int Index, const TValue& Value, TSetAction Action) = 0;
  // 5: appends the visible rows accepted by Condition (none: all) to List
  // (rows as objects); Sort orders each level by its sort field.
  virtual void CollectRows(platform::TStrings* List, TCondition* Condition, bool Sort) = 0;
  // 6: number of data rows with State at or below this row.
  virtual int CountState(TRowState State) const = 0;
  // 7: number of key levels this row shows.
  virtual int KeyLevelCount() const = 0;
  // 8: hook before a value of Field is read (subtotal rows update their sums).
  virtual void BeforeRead(TDataField* Field) const;
  // 9: appends the data rows with State at or below this row to List.
  virtual void CollectState(platform::TStrings* List, TRowState State) = 0;
  // 10: replaces List entry Position by the row's children (subtotal rows);
  // Position ends after what this row put there.
  virtual void ExpandInList(platform::TStrings* List, int& Position) = 0;
  // 11: position of Field in the row's table, -1 when the row does not show it.
  // REQUIRES: Field != nullptr.
  virtual int IndexOfField(const TDataField* Field) const;
  // 12: whether Field may be written; otherwise Reason says why.
  virtual bool CanWrite(TDataField* Field, std::string& Reason) = 0;
  // 13: some data row at or below this row is changed (modified, deleted, inserted).
  virtual bool IsChanged() const = 0;
  // 14: the row and everything below it is visible.
  virtual bool AllVisible() const = 0;
  // 15: the row can give a value for Field.
  virtual bool FieldHasValue(TDataField* Field) const = 0;

  // ---- Value access.
  // The value at field position Index (0 <= Index < FieldCount).
  void GetIndexValue(int Index, TValue& Value) const;
  // The row's value of Field, also for fields the row does not store
  // (keys of lower levels, extra keys, fields looked up elsewhere).
  // REQUIRES: Field != nullptr.
  void GetFieldValue(TDataField* Field, TValue& Value) const;
  TValue ValueAt(int Index) const;
  TValue ValueOf(TDataField* Field) const;
  // Writes Field's value: at its position, as an extra key of a loose
  // subtotal row, or through the field (SetExternValue).
  // REQUIRES: Field != nullptr.
  TSetResult SetFieldValueEx(TDataField* Field, const TValue& Value, TSetAction Action);
  // Reads / writes position Index of the record with the field's data type,
  // without any check or notification.
  void ReadIndexRaw(int Index, TValue& Value) const;
  void WriteIndexRaw(int Index, const TValue& Value);
  // Copies the record bytes and the long texts of Source (same table).
  void CopyRecordFrom(const TAbstractRow& Source);
  // The long-text callbacks of the data types' buffer readers and writers;
  // Owner is the row.
  static void LongTextWriter(void* Owner, int FieldIndex, const std::string& Text);
  static void LongTextReader(void* Owner, int FieldIndex, std::string& Text);

  // Shows or hides the row; the storage hears of a change.
  void SetVisible(bool Value);

  // Typed writers (converted to a value, then SetFieldValueEx with action 0).
  // REQUIRES: Field != nullptr.
  TSetResult SetFStringValue(TDataField* Field, const std::string& Value);
  TSetResult SetFBooleanValue(TDataField* Field, bool Value);
  TSetResult SetFPointerValue(TDataField* Field, platform::TObject* Value);
  // Typed readers of Field's value.
  std::string GetFStringValue(TDataField* Field) const;
  int32_t GetFIntegerValue(TDataField* Field) const;
  bool GetFBooleanValue(TDataField* Field) const;

  // The two rows hold equal values at position Index.
  // REQUIRES: CmpRow != nullptr; 0 <= Index < FieldCount.
  bool IndexEqual(int Index, const TAbstractRow* CmpRow) const;
  // Order of this row against ARow by the rules of SortOrder (bound to this
  // row's table first): negative when this row comes first.
  // REQUIRES: ARow != nullptr, SortOrder != nullptr.
  int Compare(const TAbstractRow* ARow, TRowSortOrder* SortOrder) const;
  // "KEY=sqlvalue, KEY2=sqlvalue" over the key levels the row shows that
  // Table has (Table none: all).
  void KeyDescription(TDataTable* Table, std::string& Text) const;
  std::string KeyDescription(TDataTable* Table = nullptr) const;

  // Display of keys with their descriptive texts.
  // The row that holds TextField for Field's value: the row itself, a row of
  // Field's aux table, or none; Found false when the key has no such row.
  TAbstractRow* FindTextRow(TDataField* Field, TDataField* TextField, bool& Found) const;
  // REQUIRES: Field != nullptr.
  void GetKeyAndDescription(TDataField* Field, TDataField* TextField, std::string& Text) const;
  void GetDisplayText(TDataField* Field, TDisplayValues DisplayValues, std::string& Text) const;
  // The row that holds Field's value for this row (this row itself, or a
  // row of a cache storage); Field may be replaced by an equivalent field.
  // None when no row is found.
  TAbstractRow* Lookup(TDataField*& Field) const;

 protected:
  // Table set, visible, no texts, storage or parent. The record is the
  // block behind the object's ObjectSize bytes (see RoomFor), zero-filled.
  // REQUIRES: the object was allocated with operator new(Size, RoomFor(Table)).
  TAbstractRow(TDataTable* Table, size_t ObjectSize, bool IsSubTotal) noexcept;
  // Bytes of record to reserve behind an object of a row class.
  static TRecordRoom RoomFor(const TDataTable* Table);

  // Writes Value at Index with the field's buffer writer (no checks).
  void WriteIndexValue(int Index, const TValue& Value);

 private:
  TDataTable* FTable;
  TAbstractRowStorage* FStorage = nullptr;
  TSubTotalRow* FParent = nullptr;
  std::unique_ptr<platform::TStringList> FTexts;
  unsigned char* FRecord;

 protected:
  bool FVisible = true;

 private:
  bool FIsSubTotal;
};

}  // namespace dataframework
