// Database calls end within their time-out whatever the server does: a
// backend paused in the middle of the connection, a paused postmaster while
// connecting, a server that takes the connection and never answers. These are
// bound checks, far from any speed: a pause lasts kPause, and an attempt that
// waits it out fails the check.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <optional>

#include "db/MyOracleStoredProc.h"
#include "db/MySqlStoredProc.h"
#include "db/tests/DbFixture.h"
#include "testsupport/Process.h"
#include "testsupport/SilentListener.h"

namespace db {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPause = std::chrono::seconds(40);
// What an attempt bounded at a few seconds may take on a loaded machine.
constexpr auto kBound = std::chrono::seconds(15);

// Paused for at most kPause: a call that waits the pause out fails the
// bound check instead of hanging.
class TPaused : public testsupport::TPausedProcess {
 public:
  explicit TPaused(pid_t Pid) : TPausedProcess(Pid, kPause) { EXPECT_TRUE(Stopped()); }
};

pid_t BackendPid(TCustomConnection& Connection) {
  odbc::THandle stmt = odbc::Allocate(SQL_HANDLE_STMT, Connection.Hdbc());
  SQLCHAR sql[] = "SELECT pg_backend_pid()";
  odbc::Check(SQLExecDirect(stmt.Get(), sql, SQL_NTS), SQL_HANDLE_STMT, stmt.Get(), "pid");
  odbc::Check(SQLFetch(stmt.Get()), SQL_HANDLE_STMT, stmt.Get(), "pid");
  SQLINTEGER pid = 0;
  SQLLEN indicator = 0;
  SQLGetData(stmt.Get(), 1, SQL_C_SLONG, &pid, 0, &indicator);
  return pid;
}

pid_t PostmasterPid() {
  std::ifstream file(testing::Cluster().OdbcSysIni() + "/data/postmaster.pid");
  pid_t pid = 0;
  file >> pid;
  return pid;
}

// One engine: a connection to the cluster and a call of one of its
// procedures through the stored procedure interface.
struct TEngine {
  const char* Name;
  std::function<std::unique_ptr<TCustomConnection>()> Connect;
  std::function<std::unique_ptr<TMyStoredProc>(const char*, TCustomConnection*)> Make;
  const char* Proc;
  const char* FirstParam;
  const char* Other;  // a procedure not described before
};

std::vector<TEngine> Engines() {
  return {
      {"SQL", [] { return std::unique_ptr<TCustomConnection>(testing::ConnectSql()); },
       [](const char* name, TCustomConnection* c) {
         return std::unique_ptr<TMyStoredProc>(TMySqlStoredProc::Create(name, c));
       },
       "PRC_ECHO", "i_text", "PRC_NOROWS"},
      {"ORACLE", [] { return std::unique_ptr<TCustomConnection>(testing::ConnectOracle()); },
       [](const char* name, TCustomConnection* c) {
         return std::unique_ptr<TMyStoredProc>(TMyOracleStoredProc::Create(name, c));
       },
       "PRC_ORA_USERS", "i_operation", "PRC_ORA_CLOB"},
  };
}

// Runs one call; its error (empty when it succeeded) and how long it took.
struct TOutcome {
  std::string Message;
  std::string SqlState;
  Clock::duration Took;
};
TOutcome Call(const std::function<void()>& F) {
  TOutcome outcome;
  const auto start = Clock::now();
  try {
    F();
  } catch (const EDatabaseError& e) {
    outcome.Message = e.Message();
    outcome.SqlState = e.SqlState();
  }
  outcome.Took = Clock::now() - start;
  return outcome;
}

// A backend that stops answering mid-connection: the call (described
// procedure or one still to describe) ends at the time-out plus the margin
// with a time-out error, and the next call works on a new connection.
TEST(FrozenServerTest, APausedBackendEndsTheCallAtTheTimeOut) {
  for (const TEngine& engine : Engines()) {
    SCOPED_TRACE(engine.Name);
    std::unique_ptr<TCustomConnection> connection = engine.Connect();
    connection->SetQueryTimeout(1);
    auto proc = engine.Make(engine.Proc, connection.get());
    proc->GetParams().ParamByName(engine.FirstParam).SetAsString("S");
    ASSERT_NO_THROW(proc->OpenProc());
    const pid_t backend = BackendPid(*connection);
    {
      TPaused paused(backend);
      TOutcome outcome = Call([&] { proc->OpenProc(); });
      EXPECT_LT(outcome.Took, kBound);
      EXPECT_EQ(outcome.SqlState, "HYT00") << outcome.Message;
      EXPECT_NE(outcome.Message.find("Time-out"), std::string::npos) << outcome.Message;
      EXPECT_EQ(outcome.Message.find(testing::Cluster().Password()), std::string::npos);
    }
    // The paused backend is left behind; the next call connects again.
    TOutcome again = Call([&] { proc->OpenProc(); });
    EXPECT_EQ(again.Message, "");
    EXPECT_NE(BackendPid(*connection), backend);

    // The catalogue calls of a description are bounded the same way.
    {
      TPaused paused(BackendPid(*connection));
      TOutcome outcome = Call([&] { engine.Make(engine.Other, connection.get()); });
      EXPECT_LT(outcome.Took, kBound);
      EXPECT_EQ(outcome.SqlState, "HYT00") << outcome.Message;
    }
  }
}

// Connecting is bounded by the login time-out: against a paused postmaster
// (the kernel takes the connection, nobody answers) and against a listener
// that never answers.
TEST(FrozenServerTest, ConnectingToAServerThatDoesNotAnswerEndsAtTheLoginTimeOut) {
  auto& pg = testing::Cluster();
  testsupport::TSilentListener silent;
  const std::vector<std::pair<const char*, int>> servers = {{"paused postmaster", pg.Port()},
                                                            {"silent listener", silent.Port()}};
  for (const auto& [what, port] : servers) {
    for (const char* engine : {"SQL", "ORACLE"}) {
      SCOPED_TRACE(std::string(what) + " " + engine);
      std::unique_ptr<TCustomConnection> connection;
      if (std::string(engine) == "SQL") {
        auto c = std::make_unique<TMSConnection>();
        c->SetServer(pg.Host() + "," + std::to_string(port));
        c->SetUsername(pg.User());
        c->SetPassword(pg.Password());
        c->SetDatabase(pg.Database());
        connection = std::move(c);
      } else {
        auto s = std::make_unique<TOraSession>();
        s->SetUsername(pg.User());
        s->SetPassword(pg.Password());
        s->SetServer(pg.Host() + ":" + std::to_string(port) + ":" + pg.Database());
        s->SetDirect(true);
        connection = std::move(s);
      }
      connection->SetLoginTimeout(2);
      std::optional<TPaused> paused;
      if (port == pg.Port()) paused.emplace(PostmasterPid());
      TOutcome outcome = Call([&] { connection->Connect(); });
      paused.reset();
      EXPECT_LT(outcome.Took, kBound);
      EXPECT_NE(outcome.Message, "");
      EXPECT_FALSE(connection->Connected());
    }
  }
  // The cluster answers again once resumed.
  EXPECT_NO_THROW(testing::ConnectSql());
}

}  // namespace
}  // namespace db
