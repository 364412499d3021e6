// Oracle data access over ODBC: the session and the stored procedure object.
//
// The driver is CLAVIRA_ODBC_ORACLE (an odbcinst.ini name or a driver path,
// default "Oracle"). In client mode the server text is the driver's database
// name (DBQ); in direct mode it is host:port:service and the connection string
// carries DBQ=//host:port/service and SERVER, PORT and DATABASE as well.
// Rows come back through cursor parameters, which the driver hands back as
// result sets; FetchRefcursors=1 asks drivers that need it to do so.
#pragma once

#include <string>

#include "db/Connection.h"
#include "db/OdbcStoredProc.h"

namespace db {

class TOraSession : public TCustomConnection {
 public:
  TOraSession() = default;

  const std::string& Username() const { return FUsername; }
  void SetUsername(const std::string& v) { FUsername = v; }
  void SetPassword(const std::string& v) { FPassword = v; }
  const std::string& Server() const { return FServer; }
  void SetServer(const std::string& v) { FServer = v; }
  // Commit after every call (default on).
  bool AutoCommit() const { return FAutoCommit; }
  void SetAutoCommit(bool on) { FAutoCommit = on; }
  // Network connection without the client software (server is host:port:service).
  bool Direct() const { return FDirect; }
  void SetDirect(bool on) { FDirect = on; }

  void Commit();
  void Rollback();

  std::string ConnectionString() const override;
  std::string Secret() const override { return FPassword; }

 protected:
  void AfterConnect(SQLHDBC hdbc) override;

 private:
  std::string FUsername;
  std::string FPassword;
  std::string FServer;
  bool FAutoCommit = true;
  bool FDirect = false;
};

// Parameters listed as CLOB (long text) reach the server through
// data-at-execution, any length; cursor parameters are listed but not bound.
class TOraStoredProc : public TOdbcStoredProc {
 public:
  TOraStoredProc() = default;

  TOraSession* Session() const { return FSession; }
  void SetSession(TOraSession* session) {
    FSession = session;
    SetBaseConnection(session);
  }

 protected:
  TFieldType ParamFieldType(SQLSMALLINT sqlType, const std::string& typeName) const override;
  bool IsRowsParam(const std::string& typeName) const override;
  const char* NoConnectionText() const override { return "Session is not assigned"; }
  void BeforeRun(SQLHDBC hdbc) override;
  void AfterRun(SQLHDBC hdbc, bool succeeded) override;

 private:
  TOraSession* FSession = nullptr;
};

}  // namespace db
