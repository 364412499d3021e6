// The runtime library through its C exports, as the program calls it.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "vesquin/Config.h"
#include "vesquin/Digest.h"
#include "vesquin/Vesquin.h"

namespace {

namespace fs = std::filesystem;

std::string FromCounted(const unsigned char* buffer) {
  return std::string(reinterpret_cast<const char*>(buffer + 1), buffer[0]);
}

// Clears every setting the library looks at and points it at a private
// folder, so the machine's own configuration never leaks into a test.
class VesquinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* v : {"VESQUIN_ENGINE", "VESQUIN_CONNECTION", "VESQUIN_LANGUAGE", "VESQUIN_KEY",
                          "VESQUIN_CONFIG", "XDG_CONFIG_HOME"})
      unsetenv(v);
    dir_ = fs::temp_directory_path() /
           ("vesquin-test-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    setenv("HOME", dir_.c_str(), 1);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path WriteConfig(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
    return path;
  }

  fs::path dir_;
};

TEST_F(VesquinTest, ExportsExactlyTheFourEntryPoints) {
  std::string command = std::string("nm -D --defined-only ") + VESQUIN_LIBRARY_PATH;
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> names;
  char line[512];
  while (fgets(line, sizeof line, pipe)) {
    std::string s(line);
    // "<address> <type> <name>"; the version node shows as an absolute symbol.
    size_t last = s.find_last_of(' ');
    char type = s.size() > 2 ? s[s.find(' ') + 1] : '?';
    if (type == 'A') continue;
    names.insert(s.substr(last + 1, s.find_last_not_of("\n") - last));
  }
  ASSERT_EQ(pclose(pipe), 0);
  EXPECT_EQ(names, (std::set<std::string>{"_LoadEngine", "_LoadDirectConnection", "_LoadIdioma",
                                          "_EncryptDB"}));
}

TEST_F(VesquinTest, NothingConfiguredGivesEmptyResults) {
  setenv("VESQUIN_CONFIG", (dir_ / "missing.conf").c_str(), 1);
  unsigned char buffer[256];
  buffer[0] = 99;
  _LoadEngine(buffer, 255);
  EXPECT_EQ(buffer[0], 0);
  _LoadDirectConnection(buffer, 255);
  EXPECT_EQ(buffer[0], 0);
  _LoadIdioma(buffer, 255);
  EXPECT_EQ(buffer[0], 0);
}

TEST_F(VesquinTest, EnvironmentWinsOverTheFile) {
  setenv("VESQUIN_CONFIG",
         WriteConfig(dir_ / "a.conf", "engine = ORACLE\nlanguage = Ing\n").c_str(), 1);
  setenv("VESQUIN_ENGINE", "SQL", 1);
  unsigned char buffer[256];
  _LoadEngine(buffer, 255);
  EXPECT_EQ(FromCounted(buffer), "SQL");
  _LoadIdioma(buffer, 255);
  EXPECT_EQ(FromCounted(buffer), "Ing");
}

TEST_F(VesquinTest, ReadsTheFileWithCommentsAndBlanks) {
  setenv("VESQUIN_CONFIG",
         WriteConfig(dir_ / "b.conf",
                     "# site settings\n\n  engine=SQL  \n"
                     "connection = Data Source=db,1433;Password=a#b=c;User ID=u\n"
                     "#language = Por\nlanguage = Esp\n")
             .c_str(),
         1);
  unsigned char buffer[256];
  _LoadEngine(buffer, 255);
  EXPECT_EQ(FromCounted(buffer), "SQL");
  _LoadDirectConnection(buffer, 255);
  EXPECT_EQ(FromCounted(buffer), "Data Source=db,1433;Password=a#b=c;User ID=u");
  _LoadIdioma(buffer, 255);
  EXPECT_EQ(FromCounted(buffer), "Esp");
}

TEST_F(VesquinTest, FindsTheUserFileUnderXdgConfigHomeAndHome) {
  WriteConfig(dir_ / ".config/vesquin/vesquin.conf", "language = Por\n");
  unsigned char buffer[256];
  _LoadIdioma(buffer, 255);
  EXPECT_EQ(FromCounted(buffer), "Por");

  setenv("XDG_CONFIG_HOME", (dir_ / "xdg").c_str(), 1);
  WriteConfig(dir_ / "xdg/vesquin/vesquin.conf", "language = Ing\n");
  _LoadIdioma(buffer, 255);
  EXPECT_EQ(FromCounted(buffer), "Ing");
}

