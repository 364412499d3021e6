// The login service's authentication flow and its module state.
//
// AuthenticateUser reads the numbered security settings, authenticates the
// user against the application database or the directory, and on success
// loads the user's record and checks that the user is active. One attempt at
// a time, on the caller's thread; the module state is process-wide.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "db/MyStoredProc.h"
#include "users/UClassUsers.h"

namespace login {

// Result codes of an attempt.
inline constexpr int32_t kAuthenticated = 1;
inline constexpr int32_t kInactive = 2;  // authenticated, but the record is not active
inline constexpr int32_t kRejected = 3;

// Security code that marks that no security settings are stored.
inline constexpr int32_t kNoSecuritySettings = -1;

// What an attempt did, in words, for diagnostics (never the password).
struct TAttemptTrace {
  std::string Settings;  // what the settings lookup found, or why it failed
  std::string Mode;      // "database", or "directory" with account, path and option
  std::string Why;       // why the attempt did not authenticate; empty otherwise
};

// Values kept from one attempt to the next; every attempt overwrites them.
// The result set of the last stored procedure call is owned by that call's
// stored procedure object, which the state holds until the next call or the
// end of the attempt.
struct TLoginState {
  int32_t UserCode = 0;       // "CodUsuario" of the last user the database found
  std::string DirectoryUser;  // typed name, then the directory account name
  std::string DirectoryPath;  // "PATH" of the settings
  int32_t SecurityCode = 0;   // "SECURITY" of the settings; -1: none stored
  std::unique_ptr<db::TMyStoredProc> CurrentProc;
  db::TDataSet* CurrentResultSet = nullptr;  // owned by CurrentProc
  TAttemptTrace Trace;                       // of the last attempt

  // Makes Proc the current call's object; releases the previous one.
  void SetCurrent(std::unique_ptr<db::TMyStoredProc> Proc, db::TDataSet* ResultSet);
  void ReleaseCurrent();
};

// The process-wide module state.
TLoginState& LoginState();

// Authenticates Name with Password under the security settings numbered
// SettingsId. Returns the user's record (owned by the caller) when the attempt
// reached code 1 or 2, else null. ResultCode is written only when an
// authentication was carried out; database errors and errors of the user
// catalogue pass to the caller, leaving ResultCode as it was.
std::unique_ptr<users::TUser> AuthenticateUser(const std::string& Name, const std::string& Password,
                                               int32_t& ResultCode, int32_t SettingsId);

// Database mode: the procedure compares Name with the encrypted Password.
void AuthenticateDatabase(const std::string& Name, const std::string& Password,
                          int32_t& ResultCode);

// Directory mode: the database confirms that Name is a known user, then the
// directory checks Password for the account name of the settings. True
// exactly when it sets code 1.
bool AuthenticateDirectory(const std::string& Name, const std::string& Password,
                           const std::string& Path, int32_t& ResultCode);

}  // namespace login
