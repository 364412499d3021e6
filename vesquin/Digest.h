// The password digest of the runtime library.
#pragma once

#include <string>
#include <string_view>

namespace vesquin {

// Lowercase hexadecimal HMAC-SHA-256 of text under key (OpenSSL libcrypto).
std::string HmacSha256Hex(std::string_view key, std::string_view text);

}  // namespace vesquin
