#include "bench/login/RawFloor.h"

#include <ldap.h>
#include <strings.h>

#include <stdexcept>
#include <vector>

namespace bench {

namespace {

void Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* what) {
  if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) return;
  SQLCHAR state[6] = {}, text[512] = {};
  SQLINTEGER native = 0;
  SQLSMALLINT len = 0;
  SQLGetDiagRec(type, handle, 1, state, &native, text, sizeof text, &len);
  throw std::runtime_error(std::string(what) + ": " + reinterpret_cast<char*>(text));
}

// A statement with its parameters bound by hand; strings or null.
class Call {
 public:
  Call(SQLHDBC dbc, const char* sql, size_t n) : FValues(n), FInts(n), FLens(n) {
    Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &FStmt), SQL_HANDLE_DBC, dbc, "alloc");
    FSql = sql;
  }
  ~Call() { SQLFreeHandle(SQL_HANDLE_STMT, FStmt); }
  void Text(size_t i, const std::string* v) {
    FValues[i] = v ? *v : std::string();
    FLens[i] = v ? SQLLEN(FValues[i].size()) : SQL_NULL_DATA;
    Check(SQLBindParameter(FStmt, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                           255, 0, FValues[i].data(), 0, &FLens[i]),
          SQL_HANDLE_STMT, FStmt, "bind");
  }
  void Int(size_t i, int32_t* v) {
    FInts[i] = v ? *v : 0;
    FLens[i] = v ? 0 : SQL_NULL_DATA;
    Check(SQLBindParameter(FStmt, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0,
                           0, &FInts[i], 0, &FLens[i]),
          SQL_HANDLE_STMT, FStmt, "bind");
  }
  bool Run() {
    Check(SQLExecDirect(FStmt, (SQLCHAR*)FSql, SQL_NTS), SQL_HANDLE_STMT, FStmt, "exec");
    SQLRETURN rc = SQLFetch(FStmt);
    Check(rc, SQL_HANDLE_STMT, FStmt, "fetch");
    return rc != SQL_NO_DATA;
  }
  SQLSMALLINT Columns() {
    SQLSMALLINT n = 0;
    SQLNumResultCols(FStmt, &n);
    return n;
  }
  // Column I (1-based) as text; null as "".
  std::string Get(SQLUSMALLINT i, bool* isNull = nullptr) {
    char buf[1024];
    SQLLEN len = 0;
    Check(SQLGetData(FStmt, i, SQL_C_CHAR, buf, sizeof buf, &len), SQL_HANDLE_STMT, FStmt, "get");
    if (isNull) *isNull = len == SQL_NULL_DATA;
    return len == SQL_NULL_DATA ? std::string() : std::string(buf, size_t(len));
  }
  // Column I (1-based) by name, as the flow's reads are by name.
  SQLUSMALLINT Find(const char* name) {
    SQLSMALLINT n = Columns();
    for (SQLSMALLINT c = 1; c <= n; ++c) {
      SQLCHAR col[128];
      SQLSMALLINT len = 0;
      SQLColAttribute(FStmt, c, SQL_DESC_NAME, col, sizeof col, &len, nullptr);
      if (strcasecmp(reinterpret_cast<char*>(col), name) == 0) return SQLUSMALLINT(c);
    }
    throw std::runtime_error(std::string("no column ") + name);
  }

 private:
  SQLHSTMT FStmt = SQL_NULL_HSTMT;
  const char* FSql;
  std::vector<std::string> FValues;
  std::vector<int32_t> FInts;
  std::vector<SQLLEN> FLens;
};

const char* kAuthentication = "{call \"PRC_VKT_AUTHENTICATION\"(?,?,?,?,?)}";
const char* kUsers = "{call \"PRC_USERS\"(?,?,?,?)}";

}  // namespace

RawOdbc::RawOdbc(const std::string& ConnectionString) {
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &FEnv);
  SQLSetEnvAttr(FEnv, SQL_ATTR_ODBC_VERSION, (SQLPOINTER)SQL_OV_ODBC3, 0);
  SQLAllocHandle(SQL_HANDLE_DBC, FEnv, &FDbc);
  Check(SQLDriverConnect(FDbc, nullptr, (SQLCHAR*)ConnectionString.c_str(), SQL_NTS, nullptr, 0,
                         nullptr, SQL_DRIVER_NOPROMPT),
        SQL_HANDLE_DBC, FDbc, "connect");
}

RawOdbc::~RawOdbc() {
  SQLDisconnect(FDbc);
  SQLFreeHandle(SQL_HANDLE_DBC, FDbc);
  SQLFreeHandle(SQL_HANDLE_ENV, FEnv);
}

RawOdbc::Settings RawOdbc::LoadSettings(int32_t Id) {
  Call call(FDbc, kAuthentication, 5);
  const std::string s = "S", e = "E";
  call.Text(0, &s);
  call.Text(1, &e);
  call.Text(2, nullptr);
  call.Text(3, nullptr);
  call.Int(4, &Id);
  Settings out;
  if (!call.Run()) return out;
  bool n1, n2, n3;
  out.Path = call.Get(call.Find("PATH"), &n1);
  out.UserString = call.Get(call.Find("USER_STRING"), &n2);
  const std::string security = call.Get(call.Find("SECURITY"), &n3);
  out.Any = !(n1 && n2 && n3);
  out.Security = n3 ? 0 : std::stoi(security);
  if (!out.Any) out.Security = -1;
  return out;
}

int32_t RawOdbc::Authenticate(const char* Option, const std::string& User,
                              const std::string* Password) {
  Call call(FDbc, kAuthentication, 5);
  const std::string s = "S", option = Option;
  call.Text(0, &s);
  call.Text(1, &option);
  call.Text(2, &User);
  call.Text(3, Password);
  call.Int(4, nullptr);
  if (!call.Run()) return 0;
  return std::stoi(call.Get(call.Find("CodUsuario")));
}

int RawOdbc::LoadUser(int32_t Code, int32_t Language) {
  Call call(FDbc, kUsers, 4);
  const std::string s = "S", c = "C";
  call.Text(0, &s);
  call.Text(1, &c);
  call.Int(2, &Code);
  call.Int(3, &Language);
  if (!call.Run()) return 0;
  const SQLSMALLINT n = call.Columns();
  size_t total = 0;
  for (SQLUSMALLINT i = 1; i <= n; ++i) total += call.Get(i).size();
  return total > 0 ? n : 0;
}

bool RawLdapBind(const std::string& HostPort, const std::string& Dn, const std::string& Password) {
  LDAP* ld = nullptr;
  if (ldap_initialize(&ld, ("ldap://" + HostPort).c_str()) != LDAP_SUCCESS) return false;
  int version = LDAP_VERSION3;
  ldap_set_option(ld, LDAP_OPT_PROTOCOL_VERSION, &version);
  timeval timeout{10, 0};
  ldap_set_option(ld, LDAP_OPT_NETWORK_TIMEOUT, &timeout);
  ldap_set_option(ld, LDAP_OPT_TIMEOUT, &timeout);
  berval cred{Password.size(), const_cast<char*>(Password.data())};
  const int rc =
      ldap_sasl_bind_s(ld, Dn.c_str(), LDAP_SASL_SIMPLE, &cred, nullptr, nullptr, nullptr);
  ldap_unbind_ext_s(ld, nullptr, nullptr);
  return rc == LDAP_SUCCESS;
}

}  // namespace bench
