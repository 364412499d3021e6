#include "dataframework/elements/AbstractRowStorage.h"

#include "dataframework/Unbuilt.h"
#include "dataframework/elements/RowSortOrder.h"
#include "dataframework/elements/RowStorageTreeKey.h"
#include "platform/StringList.h"

namespace dataframework {

TAbstractRowStorage::TAbstractRowStorage(TDataTable* Table) : TRowSource(Table, 2) {
  CLAVIRA_UNBUILT();
}
TAbstractRowStorage::~TAbstractRowStorage() {
  // unbuilt: nothing is ever stored yet
  (void)FRoot.release();
  (void)FSubTotalHandler.release();
  for (auto& r : FPendingRows) (void)r.release();
  for (auto& r : FDeletedRows) (void)r.release();
  for (auto& r : FLooseRows) (void)r.release();
}
void TAbstractRowStorage::First() { CLAVIRA_UNBUILT(); }
TAbstractRow* TAbstractRowStorage::Next() { CLAVIRA_UNBUILT(); }
TRowSortOrder* TAbstractRowStorage::SortOrder() const { return FTreeOrder.get(); }
void TAbstractRowStorage::AssignRows(TAbstractRowStorage&) { CLAVIRA_UNBUILT(); }
TSubTotalRow* TAbstractRowStorage::Root() const { return FRoot.get(); }
int TAbstractRowStorage::CountRows(TRowState) const { CLAVIRA_UNBUILT(); }
bool TAbstractRowStorage::IsEmpty() const { CLAVIRA_UNBUILT(); }
TPutResult TAbstractRowStorage::ReinsertRow(TDataRow*, TPutAction) { CLAVIRA_UNBUILT(); }
bool TAbstractRowStorage::RemoveRow(TDataRow*) { CLAVIRA_UNBUILT(); }
void TAbstractRowStorage::RowChanged(TRowChangeKind, TAbstractRow*, int) { CLAVIRA_UNBUILT(); }
void TAbstractRowStorage::SetTotalsBelow(bool) { CLAVIRA_UNBUILT(); }
void TAbstractRowStorage::SetLevelsVisible(bool) { CLAVIRA_UNBUILT(); }
void TAbstractRowStorage::BeforeGetRows(const TCondition*) {}
void TAbstractRowStorage::BeforeLocate(const std::vector<std::string>&) {}
void TAbstractRowStorage::BeforeLocateByRow(const TAbstractRow*, const std::vector<TDataField*>&) {}
std::unique_ptr<TSubTotalRow> TAbstractRowStorage::CreateSubTotal(TSubTotalRow*, const TValue&,
                                                                  bool) {
  CLAVIRA_UNBUILT();
}
void TAbstractRowStorage::CollectState(platform::TStrings&, TRowState) { CLAVIRA_UNBUILT(); }
void TAbstractRowStorage::GetRows(platform::TStrings*, const TCondition*, TGetRowsMode) {
  CLAVIRA_UNBUILT();
}
void TAbstractRowStorage::GetRowsByText(platform::TStrings*, const TCondition*, const std::string&,
                                        TDataField*, TGetRowsMode) {
  CLAVIRA_UNBUILT();
}
TDataRow* TAbstractRowStorage::LocateRow(const std::vector<std::string>&) { CLAVIRA_UNBUILT(); }
bool TAbstractRowStorage::HasRowsFor(const std::vector<std::string>&) { CLAVIRA_UNBUILT(); }
bool TAbstractRowStorage::HasRows(const TCondition*) { CLAVIRA_UNBUILT(); }
TDataRow* TAbstractRowStorage::LocateByRowValues(const TAbstractRow*,
                                                 const std::vector<TDataField*>&) {
  CLAVIRA_UNBUILT();
}
bool TAbstractRowStorage::IsModified() const { CLAVIRA_UNBUILT(); }
bool TAbstractRowStorage::Owns(const TAbstractRow*) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TDataRow> TAbstractRowStorage::CreateRow() { CLAVIRA_UNBUILT(); }
void TAbstractRowStorage::SetTreeKeys(const TRowSortOrder*) { CLAVIRA_UNBUILT(); }
TRowStorageTreeKey& TAbstractRowStorage::GetTreeKey(int) const { CLAVIRA_UNBUILT(); }
TRowStorageTreeKey* TAbstractRowStorage::TreeKeyOf(const TDataField*) const { CLAVIRA_UNBUILT(); }
int TAbstractRowStorage::ExtraKeyIndex(const TDataField*) const { CLAVIRA_UNBUILT(); }
bool TAbstractRowStorage::CheckTreeOrder() const { CLAVIRA_UNBUILT(); }
TPutResult TAbstractRowStorage::PutNewRow(std::unique_ptr<TDataRow>&, TPutAction) {
  CLAVIRA_UNBUILT();
}
void TAbstractRowStorage::SetFlatMode(bool) { CLAVIRA_UNBUILT(); }
TDataRow* TAbstractRowStorage::DeletedRow(int) const { CLAVIRA_UNBUILT(); }
void TAbstractRowStorage::AddDeletedRow(std::unique_ptr<TDataRow> Row) {
  (void)Row.release();
  CLAVIRA_UNBUILT();
}
TAbstractRow* TAbstractRowStorage::LooseRow(int) const { CLAVIRA_UNBUILT(); }
bool TAbstractRowStorage::IsLooseRow(const TAbstractRow*) const { CLAVIRA_UNBUILT(); }
void TAbstractRowStorage::AddLooseRow(std::unique_ptr<TAbstractRow> Row) {
  (void)Row.release();
  CLAVIRA_UNBUILT();
}
void TAbstractRowStorage::DeleteRowsWhere(const TCriteriaField&) { CLAVIRA_UNBUILT(); }
TAbstractRow* TAbstractRowStorage::FindOne(const TCondition&, bool) { CLAVIRA_UNBUILT(); }
TSubTotalHandler& TAbstractRowStorage::SubTotalHandlerOf() const { CLAVIRA_UNBUILT(); }
void TAbstractRowStorage::SetSubTotalHandler(std::unique_ptr<TSubTotalHandler> Handler) {
  (void)Handler.release();
  CLAVIRA_UNBUILT();
}
void TAbstractRowStorage::Touch() { CLAVIRA_UNBUILT(); }
std::unique_ptr<TDataRow> TAbstractRowStorage::CopyOfRow(const TDataRow&) { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
