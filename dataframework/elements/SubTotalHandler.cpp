#include "dataframework/elements/SubTotalHandler.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

void TCallbackCommandRemoveRow::Execute() {
  CLAVIRA_UNBUILT();
}
void TCallbackCommandRestoreValue::Execute() {
  CLAVIRA_UNBUILT();
}
TSubTotalHandlerMark::~TSubTotalHandlerMark() = default;
void TSubTotalHandlerMark::AddCommand(std::unique_ptr<TCallbackCommand>) {
  CLAVIRA_UNBUILT();
}
void TSubTotalHandlerMark::Undo() {
  CLAVIRA_UNBUILT();
}
TSubTotalRow* TSubTotalHandlerMark::PopRow() {
  CLAVIRA_UNBUILT();
}
TSubTotalHandler::~TSubTotalHandler() = default;
bool TSubTotalHandler::CanDistributeAtLevel(TAbstractRowStorage*, int, std::string&) {
  CLAVIRA_UNBUILT();
}
bool TSubTotalHandler::CanDistributeValue(TAbstractRowStorage*, TSubTotalRow*, std::string&,
                                          TDataField*) {
  CLAVIRA_UNBUILT();
}
void TSubTotalHandler::BeforeDistribute(TAbstractRowStorage*, TSubTotalRow*, const TValue&,
                                        TDataField*) {}
void TSubTotalHandler::Distribute(TAbstractRowStorage*, TSubTotalRow*, const TValue&, TDataField*) {
  CLAVIRA_UNBUILT();
}
void TSubTotalHandler::ComputeTotals(TAbstractRowStorage*, TSubTotalRow*, TStoreTotalProc, void*) {
  CLAVIRA_UNBUILT();
}
TSetResult TSubTotalHandler::SetSubTotalValue(TAbstractRowStorage*, TSubTotalRow*, TSetAction,
                                              const TValue&, TDataField*) {
  CLAVIRA_UNBUILT();
}
bool TSubTotalHandler::CanSet(TAbstractRowStorage*, TSubTotalRow*, std::string&, TDataField*) {
  CLAVIRA_UNBUILT();
}
bool TSubTotalHandler::CheckSet(TAbstractRowStorage*, TSubTotalRow*, std::string&, TDataField*) {
  CLAVIRA_UNBUILT();
}
void TSubTotalHandler::RunComputeTotals(TAbstractRowStorage*, TSubTotalRow*, TStoreTotalProc,
                                        void*) {
  CLAVIRA_UNBUILT();
}
void TSubTotalHandler::PushMark(TAbstractRowStorage*, TSubTotalRow*, TDataField*) {
  CLAVIRA_UNBUILT();
}
void TSubTotalHandler::PopMark() {
  CLAVIRA_UNBUILT();
}
TSubTotalHandlerMark* TSubTotalHandler::CurrentMark() const noexcept {
  return FMarks.empty() ? nullptr : FMarks.back().get();
}
TSubTotalRow* TSubTotalHandler::CurrentRow() const {
  CLAVIRA_UNBUILT();
}
int TSubTotalHandler::CurrentChildCount() const {
  CLAVIRA_UNBUILT();
}
TAbstractRow* TSubTotalHandler::CurrentChild(int) const {
  CLAVIRA_UNBUILT();
}
TDataField* TSubTotalHandler::CurrentLevelField() const {
  CLAVIRA_UNBUILT();
}
TAbstractRow* TSubTotalHandler::FindCurrentChild(const TValue&) const {
  CLAVIRA_UNBUILT();
}
TAbstractRow* TSubTotalHandler::SetChildValue(const TValue&, const TValue&) {
  CLAVIRA_UNBUILT();
}
TAbstractRow* TSubTotalHandler::AddToChild(const TValue&, const TValue&) {
  CLAVIRA_UNBUILT();
}
bool TDefaultSubTotalHandler::CanDistributeAtLevel(TAbstractRowStorage*, int, std::string&) {
  CLAVIRA_UNBUILT();
}
TDefaultSubTotalHandler* DefaultSubTotalHandler() {
  CLAVIRA_UNBUILT();
}

}  // namespace dataframework
