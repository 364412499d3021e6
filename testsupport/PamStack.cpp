#include "testsupport/PamStack.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Exception.h"
#include "testsupport/Process.h"

namespace testsupport {
namespace {

const char kMatrix[] = "/usr/lib/x86_64-linux-gnu/pam_wrapper/pam_matrix.so";
const char kDeny[] = "/usr/lib/x86_64-linux-gnu/security/pam_deny.so";

void WriteFile(const std::string& path, const std::string& text, bool append = false) {
  std::ofstream out(path, append ? std::ios::app : std::ios::trunc);
  out << text;
  if (!out) throw platform::Exception("cannot write " + path);
}

}  // namespace

const char* PamStack::WrapperLibrary() {
  return "/usr/lib/x86_64-linux-gnu/libpam_wrapper.so";
}

PamStack::PamStack(const std::vector<PamUser>& Users, const std::string& Service)
    : FDir(MakeTempDir("clavira-pam")), FService(Service) {
  FServiceDir = FDir + "/services";
  FPassdb = FDir + "/passdb";
  std::filesystem::create_directory(FServiceDir);
  WriteFile(FPassdb, "");
  for (const auto& user : Users) AddUser(user);
  AddService(FService);
  std::string deny;
  for (const char* type : {"auth", "account", "password", "session"}) {
    deny += std::string(type) + " required " + kDeny + "\n";
  }
  WriteFile(FServiceDir + "/other", deny);
  setenv("PAM_WRAPPER_SERVICE_DIR", FServiceDir.c_str(), 1);
  setenv("PAM_WRAPPER", "1", 1);
  // pam_wrapper opens libpam at its first use; deep binding breaks under ASan.
  // (pam_wrapper 1.1.4 reads the switch under the UID_WRAPPER name.)
  setenv("PAM_WRAPPER_DISABLE_DEEPBIND", "1", 1);
  setenv("UID_WRAPPER_DISABLE_DEEPBIND", "1", 1);
}

PamStack::~PamStack() {
  unsetenv("PAM_WRAPPER_SERVICE_DIR");
  std::error_code ignored;
  std::filesystem::remove_all(FDir, ignored);
}

std::vector<std::string> PamStack::Environment() const {
  // The ASan settings are harmless for a program built without it.
  const char* asan = std::getenv("ASAN_OPTIONS");
  return {std::string("LD_PRELOAD=") + WrapperLibrary(),
          "PAM_WRAPPER=1",
          "PAM_WRAPPER_SERVICE_DIR=" + FServiceDir,
          "PAM_WRAPPER_DISABLE_DEEPBIND=1",
          "UID_WRAPPER_DISABLE_DEEPBIND=1",
          "ASAN_OPTIONS=" + std::string(asan && *asan ? std::string(asan) + ":" : "") +
              "verify_asan_link_order=0"};
}

void PamStack::AddUser(const PamUser& User) {
  const std::string& service = User.Service.empty() ? FService : User.Service;
  WriteFile(FPassdb, User.Name + ":" + User.Password + ":" + service + "\n", /*append=*/true);
}

}  // namespace testsupport

namespace testsupport {

void PamStack::AddService(const std::string& Name, bool AccountsAllowed) {
  const std::string matrix = std::string(kMatrix) + " passdb=" + FPassdb + "\n";
  std::string stack = "auth required " + matrix;
  stack += "account required " + (AccountsAllowed ? matrix : std::string(kDeny) + "\n");
  stack += "password required " + matrix + "session required " + matrix;
  WriteFile(FServiceDir + "/" + Name, stack);
}

}  // namespace testsupport
