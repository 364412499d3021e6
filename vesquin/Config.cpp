#include "vesquin/Config.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/FileRead.h"

namespace vesquin {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Editors on some systems put a UTF-8 byte-order mark at the top; it belongs
// to no key.
std::string_view SkipByteOrderMark(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text;
}

// Calls Line(number, trimmed line) for every line that is not blank or a comment.
template <class F>
void ForEachSetting(std::string_view text, F Line) {
  text = SkipByteOrderMark(text);
  int number = 0;
  while (!text.empty()) {
    ++number;
    size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    Line(number, line);
  }
}

// Closes the descriptor it holds.
[[noreturn]] void Fail(const std::string& path, const std::string& why) {
  throw EConfigError("The configuration file \"" + path + "\" cannot be read: " + why);
}

}  // namespace

std::vector<std::string> DefaultConfigFiles() {
  std::vector<std::string> files;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    files.push_back(std::string(xdg) + "/vesquin/vesquin.conf");
  else if (const char* home = std::getenv("HOME"); home && *home)
    files.push_back(std::string(home) + "/.config/vesquin/vesquin.conf");
  files.push_back("/etc/vesquin/vesquin.conf");
  return files;
}

bool ConfigFileExists(const std::string& Path) {
  struct stat info {};
  return stat(Path.c_str(), &info) == 0 || errno != ENOENT;
}

std::string ConfigFilePath(bool* Explicit) {
  if (Explicit) *Explicit = false;
  if (const char* explicitPath = std::getenv("VESQUIN_CONFIG"); explicitPath && *explicitPath) {
    if (Explicit) *Explicit = true;
    return explicitPath;
  }
  for (const std::string& file : DefaultConfigFiles())
    if (ConfigFileExists(file)) return file;
  return {};
}

std::string ReadConfigFile(const std::string& Path) {
  platform::TFileRead file = platform::ReadRegularFile(Path, kMaxConfigBytes);
  switch (file.Error) {
    case platform::TFileReadError::None:
      return std::move(file.Text);
    case platform::TFileReadError::NotRegular:
      Fail(Path, "not a regular file");
    case platform::TFileReadError::TooLarge:
      Fail(Path, "larger than " + std::to_string(kMaxConfigBytes) + " bytes");
    default:
      Fail(Path, std::strerror(file.Errno));
  }
}

std::string ParseConfigText(std::string_view text, std::string_view key) {
  std::string value;
  ForEachSetting(text, [&](int, std::string_view line) {
    size_t eq = line.find('=');
    if (eq != std::string_view::npos && EqualNoCase(Trim(line.substr(0, eq)), key))
      value = std::string(Trim(line.substr(eq + 1)));
  });
  return value;
}

std::vector<int> UnreadableConfigLines(std::string_view text) {
  std::vector<int> lines;
  ForEachSetting(text, [&](int number, std::string_view line) {
    size_t eq = line.find('=');
    bool known = false;
    if (eq != std::string_view::npos)
      for (const char* key : kConfigKeys)
        known = known || EqualNoCase(Trim(line.substr(0, eq)), key);
    if (!known) lines.push_back(number);
  });
  return lines;
}

std::string ConfigValue(std::string_view key) {
  std::string variable = "VESQUIN_";
  for (char c : key) variable += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (const char* v = std::getenv(variable.c_str())) return v;
  bool explicitFile = false;
  const std::string path = ConfigFilePath(&explicitFile);
  // A missing file means nothing configured.
  if (path.empty() || !ConfigFileExists(path)) return {};
  return ParseConfigText(ReadConfigFile(path), key);
}

}  // namespace vesquin
