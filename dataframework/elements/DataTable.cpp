#include "dataframework/elements/DataTable.h"

#include <algorithm>
#include <cstdint>

#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/elements/DataBridge.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTableType.h"
#include "dataframework/elements/RowStorage.h"
#include "platform/Assert.h"
#include "platform/DataError.h"
#include "platform/Interruptable.h"
#include "platform/PropInfo.h"

namespace dataframework {

using platform::DataError;
using platform::esFatal;
using platform::esWarning;

const platform::TClass& TDataTable::StaticClass() {
  using namespace platform;
  using T = TDataTable;
  static const TClass Class(
      "TDataTable", &TSingleton::StaticClass(), "DataElements",
      {ClassProp<T, TDataBridge>("DataBridge", &T::DataBridge, &T::SetDataBridge),
       StrProp<T>("TableName", &T::TableName, &T::SetTableName),
       ClassProp<T, TDataTableType>("TableType", &T::TableType, &T::SetTableType)});
  return Class;
}

TDataTable::TDataTable(platform::TComponent* Owner)
    : TSingleton(Owner), FCaptions(std::make_unique<platform::TLangArray>()) {
  BindLanguage(*FCaptions);
  DisplayNames().SetDefaultText(FTableName);
  RebuildLayout();
}

TDataTable::~TDataTable() {
  // The cache's rows refer to this table's layout: they go first.
  FCacheStorage.reset();
  FDefaultRow.reset();
  if (FTableType != nullptr) FTableType->RemoveTable(this);
  if (FRegistered) TableRegistry().Remove(FTableName, this);
  // Fields outlive their tables; a stale entry in their Tables sets would
  // answer for whatever table is made at this address next.
  for (TDataField* field : FFields) ForgetTable(field);
}

std::unique_ptr<TDataTable> TDataTable::CreateTable(const std::string& Name,
                                                    TDataTableType* TableType,
                                                    const std::vector<TDataField*>& Keys,
                                                    const std::vector<TDataField*>& Fields,
                                                    TDataBridge* DataBridge) {
  auto table = std::make_unique<TDataTable>(nullptr);
  // A failure (the "Double field" error) frees the half-built table, whose
  // destructor takes it out of its type, the registry and its fields' sets.
  table->BuildFrom(Name, TableType, Keys, Fields, DataBridge);
  return table;
}

void TDataTable::BuildFrom(const std::string& Name, TDataTableType* TableType,
                           const std::vector<TDataField*>& Keys,
                           const std::vector<TDataField*>& Fields, TDataBridge* DataBridge) {
  SetTableType(TableType);
  SetTableName(Name);
  FDataBridge = DataBridge;
  for (TDataField* key : Keys) {
    if (key != nullptr) key->AddToList(&FFields, true);
  }
  FKeyCount = static_cast<int>(FFields.size());
  for (TDataField* field : Fields) {
    if (field != nullptr) field->AddToList(&FFields, true);
  }
  FFieldCount = static_cast<int>(FFields.size());
  for (int i = 0; i < FFieldCount; ++i) RecordTable(FFields[static_cast<size_t>(i)]);
  RebuildLayout();
  CheckDuplicates();
}

std::unique_ptr<TDataTable> TDataTable::CreateCopy(const TDataTable* Table, TDataBridge* DataBridge,
                                                   TDataTableType* TableType) {
  platform::Assert(Table != nullptr, "TDynaTable.CreateCopy: Table <> nil");
  auto copy = CreateTable("", TableType, {}, {}, DataBridge);
  copy->CopyStructureFrom(*Table);
  return copy;
}

void TDataTable::CopyStructureFrom(const TDataTable& Table) {
  const int all = static_cast<int>(Table.FFields.size());
  for (int i = 0; i < all; ++i) {
    TDataField* field = Table.FFields[static_cast<size_t>(i)];
    if (i < Table.FKeyCount) {
      AddKey(field);
    } else if (i < Table.FFieldCount) {
      AddField(field);
    } else {
      AddIgnore(field);
    }
  }
  FAliasFields = Table.FAliasFields;
  FAliasTargets = Table.FAliasTargets;
  FRunningNumberField = Table.FRunningNumberField;
  FCaptions->Assign(Table.FCaptions.get());
}

// ---- Virtual operations.

bool TDataTable::HasSpecialField(const TDataField* Field) const {
  return std::find(FSpecialFields.begin(), FSpecialFields.end(), Field) != FSpecialFields.end();
}

int TDataTable::DeleteData(TQuiltPatch* Patch) {
  platform::Assert(FDataBridge != nullptr, "TDataTable.DeleteData: DataBridge <> nil");
  auto progress = std::make_unique<platform::TInterruptable>();
  std::unique_ptr<TQuiltPatch> empty;
  if (Patch == nullptr) {
    empty = std::make_unique<TQuiltPatch>();
    Patch = empty.get();
  }
  FDataBridge->DeleteData(this, Patch, progress.get());
  return progress->Counter(3);
}

std::unique_ptr<TDataTable> TDataTable::CreateCopy(TDataBridge* DataBridge,
                                                   TDataTableType* TableType) const {
  return CreateCopy(this, DataBridge, TableType);
}

// ---- Structure.

void TDataTable::CheckLocked() const {
  if (FLocked) {
    DataError(esFatal, "DynaTable",
              "TDynaTable.CheckLocked: DynaTable's structure is locked! It cannot be changed!");
  }
}

int TDataTable::PositionInFields(const TDataField* Field) const {
  auto it = std::find(FFields.begin(), FFields.end(), Field);
  return it == FFields.end() ? -1 : static_cast<int>(it - FFields.begin());
}

void TDataTable::RecordTable(TDataField* Field) {
  Field->Tables().Add(this);
}

void TDataTable::ForgetTable(TDataField* Field) {
  Field->Tables().Delete(this);
}

void TDataTable::AddKey(TDataField* Field) {
  CheckLocked();
  platform::Assert(Field != nullptr, "TDynaTable.AddKey: Field <> nil");
  const int p = PositionInFields(Field);
  if (p >= FFieldCount) {
    FFields.erase(FFields.begin() + p);
  } else if (p >= 0) {
    DataError(esFatal, "AddField",
              "TDynaTable.AddKey: Field " + Field->FieldName() + " already exists in table!");
  } else {
    RecordTable(Field);
  }
  FFields.insert(FFields.begin() + FKeyCount, Field);
  ++FKeyCount;
  ++FFieldCount;
  RebuildLayout();
}

void TDataTable::AddField(TDataField* Field) {
  CheckLocked();
  platform::Assert(Field != nullptr, "TDynaTable.AddField: Field <> nil");
  const int p = PositionInFields(Field);
  if (p >= FFieldCount) {
    FFields.erase(FFields.begin() + p);
  } else if (p >= 0) {
    DataError(esFatal, "AddField",
              "TDynaTable.AddField: Field " + Field->FieldName() + " already exists in table!");
  } else {
    RecordTable(Field);
  }
  FFields.insert(FFields.begin() + FFieldCount, Field);
  ++FFieldCount;
  RebuildLayout();
}

void TDataTable::AddIgnore(TDataField* Field) {
  CheckLocked();
  platform::Assert(Field != nullptr, "TDynaTable.AddIgnore: Field <> nil");
  if (PositionInFields(Field) >= 0) {
    DataError(esFatal, "AddField",
              "TDynaTable.AddIgnore: Field " + Field->FieldName() + " already exists in table!");
  }
  RecordTable(Field);
  FFields.push_back(Field);
  RebuildLayout();
}

void TDataTable::RemoveDataField(TDataField* Field) {
  CheckLocked();
  platform::Assert(Field != nullptr, "TDynaTable.RemoveDataField: AField <> nil");
  const int p = PositionInFields(Field);
  if (p < 0) return;
  ForgetTable(Field);
  FFields.erase(FFields.begin() + p);
  if (p < FKeyCount) --FKeyCount;
  if (p < FFieldCount) --FFieldCount;
  RebuildLayout();
}

void TDataTable::MoveField(TDataField* Field, int NewIndex) {
  CheckLocked();
  platform::Assert(Field != nullptr, "TDynaTable.MoveField: ADataField <> nil");
  const int p = PositionInFields(Field);
  const int count = static_cast<int>(FFields.size());
  if (p == -1) {
    if (NewIndex < FKeyCount) {
      DataError(esFatal, "DynaTable", "TDynaTable.MoveField: Cannot add field into key area");
    }
    platform::Assert(
        NewIndex <= count,
        "TDynaTable.MoveField: (NewIndex >= 0) and (NewIndex <= Count), idx: ", NewIndex);
    RecordTable(Field);
    FFields.insert(FFields.begin() + NewIndex, Field);
    if (FFieldCount >= NewIndex) ++FFieldCount;
  } else if (p < FKeyCount) {
    if (NewIndex < FKeyCount - 1) {
      DataError(esFatal, "DynaTable", "TDynaTable.MoveField: Cannot move field into key area");
    }
    platform::Assert(
        NewIndex < count,
        "TDynaTable.MoveField: (NewIndex >= 0) and (NewIndex < Count), idx: ", NewIndex);
    FFields.erase(FFields.begin() + p);
    FFields.insert(FFields.begin() + NewIndex, Field);
    --FKeyCount;
  } else {
    if (NewIndex < FKeyCount) {
      DataError(esFatal, "DynaTable", "TDynaTable.MoveKey: Cannot move key into field area");
    }
    platform::Assert(
        NewIndex < count,
        "TDynaTable.MoveField: (NewIndex >= 0) and (NewIndex < Count), idx: ", NewIndex);
    FFields.erase(FFields.begin() + p);
    FFields.insert(FFields.begin() + NewIndex, Field);
    if (p >= FFieldCount) ++FFieldCount;
  }
  RebuildLayout();
}

void TDataTable::RebuildLayout() {
  FPositionCache.clear();
  FLayout.clear();
  int32_t sum = 0;
  for (int i = 0; i < FFieldCount; ++i) {
    const TDataField* field = FFields[static_cast<size_t>(i)];
    FLayout.push_back(TFieldDataObject{sum});
    if (field != nullptr && field->DataType() != nullptr) sum += field->DataType()->DataSize();
    if (field == nullptr) continue;
    const size_t h = static_cast<size_t>(BucketOf(field));
    if (FPositionCache.size() <= h) FPositionCache.resize(h + 1);
    FPositionCache[h] = TPositionEntry{field, i};
  }
  FRecordSize = sum;
  FDefaultRow.reset();
  FDefaultRow = TDataRow::Create(this);
}

void TDataTable::CheckDuplicates() const {
  for (int i = 0; i < FFieldCount; ++i) {
    const TDataField* field = FFields[static_cast<size_t>(i)];
    if (IndexOfField(field) != i) {
      throw platform::Exception("Double field: " + field->FieldName() + " " + field->HeadingText() +
                                " (index: " + std::to_string(i) + ")");
    }
  }
}

// ---- Fields and positions.

TDataField* TDataTable::GetField(int Index) const {
  platform::Assert(Index >= 0 && Index < static_cast<int>(FFields.size()),
                   "TDataTable.GetField: (idx >= 0) and (idx < FieldCount + IgnoreFieldCount), "
                   "idx: ",
                   Index);
  return FFields[static_cast<size_t>(Index)];
}

int TDataTable::SearchField(const TDataField* Field) const {
  const int p = PositionInFields(Field);
  return p < FFieldCount ? p : -1;
}

int TDataTable::IndexOfFieldOrLookup(const TDataField* Field) const {
  const int p = IndexOfField(Field);
  if (p >= 0) return p;
  for (int i = 0; i < FFieldCount; ++i) {
    if (FFields[static_cast<size_t>(i)]->LookupKey() == Field) return i;
  }
  return -1;
}

bool TDataTable::TableHasField(const TDataField* Field) const {
  platform::Assert(Field != nullptr, "TDataTable.TableHasField: Field <> nil");
  return IndexOfField(Field) >= 0;
}

bool TDataTable::TableHasKey(const TDataField* Field) const {
  platform::Assert(Field != nullptr, "TDataTable.TableHasKey: Field <> nil");
  const int p = IndexOfField(Field);
  return p >= 0 && p < FKeyCount;
}

TDataField* TDataTable::ResolveField(TDataField* Field) const {
  // The lookup chain may come back to a field already passed: then no field
  // of this table lies on it.
  std::vector<const TDataField*> seen;
  while (Field != nullptr && !TableHasField(Field)) {
    if (std::find(seen.begin(), seen.end(), Field) != seen.end()) return nullptr;
    seen.push_back(Field);
    Field = Field->GetLookupField();
  }
  return Field;
}

TDataField* TDataTable::OwnKey() const {
  if (FKeyCount == 0) return nullptr;
  TDataField* key = FFields[static_cast<size_t>(FKeyCount - 1)];
  return key->AuxTable() == this ? key : nullptr;
}

// ---- Naming and grouping.

void TDataTable::SetTableName(const std::string& Value) {
  if (Value == FTableName) return;
  const std::string old = FTableName;
  for (platform::TLangArray* array : {FCaptions.get(), &DisplayNames()}) {
    if (array->DefaultText() == old) array->SetDefaultText(Value);
  }
  if (FRegistered) TableRegistry().Remove(old, this);
  FRegistered = false;
  FTableName = Value;
  if (!Value.empty() && FTableType != nullptr) {
    FRegistered = TableRegistry().Add(Value, this);
    if (!FRegistered) DataError(esWarning, "Duplicates", "Duplicate tables: " + Value);
  }
  if (FTableType != nullptr) FTableType->TableRenamed(this);
}

void TDataTable::SetTableType(TDataTableType* Value) {
  if (Value == FTableType) return;
  if (FTableType != nullptr) FTableType->RemoveTable(this);
  FTableType = Value;
  if (Value != nullptr) Value->AddTable(this);
}

void TDataTable::AddAlias(TDataField* AliasField, TDataField* Target) {
  FAliasFields.push_back(AliasField);
  FAliasTargets.push_back(Target);
}

TRowStorage* TDataTable::CacheStorage() {
  if (!FCacheStorage) FCacheStorage = std::make_unique<TRowStorage>(this);
  return FCacheStorage.get();
}

TDataTable* FindTableByName(const std::string& Name) {
  return static_cast<TDataTable*>(TableRegistry().Find(Name));
}

}  // namespace dataframework
