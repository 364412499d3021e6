// Directory binds against private slapd servers on 127.0.0.1.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <ldap.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "login/DirectoryBind.h"
#include "platform/Exception.h"
#include "testsupport/SilentListener.h"
#include "testsupport/SlapdServer.h"

namespace {

using testsupport::SlapdOptions;
using testsupport::SlapdServer;

// Servers start on first use and stop when the test program ends.
SlapdServer& TlsServer() {
  static auto server = [] {
    auto s = std::make_unique<SlapdServer>(SlapdOptions{.Tls = true});
    // Trust its CA the way the library's own settings would (as LDAPTLS_CACERT does).
    ldap_set_option(nullptr, LDAP_OPT_X_TLS_CACERTFILE, s->CaFile().c_str());
    return s;
  }();
  return *server;
}

// Plain only, and it takes a DN with an empty password as an anonymous bind.
SlapdServer& AnonDnServer() {
  static auto server = std::make_unique<SlapdServer>(SlapdOptions{.AllowAnonDn = true});
  return *server;
}

// TLS with a CA nobody trusts.
SlapdServer& UntrustedServer() {
  static auto server = std::make_unique<SlapdServer>(SlapdOptions{.Tls = true});
  return *server;
}

using Operation = bool (*)(const std::string&, const std::string&, const std::string&, int32_t,
                           std::string*);

struct Case {
  const char* Name;
  Operation Op;
  const char* Uid;  // empty: empty account
  const char* Password;
  int32_t Security;
  bool Expected;
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.Name;
}

class DirectoryBindTest : public ::testing::TestWithParam<Case> {};

TEST_P(DirectoryBindTest, AnswersAsTheOptionAndCredentialsSay) {
  const Case& c = GetParam();
  SlapdServer& server = TlsServer();
  std::string account = *c.Uid ? server.UserDn(c.Uid) : "";
  std::string why;
  EXPECT_EQ(c.Op(account, c.Password, server.HostPort(), c.Security, &why), c.Expected) << why;
  if (c.Expected) {
    EXPECT_EQ(why, "");
  } else {
    EXPECT_NE(why, "");
    if (*c.Password) {
      EXPECT_EQ(why.find(c.Password), std::string::npos) << "diagnostic shows the password";
    }
  }
}

constexpr Operation kLogin = &login::DirectoryLogin;
constexpr Operation kBind = &login::DirectoryBind;

INSTANTIATE_TEST_SUITE_P(
    Codes, DirectoryBindTest,
    ::testing::Values(
        // Plain simple binds.
        Case{"LoginCode0", kLogin, "alice", "alice-secret", 0, true},
        Case{"BindCode0NotAnOption", kBind, "alice", "alice-secret", 0, false},
        Case{"LoginCode4", kLogin, "alice", "alice-secret", 4, true},
        Case{"BindCode8", kBind, "bob", "bob-secret", 8, true},
        Case{"BindCode20", kBind, "alice", "alice-secret", 20, true},
        // TLS-only options, through StartTLS with a verified certificate.
        Case{"BindCode1", kBind, "alice", "alice-secret", 1, true},
        Case{"LoginCode2", kLogin, "alice", "alice-secret", 2, true},
        Case{"BindCode40", kBind, "bob", "bob-secret", 40, true},
        Case{"BindCode80", kBind, "alice", "alice-secret", 80, true},
        // Wrong passwords.
        Case{"LoginWrongPassword", kLogin, "alice", "bob-secret", 0, false},
        Case{"BindWrongPasswordTls", kBind, "alice", "wrong", 2, false},
        Case{"UnknownUser", kBind, "nobody", "alice-secret", 4, false},
        // Codes outside the table: no bind, whatever the credentials.
        Case{"Code3", kLogin, "alice", "alice-secret", 3, false},
        Case{"Code16IsNot0x10", kLogin, "alice", "alice-secret", 16, false},
        Case{"CodeMinus1", kBind, "alice", "alice-secret", -1, false},
        // 10 is 0x10, no authentication: anonymous, the password is not looked at.
        Case{"LoginCode10Anonymous", kLogin, "alice", "wrong", 10, true},
        Case{"BindCode10ChecksNothing", kBind, "alice", "alice-secret", 10, false},
        // Empty credentials.
        Case{"LoginEmptyPassword", kLogin, "alice", "", 0, false},
        Case{"BindEmptyPassword", kBind, "alice", "", 4, false},
        Case{"LoginEmptyAccountAndPassword", kLogin, "", "", 0, true},
        Case{"BindEmptyAccountAndPassword", kBind, "", "", 4, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DirectoryBindGuard, EmptyPasswordIsRefusedWhereTheServerWouldTakeIt) {
  SlapdServer& server = AnonDnServer();
  const std::string dn = server.UserDn("alice");
  // The server itself accepts the DN with an empty password (as anonymous).
  LDAP* raw = nullptr;
  ASSERT_EQ(ldap_initialize(&raw, ("ldap://" + server.HostPort()).c_str()), LDAP_SUCCESS);
  std::unique_ptr<LDAP, void (*)(LDAP*)> ld(
      raw, [](LDAP* l) { ldap_unbind_ext_s(l, nullptr, nullptr); });
  int version = LDAP_VERSION3;
  ldap_set_option(ld.get(), LDAP_OPT_PROTOCOL_VERSION, &version);
  berval empty{};
  ASSERT_EQ(
      ldap_sasl_bind_s(ld.get(), dn.c_str(), LDAP_SASL_SIMPLE, &empty, nullptr, nullptr, nullptr),
      LDAP_SUCCESS);

  for (int32_t code : {0, 4, 8, 20}) {
    EXPECT_FALSE(login::DirectoryLogin(dn, "", server.HostPort(), code)) << code;
    EXPECT_FALSE(login::DirectoryBind(dn, "", server.HostPort(), code)) << code;
  }
  EXPECT_TRUE(login::DirectoryLogin(dn, "alice-secret", server.HostPort(), 0));
}

// Inputs a bind cannot carry as typed are refused before any connection,
// with the reason.
TEST(DirectoryBindGuard, InputsThatCannotGoAsTypedAreRefusedWithTheReason) {
  SlapdServer& server = TlsServer();
  const std::string dn = server.UserDn("alice");
  struct Case {
    const char* Name;
    std::string Account, Password, Path;
    const char* Why;
  } cases[] = {
      {"OversizedPassword", dn, std::string(1 << 20, 'p'), server.HostPort(),
       "the password is longer than 4096 bytes"},
      {"OversizedAccount", dn + std::string(5000, ' '), "alice-secret", server.HostPort(),
       "the account is longer than 4096 bytes"},
      {"NulInAccount", dn + std::string("\0,cn=extra", 10), "alice-secret", server.HostPort(),
       "the account holds a NUL byte"},
      {"SchemeInPath", dn, "alice-secret", "ldap://" + server.HostPort(),
       "the path starts with \"ldap://\""},
      {"LdapsSchemeInPath", dn, "alice-secret", "LDAPS://" + server.HostPort() + "/dc=x",
       "the path starts with \"LDAPS://\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string why;
    EXPECT_FALSE(login::DirectoryLogin(c.Account, c.Password, c.Path, 0, &why));
    EXPECT_NE(why.find(c.Why), std::string::npos) << why.substr(0, 200);
  }
}

TEST(DirectoryBindTls, NeverFallsBackToPlain) {
  // No TLS on this server: the secure options make no bind at all.
  SlapdServer& plain = AnonDnServer();
  for (int32_t code : {1, 2, 40, 80}) {
    std::string why;
    EXPECT_FALSE(
        login::DirectoryBind(plain.UserDn("alice"), "alice-secret", plain.HostPort(), code, &why))
        << code;
    EXPECT_NE(why.find("StartTLS"), std::string::npos) << why;
  }
  // A certificate from an unknown CA is refused.
  TlsServer();
  SlapdServer& untrusted = UntrustedServer();
  std::string why;
  EXPECT_FALSE(login::DirectoryBind(untrusted.UserDn("alice"), "alice-secret", untrusted.HostPort(),
                                    2, &why));
  EXPECT_NE(why.find("StartTLS"), std::string::npos) << why;
  EXPECT_TRUE(
      login::DirectoryBind(untrusted.UserDn("alice"), "alice-secret", untrusted.HostPort(), 4));
}

TEST(DirectoryBindTls, Port636SpeaksLdaps) {
  int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(636);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int one = 1;
  setsockopt(probe, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  bool free = bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(probe);
  if (!free) GTEST_SKIP() << "port 636 is taken on 127.0.0.1";

  const std::string trusted = TlsServer().CaFile();
  SlapdServer server(SlapdOptions{.Tls = true, .TlsPort = 636});
  ldap_set_option(nullptr, LDAP_OPT_X_TLS_CACERTFILE, server.CaFile().c_str());
  std::string why;
  EXPECT_TRUE(login::DirectoryBind(server.UserDn("bob"), "bob-secret", "127.0.0.1:636", 2, &why))
      << why;
  EXPECT_TRUE(login::DirectoryLogin(server.UserDn("bob"), "bob-secret", "127.0.0.1:636", 0, &why))
      << why;
  EXPECT_FALSE(login::DirectoryBind(server.UserDn("bob"), "alice-secret", "127.0.0.1:636", 2));
  ldap_set_option(nullptr, LDAP_OPT_X_TLS_CACERTFILE, trusted.c_str());
}

TEST(DirectoryBindPath, FormsOfThePath) {
  SlapdServer& server = TlsServer();
  const std::string dn = server.UserDn("alice");
  const std::string hp = server.HostPort();
  EXPECT_TRUE(login::DirectoryBind(dn, "alice-secret", hp + "/" + server.BaseDn(), 4));
  EXPECT_TRUE(login::DirectoryBind(dn, "alice-secret", hp + "/" + dn, 2));
  // The object named by the path must exist.
  EXPECT_FALSE(login::DirectoryBind(dn, "alice-secret", hp + "/ou=missing," + server.BaseDn(), 4));
  EXPECT_FALSE(login::DirectoryBind(dn, "alice-secret", "127.0.0.1:notaport", 4));
  EXPECT_FALSE(login::DirectoryBind(dn, "alice-secret", "127.0.0.1:99999", 4));
  EXPECT_FALSE(login::DirectoryBind(dn, "alice-secret", "[::1", 4));
}

TEST(DirectoryBindPath, EmptyPathUsesTheConfiguredDefaultServer) {
  SlapdServer& server = TlsServer();
  const std::string uri = "ldap://" + server.HostPort();
  ASSERT_EQ(ldap_set_option(nullptr, LDAP_OPT_URI, uri.c_str()), LDAP_OPT_SUCCESS);
  const std::string dn = server.UserDn("bob");
  EXPECT_TRUE(login::DirectoryLogin(dn, "bob-secret", "", 0));
  EXPECT_FALSE(login::DirectoryLogin(dn, "alice-secret", "", 0));
  EXPECT_TRUE(login::DirectoryBind(dn, "bob-secret", "/" + server.BaseDn(), 2));
  ldap_set_option(nullptr, LDAP_OPT_URI, nullptr);
}

using testsupport::TSilentListener;

TEST(DirectoryBindTimeout, UnansweredServerEndsWithinTheTimeOut) {
  setenv("CLAVIRA_LDAP_TIMEOUT", "1", 1);
  TSilentListener silent;
  const std::string path = "127.0.0.1:" + std::to_string(silent.Port());
  for (int32_t code : {0, 2}) {
    auto start = std::chrono::steady_clock::now();
    std::string why;
    EXPECT_FALSE(login::DirectoryLogin("uid=alice,dc=x", "pw", path, code, &why)) << code;
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 5.0) << code << ": " << why;
  }
  unsetenv("CLAVIRA_LDAP_TIMEOUT");
}

// A silent listener on port 636 (which speaks LDAPS) at some free loopback
// address, or null when every one tried is taken.
std::unique_ptr<TSilentListener> SilentLdapsListener() {
  for (int last = 1; last < 32; ++last) {
    try {
      return std::make_unique<TSilentListener>(TSilentListener::TMode::kSilent,
                                               "127.0.0." + std::to_string(last), 636);
    } catch (const platform::Exception&) {
    }
  }
  return nullptr;
}

// The handshake is a wait of its own: a server that stops answering once TLS
// is to begin must not hold the bind past the time-out.
TEST(DirectoryBindTimeout, SilentTlsHandshakeEndsWithinTheTimeOut) {
  setenv("CLAVIRA_LDAP_TIMEOUT", "1", 1);
  TSilentListener startTls(TSilentListener::TMode::kStartTlsThenSilent);
  std::unique_ptr<TSilentListener> ldaps = SilentLdapsListener();
  struct Case {
    std::string Path;
    int32_t Security;
  };
  std::vector<Case> cases;
  for (int32_t code : {1, 2, 40, 80}) cases.push_back({startTls.HostPort(), code});
  if (ldaps) {
    for (int32_t code : {0, 2, 4}) cases.push_back({ldaps->HostPort(), code});
  } else {
    ADD_FAILURE() << "no loopback address has port 636 free: LDAPS not tried";
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Path + " security " + std::to_string(c.Security));
    auto start = std::chrono::steady_clock::now();
    std::string why;
    EXPECT_FALSE(login::DirectoryLogin("uid=alice,dc=x", "pw", c.Path, c.Security, &why));
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 5.0) << why;
    EXPECT_NE(why.find("no TLS handshake within 1 s"), std::string::npos) << why;
  }
  EXPECT_TRUE(startTls.WaitForConnection(std::chrono::milliseconds(0)));
  unsetenv("CLAVIRA_LDAP_TIMEOUT");
}

// libldap pairs an answer with its request by message id alone: a server that
// answers the bind with a successful SearchResultDone has not accepted it.
TEST(DirectoryBindAnswer, AnotherOperationsSuccessIsNoBind) {
  TSilentListener wrong(TSilentListener::TMode::kSearchDoneThenSilent);
  std::string why;
  EXPECT_FALSE(login::DirectoryLogin("uid=alice,dc=x", "pw", wrong.HostPort(), 0, &why));
  EXPECT_NE(why.find("not a bind response"), std::string::npos) << why;
  EXPECT_TRUE(wrong.WaitForConnection(std::chrono::milliseconds(0)));
}

TEST(DirectoryBindTimeout, ClosedPortIsRefused) {
  int port;
  {
    TSilentListener gone;
    port = gone.Port();
  }
  std::string why;
  EXPECT_FALSE(
      login::DirectoryLogin("uid=alice,dc=x", "pw", "127.0.0.1:" + std::to_string(port), 0, &why));
  EXPECT_NE(why.find("-1"), std::string::npos) << why;
}

}  // namespace
