#include "dataframework/conditions/CustomQuilt.h"

#include "dataframework/conditions/Quilt.h"
#include "platform/Assert.h"

namespace dataframework {

const platform::TClass& TCustomQuilt::StaticClass() {
  static const TConditionClass Class("TCustomQuilt", &TCommonQuilt::StaticClass(), "Quilt",
                                     nullptr);
  return Class;
}

platform::TMaybeOwned<TCommonQuilt> TCustomQuilt::AsCommonQuilt() const {
  return platform::TMaybeOwned<TCommonQuilt>::Borrowed(const_cast<TCustomQuilt*>(this));
}

TQuiltRelation TCustomQuilt::Relation(const TCommonQuilt& Other,
                                      const TDataFieldSet* FieldSet) const {
  auto* other = dynamic_cast<const TCustomQuilt*>(&Other);
  platform::Assert(other != nullptr, "Assertion failure");
  platform::TMaybeOwned<TQuilt> self = AsQuilt();
  platform::TMaybeOwned<TQuilt> otherQuilt = other->AsQuilt();
  return self->QuiltRelation(*otherQuilt, FieldSet);
}

bool TCustomQuilt::IsEqual(const TCondition& Other) const {
  platform::TMaybeOwned<TCommonQuilt> other = Other.AsCommonQuilt();
  return Relation(*other, nullptr) == qrEqual;
}

}  // namespace dataframework
