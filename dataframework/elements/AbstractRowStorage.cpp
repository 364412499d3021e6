#include "dataframework/elements/AbstractRowStorage.h"

#include <algorithm>
#include <chrono>
#include <ctime>

#include "dataframework/conditions/Condition.h"
#include "dataframework/conditions/CriteriaField.h"
#include "dataframework/conditions/QuiltField.h"
#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/elements/CalcField.h"
#include "dataframework/elements/CustomRowStorage.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/GetRowsHandler.h"
#include "dataframework/elements/RowSortOrder.h"
#include "dataframework/elements/RowStorageTreeKey.h"
#include "dataframework/elements/SubTotalHandler.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/types/DataTypes.h"
#include "platform/Assert.h"
#include "platform/DataError.h"
#include "platform/StringList.h"

namespace dataframework {

namespace {

// The local time as a date-time, as platform::Now() gives it, but with the
// calendar work done once per second: a storage notes the time on every
// insertion, and a million insertions must not pay a time-zone lookup each.
platform::TDateTime ChangeTime() {
  static long long cachedSecond = -1;
  static platform::TDateTime cachedBase = 0;
  auto now = std::chrono::system_clock::now();
  long long ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  long long second = ms / 1000;
  if (second != cachedSecond) {
    std::time_t seconds = static_cast<std::time_t>(second);
    std::tm local{};
    localtime_r(&seconds, &local);
    int sec = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second stays in its minute
    cachedBase = platform::EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
                 platform::EncodeTime(local.tm_hour, local.tm_min, sec, 0);
    cachedSecond = second;
  }
  return cachedBase + static_cast<double>(ms % 1000) / platform::MSecsPerDay;
}

// Without a level above the data rows there is no tree to file them in.
void RefuseNoTreeKeys() {
  platform::DataError(platform::esFatal, "SetTreeKeys",
                      "TAbstractRowStorage.SetTreeKeys: A storage needs at least one tree key!");
}

bool IsCalculatedField(const TDataField* Field) {
  return dynamic_cast<const TCalcField*>(Field) != nullptr;
}

// Marks every subtotal row of a subtree stale (a new handler may total
// differently).
void MarkTreeDirty(TSubTotalRow* Row) {
  Row->MarkDirty();
  if (Row->IsLastLevel()) return;
  for (int i = 0; i < Row->ChildCount(); ++i) {
    if (auto* child = static_cast<TSubTotalRow*>(Row->Child(i))) MarkTreeDirty(child);
  }
}

}  // namespace

TAbstractRowStorage::TAbstractRowStorage(TDataTable* Table)
    : TRowSource(Table, 2),
      FFlatOrder(std::make_unique<TRowSortOrder>()),
      FTreeOrder(std::make_unique<TRowSortOrder>()),
      FRowList(std::make_unique<platform::TStringList>()) {
  platform::Assert(Table != nullptr, "TAbstractRowStorage.Create: DataTable <> nil");
  TRowSortOrder keys;
  for (int i = 0; i < Table->KeyCount(); ++i) {
    TDataField* key = Table->GetField(i);
    keys.Add(key, key->SortOrder());
  }
  // Refused before the table is locked, so a failed storage leaves no trace.
  if (keys.Count() == 0) RefuseNoTreeKeys();
  FLastChange = ChangeTime();
  Table->Lock();
  SetTreeKeys(&keys);
}

TAbstractRowStorage::~TAbstractRowStorage() {
  // The tree first: its subtotal rows still read their levels.
  FRoot.reset();
  FIterationRows.reset();
  FRowList.reset();
}

// ---------------------------------------------------------------- TRowSource

void TAbstractRowStorage::First() {
  auto rows = std::make_unique<platform::TStringList>();
  GetRows(rows.get(), nullptr, gmRows);
  FIterationRows = std::move(rows);
  FIterationPosition = 0;
}

TAbstractRow* TAbstractRowStorage::Next() {
  if (!FIterationRows) return nullptr;
  if (FIterationPosition < FIterationRows->Count()) {
    return static_cast<TAbstractRow*>(FIterationRows->GetObject(FIterationPosition++));
  }
  FIterationRows.reset();
  return nullptr;
}

TRowSortOrder* TAbstractRowStorage::SortOrder() const {
  return FTreeOrder.get();
}

// ------------------------------------------------------------ storage slots

void TAbstractRowStorage::AssignRows(TAbstractRowStorage& Source) {
  platform::TStringList rows;
  Source.GetRows(&rows, nullptr, gmRows);
  for (int i = 0; i < rows.Count(); ++i) {
    auto* src = static_cast<TDataRow*>(rows.GetObject(i));
    std::unique_ptr<TDataRow> copy = CopyOfRow(*src);
    copy->SetVisible(src->Visible());
    TDataRow* placed = copy.get();
    // A copy the tree refuses is freed here rather than lost.
    if (PutNewRow(copy, paRefuse) == prOk) placed->SetState(src->State());
  }
  for (const auto& deleted : Source.FDeletedRows) {
    std::unique_ptr<TDataRow> copy = CopyOfRow(*deleted);
    copy->SetVisible(deleted->Visible());
    copy->SetState(rsDeleted);
    FDeletedRows.push_back(std::move(copy));
  }
}

TSubTotalRow* TAbstractRowStorage::Root() const {
  return FRoot.get();
}

int TAbstractRowStorage::CountRows(TRowState State) const {
  switch (State) {
    case rsDeleted:
      return DeletedRowCount();
    case rsExtern:
      return static_cast<int>(std::count_if(
          FLooseRows.begin(), FLooseRows.end(),
          [](const auto& r) { return dynamic_cast<const TDataRow*>(r.get()) != nullptr; }));
    case rsExternControlled:
      return dynamic_cast<const TCustomRowStorage*>(this) != nullptr ? LooseRowCount() : 0;
    default:
      return FRoot ? FRoot->CountState(State) : 0;
  }
}

bool TAbstractRowStorage::IsEmpty() const {
  return FDeletedRows.empty() && (!FRoot || FRoot->ChildCount() == 0) && FPendingRows.empty();
}

TPutResult TAbstractRowStorage::ReinsertRow(TDataRow* Row, TPutAction Action) {
  TChangeScope scope(this);
  const TPutResult result = FRoot->ReinsertRow(Row, Action);
  // The key write re-files rows this way; the listeners must know the row
  // is back in the tree.
  if ((result == prOk || result == prKeyOverwrited) && Row != nullptr && !FListeners.empty())
    Notify(ntInserted, Row);
  return result;
}

bool TAbstractRowStorage::RemoveRow(TDataRow* Row) {
  if (Row == nullptr) return false;
  TChangeScope scope(this);
  // Told before: the tree removal frees emptied subtotal rows silently.
  if (Row->InTree()) NotifyRemoving(*Row);
  if (!FRoot->RemoveRow(Row)) return false;
  Row->SetState(rsExternControlled);
  return true;
}

void TAbstractRowStorage::RowChanged(TRowChangeKind Kind, TAbstractRow* Row, int Position) {
  if (FRebuildViewOnChange) {
    FViewValid = false;
  } else if (FViewValid && Row != nullptr && !Row->IsUpdating()) {
    if (Kind == rcInserted && Position >= 0 && Row->Visible()) {
      FRowList->InsertObject(std::min(Position, FRowList->Count()), std::string(), Row);
    } else if (Kind == rcRemoved) {
      int at = FRowList->IndexOfObject(Row);
      if (at >= 0) FRowList->Delete(at);
    }
  }
  if (Row != nullptr && !FListeners.empty()) {
    switch (Kind) {
      case rcInserted:
        Notify(ntInserted, Row);
        break;
      case rcRemoved:
        Notify(ntRemoving, Row);
        break;
      case rcChanged:
        // Sent by a key write once the row is filed under its new key.
        Notify(ntMoved, Row);
        break;
      case rcVisibility:
        Notify(ntVisibility, Row);
        break;
    }
  }
  if (Kind == rcRemoved && Row != nullptr) {
    // The row is on its way out; whoever deletes it frees it.
    auto it = std::find_if(FLooseRows.begin(), FLooseRows.end(),
                           [Row](const auto& r) { return r.get() == Row; });
    if (it != FLooseRows.end()) {
      (void)it->release();
      FLooseRows.erase(it);
    }
  }
  Touch();
}

void TAbstractRowStorage::SetTotalsBelow(bool Value) {
  if (Value == FTotalsBelow) return;
  FTotalsBelow = Value;
  FViewValid = false;
  Touch();
  NotifyViewReset();
}

void TAbstractRowStorage::SetLevelsVisible(bool Value) {
  TChangeScope scope(this);
  for (const auto& key : FTreeKeys) key->SetVisible(Value);
  FViewValid = false;
  Touch();
  NotifyViewReset();
}

void TAbstractRowStorage::BeforeGetRows(const TCondition* /*Condition*/) {}
void TAbstractRowStorage::BeforeLocate(const std::vector<std::string>& /*KeyTexts*/) {}
void TAbstractRowStorage::BeforeLocateByRow(const TAbstractRow* /*Row*/,
                                            const std::vector<TDataField*>& /*Fields*/) {}

std::unique_ptr<TSubTotalRow> TAbstractRowStorage::CreateSubTotal(TSubTotalRow* Parent,
                                                                  const TValue& KeyValue,
                                                                  bool Visible) {
  return TSubTotalRow::Create(this, Visible, KeyValue, Parent);
}

void TAbstractRowStorage::CollectState(platform::TStrings& List, TRowState State) {
  switch (State) {
    case rsDeleted:
      for (const auto& row : FDeletedRows) List.AddObject(std::string(), row.get());
      break;
    case rsExtern:
      for (const auto& row : FLooseRows) {
        if (dynamic_cast<TDataRow*>(row.get()) != nullptr) List.AddObject(std::string(), row.get());
      }
      break;
    case rsExternControlled:
      break;
    default:
      if (FRoot) FRoot->CollectState(&List, State);
      break;
  }
}

void TAbstractRowStorage::GetRows(platform::TStrings* Results, const TCondition* Condition,
                                  TGetRowsMode Mode) {
  std::unique_ptr<platform::TStringList> scratch;
  if (Mode == gmDelete && Results == nullptr) {
    scratch = std::make_unique<platform::TStringList>();
    Results = scratch.get();
  }
  platform::Assert(Results != nullptr, "TAbstractRowStorage.GetRows: Results <> nil");
  // The deleting modes remove many rows: one operation for the listeners.
  TChangeScope scope(this);
  TGetRowsHandler handler(*this, Mode, Results, Condition);
  BeforeGetRows(&handler.Condition());
  handler.Run();
}

void TAbstractRowStorage::GetRowsByText(platform::TStrings* Results, const TCondition* Condition,
                                        const std::string& Text, TDataField* Field,
                                        TGetRowsMode Mode) {
  // An empty text restricts nothing; the condition still does.
  if (Text.empty() || Field == nullptr) {
    GetRows(Results, Condition, Mode);
    return;
  }
  std::unique_ptr<TCommonQuilt> quilt;
  if (Condition != nullptr) {
    quilt = QuiltCopyOf(*Condition);
  } else {
    quilt = std::make_unique<TQuiltPatch>();
  }
  auto restriction = std::make_unique<TQuiltField>(Field);
  if (static_cast<int>(Text.size()) < Field->DataType()->DataSize()) {
    restriction->AddPrefixRange(Text);
  } else {
    restriction->AddValue(StringValue(Text));
  }
  // The prefix narrows the condition; it does not replace it.
  TCommonQuilt* receiver = quilt.get();
  quilt = receiver->Intersect(std::move(quilt),
                              platform::TMaybeOwned<TCommonQuilt>::Owned(std::move(restriction)));
  GetRows(Results, quilt.get(), Mode);
}

TDataRow* TAbstractRowStorage::LocateRow(const std::vector<std::string>& KeyTexts) {
  if (static_cast<int>(KeyTexts.size()) < FTable->KeyCount()) {
    platform::DataError(platform::esWarning, "LocateRow", "LocateRow: Too few elements in array!");
    return nullptr;
  }
  BeforeLocate(KeyTexts);
  TSubTotalRow* row = FRoot.get();
  TValue key;
  for (size_t d = 0; d < KeyTexts.size(); ++d) {
    MakeStringValue(KeyTexts[d], key);
    int index = 0;
    if (!row->FindChild(key, index)) return nullptr;
    if (row->IsLastLevel()) return static_cast<TDataRow*>(row->Child(index));
    row = static_cast<TSubTotalRow*>(row->Child(index));
    if (row == nullptr) return nullptr;
  }
  // More levels than texts: no single row is named.
  return nullptr;
}

bool TAbstractRowStorage::HasRowsFor(const std::vector<std::string>& KeyTexts) {
  BeforeLocate(KeyTexts);
  TSubTotalRow* row = FRoot.get();
  TValue key;
  for (size_t d = 0;; ++d) {
    if (d >= KeyTexts.size()) return row->HasDataRows();
    MakeStringValue(KeyTexts[d], key);
    int index = 0;
    if (!row->FindChild(key, index)) return false;
    if (row->IsLastLevel()) return true;
    row = static_cast<TSubTotalRow*>(row->Child(index));
    if (row == nullptr) return false;
  }
}

bool TAbstractRowStorage::HasRows(const TCondition* Patch) {
  TGetRowsHandler handler(*this, gmDelete, nullptr, Patch);
  BeforeGetRows(&handler.Condition());
  return handler.RunHasRows();
}

TDataRow* TAbstractRowStorage::LocateByRowValues(const TAbstractRow* Row,
                                                 const std::vector<TDataField*>& Fields) {
  BeforeLocateByRow(Row, Fields);
  return dynamic_cast<TDataRow*>(FRoot->LocateByRowValues(Row, Fields));
}

bool TAbstractRowStorage::IsModified() const {
  return !FLooseRows.empty() || !FDeletedRows.empty() || (FRoot && FRoot->IsChanged());
}

bool TAbstractRowStorage::Owns(const TAbstractRow* Row) const {
  return Row != nullptr && Row->Storage() == this;
}

std::unique_ptr<TDataRow> TAbstractRowStorage::CreateRow() {
  std::unique_ptr<TDataRow> row = TDataRow::CreateFromDefaults(FTable);
  row->SetVisible(DataLevelKey().Visible());
  return row;
}

// ---------------------------------------------------------------- tree keys

void TAbstractRowStorage::SetTreeKeys(const TRowSortOrder* Order) {
  if (Order == nullptr) return;
  if (!IsEmpty()) {
    platform::DataError(
        platform::esFatal, "SetTreeKeys",
        "TAbstractRowStorage.SetTreeKeys: Storage must be empty (unused) when settings TreeKeys!");
  }
  if (Order->Count() == 0) RefuseNoTreeKeys();
  // Order may be this storage's own TreeOrder: copy it before anything goes.
  std::unique_ptr<TRowSortOrder> order = TRowSortOrder::CreateCopy(*Order);
  FRoot.reset();
  FTreeKeys.clear();
  for (int i = 0; i < order->Count(); ++i) {
    const TRowSortOrderRule& rule = order->Rule(i);
    FTreeKeys.push_back(std::make_unique<TRowStorageTreeKey>(
        *this, rule.Direction(), rule.Field()->SortField(), rule.Field()));
  }
  FTreeKeys.push_back(std::make_unique<TRowStorageTreeKey>(*this));
  for (const auto& key : FTreeKeys) key->Bind();
  FFlatOrder = TRowSortOrder::CreateCopy(*order);
  FTreeOrder = std::move(order);
  FFlatMode = false;
  FViewValid = false;
  FRoot = CreateSubTotal(nullptr, EmptyStringValue(), FTreeKeys.front()->Visible());
  NotifyViewReset();
}

TRowStorageTreeKey& TAbstractRowStorage::GetTreeKey(int Index) const {
  platform::Assert(
      Index >= 0 && Index < static_cast<int>(FTreeKeys.size()),
      "TAbstractRowStorage.GetTreeKey: (idx >= 0) and (idx < FTree.Count), idx: ", Index);
  return *FTreeKeys[static_cast<size_t>(Index)];
}

TRowStorageTreeKey* TAbstractRowStorage::TreeKeyOf(const TDataField* Field) const {
  for (const auto& key : FTreeKeys) {
    if (key->Field() == Field) return key.get();
  }
  return nullptr;
}

int TAbstractRowStorage::ExtraKeyIndex(const TDataField* Field) const {
  int extra = 0;
  for (const auto& key : FTreeKeys) {
    if (key->Field() == Field) return extra;
    if (!key->IsDataLevel() && key->FieldIndex() < 0) ++extra;
  }
  return -1;
}

bool TAbstractRowStorage::CheckTreeOrder() const {
  for (int i = 0; i < TreeKeyCount(); ++i) {
    const TRowStorageTreeKey& key = *FTreeKeys[static_cast<size_t>(i)];
    TDataField* sortField = key.SortField();
    if (sortField == key.Field() || sortField == nullptr || IsCalculatedField(sortField)) continue;
    int position = FTable->IndexOfField(sortField);
    if (position >= 0 && position >= FTable->KeyCount()) continue;
    // The sort field is read through its home table's keys; each must be
    // known at this level.
    TDataTable* home = sortField->HomeTable();
    if (home == nullptr) return false;
    const std::vector<TDataField*>& aliases = FTable->AliasFields();
    for (int k = 0; k < home->KeyCount(); ++k) {
      TDataField* homeKey = home->GetField(k);
      if (std::find(aliases.begin(), aliases.end(), homeKey) != aliases.end()) continue;
      int at = FTable->IndexOfFieldOrLookup(homeKey);
      if (at < 0 || at > i) return false;
    }
  }
  return true;
}

TPutResult TAbstractRowStorage::PutNewRow(std::unique_ptr<TDataRow>& Row, TPutAction Action) {
  TPutResult result = PutRow(Row.get(), Action);
  if (result == prOk || result == prKeyOverwrited || result == prRowsAdded) {
    (void)Row.release();  // the tree owns it now
  }
  return result;
}

void TAbstractRowStorage::SetFlatMode(bool Value) {
  if (Value == FFlatMode) return;
  FFlatMode = Value;
  FViewValid = false;
  Touch();
  NotifyViewReset();
}

// ------------------------------------------------- deleted, loose, pending

TDataRow* TAbstractRowStorage::DeletedRow(int Index) const {
  platform::Assert(
      Index >= 0 && Index < DeletedRowCount(),
      "TAbstractRowStorage.DeletedRow: (idx >= 0) and (idx < FDeletedRows.Count), idx: ", Index);
  return FDeletedRows[static_cast<size_t>(Index)].get();
}

void TAbstractRowStorage::AddDeletedRow(std::unique_ptr<TDataRow> Row) {
  if (Row) FDeletedRows.push_back(std::move(Row));
}

TAbstractRow* TAbstractRowStorage::LooseRow(int Index) const {
  platform::Assert(
      Index >= 0 && Index < LooseRowCount(),
      "TAbstractRowStorage.LooseRow: (idx >= 0) and (idx < FLooseRows.Count), idx: ", Index);
  return FLooseRows[static_cast<size_t>(Index)].get();
}

bool TAbstractRowStorage::IsLooseRow(const TAbstractRow* Row) const {
  if (Row == nullptr || FLooseRows.empty()) return false;
  return std::any_of(FLooseRows.begin(), FLooseRows.end(),
                     [Row](const auto& r) { return r.get() == Row; });
}

void TAbstractRowStorage::AddLooseRow(std::unique_ptr<TAbstractRow> Row) {
  if (!Row) return;
  Row->SetStorage(this);
  FLooseRows.push_back(std::move(Row));
  FViewValid = false;
  Touch();
  NotifyViewReset();
}

// ------------------------------------------------------- rows by criteria

void TAbstractRowStorage::DeleteRowsWhere(const TCriteriaField& CriteriaField) {
  TChangeScope scope(this);
  platform::TStringList rows;
  GetRows(&rows, &CriteriaField, gmRows);
  for (int i = 0; i < rows.Count(); ++i) {
    static_cast<TDataRow*>(rows.GetObject(i))->Delete(true);
  }
}

TAbstractRow* TAbstractRowStorage::FindOne(const TCondition& Criteria, bool FirstOfMany) {
  platform::TStringList rows;
  GetRows(&rows, &Criteria, gmRows);
  if (rows.Count() == 0) return nullptr;
  if (rows.Count() > 1 && !FirstOfMany) throw platform::Exception("More than one match!");
  return static_cast<TAbstractRow*>(rows.GetObject(0));
}

// ------------------------------------------------ subtotals and bookkeeping

TSubTotalHandler& TAbstractRowStorage::SubTotalHandlerOf() const {
  if (FSubTotalHandler) return *FSubTotalHandler;
  return *DefaultSubTotalHandler();
}

void TAbstractRowStorage::SetSubTotalHandler(std::unique_ptr<TSubTotalHandler> Handler) {
  FSubTotalHandler = std::move(Handler);
  if (FRoot) MarkTreeDirty(FRoot.get());
  // Every total may read differently now.
  NotifyViewReset();
}

void TAbstractRowStorage::Touch() {
  FLastChange = ChangeTime();
}

void TAbstractRowStorage::AddListener(TRowStorageListener* Listener) {
  platform::Assert(Listener != nullptr, "TAbstractRowStorage.AddListener: Listener <> nil");
  if (std::find(FListeners.begin(), FListeners.end(), Listener) == FListeners.end())
    FListeners.push_back(Listener);
}

void TAbstractRowStorage::RemoveListener(TRowStorageListener* Listener) {
  FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), Listener), FListeners.end());
}

