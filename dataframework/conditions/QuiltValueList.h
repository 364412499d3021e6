// TQuiltValueList: the sorted interval list inside a quilt field.
//
// An unrestricted list accepts every value and holds no items. A restricted
// list accepts the values inside its items: no items accepts nothing; the
// single item (MinusInfinity, PlusInfinity) is the universe. Items are sorted
// by start point; after any merging insertion (AddInterval) they are pairwise
// disjoint and do not touch. AddIntervalRaw neither validates nor merges (for
// callers that add disjoint intervals in order).
//
// Ownership: the list borrows its data field (never null) and owns its
// items. OnChange runs after every change of the items or of the restricted
// flag (ClearItems excepted).
#pragma once

#include <functional>
#include <vector>

#include "dataframework/conditions/QuiltPoint.h"
#include "dataframework/elements/ElementsFwd.h"
#include "platform/Object.h"

namespace dataframework {

// The items of an interval list: a sorted sequence with index access, kept
// in blocks of a few hundred items so that an insertion or deletion in the
// middle of a long list moves only one block. Sequential access by index is
// constant time (the block last used is remembered); random access costs a
// binary search over the blocks.
class TQuiltItemStore {
 public:
  int Count() const noexcept { return FCount; }
  bool Empty() const noexcept { return FCount == 0; }
  // REQUIRES: 0 <= Index < Count (unchecked).
  const TQuiltValueItem& operator[](int Index) const {
    if (FBlocks.size() == 1) return FBlocks.front()[static_cast<size_t>(Index)];
    size_t offset = 0;
    const size_t block = Locate(Index, offset);
    return FBlocks[block][offset];
  }
  TQuiltValueItem& operator[](int Index) {
    return const_cast<TQuiltValueItem&>(static_cast<const TQuiltItemStore&>(*this)[Index]);
  }
  // REQUIRES: 0 <= Index <= Count.
  void Insert(int Index, TQuiltValueItem Item);
  void PushBack(TQuiltValueItem Item);
  // Removes the items First ... Last - 1.
  void Erase(int First, int Last);
  void Clear() noexcept;
  void Swap(TQuiltItemStore& Other) noexcept;
  // The first index whose item Before answers false for (Before must be
  // true for a prefix of the items and false for the rest); Count when none.
  template <typename TBefore>
  int PartitionPoint(TBefore Before) const;

 private:
  using TBlock = std::vector<TQuiltValueItem>;
  static constexpr size_t kSplitAt = 64;  // a block this long is halved

  // The block holding Index and the position in it.
  size_t Locate(int Index, size_t& Offset) const;
  void RebuildStarts(size_t From);

  std::vector<TBlock> FBlocks;
  std::vector<int> FStarts;  // index of each block's first item
  int FCount = 0;
  mutable size_t FCursor = 0;  // the block last located
};

template <typename TBefore>
int TQuiltItemStore::PartitionPoint(TBefore Before) const {
  // The first block whose first item is not before; the answer lies in the
  // block ahead of it, or is that block's start.
  size_t lo = 0, hi = FBlocks.size();
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    if (Before(FBlocks[mid].front()))
      lo = mid + 1;
    else
      hi = mid;
  }
  if (lo == 0) return 0;
  const TBlock& block = FBlocks[lo - 1];
  size_t a = 0, b = block.size();
  while (a < b) {
    size_t mid = (a + b) / 2;
    if (Before(block[mid]))
      a = mid + 1;
    else
      b = mid;
  }
  return FStarts[lo - 1] + static_cast<int>(a);
}

class TQuiltValueList : public platform::TObject {
 public:
  // REQUIRES: Field given (EAssertionFailed
  // "TQuiltValueList.Create: DataField should not be nil!"). Unrestricted.
  explicit TQuiltValueList(TDataField* Field);
  ~TQuiltValueList() override;
  TQuiltValueList(const TQuiltValueList&) = delete;
  TQuiltValueList& operator=(const TQuiltValueList&) = delete;

  TDataField* Field() const noexcept { return FField; }
  // The data type of the field, which orders and converts the values.
  const TDataType& DataType() const noexcept { return *FDataType; }
  bool Restricted() const noexcept { return FRestricted; }
  int Count() const noexcept { return FItems.Count(); }
  const TQuiltValueItem& Item(int Index) const;

  // Binary search of the start points by value (ComparePointValues): true
  // with Index at a start of equal value, else Index is the insertion
  // position.
  bool FindPoint(const TQuiltPoint& Point, int& Index) const;
  // Inserts the item (Point, Point) at its sorted place; an open point goes
  // just after a closed start of equal value. A start of equal value and
  // equal Closed raises "<ClassName>.AddStartPoint: Start point already
  // exists!". Restricts the list. Answers the position.
  int AddStartPoint(const TQuiltPoint& Point);
  // Merging insertion: restricts, converts finite ends to the field's type,
  // refuses an empty interval (fatal DataError "Intervals": "Illegal interval
  // from '<s>' to '<e>'!"), merges with overlapping or touching items and
  // signals. Answers the position of the resulting item.
  int AddInterval(const TQuiltPoint& Start, const TQuiltPoint& End);
  // Restricts, AddStartPoint(Start), that item's end := End, signals.
  int AddIntervalRaw(const TQuiltPoint& Start, const TQuiltPoint& End);
  // Absorbs the items after Index that overlap or touch it.
  void MergeFollowing(int Index);

  bool ContainsValue(const TValue& Value) const;

  // Start point of item Index (EListError "SListIndexError" when out of
  // range).
  const TQuiltPoint& Get(int Index) const;
  // End point (EAssertionFailed "TQuiltValueList.Get2: (Index >= 0) and
  // (Index < FCount), Index: <i>").
  const TQuiltPoint& Get2(int Index) const;
  // EListError "SListIndexError" when out of range; signal.
  void PutStart(int Index, const TQuiltPoint& Point);
  void PutEnd(int Index, const TQuiltPoint& Point);
  // EAssertionFailed "TQuiltValueList.Delete: (Index >= 0) and (Index <
  // FCount), Index: <i>"; signals.
  void Delete(int Index);

  // When restricted: no items, unrestricted, signal.
  void Unrestrict();
  // Removes the items without signalling (the restricted flag stays).
  void ClearItems();
  // No items, restricted (accepts nothing); signals.
  void SetNone();
  // Exchanges items and restricted flags with Other (same field type
  // assumed by the caller); no signal.
  void SwapContents(TQuiltValueList& Other) noexcept;

  void SetOnChange(std::function<void()> Event) { FOnChange = std::move(Event); }
  void Signal() const;

  // Appends an item without any check (REQUIRES: it starts after the last
  // item and both are of the field's type); restricts; no signal.
  void AppendUnchecked(const TQuiltPoint& Start, const TQuiltPoint& End);

 private:
  TQuiltPoint ConvertPoint(const TQuiltPoint& P) const;
  void ValidateInterval(const TQuiltPoint& Start, const TQuiltPoint& End) const;

  TQuiltItemStore FItems;
  TDataField* FField;
  const TDataType* FDataType;
  bool FRestricted = false;
  std::function<void()> FOnChange;
};

}  // namespace dataframework
