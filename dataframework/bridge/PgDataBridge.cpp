#include "dataframework/bridge/PgDataBridge.h"

#include <libpq-fe.h>
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "dataframework/elements/AbstractRow.h"
#include "db/Errors.h"
#include "db/Odbc.h"

namespace dataframework::bridge {

namespace {

bool IsLostState(const std::string& State) {
  return State.rfind("08", 0) == 0 || State == "57P01" || State == "57P02" || State == "57P03";
}

// The parameters as libpq takes them (pointers into Sql's texts).
struct TPgParams {
  explicit TPgParams(const TSqlBuilder& Sql) {
    for (const TSqlParam& p : Sql.Params) Values.push_back(p.IsNull ? nullptr : p.Text.c_str());
  }
  int Count() const { return static_cast<int>(Values.size()); }
  const char* const* Data() const { return Values.empty() ? nullptr : Values.data(); }
  std::vector<const char*> Values;
};

struct TResultDeleter {
  void operator()(PGresult* R) const { PQclear(R); }
};
using TResult = std::unique_ptr<PGresult, TResultDeleter>;

// The catalog's type name -> the ODBC type the bridge's kinds are decided on.
int SqlTypeOf(const std::string& Type) {
  if (Type == "integer") return SQL_INTEGER;
  if (Type == "smallint") return SQL_SMALLINT;
  if (Type == "bigint") return SQL_BIGINT;
  if (Type == "double precision") return SQL_DOUBLE;
  if (Type == "real") return SQL_REAL;
  if (Type == "numeric") return SQL_NUMERIC;
  if (Type == "character varying") return SQL_VARCHAR;
  if (Type == "character") return SQL_CHAR;
  if (Type == "text") return SQL_LONGVARCHAR;
  if (Type == "boolean") return SQL_BIT;
  if (Type == "date") return SQL_TYPE_DATE;
  if (Type == "time without time zone") return SQL_TYPE_TIME;
  if (Type == "timestamp without time zone") return SQL_TYPE_TIMESTAMP;
  return 0;
}

// Appends Text as a field of COPY's text format.
void AppendCopyField(std::string& Line, std::string_view Text) {
  for (char c : Text) {
    switch (c) {
      case '\\':
        Line += "\\\\";
        break;
      case '\t':
        Line += "\\t";
        break;
      case '\n':
        Line += "\\n";
        break;
      case '\r':
        Line += "\\r";
        break;
      default:
        Line += c;
    }
  }
}

// The COPY lines of Rows' columns Columns (indexes), with Extra (a text
// per row, or none) as a last field.
void AppendCopyRow(std::string& Data, const TBridgeTable& Table, const TAbstractRow& Row,
                   const std::vector<size_t>& Columns, const std::string* Extra) {
  bool first = true;
  for (size_t c : Columns) {
    if (!first) Data += '\t';
    first = false;
    const TBridgeColumn& column = Table.Columns()[c];
    AppendCopyField(Data, TextOfValue(column.Kind, Row.ValueAt(static_cast<int>(c))));
  }
  if (Extra != nullptr) {
    if (!first) Data += '\t';
    Data += *Extra;
  }
  Data += '\n';
}

std::vector<size_t> KeyIndexes(const TBridgeTable& Table) {
  std::vector<size_t> keys;
  for (int k = 0; k < Table.KeyCount(); ++k) keys.push_back(static_cast<size_t>(k));
  return keys;
}

std::vector<size_t> AllIndexes(const TBridgeTable& Table) {
  std::vector<size_t> all;
  for (size_t c = 0; c < Table.Columns().size(); ++c) all.push_back(c);
  return all;
}

// "x.k1 = s.k1 AND x.k2 = s.k2 ..."
std::string KeyJoin(const TBridgeTable& Table, const std::string& Left, const std::string& Right) {
  std::string text;
  for (int k = 0; k < Table.KeyCount(); ++k) {
    const std::string name = QuoteIdentifier(Table.Columns()[static_cast<size_t>(k)].Name);
    if (k > 0) text += " AND ";
    text += Left + "." + name + " = " + Right + "." + name;
  }
  return text;
}

// "a, b, ..." of Columns, each prefixed with Prefix.
std::string ColumnList(const TBridgeTable& Table, const std::vector<size_t>& Columns,
                       const std::string& Prefix) {
  std::string text;
  for (size_t c : Columns) {
    if (!text.empty()) text += ", ";
    text += Prefix + QuoteIdentifier(Table.Columns()[c].Name);
  }
  return text;
}

// The save's scratch tables live in the session's own schema and go with
// the transaction.
// Hands row Row of Result (Columns columns) to Receiver.
void TakeRow(const PGresult* Result, int Row, int Columns, TRowReceiver& Receiver) {
  for (int c = 0; c < Columns; ++c) {
    if (PQgetisnull(Result, Row, c)) {
      Receiver.SetNull(c);
    } else {
      Receiver.SetText(c, std::string_view(PQgetvalue(Result, Row, c),
                                           static_cast<size_t>(PQgetlength(Result, Row, c))));
    }
  }
  Receiver.EndRow();
}

const char* const kKeysTable = "pg_temp.clavira_save_keys";
const char* const kRowsTable = "pg_temp.clavira_save_rows";
const char* const kGroupColumn = "\"clavira$write_set\"";

std::string Lower(std::string Text) {
  std::transform(Text.begin(), Text.end(), Text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return Text;
}

}  // namespace

const platform::TClass& TPgDataBridge::StaticClass() {
  static const platform::TClass Class("TPgDataBridge", &TDbDataBridge::StaticClass(), "Bridge");
  return Class;
}

TPgDataBridge::TPgDataBridge(platform::TComponent* Owner, TPgConnectParams Params)
    : TDbDataBridge(Owner), FParams(std::move(Params)) {}

TPgDataBridge::~TPgDataBridge() {
  Disconnect();
}

bool TPgDataBridge::Connected() const {
  return FConn != nullptr && PQstatus(FConn) == CONNECTION_OK;
}

void TPgDataBridge::Disconnect() {
  if (FConn != nullptr) PQfinish(FConn);
  FConn = nullptr;
}

int TPgDataBridge::BackendPid() {
  Open();
  return PQbackendPID(FConn);
}

void TPgDataBridge::Open() {
  if (Connected()) return;
  Disconnect();
  const std::string port = std::to_string(FParams.Port);
  const std::string timeout = std::to_string(FParams.ConnectTimeout);
  const std::string options = "-c statement_timeout=" + std::to_string(FParams.QueryTimeout * 1000);
  const char* keys[] = {"host",
                        "port",
                        "dbname",
                        "user",
                        "password",
                        "connect_timeout",
                        "options",
                        "keepalives",
                        "keepalives_idle",
                        "keepalives_interval",
                        "keepalives_count",
                        "client_encoding",
                        "application_name",
                        nullptr};
  const char* values[] = {FParams.Host.c_str(),
                          port.c_str(),
                          FParams.Database.c_str(),
                          FParams.User.c_str(),
                          FParams.Password.c_str(),
                          timeout.c_str(),
                          options.c_str(),
                          "1",
                          "10",
                          "5",
                          "3",
                          "UTF8",
                          "clavira-bridge",
                          nullptr};
  FConn = PQconnectdbParams(keys, values, 0);
  if (PQstatus(FConn) != CONNECTION_OK) {
    std::string message = db::odbc::MaskSecret(PQerrorMessage(FConn), FParams.Password);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
      message.pop_back();
    Disconnect();
    throw db::EDatabaseError(message.empty() ? "Cannot connect to the database" : message, "08001");
  }
}

void TPgDataBridge::Fail(const std::string& Context, const void* Result) {
  const auto* result = static_cast<const PGresult*>(Result);
  std::string state;
  std::string message;
  if (result != nullptr) {
    if (const char* s = PQresultErrorField(result, PG_DIAG_SQLSTATE)) state = s;
    message = PQresultErrorMessage(result);
  }
  if (message.empty() && FConn != nullptr) message = PQerrorMessage(FConn);
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  message = db::odbc::MaskSecret(Context + ": " + message, FParams.Password);
  if (FConn == nullptr || PQstatus(FConn) == CONNECTION_BAD || IsLostState(state)) {
    Disconnect();
    if (state.empty()) state = "08006";
  }
  throw db::EDatabaseError(message, state);
}

void TPgDataBridge::Exec(const std::string& Sql) {
  TResult r(PQexec(FConn, Sql.c_str()));
  if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) Fail(Sql, r.get());
}

long long TPgDataBridge::CopyIn(const std::string& Sql, const std::string& Data) {
  TResult start(PQexec(FConn, Sql.c_str()));
  if (PQresultStatus(start.get()) != PGRES_COPY_IN) Fail("Copy", start.get());
  constexpr size_t kChunk = 1 << 16;
  bool sent = true;
  for (size_t from = 0; from < Data.size() && sent; from += kChunk)
    sent = PQputCopyData(FConn, Data.data() + from,
                         static_cast<int>(std::min(kChunk, Data.size() - from))) == 1;
  // Ending the copy (or abandoning it after a failed send) lets the server
  // answer; its answer is the copy's outcome.
  PQputCopyEnd(FConn, sent ? nullptr : "the client could not send the rows");
  TResult end(PQgetResult(FConn));
  while (PGresult* rest = PQgetResult(FConn)) PQclear(rest);
  if (PQresultStatus(end.get()) != PGRES_COMMAND_OK) Fail("Copy", end.get());
  const char* count = PQcmdTuples(end.get());
  return count != nullptr && *count != '\0' ? std::stoll(count) : 0;
}

void TPgDataBridge::ReadLocked(const TBridgeTable& Table,
                               const std::vector<const TAbstractRow*>& Rows,
                               TRowReceiver& Receiver) {
  const std::vector<size_t> keys = KeyIndexes(Table);
  Exec(std::string("CREATE TEMP TABLE ") + kKeysTable + " ON COMMIT DROP AS SELECT " +
       ColumnList(Table, keys, "") + " FROM " + Table.SqlName() + " WITH NO DATA");
  std::string data;
  for (const TAbstractRow* row : Rows) AppendCopyRow(data, Table, *row, keys, nullptr);
  CopyIn(std::string("COPY ") + kKeysTable + " FROM STDIN", data);
  TSqlBuilder sql = NewStatement();
  sql << "SELECT " << ColumnList(Table, AllIndexes(Table), "x.") << " FROM " << Table.SqlName()
      << " AS x JOIN " << kKeysTable << " AS s ON " << KeyJoin(Table, "x", "s")
      << " FOR UPDATE OF x";
  RunQuery(sql, Table, Receiver);
  Exec(std::string("DROP TABLE ") + kKeysTable);
}

void TPgDataBridge::WriteUpdates(const TBridgeTable& Table, const std::vector<TRowWrite>& Writes) {
  if (Writes.empty()) return;
  // One UPDATE for each set of columns written; the rows say their set.
  std::map<std::vector<bool>, int> sets;
  std::vector<int> setOf;
  setOf.reserve(Writes.size());
  for (const TRowWrite& write : Writes)
    setOf.push_back(sets.emplace(write.Columns, static_cast<int>(sets.size())).first->second);
  const std::vector<size_t> all = AllIndexes(Table);
  Exec(std::string("CREATE TEMP TABLE ") + kRowsTable + " ON COMMIT DROP AS SELECT " +
       ColumnList(Table, all, "") + ", 0 AS " + kGroupColumn + " FROM " + Table.SqlName() +
       " WITH NO DATA");
  std::string data;
  for (size_t i = 0; i < Writes.size(); ++i) {
    const std::string set = std::to_string(setOf[i]);
    AppendCopyRow(data, Table, *Writes[i].Row, all, &set);
  }
  CopyIn(std::string("COPY ") + kRowsTable + " FROM STDIN", data);
  for (const auto& [columns, id] : sets) {
    std::string assignments;
    for (size_t c = 0; c < columns.size(); ++c) {
      if (!columns[c]) continue;
      const std::string name = QuoteIdentifier(Table.Columns()[c].Name);
      if (!assignments.empty()) assignments += ", ";
      assignments += name + " = s." + name;
    }
    if (assignments.empty()) continue;
    Exec("UPDATE " + Table.SqlName() + " AS x SET " + assignments + " FROM " + kRowsTable +
         " AS s WHERE s." + kGroupColumn + " = " + std::to_string(id) + " AND " +
         KeyJoin(Table, "x", "s"));
  }
  Exec(std::string("DROP TABLE ") + kRowsTable);
}

long long TPgDataBridge::WriteInserts(const TBridgeTable& Table,
                                      const std::vector<const TAbstractRow*>& Rows) {
  if (Rows.empty()) return 0;
  const std::vector<size_t> all = AllIndexes(Table);
  std::string data;
  for (const TAbstractRow* row : Rows) AppendCopyRow(data, Table, *row, all, nullptr);
  return CopyIn("COPY " + Table.SqlName() + " (" + ColumnList(Table, all, "") + ") FROM STDIN",
                data);
}

TSqlBuilder TPgDataBridge::NewStatement() const {
  return TSqlBuilder(TSqlBuilder::phDollar, "C");
}

void TPgDataBridge::RunQuery(const TSqlBuilder& Sql, const TBridgeTable& Table,
                             TRowReceiver& Receiver) {
  if (PQtransactionStatus(FConn) == PQTRANS_IDLE) {
    RunCursor(Sql, Table, Receiver);
    return;
  }
  TPgParams params(Sql);
  if (!PQsendQueryParams(FConn, Sql.Text.c_str(), params.Count(), nullptr, params.Data(), nullptr,
                         nullptr, 0))
    Fail("Query", nullptr);
  PQsetSingleRowMode(FConn);
  const int columns = static_cast<int>(Table.Columns().size());
  const int block = std::max(1, BlockRows);
  int inBlock = 0;
  bool stopped = false;
  TResult failure;
  // Drains what the server still sends, so the connection is usable again.
  auto drain = [&]() {
    while (PGresult* r = PQgetResult(FConn)) {
      const ExecStatusType s = PQresultStatus(r);
      if (!stopped && !failure && s != PGRES_SINGLE_TUPLE && s != PGRES_TUPLES_OK)
        failure.reset(r);
      else
        PQclear(r);
    }
  };
  auto cancel = [&]() {
    if (PGcancel* c = PQgetCancel(FConn)) {
      char error[256];
      PQcancel(c, error, sizeof error);
      PQfreeCancel(c);
    }
  };
  try {
    while (PGresult* raw = PQgetResult(FConn)) {
      TResult r(raw);
      const ExecStatusType status = PQresultStatus(raw);
      if (status == PGRES_SINGLE_TUPLE) {
        if (stopped) continue;
        TakeRow(raw, 0, columns, Receiver);
        if (++inBlock >= block) {
          inBlock = 0;
          if (!Receiver.EndBlock()) {
            stopped = true;
            cancel();
          }
        }
      } else if (status == PGRES_TUPLES_OK) {
        if (!stopped) Receiver.EndBlock();
      } else {
        if (!stopped && !failure) failure = std::move(r);
      }
    }
  } catch (...) {
    stopped = true;
    cancel();
    drain();
    throw;
  }
  if (failure) Fail("Query", failure.get());
  if (PQstatus(FConn) == CONNECTION_BAD) Fail("Query", nullptr);
}

void TPgDataBridge::RunCursor(const TSqlBuilder& Sql, const TBridgeTable& Table,
                              TRowReceiver& Receiver) {
  const int columns = static_cast<int>(Table.Columns().size());
  const int block = std::max(1, BlockRows);
  const std::string fetch = "FETCH FORWARD " + std::to_string(block) + " FROM clavira_load";
  Exec("BEGIN");
  try {
    TPgParams params(Sql);
    TResult declared(PQexecParams(FConn,
                                  ("DECLARE clavira_load NO SCROLL CURSOR FOR " + Sql.Text).c_str(),
                                  params.Count(), nullptr, params.Data(), nullptr, nullptr, 0));
    if (PQresultStatus(declared.get()) != PGRES_COMMAND_OK) Fail("Query", declared.get());
    for (;;) {
      TResult r(PQexec(FConn, fetch.c_str()));
      if (PQresultStatus(r.get()) != PGRES_TUPLES_OK) Fail("Query", r.get());
      const int rows = PQntuples(r.get());
      for (int i = 0; i < rows; ++i) {
        TakeRow(r.get(), i, columns, Receiver);
      }
      if (!Receiver.EndBlock() || rows < block) break;
    }
    Exec("COMMIT");  // closes the cursor
  } catch (...) {
    RollbackTransaction();
    throw;
  }
}

long long TPgDataBridge::RunCommand(const TSqlBuilder& Sql) {
  TPgParams params(Sql);
  TResult r(PQexecParams(FConn, Sql.Text.c_str(), params.Count(), nullptr, params.Data(), nullptr,
                         nullptr, 0));
  const ExecStatusType status = PQresultStatus(r.get());
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) Fail("Statement", r.get());
  const char* count = PQcmdTuples(r.get());
  return count != nullptr && *count != '\0' ? std::stoll(count) : 0;
}

