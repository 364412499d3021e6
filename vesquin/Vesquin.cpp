#include "vesquin/Vesquin.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "vesquin/Config.h"
#include "vesquin/Digest.h"

namespace {

void WriteCounted(const std::string& value, unsigned char* buffer, int32_t maxLength) {
  if (!buffer) return;
  size_t limit = static_cast<size_t>(std::clamp<int32_t>(maxLength, 0, 255));
  size_t n = std::min(value.size(), limit);
  buffer[0] = static_cast<unsigned char>(n);
  std::memcpy(buffer + 1, value.data(), n);
}

// Exceptions must not cross the C boundary; a failure leaves an empty result.
template <typename F>
void Guarded(unsigned char* buffer, int32_t maxLength, F produce) {
  try {
    WriteCounted(produce(), buffer, maxLength);
  } catch (...) {
    WriteCounted(std::string(), buffer, maxLength);
  }
}

}  // namespace

extern "C" {

void _LoadEngine(unsigned char* buffer, int32_t maxLength) {
  Guarded(buffer, maxLength, [] { return vesquin::ConfigValue("engine"); });
}

void _LoadDirectConnection(unsigned char* buffer, int32_t maxLength) {
  Guarded(buffer, maxLength, [] { return vesquin::ConfigValue("connection"); });
}

void _LoadIdioma(unsigned char* buffer, int32_t maxLength) {
  Guarded(buffer, maxLength, [] { return vesquin::ConfigValue("language"); });
}

void _EncryptDB(const unsigned char* text, unsigned char* buffer, int32_t maxLength) {
  Guarded(buffer, maxLength, [text] {
    std::string plain;
    if (text) plain.assign(reinterpret_cast<const char*>(text + 1), text[0]);
    return vesquin::HmacSha256Hex(vesquin::ConfigValue("key"), plain);
  });
}
}
