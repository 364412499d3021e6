#include "dataframework/elements/DataRow.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

std::unique_ptr<TDataRow> TDataRow::Create(TDataTable*) {
  CLAVIRA_UNBUILT();
}
std::unique_ptr<TDataRow> TDataRow::CreateFromDefaults(TDataTable*) {
  CLAVIRA_UNBUILT();
}
TSetResult TDataRow::SetIndexValueEx(int, const TValue&, TSetAction) {
  CLAVIRA_UNBUILT();
}
void TDataRow::CollectRows(platform::TStrings*, TCondition*, bool) {
  CLAVIRA_UNBUILT();
}
int TDataRow::KeyLevelCount() const {
  CLAVIRA_UNBUILT();
}
void TDataRow::CollectState(platform::TStrings*, TRowState) {
  CLAVIRA_UNBUILT();
}
void TDataRow::ExpandInList(platform::TStrings*, int&) {
  CLAVIRA_UNBUILT();
}
bool TDataRow::CanWrite(TDataField*, std::string&) {
  CLAVIRA_UNBUILT();
}
bool TDataRow::IsChanged() const {
  CLAVIRA_UNBUILT();
}
bool TDataRow::FieldHasValue(TDataField*) const {
  CLAVIRA_UNBUILT();
}
void TDataRow::Delete(bool) {
  CLAVIRA_UNBUILT();
}
void TDataRow::CopyContents(const TAbstractRow*) {
  CLAVIRA_UNBUILT();
}
std::unique_ptr<TDataRow> TDataRow::Clone() const {
  CLAVIRA_UNBUILT();
}
void TDataRow::SetDefaultsFrom(const TAbstractRow*) {
  CLAVIRA_UNBUILT();
}
void TDataRow::AddValues(const TAbstractRow*, int) {
  CLAVIRA_UNBUILT();
}
TSetResult TDataRow::KeyWrite(int, const TValue&, const TValue&, TSetAction) {
  CLAVIRA_UNBUILT();
}
bool TDataRow::InTree() const noexcept {
  return false;
}

}  // namespace dataframework
