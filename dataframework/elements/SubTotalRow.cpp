#include "dataframework/elements/SubTotalRow.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "dataframework/conditions/Condition.h"
#include "dataframework/conditions/Criteria.h"
#include "dataframework/elements/AbstractRowStorage.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/RowStorage.h"
#include "dataframework/elements/RowStorageTreeKey.h"
#include "dataframework/elements/RunningNumberGenerator.h"
#include "dataframework/elements/SubTotalHandler.h"
#include "dataframework/elements/internal/RowFieldKinds.h"
#include "dataframework/elements/internal/SubTotalChildren.h"
#include "platform/Assert.h"
#include "platform/DataError.h"

namespace dataframework {

namespace {

const TCriteria* KeyCriteriaOf(const TAbstractRowStorage* Storage) {
  if (Storage == nullptr || !Storage->IsRowStorage()) return nullptr;
  return static_cast<const TRowStorage*>(Storage)->KeyCriteria();
}

bool KeyCriteriaFixes(const TAbstractRowStorage* Storage, const TDataField* Field) {
  const TCriteria* criteria = KeyCriteriaOf(Storage);
  TValue v;
  return criteria != nullptr && criteria->HasOnlyValue(Field, v);
}

// The generator of a table's running numbers.
const TRunningNumberGenerator& GeneratorOf(const TDataField* /*RunningNumberField*/) {
  return DefaultRunningNumberGenerator();
}

}  // namespace

// ---- Construction and destruction.

TSubTotalRow::TSubTotalRow(TAbstractRowStorage* Storage, TRowStorageTreeKey* Level,
                           const TDataType* KeyType, size_t ObjectSize)
    : TAbstractRow(Storage->Table(), ObjectSize, true),
      FLevel(Level),
      FChildren(std::make_unique<TSubTotalChildren>(KeyType)) {}

int TSubTotalRow::ChildCount() const noexcept {
  return FChildren->Count();
}
TAbstractRow* TSubTotalRow::Child(int Index) const noexcept {
  return FChildren->Row(Index);
}
TValue TSubTotalRow::ChildKey(int Index) const {
  return FChildren->Key(Index);
}
bool TSubTotalRow::FindChild(const TValue& KeyValue, int& Index) const {
  return FChildren->Find(KeyValue, Index);
}
void TSubTotalRow::DetachChild(int Index) {
  FChildren->Delete(Index);
}
void TSubTotalRow::ClearChildRow(int Index) {
  FChildren->SetRow(Index, nullptr);
}

std::unique_ptr<TSubTotalRow> TSubTotalRow::Create(TAbstractRowStorage* Storage, bool Visible,
                                                   const TValue& KeyValue, TSubTotalRow* Parent) {
  platform::Assert(Storage != nullptr, "TSubTotalRow.Create: Storage <> nil");
  const int levelIndex = Parent != nullptr ? Parent->LevelIndex() + 1 : 0;
  platform::Assert(levelIndex < Storage->TreeKeyCount(),
                   "TSubTotalRow.Create: (idx >= 0) and (idx < TreeKeyCount), idx: ", levelIndex);
  TRowStorageTreeKey* level = &Storage->GetTreeKey(levelIndex);
  TDataTable* table = Storage->Table();
  std::unique_ptr<TSubTotalRow> row(new (RoomFor(table)) TSubTotalRow(
      Storage, level, level->Field()->DataType(), sizeof(TSubTotalRow)));
  if (table->DefaultRow() != nullptr) row->CopyRecordFrom(*table->DefaultRow());
  row->SetStorage(Storage);
  row->SetParent(Parent);
  row->FVisible = Visible;
  TValue empty;
  for (int j = 0; j < Storage->TreeKeyCount(); ++j) {
    const TRowStorageTreeKey& key = Storage->GetTreeKey(j);
    if (key.FieldIndex() >= 0) continue;
    key.Field()->DataType()->DefaultValue(empty);
    row->FExtraKeyValues.AddValue(empty);
  }
  if (Parent != nullptr) {
    for (int j = 0; j <= levelIndex - 2; ++j) {
      const int p = Storage->GetTreeKey(j).FieldIndex();
      if (p < 0) continue;
      const int size = table->GetField(p)->DataType()->DataSize();
      std::memcpy(row->Record() + table->FieldOffset(p), Parent->Record() + table->FieldOffset(p),
                  static_cast<size_t>(size));
    }
    const int p = Parent->Level()->FieldIndex();
    if (p >= 0) row->WriteIndexRaw(p, KeyValue);
  }
  if (const TCriteria* criteria = KeyCriteriaOf(Storage)) {
    TValue fixed;
    for (int k = 0; k < table->KeyCount(); ++k)
      if (criteria->HasOnlyValue(table->GetField(k), fixed)) row->WriteIndexRaw(k, fixed);
  }
  return row;
}

TSubTotalRow::~TSubTotalRow() {
  for (int i = 0; i < FChildren->Count(); ++i) delete FChildren->Row(i);
}

TDataField* TSubTotalRow::LevelField() const {
  return FLevel->Field();
}

int TSubTotalRow::LevelIndex() const {
  return FLevel->LevelIndex();
}

bool TSubTotalRow::IsLastLevel() const {
  return Storage()->TreeKeyCount() == LevelIndex() + 1;
}

// ---- Row operations.

bool TSubTotalRow::HasDataRows() const {
  for (int i = 0; i < ChildCount(); ++i)
    if (const TAbstractRow* child = Child(i); child != nullptr && child->HasDataRows()) return true;
  return false;
}

TSetResult TSubTotalRow::SetIndexValueEx(int Index, const TValue& Value, TSetAction Action) {
  TAbstractRowStorage* storage = Storage();
  if (storage == nullptr)
    platform::DataError(platform::esFatal, "Subtotals", "Subtotal isn't in a storage!");
  TDataField* field = Table()->GetField(Index);
  // A spread writes many rows: the listeners act once it is over.
  TAbstractRowStorage::TChangeScope scope(storage);
  if (storage->IsLooseRow(this)) {
    if (storage->TreeKeyOf(field) == nullptr) return srReadOnly;
    WriteIndexRaw(Index, Value);
    RefreshExtraKeys();
    return srOk;
  }
  return storage->SubTotalHandlerOf().SetSubTotalValue(storage, this, Action, Value, field);
}

void TSubTotalRow::CollectRows(platform::TStrings* List, TCondition* Condition, bool Sort) {
  if (Condition != nullptr && !Condition->AcceptsRow(this, nullptr)) return;
  const TAbstractRowStorage* storage = Storage();
  const bool flat = storage->FlatMode();
  const bool below = storage->TotalsBelow();
  if (Visible() && !flat && !below) List->AddObject(std::string(), this);
  std::vector<int> order;
  ViewOrder(Sort, order);
  for (int i : order) Child(i)->CollectRows(List, Condition, Sort);
  if (Visible() && !flat && below) List->AddObject(std::string(), this);
}

void TSubTotalRow::ViewOrder(bool Sort, std::vector<int>& Order) const {
  std::vector<int>& order = Order;
  order.clear();
  order.reserve(static_cast<size_t>(ChildCount()));
  for (int i = 0; i < ChildCount(); ++i)
    if (Child(i) != nullptr) order.push_back(i);
  if (Sort && order.size() >= 2) {
    TDataField* sortField = FLevel->SortField();
    const bool descending = FLevel->Direction() == soDescending;
    if (sortField != nullptr && sortField != FLevel->Field()) {
      // By the level's sort field, ties by the key ascending.
      std::vector<TValue> values(static_cast<size_t>(ChildCount()));
      for (int i : order) Child(i)->GetFieldValue(sortField, values[static_cast<size_t>(i)]);
      const TDataType* type = sortField->DataType();
      std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        int c = type->Compare(values[static_cast<size_t>(a)], values[static_cast<size_t>(b)]);
        if (descending) c = -c;
        return c != 0 ? c < 0 : a < b;
      });
    } else if (descending) {
      std::reverse(order.begin(), order.end());
    }
  }
}

