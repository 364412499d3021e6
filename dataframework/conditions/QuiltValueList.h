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
  int Count() const noexcept { return static_cast<int>(FItems.size()); }
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
  // Reserves room for Count items.
  void Reserve(int Count) { FItems.reserve(static_cast<size_t>(Count)); }

 private:
  TQuiltPoint ConvertPoint(const TQuiltPoint& P) const;
  void ValidateInterval(const TQuiltPoint& Start, const TQuiltPoint& End) const;

  std::vector<TQuiltValueItem> FItems;
  TDataField* FField;
  const TDataType* FDataType;
  bool FRestricted = false;
  std::function<void()> FOnChange;
};

}  // namespace dataframework
