// System logon: checks a user name and password with the operating system's
// PAM stack.
//
// The PAM service is "clavira", or the one named by CLAVIRA_PAM_SERVICE. The
// user given to PAM is Name when Domain is empty or ".", else Name@Domain.
// Both pam_authenticate (null passwords refused) and pam_acct_mgmt must
// succeed. A name, domain or password holding a NUL byte, and a password of
// PAM_MAX_RESP_SIZE bytes or more, are refused without reaching PAM. The PAM
// handle is always ended before returning. No error leaves
// SystemLogon; when Diagnostic is given it receives PAM's error text on
// failure (never the password), or is cleared on success.
#pragma once

#include <string>

namespace login {

bool SystemLogon(const std::string& Name, const std::string& Domain, const std::string& Password,
                 std::string* Diagnostic = nullptr);

// The user name handed to PAM for Name and Domain.
std::string SystemLogonUser(const std::string& Name, const std::string& Domain);

}  // namespace login
