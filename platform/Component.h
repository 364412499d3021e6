// The component model's base: named objects with an owner and owned
// components, a design position and published properties.
//
// Ownership: a component made with an owner is freed by that owner when the
// owner is destroyed (the most recently inserted first). A component freed
// before its owner leaves the owner's list first, so a holder may free an
// owned component early (delete, or a std::unique_ptr released before the
// owner dies) without harm.
// REQUIRES: a component that has an owner is not also held by a
// std::unique_ptr that outlives the owner (the owner frees it).
//
// Published properties are listed, read and written by name through the
// metaclass (ClassRegistry.h, PropInfo.h); TComponent publishes "Name"
// (string) and "Tag" (integer). An adapter over another object model (live
// widgets) derives from TComponent and overrides ClassType, ClassName and the
// owned-component virtuals; its metaclass answers its properties.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ClassRegistry.h"
#include "platform/Exception.h"
#include "platform/Persistent.h"

namespace platform {

// Wrong use of a component: "A component named <name> already exists",
// "Component name \"<name>\" is not valid".
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

enum TOperation { opInsert, opRemove };

// Component state flags (a bit set).
enum TComponentStateFlag : std::uint32_t {
  csLoading = 1u << 0,
  csDesigning = 1u << 1,
  csDestroying = 1u << 2,
};

class TComponent : public TPersistent {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Makes the component and, when AOwner is given, inserts it into AOwner's
  // list (AOwner frees it).
  explicit TComponent(TComponent* AOwner);
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  // Frees the owned components, then leaves the owner's list.
  ~TComponent() override;

  // The component's name: empty, or a letter or '_' followed by letters,
  // digits and '_'; unique (case-insensitively) among the owner's
  // components. Invalid or taken names raise EComponentError and change
  // nothing.
  const std::string& Name() const { return FName; }
  virtual void SetName(const std::string& NewName);

  TComponent* Owner() const { return FOwner; }

  // Owned components in insertion order.
  virtual int ComponentCount() const;
  // REQUIRES: 0 <= Index < ComponentCount() (EListError otherwise).
  virtual TComponent* Components(int Index) const;
  // The owned component named Name (case-insensitive), or null; an empty
  // name finds nothing.
  TComponent* FindComponent(std::string_view Name) const;
  // Position in the owner's list, -1 without an owner.
  int ComponentIndex() const;

  // Takes AComponent into this component's list (its previous owner lets it
  // go first). Its name must not be taken here (EComponentError).
  void InsertComponent(TComponent* AComponent);
  // Lets AComponent go without freeing it; the caller owns it afterwards.
  // Nothing when AComponent is not owned by this component.
  void RemoveComponent(TComponent* AComponent);

  // Design position: low 16 bits left, high 16 bits top.
  std::int32_t DesignInfo() const { return FDesignInfo; }
  void SetDesignInfo(std::int32_t Value) { FDesignInfo = Value; }
  int DesignLeft() const;  // the low half as an unsigned 16-bit number
  int DesignTop() const;   // the high half as an unsigned 16-bit number
  void SetDesignPosition(int Left, int Top);

  std::int64_t Tag() const { return FTag; }
  void SetTag(std::int64_t Value) { FTag = Value; }

  std::uint32_t ComponentState() const { return FComponentState; }
  bool IsDesigning() const { return (FComponentState & csDesigning) != 0; }
  // Sets or clears csDesigning on this component and its owned components.
  void SetDesigning(bool Value);

  // The visual parent, if the class has one; the base has none.
  virtual bool HasParent() const;
  virtual TComponent* GetParentComponent() const;
  virtual void SetParentComponent(TComponent* Value);

  // The module that declares the component's class.
  std::string UnitName() const;

 protected:
  // Told when a component is inserted into or removed from this one's list.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  static bool IsValidName(std::string_view Name);
  void ValidateRename(const TComponent* AComponent, std::string_view NewName) const;

  std::string FName;
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;  // owned
  std::int32_t FDesignInfo = 0;
  std::int64_t FTag = 0;
  std::uint32_t FComponentState = 0;
};

}  // namespace platform