int TSubTotalRow::CountState(TRowState State) const {
  int n = 0;
  for (int i = 0; i < ChildCount(); ++i)
    if (const TAbstractRow* child = Child(i)) n += child->CountState(State);
  return n;
}

int TSubTotalRow::KeyLevelCount() const {
  return LevelIndex();
}

void TSubTotalRow::BeforeRead(TDataField* Field) const {
  if (!FTotalsValid && Field != nullptr && Field->IsAggregable())
    const_cast<TSubTotalRow*>(this)->RecalcTotals();
}

void TSubTotalRow::CollectState(platform::TStrings* List, TRowState State) {
  for (int i = 0; i < ChildCount(); ++i)
    if (TAbstractRow* child = Child(i)) child->CollectState(List, State);
}

void TSubTotalRow::ExpandInList(platform::TStrings* List, int& Position) {
  List->Delete(Position);
  for (int i = 0; i < ChildCount(); ++i) {
    TAbstractRow* child = Child(i);
    if (child == nullptr) continue;
    List->InsertObject(Position, std::string(), child);
    child->ExpandInList(List, Position);
  }
}

int TSubTotalRow::IndexOfField(const TDataField* Field) const {
  platform::Assert(Field != nullptr, "TSubTotalRow.IndexOfField: Field <> nil");
  const int p = Table()->IndexOfField(Field);
  if (p < 0 || p >= Table()->KeyCount()) return p;
  for (int j = 0; j < LevelIndex(); ++j)
    if (Storage()->GetTreeKey(j).Field() == Field) return p;
  return KeyCriteriaFixes(Storage(), Field) ? p : -1;
}

