// A private slapd on 127.0.0.1 for one test or test suite, over
// scripts/slapd-server.
//
// The server is started by the constructor and stopped by the destructor,
// which also removes its directory. It holds the default users of the script
// (uid=alice / alice-secret, uid=bob / bob-secret in ou=people) unless an
// LDIF is given. Start failures throw platform::Exception with the script's
// message.
#pragma once

#include <string>

namespace testsupport {

struct SlapdOptions {
  bool Tls = false;          // throwaway CA, StartTLS and an ldaps:// port
  bool AllowAnonDn = false;  // accept a DN with an empty password as anonymous
  int Port = 0;              // 0: a free port
  int TlsPort = 0;           // 0: a free port (only with Tls)
  std::string LdifFile{};    // entries below the suffix instead of the default users
};

class SlapdServer {
 public:
  explicit SlapdServer(const SlapdOptions& Options = {});
  ~SlapdServer();
  SlapdServer(const SlapdServer&) = delete;
  SlapdServer& operator=(const SlapdServer&) = delete;

  const std::string& Host() const { return FHost; }
  int Port() const { return FPort; }
  int LdapsPort() const { return FLdapsPort; }           // 0 without TLS
  const std::string& CaFile() const { return FCaFile; }  // empty without TLS
  const std::string& BaseDn() const { return FBaseDn; }
  const std::string& RootDn() const { return FRootDn; }
  const std::string& RootPassword() const { return FRootPassword; }
  const std::string& Dir() const { return FDir; }

  // "127.0.0.1:<port>", the form a directory path takes.
  std::string HostPort() const;
  // The DN of a user in ou=people.
  std::string UserDn(const std::string& Uid) const;
  // Adds an inetOrgPerson uid=<Uid> in ou=people to the running server.
  void AddUser(const std::string& Uid, const std::string& Password);

 private:
  std::string FDir;
  std::string FHost;
  int FPort = 0;
  int FLdapsPort = 0;
  std::string FCaFile;
  std::string FBaseDn;
  std::string FRootDn;
  std::string FRootPassword;
};

}  // namespace testsupport
