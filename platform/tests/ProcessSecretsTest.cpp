// Secrets out of core files and out of memory after use.
#include "platform/ProcessSecrets.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace platform {
namespace {

// The VmFlags of the mapping that starts at Address, from /proc/self/smaps.
std::string VmFlagsOf(const void* Address) {
  std::ostringstream start;
  start << std::hex << reinterpret_cast<uintptr_t>(Address) << "-";
  std::ifstream smaps("/proc/self/smaps");
  bool inside = false;
  for (std::string line; std::getline(smaps, line);) {
    if (line.rfind(start.str(), 0) == 0) inside = true;
    if (inside && line.rfind("VmFlags:", 0) == 0) return line;
  }
  return "(mapping not found)";
}

bool AllZero(const char* Data, size_t Size) {
  for (size_t i = 0; i < Size; ++i)
    if (Data[i] != 0) return false;
  return true;
}

TEST(SecretBufferTest, HoldsTheSecretOutOfDumpsAndWipesIt) {
  TSecretBuffer buffer(8);
  for (char c : std::string("pw-Secret")) buffer.Append(c);
  // Full at its capacity: the ninth byte is refused, not written past the end.
  EXPECT_EQ(buffer.View(), "pw-Secre");
  EXPECT_FALSE(buffer.Append('x'));
  buffer.PopBack();
  EXPECT_EQ(buffer.View(), "pw-Secr");

  EXPECT_TRUE(buffer.ExcludedFromDumps());
  const std::string flags = VmFlagsOf(buffer.Data());
  EXPECT_NE(flags.find(" dd"), std::string::npos) << flags;  // VM_DONTDUMP
#ifndef __SANITIZE_ADDRESS__  // the sanitizer's mlock does nothing and answers success
  if (buffer.Locked()) {
    EXPECT_NE(flags.find(" lo"), std::string::npos) << flags;
  }
#endif

  const char* data = buffer.Data();
  buffer.Clear();
  EXPECT_EQ(buffer.Size(), 0u);
  EXPECT_TRUE(AllZero(data, buffer.Capacity()));
}

TEST(SecretBufferTest, WipeStringZerosTheCharactersWhereTheyStood) {
  std::string secret(100, 'S');  // on the heap, not in the string object
  const char* data = secret.data();
  {
    TWipeOnExit wipe(secret);
    EXPECT_EQ(data[0], 'S');
  }
  EXPECT_TRUE(secret.empty());
  EXPECT_EQ(secret.data(), data);  // the same buffer, still owned by the string
  EXPECT_TRUE(AllZero(data, 100));
}

// In a child, so that the test process keeps writing core files when asked.
TEST(SecretBufferTest, KeepSecretsOutOfCoreFilesMakesTheProcessNonDumpable) {
  ASSERT_TRUE(ProcessIsDumpable());
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(KeepSecretsOutOfCoreFiles() && !ProcessIsDumpable() ? 0 : 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace platform
