// Base exception of the system and the conversion error.
//
// Every error the system raises derives from Exception and carries the
// message a user sees. Exceptions own their message text.
#pragma once

#include <exception>
#include <string>

namespace platform {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  ~Exception() override = default;

  const std::string& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

// A text could not be converted to the kind asked for.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Replaces each "%s" and "%d" in Pattern, left to right, with the next
// argument; "%%" stands for "%". Extra placeholders stay as they are.
std::string FormatMessage(const std::string& pattern, std::initializer_list<std::string> args);

}  // namespace platform
