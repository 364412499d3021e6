#include "login/SystemLogon.h"

#include <security/pam_appl.h>

#include <cstdlib>
#include <cstring>

namespace login {
namespace {

struct Credentials {
  const std::string* User;
  const std::string* Password;
};

// Frees the first Count answers (wiping them) and the array.
void Discard(pam_response* answers, int count) {
  for (int j = 0; j < count; ++j) {
    if (answers[j].resp) {
      std::memset(answers[j].resp, 0, std::strlen(answers[j].resp));
      std::free(answers[j].resp);
    }
  }
  std::free(answers);
}

// Answers the password prompt with the password and a visible prompt with the
// user name; informational messages get no answer.
int Converse(int count, const pam_message** messages, pam_response** responses, void* data) {
  if (count <= 0 || count > PAM_MAX_NUM_MSG || !responses || !data) return PAM_CONV_ERR;
  const auto* credentials = static_cast<const Credentials*>(data);
  auto* answers = static_cast<pam_response*>(std::calloc(count, sizeof(pam_response)));
  if (!answers) return PAM_BUF_ERR;
  for (int i = 0; i < count; ++i) {
    const char* answer = nullptr;
    switch (messages[i]->msg_style) {
      case PAM_PROMPT_ECHO_OFF:
        answer = credentials->Password->c_str();
        break;
      case PAM_PROMPT_ECHO_ON:
        answer = credentials->User->c_str();
        break;
      case PAM_ERROR_MSG:
      case PAM_TEXT_INFO:
        break;
      default:
        Discard(answers, i);
        return PAM_CONV_ERR;
    }
    if (answer) {
      answers[i].resp = strdup(answer);
      if (!answers[i].resp) {
        Discard(answers, i);
        return PAM_BUF_ERR;
      }
    }
  }
  *responses = answers;
  return PAM_SUCCESS;
}

// PAM takes C strings: a NUL byte would cut a text short, and a password
// the operator did not type whole must never be what PAM checks. PAM's
// conversation answers are limited to PAM_MAX_RESP_SIZE bytes.
std::string Refusal(const std::string& user, const std::string& password) {
  if (user.find('\0') != std::string::npos)
    return "the user name holds a NUL byte: not sent to PAM";
  if (password.find('\0') != std::string::npos)
    return "the password holds a NUL byte: not sent to PAM";
  if (password.size() >= PAM_MAX_RESP_SIZE)
    return "the password is longer than " + std::to_string(PAM_MAX_RESP_SIZE - 1) +
           " bytes: not sent to PAM";
  return {};
}

std::string ServiceName() {
  const char* name = std::getenv("CLAVIRA_PAM_SERVICE");
  return name && *name ? name : "clavira";
}

}  // namespace

std::string SystemLogonUser(const std::string& Name, const std::string& Domain) {
  if (Domain.empty() || Domain == ".") return Name;
  return Name + "@" + Domain;
}

bool SystemLogon(const std::string& Name, const std::string& Domain, const std::string& Password,
                 std::string* Diagnostic) {
  std::string why;
  bool ok = false;
  try {
    const std::string user = SystemLogonUser(Name, Domain);
    const std::string service = ServiceName();
    why = Refusal(user, Password);
    if (!why.empty()) {
      if (Diagnostic) *Diagnostic = why;
      return false;
    }
    Credentials credentials{&user, &Password};
    pam_conv conversation{&Converse, &credentials};
    pam_handle_t* handle = nullptr;
    int rc = pam_start(service.c_str(), user.c_str(), &conversation, &handle);
    if (rc != PAM_SUCCESS) {
      why = std::string("pam_start: ") + pam_strerror(handle, rc);
      if (handle) pam_end(handle, rc);
    } else {
      const char* step = "pam_authenticate";
      rc = pam_authenticate(handle, PAM_DISALLOW_NULL_AUTHTOK);
      if (rc == PAM_SUCCESS) {
        step = "pam_acct_mgmt";
        rc = pam_acct_mgmt(handle, PAM_DISALLOW_NULL_AUTHTOK);
      }
      ok = rc == PAM_SUCCESS;
      if (!ok) why = std::string(step) + ": " + pam_strerror(handle, rc);
      pam_end(handle, rc);
    }
  } catch (const std::exception& e) {
    why = e.what();
    ok = false;
  }
  if (Diagnostic) *Diagnostic = ok ? std::string() : why;
  return ok;
}

}  // namespace login
