// A private PAM configuration for pam_wrapper: a service directory with one
// service that checks users against a pam_matrix password file, and an
// "other" service that denies everything.
//
// The process must run with libpam_wrapper.so preloaded. While a PamStack
// lives, PAM_WRAPPER=1 and PAM_WRAPPER_SERVICE_DIR points at its directory;
// the directory is removed when it is destroyed. pam_wrapper takes the service
// directory once per process, so a test program makes one PamStack and adds
// users and services to it. Environment() gives what a child process needs.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct PamUser {
  std::string Name;
  std::string Password;
  std::string Service;  // the one service this user is known to; empty: the stack's own
};

class PamStack {
 public:
  explicit PamStack(const std::vector<PamUser>& Users, const std::string& Service = "clavira");
  ~PamStack();
  PamStack(const PamStack&) = delete;
  PamStack& operator=(const PamStack&) = delete;

  const std::string& Service() const { return FService; }
  const std::string& ServiceDir() const { return FServiceDir; }
  // "NAME=value" entries: LD_PRELOAD, PAM_WRAPPER, PAM_WRAPPER_SERVICE_DIR and
  // what pam_wrapper needs under ASan.
  std::vector<std::string> Environment() const;
  void AddUser(const PamUser& User);
  // Another service over the same users; with AccountsAllowed false its
  // account step denies everyone, though the password check passes.
  void AddService(const std::string& Name, bool AccountsAllowed = true);

  static const char* WrapperLibrary();

 private:
  std::string FDir;
  std::string FService;
  std::string FServiceDir;
  std::string FPassdb;
};

}  // namespace testsupport
