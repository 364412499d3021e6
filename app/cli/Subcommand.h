// The subcommands of clavira-cli and what they share.
//
// A subcommand is a name, a one-line summary, a usage text and a Run function
// over its own arguments (those after the name). Adding one: write a source
// file defining a Subcommand, declare it below and list it in
// Subcommands.cpp.
#pragma once

#include <initializer_list>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Exception.h"

namespace app::cli {

// Exit statuses.
inline constexpr int kSuccess = 0;  // the success message
inline constexpr int kFailure = 1;  // the failure message
inline constexpr int kUsage = 2;    // the command line was wrong
inline constexpr int kError = 3;    // an error ended the attempt

// A wrong command line; main reports it with exit status 2.
class EUsageError : public platform::Exception {
 public:
  using Exception::Exception;
};

struct Subcommand {
  const char* Name;
  const char* Summary;
  const char* Usage;  // the full help text of the subcommand
  // Runs with the arguments after the name; returns the exit status. Errors
  // may be thrown: EUsageError gives status 2, any other status 3.
  int (*Run)(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err);
};

// All subcommands, in the order --help lists them.
const std::vector<const Subcommand*>& Subcommands();

extern const Subcommand kDirectorySubcommand;
extern const Subcommand kOsSubcommand;
extern const Subcommand kDbSubcommand;
extern const Subcommand kEncryptSubcommand;
extern const Subcommand kLoadSubcommand;

// "--name value", "--name=value" and "--flag" options; no positional arguments.
struct OptionSpec {
  const char* Name;  // without the leading "--"
  bool TakesValue;
  // Its value is a secret: neither the value nor the argument after the
  // option (a mistyped "--password= TEXT") is ever shown in a message.
  bool Secret = false;
};

class TOptions {
 public:
  // Throws EUsageError for an unknown option, a missing value or a stray
  // argument; an argument right after a secret option is not named.
  TOptions(const std::vector<std::string>& Args, std::initializer_list<OptionSpec> Specs);
  ~TOptions();  // wipes the values
  TOptions(const TOptions&) = delete;
  TOptions& operator=(const TOptions&) = delete;

  bool Has(const std::string& Name) const { return FValues.count(Name) != 0; }
  std::optional<std::string> Value(const std::string& Name) const;
  // Throws EUsageError "missing --<Name>" when it was not given.
  std::string Required(const std::string& Name) const;

 private:
  std::map<std::string, std::string> FValues;
};

// The options every checking subcommand takes besides its own.
inline constexpr OptionSpec kHelpOption{"help", false};
inline constexpr OptionSpec kVerboseOption{"verbose", false};
inline constexpr OptionSpec kPasswordOption{"password", true, true};
inline constexpr OptionSpec kPasswordStdinOption{"password-stdin", false};

// The longest password line read from standard input or the terminal.
inline constexpr size_t kMaxSecretLine = 16 << 20;

// The first line of In without its line end ("\n", "\r\n"), read through
// memory kept out of swap and core files; EUsageError past kMaxSecretLine.
std::string ReadPasswordLine(std::istream& In);

// The password from --password-stdin (first line of standard input),
// --password TEXT, or a prompt without echo when standard input is a terminal.
// The caller wipes it after use (platform::TWipeOnExit).
std::string ReadPassword(const TOptions& Given, std::ostream& Err);

// Writes Message as the first line of Out; returns 0 when it is Success, else 1.
// With Verbose, a non-empty Why goes to Err first.
int Answer(const std::string& Message, const char* Success, bool Verbose, const std::string& Why,
           std::ostream& Out, std::ostream& Err);

}  // namespace app::cli
