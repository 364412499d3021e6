// Runs a helper program (or the program under test) and collects its output.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct ProcessResult {
  int ExitCode = -1;   // -1 when the program could not run or was killed by a signal
  std::string Output;  // standard output
  std::string Error;   // standard error
};

// Runs Args[0] (searched in PATH) with the rest as arguments, no shell. Env
// entries "NAME=value" are added to the inherited environment ("NAME=" alone
// removes NAME). Input is written to its standard input, then closed.
ProcessResult RunProcess(const std::vector<std::string>& Args, const std::string& Input = "",
                         const std::vector<std::string>& Env = {});

// A fresh private directory below the system temporary directory.
std::string MakeTempDir(const std::string& Prefix);

}  // namespace testsupport
