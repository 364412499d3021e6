#include "login/DirectoryBind.h"

#include <ldap.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/Conversions.h"

namespace login {
namespace {

enum class BindKind { kPlain, kTls, kAnonymous };

// The code is the flag's hexadecimal value written with decimal digits.
std::optional<BindKind> OptionFor(int32_t security) {
  switch (security) {
    case 0:   // no option
    case 4:   // read-only server: nothing to choose between here
    case 8:   // prompt for credentials: the credentials are given
    case 20:  // fast bind: a simple bind is already the fastest
      return BindKind::kPlain;
    case 1:   // secure authentication: the password never travels in clear
    case 2:   // encryption / SSL
    case 40:  // signing
    case 80:  // sealing
      return BindKind::kTls;
    case 10:  // no authentication
      return BindKind::kAnonymous;
    default:
      return std::nullopt;
  }
}

struct Target {
  std::string Uri;  // empty: the library's default server
  std::string BaseDn;
  bool Ldaps = false;
};

// The length of a leading "scheme://", or 0.
size_t SchemeLength(const std::string& path) {
  size_t i = 0;
  while (i < path.size() && (std::isalnum(static_cast<unsigned char>(path[i])) ||
                             (i > 0 && (path[i] == '+' || path[i] == '-' || path[i] == '.'))))
    ++i;
  return i > 0 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                 path.compare(i, 3, "://") == 0
             ? i + 3
             : 0;
}

// Splits host[:port][/base-DN]; nothing else is interpreted.
std::optional<Target> ParsePath(const std::string& path, std::string& why) {
  Target t;
  // "LDAP://" is put in front of the path: a path that brings its own scheme
  // would be read as host "ldap" with the rest as a base DN.
  if (size_t scheme = SchemeLength(path)) {
    why = "the path starts with \"" + path.substr(0, scheme) +
          "\": give host[:port][/base-DN] only, the path follows \"LDAP://\"";
    return std::nullopt;
  }
  std::string hostport = path;
  if (auto slash = path.find('/'); slash != std::string::npos) {
    hostport = path.substr(0, slash);
    t.BaseDn = path.substr(slash + 1);
  }
  if (hostport.empty()) return t;
  std::string host = hostport;
  std::string port;
  if (hostport.front() == '[') {  // [IPv6]:port
    auto close = hostport.find(']');
    if (close == std::string::npos) {
      why = "malformed host in path";
      return std::nullopt;
    }
    host = hostport.substr(0, close + 1);
    std::string rest = hostport.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') {
        why = "malformed host in path";
        return std::nullopt;
      }
      port = rest.substr(1);
    }
  } else if (auto colon = hostport.rfind(':'); colon != std::string::npos) {
    host = hostport.substr(0, colon);
    port = hostport.substr(colon + 1);
  }
  if (host.empty() || host.find_first_of(" \t?#%@") != std::string::npos) {
    why = "malformed host in path";
    return std::nullopt;
  }
  if (!port.empty()) {
    if (port.find_first_not_of("0123456789") != std::string::npos || port.size() > 5 ||
        std::stoi(port) < 1 || std::stoi(port) > 65535) {
      why = "malformed port in path";
      return std::nullopt;
    }
  }
  t.Ldaps = port == "636";
  t.Uri = std::string(t.Ldaps ? "ldaps://" : "ldap://") + host + (port.empty() ? "" : ":" + port);
  return t;
}

int TimeoutSeconds() {
  if (const char* text = std::getenv("CLAVIRA_LDAP_TIMEOUT")) {
    auto value = platform::TryStrToInt(text);
    if (value && *value > 0) return *value;
  }
  return 10;
}

const char kSystemTrustStore[] = "/etc/ssl/certs/ca-certificates.crt";

// Longer bind names and passwords are refused before any connection: servers
// drop requests that large (slapd closes the connection, which would read as
// an unreachable server).
constexpr size_t kMaxCredential = 4096;

