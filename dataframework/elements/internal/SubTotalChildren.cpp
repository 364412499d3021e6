#include "dataframework/elements/internal/SubTotalChildren.h"

#include <algorithm>
#include <cstring>

#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/Assert.h"
#include "platform/SortedSearch.h"

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
  if (FIntegerKeys) {
    Key.Set<int32_t>(FIntegers[Index]);
  } else if (FTextKeys) {
    std::memset(Key.Data, 0, sizeof(Key.Data));
  } else {
    std::memcpy(Key.Data, FData[Index].data(), sizeof(Key.Data));
  }
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
  if (FIntegerKeys) {
    // The common case of number keys: a plain search over the key array.
    const int32_t wanted = v.Get<int32_t>();
    const auto at = std::lower_bound(FIntegers.begin(), FIntegers.end(), wanted);
    Index = static_cast<int>(at - FIntegers.begin());
    return at != FIntegers.end() && *at == wanted;
  }
  return platform::SortedFind(
      Count(), true, [&](int I) { return CompareAt(I, v); }, Index);
}

int TSubTotalChildren::IndexOfRow(const TAbstractRow* Row) const {
  if (Row == nullptr) return -1;
  const auto at = std::find(FRows.begin(), FRows.end(), Row);
  return at == FRows.end() ? -1 : static_cast<int>(at - FRows.begin());
}

void TSubTotalChildren::Insert(int Index, const TValue& Key, TAbstractRow* Row) {
  platform::Assert(Index >= 0 && Index <= Count(),
                   "TSubTotalChildren.Insert: (idx >= 0) and (idx <= Count), idx: ", Index);
  TValue v;
  if (!Convert(Key, v)) FDataType->ConvertValue(Key, v);  // raises the conversion error
  if (FIntegerKeys) {
    FIntegers.insert(FIntegers.begin() + Index, v.Get<int32_t>());
  } else if (FTextKeys) {
    FTexts.insert(FTexts.begin() + Index, v.Text);
  } else {
    TKeyData data;
    std::memcpy(data.data(), v.Data, data.size());
    FData.insert(FData.begin() + Index, data);
  }
  FRows.insert(FRows.begin() + Index, Row);
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
  FRows.erase(FRows.begin() + Index);
  if (FIntegerKeys) {
    FIntegers.erase(FIntegers.begin() + Index);
  } else if (FTextKeys) {
    FTexts.erase(FTexts.begin() + Index);
  } else {
    FData.erase(FData.begin() + Index);
  }
}

int TSubTotalChildren::DeleteEmpty() {
  size_t kept = 0;
  for (size_t i = 0; i < FRows.size(); ++i) {
    if (FRows[i] == nullptr) continue;
    if (kept != i) {
      FRows[kept] = FRows[i];
      if (FIntegerKeys) {
        FIntegers[kept] = FIntegers[i];
      } else if (FTextKeys) {
        FTexts[kept] = std::move(FTexts[i]);
      } else {
        FData[kept] = FData[i];
      }
    }
    ++kept;
  }
  const int dropped = static_cast<int>(FRows.size() - kept);
  FRows.resize(kept);
  if (FIntegerKeys) FIntegers.resize(kept);
  if (FTextKeys) FTexts.resize(kept);
  if (!FIntegerKeys && !FTextKeys) FData.resize(kept);
  return dropped;
}

void TSubTotalChildren::Clear() noexcept {
  FRows.clear();
  FIntegers.clear();
  FData.clear();
  FTexts.clear();
}

void TSubTotalChildren::CopyKeysTo(std::vector<TValue>& Keys) const {
  Keys.resize(FRows.size());
  for (int i = 0; i < Count(); ++i) GetKey(i, Keys[i]);
}

}  // namespace dataframework
