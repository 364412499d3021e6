#include "vesquin/Config.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

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

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return true;
}

std::string ConfigFileText() {
  std::string text;
  if (const char* explicitPath = std::getenv("VESQUIN_CONFIG"); explicitPath && *explicitPath)
    return ReadFile(explicitPath, text) ? text : std::string();
  std::string userFile;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    userFile = std::string(xdg) + "/vesquin/vesquin.conf";
  else if (const char* home = std::getenv("HOME"); home && *home)
    userFile = std::string(home) + "/.config/vesquin/vesquin.conf";
  if (!userFile.empty() && ReadFile(userFile, text)) return text;
  if (ReadFile("/etc/vesquin/vesquin.conf", text)) return text;
  return {};
}

}  // namespace

std::string ParseConfigText(std::string_view text, std::string_view key) {
  std::string value;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    if (EqualNoCase(Trim(line.substr(0, eq)), key)) value = std::string(Trim(line.substr(eq + 1)));
  }
  return value;
}

std::string ConfigValue(std::string_view key) {
  std::string variable = "VESQUIN_";
  for (char c : key) variable += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (const char* v = std::getenv(variable.c_str())) return v;
  return ParseConfigText(ConfigFileText(), key);
}

}  // namespace vesquin