// libldap runs the TLS handshake (StartTLS's and LDAPS's) without a time-out:
// against a server that goes silent it spins on the socket for ever. While a
// handshake is under way this watchdog's thread waits for the time-out and
// then shuts the reading side of the connection's socket, which makes the
// handshake fail at once. The socket comes from libldap's connection
// callbacks, which run on the caller's thread; the lock keeps the thread away
// from a socket that libldap has let go.
// REQUIRES: outlives the LDAP handle whose callbacks point at it.
class TTlsWatchdog {
 public:
  explicit TTlsWatchdog(int Seconds) : FLimit(Seconds), FThread([this] { Run(); }) {
    FCallbacks.lc_add = &Added;
    FCallbacks.lc_del = &Removed;
    FCallbacks.lc_arg = this;
  }
  ~TTlsWatchdog() {
    {
      std::lock_guard<std::mutex> guard(FLock);
      FStop = true;
    }
    FWake.notify_all();
    FThread.join();
  }
  TTlsWatchdog(const TTlsWatchdog&) = delete;
  TTlsWatchdog& operator=(const TTlsWatchdog&) = delete;

  ldap_conncb* Callbacks() { return &FCallbacks; }

  // Runs Call (a libldap call that may do a handshake) under the time-out.
  template <class F>
  int Guard(F Call) {
    {
      std::lock_guard<std::mutex> guard(FLock);
      FDeadline = std::chrono::steady_clock::now() + FLimit;
      FArmed = true;
    }
    FWake.notify_all();
    const int rc = Call();
    std::lock_guard<std::mutex> guard(FLock);
    FArmed = false;
    return rc;
  }
  bool Fired() {
    std::lock_guard<std::mutex> guard(FLock);
    return FFired;
  }
  int Seconds() const { return static_cast<int>(FLimit.count()); }

 private:
  static int Added(LDAP*, Sockbuf* Buffer, LDAPURLDesc*, sockaddr*, ldap_conncb* Context) {
    int fd = -1;
    ber_sockbuf_ctrl(Buffer, LBER_SB_OPT_GET_FD, &fd);
    auto* self = static_cast<TTlsWatchdog*>(Context->lc_arg);
    std::lock_guard<std::mutex> guard(self->FLock);
    self->FSocket = fd;
    return 0;
  }
  static void Removed(LDAP*, Sockbuf*, ldap_conncb* Context) {
    auto* self = static_cast<TTlsWatchdog*>(Context->lc_arg);
    std::lock_guard<std::mutex> guard(self->FLock);
    self->FSocket = -1;
  }
  void Run() {
    std::unique_lock<std::mutex> lock(FLock);
    while (!FStop) {
      if (!FArmed) {
        FWake.wait(lock);
      } else if (FWake.wait_until(lock, FDeadline) == std::cv_status::timeout && FArmed &&
                 std::chrono::steady_clock::now() >= FDeadline) {
        FFired = true;
        FArmed = false;
        if (FSocket >= 0) shutdown(FSocket, SHUT_RD);
      }
    }
  }

  const std::chrono::seconds FLimit;
  std::mutex FLock;
  std::condition_variable FWake;
  std::chrono::steady_clock::time_point FDeadline;
  bool FArmed = false;
  bool FFired = false;
  bool FStop = false;
  int FSocket = -1;
  ldap_conncb FCallbacks{};
  std::thread FThread;
};

struct Unbinder {
  void operator()(LDAP* ld) const { ldap_unbind_ext_s(ld, nullptr, nullptr); }
};
using Connection = std::unique_ptr<LDAP, Unbinder>;

// "<step>: <text> (<code>)" and the server's diagnostic message, if any.
std::string Describe(LDAP* ld, const char* step, int rc) {
  std::string text =
      std::string(step) + ": " + ldap_err2string(rc) + " (" + std::to_string(rc) + ")";
  char* message = nullptr;
  if (ld && ldap_get_option(ld, LDAP_OPT_DIAGNOSTIC_MESSAGE, &message) == LDAP_OPT_SUCCESS &&
      message) {
    if (*message) text += "; server: " + std::string(message);
    ldap_memfree(message);
  }
  return text;
}