void TAbstractRowStorage::NotifyExpanded(TSubTotalRow& Row) {
  if (!FListeners.empty()) Notify(ntExpanded, &Row);
}

void TAbstractRowStorage::NotifyCollapsed(TSubTotalRow& Row) {
  if (!FListeners.empty()) Notify(ntCollapsed, &Row);
}

void TAbstractRowStorage::Notify(TNoteKind Kind, TAbstractRow* Row) {
  // By index: a listener may remove itself.
  for (size_t i = 0; i < FListeners.size(); ++i) {
    TRowStorageListener* listener = FListeners[i];
    switch (Kind) {
      case ntInserted:
        listener->RowInserted(*this, *Row);
        break;
      case ntRemoving:
        listener->RowRemoving(*this, *Row);
        break;
      case ntValues:
        listener->RowValuesChanged(*this, *Row);
        break;
      case ntMoved:
        listener->RowMoved(*this, *Row);
        break;
      case ntVisibility:
        listener->RowVisibilityChanged(*this, *Row);
        break;
      case ntExpanded:
        listener->SubtreeExpanded(*this, *static_cast<TSubTotalRow*>(Row));
        break;
      case ntCollapsed:
        listener->SubtreeCollapsed(*this, *static_cast<TSubTotalRow*>(Row));
        break;
      case ntReset:
        listener->ViewReset(*this);
        break;
    }
  }
  FChangeNoted = true;
  if (FChangeDepth == 0) EndOfChange();
}

void TAbstractRowStorage::EndOfChange() {
  if (!FChangeNoted) return;
  FChangeNoted = false;
  // A copy: ChangesDone may add or remove listeners, or change the storage
  // again (which opens a scope of its own).
  const std::vector<TRowStorageListener*> listeners = FListeners;
  for (TRowStorageListener* listener : listeners) {
    if (std::find(FListeners.begin(), FListeners.end(), listener) != FListeners.end())
      listener->ChangesDone(*this);
  }
}

std::unique_ptr<TDataRow> TAbstractRowStorage::CopyOfRow(const TDataRow& Row) {
  std::unique_ptr<TDataRow> copy = CreateRow();
  copy->CopyContents(&Row);
  return copy;
}

}  // namespace dataframework
