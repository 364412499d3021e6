#include "dataframework/bridge/DbDataBridge.h"

#include <algorithm>
#include <unordered_set>

#include "dataframework/conditions/CustomQuilt.h"
#include "dataframework/conditions/QuiltField.h"
#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/DataFieldSet.h"
#include "dataframework/elements/DataRow.h"
#include "db/Errors.h"
#include "platform/StringList.h"

namespace dataframework::bridge {

namespace {

// Rows per statement when a save matches rows by key.
constexpr size_t KeyBatch = 200;
// Parameters one statement may carry: PostgreSQL's protocol takes 65,535,
// psqlODBC corrupts its memory past 32,767.
constexpr size_t kMaxParams = 32767;

std::vector<TDataRow*> RowsInState(TBridgeRowStorage& Storage, TRowState State) {
  platform::TStringList list;
  Storage.CollectState(list, State);
  std::vector<TDataRow*> rows;
  rows.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) rows.push_back(static_cast<TDataRow*>(list.GetObject(i)));
  return rows;
}

std::string KeyText(const TBridgeTable& Table, const TAbstractRow& Row) {
  std::string text;
  for (int k = 0; k < Table.KeyCount(); ++k) {
    if (k > 0) text += ", ";
    text += TextOfValue(Table.Columns()[static_cast<size_t>(k)].Kind, Row.ValueAt(k));
  }
  return text;
}

// The rows of the database for a list of keys, with their fingerprints.
class TCollectReceiver : public TRowReceiver {
 public:
  using TRowReceiver::TRowReceiver;
  struct TFound {
    std::unique_ptr<TDataRow> Row;
    uint64_t Version = 0;
    std::vector<bool> Nulls;
  };
  std::unordered_map<uint64_t, TFound> Found;

 protected:
  void Take(std::unique_ptr<TDataRow> Row, uint64_t Key, uint64_t Version,
            const std::vector<bool>& Nulls) override {
    Found[Key] = TFound{std::move(Row), Version, Nulls};
  }
};

// Puts a load's rows into the storage a block at a time.
class TLoadReceiver : public TRowReceiver {
 public:
  TLoadReceiver(TBridgeTable& Table, platform::TInterruptable& Progress,
                std::function<void(platform::TInterruptable&)> Notify)
      : TRowReceiver(Table), FBridgeTable(Table), FProgress(Progress), FNotify(std::move(Notify)) {
    TBridgeRowStorage& storage = Table.Storage();
    // A row deleted here and not yet saved must not come back.
    for (int i = 0; i < storage.DeletedRowCount(); ++i)
      FDeletedKeys.insert(KeyFingerprint(Table, *storage.DeletedRow(i)));
  }
  int Put = 0;
  // The key values of the last row of the last block put.
  std::vector<TValue> LastKey;

  bool EndBlock() override {
    TBridgeRowStorage& storage = FBridgeTable.Storage();
    if (!FBlock.empty()) {
      LastKey.clear();
      for (int k = 0; k < FBridgeTable.KeyCount(); ++k)
        LastKey.push_back(FBlock.back().Row->ValueAt(k));
    }
    for (auto& entry : FBlock) {
      if (FDeletedKeys.count(entry.Key) != 0) continue;
      TDataRow* row = entry.Row.get();
      // A key taken here (a row inserted by this program) keeps its row.
      if (storage.PutNewRow(entry.Row, paRefuse) != prOk) continue;
      row->SetState(rsUnchanged);
      storage.Versions()[entry.Key] = entry.Version;
      ++Put;
    }
    FProgress.Counters[bcRowsRead] += static_cast<int32_t>(FBlock.size());
    FBlock.clear();
    FNotify(FProgress);
    return !FProgress.Interrupted;
  }

 protected:
  void Take(std::unique_ptr<TDataRow> Row, uint64_t Key, uint64_t Version,
            const std::vector<bool>&) override {
    FBlock.push_back({std::move(Row), Key, Version});
  }

