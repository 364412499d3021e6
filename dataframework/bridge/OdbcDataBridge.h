// TOdbcDataBridge: the bridge over ODBC, for every engine the db layer
// reaches. Queries run as prepared statements with bound parameters and
// are fetched in row arrays (column-wise, one block of rows a fetch);
// texts travel as UTF-16 (SQL_C_WCHAR) whatever the client's locale.
//
// On the PostgreSQL driver the connection asks for a server-side cursor
// (UseDeclareFetch=1, Fetch=<BlockRows>: without it the driver holds the
// whole result in memory), Booleans as SQL_BIT (BoolsAsChar=0), text and
// unknown types as long texts, and a rollback of the whole transaction on
// an error (Protocol=7.4-1) instead of a savepoint around every statement,
// which doubled the round trips of a save. Other drivers ignore these.
//
// The connection is a db::TCustomConnection: a lost connection is dropped
// when the failing call reports the driver's EDatabaseError and opened
// again by the next call.
//
// Ownership: the bridge owns its connection. The password never appears
// in an error.
#pragma once

#include <memory>
#include <string>

#include "dataframework/bridge/DbDataBridge.h"
#include "db/Odbc.h"

namespace db {
class TCustomConnection;
}

namespace dataframework::bridge {

struct TBoundParams;

class TOdbcDataBridge : public TDbDataBridge {
  CLAVIRA_DECLARE_CLASS()

 public:
  // ConnectionString: a DSN-less ODBC string ("DRIVER=...;SERVER=...;...");
  // Secret: the password in it, masked in every error.
  TOdbcDataBridge(platform::TComponent* Owner, std::string ConnectionString, std::string Secret);
  ~TOdbcDataBridge() override;

  // Seconds a statement may run (0: no limit).
  int QueryTimeout = 600;
  db::TCustomConnection& Connection() const { return *FConnection; }

 protected:
  void Open() override;
  TSqlBuilder NewStatement() const override;
  void RunQuery(const TSqlBuilder& Sql, const TBridgeTable& Table, TRowReceiver& Receiver) override;
  long long RunCommand(const TSqlBuilder& Sql) override;
  void BeginTransaction() override;
  void CommitTransaction() override;
  void RollbackTransaction() noexcept override;
  void ReadCatalog(const std::string& Name, std::vector<TCatalogColumn>& Columns,
                   std::vector<std::string>& KeyColumns, std::string& SqlName) override;
  std::string LockClause() const override { return FPostgres ? " FOR UPDATE" : ""; }
  // One prepared UPDATE per set of written columns, run over parameter
  // arrays (all the rows of the set in one execution).
  void WriteUpdates(const TBridgeTable& Table, const std::vector<TRowWrite>& Writes) override;

 private:
  // A statement with its time-out, prepared, Sql's parameters bound into
  // Params (which must outlive its execution).
  db::odbc::THandle Prepare(const TSqlBuilder& Sql, TBoundParams& Params);

  std::unique_ptr<db::TCustomConnection> FConnection;
  bool FPostgres = false;
  bool FInTransaction = false;
};

}  // namespace dataframework::bridge
