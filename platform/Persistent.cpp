#include "platform/Persistent.h"

#include "platform/Exception.h"

namespace platform {

const TClass& TPersistent::StaticClass() {
  static const TClass Class("TPersistent", &TObject::StaticClass(), "Persistent");
  return Class;
}

void TPersistent::Assign(const TPersistent* Source) {
  if (Source != nullptr) {
    Source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const {
  Dest->AssignError(this);
}

void TPersistent::DefineProperties(TFiler*) {}

void TPersistent::AssignError(const TPersistent* Source) const {
  std::string sourceName = Source != nullptr ? Source->ClassName() : "nil";
  throw EConvertError(FormatMessage("Cannot assign a %s to a %s", {sourceName, ClassName()}));
}

}  // namespace platform
