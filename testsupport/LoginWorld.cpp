#include "testsupport/LoginWorld.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "db/DBManagerClass.h"
#include "db/Vesquin.h"
#include "platform/Exception.h"
#include "testsupport/Process.h"
#include "testsupport/SlapdServer.h"

namespace testsupport {
namespace {

const std::string kSource = CLAVIRA_SOURCE_DIR;
const std::string kPgBin = "/usr/lib/postgresql/15/bin/";
const std::string kRole = "clavira";
const std::string kRolePassword = "clavira-db-secret";
const std::string kKey = "clavira-test-key";
const std::string kDriver = "/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so";

std::string DatabaseOf(const std::string& Engine) {
  return Engine == "SQL" ? "clavira_sql" : "clavira_ora";
}
std::string ShapeOf(const std::string& Engine) {
  return kSource + (Engine == "SQL" ? "/db/schema/procedures_resultset.sql"
                                    : "/db/schema/procedures_refcursor.sql");
}

// The lowest port of the kernel's range for outgoing connections.
int EphemeralLow() {
  std::ifstream range("/proc/sys/net/ipv4/ip_local_port_range");
  int low = 0;
  return (range >> low) && low > 21000 ? low : 61000;
}

// A free port below the range for outgoing connections: a port from that
// range can be taken by any client between the check and the server's bind.
int FreePort() {
  static std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<int> pick(20000, EphemeralLow() - 1);
  for (int i = 0; i < 200; ++i) {
    const int port = pick(random);
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) break;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    const bool free = bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    close(fd);
    if (free) return port;
  }
  throw platform::Exception("no free port");
}

void Must(const ProcessResult& r, const std::string& what) {
  if (r.ExitCode != 0) throw platform::Exception(what + " failed: " + r.Error + r.Output);
}

ProcessResult AsPostgres(const std::string& Dir, std::vector<std::string> Args) {
  Args.insert(Args.begin(), {"runuser", "-u", "postgres", "--"});
  // runuser keeps the working folder, which postgres must be able to enter.
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(Dir);
  ProcessResult r = RunProcess(Args);
  std::filesystem::current_path(previous);
  return r;
}

}  // namespace

LoginWorld::LoginWorld(const LoginWorldOptions& Options) {
  FDir = MakeTempDir("clavira-world");
  try {
    Start(Options);
  } catch (...) {
    // No destructor runs for a world that failed to start: its servers,
    // folder and environment go here.
    Stop();
    throw;
  }
}

void LoginWorld::Start(const LoginWorldOptions& Options) {
  std::filesystem::create_directories(FDir + "/sock");
  std::filesystem::create_directories(FDir + "/odbc");
  std::ofstream(FDir + "/odbc/odbcinst.ini") << "[PG]\nDriver=" << kDriver << "\n";
  std::ofstream(FDir + "/vesquin.conf") << "# the environment configures the tests\n";
  Must(RunProcess({"chown", "-R", "postgres:", FDir}), "chown");
  Must(AsPostgres(FDir,
                  {kPgBin + "initdb", "-D", FDir + "/data", "-U", "postgres", "--auth-local=trust",
                   "--auth-host=scram-sha-256", "-E", "UTF8", "--locale=C.UTF-8"}),
       "initdb");
  // A parallel run may take the port between the check and the start.
  for (int tries = 1;; ++tries) {
    FPort = FreePort();
    try {
      StartDatabase();
      break;
    } catch (const platform::Exception&) {
      if (tries == 5) throw;
    }
  }

  SetEnv("ODBCSYSINI", FDir + "/odbc");
  // The engines name the driver by its path: unixODBC reads ODBCSYSINI once
  // per process, so an alias would stop resolving once this world's folder
  // is gone and a later world's connection has to be reopened.
  SetEnv("CLAVIRA_ODBC_SQLSERVER", kDriver);
  SetEnv("CLAVIRA_ODBC_ORACLE", kDriver);
  SetEnv("VESQUIN_CONFIG", FDir + "/vesquin.conf");
  SetEnv("VESQUIN_KEY", kKey);
  SetEnv("VESQUIN_LANGUAGE", Options.Language);
  SetEnv("VESQUIN_ENGINE", "");
  SetEnv("VESQUIN_CONNECTION", "");

  Psql("postgres", {"-c", "CREATE ROLE " + kRole + " LOGIN PASSWORD " + Quote(kRolePassword)});
  for (const std::string& engine : Engines()) {
    Psql("postgres", {"-c", "CREATE DATABASE " + DatabaseOf(engine) + " OWNER " + kRole});
    std::vector<std::string> files = {"-f", kSource + "/db/schema/tables.sql", "-f",
                                      ShapeOf(engine)};
    for (const std::string& f : Options.SqlFiles) files.insert(files.end(), {"-f", f});
    Psql(DatabaseOf(engine), files);
  }

  if (Options.Directory) {
    SlapdOptions directory;
    directory.LdifFile = Options.LdifFile;
    FSlapd = std::make_unique<SlapdServer>(directory);
  }
}

LoginWorld::~LoginWorld() {
  Stop();
}

