// clavira-cli load, the real program against the private PostgreSQL, slapd
// and PAM stack: exact counts, servers stopped mid-run, Ctrl-C, the JSON
// report, and passwords kept out of every output.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <thread>

#include "testsupport/LoginWorld.h"
#include "testsupport/PamStack.h"
#include "testsupport/Process.h"
#include "testsupport/SlapdServer.h"

namespace {

using testsupport::LoginWorld;
using testsupport::ProcessResult;
using testsupport::RunProcess;

LoginWorld& World() {
  return testsupport::SharedTestWorld();
}

class CliLoad : public ::testing::Test {
 protected:
  void SetUp() override { FDir = testsupport::MakeTempDir("clavira-load"); }
  void TearDown() override { std::filesystem::remove_all(FDir); }

  // An accounts file of "name<TAB>password" lines.
  std::string Accounts(const std::vector<std::pair<std::string, std::string>>& Lines) {
    const std::string path = FDir + "/accounts" + std::to_string(++FFiles);
    std::ofstream out(path, std::ios::binary);
    for (const auto& [name, password] : Lines) out << name << "\t" << password << "\n";
    return path;
  }
  static std::vector<std::string> Db(const std::string& Engine) {
    return {"VESQUIN_ENGINE=" + Engine, "VESQUIN_CONNECTION=" + World().ConnectionString(Engine)};
  }
  static ProcessResult Load(std::vector<std::string> Args, std::vector<std::string> Env = {}) {
    Args.insert(Args.begin(), {CLAVIRA_CLI, "load"});
    return RunProcess(Args, "", Env);
  }

