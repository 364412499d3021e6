// The load mode's parts without a server: the latency histogram against exact
// quantiles, the accounts file, and runs of worker processes over attempts
// made in the test (exact counts, the open loop, a worker that crashes).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <random>
#include <thread>

#include "app/cli/LatencyHistogram.h"
#include "app/cli/LoadRun.h"
#include "app/cli/Subcommand.h"

namespace {

using app::cli::TAccount;
using app::cli::TAttempter;
using app::cli::TAttemptResult;
using app::cli::TLatencyHistogram;
using app::cli::TLoadPlan;
using app::cli::TOutcome;

// The exact sample quantile of the same definition: the value of rank
// ceil(q * n) in ascending order.
uint64_t ExactQuantile(std::vector<uint64_t> Sorted, double Q) {
  std::sort(Sorted.begin(), Sorted.end());
  if (Q >= 1.0) return Sorted.back();
  return Sorted[TLatencyHistogram::RankOf(Q, Sorted.size()) - 1];
}

std::vector<uint64_t> Samples(const std::string& Kind) {
  std::mt19937_64 random(42);
  std::vector<uint64_t> v;
  if (Kind == "single") v = {1234567};
  if (Kind == "small exact") {
    for (uint64_t i = 0; i < 128; ++i) v.push_back(i);
  }
  if (Kind == "uniform 1..10^6") {
    for (int i = 0; i < 100000; ++i) v.push_back(1 + random() % 1000000);
  }
  if (Kind == "exponential ms") {
    std::exponential_distribution<double> d(1.0 / 2e6);  // mean 2 ms in ns
    for (int i = 0; i < 100000; ++i) v.push_back(static_cast<uint64_t>(d(random)));
  }
  if (Kind == "log-normal heavy tail") {
    std::lognormal_distribution<double> d(13.0, 2.0);
    for (int i = 0; i < 100000; ++i) v.push_back(static_cast<uint64_t>(std::min(d(random), 1e15)));
  }
  if (Kind == "bimodal 1 ms / 1 s") {
    for (int i = 0; i < 10000; ++i) v.push_back(i % 100 == 0 ? 1000000000 + i : 1000000 + i);
  }
  if (Kind == "constant") v.assign(5000, 777777);
  if (Kind == "near 2^64") {
    for (uint64_t i = 0; i < 1000; ++i) v.push_back(~uint64_t{0} - i * 997);
  }
  return v;
}

TEST(LatencyHistogram, QuantilesWithinTheRelativeErrorOfExactQuantiles) {
  // Half a bucket: buckets are at most 1/128 of their lowest value wide.
  const double bound = 1.0 / 256;
  for (const char* kind :
       {"single", "small exact", "uniform 1..10^6", "exponential ms", "log-normal heavy tail",
        "bimodal 1 ms / 1 s", "constant", "near 2^64"}) {
    SCOPED_TRACE(kind);
    const std::vector<uint64_t> samples = Samples(kind);
    TLatencyHistogram h;
    for (uint64_t s : samples) h.Record(s);
    EXPECT_EQ(h.Count(), samples.size());
    EXPECT_EQ(h.Min(), *std::min_element(samples.begin(), samples.end()));
    EXPECT_EQ(h.Max(), *std::max_element(samples.begin(), samples.end()));
    for (double q : {0.0, 0.25, 0.5, 0.9, 0.99, 0.999, 0.9999, 1.0}) {
      const uint64_t exact = ExactQuantile(samples, q);
      const uint64_t got = h.ValueAtQuantile(q);
      const double error = std::fabs(static_cast<double>(got) - static_cast<double>(exact));
      EXPECT_LE(error, bound * static_cast<double>(exact))
          << "q " << q << ": " << got << " for " << exact;
      if (exact < TLatencyHistogram::kSubCount) {
        EXPECT_EQ(got, exact) << "q " << q;
      }
    }
  }
}

TEST(LatencyHistogram, BucketsTileTheWholeRange) {
  EXPECT_EQ(TLatencyHistogram::LowestOf(0), 0u);
  for (std::size_t i = 0; i < TLatencyHistogram::kBucketCount; ++i) {
    const uint64_t low = TLatencyHistogram::LowestOf(i), high = TLatencyHistogram::HighestOf(i);
    ASSERT_LE(low, high) << i;
    ASSERT_EQ(TLatencyHistogram::BucketOf(low), i);
    ASSERT_EQ(TLatencyHistogram::BucketOf(high), i);
    if (i + 1 < TLatencyHistogram::kBucketCount) {
      ASSERT_EQ(high + 1, TLatencyHistogram::LowestOf(i + 1)) << i;
    }
    if (low >= TLatencyHistogram::kSubCount) {
      ASSERT_LE(static_cast<double>(high - low + 1), static_cast<double>(low) / 128) << i;
    }
  }
  EXPECT_EQ(TLatencyHistogram::HighestOf(TLatencyHistogram::kBucketCount - 1), ~uint64_t{0});
}

TEST(LatencyHistogram, AddIsRecordingBoth) {
  const std::vector<uint64_t> a = Samples("exponential ms"), b = Samples("bimodal 1 ms / 1 s");
  TLatencyHistogram ha, hb, all;
  for (uint64_t s : a) ha.Record(s), all.Record(s);
  for (uint64_t s : b) hb.Record(s), all.Record(s);
  ha.Add(hb);
  EXPECT_EQ(ha.Count(), all.Count());
  EXPECT_EQ(ha.Min(), all.Min());
  EXPECT_EQ(ha.Max(), all.Max());
  for (double q : {0.1, 0.5, 0.99, 0.999}) EXPECT_EQ(ha.ValueAtQuantile(q), all.ValueAtQuantile(q));
  ha.Reset();
  EXPECT_EQ(ha.Count(), 0u);
  EXPECT_EQ(ha.ValueAtQuantile(0.5), 0u);
  EXPECT_EQ(ha.Max(), 0u);
}

TEST(LoadAccounts, ParsesNamesAndPasswords) {
  const auto accounts = app::cli::ParseAccounts(
      "# comment\n"
      "uid=ann, dc=x\tpw with blanks\t and a tab\r\n"
      "\n"
      "bob bob pw\n"
      "carol\t\n"
      "last\tno newline");
  ASSERT_EQ(accounts.size(), 4u);
  EXPECT_EQ(accounts[0].Name, "uid=ann, dc=x");
  EXPECT_EQ(accounts[0].Password, "pw with blanks\t and a tab");
  EXPECT_EQ(accounts[1].Name, "bob");
  EXPECT_EQ(accounts[1].Password, "bob pw");
  EXPECT_EQ(accounts[2].Name, "carol");
  EXPECT_EQ(accounts[2].Password, "");
  EXPECT_EQ(accounts[3].Password, "no newline");
}

TEST(LoadAccounts, BadLinesAreNamedByNumberNeverShown) {
  struct Case {
    const char* Text;
    const char* Said;
  } cases[] = {
      {"ann\tpw\nSecretAlone\n", "line 2 "},
      {"\tSecretWithoutName\n", "line 1 "},
      {"# only a comment\n\n", "holds no account"},
      {"", "holds no account"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Said);
    try {
      app::cli::ParseAccounts(c.Text);
      ADD_FAILURE() << "accepted";
    } catch (const app::cli::EUsageError& e) {
      EXPECT_NE(e.Message().find(c.Said), std::string::npos) << e.Message();
      EXPECT_EQ(e.Message().find("Secret"), std::string::npos) << e.Message();
    }
  }
}

TEST(LoadReport, JsonStringsAreAlwaysJson) {
  EXPECT_EQ(app::cli::JsonString("plain"), "\"plain\"");
  EXPECT_EQ(app::cli::JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\u000a\\u0001\"");
  EXPECT_EQ(app::cli::JsonString("ma\xC3\xB1"
                                 "ana"),
            "\"ma\xC3\xB1"
            "ana\"");
  // Latin-1 and cut sequences are no UTF-8.
  EXPECT_EQ(app::cli::JsonString("ma\xF1"
                                 "ana"),
            "\"ma\\ufffdana\"");
  EXPECT_EQ(app::cli::JsonString("cut\xE2\x82"), "\"cut\\ufffd\\ufffd\"");
}

// Answers from the account's password at once: "right" succeeds, "wrong" is
// refused, "slow" takes 20 ms, "crash" ends the worker, anything else is an
// error quoting the password (which the report must not show).
class TScriptedAttempter : public TAttempter {
 public:
  TAttemptResult Attempt(const TAccount& Account) override {
    if (Account.Password == "right") return {TOutcome::kSuccess, {}};
    if (Account.Password == "wrong") return {TOutcome::kFailure, "refused"};
    if (Account.Password == "slow") {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      return {TOutcome::kSuccess, {}};
    }
    if (Account.Password == "crash") raise(SIGKILL);
    return {TOutcome::kError, "server said: bad " + Account.Password + "!"};
  }
};

app::cli::TAttempterFactory Scripted() {
  return [] { return std::make_unique<TScriptedAttempter>(); };
}

TEST(LoadRun, EveryAttemptCountsOnceByItsAnswer) {
  const std::vector<TAccount> accounts = {
      {"a", "right"}, {"b", "wrong"}, {"c", "right"}, {"d", "Leaked-Secret"}};
  struct Case {
    int Workers;
    std::optional<double> Rate;
  } cases[] = {{1, std::nullopt}, {4, std::nullopt}, {3, 2000.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Workers);
    TLoadPlan plan;
    plan.Target = "test";
    plan.Workers = c.Workers;
    plan.Attempts = 1001;
    plan.Rate = c.Rate;
    const auto report = app::cli::RunLoad(plan, accounts, Scripted(), nullptr);
    // Attempt n uses account n % 4: 251 of the first, 250 of each other.
    EXPECT_EQ(report.Counters.Attempts(), 1001u);
    EXPECT_EQ(report.Counters.FSuccesses, 251u + 250u);
    EXPECT_EQ(report.Counters.FFailures, 250u);
    EXPECT_EQ(report.Counters.FErrors, 250u);
    ASSERT_EQ(report.Counters.FErrorReasons.size(), 1u);
    EXPECT_EQ(report.Counters.FErrorReasons.begin()->first, "server said: bad (password)!");
    EXPECT_EQ(report.Counters.FLatency.Count(), 1001u);
    EXPECT_EQ(report.Missed, 0u);
    EXPECT_EQ(report.Text().find("Leaked-Secret"), std::string::npos);
    EXPECT_EQ(report.Json().find("Leaked-Secret"), std::string::npos);
  }
}

// One worker that needs 20 ms an attempt, asked for 100 a second: in an open
// loop the attempts fall further and further behind their schedule, and the
// latencies say so (the 40th is due at 0.39 s and made at about 0.8 s).
// Closed, the same worker shows its 20 ms.
TEST(LoadRun, OpenLoopLatencyRunsFromTheSchedule) {
  const std::vector<TAccount> accounts = {{"a", "slow"}};
  TLoadPlan plan;
  plan.Target = "test";
  plan.Attempts = 40;
  plan.Rate = 100;
  const auto open = app::cli::RunLoad(plan, accounts, Scripted(), nullptr);
  EXPECT_EQ(open.Counters.FSuccesses, 40u);
  EXPECT_GT(open.Counters.FLatency.Max(), 300'000'000u);
  EXPECT_GT(open.Counters.FLatency.ValueAtQuantile(0.5), 100'000'000u);
  plan.Rate.reset();
  const auto closed = app::cli::RunLoad(plan, accounts, Scripted(), nullptr);
  EXPECT_EQ(closed.Counters.FSuccesses, 40u);
  EXPECT_GE(closed.Counters.FLatency.ValueAtQuantile(0.5), 20'000'000u);
  EXPECT_LT(closed.Counters.FLatency.ValueAtQuantile(0.5),
            open.Counters.FLatency.ValueAtQuantile(0.5));

  // A duration that the worker cannot keep up with: what was due and never
  // made is reported as missed, not silently dropped.
  plan.Attempts.reset();
  plan.Rate = 200;
  plan.Duration = 0.5;
  const auto behind = app::cli::RunLoad(plan, accounts, Scripted(), nullptr);
  EXPECT_EQ(behind.Counters.Attempts() + behind.Missed, 100u);
  EXPECT_GT(behind.Missed, 30u);
}

TEST(LoadRun, CrashedWorkerCountsAsAnErrorAndIsReplaced) {
  const std::vector<TAccount> accounts = {{"a", "right"}, {"b", "right"}, {"c", "crash"}};
  TLoadPlan plan;
  plan.Target = "test";
  plan.Workers = 2;
  plan.Attempts = 30;
  const auto report = app::cli::RunLoad(plan, accounts, Scripted(), nullptr);
  EXPECT_EQ(report.Counters.Attempts(), 30u);
  EXPECT_EQ(report.Counters.FSuccesses, 20u);
  EXPECT_EQ(report.Counters.FErrors, 10u);
  EXPECT_EQ(report.WorkersLost, 10u);
  ASSERT_EQ(report.Counters.FErrorReasons.size(), 1u);
  EXPECT_EQ(report.Counters.FErrorReasons.begin()->first, "the worker ended (signal 9)");
}

}  // namespace
