#include "db/OdbcStoredProc.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Conversions.h"
#include "platform/Exception.h"
#include "platform/TextUtils.h"

namespace db {
namespace {

// Long text goes to the server in pieces of this size.
constexpr size_t kPutChunk = 64 * 1024;

std::string GetInfoText(SQLHDBC hdbc, SQLUSMALLINT info) {
  SQLCHAR buf[64] = {0};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLGetInfo(hdbc, info, buf, sizeof buf, &length))) return {};
  return reinterpret_cast<char*>(buf);
}

std::string EscapePattern(const std::string& s, const std::string& escape) {
  if (escape.empty()) return s;
  std::string out;
  for (char c : s) {
    if (c == '_' || c == '%' || escape.find(c) != std::string::npos) out += escape;
    out += c;
  }
  return out;
}

std::string QuoteIdentifier(const std::string& s, const std::string& quote) {
  if (quote.empty() || quote == " ") return s;
  std::string out = quote;
  for (char c : s) {
    out += c;
    if (quote.size() == 1 && c == quote[0]) out += c;
  }
  return out + quote;
}

// Text of column `col` of the current row; empty for null.
std::string ColumnText(SQLHSTMT stmt, SQLUSMALLINT col, bool* isNull = nullptr) {
  std::string out;
  char buf[4096];
  for (;;) {
    SQLLEN ind = 0;
    SQLRETURN rc = SQLGetData(stmt, col, SQL_C_CHAR, buf, sizeof buf, &ind);
    if (rc == SQL_NO_DATA) break;
    odbc::Check(rc, SQL_HANDLE_STMT, stmt, "Reading a column");
    if (ind == SQL_NULL_DATA) {
      if (isNull) *isNull = true;
      return {};
    }
    size_t got = (ind == SQL_NO_TOTAL || ind >= static_cast<SQLLEN>(sizeof buf))
                     ? sizeof buf - 1
                     : static_cast<size_t>(ind);
    out.append(buf, got);
    if (rc == SQL_SUCCESS) break;
  }
  if (isNull) *isNull = false;
  return out;
}

SQLLEN ColumnInt(SQLHSTMT stmt, SQLUSMALLINT col, bool& isNull) {
  SQLINTEGER v = 0;
  SQLLEN ind = 0;
  odbc::Check(SQLGetData(stmt, col, SQL_C_SLONG, &v, 0, &ind), SQL_HANDLE_STMT, stmt,
              "Reading the catalogue");
  isNull = ind == SQL_NULL_DATA;
  return v;
}

SQLSMALLINT SqlTypeOf(TFieldType t, SQLSMALLINT described) {
  switch (t) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
      return SQL_VARCHAR;
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
      return SQL_LONGVARCHAR;
    case ftSmallint:
    case ftWord:
    case ftInteger:
    case ftAutoInc:
      return SQL_INTEGER;
    case ftLargeint:
      return SQL_BIGINT;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
      return SQL_DOUBLE;
    case ftBoolean:
      return SQL_BIT;
    case ftDate:
      return SQL_TYPE_DATE;
    case ftTime:
      return SQL_TYPE_TIME;
    case ftDateTime:
    case ftTimeStamp:
      return SQL_TYPE_TIMESTAMP;
    default:
      return described;
  }
}

bool IsLongText(TFieldType t) {
  return t == ftMemo || t == ftFmtMemo || t == ftOraClob;
}

// The value of a parameter as the text the driver converts.
std::string BindText(const TParam& p) {
  const TVariant& v = p.Value();
  bool numeric = std::holds_alternative<double>(v) || std::holds_alternative<int32_t>(v) ||
                 std::holds_alternative<int64_t>(v);
  if (numeric && (p.DataType() == ftDateTime || p.DataType() == ftTimeStamp))
    return DateTimeToText(VarToFloat(v));
  if (numeric && p.DataType() == ftDate) return DateTimeToText(VarToFloat(v)).substr(0, 10);
  if (numeric && p.DataType() == ftTime) return DateTimeToText(VarToFloat(v)).substr(11);
  if (std::holds_alternative<bool>(v)) return std::get<bool>(v) ? "1" : "0";
  return VarToStr(v);
}

