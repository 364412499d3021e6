// Published properties: descriptors, the helpers that make them, and reading
// and writing properties of an instance by name.
//
// A class publishes its properties as a table of TPropInfo given to its
// metaclass (ClassRegistry.h). Each descriptor carries the property's name,
// kind and getter/setter callables that work on the instance; a property
// without a setter is read-only. The helpers StrProp, IntProp, BoolProp,
// EnumProp and ClassProp build descriptors from member functions (or any
// callable taking the instance):
//
//   static const platform::TClass Class("TThing", &TComponent::StaticClass(), "Things",
//       {platform::StrProp<TThing>("Caption", &TThing::Caption, &TThing::SetCaption),
//        platform::IntProp<TThing>("Width", &TThing::Width),  // read-only
//        platform::EnumProp<TThing, TAlign>("Align", {"alNone", "alTop"},
//                                           &TThing::Align, &TThing::SetAlign)});
//
// Ordinal properties (integer, Boolean, enumeration) read and write as a
// 64-bit integer; an enumeration also by its names. Class-typed properties
// read and write an object reference that the instance does not give away.
// Method (event) properties hold a handler, a std::function of the event's
// own type, read and written as a std::any holding that exact type (an empty
// std::any clears the handler):
//
//   platform::MethodProp<TThing, TOnChangeEvent>("OnChange", "TOnChangeEvent",
//       &TThing::OnChange, &TThing::SetOnChange)
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/Exception.h"
#include "platform/Object.h"

namespace platform {

class TClass;

enum TTypeKind { tkUnknown, tkInteger, tkBoolean, tkEnumeration, tkString, tkClass, tkMethod };

// Wrong use of a published property: "Property <name> does not exist",
// "Property <name> is read-only", "Invalid property type: <name>",
// "Invalid property value".
class EPropertyError : public Exception {
 public:
  using Exception::Exception;
};

struct TPropInfo {
  std::string Name;
  TTypeKind Kind = tkUnknown;
  // tkEnumeration: the names of ordinals 0, 1, ...
  std::vector<std::string> EnumNames;
  // tkClass: the declared class of the referenced object (called on demand,
  // so classes may refer to each other); null means TObject.
  const TClass* (*PropClass)() = nullptr;
  // tkMethod: the event's type name ("TOnCalcValueEvent").
  std::string TypeName;

  // Exactly the pair that matches Kind is set (the setter may be empty).
  std::function<std::string(const TObject&)> GetStr;
  std::function<void(TObject&, const std::string&)> SetStr;
  std::function<std::int64_t(const TObject&)> GetOrd;
  std::function<void(TObject&, std::int64_t)> SetOrd;
  std::function<TObject*(const TObject&)> GetObj;
  std::function<void(TObject&, TObject*)> SetObj;
  // tkMethod: an empty std::any when no handler is assigned.
  std::function<std::any(const TObject&)> GetMethod;
  std::function<void(TObject&, const std::any&)> SetMethod;

