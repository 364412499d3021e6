#include "db/Vesquin.h"

#include <cstdlib>

#include "db/Errors.h"
#include "platform/TextUtils.h"
#include "vesquin/Config.h"
#include "vesquin/Vesquin.h"

namespace db {
namespace {

std::string FromCounted(const unsigned char* buffer) {
  return std::string(reinterpret_cast<const char*>(buffer + 1), buffer[0]);
}

template <typename F>
std::string Call(F exported) {
  unsigned char buffer[256] = {0};
  exported(buffer, 255);
  return FromCounted(buffer);
}

}  // namespace

std::string LoadEngine() {
  return Call(_LoadEngine);
}
std::string LoadDirectConnection() {
  return Call(_LoadDirectConnection);
}
std::string LoadIdioma() {
  return Call(_LoadIdioma);
}

namespace {

// "line 3", "lines 3 and 5", "lines 3, 5 and 8".
std::string LineList(const std::vector<int>& lines) {
  std::string out = lines.size() == 1 ? "line " : "lines ";
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += i + 1 == lines.size() ? " and " : ", ";
    out += std::to_string(lines[i]);
  }
  return out;
}

std::string UnknownEngine(const std::string& engine, const std::string& where) {
  const std::string upper = platform::UpperCase(engine);
  std::string text = "Unknown database engine \"" + engine + "\" (" + where +
                     "): the engine is \"SQL\" or \"ORACLE\"";
  if (upper == "SQL" || upper == "ORACLE") text += ", in capital letters";
  return text;
}

}  // namespace

std::string ConfigurationProblem() {
  const std::string engine = LoadEngine();
  if (engine == "SQL" || engine == "ORACLE") return {};
  if (std::getenv("VESQUIN_ENGINE")) {
    if (engine.empty()) return "No database engine: VESQUIN_ENGINE is set but empty";
    return UnknownEngine(engine, "from VESQUIN_ENGINE");
  }
  bool explicitFile = false;
  const std::string path = vesquin::ConfigFilePath(&explicitFile);
  if (path.empty()) {
    std::string tried;
    for (const std::string& file : vesquin::DefaultConfigFiles())
      tried += (tried.empty() ? "" : ", ") + file;
    return "No database configured: VESQUIN_ENGINE is not set and there is no configuration "
           "file (VESQUIN_CONFIG, " +
           tried + ")";
  }
  if (!vesquin::ConfigFileExists(path))
    return "No database configured: the configuration file \"" + path +
           "\" named by VESQUIN_CONFIG does not exist";
  std::string text;
  try {
    text = vesquin::ReadConfigFile(path);
  } catch (const vesquin::EConfigError& e) {
    return e.what();
  }
  const std::vector<int> unreadable = vesquin::UnreadableConfigLines(text);
  if (engine.empty()) {
    std::string problem = "No database engine in the configuration file \"" + path + "\"";
    if (!unreadable.empty())
      problem += ": " + LineList(unreadable) +
                 " could not be read (\"key = value\" with key engine, connection, language or "
                 "key)";
    return problem;
  }
  return UnknownEngine(engine, "in the configuration file \"" + path + "\"");
}

void CheckConfigurationReadable() {
  const std::string path = vesquin::ConfigFilePath();
  if (path.empty() || !vesquin::ConfigFileExists(path)) return;
  try {
    vesquin::ReadConfigFile(path);
  } catch (const vesquin::EConfigError& e) {
    throw EDatabaseError(e.what());
  }
}

std::string EncryptDB(const std::string& Text) {
  unsigned char input[256] = {0};
  size_t n = std::min<size_t>(Text.size(), 255);
  input[0] = static_cast<unsigned char>(n);
  Text.copy(reinterpret_cast<char*>(input + 1), n);
  unsigned char buffer[256] = {0};
  _EncryptDB(input, buffer, 255);
  return FromCounted(buffer);
}

}  // namespace db
