// TDataField: the description of one column of the data framework.
//
// A field has a name (registered process-wide, FieldRegistry.h), a data type,
// a default value, display settings, its part in sorting, totals and SQL, and
// its relations to other fields and tables: key fields that depend on other
// key fields (ParentKey / DependentChildren), fields derived from another
// field (Origin / DerivedFields), and the aux table whose rows hold the
// field's values (AuxTable, Criteria, GetRows). Fields are shared: one field
// may belong to several tables at once; rows hold values only by the field's
// position in their table.
//
// Ownership: a field owns its Tables set, its Criteria condition, its lists
// and its per-language arrays. It never owns its data type, tables, related
// fields or text fields. A field made with an owner component is freed by
// it; free fields are owned by their creator (the Create... factories answer
// std::unique_ptr).
// REQUIRES: a field is removed from every table before it is freed, and a
// key field is detached (SetParentKey(nullptr), the same on its dependent
// children) before it is freed.
//
// Virtual operations keep their fixed order so that the calculated fields
// can refine them: ReadValue ... GetRowsUntranslated.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dataframework/conditions/ConditionsFwd.h"
#include "dataframework/conditions/IndexContainer.h"
#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/elements/Singleton.h"
#include "dataframework/types/DataTypeCore.h"
#include "dataframework/types/DataTypes.h"
#include "platform/LangArray.h"

namespace platform {
class TStrings;
}

namespace dataframework {

// Produces the SQL column expression of Field for BuildValueSQL.
using TValueSQLBuilder = void (*)(void* UserData, TDataField* Field, std::string& Expr);

class TDataField : public TSingleton {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Component construction with the defaults: no name, the case-sensitive
  // text type of length 30, its empty value as default, width -1,
  // rtDependentChange, SortField / Origin / LookupKey = this field,
  // DisplayValues = the effective value of dvDefault (dvKeyOnly).
  explicit TDataField(platform::TComponent* Owner);
  // CreateField: a free field named Name of DataType (captions, headings and
  // display names default to Name; aggregable and width from the type);
  // a non-empty name is registered (a taken name warns "Duplicate fields: ").
  // REQUIRES: DataType is given.
  TDataField(const std::string& Name, const TDataType* DataType);
  static std::unique_ptr<TDataField> CreateField(const std::string& Name,
                                                 const TDataType* DataType);
  ~TDataField() override;

  // ---- Virtual operations, in their fixed order.
  // 1: reads position Index of Row's record with the data type's reader.
  virtual void ReadValue(const TAbstractRow* Row, int Index, TValue& Value) const;
  // 2: DefaultReadOnly.
  virtual bool IsReadOnly(const TAbstractRow* Row) const;
  // 3: the data type keeps its values in the row record.
  virtual bool IsStored() const;
  // 4: SQL := Builder's expression, in "SUM(...)" when Aggregate.
  virtual void BuildValueSQL(bool Aggregate, std::string& SQL, TValueSQLBuilder Builder,
                             void* UserData);
  // 5: the field's value for a row that does not store it (subtotal keys,
  // storage criteria, the home table, the row lookup). Row none raises
  // "TDataField.GetExternValue: ARow = nil! (<class> : <FieldName>)".
  virtual void GetExternValue(const TAbstractRow* Row, TValue& Value) const;
  // 6: a plain field cannot be written from outside a table: raises
  // "Cannot set value <v> to Row <table>, Field <FieldName>".
  virtual TSetResult SetExternValue(TAbstractRow* Row, const TValue& Value, TSetAction Action);
  // 7: AuxTable := Table (and the same on every derived field). A table
  // without LookupKey among its keys is a fatal error ("<table> doesn't have
  // <key> as a key!"), AuxTable unchanged.
  virtual void SetAuxTable(TDataTable* Table);
  // 8: non-key fields of AuxTable that Criteria does not fix to one value.
  virtual int DependentFieldCount() const;
  // 9: the Index-th such field, or its derived field that belongs to this
  // field (DerivedKey); none beyond the end or without AuxTable.
  // REQUIRES: Index >= 0 ("TKeyField.GetDependentField: idx >= 0, idx: ").
  virtual TDataField* GetDependentField(int Index) const;
  // 10-13: the key fields whose ParentKey is this field.
  virtual void AddDependentChild(TDataField* Field);
  virtual void RemoveDependentChild(TDataField* Field);
  virtual int DependentChildCount() const;
  virtual TDataField* GetDependentChild(int Index) const;
  // 14, 15: the fields whose Origin is this field.
  virtual int DerivedFieldCount() const;
  virtual TDataField* GetDerivedField(int Index) const;
  // 16: steps up the ParentKey chain to a field without parent.
  virtual int ParentKeyDepth() const;
  // 17: the ancestor at Level (0: the topmost, Depth: the field itself);
  // Depth := ParentKeyDepth.
  virtual TDataField* GetParentKeyAt(int Level, int& Depth) const;
  // 18: whether the rows of AuxTable selected by Old and New may differ.
  virtual bool DependencyChanged(const TCondition* Old, const TCondition* New) const;
  // 19: the class lists its possible values in a way of its own. False
  // here; a class that gives GetValues a body of its own overrides this to
  // say so (calculated fields also look at their OnGetValues event).
  virtual bool HasCustomValues() const;
  // 20: the member of Field's group in AuxTable that belongs to this field.
  virtual TDataField* FindDependentField(TDataField* Field) const;
  // 21: appends the field to List (Include matters to calculated fields).
  // REQUIRES: List is given ("TDataField.AddToList: AList <> nil").
  virtual void AddToList(std::vector<TDataField*>* List, bool Include);
  // 22: the cached values must be reloaded (by RefillType).
  virtual bool NeedsRefill(const TCondition* Old, const TCondition* New, double LoadTime) const;
  // 23: the possible values of the field in the context of Table and Row:
  // here GetRows(Results, Condition).
  virtual void GetValues(platform::TStrings* Results, TDataTable* Table, TAbstractRow* Row,
                         const TCondition* Condition);
  // 24: the rows of AuxTable's cache storage that carry this field's values.
  // REQUIRES: Results is given ("TDataField.GetRows: Results <> nil").
  virtual void GetRows(platform::TStrings* Results, const TCondition* Condition);
  // 25: as GetRows without translating Condition to the aux table.
  virtual void GetRowsUntranslated(platform::TStrings* Results, const TCondition* Condition);

