#include "dataframework/conditions/Condition.h"

#include <istream>
#include <ostream>

#include "dataframework/Unbuilt.h"

namespace dataframework {

TConditionClass::TConditionClass(std::string Name, const platform::TClass* Parent,
                                 std::string UnitName, TCreateFromStream Create)
    : platform::TClass(std::move(Name), Parent, std::move(UnitName)), FCreate(Create) {}

TCondition::TCondition(TCondition* Owner) : FOwner(Owner) {}
TCondition::~TCondition() = default;

std::unique_ptr<TCondition> TConditionClass::CreateFromStream(std::istream& Stream) const { CLAVIRA_UNBUILT(); }
void TCondition::Changed() { CLAVIRA_UNBUILT(); }
void TCondition::WriteLineBreak(std::ostream& Stream, int Indent) { CLAVIRA_UNBUILT(); }
void TCondition::WriteFooter(std::ostream& Stream) { CLAVIRA_UNBUILT(); }
bool TCondition::ReadUpTo(std::istream& Stream, char Delimiter, std::string& Text, char StopChar) { CLAVIRA_UNBUILT(); }
bool TCondition::ReadHeader(std::istream& Stream, const TConditionClass*& ConditionClass) { CLAVIRA_UNBUILT(); }
bool TCondition::ReadFooter(std::istream& Stream) { CLAVIRA_UNBUILT(); }
void TCondition::GetRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const { CLAVIRA_UNBUILT(); }
bool TCondition::HasRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TCondition::CreateFromStream(std::istream& Stream) const { CLAVIRA_UNBUILT(); }
bool TCondition::IsNice() const { CLAVIRA_UNBUILT(); }
bool TCondition::GetRowsBySingleValue(TGetRowsHandler& Handler, TSubTotalRow* Row) const { CLAVIRA_UNBUILT(); }
bool TCondition::HasRowsBySingleValue(TGetRowsHandler& Handler, TSubTotalRow* Row, bool& Result) const { CLAVIRA_UNBUILT(); }
bool TNiceCondition::IsNice() const { CLAVIRA_UNBUILT(); }
bool TCommonQuilt::UsesField(const TDataField* Field) const { CLAVIRA_UNBUILT(); }
bool TCommonQuilt::UsesTable(const TDataTable* Table) const { CLAVIRA_UNBUILT(); }
void TCommonQuilt::WriteToStream(std::ostream& Stream, int Indent) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCondition> TCommonQuilt::CreateFromStream(std::istream& Stream) const { CLAVIRA_UNBUILT(); }
platform::TMaybeOwned<TCriteria> TCommonQuilt::AsCriteria() const { CLAVIRA_UNBUILT(); }
platform::TMaybeOwned<TCriteria> TCommonQuilt::AsNiceCriteria() const { CLAVIRA_UNBUILT(); }

const platform::TClass& TCondition::StaticClass() { CLAVIRA_UNBUILT(); }
const platform::TClass& TNiceCondition::StaticClass() { CLAVIRA_UNBUILT(); }
const platform::TClass& TCommonQuilt::StaticClass() { CLAVIRA_UNBUILT(); }
void TCondition::EndUpdate() { CLAVIRA_UNBUILT(); }
void TCondition::WriteHeader(std::ostream&) const { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> QuiltUnion(std::unique_ptr<TCommonQuilt>, platform::TMaybeOwned<TCommonQuilt>) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> QuiltSubtract(std::unique_ptr<TCommonQuilt>, platform::TMaybeOwned<TCommonQuilt>) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> QuiltIntersect(std::unique_ptr<TCommonQuilt>, platform::TMaybeOwned<TCommonQuilt>) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> QuiltSimplify(std::unique_ptr<TCommonQuilt>) { CLAVIRA_UNBUILT(); }
std::unique_ptr<TCommonQuilt> QuiltCopyOf(const TCondition&) { CLAVIRA_UNBUILT(); }
void RaiseNotImplemented() { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
