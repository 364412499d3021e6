#include "dataframework/conditions/QuiltField.h"

#include "dataframework/Unbuilt.h"
#include "dataframework/conditions/Quilt.h"
#include "dataframework/elements/DataFieldSet.h"

namespace dataframework {

TQuiltField::TQuiltField(TDataField* Field, TCondition* Owner)
    : TCustomQuilt(Owner), FFieldSet(std::make_unique<TDataFieldSet>()), FValueList(Field) {}
TQuiltField::~TQuiltField() = default;

void TQuiltField::AddInterval(const TQuiltPoint& Start, const TQuiltPoint& End) { CLAVIRA_UNBUILT(); }
void TQuiltField::AddIntervalPoints(const TQuiltPoint& Start, const TQuiltPoint& End) { CLAVIRA_UNBUILT(); }
void TQuiltField::AddPrefixRange(const std::string& Text) { CLAVIRA_UNBUILT(); }
void TQuiltField::SetNone() { CLAVIRA_UNBUILT(); }
void TQuiltField::SetAll() { CLAVIRA_UNBUILT(); }
void TQuiltField::CopyFrom(const TQuiltField& Source) { CLAVIRA_UNBUILT(); }
void TQuiltField::UnionField(const TQuiltField& Other) { CLAVIRA_UNBUILT(); }
void TQuiltField::SubtractField(const TQuiltField& Other) { CLAVIRA_UNBUILT(); }
void TQuiltField::IntersectField(const TQuiltField& Other) { CLAVIRA_UNBUILT(); }
TQuiltField::TSplitFlags TQuiltField::Split(const TQuiltField& Other, TQuiltField* Both, TQuiltField* SelfOnly, TQuiltField* OtherOnly) const { CLAVIRA_UNBUILT(); }
TQuiltField::TSplitFlags TQuiltField::SplitFlags(const TQuiltField& Other) const { CLAVIRA_UNBUILT(); }
TQuiltRelation TQuiltField::FieldRelation(const TQuiltField& Other) const { CLAVIRA_UNBUILT(); }
bool TQuiltField::FieldContains(const TQuiltField& Other, bool& Touch, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
void TQuiltField::Swap(TQuiltField& Other) { CLAVIRA_UNBUILT(); }
bool TQuiltField::IsNice() const { CLAVIRA_UNBUILT(); }
bool TQuiltField::AcceptsRow(TAbstractRow* Row, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
bool TQuiltField::AcceptsRowLenient(TAbstractRow* Row, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
bool TQuiltField::AcceptsValue(const TDataField* Field, const TValue& Value) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TQuiltField::Clone() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TQuiltField::CreateFieldTranslatedCopy(TFieldTranslator Translate, void* UserData) const { CLAVIRA_UNBUILT(); }
bool TQuiltField::AcceptsAllOfTable(const TDataTable* Table) const { CLAVIRA_UNBUILT(); }
bool TQuiltField::AcceptsNoneOfTable(const TDataTable* Table) const { CLAVIRA_UNBUILT(); }
bool TQuiltField::AcceptsAllOfField(const TDataField* Field) const { CLAVIRA_UNBUILT(); }
bool TQuiltField::AcceptsNoneOfField(const TDataField* Field) const { CLAVIRA_UNBUILT(); }
bool TQuiltField::HasOnlyValue(const TDataField* Field, TValue& Value) const { CLAVIRA_UNBUILT(); }
void TQuiltField::ForEachField(TFieldCallback Callback, void* UserData) const { CLAVIRA_UNBUILT(); }
const TDataFieldSet& TQuiltField::FieldSet() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuiltField::Union(std::unique_ptr<TCommonQuilt> Self, platform::TMaybeOwned<TCommonQuilt> Other) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuiltField::Subtract(std::unique_ptr<TCommonQuilt> Self, platform::TMaybeOwned<TCommonQuilt> Other) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuiltField::Intersect(std::unique_ptr<TCommonQuilt> Self, platform::TMaybeOwned<TCommonQuilt> Other) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuiltField::CloneQuilt() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuiltField::Simplify(std::unique_ptr<TCommonQuilt> Self) { CLAVIRA_UNBUILT(); }
bool TQuiltField::Contains(const TCommonQuilt& Other) const { CLAVIRA_UNBUILT(); }
void TQuiltField::Clear() { CLAVIRA_UNBUILT(); }
void TQuiltField::ProjectOn(const TDataFieldSet* FieldSet) { CLAVIRA_UNBUILT(); }
bool TQuiltField::IsUniverse(const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
bool TQuiltField::IsEmpty(const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
platform::TMaybeOwned<TQuilt> TQuiltField::AsQuilt() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TQuiltField> TQuiltField::Copy() const { CLAVIRA_UNBUILT(); }
TQuiltField::TSplitFlags TQuiltField::SplitCore(const TQuiltField& Other, TQuiltField* Both, TQuiltField* SelfOnly, TQuiltField* OtherOnly) const { CLAVIRA_UNBUILT(); }
void TQuiltField::InternalAddFrom(const TQuiltField& Source, bool Merge, const char* Message) { CLAVIRA_UNBUILT(); }
const platform::TClass& TQuiltField::StaticClass() { CLAVIRA_UNBUILT(); }
std::string PrefixUpperBound(const TDataType&, const std::string&) { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