void TPgDataBridge::BeginTransaction() {
  Exec("BEGIN");
}

void TPgDataBridge::CommitTransaction() {
  Exec("COMMIT");
}

void TPgDataBridge::RollbackTransaction() noexcept {
  if (!Connected()) return;
  PGresult* r = PQexec(FConn, "ROLLBACK");
  PQclear(r);
}

void TPgDataBridge::ReadCatalog(const std::string& Name, std::vector<TCatalogColumn>& Columns,
                                std::vector<std::string>& KeyColumns, std::string& SqlName) {
  std::string schema, table;
  SplitTableName(Name, schema, table);
  auto read = [&](const std::string& s, const std::string& t) {
    Columns.clear();
    KeyColumns.clear();
    const char* values[] = {s.empty() ? nullptr : s.c_str(), t.c_str()};
    TResult r(PQexecParams(
        FConn,
        "SELECT c.column_name, c.data_type, c.character_maximum_length, c.numeric_precision, "
        "c.numeric_scale, c.table_schema FROM information_schema.columns c "
        "WHERE c.table_schema = coalesce($1, current_schema()) AND c.table_name = $2 "
        "ORDER BY c.ordinal_position",
        2, nullptr, values, nullptr, nullptr, 0));
    if (PQresultStatus(r.get()) != PGRES_TUPLES_OK) Fail("Catalog", r.get());
    std::string foundSchema;
    for (int i = 0; i < PQntuples(r.get()); ++i) {
      TCatalogColumn c;
      c.Name = PQgetvalue(r.get(), i, 0);
      c.TypeName = PQgetvalue(r.get(), i, 1);
      c.SqlType = SqlTypeOf(c.TypeName);
      const int sizeColumn = PQgetisnull(r.get(), i, 2) ? 3 : 2;
      c.Size =
          PQgetisnull(r.get(), i, sizeColumn) ? 0 : std::atoi(PQgetvalue(r.get(), i, sizeColumn));
      c.Scale = PQgetisnull(r.get(), i, 4) ? 0 : std::atoi(PQgetvalue(r.get(), i, 4));
      if (c.SqlType == SQL_VARCHAR && c.Size == 0) c.SqlType = SQL_LONGVARCHAR;
      foundSchema = PQgetvalue(r.get(), i, 5);
      Columns.push_back(std::move(c));
    }
    if (Columns.empty()) return;
    const char* keyValues[] = {foundSchema.c_str(), t.c_str()};
    TResult k(PQexecParams(
        FConn,
        "SELECT k.column_name FROM information_schema.table_constraints tc "
        "JOIN information_schema.key_column_usage k ON k.constraint_schema = tc.constraint_schema "
        "AND k.constraint_name = tc.constraint_name "
        "WHERE tc.constraint_type = 'PRIMARY KEY' AND tc.table_schema = $1 AND tc.table_name = $2 "
        "ORDER BY k.ordinal_position",
        2, nullptr, keyValues, nullptr, nullptr, 0));
    if (PQresultStatus(k.get()) != PGRES_TUPLES_OK) Fail("Catalog", k.get());
    for (int i = 0; i < PQntuples(k.get()); ++i) KeyColumns.push_back(PQgetvalue(k.get(), i, 0));
    SqlName = QuoteIdentifier(foundSchema) + "." + QuoteIdentifier(t);
  };
  read(schema, table);
  if (Columns.empty() && (Lower(schema) != schema || Lower(table) != table))
    read(Lower(schema), Lower(table));
}

}  // namespace dataframework::bridge
