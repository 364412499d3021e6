#include "platform/Object.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace platform {

std::string TObject::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  std::string name = (status == 0 && demangled) ? demangled.get() : mangled;
  // Drop the namespaces; class names are unique across them in this system.
  size_t colon = name.rfind("::");
  if (colon != std::string::npos) name.erase(0, colon + 2);
  return name;
}

}  // namespace platform

#include "platform/ClassRegistry.h"

namespace platform {

const TClass& TObject::StaticClass() {
  static const TClass Class("TObject", nullptr, "Object");
  return Class;
}

const TClass& TObject::ClassType() const {
  return StaticClass();
}

}  // namespace platform
