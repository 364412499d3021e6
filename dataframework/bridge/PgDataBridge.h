// TPgDataBridge: the bridge on PostgreSQL's own road, the client library
// libpq. Loads run through a cursor with bound text parameters, fetched
// and put into the storage block by block (reads inside a save's
// transaction stream in single-row mode), so memory holds the storage's
// rows plus one block, never the whole result. Texts are compared and
// ordered in the "C" collation (the framework's byte order).
//
// A save moves its rows with COPY: the keys it checks go into a temporary
// table that the locked read joins, changed rows into another that one
// UPDATE ... FROM per set of changed columns reads, inserted rows straight
// into the table; a few statements for any number of rows.
//
// Every wait on the server is bounded: the connection waits ConnectTimeout
// seconds, a statement QueryTimeout seconds (the session's
// statement_timeout), and TCP keepalives notice a silent peer.
//
// A connection found lost (the server restarted or ended the session) is
// dropped when the failing call reports its error, and opened again by the
// next call.
//
// Ownership: the bridge owns its libpq connection. The password never
// appears in an error.
#pragma once

#include <memory>
#include <string>

#include "dataframework/bridge/DbDataBridge.h"

struct pg_conn;

namespace dataframework::bridge {

struct TPgConnectParams {
  std::string Host = "127.0.0.1";
  int Port = 5432;
  std::string Database;
  std::string User;
  std::string Password;
  int ConnectTimeout = 15;  // seconds
  int QueryTimeout = 600;   // seconds a statement may run (0: no limit)
};

class TPgDataBridge : public TDbDataBridge {
  CLAVIRA_DECLARE_CLASS()

 public:
  TPgDataBridge(platform::TComponent* Owner, TPgConnectParams Params);
  ~TPgDataBridge() override;

  bool Connected() const;
  void Disconnect();
  // The server process of the session (tests end it to lose the connection).
  int BackendPid();

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
  std::string LockClause() const override { return " FOR UPDATE"; }
  void ReadLocked(const TBridgeTable& Table, const std::vector<const TAbstractRow*>& Rows,
                  TRowReceiver& Receiver) override;
  void WriteUpdates(const TBridgeTable& Table, const std::vector<TRowWrite>& Writes) override;
  long long WriteInserts(const TBridgeTable& Table,
                         const std::vector<const TAbstractRow*>& Rows) override;

 private:
  // Raises the server's error (EDatabaseError with its SQLSTATE), dropping
  // a lost connection first.
  [[noreturn]] void Fail(const std::string& Context, const void* Result);
  void Exec(const std::string& Sql);
  // A query outside a transaction: a cursor in a transaction of its
  // own, fetched a block at a time (one result per block, not per row).
  void RunCursor(const TSqlBuilder& Sql, const TBridgeTable& Table, TRowReceiver& Receiver);
  // Runs a COPY ... FROM STDIN and sends Data (COPY text lines) to it;
  // answers the rows copied.
  long long CopyIn(const std::string& Sql, const std::string& Data);

  TPgConnectParams FParams;
  pg_conn* FConn = nullptr;
};

}  // namespace dataframework::bridge
