#include "dataframework/bridge/BridgeRowStorage.h"

#include <algorithm>

#include "dataframework/elements/DataRow.h"

namespace dataframework::bridge {

TBridgeRowStorage::TBridgeRowStorage(TDataTable* Table)
    : TRowStorage(Table), FLoaded(std::make_unique<TQuilt>()) {}

TBridgeRowStorage::~TBridgeRowStorage() = default;

void TBridgeRowStorage::ForgetDeletedRows(const std::function<bool(const TDataRow&)>& Drop) {
  auto gone = std::remove_if(FDeletedRows.begin(), FDeletedRows.end(),
                             [&](const std::unique_ptr<TDataRow>& Row) { return Drop(*Row); });
  if (gone == FDeletedRows.end()) return;
  FDeletedRows.erase(gone, FDeletedRows.end());
  Touch();
}

}  // namespace dataframework::bridge
