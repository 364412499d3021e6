#include "testsupport/SlapdServer.h"

#include <filesystem>
#include <map>
#include <sstream>

#include "platform/Exception.h"
#include "testsupport/Process.h"

namespace testsupport {
namespace {

const std::string kScript = std::string(CLAVIRA_SOURCE_DIR) + "/scripts/slapd-server";

}  // namespace

SlapdServer::SlapdServer(const SlapdOptions& Options) {
  const std::string base = MakeTempDir("clavira-slapd");
  FDir = base + "/server";
  std::vector<std::string> args = {kScript, "start", FDir};
  if (Options.Tls) args.push_back("--tls");
  if (Options.AllowAnonDn) args.push_back("--allow-anon-dn");
  if (Options.Port) args.insert(args.end(), {"--port", std::to_string(Options.Port)});
  if (Options.Tls && Options.TlsPort) {
    args.insert(args.end(), {"--tls-port", std::to_string(Options.TlsPort)});
  }
  if (!Options.LdifFile.empty()) args.insert(args.end(), {"--ldif", Options.LdifFile});
  ProcessResult started = RunProcess(args);
  if (started.ExitCode != 0) {
    std::filesystem::remove_all(base);
    throw platform::Exception("slapd did not start: " + started.Error);
  }
  std::map<std::string, std::string> env;
  std::istringstream lines(started.Output);
  for (std::string line; std::getline(lines, line);) {
    if (auto eq = line.find('='); eq != std::string::npos) {
      env[line.substr(0, eq)] = line.substr(eq + 1);
    }
  }
  FHost = env["HOST"];
  FPort = std::stoi(env["PORT"]);
  FLdapsPort = std::stoi(env["LDAPS_PORT"]);
  FCaFile = env["CA_FILE"];
  FBaseDn = env["BASE_DN"];
  FRootDn = env["ROOT_DN"];
  FRootPassword = env["ROOT_PW"];
}

SlapdServer::~SlapdServer() {
  RunProcess({kScript, "stop", FDir});
  std::filesystem::remove_all(std::filesystem::path(FDir).parent_path());
}

std::string SlapdServer::HostPort() const {
  return FHost + ":" + std::to_string(FPort);
}

std::string SlapdServer::UserDn(const std::string& Uid) const {
  return "uid=" + Uid + ",ou=people," + FBaseDn;
}

void SlapdServer::AddUser(const std::string& Uid, const std::string& Password) {
  std::string ldif = "dn: " + UserDn(Uid) + "\nobjectClass: inetOrgPerson\nuid: " + Uid +
                     "\ncn: " + Uid + "\nsn: " + Uid + "\nuserPassword: " + Password + "\n";
  ProcessResult added = RunProcess(
      {"ldapadd", "-x", "-H", "ldap://" + HostPort() + "/", "-D", FRootDn, "-w", FRootPassword},
      ldif);
  if (added.ExitCode != 0) throw platform::Exception("ldapadd failed: " + added.Error);
}

}  // namespace testsupport
