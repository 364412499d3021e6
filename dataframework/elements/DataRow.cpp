#include "dataframework/elements/DataRow.h"

#include "dataframework/conditions/Condition.h"
#include "dataframework/conditions/Criteria.h"
#include "dataframework/elements/AbstractRowStorage.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/RowStorage.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/elements/internal/RowFieldKinds.h"
#include "platform/Assert.h"
#include "platform/DataError.h"

namespace dataframework {

namespace {

// The row and its record take one block; keep the header small.
static_assert(sizeof(TDataRow) <= 56, "a data row's header grew");

bool IsExternState(TRowState State) {
  return State == rsExtern || State == rsExternControlled;
}

}  // namespace

// ---- Construction.

std::unique_ptr<TDataRow> TDataRow::Create(TDataTable* Table) {
  platform::Assert(Table != nullptr, "TDataRow.Create: DataTable <> nil");
  std::unique_ptr<TDataRow> row(new (RoomFor(Table)) TDataRow(Table, sizeof(TDataRow)));
  for (int i = 0; i < Table->FieldCount(); ++i) {
    const TDataField* field = Table->GetField(i);
    if (field != nullptr && field->DataType() != nullptr)
      row->WriteIndexValue(i, field->DefaultValue());
  }
  return row;
}

std::unique_ptr<TDataRow> TDataRow::CreateFromDefaults(TDataTable* Table) {
  platform::Assert(Table != nullptr, "TDataRow.Create: DataTable <> nil");
  if (Table->DefaultRow() == nullptr) return Create(Table);
  std::unique_ptr<TDataRow> row(new (RoomFor(Table)) TDataRow(Table, sizeof(TDataRow)));
  row->CopyRecordFrom(*Table->DefaultRow());
  return row;
}

// ---- Row operations.

void TDataRow::CollectRows(platform::TStrings* List, TCondition* Condition, bool) {
  if (Visible() && (Condition == nullptr || Condition->AcceptsRow(this, nullptr)))
    List->AddObject(std::string(), this);
}

int TDataRow::KeyLevelCount() const {
  return Storage() != nullptr ? Storage()->TreeKeyCount() : Table()->KeyCount();
}

void TDataRow::CollectState(platform::TStrings* List, TRowState State) {
  if (FState == State) List->AddObject(std::string(), this);
}

void TDataRow::ExpandInList(platform::TStrings*, int& Position) {
  ++Position;
}

bool TDataRow::CanWrite(TDataField*, std::string&) {
  return true;
}

bool TDataRow::IsChanged() const {
  return FState == rsModified || FState == rsDeleted || FState == rsInserted;
}

bool TDataRow::FieldHasValue(TDataField* Field) const {
  try {
    TValue v;
    GetFieldValue(Field, v);
    return true;
  } catch (const platform::EAssertionFailed&) {
    throw;
  } catch (const std::exception&) {
    return false;
  }
}

bool TDataRow::InTree() const noexcept {
  return Storage() != nullptr && !IsExternState(FState) && FState != rsDeleted;
}

// ---- The central write.

TSetResult TDataRow::SetIndexValueEx(int Index, const TValue& Value, TSetAction Action) {
  platform::Assert(
      Index >= 0 && Index < Table()->FieldCount(),
      "TDataRow.SetIndexValue: (idx >= 0) and (idx < DataTable.FieldCount), idx: ", Index);
  TDataField* field = Table()->GetField(Index);
  if (rowkinds::IsFictive(field))
    platform::DataError(platform::esWarning, "FictiveField",
                        "Assignment to fictive fields are not allowed");
  TAbstractRowStorage* storage = Storage();
  // A free row outside any storage has nobody to tell: the value goes
  // straight into the record (writing an equal value again changes nothing).
  if (storage == nullptr && Parent() == nullptr && IsExternState(FState) &&
      !rowkinds::IsFictive(field)) {
    try {
      if (field != Table()->RunningNumberField()) WriteIndexValue(Index, Value);
    } catch (const TypeException&) {
      throw;
    } catch (const platform::EAssertionFailed&) {
      throw;
    } catch (const std::exception&) {
      return srInvalidValue;
    }
    return srOk;
  }
  bool unknownAction = false;
  TSetResult result = srOk;
  // A key write sends several notes; the listeners act once it is over.
  TAbstractRowStorage::TChangeScope scope(storage);
  try {
    TValue old;
    GetIndexValue(Index, old);
    if (field->DataType()->Equals(old, Value)) return srOk;
    if (storage != nullptr && storage->IsRowStorage()) {
      auto* rowStorage = static_cast<TRowStorage*>(storage);
      if (!rowStorage->CriteriaCoversFields()) {
        if (Index < Table()->KeyCount()) return srInvalidValue;
      } else if (!storage->IsLooseRow(this)) {
        const TCriteria* keys = rowStorage->KeyCriteria();
        if (keys != nullptr) {
          // Only a restricted key can change the answer; test the row with
          // the new value then, else the row as it stands.
          bool accepted;
          if (keys->UsesField(field)) {
            std::unique_ptr<TDataRow> probe = CreateFromDefaults(Table());
            probe->CopyRecordFrom(*this);
            probe->WriteIndexValue(Index, Value);
            accepted = keys->AcceptsRow(probe.get(), nullptr);
          } else {
            accepted = keys->AcceptsRow(this, nullptr);
          }
          if (!accepted) return srInvalidValue;
        }
      }
    }
    if (!InTree() || storage->TreeKeyOf(field) == nullptr) {
      // Plain write: the row does not move.
      const bool aggregable = field->IsAggregable();
      if (aggregable && Parent() != nullptr) Parent()->MarkDirty();
      if (field != Table()->RunningNumberField()) WriteIndexValue(Index, Value);
      if (FState == rsUnchanged) FState = rsModified;
      if (aggregable && Parent() != nullptr) Parent()->MarkDirty();
      if (storage != nullptr) {
        storage->Touch();
        storage->NotifyValuesChanged(*this);
      }
      return srOk;
    }
    if (Action != saRefuse && Action != saOverwrite) {
      unknownAction = true;
    } else {
      result = KeyWrite(Index, Value, old, Action);
    }
  } catch (const TypeException&) {
    throw;
  } catch (const platform::EAssertionFailed&) {
    throw;
  } catch (const std::exception&) {
    return srInvalidValue;
  }
  if (unknownAction)
    platform::DataError(platform::esFatal, "KeyUpdate",
                        "Unknown TSetAction " + std::to_string(static_cast<int>(Action)) + ")!");
  return result;
}

TSetResult TDataRow::KeyWrite(int Index, const TValue& Value, const TValue& Old,
                              TSetAction Action) {
  TAbstractRowStorage* storage = Storage();
  TDataField* field = Table()->GetField(Index);
  BeginKeyUpdate();
  TSubTotalRow* parent = Parent();
  const TRowState state = FState;
  std::unique_ptr<TDataRow> copy;
  bool detached = false;
  // Puts the row back at its old key with its old state.
  auto restore = [&]() {
    WriteIndexValue(Index, Old);
    FState = rsExternControlled;
    storage->ReinsertRow(this, paReinsert);
    FState = state;
    EndKeyUpdate();
  };
  TPutResult put = prValuesMissing;
  try {
    copy = storage->CreateRow();
    copy->CopyContents(this);
    if (parent != nullptr) {
      const int i = parent->IndexOfChild(this);
      if (i >= 0) parent->DetachChild(i);
    }
    detached = true;
    if (field != Table()->RunningNumberField()) {
      WriteIndexValue(Index, Value);
      FState = rsExternControlled;
      put = storage->PutRow(this, static_cast<TPutAction>(Action));
    }
  } catch (...) {
    // Whatever failed, the row must not fall out of the tree.
    if (detached) {
      restore();
    } else {
      EndKeyUpdate();
    }
    throw;
  }
  TSetResult result;
  switch (put) {
    case prOk:
    case prKeyOverwrited: {
      // The old key leaves the tree the way a deleted row does.
      if (storage->ReinsertRow(copy.get(), paReinsert) == prOk) {
        TDataRow* old = copy.release();
        old->FState = state;
        old->Delete(true);
      }
      EndKeyUpdate();
      storage->RowChanged(rcChanged, this, -1);
      result = put == prOk ? srOk : srKeyOverwrited;
      break;
    }
    case prValuesMissing:
    case prKeyConflict:
    case prIllegalKeyValue:
      restore();
      result = put == prKeyConflict ? srKeyConflict : srInvalidValue;
      break;
    default:
      // The row is outside the tree: put it back before reporting.
      restore();
      platform::DataError(platform::esFatal, "KeyUpdate",
                          "Unknown TPutResult " + std::to_string(static_cast<int>(put)) + ")!");
      result = srInvalidValue;
  }
  storage->Touch();
  return result;
}

// ---- Deleting, copying, merging.

void TDataRow::Delete(bool RemoveEmptyParents) {
  if (FState == rsDeleted) return;
  TAbstractRowStorage* storage = Storage();
  TAbstractRowStorage::TChangeScope scope(storage);
  if (storage != nullptr) storage->RowChanged(rcRemoved, this, -1);
  TSubTotalRow* parent = Parent();
  // A row with a parent is unlinked whatever its state, so that no entry
  // keeps a freed row.
  if (parent != nullptr) {
    if (RemoveEmptyParents) {
      parent->RemoveChild(this, true);
    } else {
      parent->MarkDirty();
      const int i = parent->IndexOfChild(this);
      if (i >= 0) parent->ClearChildRow(i);
    }
  }
  // The parent may be gone with the row's entry; a deleted row has none.
  SetParent(nullptr);
  const bool loaded = FState == rsUnchanged || FState == rsModified;
  FState = rsDeleted;
  if (loaded && storage != nullptr) {
    storage->AddDeletedRow(std::unique_ptr<TDataRow>(this));
  } else {
    delete this;
  }
}

void TDataRow::CopyContents(const TAbstractRow* SrcRow) {
  platform::Assert(SrcRow != nullptr, "TDataRow.CopyContents: SrcRow <> nil");
  if (FState != rsExternControlled)
    platform::DataError(platform::esFatal, "CopyRow",
                        "Row must be rsExternControlled in order to perform CopyContents!");
  if (SrcRow->Table() != Table())
    platform::DataError(platform::esFatal, "CopyRow", "Tried to copy rows of different type!");
  CopyRecordFrom(*SrcRow);
}

std::unique_ptr<TDataRow> TDataRow::Clone() const {
  std::unique_ptr<TDataRow> row = CreateFromDefaults(Table());
  row->CopyContents(this);
  return row;
}

void TDataRow::SetDefaultsFrom(const TAbstractRow* DefaultRow) {
  platform::Assert(DefaultRow != nullptr, "TDataRow.SetDefaultsFrom: DefaultRow <> nil");
  if (!IsExternState(FState))
    platform::DataError(platform::esWarning, "SetDefaultsFrom",
                        "SetDefaultsFrom called with nonExternControlled DataRow!");
  for (int i = 0; i < Table()->FieldCount(); ++i) {
    TDataField* field = Table()->GetField(i);
    if (rowkinds::IsFictive(field) || DefaultRow->IndexOfField(field) < 0) continue;
    SetIndexValue(i, DefaultRow->ValueOf(field));
  }
}

void TDataRow::AddValues(const TAbstractRow* SourceRow, int Mode) {
  platform::Assert(SourceRow != nullptr, "TDataRow.AddValues: SourceRow <> nil");
  const int first = Table()->KeyCount();
  const int last = Table()->FieldCount();
  if (Mode == 0) {
    for (int b = first; b < last; ++b) {
      if (!Table()->GetField(b)->IsAggregable() && !IndexEqual(b, SourceRow)) {
        platform::DataError(platform::esFatal, "AddValues",
                            "AddValues: Different nonaggregable values in rows");
        return;
      }
    }
  }
  TValue own;
  TValue source;
  for (int b = first; b < last; ++b) {
    const TDataField* field = Table()->GetField(b);
    SourceRow->GetIndexValue(b, source);
    if (Mode == 4) {
      SetIndexValue(b, source);
    } else if (field->IsAggregable()) {
      GetIndexValue(b, own);
      field->DataType()->Sum(own, source, own);
      SetIndexValue(b, own);
    } else if (Mode == 3) {
      SetIndexValue(b, source);
    } else if (Mode == 2) {
      GetIndexValue(b, own);
      if (field->DataType()->IsEmpty(own)) SetIndexValue(b, source);
    }
  }
}

}  // namespace dataframework
