// clavira-cli db: the window's "Autenticar DB", with the connection the
// window makes when it opens.
#include <ostream>

#include "app/DatabaseCheck.h"
#include "app/cli/Subcommand.h"
#include "platform/Conversions.h"
#include "platform/ProcessSecrets.h"

namespace app::cli {
namespace {

int Run(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err) {
  TOptions given(Args, {{"name", true},
                        {"settings", true},
                        kPasswordOption,
                        kPasswordStdinOption,
                        kVerboseOption,
                        kHelpOption});
  if (given.Has("help")) {
    Out << kDbSubcommand.Usage;
    return kSuccess;
  }
  const std::string name = given.Required("name");
  const std::string settingsText = given.Value("settings").value_or("2");
  const auto settings = platform::TryStrToInt(settingsText);
  if (!settings)
    throw EUsageError("--settings: '" + settingsText + "' is not a valid integer value");
  std::string password = ReadPassword(given, Err);
  const platform::TWipeOnExit wipe(password);
  ConnectDatabase();
  std::string trace;
  const TDatabaseAnswer answer = DatabaseCheck(name, password, *settings, &trace);
  if (given.Has("verbose")) Err << trace << "\n" << std::flush;
  Out << answer.Message << "\n";
  if (answer.ResultCode) Out << "ResultCode=" << *answer.ResultCode << "\n";
  Out.flush();
  return answer.Message == kDatabaseSuccess ? kSuccess : kFailure;
}

}  // namespace

const Subcommand kDbSubcommand{
    "db", "run the login flow against the database, as \"Autenticar DB\" does",
    "usage: clavira-cli db --name N [--settings K]\n"
    "                      [--password-stdin | --password TEXT] [--verbose]\n"
    "\n"
    "Connects to the database configured for the shared runtime library (vesquin),\n"
    "as the window does when it opens, and runs the login flow for user N with the\n"
    "security settings numbered K (default 2, the window's): database or directory\n"
    "authentication, then the user's record and its active flag.\n"
    "Without a password option the password is asked for on the terminal.\n"
    "Prints \"autenticado con exito\" (exit 0) or \"autenticacion fallida\" (exit 1),\n"
    "then ResultCode=<n> (1 authenticated, 2 not active, 3 rejected). A database\n"
    "error, a failed connection included, ends with exit 3, its text on standard error;\n"
    "so does a configuration that names no engine (missing or unreadable file,\n"
    "unknown engine).\n"
    "--verbose writes to standard error what the attempt did: the settings found,\n"
    "database or directory mode, and why it failed (never the password).\n"
    "--password TEXT shows the password to every user of the machine (process\n"
    "list) until the program has read it: prefer --password-stdin.\n",
    &Run};

}  // namespace app::cli
