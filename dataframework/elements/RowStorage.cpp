#include "dataframework/elements/RowStorage.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

TRowStorage::TRowStorage(TDataTable* Table) : TCustomRowStorage(Table) { CLAVIRA_UNBUILT(); }
TRowStorage::~TRowStorage() {
  // unbuilt: never set yet
  (void)FCriteria.release();
  (void)FKeyCriteria.release();
}
std::unique_ptr<TRowStorage> TRowStorage::CreateCopy(const TRowStorage*) { CLAVIRA_UNBUILT(); }
void TRowStorage::SetDeferredTotals(bool) { CLAVIRA_UNBUILT(); }
TPutResult TRowStorage::InsertRow(TDataRow*, TPutAction, int) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCustomRowStorage> TRowStorage::Clone() const { CLAVIRA_UNBUILT(); }
void TRowStorage::SetCriteria(std::unique_ptr<TCriteria> Criteria) {
  (void)Criteria.release();
  CLAVIRA_UNBUILT();
}
std::unique_ptr<TCriteria> TRowStorage::KeyPartOf(const TCriteria&) const { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
