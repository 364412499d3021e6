#include "login/ULoginVelkor.h"

#include "db/DBManagerClass.h"
#include "db/Vesquin.h"
#include "login/DirectoryBind.h"
#include "login/SecuritySettings.h"
#include "platform/NoDestructor.h"
#include "users/UCatalogueUsers.h"

namespace login {

// Directory bind option that checks no password.
constexpr int32_t kNoAuthenticationCode = 10;

void TLoginState::SetCurrent(std::unique_ptr<db::TMyStoredProc> Proc, db::TDataSet* ResultSet) {
  CurrentResultSet = nullptr;
  CurrentProc = std::move(Proc);
  CurrentResultSet = ResultSet;
}

void TLoginState::ReleaseCurrent() {
  CurrentResultSet = nullptr;
  CurrentProc.reset();
}

TLoginState& LoginState() {
  // Never destroyed: its stored procedure object refers to the database
  // manager's connection, whose lifetime at exit is not ordered with this one.
  static platform::TNoDestructor<TLoginState> state;
  return *state;
}

namespace {

// Opens "PRC_VKT_AUTHENTICATION" with option Option for Name (and the
// encrypted password, for option "B"); the call becomes the current one.
db::TDataSet& OpenAuthentication(const char* Option, const std::string& Name,
                                 const std::string* EncryptedPassword) {
  TLoginState& state = LoginState();
  state.ReleaseCurrent();
  std::unique_ptr<db::TMyStoredProc> proc =
      db::DBManager()->CreateStoredProc("PRC_VKT_AUTHENTICATION");
  db::TParams& params = proc->GetParams();
  params.ParamByName("i_operation").SetAsString("S");
  params.ParamByName("i_option").SetAsString(Option);
  params.ParamByName("i_user").SetAsString(Name);
  if (EncryptedPassword) params.ParamByName("i_password").SetAsString(*EncryptedPassword);
  db::TDataSet* rows = proc->OpenProc();
  state.SetCurrent(std::move(proc), rows);
  return *rows;
}

}  // namespace

void AuthenticateDatabase(const std::string& Name, const std::string& Password,
                          int32_t& ResultCode) {
  const std::string encrypted = db::EncryptDB(Password);
  db::TDataSet& rows = OpenAuthentication("B", Name, &encrypted);
  if (rows.IsEmpty()) {
    LoginState().Trace.Why = "the database found no user with that name and password";
    ResultCode = kRejected;
    return;
  }
  // Read before the code is written, so that a bad column leaves it alone.
  LoginState().UserCode = rows.FieldByName("CodUsuario").AsInteger();
  ResultCode = kAuthenticated;
}

bool AuthenticateDirectory(const std::string& Name, const std::string& Password,
                           const std::string& Path, int32_t& ResultCode) {
  TLoginState& state = LoginState();
  db::TDataSet& rows = OpenAuthentication("C", Name, nullptr);
  if (rows.IsEmpty()) {
    state.Trace.Why = "the database knows no user of that name";
    ResultCode = kRejected;
    return false;
  }
  state.UserCode = rows.FieldByName("CodUsuario").AsInteger();
  // Only a bind that made the directory check a password admits a user.
  std::string why;
  if (Password.empty()) {
    why = "empty password: no bind made";
  } else if (state.SecurityCode == kNoAuthenticationCode) {
    why = "option 10 (no authentication) checks no password: no bind made";
  } else if (DirectoryBind(state.DirectoryUser, Password, Path, state.SecurityCode, &why)) {
    ResultCode = kAuthenticated;
    return true;
  }
  state.Trace.Why = "the directory refused: " + why;
  ResultCode = kRejected;
  return false;
}

std::unique_ptr<users::TUser> AuthenticateUser(const std::string& Name, const std::string& Password,
                                               int32_t& ResultCode, int32_t SettingsId) {
  TLoginState& state = LoginState();
  state.Trace = {};
  state.DirectoryUser = Name;
  LoadSecuritySettings(state.DirectoryUser, state.DirectoryPath, state.SecurityCode, SettingsId);

  // The caller's code is written only once the attempt has run to its end.
  int32_t code = ResultCode;
  if (!state.DirectoryUser.empty() || !state.DirectoryPath.empty() ||
      state.SecurityCode != kNoSecuritySettings) {
    state.Trace.Mode = "directory: account \"" + state.DirectoryUser + "\", path \"LDAP://" +
                       state.DirectoryPath + "\", option " + std::to_string(state.SecurityCode);
    AuthenticateDirectory(Name, Password, state.DirectoryPath, code);
  } else {
    state.Trace.Mode = "database";
    AuthenticateDatabase(Name, Password, code);
  }

  std::unique_ptr<users::TUser> user;
  if (code == kAuthenticated) {
    user = users::UsersCatalogue().LoadUser(state.UserCode);
    // A user the catalogue does not know cannot be checked for being active.
    if (!user) {
      state.Trace.Why =
          "the user catalogue has no record for user code " + std::to_string(state.UserCode);
      code = kRejected;
    } else if (user->GetUserActive() == 0) {
      code = kInactive;
    }
  }
  state.ReleaseCurrent();
  ResultCode = code;
  return user;
}

}  // namespace login