TEST_F(VesquinTest, LongResultsAreCutToTheCapacity) {
  std::string longText(300, 'x');
  longText[254] = 'y';
  setenv("VESQUIN_CONNECTION", longText.c_str(), 1);
  unsigned char buffer[256];
  _LoadDirectConnection(buffer, 255);
  EXPECT_EQ(buffer[0], 255);
  EXPECT_EQ(FromCounted(buffer), longText.substr(0, 255));

  unsigned char small[11];
  _LoadDirectConnection(small, 10);
  EXPECT_EQ(FromCounted(small), longText.substr(0, 10));
}

TEST_F(VesquinTest, EncryptIsHmacSha256UnderTheKey) {
  // RFC 4231, test case 2.
  setenv("VESQUIN_KEY", "Jefe", 1);
  const std::string text = "what do ya want for nothing?";
  unsigned char input[256];
  input[0] = static_cast<unsigned char>(text.size());
  text.copy(reinterpret_cast<char*>(input + 1), text.size());
  unsigned char buffer[256];
  _EncryptDB(input, buffer, 255);
  EXPECT_EQ(FromCounted(buffer),
            "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");

  setenv("VESQUIN_KEY", "another key", 1);
  _EncryptDB(input, buffer, 255);
  EXPECT_EQ(buffer[0], 64);
  EXPECT_NE(FromCounted(buffer),
            "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
}

// A configuration file that is not a small regular file gives nothing: no
// wait on a FIFO, no endless read of a device, no digest under a lost key.
TEST_F(VesquinTest, OnlySmallRegularFilesAreRead) {
  const std::string fifo = (dir_ / "fifo").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const fs::path large =
      WriteConfig(dir_ / "large.conf", "engine = SQL\n" + std::string(70000, '#'));
  for (const std::string& path : {fifo, std::string("/dev/zero"), dir_.string(), large.string()}) {
    SCOPED_TRACE(path);
    setenv("VESQUIN_CONFIG", path.c_str(), 1);
    EXPECT_THROW(vesquin::ReadConfigFile(path), vesquin::EConfigError);
    unsigned char buffer[256];
    _LoadEngine(buffer, 255);
    EXPECT_EQ(buffer[0], 0);
    const unsigned char text[] = {2, 'p', 'w'};
    _EncryptDB(text, buffer, 255);
    EXPECT_EQ(buffer[0], 0);
  }
}

TEST(VesquinConfigTest, ByteOrderMarkIsSkippedAndUnreadableLinesAreNamed) {
  EXPECT_EQ(vesquin::ParseConfigText("\xEF\xBB\xBF"
                                     "engine = SQL\nlanguage = Esp\n",
                                     "engine"),
            "SQL");
  EXPECT_EQ(vesquin::UnreadableConfigLines("\xEF\xBB\xBF"
                                           "engine = SQL\n"),
            std::vector<int>{});
  EXPECT_EQ(vesquin::UnreadableConfigLines("# note\ngarbage\n\nEngine = SQL\nmotor = SQL\nkey=\n"),
            (std::vector<int>{2, 5}));
}

TEST(VesquinConfigTest, LastLineForAKeyWinsAndKeysIgnoreCase) {
  EXPECT_EQ(vesquin::ParseConfigText("Engine = SQL\nengine = ORACLE\n", "engine"), "ORACLE");
  EXPECT_EQ(vesquin::ParseConfigText("engine\nlanguage=Esp", "engine"), "");
  EXPECT_EQ(vesquin::ParseConfigText("key = \n", "key"), "");
}

TEST(VesquinDigestTest, EmptyKeyAndEmptyTextAreWellDefined) {
  // HMAC-SHA-256 with an empty key over an empty message.
  EXPECT_EQ(vesquin::HmacSha256Hex("", ""),
            "b613679a0814d9ec772f95d778c35fc5ff1697c493715653c6c712144292c5ad");
}

}  // namespace
