// clavira-cli: the window's checks, headless.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iomanip>
#include <iostream>

#include "app/cli/Subcommand.h"
#include "platform/ProcessSecrets.h"

namespace {

void Usage(std::ostream& out) {
  out << "usage: clavira-cli <subcommand> [options]\n"
         "       clavira-cli <subcommand> --help\n\nsubcommands:\n";
  for (const auto* sub : app::cli::Subcommands()) {
    out << "  " << std::left << std::setw(12) << sub->Name << sub->Summary << "\n";
  }
  out << "\nexit status: 0 success message, 1 failure message, 2 usage error,\n"
         "3 an error ended the attempt (its text on standard error).\n"
         "\nThe password: --password-stdin reads the first line of standard input;\n"
         "--password TEXT shows it to every user of the machine in the process list\n"
         "until the program has read it (it then overwrites it there).\n";
}

// Overwrites the value of --password in the process's own argument vector,
// which is what the process list shows; the copy in args is what is used.
// Before this runs, the password was visible: the help says so.
void WipePasswordArguments(int argc, char** argv) {
  static const char kOption[] = "--password";
  for (int i = 1; i < argc; ++i) {
    char* value = nullptr;
    if (std::strcmp(argv[i], kOption) == 0 && i + 1 < argc) {
      value = argv[++i];
    } else if (std::strncmp(argv[i], kOption, sizeof kOption - 1) == 0 &&
               argv[i][sizeof kOption - 1] == '=') {
      value = argv[i] + sizeof kOption;
      // "--password= TEXT": the blank made TEXT an argument of its own, but
      // it is the password all the same.
      if (*value == 0 && i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) value = argv[++i];
    }
    if (value) std::memset(value, 0, std::strlen(value));
  }
}

// The answer is the output: a write that failed (a full disk, a closed pipe)
// must not pass for an answer given. Returns Status, or kError with the
// reason on standard error.
int Delivered(int Status) {
  std::cout.flush();
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout) && std::cout.good()) return Status;
  const int error = errno;
  std::cerr << "clavira-cli: cannot write the output"
            << (error ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
  return app::cli::kError;
}

}  // namespace

int main(int argc, char** argv) {
  // The password may be in argv already; a core file would keep it.
  platform::KeepSecretsOutOfCoreFiles();
  std::signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  WipePasswordArguments(argc, argv);
  if (args.empty()) {
    Usage(std::cerr);
    return app::cli::kUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    Usage(std::cout);
    return Delivered(app::cli::kSuccess);
  }
  const app::cli::Subcommand* chosen = nullptr;
  for (const auto* sub : app::cli::Subcommands()) {
    if (args[0] == sub->Name) chosen = sub;
  }
  if (!chosen) {
    std::cerr << "clavira-cli: unknown subcommand '" << args[0] << "'\n";
    Usage(std::cerr);
    return app::cli::kUsage;
  }
  // Both copies of the arguments may hold the password.
  struct TWipeArguments {
    std::vector<std::string>& All;
    std::vector<std::string> Own;
    ~TWipeArguments() {
      for (auto* list : {&All, &Own})
        for (std::string& arg : *list) platform::WipeString(arg);
    }
  } arguments{args, {args.begin() + 1, args.end()}};
  try {
    return Delivered(chosen->Run(arguments.Own, std::cout, std::cerr));
  } catch (const app::cli::EUsageError& e) {
    std::cerr << "clavira-cli " << chosen->Name << ": " << e.Message() << "\n"
              << "Try 'clavira-cli " << chosen->Name << " --help'.\n";
    return app::cli::kUsage;
  } catch (const platform::Exception& e) {
    std::cerr << e.Message() << "\n";
    return app::cli::kError;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return app::cli::kError;
  }
}
