// A throwaway PostgreSQL cluster for tests, over scripts/pg-cluster.
//
// The constructor starts a cluster on 127.0.0.1 (free port, password
// authentication) in a private temporary folder; the destructor stops it and
// removes the folder. The folder also holds an odbcinst.ini defining the
// PostgreSQL driver alias, for ODBCSYSINI.
//
// One cluster per test executable: register PgClusterEnvironment and reach
// the cluster through PgClusterEnvironment::Cluster(), which starts it on
// first use (tests that never ask for it start nothing).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace testsupport {

class PgCluster {
 public:
  PgCluster();  // throws std::runtime_error when the cluster does not start
  ~PgCluster();
  PgCluster(const PgCluster&) = delete;
  PgCluster& operator=(const PgCluster&) = delete;

  const std::string& Host() const { return FHost; }
  int Port() const { return FPort; }
  const std::string& Database() const { return FDatabase; }
  const std::string& User() const { return FUser; }
  const std::string& Password() const { return FPassword; }
  // Folder holding odbcinst.ini (the value for ODBCSYSINI).
  const std::string& OdbcSysIni() const { return FDir; }
  // The alias odbcinst.ini defines for the PostgreSQL ODBC driver.
  const std::string& OdbcDriver() const { return FDriver; }

  // Sets ODBCSYSINI, and CLAVIRA_ODBC_SQLSERVER and CLAVIRA_ODBC_ORACLE to
  // the PostgreSQL alias, so that both engines' classes reach this cluster.
  void ExportOdbcEnvironment() const;

  // Connection strings in the two engines' formats for this cluster.
  std::string SqlServerConnectionString() const;  // "...;Data Source=127.0.0.1,port;..."
  std::string OracleConnectionString() const;     // "user/password@127.0.0.1:port:database"
  // A DSN-less ODBC connection string for raw ODBC use.
  std::string OdbcConnectionString() const;

  // Runs SQL as the login role (psql, stops at the first error); throws
  // std::runtime_error with psql's output on failure.
  void RunSql(const std::string& sql) const;
  void RunSqlFile(const std::string& path) const;

 private:
  std::string FDir;
  std::string FHost = "127.0.0.1";
  int FPort = 0;
  std::string FDatabase;
  std::string FUser;
  std::string FPassword;
  std::string FDriver;
};

class PgClusterEnvironment : public ::testing::Environment {
 public:
  void TearDown() override;
  // The executable's cluster, started on first use.
  static PgCluster& Cluster();
};

}  // namespace testsupport
