// Error classes of the platform's runtime beyond the base and conversion
// errors of Exception.h.
#pragma once

#include "platform/Exception.h"

namespace platform {

// Wrong use of a list: a position out of range, a refused duplicate, an
// operation that a sorted list does not allow.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

// Integer division by zero ("Division by zero").
class EDivByZero : public Exception {
 public:
  EDivByZero() : Exception("Division by zero") {}
};

// Floating-point division by zero ("Floating point division by zero").
class EZeroDivide : public Exception {
 public:
  EZeroDivide() : Exception("Floating point division by zero") {}
};

// An operation that a base class leaves to its subclasses was called on a
// class that does not supply it.
class EAbstractError : public Exception {
 public:
  EAbstractError() : Exception("Abstract Error") {}
};

// A programming error found by a check of the code's own assumptions; the
// message names the class, the method and the broken condition.
class EAssertionFailed : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace platform