// Text read back from the driver, typed by the parameter's data type; text
// that does not convert stays text.
TVariant TypedValue(TFieldType t, const std::string& text) {
  try {
    switch (t) {
      case ftSmallint:
      case ftWord:
      case ftInteger:
      case ftAutoInc:
        return VarToInt(TVariant(text));
      case ftLargeint:
        return VarToInt64(TVariant(text));
      case ftFloat:
      case ftCurrency:
      case ftBCD:
      case ftFMTBcd:
        return VarToFloat(TVariant(text));
      case ftDate:
      case ftDateTime:
      case ftTimeStamp:
        return VarToDateTime(TVariant(text));
      default:
        return text;
    }
  } catch (const platform::Exception&) {
    return text;
  }
}

// Runs Call; when it fails because the connection was lost, runs it once
// more on the reopened connection. A second failure goes to the caller.
template <class F>
void RetryIfLost(TCustomConnection& Connection, F Call) {
  try {
    Call();
    return;
  } catch (const EDatabaseError& e) {
    if (!Connection.DropIfLost(e)) throw;
  }
  Call();
}

// One bound parameter's storage; must stay in place until the run ends.
struct TBinding {
  std::string text;
  std::vector<char> buffer;
  SQLLEN indicator = 0;
  bool atExec = false;
};

}  // namespace

TOdbcStoredProc::~TOdbcStoredProc() = default;

void TOdbcStoredProc::SetStoredProcName(const std::string& name) {
  if (name == FStoredProcName) return;
  FStoredProcName = name;
  UnPrepare();
  FParams.Clear();
}

void TOdbcStoredProc::SetBaseConnection(TCustomConnection* connection) {
  if (connection == FConnection) return;
  FConnection = connection;
  UnPrepare();
}

TParam& TOdbcStoredProc::ParamByName(const std::string& name) {
  if (TParam* p = FindParam(name)) return *p;
  throw EDatabaseError(platform::FormatMessage("Parameter '%s' not found", {name}));
}

TFieldType TOdbcStoredProc::ParamFieldType(SQLSMALLINT sqlType, const std::string&) const {
  switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
      return ftString;
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR:
      return ftMemo;
    case SQL_TINYINT:
    case SQL_SMALLINT:
      return ftSmallint;
    case SQL_INTEGER:
      return ftInteger;
    case SQL_BIGINT:
      return ftLargeint;
    case SQL_BIT:
      return ftBoolean;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_NUMERIC:
    case SQL_DECIMAL:
      return ftFloat;
    case SQL_TYPE_DATE:
    case SQL_DATE:
      return ftDate;
    case SQL_TYPE_TIME:
    case SQL_TIME:
      return ftTime;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
      return ftDateTime;
    case SQL_BINARY:
      return ftBytes;
    case SQL_VARBINARY:
      return ftVarBytes;
    case SQL_LONGVARBINARY:
      return ftBlob;
    case SQL_GUID:
      return ftGuid;
    default:
      return ftUnknown;
  }
}

