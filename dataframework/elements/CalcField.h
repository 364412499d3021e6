// TCalcField: a data field whose value is computed for a row instead of
// being stored in it (module CalcField, which also holds TClosedField and
// TFictiveField; this header gives all three).
//
// The value comes from the OnCalcValue handler or from a subclass's
// CalcValue. A calculated field may stand outside a table (rows compute it
// through GetExternValue) or be listed in one; with CalcInTable the rows
// compute it instead of reading their record. On subtotal rows an aggregable
// field is the sum of its children's values (CalcbeforeAggregating) or is
// computed from the subtotal row's own totals; a non-aggregable field
// without LegalForSubTotals reads empty there. A written value goes to
// DistributeValue (OnDistributeValue or a subclass), which decides what
// writing the computed value means, unless the field is read-only.
//
// Ownership: as TDataField. The events are plain callables; the field does
// not own whatever they refer to.
// REQUIRES: a subclass that gives GetValues a body of its own also
// overrides HasCustomValues to answer true (C++ cannot compare overriders
// portably, so the class says so itself).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dataframework/elements/DataField.h"

namespace dataframework {

// Computes the value of Sender for Row (Row may be none when the field is
// asked without a row).
using TOnCalcValueEvent = std::function<TValue(const TCalcField* Sender, const TAbstractRow* Row)>;
// Takes a value written into Sender for Row; answers how the write went.
using TOnDistributeValueEvent =
    std::function<TSetResult(TCalcField* Sender, TAbstractRow* Row, const TValue& Value)>;
// Lists the possible values of Sender for Table and Row into Results
// (texts with rows as objects).
using TOnGetValuesEvent =
    std::function<void(TCalcField* Sender, platform::TStrings* Results, TDataTable* Table,
                       TAbstractRow* Row, const TCondition* Condition)>;

class TCalcField : public TDataField {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Field defaults, then: not computed in tables, writable, summed before
  // aggregating, legal for subtotals, no SQL for conditions or values.
  explicit TCalcField(platform::TComponent* Owner);
  // CreateCalc: CreateField(Name, DataType), then DefaultReadOnly := ReadOnly,
  // CalcbeforeAggregating as given, legal for subtotals, not computed in
  // tables, no SQL. REQUIRES: DataType is given.
  TCalcField(const std::string& Name, const TDataType* DataType, bool ReadOnly,
             bool CalcBeforeAggregating);
  static std::unique_ptr<TCalcField> CreateCalc(const std::string& Name, const TDataType* DataType,
                                                bool ReadOnly, bool CalcBeforeAggregating);
  ~TCalcField() override;

  // ---- Overrides of TDataField.
  // With CalcInTable: GetExternValue(Row); otherwise the record is read.
  void ReadValue(const TAbstractRow* Row, int Index, TValue& Value) const override;
  // False: the value is not kept in the record.
  bool IsStored() const override;
  // On a subtotal row, for a field that is not one of the table's keys:
  // aggregable with CalcbeforeAggregating, the sum of the children; not
  // aggregable without LegalForSubTotals, the type's empty value. Otherwise
  // CalcValue(Row).
  void GetExternValue(const TAbstractRow* Row, TValue& Value) const override;
  // srReadOnly when IsReadOnly(Row); otherwise DistributeValue(Row, Value).
  TSetResult SetExternValue(TAbstractRow* Row, const TValue& Value, TSetAction Action) override;
  // OnGetValues is set, or the class lists its values in its own way.
  bool HasCustomValues() const override;
  // Appended only when Include (CreateTable asks with Include true).
  void AddToList(std::vector<TDataField*>* List, bool Include) override;
  // OnGetValues when set; otherwise the inherited GetRows(Results, Condition).
  void GetValues(platform::TStrings* Results, TDataTable* Table, TAbstractRow* Row,
                 const TCondition* Condition) override;

  // ---- New virtual operations.
  // 26: Value := OnCalcValue(this, Row); without a handler raises
  // "<class>.CalcValue: Method not implemented!".
  virtual void CalcValue(const TAbstractRow* Row, TValue& Value) const;
  // 27: OnDistributeValue's answer; without a handler raises
  // "<class>.DistributeValue: Method not implemented!".
  virtual TSetResult DistributeValue(TAbstractRow* Row, const TValue& Value);

  // ---- Properties.
  bool CalcbeforeAggregating() const { return FCalcbeforeAggregating; }
  void SetCalcbeforeAggregating(bool Value) { FCalcbeforeAggregating = Value; }
  bool LegalForSubTotals() const { return FLegalForSubTotals; }
  void SetLegalForSubTotals(bool Value) { FLegalForSubTotals = Value; }
  bool CalcInTable() const { return FCalcInTable; }
  void SetCalcInTable(bool Value) { FCalcInTable = Value; }
  const TOnCalcValueEvent& OnCalcValue() const { return FOnCalcValue; }
  void SetOnCalcValue(TOnCalcValueEvent Value) { FOnCalcValue = std::move(Value); }
  const TOnDistributeValueEvent& OnDistributeValue() const { return FOnDistributeValue; }
  void SetOnDistributeValue(TOnDistributeValueEvent Value) {
    FOnDistributeValue = std::move(Value);
  }
  const TOnGetValuesEvent& OnGetValues() const { return FOnGetValues; }
  void SetOnGetValues(TOnGetValuesEvent Value) { FOnGetValues = std::move(Value); }

 private:
  void InitCalc(bool ReadOnly, bool CalcBeforeAggregating);

  bool FCalcbeforeAggregating = true;
  bool FLegalForSubTotals = true;
  bool FCalcInTable = false;
  TOnCalcValueEvent FOnCalcValue;
  TOnDistributeValueEvent FOnDistributeValue;
  TOnGetValuesEvent FOnGetValues;
};

// Registers TCalcField, TFictiveField and TClosedField with the class
// registry (done at module start; calling it again does nothing).
void RegisterCalcFieldClasses();

}  // namespace dataframework

#include "dataframework/elements/ClosedField.h"
#include "dataframework/elements/FictiveField.h"