void LoginWorld::Stop() {
  FSlapd.reset();
  StopDatabase();
  std::filesystem::remove_all(FDir);
  for (auto it = FSavedEnv.rbegin(); it != FSavedEnv.rend(); ++it) {
    if (it->second) {
      setenv(it->first.c_str(), it->second->c_str(), 1);
    } else {
      unsetenv(it->first.c_str());
    }
  }
}

void LoginWorld::SetEnv(const char* Name, const std::string& Value) {
  const char* previous = std::getenv(Name);
  FSavedEnv.emplace_back(Name, previous ? std::optional<std::string>(previous) : std::nullopt);
  setenv(Name, Value.c_str(), 1);
}

void LoginWorld::Psql(const std::string& Database, const std::vector<std::string>& Args) {
  std::vector<std::string> args = {"psql",
                                   "-X",
                                   "-q",
                                   "-v",
                                   "ON_ERROR_STOP=1",
                                   "-h",
                                   FDir + "/sock",
                                   "-p",
                                   std::to_string(FPort),
                                   "-U",
                                   Database == "postgres" ? "postgres" : kRole,
                                   "-d",
                                   Database};
  args.insert(args.end(), Args.begin(), Args.end());
  Must(RunProcess(args), "psql");
}

std::string LoginWorld::Quote(const std::string& Text) {
  std::string out = "'";
  for (char c : Text) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

std::string LoginWorld::ConnectionString(const std::string& Engine) const {
  const std::string port = std::to_string(FPort);
  if (Engine == "SQL") {
    return "Provider=SQLOLEDB.1;Password=" + kRolePassword +
           ";Persist Security Info=True;User ID=" + kRole +
           ";Initial Catalog=" + DatabaseOf(Engine) + ";Data Source=127.0.0.1," + port;
  }
  return kRole + "/" + kRolePassword + "@127.0.0.1:" + port + ":" + DatabaseOf(Engine);
}

std::string LoginWorld::OdbcConnectionString(const std::string& Engine) const {
  return "DRIVER={PG};SERVER=127.0.0.1;PORT=" + std::to_string(FPort) +
         ";DATABASE=" + DatabaseOf(Engine) + ";UID=" + kRole + ";PWD=" + kRolePassword;
}

void LoginWorld::Connect(const std::string& Engine) {
  // Saved once by the constructor, so plain setenv here.
  setenv("VESQUIN_ENGINE", Engine.c_str(), 1);
  setenv("VESQUIN_CONNECTION", ConnectionString(Engine).c_str(), 1);
  db::FreeDBManager();
  db::DBManager()->OpenConnection(db::LoadDirectConnection(), db::LoadEngine());
}

void LoginWorld::Sql(const std::string& Text) {
  for (const std::string& engine : Engines()) Psql(DatabaseOf(engine), {"-c", Text});
}

void LoginWorld::SetPassword(const std::string& User, const std::string& Password) {
  Sql("UPDATE users SET clave = " + Quote(db::EncryptDB(Password)) +
      " WHERE user_name = " + Quote(User));
}

void LoginWorld::SetSettings(int Id, const std::string& PathSql, const std::string& UserStringSql,
                             const std::string& SecuritySql) {
  Sql("DELETE FROM security_settings WHERE id = " + std::to_string(Id) +
      "; INSERT INTO security_settings VALUES (" + std::to_string(Id) + ", " + PathSql + ", " +
      UserStringSql + ", " + SecuritySql + ")");
}

std::string LoginWorld::DirectoryPath() const {
  return FSlapd->HostPort();
}

std::string LoginWorld::PeopleDn() const {
  return "ou=people," + FSlapd->BaseDn();
}

void LoginWorld::StopDatabase() {
  if (!FRunning) return;
  AsPostgres(FDir, {kPgBin + "pg_ctl", "-D", FDir + "/data", "-m", "fast", "-w", "stop"});
  FRunning = false;
}

void LoginWorld::StartDatabase() {
  if (FRunning) return;
  Must(AsPostgres(FDir, {kPgBin + "pg_ctl", "-D", FDir + "/data", "-l", FDir + "/server.log", "-w",
                         "-t", "30", "-o", ServerOptions(), "start"}),
       "pg_ctl start");
  FRunning = true;
}

std::string LoginWorld::ServerOptions() const {
  return "-p " + std::to_string(FPort) + " -k " + FDir +
         "/sock -c listen_addresses=127.0.0.1 -c fsync=off";
}

std::string TestDataDir() {
  return kSource + "/testsupport/data/";
}

std::unique_ptr<LoginWorld> MakeTestWorld(bool Directory) {
  LoginWorldOptions options;
  options.SqlFiles = {TestDataDir() + "users.sql"};
  options.Directory = Directory;
  if (Directory) options.LdifFile = TestDataDir() + "people.ldif";
  auto world = std::make_unique<LoginWorld>(options);
  world->SetPassword("ana", "ana-pw");
  world->SetPassword("bruno", "bruno-pw");
  world->SetPassword("ghost", "ghost-pw");
  if (Directory)
    world->SetSettings(3, LoginWorld::Quote(world->DirectoryPath()),
                       "'uid={0},ou=people,dc=clavira,dc=test'", "4");
  return world;
}

LoginWorld& SharedTestWorld() {
  static std::unique_ptr<LoginWorld> world = MakeTestWorld(true);
  return *world;
}

}  // namespace testsupport