std::shared_ptr<const TProcDescription> TOdbcStoredProc::Describe(SQLHDBC hdbc) {
  auto& cache = FConnection->DescriptionCache();
  if (auto it = cache.find(FStoredProcName); it != cache.end()) return it->second;

  std::string schema, name = FStoredProcName;
  if (size_t dot = name.rfind('.'); dot != std::string::npos) {
    schema = name.substr(0, dot);
    name = name.substr(dot + 1);
  }
  const std::string escape = GetInfoText(hdbc, SQL_SEARCH_PATTERN_ESCAPE);
  const std::string quote = GetInfoText(hdbc, SQL_IDENTIFIER_QUOTE_CHAR);
  const std::string secret = FConnection->Secret();

  // The catalogue's own spelling of the procedure: as given, else folded to
  // lower case (servers that fold unquoted names store it that way).
  std::string foundSchema, foundName;
  auto lookUp = [&](const std::string& procName) {
    odbc::THandle stmt = odbc::Allocate(SQL_HANDLE_STMT, hdbc);
    std::string s = EscapePattern(schema, escape), p = EscapePattern(procName, escape);
    odbc::Check(
        SQLProcedures(stmt.Get(), nullptr, 0,
                      schema.empty() ? nullptr : reinterpret_cast<SQLCHAR*>(s.data()),
                      schema.empty() ? 0 : static_cast<SQLSMALLINT>(s.size()),
                      reinterpret_cast<SQLCHAR*>(p.data()), static_cast<SQLSMALLINT>(p.size())),
        SQL_HANDLE_STMT, stmt.Get(), "Describing the procedure", secret);
    SQLRETURN rc = SQLFetch(stmt.Get());
    odbc::Check(rc, SQL_HANDLE_STMT, stmt.Get(), "Describing the procedure", secret);
    if (rc == SQL_NO_DATA) return false;
    foundSchema = ColumnText(stmt.Get(), 2);
    foundName = ColumnText(stmt.Get(), 3);
    return true;
  };
  const std::string folded = platform::LowerCase(name);
  if (!lookUp(name) && !(folded != name && lookUp(folded)))
    throw EDatabaseError(
        platform::FormatMessage("Stored procedure '%s' not found", {FStoredProcName}));

  auto description = std::make_shared<TProcDescription>();
  {
    odbc::THandle stmt = odbc::Allocate(SQL_HANDLE_STMT, hdbc);
    std::string s = EscapePattern(foundSchema, escape), p = EscapePattern(foundName, escape);
    odbc::Check(
        SQLProcedureColumns(stmt.Get(), nullptr, 0,
                            foundSchema.empty() ? nullptr : reinterpret_cast<SQLCHAR*>(s.data()),
                            foundSchema.empty() ? 0 : static_cast<SQLSMALLINT>(s.size()),
                            reinterpret_cast<SQLCHAR*>(p.data()),
                            static_cast<SQLSMALLINT>(p.size()), nullptr, 0),
        SQL_HANDLE_STMT, stmt.Get(), "Describing the procedure", secret);
    SQLSMALLINT columns = 0;
    SQLNumResultCols(stmt.Get(), &columns);
    std::vector<std::pair<SQLLEN, TProcParamDesc>> rows;
    for (;;) {
      SQLRETURN rc = SQLFetch(stmt.Get());
      odbc::Check(rc, SQL_HANDLE_STMT, stmt.Get(), "Describing the procedure", secret);
      if (rc == SQL_NO_DATA) break;
      if (ColumnText(stmt.Get(), 2) != foundSchema || ColumnText(stmt.Get(), 3) != foundName)
        continue;
      bool null = false;
      SQLLEN kind = ColumnInt(stmt.Get(), 5, null);
      TProcParamDesc d;
      switch (kind) {
        case SQL_PARAM_INPUT:
        case SQL_PARAM_TYPE_UNKNOWN:
          d.ParamType = ptInput;
          break;
        case SQL_PARAM_INPUT_OUTPUT:
          d.ParamType = ptInputOutput;
          break;
        case SQL_PARAM_OUTPUT:
          d.ParamType = ptOutput;
          break;
        default:  // return value or result column: not a parameter
          continue;
      }
      d.Name = EngineParamName(ColumnText(stmt.Get(), 4));
      d.SqlType = static_cast<SQLSMALLINT>(ColumnInt(stmt.Get(), 6, null));
      std::string typeName = ColumnText(stmt.Get(), 7);
      SQLLEN size = ColumnInt(stmt.Get(), 8, null);
      d.Size = null || size < 0 ? 0 : static_cast<SQLULEN>(size);
      d.Digits = static_cast<SQLSMALLINT>(ColumnInt(stmt.Get(), 10, null));
      d.DataType = ParamFieldType(d.SqlType, typeName);
      if (IsRowsParam(typeName)) {
        d.DataType = ftCursor;
        d.InCall = false;
      }
      SQLLEN ordinal = static_cast<SQLLEN>(rows.size());
      if (columns >= 18) {
        SQLLEN o = ColumnInt(stmt.Get(), 18, null);
        if (!null) ordinal = o;
      }
      rows.emplace_back(ordinal, std::move(d));
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& r : rows) description->Params.push_back(std::move(r.second));
  }

  std::string call = "{call ";
  if (!foundSchema.empty()) call += QuoteIdentifier(foundSchema, quote) + ".";
  call += QuoteIdentifier(foundName, quote) + "(";
  bool first = true;
  for (const auto& d : description->Params) {
    if (!d.InCall) continue;
    call += first ? "?" : ",?";
    first = false;
  }
  call += ")}";
  description->Statement = std::move(call);
  cache[FStoredProcName] = description;
  return description;
}

