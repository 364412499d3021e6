#include "dataframework/elements/RowStorage.h"

#include "dataframework/conditions/Criteria.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/SubTotalRow.h"
#include "platform/Assert.h"
#include "platform/StringList.h"

namespace dataframework {

namespace {

TDataTable* CheckedTable(TDataTable* Table) {
  platform::Assert(Table != nullptr, "TRowStorage.Create: DataTable <> nil");
  return Table;
}

// Translation callback of KeyPartOf: keeps the table's key fields.
TDataField* KeepTableKey(void* UserData, TDataField* Field, int& /*ConflictAction*/,
                         bool& /*KeepOriginal*/) {
  auto* table = static_cast<TDataTable*>(UserData);
  return table->TableHasKey(Field) ? Field : nullptr;
}

std::unique_ptr<TCriteria> AsCriteriaObject(std::unique_ptr<TCondition> Condition) {
  if (!Condition) return nullptr;
  auto* criteria = dynamic_cast<TCriteria*>(Condition.get());
  if (criteria == nullptr) return nullptr;
  (void)Condition.release();
  return std::unique_ptr<TCriteria>(criteria);
}

}  // namespace

TRowStorage::TRowStorage(TDataTable* Table) : TCustomRowStorage(CheckedTable(Table)) {
  FDeferredTotals = false;
  FRebuildViewOnChange = true;
  SetCriteria(std::make_unique<TCriteria>());
}

TRowStorage::~TRowStorage() = default;

std::unique_ptr<TRowStorage> TRowStorage::CreateCopy(const TRowStorage* Src) {
  platform::Assert(Src != nullptr, "TRowStorage.CreateCopy: Src <> nil");
  auto copy = std::make_unique<TRowStorage>(Src->Table());
  copy->SetTreeKeys(&Src->TreeOrder());
  copy->FCriteria = AsCriteriaObject(Src->FCriteria->Clone());
  copy->FKeyCriteria = AsCriteriaObject(Src->FKeyCriteria->Clone());
  copy->FCriteriaCoversFields = Src->FCriteriaCoversFields;
  copy->FTotalsBelow = Src->FTotalsBelow;
  copy->FRebuildViewOnChange = Src->FRebuildViewOnChange;
  // Reading Src's rows runs its load hooks but changes none of its rows.
  copy->AssignRows(const_cast<TRowStorage&>(*Src));
  return copy;
}

void TRowStorage::SetDeferredTotals(bool Value) {
  if (!Value && FRoot && !FRoot->TotalsValid()) FRoot->RecalcTotals();
  FDeferredTotals = Value;
}

TPutResult TRowStorage::InsertRow(TDataRow* Row, TPutAction Action, int Position) {
  TChangeScope scope(this);
  CheckInsert(Row, Action);
  TPutResult result;
  if (!FCriteriaCoversFields) {
    result = prCannotAdd;
  } else if (Action == paReinsert || !FKeyCriteria || FKeyCriteria->AcceptsRow(Row, nullptr)) {
    result = FRoot->PutRow(Row, Action);
  } else {
    result = prIllegalKeyValue;
  }
  if (result != prValuesMissing && result != prKeyConflict && result != prIllegalKeyValue &&
      result != prCannotAdd) {
    RowChanged(rcInserted, Row, Position);  // notes the change time too
    if (Action != paReinsert) Row->SetState(rsInserted);
  }
  return result;
}

std::unique_ptr<TCustomRowStorage> TRowStorage::Clone() const {
  return CreateCopy(this);
}

void TRowStorage::SetCriteria(std::unique_ptr<TCriteria> Criteria) {
  if (!Criteria) Criteria = std::make_unique<TCriteria>();
  FCriteria = std::move(Criteria);
  FKeyCriteria = KeyPartOf(*FCriteria);
  bool covers = FTable->RunningNumberField() != nullptr;
  if (!covers) {
    covers = true;
    for (int i = FTable->KeyCount(); i < FTable->FieldCount(); ++i) {
      if (!FCriteria->AcceptsAllOfField(FTable->GetField(i))) {
        covers = false;
        break;
      }
    }
  }
  FCriteriaCoversFields = covers;
  // The walk and the view would point at freed rows.
  FIterationRows.reset();
  FRowList->Clear();
  FRoot->ClearChildren();
  FViewValid = false;
  NotifyViewReset();
}

std::unique_ptr<TCriteria> TRowStorage::KeyPartOf(const TCriteria& Criteria) const {
  std::unique_ptr<TCriteria> keys =
      AsCriteriaObject(Criteria.CreateFieldTranslatedCopy(&KeepTableKey, FTable));
  if (!keys) keys = std::make_unique<TCriteria>();
  return keys;
}

}  // namespace dataframework
