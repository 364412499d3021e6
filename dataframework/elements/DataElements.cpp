// Module start and end of the data elements: the process-wide registries and
// shared defaults.
#include "dataframework/elements/DataElements.h"

#include <memory>

#include "platform/NoDestructor.h"

namespace dataframework {

TFieldRegistry& FieldRegistry() {
  // Never destroyed: fields and tables in static storage of any module may
  // still unregister while the process tears down.
  static platform::TNoDestructor<TFieldRegistry> registry;
  return *registry;
}

TFieldRegistry& TableRegistry() {
  // Never destroyed, as the field registry.
  static platform::TNoDestructor<TFieldRegistry> registry;
  return *registry;
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
