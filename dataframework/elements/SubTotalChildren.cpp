#include "dataframework/elements/SubTotalChildren.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

TSubTotalChildren::TSubTotalChildren(const TDataType* DataType)
    : FDataType(DataType), FTextKeys(false) {}
TSubTotalChildren::~TSubTotalChildren() = default;
void TSubTotalChildren::GetKey(int, TValue&) const {
  CLAVIRA_UNBUILT();
}
TValue TSubTotalChildren::Key(int) const {
  CLAVIRA_UNBUILT();
}
bool TSubTotalChildren::Find(const TValue&, int&) const {
  CLAVIRA_UNBUILT();
}
int TSubTotalChildren::IndexOfRow(const TAbstractRow*) const {
  CLAVIRA_UNBUILT();
}
void TSubTotalChildren::Insert(int, const TValue&, TAbstractRow*) {
  CLAVIRA_UNBUILT();
}
int TSubTotalChildren::Add(const TValue&, TAbstractRow*) {
  CLAVIRA_UNBUILT();
}
void TSubTotalChildren::Delete(int) {
  CLAVIRA_UNBUILT();
}
void TSubTotalChildren::Clear() noexcept {}
void TSubTotalChildren::CopyKeysTo(std::vector<TValue>&) const {
  CLAVIRA_UNBUILT();
}

}  // namespace dataframework
