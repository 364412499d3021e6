#include "dataframework/elements/DataField.h"

#include <algorithm>

#include "dataframework/conditions/Condition.h"
#include "dataframework/conditions/Criteria.h"
#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/DataFieldSet.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/RowStorage.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/types/TextTypes.h"
#include "platform/Assert.h"
#include "platform/DataError.h"
#include "platform/PropInfo.h"
#include "platform/StringList.h"

namespace dataframework {

using platform::DataError;
using platform::esFatal;
using platform::esWarning;

namespace {

TDataField* Mutable(const TDataField* Field) {
  return const_cast<TDataField*>(Field);
}

std::string DefaultValueText(const TDataField& Field) {
  const TValue& value = Field.DefaultValue();
  return value.DataType != nullptr ? ValueAsString(value) : std::string();
}

void SetDefaultValueText(TDataField& Field, const std::string& Text) {
  TValue value;
  if (Field.DataType() == nullptr || !Field.DataType()->ParseValue(Text, value, TValueFormat{})) {
    throw platform::EPropertyError("Invalid property value");
  }
  Field.SetDefaultValue(value);
}

// The criteria condition of a field is owned by it; assigning through the
// property hands the object over.
void SetCriteriaObject(TDataField& Field, TCommonQuilt* Value) {
  if (Value == Field.Criteria()) return;
  Field.SetCriteria(std::unique_ptr<TCommonQuilt>(Value));
}

}  // namespace

const platform::TClass& TDataField::StaticClass() {
  using namespace platform;
  using F = TDataField;
  static const TClass Class(
      "TDataField", &TSingleton::StaticClass(), "DataElements",
      {StrProp<F>("FieldName", &F::FieldName, &F::SetFieldName),
       ClassProp<F, TDataType>(
           "DataType", [](const F& f) { return const_cast<TDataType*>(f.DataType()); },
           [](F& f, TDataType* t) { f.SetDataType(t); }),
       StrProp<F>("DefaultValue", &DefaultValueText, &SetDefaultValueText),
       IntProp<F>("DisplayWidth", &F::DisplayWidth, &F::SetDisplayWidth),
       BoolProp<F>("AllowSelections", &F::AllowSelections, &F::SetAllowSelections),
       BoolProp<F>("IsReportable", &F::IsReportable, &F::SetIsReportable),
       BoolProp<F>("HasCombo", &F::HasCombo, &F::SetHasCombo),
       BoolProp<F>("IsAggregable", &F::IsAggregable, &F::SetIsAggregable),
       BoolProp<F>("DisableIntervals", &F::DisableIntervals, &F::SetDisableIntervals),
       BoolProp<F>("CanGenerateCondSQL", &F::CanGenerateCondSQL, &F::SetCanGenerateCondSQL),
       BoolProp<F>("CanGenerateValueSQL", &F::CanGenerateValueSQL, &F::SetCanGenerateValueSQL),
       BoolProp<F>("DefaultReadOnly", &F::DefaultReadOnly, &F::SetDefaultReadOnly),
       BoolProp<F>("IsRunningNumber", &F::IsRunningNumber),
       ClassProp<F, TDataField>("SortField", &F::SortField, &F::SetSortField),
       EnumProp<F, TSortOrder>("SortOrder", {"soAscending", "soDescending"}, &F::SortOrder,
                               &F::SetSortOrder),
       ClassProp<F, TCommonQuilt>("Criteria", &F::Criteria, &SetCriteriaObject),
       BoolProp<F>("Intervals", &F::Intervals),
       EnumProp<F, TRefillType>("RefillType", {"rtNever", "rtAlways", "rtDependentChange"},
                                &F::RefillType, &F::SetRefillType),
       EnumProp<F, TDisplayValues>("DisplayValues",
                                   {"dvKeyOnly", "dvKeyAndText", "dvTextOnly", "dvDefault"},
                                   &F::DisplayValues, &F::SetDisplayValues)});
  return Class;
}

TDataField::TDataField(platform::TComponent* Owner)
    : TSingleton(Owner),
      FDataType(StringType(30, true)),
      FTables(std::make_unique<TIndexContainer>(101, false)),
      FCaptions(std::make_unique<platform::TLangArray>()),
      FHeadings(std::make_unique<platform::TLangArray>()),
      FTextFields(std::make_unique<platform::TLangFieldArray>()),
      FAltTextFields(std::make_unique<platform::TLangFieldArray>()),
      FSortField(this),
      FOrigin(this),
      FLookupKey(this) {
  FDataType->DefaultValue(FDefaultValue);
  BindLanguage(*FCaptions);
  BindLanguage(*FHeadings);
  BindLanguage(*FTextFields);
  BindLanguage(*FAltTextFields);
  FAltTextFields->SetDefaultCallback([this] { return FTextFields->CurrentField(); });
  FDisplayValues = dvDefault;
  FDisplayValues = EffectiveDisplayValues();
}

TDataField::TDataField(const std::string& Name, const TDataType* DataType) : TDataField(nullptr) {
  InitField(Name, DataType);
}

std::unique_ptr<TDataField> TDataField::CreateField(const std::string& Name,
                                                    const TDataType* DataType) {
  return std::make_unique<TDataField>(Name, DataType);
}

void TDataField::InitField(const std::string& Name, const TDataType* DataType) {
  platform::Assert(DataType != nullptr, "TDataField.CreateField: DataType <> nil");
  FFieldName = Name;
  FCaptions->SetDefaultText(Name);
  FHeadings->SetDefaultText(Name);
  DisplayNames().SetDefaultText(Name);
  FDataType = DataType;
  DataType->DefaultValue(FDefaultValue);
  FIsAggregable = DataType->IsAggregable();
  FDisplayWidth = DataType->DisplayWidth();
  if (!Name.empty()) RegisterName();
}

TDataField::~TDataField() {
  FCriteria.reset();
  UnregisterName();
  for (TDataField* derived : FDerivedFields) {
    if (derived->FOrigin == this) derived->FOrigin = derived;
  }
  if (FOrigin != this && FOrigin != nullptr) {
    auto& list = FOrigin->FDerivedFields;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

void TDataField::RegisterName() {
  FRegistered = FieldRegistry().Add(FFieldName, this);
  if (!FRegistered) DataError(esWarning, "Duplicates", "Duplicate fields: " + FFieldName);
}

void TDataField::UnregisterName() {
  // Only a field the registry took has an entry to remove.
  if (FRegistered) FieldRegistry().Remove(FFieldName, this);
  FRegistered = false;
}

// ---- Virtual operations.

void TDataField::ReadValue(const TAbstractRow* Row, int Index, TValue& Value) const {
  Row->ReadIndexRaw(Index, Value);
}

bool TDataField::IsReadOnly(const TAbstractRow*) const {
  return FDefaultReadOnly;
}

bool TDataField::IsStored() const {
  return FDataType != nullptr && FDataType->IsStored();
}

void TDataField::BuildValueSQL(bool Aggregate, std::string& SQL, TValueSQLBuilder Builder,
                               void* UserData) {
  std::string expr;
  Builder(UserData, this, expr);
  SQL = Aggregate ? "SUM(" + expr + ")" : expr;
}

void TDataField::GetExternValue(const TAbstractRow* Row, TValue& Value) const {
  if (Row != nullptr && dynamic_cast<const TSubTotalRow*>(Row) != nullptr &&
      TSubTotalRow::TreeKeyValue(Row, Mutable(this), Value)) {
    return;
  }
  if (Row == nullptr) {
    throw platform::Exception("TDataField.GetExternValue: ARow = nil! (" + ClassName() + " : " +
                              FFieldName + ")");
  }
  if (auto* storage = dynamic_cast<const TRowStorage*>(Row->Storage())) {
    if (storage->KeyCriteria() != nullptr && storage->KeyCriteria()->HasOnlyValue(this, Value)) {
      return;
    }
  }
  if (FHomeTable != nullptr && FHomeTable == Row->Table()) {
    const int i = Row->IndexOfField(FLookupKey);
    if (i >= 0) {
      Row->GetIndexValue(i, Value);
      return;
    }
  }
  TDataField* field = Mutable(this);
  TAbstractRow* found = Row->Lookup(field);
  // Only a row whose table holds the field gives its value; reading any
  // other row would come back here.
  if (found != nullptr && field != nullptr && found->Table()->TableHasField(field)) {
    found->GetFieldValue(field, Value);
    return;
  }
  FDataType->DefaultValue(Value);
}

TSetResult TDataField::SetExternValue(TAbstractRow* Row, const TValue& Value, TSetAction) {
  const std::string table =
      Row != nullptr && Row->Table() != nullptr ? Row->Table()->TableName() : std::string();
  const std::string text = Value.DataType != nullptr ? ValueAsString(Value) : std::string();
  throw platform::Exception("Cannot set value " + text + " to Row " + table + ", Field " +
                            FFieldName);
}

void TDataField::SetAuxTable(TDataTable* Table) {
  if (Table != nullptr && !Table->TableHasKey(FLookupKey)) {
    DataError(esFatal, "SetAuxTable",
              Table->TableName() + " doesn't have " + FLookupKey->FieldName() + " as a key!");
  }
  FAuxTable = Table;
  for (TDataField* derived : FDerivedFields) derived->SetAuxTable(Table);
}

int TDataField::DependentFieldCount() const {
  if (FAuxTable == nullptr) return 0;
  int count = 0;
  for (int i = FAuxTable->KeyCount(); i < FAuxTable->FieldCount(); ++i) {
    if (!SingleCriteriaValue(FAuxTable->GetField(i))) ++count;
  }
  return count;
}

TDataField* TDataField::GetDependentField(int Index) const {
  platform::Assert(Index >= 0, "TKeyField.GetDependentField: idx >= 0, idx: ", Index);
  if (FAuxTable == nullptr) return nullptr;
  TDataField* candidate = nullptr;
  int remaining = Index;
  for (int i = FAuxTable->KeyCount(); i < FAuxTable->FieldCount(); ++i) {
    TDataField* field = FAuxTable->GetField(i);
    if (SingleCriteriaValue(field)) continue;
    if (remaining == 0) {
      candidate = field;
      break;
    }
    --remaining;
  }
  if (candidate == nullptr) return nullptr;
  for (TDataField* derived : candidate->FDerivedFields) {
    if (derived->FDerivedKey == this) return derived;
  }
  return candidate;
}

void TDataField::AddDependentChild(TDataField* Field) {
  FDependentChildren.push_back(Field);
}

void TDataField::RemoveDependentChild(TDataField* Field) {
  auto it = std::find(FDependentChildren.begin(), FDependentChildren.end(), Field);
  if (it != FDependentChildren.end()) FDependentChildren.erase(it);
}

int TDataField::DependentChildCount() const {
  return static_cast<int>(FDependentChildren.size());
}

TDataField* TDataField::GetDependentChild(int Index) const {
  platform::Assert(Index >= 0 && Index < DependentChildCount(),
                   "TKeyField.GetDependentChild: (idx >= 0) and (idx < FDependentChildren.Count), "
                   "idx: ",
                   Index);
  return FDependentChildren[static_cast<size_t>(Index)];
}

int TDataField::DerivedFieldCount() const {
  return static_cast<int>(FDerivedFields.size());
}

TDataField* TDataField::GetDerivedField(int Index) const {
  platform::Assert(
      Index >= 0 && Index < DerivedFieldCount(),
      "TKeyField.GetDerivedField: (idx >= 0) and (idx < FDerivedFields.Count), idx: ", Index);
  return FDerivedFields[static_cast<size_t>(Index)];
}

int TDataField::ParentKeyDepth() const {
  int depth = 0;
  for (const TDataField* f = FParentKey; f != nullptr; f = f->FParentKey) ++depth;
  return depth;
}

TDataField* TDataField::GetParentKeyAt(int Level, int& Depth) const {
  Depth = ParentKeyDepth();
  const TDataField* field = this;
  // A level below 0 asks for more steps than the chain has: the topmost
  // ancestor is as far as it goes.
  while (Level < Depth && field->FParentKey != nullptr) {
    field = field->FParentKey;
    ++Level;
  }
  return Mutable(field);
}

bool TDataField::DependencyChanged(const TCondition* Old, const TCondition* New) const {
  if (FAuxTable == nullptr || Old == nullptr || HasCustomValues() || New == nullptr) return true;
  platform::TMaybeOwned<TCommonQuilt> oldQuilt = Old->AsCommonQuilt();
  platform::TMaybeOwned<TCommonQuilt> newQuilt = New->AsCommonQuilt();
  TDataFieldSet fields;
  fields.AddTableFields(*FAuxTable, true, true, false);
  return oldQuilt->Relation(*newQuilt, &fields) != qrEqual;
}

bool TDataField::HasCustomValues() const {
  return false;
}

bool TDataField::Belongs(const TDataField* Member) const {
  return Member->FDerivedKey == this || (Member->FDerivedKey == nullptr && FLookupKey == this);
}

TDataField* TDataField::FindDependentField(TDataField* Field) const {
  if (FAuxTable == nullptr || SingleCriteriaValue(Field)) return nullptr;
  for (int i = FAuxTable->KeyCount(); i < FAuxTable->FieldCount(); ++i) {
    TDataField* group = FAuxTable->GetField(i);
    TDataField* answer = Belongs(group) ? group : nullptr;
    bool contains = group == Field;
    for (TDataField* derived : group->FDerivedFields) {
      if (Belongs(derived)) answer = derived;
      if (derived == Field) contains = true;
    }
    if (contains) return answer;
  }
  return nullptr;
}

void TDataField::AddToList(std::vector<TDataField*>* List, bool) {
  platform::Assert(List != nullptr, "TDataField.AddToList: AList <> nil");
  List->push_back(this);
}

bool TDataField::NeedsRefill(const TCondition* Old, const TCondition* New, double LoadTime) const {
  switch (FRefillType) {
    case rtNever:
      return IsCacheStale(LoadTime);
    case rtAlways:
      return true;
    case rtDependentChange:
      return IsCacheStale(LoadTime) || DependencyChanged(Old, New);
  }
  return true;
}

void TDataField::GetValues(platform::TStrings* Results, TDataTable*, TAbstractRow*,
                           const TCondition* Condition) {
  GetRows(Results, Condition);
}

void TDataField::GetRows(platform::TStrings* Results, const TCondition* Condition) {
  platform::Assert(Results != nullptr, "TDataField.GetRows: Results <> nil");
  if (FAuxTable == nullptr) return;
  TRowStorage* cache = FAuxTable->CacheStorage();
  if (Condition == nullptr) {
    cache->GetRows(Results, FCriteria.get(), gmRows);
  } else if (FLookupKey == this) {
    cache->GetRows(Results, Condition, gmRows);
  } else {
    std::unique_ptr<TCondition> translated =
        Condition->CreateFieldTranslatedCopy(&TDataField::TranslateToAuxField, this);
    if (FCriteria == nullptr) {
      cache->GetRows(Results, translated.get(), gmRows);
    } else if (translated == nullptr) {
      cache->GetRows(Results, FCriteria.get(), gmRows);
    }
  }
}

void TDataField::GetRowsUntranslated(platform::TStrings* Results, const TCondition* Condition) {
  platform::Assert(Results != nullptr, "TDataField.GetRows: Results <> nil");
  if (FAuxTable == nullptr) return;
  if (FCriteria != nullptr) {
    if (Condition == nullptr) FAuxTable->CacheStorage()->GetRows(Results, FCriteria.get(), gmRows);
  } else {
    FAuxTable->CacheStorage()->GetRows(Results, Condition, gmRows);
  }
}

// ---- Non-virtual operations.

void TDataField::SetFieldName(const std::string& Value) {
  UnregisterName();
  const std::string old = FFieldName;
  FFieldName = Value;
  if (old != Value) {
    for (platform::TLangArray* array : {FCaptions.get(), FHeadings.get(), &DisplayNames()}) {
      if (array->DefaultText() == old) array->SetDefaultText(Value);
    }
  }
  if (!Value.empty()) RegisterName();
}

void TDataField::SetDataType(const TDataType* Value) {
  if (Value == FDataType) return;
  FDataType = Value;
  if (Value != nullptr) Value->DefaultValue(FDefaultValue);
}

void TDataField::SetCaptions(const std::vector<std::string>& Texts) {
  SetCaptions(Texts, Texts);
}

void TDataField::SetCaptions(const std::vector<std::string>& CaptionTexts,
                             const std::vector<std::string>& HeadingTexts) {
  FCaptions->SetTexts(CaptionTexts);
  FHeadings->SetTexts(HeadingTexts);
}

void TDataField::SetTextFields(const std::vector<TDataField*>& Fields) {
  std::vector<platform::TObject*> objects(Fields.begin(), Fields.end());
  FTextFields->SetFields(objects);
  FAltTextFields->SetFields(objects);
}

void TDataField::SetParentKey(TDataField* Field) {
  if (Field == FParentKey) return;
  // A key that depended on itself, directly or through others, would make
  // every walk up the chain endless.
  for (const TDataField* f = Field; f != nullptr; f = f->FParentKey) {
    if (f == this) {
      DataError(esFatal, "SetParentKey",
                "TKeyField.SetParentKey: " + FFieldName + " cannot depend on itself!");
    }
  }
  if (FParentKey != nullptr) FParentKey->RemoveDependentChild(this);
  FParentKey = Field;
  if (Field != nullptr) Field->AddDependentChild(this);
}

TDataField* TDataField::CurrentTextField() const {
  if (FTextFields == nullptr || FTextFields->Count() == 0) return nullptr;
  return static_cast<TDataField*>(FTextFields->CurrentField());
}

TDisplayValues TDataField::EffectiveDisplayValues() const {
  if (CurrentTextField() == nullptr) return dvKeyOnly;
  if (FDisplayValues != dvDefault) return FDisplayValues;
  return dynamic_cast<const TStringType*>(FDataType) != nullptr ? dvKeyAndText : dvKeyOnly;
}

bool TDataField::SingleCriteriaValue(const TDataField* Field) const {
  if (FCriteria == nullptr) return false;
  TValue value;
  return FCriteria->HasOnlyValue(Field, value);
}

bool TDataField::IsCacheStale(double Time) const {
  if (FAuxTable == nullptr || Time <= 0) return false;
  // A cache never made holds nothing that could have gone stale.
  const TRowStorage* cache = FAuxTable->CacheStorageIfMade();
  return cache != nullptr && Time < cache->LastChange();
}

TDataField* TDataField::GetLookupField() const {
  if (FHomeTable == nullptr) return nullptr;
  TDataField* key = FHomeTable->OwnKey();
  if (key == nullptr) return nullptr;
  const int count = key->DependentFieldCount();
  for (int i = 0; i < count; ++i) {
    if (key->GetDependentField(i) == this) return key;
  }
  for (TDataField* derived : key->FDerivedFields) {
    const int n = derived->DependentFieldCount();
    for (int i = 0; i < n; ++i) {
      if (derived->GetDependentField(i) == this) return derived;
    }
  }
  DataError(esWarning, "GetLookupField",
            "TDataField.GetLookupField: Uncertain result for field " + FFieldName);
  return key;
}

TDataField* TDataField::LookupChainReaches(const TDataField* Target, TDataField* Start) {
  // A chain that comes back to a field already passed never reaches Target.
  std::vector<const TDataField*> seen;
  while (Start != nullptr && Start != Target) {
    if (std::find(seen.begin(), seen.end(), Start) != seen.end()) return nullptr;
    seen.push_back(Start);
    Start = Start->GetLookupField();
  }
  return Start;
}

TDataField* TDataField::TranslateToAuxField(void* UserData, TDataField* Field, int& ConflictAction,
                                            bool& KeepOriginal) {
  const TDataField* self = static_cast<const TDataField*>(UserData);
  ConflictAction = 3;
  KeepOriginal = false;
  const TDataTable* aux = self->FAuxTable;
  if (aux == nullptr) return Field;
  const int position = aux->IndexOfField(Field);
  if (position >= 0 && position < aux->KeyCount() - 1) return Field;
  if (Field == self) return self->FLookupKey;
  if (Field == self->FLookupKey) return nullptr;
  const int dependents = self->DependentFieldCount();
  for (int i = 0; i < dependents; ++i) {
    TDataField* dependent = self->GetDependentField(i);
    if (dependent == Field) {
      return aux->TableHasField(Field->FLookupKey) ? Field->FLookupKey : Field;
    }
  }
  if (position < aux->KeyCount()) return Field;
  for (int i = 0; i < dependents; ++i) {
    TDataField* dependent = self->GetDependentField(i);
    if (dependent->FLookupKey == Field && dependent != Field) return nullptr;
  }
  return Field;
}

// ---- Properties.

void TDataField::SetOrigin(TDataField* Value) {
  if (Value == nullptr) Value = this;
  if (Value == FOrigin) return;
  if (FOrigin != this) {
    auto& list = FOrigin->FDerivedFields;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  FOrigin = Value;
  if (Value != this) Value->FDerivedFields.push_back(this);
}

void TDataField::SetCriteria(std::unique_ptr<TCommonQuilt> Value) {
  FCriteria = std::move(Value);
}

}  // namespace dataframework
