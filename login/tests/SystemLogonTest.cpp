// System logons through pam_wrapper and pam_matrix (run with
// libpam_wrapper.so preloaded).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "login/SystemLogon.h"
#include "testsupport/PamStack.h"

namespace {

using testsupport::PamStack;
using testsupport::PamUser;

class SystemLogonTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FStack =
        std::make_unique<PamStack>(std::vector<PamUser>{{"alice", "alice-secret", ""},
                                                        {"carol@example", "carol-secret", ""},
                                                        {"dave", "dave-secret", "clavira-locked"}});
    FStack->AddService("clavira-locked", /*AccountsAllowed=*/false);
  }
  static void TearDownTestSuite() { FStack.reset(); }
  void TearDown() override { unsetenv("CLAVIRA_PAM_SERVICE"); }

  static std::unique_ptr<PamStack> FStack;
};
std::unique_ptr<PamStack> SystemLogonTest::FStack;

TEST_F(SystemLogonTest, ChecksNameAndPassword) {
  std::string why;
  EXPECT_TRUE(login::SystemLogon("alice", "", "alice-secret", &why)) << why;
  EXPECT_EQ(why, "");
  EXPECT_TRUE(login::SystemLogon("alice", ".", "alice-secret"));

  EXPECT_FALSE(login::SystemLogon("alice", "", "wrong", &why));
  EXPECT_NE(why.find("pam_authenticate"), std::string::npos) << why;
  EXPECT_EQ(why.find("wrong"), std::string::npos) << why;
  EXPECT_FALSE(login::SystemLogon("alice", "", ""));
  EXPECT_FALSE(login::SystemLogon("nobody", "", "alice-secret"));
  EXPECT_FALSE(login::SystemLogon("", "", ""));
}

// PAM reads C strings: a NUL byte would cut the text before PAM sees it, so
// "alice-secret" followed by anything would pass for "alice-secret".
TEST_F(SystemLogonTest, TextsPamCannotTakeWholeAreRefused) {
  using namespace std::string_literals;
  struct Case {
    std::string Name, Domain, Password, Why;
  } cases[] = {
      {"alice", "", "alice-secret\0anything"s, "the password holds a NUL byte"},
      {"alice", "", "alice-secret\0"s, "the password holds a NUL byte"},
      {"alice\0mallory"s, "", "alice-secret", "the user name holds a NUL byte"},
      {"carol", "example\0x"s, "carol-secret", "the user name holds a NUL byte"},
      {"alice", "", "alice-secret" + std::string(600, 'x'), "longer than 511 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Why);
    std::string why;
    EXPECT_FALSE(login::SystemLogon(c.Name, c.Domain, c.Password, &why));
    EXPECT_NE(why.find(c.Why), std::string::npos) << why;
    EXPECT_EQ(why.find("alice-secret"), std::string::npos) << why;
  }
  EXPECT_TRUE(login::SystemLogon("alice", "", "alice-secret"));
}

TEST_F(SystemLogonTest, DomainMakesNameAtDomain) {
  EXPECT_EQ(login::SystemLogonUser("carol", "example"), "carol@example");
  EXPECT_TRUE(login::SystemLogon("carol", "example", "carol-secret"));
  EXPECT_FALSE(login::SystemLogon("carol", "", "carol-secret"));
  EXPECT_FALSE(login::SystemLogon("alice", "example", "alice-secret"));
}

TEST_F(SystemLogonTest, AccountManagementMustPassToo) {
  setenv("CLAVIRA_PAM_SERVICE", "clavira-locked", 1);
  std::string why;
  EXPECT_FALSE(login::SystemLogon("dave", "", "dave-secret", &why));
  EXPECT_NE(why.find("pam_acct_mgmt"), std::string::npos) << why;
  EXPECT_FALSE(login::SystemLogon("dave", "", "wrong", &why));
  EXPECT_NE(why.find("pam_authenticate"), std::string::npos) << why;
}

TEST_F(SystemLogonTest, ServiceComesFromTheEnvironment) {
  setenv("CLAVIRA_PAM_SERVICE", "missing-service", 1);
  EXPECT_FALSE(login::SystemLogon("alice", "", "alice-secret"));  // "other" denies
  unsetenv("CLAVIRA_PAM_SERVICE");
  EXPECT_TRUE(login::SystemLogon("alice", "", "alice-secret"));
}

TEST_F(SystemLogonTest, LeavesNothingOpen) {
  auto open_files = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         std::filesystem::directory_iterator());
  };
  login::SystemLogon("alice", "", "wrong");  // lets PAM load what it keeps for good
  login::SystemLogon("alice", "", "alice-secret");
  auto before = open_files();
  for (int i = 0; i < 20; ++i) {
    login::SystemLogon("alice", "", i % 2 ? "wrong" : "alice-secret");
    login::SystemLogon("nobody", "", "x");
  }
  EXPECT_EQ(open_files(), before);
}

}  // namespace
