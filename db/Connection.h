// Base of the engines' connection objects (TOraSession, TMSConnection).
//
// A connection owns its ODBC connection handle and a cache of procedure
// descriptions. Login prompts are never shown: the driver is always asked
// not to prompt, whatever LoginPrompt says.
//
// A connection that has been open once and is found lost (the server
// restarted, the network dropped it) is opened again, with the same
// connection string, the next time a handle is asked for: a database that
// comes back is used again without making a new connection object.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "db/CallWatchdog.h"
#include "db/Odbc.h"

namespace db {

struct TProcDescription;

class TCustomConnection {
 public:
  TCustomConnection() = default;
  virtual ~TCustomConnection();
  TCustomConnection(const TCustomConnection&) = delete;
  TCustomConnection& operator=(const TCustomConnection&) = delete;

  bool LoginPrompt() const { return FLoginPrompt; }
  void SetLoginPrompt(bool on) { FLoginPrompt = on; }
  // Seconds to wait for the server at connect: CLAVIRA_ODBC_CONNECT_TIMEOUT
  // (a positive integer), default 15. It bounds a server that takes the
  // connection and never answers, too.
  int LoginTimeout() const { return FLoginTimeout; }
  void SetLoginTimeout(int seconds) { FLoginTimeout = seconds; }
  // Seconds one stored procedure call may run: CLAVIRA_ODBC_QUERY_TIMEOUT
  // (0: no limit), default 60. The server cancels a call that runs longer;
  // a server that does not answer at all is cut off by the client kCallMargin
  // seconds later (Bounded).
  int QueryTimeout() const { return FQueryTimeout; }
  void SetQueryTimeout(int seconds) { FQueryTimeout = seconds; }
  static constexpr int kCallMargin = 2;

  // Connects with the connection string the engine builds; fails with
  // EDatabaseError carrying the driver's and the server's text.
  void Connect();
  void Disconnect();
  bool Connected() const { return FHdbc.Valid() && FConnected; }

  // The ODBC connection string as built from the properties. Holds the password.
  virtual std::string ConnectionString() const = 0;

  // For the engine layers: the live ODBC handle and the description cache,
  // keyed by procedure name as asked for. Hdbc() reopens a connection that
  // was open once and has been closed since (EDatabaseError when that fails);
  // one that was never open fails with "Not connected".
  SQLHDBC Hdbc();
  // Whether Error, raised by a call on this connection, means that the
  // connection itself is gone (the driver's connection-failure states, or
  // the driver reporting the connection dead); if so the handle is dropped,
  // so that the next Hdbc() opens it again.
  bool DropIfLost(const EDatabaseError& Error);
  // Runs Call, ODBC calls on this connection's handle, within QueryTimeout()
  // + kCallMargin seconds whatever the server does: at the deadline the
  // connection's socket is shut down, the connection dropped (the next
  // Hdbc() opens it again) and EDatabaseError with SQLSTATE "HYT00" raised.
  // REQUIRES: the connection is open (Hdbc() succeeded).
  void Bounded(const std::function<void()>& Call);
  std::map<std::string, std::shared_ptr<const TProcDescription>>& DescriptionCache() {
    return FDescriptions;
  }
  // Text that must never reach a message (the password).
  virtual std::string Secret() const = 0;

 protected:
  static int DefaultLoginTimeout();
  static int DefaultQueryTimeout();
  // Runs right after a successful connect (session options).
  virtual void AfterConnect(SQLHDBC /*hdbc*/) {}

 private:
  bool FLoginPrompt = false;
  int FLoginTimeout = DefaultLoginTimeout();
  int FQueryTimeout = DefaultQueryTimeout();
  bool FConnected = false;
  bool FWasConnected = false;  // opened successfully at least once
  odbc::THandle FHdbc;
  // Bounds the calls; made at the first connect whose socket was found.
  std::unique_ptr<TCallWatchdog> FWatchdog;
  std::map<std::string, std::shared_ptr<const TProcDescription>> FDescriptions;
};

}  // namespace db
