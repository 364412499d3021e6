#include "dataframework/elements/GetRowsHandler.h"

#include "dataframework/Unbuilt.h"
#include "dataframework/conditions/Condition.h"

namespace dataframework {

TGetRowsHandler::TGetRowsHandler(TAbstractRowStorage& Storage, TGetRowsMode, platform::TStrings*,
                                 const TCondition*)
    : FStorage(Storage) {
  CLAVIRA_UNBUILT();
}
TGetRowsHandler::~TGetRowsHandler() = default;
void TGetRowsHandler::Deliver(TSubTotalRow*, TAbstractRow*) { CLAVIRA_UNBUILT(); }
void TGetRowsHandler::Run() { CLAVIRA_UNBUILT(); }
bool TGetRowsHandler::RunHasRows() { CLAVIRA_UNBUILT(); }
void TGetRowsHandler::Prune(TSubTotalRow*) { CLAVIRA_UNBUILT(); }
void TGetRowsHandler::DeliverDataRow(TDataRow*) { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
