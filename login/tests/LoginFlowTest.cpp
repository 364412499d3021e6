// The authentication flow end to end: a real PostgreSQL holding the reference
// database (both engines' procedure shapes, through the PostgreSQL ODBC
// driver) and a real slapd holding the directory users.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "db/DBManagerClass.h"
#include "db/Errors.h"
#include "login/SecuritySettings.h"
#include "login/ULoginVelkor.h"
#include "testsupport/LoginWorld.h"
#include "testsupport/Process.h"
#include "testsupport/SlapdServer.h"
#include "users/UCatalogueUsers.h"

namespace login {
namespace {

using testsupport::LoginWorld;

// Settings records of the directory cases; "{dir}" is the slapd's host:port.
struct SettingsRow {
  int Id;
  const char* Path;  // nullptr: null
  const char* UserString;
  std::optional<int> Security;
};
const SettingsRow kSettings[] = {
    {3, "{dir}", "uid={0},ou=people,dc=clavira,dc=test", 4},
    {4, "{dir}", "uid={0},ou={0},ou=people,dc=clavira,dc=test", 20},
    {5, "{dir}", "uid=alice,ou=people,dc=clavira,dc=test", 4},
    {6, nullptr, nullptr, 4},
    {7, nullptr, nullptr, -1},
    {8, "{dir}", "uid={0},ou=people,dc=clavira,dc=test", 10},
    {9, "{dir}", "uid={0},ou=people,dc=clavira,dc=test", 3},
    {10, "{dir}", "uid={0},ou=people,dc=clavira,dc=test", 0},
};

// One world per test program; its servers stop at exit.
LoginWorld& World() {
  static std::unique_ptr<LoginWorld> world = [] {
    auto w = testsupport::MakeTestWorld();
    // "ghost" authenticates but has no record in the catalogue.
    w->Sql(
        "ALTER FUNCTION clavira_users(varchar, varchar, integer, integer) "
        "RENAME TO clavira_users_all;"
        "CREATE FUNCTION clavira_users(a varchar, b varchar, c integer, d integer) "
        "RETURNS SETOF clavira_user_row LANGUAGE sql AS "
        "$$ SELECT * FROM clavira_users_all(a, b, c, d) WHERE \"CodUsuario\" <> 17 $$;");
    for (const SettingsRow& row : kSettings) {
      auto text = [&](const char* v) -> std::string {
        if (!v) return "NULL";
        std::string s = v;
        if (s == "{dir}") s = w->DirectoryPath();
        return LoginWorld::Quote(s);
      };
      w->SetSettings(row.Id, text(row.Path), text(row.UserString),
                     row.Security ? std::to_string(*row.Security) : "NULL");
    }
    return w;
  }();
  return *world;
}

// Drops every object that refers to the current connection.
void ReleaseConnection() {
  LoginState().ReleaseCurrent();
  users::UsersCatalogue().Clear();
  db::FreeDBManager();
}

class LoginFlow : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    ReleaseConnection();
    World().Connect(GetParam());
  }
  void TearDown() override { ReleaseConnection(); }
};

struct Attempt {
  int Settings;
  const char* Name;
  const char* Password;
  int Code;             // expected ResultCode
  int UserCode;         // expected CodUsuario of the record; 0: no record
  const char* Account;  // expected directory account after the lookup; nullptr: not checked
};

std::string Describe(const Attempt& a) {
  return "settings " + std::to_string(a.Settings) + ", name '" + a.Name + "', password '" +
         a.Password + "'";
}

void RunAttempt(const Attempt& a) {
  SCOPED_TRACE(Describe(a));
  int32_t code = -99;
  std::unique_ptr<users::TUser> user = AuthenticateUser(a.Name, a.Password, code, a.Settings);
  EXPECT_EQ(code, a.Code);
  if (a.UserCode == 0) {
    EXPECT_EQ(user, nullptr);
  } else {
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->GetCodUsuario(), a.UserCode);
  }
  if (a.Account) {
    EXPECT_EQ(LoginState().DirectoryUser, a.Account);
  }
  EXPECT_EQ(LoginState().CurrentResultSet, nullptr);  // released at the end
}

