// The exports of the shared runtime library libvesquin.so.
//
// Each writes its result into a caller-supplied counted string of 256 bytes:
// a length byte followed by up to 255 characters (not terminated). The caller
// passes the buffer's capacity in characters, 255. Nothing configured gives
// an empty result, and so does a configuration file that cannot be read
// (the encryption included: no digest under a key that could not be read);
// longer results are cut.
#pragma once

#include <cstdint>

#define VESQUIN_EXPORT __attribute__((visibility("default")))

extern "C" {

VESQUIN_EXPORT void _LoadEngine(unsigned char* buffer, int32_t maxLength);
VESQUIN_EXPORT void _LoadDirectConnection(unsigned char* buffer, int32_t maxLength);
VESQUIN_EXPORT void _LoadIdioma(unsigned char* buffer, int32_t maxLength);
// text is a counted string; the result is the lowercase hexadecimal
// HMAC-SHA-256 of its characters under the configured key.
VESQUIN_EXPORT void _EncryptDB(const unsigned char* text, unsigned char* buffer, int32_t maxLength);
}
