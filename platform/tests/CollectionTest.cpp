// Collections: items made through the item class, ownership, order, copying,
// and reaching items' properties from a component's published collection.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/Collection.h"
#include "platform/Component.h"
#include "platform/Errors.h"
#include "platform/PropInfo.h"
#include "platform/StringList.h"

namespace platform {
namespace {

int LiveColumns = 0;

class TColumn : public TCollectionItem {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TColumn(TCollection* ACollection) : TCollectionItem(ACollection) { ++LiveColumns; }
  ~TColumn() override { --LiveColumns; }

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  std::string DisplayName() const override { return FTitle; }

  // Copies from another column; a title "refuse" stands for a source that
  // cannot be copied.
  void Assign(const TPersistent* Source) override {
    const auto* other = dynamic_cast<const TColumn*>(Source);
    if (other == nullptr || other->FTitle == "refuse") {
      TCollectionItem::Assign(Source);
      return;
    }
    FTitle = other->FTitle;
  }

 private:
  std::string FTitle;
};

const TClass& TColumn::StaticClass() {
  static const TCollectionItemClassOf<TColumn> Class(
      "TColumn", &TCollectionItem::StaticClass(), "Grids",
      {StrProp<TColumn>("Title", &TColumn::Title, &TColumn::SetTitle)});
  return Class;
}

const TCollectionItemClass& ColumnClass() {
  return static_cast<const TCollectionItemClass&>(TColumn::StaticClass());
}

class TGrid : public TComponent {
  CLAVIRA_DECLARE_CLASS()

 public:
  using TComponent::TComponent;
  TCollection* Columns() const { return FColumns.get(); }

 private:
  std::unique_ptr<TCollection> FColumns = std::make_unique<TCollection>(ColumnClass());
};

const TClass& TGrid::StaticClass() {
  static const TClass Class("TGrid", &TComponent::StaticClass(), "Grids",
                            {ClassProp<TGrid, TCollection>("Columns", &TGrid::Columns)});
  return Class;
}

TEST(CollectionTest, AddMakesItemsOfTheItemClassThatTheCollectionFrees) {
  ASSERT_EQ(LiveColumns, 0);
  {
    TCollection columns(ColumnClass());
    auto* first = dynamic_cast<TColumn*>(columns.Add());
    ASSERT_NE(first, nullptr);
    first->SetTitle("Name");
    new TColumn(&columns);
    auto* third = static_cast<TColumn*>(columns.Add());
    EXPECT_EQ(columns.Count(), 3);
    EXPECT_EQ(third->Index(), 2);
    EXPECT_EQ(third->Collection(), &columns);
    EXPECT_EQ(LiveColumns, 3);

    delete columns.Items(1);  // an item freed early leaves the collection
    EXPECT_EQ(columns.Count(), 2);
    EXPECT_EQ(third->Index(), 1);
    columns.Delete(0);
    EXPECT_EQ(columns.Items(0), third);
    EXPECT_THROW(columns.Items(1), EListError);
    EXPECT_THROW(columns.Delete(-1), EListError);
    EXPECT_EQ(LiveColumns, 1);
  }
  EXPECT_EQ(LiveColumns, 0);
}

TEST(CollectionTest, SetIndexMovesWithinTheList) {
  struct Case {
    int From, To;
    const char* Order;
  };
  const Case cases[] = {{0, 2, "BCA"}, {2, 0, "CAB"}, {1, 9, "ACB"}, {1, -3, "BAC"}, {1, 1, "ABC"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.From) + " -> " + std::to_string(c.To));
    TCollection columns(ColumnClass());
    for (const char* t : {"A", "B", "C"}) static_cast<TColumn*>(columns.Add())->SetTitle(t);
    columns.Items(c.From)->SetIndex(c.To);
    std::string order;
    for (int i = 0; i < columns.Count(); ++i) order += columns.Items(i)->DisplayName();
    EXPECT_EQ(order, c.Order);
  }
  TColumn loose(nullptr);
  EXPECT_EQ(loose.Index(), -1);
  loose.SetIndex(3);  // no collection: nothing
  EXPECT_EQ(loose.Collection(), nullptr);
}

TEST(CollectionTest, AssignCopiesItemsAndLeavesNoHalfCopy) {
  TCollection source(ColumnClass());
  for (const char* t : {"Code", "Name"}) static_cast<TColumn*>(source.Add())->SetTitle(t);
  TCollection copy(ColumnClass());
  copy.Add();
  copy.Assign(&source);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(1)->DisplayName(), "Name");
  EXPECT_NE(copy.Items(1), source.Items(1));

  static_cast<TColumn*>(source.Add())->SetTitle("refuse");
  EXPECT_THROW(copy.Assign(&source), EConvertError);
  EXPECT_EQ(copy.Count(), 0);
  TStringList list;
  EXPECT_THROW(copy.Assign(&list), EConvertError);
  EXPECT_EQ(LiveColumns, 3);
}

TEST(CollectionTest, ItemsAreReachedThroughAPublishedCollection) {
  TGrid grid(nullptr);
  static_cast<TColumn*>(grid.Columns()->Add())->SetTitle("Amount");
  const TPropInfo* info = GetPropInfo(grid, "Columns");
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->PropertyClass().InheritsFrom(&TCollection::StaticClass()));
  auto* columns = dynamic_cast<TCollection*>(GetObjectProp(grid, "Columns"));
  ASSERT_NE(columns, nullptr);
  EXPECT_EQ(&columns->ItemClass(), &TColumn::StaticClass());
  EXPECT_NE(columns->ItemClass().FindProperty("Title"), nullptr);
  SetStrProp(*columns->Items(0), "Title", "Total");
  EXPECT_EQ(GetStrProp(*columns->Items(0), "title"), "Total");
}

}  // namespace
}  // namespace platform
