#include "dataframework/conditions/CriteriaValueList.h"

#include "dataframework/elements/DataField.h"
#include "platform/Assert.h"
#include "platform/Errors.h"
#include "platform/SortedSearch.h"

namespace dataframework {

TCriteriaValueList::TCriteriaValueList(TDataField* Field) : FField(Field) {
  platform::Assert(Field != nullptr, "TCriteriaValueList.Create: Field <> nil");
}

TCriteriaValueList::~TCriteriaValueList() = default;

TCriteriaValueList::TCriteriaValueList(const TCriteriaValueList& Other)
    : platform::TObject(Other), FField(Other.FField) {
  *this = Other;
}

TCriteriaValueList& TCriteriaValueList::operator=(const TCriteriaValueList& Other) {
  if (this == &Other) return *this;
  AssignItems(Other);
  FField = Other.FField;
  return *this;
}

void TCriteriaValueList::AssignItems(const TCriteriaValueList& Other) {
  if (this == &Other) return;
  Clear();
  while (FCapacity < Other.FCount) Grow();
  FItems = Other.FItems;
  FCount = Other.FCount;
}

const TDataType* TCriteriaValueList::DataType() const {
  return FField->DataType();
}

int TCriteriaValueList::CompareValues(const TValue& A, const TValue& B) const {
  return DataType()->Compare(A, B);
}

void TCriteriaValueList::Grow() {
  FCapacity = FCapacity < 16 ? 16 : FCapacity * 2;
  FItems.reserve(static_cast<size_t>(FCapacity));
}

bool TCriteriaValueList::Find(const TValue& Value, int& Index) const {
  return platform::SortedFind(
      FCount, true,
      [&](int I) { return CompareValues(FItems[static_cast<size_t>(I)].StartValue, Value); },
      Index);
}

int TCriteriaValueList::Add(const TValue& Value) {
  int i = 0;
  if (!Find(Value, i)) Insert(i, Value);
  return i;
}

int TCriteriaValueList::AddInterval(const TValue& Start, const TValue& End) {
  const int i = Add(Start);
  FItems[static_cast<size_t>(i)].EndValue = End;
  return i;
}

void TCriteriaValueList::Insert(int Index, const TValue& Value) {
  if (Index < 0 || Index > FCount) throw platform::EListError("SListIndexError");
  if (FCount == FCapacity) Grow();
  FItems.insert(FItems.begin() + Index, TCritValueItem{Value, Value});
  ++FCount;
}

const TValue& TCriteriaValueList::Get(int Index) const {
  if (Index < 0 || Index >= FCount) throw platform::EListError("SListIndexError");
  return FItems[static_cast<size_t>(Index)].StartValue;
}

const TValue& TCriteriaValueList::Get2(int Index) const {
  platform::Assert(Index >= 0 && Index < FCount,
                   "TCriteriaValueList.Get2: (Index >= 0) and (Index < FCount), Index: ", Index);
  return FItems[static_cast<size_t>(Index)].EndValue;
}

void TCriteriaValueList::Put2(int Index, const TValue& Value) {
  platform::Assert(Index >= 0 && Index < FCount,
                   "TCriteriaValueList.Put2: (Index >= 0) and (Index < FCount), Index: ", Index);
  FItems[static_cast<size_t>(Index)].EndValue = Value;
}

void TCriteriaValueList::Delete(int Index) {
  platform::Assert(Index >= 0 && Index < FCount,
                   "TCriteriaValueList.Delete: (Index >= 0) and (Index < FCount), Index: ", Index);
  FItems.erase(FItems.begin() + Index);
  --FCount;
}

bool TCriteriaValueList::Contains(const TValue& Value) const {
  int i = 0;
  if (Find(Value, i)) return true;
  return i >= 1 && CompareValues(Value, FItems[static_cast<size_t>(i - 1)].EndValue) <= 0;
}

void TCriteriaValueList::Clear() {
  std::vector<TCritValueItem>().swap(FItems);
  FCount = 0;
  FCapacity = 0;
}

}  // namespace dataframework
