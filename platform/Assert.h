// Checks of the code's own assumptions.
//
// A failed check raises platform::EAssertionFailed whose message is the
// given text, naming the class, the method and the broken condition
// ("TIndexContainer.Add: nil is not allowed as Index!"); the indexed forms
// append the index in decimal ("... idx: " followed by 5). Nothing catches
// these. The checks are inline and build no text while the condition holds.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

[[noreturn]] void AssertionFailed(std::string_view Text);
[[noreturn]] void AssertionFailed(std::string_view Text, std::int64_t Index);

inline void Assert(bool Condition, std::string_view Text) {
  if (!Condition) [[unlikely]]
    AssertionFailed(Text);
}

inline void Assert(bool Condition, std::string_view Text, std::int64_t Index) {
  if (!Condition) [[unlikely]]
    AssertionFailed(Text, Index);
}

}  // namespace platform
