// TValueList.

#include "dataframework/types/ValueList.h"

#include <utility>

#include "dataframework/types/DataType.h"
#include "platform/SortedSearch.h"

namespace dataframework {

void TValueList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) Error(platform::SListIndexError, Index);
}

void TValueList::SetSorted(bool Value) {
  if (Value == FSorted) return;
  if (Value) {
    if (FDataType == nullptr)
      throw platform::Exception("Cannot sort a list with unspecified datatype!");
    Sort();
  }
  FSorted = Value;
}

int TValueList::PlaceFor(const TValue& Value, int& Found) const {
  Found = -1;
  if (!FSorted) return GetCount();
  int index;
  if (Find(Value, index)) {
    if (FDuplicates == platform::dupIgnore) {
      Found = index;
      return -1;
    }
    if (FDuplicates == platform::dupError) Error(platform::SDuplicateString);
  }
  return index;
}

int TValueList::AddItem(const std::string& Text, const TValue& Value, platform::TObject* Item) {
  const TValue v = ConvertToType(FDataType, Value);
  int found;
  const int index = PlaceFor(v, found);
  if (index < 0) return found;
  InsertItem(index, Text, v, Item);
  return index;
}

int TValueList::Add(const std::string& S) {
  return AddObject(S, nullptr);
}

int TValueList::AddObject(const std::string& S, platform::TObject* AObject) {
  const TValue v = StringValue(S);
  int found;
  const int index = PlaceFor(v, found);
  if (index < 0) return found;
  InsertItem(index, S, v, AObject);
  return index;
}

void TValueList::InsertItem(int Index, const std::string& Text, const TValue& Value,
                            platform::TObject* Item) {
  if (GetCount() == FCapacity) Grow();
  TValueItem entry;
  entry.Text = Text;
  entry.Value = ConvertToType(FDataType, Value);
  entry.Item = Item;
  FItems.insert(FItems.begin() + Index, std::move(entry));
}

void TValueList::Grow() {
  SetCapacity(FCapacity > 15 ? FCapacity * 2 : 16);
}

void TValueList::SetCapacity(int NewCapacity) {
  if (NewCapacity < GetCount()) Error(platform::SListCapacityError, NewCapacity);
  FItems.reserve(static_cast<size_t>(NewCapacity));
  FCapacity = NewCapacity;
}

const TValue& TValueList::GetValue(int Index) const {
  CheckIndex(Index);
  return FItems[Index].Value;
}

void TValueList::PutValue(int Index, const TValue& Value) {
  if (FSorted) Error(platform::SSortedListError);
  CheckIndex(Index);
  FItems[Index].Value = ConvertToType(FDataType, Value);
}

const TValueItem& TValueList::Item(int Index) const {
  CheckIndex(Index);
  return FItems[Index];
}

bool TValueList::Find(const TValue& Value, int& Index) const {
  if (!FSorted)
    throw platform::Exception(ClassName() + ".Find: Shouldn't use Find if list isn't sorted!");
  return platform::SortedFind(
      GetCount(), FDuplicates != platform::dupAccept,
      [&](int I) { return FDataType->Compare(FItems[static_cast<size_t>(I)].Value, Value); },
      Index);
}

int TValueList::IndexOfValue(const TValue& Value) const {
  const TValue v = ConvertToType(FDataType, Value);
  if (FSorted) {
    int index;
    return Find(v, index) ? index : -1;
  }
  const TDataType& type = FDataType != nullptr ? *FDataType : TypeOf(v);
  for (int i = 0; i < GetCount(); ++i)
    if (type.Compare(FItems[i].Value, v) == 0) return i;
  return -1;
}

void TValueList::Sort() {
  if (FSorted || GetCount() <= 1) return;
  if (FDataType == nullptr)
    throw platform::Exception("Cannot sort a list with unspecified datatype!");
  QuickSort(0, GetCount() - 1);
}

void TValueList::QuickSort(int L, int R) {
  // The classic two-index partition around the middle entry. The scans are
  // bounded, so a comparison that is not a strict order (a NaN) cannot run
  // them off the list.
  const auto compare = [this](int a, int b) {
    return FDataType->Compare(FItems[a].Value, FItems[b].Value);
  };
  int i;
  do {
    i = L;
    int j = R;
    int p = L + (R - L) / 2;
    do {
      while (i < R && compare(i, p) < 0) ++i;
      while (j > L && compare(j, p) > 0) --j;
      if (i <= j) {
        if (i != j) std::swap(FItems[i], FItems[j]);
        if (p == i) {
          p = j;
        } else if (p == j) {
          p = i;
        }
        ++i;
        --j;
      }
    } while (i <= j);
    if (L < j) QuickSort(L, j);
    L = i;
  } while (i < R);
}

std::string TValueList::Get(int Index) const {
  CheckIndex(Index);
  return FItems[Index].Text;
}

void TValueList::Put(int Index, const std::string& S) {
  CheckIndex(Index);
  FItems[Index].Text = S;
}

platform::TObject* TValueList::GetObject(int Index) const {
  CheckIndex(Index);
  return FItems[Index].Item;
}

void TValueList::PutObject(int Index, platform::TObject* AObject) {
  CheckIndex(Index);
  FItems[Index].Item = AObject;
}

void TValueList::Insert(int Index, const std::string& S) {
  if (FSorted) Error(platform::SSortedListError);
  if (Index < 0 || Index > GetCount()) Error(platform::SListIndexError, Index);
  InsertItem(Index, S, StringValue(S), nullptr);
}

void TValueList::Delete(int Index) {
  CheckIndex(Index);
  FItems.erase(FItems.begin() + Index);
}

void TValueList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FItems[Index1], FItems[Index2]);
}

void TValueList::Clear() {
  FItems.clear();
  FItems.shrink_to_fit();
  FCapacity = 0;
}

void TValueList::Assign(const platform::TPersistent* Source) {
  if (Source == nullptr) {
    Clear();
    return;
  }
  if (const auto* source = dynamic_cast<const TValueList*>(Source)) {
    if (source == this) return;
    BeginUpdate();
    try {
      Clear();
      for (const TValueItem& entry : source->FItems) AddItem(entry.Text, entry.Value, entry.Item);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TStrings::Assign(Source);
}

}  // namespace dataframework
