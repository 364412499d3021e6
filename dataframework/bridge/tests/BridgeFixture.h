// The bridge tests' world: the executable's PostgreSQL cluster, a plain
// libpq session to set up and inspect tables behind the bridge's back, and
// bridges of both engines over the same database.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dataframework/bridge/DbDataBridge.h"
#include "testsupport/PgCluster.h"

struct pg_conn;

namespace dataframework::bridge::test {

enum TEngine { ePg, eOdbc };

using TCell = std::optional<std::string>;
using TDbRow = std::vector<TCell>;

// A libpq session of its own (another client, as far as the bridge knows).
class TPgSession {
 public:
  TPgSession();
  ~TPgSession();
  // Runs statements; throws std::runtime_error with the server's text.
  void Exec(const std::string& Sql);
  // Every row of a query as text (NULL: no value).
  std::vector<TDbRow> Rows(const std::string& Sql);
  // Ends the server process pid (the bridge's connection is then lost).
  void Terminate(int Pid);

 private:
  pg_conn* FConn = nullptr;
};

testsupport::PgCluster& Cluster();
std::unique_ptr<TDbDataBridge> MakeBridge(TEngine Engine);
// The bridge's own backend pid (for either engine).
int BackendPid(TDbDataBridge& Bridge, TPgSession& Db);

// A row of the storage as the texts the database would show, in column
// order (for comparing with TPgSession::Rows of "SELECT *" cast to text by
// the same rules).
TDbRow StorageRowText(const TBridgeTable& Table, const TAbstractRow& Row);
// Every data row of the storage, in key order.
std::vector<TDbRow> StorageRows(const TBridgeTable& Table, const TCondition* Condition = nullptr);

class BridgeTest : public ::testing::TestWithParam<TEngine> {
 protected:
  void SetUp() override;
  std::unique_ptr<TPgSession> Db;
  std::unique_ptr<TDbDataBridge> Bridge;
};

std::string EngineName(const ::testing::TestParamInfo<TEngine>& Info);

}  // namespace dataframework::bridge::test
