#include "dataframework/elements/SubTotalRow.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

std::unique_ptr<TSubTotalRow> TSubTotalRow::Create(TAbstractRowStorage*, bool, const TValue&,
                                                   TSubTotalRow*) {
  CLAVIRA_UNBUILT();
}
TSubTotalRow::TSubTotalRow(TAbstractRowStorage*, TRowStorageTreeKey* Level,
                           const TDataType* KeyType, unsigned char* Record)
    : TAbstractRow(nullptr, Record), FLevel(Level), FChildren(KeyType) {}
TSubTotalRow::~TSubTotalRow() = default;
TDataField* TSubTotalRow::LevelField() const {
  CLAVIRA_UNBUILT();
}
int TSubTotalRow::LevelIndex() const {
  CLAVIRA_UNBUILT();
}
bool TSubTotalRow::HasDataRows() const {
  CLAVIRA_UNBUILT();
}
TSetResult TSubTotalRow::SetIndexValueEx(int, const TValue&, TSetAction) {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::CollectRows(platform::TStrings*, TCondition*, bool) {
  CLAVIRA_UNBUILT();
}
int TSubTotalRow::CountState(TRowState) const {
  CLAVIRA_UNBUILT();
}
int TSubTotalRow::KeyLevelCount() const {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::BeforeRead(TDataField*) const {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::CollectState(platform::TStrings*, TRowState) {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::ExpandInList(platform::TStrings*, int&) {
  CLAVIRA_UNBUILT();
}
int TSubTotalRow::IndexOfField(const TDataField*) const {
  CLAVIRA_UNBUILT();
}
bool TSubTotalRow::CanWrite(TDataField*, std::string&) {
  CLAVIRA_UNBUILT();
}
bool TSubTotalRow::IsChanged() const {
  CLAVIRA_UNBUILT();
}
bool TSubTotalRow::AllVisible() const {
  CLAVIRA_UNBUILT();
}
bool TSubTotalRow::FieldHasValue(TDataField*) const {
  CLAVIRA_UNBUILT();
}
int TSubTotalRow::IndexOfChild(const TAbstractRow*) const {
  CLAVIRA_UNBUILT();
}
int TSubTotalRow::AddChild(const TValue&, TAbstractRow*) {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::RemoveChild(TAbstractRow*, bool) {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::ClearChildren() {
  CLAVIRA_UNBUILT();
}
bool TSubTotalRow::IsLastLevel() const {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::RecalcTotals() {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::MarkDirty() noexcept {}
void TSubTotalRow::RefreshExtraKeys() {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::SumChildren(TDataField*, TValue&) const {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::SetVisibleAtLevel(int, bool) {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::SetChildrenVisible(bool, bool) {
  CLAVIRA_UNBUILT();
}
bool TSubTotalRow::TreeKeyValue(const TAbstractRow*, TDataField*, TValue&) {
  CLAVIRA_UNBUILT();
}
TPutResult TSubTotalRow::PutRow(TDataRow*, TPutAction) {
  CLAVIRA_UNBUILT();
}
TPutResult TSubTotalRow::ReinsertRow(TDataRow*, TPutAction) {
  CLAVIRA_UNBUILT();
}
bool TSubTotalRow::RemoveRow(TAbstractRow*) {
  CLAVIRA_UNBUILT();
}
TAbstractRow* TSubTotalRow::LocateByRowValues(const TAbstractRow*, std::span<TDataField* const>) {
  CLAVIRA_UNBUILT();
}
TPutResult TSubTotalRow::Descend(TDataRow*, TPutAction, bool) {
  CLAVIRA_UNBUILT();
}
TPutResult TSubTotalRow::Conflict(TDataRow*, TPutAction, int) {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::Overwrite(TDataRow*, int) {
  CLAVIRA_UNBUILT();
}
void TSubTotalRow::StoreTotal(void*, int, const TValue&) {
  CLAVIRA_UNBUILT();
}

}  // namespace dataframework
