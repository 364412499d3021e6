#include "dataframework/elements/RowStorageTreeKey.h"

#include "dataframework/elements/AbstractRowStorage.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/SubTotalRow.h"
#include "platform/Assert.h"
#include "platform/DataError.h"

namespace dataframework {

TRowStorageTreeKey::TRowStorageTreeKey(TAbstractRowStorage& Storage) : FStorage(Storage) {}

TRowStorageTreeKey::TRowStorageTreeKey(TAbstractRowStorage& Storage, TSortOrder Direction,
                                       TDataField* SortField, TDataField* Field)
    : FStorage(Storage),
      FField(Field),
      FSortField(SortField),
      FDirection(Direction),
      FVisible(false) {}

void TRowStorageTreeKey::Bind() {
  TDataTable* table = FStorage.Table();
  platform::Assert(table != nullptr, "TRowStorageTreeKey.SetTable: Table <> nil");
  FLevelIndex = -1;
  for (int i = 0; i <= FStorage.TreeKeyCount(); ++i) {
    if (&FStorage.GetTreeKey(i) == this) {
      FLevelIndex = i;
      break;
    }
  }
  FFieldIndex = FField != nullptr ? table->IndexOfField(FField) : -1;
}

void TRowStorageTreeKey::GetValue(const TAbstractRow* Row, TValue& Value) const {
  platform::Assert(Row != nullptr, "TRowStorageTreeKey.GetString: ARow <> nil");
  if (FFieldIndex >= 0) {
    Row->GetIndexValue(FFieldIndex, Value);
    return;
  }
  if (dynamic_cast<const TDataRow*>(Row) != nullptr) {
    Row->GetFieldValue(FField, Value);
  } else if (dynamic_cast<const TSubTotalRow*>(Row) != nullptr) {
    if (!TSubTotalRow::TreeKeyValue(Row, FField, Value)) {
      platform::DataError(platform::esFatal, "RowStorageTree",
                          "Fatal error: RowStorageTree has become corrupt!");
    }
  } else {
    Value = EmptyStringValue();
    platform::DataError(platform::esFatal, "Row", "Invalid RowType: " + Row->ClassName());
  }
}

void TRowStorageTreeKey::SetVisible(bool Value) {
  TAbstractRowStorage::TChangeScope scope(&FStorage);
  FVisible = Value;
  if (TSubTotalRow* root = FStorage.Root()) {
    root->SetVisibleAtLevel(IsDataLevel() ? FStorage.TreeKeyCount() : FLevelIndex, Value);
  }
  FStorage.Touch();
  // A whole level: one reset rather than a note per row.
  FStorage.NotifyViewReset();
}

}  // namespace dataframework
