// The message of the exception an action raises, for tests that check the
// exact text of an error.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace testsupport {

// The what() text of the exception Action raises, or "<no exception>".
inline std::string MessageOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "<no exception>";
}

}  // namespace testsupport
