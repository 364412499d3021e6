// Root of the platform's class tree.
//
// Objects that lists, containers and values refer to without knowing their
// class derive from TObject, so a holder that owns one can destroy it through
// the base and messages can name its class. Classes that take part in
// reflection declare their own metaclass (CLAVIRA_DECLARE_CLASS).
#pragma once

#include <string>

namespace platform {

class TClass;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
  virtual ~TObject() = default;

  // The class name without namespace, e.g. "TStringList"; taken from the
  // dynamic type, so a subclass reports its own name.
  virtual std::string ClassName() const;

  // The metaclass of the nearest class that declares one (ClassRegistry.h):
  // name, ancestry, declaring module and published properties.
  static const TClass& StaticClass();
  virtual const TClass& ClassType() const;
};

}  // namespace platform
