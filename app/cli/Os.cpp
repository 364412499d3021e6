// clavira-cli os: the window's "Button2", the system logon.
#include <ostream>

#include "app/Checks.h"
#include "app/cli/Subcommand.h"
#include "platform/ProcessSecrets.h"

namespace app::cli {
namespace {

int Run(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err) {
  TOptions given(Args, {{"name", true},
                        {"domain", true},
                        kPasswordOption,
                        kPasswordStdinOption,
                        kVerboseOption,
                        kHelpOption});
  if (given.Has("help")) {
    Out << kOsSubcommand.Usage;
    return kSuccess;
  }
  const std::string name = given.Required("name");
  const std::string domain = given.Value("domain").value_or("");
  std::string password = ReadPassword(given, Err);
  const platform::TWipeOnExit wipe(password);
  std::string why;
  const std::string message = SystemCheck(name, domain, password, &why);
  return Answer(message, kSystemSuccess, given.Has("verbose"), why, Out, Err);
}

}  // namespace

const Subcommand kOsSubcommand{
    "os", "check a system logon through PAM, as \"Button2\" does",
    "usage: clavira-cli os --name N [--domain D] [--password-stdin | --password TEXT]\n"
    "                      [--verbose]\n"
    "\n"
    "Checks the password of N (N@D when D is given and not \".\") with PAM, service\n"
    "\"clavira\" or $CLAVIRA_PAM_SERVICE. Checking another user's password through\n"
    "the system's own modules needs privileges.\n"
    "Without a password option the password is asked for on the terminal.\n"
    "Prints \"Exitoso\" (exit 0) or \"Fallido\" (exit 1).\n"
    "--verbose writes why an attempt failed to standard error (never the password).\n"
    "--password TEXT shows the password to every user of the machine (process\n"
    "list) until the program has read it: prefer --password-stdin.\n",
    &Run};

}  // namespace app::cli
