// Base of the engines' connection objects (TOraSession, TMSConnection).
//
// A connection owns its ODBC connection handle and a cache of procedure
// descriptions. Login prompts are never shown: the driver is always asked
// not to prompt, whatever LoginPrompt says.
#pragma once

#include <map>
#include <memory>
#include <string>

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
  // Seconds to wait for the server at connect (default 15).
  int LoginTimeout() const { return FLoginTimeout; }
  void SetLoginTimeout(int seconds) { FLoginTimeout = seconds; }

  // Connects with the connection string the engine builds; fails with
  // EDatabaseError carrying the driver's and the server's text.
  void Connect();
  void Disconnect();
  bool Connected() const { return FHdbc.Valid() && FConnected; }

  // The ODBC connection string as built from the properties. Holds the password.
  virtual std::string ConnectionString() const = 0;

  // For the engine layers: the live ODBC handle (fails when not connected) and
  // the description cache, keyed by procedure name as asked for.
  SQLHDBC Hdbc() const;
  std::map<std::string, std::shared_ptr<const TProcDescription>>& DescriptionCache() {
    return FDescriptions;
  }
  // Text that must never reach a message (the password).
  virtual std::string Secret() const = 0;

 protected:
  // Runs right after a successful connect (session options).
  virtual void AfterConnect(SQLHDBC /*hdbc*/) {}

 private:
  bool FLoginPrompt = false;
  int FLoginTimeout = 15;
  bool FConnected = false;
  odbc::THandle FHdbc;
  std::map<std::string, std::shared_ptr<const TProcDescription>> FDescriptions;
};

}  // namespace db