// A connection starts without the library's TLS file settings (ldap.conf,
// LDAPTLS_*): they are copied in, the system trust store stands in for a
// missing CA, and the server's certificate is always verified, whatever
// ldap.conf says. The new context is made last, from these settings.
bool SetUpTls(LDAP* ld) {
  bool have_ca = false;
  for (int option : {LDAP_OPT_X_TLS_CACERTFILE, LDAP_OPT_X_TLS_CACERTDIR, LDAP_OPT_X_TLS_CERTFILE,
                     LDAP_OPT_X_TLS_KEYFILE}) {
    char* value = nullptr;
    if (ldap_get_option(nullptr, option, &value) == LDAP_OPT_SUCCESS && value) {
      bool set = *value != 0;
      if (set && ldap_set_option(ld, option, value) != LDAP_OPT_SUCCESS) set = false;
      if (set && (option == LDAP_OPT_X_TLS_CACERTFILE || option == LDAP_OPT_X_TLS_CACERTDIR)) {
        have_ca = true;
      }
      ldap_memfree(value);
    }
  }
  if (!have_ca && access(kSystemTrustStore, R_OK) == 0 &&
      ldap_set_option(ld, LDAP_OPT_X_TLS_CACERTFILE, kSystemTrustStore) != LDAP_OPT_SUCCESS) {
    return false;
  }
  int demand = LDAP_OPT_X_TLS_DEMAND;
  int client = 0;
  return ldap_set_option(ld, LDAP_OPT_X_TLS_REQUIRE_CERT, &demand) == LDAP_OPT_SUCCESS &&
         ldap_set_option(ld, LDAP_OPT_X_TLS_NEWCTX, &client) == LDAP_OPT_SUCCESS;
}

// A simple bind whose answer must be a bind response: libldap matches an
// answer to its request by message id alone, so a server answering the bind
// with another operation's success (a SearchResultDone with code 0) would
// otherwise pass for one that accepted the credentials. Sets Why for an
// answer that is none.
int SimpleBind(LDAP* ld, const std::string& name, berval& credentials, timeval timeout,
               std::string& why) {
  int id = -1;
  int rc = ldap_sasl_bind(ld, name.empty() ? nullptr : name.c_str(), LDAP_SASL_SIMPLE, &credentials,
                          nullptr, nullptr, &id);
  if (rc != LDAP_SUCCESS) return rc;
  LDAPMessage* answer = nullptr;
  const int got = ldap_result(ld, id, LDAP_MSG_ALL, &timeout, &answer);
  if (got <= 0) {
    if (answer) ldap_msgfree(answer);
    if (got == 0) {
      ldap_abandon_ext(ld, id, nullptr, nullptr);
      why = "bind: no answer within " + std::to_string(timeout.tv_sec) + " s";
      return LDAP_TIMEOUT;
    }
    int code = LDAP_SERVER_DOWN;
    ldap_get_option(ld, LDAP_OPT_RESULT_CODE, &code);
    return code == LDAP_SUCCESS ? LDAP_SERVER_DOWN : code;
  }
  if (got != LDAP_RES_BIND) {
    ldap_msgfree(answer);
    why = "bind: the server's answer is not a bind response (message type " + std::to_string(got) +
          ")";
    return LDAP_PROTOCOL_ERROR;
  }
  int code = LDAP_OTHER;
  rc = ldap_parse_result(ld, answer, &code, nullptr, nullptr, nullptr, nullptr, 1);
  return rc != LDAP_SUCCESS ? rc : code;
}

