#include "dataframework/bridge/OdbcDataBridge.h"

#include <algorithm>
#include <cstring>
#include <list>
#include <map>

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/types/DataTypes.h"
#include "db/Connection.h"
#include "db/Errors.h"
#include "db/Odbc.h"

namespace dataframework::bridge {

namespace {

// The bridge's connection: the caller's string plus the driver options.
class TBridgeConnection : public db::TCustomConnection {
 public:
  TBridgeConnection(std::string Text, std::string Secret, const int& FetchRows)
      : FText(std::move(Text)), FSecret(std::move(Secret)), FFetchRows(FetchRows) {}
  std::string ConnectionString() const override {
    std::string text = FText;
    if (!text.empty() && text.back() != ';') text += ';';
    return text + "UseDeclareFetch=1;Fetch=" + std::to_string(std::max(1, FFetchRows)) +
           ";BoolsAsChar=0;TextAsLongVarchar=1;UnknownsAsLongVarchar=1;Protocol=7.4-1";
  }
  std::string Secret() const override { return FSecret; }

 private:
  std::string FText;
  std::string FSecret;
  const int& FFetchRows;
};

// ---- UTF-8 <-> UTF-16 (SQLWCHAR is 16 bits with unixODBC).
std::u16string ToUtf16(const std::string& Text) {
  std::u16string out;
  out.reserve(Text.size());
  for (size_t i = 0; i < Text.size();) {
    const auto c = static_cast<unsigned char>(Text[i]);
    uint32_t cp = 0xFFFD;
    size_t n = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 6 && i + 1 < Text.size()) {
      cp = ((c & 0x1Fu) << 6) | (Text[i + 1] & 0x3F), n = 2;
    } else if ((c >> 4) == 14 && i + 2 < Text.size()) {
      cp = ((c & 0x0Fu) << 12) | ((Text[i + 1] & 0x3Fu) << 6) | (Text[i + 2] & 0x3F), n = 3;
    } else if ((c >> 3) == 30 && i + 3 < Text.size()) {
      cp = ((c & 0x07u) << 18) | ((Text[i + 1] & 0x3Fu) << 12) | ((Text[i + 2] & 0x3Fu) << 6) |
           (Text[i + 3] & 0x3F),
      n = 4;
    }
    i += n;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

void AppendUtf8(std::string& Out, uint32_t Cp) {
  if (Cp < 0x80) {
    Out += static_cast<char>(Cp);
  } else if (Cp < 0x800) {
    Out += static_cast<char>(0xC0 | (Cp >> 6));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  } else if (Cp < 0x10000) {
    Out += static_cast<char>(0xE0 | (Cp >> 12));
    Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (Cp >> 18));
    Out += static_cast<char>(0x80 | ((Cp >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  }
}

std::string FromUtf16(const SQLWCHAR* Text, size_t Units) {
  std::string out;
  out.reserve(Units);
  for (size_t i = 0; i < Units; ++i) {
    uint32_t cp = Text[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < Units && Text[i + 1] >= 0xDC00 &&
        Text[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (Text[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

bool IsText(const TBridgeColumn& C) {
  return C.Kind == ckString || C.Kind == ckMemo;
}

// The decimal digits and the column size of a parameter of C sent as text.
SQLSMALLINT ParamDigits(const TBridgeColumn& C) {
  return C.Kind == ckDateTime || C.Kind == ckTime ? 3 : static_cast<SQLSMALLINT>(C.Scale);
}

SQLULEN TextParamSize(const TBridgeColumn& C) {
  switch (C.Kind) {
    case ckDateTime:
      return 23;
    case ckDate:
      return 10;
    case ckTime:
      return 12;
    default:
      return static_cast<SQLULEN>(std::max(C.Size, 1));
  }
}

}  // namespace

// The bound parameters of one statement; alive until it has run.
struct TBoundParams {
  std::vector<std::u16string> Wide;
  std::vector<std::string> Narrow;
  std::vector<SQLLEN> Lengths;

  void Bind(SQLHSTMT Stmt, const TSqlBuilder& Sql, const std::string& Secret) {
    const size_t n = Sql.Params.size();
    Wide.resize(n);
    Narrow.resize(n);
    Lengths.resize(n);
    for (size_t i = 0; i < n; ++i) {
      const TSqlParam& p = Sql.Params[i];
      const TBridgeColumn& c = *p.Column;
      const auto marker = static_cast<SQLUSMALLINT>(i + 1);
      const SQLSMALLINT digits = ParamDigits(c);
      SQLRETURN rc;
      if (IsText(c)) {
        Wide[i] = ToUtf16(p.Text);
        Lengths[i] =
            p.IsNull ? SQL_NULL_DATA : static_cast<SQLLEN>(Wide[i].size() * sizeof(SQLWCHAR));
        const SQLULEN size =
            std::max<SQLULEN>(1, std::max<SQLULEN>(Wide[i].size(), static_cast<SQLULEN>(c.Size)));
        rc = SQLBindParameter(Stmt, marker, SQL_PARAM_INPUT, SQL_C_WCHAR,
                              static_cast<SQLSMALLINT>(c.SqlType), size, 0, Wide[i].data(),
                              static_cast<SQLLEN>(Wide[i].size() * sizeof(SQLWCHAR)), &Lengths[i]);
      } else {
        Narrow[i] = p.Text;
        Lengths[i] = p.IsNull ? SQL_NULL_DATA : static_cast<SQLLEN>(Narrow[i].size());
        const SQLULEN size = TextParamSize(c);
        rc = SQLBindParameter(Stmt, marker, SQL_PARAM_INPUT, SQL_C_CHAR,
                              static_cast<SQLSMALLINT>(c.SqlType), size, digits, Narrow[i].data(),
                              static_cast<SQLLEN>(Narrow[i].size()), &Lengths[i]);
      }
      db::odbc::Check(rc, SQL_HANDLE_STMT, Stmt, "SQLBindParameter", Secret);
    }
  }
};

// Column-wise parameter arrays: one array per marker, one element per row
// of the execution. Alive until the statement has run.
class TParamArrays {
 public:
  explicit TParamArrays(size_t Rows) : FRows(Rows) {}

  // Binds marker Marker to the texts Texts (one per row) of Column.
  void Bind(SQLHSTMT Stmt, SQLUSMALLINT Marker, const TBridgeColumn& Column,
            const std::vector<std::string>& Texts, const std::string& Secret) {
    FLengths.emplace_back(FRows);
    std::vector<SQLLEN>& lengths = FLengths.back();
    const SQLSMALLINT digits = ParamDigits(Column);
    SQLRETURN rc;
    if (IsText(Column)) {
      std::vector<std::u16string> wide(FRows);
      size_t units = 1;
      for (size_t r = 0; r < FRows; ++r) {
        wide[r] = ToUtf16(Texts[r]);
        units = std::max(units, wide[r].size());
      }
      FWide.emplace_back(FRows * units);
      std::vector<char16_t>& buffer = FWide.back();
      for (size_t r = 0; r < FRows; ++r) {
        std::copy(wide[r].begin(), wide[r].end(), buffer.begin() + static_cast<long>(r * units));
        lengths[r] = static_cast<SQLLEN>(wide[r].size() * sizeof(SQLWCHAR));
      }
      const SQLULEN size = std::max<SQLULEN>(units, static_cast<SQLULEN>(Column.Size));
      rc = SQLBindParameter(Stmt, Marker, SQL_PARAM_INPUT, SQL_C_WCHAR,
                            static_cast<SQLSMALLINT>(Column.SqlType), size, 0, buffer.data(),
                            static_cast<SQLLEN>(units * sizeof(SQLWCHAR)), lengths.data());
    } else {
      size_t width = 1;
      for (const std::string& t : Texts) width = std::max(width, t.size());
      FNarrow.emplace_back(FRows * width);
      std::vector<char>& buffer = FNarrow.back();
      for (size_t r = 0; r < FRows; ++r) {
        std::copy(Texts[r].begin(), Texts[r].end(), buffer.begin() + static_cast<long>(r * width));
        lengths[r] = static_cast<SQLLEN>(Texts[r].size());
      }
      const SQLULEN size = TextParamSize(Column);
      rc = SQLBindParameter(Stmt, Marker, SQL_PARAM_INPUT, SQL_C_CHAR,
                            static_cast<SQLSMALLINT>(Column.SqlType), size, digits, buffer.data(),
                            static_cast<SQLLEN>(width), lengths.data());
    }
    db::odbc::Check(rc, SQL_HANDLE_STMT, Stmt, "SQLBindParameter", Secret);
  }

 private:
  size_t FRows;
  // Lists, so that bound buffers never move.
  std::list<std::vector<SQLLEN>> FLengths;
  std::list<std::vector<char16_t>> FWide;
  std::list<std::vector<char>> FNarrow;
};

namespace {

std::string EscapePattern(const std::string& Name) {
  std::string out;
  for (char c : Name) {
    if (c == '_' || c == '%' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string ColumnText(SQLHSTMT Stmt, SQLUSMALLINT Column) {
  char buf[512];
  SQLLEN ind = 0;
  SQLRETURN rc = SQLGetData(Stmt, Column, SQL_C_CHAR, buf, sizeof buf, &ind);
  if (!SQL_SUCCEEDED(rc) || ind == SQL_NULL_DATA) return {};
  return std::string(buf, std::min<size_t>(std::strlen(buf), sizeof buf));
}

long ColumnNumber(SQLHSTMT Stmt, SQLUSMALLINT Column) {
  SQLINTEGER v = 0;
  SQLLEN ind = 0;
  SQLRETURN rc = SQLGetData(Stmt, Column, SQL_C_SLONG, &v, 0, &ind);
  return SQL_SUCCEEDED(rc) && ind != SQL_NULL_DATA ? v : 0;
}

}  // namespace

const platform::TClass& TOdbcDataBridge::StaticClass() {
  static const platform::TClass Class("TOdbcDataBridge", &TDbDataBridge::StaticClass(), "Bridge");
  return Class;
}

TOdbcDataBridge::TOdbcDataBridge(platform::TComponent* Owner, std::string ConnectionString,
                                 std::string Secret)
    : TDbDataBridge(Owner),
      FConnection(std::make_unique<TBridgeConnection>(std::move(ConnectionString),
                                                      std::move(Secret), BlockRows)) {}

TOdbcDataBridge::~TOdbcDataBridge() = default;

void TOdbcDataBridge::Open() {
  if (FConnection->Connected()) return;
  FConnection->Connect();
  SQLCHAR name[64] = {};
  SQLSMALLINT length = 0;
  SQLGetInfo(FConnection->Hdbc(), SQL_DBMS_NAME, name, sizeof name, &length);
  FPostgres = std::strcmp(reinterpret_cast<char*>(name), "PostgreSQL") == 0;
}

TSqlBuilder TOdbcDataBridge::NewStatement() const {
  return TSqlBuilder(TSqlBuilder::phQuestionMark, FPostgres ? "C" : "");
}

db::odbc::THandle TOdbcDataBridge::Prepare(const TSqlBuilder& Sql, TBoundParams& Params) {
  const std::string secret = FConnection->Secret();
  db::odbc::THandle stmt = db::odbc::Allocate(SQL_HANDLE_STMT, FConnection->Hdbc());
  SQLHSTMT h = stmt.Get();
  SQLSetStmtAttr(h, SQL_ATTR_QUERY_TIMEOUT,
                 reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(QueryTimeout)), 0);
  db::odbc::Check(
      SQLPrepare(h, reinterpret_cast<SQLCHAR*>(const_cast<char*>(Sql.Text.c_str())), SQL_NTS),
      SQL_HANDLE_STMT, h, "SQLPrepare", secret);
  Params.Bind(h, Sql, secret);
  return stmt;
}

void TOdbcDataBridge::RunQuery(const TSqlBuilder& Sql, const TBridgeTable& Table,
                               TRowReceiver& Receiver) {
  const std::string secret = FConnection->Secret();
  try {
    TBoundParams params;
    db::odbc::THandle stmt = Prepare(Sql, params);
    SQLHSTMT h = stmt.Get();

    const auto& columns = Table.Columns();
    const size_t n = columns.size();
    // Width of each column's cell in the row array.
    std::vector<size_t> width(n);
    bool memo = false;
    size_t rowBytes = 0;
    for (size_t c = 0; c < n; ++c) {
      switch (columns[c].Kind) {
        case ckInteger:
          width[c] = sizeof(SQLINTEGER);
          break;
        case ckDouble:
          width[c] = sizeof(SQLDOUBLE);
          break;
        case ckBoolean:
          width[c] = 1;
          break;
        case ckString:
          width[c] = (static_cast<size_t>(columns[c].Size) * 2 + 1) * sizeof(SQLWCHAR);
          break;
        case ckMemo:
          width[c] = 0, memo = true;
          break;
        default:
          width[c] = 64;
          break;
      }
      rowBytes += width[c] + sizeof(SQLLEN);
    }
    // A block's arrays stay within about 8 MB; long texts are read one row
    // at a time (SQLGetData does not work on row arrays).
    size_t rows = static_cast<size_t>(std::max(1, BlockRows));
    rows = std::max<size_t>(1, std::min(rows, (8u << 20) / std::max<size_t>(rowBytes, 1)));
    if (memo) rows = 1;
    std::vector<std::vector<unsigned char>> buffers(n);
    std::vector<std::vector<SQLLEN>> indicators(n);
    SQLULEN fetched = 0;
    db::odbc::Check(SQLSetStmtAttr(h, SQL_ATTR_ROW_BIND_TYPE, SQL_BIND_BY_COLUMN, 0),
                    SQL_HANDLE_STMT, h, "SQLSetStmtAttr", secret);
    db::odbc::Check(SQLSetStmtAttr(h, SQL_ATTR_ROW_ARRAY_SIZE,
                                   reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(rows)), 0),
                    SQL_HANDLE_STMT, h, "SQLSetStmtAttr", secret);
    SQLSetStmtAttr(h, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0);
    for (size_t c = 0; c < n; ++c) {
      if (width[c] == 0) continue;
      buffers[c].resize(width[c] * rows);
      indicators[c].resize(rows);
      SQLSMALLINT type = SQL_C_CHAR;
      switch (columns[c].Kind) {
        case ckInteger:
          type = SQL_C_SLONG;
          break;
        case ckDouble:
          type = SQL_C_DOUBLE;
          break;
        case ckBoolean:
          type = SQL_C_BIT;
          break;
        case ckString:
          type = SQL_C_WCHAR;
          break;
        default:
          break;
      }
      db::odbc::Check(SQLBindCol(h, static_cast<SQLUSMALLINT>(c + 1), type, buffers[c].data(),
                                 static_cast<SQLLEN>(width[c]), indicators[c].data()),
                      SQL_HANDLE_STMT, h, "SQLBindCol", secret);
    }
    db::odbc::Check(SQLExecute(h), SQL_HANDLE_STMT, h, "SQLExecute", secret);
    std::vector<SQLWCHAR> piece(8192);
    for (;;) {
      SQLRETURN rc = SQLFetch(h);
      if (rc == SQL_NO_DATA) break;
      db::odbc::Check(rc, SQL_HANDLE_STMT, h, "SQLFetch", secret);
      for (SQLULEN r = 0; r < fetched; ++r) {
        for (size_t c = 0; c < n; ++c) {
          const int col = static_cast<int>(c);
          if (width[c] == 0) {  // a long text, in pieces
            std::string text;
            bool isNull = false;
            for (;;) {
              SQLLEN ind = 0;
              SQLRETURN g =
                  SQLGetData(h, static_cast<SQLUSMALLINT>(c + 1), SQL_C_WCHAR, piece.data(),
                             static_cast<SQLLEN>(piece.size() * sizeof(SQLWCHAR)), &ind);
              if (g == SQL_NO_DATA) break;
              db::odbc::Check(g, SQL_HANDLE_STMT, h, "SQLGetData", secret);
              if (ind == SQL_NULL_DATA) {
                isNull = true;
                break;
              }
              size_t units = piece.size() - 1;
              if (ind != SQL_NO_TOTAL && static_cast<size_t>(ind) / sizeof(SQLWCHAR) < units)
                units = static_cast<size_t>(ind) / sizeof(SQLWCHAR);
              text += FromUtf16(piece.data(), units);
              if (g == SQL_SUCCESS) break;
            }
            if (isNull) {
              Receiver.SetNull(col);
            } else {
              Receiver.SetText(col, text);
            }
            continue;
          }
          const SQLLEN ind = indicators[c][r];
          if (ind == SQL_NULL_DATA) {
            Receiver.SetNull(col);
            continue;
          }
          const unsigned char* cell = buffers[c].data() + r * width[c];
          switch (columns[c].Kind) {
            case ckInteger: {
              SQLINTEGER v;
              std::memcpy(&v, cell, sizeof v);
              Receiver.SetValue(col, IntegerValue(v));
              break;
            }
            case ckDouble: {
              SQLDOUBLE v;
              std::memcpy(&v, cell, sizeof v);
              Receiver.SetValue(col, DoubleValue(v));
              break;
            }
            case ckBoolean:
              Receiver.SetText(col, cell[0] ? "1" : "0");
              break;
            case ckString: {
              size_t units = static_cast<size_t>(ind) / sizeof(SQLWCHAR);
              units = std::min(units, width[c] / sizeof(SQLWCHAR) - 1);
              Receiver.SetText(col, FromUtf16(reinterpret_cast<const SQLWCHAR*>(cell), units));
              break;
            }
            default:
              Receiver.SetText(col,
                               std::string_view(reinterpret_cast<const char*>(cell),
                                                std::strlen(reinterpret_cast<const char*>(cell))));
          }
        }
        Receiver.EndRow();
      }
      if (!Receiver.EndBlock()) {
        SQLCancel(h);
        SQLCloseCursor(h);
        return;
      }
    }
  } catch (const db::EDatabaseError& e) {
    if (FConnection->DropIfLost(e)) FInTransaction = false;
    throw;
  }
}

long long TOdbcDataBridge::RunCommand(const TSqlBuilder& Sql) {
  const std::string secret = FConnection->Secret();
  try {
    TBoundParams params;
    db::odbc::THandle stmt = Prepare(Sql, params);
    SQLHSTMT h = stmt.Get();
    db::odbc::Check(SQLExecute(h), SQL_HANDLE_STMT, h, "SQLExecute", secret);
    SQLLEN count = 0;
    SQLRowCount(h, &count);
    return count < 0 ? 0 : count;
  } catch (const db::EDatabaseError& e) {
    if (FConnection->DropIfLost(e)) FInTransaction = false;
    throw;
  }
}

void TOdbcDataBridge::WriteUpdates(const TBridgeTable& Table,
                                   const std::vector<TRowWrite>& Writes) {
  const std::string secret = FConnection->Secret();
  const auto& columns = Table.Columns();
  std::map<std::vector<bool>, std::vector<const TAbstractRow*>> sets;
  for (const TRowWrite& write : Writes) sets[write.Columns].push_back(write.Row);
  try {
    for (const auto& [written, rows] : sets) {
      // The markers: the written columns, then the keys.
      std::vector<size_t> markers;
      std::string sql = "UPDATE " + Table.SqlName() + " SET ";
      for (size_t c = 0; c < columns.size(); ++c) {
        if (!written[c]) continue;
        sql += std::string(markers.empty() ? "" : ", ") + QuoteIdentifier(columns[c].Name) + " = ?";
        markers.push_back(c);
      }
      if (markers.empty()) continue;
      sql += " WHERE ";
      for (int k = 0; k < Table.KeyCount(); ++k) {
        sql += std::string(k > 0 ? " AND " : "") +
               QuoteIdentifier(columns[static_cast<size_t>(k)].Name) + " = ?";
        markers.push_back(static_cast<size_t>(k));
      }
      db::odbc::THandle stmt = db::odbc::Allocate(SQL_HANDLE_STMT, FConnection->Hdbc());
      SQLHSTMT h = stmt.Get();
      SQLSetStmtAttr(h, SQL_ATTR_QUERY_TIMEOUT,
                     reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(QueryTimeout)), 0);
      db::odbc::Check(SQLPrepare(h, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS),
                      SQL_HANDLE_STMT, h, "SQLPrepare", secret);
      SQLULEN processed = 0;
      db::odbc::Check(SQLSetStmtAttr(h, SQL_ATTR_PARAM_BIND_TYPE,
                                     reinterpret_cast<SQLPOINTER>(SQL_PARAM_BIND_BY_COLUMN), 0),
                      SQL_HANDLE_STMT, h, "SQLSetStmtAttr", secret);
      db::odbc::Check(
          SQLSetStmtAttr(h, SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(rows.size()), 0),
          SQL_HANDLE_STMT, h, "SQLSetStmtAttr", secret);
      SQLSetStmtAttr(h, SQL_ATTR_PARAMS_PROCESSED_PTR, &processed, 0);
      TParamArrays arrays(rows.size());
      std::vector<std::string> texts(rows.size());
      for (size_t m = 0; m < markers.size(); ++m) {
        const TBridgeColumn& column = columns[markers[m]];
        for (size_t r = 0; r < rows.size(); ++r)
          texts[r] = TextOfValue(column.Kind, rows[r]->ValueAt(static_cast<int>(markers[m])));
        arrays.Bind(h, static_cast<SQLUSMALLINT>(m + 1), column, texts, secret);
      }
      db::odbc::Check(SQLExecute(h), SQL_HANDLE_STMT, h, "SQLExecute", secret);
    }
  } catch (const db::EDatabaseError& e) {
    if (FConnection->DropIfLost(e)) FInTransaction = false;
    throw;
  }
}

void TOdbcDataBridge::BeginTransaction() {
  SQLHDBC hdbc = FConnection->Hdbc();
  db::odbc::Check(SQLSetConnectAttr(hdbc, SQL_ATTR_AUTOCOMMIT,
                                    reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
                  SQL_HANDLE_DBC, hdbc, "SQLSetConnectAttr", FConnection->Secret());
  FInTransaction = true;
}

void TOdbcDataBridge::CommitTransaction() {
  SQLHDBC hdbc = FConnection->Hdbc();
  try {
    db::odbc::Check(SQLEndTran(SQL_HANDLE_DBC, hdbc, SQL_COMMIT), SQL_HANDLE_DBC, hdbc,
                    "SQLEndTran", FConnection->Secret());
  } catch (const db::EDatabaseError& e) {
    if (FConnection->DropIfLost(e)) FInTransaction = false;
    throw;
  }
  FInTransaction = false;
  SQLSetConnectAttr(hdbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
}

void TOdbcDataBridge::RollbackTransaction() noexcept {
  if (!FInTransaction || !FConnection->Connected()) {
    FInTransaction = false;
    return;
  }
  FInTransaction = false;
  try {
    SQLHDBC hdbc = FConnection->Hdbc();
    SQLEndTran(SQL_HANDLE_DBC, hdbc, SQL_ROLLBACK);
    SQLSetConnectAttr(hdbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                      0);
  } catch (...) {
  }
}

void TOdbcDataBridge::ReadCatalog(const std::string& Name, std::vector<TCatalogColumn>& Columns,
                                  std::vector<std::string>& KeyColumns, std::string& SqlName) {
  const std::string secret = FConnection->Secret();
  std::string schema, table;
  SplitTableName(Name, schema, table);
  auto read = [&](const std::string& s, const std::string& t) {
    Columns.clear();
    KeyColumns.clear();
    db::odbc::THandle stmt = db::odbc::Allocate(SQL_HANDLE_STMT, FConnection->Hdbc());
    SQLHSTMT h = stmt.Get();
    std::string ps = EscapePattern(s), pt = EscapePattern(t);
    db::odbc::Check(
        SQLColumns(h, nullptr, 0, s.empty() ? nullptr : reinterpret_cast<SQLCHAR*>(ps.data()),
                   s.empty() ? 0 : SQL_NTS, reinterpret_cast<SQLCHAR*>(pt.data()), SQL_NTS, nullptr,
                   0),
        SQL_HANDLE_STMT, h, "SQLColumns", secret);
    std::string foundSchema, foundTable = t;
    bool first = true;
    while (SQL_SUCCEEDED(SQLFetch(h))) {
      // Each column is read once, in order (SQLGetData).
      std::string rowSchema = ColumnText(h, 2);
      std::string rowTable = ColumnText(h, 3);
      // Drivers may match the name without regard to case: statements must
      // name the table as the catalog spells it.
      if (first) {
        foundSchema = rowSchema;
        foundTable = rowTable;
      }
      first = false;
      // Without a schema, the first one that has the table (and of the
      // names that differ only in case, the first).
      if (rowSchema != foundSchema || rowTable != foundTable) continue;
      TCatalogColumn c;
      c.Name = ColumnText(h, 4);
      c.SqlType = static_cast<int>(ColumnNumber(h, 5));
      c.TypeName = ColumnText(h, 6);
      c.Size = static_cast<int>(ColumnNumber(h, 7));
      c.Scale = static_cast<int>(ColumnNumber(h, 9));
      Columns.push_back(std::move(c));
    }
    SQLCloseCursor(h);
    if (Columns.empty()) return;
    std::vector<std::pair<long, std::string>> keys;
    db::odbc::Check(SQLPrimaryKeys(h, nullptr, 0, reinterpret_cast<SQLCHAR*>(foundSchema.data()),
                                   SQL_NTS, reinterpret_cast<SQLCHAR*>(foundTable.data()), SQL_NTS),
                    SQL_HANDLE_STMT, h, "SQLPrimaryKeys", secret);
    while (SQL_SUCCEEDED(SQLFetch(h))) keys.emplace_back(ColumnNumber(h, 5), ColumnText(h, 4));
    std::sort(keys.begin(), keys.end());
    for (auto& k : keys) KeyColumns.push_back(k.second);
    SqlName = (foundSchema.empty() ? "" : QuoteIdentifier(foundSchema) + ".") +
              QuoteIdentifier(foundTable);
  };
  try {
    read(schema, table);
    auto lower = [](std::string x) {
      for (char& c : x) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      return x;
    };
    if (Columns.empty() && (lower(schema) != schema || lower(table) != table))
      read(lower(schema), lower(table));
  } catch (const db::EDatabaseError& e) {
    FConnection->DropIfLost(e);
    throw;
  }
}

}  // namespace dataframework::bridge
