#include "dataframework/elements/CustomRowStorage.h"

#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/RowSortOrder.h"
#include "dataframework/elements/SubTotalRow.h"
#include "platform/Assert.h"
#include "platform/DataError.h"
#include "platform/StringList.h"

namespace dataframework {

TCustomRowStorage::TCustomRowStorage(TDataTable* Table) : TAbstractRowStorage(Table) {}

TCustomRowStorage::~TCustomRowStorage() = default;

TPutResult TCustomRowStorage::PutRow(TDataRow* Row, TPutAction Action) {
  platform::Assert(Row != nullptr, "TRowStorage.PutRow: Row <> nil");
  return InsertRow(Row, Action, -1);
}

TDataRow* TCustomRowStorage::FirstDataRow() {
  int count = RowCount();
  for (int i = 0; i < count; ++i) {
    if (auto* row = dynamic_cast<TDataRow*>(GetRow(i))) return row;
  }
  return nullptr;
}

void TCustomRowStorage::Refresh() {
  FRowList->Clear();
  BeforeGetRows(nullptr);
  for (const auto& row : FLooseRows) FRowList->AddObject(std::string(), row.get());
  if (FFlatMode) {
    FRoot->CollectRows(FRowList.get(), nullptr, false);
    FFlatOrder->Sort(FTable, *FRowList);
  } else {
    FRoot->CollectRows(FRowList.get(), nullptr, CheckTreeOrder());
  }
  FViewValid = true;
}

TCriteria* TCustomRowStorage::Criteria() const {
  return nullptr;
}

TAbstractRow* TCustomRowStorage::GetRow(int Index) {
  if (!FViewValid) Refresh();
  int count = FRowList->Count();
  if (Index < 0 || Index >= count) [[unlikely]] {
    platform::AssertionFailed("TRowStorage.GetRow: (idx >= 0) and (idx < FRowList.Count), idx: " +
                              std::to_string(Index) + ", FRowList.Count: " + std::to_string(count));
  }
  return static_cast<TAbstractRow*>(FRowList->GetObject(Index));
}

int TCustomRowStorage::RowCount() {
  if (!FViewValid) Refresh();
  return FRowList->Count();
}

void TCustomRowStorage::CheckInsert(TDataRow* Row, TPutAction Action) const {
  platform::Assert(Row != nullptr, "TRowStorage.InsertRow: Row <> nil");
  if (Row->Table() != FTable) {
    platform::DataError(platform::esFatal, "Different DataTables",
                        "Row and RowStorage types differ! (" +
                            (Row->Table() != nullptr ? Row->Table()->TableName() : std::string()) +
                            " <> " + FTable->TableName() + ")");
  }
  if (Action != paReinsert && Row->State() != rsExternControlled) {
    platform::DataError(platform::esWarning, "Internal",
                        "Trying to add a row to RowStorage that is already in the Storage!");
  }
}

TPutResult TCustomRowStorage::InsertRow(TDataRow* Row, TPutAction Action, int Position) {
  TChangeScope scope(this);
  CheckInsert(Row, Action);
  TPutResult result = FRoot->PutRow(Row, Action);
  // A merged row (prRowsAdded) sits in the tree as well and must be known
  // as stored, or a later key write would not move it.
  if (result == prOk || result == prKeyOverwrited || result == prRowsAdded) {
    RowChanged(rcInserted, Row, Position);
    if (Action != paReinsert) Row->SetState(rsInserted);
  }
  Touch();
  return result;
}

bool TCustomRowStorage::CanCollapse(const TAbstractRow* Row) const {
  return Owns(Row) && Row->Parent() != nullptr;
}

TSubTotalRow* TCustomRowStorage::Collapse(TAbstractRow* Row) {
  if (!CanCollapse(Row)) return nullptr;
  TChangeScope scope(this);
  TSubTotalRow* parent = Row->Parent();
  parent->SetVisible(true);
  parent->SetChildrenVisible(false, true);
  Touch();
  NotifyCollapsed(*parent);
  return parent;
}

bool TCustomRowStorage::IsOwnSubtotal(const TAbstractRow* Row) const {
  return Owns(Row) && dynamic_cast<const TSubTotalRow*>(Row) != nullptr;
}

void TCustomRowStorage::Expand(TAbstractRow* Row) {
  if (!IsOwnSubtotal(Row)) return;
  TChangeScope scope(this);
  auto* subTotal = static_cast<TSubTotalRow*>(Row);
  subTotal->SetVisible(false);
  subTotal->SetChildrenVisible(true, false);
  Touch();
  NotifyExpanded(*subTotal);
}

}  // namespace dataframework
