#include "dataframework/conditions/QuiltPatch.h"

#include "dataframework/Unbuilt.h"
#include "dataframework/conditions/Quilt.h"
#include "dataframework/elements/DataFieldSet.h"

namespace dataframework {

TQuiltFieldList::TQuiltFieldList() = default;
TQuiltFieldList::~TQuiltFieldList() = default;

TQuiltPatch::TQuiltPatch(TCondition* Owner) : TCustomQuilt(Owner) {}
TQuiltPatch::~TQuiltPatch() = default;

void TQuiltFieldList::AddValue(std::unique_ptr<TQuiltField> QuiltField) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TQuiltField> TQuiltFieldList::Extract(const TDataField* Field) { CLAVIRA_UNBUILT(); }
bool TQuiltFieldList::Delete(const TDataField* Field) { CLAVIRA_UNBUILT(); }
void TQuiltFieldList::ClearAndFreeValues() { CLAVIRA_UNBUILT(); }
void TQuiltFieldList::SwapContents(TQuiltFieldList& Other) noexcept { CLAVIRA_UNBUILT(); }
const TDataFieldSet& TQuiltFieldList::FieldSet() const { CLAVIRA_UNBUILT(); }
void TQuiltPatch::SetField(TDataField* Field, const TQuiltField& Source) { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::DeleteField(const TDataField* Field) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TQuiltField> TQuiltPatch::ExtractField(const TDataField* Field) { CLAVIRA_UNBUILT(); }
void TQuiltPatch::IntersectWithField(const TQuiltField& QuiltField) { CLAVIRA_UNBUILT(); }
void TQuiltPatch::IntersectWithPatch(const TQuiltPatch& Patch) { CLAVIRA_UNBUILT(); }
void TQuiltPatch::AssignPatch(const TQuiltPatch& Patch) { CLAVIRA_UNBUILT(); }
void TQuiltPatch::Assign(const platform::TPersistent* Source) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TQuiltPatch> TQuiltPatch::Copy() const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::SubtractPatch(const TQuiltPatch& Other, std::vector<std::unique_ptr<TQuiltPatch>>& Pieces, std::unique_ptr<TQuiltPatch>& Remainder) const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::ContainsPatch(const TQuiltPatch& Other, bool& Touch, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TQuiltPatch> TQuiltPatch::CreateFieldTranslatedPatchCopy(TFieldTranslator Translate, void* UserData) const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::AllFieldsEmpty() const { CLAVIRA_UNBUILT(); }
void TQuiltPatch::GetRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::IsNice() const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::AcceptsRow(TAbstractRow* Row, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::AcceptsRowLenient(TAbstractRow* Row, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::AcceptsValue(const TDataField* Field, const TValue& Value) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TQuiltPatch::Clone() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TQuiltPatch::CreateFieldTranslatedCopy(TFieldTranslator Translate, void* UserData) const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::AcceptsAllOfTable(const TDataTable* Table) const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::AcceptsNoneOfTable(const TDataTable* Table) const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::AcceptsAllOfField(const TDataField* Field) const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::AcceptsNoneOfField(const TDataField* Field) const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::HasOnlyValue(const TDataField* Field, TValue& Value) const { CLAVIRA_UNBUILT(); }
void TQuiltPatch::ForEachField(TFieldCallback Callback, void* UserData) const { CLAVIRA_UNBUILT(); }
const TDataFieldSet& TQuiltPatch::FieldSet() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuiltPatch::Union(std::unique_ptr<TCommonQuilt> Self, platform::TMaybeOwned<TCommonQuilt> Other) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuiltPatch::Subtract(std::unique_ptr<TCommonQuilt> Self, platform::TMaybeOwned<TCommonQuilt> Other) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuiltPatch::Intersect(std::unique_ptr<TCommonQuilt> Self, platform::TMaybeOwned<TCommonQuilt> Other) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuiltPatch::CloneQuilt() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuiltPatch::Simplify(std::unique_ptr<TCommonQuilt> Self) { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::Contains(const TCommonQuilt& Other) const { CLAVIRA_UNBUILT(); }
void TQuiltPatch::Clear() { CLAVIRA_UNBUILT(); }
void TQuiltPatch::ProjectOn(const TDataFieldSet* FieldSet) { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::IsUniverse(const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
bool TQuiltPatch::IsEmpty(const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
platform::TMaybeOwned<TQuilt> TQuiltPatch::AsQuilt() const { CLAVIRA_UNBUILT(); }
const platform::TClass& TQuiltPatch::StaticClass() { CLAVIRA_UNBUILT(); }

TQuiltField* TQuiltFieldList::Find(const TDataField*) const noexcept { return nullptr; }
void TQuiltFieldList::Changed() { CLAVIRA_UNBUILT(); }
TQuiltField* TQuiltPatch::FieldFor(TDataField*, bool) { CLAVIRA_UNBUILT(); }
void TQuiltPatch::InternalAddQuiltField(std::unique_ptr<TQuiltField>) { CLAVIRA_UNBUILT(); }
void TQuiltPatch::SwapFields(TQuiltPatch&) { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
