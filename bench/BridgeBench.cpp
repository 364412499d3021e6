// The bridge against the bare engines under it and against Qt's SQL model,
// Bridge/<phase>/<engine>, wall time (the server's work counts):
//   LoadAll   the whole table;
//   LoadGroup 100 groups of 1,000 rows, one after the other, into a storage
//             that keeps what it loaded (time per iteration = 100 groups);
//   Save      10,000 changed rows of one loaded group, conflict check
//             included for the bridge.
// Engines: clavira (the bridge over libpq), clavira_odbc (the bridge over
// ODBC), copy (bare libpq: a COPY loop that only parses and sums, a
// prepared SELECT of a group, a set-based save through COPY into a
// temporary table and one UPDATE ... FROM: the floor), odbc (bare ODBC with
// a server-side cursor and row arrays), qsql (QSqlTableModel with the QPSQL
// driver, every row fetched and read through data()), rowwise (a save as
// one prepared UPDATE per row). CLAVIRA_BRIDGE_ROWS sets the table size
// (default 1,000,000; 100 groups g of 10,000 rows).
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>

#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "dataframework/bridge/OdbcDataBridge.h"
#include "dataframework/bridge/PgDataBridge.h"
#include "dataframework/conditions/QuiltField.h"
#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/elements/DataRow.h"
#include "db/Odbc.h"
#include "platform/StringList.h"
#include "testsupport/PgCluster.h"

namespace {

using namespace dataframework;
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

std::unique_ptr<TDbDataBridge> MakePg() {
  return std::make_unique<TPgDataBridge>(nullptr, PgParams());
}

std::unique_ptr<TDbDataBridge> MakeOdbc() {
  return std::make_unique<TOdbcDataBridge>(nullptr, g_cluster->OdbcConnectionString(),
                                           g_cluster->Password());
}

void BM_Clavira(benchmark::State& State) {
  LoadAll(State, MakePg);
}

void BM_ClaviraOdbc(benchmark::State& State) {
  LoadAll(State, MakeOdbc);
}

constexpr int kGroups = 100;

// Group g's rows with n in [0, Rows / 100): Rows rows.
std::unique_ptr<TQuiltPatch> GroupPatch(const TBridgeTable& Table, int G, int Rows) {
  auto patch = std::make_unique<TQuiltPatch>();
  patch->FieldFor(Table.Columns()[0].Field, true)->AddValue(IntegerValue(G));
  patch->FieldFor(Table.Columns()[1].Field, true)
      ->AddInterval(MakePoint(IntegerValue(0), true), MakePoint(IntegerValue(Rows / 100), false));
  return patch;
}

void LoadGroups(benchmark::State& State, std::unique_ptr<TDbDataBridge> (*Make)()) {
  auto bridge = Make();
  long rows = 0;
  for (auto _ : State) {
    State.PauseTiming();
    auto table = bridge->Describe("big");
    State.ResumeTiming();
    for (int g = 0; g < kGroups; ++g) {
      auto patch = GroupPatch(*table, g, 1000);
      rows += bridge->Load(*table, patch.get());
    }
  }
  State.counters["rows_per_group"] =
      static_cast<double>(rows) / (static_cast<double>(State.iterations()) * kGroups);
}

void BM_ClaviraGroup(benchmark::State& State) {
  LoadGroups(State, MakePg);
}

void BM_ClaviraOdbcGroup(benchmark::State& State) {
  LoadGroups(State, MakeOdbc);
}

void BM_CopyGroup(benchmark::State& State) {
  PGconn* c = Connect();
  PQclear(PQprepare(c, "group",
                    "SELECT * FROM big WHERE g = $1 AND n >= 0 AND n < 10 ORDER BY g, n, m", 1,
                    nullptr));
  for (auto _ : State) {
    double sum = 0;
    for (int g = 0; g < kGroups; ++g) {
      const std::string text = std::to_string(g);
      const char* values[] = {text.c_str()};
      PGresult* r = PQexecPrepared(c, "group", 1, values, nullptr, nullptr, 0);
      for (int i = 0; i < PQntuples(r); ++i)
        for (int f = 0; f < 5; ++f) sum += std::strtod(PQgetvalue(r, i, f), nullptr);
      PQclear(r);
    }
    benchmark::DoNotOptimize(sum);
  }
  PQfinish(c);
}

// Saves: each iteration loads group (iteration % 100) and changes column a
// of its 10,000 rows (not timed), then saves them (timed).
void SaveGroup(benchmark::State& State, std::unique_ptr<TDbDataBridge> (*Make)()) {
  auto bridge = Make();
  int iteration = 0;
  for (auto _ : State) {
    State.PauseTiming();
    auto table = bridge->Describe("big");
    auto patch = GroupPatch(*table, iteration % kGroups, 10000);
    bridge->Load(*table, patch.get());
    platform::TStringList rows;
    table->Storage().CollectState(rows, rsUnchanged);
    for (int i = 0; i < rows.Count(); ++i) {
      auto* row = static_cast<TDataRow*>(rows.GetObject(i));
      row->SetIndexValue(3, DoubleValue(iteration * 1e6 + i));
    }
    ++iteration;
    State.ResumeTiming();
    if (!bridge->Save(*table)) throw std::runtime_error("save interrupted");
    State.counters["rows"] = rows.Count();
  }
}

void BM_ClaviraSave(benchmark::State& State) {
  SaveGroup(State, MakePg);
}

void BM_ClaviraOdbcSave(benchmark::State& State) {
  SaveGroup(State, MakeOdbc);
}

void Exec(PGconn* C, const std::string& Sql) {
  PGresult* r = PQexec(C, Sql.c_str());
  const ExecStatusType s = PQresultStatus(r);
  PQclear(r);
  if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK && s != PGRES_COPY_IN)
    throw std::runtime_error(PQerrorMessage(C));
}