  std::string FDir;
  int FFiles = 0;
};

// The JSON report, checked for its keys and for numbers that add up.
QJsonObject Report(const std::string& Json) {
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(Json), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << Json;
  EXPECT_TRUE(document.isObject()) << Json;
  const QJsonObject report = document.object();
  for (const char* key :
       {"target", "workers", "rate", "interrupted", "attempts", "successes", "failures", "errors",
        "errors_by_reason", "missed", "seconds", "throughput", "latency_ms"}) {
    EXPECT_TRUE(report.contains(key)) << key;
  }
  const auto count = [&](const char* key) { return report[key].toInteger(-1); };
  EXPECT_EQ(count("attempts"), count("successes") + count("failures") + count("errors")) << Json;
  qint64 byReason = 0;
  for (const QJsonValue& n : report["errors_by_reason"].toObject()) byReason += n.toInteger();
  EXPECT_EQ(byReason, count("errors")) << Json;
  const QJsonObject latency = report["latency_ms"].toObject();
  double previous = 0;
  for (const char* key : {"p50", "p90", "p99", "p99.9", "max"}) {
    EXPECT_TRUE(latency[key].isDouble()) << key;
    EXPECT_GE(latency[key].toDouble(), previous) << key << ": " << Json;
    previous = latency[key].toDouble();
  }
  if (count("attempts") > 0) {
    EXPECT_GT(previous, 0.0) << Json;
  }
  return report;
}

// The number after Label at the start of a line of the text report.
long long Field(const std::string& Text, const std::string& Label) {
  std::smatch m;
  if (!std::regex_search(Text, m, std::regex("(^|\n)" + Label + " +([0-9]+)"))) return -1;
  return std::stoll(m[2]);
}

TEST_F(CliLoad, DirectoryCountsEveryAnswerExactly) {
  const std::string accounts = Accounts({{World().Directory().UserDn("alice"), "alice-secret"},
                                         {World().Directory().UserDn("alice"), "not-alices"},
                                         {World().Directory().UserDn("bob"), "bob-secret"}});
  // Attempt n uses account n % 3: of 61 attempts, 21 + 20 right, 20 wrong.
  const std::vector<std::vector<std::string>> runs = {
      {"--workers", "1"}, {"--workers", "4"}, {"--workers", "3", "--rate", "300"}};
  for (const auto& run : runs) {
    SCOPED_TRACE(run[1] + (run.size() > 2 ? " at " + run[3] : ""));
    std::vector<std::string> args = {"directory",  "--path", World().DirectoryPath(),
                                     "--accounts", accounts, "--attempts",
                                     "61",         "--json"};
    args.insert(args.end(), run.begin(), run.end());
    const ProcessResult r = Load(args);
    EXPECT_EQ(r.ExitCode, 0) << r.Error;
    const QJsonObject report = Report(r.Output);
    EXPECT_EQ(report["target"].toString(), "directory");
    EXPECT_EQ(report["attempts"].toInteger(), 61);
    EXPECT_EQ(report["successes"].toInteger(), 41);
    EXPECT_EQ(report["failures"].toInteger(), 20);
    EXPECT_EQ(report["errors"].toInteger(), 0) << r.Output;
    EXPECT_EQ(report["missed"].toInteger(), 0);
    EXPECT_EQ(report["workers"].toInteger(), std::stoi(run[1]));
  }
}

class CliLoadDb : public CliLoad, public ::testing::WithParamInterface<std::string> {};

TEST_P(CliLoadDb, CountsEveryAnswerExactly) {
  // bruno is not active: the flow answers the success message for him.
  const std::string accounts =
      Accounts({{"ana", "ana-pw"}, {"ana", "not-anas"}, {"bruno", "bruno-pw"}, {"nobody", "x-pw"}});
  const ProcessResult r = Load(
      {"db", "--accounts", accounts, "--attempts", "42", "--workers", "3", "--interval", "0.2"},
      Db(GetParam()));
  EXPECT_EQ(r.ExitCode, 0) << r.Error << r.Output;
  EXPECT_EQ(Field(r.Output, "attempts"), 42) << r.Output;
  EXPECT_EQ(Field(r.Output, "successes"), 11 + 10) << r.Output;
  EXPECT_EQ(Field(r.Output, "failures"), 11 + 10) << r.Output;
  EXPECT_EQ(Field(r.Output, "errors"), 0) << r.Output;
  EXPECT_NE(r.Output.find("latency ms  p50 "), std::string::npos) << r.Output;
}

// The database is stopped a second and a half into the run and started again
// a second and a half later: the attempts in between are errors, the run
// keeps its schedule to the end, and the workers connect again.
TEST_P(CliLoadDb, StoppedServerCountsAsErrorsAndTheRunGoesOn) {
  const std::string accounts = Accounts({{"ana", "ana-pw"}, {"ana", "not-anas"}});
  testsupport::TChildProcess load(
      {CLAVIRA_CLI, "load", "db", "--accounts", accounts, "--rate", "25", "--duration", "8",
       "--workers", "2", "--interval", "1", "--json"},
      "", Db(GetParam()));
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  World().StopDatabase();
  struct Restart {
    ~Restart() { World().StartDatabase(); }
  } restart;
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  World().StartDatabase();
  const ProcessResult r = load.Wait();
  EXPECT_EQ(r.ExitCode, 1) << r.Error;
  const QJsonObject report = Report(r.Output);
  const qint64 attempts = report["attempts"].toInteger();
  EXPECT_EQ(attempts + report["missed"].toInteger(), 200) << r.Output;
  EXPECT_GT(report["errors"].toInteger(), 0) << r.Output;
  // No wrong answer: the right password (even attempts) never failed, the
  // wrong one never succeeded.
  EXPECT_LE(report["successes"].toInteger(), (attempts + 1) / 2) << r.Output;
  EXPECT_LE(report["failures"].toInteger(), attempts / 2) << r.Output;
  EXPECT_GE(report["seconds"].toDouble(), 7.9);
  // The last second's line: answered again after the restart.
  const std::string last = r.Error.substr(r.Error.rfind("\n[", r.Error.size() - 2) + 1);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(last, m, std::regex("successes ([0-9]+).*errors ([0-9]+)")))
      << r.Error;
  EXPECT_GT(std::stoi(m[1]), 0) << r.Error;
  EXPECT_EQ(std::stoi(m[2]), 0) << r.Error;
}

