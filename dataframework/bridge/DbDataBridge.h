// TDbDataBridge: the road between a database table and a row storage, over
// one engine (a subclass: TOdbcDataBridge over ODBC, TPgDataBridge over the
// PostgreSQL client library). The engine runs statements; this class
// decides what to load and what to write.
//
// Load: the cache load policy turns a condition into a quilt; what the
// storage has already loaded is subtracted; the rest is read with one
// SELECT (key ranges and value lists as bound parameters, in key order)
// in blocks of BlockRows rows, each block put into the storage as a whole
// (state rsUnchanged) before Progress is consulted. A cancelled or failed
// load keeps the blocks already put, and the loaded quilt then holds
// exactly the part read (the request up to the last key put).
//
// Save: the storage's inserted, changed and deleted rows are written in one
// transaction. Rows changed or deleted here are first read again, locked,
// and compared with the fingerprint taken when they were loaded; an
// inserted row's key must be free. A conflict fails the whole save
// (EBridgeConflict naming the first conflicting key), rolls back, and the
// storage keeps every row, change and state. Changed rows write only the
// columns whose values differ from the database's (a NULL stays NULL
// while its row still shows the type's empty value). After the commit the
// rows are rsUnchanged and the deleted rows are gone.
//
// Progress counters: 0 rows read, 1 rows inserted, 2 rows updated, 3 rows
// deleted. A lost connection is reported with the engine's EDatabaseError
// and is reopened by the next call.
//
// Ownership: the bridge owns its connection; tables it describes borrow
// the bridge, which must outlive them. One caller at a time.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "dataframework/bridge/BridgeTable.h"
#include "dataframework/bridge/SqlBuilder.h"
#include "dataframework/elements/CacheLoadPolicy.h"
#include "dataframework/elements/DataBridge.h"
#include "platform/Interruptable.h"

namespace dataframework::bridge {

enum TBridgeCounter : int {
  bcRowsRead = 0,
  bcRowsInserted = 1,
  bcRowsUpdated = 2,
  bcRowsDeleted = 3,
};

// Receives the rows of a query, column by column in table order.
class TRowReceiver {
 public:
  explicit TRowReceiver(const TBridgeTable& Table);
  virtual ~TRowReceiver();
  TRowReceiver(const TRowReceiver&) = delete;
  TRowReceiver& operator=(const TRowReceiver&) = delete;

  // The server's text of column Column of the current row.
  void SetText(int Column, std::string_view Text);
  // A value of the column's type (engines that bind numbers natively).
  void SetValue(int Column, const TValue& Value);
  void SetNull(int Column);
  void EndRow();
  // After every block of rows and at the end; false stops the query.
  virtual bool EndBlock() { return true; }

 protected:
  // A complete row with its key and version fingerprints and which columns
  // were NULL.
  virtual void Take(std::unique_ptr<TDataRow> Row, uint64_t Key, uint64_t Version,
                    const std::vector<bool>& Nulls) = 0;
  const TBridgeTable& FTable;

 private:
  void Begin();
  std::unique_ptr<TDataRow> FRow;
  std::vector<bool> FNulls;
  std::vector<uint64_t> FHashes;
};

// The key fingerprint of a row of Table.
uint64_t KeyFingerprint(const TBridgeTable& Table, const TAbstractRow& Row);
// The version fingerprint of Row with the NULL columns Nulls.
uint64_t VersionFingerprint(const TBridgeTable& Table, const TAbstractRow& Row,
                            const std::vector<bool>& Nulls);

class TDbDataBridge : public TDataBridge {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TDbDataBridge(platform::TComponent* Owner);
  ~TDbDataBridge() override;

  // The table Name ("t" or "schema.t"; looked up as given, then folded to
  // lower case) described from the catalog; its TDataTable's bridge is this
  // bridge. Errors: see MakeBridgeTable.
  std::unique_ptr<TBridgeTable> Describe(const std::string& Name,
                                         TUnsupportedColumns Unsupported = ucRefuse);

