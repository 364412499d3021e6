// The platform's standard text-to-integer conversion.
//
// Accepted: leading blanks, an optional sign, then decimal digits, or
// hexadecimal digits after "$", "x"/"X" or "0x"/"0X". Nothing may follow the
// digits. Decimal text must fit a 32-bit signed integer; hexadecimal text may
// use all 32 bits and is read as their two's-complement value ("$FFFFFFFF" is -1).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Returns the value, or nothing when the text is not a valid integer.
std::optional<int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt, but fails with EConvertError
// "'<text>' is not a valid integer value" holding the text as typed.
int32_t StrToInt(const std::string& text);

}  // namespace platform
