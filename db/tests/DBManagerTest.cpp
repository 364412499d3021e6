// The database manager: engines, connection strings, refused connections,
// and the runtime library wrappers it relies on.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "db/DBManagerClass.h"
#include "db/MyOracleStoredProc.h"
#include "db/MySqlStoredProc.h"
#include "db/Vesquin.h"
#include "db/tests/DbFixture.h"

namespace db {
namespace {

class DBManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeDBManager();
    setenv("VESQUIN_LANGUAGE", "Ing", 1);
  }
  void TearDown() override { FreeDBManager(); }
};

std::string Replace(std::string text, const std::string& what, const std::string& by) {
  size_t at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), by);
  return text;
}

void ExpectUsersRow(TDBManager& manager) {
  auto proc = manager.CreateStoredProc("PRC_ECHO");
  proc->GetParams().ParamByName("i_text").SetAsString("via manager");
  proc->GetParams().ParamByName("i_number").SetAsInteger(2);
  TDataSet* rows = proc->OpenProc();
  ASSERT_FALSE(rows->IsEmpty());
  EXPECT_EQ(rows->FieldByName("Text").AsString(), "via manager");
}

TEST_F(DBManagerTest, SqlEngineFromAnOleDbConnectionString) {
  auto& pg = testing::Cluster();
  // Doubled and trailing separators change nothing.
  std::string text = Replace(pg.SqlServerConnectionString(), ";", ";;") + ";";
  DBManager()->OpenConnection(text, "SQL");
  EXPECT_EQ(DBManager()->GetLanguage(), "Ing");
  EXPECT_EQ(DBManager()->Engine(), "SQL");
  auto* connection = dynamic_cast<TMSConnection*>(DBManager()->Connection());
  ASSERT_NE(connection, nullptr);
  EXPECT_TRUE(connection->Connected());
  EXPECT_EQ(connection->Server(), "127.0.0.1," + std::to_string(pg.Port()));
  EXPECT_EQ(connection->Database(), pg.Database());
  EXPECT_NE(dynamic_cast<TMySqlStoredProc*>(DBManager()->CreateStoredProc("PRC_ECHO").get()),
            nullptr);
  // The SQL Server test procedures declare "@" names; the rows come back.
  ExpectUsersRow(*DBManager());
}

TEST_F(DBManagerTest, OracleEngineInDirectMode) {
  auto& pg = testing::Cluster();
  DBManager()->OpenConnection(pg.OracleConnectionString(), "ORACLE");
  auto* session = dynamic_cast<TOraSession*>(DBManager()->Connection());
  ASSERT_NE(session, nullptr);
  EXPECT_TRUE(session->Direct());
  EXPECT_TRUE(session->AutoCommit());
  EXPECT_EQ(session->Username(), pg.User());
  auto proc = DBManager()->CreateStoredProc("PRC_ORA_USERS");
  ASSERT_NE(dynamic_cast<TMyOracleStoredProc*>(proc.get()), nullptr);
  proc->GetParams().ParamByName("i_operation").SetAsString("S");
  proc->GetParams().ParamByName("i_id").SetAsInteger(9);
  EXPECT_EQ(proc->OpenProc()->FieldByName("ID").AsInteger(), 9);
}

TEST_F(DBManagerTest, RefusedConnectionsCarryTheServersTextWithoutThePassword) {
  auto& pg = testing::Cluster();
  const std::string wrong = "Wr0ngSecret";
  const struct {
    std::string engine, text;
  } cases[] = {
      {"SQL", Replace(pg.SqlServerConnectionString(), pg.Password(), wrong)},
      {"ORACLE", Replace(pg.OracleConnectionString(), pg.Password(), wrong)},
  };
  for (const auto& c : cases) {
    FreeDBManager();
    try {
      DBManager()->OpenConnection(c.text, c.engine);
      ADD_FAILURE() << c.engine << " connected with a wrong password";
    } catch (const EDatabaseError& e) {
      EXPECT_NE(e.Message().find("password authentication failed"), std::string::npos)
          << e.Message();
      EXPECT_EQ(e.Message().find(wrong), std::string::npos) << e.Message();
    }
    // The unconnected connection object stays with the manager.
    ASSERT_NE(DBManager()->Connection(), nullptr) << c.engine;
    EXPECT_FALSE(DBManager()->Connection()->Connected());
  }
  // After a failed SQL Server connect, stored procedures fail to describe.
  FreeDBManager();
  EXPECT_THROW(DBManager()->OpenConnection(cases[0].text, "SQL"), EDatabaseError);
  EXPECT_THROW(DBManager()->CreateStoredProc("PRC_ECHO"), EDatabaseError);

  // Nobody listens on port 1.
  FreeDBManager();
  try {
    DBManager()->OpenConnection("User ID=u;Password=" + wrong + ";Data Source=127.0.0.1,1", "SQL");
    ADD_FAILURE() << "connected to a closed port";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message().find("127.0.0.1"), std::string::npos) << e.Message();
    EXPECT_EQ(e.Message().find(wrong), std::string::npos) << e.Message();
  }
}

