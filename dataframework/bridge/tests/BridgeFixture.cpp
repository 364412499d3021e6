#include "dataframework/bridge/tests/BridgeFixture.h"

#include <libpq-fe.h>

#include <stdexcept>

#include "dataframework/bridge/OdbcDataBridge.h"
#include "dataframework/bridge/PgDataBridge.h"
#include "dataframework/elements/DataRow.h"
#include "platform/StringList.h"

namespace dataframework::bridge::test {

namespace {

const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new testsupport::PgClusterEnvironment);

}  // namespace

testsupport::PgCluster& Cluster() {
  static bool exported = false;
  testsupport::PgCluster& cluster = testsupport::PgClusterEnvironment::Cluster();
  if (!exported) {
    cluster.ExportOdbcEnvironment();
    exported = true;
  }
  return cluster;
}

TPgSession::TPgSession() {
  auto& c = Cluster();
  const std::string port = std::to_string(c.Port());
  const char* keys[] = {"host", "port", "dbname", "user", "password", "connect_timeout", nullptr};
  const char* values[] = {c.Host().c_str(), port.c_str(),         c.Database().c_str(),
                          c.User().c_str(), c.Password().c_str(), "15",
                          nullptr};
  FConn = PQconnectdbParams(keys, values, 0);
  if (PQstatus(FConn) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(FConn));
}

TPgSession::~TPgSession() {
  PQfinish(FConn);
}

void TPgSession::Exec(const std::string& Sql) {
  PGresult* r = PQexec(FConn, Sql.c_str());
  const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
  const std::string error = ok ? "" : PQresultErrorMessage(r);
  PQclear(r);
  if (!ok) throw std::runtime_error(error);
}

std::vector<TDbRow> TPgSession::Rows(const std::string& Sql) {
  PGresult* r = PQexec(FConn, Sql.c_str());
  if (PQresultStatus(r) != PGRES_TUPLES_OK) {
    const std::string error = PQresultErrorMessage(r);
    PQclear(r);
    throw std::runtime_error(error);
  }
  std::vector<TDbRow> rows;
  for (int i = 0; i < PQntuples(r); ++i) {
    TDbRow row;
    for (int c = 0; c < PQnfields(r); ++c)
      row.push_back(PQgetisnull(r, i, c) ? TCell() : TCell(PQgetvalue(r, i, c)));
    rows.push_back(std::move(row));
  }
  PQclear(r);
  return rows;
}

void TPgSession::Terminate(int Pid) {
  Rows("SELECT pg_terminate_backend(" + std::to_string(Pid) + ")");
}

std::unique_ptr<TDbDataBridge> MakeBridge(TEngine Engine) {
  auto& c = Cluster();
  if (Engine == ePg) {
    TPgConnectParams p;
    p.Host = c.Host();
    p.Port = c.Port();
    p.Database = c.Database();
    p.User = c.User();
    p.Password = c.Password();
    return std::make_unique<TPgDataBridge>(nullptr, p);
  }
  return std::make_unique<TOdbcDataBridge>(nullptr, c.OdbcConnectionString(), c.Password());
}

int BackendPid(TDbDataBridge& Bridge, TPgSession& Db) {
  if (auto* pg = dynamic_cast<TPgDataBridge*>(&Bridge)) return pg->BackendPid();
  // The ODBC session is the other client of the test database.
  auto rows = Db.Rows(
      "SELECT pid FROM pg_stat_activity WHERE datname = current_database() AND pid <> "
      "pg_backend_pid() AND backend_type = 'client backend' AND application_name <> "
      "'clavira-bridge' ORDER BY backend_start DESC LIMIT 1");
  return rows.empty() ? 0 : std::stoi(*rows[0][0]);
}

TDbRow StorageRowText(const TBridgeTable& Table, const TAbstractRow& Row) {
  TDbRow row;
  for (size_t c = 0; c < Table.Columns().size(); ++c)
    row.push_back(TextOfValue(Table.Columns()[c].Kind, Row.ValueAt(static_cast<int>(c))));
  return row;
}

std::vector<TDbRow> StorageRows(const TBridgeTable& Table, const TCondition* Condition) {
  platform::TStringList list;
  Table.Storage().GetRows(&list, Condition, gmRows);
  std::vector<TDbRow> rows;
  for (int i = 0; i < list.Count(); ++i)
    rows.push_back(StorageRowText(Table, *static_cast<TAbstractRow*>(list.GetObject(i))));
  return rows;
}

void BridgeTest::SetUp() {
  Db = std::make_unique<TPgSession>();
  Bridge = MakeBridge(GetParam());
}

std::string EngineName(const ::testing::TestParamInfo<TEngine>& Info) {
  return Info.param == ePg ? "libpq" : "odbc";
}

}  // namespace dataframework::bridge::test
