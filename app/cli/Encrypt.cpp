// clavira-cli encrypt: the text stored passwords are written as.
#include <iostream>
#include <ostream>

#include "app/cli/Subcommand.h"
#include "db/Errors.h"
#include "db/Vesquin.h"
#include "platform/ProcessSecrets.h"

namespace app::cli {
namespace {

int Run(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& /*Err*/) {
  TOptions given(Args, {kHelpOption});
  if (given.Has("help")) {
    Out << kEncryptSubcommand.Usage;
    return kSuccess;
  }
  // An unreadable configuration would give a digest under no key, or none:
  // neither may pass for the stored text.
  db::CheckConfigurationReadable();
  std::string line = ReadPasswordLine(std::cin);
  const platform::TWipeOnExit wipe(line);
  const std::string encrypted = db::EncryptDB(line);
  if (encrypted.empty()) throw db::EDatabaseError("The runtime library gave no encryption");
  Out << encrypted << "\n";
  return kSuccess;
}

}  // namespace

const Subcommand kEncryptSubcommand{
    "encrypt", "print the encryption of a password, for writing stored passwords",
    "usage: clavira-cli encrypt < file\n"
    "\n"
    "Prints the shared runtime library's encryption (EncryptDB) of the first line\n"
    "of standard input, with the configured key: the text the database stores as\n"
    "the user's password. Example: printf '%s\\n' 'secret' | clavira-cli encrypt\n",
    &Run};

}  // namespace app::cli