// A password of one common letter: the server's text stays readable, and
// the password still never stands in it as a value.
TEST_F(DBManagerTest, AOneLetterPasswordLeavesTheServersTextWhole) {
  auto& pg = testing::Cluster();
  for (const std::string engine : {"SQL", "ORACLE"}) {
    SCOPED_TRACE(engine);
    const std::string text =
        engine == "SQL" ? pg.SqlServerConnectionString() : pg.OracleConnectionString();
    FreeDBManager();
    const std::string message = testing::ErrorOf(
        [&] { DBManager()->OpenConnection(Replace(text, pg.Password(), "e"), engine); });
    EXPECT_NE(message.find("password authentication failed for user \"" + pg.User() + "\""),
              std::string::npos)
        << message;
    EXPECT_EQ(message.find("***"), std::string::npos) << message;
  }
}

TEST(OdbcMaskTest, ThePasswordIsMaskedWhereItStandsAsAValue) {
  struct Case {
    std::string Text, Secret, Masked;
  } cases[] = {
      {"connection failed", "e", "connection failed"},
      {"PWD=e;UID=u", "e", "PWD=***;UID=u"},
      {"password \"e\" refused", "e", "password \"***\" refused"},
      {"e", "e", "***"},
      {"PWD={p;w}}d};SERVER=x", "p;w}d", "PWD={***};SERVER=x"},
      {"Password=s3cret and s3cret again", "s3cret", "Password=*** and *** again"},
      {"not3s3cret4", "s3cret", "not3s3cret4"},
      {"key=-x-;", "-x-", "key=***;"},
      {"unchanged", "", "unchanged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text + " / " + c.Secret);
    EXPECT_EQ(odbc::MaskSecret(c.Text, c.Secret), c.Masked);
  }
}

TEST_F(DBManagerTest, EngineNamesAreExactAndShortOracleStringsFail) {
  DBManager()->OpenConnection("User ID=sa;Password=x;Data Source=nowhere", "sql");
  EXPECT_EQ(DBManager()->Connection(), nullptr);
  EXPECT_EQ(DBManager()->GetLanguage(), "Ing");
  auto proc = DBManager()->CreateStoredProc("PRC_ECHO");
  ASSERT_NE(dynamic_cast<TMyOracleStoredProc*>(proc.get()), nullptr);
  EXPECT_EQ(proc->GetParams().Count(), 0);
  EXPECT_THROW(proc->GetParams().ParamByName("i_text"), EDatabaseError);

  const struct {
    std::string text, message;
  } shortStrings[] = {{"", "List index out of bounds (0)"},
                      {"scott", "List index out of bounds (1)"},
                      {"scott/tiger", "List index out of bounds (2)"},
                      {"//@@", "List index out of bounds (0)"}};
  for (const auto& c : shortStrings) {
    FreeDBManager();
    try {
      DBManager()->OpenConnection(c.text, "ORACLE");
      ADD_FAILURE() << c.text;
    } catch (const platform::EListError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_EQ(DBManager()->Connection(), nullptr) << "a session was made for '" << c.text << "'";
  }

  FreeDBManager();
  DBManager()->OpenConnection("anything", "MYSQL");
  EXPECT_EQ(DBManager()->Connection(), nullptr);
  EXPECT_EQ(DBManager()->Engine(), "MYSQL");
  FreeDBManager();
  EXPECT_EQ(DBManager()->Engine(), "");  // a fresh manager
  EXPECT_EQ(DBManager(), DBManager());
}

TEST_F(DBManagerTest, OverlongConnectionStringsAreRefused) {
  const std::string huge(100000, ':');
  EXPECT_THROW(DBManager()->OpenConnection("u/p@" + huge, "ORACLE"), EDatabaseError);
  EXPECT_EQ(DBManager()->Connection(), nullptr);
}

TEST(VesquinWrapperTest, WrappersReadTheLibraryAndCutTheInput) {
  setenv("VESQUIN_ENGINE", "ORACLE", 1);
  setenv("VESQUIN_CONNECTION", "scott/tiger@orcl", 1);
  setenv("VESQUIN_LANGUAGE", "Por", 1);
  setenv("VESQUIN_KEY", "k", 1);
  EXPECT_EQ(LoadEngine(), "ORACLE");
  EXPECT_EQ(LoadDirectConnection(), "scott/tiger@orcl");
  EXPECT_EQ(LoadIdioma(), "Por");
  const std::string digest = EncryptDB("secret");
  EXPECT_EQ(digest.size(), 64u);
  EXPECT_NE(digest, EncryptDB("Secret"));
  const std::string longText(300, 'p');
  EXPECT_EQ(EncryptDB(longText), EncryptDB(longText.substr(0, 255)));
  EXPECT_NE(EncryptDB(longText), EncryptDB(longText.substr(0, 254)));
}

}  // namespace
}  // namespace db
