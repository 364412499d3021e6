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
// than 255 characters is cut to 255 first.
std::string EncryptDB(const std::string& Text);

}  // namespace db