// Directory users of the login flow: a wrong password is a failure, a
// directory that is gone is an error, though the flow answers both with
// "autenticacion fallida".
TEST_P(CliLoadDb, DirectoryUsersTellRefusalFromAServerGone) {
  auto server = std::make_unique<testsupport::SlapdServer>();
  World().SetSettings(4, LoginWorld::Quote(server->HostPort()),
                      "'uid={0},ou=people,dc=clavira,dc=test'", "4");
  const std::string accounts = Accounts({{"alice", "alice-secret"}, {"alice", "not-alices"}});
  const std::vector<std::string> args = {"db",     "--settings", "4",  "--accounts",
                                         accounts, "--attempts", "10", "--workers",
                                         "2",      "--json"};
  ProcessResult r = Load(args, Db(GetParam()));
  QJsonObject report = Report(r.Output);
  EXPECT_EQ(report["successes"].toInteger(), 5) << r.Output;
  EXPECT_EQ(report["failures"].toInteger(), 5) << r.Output;
  EXPECT_EQ(report["errors"].toInteger(), 0) << r.Output;
  server.reset();
  r = Load(args, Db(GetParam()));
  report = Report(r.Output);
  EXPECT_EQ(r.ExitCode, 1) << r.Error;
  EXPECT_EQ(report["successes"].toInteger(), 0) << r.Output;
  EXPECT_EQ(report["failures"].toInteger(), 0) << r.Output;
  EXPECT_EQ(report["errors"].toInteger(), 10) << r.Output;
  EXPECT_NE(r.Output.find("the directory refused: bind: Can't contact LDAP server"),
            std::string::npos)
      << r.Output;
}

INSTANTIATE_TEST_SUITE_P(Engines, CliLoadDb, ::testing::ValuesIn(LoginWorld::Engines()),
                         [](const auto& info) { return info.param; });

TEST_F(CliLoad, StoppedDirectoryCountsAsErrorsAndTheRunGoesOn) {
  auto server = std::make_unique<testsupport::SlapdServer>();
  const std::string accounts = Accounts({{server->UserDn("alice"), "alice-secret"}});
  testsupport::TChildProcess load({CLAVIRA_CLI, "load", "directory", "--path", server->HostPort(),
                                   "--accounts", accounts, "--rate", "40", "--duration", "3",
                                   "--workers", "2"});
  std::this_thread::sleep_for(std::chrono::seconds(1));
  server.reset();
  const ProcessResult r = load.Wait();
  EXPECT_EQ(r.ExitCode, 1) << r.Error;
  EXPECT_EQ(Field(r.Output, "attempts") + Field(r.Output, "missed"), 120) << r.Output;
  EXPECT_GT(Field(r.Output, "successes"), 5) << r.Output;
  EXPECT_EQ(Field(r.Output, "failures"), 0) << r.Output;
  EXPECT_GT(Field(r.Output, "errors"), 20) << r.Output;
  EXPECT_NE(r.Output.find("Can't contact LDAP server (-1)"), std::string::npos) << r.Output;
}

TEST_F(CliLoad, OsCountsEveryAnswerExactly) {
  testsupport::PamStack stack({{"alice", "alice-pam", ""}, {"carol", "carol-pam", ""}});
  const std::string accounts = Accounts(
      {{"alice", "alice-pam"}, {"carol", "wrong"}, {"nobody", "x"}, {"carol", "carol-pam"}});
  const ProcessResult r =
      Load({"os", "--accounts", accounts, "--attempts", "40", "--workers", "2", "--json"},
           stack.Environment());
  EXPECT_EQ(r.ExitCode, 0) << r.Error;
  const QJsonObject report = Report(r.Output);
  EXPECT_EQ(report["successes"].toInteger(), 20) << r.Output;
  EXPECT_EQ(report["failures"].toInteger(), 20) << r.Output;
  EXPECT_EQ(report["errors"].toInteger(), 0) << r.Output;
}

// Ctrl-C reaches the whole process group, workers included, as a terminal
// sends it: the report of the attempts so far, every one of them answered.
TEST_F(CliLoad, CtrlCGivesTheReportSoFar) {
  const std::string accounts = Accounts({{World().Directory().UserDn("bob"), "bob-secret"},
                                         {World().Directory().UserDn("bob"), "not-bobs"}});
  for (const bool json : {false, true}) {
    SCOPED_TRACE(json ? "json" : "text");
    std::vector<std::string> args = {
        "setsid",     CLAVIRA_CLI, "load",   "directory", "--path",    World().DirectoryPath(),
        "--accounts", accounts,    "--rate", "50",        "--workers", "3"};
    if (json) args.push_back("--json");
    testsupport::TChildProcess load(args);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_EQ(kill(-load.Pid(), SIGINT), 0);  // setsid made it a group leader
    const ProcessResult r = load.Wait();
    EXPECT_EQ(r.ExitCode, 0) << r.Error;
    long long attempts, successes, failures;
    if (json) {
      const QJsonObject report = Report(r.Output);
      EXPECT_TRUE(report["interrupted"].toBool());
      attempts = report["attempts"].toInteger();
      successes = report["successes"].toInteger();
      failures = report["failures"].toInteger();
    } else {
      EXPECT_NE(r.Output.find("interrupted"), std::string::npos) << r.Output;
      attempts = Field(r.Output, "attempts");
      successes = Field(r.Output, "successes");
      failures = Field(r.Output, "failures");
      EXPECT_EQ(Field(r.Output, "errors"), 0) << r.Output;
    }
    EXPECT_GT(attempts, 5) << r.Output;
    EXPECT_LT(attempts, 150) << r.Output;
    EXPECT_EQ(successes + failures, attempts) << r.Output;
    EXPECT_EQ(successes, (attempts + 1) / 2) << r.Output;
  }
}

