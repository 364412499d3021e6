#include "platform/Assert.h"

#include <string>

#include "platform/Errors.h"

namespace platform {

void AssertionFailed(std::string_view Text) {
  throw EAssertionFailed(std::string(Text));
}

void AssertionFailed(std::string_view Text, std::int64_t Index) {
  throw EAssertionFailed(std::string(Text) + std::to_string(Index));
}

}  // namespace platform
