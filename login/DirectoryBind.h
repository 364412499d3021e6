// Directory bind: checks an account and a password against an LDAP directory.
//
// Path is what follows "LDAP://": host, host:port, host/base-DN or
// host:port/base-DN; an empty path (or host) means the library's configured
// default server. Port 636 speaks LDAPS. When a base DN is given the bound
// session must also be able to read that object, as opening a directory object
// does. The account is the bind name as typed.
//
// Security selects one bind option (the code is the option flag's hexadecimal
// value written in decimal digits):
//   0, 4, 8, 20     plain simple bind
//   1, 2, 40, 80    simple bind only inside TLS (StartTLS that must succeed
//                   before the credentials go, or LDAPS), server certificate
//                   verified against the system store or LDAPTLS_CACERT
//   10              no authentication: an anonymous bind
// DirectoryBind checks a user's password, so it refuses 0 (not one of its
// options), 10 and an empty account with an empty password: none of them
// checks a password. DirectoryLogin is the raw test and makes those binds.
// Any other code makes no bind. A non-empty account with an empty password
// makes no bind (a directory may take it as anonymous), nor does an account
// holding a NUL byte, an account or a password longer than 4096 bytes, or a
// path that starts with a scheme ("ldap://host" is not a path).
//
// Every wait on the network is bounded by CLAVIRA_LDAP_TIMEOUT seconds
// (default 10). No error leaves these functions: every failure is false.
// When Diagnostic is given it receives why the attempt failed (never the
// password), or is cleared on success.
#pragma once

#include <cstdint>
#include <string>

namespace login {

bool DirectoryBind(const std::string& Account, const std::string& Password, const std::string& Path,
                   int32_t Security, std::string* Diagnostic = nullptr);

bool DirectoryLogin(const std::string& Account, const std::string& Password,
                    const std::string& Path, int32_t Security, std::string* Diagnostic = nullptr);

}  // namespace login
