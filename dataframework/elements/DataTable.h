// TDataTable: an ordered list of data fields in three areas, and the record
// layout that rows of the table share.
//
// Positions 0 .. KeyCount-1 are the key fields, KeyCount .. FieldCount-1 the
// ordinary fields, FieldCount .. end the ignored fields (known to the table,
// no room in rows). Key and ordinary fields are packed into a row's value
// record without gaps (Layout / FieldOffset / RecordSize). A direct-mapped
// position cache (bucket = the field's address modulo 101) makes
// IndexOfField fast. Structure changes (AddKey, AddField, AddIgnore,
// RemoveDataField, MoveField) rebuild the layout and the DefaultRow; they
// fail once the table is Locked, which the first row storage made over it
// does. Tables with a table type are registered by name (TableRegistry).
//
// Ownership: a table never owns its fields (they are shared and must outlive
// the table), its bridge or its type. It owns DefaultRow, its lists, its
// captions and its CacheStorage (made on first request, freed with the
// table; destroyed before everything else the table owns).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dataframework/conditions/ConditionsFwd.h"
#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/elements/Singleton.h"
#include "platform/Assert.h"

namespace dataframework {

// One entry of a table's layout: where a field's value starts in a record.
struct TFieldDataObject {
  int32_t Offset = 0;
};

class TDataTable : public TSingleton {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Number of buckets of the position cache.
  static constexpr int PositionBuckets = 101;

  // Empty table: no fields, no name, no type, not locked; layout built.
  explicit TDataTable(platform::TComponent* Owner);
  // Removes the table from its type's list, the registry and its fields'
  // Tables sets; frees the cache storage first.
  ~TDataTable() override;

  // A free table shaped in one step: type, name and bridge set; Keys then
  // Fields added through AddToList(List, true) (none entries skipped); every
  // key and ordinary field records the table; layout built. The same field
  // given twice raises "Double field: <name> <heading> (index: <i>)" and
  // nothing is left behind.
  static std::unique_ptr<TDataTable> CreateTable(const std::string& Name, TDataTableType* TableType,
                                                 const std::vector<TDataField*>& Keys,
                                                 const std::vector<TDataField*>& Fields,
                                                 TDataBridge* DataBridge);
  // A copy of Table of class TDataTable: unnamed, of TableType, with the
  // same fields in the same areas, alias lists, running-number field and
  // captions. REQUIRES: Table is given ("TDynaTable.CreateCopy: Table <> nil").
  static std::unique_ptr<TDataTable> CreateCopy(const TDataTable* Table, TDataBridge* DataBridge,
                                                TDataTableType* TableType);

  // ---- Virtual operations, in their fixed order.
  // 1: Field is one of the SpecialFields.
  virtual bool HasSpecialField(const TDataField* Field) const;
  // 2: asks the bridge to delete the rows Patch accepts (none: an empty
  // patch); answers the progress counter 3. REQUIRES: a DataBridge.
  virtual int DeleteData(TQuiltPatch* Patch);
  // 3: a copy of this table as by the static CreateCopy, made of this
  // table's own class (subclasses override to copy as themselves).
  virtual std::unique_ptr<TDataTable> CreateCopy(TDataBridge* DataBridge,
                                                 TDataTableType* TableType) const;

  // ---- Structure. Each change checks the lock first and rebuilds the
  // layout last; refused changes leave the table as it was.
  // Fatal DataError "TDynaTable.CheckLocked: DynaTable's structure is locked!
  // It cannot be changed!" when Locked.
  void CheckLocked() const;
  void AddKey(TDataField* Field);
  void AddField(TDataField* Field);
  void AddIgnore(TDataField* Field);
  void RemoveDataField(TDataField* Field);
  void MoveField(TDataField* Field, int NewIndex);
  // Recomputes offsets and the position cache; makes a new DefaultRow.
  void RebuildLayout();
  // Raises "Double field: ..." for a field found at two positions.
  void CheckDuplicates() const;
  // Set by the first row storage made over the table; nothing clears it.
  bool Locked() const { return FLocked; }
  void Lock() { FLocked = true; }

