#include "dataframework/conditions/Criteria.h"

#include "dataframework/Unbuilt.h"
#include "dataframework/conditions/QuiltPatch.h"

namespace dataframework {

const platform::TClass& TCriteria::StaticClass() {
  static const TConditionClass cls("TCriteria", &TNiceCondition::StaticClass(), "Criteria",
                                   nullptr);
  return cls;
}

TCriteria::TCriteria(TCondition* Owner) : TNiceCondition(Owner), FFields(101, true) {}
TCriteria::~TCriteria() = default;
TCriteriaField* TCriteria::FindCriteriaField(const TDataField*, bool) { CLAVIRA_UNBUILT(); }
TCriteriaField* TCriteria::FindCriteriaField(const TDataField*) const { CLAVIRA_UNBUILT(); }
TCriteriaField& TCriteria::CriteriaFields(TDataField*) { CLAVIRA_UNBUILT(); }
void TCriteria::SetCriteriaField(TDataField*, const TCriteriaField*) { CLAVIRA_UNBUILT(); }
bool TCriteria::Restricts(const TDataField*) const { CLAVIRA_UNBUILT(); }
bool TCriteria::HasNonBlankField(const TDataField*) const { CLAVIRA_UNBUILT(); }
bool TCriteria::DeleteCriteriaField(const TDataField*) { CLAVIRA_UNBUILT(); }
int TCriteria::CriteriaFieldCount() const { CLAVIRA_UNBUILT(); }
void TCriteria::MergeFieldFromTable(TDataTable*, bool, const TCriteriaField*, const TCriteria*) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TQuiltPatch> TCriteria::AsQuiltPatch() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCriteria> TCriteria::ReadFromStream(std::istream&) { CLAVIRA_UNBUILT(); }
void TCriteria::GetRows(TGetRowsHandler&, TSubTotalRow*) const { CLAVIRA_UNBUILT(); }
bool TCriteria::HasRows(TGetRowsHandler&, TSubTotalRow*) const { CLAVIRA_UNBUILT(); }
bool TCriteria::UsesField(const TDataField*) const { CLAVIRA_UNBUILT(); }
bool TCriteria::UsesTable(const TDataTable*) const { CLAVIRA_UNBUILT(); }
void TCriteria::WriteToStream(std::ostream&, int) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TCriteria::CreateFromStream(std::istream&) const { CLAVIRA_UNBUILT(); }
platform::TMaybeOwned<TCriteria> TCriteria::AsCriteria() const { CLAVIRA_UNBUILT(); }
platform::TMaybeOwned<TCriteria> TCriteria::AsNiceCriteria() const { CLAVIRA_UNBUILT(); }
bool TCriteria::IsNice() const { return true; }
bool TCriteria::AcceptsRow(TAbstractRow*, const TDataFieldSet*) const { CLAVIRA_UNBUILT(); }
bool TCriteria::AcceptsRowLenient(TAbstractRow*, const TDataFieldSet*) const { CLAVIRA_UNBUILT(); }
bool TCriteria::AcceptsValue(const TDataField*, const TValue&) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TCriteria::Clone() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TCriteria::CreateFieldTranslatedCopy(TFieldTranslator, void*) const { CLAVIRA_UNBUILT(); }
bool TCriteria::IsEqual(const TCondition&) const { CLAVIRA_UNBUILT(); }
bool TCriteria::AcceptsAllOfTable(const TDataTable*) const { CLAVIRA_UNBUILT(); }
bool TCriteria::AcceptsNoneOfTable(const TDataTable*) const { CLAVIRA_UNBUILT(); }
bool TCriteria::AcceptsAllOfField(const TDataField*) const { CLAVIRA_UNBUILT(); }
bool TCriteria::AcceptsNoneOfField(const TDataField*) const { CLAVIRA_UNBUILT(); }
bool TCriteria::HasOnlyValue(const TDataField*, TValue&) const { CLAVIRA_UNBUILT(); }
void TCriteria::ForEachField(TFieldCallback, void*) const { CLAVIRA_UNBUILT(); }
platform::TMaybeOwned<TCommonQuilt> TCriteria::AsCommonQuilt() const { CLAVIRA_UNBUILT(); }
TCriteriaField* TCriteria::GetCriteriaField(const TDataField*) const { CLAVIRA_UNBUILT(); }
void TCriteria::AddToCriteria(TCriteria&, TDataTable*, bool) const { CLAVIRA_UNBUILT(); }
TCriteriaField& TCriteria::Adopt(std::unique_ptr<TCriteriaField>) { CLAVIRA_UNBUILT(); }
void TCriteria::Forget(TCriteriaField*) noexcept {}

TCriteriaFieldIterator::TCriteriaFieldIterator(const TCriteria*) {}
TCriteriaFieldIterator::~TCriteriaFieldIterator() = default;
TCriteriaField* TCriteriaFieldIterator::CriteriaField() const { CLAVIRA_UNBUILT(); }
TDataField* TCriteriaFieldIterator::Field() const { CLAVIRA_UNBUILT(); }
void TCriteriaFieldIterator::Next() { CLAVIRA_UNBUILT(); }
bool TCriteriaFieldIterator::Eof() const { CLAVIRA_UNBUILT(); }

void RegisterCriteriaClasses() { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
