// Module start and end of the data elements: the process-wide registries and
// shared defaults.
#include "dataframework/elements/DataElements.h"

#include <memory>
#include <new>

namespace dataframework {

namespace {
// Storage for an object that lives until the process ends and is never
// destroyed: fields and tables in static storage of any module may still
// unregister from it while the process tears down.
template <typename T>
class TNeverFreed {
 public:
  TNeverFreed() { new (FStorage) T(); }
  T& Get() { return *std::launder(reinterpret_cast<T*>(FStorage)); }

 private:
  alignas(T) unsigned char FStorage[sizeof(T)];
};
}  // namespace

TFieldRegistry& FieldRegistry() {
  static TNeverFreed<TFieldRegistry> registry;
  return registry.Get();
}

TFieldRegistry& TableRegistry() {
  static TNeverFreed<TFieldRegistry> registry;
  return registry.Get();
}

TDefaultCacheLoadPolicy& DefaultCacheLoadPolicy() {
  static const std::unique_ptr<TDefaultCacheLoadPolicy> policy =
      std::make_unique<TDefaultCacheLoadPolicy>(nullptr);
  return *policy;
}

TDefaultRunningNumberGenerator& DefaultRunningNumberGenerator() {
  static TDefaultRunningNumberGenerator generator;
  return generator;
}

}  // namespace dataframework
