// Wrappers over the shared runtime library libvesquin.so, which supplies the
// engine name, the connection string, the language and the password
// encryption. Results are at most 255 characters.
#pragma once

#include <string>

namespace db {

std::string LoadEngine();
std::string LoadDirectConnection();
std::string LoadIdioma();
// The text as stored passwords are written (a one-way digest). Text longer
// than 255 characters is cut to 255 first. Empty when the configuration
// cannot be read.
std::string EncryptDB(const std::string& Text);

// Why the library's configuration gives no engine the database manager
// knows, in words that name the missing or unreadable configuration file,
// the lines of it that could not be read, or the unknown engine (never a
// value other than the engine's). Empty when the engine is "SQL" or "ORACLE".
std::string ConfigurationProblem();

// Fails with EDatabaseError naming the file when a configuration file exists
// but cannot be read, so that an empty result is not taken for a configured
// one.
void CheckConfigurationReadable();

}  // namespace db
