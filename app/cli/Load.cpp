// clavira-cli load: many attempts of one kind (directory, db or os) by
// parallel workers, on a schedule, with a report of the answers and their
// latencies. The workers run the very checks of the single-attempt
// subcommands; see LoadRun.h for how they are run and counted.
#include <security/pam_appl.h>

#include <ostream>
#include <type_traits>

#include "app/Checks.h"
#include "app/DatabaseCheck.h"
#include "app/cli/LoadRun.h"
#include "app/cli/Subcommand.h"
#include "db/DBManagerClass.h"
#include "db/Vesquin.h"
#include "platform/Conversions.h"

namespace app::cli {
namespace {

// ---- what counts as a refusal ----------------------------------------------
//
// The checks answer only the success or the failure message; the diagnostic
// tells a refusal of the credentials from a server that could not answer.

// The directory refused the credentials ("bind: Invalid credentials (49)"),
// or the check refused an empty password without asking it.
bool DirectoryRefused(const std::string& Why) {
  return Why.rfind("bind: Invalid credentials (49)", 0) == 0 ||
         Why == "empty password: no bind made";
}

// The login flow's failures are refusals but for a directory that could not
// answer ("the directory refused: bind: Can't contact LDAP server (-1)").
bool FlowRefused(const std::string& Why) {
  static const std::string kDirectory = "the directory refused: ";
  if (Why.rfind(kDirectory, 0) != 0) return true;
  const std::string rest = Why.substr(kDirectory.size());
  return DirectoryRefused(rest) || rest.find("no bind made") != std::string::npos;
}

// PAM refused the user or the password, or the account step refused the user.
bool PamRefused(const std::string& Why) {
  for (const char* step : {"pam_authenticate: ", "pam_acct_mgmt: "}) {
    for (int code : {PAM_AUTH_ERR, PAM_USER_UNKNOWN, PAM_PERM_DENIED, PAM_ACCT_EXPIRED,
                     PAM_NEW_AUTHTOK_REQD, PAM_MAXTRIES}) {
      if (Why == std::string(step) + pam_strerror(nullptr, code)) return true;
    }
  }
  return false;
}

class TDirectoryAttempter : public TAttempter {
 public:
  TDirectoryAttempter(std::string Path, std::string Security)
      : FPath(std::move(Path)), FSecurity(std::move(Security)) {}
  TAttemptResult Attempt(const TAccount& Account) override {
    std::string why;
    const std::string message =
        DirectoryCheck(Account.Name, Account.Password, FPath, FSecurity, &why);
    if (message == kDirectorySuccess) return {TOutcome::kSuccess, {}};
    return {DirectoryRefused(why) ? TOutcome::kFailure : TOutcome::kError, why};
  }

 private:
  std::string FPath, FSecurity;
};

class TSystemAttempter : public TAttempter {
 public:
  explicit TSystemAttempter(std::string Domain) : FDomain(std::move(Domain)) {}
  TAttemptResult Attempt(const TAccount& Account) override {
    std::string why;
    const std::string message = SystemCheck(Account.Name, FDomain, Account.Password, &why);
    if (message == kSystemSuccess) return {TOutcome::kSuccess, {}};
    return {PamRefused(why) ? TOutcome::kFailure : TOutcome::kError, why};
  }

 private:
  std::string FDomain;
};

// One database connection per worker, made when the worker starts. After an
// error the connection may be gone (a server restarted, a connection cut):
// the next attempt connects again, and pays for it in its latency.
class TDatabaseAttempter : public TAttempter {
 public:
  explicit TDatabaseAttempter(int32_t Settings) : FSettings(Settings) { Connect(); }
  ~TDatabaseAttempter() override { db::FreeDBManager(); }

  TAttemptResult Attempt(const TAccount& Account) override {
    try {
      if (!FConnected) {
        Connect();
        if (!FConnected) return {TOutcome::kError, FConnectError};
      }
      std::string trace;
      const TDatabaseAnswer answer =
          DatabaseCheck(Account.Name, Account.Password, FSettings, &trace);
      if (answer.Message == kDatabaseSuccess) return {TOutcome::kSuccess, {}};
      // The flow's own "why" line, which names the refusal.
      const std::size_t at = trace.find("\nwhy: ");
      const std::string why = at == std::string::npos ? std::string() : trace.substr(at + 6);
      return {FlowRefused(why) ? TOutcome::kFailure : TOutcome::kError, why};
    } catch (const std::exception& e) {
      FConnected = false;
      return {TOutcome::kError, e.what()};
    }
  }