  // ---- Non-virtual operations.
  // Leaves the registry, renames, moves default texts that equal the old
  // name, registers a non-empty name (a taken one warns).
  void SetFieldName(const std::string& Value);
  // A new type also resets DefaultValue to the type's empty value.
  void SetDataType(const TDataType* Value);
  // Sets every entry of Captions and Headings.
  void SetCaptions(const std::vector<std::string>& Texts);
  void SetCaptions(const std::vector<std::string>& CaptionTexts,
                   const std::vector<std::string>& HeadingTexts);
  // Sets every entry of TextFields and AltTextFields.
  void SetTextFields(const std::vector<TDataField*>& Fields);
  // Detaches from the old parent, attaches to the new one.
  void SetParentKey(TDataField* Field);
  // The current entry of TextFields, or none.
  TDataField* CurrentTextField() const;
  // dvKeyOnly without a text field; otherwise DisplayValues with dvDefault
  // resolved (dvKeyAndText for text types, dvKeyOnly otherwise).
  TDisplayValues EffectiveDisplayValues() const;
  // Criteria fixes Field to exactly one value.
  bool SingleCriteriaValue(const TDataField* Field) const;
  // AuxTable's cache changed after Time (Time > 0).
  bool IsCacheStale(double Time) const;
  // The field that describes this field's values in its home table.
  TDataField* GetLookupField() const;
  // Start when Start is none or Target; otherwise the same from Start's
  // lookup field: Target when it is on Start's lookup chain, else none.
  static TDataField* LookupChainReaches(const TDataField* Target, TDataField* Start);
  // The translation of a condition's field to AuxTable's fields, for
  // CreateFieldTranslatedCopy; UserData is this field.
  static TDataField* TranslateToAuxField(void* UserData, TDataField* Field, int& ConflictAction,
                                         bool& KeepOriginal);
  const std::string& CaptionText() const { return FCaptions->CurrentText(); }
  const std::string& HeadingText() const { return FHeadings->CurrentText(); }

