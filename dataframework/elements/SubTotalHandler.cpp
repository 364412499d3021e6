#include "dataframework/elements/SubTotalHandler.h"

#include <cstring>
#include <typeinfo>
#include <vector>

#include "dataframework/elements/AbstractRowStorage.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/RowStorageTreeKey.h"
#include "dataframework/types/NumericTypes.h"
#include "platform/Assert.h"

namespace dataframework {

namespace {

// The common case of totals, summed straight from the records in one pass
// over the children: plain stored double fields over plain data rows.
bool IsPlainDouble(const TDataField* Field) {
  return Field->DataType() == DoubleType() && typeid(*Field) == typeid(TDataField);
}

// Sums[j] := the total of field Indexes[j] over Row's children, bit for bit
// what reading each value and adding with the type's Sum gives (the same
// additions in the same order; 0, the type's default, without children).
// False when a child is not a plain data row: the caller then takes the
// general road.
bool SumStoredDoubles(const TSubTotalRow* Row, const TDataTable* Table,
                      const std::vector<int>& Indexes, std::vector<double>& Sums) {
  std::vector<size_t> offsets;
  offsets.reserve(Indexes.size());
  for (int index : Indexes) offsets.push_back(static_cast<size_t>(Table->FieldOffset(index)));
  Sums.assign(Indexes.size(), 0.0);
  bool first = true;
  const int count = Row->ChildCount();
  for (int i = 0; i < count; ++i) {
    const TAbstractRow* child = Row->Child(i);
    if (child == nullptr) continue;
    if (typeid(*child) != typeid(TDataRow)) return false;
    const unsigned char* record = child->Record();
    for (size_t j = 0; j < offsets.size(); ++j) {
      double value;
      std::memcpy(&value, record + offsets[j], sizeof value);
      Sums[j] = first ? value : Sums[j] + value;
    }
    first = false;
  }
  return true;
}

constexpr const char* kNoChildRows =
    "Cannot distribute value because the subtotal has no child rows!";

// Pops the handler's newest mark when the scope ends, whatever the outcome.
class TMarkScope {
 public:
  TMarkScope(TSubTotalHandler& Handler, TAbstractRowStorage* Storage, TSubTotalRow* Row,
             TDataField* Field)
      : FHandler(Handler) {
    FHandler.PushMark(Storage, Row, Field);
  }
  ~TMarkScope() { FHandler.PopMark(); }
  TMarkScope(const TMarkScope&) = delete;
  TMarkScope& operator=(const TMarkScope&) = delete;