void TOdbcStoredProc::Prepare() {
  if (!FSQL.empty()) return;
  if (FStoredProcName.empty()) throw EDatabaseError("StoredProcName must be defined");
  if (!FConnection) throw EDatabaseError(NoConnectionText());
  RetryIfLost(*FConnection, [&] {
    SQLHDBC hdbc = FConnection->Hdbc();
    FConnection->Bounded([&] { FDescription = Describe(hdbc); });
  });
  FSQL = FDescription->Statement;
  if (FParams.Count() == 0)
    for (const auto& d : FDescription->Params) FParams.CreateParam(d.DataType, d.Name, d.ParamType);
}

void TOdbcStoredProc::Open() {
  Run(true);
}

void TOdbcStoredProc::ExecProc() {
  Run(false);
}

void TOdbcStoredProc::Close() {
  ClearData();
}

void TOdbcStoredProc::UnPrepare() {
  FSQL.clear();
  FDescription.reset();
}

void TOdbcStoredProc::Run(bool keepRows) {
  Prepare();
  RetryIfLost(*FConnection, [&] {
    FConnection->Hdbc();
    FConnection->Bounded([&] { RunOnce(keepRows); });
  });
}

void TOdbcStoredProc::RunOnce(bool keepRows) {
  ClearData();
  const auto& desc = *FDescription;
  if (FParams.Count() != static_cast<int>(desc.Params.size()))
    throw EDatabaseError("The parameter list does not match the procedure '" + FStoredProcName +
                         "'");
  const std::string secret = FConnection->Secret();
  SQLHDBC hdbc = FConnection->Hdbc();

  if (FDebug) {
    std::fprintf(stderr, "SQL: %s\n", FSQL.c_str());
    for (int i = 0; i < FParams.Count(); ++i)
      std::fprintf(stderr, "  :%s type %d direction %d\n", FParams[i].Name().c_str(),
                   static_cast<int>(FParams[i].DataType()),
                   static_cast<int>(FParams[i].ParamType()));
  }

  odbc::THandle stmt = odbc::Allocate(SQL_HANDLE_STMT, hdbc);
  SQLHSTMT h = stmt.Get();
  if (const int timeout = FConnection->QueryTimeout(); timeout > 0)
    SQLSetStmtAttr(h, SQL_ATTR_QUERY_TIMEOUT,
                   reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(timeout)), 0);

  std::vector<TBinding> bindings(FParams.Count());
  SQLUSMALLINT marker = 0;
  for (int i = 0; i < FParams.Count(); ++i) {
    const TProcParamDesc& d = desc.Params[i];
    if (!d.InCall) continue;
    ++marker;
    TParam& p = FParams[i];
    TBinding& b = bindings[i];
    SQLSMALLINT sqlType = SqlTypeOf(p.DataType(), d.SqlType);
    SQLSMALLINT io = p.ParamType() == ptOutput        ? SQL_PARAM_OUTPUT
                     : p.ParamType() == ptInputOutput ? SQL_PARAM_INPUT_OUTPUT
                                                      : SQL_PARAM_INPUT;
    bool hasInput = io != SQL_PARAM_OUTPUT && !p.IsNull();
    if (hasInput) b.text = BindText(p);
    SQLULEN columnSize = std::max<SQLULEN>(1, b.text.size());
    SQLSMALLINT digits = 0;
    if (sqlType == SQL_TYPE_TIMESTAMP) {
      columnSize = 23;
      digits = 3;
    } else if (sqlType == SQL_DOUBLE) {
      columnSize = 15;
    } else if (sqlType == SQL_INTEGER || sqlType == SQL_BIGINT) {
      columnSize = 0;
    }
    SQLRETURN rc;
    if (io == SQL_PARAM_INPUT && hasInput && IsLongText(p.DataType())) {
      // Long text of any length: sent in pieces after SQLExecDirect asks for it.
      b.atExec = true;
      b.indicator = SQL_LEN_DATA_AT_EXEC(static_cast<SQLLEN>(b.text.size()));
      rc = SQLBindParameter(h, marker, io, SQL_C_CHAR, sqlType, columnSize, 0,
                            reinterpret_cast<SQLPOINTER>(static_cast<intptr_t>(i + 1)), 0,
                            &b.indicator);
    } else if (io == SQL_PARAM_INPUT) {
      b.indicator = hasInput ? static_cast<SQLLEN>(b.text.size()) : SQL_NULL_DATA;
      rc = SQLBindParameter(h, marker, io, SQL_C_CHAR, sqlType, columnSize, digits, b.text.data(),
                            static_cast<SQLLEN>(b.text.size()), &b.indicator);
    } else {
      size_t capacity = std::clamp<size_t>(d.Size * 4 + 1, 256, 1 << 20);
      capacity = std::max(capacity, b.text.size() + 1);
      b.buffer.assign(capacity, 0);
      std::memcpy(b.buffer.data(), b.text.data(), b.text.size());
      b.indicator = hasInput ? static_cast<SQLLEN>(b.text.size()) : SQL_NULL_DATA;
      if (columnSize < d.Size) columnSize = d.Size;
      rc = SQLBindParameter(h, marker, io, SQL_C_CHAR, sqlType, columnSize, digits, b.buffer.data(),
                            static_cast<SQLLEN>(capacity), &b.indicator);
    }
    odbc::Check(rc, SQL_HANDLE_STMT, h, "Binding parameter '" + p.Name() + "'", secret);
  }

  BeforeRun(hdbc);
  try {
    SQLRETURN rc = SQLExecDirect(h, reinterpret_cast<SQLCHAR*>(FSQL.data()), SQL_NTS);
    while (rc == SQL_NEED_DATA) {
      SQLPOINTER token = nullptr;
      rc = SQLParamData(h, &token);
      if (rc != SQL_NEED_DATA) break;
      const std::string& text = bindings.at(reinterpret_cast<intptr_t>(token) - 1).text;
      size_t at = 0;
      do {
        size_t n = std::min(kPutChunk, text.size() - at);
        odbc::Check(SQLPutData(h, const_cast<char*>(text.data() + at), static_cast<SQLLEN>(n)),
                    SQL_HANDLE_STMT, h, "Sending long text", secret);
        at += n;
      } while (at < text.size());
    }
    odbc::Check(rc, SQL_HANDLE_STMT, h, "", secret);

    // The first result set with columns is the procedure's rows; output
    // values arrive once every result set has been read.
    bool haveRows = false;
    while (rc != SQL_NO_DATA) {
      SQLSMALLINT columns = 0;
      odbc::Check(SQLNumResultCols(h, &columns), SQL_HANDLE_STMT, h, "", secret);
      if (columns > 0 && keepRows && !haveRows) {
        haveRows = true;
        std::vector<SQLSMALLINT> types(columns);
        for (SQLUSMALLINT c = 1; c <= columns; ++c) {
          SQLCHAR name[256] = {0};
          SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
          SQLULEN size = 0;
          odbc::Check(SQLDescribeCol(h, c, name, sizeof name, &nameLength, &type, &size, &digits,
                                     &nullable),
                      SQL_HANDLE_STMT, h, "", secret);
          types[c - 1] = type;
          AddField(reinterpret_cast<char*>(name), TOdbcStoredProc::ParamFieldType(type, {}),
                   static_cast<int>(std::min<SQLULEN>(size, 1u << 30)));
        }
        for (;;) {
          SQLRETURN f = SQLFetch(h);
          if (f == SQL_NO_DATA) break;
          odbc::Check(f, SQL_HANDLE_STMT, h, "", secret);
          std::vector<TVariant> values(columns);
          for (SQLUSMALLINT c = 1; c <= columns; ++c) {
            SQLLEN ind = 0;
            switch (Fields(c - 1).DataType()) {
              case ftSmallint:
              case ftInteger:
              case ftLargeint: {
                SQLBIGINT v = 0;
                odbc::Check(SQLGetData(h, c, SQL_C_SBIGINT, &v, 0, &ind), SQL_HANDLE_STMT, h, "",
                            secret);
                if (ind == SQL_NULL_DATA) break;
                if (Fields(c - 1).DataType() == ftLargeint)
                  values[c - 1] = static_cast<int64_t>(v);
                else
                  values[c - 1] = static_cast<int32_t>(v);
                break;
              }
              case ftFloat: {
                double v = 0;
                odbc::Check(SQLGetData(h, c, SQL_C_DOUBLE, &v, 0, &ind), SQL_HANDLE_STMT, h, "",
                            secret);
                if (ind != SQL_NULL_DATA) values[c - 1] = v;
                break;
              }
              case ftDate:
              case ftTime:
              case ftDateTime: {
                SQL_TIMESTAMP_STRUCT ts{};
                odbc::Check(SQLGetData(h, c, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &ind),
                            SQL_HANDLE_STMT, h, "", secret);
                if (ind == SQL_NULL_DATA) break;
                double days = Fields(c - 1).DataType() == ftTime
                                  ? EncodeDateTime(1899, 12, 30, ts.hour, ts.minute, ts.second)
                                  : EncodeDateTime(ts.year, ts.month, ts.day, ts.hour, ts.minute,
                                                   ts.second + ts.fraction / 1e9);
                values[c - 1] = days;
                break;
              }
              case ftBoolean: {
                bool isNull = false;
                std::string t = ColumnText(h, c, &isNull);
                if (!isNull) values[c - 1] = (t == "1" || t == "t" || t == "true");
                break;
              }
              default: {
                bool isNull = false;
                std::string t = ColumnText(h, c, &isNull);
                if (!isNull) values[c - 1] = std::move(t);
                break;
              }
            }
          }
          AppendRecord(std::move(values));
        }
      }
      rc = SQLMoreResults(h);
      odbc::Check(rc, SQL_HANDLE_STMT, h, "", secret);
    }
  } catch (...) {
    AfterRun(hdbc, false);
    ClearData();
    throw;
  }
  AfterRun(hdbc, true);

  for (int i = 0; i < FParams.Count(); ++i) {
    TParam& p = FParams[i];
    if (!desc.Params[i].InCall || p.ParamType() == ptInput) continue;
    const TBinding& b = bindings[i];
    if (b.indicator == SQL_NULL_DATA) {
      p.Clear();
      continue;
    }
    size_t n = std::min<size_t>(b.indicator < 0 ? 0 : b.indicator, b.buffer.size() - 1);
    p.SetValue(TypedValue(p.DataType(), std::string(b.buffer.data(), n)));
  }
  if (keepRows) {
    SetActive(true);
    First();
  }
}

}  // namespace db
