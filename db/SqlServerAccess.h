// SQL Server data access over ODBC: the connection and the stored procedure
// object.
//
// The driver is CLAVIRA_ODBC_SQLSERVER (an odbcinst.ini name or a driver
// path, default "FreeTDS"). A server of the form host,port becomes SERVER and
// PORT. Parameter names lose SQL Server's leading "@"; look-up by name drops
// one leading "@" from the name asked for.
#pragma once

#include <string>

#include "db/Connection.h"
#include "db/OdbcStoredProc.h"

namespace db {

class TMSConnection : public TCustomConnection {
 public:
  TMSConnection() = default;

  const std::string& Server() const { return FServer; }
  void SetServer(const std::string& v) { FServer = v; }
  const std::string& Username() const { return FUsername; }
  void SetUsername(const std::string& v) { FUsername = v; }
  void SetPassword(const std::string& v) { FPassword = v; }
  const std::string& Database() const { return FDatabase; }
  void SetDatabase(const std::string& v) { FDatabase = v; }

  std::string ConnectionString() const override;
  std::string Secret() const override { return FPassword; }

 private:
  std::string FServer;
  std::string FUsername;
  std::string FPassword;
  std::string FDatabase;
};

class TMSStoredProc : public TOdbcStoredProc {
 public:
  TMSStoredProc() = default;

  TMSConnection* Connection() const { return FMSConnection; }
  void SetConnection(TMSConnection* connection) {
    FMSConnection = connection;
    SetBaseConnection(connection);
  }

  TParam* FindParam(const std::string& name) override;

 protected:
  std::string EngineParamName(const std::string& catalogName) const override;

 private:
  TMSConnection* FMSConnection = nullptr;
};

}  // namespace db
