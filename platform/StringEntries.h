// The entries of a text list (a text and an object each, in order), kept by
// TStringList and by the data framework's row list. The lists keep their own
// contracts (index checks, sorting, change events, growth rules) and store
// their entries here.
//
// Ownership: the entries own their texts, never their objects.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/Object.h"

namespace platform {

struct TStringEntry {
  std::string FString;
  TObject* FObject = nullptr;
};

class TStringEntries {
 public:
  int Count() const noexcept { return static_cast<int>(FItems.size()); }
  int Capacity() const noexcept { return static_cast<int>(FItems.capacity()); }
  // REQUIRES: 0 <= Index < Count (the lists check first).
  TStringEntry& operator[](int Index) { return FItems[static_cast<size_t>(Index)]; }
  const TStringEntry& operator[](int Index) const { return FItems[static_cast<size_t>(Index)]; }

  // REQUIRES: 0 <= Index <= Count. Grows by the vector's rule when full.
  void Insert(int Index, std::string S, TObject* AObject) {
    FItems.insert(FItems.begin() + Index, TStringEntry{std::move(S), AObject});
  }
  void Delete(int Index) { FItems.erase(FItems.begin() + Index); }
  void Exchange(int Index1, int Index2) { std::swap((*this)[Index1], (*this)[Index2]); }
  // Every entry goes; the room stays.
  void Clear() noexcept { FItems.clear(); }
  // Every entry and the room go.
  void Release() noexcept { std::vector<TStringEntry>().swap(FItems); }
  // Entry i becomes the one that was at Order[i]. REQUIRES: Order is a
  // permutation of 0 .. Count - 1.
  void Rearrange(const std::vector<int>& Order) {
    std::vector<TStringEntry> items;
    items.reserve(FItems.capacity());
    for (int i : Order) items.push_back(std::move(FItems[static_cast<size_t>(i)]));
    FItems.swap(items);
  }
  // Room for at least NewCapacity entries.
  void Reserve(int NewCapacity) { FItems.reserve(static_cast<size_t>(NewCapacity)); }
  // Room for exactly NewCapacity entries, for lists with a growth rule of
  // their own. REQUIRES: NewCapacity >= Count.
  void SetExactCapacity(int NewCapacity) {
    if (NewCapacity == Capacity()) return;
    std::vector<TStringEntry> items;
    items.reserve(static_cast<size_t>(NewCapacity));
    for (TStringEntry& entry : FItems) items.push_back(std::move(entry));
    FItems.swap(items);
  }

 private:
  std::vector<TStringEntry> FItems;
};

}  // namespace platform
