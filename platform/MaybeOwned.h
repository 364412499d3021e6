// An object reference that either owns its object or borrows it.
//
// Some operations answer "this object, or a new one the caller must free"
// (the conversions of conditions with an out flag MustFree). TMaybeOwned
// carries that answer so no caller deletes by hand: it frees the object on
// destruction only when it owns it.
#pragma once

#include <memory>
#include <utility>

namespace platform {

template <typename T>
class TMaybeOwned {
 public:
  TMaybeOwned() = default;
  // Borrows Object (not freed here); Object must outlive this holder.
  static TMaybeOwned Borrowed(T* Object) {
    TMaybeOwned r;
    r.FObject = Object;
    return r;
  }
  // Takes ownership of Object.
  static TMaybeOwned Owned(std::unique_ptr<T> Object) {
    TMaybeOwned r;
    r.FObject = Object.get();
    r.FOwned = std::move(Object);
    return r;
  }
  template <typename U>
  TMaybeOwned(TMaybeOwned<U>&& Other) noexcept
      : FObject(Other.FObject), FOwned(std::move(Other.FOwned)) {
    Other.FObject = nullptr;
  }
  TMaybeOwned(TMaybeOwned&& Other) noexcept
      : FObject(std::exchange(Other.FObject, nullptr)), FOwned(std::move(Other.FOwned)) {}
  TMaybeOwned& operator=(TMaybeOwned&& Other) noexcept {
    FOwned = std::move(Other.FOwned);
    FObject = std::exchange(Other.FObject, nullptr);
    return *this;
  }

  T* get() const noexcept { return FObject; }
  T* operator->() const noexcept { return FObject; }
  T& operator*() const noexcept { return *FObject; }
  explicit operator bool() const noexcept { return FObject != nullptr; }
  // True when this holder frees the object (the old flag MustFree).
  bool MustFree() const noexcept { return FOwned != nullptr; }
  // The owned object handed over, or a null pointer when borrowed.
  std::unique_ptr<T> ReleaseOwned() noexcept {
    if (!FOwned) return nullptr;
    FObject = nullptr;
    return std::move(FOwned);
  }

 private:
  template <typename U>
  friend class TMaybeOwned;
  T* FObject = nullptr;
  std::unique_ptr<T> FOwned;
};

}  // namespace platform
