// Loading a table through the bridge against the bare engines under it:
// Bridge/LoadAll/<engine> with clavira (the bridge over libpq),
// clavira_odbc (the bridge over ODBC), copy (a bare libpq COPY loop that
// only parses and sums: the floor) and odbc (a bare ODBC loop with a
// server-side cursor and row arrays). Wall time (the server's work counts).
// CLAVIRA_BRIDGE_ROWS sets the table size (default 1,000,000).
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "dataframework/bridge/OdbcDataBridge.h"
#include "dataframework/bridge/PgDataBridge.h"
#include "db/Odbc.h"
#include "testsupport/PgCluster.h"

namespace {

using namespace dataframework::bridge;
testsupport::PgCluster* g_cluster = nullptr;

TPgConnectParams PgParams() {
  TPgConnectParams p;
  p.Host = g_cluster->Host();
  p.Port = g_cluster->Port();
  p.Database = g_cluster->Database();
  p.User = g_cluster->User();
  p.Password = g_cluster->Password();
  return p;
}

PGconn* Connect() {
  const std::string port = std::to_string(g_cluster->Port());
  const char* keys[] = {"host", "port", "dbname", "user", "password", nullptr};
  const char* values[] = {g_cluster->Host().c_str(),     port.c_str(),
                          g_cluster->Database().c_str(), g_cluster->User().c_str(),
                          g_cluster->Password().c_str(), nullptr};
  PGconn* c = PQconnectdbParams(keys, values, 0);
  if (PQstatus(c) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(c));
  return c;
}

void LoadAll(benchmark::State& State, std::unique_ptr<TDbDataBridge> (*Make)()) {
  for (auto _ : State) {
    auto bridge = Make();
    auto table = bridge->Describe("big");
    const int rows = bridge->Load(*table, nullptr);
    benchmark::DoNotOptimize(rows);
    State.counters["rows"] = rows;
  }
}

void BM_Clavira(benchmark::State& State) {
  LoadAll(State, [] {
    return std::unique_ptr<TDbDataBridge>(std::make_unique<TPgDataBridge>(nullptr, PgParams()));
  });
}

void BM_ClaviraOdbc(benchmark::State& State) {
  LoadAll(State, [] {
    return std::unique_ptr<TDbDataBridge>(std::make_unique<TOdbcDataBridge>(
        nullptr, g_cluster->OdbcConnectionString(), g_cluster->Password()));
  });
}

void BM_Copy(benchmark::State& State) {
  PGconn* c = Connect();
  for (auto _ : State) {
    PGresult* r = PQexec(c, "COPY (SELECT * FROM big ORDER BY g, n, m) TO STDOUT");
    PQclear(r);
    double sum = 0;
    char* line = nullptr;
    int n;
    while ((n = PQgetCopyData(c, &line, 0)) > 0) {
      char* p = line;
      for (int field = 0; field < 5; ++field) {
        sum += std::strtod(p, &p);
        ++p;
      }
      PQfreemem(line);
    }
    while (PGresult* rest = PQgetResult(c)) PQclear(rest);
    benchmark::DoNotOptimize(sum);
  }
  PQfinish(c);
}

void BM_Odbc(benchmark::State& State) {
  using namespace db::odbc;
  THandle dbc = Allocate(SQL_HANDLE_DBC, Environment());
  std::string text = g_cluster->OdbcConnectionString() + ";UseDeclareFetch=1;Fetch=10000";
  Check(SQLDriverConnect(dbc.Get(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS,
                         nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
        SQL_HANDLE_DBC, dbc.Get(), "connect");
  constexpr SQLULEN rows = 10000;
  for (auto _ : State) {
    THandle stmt = Allocate(SQL_HANDLE_STMT, dbc.Get());
    SQLHSTMT h = stmt.Get();
    std::vector<SQLINTEGER> k[3];
    std::vector<double> d[2];
    std::vector<SQLLEN> ind(rows * 5);
    SQLULEN fetched = 0;
    SQLSetStmtAttr(h, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(rows), 0);
    SQLSetStmtAttr(h, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0);
    for (int i = 0; i < 3; ++i) {
      k[i].resize(rows);
      SQLBindCol(h, static_cast<SQLUSMALLINT>(i + 1), SQL_C_SLONG, k[i].data(), 0, &ind[i * rows]);
    }
    for (int i = 0; i < 2; ++i) {
      d[i].resize(rows);
      SQLBindCol(h, static_cast<SQLUSMALLINT>(i + 4), SQL_C_DOUBLE, d[i].data(), 0,
                 &ind[(i + 3) * rows]);
    }
    Check(
        SQLExecDirect(
            h, reinterpret_cast<SQLCHAR*>(const_cast<char*>("SELECT * FROM big ORDER BY g, n, m")),
            SQL_NTS),
        SQL_HANDLE_STMT, h, "select");
    double sum = 0;
    while (SQL_SUCCEEDED(SQLFetch(h)))
      for (SQLULEN r = 0; r < fetched; ++r) sum += k[0][r] + k[1][r] + k[2][r] + d[0][r] + d[1][r];
    benchmark::DoNotOptimize(sum);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  try {
    testsupport::PgCluster cluster;
    g_cluster = &cluster;
    cluster.ExportOdbcEnvironment();
    const char* env = std::getenv("CLAVIRA_BRIDGE_ROWS");
    const long total = env != nullptr ? std::atol(env) : 1000000;
    cluster.RunSql(
        "CREATE TABLE big (g integer, n integer, m integer, a double precision, b double "
        "precision, PRIMARY KEY (g, n, m)); INSERT INTO big SELECT i / 10000, (i / 100) % 100, "
        "i % 100, i * 0.5, i * 0.25 FROM generate_series(0, " +
        std::to_string(total - 1) + ") i; VACUUM ANALYZE big;");
    benchmark::RegisterBenchmark("Bridge/LoadAll/clavira", BM_Clavira)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Bridge/LoadAll/clavira_odbc", BM_ClaviraOdbc)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Bridge/LoadAll/copy", BM_Copy)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Bridge/LoadAll/odbc", BM_Odbc)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    g_cluster = nullptr;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bridge_bench: %s\n", e.what());
    return 1;
  }
  benchmark::Shutdown();
  return 0;
}