bool TSubTotalRow::CanWrite(TDataField* Field, std::string& Reason) {
  TAbstractRowStorage* storage = Storage();
  TSubTotalHandler& handler =
      storage != nullptr ? storage->SubTotalHandlerOf() : *DefaultSubTotalHandler();
  return handler.CheckSet(storage, this, Reason, Field);
}

bool TSubTotalRow::IsChanged() const {
  for (int i = 0; i < ChildCount(); ++i)
    if (const TAbstractRow* child = Child(i); child != nullptr && child->IsChanged()) return true;
  return false;
}

bool TSubTotalRow::AllVisible() const {
  for (int i = 0; i < ChildCount(); ++i)
    if (const TAbstractRow* child = Child(i); child != nullptr && !child->AllVisible())
      return false;
  return true;
}

bool TSubTotalRow::FieldHasValue(TDataField* Field) const {
  platform::Assert(Field != nullptr, "TSubTotalRow.FieldHasValue: Field <> nil");
  const int p = Table()->IndexOfField(Field);
  if (p < 0) {
    if (rowkinds::IsClosed(Field)) return rowkinds::ClosureHasValues(Field, this);
    return rowkinds::IsCalculated(Field) && rowkinds::LegalForSubTotals(Field);
  }
  if (p >= Table()->KeyCount()) return Field->IsAggregable();
  if (KeyCriteriaFixes(Storage(), Field)) return true;
  for (int j = 0; j < LevelIndex(); ++j)
    if (Storage()->GetTreeKey(j).Field() == Field) return true;
  return false;
}

// ---- Children.

int TSubTotalRow::IndexOfChild(const TAbstractRow* Row) const {
  if (Row == nullptr) return -1;
  try {
    TValue key;
    FLevel->GetValue(Row, key);
    int i;
    if (FChildren->Find(key, i) && FChildren->Row(i) == Row) return i;
  } catch (const platform::EAssertionFailed&) {
    throw;
  } catch (const std::exception&) {
    // fall back to the search by identity
  }
  return FChildren->IndexOfRow(Row);
}

int TSubTotalRow::AddChild(const TValue& KeyValue, TAbstractRow* Row) {
  platform::Assert(Row != nullptr, "TSubTotalRow.AddChild: Row <> nil");
  int i;
  if (FChildren->Find(KeyValue, i) && FChildren->Row(i) == nullptr) {
    FChildren->SetRow(i, Row);
  } else {
    i = FChildren->Add(KeyValue, Row);
  }
  Row->SetStorage(Storage());
  Row->SetParent(this);
  return i;
}