 private:
  struct TEntry {
    std::unique_ptr<TDataRow> Row;
    uint64_t Key;
    uint64_t Version;
  };
  TBridgeTable& FBridgeTable;
  platform::TInterruptable& FProgress;
  std::function<void(platform::TInterruptable&)> FNotify;
  std::vector<TEntry> FBlock;
  std::unordered_set<uint64_t> FDeletedKeys;
};

// The rows whose key is at most Last in key order, as a quilt:
// k0 < L0, or k0 = L0 and k1 < L1, ..., or every key equal.
std::unique_ptr<TQuilt> UpToKey(const TBridgeTable& Table, const std::vector<TValue>& Last) {
  auto quilt = std::make_unique<TQuilt>();
  const int keys = Table.KeyCount();
  for (int i = 0; i < keys; ++i) {
    auto patch = std::make_unique<TQuiltPatch>();
    for (int j = 0; j < i; ++j)
      patch->FieldFor(Table.Columns()[static_cast<size_t>(j)].Field, true)
          ->AddValue(Last[static_cast<size_t>(j)]);
    patch->FieldFor(Table.Columns()[static_cast<size_t>(i)].Field, true)
        ->AddInterval(MinusInfinity(), MakePoint(Last[static_cast<size_t>(i)], i == keys - 1));
    quilt->AddPatch(std::move(patch));
  }
  return quilt;
}

}  // namespace

// ---------------------------------------------------------------- receiver

TRowReceiver::TRowReceiver(const TBridgeTable& Table)
    : FTable(Table), FNulls(Table.Columns().size()), FHashes(Table.Columns().size()) {}

TRowReceiver::~TRowReceiver() = default;

void TRowReceiver::Begin() {
  if (!FRow) {
    FRow = FTable.Storage().CreateRow();
    std::fill(FNulls.begin(), FNulls.end(), false);
  }
}

void TRowReceiver::SetText(int Column, std::string_view Text) {
  const TBridgeColumn& c = FTable.Columns()[static_cast<size_t>(Column)];
  SetValue(Column, ValueFromText(c.Kind, c.Field->DataType(), Text, FTable.Name(), c.Name));
}

void TRowReceiver::SetValue(int Column, const TValue& Value) {
  Begin();
  FRow->WriteIndexRaw(Column, Value);
}

void TRowReceiver::SetNull(int Column) {
  Begin();
  const TBridgeColumn& c = FTable.Columns()[static_cast<size_t>(Column)];
  FRow->WriteIndexRaw(Column, NullValue(c.Kind, c.Field->DataType()));
  FNulls[static_cast<size_t>(Column)] = true;
}

void TRowReceiver::EndRow() {
  Begin();
  const uint64_t key = KeyFingerprint(FTable, *FRow);
  const uint64_t version = VersionFingerprint(FTable, *FRow, FNulls);
  Take(std::move(FRow), key, version, FNulls);
}

uint64_t KeyFingerprint(const TBridgeTable& Table, const TAbstractRow& Row) {
  uint64_t h = HashSeed;
  for (int k = 0; k < Table.KeyCount(); ++k)
    h = HashValue(Table.Columns()[static_cast<size_t>(k)].Kind, Row.ValueAt(k), false, h);
  return h;
}

uint64_t VersionFingerprint(const TBridgeTable& Table, const TAbstractRow& Row,
                            const std::vector<bool>& Nulls) {
  uint64_t h = HashSeed;
  const auto& columns = Table.Columns();
  for (size_t c = 0; c < columns.size(); ++c)
    h = HashValue(columns[c].Kind, Row.ValueAt(static_cast<int>(c)), Nulls[c], h);
  return h;
}

// ------------------------------------------------------------------ bridge

const platform::TClass& TDbDataBridge::StaticClass() {
  static const platform::TClass Class("TDbDataBridge", &TDataBridge::StaticClass(), "Bridge");
  return Class;
}

TDbDataBridge::TDbDataBridge(platform::TComponent* Owner) : TDataBridge(Owner) {
  SetCanRead(true);
  SetCanWrite(true);
}

TDbDataBridge::~TDbDataBridge() {
  for (auto& entry : FTables) entry.second->Table().SetDataBridge(nullptr);
}

const TCacheLoadPolicy* TDbDataBridge::LoadPolicy() const {
  return FLoadPolicy != nullptr ? FLoadPolicy : &DefaultCacheLoadPolicy();
}