TEST_P(LoginFlow, DatabaseUsers) {
  const Attempt cases[] = {
      {2, "ana", "ana-pw", 1, 10, ""},
      {2, "ana", "wrong", 3, 0, ""},
      {2, "ana", "", 3, 0, ""},
      {2, "ANA", "ana-pw", 3, 0, ""},
      {2, "bruno", "bruno-pw", 2, 11, ""},  // inactive: code 2, record returned
      {2, "nobody", "ana-pw", 3, 0, ""},
      {2, "", "", 3, 0, ""},
      {2, "alice", "alice-secret", 3, 0, ""},  // a directory user has no database password
      {2, "ghost", "ghost-pw", 3, 0, ""},      // authenticated, but no record to check
      {7, "ana", "ana-pw", 1, 10, ""},         // SECURITY stored as -1: database mode
      {99, "ana", "ana-pw", 1, 10, ""},        // no settings row: database mode
  };
  for (const Attempt& a : cases) RunAttempt(a);
  EXPECT_EQ(LoginState().SecurityCode, -1);
}

TEST_P(LoginFlow, DirectoryUsersThroughSettings) {
  const std::string people = ",ou=people,dc=clavira,dc=test";
  const std::string alice = "uid=alice" + people;
  const Attempt cases[] = {
      {3, "alice", "alice-secret", 1, 12, alice.c_str()},
      {3, "alice", "bob-secret", 3, 0, alice.c_str()},
      {3, "alice", "", 3, 0, alice.c_str()},  // no bind without a password
      {3, "dora", "dora-secret", 2, 16, nullptr},
      {3, "zed", "zed-secret", 3, 0, nullptr},  // in the directory, unknown to the database
      {3, "ana", "ana-pw", 3, 0, nullptr},      // database password, directory mode
      {4, "carol", "carol-secret", 1, 14, "uid=carol,ou=carol,ou=people,dc=clavira,dc=test"},
      {5, "bob", "alice-secret", 1, 13, alice.c_str()},  // pattern without "{0}"
      {5, "bob", "bob-secret", 3, 0, alice.c_str()},
      {6, "alice", "alice-secret", 3, 0, ""},  // only SECURITY: empty account, path "LDAP://"
      {8, "alice", "alice-secret", 3, 0, alice.c_str()},   // 10: no authentication
      {9, "alice", "alice-secret", 3, 0, alice.c_str()},   // 3: no such option
      {10, "alice", "alice-secret", 3, 0, alice.c_str()},  // 0: no option of the flow's bind
  };
  for (const Attempt& a : cases) RunAttempt(a);
}

TEST_P(LoginFlow, TypedNameWithDnSpecialCharacters) {
  const Attempt cases[] = {
      {3, "perez, juan", "juan-secret", 1, 15, "uid=perez\\, juan,ou=people,dc=clavira,dc=test"},
      {3, "perez, juan", "wrong", 3, 0, nullptr},
  };
  for (const Attempt& a : cases) RunAttempt(a);
}

TEST_P(LoginFlow, SettingsLookupStates) {
  LoginState().DirectoryPath = "stale";
  LoginState().SecurityCode = 77;
  int32_t code = 0;
  AuthenticateUser("ana", "ana-pw", code, 6);  // only SECURITY set
  EXPECT_EQ(LoginState().DirectoryUser, "");
  EXPECT_EQ(LoginState().DirectoryPath, "");
  EXPECT_EQ(LoginState().SecurityCode, 4);
  AuthenticateUser("ana", "ana-pw", code, 2);  // all null
  EXPECT_EQ(LoginState().DirectoryPath, "");
  EXPECT_EQ(LoginState().SecurityCode, -1);
  AuthenticateUser("ana", "ana-pw", code, 3);
  EXPECT_EQ(LoginState().DirectoryPath, World().DirectoryPath());
  EXPECT_EQ(LoginState().SecurityCode, 4);
}

