// Error classes of the database access layer. Abstract operations and list
// misuse raise the platform's own classes (platform/Errors.h), so that one
// catch covers them wherever they come from.
#pragma once

#include <string>

#include "platform/Errors.h"
#include "platform/Exception.h"

namespace db {

// An error of the database or of its driver. The message holds the driver's
// and the server's text; it never holds a password.
class EDatabaseError : public platform::Exception {
 public:
  explicit EDatabaseError(std::string message, std::string sqlState = {}, int nativeError = 0)
      : Exception(std::move(message)), FSqlState(std::move(sqlState)), FNativeError(nativeError) {}

  // The ODBC SQLSTATE of the first diagnostic record; empty for the layer's own errors.
  const std::string& SqlState() const noexcept { return FSqlState; }
  int NativeError() const noexcept { return FNativeError; }

 private:
  std::string FSqlState;
  int FNativeError;
};

// An object was handed over as a class it is not: "Invalid class typecast".
class EInvalidCast : public platform::Exception {
 public:
  EInvalidCast() : Exception("Invalid class typecast") {}
};

}  // namespace db
