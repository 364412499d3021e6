#include "db/Connection.h"

#include <cstdlib>
#include <mutex>
#include <string>

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

int TCustomConnection::DefaultQueryTimeout() {
  if (const char* text = std::getenv("CLAVIRA_ODBC_QUERY_TIMEOUT"); text && *text) {
    auto value = platform::TryStrToInt(text);
    if (value && *value >= 0) return *value;
  }
  return 60;
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
  SQLRETURN rc;
  TSocketId socket;
  {
    // The driver does not tell its socket: it is the one TCP socket that
    // connecting made. Connects of the process go one at a time so that
    // each finds its own.
    static std::mutex connecting;
    std::lock_guard<std::mutex> guard(connecting);
    const std::set<ino_t> before = OpenSocketInodes();
    // Never a dialog, whatever LoginPrompt says: there is no one to answer it.
    rc = SQLDriverConnect(FHdbc.Get(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                          static_cast<SQLSMALLINT>(text.size()), out, sizeof out, &outLength,
                          SQL_DRIVER_NOPROMPT);
    if (SQL_SUCCEEDED(rc)) socket = NewTcpSocket(before);
  }
  if (!SQL_SUCCEEDED(rc)) {
    std::string state;
    int native = 0;
    std::string diag = odbc::Diagnostics(SQL_HANDLE_DBC, FHdbc.Get(), &state, &native, Secret());
    FHdbc.Reset();
    throw EDatabaseError(diag.empty() ? "Cannot connect to the database" : diag, state, native);
  }
  FConnected = true;
  FWasConnected = true;
  if (socket.Fd >= 0) {
    SetKeepalives(socket.Fd);
    if (!FWatchdog) FWatchdog = std::make_unique<TCallWatchdog>();
  }
  if (FWatchdog) FWatchdog->SetSocket(socket);
  AfterConnect(FHdbc.Get());
}

void TCustomConnection::Disconnect() {
  // The driver closes the socket; its number may soon name another.
  if (FWatchdog) FWatchdog->SetSocket({});
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

void TCustomConnection::Bounded(const std::function<void()>& Call) {
  if (!FWatchdog || FQueryTimeout <= 0) {
    Call();
    return;
  }
  const int limit = FQueryTimeout + kCallMargin;
  auto timedOut = [&] {
    Disconnect();
    return EDatabaseError(
        "Time-out: the database did not answer within " + std::to_string(limit) + " s", "HYT00");
  };
  FWatchdog->Arm(std::chrono::seconds(limit));
  try {
    Call();
  } catch (...) {
    if (FWatchdog->Disarm()) throw timedOut();
    throw;
  }
  // Answered just as the socket was shut: the answer stands, the connection
  // is gone.
  if (FWatchdog->Disarm()) Disconnect();
}

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
