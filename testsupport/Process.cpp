#include "testsupport/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "platform/Exception.h"

namespace testsupport {

TChildProcess::TChildProcess(const std::vector<std::string>& Args, const std::string& Input,
                             const std::vector<std::string>& Env)
    : FInput(Input) {
  if (Args.empty()) return;
  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) != 0) return;
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    return;
  }
  std::vector<char*> argv;
  argv.reserve(Args.size() + 1);
  for (const auto& a : Args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  FPid = fork();
  if (FPid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (const auto& entry : Env) {
      auto eq = entry.find('=');
      if (eq == std::string::npos) continue;
      std::string name = entry.substr(0, eq);
      if (eq + 1 == entry.size()) {
        unsetenv(name.c_str());
      } else {
        setenv(name.c_str(), entry.c_str() + eq + 1, 1);
      }
    }
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (FPid < 0) {
    close(in[1]);
    close(out[0]);
    close(err[0]);
    return;
  }
  FIn = in[1];
  FOut = out[0];
  FErr = err[0];
}

TChildProcess::~TChildProcess() {
  if (FPid > 0 && !FWaited) {
    kill(FPid, SIGKILL);
    Wait();
  }
}

ProcessResult TChildProcess::Wait() {
  ProcessResult result;
  if (FPid <= 0 || FWaited) return result;
  FWaited = true;
  // Feed the input and drain both outputs together so that neither side blocks.
  auto old_pipe = std::signal(SIGPIPE, SIG_IGN);
  size_t written = 0;
  int input = FIn;
  if (FInput.empty()) {
    close(input);
    input = -1;
  }
  int outputs[2] = {FOut, FErr};
  std::string* sinks[2] = {&result.Output, &result.Error};
  char buffer[4096];
  while (outputs[0] >= 0 || outputs[1] >= 0) {
    pollfd fds[3] = {{outputs[0], POLLIN, 0}, {outputs[1], POLLIN, 0}, {input, POLLOUT, 0}};
    if (poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (input >= 0 && fds[2].revents) {
      ssize_t n = write(input, FInput.data() + written, FInput.size() - written);
      if (n > 0) written += n;
      if ((n < 0 && errno != EINTR) || written == FInput.size()) {
        close(input);
        input = -1;
      }
    }
    for (int i = 0; i < 2; ++i) {
      if (outputs[i] < 0 || !fds[i].revents) continue;
      ssize_t n = read(outputs[i], buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, n);
      } else if (n == 0 || errno != EINTR) {
        close(outputs[i]);
        outputs[i] = -1;
      }
    }
  }
  if (input >= 0) close(input);
  std::signal(SIGPIPE, old_pipe);
  int status = 0;
  while (waitpid(FPid, &status, 0) < 0 && errno == EINTR) {
  }
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

ProcessResult RunProcess(const std::vector<std::string>& Args, const std::string& Input,
                         const std::vector<std::string>& Env) {
  return TChildProcess(Args, Input, Env).Wait();
}

std::string MakeTempDir(const std::string& Prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (Prefix + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) throw platform::Exception("cannot make a temporary directory");
  return pattern;
}

TPausedProcess::TPausedProcess(pid_t Pid, std::chrono::seconds Limit)
    : FPid(Pid), FStopped(Pid > 0 && kill(Pid, SIGSTOP) == 0) {
  FThread = std::thread([this, Limit] {
    std::unique_lock<std::mutex> lock(FLock);
    FWake.wait_for(lock, Limit, [this] { return FDone; });
    if (FStopped) kill(FPid, SIGCONT);
  });
}

TPausedProcess::~TPausedProcess() {
  {
    std::lock_guard<std::mutex> guard(FLock);
    FDone = true;
  }
  FWake.notify_all();
  FThread.join();
}

}  // namespace testsupport
