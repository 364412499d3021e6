// The login service's world for tests and benchmarks: a private PostgreSQL
// holding the reference database in both procedure shapes and a private
// slapd holding directory users, on 127.0.0.1.
//
// The constructor starts both servers, loads db/schema/tables.sql, the shape
// of each engine and the given data files into one database per engine, and
// sets the process environment so that the shared runtime library and the
// ODBC layer reach them (VESQUIN_*, ODBCSYSINI, CLAVIRA_ODBC_*). The
// destructor stops both servers and puts the environment back.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class SlapdServer;

struct LoginWorldOptions {
  std::vector<std::string> SqlFiles;  // data loaded into both databases, in order
  std::string LdifFile;               // directory entries below the suffix
  std::string Language = "Ing";       // VESQUIN_LANGUAGE
  bool Directory = true;              // start the slapd
};

class LoginWorld {
 public:
  explicit LoginWorld(const LoginWorldOptions& Options);
  ~LoginWorld();
  LoginWorld(const LoginWorld&) = delete;
  LoginWorld& operator=(const LoginWorld&) = delete;

  // Engines under test: "SQL" and "ORACLE", both through the PostgreSQL driver.
  static std::vector<std::string> Engines() { return {"SQL", "ORACLE"}; }

  // The connection string in the engine's own format.
  std::string ConnectionString(const std::string& Engine) const;
  // A DSN-less ODBC connection string to Engine's database, for direct calls.
  std::string OdbcConnectionString(const std::string& Engine) const;
  // Points the shared runtime library at Engine's database (VESQUIN_ENGINE,
  // VESQUIN_CONNECTION), then replaces the database manager by one
  // connected as the window connects it.
  void Connect(const std::string& Engine);

  // Runs SQL text in both databases.
  void Sql(const std::string& Text);
  // Stores Password for the login name User as EncryptDB writes it.
  void SetPassword(const std::string& User, const std::string& Password);
  // Writes settings record Id (std::nullopt-like: "NULL" for a null value).
  void SetSettings(int Id, const std::string& PathSql, const std::string& UserStringSql,
                   const std::string& SecuritySql);
  static std::string Quote(const std::string& Text);  // a SQL string literal

  // The directory path of the slapd (host:port) and its people DN.
  std::string DirectoryPath() const;
  std::string PeopleDn() const;
  SlapdServer& Directory() { return *FSlapd; }
  // The (empty) configuration file VESQUIN_CONFIG names while the world lives.
  std::string ConfigFile() const { return FDir + "/vesquin.conf"; }
  // Stops the database server (the connection is left to find it gone).
  void StopDatabase();
  // Starts it again on the same port, with the same data.
  void StartDatabase();

 private:
  // The body of the constructor, and of the destructor.
  void Start(const LoginWorldOptions& Options);
  void Stop();
  void Psql(const std::string& Database, const std::vector<std::string>& Args);
  std::string ServerOptions() const;

  // Sets an environment variable, remembering its value for the destructor.
  void SetEnv(const char* Name, const std::string& Value);

  std::vector<std::pair<std::string, std::optional<std::string>>> FSavedEnv;
  std::string FDir;  // the cluster's base folder
  int FPort = 0;
  bool FRunning = false;
  std::unique_ptr<SlapdServer> FSlapd;
};

// The world the login, window and command-line tests share: the reference
// database with the users of testsupport/data/users.sql and passwords set for
// ana ("ana-pw"), bruno ("bruno-pw", not active) and ghost ("ghost-pw"); with
// Directory, the users of data/people.ldif in the slapd (alice /
// "alice-secret", bob / "bob-secret", ...) and settings record 3 sending
// every user there (uid={0},ou=people,dc=clavira,dc=test, bind option 4).
// Settings record 2 holds no directory values: database users.
std::unique_ptr<LoginWorld> MakeTestWorld(bool Directory = true);

// One such world (with the directory) per process, made on first use; its
// servers stop when the process ends.
LoginWorld& SharedTestWorld();

// The folder of the shared test data, ending in "/".
std::string TestDataDir();

}  // namespace testsupport
