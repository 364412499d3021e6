#include "dataframework/conditions/CriteriaField.h"

#include "dataframework/Unbuilt.h"
#include "dataframework/conditions/Criteria.h"
#include "dataframework/conditions/QuiltField.h"

namespace dataframework {

const platform::TClass& TCriteriaField::StaticClass() {
  static const TConditionClass cls("TCriteriaField", &TNiceCondition::StaticClass(), "Criteria",
                                   nullptr);
  return cls;
}

TCriteriaField::TCriteriaField(TDataField* Field) : TNiceCondition(nullptr), FValues(Field) {}
TCriteriaField::TCriteriaField(TCondition* Owner, TDataField* Field)
    : TNiceCondition(Owner), FValues(Field) {}
TCriteriaField::~TCriteriaField() = default;

std::unique_ptr<TCriteriaField> TCriteriaField::CreateCopy(const TCriteriaField*) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCriteriaField> TCriteriaField::CreateCopyOwned(TCondition*, const TCriteriaField*) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCriteriaField> TCriteriaField::CreateIntersection(TDataField*, const TNiceCondition*, const TNiceCondition*) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCriteriaField> TCriteriaField::CreateDerived(TDataField*, const TCriteria*, const TCriteriaField*) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCriteriaField> TCriteriaField::CreateForTableField(TDataField*, bool, const TNiceCondition*) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCriteriaField> TCriteriaField::CreateRetargeted(TDataField*) const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::HasExactlyOneValue() const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::GetIsInterval(int) const { CLAVIRA_UNBUILT(); }
const TValue& TCriteriaField::GetStartValue(int) const { CLAVIRA_UNBUILT(); }
const TValue& TCriteriaField::GetEndValue(int) const { CLAVIRA_UNBUILT(); }
const TValue& TCriteriaField::GetSingleValue(int) const { CLAVIRA_UNBUILT(); }
const TValue& TCriteriaField::OnlyValue() const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::Accepts(const TValue&) const { CLAVIRA_UNBUILT(); }
std::string TCriteriaField::AsText() const { CLAVIRA_UNBUILT(); }
TCriteria* TCriteriaField::OwnerCriteria() const { CLAVIRA_UNBUILT(); }
void TCriteriaField::Clear() { CLAVIRA_UNBUILT(); }
void TCriteriaField::SetAll() { CLAVIRA_UNBUILT(); }
void TCriteriaField::SetNone() { CLAVIRA_UNBUILT(); }
void TCriteriaField::AddValue(const TValue&) { CLAVIRA_UNBUILT(); }
void TCriteriaField::AddValueText(const std::string&) { CLAVIRA_UNBUILT(); }
void TCriteriaField::AddInterval(const TValue&, const TValue&) { CLAVIRA_UNBUILT(); }
void TCriteriaField::CopyFrom(const TCriteriaField*) { CLAVIRA_UNBUILT(); }
void TCriteriaField::IntersectWith(const TNiceCondition*) { CLAVIRA_UNBUILT(); }
void TCriteriaField::UnionAddFrom(const TNiceCondition*) { CLAVIRA_UNBUILT(); }
void TCriteriaField::MergeFrom(bool, const TCriteria*, const TCriteriaField*) { CLAVIRA_UNBUILT(); }
void TCriteriaField::SetAsText(const std::string&) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TQuiltField> TCriteriaField::AsQuiltField() const { CLAVIRA_UNBUILT(); }
void TCriteriaField::GetRows(TGetRowsHandler&, TSubTotalRow*) const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::HasRows(TGetRowsHandler&, TSubTotalRow*) const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::UsesField(const TDataField*) const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::UsesTable(const TDataTable*) const { CLAVIRA_UNBUILT(); }
void TCriteriaField::WriteToStream(std::ostream&, int) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TCriteriaField::CreateFromStream(std::istream&) const { CLAVIRA_UNBUILT(); }
platform::TMaybeOwned<TCriteria> TCriteriaField::AsCriteria() const { CLAVIRA_UNBUILT(); }
platform::TMaybeOwned<TCriteria> TCriteriaField::AsNiceCriteria() const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::IsNice() const { return true; }
bool TCriteriaField::AcceptsRow(TAbstractRow*, const TDataFieldSet*) const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::AcceptsRowLenient(TAbstractRow*, const TDataFieldSet*) const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::AcceptsValue(const TDataField*, const TValue&) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TCriteriaField::Clone() const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TCriteriaField::CreateFieldTranslatedCopy(TFieldTranslator, void*) const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::IsEqual(const TCondition&) const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::AcceptsAllOfTable(const TDataTable*) const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::AcceptsNoneOfTable(const TDataTable*) const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::AcceptsAllOfField(const TDataField*) const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::AcceptsNoneOfField(const TDataField*) const { CLAVIRA_UNBUILT(); }
bool TCriteriaField::HasOnlyValue(const TDataField*, TValue&) const { CLAVIRA_UNBUILT(); }
void TCriteriaField::ForEachField(TFieldCallback, void*) const { CLAVIRA_UNBUILT(); }
platform::TMaybeOwned<TCommonQuilt> TCriteriaField::AsCommonQuilt() const { CLAVIRA_UNBUILT(); }
TCriteriaField* TCriteriaField::GetCriteriaField(const TDataField*) const { CLAVIRA_UNBUILT(); }
void TCriteriaField::AddToCriteria(TCriteria&, TDataTable*, bool) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCriteriaField> TCriteriaField::ReadFromStream(std::istream&) { CLAVIRA_UNBUILT(); }
bool TCriteriaField::MergeFollowing(int) { CLAVIRA_UNBUILT(); }
void TCriteriaField::AssignItems(const TCriteriaField&) { CLAVIRA_UNBUILT(); }
void TCriteriaField::CheckIndex(int, const char*) const { CLAVIRA_UNBUILT(); }
void TCriteriaField::CheckSameField(const TCriteriaField*, const TDataField*) { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
