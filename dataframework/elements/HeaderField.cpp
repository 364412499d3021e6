#include "dataframework/elements/HeaderField.h"

namespace dataframework {

const platform::TClass& THeaderField::StaticClass() {
  static const platform::TClass Class("THeaderField", &TConstantField::StaticClass(),
                                      "CommonCalcFields");
  return Class;
}

THeaderField::THeaderField(platform::TComponent* Owner) : TConstantField(Owner) {}

THeaderField::THeaderField(const std::string& Name, const TValue& Value, int32_t Level)
    : TConstantField(Name, Value), FHeaderLevel(Level) {}

std::unique_ptr<THeaderField> THeaderField::CreateHeader(const std::string& Name,
                                                         const TValue& Value, int32_t Level) {
  return std::make_unique<THeaderField>(Name, Value, Level);
}

THeaderField::~THeaderField() = default;

}  // namespace dataframework