 private:
  TSubTotalHandler& FHandler;
};

}  // namespace

// ---- Undo commands.

void TCallbackCommandRemoveRow::Execute() {
  TSubTotalRow* parent = FRow->Parent();
  if (parent == nullptr) return;
  const bool dataRow = !FRow->IsSubTotal();
  parent->RemoveChild(FRow, false);  // frees a subtotal row
  // The distribution made this data row; nobody else owns it now.
  if (dataRow) delete FRow;
  FRow = nullptr;
}

void TCallbackCommandRestoreValue::Execute() {
  FRow->SetFieldValue(FField, FValue);
}

// ---- Marks.

TSubTotalHandlerMark::~TSubTotalHandlerMark() = default;

void TSubTotalHandlerMark::AddCommand(std::unique_ptr<TCallbackCommand> Command) {
  FCommands.push_back(std::move(Command));
}

void TSubTotalHandlerMark::Undo() {
  while (!FCommands.empty()) {
    std::unique_ptr<TCallbackCommand> command = std::move(FCommands.back());
    FCommands.pop_back();
    command->Execute();
  }
}

TSubTotalRow* TSubTotalHandlerMark::PopRow() {
  if (FRows.empty()) return nullptr;
  TSubTotalRow* row = FRows.back();
  FRows.pop_back();
  return row;
}

// ---- The handler's virtual operations.

TSubTotalHandler::~TSubTotalHandler() = default;

bool TSubTotalHandler::CanDistributeAtLevel(TAbstractRowStorage*, int, std::string&) {
  return true;
}

bool TSubTotalHandler::CanDistributeValue(TAbstractRowStorage*, TSubTotalRow* Row,
                                          std::string& Reason, TDataField*) {
  if (Row != nullptr && Row->ChildCount() > 0) return true;
  Reason = kNoChildRows;
  return false;
}

void TSubTotalHandler::BeforeDistribute(TAbstractRowStorage*, TSubTotalRow*, const TValue&,
                                        TDataField*) {}

void TSubTotalHandler::Distribute(TAbstractRowStorage*, TSubTotalRow* Row, const TValue& Value,
                                  TDataField* Field) {
  if (Row->ChildCount() == 0) throw platform::Exception(kNoChildRows);
  const TDataType* type = Field->DataType();
  TValue old;
  Row->GetFieldValue(Field, old);
  TValue diff;
  type->Difference(Value, old, diff);
  TValue share;
  type->Quota(diff, IntegerValue(Row->ChildCount()), share);
  // The keys first: adding to a child never changes the set of children.
  std::vector<TValue> keys;
  keys.reserve(static_cast<size_t>(Row->ChildCount()));
  for (int i = 0; i < Row->ChildCount(); ++i)
    if (Row->Child(i) != nullptr) keys.push_back(Row->ChildKey(i));
  for (const TValue& key : keys) AddToChild(key, share);
}

void TSubTotalHandler::ComputeTotals(TAbstractRowStorage*, TSubTotalRow* Row, TStoreTotalProc Store,
                                     void* UserData) {
  const TDataTable* table = Row->Table();
  TValue total;
  TValue v;
  std::vector<int> direct;
  for (int a = table->KeyCount(); a < table->FieldCount(); ++a) {
    const TDataField* field = table->GetField(a);
    if (field->IsAggregable() && IsPlainDouble(field)) direct.push_back(a);
  }
  std::vector<double> sums;
  if (!direct.empty() && !SumStoredDoubles(Row, table, direct, sums)) direct.clear();
  size_t next = 0;  // the next field of direct
  for (int a = table->KeyCount(); a < table->FieldCount(); ++a) {
    const TDataField* field = table->GetField(a);
    if (!field->IsAggregable()) continue;
    if (next < direct.size() && direct[next] == a) {
      DoubleType()->DoubleToValue(sums[next++], total);
      Store(UserData, a, total);
      continue;
    }
    const TDataType* type = field->DataType();
    bool first = true;
    for (int i = 0; i < Row->ChildCount(); ++i) {
      const TAbstractRow* child = Row->Child(i);
      if (child == nullptr) continue;
      if (first) {
        child->GetIndexValue(a, total);
        first = false;
      } else {
        child->GetIndexValue(a, v);
        type->Sum(total, v, total);
      }
    }
    if (first) type->DefaultValue(total);
    Store(UserData, a, total);
  }
}

// ---- Writing subtotals.

TSetResult TSubTotalHandler::SetSubTotalValue(TAbstractRowStorage* Storage, TSubTotalRow* Row,
                                              TSetAction, const TValue& Value, TDataField* Field) {
  TMarkScope scope(*this, Storage, Row, Field);
  std::string reason;
  if (!CanSet(Storage, Row, reason, Field)) throw platform::Exception(reason);
  try {
    BeforeDistribute(Storage, Row, Value, Field);
    Distribute(Storage, Row, Value, Field);
  } catch (...) {
    if (FUndoEnabled) CurrentMark()->Undo();
    throw;
  }
  return srOk;
}

bool TSubTotalHandler::CanSet(TAbstractRowStorage* Storage, TSubTotalRow* Row, std::string& Reason,
                              TDataField* Field) {
  if (Storage == nullptr) {
    Reason = "The subtotalrow isn't in a storage.";
    return false;
  }
  if (Storage->TreeKeyOf(Field) != nullptr) {
    Reason = "The subtotalrow's keys cannot be updated.";
    return false;
  }
  if (!Field->IsAggregable()) {
    Reason = Field->FieldName() + " isn't aggregable.";
    return false;
  }
  TSubTotalHandler& handler = Storage->SubTotalHandlerOf();
  return handler.CanDistributeAtLevel(Storage, Row->LevelIndex(), Reason) &&
         handler.CanDistributeValue(Storage, Row, Reason, Field);
}

bool TSubTotalHandler::CheckSet(TAbstractRowStorage* Storage, TSubTotalRow* Row,
                                std::string& Reason, TDataField* Field) {
  TMarkScope scope(*this, Storage, Row, Field);
  return CanSet(Storage, Row, Reason, Field);
}

void TSubTotalHandler::RunComputeTotals(TAbstractRowStorage* Storage, TSubTotalRow* Row,
                                        TStoreTotalProc Store, void* UserData) {
  TMarkScope scope(*this, Storage, Row, nullptr);
  ComputeTotals(Storage, Row, Store, UserData);
}

// ---- Marks and the current mark's work.

void TSubTotalHandler::PushMark(TAbstractRowStorage* Storage, TSubTotalRow* Row,
                                TDataField* Field) {
  auto mark = std::make_unique<TSubTotalHandlerMark>(Storage, Field);
  mark->PushRow(Row);
  FMarks.push_back(std::move(mark));
}

void TSubTotalHandler::PopMark() {
  if (!FMarks.empty()) FMarks.pop_back();
}

TSubTotalHandlerMark* TSubTotalHandler::CurrentMark() const noexcept {
  return FMarks.empty() ? nullptr : FMarks.back().get();
}

TSubTotalRow* TSubTotalHandler::CurrentRow() const {
  TSubTotalHandlerMark* mark = CurrentMark();
  platform::Assert(mark != nullptr, "TSubTotalHandler.CurrentRow: CurrentMark <> nil");
  return mark->TopRow();
}

int TSubTotalHandler::CurrentChildCount() const {
  return CurrentRow()->ChildCount();
}

TAbstractRow* TSubTotalHandler::CurrentChild(int Index) const {
  TSubTotalRow* row = CurrentRow();
  platform::Assert(
      Index >= 0 && Index < row->ChildCount(),
      "TSubTotalHandler.CurrentChild: (idx >= 0) and (idx < ChildCount), idx: ", Index);
  return row->Child(Index);
}

TDataField* TSubTotalHandler::CurrentLevelField() const {
  return CurrentRow()->LevelField();
}

TAbstractRow* TSubTotalHandler::FindCurrentChild(const TValue& KeyValue) const {
  TSubTotalRow* row = CurrentRow();
  int i;
  return row->FindChild(KeyValue, i) ? row->Child(i) : nullptr;
}

TAbstractRow* TSubTotalHandler::AddToChild(const TValue& KeyValue, const TValue& Share) {
  TAbstractRow* child = FindCurrentChild(KeyValue);
  if (child == nullptr) return SetChildValue(KeyValue, Share);
  TDataField* field = CurrentMark()->Field();
  TValue sum;
  child->GetFieldValue(field, sum);
  field->DataType()->Sum(sum, Share, sum);
  return SetChildValue(KeyValue, sum);
}

TAbstractRow* TSubTotalHandler::SetChildValue(const TValue& KeyValue, const TValue& Value) {
  TSubTotalHandlerMark* mark = CurrentMark();
  TSubTotalRow* row = CurrentRow();
  TAbstractRowStorage* storage = row->Storage();
  TDataField* field = mark->Field();
  TAbstractRow* child = FindCurrentChild(KeyValue);
  if (child == nullptr) {
    const int next = row->LevelIndex() + 1;
    if (row->IsLastLevel()) {
      std::unique_ptr<TDataRow> made = storage->CreateRow();
      const int last = storage->TreeKeyCount() - 1;
      TValue key;
      for (int j = 0; j < last; ++j) {
        const int p = storage->GetTreeKey(j).FieldIndex();
        if (p < 0) continue;
        row->GetIndexValue(p, key);
        made->SetIndexValue(p, key);
      }
      if (const int p = storage->GetTreeKey(last).FieldIndex(); p >= 0)
        made->SetIndexValue(p, KeyValue);
      made->SetState(rsInserted);
      child = made.get();
      row->AddChild(KeyValue, made.release());
    } else {
      std::unique_ptr<TSubTotalRow> made =
          storage->CreateSubTotal(row, KeyValue, storage->GetTreeKey(next).Visible());
      child = made.get();
      row->AddChild(KeyValue, made.release());
    }
    mark->AddCommand(std::make_unique<TCallbackCommandRemoveRow>(child));
    storage->RowChanged(rcInserted, child, -1);
  }
  if (child->IsSubTotal()) {
    auto* subtotal = static_cast<TSubTotalRow*>(child);
    mark->PushRow(subtotal);
    try {
      Distribute(storage, subtotal, Value, field);
    } catch (...) {
      mark->PopRow();
      throw;
    }
    mark->PopRow();
    return child;
  }
  TValue previous;
  if (FUndoEnabled) child->GetFieldValue(field, previous);
  // A child that refuses the value would leave the total wrong.
  if (child->SetFieldValue(field, Value) != srOk)
    throw platform::Exception(TranslateMessageFmt(E_CouldntSetValue, {ValueAsString(Value)}));
  if (FUndoEnabled)
    mark->AddCommand(std::make_unique<TCallbackCommandRestoreValue>(child, field, previous));
  return child;
}

bool TDefaultSubTotalHandler::CanDistributeAtLevel(TAbstractRowStorage*, int, std::string& Reason) {
  Reason = "Subtotals are by default read-only. Subclass TSubTotalHandler for writable subtotals!";
  return false;
}

TDefaultSubTotalHandler* DefaultSubTotalHandler() {
  static const std::unique_ptr<TDefaultSubTotalHandler> handler =
      std::make_unique<TDefaultSubTotalHandler>();
  return handler.get();
}

}  // namespace dataframework