  // ---- Properties.
  const std::string& FieldName() const { return FFieldName; }
  const TDataType* DataType() const { return FDataType; }
  const TValue& DefaultValue() const { return FDefaultValue; }
  void SetDefaultValue(const TValue& Value) { FDefaultValue = Value; }
  int DisplayWidth() const { return FDisplayWidth; }
  void SetDisplayWidth(int Value) { FDisplayWidth = Value; }
  TDataTable* HomeTable() const { return FHomeTable; }
  void SetHomeTable(TDataTable* Value) { FHomeTable = Value; }
  // Every table that contains the field (kept by the tables).
  TIndexContainer& Tables() const { return *FTables; }
  bool DisableIntervals() const { return FDisableIntervals; }
  void SetDisableIntervals(bool Value) { FDisableIntervals = Value; }
  bool IsAggregable() const { return FIsAggregable; }
  void SetIsAggregable(bool Value) { FIsAggregable = Value; }
  bool HasCombo() const { return FHasCombo; }
  void SetHasCombo(bool Value) { FHasCombo = Value; }
  bool AllowSelections() const { return FAllowSelections; }
  void SetAllowSelections(bool Value) { FAllowSelections = Value; }
  bool IsReportable() const { return FIsReportable; }
  void SetIsReportable(bool Value) { FIsReportable = Value; }
  platform::TLangArray& Captions() const { return *FCaptions; }
  platform::TLangArray& Headings() const { return *FHeadings; }
  TRefillType RefillType() const { return FRefillType; }
  void SetRefillType(TRefillType Value) { FRefillType = Value; }
  platform::TLangFieldArray& TextFields() const { return *FTextFields; }
  platform::TLangFieldArray& AltTextFields() const { return *FAltTextFields; }
  TDataField* SortField() const { return FSortField; }
  // None restores the field itself.
  void SetSortField(TDataField* Value) { FSortField = Value != nullptr ? Value : this; }
  TSortOrder SortOrder() const { return FSortOrder; }
  void SetSortOrder(TSortOrder Value) { FSortOrder = Value; }
  TDataField* Origin() const { return FOrigin; }
  // Moves the field from the DerivedFields of its old origin to those of
  // Value (none: the field itself).
  void SetOrigin(TDataField* Value);
  TDataField* LookupKey() const { return FLookupKey; }
  void SetLookupKey(TDataField* Value) { FLookupKey = Value != nullptr ? Value : this; }
  TCommonQuilt* Criteria() const { return FCriteria.get(); }
  // Takes Value over; the old condition is freed.
  void SetCriteria(std::unique_ptr<TCommonQuilt> Value);
  TDataTable* AuxTable() const { return FAuxTable; }
  bool CanGenerateCondSQL() const { return FCanGenerateCondSQL; }
  void SetCanGenerateCondSQL(bool Value) { FCanGenerateCondSQL = Value; }
  bool CanGenerateValueSQL() const { return FCanGenerateValueSQL; }
  void SetCanGenerateValueSQL(bool Value) { FCanGenerateValueSQL = Value; }
  TDataField* ParentKey() const { return FParentKey; }
  TDataField* DerivedKey() const { return FDerivedKey; }
  void SetDerivedKey(TDataField* Value) { FDerivedKey = Value; }
  bool DefaultReadOnly() const { return FDefaultReadOnly; }
  void SetDefaultReadOnly(bool Value) { FDefaultReadOnly = Value; }
  TDisplayValues DisplayValues() const { return FDisplayValues; }
  void SetDisplayValues(TDisplayValues Value) { FDisplayValues = Value; }
  // False for every field class of this system.
  bool IsRunningNumber() const { return false; }
  // DisableIntervals is false and the field sorts by itself.
  bool Intervals() const { return !FDisableIntervals && FSortField == this; }

 protected:
  // The CreateField part after the component construction.
  void InitField(const std::string& Name, const TDataType* DataType);

 private:
  // Registers under FFieldName; a refused name warns.
  void RegisterName();
  void UnregisterName();
  // The field is Field's group member that "belongs" to this field.
  bool Belongs(const TDataField* Member) const;

  std::string FFieldName;
  const TDataType* FDataType = nullptr;
  TValue FDefaultValue;
  int FDisplayWidth = -1;
  TDataTable* FHomeTable = nullptr;
  std::unique_ptr<TIndexContainer> FTables;
  bool FDisableIntervals = false;
  bool FIsAggregable = false;
  bool FHasCombo = false;
  bool FAllowSelections = false;
  bool FIsReportable = false;
  std::unique_ptr<platform::TLangArray> FCaptions;
  std::unique_ptr<platform::TLangArray> FHeadings;
  TRefillType FRefillType = rtDependentChange;
  std::unique_ptr<platform::TLangFieldArray> FTextFields;
  std::unique_ptr<platform::TLangFieldArray> FAltTextFields;
  TDataField* FSortField = nullptr;
  TSortOrder FSortOrder = soAscending;
  TDataField* FOrigin = nullptr;
  TDataField* FLookupKey = nullptr;
  std::unique_ptr<TCommonQuilt> FCriteria;
  TDataTable* FAuxTable = nullptr;
  bool FCanGenerateCondSQL = true;
  bool FCanGenerateValueSQL = true;
  TDataField* FParentKey = nullptr;
  std::vector<TDataField*> FDependentChildren;
  std::vector<TDataField*> FDerivedFields;
  TDataField* FDerivedKey = nullptr;
  bool FDefaultReadOnly = false;
  TDisplayValues FDisplayValues = dvKeyOnly;
  bool FRegistered = false;  // the field registry holds this field
};

}  // namespace dataframework
