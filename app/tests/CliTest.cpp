// clavira-cli as scripts use it: the real program against a private slapd and
// a pam_wrapper stack.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "testsupport/PamStack.h"
#include "testsupport/Process.h"
#include "testsupport/SilentListener.h"
#include "testsupport/SlapdServer.h"

namespace {

using testsupport::ProcessResult;
using testsupport::RunProcess;

testsupport::SlapdServer& Server() {
  static auto server =
      std::make_unique<testsupport::SlapdServer>(testsupport::SlapdOptions{.Tls = true});
  return *server;
}

// The TLS CA is trusted through the library's usual variable.
ProcessResult Cli(std::vector<std::string> Args, const std::string& Input = "",
                  std::vector<std::string> Env = {}) {
  Args.insert(Args.begin(), CLAVIRA_CLI);
  Env.insert(Env.begin(), "LDAPTLS_CACERT=" + Server().CaFile());
  return RunProcess(Args, Input, Env);
}

std::string FirstLine(const std::string& Text) {
  return Text.substr(0, Text.find('\n'));
}

std::vector<std::string> Directory(const std::string& Uid, const std::string& Security) {
  return {"directory",  "--account", Server().UserDn(Uid), "--path", Server().HostPort(),
          "--security", Security};
}

TEST(CliDirectory, AnswersWithTheWindowsMessageAndStatus) {
  struct Case {
    const char* Uid;
    const char* Password;
    const char* Security;
    const char* Message;
    int Status;
  };
  const Case cases[] = {
      {"alice", "alice-secret", "0", "autenticado con exito", 0},
      {"alice", "wrong", "0", "autenticacion fallida", 1},
      {"alice", "", "0", "autenticacion fallida", 1},
      {"bob", "bob-secret", "2", "autenticado con exito", 0},
      {"alice", "alice-secret", "3", "autenticacion fallida", 1},
      {"alice", "wrong", "10", "autenticado con exito", 0},
      {"alice", "alice-secret", "$14", "autenticado con exito", 0},
      {"alice", "alice-secret", "0x10", "autenticacion fallida", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Uid) + " / " + c.Security);
    std::vector<std::string> args = Directory(c.Uid, c.Security);
    args.push_back("--password-stdin");
    ProcessResult r = Cli(args, std::string(c.Password) + "\n");
    EXPECT_EQ(FirstLine(r.Output), c.Message);
    EXPECT_EQ(r.ExitCode, c.Status) << r.Error;
  }
}

TEST(CliDirectory, PasswordOptionAndDefaultSecurity) {
  ProcessResult r = Cli({"directory", "--account", Server().UserDn("bob"), "--path",
                         Server().HostPort(), "--password", "bob-secret"});
  EXPECT_EQ(r.Output, "autenticado con exito\n");
  EXPECT_EQ(r.ExitCode, 0);
}

