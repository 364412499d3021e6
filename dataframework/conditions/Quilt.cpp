#include "dataframework/conditions/Quilt.h"

#include "dataframework/Unbuilt.h"
#include "dataframework/elements/DataFieldSet.h"

namespace dataframework {

TQuiltPatchList::TQuiltPatchList() = default;
TQuiltPatchList::~TQuiltPatchList() = default;

TQuilt::TQuilt(TCondition* Owner) : TCustomQuilt(Owner) {}
TQuilt::~TQuilt() = default;

void TQuiltPatchList::Add(std::unique_ptr<TQuiltPatch> Patch) { CLAVIRA_UNBUILT(); }
void TQuiltPatchList::Delete(int Index) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TQuiltPatch> TQuiltPatchList::Extract(const TQuiltPatch* Patch) { CLAVIRA_UNBUILT(); }
void TQuiltPatchList::Clear() { CLAVIRA_UNBUILT(); }
const TDataFieldSet& TQuiltPatchList::FieldSet() const { CLAVIRA_UNBUILT(); }
void TQuiltPatchList::Changed() { CLAVIRA_UNBUILT(); }
void TQuilt::AddPatch(std::unique_ptr<TQuiltPatch> Patch) { CLAVIRA_UNBUILT(); }
void TQuilt::AppendPatch(std::unique_ptr<TQuiltPatch> Patch) { CLAVIRA_UNBUILT(); }
bool TQuilt::MergePatch(const TQuiltPatch& Patch) { CLAVIRA_UNBUILT(); }
bool TQuilt::ContainsPatchInQuilt(const TQuiltPatch& Patch, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
bool TQuilt::ContainsAllPatches(const TQuilt& Other, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
void TQuilt::AddPatchesOf(const TQuilt& Other, bool Normalize) { CLAVIRA_UNBUILT(); }
void TQuilt::UnionWithQuilt(const TQuilt& Other) { CLAVIRA_UNBUILT(); }
void TQuilt::AssignQuilt(const TQuilt& Other) { CLAVIRA_UNBUILT(); }
void TQuilt::Assign(const platform::TPersistent* Source) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TQuilt> TQuilt::Copy() const { CLAVIRA_UNBUILT(); }
void TQuilt::UnionWith(const TCondition& Condition) { CLAVIRA_UNBUILT(); }
void TQuilt::SubtractCondition(const TCondition& Condition) { CLAVIRA_UNBUILT(); }
void TQuilt::IntersectWith(const TCondition& Condition) { CLAVIRA_UNBUILT(); }
void TQuilt::SubtractPatch(const TQuiltPatch& Patch, bool& Changed) { CLAVIRA_UNBUILT(); }
void TQuilt::SubtractQuilt(const TQuilt& Other, bool& Changed) { CLAVIRA_UNBUILT(); }
void TQuilt::IntersectWithPatch(const TQuiltPatch& Patch) { CLAVIRA_UNBUILT(); }
void TQuilt::IntersectWithQuilt(const TQuilt& Other) { CLAVIRA_UNBUILT(); }
void TQuilt::SwapPatches(TQuilt& Other) { CLAVIRA_UNBUILT(); }
bool TQuilt::QuiltContains(const TQuilt& Other, bool& Touch, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
TQuiltRelation TQuilt::QuiltRelation(const TQuilt& Other, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
bool TQuilt::IsNice() const { CLAVIRA_UNBUILT(); }
bool TQuilt::AcceptsRow(TAbstractRow* Row, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
bool TQuilt::AcceptsRowLenient(TAbstractRow* Row, const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
bool TQuilt::AcceptsValue(const TDataField* Field, const TValue& Value) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TQuilt::Clone() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TQuilt::CreateFieldTranslatedCopy(TFieldTranslator Translate, void* UserData) const { CLAVIRA_UNBUILT(); }
bool TQuilt::AcceptsAllOfTable(const TDataTable* Table) const { CLAVIRA_UNBUILT(); }
bool TQuilt::AcceptsNoneOfTable(const TDataTable* Table) const { CLAVIRA_UNBUILT(); }
bool TQuilt::AcceptsAllOfField(const TDataField* Field) const { CLAVIRA_UNBUILT(); }
bool TQuilt::AcceptsNoneOfField(const TDataField* Field) const { CLAVIRA_UNBUILT(); }
bool TQuilt::HasOnlyValue(const TDataField* Field, TValue& Value) const { CLAVIRA_UNBUILT(); }
void TQuilt::ForEachField(TFieldCallback Callback, void* UserData) const { CLAVIRA_UNBUILT(); }
const TDataFieldSet& TQuilt::FieldSet() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuilt::Union(std::unique_ptr<TCommonQuilt> Self, platform::TMaybeOwned<TCommonQuilt> Other) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuilt::Subtract(std::unique_ptr<TCommonQuilt> Self, platform::TMaybeOwned<TCommonQuilt> Other) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuilt::Intersect(std::unique_ptr<TCommonQuilt> Self, platform::TMaybeOwned<TCommonQuilt> Other) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuilt::CloneQuilt() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> TQuilt::Simplify(std::unique_ptr<TCommonQuilt> Self) { CLAVIRA_UNBUILT(); }
bool TQuilt::Contains(const TCommonQuilt& Other) const { CLAVIRA_UNBUILT(); }
void TQuilt::Clear() { CLAVIRA_UNBUILT(); }
void TQuilt::ProjectOn(const TDataFieldSet* FieldSet) { CLAVIRA_UNBUILT(); }
bool TQuilt::IsUniverse(const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
bool TQuilt::IsEmpty(const TDataFieldSet* FieldSet) const { CLAVIRA_UNBUILT(); }
platform::TMaybeOwned<TQuilt> TQuilt::AsQuilt() const { CLAVIRA_UNBUILT(); }
const platform::TClass& TQuilt::StaticClass() { CLAVIRA_UNBUILT(); }

std::unique_ptr<TQuiltPatch> TQuilt::ExtractPatch(TQuiltPatch*) { CLAVIRA_UNBUILT(); }
int TQuiltPatchList::IndexOf(const TQuiltPatch*) const noexcept { return -1; }
void TQuiltPatchList::SwapContents(TQuiltPatchList&) noexcept {}

}  // namespace dataframework