TEST_F(CliLoad, PasswordsAppearInNoOutput) {
  const std::string right = "alice-secret", wrong = "Wrong-Secret-7";
  const std::string accounts = Accounts(
      {{World().Directory().UserDn("alice"), right}, {World().Directory().UserDn("alice"), wrong}});
  const std::vector<std::vector<std::string>> runs = {
      {"--path", World().DirectoryPath(), "--verbose", "--interval", "0.1"},
      {"--path", World().DirectoryPath(), "--verbose", "--json", "--interval", "0.1"},
      {"--path", "127.0.0.1:1", "--verbose"},                            // every attempt an error
      {"--path", World().DirectoryPath(), "--security", "2", "--json"},  // no TLS here: errors
  };
  for (const auto& run : runs) {
    std::vector<std::string> args = {"directory", "--accounts", accounts, "--attempts", "20"};
    args.insert(args.end(), run.begin(), run.end());
    const ProcessResult r = Load(args);
    SCOPED_TRACE(run[1] + " " + run[2]);
    EXPECT_NE(r.ExitCode, 2) << r.Error;
    EXPECT_NE(r.Output.find("20"), std::string::npos) << r.Output;
    for (const std::string& secret : {right, wrong}) {
      EXPECT_EQ(r.Output.find(secret), std::string::npos) << r.Output;
      EXPECT_EQ(r.Error.find(secret), std::string::npos) << r.Error;
    }
  }
}

// A wrong command line or accounts file is refused at once, with a reason that
// names the line of the file but never its text.
TEST_F(CliLoad, BadInputIsRefusedWithoutShowingIt) {
  const std::string good = Accounts({{"alice", "alice-pw"}});
  const std::string lonely = FDir + "/lonely";
  std::ofstream(lonely) << "alice\talice-pw\nLonely-Secret-3\n";
  const std::string fifo = FDir + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string path = World().DirectoryPath();
  struct Case {
    std::vector<std::string> Args;
    std::string Said;
  } cases[] = {
      {{"directory", "--path", path, "--accounts", lonely}, "line 2 "},
      {{"directory", "--path", path, "--accounts", fifo}, "not a regular file"},
      {{"directory", "--path", path, "--accounts", FDir}, "not a regular file"},
      {{"directory", "--path", path, "--accounts", FDir + "/none"}, "does not exist"},
      {{"directory", "--path", path, "--accounts", good, "--account", "x"}, "not both"},
      {{"directory", "--path", path, "--accounts", good, "--rate", "0"}, "--rate"},
      {{"directory", "--path", path, "--accounts", good, "--workers", "two"}, "--workers"},
      {{"directory", "--path", path, "--accounts", good, "--attempts", "-5"}, "--attempts"},
      {{"directory", "--path", path, "--accounts", good, "--settings", "2"}, "--settings"},
      {{"directory", "--path", path, "--accounts", good, "--interval", "0.001"}, "--interval"},
      {{"directory", "--accounts", good}, "missing --path"},
      {{"ldap", "--accounts", good}, "unknown check"},
      {{}, "which check"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Said);
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult r = Load(c.Args);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(r.ExitCode, 2) << r.Error;
    EXPECT_EQ(r.Output, "");
    EXPECT_NE(r.Error.find(c.Said), std::string::npos) << r.Error;
    EXPECT_EQ(r.Error.find("Secret"), std::string::npos) << r.Error;
    EXPECT_EQ(r.Error.find("alice-pw"), std::string::npos) << r.Error;
  }
}

}  // namespace