TEST_P(LoginFlow, FailedSettingsLookupKeepsPreviousValues) {
  int32_t code = 0;
  AuthenticateUser("alice", "alice-secret", code, 3);
  ASSERT_EQ(code, 1);
  World().Sql("ALTER TABLE security_settings RENAME TO security_settings_away");
  // The lookup fails: a directory attempt with the typed name as the account and
  // the path and code of the previous lookup, so the database password does not count.
  const Attempt cases[] = {
      {2, "ana", "ana-pw", 3, 0, "ana"},
      {2, "uid=alice,ou=people,dc=clavira,dc=test", "alice-secret", 3, 0, nullptr},
  };
  for (const Attempt& a : cases) RunAttempt(a);
  EXPECT_EQ(LoginState().DirectoryPath, World().DirectoryPath());
  EXPECT_EQ(LoginState().SecurityCode, 4);
  World().Sql("ALTER TABLE security_settings_away RENAME TO security_settings");
  RunAttempt({2, "ana", "ana-pw", 1, 10, ""});
}

TEST_P(LoginFlow, DatabaseErrorsPassAndLeaveTheCode) {
  ReleaseConnection();
  // A manager without a connection: every procedure call fails.
  db::DBManager()->OpenConnection("", "NONE");
  int32_t code = 42;
  EXPECT_THROW(AuthenticateUser("ana", "ana-pw", code, 2), db::EDatabaseError);
  EXPECT_EQ(code, 42);
  // The failed lookup left the typed name: a directory attempt, which fails too.
  EXPECT_EQ(LoginState().DirectoryUser, "ana");
  int32_t direct = 42;
  EXPECT_THROW(AuthenticateDatabase("ana", "ana-pw", direct), platform::Exception);
  EXPECT_THROW(AuthenticateDirectory("ana", "ana-pw", "", direct), platform::Exception);
  EXPECT_EQ(direct, 42);
}

TEST_P(LoginFlow, UserCodeSurvivesAFailedAttempt) {
  int32_t code = 0;
  AuthenticateUser("bruno", "bruno-pw", code, 2);
  EXPECT_EQ(LoginState().UserCode, 11);
  AuthenticateUser("ana", "wrong", code, 2);
  EXPECT_EQ(code, 3);
  EXPECT_EQ(LoginState().UserCode, 11);
}

INSTANTIATE_TEST_SUITE_P(Engines, LoginFlow, ::testing::ValuesIn(LoginWorld::Engines()),
                         [](const auto& info) { return info.param; });

// The database goes away between two attempts: each attempt afterwards ends in
// the database layer's error, and nothing breaks.
TEST(LoginFlowOwnServer, DatabaseGoingAway) {
  for (const std::string& engine : LoginWorld::Engines()) {
    SCOPED_TRACE(engine);
    const auto own = testsupport::MakeTestWorld(/*Directory=*/false);
    LoginWorld& world = *own;
    world.Connect(engine);
    int32_t code = 0;
    ASSERT_NE(AuthenticateUser("ana", "ana-pw", code, 2), nullptr);
    ASSERT_EQ(code, 1);
    world.StopDatabase();
    for (int i = 0; i < 2; ++i) {
      code = 0;
      // The database's own error on both engines, never a parameter that the
      // lost connection could not describe.
      try {
        AuthenticateUser("ana", "ana-pw", code, 2);
        ADD_FAILURE() << "no error";
      } catch (const db::EDatabaseError& e) {
        EXPECT_FALSE(e.SqlState().empty()) << e.Message();
        EXPECT_EQ(e.Message().find("Parameter"), std::string::npos) << e.Message();
      }
      EXPECT_EQ(code, 0);
    }
    ReleaseConnection();
  }
}

