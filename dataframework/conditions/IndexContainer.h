// Identity-keyed hash container with optional values, and its iterator.
//
// Keys ("indexes") are object references compared by identity; a container
// made with values keeps one object reference per key. A key's bucket is its
// address modulo the bucket count, fixed at creation (owners use 101). Each
// bucket has one primary slot; keys whose slot is taken go to one overflow
// list in insertion order. The container never rehashes. Primary slots are
// added lazily up to the highest bucket used; only Clear shrinks the lists.
//
// Ownership: the container owns neither keys nor values. Only
// ClearAndFreeValues destroys the value objects.
#pragma once

#include <vector>

#include "platform/Object.h"

namespace dataframework {

class TIndexContainer : public platform::TObject {
 public:
  // BucketCount must be at least 1 (EAssertionFailed otherwise).
  TIndexContainer(int BucketCount, bool WithValues);
  ~TIndexContainer() override;
  TIndexContainer(const TIndexContainer&) = delete;
  TIndexContainer& operator=(const TIndexContainer&) = delete;

  // Adds the key without a value; a key already present keeps its value.
  virtual void Add(platform::TObject* Index);
  // Adds the key with a value, or replaces the value of a present key.
  virtual void AddValue(platform::TObject* Index, platform::TObject* Value);
  // Removes the key through Extract, ignoring the value; true when present.
  virtual bool Delete(platform::TObject* Index);
  // Removes the key and hands its value back (nullptr without values or
  // when absent); true when the key was present.
  virtual bool Extract(platform::TObject* Index, platform::TObject*& Value);
  // Empties the container; values are not freed.
  virtual void Clear();
  // Destroys every stored value object (each object once, even if stored
  // under several keys), then calls Clear.
  virtual void ClearAndFreeValues();

  // Insertion; a nil key raises EAssertionFailed
  // "TIndexContainer.Add: nil is not allowed as Index!" and changes nothing.
  void InternalAdd(platform::TObject* Index, platform::TObject* Value, bool ReplaceValue);

  // Looks the key up; Value is the key's value (nullptr without values).
  bool Find(const platform::TObject* Index, platform::TObject*& Value) const;
  bool Contains(const platform::TObject* Index) const;
  bool IsEmpty() const;
  bool HasValues() const { return FWithValues; }
  int BucketOf(const platform::TObject* Index) const;

 private:
  friend class TIndexContainerIterator;

  // Position of Index in FOverflow, or -1.
  int OverflowPosition(const platform::TObject* Index) const;

  std::vector<platform::TObject*> FIndexes;         // one slot per bucket, nullptr when free
  std::vector<platform::TObject*> FOverflow;        // keys whose primary slot was taken
  std::vector<platform::TObject*> FSlotValues;      // parallel to FIndexes, with values only
  std::vector<platform::TObject*> FOverflowValues;  // parallel to FOverflow, with values only
  int FBucketCount;
  bool FWithValues;
};

// Walks a container: the primary slots in bucket order, then the overflow
// list. Deleting the element the iterator stands on (and only that one) is
// allowed between Next calls; every remaining element is still visited once.
// The order depends on addresses; callers must not rely on it.
//
//   for (TIndexContainerIterator it(&c); !it.Eof(); it.Next()) use(it.Index(), it.Value());
//
// The container is not owned and must outlive the iterator.
class TIndexContainerIterator : public platform::TObject {
 public:
  explicit TIndexContainerIterator(const TIndexContainer* Container);

  void First();
  void Next();
  bool Eof() const { return FEof; }
  platform::TObject* Index() const { return FIndex; }
  platform::TObject* Value() const { return FValue; }

 private:
  // The key now stored at the current position, nullptr beyond the list.
  platform::TObject* KeyAtPosition() const;
  void Load();

  const TIndexContainer* FContainer;
  bool FInPrimary = true;
  int FPosition = 0;
  platform::TObject* FIndex = nullptr;
  platform::TObject* FValue = nullptr;
  bool FEof = false;
};

}  // namespace dataframework
