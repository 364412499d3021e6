#include "dataframework/conditions/CustomQuilt.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

platform::TMaybeOwned<TCommonQuilt> TCustomQuilt::AsCommonQuilt() const { CLAVIRA_UNBUILT(); }
TQuiltRelation TCustomQuilt::Relation(const TCommonQuilt& Other, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
bool TCustomQuilt::IsEqual(const TCondition& Other) const { CLAVIRA_UNBUILT(); }
const platform::TClass& TCustomQuilt::StaticClass() { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
