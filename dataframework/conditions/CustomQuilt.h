// TCustomQuilt: the common base of the three quilt classes (TQuiltField,
// TQuiltPatch, TQuilt).
//
// Every quilt can present itself as a full TQuilt (AsQuilt); relations and
// equality are decided on that form.
#pragma once

#include "dataframework/conditions/Condition.h"

namespace dataframework {

class TCustomQuilt : public TCommonQuilt {
  CLAVIRA_DECLARE_CLASS()

 public:
  using TCommonQuilt::TCommonQuilt;

  // Itself, borrowed.
  platform::TMaybeOwned<TCommonQuilt> AsCommonQuilt() const override;
  // Both sides as full quilts, then TQuilt::QuiltRelation. REQUIRES: Other
  // is a TCustomQuilt (EAssertionFailed "Assertion failure").
  TQuiltRelation Relation(const TCommonQuilt& Other, const TDataFieldSet* FieldSet) const override;
  // Other taken as a quilt (AsCommonQuilt); Relation with no field set is
  // qrEqual.
  bool IsEqual(const TCondition& Other) const override;

  // The quilt as a full quilt: a new one (owned) or itself (borrowed).
  virtual platform::TMaybeOwned<TQuilt> AsQuilt() const = 0;
};

}  // namespace dataframework