void TDbDataBridge::Forget(const TBridgeTable* Table) {
  FTables.erase(&Table->Table());
}

TBridgeTable& TDbDataBridge::TableOf(TDataTable* Table) const {
  auto it = FTables.find(Table);
  if (it == FTables.end())
    throw EBridgeError(ClassName() + ": table " + (Table ? Table->TableName() : "(none)") +
                       " was not described by this bridge");
  return *it->second;
}

void TDbDataBridge::Notify(platform::TInterruptable& Progress) const {
  if (OnProgress) OnProgress(Progress);
}

std::unique_ptr<TBridgeTable> TDbDataBridge::Describe(const std::string& Name,
                                                      TUnsupportedColumns Unsupported) {
  std::vector<TCatalogColumn> columns;
  std::vector<std::string> keys;
  std::string sqlName;
  Open();
  ReadCatalog(Name, columns, keys, sqlName);
  auto table = MakeBridgeTable(Name, sqlName, columns, keys, Unsupported, this);
  table->Table().SetDataBridge(this);
  FTables[&table->Table()] = table.get();
  return table;
}

int TDbDataBridge::Load(TBridgeTable& Table, const TCondition* Condition,
                        platform::TInterruptable* Progress, const TDataFieldSet* FieldSet) {
  if (!CanRead())
    throw EBridgeError(ClassName() + ".Load: Read is not allowed to this type of DataBridge");
  if (Condition != nullptr) {
    std::unique_ptr<TCommonQuilt> asQuilt = QuiltCopyOf(*Condition);
    for (TDataFieldSetIterator it(&asQuilt->FieldSet()); !it.Eof(); it.Next()) {
      if (Table.ColumnOf(it.Current()) == nullptr)
        throw EBridgeError("Field " + it.Current()->FieldName() + " is not a column of " +
                           Table.Name());
    }
  }
  platform::TInterruptable own;
  platform::TInterruptable& progress = Progress != nullptr ? *Progress : own;
  if (progress.Interrupted) return 0;

  std::unique_ptr<TCommonQuilt> request =
      LoadPolicy()->PatchForCondition(Table.Table(), Condition, FieldSet);
  auto* custom = dynamic_cast<TCustomQuilt*>(request.get());
  if (custom == nullptr) throw EBridgeError(ClassName() + ".Load: the policy answered no quilt");
  std::unique_ptr<TQuilt> need = custom->AsQuilt()->Copy();
  bool changed = false;
  TBridgeRowStorage& storage = Table.Storage();
  need->SubtractQuilt(storage.Loaded(), changed);
  if (need->IsEmpty(nullptr)) return 0;

  auto select = [&](const TQuilt& Quilt) {
    TSqlBuilder sql = NewStatement();
    sql << SelectList(Table) << " WHERE ";
    AppendQuiltCondition(sql, Table, Quilt);
    sql << KeyOrder(sql, Table);
    return sql;
  };
  TSqlBuilder sql = select(*need);
  // What is left after the loaded part may be cut too finely for one
  // statement; then the whole request is read and the rows already here
  // are skipped as they come.
  if (sql.Params.size() > kMaxParams) sql = select(*custom->AsQuilt());
  if (sql.Params.size() > kMaxParams)
    throw EBridgeError("The condition on " + Table.Name() + " has more than " +
                       std::to_string(kMaxParams) + " values to send at once");

  TLoadReceiver receiver(
      Table, progress, OnProgress ? OnProgress : [](platform::TInterruptable&) {});
  bool complete = false;
  // Whatever stops the load, the loaded quilt must say exactly what is in.
  auto record = [&]() {
    if (complete) {
      storage.Loaded().UnionWithQuilt(*need);
    } else if (!receiver.LastKey.empty()) {
      need->IntersectWithQuilt(*UpToKey(Table, receiver.LastKey));
      storage.Loaded().UnionWithQuilt(*need);
    }
  };
  try {
    Open();
    RunQuery(sql, Table, receiver);
    complete = !progress.Interrupted;
  } catch (...) {
    record();
    throw;
  }
  record();
  return receiver.Put;
}

