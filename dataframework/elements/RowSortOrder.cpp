#include "dataframework/elements/RowSortOrder.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

TRowSortOrderRule::TRowSortOrderRule(TRowSortOrder& Order, TDataField* Field, TSortOrder Direction)
    : FOrder(Order), FField(Field), FDirection(Direction) {}
void TRowSortOrderRule::Bind(TDataTable*) { CLAVIRA_UNBUILT(); }
void TRowSortOrderRule::GetValue(TAbstractRow&, TValue&) const { CLAVIRA_UNBUILT(); }

TRowSortOrder::TRowSortOrder() = default;
TRowSortOrder::~TRowSortOrder() = default;
std::unique_ptr<TRowSortOrder> TRowSortOrder::CreateCopy(const TRowSortOrder&) { CLAVIRA_UNBUILT(); }
void TRowSortOrder::Add(TDataField*, TSortOrder) { CLAVIRA_UNBUILT(); }
TRowSortOrderRule& TRowSortOrder::Rule(int) const { CLAVIRA_UNBUILT(); }
void TRowSortOrder::SetTable(TDataTable*) { CLAVIRA_UNBUILT(); }
void TRowSortOrder::Sort(TDataTable*, platform::TStrings&) { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
