#include "platform/StringList.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/Exception.h"
#include "platform/Picture.h"

namespace platform {
namespace {

std::vector<std::string> Texts(const TStrings& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Get(i));
  return out;
}

template <typename F>
std::string ListErrorOf(F&& f) {
  try {
    f();
  } catch (const EListError& e) {
    return e.Message();
  }
  return "no error";
}

TEST(StringListTest, PositionsAreChecked) {
  TStringList list;
  list.Add("a");
  list.Add("b");
  EXPECT_EQ(ListErrorOf([&] { list.Get(2); }), "List index out of bounds (2)");
  EXPECT_EQ(ListErrorOf([&] { list.Get(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(ListErrorOf([&] { list.Delete(5); }), "List index out of bounds (5)");
  EXPECT_EQ(ListErrorOf([&] { list.Insert(3, "x"); }), "List index out of bounds (3)");
  EXPECT_EQ(ListErrorOf([&] { list.PutObject(2, nullptr); }), "List index out of bounds (2)");
  EXPECT_EQ(ListErrorOf([&] { list.Exchange(0, 2); }), "List index out of bounds (2)");
  list.Insert(2, "c");  // the end itself is a valid insert position
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(StringListTest, EditingKeepsTextsAndObjectsTogether) {
  TPicture p1, p2;
  TStringList list;
  list.AddObject("one", &p1);
  list.AddObject("two", &p2);
  list.Insert(0, "zero");
  list.Exchange(1, 2);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"zero", "two", "one"}));
  EXPECT_EQ(list.GetObject(1), &p2);
  EXPECT_EQ(list.GetObject(2), &p1);
  list.Put(1, "TWO");
  EXPECT_EQ(list.GetObject(1), &p2);
  list.Delete(0);
  EXPECT_EQ(list.IndexOf("two"), 0);  // ignores case by default
  EXPECT_EQ(list.IndexOfObject(&p1), 1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringListTest, SortedListPlacesEntriesByDuplicatesRule) {
  TStringList list;
  list.Add("b");
  list.Add("c");
  list.Add("a");
  list.SetSorted(true);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "c"}));

  EXPECT_EQ(list.Add("B"), 1);  // ignored: equal ignoring case
  EXPECT_EQ(list.Count(), 3);
  list.SetDuplicates(dupError);
  EXPECT_EQ(ListErrorOf([&] { list.Add("c"); }), "String list does not allow duplicates");
  list.SetDuplicates(dupAccept);
  EXPECT_EQ(list.Add("b"), 1);  // before the run of equal texts
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "b", "c"}));

  EXPECT_EQ(ListErrorOf([&] { list.Insert(0, "x"); }), "Operation not allowed on sorted list");
  EXPECT_EQ(ListErrorOf([&] { list.Put(0, "x"); }), "Operation not allowed on sorted list");

  int index = -1;
  EXPECT_TRUE(list.Find("C", index));
  EXPECT_EQ(index, 3);
  EXPECT_FALSE(list.Find("bb", index));
  EXPECT_EQ(index, 3);
  list.SetCaseSensitive(true);
  EXPECT_FALSE(list.Find("C", index));
  EXPECT_EQ(list.IndexOf("c"), 3);

  TStringList unsorted;
  EXPECT_THROW(unsorted.Find("a", index), EListError);
}

TEST(StringListTest, NameValueLines) {
  TStringList params;
  params.Add("SIZE=20");
  params.Add("CS=F");
  params.Add("plain");
  EXPECT_EQ(params.Values("size"), "20");
  EXPECT_EQ(params.Values("CS"), "F");
  EXPECT_EQ(params.Values("plain"), "");
  EXPECT_EQ(params.Names(0), "SIZE");
  EXPECT_EQ(params.ValueFromIndex(1), "F");
  params.SetValues("CS", "T");
  params.SetValues("DYNSIZE", "1");
  params.SetValues("SIZE", "");
  EXPECT_EQ(Texts(params), (std::vector<std::string>{"CS=T", "plain", "DYNSIZE=1"}));
}

TEST(StringListTest, TextJoinsAndSplitsLines) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(list.Text(), "a\nb\nc\nd\n");
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringListTest, UpdateBracketsFireOneChange) {
  TStringList list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.Add("a");
  EXPECT_EQ(changes, 1);
  list.BeginUpdate();
  list.BeginUpdate();
  EXPECT_EQ(list.UpdateCount(), 2);
  list.Add("b");
  list.Add("c");
  list.EndUpdate();
  EXPECT_EQ(changes, 1);
  list.EndUpdate();
  EXPECT_EQ(changes, 2);
  list.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(list.UpdateCount(), 0);
}

// A list that keeps its own storage, as subclasses of TStrings do.
class TVectorStrings : public TStrings {
 public:
  std::string Get(int Index) const override {
    if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
    return FItems[Index];
  }
  void Insert(int Index, const std::string& S) override {
    if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
    FItems.insert(FItems.begin() + Index, S);
  }
  void Delete(int Index) override {
    if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
    FItems.erase(FItems.begin() + Index);
  }
  void Clear() override { FItems.clear(); }
  int GetCount() const override { return static_cast<int>(FItems.size()); }

  std::vector<bool> FUpdates;

 protected:
  void SetUpdateState(bool Updating) override { FUpdates.push_back(Updating); }

 private:
  std::vector<std::string> FItems;
};

TEST(StringListTest, AbstractListBuildsOnItsSubclassStorage) {
  TVectorStrings list;
  EXPECT_EQ(list.Add("x"), 0);
  list.Add("y");
  list.Put(0, "X");
  list.Exchange(0, 1);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"y", "X"}));
  EXPECT_EQ(list.IndexOf("x"), 1);
  EXPECT_EQ(list.GetObject(0), nullptr);

  list.AddStrings(list);  // adding a list to itself doubles it once
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"y", "X", "y", "X"}));

  TStringList other;
  other.Add("only");
  list.FUpdates.clear();
  list.Assign(&other);
  EXPECT_EQ(Texts(list), (std::vector<std::string>{"only"}));
  EXPECT_EQ(list.FUpdates, (std::vector<bool>{true, false}));  // one outer bracket
}

TEST(StringListTest, AssignCopiesStringListsAndRefusesOtherSources) {
  TPicture picture;
  TStringList source;
  source.AddObject("a", &picture);
  TStringList target;
  target.Add("old");
  target.Assign(&source);
  EXPECT_EQ(Texts(target), (std::vector<std::string>{"a"}));
  EXPECT_EQ(target.GetObject(0), &picture);

  try {
    target.Assign(&picture);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TPicture to a TStringList");
  }
  try {
    target.Assign(nullptr);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TStringList");
  }
}

}  // namespace
}  // namespace platform
