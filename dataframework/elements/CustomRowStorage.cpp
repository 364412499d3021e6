#include "dataframework/elements/CustomRowStorage.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

TCustomRowStorage::TCustomRowStorage(TDataTable* Table) : TAbstractRowStorage(Table) {}
TCustomRowStorage::~TCustomRowStorage() = default;
TPutResult TCustomRowStorage::PutRow(TDataRow*, TPutAction) { CLAVIRA_UNBUILT(); }
TDataRow* TCustomRowStorage::FirstDataRow() { CLAVIRA_UNBUILT(); }
void TCustomRowStorage::Refresh() { CLAVIRA_UNBUILT(); }
TCriteria* TCustomRowStorage::Criteria() const { return nullptr; }
TAbstractRow* TCustomRowStorage::GetRow(int) { CLAVIRA_UNBUILT(); }
int TCustomRowStorage::RowCount() { CLAVIRA_UNBUILT(); }
TPutResult TCustomRowStorage::InsertRow(TDataRow*, TPutAction, int) { CLAVIRA_UNBUILT(); }
bool TCustomRowStorage::CanCollapse(const TAbstractRow*) const { CLAVIRA_UNBUILT(); }
TSubTotalRow* TCustomRowStorage::Collapse(TAbstractRow*) { CLAVIRA_UNBUILT(); }
bool TCustomRowStorage::IsOwnSubtotal(const TAbstractRow*) const { CLAVIRA_UNBUILT(); }
void TCustomRowStorage::Expand(TAbstractRow*) { CLAVIRA_UNBUILT(); }
void TCustomRowStorage::CheckInsert(TDataRow*, TPutAction) const { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
