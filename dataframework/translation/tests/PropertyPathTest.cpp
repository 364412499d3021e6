// Property paths, property access over the component model, caption sort keys.
#include <gtest/gtest.h>

#include "dataframework/translation/PropertyPath.h"
#include "dataframework/translation/tests/TranslationTestSupport.h"
#include "platform/PropInfo.h"

namespace dataframework::testing {
namespace {

TEST(PropertyPathTest, SplitPathGivesKindHeadAndTail) {
  struct Case {
    const char* Path;
    TPathKind Kind;
    const char* Head;
    const char* Tail;
  };
  const Case cases[] = {
      {"Caption", pkPlain, "Caption", ""},
      {"Items[2]", pkList, "Items", ""},
      {"Items[]", pkList, "Items", ""},
      {"Font.Name", pkObject, "Font", "Name"},
      {"Columns[1].Title.Caption", pkCollection, "Columns", "Title.Caption"},
      {"Columns[].Title.Caption", pkCollection, "Columns", "Title.Caption"},
      // A point first makes an object step even when brackets follow.
      {"Title.Items[3]", pkObject, "Title", "Items[3]"},
      // A bracket that is not closed is still a list step.
      {"Items[3", pkList, "Items", ""},
      {"", pkPlain, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Path);
    const TPathParts parts = SplitPath(c.Path);
    EXPECT_EQ(parts.Kind, c.Kind);
    EXPECT_EQ(parts.Head, c.Head);
    EXPECT_EQ(parts.Tail, c.Tail);
  }
}

TEST(PropertyPathTest, StripIndexesKeepsTheBrackets) {
  const std::pair<const char*, const char*> cases[] = {
      {"Columns[12].Title.Caption", "Columns[].Title.Caption"},
      {"Items[3].Caption", "Items[].Caption"},
      {"Grid.Columns[1].Items[20]", "Grid.Columns[].Items[]"},
      {"Caption", "Caption"},
      {"Items[]", "Items[]"},
  };
  for (const auto& [path, stripped] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(StripIndexes(path), stripped);
  }
}

TEST(PropertyPathTest, CaptionSortKeyLowersAndDropsEveryAmpersand) {
  const std::pair<const char*, const char*> cases[] = {
      {"&Open File", "open file"},
      {"Save && Exit", "save  exit"},
      {"&&&", ""},
      {"\xC3\x81rbol &\xC3\x91"
       "and\xC3\xBA",
       "\xC3\xA1rbol \xC3\xB1"
       "and\xC3\xBA"},                                                           // Árbol &Ñandú
      {"\xD0\x9C\xD0\xB5\xD0\xBD\xD1\x8E", "\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x8E"},  // Меню
      {"bad \xFF byte", "bad \xFF byte"},
  };
  for (const auto& [text, key] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(CaptionSortKey(text), key);
  }
}

TEST(PropertyPathTest, PropertyAccessFollowsTheAction) {
  TTestForm form(nullptr);
  auto* action = new TTestAction(&form);
  action->SetName("ACTOpen");
  action->SetCaption("&Abrir");
  auto* button = new TTestButton(&form);
  button->SetName("BTNOpen");
  button->SetCaption("own");
  button->SetHint("hint");

  platform::TComponent* found = nullptr;
  EXPECT_FALSE(IsActionProperty(button, "Caption", found));
  EXPECT_EQ(found, nullptr);
  EXPECT_EQ(GetPropertyText(button, "Caption"), "own");

  button->SetAction(action);
  EXPECT_TRUE(IsActionProperty(button, "Caption", found));
  EXPECT_EQ(found, action);
  EXPECT_EQ(GetPropertyText(button, "Caption"), "&Abrir");
  // Paths are never supplied by actions; neither are properties the action lacks.
  EXPECT_FALSE(IsActionProperty(button, "Caption.X", found));
  EXPECT_FALSE(IsActionProperty(button, "Caption[1]", found));
  EXPECT_FALSE(IsActionProperty(button, "Kind", found));
  EXPECT_TRUE(IsAction(action));
  EXPECT_FALSE(IsAction(button));

  SetPropertyText(button, "Hint", "new hint");
  EXPECT_EQ(button->Hint(), "new hint");
  EXPECT_TRUE(HasProperty(button, "hint"));
  EXPECT_FALSE(HasProperty(button, "Items"));
  EXPECT_FALSE(HasProperty(nullptr, "Caption"));
}

TEST(PropertyPathTest, GetObjectPropertyChecksTheClass) {
  TTestGrid grid(nullptr);
  EXPECT_EQ(GetObjectProperty(&grid, "Title", platform::TPersistent::StaticClass()), grid.Title());
  EXPECT_EQ(GetObjectProperty(&grid, "Title", platform::TCollection::StaticClass()), nullptr);
  EXPECT_EQ(GetObjectProperty(&grid, "Columns", platform::TCollection::StaticClass()),
            grid.Columns());
  EXPECT_EQ(GetObjectProperty(&grid, "Missing", platform::TPersistent::StaticClass()), nullptr);
  EXPECT_EQ(GetObjectProperty(&grid, "Name", platform::TPersistent::StaticClass()), nullptr);
}

}  // namespace
}  // namespace dataframework::testing