bool TDbDataBridge::Save(TBridgeTable& Table, const TQuiltPatch* Patch,
                         platform::TInterruptable* Progress) {
  if (!CanWrite()) TDataBridge::UpdateData(&Table.Table(), nullptr, Progress);
  platform::TInterruptable own;
  platform::TInterruptable& progress = Progress != nullptr ? *Progress : own;
  TBridgeRowStorage& storage = Table.Storage();
  auto wanted = [&](TDataRow* Row) { return Patch == nullptr || Patch->AcceptsRow(Row, nullptr); };

  std::vector<TDataRow*> deleted, changed, inserted;
  std::unordered_set<uint64_t> deletedKeys;
  for (int i = 0; i < storage.DeletedRowCount(); ++i) {
    TDataRow* row = storage.DeletedRow(i);
    const uint64_t key = KeyFingerprint(Table, *row);
    // Only rows the database holds need deleting there, each once.
    if (wanted(row) && storage.Versions().count(key) != 0 && deletedKeys.insert(key).second)
      deleted.push_back(row);
  }
  for (TDataRow* row : RowsInState(storage, rsModified))
    if (wanted(row)) changed.push_back(row);
  for (TDataRow* row : RowsInState(storage, rsInserted))
    if (wanted(row)) inserted.push_back(row);
  auto forgetDeleted = [&]() {
    storage.ForgetDeletedRows(
        [&](const TDataRow& Row) { return wanted(const_cast<TDataRow*>(&Row)); });
  };
  if (deleted.empty() && changed.empty() && inserted.empty()) {
    forgetDeleted();  // rows inserted and deleted again never reached the database
    return true;
  }

  std::vector<uint64_t> versions;
  Open();
  BeginTransaction();
  try {
    if (!WriteChanges(Table, deleted, changed, inserted, progress, versions)) {
      RollbackTransaction();
      return false;
    }
    CommitTransaction();
  } catch (...) {
    RollbackTransaction();
    throw;
  }

  // Committed: the storage now matches the database.
  for (TDataRow* row : deleted) storage.Versions().erase(KeyFingerprint(Table, *row));
  forgetDeleted();
  size_t v = 0;
  for (TDataRow* row : changed) {
    storage.Versions()[KeyFingerprint(Table, *row)] = versions[v++];
    row->SetState(rsUnchanged);
  }
  for (TDataRow* row : inserted) {
    storage.Versions()[KeyFingerprint(Table, *row)] = versions[v++];
    row->SetState(rsUnchanged);
  }
  storage.Touch();
  return true;
}

