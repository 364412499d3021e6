#include "dataframework/elements/AbstractRow.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

void* TAbstractRow::operator new(size_t Size, TRecordRoom Room) {
  return ::operator new(Size + Room.Bytes);
}
void TAbstractRow::operator delete(void* Block, TRecordRoom) noexcept {
  ::operator delete(Block);
}
void TAbstractRow::operator delete(void* Block) noexcept {
  ::operator delete(Block);
}

TAbstractRow::TAbstractRow(TDataTable* Table, unsigned char* Record) noexcept
    : FTable(Table), FRecord(Record) {}
TAbstractRow::~TAbstractRow() = default;

TAbstractRow::TRecordRoom TAbstractRow::RoomFor(const TDataTable*) {
  CLAVIRA_UNBUILT();
}
TSetResult TAbstractRow::SetFieldValue(TDataField*, const TValue&) {
  CLAVIRA_UNBUILT();
}
TSetResult TAbstractRow::SetIndexValue(int, const TValue&) {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::BeforeRead(TDataField*) const {}
int TAbstractRow::IndexOfField(const TDataField*) const {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::GetIndexValue(int, TValue&) const {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::GetFieldValue(TDataField*, TValue&) const {
  CLAVIRA_UNBUILT();
}
TValue TAbstractRow::ValueAt(int) const {
  CLAVIRA_UNBUILT();
}
TValue TAbstractRow::ValueOf(TDataField*) const {
  CLAVIRA_UNBUILT();
}
TSetResult TAbstractRow::SetFieldValueEx(TDataField*, const TValue&, TSetAction) {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::ReadIndexRaw(int, TValue&) const {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::WriteIndexRaw(int, const TValue&) {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::WriteIndexValue(int, const TValue&) {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::CopyRecordFrom(const TAbstractRow&) {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::LongTextWriter(void*, int, const std::string&) {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::LongTextReader(void*, int, std::string&) {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::SetVisible(bool) {
  CLAVIRA_UNBUILT();
}
TSetResult TAbstractRow::SetFStringValue(TDataField*, const std::string&) {
  CLAVIRA_UNBUILT();
}
TSetResult TAbstractRow::SetFBooleanValue(TDataField*, bool) {
  CLAVIRA_UNBUILT();
}
TSetResult TAbstractRow::SetFPointerValue(TDataField*, platform::TObject*) {
  CLAVIRA_UNBUILT();
}
std::string TAbstractRow::GetFStringValue(TDataField*) const {
  CLAVIRA_UNBUILT();
}
int32_t TAbstractRow::GetFIntegerValue(TDataField*) const {
  CLAVIRA_UNBUILT();
}
bool TAbstractRow::GetFBooleanValue(TDataField*) const {
  CLAVIRA_UNBUILT();
}
bool TAbstractRow::IndexEqual(int, const TAbstractRow*) const {
  CLAVIRA_UNBUILT();
}
int TAbstractRow::Compare(const TAbstractRow*, TRowSortOrder*) const {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::KeyDescription(TDataTable*, std::string&) const {
  CLAVIRA_UNBUILT();
}
std::string TAbstractRow::KeyDescription(TDataTable*) const {
  CLAVIRA_UNBUILT();
}
TAbstractRow* TAbstractRow::FindTextRow(TDataField*, TDataField*, bool&) const {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::GetKeyAndDescription(TDataField*, TDataField*, std::string&) const {
  CLAVIRA_UNBUILT();
}
void TAbstractRow::GetDisplayText(TDataField*, TDisplayValues, std::string&) const {
  CLAVIRA_UNBUILT();
}
TAbstractRow* TAbstractRow::Lookup(TDataField*&) const {
  CLAVIRA_UNBUILT();
}

}  // namespace dataframework
