// Cost of one stored procedure call the way the program makes it
// (CreateStoredProc, set parameters, OpenProc, read the first row) against
// the same call in raw ODBC with hand-bound parameters. The goal is within
// 1.3 times the raw call. Starts its own PostgreSQL cluster.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

#include "db/DBManagerClass.h"
#include "db/Odbc.h"
#include "testsupport/PgCluster.h"

namespace {

testsupport::PgCluster* g_cluster = nullptr;

const char* const kProcedures = R"sql(
CREATE FUNCTION "PRC_BENCH"("@i_operation" varchar, "@i_option" varchar, "@i_id" integer)
RETURNS TABLE("CodUsuario" integer, "Name" varchar)
LANGUAGE sql AS $$ SELECT "@i_id" * 10, 'user ' || "@i_option" $$;

CREATE FUNCTION "PRC_BENCH_ORA"(i_operation varchar, i_option varchar, i_id integer)
RETURNS refcursor LANGUAGE plpgsql AS $$
DECLARE c refcursor;
BEGIN
  OPEN c FOR SELECT i_id * 10 AS "CodUsuario", 'user ' || i_option AS "Name";
  RETURN c;
END $$;
)sql";

void ManagerCall(benchmark::State& state, const std::string& engine, const char* proc) {
  db::TDBManager manager;
  manager.OpenConnection(engine == "SQL" ? g_cluster->SqlServerConnectionString()
                                         : g_cluster->OracleConnectionString(),
                         engine);
  for (auto _ : state) {
    auto sp = manager.CreateStoredProc(proc);
    db::TParams& params = sp->GetParams();
    params.ParamByName("i_operation").SetAsString("S");
    params.ParamByName("i_option").SetAsString("E");
    params.ParamByName("i_id").SetAsInteger(2);
    db::TDataSet* rows = sp->OpenProc();
    if (rows->IsEmpty() || rows->FieldByName("CodUsuario").AsInteger() != 20)
      state.SkipWithError("wrong row");
  }
}

void BM_ManagerCall_Sql(benchmark::State& state) {
  ManagerCall(state, "SQL", "PRC_BENCH");
}
void BM_ManagerCall_Oracle(benchmark::State& state) {
  ManagerCall(state, "ORACLE", "PRC_BENCH_ORA");
}

// The same calls in raw ODBC: one connection, a statement per call, three
// bound parameters, fetch, read the first column.
void RawCall(benchmark::State& state, bool cursor, SQLULEN timeout = 0) {
  using namespace db::odbc;
  THandle dbc = Allocate(SQL_HANDLE_DBC, Environment());
  std::string text = g_cluster->OdbcConnectionString() + (cursor ? ";FetchRefcursors=1" : "");
  Check(SQLDriverConnect(dbc.Get(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS,
                         nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
        SQL_HANDLE_DBC, dbc.Get(), "connect");
  std::string call = cursor ? "{call \"PRC_BENCH_ORA\"(?,?,?)}" : "{call \"PRC_BENCH\"(?,?,?)}";
  char operation[] = "S", option[] = "E";
  SQLINTEGER id = 2;
  SQLLEN opLen = 1, optLen = 1, idLen = 0;
  for (auto _ : state) {
    if (cursor)
      SQLSetConnectAttr(dbc.Get(), SQL_ATTR_AUTOCOMMIT,
                        reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
    THandle stmt = Allocate(SQL_HANDLE_STMT, dbc.Get());
    SQLHSTMT h = stmt.Get();
    if (timeout)
      SQLSetStmtAttr(h, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(timeout), 0);
    SQLBindParameter(h, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 1, 0, operation, 2, &opLen);
    SQLBindParameter(h, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 1, 0, option, 2, &optLen);
    SQLBindParameter(h, 3, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &id, 0, &idLen);
    Check(SQLExecDirect(h, reinterpret_cast<SQLCHAR*>(call.data()), SQL_NTS), SQL_HANDLE_STMT, h,
          "call");
    SQLINTEGER value = 0;
    SQLLEN ind = 0;
    if (SQLFetch(h) != SQL_SUCCESS ||
        !SQL_SUCCEEDED(SQLGetData(h, 1, SQL_C_SLONG, &value, 0, &ind)) || value != 20)
      state.SkipWithError("wrong row");
    SQLCloseCursor(h);
    if (cursor) {
      SQLEndTran(SQL_HANDLE_DBC, dbc.Get(), SQL_COMMIT);
      SQLSetConnectAttr(dbc.Get(), SQL_ATTR_AUTOCOMMIT,
                        reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    }
  }
}

void BM_RawOdbcCall_Sql(benchmark::State& state) {
  RawCall(state, false);
}
void BM_RawOdbcCall_Oracle(benchmark::State& state) {
  RawCall(state, true);
}
// The raw call with the layer's default query time-out (60 s): the
// PostgreSQL driver sets the server's statement time-out around each call.
void BM_RawOdbcCall_Sql_Timeout(benchmark::State& state) {
  RawCall(state, false, 60);
}

BENCHMARK(BM_RawOdbcCall_Sql)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ManagerCall_Sql)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawOdbcCall_Sql_Timeout)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawOdbcCall_Oracle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ManagerCall_Oracle)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  try {
    testsupport::PgCluster cluster;
    g_cluster = &cluster;
    cluster.ExportOdbcEnvironment();
    cluster.RunSql(kProcedures);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "db_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
