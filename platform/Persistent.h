// Base of objects that can copy their state from another object.
//
// Assign(Source) asks Source to copy itself into this object (AssignTo);
// a class that knows how to copy from a given source overrides Assign, one
// that knows how to copy into a given destination overrides AssignTo. When
// neither knows the pair, EConvertError "Cannot assign a <Source> to a <Dest>"
// is raised ("nil" for a missing source).
#pragma once

#include "platform/ClassRegistry.h"
#include "platform/Object.h"

namespace platform {

class TFiler;  // streaming of published properties; not provided yet

class TPersistent : public TObject {
  CLAVIRA_DECLARE_CLASS()

 public:
  virtual void Assign(const TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest) const;
  // Hook for streaming extra properties; the base defines none.
  virtual void DefineProperties(TFiler* Filer);

  // Raises the "Cannot assign" error for copying Source into this object.
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};

}  // namespace platform