bool TDbDataBridge::WriteChanges(TBridgeTable& Table, const std::vector<TDataRow*>& Deleted,
                                 const std::vector<TDataRow*>& Changed,
                                 const std::vector<TDataRow*>& Inserted,
                                 platform::TInterruptable& Progress,
                                 std::vector<uint64_t>& NewVersions) {
  TBridgeRowStorage& storage = Table.Storage();
  const auto& columns = Table.Columns();

  // 1. Read again, locked, what this save changes or takes; conflicts fail
  //    the save before anything is written.
  std::vector<const TAbstractRow*> checked;
  for (TDataRow* row : Deleted) checked.push_back(row);
  for (TDataRow* row : Changed) checked.push_back(row);
  for (TDataRow* row : Inserted) checked.push_back(row);
  TCollectReceiver current(Table);
  if (!checked.empty()) ReadLocked(Table, checked, current);
  const size_t loadedRows = Deleted.size() + Changed.size();
  for (size_t i = 0; i < checked.size(); ++i) {
    const TAbstractRow& row = *checked[i];
    const uint64_t key = KeyFingerprint(Table, row);
    auto found = current.Found.find(key);
    if (i < loadedRows) {
      if (found == current.Found.end())
        throw EBridgeConflict("Conflict in " + Table.Name() + ": the row (" + KeyText(Table, row) +
                                  ") was deleted in the database",
                              KeyText(Table, row));
      auto version = storage.Versions().find(key);
      if (version == storage.Versions().end() || version->second != found->second.Version)
        throw EBridgeConflict("Conflict in " + Table.Name() + ": the row (" + KeyText(Table, row) +
                                  ") was changed in the database",
                              KeyText(Table, row));
    } else if (found != current.Found.end()) {
      // A key deleted in this same save is free again.
      bool freed = false;
      for (TDataRow* d : Deleted) freed = freed || KeyFingerprint(Table, *d) == key;
      if (!freed)
        throw EBridgeConflict("Conflict in " + Table.Name() + ": the key (" + KeyText(Table, row) +
                                  ") already exists in the database",
                              KeyText(Table, row));
    }
  }
  if (Progress.Interrupted) return false;

  // 2. Deletions, by key in batches.
  for (size_t from = 0; from < Deleted.size(); from += KeyBatch) {
    std::vector<const TAbstractRow*> batch(
        Deleted.begin() + static_cast<long>(from),
        Deleted.begin() + static_cast<long>(std::min(Deleted.size(), from + KeyBatch)));
    TSqlBuilder sql = NewStatement();
    sql << "DELETE FROM " << Table.SqlName() << " WHERE ";
    AppendKeyMatch(sql, Table, batch);
    Progress.Counters[bcRowsDeleted] += static_cast<int32_t>(RunCommand(sql));
    Notify(Progress);
    if (Progress.Interrupted) return false;
  }

  // 3. Changes: only the columns that differ from the database's row.
  std::vector<TRowWrite> writes;
  for (TDataRow* row : Changed) {
    const auto& db = current.Found[KeyFingerprint(Table, *row)];
    std::vector<bool> nulls = db.Nulls;
    TRowWrite write{row, std::vector<bool>(columns.size(), false)};
    bool any = false;
    for (size_t c = static_cast<size_t>(Table.KeyCount()); c < columns.size(); ++c) {
      const int i = static_cast<int>(c);
      const uint64_t mineHash = HashValue(columns[c].Kind, row->ValueAt(i), false, HashSeed);
      const uint64_t dbHash = HashValue(columns[c].Kind, db.Row->ValueAt(i), false, HashSeed);
      if (mineHash == dbHash) continue;  // unchanged, NULL or not
      write.Columns[c] = true;
      nulls[c] = false;
      any = true;
    }
    NewVersions.push_back(VersionFingerprint(Table, *row, nulls));
    if (any) writes.push_back(std::move(write));
  }
  const size_t block = static_cast<size_t>(std::max(1, BlockRows));
  for (size_t from = 0; from < writes.size(); from += block) {
    const size_t to = std::min(writes.size(), from + block);
    WriteUpdates(Table, std::vector<TRowWrite>(std::make_move_iterator(writes.begin() + from),
                                               std::make_move_iterator(writes.begin() + to)));
    Progress.Counters[bcRowsUpdated] += static_cast<int32_t>(to - from);
    Notify(Progress);
    if (Progress.Interrupted) return false;
  }

  // 4. Insertions.
  const std::vector<bool> noNulls(columns.size(), false);
  for (TDataRow* row : Inserted) NewVersions.push_back(VersionFingerprint(Table, *row, noNulls));
  for (size_t from = 0; from < Inserted.size(); from += block) {
    const size_t to = std::min(Inserted.size(), from + block);
    Progress.Counters[bcRowsInserted] += static_cast<int32_t>(WriteInserts(
        Table, std::vector<const TAbstractRow*>(Inserted.begin() + from, Inserted.begin() + to)));
    Notify(Progress);
    if (Progress.Interrupted) return false;
  }
  return true;
}

void TDbDataBridge::ReadLocked(const TBridgeTable& Table,
                               const std::vector<const TAbstractRow*>& Rows,
                               TRowReceiver& Receiver) {
  for (size_t from = 0; from < Rows.size(); from += KeyBatch) {
    std::vector<const TAbstractRow*> batch(
        Rows.begin() + static_cast<long>(from),
        Rows.begin() + static_cast<long>(std::min(Rows.size(), from + KeyBatch)));
    TSqlBuilder sql = NewStatement();
    sql << SelectList(Table) << " WHERE ";
    AppendKeyMatch(sql, Table, batch);
    sql << LockClause();
    RunQuery(sql, Table, Receiver);
  }
}