TEST(CliDirectory, VerboseSaysWhyButNeverThePassword) {
  auto args = Directory("alice", "0");
  args.insert(args.end(), {"--password-stdin", "--verbose"});
  ProcessResult r = Cli(args, "not-her-password\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Error.find("Invalid credentials (49)"), std::string::npos) << r.Error;
  EXPECT_EQ(r.Error.find("not-her-password"), std::string::npos);
  EXPECT_EQ(r.Output.find("not-her-password"), std::string::npos);

  // Without the CA the certificate cannot be verified, and nothing is sent.
  args = Directory("alice", "2");
  args.insert(args.end(), {"--password-stdin", "--verbose"});
  r = RunProcess(
      [&] {
        args.insert(args.begin(), CLAVIRA_CLI);
        return args;
      }(),
      "alice-secret\n", {"LDAPTLS_CACERT=", "LDAPTLS_CACERTDIR="});
  EXPECT_EQ(FirstLine(r.Output), "autenticacion fallida");
  EXPECT_NE(r.Error.find("StartTLS"), std::string::npos) << r.Error;
}

TEST(CliDirectory, NonIntegerSecurityIsAnError) {
  for (const char* text : {"abc", "", "1.5"}) {
    auto args = Directory("alice", text);
    args.push_back("--password-stdin");
    ProcessResult r = Cli(args, "alice-secret\n");
    EXPECT_EQ(r.ExitCode, 3) << text;
    EXPECT_EQ(r.Output, "") << text;
    EXPECT_EQ(r.Error, "'" + std::string(text) + "' is not a valid integer value\n");
  }
}

TEST(CliDirectory, EmptyPathUsesTheConfiguredDefaultServer) {
  ProcessResult r =
      Cli({"directory", "--account", Server().UserDn("alice"), "--path", "", "--password-stdin"},
          "alice-secret\n", {"LDAPURI=ldap://" + Server().HostPort()});
  EXPECT_EQ(r.Output, "autenticado con exito\n");
  EXPECT_EQ(r.ExitCode, 0) << r.Error;
}

TEST(CliDirectory, UnansweredServerEndsWithinTheTimeOut) {
  // A slapd stopped with SIGSTOP accepts connections (the kernel does) but never answers.
  testsupport::SlapdServer frozen;
  ASSERT_EQ(RunProcess({"sh", "-c", "kill -STOP $(cat " + frozen.Dir() + "/slapd.pid)"}).ExitCode,
            0);
  auto start = std::chrono::steady_clock::now();
  ProcessResult r = Cli({"directory", "--account", frozen.UserDn("alice"), "--path",
                         frozen.HostPort(), "--password-stdin", "--verbose"},
                        "alice-secret\n", {"CLAVIRA_LDAP_TIMEOUT=1"});
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  RunProcess({"sh", "-c", "kill -CONT $(cat " + frozen.Dir() + "/slapd.pid)"});
  EXPECT_EQ(r.Output, "autenticacion fallida\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_LT(seconds, 5.0) << r.Error;
}

TEST(CliDirectory, PromptsOnATerminalWithoutEcho) {
  // script(1) gives the program a terminal; the password is typed after the prompt.
  const std::string command = std::string(CLAVIRA_CLI) + " directory --account " +
                              Server().UserDn("alice") + " --path " + Server().HostPort();
  ProcessResult r = RunProcess(
      {"sh", "-c", "(sleep 1; echo alice-secret) | script -qec \"$0\" /dev/null", command});
  EXPECT_NE(r.Output.find("Password: "), std::string::npos) << r.Output;
  EXPECT_NE(r.Output.find("autenticado con exito"), std::string::npos) << r.Output;
  EXPECT_EQ(r.Output.find("alice-secret"), std::string::npos) << "the password was echoed";
}

TEST(CliUsage, WrongCommandLinesGiveStatus2) {
  const std::string account = Server().UserDn("alice");
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"nosuch"},
      {"directory", "--path", "x", "--password", "p"},                   // no account
      {"directory", "--account", account, "--password", "p"},            // no path
      {"directory", "--account", account, "--path", "x", "--bogus"},     // unknown option
      {"directory", "--account", account, "--path", "x", "stray"},       // positional
      {"directory", "--account", account, "--path", "x", "--password"},  // missing value
      {"directory", "--account", account, "--path", "x", "--password", "p", "--password-stdin"},
      {"directory", "--account", account, "--path", "x"},  // no password, no terminal
      {"os", "--password", "p"},                           // no name
  };
  for (const auto& args : wrong) {
    ProcessResult r = Cli(args, "alice-secret\n");
    std::string shown;
    for (const auto& a : args) shown += a + " ";
    EXPECT_EQ(r.ExitCode, 2) << shown;
    EXPECT_EQ(r.Output, "") << shown;
    EXPECT_NE(r.Error, "") << shown;
  }
}

// A mistyped password option ("--password= TEXT") leaves the password as an
// argument of its own: no message names it.
TEST(CliUsage, ArgumentAfterAPasswordOptionIsNeverShown) {
  const std::string secret = "typo-Secret-17";
  const std::vector<std::vector<std::string>> typos = {
      {"--password=", secret}, {"--password=", "--" + secret}, {"--password", "p", secret}};
  for (const auto& typo : typos) {
    std::vector<std::string> args = Directory("alice", "0");
    args.insert(args.end(), typo.begin(), typo.end());
    SCOPED_TRACE(typo[0] + " " + typo[1]);
    ProcessResult r = Cli(args);
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_NE(r.Error.find("after --password"), std::string::npos) << r.Error;
    EXPECT_EQ(r.Error.find("Secret"), std::string::npos) << r.Error;
  }
  // The process list is checked where a password is held (CliPassword): a
  // refused command line exits at once, so a look at its list could only
  // catch the moment before the program wipes its arguments.
}

// The answer is the output: when it cannot be written the attempt is an
// error (status 3, the reason on standard error), never a success.
TEST(CliOutput, FailedWriteOfTheAnswerIsAnError) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> commands = {
      {{"encrypt"}, "pw\n"},
      {{"--help"}, ""},
      {Directory("alice", "0"), "alice-secret\n"},
      {Directory("alice", "0"), "wrong\n"},
  };
  for (auto [args, input] : commands) {
    SCOPED_TRACE(args[0] + " " + input);
    if (args[0] == "directory") args.push_back("--password-stdin");
    args.insert(args.begin(), {"sh", "-c", "exec \"$0\" \"$@\" > /dev/full", CLAVIRA_CLI});
    ProcessResult r =
        RunProcess(args, input, {"LDAPTLS_CACERT=" + Server().CaFile(), "VESQUIN_KEY=k"});
    EXPECT_EQ(r.ExitCode, 3) << r.Error;
    EXPECT_NE(r.Error.find("cannot write the output"), std::string::npos) << r.Error;
    EXPECT_EQ(r.Error.find("secret"), std::string::npos) << r.Error;
  }
}

