// Collections: ordered lists of items of one item class that the collection
// owns, such as the columns of a grid.
//
// The collection makes its items through its item class's metaclass (a
// TCollectionItemClass), so code that walks published properties can learn
// the item class from a collection without an item. An item made for a
// collection is owned by it; an item freed early leaves its collection.
// REQUIRES: an item that belongs to a collection is not also held by a
// std::unique_ptr that outlives the collection.
#pragma once

#include <string>
#include <vector>

#include "platform/ClassRegistry.h"
#include "platform/Persistent.h"

namespace platform {

class TCollection;

class TCollectionItem : public TPersistent {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Appends the item to ACollection (which then owns it) when given.
  explicit TCollectionItem(TCollection* ACollection);
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Position in the collection, -1 without one.
  int Index() const;
  // Moves the item to Value within its collection (clamped to the list).
  void SetIndex(int Value);
  // The text an editor shows for the item; the base shows the class name.
  virtual std::string DisplayName() const;

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
};

// Metaclass of collection item classes: makes an item for a collection.
class TCollectionItemClass : public TClass {
 public:
  using TClass::TClass;
  // The new item, already appended to (and owned by) ACollection.
  virtual TCollectionItem* CreateItem(TCollection* ACollection) const = 0;
};

// The usual item metaclass: makes a T with `new T(ACollection)`.
template <class T>
class TCollectionItemClassOf : public TCollectionItemClass {
 public:
  using TCollectionItemClass::TCollectionItemClass;
  TCollectionItem* CreateItem(TCollection* ACollection) const override {
    return new T(ACollection);  // owned by ACollection from its constructor on
  }
};

class TCollection : public TPersistent {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TCollection(const TCollectionItemClass& ItemClass) : FItemClass(&ItemClass) {}
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;
  // Frees the items, the last first.
  ~TCollection() override;

  const TCollectionItemClass& ItemClass() const { return *FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // REQUIRES: 0 <= Index < Count() (EListError otherwise).
  TCollectionItem* Items(int Index) const;

  // A new item of the item class, appended.
  TCollectionItem* Add();
  // Frees item Index. REQUIRES: 0 <= Index < Count() (EListError).
  void Delete(int Index);
  void Clear();

  // From another collection: this one's items are freed, then for each
  // source item a new item is added and assigned from it. When an item
  // refuses the copy, the collection is left empty.
  void Assign(const TPersistent* Source) override;

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  const TCollectionItemClass* FItemClass;
  std::vector<TCollectionItem*> FItems;  // owned
};

}  // namespace platform
