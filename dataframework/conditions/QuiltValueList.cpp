#include "dataframework/conditions/QuiltValueList.h"

#include <algorithm>
#include <iterator>

#include "dataframework/elements/DataField.h"
#include "platform/Assert.h"
#include "platform/DataError.h"
#include "platform/Errors.h"

namespace dataframework {

namespace {

// The texts of the list index checks.
constexpr const char* kIndexError = "SListIndexError";

}  // namespace

// ---- TQuiltItemStore.

size_t TQuiltItemStore::Locate(int Index, size_t& Offset) const {
  size_t block = FCursor;
  if (block >= FBlocks.size() || Index < FStarts[block] ||
      Index >= FStarts[block] + static_cast<int>(FBlocks[block].size())) {
    // The last block whose start is not beyond Index.
    block = static_cast<size_t>(std::upper_bound(FStarts.begin(), FStarts.end(), Index) -
                                FStarts.begin()) -
            1;
    FCursor = block;
  }
  Offset = static_cast<size_t>(Index - FStarts[block]);
  return block;
}

void TQuiltItemStore::RebuildStarts(size_t From) {
  FStarts.resize(FBlocks.size());
  int start = From == 0 ? 0 : FStarts[From - 1] + static_cast<int>(FBlocks[From - 1].size());
  for (size_t b = From; b < FBlocks.size(); ++b) {
    FStarts[b] = start;
    start += static_cast<int>(FBlocks[b].size());
  }
}

void TQuiltItemStore::Insert(int Index, TQuiltValueItem Item) {
  if (Index == FCount) {
    PushBack(std::move(Item));
    return;
  }
  size_t offset = 0;
  size_t block = Locate(Index, offset);
  TBlock& target = FBlocks[block];
  target.insert(target.begin() + static_cast<std::ptrdiff_t>(offset), std::move(Item));
  ++FCount;
  if (target.size() >= kSplitAt) {
    TBlock upper(std::make_move_iterator(target.begin() + kSplitAt / 2),
                 std::make_move_iterator(target.end()));
    target.resize(kSplitAt / 2);
    FBlocks.insert(FBlocks.begin() + static_cast<std::ptrdiff_t>(block + 1), std::move(upper));
  }
  RebuildStarts(block + 1);
}

void TQuiltItemStore::PushBack(TQuiltValueItem Item) {
  if (FBlocks.empty() || FBlocks.back().size() >= kSplitAt / 2) {
    FBlocks.emplace_back();
    FBlocks.back().reserve(FBlocks.size() == 1 ? 1 : kSplitAt / 2);
    FStarts.push_back(FCount);
  }
  FBlocks.back().push_back(std::move(Item));
  ++FCount;
}

void TQuiltItemStore::Erase(int First, int Last) {
  if (First >= Last) return;
  size_t offset = 0;
  const size_t firstBlock = Locate(First, offset);
  int remaining = Last - First;
  size_t block = firstBlock;
  while (remaining > 0) {
    TBlock& b = FBlocks[block];
    const size_t take = std::min(static_cast<size_t>(remaining), b.size() - offset);
    b.erase(b.begin() + static_cast<std::ptrdiff_t>(offset),
            b.begin() + static_cast<std::ptrdiff_t>(offset + take));
    remaining -= static_cast<int>(take);
    offset = 0;
    ++block;
  }
  FCount -= Last - First;
  // Drop the blocks left empty.
  auto firstEmpty = std::remove_if(FBlocks.begin() + static_cast<std::ptrdiff_t>(firstBlock),
                                   FBlocks.begin() + static_cast<std::ptrdiff_t>(block),
                                   [](const TBlock& b) { return b.empty(); });
  FBlocks.erase(firstEmpty, FBlocks.begin() + static_cast<std::ptrdiff_t>(block));
  RebuildStarts(firstBlock);
  FCursor = 0;
}

void TQuiltItemStore::Clear() noexcept {
  FBlocks.clear();
  FStarts.clear();
  FCount = 0;
  FCursor = 0;
}

void TQuiltItemStore::Swap(TQuiltItemStore& Other) noexcept {
  FBlocks.swap(Other.FBlocks);
  FStarts.swap(Other.FStarts);
  std::swap(FCount, Other.FCount);
  FCursor = 0;
  Other.FCursor = 0;
}

// ---- TQuiltValueList.

TQuiltValueList::TQuiltValueList(TDataField* Field) : FField(Field), FDataType(nullptr) {
  platform::Assert(Field != nullptr, "TQuiltValueList.Create: DataField should not be nil!");
  FDataType = Field->DataType();
  platform::Assert(FDataType != nullptr, "TQuiltValueList.Create: DataField has no data type!");
}

TQuiltValueList::~TQuiltValueList() = default;

const TQuiltValueItem& TQuiltValueList::Item(int Index) const {
  if (Index < 0 || Index >= Count()) throw platform::EListError(kIndexError);
  return FItems[Index];
}

void TQuiltValueList::Signal() const {
  if (FOnChange) FOnChange();
}

bool TQuiltValueList::FindPoint(const TQuiltPoint& Point, int& Index) const {
  const TDataType& type = *FDataType;
  Index = FItems.PartitionPoint([&](const TQuiltValueItem& item) {
    return ComparePointValues(type, item.StartPoint, Point) < 0;
  });
  return Index < FItems.Count() && ComparePointValues(type, FItems[Index].StartPoint, Point) == 0;
}

int TQuiltValueList::AddStartPoint(const TQuiltPoint& Point) {
  int i = 0;
  FindPoint(Point, i);
  // Starts of equal value: a closed one sorts before an open one.
  while (i < Count() && ComparePointValues(*FDataType, FItems[i].StartPoint, Point) == 0) {
    const TQuiltPoint& existing = FItems[i].StartPoint;
    if (existing.Closed == Point.Closed)
      throw platform::Exception(ClassName() + ".AddStartPoint: Start point already exists!");
    if (existing.Closed && !Point.Closed) {
      ++i;
    } else {
      break;
    }
  }
  FRestricted = true;
  FItems.Insert(i, TQuiltValueItem{Point, Point});
  return i;
}

TQuiltPoint TQuiltValueList::ConvertPoint(const TQuiltPoint& P) const {
  if (P.Infinite || P.Value.DataType == FDataType) return P;
  TQuiltPoint Result = P;
  Result.Value = ConvertToType(FDataType, P.Value);
  return Result;
}

void TQuiltValueList::ValidateInterval(const TQuiltPoint& Start, const TQuiltPoint& End) const {
  if (Start.Infinite && End.Infinite) {
    // Only (MinusInfinity, PlusInfinity) means something; the same sign on
    // both ends would otherwise read as the universe.
    if (Start.Closed == End.Closed)
      platform::DataError(
          platform::esFatal, "Intervals",
          "Interval can not have both end points in positive or negative infinity!");
    if (Start.Closed) return;
  } else if (CompareStartToEnd(*FDataType, Start, End) <= 0) {
    return;
  }
  platform::DataError(platform::esFatal, "Intervals",
                      "Illegal interval from '" + ValueAsString(Start.Value) + "' to '" +
                          ValueAsString(End.Value) + "'!");
}

int TQuiltValueList::AddInterval(const TQuiltPoint& Start, const TQuiltPoint& End) {
  TQuiltPoint S = ConvertPoint(Start);
  TQuiltPoint E = ConvertPoint(End);
  ValidateInterval(S, E);
  if (FItems.Empty()) return AddIntervalRaw(S, E);
  int i = 0;
  bool found = FindPoint(S, i);
  if (i > 0 && StartVsPrevEnd(*FDataType, S, FItems[i - 1].EndPoint) < 2) {
    --i;
    found = true;
  }
  if (found) {
    TQuiltValueItem& item = FItems[i];
    if (CompareStartPoints(*FDataType, S, item.StartPoint) < 0) item.StartPoint = S;
    if (CompareEndPoints(*FDataType, E, item.EndPoint) > 0) item.EndPoint = E;
  } else {
    i = AddStartPoint(S);
    FItems[i].EndPoint = E;
  }
  FRestricted = true;
  MergeFollowing(i);
  Signal();
  return i;
}

int TQuiltValueList::AddIntervalRaw(const TQuiltPoint& Start, const TQuiltPoint& End) {
  int i = AddStartPoint(Start);
  FItems[i].EndPoint = End;
  Signal();
  return i;
}

void TQuiltValueList::MergeFollowing(int Index) {
  TQuiltPoint e = FItems[Index].EndPoint;
  int j = Index + 1;
  while (j < Count()) {
    if (StartVsPrevEnd(*FDataType, FItems[j].StartPoint, e) == 2) break;
    if (CompareEndPoints(*FDataType, FItems[j].EndPoint, e) >= 0) {
      e = FItems[j].EndPoint;
      ++j;
      break;
    }
    ++j;
  }
  if (j > Index + 1) {
    FItems.Erase(Index + 1, j);
    FItems[Index].EndPoint = e;
  }
}

bool TQuiltValueList::ContainsValue(const TValue& Value) const {
  if (!FRestricted) return true;
  TQuiltPoint P;
  P.Closed = true;
  P.Value = Value.DataType == FDataType ? Value : ConvertToType(FDataType, Value);
  int i = 0;
  if (FindPoint(P, i)) return FItems[i].StartPoint.Closed;
  if (i == 0) return false;
  const TQuiltValueItem& item = FItems[i - 1];
  return CompareStartPoints(*FDataType, item.StartPoint, P) <= 0 &&
         CompareEndPoints(*FDataType, item.EndPoint, P) >= 0;
}

const TQuiltPoint& TQuiltValueList::Get(int Index) const {
  return Item(Index).StartPoint;
}

const TQuiltPoint& TQuiltValueList::Get2(int Index) const {
  platform::Assert(Index >= 0 && Index < Count(),
                   "TQuiltValueList.Get2: (Index >= 0) and (Index < FCount), Index: ", Index);
  return FItems[Index].EndPoint;
}

void TQuiltValueList::PutStart(int Index, const TQuiltPoint& Point) {
  if (Index < 0 || Index >= Count()) throw platform::EListError(kIndexError);
  FItems[Index].StartPoint = Point;
  Signal();
}

void TQuiltValueList::PutEnd(int Index, const TQuiltPoint& Point) {
  if (Index < 0 || Index >= Count()) throw platform::EListError(kIndexError);
  FItems[Index].EndPoint = Point;
  Signal();
}

void TQuiltValueList::Delete(int Index) {
  platform::Assert(Index >= 0 && Index < Count(),
                   "TQuiltValueList.Delete: (Index >= 0) and (Index < FCount), Index: ", Index);
  FItems.Erase(Index, Index + 1);
  Signal();
}

void TQuiltValueList::Unrestrict() {
  if (!FRestricted) return;
  FItems.Clear();
  FRestricted = false;
  Signal();
}

void TQuiltValueList::ClearItems() {
  FItems.Clear();
}

void TQuiltValueList::SetNone() {
  FItems.Clear();
  FRestricted = true;
  Signal();
}

void TQuiltValueList::SwapContents(TQuiltValueList& Other) noexcept {
  FItems.Swap(Other.FItems);
  std::swap(FRestricted, Other.FRestricted);
}

void TQuiltValueList::AppendUnchecked(const TQuiltPoint& Start, const TQuiltPoint& End) {
  FRestricted = true;
  FItems.PushBack(TQuiltValueItem{Start, End});
}

}  // namespace dataframework
