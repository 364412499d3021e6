#include "db/Vesquin.h"

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
