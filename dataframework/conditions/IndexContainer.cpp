#include "dataframework/conditions/IndexContainer.h"

#include <algorithm>
#include <cstdint>

#include "platform/Errors.h"

namespace dataframework {

using platform::TObject;

TIndexContainer::TIndexContainer(int BucketCount, bool WithValues)
    : FBucketCount(BucketCount), FWithValues(WithValues) {
  if (BucketCount < 1) {
    throw platform::EAssertionFailed("TIndexContainer.Create: BucketCount must be at least 1!");
  }
}

TIndexContainer::~TIndexContainer() = default;

void TIndexContainer::Add(TObject* Index) {
  InternalAdd(Index, nullptr, false);
}

void TIndexContainer::AddValue(TObject* Index, TObject* Value) {
  InternalAdd(Index, Value, true);
}

bool TIndexContainer::Delete(TObject* Index) {
  TObject* value = nullptr;
  return Extract(Index, value);
}

int TIndexContainer::BucketOf(const TObject* Index) const {
  return static_cast<int>(reinterpret_cast<uintptr_t>(Index) %
                          static_cast<uintptr_t>(FBucketCount));
}

int TIndexContainer::OverflowPosition(const TObject* Index) const {
  auto it = std::find(FOverflow.begin(), FOverflow.end(), Index);
  return it == FOverflow.end() ? -1 : static_cast<int>(it - FOverflow.begin());
}

void TIndexContainer::InternalAdd(TObject* Index, TObject* Value, bool ReplaceValue) {
  if (Index == nullptr) {
    throw platform::EAssertionFailed("TIndexContainer.Add: nil is not allowed as Index!");
  }
  const size_t b = static_cast<size_t>(BucketOf(Index));
  if (FIndexes.size() <= b) {
    FIndexes.resize(b + 1, nullptr);
    if (FWithValues) FSlotValues.resize(b + 1, nullptr);
  }
  if (FIndexes[b] == nullptr) {
    FIndexes[b] = Index;
    if (FWithValues) FSlotValues[b] = Value;
    return;
  }
  if (FIndexes[b] == Index) {
    if (FWithValues && ReplaceValue) FSlotValues[b] = Value;
    return;
  }
  int i = OverflowPosition(Index);
  if (i < 0) {
    FOverflow.push_back(Index);
    if (FWithValues) FOverflowValues.push_back(Value);
  } else if (FWithValues && ReplaceValue) {
    FOverflowValues[i] = Value;
  }
}

bool TIndexContainer::Find(const TObject* Index, TObject*& Value) const {
  Value = nullptr;
  if (Index == nullptr) return false;
  const size_t b = static_cast<size_t>(BucketOf(Index));
  if (b >= FIndexes.size() || FIndexes[b] == nullptr) return false;
  if (FIndexes[b] == Index) {
    if (FWithValues) Value = FSlotValues[b];
    return true;
  }
  int i = OverflowPosition(Index);
  if (i < 0) return false;
  if (FWithValues) Value = FOverflowValues[i];
  return true;
}

bool TIndexContainer::Contains(const TObject* Index) const {
  TObject* value = nullptr;
  return Find(Index, value);
}

bool TIndexContainer::IsEmpty() const {
  if (!FOverflow.empty()) return false;
  return std::all_of(FIndexes.begin(), FIndexes.end(), [](TObject* k) { return k == nullptr; });
}

bool TIndexContainer::Extract(TObject* Index, TObject*& Value) {
  Value = nullptr;
  if (Index == nullptr) return false;
  const size_t b = static_cast<size_t>(BucketOf(Index));
  if (b >= FIndexes.size() || FIndexes[b] == nullptr) return false;
  if (FIndexes[b] == Index) {
    if (FWithValues) {
      Value = FSlotValues[b];
      FSlotValues[b] = nullptr;
    }
    FIndexes[b] = nullptr;
    // The first overflow key of this bucket takes the free slot, so a free
    // slot still means that no key of the bucket is stored.
    for (size_t i = 0; i < FOverflow.size(); ++i) {
      if (static_cast<size_t>(BucketOf(FOverflow[i])) == b) {
        FIndexes[b] = FOverflow[i];
        FOverflow.erase(FOverflow.begin() + static_cast<std::ptrdiff_t>(i));
        if (FWithValues) {
          FSlotValues[b] = FOverflowValues[i];
          FOverflowValues.erase(FOverflowValues.begin() + static_cast<std::ptrdiff_t>(i));
        }
        break;
      }
    }
    return true;
  }
  int i = OverflowPosition(Index);
  if (i < 0) return false;
  if (FWithValues) {
    Value = FOverflowValues[i];
    FOverflowValues.erase(FOverflowValues.begin() + i);
  }
  FOverflow.erase(FOverflow.begin() + i);
  return true;
}

void TIndexContainer::Clear() {
  FIndexes.clear();
  FOverflow.clear();
  FSlotValues.clear();
  FOverflowValues.clear();
}

void TIndexContainer::ClearAndFreeValues() {
  if (FWithValues) {
    // Taken out first: a value's destructor may look at the container.
    std::vector<TObject*> values;
    values.reserve(FSlotValues.size() + FOverflowValues.size());
    for (TObject* v : FSlotValues) {
      if (v != nullptr) values.push_back(v);
    }
    for (TObject* v : FOverflowValues) {
      if (v != nullptr) values.push_back(v);
    }
    std::fill(FSlotValues.begin(), FSlotValues.end(), nullptr);
    std::fill(FOverflowValues.begin(), FOverflowValues.end(), nullptr);
    // One object stored under two keys is destroyed once.
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    for (TObject* v : values) delete v;
  }
  Clear();
}

// ---- TIndexContainerIterator ----

TIndexContainerIterator::TIndexContainerIterator(const TIndexContainer* Container)
    : FContainer(Container) {
  First();
}

void TIndexContainerIterator::First() {
  FInPrimary = true;
  FPosition = 0;
  FEof = false;
  FIndex = nullptr;
  FValue = nullptr;
  if (!FContainer->FIndexes.empty() && FContainer->FIndexes[0] != nullptr) {
    Load();
  } else {
    Next();
  }
}

TObject* TIndexContainerIterator::KeyAtPosition() const {
  const std::vector<TObject*>& keys = FInPrimary ? FContainer->FIndexes : FContainer->FOverflow;
  if (FEof || FPosition < 0 || static_cast<size_t>(FPosition) >= keys.size()) return nullptr;
  return keys[static_cast<size_t>(FPosition)];
}

void TIndexContainerIterator::Next() {
  if (FEof) return;
  if (FIndex != nullptr) {
    // The element stood on was removed and another key took its place
    // (promoted from the overflow list, or the next overflow entry).
    TObject* now = KeyAtPosition();
    if (now != nullptr && now != FIndex) {
      Load();
      return;
    }
  }
  ++FPosition;
  if (FInPrimary) {
    const std::vector<TObject*>& slots = FContainer->FIndexes;
    while (static_cast<size_t>(FPosition) < slots.size() && slots[FPosition] == nullptr) {
      ++FPosition;
    }
    if (static_cast<size_t>(FPosition) >= slots.size()) {
      if (FContainer->FOverflow.empty()) {
        FEof = true;
      } else {
        FInPrimary = false;
        FPosition = 0;
      }
    }
  } else if (static_cast<size_t>(FPosition) >= FContainer->FOverflow.size()) {
    FEof = true;
  }
  Load();
}

void TIndexContainerIterator::Load() {
  if (FEof) {
    FIndex = nullptr;
    FValue = nullptr;
    return;
  }
  const size_t pos = static_cast<size_t>(FPosition);
  if (FInPrimary) {
    FIndex = FContainer->FIndexes[pos];
    FValue = FContainer->FWithValues ? FContainer->FSlotValues[pos] : nullptr;
  } else {
    FIndex = FContainer->FOverflow[pos];
    FValue = FContainer->FWithValues ? FContainer->FOverflowValues[pos] : nullptr;
  }
}

}  // namespace dataframework
