// TValueList: an ordered list of typed values. Every entry holds a text, an
// object and a TValue; the list may be kept sorted by the Compare of its
// data type, with binary search and a duplicate policy.
//
// Ownership: the list owns its entries; it never owns the entries' objects
// nor its data type (a process-wide object).
#pragma once

#include <vector>

#include "dataframework/types/DataTypeCore.h"
#include "platform/StringList.h"

namespace dataframework {

class TValueList : public platform::TStrings {
 public:
  // Empty, not sorted, duplicates ignored. DataType may be null: values are
  // then kept as given and the list cannot be sorted.
  explicit TValueList(const TDataType* DataType = nullptr) : FDataType(DataType) {}
  ~TValueList() override = default;

  const TDataType* DataType() const noexcept { return FDataType; }
  bool Sorted() const noexcept { return FSorted; }
  // Turning sorting on sorts the list; without a data type it raises
  // "Cannot sort a list with unspecified datatype!".
  void SetSorted(bool Value);
  platform::TDuplicates Duplicates() const noexcept { return FDuplicates; }
  void SetDuplicates(platform::TDuplicates Value) noexcept { FDuplicates = Value; }

  // Adds an entry with Value converted to the data type, at the end or, when
  // sorted, at its place by the duplicate policy; returns its position.
  int AddItem(const std::string& Text, const TValue& Value, platform::TObject* Item);
  int AddValue(const TValue& Value) { return AddItem(std::string(), Value, nullptr); }
  const TValue& GetValue(int Index) const;
  // Refused on a sorted list ("Operation not allowed on sorted list").
  void PutValue(int Index, const TValue& Value);
  const TValueItem& Item(int Index) const;

  // Binary search of a sorted list: true when an equal value exists; Index is
  // its position (the first of equal values with dupAccept) or where Value
  // would be inserted.
  bool Find(const TValue& Value, int& Index) const;
  // Position of an entry equal to Value, or -1.
  int IndexOfValue(const TValue& Value) const;
  // Quicksort by the data type; only a list not marked sorted is sorted.
  virtual void Sort();

  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  platform::TObject* GetObject(int Index) const override;
  void PutObject(int Index, platform::TObject* AObject) override;
  // An entry with the text and StringValue(S) as value.
  int Add(const std::string& S) override;
  int AddObject(const std::string& S, platform::TObject* AObject) override;
  // Refused on a sorted list.
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Exchange(int Index1, int Index2) override;
  void Clear() override;
  int GetCount() const override { return static_cast<int>(FItems.size()); }
  int GetCapacity() const override { return FCapacity; }
  void SetCapacity(int NewCapacity) override;
  // From a TValueList: its entries re-added by this list's rules; from
  // another string list: texts and objects; no source clears.
  void Assign(const platform::TPersistent* Source) override;

 private:
  void CheckIndex(int Index) const;
  // The position for Value by the sorting and duplicate rules, or -1 when an
  // equal value is ignored (Found then holds its position).
  int PlaceFor(const TValue& Value, int& Found) const;
  void InsertItem(int Index, const std::string& Text, const TValue& Value, platform::TObject* Item);
  void Grow();
  void QuickSort(int L, int R);

  std::vector<TValueItem> FItems;
  int FCapacity = 0;
  bool FSorted = false;
  platform::TDuplicates FDuplicates = platform::dupIgnore;
  const TDataType* FDataType;
};

}  // namespace dataframework
