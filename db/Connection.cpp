#include "db/Connection.h"

#include <cstdlib>

#include "db/OdbcStoredProc.h"
#include "platform/Conversions.h"

namespace db {

TCustomConnection::~TCustomConnection() = default;

int TCustomConnection::DefaultLoginTimeout() {
  if (const char* text = std::getenv("CLAVIRA_ODBC_CONNECT_TIMEOUT")) {
    auto value = platform::TryStrToInt(text);
    if (value && *value > 0) return *value;
  }
  return 15;
}

void TCustomConnection::Connect() {
  if (Connected()) return;
  FDescriptions.clear();
  FHdbc = odbc::Allocate(SQL_HANDLE_DBC, odbc::Environment());
  SQLSetConnectAttr(FHdbc.Get(), SQL_ATTR_LOGIN_TIMEOUT,
                    reinterpret_cast<SQLPOINTER>(static_cast<SQLLEN>(FLoginTimeout)), 0);
  std::string text = ConnectionString();
  SQLCHAR out[1024];
  SQLSMALLINT outLength = 0;
  // Never a dialog, whatever LoginPrompt says: there is no one to answer it.
  SQLRETURN rc = SQLDriverConnect(FHdbc.Get(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                  static_cast<SQLSMALLINT>(text.size()), out, sizeof out,
                                  &outLength, SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(rc)) {
    std::string state;
    int native = 0;
    std::string diag = odbc::Diagnostics(SQL_HANDLE_DBC, FHdbc.Get(), &state, &native, Secret());
    FHdbc.Reset();
    throw EDatabaseError(diag.empty() ? "Cannot connect to the database" : diag, state, native);
  }
  FConnected = true;
  FWasConnected = true;
  AfterConnect(FHdbc.Get());
}

void TCustomConnection::Disconnect() {
  FHdbc.Reset();
  FConnected = false;
  FDescriptions.clear();
}

SQLHDBC TCustomConnection::Hdbc() {
  if (!Connected()) {
    if (!FWasConnected) throw EDatabaseError("Not connected");
    Connect();
  }
  return FHdbc.Get();
}

namespace {

// SQLSTATEs that say the connection is gone: class 08 (connection
// exception), and the server-shutdown states that the PostgreSQL driver
// reports when the server closed the connection (57P01 is also what it
// says after the server went away unexpectedly).
bool IsConnectionFailureState(const std::string& state) {
  return state.rfind("08", 0) == 0 || state == "57P01" || state == "57P02" || state == "57P03";
}

}  // namespace

bool TCustomConnection::DropIfLost(const EDatabaseError& Error) {
  if (!Connected()) return false;
  bool lost = IsConnectionFailureState(Error.SqlState());
  if (!lost) {
    SQLUINTEGER dead = SQL_CD_FALSE;
    lost = SQL_SUCCEEDED(
               SQLGetConnectAttr(FHdbc.Get(), SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
           dead == SQL_CD_TRUE;
  }
  if (lost) Disconnect();
  return lost;
}

}  // namespace db
