#include "dataframework/elements/GetRowsHandler.h"

#include "dataframework/conditions/Condition.h"
#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/elements/AbstractRowStorage.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/SubTotalRow.h"
#include "platform/StringList.h"

namespace dataframework {

TGetRowsHandler::TGetRowsHandler(TAbstractRowStorage& Storage, TGetRowsMode Mode,
                                 platform::TStrings* Results, const TCondition* Condition)
    : FStorage(Storage), FTable(Storage.Table()), FResults(Results), FMode(Mode) {
  if (Condition == nullptr) {
    FOwnedCondition = std::make_unique<TQuiltPatch>();
    Condition = FOwnedCondition.get();
  }
  FCondition = Condition;
  FSortChildren = Mode == gmDelete ? false : Storage.CheckTreeOrder();
  FNiceCondition = Condition->IsNice();
  FNeedsRowTest = !FNiceCondition;
  if (!FNeedsRowTest && FTable != nullptr) {
    for (int i = FTable->KeyCount(); i < FTable->FieldCount(); ++i) {
      if (!Condition->AcceptsAllOfField(FTable->GetField(i))) {
        FNeedsRowTest = true;
        break;
      }
    }
  }
}

TGetRowsHandler::~TGetRowsHandler() = default;

void TGetRowsHandler::Deliver(TSubTotalRow* /*Level*/, TAbstractRow* Row) {
  if (Row == nullptr) return;
  if (auto* subTotal = dynamic_cast<TSubTotalRow*>(Row)) {
    FCondition->GetRows(*this, subTotal);
    Prune(subTotal);
    return;
  }
  if (auto* dataRow = dynamic_cast<TDataRow*>(Row)) DeliverDataRow(dataRow);
}

void TGetRowsHandler::DeliverDataRow(TDataRow* Row) {
  switch (FMode) {
    case gmRows:
      FResults->AddObject(std::string(), Row);
      break;
    case gmCopies: {
      std::unique_ptr<TDataRow> copy = FStorage.CreateRow();
      copy->CopyContents(Row);
      FResults->AddObject(std::string(), copy.get());
      copy.release();  // the caller of GetRows owns the copies
      break;
    }
    case gmMoveOut: {
      std::unique_ptr<TDataRow> copy = FStorage.CreateRow();
      copy->CopyContents(Row);
      FResults->AddObject(std::string(), copy.get());
      copy.release();  // the caller of GetRows owns the copies
      Row->Delete(false);
      break;
    }
    case gmDelete:
      Row->Delete(false);
      break;
  }
}

void TGetRowsHandler::Run() {
  TSubTotalRow* root = FStorage.Root();
  if (root == nullptr) return;
  FCondition->GetRows(*this, root);
  Prune(root);
}

bool TGetRowsHandler::RunHasRows() {
  TSubTotalRow* root = FStorage.Root();
  return root != nullptr && FCondition->HasRows(*this, root);
}

void TGetRowsHandler::Prune(TSubTotalRow* Row) {
  if (FMode != gmMoveOut && FMode != gmDelete) return;
  if (Row->IsLastLevel()) {
    Row->PruneEmptyEntries();
    return;
  }
  // From the end, so the positions still to visit stay where they are.
  for (int i = Row->ChildCount() - 1; i >= 0; --i) {
    auto* child = static_cast<TSubTotalRow*>(Row->Child(i));
    if (child != nullptr && child->ChildCount() == 0) Row->RemoveChild(child, false);
  }
}

}  // namespace dataframework