  // Loads the rows of Condition (none: the whole table) that the storage
  // has not loaded yet; FieldSet as for the policy. Answers the rows put.
  // Raises EBridgeError "Field <name> is not a column of <table>" for a
  // condition on another field, and "<class>.Load: Read is not allowed to
  // this type of DataBridge" when CanRead is false.
  int Load(TBridgeTable& Table, const TCondition* Condition,
           platform::TInterruptable* Progress = nullptr, const TDataFieldSet* FieldSet = nullptr);
  // Writes the storage's changes (those of rows Patch accepts; none: all).
  // Answers false when Progress interrupted it (rolled back, nothing
  // written, the storage as before). CanWrite false: the base's refusal.
  bool Save(TBridgeTable& Table, const TQuiltPatch* Patch = nullptr,
            platform::TInterruptable* Progress = nullptr);
  // Deletes the database rows Patch accepts (none: every row) in one
  // transaction; the storage's unchanged rows of the patch go too (changed
  // ones stay, and their save will conflict). Answers the rows deleted.
  int Delete(TBridgeTable& Table, const TQuiltPatch* Patch,
             platform::TInterruptable* Progress = nullptr);

  // TDataBridge: Table must be one this bridge described.
  void UpdateData(TDataTable* Table, TQuiltPatch* Patch,
                  platform::TInterruptable* Progress) override;
  void DeleteData(TDataTable* Table, TQuiltPatch* Patch,
                  platform::TInterruptable* Progress) override;

  // The policy that turns conditions into patches (default: the
  // process-wide default policy). Not owned.
  const TCacheLoadPolicy* LoadPolicy() const;
  void SetLoadPolicy(const TCacheLoadPolicy* Policy) { FLoadPolicy = Policy; }
  // Rows per block (fetch size, rows put between progress checks).
  int BlockRows = 10000;
  // Runs after every block with the counters so far (a host's progress
  // display; it may set Interrupted).
  std::function<void(platform::TInterruptable&)> OnProgress;

  // For TBridgeTable.
  void Forget(const TBridgeTable* Table);

 protected:
  // ---- The engine.
  // Opens the connection when it is not open (again after a loss).
  virtual void Open() = 0;
  virtual TSqlBuilder NewStatement() const = 0;
  // Runs a query and hands its rows to Receiver in blocks of about
  // BlockRows; stops early when EndBlock answers false.
  virtual void RunQuery(const TSqlBuilder& Sql, const TBridgeTable& Table,
                        TRowReceiver& Receiver) = 0;
  // Runs a statement; answers the rows it affected.
  virtual long long RunCommand(const TSqlBuilder& Sql) = 0;
  virtual void BeginTransaction() = 0;
  virtual void CommitTransaction() = 0;
  // Must not throw (it runs while an error is on its way).
  virtual void RollbackTransaction() noexcept = 0;
  // The catalog's columns and key columns of Name; SqlName the name as
  // statements write it. No columns: the table does not exist.
  virtual void ReadCatalog(const std::string& Name, std::vector<TCatalogColumn>& Columns,
                           std::vector<std::string>& KeyColumns, std::string& SqlName) = 0;
  // " FOR UPDATE" where the engine locks rows read that way; "" otherwise.
  virtual std::string LockClause() const = 0;

  // ---- The save's writes, inside its transaction. The defaults match rows
  // by key a batch of rows at a time and update one row per statement; an
  // engine with a faster road for sets of rows overrides them.
  // The database's rows with the keys of Rows, locked until the end of the
  // transaction where the engine can (LockClause), handed to Receiver.
  virtual void ReadLocked(const TBridgeTable& Table, const std::vector<const TAbstractRow*>& Rows,
                          TRowReceiver& Receiver);
  // One changed row and which of its non-key columns to write.
  struct TRowWrite {
    const TAbstractRow* Row = nullptr;
    std::vector<bool> Columns;  // by column index; keys always false
  };
  // Writes each row's chosen columns over the database row of its key.
  virtual void WriteUpdates(const TBridgeTable& Table, const std::vector<TRowWrite>& Writes);
  // Inserts Rows (every column); answers the rows inserted.
  virtual long long WriteInserts(const TBridgeTable& Table,
                                 const std::vector<const TAbstractRow*>& Rows);

 private:
  TBridgeTable& TableOf(TDataTable* Table) const;
  void Notify(platform::TInterruptable& Progress) const;
  // The save's statements inside the open transaction; false when
  // interrupted.
  bool WriteChanges(TBridgeTable& Table, const std::vector<TDataRow*>& Deleted,
                    const std::vector<TDataRow*>& Changed, const std::vector<TDataRow*>& Inserted,
                    platform::TInterruptable& Progress, std::vector<uint64_t>& NewVersions);

  const TCacheLoadPolicy* FLoadPolicy = nullptr;
  std::unordered_map<const TDataTable*, TBridgeTable*> FTables;
};

}  // namespace dataframework::bridge
