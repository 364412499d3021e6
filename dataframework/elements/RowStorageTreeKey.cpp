#include "dataframework/elements/RowStorageTreeKey.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

TRowStorageTreeKey::TRowStorageTreeKey(TAbstractRowStorage& Storage) : FStorage(Storage) {}
TRowStorageTreeKey::TRowStorageTreeKey(TAbstractRowStorage& Storage, TSortOrder Direction,
                                       TDataField* SortField, TDataField* Field)
    : FStorage(Storage), FField(Field), FSortField(SortField), FDirection(Direction), FVisible(false) {}
void TRowStorageTreeKey::Bind() { CLAVIRA_UNBUILT(); }
void TRowStorageTreeKey::GetValue(const TAbstractRow*, TValue&) const { CLAVIRA_UNBUILT(); }
void TRowStorageTreeKey::SetVisible(bool) { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
