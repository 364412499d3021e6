// The load mode's own cost and memory, against the attempt it drives.
//
//   Load/Tool/<workers>       RunLoad over an attempt that answers at once
//                             (closed loop, 200,000 attempts): what the
//                             scheduler, the pipes and the counting cost per
//                             attempt. Counter ns_per_attempt.
//   Load/AttemptItself        the same attempt called in a loop: the floor.
//   Load/DirectoryBind        one real directory check (DirectoryLogin)
//                             against a private slapd, called directly: what
//                             an attempt costs when it does real work.
//   Load/DirectoryThroughLoad the same checks made by RunLoad with 2 workers
//                             (2,000 attempts): the tool's throughput against
//                             a real server.
//   Load/MemoryFlat           1,000,000 attempts (every 100th an error with a
//                             reason of its own), after a warm-up run of
//                             100,000: the parent's RSS before and after, in
//                             KiB, and the largest RSS of a worker.
//
// Run: build/bin/bench_load
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/cli/LoadRun.h"
#include "login/DirectoryBind.h"
#include "testsupport/SlapdServer.h"

namespace {

using app::cli::TAccount;
using app::cli::TAttempter;
using app::cli::TAttemptResult;
using app::cli::TLoadPlan;
using app::cli::TOutcome;

class TAtOnce : public TAttempter {
 public:
  TAttemptResult Attempt(const TAccount& Account) override {
    ++FCount;
    if (FCount % 100 == 0)
      return {TOutcome::kError, "reason " + std::to_string(FCount) + " " + Account.Name};
    return {Account.Password == "right" ? TOutcome::kSuccess : TOutcome::kFailure, {}};
  }

 private:
  uint64_t FCount = 0;
};

const std::vector<TAccount> kAccounts = {{"a", "right"}, {"b", "wrong"}};

app::cli::TAttempterFactory AtOnce() {
  return [] { return std::make_unique<TAtOnce>(); };
}

long RssKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void BM_Tool(benchmark::State& state) {
  TLoadPlan plan;
  plan.Target = "bench";
  plan.Workers = static_cast<int>(state.range(0));
  plan.Attempts = 200000;
  uint64_t attempts = 0;
  for (auto _ : state) {
    const auto report = app::cli::RunLoad(plan, kAccounts, AtOnce(), nullptr);
    if (report.Counters.Attempts() != *plan.Attempts) state.SkipWithError("attempts lost");
    attempts += report.Counters.Attempts();
  }
  state.SetItemsProcessed(static_cast<int64_t>(attempts));
  state.counters["ns_per_attempt"] =
      benchmark::Counter(static_cast<double>(attempts) * 1e-9,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Tool)
    ->Name("Load/Tool")
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_AttemptItself(benchmark::State& state) {
  TAtOnce attempter;
  uint64_t n = 0;
  for (auto _ : state) {
    auto result = attempter.Attempt(kAccounts[n++ % 2]);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(static_cast<int64_t>(n));
}
BENCHMARK(BM_AttemptItself)->Name("Load/AttemptItself");

testsupport::SlapdServer& Server() {
  static auto server = std::make_unique<testsupport::SlapdServer>();
  return *server;
}

class TDirectory : public TAttempter {
 public:
  TAttemptResult Attempt(const TAccount& Account) override {
    std::string why;
    const bool ok =
        login::DirectoryLogin(Account.Name, Account.Password, Server().HostPort(), 0, &why);
    return {ok ? TOutcome::kSuccess : TOutcome::kFailure, why};
  }
};

void BM_DirectoryBind(benchmark::State& state) {
  TDirectory attempter;
  const TAccount alice{Server().UserDn("alice"), "alice-secret"};
  for (auto _ : state) {
    if (attempter.Attempt(alice).Outcome != TOutcome::kSuccess) state.SkipWithError("bind refused");
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_DirectoryBind)
    ->Name("Load/DirectoryBind")
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

void BM_DirectoryThroughLoad(benchmark::State& state) {
  const std::vector<TAccount> accounts = {{Server().UserDn("alice"), "alice-secret"}};
  TLoadPlan plan;
  plan.Target = "bench";
  plan.Workers = 2;
  plan.Attempts = 2000;
  uint64_t attempts = 0;
  for (auto _ : state) {
    const auto report = app::cli::RunLoad(
        plan, accounts, [] { return std::make_unique<TDirectory>(); }, nullptr);
    if (report.Counters.FSuccesses != *plan.Attempts) state.SkipWithError("wrong answers");
    attempts += report.Counters.Attempts();
  }
  state.SetItemsProcessed(static_cast<int64_t>(attempts));
}
BENCHMARK(BM_DirectoryThroughLoad)
    ->Name("Load/DirectoryThroughLoad")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

void BM_MemoryFlat(benchmark::State& state) {
  TLoadPlan plan;
  plan.Target = "bench";
  plan.Workers = 2;
  plan.Interval = 0.05;  // the interval counters are reset and refilled too
  std::ostringstream progress;
  for (auto _ : state) {
    plan.Attempts = 100000;
    app::cli::RunLoad(plan, kAccounts, AtOnce(), &progress);
    const long before = RssKiB();
    plan.Attempts = 1000000;
    const auto report = app::cli::RunLoad(plan, kAccounts, AtOnce(), &progress);
    const long after = RssKiB();
    if (report.Counters.Attempts() != 1000000) state.SkipWithError("attempts lost");
    state.counters["rss_before_kib"] = static_cast<double>(before);
    state.counters["rss_after_kib"] = static_cast<double>(after);
    state.counters["error_reasons_kept"] =
        static_cast<double>(report.Counters.FErrorReasons.size());
  }
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  state.counters["worker_max_rss_kib"] = static_cast<double>(children.ru_maxrss);
}
BENCHMARK(BM_MemoryFlat)
    ->Name("Load/MemoryFlat")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
