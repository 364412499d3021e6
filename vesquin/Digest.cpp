#include "vesquin/Digest.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

namespace vesquin {

std::string HmacSha256Hex(std::string_view key, std::string_view text) {
  unsigned char mac[EVP_MAX_MD_SIZE];
  unsigned int macLength = 0;
  // HMAC() takes a null key pointer as "no key"; a one-byte dummy keeps the
  // empty key well defined.
  static const unsigned char kEmpty = 0;
  const void* keyData = key.empty() ? static_cast<const void*>(&kEmpty) : key.data();
  if (!HMAC(EVP_sha256(), keyData, static_cast<int>(key.size()),
            reinterpret_cast<const unsigned char*>(text.data()), text.size(), mac, &macLength))
    return {};
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(macLength * 2);
  for (unsigned int i = 0; i < macLength; ++i) {
    out += kHex[mac[i] >> 4];
    out += kHex[mac[i] & 0x0f];
  }
  return out;
}

}  // namespace vesquin
