// The window's two database actions as plain functions, so that the window
// and the command-line twin give the same answers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace app {

inline constexpr char kDatabaseSuccess[] = "autenticado con exito";
inline constexpr char kDatabaseFailure[] = "autenticacion fallida";

// The settings number "Autenticar DB" uses.
inline constexpr int32_t kWindowSettingsId = 2;

// Connects the database manager with the engine and the connection string of
// the shared runtime library. Errors of the connection pass to the caller.
void ConnectDatabase();

struct TDatabaseAnswer {
  std::string Message;                // "autenticado con exito" or "autenticacion fallida"
  std::optional<int32_t> ResultCode;  // when the flow wrote one
};

// Runs the login flow for Name and Password with settings SettingsId. The
// message is the success one whenever a user record came back (an inactive
// user included). Errors of the flow pass to the caller. When the database
// manager has no connection because the configuration names no engine it
// knows, the flow is not run: EDatabaseError says what is wrong with the
// configuration. Diagnostic, when given, receives what the attempt did: the
// settings found, the mode, and why it failed (never the password).
TDatabaseAnswer DatabaseCheck(const std::string& Name, const std::string& Password,
                              int32_t SettingsId = kWindowSettingsId,
                              std::string* Diagnostic = nullptr);

}  // namespace app