// The database's backend freezes in the middle of the connection (SIGSTOP):
// the attempt ends within a few time-outs instead of waiting for the server,
// without a success, and the next attempt works on a new connection. A bound
// check: the pause lasts 40 s.
TEST(LoginFlowOwnServer, FrozenDatabaseEndsTheAttemptAtTheTimeOut) {
  for (const std::string& engine : LoginWorld::Engines()) {
    SCOPED_TRACE(engine);
    const auto own = testsupport::MakeTestWorld(/*Directory=*/false);
    own->Connect(engine);
    db::TCustomConnection& connection = *db::DBManager()->Connection();
    connection.SetQueryTimeout(1);
    int32_t code = 0;
    ASSERT_NE(AuthenticateUser("ana", "ana-pw", code, 2), nullptr);
    pid_t backend = 0;
    {
      db::odbc::THandle stmt = db::odbc::Allocate(SQL_HANDLE_STMT, connection.Hdbc());
      SQLCHAR sql[] = "SELECT pg_backend_pid()";
      ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirect(stmt.Get(), sql, SQL_NTS)));
      ASSERT_TRUE(SQL_SUCCEEDED(SQLFetch(stmt.Get())));
      SQLINTEGER pid = 0;
      SQLLEN indicator = 0;
      SQLGetData(stmt.Get(), 1, SQL_C_SLONG, &pid, 0, &indicator);
      backend = pid;
    }
    {
      testsupport::TPausedProcess paused(backend, std::chrono::seconds(40));
      ASSERT_TRUE(paused.Stopped());
      const auto start = std::chrono::steady_clock::now();
      code = 0;
      try {
        EXPECT_EQ(AuthenticateUser("ana", "ana-pw", code, 2), nullptr);
      } catch (const db::EDatabaseError& e) {
        EXPECT_FALSE(e.SqlState().empty()) << e.Message();
      }
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
      EXPECT_NE(code, 1);
    }
    code = 0;
    EXPECT_NE(AuthenticateUser("ana", "ana-pw", code, 2), nullptr);
    EXPECT_EQ(code, 1);
    ReleaseConnection();
  }
}

// A long-lived process keeps making attempts while its database restarts:
// the connection is reopened with the same connection string, and the
// attempts after the restart succeed again without a new manager.
TEST(LoginFlowOwnServer, DatabaseRestartedUnderALiveProcess) {
  for (const std::string& engine : LoginWorld::Engines()) {
    SCOPED_TRACE(engine);
    const auto own = testsupport::MakeTestWorld(/*Directory=*/false);
    LoginWorld& world = *own;
    world.Connect(engine);
    const db::TDBManager* manager = db::DBManager();
    auto attempt = [] {
      int32_t code = 0;
      auto user = AuthenticateUser("ana", "ana-pw", code, 2);
      return user && code == 1;
    };
    ASSERT_TRUE(attempt());
    // Restarted between two attempts.
    world.StopDatabase();
    world.StartDatabase();
    EXPECT_TRUE(attempt());
    // Down during an attempt, back for the next one.
    world.StopDatabase();
    EXPECT_THROW(attempt(), db::EDatabaseError);
    world.StartDatabase();
    EXPECT_TRUE(attempt());
    EXPECT_TRUE(attempt());
    EXPECT_EQ(db::DBManager(), manager);
    ReleaseConnection();
  }
}

// Filling the account pattern: every "{0}" once, DN values escaped.
TEST(AccountPattern, FillsAndEscapes) {
  struct Case {
    std::string Pattern;
    std::string Name;
    std::string Account;
  } cases[] = {
      {"uid={0},ou=people,dc=x", "alice", "uid=alice,ou=people,dc=x"},
      {"uid={0},ou={0},dc=x", "bob", "uid=bob,ou=bob,dc=x"},
      {"uid=fixed,dc=x", "anyone", "uid=fixed,dc=x"},
      {"{0}@clavira.test", "a,b+c", "a,b+c@clavira.test"},  // not a DN: as typed
      {"CLAVIRA\\{0}", "ana", "CLAVIRA\\ana"},
      {"{0}", "x=y", "x=y"},
      {"uid={0},dc=x", "{0}", "uid={0},dc=x"},  // inserted once, not searched again
      {"uid={0},dc=x", "admin,dc=x", "uid=admin\\,dc\\=x,dc=x"},
      {"cn={0},dc=x", "a+b;c<d>e\"f\\g", "cn=a\\+b\\;c\\<d\\>e\\\"f\\\\g,dc=x"},
      {"cn={0},dc=x", " lead and trail ", "cn=\\ lead and trail\\ ,dc=x"},
      {"cn={0},dc=x", "#hash", "cn=\\#hash,dc=x"},
      {"cn={0},dc=x", "mid#dle", "cn=mid#dle,dc=x"},
      {"cn={0},dc=x", std::string("nul\0x", 5), "cn=nul\\00x,dc=x"},
      {"cn={0},dc=x", "", "cn=,dc=x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FillAccountPattern(c.Pattern, c.Name), c.Account) << c.Pattern << " / " << c.Name;
  }
}

}  // namespace
}  // namespace login