void TSubTotalRow::RemoveChild(TAbstractRow* Row, bool RemoveEmpty) {
  TAbstractRowStorage::TChangeScope scope(Storage());
  const int i = IndexOfChild(Row);
  if (i >= 0) {
    if (Storage() != nullptr) Storage()->RowChanged(rcRemoved, Row, -1);
    FChildren->Delete(i);
    if (Row->IsSubTotal()) delete Row;
    // Totals are stale even when no child is left (an empty root reads 0).
    MarkDirty();
  }
  if (FChildren->Count() == 0 && RemoveEmpty && Parent() != nullptr) {
    Parent()->RemoveChild(this, true);  // frees this row
    return;
  }
  if (FChildren->Count() > 0) MarkDirty();
}

void TSubTotalRow::ClearChildren() {
  for (int i = 0; i < FChildren->Count(); ++i) delete FChildren->Row(i);
  FChildren->Clear();
  MarkDirty();
}

void TSubTotalRow::PruneEmptyEntries() {
  if (FChildren->DeleteEmpty() > 0) MarkDirty();
}

// ---- Totals and keys.

void TSubTotalRow::MarkDirty() noexcept {
  for (TSubTotalRow* row = this; row != nullptr; row = row->Parent()) row->FTotalsValid = false;
}

void TSubTotalRow::StoreTotal(void* UserData, int Index, const TValue& Value) {
  static_cast<TSubTotalRow*>(UserData)->WriteIndexRaw(Index, Value);
}

void TSubTotalRow::RecalcTotals() {
  if (FTotalsValid) return;
  TAbstractRowStorage* storage = Storage();
  storage->SubTotalHandlerOf().RunComputeTotals(storage, this, &StoreTotal, this);
  FTotalsValid = true;
}

void TSubTotalRow::RefreshExtraKeys() {
  TAbstractRowStorage* storage = Storage();
  TValue value;
  for (int j = 0; j <= LevelIndex() - 2; ++j) {
    const TRowStorageTreeKey& key = storage->GetTreeKey(j);
    if (key.FieldIndex() >= 0) continue;
    FRefreshingField = key.Field();
    try {
      GetFieldValue(key.Field(), value);
    } catch (const platform::EAssertionFailed&) {
      FRefreshingField = nullptr;
      throw;
    } catch (const std::exception&) {
      key.Field()->DataType()->DefaultValue(value);
    }
    FRefreshingField = nullptr;
    FExtraKeyValues.PutValue(storage->ExtraKeyIndex(key.Field()), value);
  }
}

void TSubTotalRow::SumChildren(TDataField* Field, TValue& Value) const {
  bool first = true;
  TValue v;
  for (int i = 0; i < ChildCount(); ++i) {
    const TAbstractRow* child = Child(i);
    if (child == nullptr) continue;
    if (first) {
      child->GetFieldValue(Field, Value);
      first = false;
    } else {
      child->GetFieldValue(Field, v);
      Field->DataType()->Sum(Value, v, Value);
    }
  }
  if (first) Value = DoubleValue(0);
}

void TSubTotalRow::SetVisibleAtLevel(int LevelIndexToSet, bool Value) {
  const int own = LevelIndex();
  if (LevelIndexToSet == own) {
    SetVisible(Value);
  } else if (LevelIndexToSet == own + 1) {
    for (int i = 0; i < ChildCount(); ++i)
      if (TAbstractRow* child = Child(i)) child->SetVisible(Value);
  } else if (!IsLastLevel() && LevelIndexToSet > own) {
    for (int i = 0; i < ChildCount(); ++i)
      if (TAbstractRow* child = Child(i))
        static_cast<TSubTotalRow*>(child)->SetVisibleAtLevel(LevelIndexToSet, Value);
  }
}

void TSubTotalRow::SetChildrenVisible(bool Value, bool Recursive) {
  const bool deeper = Recursive && !IsLastLevel();
  for (int i = 0; i < ChildCount(); ++i) {
    TAbstractRow* child = Child(i);
    if (child == nullptr) continue;
    child->SetVisible(Value);
    if (deeper) static_cast<TSubTotalRow*>(child)->SetChildrenVisible(Value, true);
  }
}