// The bare saves write a of group (iteration % 100) with the same values
// the bridge writes.
void BM_CopySave(benchmark::State& State) {
  PGconn* c = Connect();
  int iteration = 0;
  for (auto _ : State) {
    const int g = iteration % kGroups;
    Exec(c, "BEGIN");
    Exec(c, "CREATE TEMP TABLE s ON COMMIT DROP AS SELECT g, n, m, a FROM big WITH NO DATA");
    Exec(c, "COPY s FROM STDIN");
    std::string data;
    for (int i = 0; i < 10000; ++i)
      data += std::to_string(g) + '\t' + std::to_string(i / 100) + '\t' + std::to_string(i % 100) +
              '\t' + std::to_string(iteration * 1e6 + i) + '\n';
    PQputCopyData(c, data.data(), static_cast<int>(data.size()));
    PQputCopyEnd(c, nullptr);
    while (PGresult* r = PQgetResult(c)) PQclear(r);
    Exec(c, "UPDATE big SET a = s.a FROM s WHERE big.g = s.g AND big.n = s.n AND big.m = s.m");
    Exec(c, "COMMIT");
    ++iteration;
  }
  PQfinish(c);
}

void BM_RowwiseSave(benchmark::State& State) {
  PGconn* c = Connect();
  PQclear(PQprepare(c, "update", "UPDATE big SET a = $1 WHERE g = $2 AND n = $3 AND m = $4", 4,
                    nullptr));
  int iteration = 0;
  for (auto _ : State) {
    const int g = iteration % kGroups;
    Exec(c, "BEGIN");
    for (int i = 0; i < 10000; ++i) {
      const std::string v[] = {std::to_string(iteration * 1e6 + i), std::to_string(g),
                               std::to_string(i / 100), std::to_string(i % 100)};
      const char* values[] = {v[0].c_str(), v[1].c_str(), v[2].c_str(), v[3].c_str()};
      PQclear(PQexecPrepared(c, "update", 4, values, nullptr, nullptr, 0));
    }
    Exec(c, "COMMIT");
    ++iteration;
  }
  PQfinish(c);
}

QSqlDatabase QtDatabase() {
  if (QSqlDatabase::contains("bench")) return QSqlDatabase::database("bench");
  QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "bench");
  db.setHostName(QString::fromStdString(g_cluster->Host()));
  db.setPort(g_cluster->Port());
  db.setDatabaseName(QString::fromStdString(g_cluster->Database()));
  db.setUserName(QString::fromStdString(g_cluster->User()));
  db.setPassword(QString::fromStdString(g_cluster->Password()));
  if (!db.open()) throw std::runtime_error(db.lastError().text().toStdString());
  return db;
}

// What a QTableView over the model would make it do: fetch every row, then
// read every cell.
double ReadModel(QSqlTableModel& Model) {
  if (!Model.select()) throw std::runtime_error(Model.lastError().text().toStdString());
  while (Model.canFetchMore()) Model.fetchMore();
  double sum = 0;
  for (int r = 0; r < Model.rowCount(); ++r)
    for (int c = 0; c < Model.columnCount(); ++c) sum += Model.data(Model.index(r, c)).toDouble();
  return sum;
}

void BM_QSql(benchmark::State& State) {
  QSqlDatabase db = QtDatabase();
  for (auto _ : State) {
    QSqlTableModel model(nullptr, db);
    model.setTable("big");
    model.setSort(0, Qt::AscendingOrder);
    benchmark::DoNotOptimize(ReadModel(model));
  }
}

void BM_QSqlGroup(benchmark::State& State) {
  QSqlDatabase db = QtDatabase();
  for (auto _ : State) {
    double sum = 0;
    for (int g = 0; g < kGroups; ++g) {
      QSqlTableModel model(nullptr, db);
      model.setTable("big");
      model.setFilter(QString("g = %1 AND n >= 0 AND n < 10").arg(g));
      sum += ReadModel(model);
    }
    benchmark::DoNotOptimize(sum);
  }
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
  QCoreApplication app(argc, argv);  // Qt's SQL drivers are plugins
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
    struct {
      const char* Name;
      void (*Run)(benchmark::State&);
    } const runs[] = {
        {"Bridge/LoadAll/clavira", BM_Clavira},
        {"Bridge/LoadAll/clavira_odbc", BM_ClaviraOdbc},
        {"Bridge/LoadAll/copy", BM_Copy},
        {"Bridge/LoadAll/odbc", BM_Odbc},
        {"Bridge/LoadAll/qsql", BM_QSql},
        {"Bridge/LoadGroup/clavira", BM_ClaviraGroup},
        {"Bridge/LoadGroup/clavira_odbc", BM_ClaviraOdbcGroup},
        {"Bridge/LoadGroup/copy", BM_CopyGroup},
        {"Bridge/LoadGroup/qsql", BM_QSqlGroup},
        {"Bridge/Save/clavira", BM_ClaviraSave},
        {"Bridge/Save/clavira_odbc", BM_ClaviraOdbcSave},
        {"Bridge/Save/copy", BM_CopySave},
        {"Bridge/Save/rowwise", BM_RowwiseSave},
    };
    for (const auto& run : runs)
      benchmark::RegisterBenchmark(run.Name, run.Run)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    g_cluster = nullptr;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bridge_bench: %s\n", e.what());
    return 1;
  }
  benchmark::Shutdown();
  return 0;
}
