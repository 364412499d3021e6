// TRowStorage: the row storage with a fixed restriction (Criteria) that
// every stored row must meet.
//
// KeyCriteria is the part of Criteria on the table's key fields: a row whose
// keys it rejects is refused with prIllegalKeyValue. When Criteria restricts
// a non-key field (and the table has no running-number field) the storage
// cannot tell which rows belong to it and refuses every insertion with
// prCannotAdd (CriteriaCoversFields false). Any change invalidates the view.
//
// Ownership: as TCustomRowStorage; the storage owns Criteria and KeyCriteria.
// REQUIRES: the table outlives the storage.
#pragma once

#include <memory>

#include "dataframework/elements/CustomRowStorage.h"

namespace dataframework {

class TRowStorage : public TCustomRowStorage {
 public:
  // Asserts Table given; empty criteria, DeferredTotals false, the view
  // rebuilt on every change.
  explicit TRowStorage(TDataTable* Table);
  ~TRowStorage() override;
  // A storage over Src's table with Src's tree keys, copies of its criteria
  // and view options, and copies of its rows (AssignRows).
  // REQUIRES: Src given (asserted).
  static std::unique_ptr<TRowStorage> CreateCopy(const TRowStorage* Src);

  bool DeferredTotals() const override { return FDeferredTotals; }
  // Turning it off while the root's totals are stale recalculates them.
  void SetDeferredTotals(bool Value) override;
  bool IsRowStorage() const override { return true; }
  TCriteria* Criteria() const override { return FCriteria.get(); }
  // As TCustomRowStorage, with the criteria tests: prCannotAdd when the
  // criteria does not cover the fields, prIllegalKeyValue when KeyCriteria
  // rejects Row's keys (not for paReinsert).
  TPutResult InsertRow(TDataRow* Row, TPutAction Action, int Position) override;
  std::unique_ptr<TCustomRowStorage> Clone() const override;

  // Takes over Criteria (none: a new empty criteria), derives KeyCriteria and
  // CriteriaCoversFields, and empties the storage (every stored row freed).
  void SetCriteria(std::unique_ptr<TCriteria> Criteria);
  // A copy of Criteria that keeps only the table's key fields (an empty
  // criteria when none is left).
  std::unique_ptr<TCriteria> KeyPartOf(const TCriteria& Criteria) const;
  TCriteria* KeyCriteria() const noexcept { return FKeyCriteria.get(); }
  bool CriteriaCoversFields() const noexcept { return FCriteriaCoversFields; }

 private:
  std::unique_ptr<TCriteria> FCriteria;
  std::unique_ptr<TCriteria> FKeyCriteria;
  bool FCriteriaCoversFields = true;
  bool FDeferredTotals = false;
};

}  // namespace dataframework
