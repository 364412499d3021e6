// Runs a helper program (or the program under test) and collects its output.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct ProcessResult {
  int ExitCode = -1;   // -1 when the program could not run or was killed by a signal
  std::string Output;  // standard output
  std::string Error;   // standard error
};

// A program started without waiting for it. Wait() feeds Input, collects
// the outputs and the exit status, as RunProcess does; a child not waited
// for is killed and collected by the destructor.
class TChildProcess {
 public:
  TChildProcess(const std::vector<std::string>& Args, const std::string& Input = "",
                const std::vector<std::string>& Env = {});
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  // The child's process id; -1 when it could not be started.
  pid_t Pid() const { return FPid; }
  ProcessResult Wait();

 private:
  std::string FInput;
  pid_t FPid = -1;
  int FIn = -1, FOut = -1, FErr = -1;
  bool FWaited = false;
};

// Runs Args[0] (searched in PATH) with the rest as arguments, no shell. Env
// entries "NAME=value" are added to the inherited environment ("NAME=" alone
// removes NAME). Input is written to its standard input, then closed.
ProcessResult RunProcess(const std::vector<std::string>& Args, const std::string& Input = "",
                         const std::vector<std::string>& Env = {});

// Stops a process (SIGSTOP) for at most Limit: it is resumed (SIGCONT) when
// the object goes, or by the object's own thread once Limit has passed, so
// that a test of a time-out that is not kept fails instead of hanging.
class TPausedProcess {
 public:
  TPausedProcess(pid_t Pid, std::chrono::seconds Limit);
  ~TPausedProcess();
  TPausedProcess(const TPausedProcess&) = delete;
  TPausedProcess& operator=(const TPausedProcess&) = delete;

  bool Stopped() const { return FStopped; }

 private:
  pid_t FPid;
  bool FStopped;
  std::mutex FLock;
  std::condition_variable FWake;
  bool FDone = false;
  std::thread FThread;
};

// A fresh private directory below the system temporary directory.
std::string MakeTempDir(const std::string& Prefix);

}  // namespace testsupport
