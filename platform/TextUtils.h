// Small text helpers shared by the platform and the data framework.
// Texts are 8-bit; case rules touch only the letters A to Z.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Remove characters up to and including the blank (control characters
// too) at both ends, at the start, at the end.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// Negative, zero or positive as A sorts before, with or after B: by byte
// value (CompareStr), or ignoring the case of A to Z (CompareText).
int CompareStr(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

// Text enclosed in apostrophes, inner apostrophes doubled: O'Neil -> 'O''Neil'.
std::string QuotedStr(std::string_view text);

// Upper-case hexadecimal digits of Value, at least Digits of them.
std::string IntToHex(uint64_t value, int digits);

}  // namespace platform
