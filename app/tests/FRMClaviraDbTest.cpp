// The window's database actions, offscreen, against a real PostgreSQL with
// the reference database: the connection at creation and "Autenticar DB"
// clicked, on both engines.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/ErrorDisplay.h"
#include "app/FRMClavira.h"
#include "app/MessagePresenter.h"
#include "db/DBManagerClass.h"
#include "login/ULoginVelkor.h"
#include "testsupport/LoginWorld.h"
#include "testsupport/Process.h"
#include "users/UCatalogueUsers.h"

namespace app {
namespace {

using testsupport::LoginWorld;

// Captures what the window shows instead of opening message boxes.
struct Captured {
  std::vector<std::string> Messages, Errors;
};
class CapturingPresenter : public IMessagePresenter {
 public:
  explicit CapturingPresenter(Captured& Into) : FInto(Into) {}
  void ShowMessage(QWidget*, const QString& Text) override {
    FInto.Messages.push_back(Text.toStdString());
  }
  void ShowError(QWidget*, const QString& Text) override {
    FInto.Errors.push_back(Text.toStdString());
  }

 private:
  Captured& FInto;
};

LoginWorld& World() {
  return testsupport::SharedTestWorld();
}

void ReleaseConnection() {
  login::LoginState().ReleaseCurrent();
  users::UsersCatalogue().Clear();
  db::FreeDBManager();
}

// Shows what the window shows through a capturing presenter; clicks.
class WindowTest {
 protected:
  void Capture() { SetPresenter(std::make_unique<CapturingPresenter>(FShown)); }
  void Restore() {
    SetPresenter(nullptr);
    ReleaseConnection();
  }
  // Types Name and Password and clicks "Autenticar DB".
  void Click(TFRMClavira& window, const char* Name, const char* Password) {
    FShown = {};
    window.EditName->setText(QString::fromUtf8(Name));
    window.EditPassword->setText(QString::fromUtf8(Password));
    QTest::mouseClick(window.Button1, Qt::LeftButton);
  }