bool TSubTotalRow::TreeKeyValue(const TAbstractRow* Row, TDataField* Field, TValue& Value) {
  while (Row->Parent() != nullptr) {
    const TSubTotalRow* parent = Row->Parent();
    if (parent->LevelField() == Field) {
      const int i = parent->FChildren->IndexOfRow(Row);
      if (i < 0) return false;
      parent->FChildren->GetKey(i, Value);
      return true;
    }
    Row = parent;
  }
  const TAbstractRowStorage* storage = Row->Storage();
  if (storage == nullptr || !storage->IsLooseRow(Row)) return false;
  const TRowStorageTreeKey* key = storage->TreeKeyOf(Field);
  if (key == nullptr || Field == nullptr) return false;
  const auto* subtotal = Row->IsSubTotal() ? static_cast<const TSubTotalRow*>(Row) : nullptr;
  if (subtotal != nullptr && Field == subtotal->RefreshingField()) return false;
  const int rowLevel = subtotal != nullptr ? subtotal->LevelIndex() : storage->TreeKeyCount();
  if (rowLevel <= key->LevelIndex()) {
    Field->DataType()->DefaultValue(Value);
  } else if (const int p = Row->Table()->IndexOfField(Field); p >= 0) {
    Row->GetIndexValue(p, Value);
  } else if (subtotal != nullptr) {
    Value = subtotal->FExtraKeyValues.GetValue(storage->ExtraKeyIndex(Field));
  } else {
    Field->DataType()->DefaultValue(Value);
  }
  return true;
}

// ---- The tree algorithms.

TPutResult TSubTotalRow::PutRow(TDataRow* Row, TPutAction Action) {
  return Descend(Row, Action, false);
}

TPutResult TSubTotalRow::ReinsertRow(TDataRow* Row, TPutAction Action) {
  return Descend(Row, Action, true);
}

TPutResult TSubTotalRow::Descend(TDataRow* Row, TPutAction Action, bool Reinsert) {
  TDataField* levelField = LevelField();
  const bool running =
      !Reinsert && levelField != nullptr && levelField == Table()->RunningNumberField();
  const int runningIndex = running ? FLevel->FieldIndex() : -1;
  TValue saved;
  if (running && runningIndex >= 0) {
    Row->GetIndexValue(runningIndex, saved);
    std::vector<TValue> siblings;
    FChildren->CopyKeysTo(siblings);
    TValue number;
    GeneratorOf(levelField).NextNumber(*Table(), siblings, number);
    Row->WriteIndexRaw(runningIndex, number);
  }
  TValue key;
  FLevel->GetValue(Row, key);
  int i;
  const bool found = FChildren->Find(key, i);
  TPutResult result;
  if (IsLastLevel()) {
    if (!found) {
      FChildren->Insert(i, key, Row);
      Row->SetStorage(Storage());
      Row->SetParent(this);
      MarkDirty();
      result = prOk;
    } else {
      result = Conflict(Row, Action, i);
    }
  } else {
    auto* child = found ? static_cast<TSubTotalRow*>(Child(i)) : nullptr;
    const bool made = child == nullptr;
    if (made) {
      const bool visible = Storage()->GetTreeKey(LevelIndex() + 1).Visible();
      std::unique_ptr<TSubTotalRow> level = Storage()->CreateSubTotal(this, key, visible);
      child = level.get();
      if (found) {
        FChildren->SetRow(i, level.release());
      } else {
        FChildren->Insert(i, key, level.release());
      }
    }
    try {
      result = child->Descend(Row, Action, Reinsert);
    } catch (...) {
      // A level made for this row must not stay behind empty.
      if (made && child->ChildCount() == 0) RemoveChild(child, false);
      throw;
    }
  }
  if (running && runningIndex >= 0 &&
      (result == prValuesMissing || result == prKeyConflict || result == prIllegalKeyValue ||
       result == prCannotAdd))
    Row->WriteIndexRaw(runningIndex, saved);
  return result;
}

void TSubTotalRow::Overwrite(TDataRow* Row, int Index) {
  TAbstractRow* existing = Child(Index);
  if (existing != nullptr && !existing->IsSubTotal())
    static_cast<TDataRow*>(existing)->Delete(false);
  FChildren->SetRow(Index, Row);
  Row->SetStorage(Storage());
  Row->SetParent(this);
  MarkDirty();
}

