#include "dataframework/conditions/QuiltValueList.h"

#include "dataframework/Unbuilt.h"

namespace dataframework {

TQuiltValueList::TQuiltValueList(TDataField* Field) : FField(Field), FDataType(nullptr) {}
TQuiltValueList::~TQuiltValueList() = default;

bool TQuiltValueList::FindPoint(const TQuiltPoint& Point, int& Index) const { CLAVIRA_UNBUILT(); }
int TQuiltValueList::AddStartPoint(const TQuiltPoint& Point) { CLAVIRA_UNBUILT(); }
int TQuiltValueList::AddInterval(const TQuiltPoint& Start, const TQuiltPoint& End) { CLAVIRA_UNBUILT(); }
int TQuiltValueList::AddIntervalRaw(const TQuiltPoint& Start, const TQuiltPoint& End) { CLAVIRA_UNBUILT(); }
void TQuiltValueList::MergeFollowing(int Index) { CLAVIRA_UNBUILT(); }
bool TQuiltValueList::ContainsValue(const TValue& Value) const { CLAVIRA_UNBUILT(); }
const TQuiltPoint& TQuiltValueList::Get(int Index) const { CLAVIRA_UNBUILT(); }
const TQuiltPoint& TQuiltValueList::Get2(int Index) const { CLAVIRA_UNBUILT(); }
void TQuiltValueList::PutStart(int Index, const TQuiltPoint& Point) { CLAVIRA_UNBUILT(); }
void TQuiltValueList::PutEnd(int Index, const TQuiltPoint& Point) { CLAVIRA_UNBUILT(); }
void TQuiltValueList::Delete(int Index) { CLAVIRA_UNBUILT(); }
void TQuiltValueList::Unrestrict() { CLAVIRA_UNBUILT(); }
void TQuiltValueList::ClearItems() { CLAVIRA_UNBUILT(); }
void TQuiltValueList::SetNone() { CLAVIRA_UNBUILT(); }
void TQuiltValueList::SwapContents(TQuiltValueList& Other) noexcept { CLAVIRA_UNBUILT(); }
void TQuiltValueList::AppendUnchecked(const TQuiltPoint& Start, const TQuiltPoint& End) { CLAVIRA_UNBUILT(); }
void TQuiltValueList::ValidateInterval(const TQuiltPoint& Start, const TQuiltPoint& End) const { CLAVIRA_UNBUILT(); }

const TQuiltValueItem& TQuiltValueList::Item(int) const { CLAVIRA_UNBUILT(); }
void TQuiltValueList::Signal() const { CLAVIRA_UNBUILT(); }
TQuiltPoint TQuiltValueList::ConvertPoint(const TQuiltPoint&) const { CLAVIRA_UNBUILT(); }

}  // namespace dataframework
