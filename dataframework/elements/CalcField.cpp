#include "dataframework/elements/CalcField.h"

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/SubTotalRow.h"
#include "platform/ClassRegistry.h"
#include "platform/Exception.h"
#include "platform/PropInfo.h"

namespace dataframework {

const platform::TClass& TCalcField::StaticClass() {
  using namespace platform;
  using F = TCalcField;
  static const TClass Class(
      "TCalcField", &TDataField::StaticClass(), "CalcField",
      {BoolProp<F>("CanGenerateValueSQL", &F::CanGenerateValueSQL, &F::SetCanGenerateValueSQL),
       BoolProp<F>("CanGenerateCondSQL", &F::CanGenerateCondSQL, &F::SetCanGenerateCondSQL),
       BoolProp<F>("LegalForSubTotals", &F::LegalForSubTotals, &F::SetLegalForSubTotals),
       BoolProp<F>("CalcInTable", &F::CalcInTable, &F::SetCalcInTable),
       BoolProp<F>("CalcbeforeAggregating", &F::CalcbeforeAggregating,
                   &F::SetCalcbeforeAggregating),
       MethodProp<F, TOnCalcValueEvent>("OnCalcValue", "TOnCalcValueEvent", &F::OnCalcValue,
                                        &F::SetOnCalcValue),
       MethodProp<F, TOnDistributeValueEvent>("OnDistributeValue", "TOnDistributeValueEvent",
                                              &F::OnDistributeValue, &F::SetOnDistributeValue),
       MethodProp<F, TOnGetValuesEvent>("OnGetValues", "TOnGetValuesEvent", &F::OnGetValues,
                                        &F::SetOnGetValues)});
  return Class;
}

void RegisterCalcFieldClasses() {
  platform::RegisterClasses(
      {&TCalcField::StaticClass(), &TFictiveField::StaticClass(), &TClosedField::StaticClass()});
}

namespace {
// Module start: streaming finds the classes by name.
[[maybe_unused]] const bool CalcFieldClassesRegistered = (RegisterCalcFieldClasses(), true);
}  // namespace

TCalcField::TCalcField(platform::TComponent* Owner) : TDataField(Owner) {
  InitCalc(false, true);
}

TCalcField::TCalcField(const std::string& Name, const TDataType* DataType, bool ReadOnly,
                       bool CalcBeforeAggregating)
    : TCalcField(nullptr) {
  InitField(Name, DataType);
  InitCalc(ReadOnly, CalcBeforeAggregating);
}

std::unique_ptr<TCalcField> TCalcField::CreateCalc(const std::string& Name,
                                                   const TDataType* DataType, bool ReadOnly,
                                                   bool CalcBeforeAggregating) {
  return std::make_unique<TCalcField>(Name, DataType, ReadOnly, CalcBeforeAggregating);
}

TCalcField::~TCalcField() = default;

void TCalcField::InitCalc(bool ReadOnly, bool CalcBeforeAggregating) {
  FCalcInTable = false;
  SetDefaultReadOnly(ReadOnly);
  FCalcbeforeAggregating = CalcBeforeAggregating;
  FLegalForSubTotals = true;
  SetCanGenerateCondSQL(false);
  SetCanGenerateValueSQL(false);
}

// ---- Overrides of TDataField.

void TCalcField::ReadValue(const TAbstractRow* Row, int Index, TValue& Value) const {
  if (FCalcInTable) {
    GetExternValue(Row, Value);
  } else {
    TDataField::ReadValue(Row, Index, Value);
  }
}

bool TCalcField::IsStored() const {
  return false;
}

void TCalcField::GetExternValue(const TAbstractRow* Row, TValue& Value) const {
  if (Row != nullptr && Row->IsSubTotal()) {
    const TDataTable* table = Row->Table();
    const int p = table != nullptr ? table->IndexOfField(this) : -1;
    if (p < 0 || p >= table->KeyCount()) {
      if (IsAggregable() && FCalcbeforeAggregating) {
        static_cast<const TSubTotalRow*>(Row)->SumChildren(const_cast<TCalcField*>(this), Value);
        return;
      }
      if (!IsAggregable() && !FLegalForSubTotals) {
        DataType()->DefaultValue(Value);
        return;
      }
    }
  }
  CalcValue(Row, Value);
}

TSetResult TCalcField::SetExternValue(TAbstractRow* Row, const TValue& Value, TSetAction) {
  if (IsReadOnly(Row)) return srReadOnly;
  return DistributeValue(Row, Value);
}

bool TCalcField::HasCustomValues() const {
  return static_cast<bool>(FOnGetValues);
}

void TCalcField::AddToList(std::vector<TDataField*>* List, bool Include) {
  if (Include) TDataField::AddToList(List, Include);
}

void TCalcField::GetValues(platform::TStrings* Results, TDataTable* Table, TAbstractRow* Row,
                           const TCondition* Condition) {
  if (FOnGetValues) {
    FOnGetValues(this, Results, Table, Row, Condition);
  } else {
    TDataField::GetValues(Results, Table, Row, Condition);
  }
}

// ---- New virtual operations.

void TCalcField::CalcValue(const TAbstractRow* Row, TValue& Value) const {
  if (!FOnCalcValue) throw platform::Exception(ClassName() + ".CalcValue: Method not implemented!");
  Value = FOnCalcValue(this, Row);
}

TSetResult TCalcField::DistributeValue(TAbstractRow* Row, const TValue& Value) {
  if (!FOnDistributeValue)
    throw platform::Exception(ClassName() + ".DistributeValue: Method not implemented!");
  return FOnDistributeValue(this, Row, Value);
}

}  // namespace dataframework
