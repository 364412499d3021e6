#include "testsupport/PgCluster.h"

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace testsupport {
namespace {

const std::string kScript = std::string(CLAVIRA_SOURCE_DIR) + "/scripts/pg-cluster";

std::string ShellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'')
      out += "'\\''";
    else
      out += c;
  }
  return out + "'";
}

// Runs a shell command; returns its exit status and its combined output.
int Run(const std::string& command, std::string& output) {
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run " + command);
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) output.append(buf.data(), n);
  int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string EnvValue(const std::string& env, const std::string& key) {
  size_t at = env.find(key + "=");
  if (at == std::string::npos) return {};
  at += key.size() + 1;
  std::string value = env.substr(at, env.find('\n', at) - at);
  if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
    value = value.substr(1, value.size() - 2);
  return value;
}

std::unique_ptr<PgCluster>& Shared() {
  static std::unique_ptr<PgCluster> cluster;
  return cluster;
}

}  // namespace

PgCluster::PgCluster() {
  char pattern[] = "/tmp/clavira-pg-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("cannot make a temporary folder");
  FDir = pattern;
  std::string output;
  if (Run(kScript + " start " + ShellQuote(FDir), output) != 0) {
    std::string ignored;
    Run(kScript + " stop " + ShellQuote(FDir), ignored);
    throw std::runtime_error("PostgreSQL cluster did not start: " + output);
  }
  FPort = std::stoi(EnvValue(output, "PG_PORT"));
  FDatabase = EnvValue(output, "PG_DATABASE");
  FUser = EnvValue(output, "PG_USER");
  FPassword = EnvValue(output, "PG_PASSWORD");
  FDriver = EnvValue(output, "ODBC_DRIVER");
}

PgCluster::~PgCluster() {
  std::string ignored;
  Run(kScript + " stop " + ShellQuote(FDir), ignored);
}

void PgCluster::ExportOdbcEnvironment() const {
  setenv("ODBCSYSINI", FDir.c_str(), 1);
  setenv("CLAVIRA_ODBC_SQLSERVER", FDriver.c_str(), 1);
  setenv("CLAVIRA_ODBC_ORACLE", FDriver.c_str(), 1);
}

std::string PgCluster::SqlServerConnectionString() const {
  return "Provider=SQLOLEDB.1;Password=" + FPassword +
         ";Persist Security Info=True;User ID=" + FUser + ";Initial Catalog=" + FDatabase +
         ";Data Source=" + FHost + "," + std::to_string(FPort);
}

std::string PgCluster::OracleConnectionString() const {
  return FUser + "/" + FPassword + "@" + FHost + ":" + std::to_string(FPort) + ":" + FDatabase;
}

std::string PgCluster::OdbcConnectionString() const {
  // Braced only when needed: the PostgreSQL driver keeps braces on values
  // other than the password.
  auto q = [](const std::string& v) {
    if (v.find_first_of(";{}[](),=?*!@") == std::string::npos) return v;
    std::string out = "{";
    for (char c : v) {
      out += c;
      if (c == '}') out += '}';
    }
    return out + "}";
  };
  return "DRIVER={" + FDriver + "};SERVER=" + FHost + ";PORT=" + std::to_string(FPort) +
         ";DATABASE=" + q(FDatabase) + ";UID=" + q(FUser) + ";PWD=" + q(FPassword);
}

void PgCluster::RunSqlFile(const std::string& path) const {
  std::string output;
  if (Run(kScript + " psql " + ShellQuote(FDir) + " " + ShellQuote(path), output) != 0)
    throw std::runtime_error("SQL failed: " + output);
}

void PgCluster::RunSql(const std::string& sql) const {
  std::string path = FDir + "/run-" + std::to_string(getpid()) + ".sql";
  std::ofstream(path) << sql;
  try {
    RunSqlFile(path);
  } catch (...) {
    std::remove(path.c_str());
    throw;
  }
  std::remove(path.c_str());
}

void PgClusterEnvironment::TearDown() {
  Shared().reset();
}

PgCluster& PgClusterEnvironment::Cluster() {
  auto& cluster = Shared();
  if (!cluster) cluster = std::make_unique<PgCluster>();
  return *cluster;
}

}  // namespace testsupport