  // ---- Fields and positions.
  int KeyCount() const { return FKeyCount; }
  int FieldCount() const { return FFieldCount; }
  int IgnoreFieldCount() const { return static_cast<int>(FFields.size()) - FFieldCount; }
  // REQUIRES: 0 <= Index < FieldCount + IgnoreFieldCount.
  TDataField* GetField(int Index) const;
  const std::vector<TDataField*>& Fields() const { return FFields; }
  // Position among key and ordinary fields, -1 otherwise (ignored: -1).
  // REQUIRES: Field is given.
  int IndexOfField(const TDataField* Field) const {
    platform::Assert(Field != nullptr, "TDataTable.IndexOfField: Field <> nil");
    const size_t h = static_cast<size_t>(BucketOf(Field));
    if (h >= FPositionCache.size() || FPositionCache[h].Field == nullptr) return -1;
    if (FPositionCache[h].Field == Field) return FPositionCache[h].Position;
    return SearchField(Field);
  }
  // IndexOfField, else the first position whose field has Field as LookupKey.
  int IndexOfFieldOrLookup(const TDataField* Field) const;
  bool TableHasField(const TDataField* Field) const;
  bool TableHasKey(const TDataField* Field) const;
  // Field itself when none or in the table; else the same for its lookup field.
  TDataField* ResolveField(TDataField* Field) const;
  // The last key when its AuxTable is this table; none otherwise.
  TDataField* OwnKey() const;
  // The bucket of a field in the position cache: its address (as a 32-bit
  // number) modulo PositionBuckets.
  static int BucketOf(const TDataField* Field) {
    const auto address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Field));
    return static_cast<int>(address % PositionBuckets);
  }

  // ---- Record layout.
  // REQUIRES: 0 <= Index < FieldCount.
  int FieldOffset(int Index) const {
    platform::Assert(Index >= 0 && Index < FFieldCount,
                     "TDataTable.FieldOffset: (idx >= 0) and (idx < FieldCount), idx: ", Index);
    return FLayout[static_cast<size_t>(Index)].Offset;
  }
  // The sum of the data sizes of the key and ordinary fields.
  int RecordSize() const { return FRecordSize; }
  const std::vector<TFieldDataObject>& Layout() const { return FLayout; }
  TDataRow* DefaultRow() const { return FDefaultRow.get(); }

  // ---- Naming and grouping.
  const std::string& TableName() const { return FTableName; }
  void SetTableName(const std::string& Value);
  TDataTableType* TableType() const { return FTableType; }
  void SetTableType(TDataTableType* Value);
  TDataBridge* DataBridge() const { return FDataBridge; }
  void SetDataBridge(TDataBridge* Value) { FDataBridge = Value; }
  platform::TLangArray& Captions() const { return *FCaptions; }

  // ---- Fields consulted by rows and storages (no operation here sets them
  // but a subclass or a loader may).
  std::vector<TDataField*>& SpecialFields() { return FSpecialFields; }
  const std::vector<TDataField*>& AliasFields() const { return FAliasFields; }
  const std::vector<TDataField*>& AliasTargets() const { return FAliasTargets; }
  // Rows that meet AliasField look at Target of the row itself instead.
  void AddAlias(TDataField* AliasField, TDataField* Target);
  TDataField* RunningNumberField() const { return FRunningNumberField; }
  void SetRunningNumberField(TDataField* Value) { FRunningNumberField = Value; }

  // The table's cache storage: a row storage over this table, made on first
  // request (which locks the table) and kept for the table's life.
  TRowStorage* CacheStorage();
  // The cache storage when it has been made, else none.
  TRowStorage* CacheStorageIfMade() const { return FCacheStorage.get(); }

 private:
  struct TPositionEntry {
    const TDataField* Field = nullptr;
    int Position = -1;
  };
  // The CreateTable steps after construction.
  void BuildFrom(const std::string& Name, TDataTableType* TableType,
                 const std::vector<TDataField*>& Keys, const std::vector<TDataField*>& Fields,
                 TDataBridge* DataBridge);
  // The CreateCopy steps after CreateTable("", TableType, [], [], DataBridge).
  void CopyStructureFrom(const TDataTable& Table);
  int PositionInFields(const TDataField* Field) const;
  // The position below FieldCount found by a linear search, or -1.
  int SearchField(const TDataField* Field) const;
  void RecordTable(TDataField* Field);
  void ForgetTable(TDataField* Field);

  int FKeyCount = 0;
  int FFieldCount = 0;
  std::vector<TDataField*> FFields;
  std::vector<TPositionEntry> FPositionCache;
  std::string FTableName;
  TDataBridge* FDataBridge = nullptr;
  std::unique_ptr<platform::TLangArray> FCaptions;
  TDataTableType* FTableType = nullptr;
  std::vector<TDataField*> FSpecialFields;
  std::vector<TDataField*> FAliasFields;
  std::vector<TDataField*> FAliasTargets;
  std::vector<TFieldDataObject> FLayout;
  int32_t FRecordSize = 0;
  TDataField* FRunningNumberField = nullptr;
  std::unique_ptr<TDataRow> FDefaultRow;
  bool FLocked = false;
  bool FRegistered = false;  // the table registry holds this table
  std::unique_ptr<TRowStorage> FCacheStorage;
};

// The table registered under exactly Name, or null.
TDataTable* FindTableByName(const std::string& Name);

}  // namespace dataframework