  Captured FShown;
};

class WindowDb : public ::testing::TestWithParam<std::string>, protected WindowTest {
 protected:
  void SetUp() override {
    ReleaseConnection();
    World();
    setenv("VESQUIN_ENGINE", GetParam().c_str(), 1);
    setenv("VESQUIN_CONNECTION", World().ConnectionString(GetParam()).c_str(), 1);
    Capture();
  }
  void TearDown() override { Restore(); }
};

TEST_P(WindowDb, AutenticarDbShowsTheFlowsAnswer) {
  TFRMClavira window;  // connects as it is created
  window.show();
  EXPECT_TRUE(FShown.Errors.empty()) << FShown.Errors.front();
  struct Case {
    const char* Name;
    const char* Password;
    const char* Message;
  } cases[] = {
      {"ana", "ana-pw", "autenticado con exito"},     {"ana", "wrong", "autenticacion fallida"},
      {"bruno", "bruno-pw", "autenticado con exito"},  // not active: still a record
      {"nobody", "x", "autenticacion fallida"},       {"", "", "autenticacion fallida"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Click(window, c.Name, c.Password);
    EXPECT_EQ(FShown.Messages, std::vector<std::string>{c.Message});
    EXPECT_TRUE(FShown.Errors.empty());
  }
}

TEST_P(WindowDb, DatabaseGoneShowsAnErrorAndTheWindowStaysUsable) {
  const auto own_world = testsupport::MakeTestWorld(/*Directory=*/false);
  LoginWorld& own = *own_world;
  setenv("VESQUIN_ENGINE", GetParam().c_str(), 1);
  setenv("VESQUIN_CONNECTION", own.ConnectionString(GetParam()).c_str(), 1);
  TFRMClavira window;
  Click(window, "ana", "ana-pw");
  ASSERT_EQ(FShown.Messages, std::vector<std::string>{"autenticado con exito"});
  own.StopDatabase();
  for (int i = 0; i < 2; ++i) {
    Click(window, "ana", "ana-pw");
    EXPECT_TRUE(FShown.Messages.empty());
    EXPECT_EQ(FShown.Errors.size(), 1u);
  }
  EXPECT_TRUE(window.Button1->isEnabled());
  ReleaseConnection();
}

// The database restarts while the window stays open: "Autenticar DB" works
// again once it is back, without restarting the program.
TEST_P(WindowDb, RecoversFromADatabaseRestart) {
  const auto own_world = testsupport::MakeTestWorld(/*Directory=*/false);
  LoginWorld& own = *own_world;
  setenv("VESQUIN_ENGINE", GetParam().c_str(), 1);
  setenv("VESQUIN_CONNECTION", own.ConnectionString(GetParam()).c_str(), 1);
  TFRMClavira window;
  Click(window, "ana", "ana-pw");
  ASSERT_EQ(FShown.Messages, std::vector<std::string>{"autenticado con exito"});
  own.StopDatabase();
  own.StartDatabase();
  Click(window, "ana", "ana-pw");
  EXPECT_EQ(FShown.Messages, std::vector<std::string>{"autenticado con exito"});
  EXPECT_TRUE(FShown.Errors.empty()) << FShown.Errors.front();
  // Clicked while it is down: an error; clicked when it is back: the answer.
  own.StopDatabase();
  Click(window, "ana", "ana-pw");
  EXPECT_TRUE(FShown.Messages.empty());
  EXPECT_EQ(FShown.Errors.size(), 1u);
  own.StartDatabase();
  Click(window, "ana", "wrong");
  EXPECT_EQ(FShown.Messages, std::vector<std::string>{"autenticacion fallida"});
  Click(window, "bruno", "bruno-pw");
  EXPECT_EQ(FShown.Messages, std::vector<std::string>{"autenticado con exito"});
  EXPECT_TRUE(FShown.Errors.empty());
  ReleaseConnection();
}

INSTANTIATE_TEST_SUITE_P(Engines, WindowDb, ::testing::ValuesIn(LoginWorld::Engines()),
                         [](const auto& info) { return info.param; });

class WindowStart : public ::testing::Test, protected WindowTest {
 protected:
  void SetUp() override {
    ReleaseConnection();
    World();
  }
  void TearDown() override { Restore(); }
};

TEST_F(WindowStart, UnknownEngineOpensWithoutConnectionAndEveryClickFails) {
  World();
  setenv("VESQUIN_ENGINE", "sql", 1);  // engine names are case-sensitive
  setenv("VESQUIN_CONNECTION", World().ConnectionString("SQL").c_str(), 1);
  Capture();
  TFRMClavira window;
  EXPECT_TRUE(FShown.Errors.empty());
  Click(window, "ana", "ana-pw");
  EXPECT_TRUE(FShown.Messages.empty());
  // The error names what is wrong instead of the flow's first missing parameter.
  EXPECT_EQ(FShown.Errors,
            std::vector<std::string>{"Unknown database engine \"sql\" (from VESQUIN_ENGINE): the "
                                     "engine is \"SQL\" or \"ORACLE\", in capital letters"});
}

// A configuration file that is missing, unreadable or garbled: the window
// opens without a connection, and "Autenticar DB" names the problem.
TEST_F(WindowStart, ConfigurationProblemsAreNamed) {
  const std::string dir = testsupport::MakeTempDir("clavira-conf");
  std::ofstream(dir + "/garbled.conf") << "engine: SQL\nconnection = x\n";
  struct Case {
    std::string Config, Said;
  } cases[] = {
      {dir + "/missing.conf", "the configuration file \"" + dir +
                                  "/missing.conf\" named by VESQUIN_CONFIG does not exist"},
      {dir, "cannot be read: not a regular file"},
      {dir + "/garbled.conf", "line 1 could not be read"},
  };
  unsetenv("VESQUIN_ENGINE");
  unsetenv("VESQUIN_CONNECTION");
  Capture();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Config);
    setenv("VESQUIN_CONFIG", c.Config.c_str(), 1);
    ReleaseConnection();
    FShown = {};
    TFRMClavira window;
    EXPECT_TRUE(FShown.Errors.empty());
    Click(window, "ana", "ana-pw");
    EXPECT_TRUE(FShown.Messages.empty());
    ASSERT_EQ(FShown.Errors.size(), 1u);
    EXPECT_NE(FShown.Errors[0].find(c.Said), std::string::npos) << FShown.Errors[0];
  }
  setenv("VESQUIN_CONFIG", World().ConfigFile().c_str(), 1);
  std::filesystem::remove_all(dir);
}

TEST_F(WindowStart, RefusedConnectionIsShownAndTheWindowOpens) {
  World();
  setenv("VESQUIN_ENGINE", "SQL", 1);
  // A wrong password: the server refuses; its text never holds the password.
  std::string connection = World().ConnectionString("SQL");
  connection.replace(connection.find("Password=") + 9, 0, "wrong-");
  setenv("VESQUIN_CONNECTION", connection.c_str(), 1);
  Capture();
  TFRMClavira window;
  window.show();
  ASSERT_EQ(FShown.Errors.size(), 1u);
  EXPECT_EQ(FShown.Errors[0].find("db-secret"), std::string::npos) << FShown.Errors[0];
  EXPECT_TRUE(window.isVisible());
  Click(window, "ana", "ana-pw");
  EXPECT_TRUE(FShown.Messages.empty());
  EXPECT_EQ(FShown.Errors.size(), 1u);
}

}  // namespace
}  // namespace app

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::string runtime;  // made here, so removed here
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    runtime = testsupport::MakeTempDir("clavira-xdg");
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  }
  int status;
  {
    app::TApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  if (!runtime.empty()) std::filesystem::remove_all(runtime);
  return status;
}