TPutResult TSubTotalRow::Conflict(TDataRow* Row, TPutAction Action, int Index) {
  TAbstractRow* existing = Child(Index);
  if (existing == nullptr) {
    // A key left without row by a delete is free.
    Overwrite(Row, Index);
    return prOk;
  }
  // Putting a stored row onto its own entry would free it while it is used.
  if (existing == Row) return prKeyConflict;
  switch (Action) {
    case paOverwrite:
      Overwrite(Row, Index);
      return prKeyOverwrited;
    case paOverwriteChanged: {
      TValue mine;
      TValue theirs;
      for (int b = Table()->KeyCount(); b < Table()->FieldCount(); ++b) {
        Row->GetIndexValue(b, mine);
        existing->GetIndexValue(b, theirs);
        if (!Table()->GetField(b)->DataType()->Equals(mine, theirs)) {
          Overwrite(Row, Index);
          return prKeyOverwrited;
        }
      }
      return prCannotAdd;
    }
    case paAddStrict:
    case paAddKeep:
    case paAddFill:
    case paAddTake:
      try {
        Row->AddValues(existing, static_cast<int>(Action) - static_cast<int>(paAddStrict));
        Overwrite(Row, Index);
      } catch (const platform::EAssertionFailed&) {
        throw;
      } catch (const std::exception&) {
        return prCannotAdd;
      }
      return prRowsAdded;
    case paRefuse:
    case paReinsert:
      return prKeyConflict;
    default:
      platform::DataError(platform::esFatal, "PutRow",
                          "Unknown PutAction (" + std::to_string(static_cast<int>(Action)) + ")!");
      return prCannotAdd;
  }
}

bool TSubTotalRow::RemoveRow(TAbstractRow* Row) {
  TValue key;
  FLevel->GetValue(Row, key);
  int i;
  if (!FChildren->Find(key, i)) return false;
  if (IsLastLevel()) {
    // Only the row itself (or a key without row) leaves; another row filed
    // under the same key stays where it is.
    if (Child(i) != nullptr && Child(i) != Row) return false;
    FChildren->Delete(i);
    MarkDirty();
    Row->SetParent(nullptr);
    return true;
  }
  auto* child = static_cast<TSubTotalRow*>(Child(i));
  if (child == nullptr || !child->RemoveRow(Row)) return false;
  if (child->ChildCount() == 0) {
    FChildren->Delete(i);
    delete child;
  }
  MarkDirty();
  return true;
}

TAbstractRow* TSubTotalRow::LocateByRowValues(const TAbstractRow* Row,
                                              std::span<TDataField* const> Fields) {
  TDataField* levelField = LevelField();
  TDataField* field = levelField;
  for (TDataField* f : Fields) {
    if (f != nullptr && f->LookupKey() == levelField) {
      field = f;
      break;
    }
  }
  TValue value;
  bool readable = true;
  try {
    Row->GetFieldValue(field, value);
  } catch (const platform::EAssertionFailed&) {
    throw;
  } catch (const std::exception&) {
    readable = false;
  }
  if (readable) {
    int i;
    if (!FChildren->Find(value, i)) return nullptr;
    TAbstractRow* child = Child(i);
    if (IsLastLevel() || child == nullptr) return child;
    return static_cast<TSubTotalRow*>(child)->LocateByRowValues(Row, Fields);
  }
  auto warnMany = [&]() {
    platform::DataError(platform::esWarning, "LocateByRowValues",
                        "TSubTotalRow.LocateByRowValues: Found multiple matching values for " +
                            Row->Table()->TableName() + "Row " + Row->KeyDescription(nullptr) +
                            " when looking for match in table " + Table()->TableName() + ".");
  };
  if (IsLastLevel()) {
    if (ChildCount() == 1) return Child(0);
    if (ChildCount() >= 2) warnMany();
    return nullptr;
  }
  TAbstractRow* found = nullptr;
  for (int i = 0; i < ChildCount(); ++i) {
    auto* child = static_cast<TSubTotalRow*>(Child(i));
    if (child == nullptr) continue;
    TAbstractRow* row = child->LocateByRowValues(Row, Fields);
    if (row == nullptr) continue;
    if (found != nullptr) {
      warnMany();
      return nullptr;
    }
    found = row;
  }
  return found;
}

}  // namespace dataframework
