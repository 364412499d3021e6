#include "dataframework/elements/SubTotalChildren.h"

#include <algorithm>
#include <cstring>

#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/Assert.h"

namespace dataframework {

TSubTotalChildren::TSubTotalChildren(const TDataType* DataType)
    : FDataType(DataType),
      FTextKeys(dynamic_cast<const TStringType*>(DataType) != nullptr),
      FIntegerKeys(DataType == static_cast<const TDataType*>(IntegerType())) {
  platform::Assert(DataType != nullptr, "TSubTotalChildren.Create: DataType <> nil");
}

TSubTotalChildren::~TSubTotalChildren() = default;

void TSubTotalChildren::GetKey(int Index, TValue& Key) const {
  Key.DataType = FDataType;
  std::memcpy(Key.Data, FItems[Index].Data, sizeof(Key.Data));
  if (FTextKeys) {
    Key.Text = FTexts[Index];
  } else {
    Key.Text.clear();
  }
}

TValue TSubTotalChildren::Key(int Index) const {
  platform::Assert(Index >= 0 && Index < Count(),
                   "TSubTotalRow.ChildKey: (idx >= 0) and (idx < Children.Count), idx: ", Index);
  TValue key;
  GetKey(Index, key);
  return key;
}

bool TSubTotalChildren::Convert(const TValue& Key, TValue& Converted) const {
  if (Key.DataType == FDataType) {
    Converted = Key;
    return true;
  }
  // A key text that is no value of the level's kind (a letter for a number
  // key) names no child.
  try {
    FDataType->ConvertValue(Key, Converted);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

int TSubTotalChildren::CompareAt(int Index, const TValue& V) const {
  if (FIntegerKeys) {
    int32_t a;
    std::memcpy(&a, FItems[Index].Data, sizeof(a));
    const int32_t b = V.Get<int32_t>();
    return a < b ? -1 : (a > b ? 1 : 0);
  }
  TValue key;
  GetKey(Index, key);
  return FDataType->Compare(key, V);
}

bool TSubTotalChildren::Find(const TValue& Key, int& Index) const {
  TValue v;
  if (!Convert(Key, v)) {
    Index = 0;
    return false;
  }
  int lo = 0;
  int hi = Count() - 1;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    const int c = CompareAt(mid, v);
    if (c < 0) {
      lo = mid + 1;
    } else if (c > 0) {
      hi = mid - 1;
    } else {
      Index = mid;
      return true;
    }
  }
  Index = lo;
  return false;
}

int TSubTotalChildren::IndexOfRow(const TAbstractRow* Row) const {
  if (Row == nullptr) return -1;
  for (int i = 0; i < Count(); ++i)
    if (FItems[i].Row == Row) return i;
  return -1;
}

void TSubTotalChildren::Insert(int Index, const TValue& Key, TAbstractRow* Row) {
  platform::Assert(Index >= 0 && Index <= Count(),
                   "TSubTotalChildren.Insert: (idx >= 0) and (idx <= Count), idx: ", Index);
  TValue v;
  if (!Convert(Key, v)) FDataType->ConvertValue(Key, v);  // raises the conversion error
  TEntry entry{};
  entry.Row = Row;
  if (FTextKeys) {
    FTexts.insert(FTexts.begin() + Index, v.Text);
  } else {
    std::memcpy(entry.Data, v.Data, sizeof(entry.Data));
  }
  FItems.insert(FItems.begin() + Index, entry);
}

int TSubTotalChildren::Add(const TValue& Key, TAbstractRow* Row) {
  int index;
  if (Find(Key, index))
    platform::AssertionFailed("TSubTotalRow.AddChild: the key is taken, idx: ", index);
  Insert(index, Key, Row);
  return index;
}

void TSubTotalChildren::Delete(int Index) {
  platform::Assert(Index >= 0 && Index < Count(),
                   "TSubTotalChildren.Delete: (idx >= 0) and (idx < Count), idx: ", Index);
  FItems.erase(FItems.begin() + Index);
  if (FTextKeys) FTexts.erase(FTexts.begin() + Index);
}

int TSubTotalChildren::DeleteEmpty() {
  size_t kept = 0;
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (FItems[i].Row == nullptr) continue;
    if (kept != i) {
      FItems[kept] = FItems[i];
      if (FTextKeys) FTexts[kept] = std::move(FTexts[i]);
    }
    ++kept;
  }
  const int dropped = static_cast<int>(FItems.size() - kept);
  FItems.resize(kept);
  if (FTextKeys) FTexts.resize(kept);
  return dropped;
}

void TSubTotalChildren::Clear() noexcept {
  FItems.clear();
  FTexts.clear();
}

void TSubTotalChildren::CopyKeysTo(std::vector<TValue>& Keys) const {
  Keys.resize(FItems.size());
  for (int i = 0; i < Count(); ++i) GetKey(i, Keys[i]);
}

}  // namespace dataframework
