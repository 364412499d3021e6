#include "platform/Collection.h"

#include <algorithm>

#include "platform/Errors.h"
#include "platform/StringList.h"

namespace platform {

namespace {
[[noreturn]] void IndexError(int Index) {
  throw EListError(FormatMessage(SListIndexError, {std::to_string(Index)}));
}
}  // namespace

const TClass& TCollectionItem::StaticClass() {
  static const TCollectionItemClassOf<TCollectionItem> Class(
      "TCollectionItem", &TPersistent::StaticClass(), "Collection");
  return Class;
}

const TClass& TCollection::StaticClass() {
  static const TClass Class("TCollection", &TPersistent::StaticClass(), "Collection");
  return Class;
}

TCollectionItem::TCollectionItem(TCollection* ACollection) {
  if (ACollection != nullptr) ACollection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (FCollection != nullptr) FCollection->RemoveItem(this);
}

int TCollectionItem::Index() const {
  if (FCollection == nullptr) return -1;
  const auto& items = FCollection->FItems;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  if (FCollection == nullptr) return;
  auto& items = FCollection->FItems;
  const int current = Index();
  const int target = std::clamp(Value, 0, static_cast<int>(items.size()) - 1);
  if (target == current) return;
  items.erase(items.begin() + current);
  items.insert(items.begin() + target, this);
}

std::string TCollectionItem::DisplayName() const {
  return ClassName();
}

TCollection::~TCollection() {
  Clear();
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return FItems[static_cast<size_t>(Index)];
}

TCollectionItem* TCollection::Add() {
  return FItemClass->CreateItem(this);
}

void TCollection::Delete(int Index) {
  delete Items(Index);
}

void TCollection::Clear() {
  while (!FItems.empty()) {
    TCollectionItem* last = FItems.back();
    RemoveItem(last);
    delete last;
  }
}

void TCollection::Assign(const TPersistent* Source) {
  const auto* other = dynamic_cast<const TCollection*>(Source);
  if (other == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (other == this) return;
  Clear();
  try {
    for (TCollectionItem* item : other->FItems) Add()->Assign(item);
  } catch (...) {
    Clear();  // no half copy
    throw;
  }
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it != FItems.end()) FItems.erase(it);
  Item->FCollection = nullptr;
}

}  // namespace platform
