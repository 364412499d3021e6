// A load run: many login attempts made by worker processes, on a schedule,
// counted exactly, with their latencies in a fixed-memory histogram.
//
// Workers are processes, not threads: the database layer keeps one
// connection and the login flow's state per process and is not thread-safe,
// and PAM modules need not be either. Each worker makes its own attempter
// (and so its own connection or handle) after the fork, runs one attempt at
// a time and answers each over its own pipe. The parent alone schedules,
// counts and reports: it never touches a server.
//
// With a rate the run is an open loop: attempt n is due at start + n / rate
// whatever the workers do, and its latency runs from that time, so a server
// that falls behind shows in the latencies (and in "missed", attempts due
// that no worker was free to make before the run ended) instead of slowing
// the schedule down. Without a rate each worker starts its next attempt as
// soon as it has answered (latency from the dispatch).
//
// Attempt n uses account n modulo the number of accounts. Every attempt
// dispatched is counted once: a success, a failure (the credentials
// refused) or an error by its reason, an attempt lost with its worker
// included. The report never holds a password.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/LatencyHistogram.h"

namespace app::cli {

struct TAccount {
  std::string Name;
  std::string Password;
};

// The accounts of an accounts file's text: one account a line, the name, then
// a tab (or, in a line without a tab, a blank), then the password to the end
// of the line (a final CR dropped). Empty lines and lines starting with '#'
// are skipped. Throws EUsageError naming the line's number (never its text)
// for a line without a password, and when no account is left.
std::vector<TAccount> ParseAccounts(const std::string& Text);
// Reads Path once (a regular file of at most kMaxAccountsBytes) and parses it;
// the file's text is wiped from memory afterwards. Throws EUsageError.
inline constexpr std::size_t kMaxAccountsBytes = 16 << 20;
std::vector<TAccount> ReadAccounts(const std::string& Path);
// Overwrites the passwords before the accounts are freed.
void WipeAccounts(std::vector<TAccount>& Accounts);

enum class TOutcome : uint8_t { kSuccess, kFailure, kError };

struct TAttemptResult {
  TOutcome Outcome = TOutcome::kError;
  // Why a failure or an error happened (empty for a success). Never the
  // password: the worker removes it should a server have quoted it.
  std::string Reason;
};

// Makes attempts in a worker process. Made in the worker (after the fork), so
// that its connection or handle belongs to that worker alone, and destroyed
// there before the worker ends.
class TAttempter {
 public:
  virtual ~TAttempter() = default;
  // Runs one attempt; must not throw (an exception escaping is counted as an
  // error with its text). Bounded in time by the underlying time-outs.
  virtual TAttemptResult Attempt(const TAccount& Account) = 0;
};
using TAttempterFactory = std::function<std::unique_ptr<TAttempter>()>;

struct TLoadPlan {
  std::string Target;  // what the report calls the run ("directory", "db", "os")
  int Workers = 1;
  std::optional<uint64_t> Attempts;  // stop after this many attempts
  std::optional<double> Duration;    // seconds: stop dispatching after this
  std::optional<double> Rate;        // attempts per second, open loop
  std::optional<double> Interval;    // seconds between progress lines
  bool FailureReasons = false;       // count failures by reason too
};

// Reasons kept apart in a report; the others are counted together.
inline constexpr std::size_t kMaxReasons = 32;
inline constexpr std::size_t kMaxReasonBytes = 300;
inline constexpr char kOtherReasons[] = "(other reasons)";

// Counts of answered attempts, with their latencies in nanoseconds.
class TLoadCounters {
 public:
  void Record(TOutcome Outcome, const std::string& Reason, uint64_t LatencyNs,
              bool KeepFailureReason);
  void Reset() { *this = TLoadCounters(); }

  uint64_t Attempts() const { return FSuccesses + FFailures + FErrors; }
  uint64_t FSuccesses = 0;
  uint64_t FFailures = 0;
  uint64_t FErrors = 0;
  std::map<std::string, uint64_t> FErrorReasons;    // at most kMaxReasons + 1 entries
  std::map<std::string, uint64_t> FFailureReasons;  // only when the plan asks for them
  TLatencyHistogram FLatency;
};

struct TLoadReport {
  TLoadPlan Plan;
  TLoadCounters Counters;
  double Seconds = 0;        // from the start of the schedule to the last answer
  uint64_t Missed = 0;       // due under the rate but never dispatched
  bool Interrupted = false;  // stopped by SIGINT
  uint64_t WorkersLost = 0;  // workers that ended during the run (and were replaced)

  double Throughput() const;
  // The report as lines of text, and as one JSON object (with a final newline).
  std::string Text() const;
  std::string Json() const;
};

// Runs Plan over Accounts with workers made by Factory. Progress lines (one
// per Plan.Interval) go to Progress when given. SIGINT, while the run lasts,
// stops dispatching; the attempts under way are still answered and counted.
// A second SIGINT stops the workers at once and counts their attempts as
// errors. Throws platform::Exception when the workers cannot be started.
// REQUIRES: Plan.Workers >= 1, !Accounts.empty(); a process without other
// threads (workers are forked).
TLoadReport RunLoad(const TLoadPlan& Plan, const std::vector<TAccount>& Accounts,
                    const TAttempterFactory& Factory, std::ostream* Progress);

// Where a progress line or a report number comes from, exposed for tests.
std::string JsonString(const std::string& Text);

}  // namespace app::cli
