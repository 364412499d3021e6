#include "platform/Component.h"

#include <algorithm>

#include "platform/Errors.h"
#include "platform/StringList.h"
#include "platform/TextUtils.h"

namespace platform {

const TClass& TComponent::StaticClass() {
  static const TClass Class(
      "TComponent", &TPersistent::StaticClass(), "Component",
      {StrProp<TComponent>("Name", &TComponent::Name, &TComponent::SetName),
       IntProp<TComponent, std::int64_t>("Tag", &TComponent::Tag, &TComponent::SetTag)});
  return Class;
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  FComponentState |= csDestroying;
  // The most recently inserted goes first; each leaves the list before it is
  // freed so that its own destructor finds no owner.
  while (!FComponents.empty()) {
    TComponent* last = FComponents.back();
    Remove(last);
    delete last;
  }
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

bool TComponent::IsValidName(std::string_view Name) {
  if (Name.empty()) return true;
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!letter(Name[0])) return false;
  return std::all_of(Name.begin() + 1, Name.end(),
                     [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

void TComponent::ValidateRename(const TComponent* AComponent, std::string_view NewName) const {
  if (NewName.empty()) return;
  TComponent* other = FindComponent(NewName);
  if (other != nullptr && other != AComponent) {
    throw EComponentError("A component named " + std::string(NewName) + " already exists");
  }
}

void TComponent::SetName(const std::string& NewName) {
  if (FName == NewName) return;
  if (!IsValidName(NewName)) {
    throw EComponentError("Component name \"" + NewName + "\" is not valid");
  }
  if (FOwner != nullptr) FOwner->ValidateRename(this, NewName);
  FName = NewName;
}

int TComponent::ComponentCount() const {
  return static_cast<int>(FComponents.size());
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) {
    throw EListError(FormatMessage(SListIndexError, {std::to_string(Index)}));
  }
  return FComponents[static_cast<size_t>(Index)];
}

TComponent* TComponent::FindComponent(std::string_view Name) const {
  if (Name.empty()) return nullptr;
  const int count = ComponentCount();
  for (int i = 0; i < count; ++i) {
    TComponent* c = Components(i);
    if (SameText(c->Name(), Name)) return c;
  }
  return nullptr;
}

int TComponent::ComponentIndex() const {
  if (FOwner == nullptr) return -1;
  const auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner == this) return;
  // Owning oneself or one's own owner would free a component twice.
  for (const TComponent* c = this; c != nullptr; c = c->FOwner) {
    if (c == AComponent) {
      throw EComponentError("Component " + AComponent->Name() + " cannot own itself");
    }
  }
  ValidateRename(AComponent, AComponent->Name());
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  if (IsDesigning()) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (it != FComponents.end()) FComponents.erase(it);
  AComponent->FOwner = nullptr;
}

int TComponent::DesignLeft() const {
  return static_cast<int>(static_cast<std::uint32_t>(FDesignInfo) & 0xFFFFu);
}

int TComponent::DesignTop() const {
  return static_cast<int>(static_cast<std::uint32_t>(FDesignInfo) >> 16);
}

void TComponent::SetDesignPosition(int Left, int Top) {
  const std::uint32_t packed =
      (static_cast<std::uint32_t>(Top) << 16) | (static_cast<std::uint32_t>(Left) & 0xFFFFu);
  FDesignInfo = static_cast<std::int32_t>(packed);
}

void TComponent::SetDesigning(bool Value) {
  if (Value) {
    FComponentState |= csDesigning;
  } else {
    FComponentState &= ~static_cast<std::uint32_t>(csDesigning);
  }
  for (TComponent* c : FComponents) c->SetDesigning(Value);
}

bool TComponent::HasParent() const {
  return false;
}
TComponent* TComponent::GetParentComponent() const {
  return nullptr;
}
void TComponent::SetParentComponent(TComponent*) {}

std::string TComponent::UnitName() const {
  return ClassType().UnitName();
}

void TComponent::Notification(TComponent*, TOperation) {}

}  // namespace platform