TEST(CliUsage, HelpListsTheSubcommands) {
  ProcessResult r = Cli({"--help"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_NE(r.Output.find("directory"), std::string::npos);
  EXPECT_NE(r.Output.find("os"), std::string::npos);
  r = Cli({"directory", "--help"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_NE(r.Output.find("--security"), std::string::npos);
  // Every way to give a password warns about the process list.
  for (const char* help : {"--help", "directory", "os", "db"}) {
    r = std::string(help) == "--help" ? Cli({"--help"}) : Cli({help, "--help"});
    EXPECT_NE(r.Output.find("process"), std::string::npos) << help;
    EXPECT_NE(r.Output.find("--password-stdin"), std::string::npos) << help;
  }
}

// --password TEXT is read once and then overwritten in the process's own
// argument vector, which is what the process list shows.
TEST(CliPassword, PasswordOptionLeavesTheProcessList) {
  const std::string secret = "visible-Secret-42";
  const std::vector<std::vector<std::string>> forms = {{"--password", secret},
                                                       {"--password=" + secret}};
  for (const auto& form : forms) {
    SCOPED_TRACE(form[0]);
    // A server that never answers holds the attempt while the list is read.
    testsupport::TSilentListener silent;
    std::vector<std::string> args = {CLAVIRA_CLI,      "directory", "--account",
                                     "uid=alice,dc=x", "--path",    silent.HostPort()};
    args.insert(args.end(), form.begin(), form.end());
    testsupport::TChildProcess cli(args, "", {"CLAVIRA_LDAP_TIMEOUT=3"});
    ASSERT_TRUE(silent.WaitForConnection(std::chrono::seconds(20)));
    std::ifstream listed("/proc/" + std::to_string(cli.Pid()) + "/cmdline", std::ios::binary);
    const std::string cmdline{std::istreambuf_iterator<char>(listed), {}};
    EXPECT_NE(cmdline.find("--password"), std::string::npos);
    EXPECT_EQ(cmdline.find("Secret"), std::string::npos);
    EXPECT_EQ(cli.Wait().Output, "autenticacion fallida\n");
  }
}

// A crash while the password is held writes no core file: the program makes
// itself non-dumpable before it reads its arguments. A shell crashed the same
// way shows that core files are written here at all.
TEST(CliPassword, CrashWritesNoCoreFile) {
  const std::string dir = testsupport::MakeTempDir("clavira-core");
  auto crashed = [&](const std::string& Command) {
    const std::string script = "ulimit -c unlimited; cd '" + dir + "'; " + Command +
                               " & pid=$!; sleep 1; kill -SEGV $pid; wait $pid; "
                               "ls " +
                               dir + " | grep -c core; true";
    return RunProcess({"sh", "-c", script}).Output;
  };
  if (crashed("sleep 30") == "0\n") {
    std::filesystem::remove_all(dir);
    GTEST_SKIP() << "this machine writes no core files";
  }
  std::filesystem::remove_all(dir);
  std::filesystem::create_directory(dir);
  testsupport::TSilentListener silent;
  EXPECT_EQ(crashed(std::string("CLAVIRA_LDAP_TIMEOUT=20 ") + CLAVIRA_CLI +
                    " directory --account uid=a,dc=x --path " + silent.HostPort() +
                    " --password core-Secret-9"),
            "0\n");
  std::filesystem::remove_all(dir);
}

TEST(CliOs, ChecksThroughPam) {
  testsupport::PamStack stack({{"alice", "alice-secret", ""}, {"carol@example", "c-pw", ""}});
  auto os = [&](std::vector<std::string> args, const std::string& password) {
    args.insert(args.begin(), {CLAVIRA_CLI, "os"});
    args.push_back("--password-stdin");
    return RunProcess(args, password + "\n", stack.Environment());
  };
  ProcessResult r = os({"--name", "alice"}, "alice-secret");
  EXPECT_EQ(r.Output, "Exitoso\n");
  EXPECT_EQ(r.ExitCode, 0) << r.Error;
  r = os({"--name", "carol", "--domain", "example"}, "c-pw");
  EXPECT_EQ(r.Output, "Exitoso\n");
  // A NUL byte in the line read: PAM would see only the text before it.
  r = os({"--name", "alice", "--verbose"}, std::string("alice-secret\0typed on", 21));
  EXPECT_EQ(r.Output, "Fallido\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Error.find("NUL byte"), std::string::npos) << r.Error;
  r = os({"--name", "alice", "--verbose"}, "wrong-pw");
  EXPECT_EQ(r.Output, "Fallido\n");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Error.find("pam_authenticate"), std::string::npos) << r.Error;
  EXPECT_EQ(r.Error.find("wrong-pw"), std::string::npos);
}

}  // namespace