  bool IsReadOnly() const { return !SetStr && !SetOrd && !SetObj && !SetMethod; }
  // The declared class of a class-typed property (TObject's for others).
  const TClass& PropertyClass() const;
};

namespace propinfo_detail {
// The instance as the declaring class; raises EPropertyError for an
// instance of another class (a descriptor used on the wrong object).
template <class C>
const C& As(const TObject& Instance) {
  const C* p = dynamic_cast<const C*>(&Instance);
  if (p == nullptr) throw EPropertyError("Invalid property type: " + Instance.ClassName());
  return *p;
}
template <class C>
C& As(TObject& Instance) {
  return const_cast<C&>(As<C>(static_cast<const TObject&>(Instance)));
}
template <class T>
const TClass* ClassOf() {
  if constexpr (requires { T::StaticClass(); }) {
    return &T::StaticClass();
  } else {
    return nullptr;
  }
}
}  // namespace propinfo_detail

template <class C, class Get, class Set = std::nullptr_t>
TPropInfo StrProp(std::string Name, Get Getter, Set Setter = nullptr) {
  TPropInfo p;
  p.Name = std::move(Name);
  p.Kind = tkString;
  p.GetStr = [Getter](const TObject& o) -> std::string {
    return std::string(std::invoke(Getter, propinfo_detail::As<C>(o)));
  };
  if constexpr (!std::is_null_pointer_v<Set>) {
    p.SetStr = [Setter](TObject& o, const std::string& v) {
      std::invoke(Setter, propinfo_detail::As<C>(o), v);
    };
  }
  return p;
}

// Integer properties; the setter receives the value converted to its
// parameter type by static_cast from int64.
template <class C, class Int = int, class Get, class Set = std::nullptr_t>
TPropInfo IntProp(std::string Name, Get Getter, Set Setter = nullptr) {
  TPropInfo p;
  p.Name = std::move(Name);
  p.Kind = tkInteger;
  p.GetOrd = [Getter](const TObject& o) -> std::int64_t {
    return static_cast<std::int64_t>(std::invoke(Getter, propinfo_detail::As<C>(o)));
  };
  if constexpr (!std::is_null_pointer_v<Set>) {
    p.SetOrd = [Setter](TObject& o, std::int64_t v) {
      std::invoke(Setter, propinfo_detail::As<C>(o), static_cast<Int>(v));
    };
  }
  return p;
}

// Boolean properties: ordinal 0 false, 1 true; other ordinals are refused.
template <class C, class Get, class Set = std::nullptr_t>
TPropInfo BoolProp(std::string Name, Get Getter, Set Setter = nullptr) {
  TPropInfo p;
  p.Name = std::move(Name);
  p.Kind = tkBoolean;
  p.EnumNames = {"False", "True"};
  p.GetOrd = [Getter](const TObject& o) -> std::int64_t {
    return std::invoke(Getter, propinfo_detail::As<C>(o)) ? 1 : 0;
  };
  if constexpr (!std::is_null_pointer_v<Set>) {
    p.SetOrd = [Setter](TObject& o, std::int64_t v) {
      if (v != 0 && v != 1) throw EPropertyError("Invalid property value");
      std::invoke(Setter, propinfo_detail::As<C>(o), v == 1);
    };
  }
  return p;
}

// Enumeration properties of enum type E with ordinals 0 … Names.size() - 1.
template <class C, class E, class Get, class Set = std::nullptr_t>
TPropInfo EnumProp(std::string Name, std::vector<std::string> Names, Get Getter,
                   Set Setter = nullptr) {
  TPropInfo p;
  p.Name = std::move(Name);
  p.Kind = tkEnumeration;
  const auto count = static_cast<std::int64_t>(Names.size());
  p.EnumNames = std::move(Names);
  p.GetOrd = [Getter](const TObject& o) -> std::int64_t {
    return static_cast<std::int64_t>(std::invoke(Getter, propinfo_detail::As<C>(o)));
  };
  if constexpr (!std::is_null_pointer_v<Set>) {
    p.SetOrd = [Setter, count](TObject& o, std::int64_t v) {
      if (v < 0 || v >= count) throw EPropertyError("Invalid property value");
      std::invoke(Setter, propinfo_detail::As<C>(o), static_cast<E>(v));
    };
  }
  return p;
}

// Class-typed properties holding a T* (T derived from TObject). Writing an
// object that is not a T is refused.
template <class C, class T, class Get, class Set = std::nullptr_t>
TPropInfo ClassProp(std::string Name, Get Getter, Set Setter = nullptr) {
  TPropInfo p;
  p.Name = std::move(Name);
  p.Kind = tkClass;
  p.PropClass = &propinfo_detail::ClassOf<T>;
  p.GetObj = [Getter](const TObject& o) -> TObject* {
    return static_cast<TObject*>(std::invoke(Getter, propinfo_detail::As<C>(o)));
  };
  if constexpr (!std::is_null_pointer_v<Set>) {
    p.SetObj = [Setter](TObject& o, TObject* v) {
      T* typed = dynamic_cast<T*>(v);
      if (v != nullptr && typed == nullptr) throw EPropertyError("Invalid property value");
      std::invoke(Setter, propinfo_detail::As<C>(o), typed);
    };
  }
  return p;
}

// Method (event) properties whose handler type is Fn (a std::function). The
// getter returns the handler (an empty one when none is assigned); the setter
// takes one. Writing a std::any that holds another type is refused; writing
// an empty std::any assigns an empty handler, which clears the event.
template <class C, class Fn, class Get, class Set = std::nullptr_t>
TPropInfo MethodProp(std::string Name, std::string TypeName, Get Getter, Set Setter = nullptr) {
  TPropInfo p;
  p.Name = std::move(Name);
  p.Kind = tkMethod;
  p.TypeName = std::move(TypeName);
  p.GetMethod = [Getter](const TObject& o) -> std::any {
    Fn handler = std::invoke(Getter, propinfo_detail::As<C>(o));
    if (!handler) return {};
    return std::any(std::move(handler));
  };
  if constexpr (!std::is_null_pointer_v<Set>) {
    p.SetMethod = [Setter](TObject& o, const std::any& v) {
      Fn handler;
      if (v.has_value()) {
        const Fn* typed = std::any_cast<Fn>(&v);
        if (typed == nullptr) throw EPropertyError("Invalid property value");
        handler = *typed;
      }
      std::invoke(Setter, propinfo_detail::As<C>(o), std::move(handler));
    };
  }
  return p;
}

// Reflection on an instance through its metaclass (TObject::ClassType()).
// Names are matched case-insensitively. A missing property raises
// EPropertyError "Property <name> does not exist"; a property of another
// kind "Invalid property type: <name>"; writing a read-only property
// "Property <name> is read-only".
std::vector<const TPropInfo*> GetPropList(const TObject& Instance);
const TPropInfo* GetPropInfo(const TObject& Instance, std::string_view Name);  // null if none
bool IsPublishedProp(const TObject& Instance, std::string_view Name);
TTypeKind PropType(const TObject& Instance, std::string_view Name);

std::string GetStrProp(const TObject& Instance, std::string_view Name);
void SetStrProp(TObject& Instance, std::string_view Name, const std::string& Value);
// Integer, Boolean (0/1) and enumeration (ordinal) properties.
std::int64_t GetOrdProp(const TObject& Instance, std::string_view Name);
void SetOrdProp(TObject& Instance, std::string_view Name, std::int64_t Value);
// Enumeration and Boolean properties by the ordinal's name (case-insensitive
// on writing; an unknown name is "Invalid property value").
std::string GetEnumProp(const TObject& Instance, std::string_view Name);
void SetEnumProp(TObject& Instance, std::string_view Name, std::string_view Value);
// Class-typed properties; the instance keeps ownership of what it holds.
TObject* GetObjectProp(const TObject& Instance, std::string_view Name);
void SetObjectProp(TObject& Instance, std::string_view Name, TObject* Value);
// Method (event) properties: the handler as a std::any holding the event's
// own std::function type, empty when none is assigned. Writing an empty
// std::any, or ClearMethodProp, clears the handler.
std::any GetMethodProp(const TObject& Instance, std::string_view Name);
void SetMethodProp(TObject& Instance, std::string_view Name, const std::any& Value);
void ClearMethodProp(TObject& Instance, std::string_view Name);
bool IsAssignedMethodProp(const TObject& Instance, std::string_view Name);

}  // namespace platform
