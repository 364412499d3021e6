// clavira-cli db and encrypt, run as the real program against a real
// PostgreSQL and slapd.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "db/Vesquin.h"
#include "testsupport/LoginWorld.h"
#include "testsupport/Process.h"
#include "testsupport/SilentListener.h"

namespace {

using testsupport::LoginWorld;
using testsupport::RunProcess;

LoginWorld& World() {
  return testsupport::SharedTestWorld();
}

class CliDb : public ::testing::TestWithParam<std::string> {
 protected:
  std::vector<std::string> Env() const {
    return {"VESQUIN_ENGINE=" + GetParam(),
            "VESQUIN_CONNECTION=" + World().ConnectionString(GetParam())};
  }
};

TEST_P(CliDb, AnswersAsTheWindowWithTheCode) {
  struct Case {
    std::vector<std::string> Args;
    std::string Password;
    int Exit;
    std::string Out;
  } cases[] = {
      {{"--name", "ana"}, "ana-pw", 0, "autenticado con exito\nResultCode=1\n"},
      {{"--name", "ana"}, "wrong", 1, "autenticacion fallida\nResultCode=3\n"},
      {{"--name", "bruno", "--settings", "2"},
       "bruno-pw",
       0,
       "autenticado con exito\nResultCode=2\n"},
      {{"--name", "nobody"}, "x", 1, "autenticacion fallida\nResultCode=3\n"},
      {{"--name", "alice", "--settings", "3"},
       "alice-secret",
       0,
       "autenticado con exito\nResultCode=1\n"},
      {{"--name", "alice", "--settings", "$3"},
       "wrong",
       1,
       "autenticacion fallida\nResultCode=3\n"},
      {{"--name", "ana", "--settings", "two"}, "ana-pw", 2, ""},
      {{"--settings", "2"}, "ana-pw", 2, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {CLAVIRA_CLI, "db", "--password-stdin"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    const auto r = RunProcess(args, c.Password + "\n", Env());
    SCOPED_TRACE(args[4] + " " + c.Password + ": " + r.Error);
    EXPECT_EQ(r.ExitCode, c.Exit);
    EXPECT_EQ(r.Output, c.Out);
    EXPECT_EQ(r.Error.find(c.Password), std::string::npos);
  }
}

TEST_P(CliDb, FailedConnectionIsAnError) {
  std::vector<std::string> env = {"VESQUIN_ENGINE=" + GetParam(),
                                  "VESQUIN_CONNECTION=" + World().ConnectionString(GetParam())};
  const std::string secret = "clavira-db-secret";
  env[1].replace(env[1].find(secret), secret.size(), "not-the-password");
  const auto r = RunProcess({CLAVIRA_CLI, "db", "--name", "ana", "--password", "ana-pw"}, "", env);
  EXPECT_EQ(r.ExitCode, 3);
  EXPECT_EQ(r.Output, "");
  EXPECT_FALSE(r.Error.empty());
  EXPECT_EQ(r.Error.find("not-the-password"), std::string::npos) << r.Error;
}

// A server that takes the connection and never answers: connecting ends
// within its time-out, as an error.
TEST_P(CliDb, SilentServerEndsWithinTheConnectTimeOut) {
  testsupport::TSilentListener silent;
  std::string connection = World().ConnectionString(GetParam());
  const size_t host = connection.find("127.0.0.1");
  ASSERT_NE(host, std::string::npos) << connection;
  const size_t digits = host + 10, end = connection.find_first_not_of("0123456789", digits);
  connection.replace(digits, end - digits, std::to_string(silent.Port()));
  const auto start = std::chrono::steady_clock::now();
  const auto r = RunProcess({CLAVIRA_CLI, "db", "--name", "ana", "--password", "ana-pw"}, "",
                            {"VESQUIN_ENGINE=" + GetParam(), "VESQUIN_CONNECTION=" + connection,
                             "CLAVIRA_ODBC_CONNECT_TIMEOUT=2"});
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(r.ExitCode, 3) << r.Error;
  EXPECT_LT(seconds, 6.0) << r.Error;
  EXPECT_NE(r.Error.find("timeout"), std::string::npos) << r.Error;
}

// --verbose says what the attempt did and why it failed, never the password.
TEST_P(CliDb, VerboseTellsTheModeAndWhy) {
  struct Case {
    std::string Name, Settings, Password;
    std::vector<std::string> Said;
  } cases[] = {
      {"ana",
       "2",
       "not-anas-pw",
       {"settings 2: PATH, USER_STRING and SECURITY null", "mode: database",
        "why: the database found no user with that name and password"}},
      {"ana", "99", "ana-pw", {"settings 99: no row", "mode: database"}},
      {"alice",
       "3",
       "not-alices-pw",
       {"settings 3: PATH \"" + World().DirectoryPath() + "\"",
        "mode: directory: account \"uid=alice,ou=people,dc=clavira,dc=test\"",
        "why: the directory refused: bind: Invalid credentials (49)"}},
      {"alice",
       "3",
       std::string(1 << 20, 'p'),
       {"mode: directory", "the password is longer than 4096 bytes"}},
      {"nobody", "3", "some-pw", {"why: the database knows no user of that name"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name + " settings " + c.Settings);
    const auto r = RunProcess({CLAVIRA_CLI, "db", "--password-stdin", "--verbose", "--name", c.Name,
                               "--settings", c.Settings},
                              c.Password + "\n", Env());
    for (const std::string& said : c.Said)
      EXPECT_NE(r.Error.find(said), std::string::npos) << r.Error.substr(0, 500);
    EXPECT_EQ(r.Error.find(c.Password.substr(0, 64)), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, CliDb, ::testing::ValuesIn(LoginWorld::Engines()),
                         [](const auto& info) { return info.param; });

TEST(CliEncrypt, PrintsWhatTheDatabaseStores) {
  World();  // the key
  for (const std::string& text : {std::string("ana-pw"), std::string(""), std::string("a b;c")}) {
    const auto r = RunProcess({CLAVIRA_CLI, "encrypt"}, text + "\nsecond line\n");
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Output, db::EncryptDB(text) + "\n");
    EXPECT_EQ(r.Output.size(), 65u);  // 64 hex digits
  }
}

// Nothing configured and misconfigured are told apart, and a configuration
// file that cannot be read is an error, never a wait or an empty result.
class CliConfiguration : public ::testing::Test {
 protected:
  void SetUp() override {
    World();  // the ODBC environment and the key
    FDir = testsupport::MakeTempDir("clavira-conf");
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }
  std::string Write(const std::string& Name, const std::string& Text) {
    std::ofstream(FDir + "/" + Name, std::ios::binary) << Text;
    return FDir + "/" + Name;
  }
  // The settings come from VESQUIN_CONFIG=Config alone (or from nothing).
  std::vector<std::string> Env(const std::string& Config) const {
    return {"VESQUIN_ENGINE=",  "VESQUIN_CONNECTION=", "VESQUIN_KEY=",
            "XDG_CONFIG_HOME=", "HOME=" + FDir,        "VESQUIN_CONFIG=" + Config};
  }
  std::string FDir;
};

TEST_F(CliConfiguration, DbNamesWhatIsWrong) {
  const std::string connection = "connection = " + World().ConnectionString("SQL") + "\n";
  const std::string fifo = FDir + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  struct Case {
    const char* Name;
    std::string Config;
    int Exit;
    std::string Said;  // on standard error, or the first line of output
  } cases[] = {
      {"NothingAtAll", "", 3, "No database configured: VESQUIN_ENGINE is not set"},
      {"MissingFile", FDir + "/missing.conf", 3,
       "\"" + FDir + "/missing.conf\" named by VESQUIN_CONFIG does not exist"},
      {"Directory", FDir, 3, "cannot be read: not a regular file"},
      {"Fifo", fifo, 3, "\"" + fifo + "\" cannot be read: not a regular file"},
      {"Device", "/dev/zero", 3, "cannot be read: not a regular file"},
      {"Garbage", Write("garbage.conf", "this is no setting\n" + connection + "engin = SQL\n"), 3,
       "lines 1 and 3 could not be read"},
      {"LowerCaseEngine", Write("lower.conf", "engine = sql\n" + connection), 3,
       "Unknown database engine \"sql\" (in the configuration file"},
      {"OtherEngine", Write("other.conf", "engine = DB2\n" + connection), 3,
       "Unknown database engine \"DB2\""},
      {"ByteOrderMark",
       Write("bom.conf",
             "\xEF\xBB\xBF"
             "engine = SQL\nkey = clavira-test-key\n" +
                 connection),
       0, "autenticado con exito"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto start = std::chrono::steady_clock::now();
    const auto r = RunProcess({CLAVIRA_CLI, "db", "--name", "ana", "--password-stdin"}, "ana-pw\n",
                              Env(c.Config));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(r.ExitCode, c.Exit) << r.Error;
    const std::string& shown = c.Exit == 0 ? r.Output : r.Error;
    EXPECT_NE(shown.find(c.Said), std::string::npos) << shown;
    EXPECT_EQ(r.Error.find("clavira-db-secret"), std::string::npos) << r.Error;
  }
}

TEST_F(CliConfiguration, EncryptFailsOnAConfigurationItCannotRead) {
  const std::string fifo = FDir + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& config : {fifo, std::string("/dev/zero"), FDir}) {
    SCOPED_TRACE(config);
    const auto r = RunProcess({CLAVIRA_CLI, "encrypt"}, "ana-pw\n", Env(config));
    EXPECT_EQ(r.ExitCode, 3);
    EXPECT_EQ(r.Output, "");
    EXPECT_NE(r.Error.find("cannot be read"), std::string::npos) << r.Error;
  }
  // A readable file with a key is used as before.
  const auto r = RunProcess({CLAVIRA_CLI, "encrypt"}, "ana-pw\n",
                            Env(Write("key.conf", "key = clavira-test-key\n")));
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Output, db::EncryptDB("ana-pw") + "\n");
}

}  // namespace
