// TNoDestructor<T>: a process-long object that is made on first use and is
// never destroyed.
//
// For singletons whose destruction at exit cannot be ordered safely with the
// objects they refer to (a stored procedure object that refers to the
// database manager's connection, for instance). Declare it as a function-local
// static: construction is then thread-safe and happens once. The object lives
// inside the holder, so nothing is allocated and nothing is reported as
// leaked; its destructor simply never runs.
#pragma once

#include <new>
#include <utility>

namespace platform {

template <class T>
class TNoDestructor {
 public:
  template <class... Args>
  explicit TNoDestructor(Args&&... args) {
    ::new (static_cast<void*>(FStorage)) T(std::forward<Args>(args)...);
  }
  // T's destructor is deliberately not called.
  ~TNoDestructor() = default;
  TNoDestructor(const TNoDestructor&) = delete;
  TNoDestructor& operator=(const TNoDestructor&) = delete;

  T* get() { return std::launder(reinterpret_cast<T*>(FStorage)); }
  const T* get() const { return std::launder(reinterpret_cast<const T*>(FStorage)); }
  T& operator*() { return *get(); }
  const T& operator*() const { return *get(); }
  T* operator->() { return get(); }
  const T* operator->() const { return get(); }

 private:
  alignas(T) unsigned char FStorage[sizeof(T)];
};

}  // namespace platform
