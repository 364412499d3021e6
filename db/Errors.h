// Error classes of the database access layer.
#pragma once

#include <string>

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

// An operation that the concrete class does not supply: "Abstract Error".
class EAbstractError : public platform::Exception {
 public:
  EAbstractError() : Exception("Abstract Error") {}
};

// A list was indexed past its end: "List index out of bounds (%d)".
class EListError : public platform::Exception {
 public:
  using Exception::Exception;
};

}  // namespace db