bool Attempt(const std::string& account, const std::string& password, const std::string& path,
             BindKind kind, std::string& why) {
  auto target = ParsePath(path, why);
  if (!target) return false;
  const bool tls = kind == BindKind::kTls || target->Ldaps;
  const int seconds = TimeoutSeconds();

  // Declared before the handle: its callbacks run until the handle is gone.
  std::optional<TTlsWatchdog> watchdog;
  if (tls) watchdog.emplace(seconds);
  LDAP* raw = nullptr;
  int rc = ldap_initialize(&raw, target->Uri.empty() ? nullptr : target->Uri.c_str());
  Connection ld(raw);
  if (rc != LDAP_SUCCESS || !ld) {
    why = Describe(nullptr, "ldap_initialize", rc);
    return false;
  }
  int version = LDAP_VERSION3;
  timeval timeout{seconds, 0};
  if (ldap_set_option(ld.get(), LDAP_OPT_PROTOCOL_VERSION, &version) != LDAP_OPT_SUCCESS ||
      ldap_set_option(ld.get(), LDAP_OPT_NETWORK_TIMEOUT, &timeout) != LDAP_OPT_SUCCESS ||
      ldap_set_option(ld.get(), LDAP_OPT_TIMEOUT, &timeout) != LDAP_OPT_SUCCESS ||
      ldap_set_option(ld.get(), LDAP_OPT_REFERRALS, LDAP_OPT_OFF) != LDAP_OPT_SUCCESS) {
    why = "could not set connection options";
    return false;
  }

  if (tls &&
      (ldap_set_option(ld.get(), LDAP_OPT_CONNECT_CB, watchdog->Callbacks()) != LDAP_OPT_SUCCESS ||
       !SetUpTls(ld.get()))) {
    why = "could not set up TLS";
    return false;
  }
  // "<step>: ..." for a failed TLS step; says so when the time-out ended it.
  auto tlsFailure = [&](const char* step, int code) {
    why = Describe(ld.get(), step, code);
    if (watchdog->Fired())
      why += "; no TLS handshake within " + std::to_string(watchdog->Seconds()) + " s";
    return false;
  };

  if (target->Ldaps) {
    // Connecting to an LDAPS port includes the handshake.
    rc = watchdog->Guard([&] { return ldap_connect(ld.get()); });
    if (rc != LDAP_SUCCESS) return tlsFailure("connecting over LDAPS", rc);
  } else if (kind == BindKind::kTls) {
    rc = watchdog->Guard([&] { return ldap_start_tls_s(ld.get(), nullptr, nullptr); });
    if (rc != LDAP_SUCCESS) return tlsFailure("StartTLS", rc);
  }

  berval credentials{};
  std::string name;
  if (kind != BindKind::kAnonymous) {
    name = account;
    credentials.bv_val = const_cast<char*>(password.data());
    credentials.bv_len = password.size();
  }
  rc = SimpleBind(ld.get(), name, credentials, timeout, why);
  if (rc != LDAP_SUCCESS) {
    if (why.empty()) why = Describe(ld.get(), "bind", rc);
    return false;
  }

  if (!target->BaseDn.empty()) {
    // Opening the object: it must exist and be visible to the bound session.
    char no_attributes[] = LDAP_NO_ATTRS;
    char* attributes[] = {no_attributes, nullptr};
    LDAPMessage* result = nullptr;
    rc = ldap_search_ext_s(ld.get(), target->BaseDn.c_str(), LDAP_SCOPE_BASE, "(objectClass=*)",
                           attributes, 1, nullptr, nullptr, &timeout, 1, &result);
    if (result) ldap_msgfree(result);
    if (rc != LDAP_SUCCESS) {
      why = Describe(ld.get(), "reading the base object", rc);
      return false;
    }
  }
  return true;
}

bool Run(const std::string& account, const std::string& password, const std::string& path,
         int32_t security, bool checks_password, std::string* diagnostic) {
  std::string why;
  bool ok = false;
  try {
    auto kind = OptionFor(security);
    if (!kind || (checks_password && security == 0)) {
      why = "security code " + std::to_string(security) + " is not a bind option";
    } else if (checks_password && *kind == BindKind::kAnonymous) {
      why = "no authentication checks no password";
    } else if (*kind != BindKind::kAnonymous && account.find('\0') != std::string::npos) {
      // libldap takes the name as a C string: it would be cut at the NUL.
      why = "the account holds a NUL byte: no bind made";
    } else if (*kind != BindKind::kAnonymous &&
               (account.size() > kMaxCredential || password.size() > kMaxCredential)) {
      why = std::string(account.size() > kMaxCredential ? "the account" : "the password") +
            " is longer than " + std::to_string(kMaxCredential) + " bytes: no bind made";
    } else if (*kind != BindKind::kAnonymous && !account.empty() && password.empty()) {
      why = "empty password: no bind made";
    } else if (checks_password && account.empty() && password.empty()) {
      why = "empty account and password: an anonymous bind checks no password";
    } else {
      ok = Attempt(account, password, path, *kind, why);
    }
  } catch (const std::exception& e) {
    why = e.what();
    ok = false;
  } catch (...) {
    why = "unknown error";
    ok = false;
  }
  if (diagnostic) *diagnostic = ok ? std::string() : why;
  return ok;
}

}  // namespace

bool DirectoryBind(const std::string& Account, const std::string& Password, const std::string& Path,
                   int32_t Security, std::string* Diagnostic) {
  return Run(Account, Password, Path, Security, /*checks_password=*/true, Diagnostic);
}

bool DirectoryLogin(const std::string& Account, const std::string& Password,
                    const std::string& Path, int32_t Security, std::string* Diagnostic) {
  return Run(Account, Password, Path, Security, /*checks_password=*/false, Diagnostic);
}

}  // namespace login