 private:
  void Connect() {
    try {
      db::FreeDBManager();
      ConnectDatabase();
      FConnected = true;
    } catch (const std::exception& e) {
      FConnected = false;
      FConnectError = e.what();
    }
  }

  int32_t FSettings;
  bool FConnected = false;
  std::string FConnectError;
};

// ---- options --------------------------------------------------------------------

template <typename T>
std::optional<T> Positive(const TOptions& Given, const char* Name) {
  const auto text = Given.Value(Name);
  if (!text) return std::nullopt;
  const std::string& t = *text;
  if constexpr (std::is_floating_point_v<T>) {
    std::size_t used = 0;
    double value = 0;
    try {
      value = std::stod(t, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used != t.size() || t.empty() || !(value > 0) || value > 1e9)
      throw EUsageError(std::string("--") + Name + ": '" + t + "' is not a positive number");
    return value;
  } else {
    const bool digits =
        !t.empty() && t.size() <= 18 && t.find_first_not_of("0123456789") == std::string::npos;
    const uint64_t value = digits ? std::stoull(t) : 0;
    if (value == 0)
      throw EUsageError(std::string("--") + Name + ": '" + t + "' is not a positive whole number");
    return static_cast<T>(value);
  }
}

int Run(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err) {
  if (Args.empty() || Args[0] == "--help") {
    if (Args.empty()) throw EUsageError("which check: load directory, load db or load os");
    Out << kLoadSubcommand.Usage;
    return kSuccess;
  }
  const std::string target = Args[0];
  if (target != "directory" && target != "db" && target != "os")
    throw EUsageError("unknown check '" + target + "': directory, db or os");
  const std::vector<std::string> rest(Args.begin() + 1, Args.end());
  // The options of the single attempt, then those of the run.
  const TOptions given(rest, {{"account", true},
                              {"path", true},
                              {"security", true},
                              {"name", true},
                              {"settings", true},
                              {"domain", true},
                              {"accounts", true},
                              {"workers", true},
                              {"duration", true},
                              {"attempts", true},
                              {"rate", true},
                              {"interval", true},
                              {"json", false},
                              kPasswordOption,
                              kPasswordStdinOption,
                              kVerboseOption,
                              kHelpOption});
  if (given.Has("help")) {
    Out << kLoadSubcommand.Usage;
    return kSuccess;
  }
  const char* nameOption = target == "directory" ? "account" : "name";
  const std::vector<const char*> own = target == "directory"
                                           ? std::vector<const char*>{"path", "security"}
                                       : target == "db" ? std::vector<const char*>{"settings"}
                                                        : std::vector<const char*>{"domain"};
  for (const char* option : {"account", "path", "security", "name", "settings", "domain"}) {
    bool allowed = std::string(option) == nameOption;
    for (const char* o : own) allowed = allowed || std::string(option) == o;
    if (!allowed && given.Has(option))
      throw EUsageError("--" + std::string(option) + " is not an option of load " + target);
  }

  TLoadPlan plan;
  plan.Target = target;
  plan.Workers = static_cast<int>(Positive<uint64_t>(given, "workers").value_or(1));
  if (plan.Workers > 1000) throw EUsageError("--workers: at most 1000");
  plan.Attempts = Positive<uint64_t>(given, "attempts");
  plan.Duration = Positive<double>(given, "duration");
  plan.Rate = Positive<double>(given, "rate");
  plan.Interval = Positive<double>(given, "interval");
  // A line per poll would drown the report.
  if (plan.Interval && *plan.Interval < 0.01) throw EUsageError("--interval: at least 0.01");
  plan.FailureReasons = given.Has("verbose");

  std::vector<TAccount> accounts;
  if (given.Has("accounts")) {
    if (given.Has(nameOption) || given.Has("password") || given.Has("password-stdin"))
      throw EUsageError("give either --accounts or --" + std::string(nameOption) +
                        " with a password, not both");
    accounts = ReadAccounts(*given.Value("accounts"));
  } else {
    const std::string name = given.Required(nameOption);
    accounts.push_back({name, ReadPassword(given, Err)});
  }

  TAttempterFactory factory;
  if (target == "directory") {
    const std::string path = given.Required("path");
    const std::string security = given.Value("security").value_or("0");
    platform::StrToInt(security);  // a bad code is one error, not one per attempt
    factory = [path, security] { return std::make_unique<TDirectoryAttempter>(path, security); };
  } else if (target == "db") {
    const std::string settingsText = given.Value("settings").value_or("2");
    const auto settings = platform::TryStrToInt(settingsText);
    if (!settings)
      throw EUsageError("--settings: '" + settingsText + "' is not a valid integer value");
    // A configuration that names no engine would make every attempt the same error.
    db::CheckConfigurationReadable();
    const std::string problem = db::ConfigurationProblem();
    if (!problem.empty()) throw platform::Exception(problem);
    factory = [s = *settings] { return std::make_unique<TDatabaseAttempter>(s); };
  } else {
    const std::string domain = given.Value("domain").value_or("");
    factory = [domain] { return std::make_unique<TSystemAttempter>(domain); };
  }

  const bool json = given.Has("json");
  std::ostream& progress = json ? Err : Out;
  TLoadReport report;
  try {
    report = RunLoad(plan, accounts, factory, &progress);
  } catch (...) {
    WipeAccounts(accounts);
    throw;
  }
  WipeAccounts(accounts);
  Out << (json ? report.Json() : report.Text());
  return report.Counters.FErrors == 0 ? kSuccess : kFailure;
}

}  // namespace

const Subcommand kLoadSubcommand{
    "load", "many attempts by parallel workers, with a report of answers and latencies",
    "usage: clavira-cli load directory --path P [--security S] ACCOUNTS RUN\n"
    "       clavira-cli load db [--settings K] ACCOUNTS RUN\n"
    "       clavira-cli load os [--domain D] ACCOUNTS RUN\n"
    "ACCOUNTS: --accounts FILE, or the single attempt's name option (--account A\n"
    "          for directory, --name N otherwise) with --password-stdin or\n"
    "          --password TEXT\n"
    "RUN:      [--workers N] [--attempts N] [--duration S] [--rate R]\n"
    "          [--interval S] [--json] [--verbose]\n"
    "\n"
    "Makes the attempts of the single-attempt subcommand of that name, with its\n"
    "options, from N worker processes (default 1), each with its own connection.\n"
    "The run ends after --attempts N attempts or --duration S seconds, whichever\n"
    "comes first, or at Ctrl-C; without either it runs until Ctrl-C.\n"
    "--rate R schedules R attempts per second in all (an open loop): each\n"
    "attempt is due at its time whatever the server does, and its latency runs\n"
    "from that time, so a slow server shows in the latencies. Attempts due that\n"
    "no worker was free to make before the end are reported as \"missed\".\n"
    "Without --rate every worker starts its next attempt when it has an answer.\n"
    "--accounts FILE: one account a line, the name, a tab (or a blank when the\n"
    "line holds no tab) and the password; empty lines and lines starting with #\n"
    "are skipped. Attempt n uses the n-th account, round the list. The file is\n"
    "read once, must be a regular file of at most 16 MiB, and no password is\n"
    "ever shown (the errors name the line, not its text).\n"
    "Every attempt counts once: a success (the success message), a failure (the\n"
    "credentials refused) or an error (anything else: a server that cannot be\n"
    "reached or does not answer, a database error), errors counted by reason.\n"
    "A db worker connects again after an error.\n"
    "--interval S prints a line for each S seconds: the attempts answered in it\n"
    "and their latencies.\n"
    "The report: attempts, successes, failures, errors by reason, throughput and\n"
    "latency p50, p90, p99, p99.9 and max in milliseconds (from a histogram of\n"
    "0.2 % resolution). --json prints it as one JSON object (progress lines then\n"
    "go to standard error). --verbose counts failures by reason too.\n"
    "Ctrl-C stops the run: the attempts under way are answered, then the report\n"
    "is printed; a second Ctrl-C does not wait for them (they count as errors).\n"
    "Exit status: 0 no attempt ended in an error, 1 some did, 2 usage error,\n"
    "3 the run could not be made.\n"
    "--password TEXT shows the password to every user of the machine (process\n"
    "list) until the program has read it: prefer --password-stdin or --accounts.\n",
    &Run};

}  // namespace app::cli
