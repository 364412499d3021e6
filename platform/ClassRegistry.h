// Metaclasses, class ancestry and the process-wide class registry.
//
// Every class that takes part in reflection has one TClass object: its name,
// its parent's metaclass, the module (unit) that declares it and the
// published properties it declares (PropInfo.h). Instances answer their
// metaclass through TObject::ClassType(); a class declares its own with
// CLAVIRA_DECLARE_CLASS in the class body and defines StaticClass() in its
// .cpp file, usually as a function-local static.
//
// Subsystems derive their own metaclass to add class-level operations (a
// virtual constructor, for instance); the registry hands back the object it
// was given, so a dynamic_cast to the derived metaclass works.
//
// Ownership: metaclasses live for the whole run (function-local statics or
// objects that outlive every registry lookup); the registry borrows them.
// Single-threaded like the rest of the system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Exception.h"
#include "platform/PropInfo.h"

namespace platform {

class TClass {
 public:
  // REQUIRES: Parent is null only for the root class TObject.
  TClass(std::string Name, const TClass* Parent, std::string UnitName,
         std::vector<TPropInfo> Properties = {});
  TClass(const TClass&) = delete;
  TClass& operator=(const TClass&) = delete;
  virtual ~TClass();

  // Virtual so that an adapter over another object model can answer for a
  // live class it describes on the fly.
  virtual std::string ClassName() const;
  virtual const TClass* ClassParent() const;
  virtual std::string UnitName() const;
  // The properties this class declares itself, in declaration order.
  virtual const std::vector<TPropInfo>& DeclaredProperties() const;

  // True when this class is Other or derives from it (Other null: false).
  bool InheritsFrom(const TClass* Other) const;
  // True when this class or one of its ancestors is named Name.
  bool InheritsFrom(std::string_view Name) const;
  // This class and its ancestors, nearest first.
  std::vector<const TClass*> Ancestry() const;

  // All published properties: the root's first, each class's in declaration
  // order; a property redeclared by a subclass replaces the inherited one in
  // its place.
  std::vector<const TPropInfo*> Properties() const;
  // The property named Name (case-insensitive, nearest declaration), or null.
  const TPropInfo* FindProperty(std::string_view Name) const;

 private:
  std::string FName;
  const TClass* FParent;
  std::string FUnitName;
  std::vector<TPropInfo> FProperties;
};

// Raised by GetClass for a name that is not registered:
// "Class <name> not found".
class EClassNotFound : public Exception {
 public:
  using Exception::Exception;
};

// Registers Class under its class name (case-insensitive). Registering the
// same metaclass again does nothing; another metaclass under a name already
// taken raises Exception "A class named <name> already exists".
void RegisterClass(const TClass& Class);
void RegisterClasses(std::initializer_list<const TClass*> Classes);
// Removes Class from the registry (nothing when it is not registered).
void UnRegisterClass(const TClass& Class);
// The registered metaclass named Name, or null.
const TClass* FindClass(std::string_view Name);
// As FindClass, but raises EClassNotFound "Class <name> not found".
const TClass& GetClass(std::string_view Name);

}  // namespace platform

// Declares the class's metaclass accessors inside a class body derived from
// platform::TObject. The .cpp defines `const platform::TClass&
// Name::StaticClass()`.
#define CLAVIRA_DECLARE_CLASS()                          \
 public:                                                 \
  static const ::platform::TClass& StaticClass();        \
  const ::platform::TClass& ClassType() const override { \
    return StaticClass();                                \
  }
