#include "app/cli/LoadRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <sstream>

#include "app/cli/Subcommand.h"
#include "platform/FileRead.h"

namespace app::cli {
namespace {

// ---- accounts ---------------------------------------------------------------

// Overwrites a secret in a way the compiler may not drop.
void Wipe(std::string& Text) {
  volatile char* p = Text.data();
  for (std::size_t i = 0; i < Text.size(); ++i) p[i] = 0;
  Text.clear();
}

// ---- time -------------------------------------------------------------------

int64_t NowNs() {
  // steady_clock is CLOCK_MONOTONIC: one clock for the parent and its workers.
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// ---- the pipes between the parent and a worker --------------------------------

struct TRequest {
  uint64_t Attempt;
  int64_t DueNs;  // latency runs from here
};

enum : uint8_t { kReady = 0, kAnswer = 1 };

struct TReplyHeader {
  uint64_t Attempt;
  int64_t EndNs;
  uint16_t ReasonBytes;
  uint8_t Kind;
  uint8_t Outcome;
};
// A reply is written whole in one write below PIPE_BUF.
static_assert(sizeof(TReplyHeader) + kMaxReasonBytes < PIPE_BUF);

bool WriteAll(int Fd, const void* Data, std::size_t Size) {
  const char* p = static_cast<const char*>(Data);
  while (Size > 0) {
    const ssize_t n = write(Fd, p, Size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    Size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool ReadAll(int Fd, void* Data, std::size_t Size) {
  char* p = static_cast<char*>(Data);
  while (Size > 0) {
    const ssize_t n = read(Fd, p, Size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    Size -= static_cast<std::size_t>(n);
  }
  return true;
}

// A reason as it may travel and be reported: bounded, the password gone.
std::string CleanReason(std::string Reason, const std::string& Password) {
  if (!Password.empty()) {
    for (std::size_t at = Reason.find(Password); at != std::string::npos;
         at = Reason.find(Password, at)) {
      Reason.replace(at, Password.size(), "(password)");
      at += 10;
    }
  }
  for (char& c : Reason) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  if (Reason.size() > kMaxReasonBytes) Reason.resize(kMaxReasonBytes);
  return Reason;
}

bool SendReply(int Fd, uint8_t Kind, uint64_t Attempt, const TAttemptResult& Result) {
  char buffer[sizeof(TReplyHeader) + kMaxReasonBytes];
  TReplyHeader header{Attempt, NowNs(), static_cast<uint16_t>(Result.Reason.size()), Kind,
                      static_cast<uint8_t>(Result.Outcome)};
  std::memcpy(buffer, &header, sizeof header);
  std::memcpy(buffer + sizeof header, Result.Reason.data(), Result.Reason.size());
  return WriteAll(Fd, buffer, sizeof header + Result.Reason.size());
}

// The body of a worker process; never returns.
[[noreturn]] void WorkerMain(int RequestFd, int ReplyFd, const std::vector<TAccount>& Accounts,
                             const TAttempterFactory& Factory) {
  // Ctrl-C reaches the whole process group: the parent decides when a
  // worker stops, so the attempt under way is answered.
  signal(SIGINT, SIG_IGN);
  signal(SIGPIPE, SIG_IGN);
  {
    std::unique_ptr<TAttempter> attempter;
    std::string why;
    try {
      attempter = Factory();
    } catch (const std::exception& e) {
      why = e.what();
    } catch (...) {
      why = "unknown error";
    }
    if (!attempter && why.empty()) why = "the worker made no attempter";
    if (SendReply(ReplyFd, kReady, 0, {})) {
      TRequest request;
      while (ReadAll(RequestFd, &request, sizeof request)) {
        const TAccount& account = Accounts[request.Attempt % Accounts.size()];
        TAttemptResult result{TOutcome::kError, why};
        if (attempter) {
          try {
            result = attempter->Attempt(account);
          } catch (const std::exception& e) {
            result = {TOutcome::kError, e.what()};
          } catch (...) {
            result = {TOutcome::kError, "unknown error"};
          }
        }
        if (result.Outcome == TOutcome::kSuccess) result.Reason.clear();
        result.Reason = CleanReason(std::move(result.Reason), account.Password);
        if (!SendReply(ReplyFd, kAnswer, request.Attempt, result)) break;
      }
    }
  }
  // No exit handlers: they belong to the parent (its servers, its buffers).
  _exit(0);
}

// ---- SIGINT -------------------------------------------------------------------

// The write end of the run's wake-up pipe, for the handler.
volatile sig_atomic_t gWakeFd = -1;

extern "C" void OnInterrupt(int) {
  const int saved = errno;
  const char byte = 'i';
  if (gWakeFd >= 0) [[maybe_unused]]
    auto n = write(gWakeFd, &byte, 1);
  errno = saved;
}

struct TPipe {
  int Read = -1, Write = -1;
  void Open() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
      throw platform::Exception(std::string("cannot make a pipe: ") + std::strerror(errno));
    Read = fds[0];
    Write = fds[1];
  }
  static void Close(int& Fd) {
    if (Fd >= 0) close(Fd);
    Fd = -1;
  }
};

std::string Number(double Value, int Decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", Decimals, Value);
  return text;
}

std::string Ms(uint64_t Ns) {
  return Number(static_cast<double>(Ns) / 1e6, 3);
}

// ---- the run ------------------------------------------------------------------

class TRun {
 public:
  TRun(const TLoadPlan& Plan, const std::vector<TAccount>& Accounts,
       const TAttempterFactory& Factory, std::ostream* Progress)
      : FPlan(Plan), FAccounts(Accounts), FFactory(Factory), FProgress(Progress) {
    FReport.Plan = Plan;
    FSlots.resize(static_cast<std::size_t>(Plan.Workers));
  }
  ~TRun() { Shutdown(/*Kill=*/true); }

  TLoadReport Run();

 private:
  struct TSlot {
    pid_t Pid = -1;
    int RequestFd = -1;  // parent writes
    int ReplyFd = -1;    // parent reads
    bool Ready = false;
    bool Busy = false;
    TRequest Current{};
    std::string Buffer;  // reply bytes not yet parsed
  };

  void Start(TSlot& Slot);
  void Dispatch(TSlot& Slot, uint64_t Attempt, int64_t DueNs);
  // Reads what the worker wrote; false when its pipe is closed.
  bool Drain(TSlot& Slot);
  void Lost(TSlot& Slot, const std::string& Why);
  void Record(TOutcome Outcome, const std::string& Reason, int64_t LatencyNs);
  void ProgressLine(int64_t Now);
  void Shutdown(bool Kill);

  bool MoreToDispatch(int64_t Now) const;

  const TLoadPlan& FPlan;
  const std::vector<TAccount>& FAccounts;
  const TAttempterFactory& FFactory;
  std::ostream* FProgress;
  std::vector<TSlot> FSlots;
  TPipe FWake;
  TLoadReport FReport;
  TLoadCounters FInterval;
  int64_t FStart = 0;
  int64_t FIntervalStart = 0;
  uint64_t FNext = 0;  // the next attempt number to dispatch
  int FInterrupts = 0;
  int64_t FInterruptedAt = 0;  // when the first SIGINT stopped the dispatching
  uint64_t FRespawns = 0;
  struct sigaction FSavedInt {};
  bool FHandlerSet = false;
};

void TRun::Start(TSlot& Slot) {
  TPipe request, reply;
  request.Open();
  try {
    reply.Open();
  } catch (...) {
    TPipe::Close(request.Read);
    TPipe::Close(request.Write);
    throw;
  }
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) {
    const int error = errno;
    for (int* fd : {&request.Read, &request.Write, &reply.Read, &reply.Write}) TPipe::Close(*fd);
    throw platform::Exception(std::string("cannot start a worker: ") + std::strerror(error));
  }
  if (pid == 0) {
    // The parent's ends of every pipe would keep other workers from seeing
    // their end of input.
    for (TSlot& other : FSlots) {
      TPipe::Close(other.RequestFd);
      TPipe::Close(other.ReplyFd);
    }
    TPipe::Close(FWake.Read);
    TPipe::Close(FWake.Write);
    close(request.Write);
    close(reply.Read);
    WorkerMain(request.Read, reply.Write, FAccounts, FFactory);
  }
  close(request.Read);
  close(reply.Write);
  Slot = TSlot{};
  Slot.Pid = pid;
  Slot.RequestFd = request.Write;
  Slot.ReplyFd = reply.Read;
}

void TRun::Dispatch(TSlot& Slot, uint64_t Attempt, int64_t DueNs) {
  Slot.Current = {Attempt, DueNs};
  Slot.Busy = true;
  ++FNext;
  if (!WriteAll(Slot.RequestFd, &Slot.Current, sizeof Slot.Current)) {
    Lost(Slot, "the worker ended");
  }
}

void TRun::Record(TOutcome Outcome, const std::string& Reason, int64_t LatencyNs) {
  const uint64_t latency = LatencyNs > 0 ? static_cast<uint64_t>(LatencyNs) : 0;
  FReport.Counters.Record(Outcome, Reason, latency, FPlan.FailureReasons);
  FInterval.Record(Outcome, Reason, latency, false);
}

bool TRun::Drain(TSlot& Slot) {
  char chunk[4096];
  ssize_t n;
  do {
    n = read(Slot.ReplyFd, chunk, sizeof chunk);
  } while (n < 0 && errno == EINTR);
  if (n <= 0) return false;
  Slot.Buffer.append(chunk, static_cast<std::size_t>(n));
  std::size_t at = 0;
  while (Slot.Buffer.size() - at >= sizeof(TReplyHeader)) {
    TReplyHeader header;
    std::memcpy(&header, Slot.Buffer.data() + at, sizeof header);
    if (Slot.Buffer.size() - at < sizeof header + header.ReasonBytes) break;
    const std::string reason(Slot.Buffer.data() + at + sizeof header, header.ReasonBytes);
    at += sizeof header + header.ReasonBytes;
    if (header.Kind == kReady) {
      Slot.Ready = true;
    } else if (Slot.Busy && header.Attempt == Slot.Current.Attempt) {
      Slot.Busy = false;
      Record(static_cast<TOutcome>(header.Outcome), reason, header.EndNs - Slot.Current.DueNs);
    }
  }
  Slot.Buffer.erase(0, at);
  return true;
}

void TRun::Lost(TSlot& Slot, const std::string& Why) {
  TPipe::Close(Slot.RequestFd);
  TPipe::Close(Slot.ReplyFd);
  int status = 0;
  std::string how = Why;
  if (Slot.Pid > 0 && waitpid(Slot.Pid, &status, 0) == Slot.Pid && WIFSIGNALED(status))
    how += " (signal " + std::to_string(WTERMSIG(status)) + ")";
  Slot.Pid = -1;
  if (Slot.Busy) Record(TOutcome::kError, how, NowNs() - Slot.Current.DueNs);
  Slot.Busy = false;
  Slot.Ready = false;
  ++FReport.WorkersLost;
}

bool TRun::MoreToDispatch(int64_t Now) const {
  if (FInterrupts > 0) return false;
  if (FPlan.Attempts && FNext >= *FPlan.Attempts) return false;
  if (FPlan.Duration) {
    const int64_t end = FStart + static_cast<int64_t>(*FPlan.Duration * 1e9);
    // Open loop: the schedule, not the clock, says which attempts belong in.
    if (FPlan.Rate) {
      const int64_t due =
          FStart + static_cast<int64_t>(static_cast<double>(FNext) * 1e9 / *FPlan.Rate);
      if (due >= end) return false;
    }
    if (Now >= end) return false;
  }
  return true;
}

void TRun::ProgressLine(int64_t Now) {
  const double seconds = static_cast<double>(Now - FStart) / 1e9;
  const double span = static_cast<double>(Now - FIntervalStart) / 1e9;
  const TLoadCounters& c = FInterval;
  if (FProgress) {
    *FProgress << "[" << Number(seconds, 2) << " s] attempts " << c.Attempts() << "  successes "
               << c.FSuccesses << "  failures " << c.FFailures << "  errors " << c.FErrors << "  "
               << Number(span > 0 ? static_cast<double>(c.Attempts()) / span : 0, 1) << "/s  p50 "
               << Ms(c.FLatency.ValueAtQuantile(0.5)) << "  p99 "
               << Ms(c.FLatency.ValueAtQuantile(0.99)) << "  max " << Ms(c.FLatency.Max())
               << " ms\n"
               << std::flush;
  }
  FInterval.Reset();
  FIntervalStart = Now;
}

void TRun::Shutdown(bool Kill) {
  for (TSlot& slot : FSlots) {
    if (slot.Pid <= 0) continue;
    if (Kill) kill(slot.Pid, SIGKILL);
    TPipe::Close(slot.RequestFd);  // end of input: the worker ends
    TPipe::Close(slot.ReplyFd);
    int status;
    waitpid(slot.Pid, &status, 0);
    slot.Pid = -1;
  }
  if (FHandlerSet) {
    sigaction(SIGINT, &FSavedInt, nullptr);
    FHandlerSet = false;
  }
  gWakeFd = -1;
  TPipe::Close(FWake.Read);
  TPipe::Close(FWake.Write);
}

TLoadReport TRun::Run() {
  FWake.Open();
  fcntl(FWake.Read, F_SETFL, O_NONBLOCK);
  fcntl(FWake.Write, F_SETFL, O_NONBLOCK);
  gWakeFd = FWake.Write;
  struct sigaction on_interrupt {};
  on_interrupt.sa_handler = &OnInterrupt;
  sigemptyset(&on_interrupt.sa_mask);
  on_interrupt.sa_flags = SA_RESTART;
  sigaction(SIGINT, &on_interrupt, &FSavedInt);
  FHandlerSet = true;

  for (TSlot& slot : FSlots) Start(slot);

  const int64_t interval =
      FPlan.Interval ? std::max<int64_t>(1, static_cast<int64_t>(*FPlan.Interval * 1e9)) : 0;
  bool started = false;
  // Workers make their connection before the clock starts; a worker that
  // cannot connect still starts (its attempts are errors with the reason).
  const int64_t readyBy = NowNs() + int64_t{120} * 1000000000;
  std::vector<pollfd> fds;
  std::vector<TSlot*> polled;
  for (;;) {
    int64_t now = NowNs();
    if (!started) {
      bool all = true;
      for (const TSlot& slot : FSlots) all = all && (slot.Ready || slot.Pid <= 0);
      if (FInterrupts > 0) break;
      if (all) {
        started = true;
        FStart = FIntervalStart = now;
      } else if (now > readyBy) {
        throw platform::Exception("the workers did not start within 120 s");
      }
    }
    int64_t wake = -1;  // -1: no time-out
    if (started) {
      // Replace lost workers while there is work for them.
      for (TSlot& slot : FSlots) {
        if (slot.Pid <= 0 && MoreToDispatch(now) && FRespawns < 16 * FSlots.size()) {
          ++FRespawns;
          Start(slot);
        }
      }
      for (TSlot& slot : FSlots) {
        if (slot.Pid <= 0 || !slot.Ready || slot.Busy || !MoreToDispatch(now)) continue;
        int64_t due = now;
        if (FPlan.Rate) {
          due = FStart + static_cast<int64_t>(static_cast<double>(FNext) * 1e9 / *FPlan.Rate);
          if (due > now) {
            wake = due;
            break;
          }
        }
        Dispatch(slot, FNext, due);
      }
      bool busy = false;
      bool alive = false;
      for (const TSlot& slot : FSlots) {
        busy = busy || slot.Busy;
        alive = alive || slot.Pid > 0;
      }
      if (!busy && (!MoreToDispatch(now) || !alive)) {
        FReport.Seconds = static_cast<double>(now - FStart) / 1e9;
        break;
      }
      if (interval) {
        const int64_t line = FIntervalStart + interval;
        if (now >= line) {
          ProgressLine(now);
          continue;
        }
        wake = wake < 0 ? line : std::min(wake, line);
      }
      if (FPlan.Duration && MoreToDispatch(now)) {
        const int64_t end = FStart + static_cast<int64_t>(*FPlan.Duration * 1e9);
        wake = wake < 0 ? end : std::min(wake, end);
      }
    } else {
      wake = readyBy;
    }

    fds.clear();
    polled.clear();
    fds.push_back({FWake.Read, POLLIN, 0});
    for (TSlot& slot : FSlots) {
      if (slot.ReplyFd < 0) continue;
      fds.push_back({slot.ReplyFd, POLLIN, 0});
      polled.push_back(&slot);
    }
    timespec timeout{};
    timespec* limit = nullptr;
    if (wake >= 0) {
      const int64_t left = std::max<int64_t>(0, wake - NowNs());
      timeout.tv_sec = left / 1000000000;
      timeout.tv_nsec = left % 1000000000;
      limit = &timeout;
    }
    const int ready = ppoll(fds.data(), fds.size(), limit, nullptr);
    if (ready < 0) {
      if (errno == EINTR) continue;
      throw platform::Exception(std::string("poll: ") + std::strerror(errno));
    }
    if (fds[0].revents & POLLIN) {
      char bytes[16];
      while (read(FWake.Read, bytes, sizeof bytes) > 0) ++FInterrupts;
      if (!FReport.Interrupted) FInterruptedAt = NowNs();
      FReport.Interrupted = true;
      if (FInterrupts >= 2) {
        // Asked twice: the attempts under way are not waited for.
        for (TSlot& slot : FSlots) {
          if (slot.Pid > 0) {
            kill(slot.Pid, SIGKILL);
            const bool busy = slot.Busy;
            slot.Busy = false;
            TPipe::Close(slot.RequestFd);
            TPipe::Close(slot.ReplyFd);
            int status;
            waitpid(slot.Pid, &status, 0);
            slot.Pid = -1;
            if (busy)
              Record(TOutcome::kError, "interrupted before its answer",
                     NowNs() - slot.Current.DueNs);
          }
        }
      }
    }
    for (std::size_t i = 1; i < fds.size(); ++i) {
      TSlot& slot = *polled[i - 1];
      if (slot.ReplyFd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      if (!Drain(slot)) Lost(slot, "the worker ended");
    }
  }
  const int64_t end = NowNs();
  if (started && FReport.Seconds == 0) FReport.Seconds = static_cast<double>(end - FStart) / 1e9;
  if (started && FPlan.Rate) {
    // Due by now (or by the end of the duration) but never made.
    int64_t until = FReport.Interrupted ? FInterruptedAt : end;
    if (FPlan.Duration)
      until = std::min(until, FStart + static_cast<int64_t>(*FPlan.Duration * 1e9));
    // Attempt n is due at n / rate: those before "until" were due.
    uint64_t due = static_cast<uint64_t>(
        std::ceil(static_cast<double>(std::max<int64_t>(0, until - FStart)) / 1e9 * *FPlan.Rate));
    if (FPlan.Attempts) due = std::min(due, *FPlan.Attempts);
    FReport.Missed = due > FNext ? due - FNext : 0;
  }
  if (interval && started && FInterval.Attempts() > 0) ProgressLine(end);
  Shutdown(/*Kill=*/false);
  return FReport;
}

void AppendReasons(std::ostringstream& Out, const char* Title,
                   const std::map<std::string, uint64_t>& Reasons) {
  if (Reasons.empty()) return;
  Out << Title << ":\n";
  for (const auto& [reason, count] : Reasons) Out << "  " << count << "  " << reason << "\n";
}

void AppendJsonReasons(std::ostringstream& Out, const std::map<std::string, uint64_t>& Reasons) {
  Out << "{";
  bool first = true;
  for (const auto& [reason, count] : Reasons) {
    Out << (first ? "" : ",") << JsonString(reason) << ":" << count;
    first = false;
  }
  Out << "}";
}

}  // namespace

std::vector<TAccount> ParseAccounts(const std::string& Text) {
  std::vector<TAccount> accounts;
  std::size_t start = 0;
  for (int line = 1; start < Text.size(); ++line) {
    std::size_t end = Text.find('\n', start);
    if (end == std::string::npos) end = Text.size();
    std::size_t last = end;
    if (last > start && Text[last - 1] == '\r') --last;
    const std::string_view row(Text.data() + start, last - start);
    start = end + 1;
    if (row.empty() || row[0] == '#') continue;
    std::size_t split = row.find('\t');
    if (split == std::string_view::npos) split = row.find(' ');
    if (split == std::string_view::npos || split == 0) {
      WipeAccounts(accounts);
      throw EUsageError("--accounts: line " + std::to_string(line) +
                        " is not a name, a tab or blank, and a password");
    }
    accounts.push_back({std::string(row.substr(0, split)), std::string(row.substr(split + 1))});
  }
  if (accounts.empty()) throw EUsageError("--accounts: the file holds no account");
  return accounts;
}

std::vector<TAccount> ReadAccounts(const std::string& Path) {
  platform::TFileRead file = platform::ReadRegularFile(Path, kMaxAccountsBytes);
  const std::string named = "--accounts: '" + Path + "' ";
  switch (file.Error) {
    case platform::TFileReadError::None:
      break;
    case platform::TFileReadError::Missing:
      throw EUsageError(named + "does not exist");
    case platform::TFileReadError::NotRegular:
      throw EUsageError(named + "cannot be read: not a regular file");
    case platform::TFileReadError::TooLarge:
      throw EUsageError(named + "cannot be read: larger than " +
                        std::to_string(kMaxAccountsBytes >> 20) + " MiB");
    case platform::TFileReadError::CannotOpen:
    case platform::TFileReadError::CannotRead:
      throw EUsageError(named + "cannot be read: " + std::strerror(file.Errno));
  }
  try {
    std::vector<TAccount> accounts = ParseAccounts(file.Text);
    Wipe(file.Text);
    return accounts;
  } catch (...) {
    Wipe(file.Text);
    throw;
  }
}

void WipeAccounts(std::vector<TAccount>& Accounts) {
  for (TAccount& account : Accounts) Wipe(account.Password);
  Accounts.clear();
}

void TLoadCounters::Record(TOutcome Outcome, const std::string& Reason, uint64_t LatencyNs,
                           bool KeepFailureReason) {
  FLatency.Record(LatencyNs);
  auto count = [&](std::map<std::string, uint64_t>& Reasons) {
    const std::string& key = Reason.empty() ? std::string("(no reason given)") : Reason;
    auto found = Reasons.find(key);
    if (found != Reasons.end()) {
      ++found->second;
    } else if (Reasons.size() < kMaxReasons) {
      Reasons.emplace(key, 1);
    } else {
      ++Reasons[kOtherReasons];
    }
  };
  switch (Outcome) {
    case TOutcome::kSuccess:
      ++FSuccesses;
      break;
    case TOutcome::kFailure:
      ++FFailures;
      if (KeepFailureReason) count(FFailureReasons);
      break;
    default:
      ++FErrors;
      count(FErrorReasons);
      break;
  }
}

double TLoadReport::Throughput() const {
  return Seconds > 0 ? static_cast<double>(Counters.Attempts()) / Seconds : 0;
}

std::string TLoadReport::Text() const {
  const TLatencyHistogram& h = Counters.FLatency;
  std::ostringstream out;
  out << "load " << Plan.Target << ": " << Plan.Workers << " workers, "
      << (Plan.Rate ? "open loop at " + Number(*Plan.Rate, 1) + " per second"
                    : std::string("closed loop"))
      << "\n";
  if (Interrupted) out << "interrupted: the attempts answered before Ctrl-C\n";
  out << "attempts    " << Counters.Attempts() << "\n"
      << "successes   " << Counters.FSuccesses << "\n"
      << "failures    " << Counters.FFailures << "\n"
      << "errors      " << Counters.FErrors << "\n";
  if (Plan.Rate) out << "missed      " << Missed << "\n";
  if (WorkersLost) out << "workers lost " << WorkersLost << "\n";
  out << "seconds     " << Number(Seconds, 3) << "\n"
      << "throughput  " << Number(Throughput(), 1) << " per second\n"
      << "latency ms  p50 " << Ms(h.ValueAtQuantile(0.5)) << "  p90 " << Ms(h.ValueAtQuantile(0.9))
      << "  p99 " << Ms(h.ValueAtQuantile(0.99)) << "  p99.9 " << Ms(h.ValueAtQuantile(0.999))
      << "  max " << Ms(h.Max()) << "\n";
  AppendReasons(out, "errors by reason", Counters.FErrorReasons);
  AppendReasons(out, "failures by reason", Counters.FFailureReasons);
  return out.str();
}

std::string TLoadReport::Json() const {
  const TLatencyHistogram& h = Counters.FLatency;
  std::ostringstream out;
  out << "{\"target\":" << JsonString(Plan.Target) << ",\"workers\":" << Plan.Workers
      << ",\"rate\":" << (Plan.Rate ? Number(*Plan.Rate, 3) : std::string("null"))
      << ",\"interrupted\":" << (Interrupted ? "true" : "false")
      << ",\"attempts\":" << Counters.Attempts() << ",\"successes\":" << Counters.FSuccesses
      << ",\"failures\":" << Counters.FFailures << ",\"errors\":" << Counters.FErrors
      << ",\"errors_by_reason\":";
  AppendJsonReasons(out, Counters.FErrorReasons);
  if (Plan.FailureReasons) {
    out << ",\"failures_by_reason\":";
    AppendJsonReasons(out, Counters.FFailureReasons);
  }
  out << ",\"missed\":" << Missed << ",\"workers_lost\":" << WorkersLost
      << ",\"seconds\":" << Number(Seconds, 6) << ",\"throughput\":" << Number(Throughput(), 3)
      << ",\"latency_ms\":{\"p50\":" << Ms(h.ValueAtQuantile(0.5))
      << ",\"p90\":" << Ms(h.ValueAtQuantile(0.9)) << ",\"p99\":" << Ms(h.ValueAtQuantile(0.99))
      << ",\"p99.9\":" << Ms(h.ValueAtQuantile(0.999)) << ",\"max\":" << Ms(h.Max()) << "}}\n";
  return out.str();
}

std::string JsonString(const std::string& Text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < Text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(Text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      // UTF-8 passes whole; any other byte (a server's Latin-1 text) would
      // make the report no JSON at all.
      const int length = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
      bool valid = length > 0 && c < 0xF5 && i + length <= Text.size();
      for (int k = 1; valid && k < length; ++k)
        valid = (static_cast<unsigned char>(Text[i + k]) & 0xC0) == 0x80;
      if (valid) {
        out.append(Text, i, static_cast<std::size_t>(length));
        i += static_cast<std::size_t>(length) - 1;
      } else {
        out += "\\ufffd";
      }
    }
  }
  return out + "\"";
}

TLoadReport RunLoad(const TLoadPlan& Plan, const std::vector<TAccount>& Accounts,
                    const TAttempterFactory& Factory, std::ostream* Progress) {
  TRun run(Plan, Accounts, Factory, Progress);
  return run.Run();
}

}  // namespace app::cli
