// Root of the platform's class tree.
//
// Objects that lists, containers and values refer to without knowing their
// class derive from TObject, so a holder that owns one can destroy it through
// the base and messages can name its class.
#pragma once

#include <string>

namespace platform {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
  virtual ~TObject() = default;

  // The class name without namespace, e.g. "TStringList"; taken from the
  // dynamic type, so a subclass reports its own name.
  virtual std::string ClassName() const;
};

}  // namespace platform
