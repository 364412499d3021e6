#include "db/OracleAccess.h"

#include "platform/TextUtils.h"

namespace db {

std::string TOraSession::ConnectionString() const {
  using odbc::QuoteValue;
  std::string s =
      odbc::DriverAttribute(odbc::DriverFromEnvironment("CLAVIRA_ODBC_ORACLE", "Oracle"));
  if (FDirect) {
    // host:port:service; the service may itself hold colons.
    size_t first = FServer.find(':');
    size_t second = first == std::string::npos ? first : FServer.find(':', first + 1);
    std::string host = FServer.substr(0, first);
    std::string port =
        first == std::string::npos ? "" : FServer.substr(first + 1, second - first - 1);
    std::string service = second == std::string::npos ? "" : FServer.substr(second + 1);
    s += ";DBQ=" + QuoteValue("//" + host + ":" + port + "/" + service);
    s += ";SERVER=" + QuoteValue(host) + ";PORT=" + QuoteValue(port) +
         ";DATABASE=" + QuoteValue(service);
  } else {
    s += ";DBQ=" + QuoteValue(FServer);
  }
  s += ";UID=" + QuoteValue(FUsername) + ";PWD=" + QuoteValue(FPassword);
  // Cursor results come back as rows; drivers without the option ignore it.
  s += ";FetchRefcursors=1";
  return s;
}

void TOraSession::AfterConnect(SQLHDBC hdbc) {
  if (!FAutoCommit)
    odbc::Check(SQLSetConnectAttr(hdbc, SQL_ATTR_AUTOCOMMIT,
                                  reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
                SQL_HANDLE_DBC, hdbc, "Switching auto-commit off", FPassword);
}

void TOraSession::Commit() {
  SQLHDBC h = Hdbc();
  Bounded([&] {
    odbc::Check(SQLEndTran(SQL_HANDLE_DBC, h, SQL_COMMIT), SQL_HANDLE_DBC, h, "Commit", FPassword);
  });
}

void TOraSession::Rollback() {
  SQLHDBC h = Hdbc();
  Bounded([&] {
    odbc::Check(SQLEndTran(SQL_HANDLE_DBC, h, SQL_ROLLBACK), SQL_HANDLE_DBC, h, "Rollback",
                FPassword);
  });
}

TFieldType TOraStoredProc::ParamFieldType(SQLSMALLINT sqlType, const std::string& typeName) const {
  if (sqlType == SQL_LONGVARCHAR || sqlType == SQL_WLONGVARCHAR) return ftOraClob;
  if (sqlType == SQL_LONGVARBINARY) return ftOraBlob;
  return TOdbcStoredProc::ParamFieldType(sqlType, typeName);
}

bool TOraStoredProc::IsRowsParam(const std::string& typeName) const {
  return platform::UpperCase(typeName).find("CURSOR") != std::string::npos;
}

void TOraStoredProc::BeforeRun(SQLHDBC hdbc) {
  // Cursors are read inside a transaction: the driver fetches their rows
  // before the transaction ends.
  if (FSession && FSession->AutoCommit())
    odbc::Check(SQLSetConnectAttr(hdbc, SQL_ATTR_AUTOCOMMIT,
                                  reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
                SQL_HANDLE_DBC, hdbc, "Switching auto-commit off", FSession->Secret());
}

void TOraStoredProc::AfterRun(SQLHDBC hdbc, bool succeeded) {
  if (!FSession || !FSession->AutoCommit()) return;
  SQLRETURN end = SQLEndTran(SQL_HANDLE_DBC, hdbc, succeeded ? SQL_COMMIT : SQL_ROLLBACK);
  SQLSetConnectAttr(hdbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
  if (succeeded) odbc::Check(end, SQL_HANDLE_DBC, hdbc, "Commit", FSession->Secret());
}

}  // namespace db
