// clavira-cli directory: the window's "Autenticar".
#include <ostream>

#include "app/Checks.h"
#include "app/cli/Subcommand.h"
#include "platform/ProcessSecrets.h"

namespace app::cli {
namespace {

int Run(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err) {
  TOptions given(Args, {{"account", true},
                        {"path", true},
                        {"security", true},
                        kPasswordOption,
                        kPasswordStdinOption,
                        kVerboseOption,
                        kHelpOption});
  if (given.Has("help")) {
    Out << kDirectorySubcommand.Usage;
    return kSuccess;
  }
  const std::string account = given.Required("account");
  const std::string path = given.Required("path");
  const std::string security = given.Value("security").value_or("0");
  std::string password = ReadPassword(given, Err);
  const platform::TWipeOnExit wipe(password);
  std::string why;
  const std::string message = DirectoryCheck(account, password, path, security, &why);
  return Answer(message, kDirectorySuccess, given.Has("verbose"), why, Out, Err);
}

}  // namespace

const Subcommand kDirectorySubcommand{
    "directory", "bind to an LDAP directory, as \"Autenticar\" does",
    "usage: clavira-cli directory --account A --path P [--security S]\n"
    "                             [--password-stdin | --password TEXT] [--verbose]\n"
    "\n"
    "Binds to the directory at LDAP://P (P: host, host:port, host/base-DN or\n"
    "host:port/base-DN; empty: the configured default server) as account A.\n"
    "S is the security code (default 0; decimal, or hexadecimal after $, x or 0x).\n"
    "Without a password option the password is asked for on the terminal.\n"
    "Prints \"autenticado con exito\" (exit 0) or \"autenticacion fallida\" (exit 1).\n"
    "--verbose writes why an attempt failed to standard error (never the password).\n"
    "--password TEXT shows the password to every user of the machine (process\n"
    "list) until the program has read it: prefer --password-stdin.\n",
    &Run};

}  // namespace app::cli
