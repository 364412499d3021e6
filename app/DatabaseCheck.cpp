#include "app/DatabaseCheck.h"

#include <limits>

#include "db/DBManagerClass.h"
#include "db/Errors.h"
#include "db/Vesquin.h"
#include "login/ULoginVelkor.h"

namespace app {

void ConnectDatabase() {
  const std::string engine = db::LoadEngine();
  const std::string connection = db::LoadDirectConnection();
  db::DBManager()->OpenConnection(connection, engine);
}

TDatabaseAnswer DatabaseCheck(const std::string& Name, const std::string& Password,
                              int32_t SettingsId, std::string* Diagnostic) {
  if (!db::DBManager()->Connection()) {
    // The flow would only fail on its first parameter; say why instead.
    const std::string problem = db::ConfigurationProblem();
    if (!problem.empty()) throw db::EDatabaseError(problem);
  }
  // A value the flow never writes tells whether it wrote one.
  constexpr int32_t kUnset = std::numeric_limits<int32_t>::min();
  int32_t code = kUnset;
  const auto user = login::AuthenticateUser(Name, Password, code, SettingsId);
  TDatabaseAnswer answer;
  answer.Message = user ? kDatabaseSuccess : kDatabaseFailure;
  if (code != kUnset) answer.ResultCode = code;
  if (Diagnostic) {
    const login::TAttemptTrace& trace = login::LoginState().Trace;
    *Diagnostic = trace.Settings + "\nmode: " + trace.Mode;
    if (!trace.Why.empty()) *Diagnostic += "\nwhy: " + trace.Why;
  }
  return answer;
}

}  // namespace app