void TDbDataBridge::WriteUpdates(const TBridgeTable& Table, const std::vector<TRowWrite>& Writes) {
  const auto& columns = Table.Columns();
  for (const TRowWrite& write : Writes) {
    TSqlBuilder sql = NewStatement();
    sql << "UPDATE " << Table.SqlName() << " SET ";
    bool any = false;
    for (size_t c = 0; c < columns.size(); ++c) {
      if (!write.Columns[c]) continue;
      if (any) sql << ", ";
      any = true;
      sql << QuoteIdentifier(columns[c].Name) << " = ";
      sql.AddParam(columns[c], write.Row->ValueAt(static_cast<int>(c)));
    }
    if (!any) continue;
    sql << " WHERE ";
    AppendKeyMatch(sql, Table, {write.Row});
    RunCommand(sql);
  }
}

long long TDbDataBridge::WriteInserts(const TBridgeTable& Table,
                                      const std::vector<const TAbstractRow*>& Rows) {
  const auto& columns = Table.Columns();
  // Several rows a statement, within the engines' parameter limits.
  const size_t perStatement = std::max<size_t>(1, 1000 / columns.size());
  long long count = 0;
  for (size_t from = 0; from < Rows.size(); from += perStatement) {
    TSqlBuilder sql = NewStatement();
    sql << "INSERT INTO " << Table.SqlName() << " (";
    for (size_t c = 0; c < columns.size(); ++c)
      sql << (c ? ", " : "") << QuoteIdentifier(columns[c].Name);
    sql << ") VALUES ";
    const size_t to = std::min(Rows.size(), from + perStatement);
    for (size_t r = from; r < to; ++r) {
      sql << (r > from ? ", (" : "(");
      for (size_t c = 0; c < columns.size(); ++c) {
        if (c > 0) sql << ", ";
        sql.AddParam(columns[c], Rows[r]->ValueAt(static_cast<int>(c)));
      }
      sql << ")";
    }
    count += RunCommand(sql);
  }
  return count;
}

int TDbDataBridge::Delete(TBridgeTable& Table, const TQuiltPatch* Patch,
                          platform::TInterruptable* Progress) {
  if (!CanWrite()) TDataBridge::DeleteData(&Table.Table(), nullptr, Progress);
  platform::TInterruptable own;
  platform::TInterruptable& progress = Progress != nullptr ? *Progress : own;
  TQuilt quilt;
  quilt.AddPatch(Patch != nullptr ? Patch->Copy() : std::make_unique<TQuiltPatch>());
  TSqlBuilder sql = NewStatement();
  sql << "DELETE FROM " << Table.SqlName() << " WHERE ";
  AppendQuiltCondition(sql, Table, quilt);
  Open();
  BeginTransaction();
  long long count = 0;
  try {
    count = RunCommand(sql);
    CommitTransaction();
  } catch (...) {
    RollbackTransaction();
    throw;
  }
  progress.Counters[bcRowsDeleted] += static_cast<int32_t>(count);
  // The storage's unchanged rows of the patch are gone from the database.
  TBridgeRowStorage& storage = Table.Storage();
  platform::TStringList rows;
  storage.GetRows(&rows, &quilt, gmRows);
  for (int i = 0; i < rows.Count(); ++i) {
    auto* row = static_cast<TDataRow*>(rows.GetObject(i));
    if (row->State() != rsUnchanged) continue;
    storage.Versions().erase(KeyFingerprint(Table, *row));
    if (storage.RemoveRow(row)) {
      storage.RowChanged(rcRemoved, row, -1);
      delete row;
    }
  }
  storage.Touch();
  return static_cast<int>(count);
}

void TDbDataBridge::UpdateData(TDataTable* Table, TQuiltPatch* Patch,
                               platform::TInterruptable* Progress) {
  if (!CanWrite()) TDataBridge::UpdateData(Table, Patch, Progress);
  Save(TableOf(Table), Patch, Progress);
}

void TDbDataBridge::DeleteData(TDataTable* Table, TQuiltPatch* Patch,
                               platform::TInterruptable* Progress) {
  if (!CanWrite()) TDataBridge::DeleteData(Table, Patch, Progress);
  Delete(TableOf(Table), Patch, Progress);
}

}  // namespace dataframework::bridge
