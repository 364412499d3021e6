#include "db/Connection.h"

#include "db/OdbcStoredProc.h"

namespace db {

TCustomConnection::~TCustomConnection() = default;

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
  AfterConnect(FHdbc.Get());
}

void TCustomConnection::Disconnect() {
  FHdbc.Reset();
  FConnected = false;
  FDescriptions.clear();
}

SQLHDBC TCustomConnection::Hdbc() const {
  if (!Connected()) throw EDatabaseError("Not connected");
  return FHdbc.Get();
}

}  // namespace db
