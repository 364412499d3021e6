// clavira-cli db and encrypt, run as the real program against a real
// PostgreSQL and slapd.
#include <gtest/gtest.h>

#include "db/Vesquin.h"
#include "testsupport/LoginWorld.h"
#include "testsupport/Process.h"

namespace {

using testsupport::LoginWorld;
using testsupport::RunProcess;

const std::string kData = std::string(CLAVIRA_SOURCE_DIR) + "/login/tests/data/";

LoginWorld& World() {
  static std::unique_ptr<LoginWorld> world = [] {
    testsupport::LoginWorldOptions options;
    options.SqlFiles = {kData + "users.sql"};
    options.LdifFile = kData + "people.ldif";
    auto w = std::make_unique<LoginWorld>(options);
    w->SetPassword("ana", "ana-pw");
    w->SetPassword("bruno", "bruno-pw");
    w->SetSettings(3, LoginWorld::Quote(w->DirectoryPath()),
                   "'uid={0},ou=people,dc=clavira,dc=test'", "4");
    return w;
  }();
  return *world;
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

}  // namespace
