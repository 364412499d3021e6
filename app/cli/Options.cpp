#include <termios.h>
#include <unistd.h>

#include <iostream>
#include <memory>

#include "app/cli/Subcommand.h"
#include "platform/ProcessSecrets.h"

namespace app::cli {

TOptions::TOptions(const std::vector<std::string>& Args, std::initializer_list<OptionSpec> Specs) {
  const OptionSpec* previous = nullptr;
  for (size_t i = 0; i < Args.size(); ++i) {
    const std::string& arg = Args[i];
    // What a message may call this argument: after a secret option it may be
    // the secret itself ("--password= TEXT").
    const bool hidden = previous && previous->Secret;
    auto fail = [&](const std::string& Message) {
      if (hidden)
        throw EUsageError(std::string("unexpected argument after --") + previous->Name +
                          " (not shown)");
      throw EUsageError(Message);
    };
    if (arg.rfind("--", 0) != 0 || arg.size() == 2) fail("unexpected argument '" + arg + "'");
    std::string name = arg.substr(2);
    std::optional<std::string> inline_value;
    if (auto eq = name.find('='); eq != std::string::npos) {
      inline_value = name.substr(eq + 1);
      name.resize(eq);
    }
    const OptionSpec* option = nullptr;
    for (const OptionSpec& s : Specs) {
      if (name == s.Name) option = &s;
    }
    if (!option) fail("unknown option --" + name);
    if (FValues.count(name)) fail("--" + name + " given twice");
    if (!option->TakesValue) {
      if (inline_value) fail("--" + name + " takes no value");
      FValues[name] = "";
    } else if (inline_value) {
      FValues[name] = *inline_value;
    } else if (i + 1 < Args.size()) {
      FValues[name] = Args[++i];
    } else {
      fail("--" + name + " needs a value");
    }
    previous = option;
  }
}

// The values may hold the password.
TOptions::~TOptions() {
  for (auto& [name, value] : FValues) platform::WipeString(value);
}

std::optional<std::string> TOptions::Value(const std::string& Name) const {
  auto found = FValues.find(Name);
  if (found == FValues.end()) return std::nullopt;
  return found->second;
}

std::string TOptions::Required(const std::string& Name) const {
  auto value = Value(Name);
  if (!value) throw EUsageError("missing --" + Name);
  return *value;
}

// The first line of In, read through memory kept out of swap and dumps: a
// growing string would leave pieces of the password in freed memory.
std::string ReadPasswordLine(std::istream& In) {
  // Grows by doubling into a fresh buffer; the old one is wiped as it goes.
  auto line = std::make_unique<platform::TSecretBuffer>(4096);
  for (char c; In.get(c) && c != '\n';) {
    if (line->Append(c)) continue;
    if (line->Capacity() >= kMaxSecretLine)
      throw EUsageError("the password is longer than " + std::to_string(kMaxSecretLine >> 20) +
                        " MiB");
    auto larger = std::make_unique<platform::TSecretBuffer>(line->Capacity() * 2);
    for (char kept : line->View()) larger->Append(kept);
    larger->Append(c);
    line = std::move(larger);
  }
  if (line->Size() && line->View().back() == '\r') line->PopBack();
  return std::string(line->View());
}

std::string ReadPassword(const TOptions& Given, std::ostream& Err) {
  if (Given.Has("password") && Given.Has("password-stdin")) {
    throw EUsageError("give either --password or --password-stdin, not both");
  }
  if (Given.Has("password-stdin")) return ReadPasswordLine(std::cin);
  if (auto password = Given.Value("password")) return *password;
  if (!isatty(STDIN_FILENO)) {
    throw EUsageError("no password: use --password-stdin or --password, or run on a terminal");
  }
  Err << "Password: " << std::flush;
  termios saved{};
  bool restore = tcgetattr(STDIN_FILENO, &saved) == 0;
  if (restore) {
    termios silent = saved;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    silent.c_lflag |= ECHONL;
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
  }
  std::string password = ReadPasswordLine(std::cin);
  if (restore) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  return password;
}

int Answer(const std::string& Message, const char* Success, bool Verbose, const std::string& Why,
           std::ostream& Out, std::ostream& Err) {
  if (Verbose && !Why.empty()) Err << Why << "\n";
  Out << Message << "\n";
  return Message == Success ? kSuccess : kFailure;
}

}  // namespace app::cli
