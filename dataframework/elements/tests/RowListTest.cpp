// The row list: its text-list contract (growth, sorted insertion with the
// three duplicate rules, case-insensitive search, sorting, errors, change
// events), the row operations and GetRows in every mode over real stored rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/conditions/CriteriaField.h"
#include "dataframework/elements/tests/CalcTestSupport.h"
#include "platform/Errors.h"
#include "platform/StringList.h"

namespace dataframework::calctest {
namespace {

template <typename F>
std::string ListErrorOf(F&& Action) {
  try {
    Action();
  } catch (const platform::EListError& e) {
    return e.Message();
  }
  return "(no list error)";
}

std::vector<std::string> TextsOf(const platform::TStrings& List) {
  std::vector<std::string> texts;
  for (int i = 0; i < List.Count(); ++i) texts.push_back(List[i]);
  return texts;
}

// Frees the row copies handed to it.
struct TCopies {
  platform::TStringList List;
  ~TCopies() {
    for (int i = 0; i < List.Count(); ++i) delete static_cast<TAbstractRow*>(List.GetObject(i));
  }
};

// ------------------------------------------------------------ the list

TEST(RowList, GrowsToSixteenThenDoubles) {
  struct Case {
    int Preset;  // capacity set before adding; -1: none
    int Adds;
    int Capacity;
  } cases[] = {{-1, 0, 0},   {-1, 1, 16}, {-1, 16, 16}, {-1, 17, 32},
               {-1, 33, 64}, {5, 6, 16},  {15, 16, 16}, {20, 21, 40}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Preset) + " / " + std::to_string(c.Adds));
    TDataRowList list;
    if (c.Preset >= 0) list.SetCapacity(c.Preset);
    for (int i = 0; i < c.Adds; ++i) list.Add("t" + std::to_string(i));
    EXPECT_EQ(list.GetCapacity(), c.Capacity);
    ASSERT_EQ(list.Count(), c.Adds);
    if (c.Adds > 0) {
      EXPECT_EQ(list[c.Adds - 1], "t" + std::to_string(c.Adds - 1));
    }
  }
}

TEST(RowList, SortedListTakesCaseInsensitiveDuplicatesByRule) {
  struct Case {
    platform::TDuplicates Rule;
    int SecondIndex;
    int Count;
    bool Raises;
  } cases[] = {{platform::dupIgnore, 0, 1, false},
               {platform::dupAccept, 0, 2, false},
               {platform::dupError, -1, 1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Rule));
    TDataRowList list;
    list.SetSorted(true);
    list.SetDuplicates(c.Rule);
    EXPECT_EQ(list.Add("abc"), 0);
    if (c.Raises) {
      EXPECT_EQ(ListErrorOf([&] { list.Add("ABC"); }), platform::SDuplicateString);
    } else {
      EXPECT_EQ(list.Add("ABC"), c.SecondIndex);
    }
    EXPECT_EQ(list.Count(), c.Count);
    EXPECT_EQ(list.IndexOf("aBc"), 0);
    EXPECT_EQ(list.Add("ab"), 0);  // sorts before "abc"
    EXPECT_EQ(list.IndexOf("ABD"), -1);
  }
}

TEST(RowList, FindAnswersTheFirstEqualEntryWhenDuplicatesAreAccepted) {
  TDataRowList list;
  list.SetSorted(true);
  list.SetDuplicates(platform::dupAccept);
  for (const char* text : {"b", "a", "B", "c", "b", "B", "d"}) list.Add(text);
  ASSERT_EQ(list.Count(), 7);
  int index = -1;
  ASSERT_TRUE(list.Find("b", index));
  EXPECT_EQ(index, 1);
  ASSERT_TRUE(list.Find("D", index));
  EXPECT_EQ(index, 6);
  EXPECT_FALSE(list.Find("bb", index));
  EXPECT_EQ(index, 5);  // where "bb" would go
  EXPECT_FALSE(list.Find("", index));
  EXPECT_EQ(index, 0);
}

TEST(RowList, SortKeepsTextsWithTheirObjects) {
  std::mt19937 gen(7);
  std::vector<std::unique_ptr<platform::TObject>> objects;
  TDataRowList list;
  for (int i = 0; i < 200; ++i) {
    std::string text;
    for (int n = 0; n < 3; ++n) text += static_cast<char>((gen() % 2 ? 'a' : 'A') + gen() % 4);
    objects.push_back(std::make_unique<platform::TObject>());
    list.AddObject(text, objects.back().get());
  }
  std::map<const platform::TObject*, std::string> pairs;
  for (int i = 0; i < list.Count(); ++i) pairs[list.GetObject(i)] = list[i];
  list.Sort();
  const std::vector<std::string> texts = TextsOf(list);
  EXPECT_TRUE(
      std::is_sorted(texts.begin(), texts.end(), [](const std::string& a, const std::string& b) {
        return TDataRowList::CompareTexts(a, b) < 0;
      }));
  for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(pairs[list.GetObject(i)], list[i]);

  // A comparison of its own: descending by the entries' texts.
  list.CustomSort(
      [](TDataRowList& l, int a, int b) { return TDataRowList::CompareTexts(l[b], l[a]); });
  const std::vector<std::string> reversed = TextsOf(list);
  EXPECT_TRUE(std::is_sorted(reversed.rbegin(), reversed.rend(),
                             [](const std::string& a, const std::string& b) {
                               return TDataRowList::CompareTexts(a, b) < 0;
                             }));
  for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(pairs[list.GetObject(i)], list[i]);

  // Turning Sorted on sorts; afterwards CustomSort leaves the order alone.
  list.SetSorted(true);
  const std::vector<std::string> sorted = TextsOf(list);
  EXPECT_TRUE(
      std::is_sorted(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        return TDataRowList::CompareTexts(a, b) < 0;
      }));
  list.CustomSort(
      [](TDataRowList& l, int a, int b) { return TDataRowList::CompareTexts(l[b], l[a]); });
  EXPECT_EQ(TextsOf(list), sorted);
}

TEST(RowList, BadPositionsAndSortedWritesRaiseListErrors) {
  TDataRowList list;
  list.Add("a");
  list.Add("b");
  struct Case {
    const char* Name;
    std::function<void()> Action;
    std::string Message;
  } cases[] = {
      {"Get(-1)", [&] { list.Get(-1); }, "List index out of bounds (-1)"},
      {"Get(Count)", [&] { list.Get(2); }, "List index out of bounds (2)"},
      {"GetObject(Count)", [&] { list.GetObject(2); }, "List index out of bounds (2)"},
      {"Delete(Count)", [&] { list.Delete(2); }, "List index out of bounds (2)"},
      {"Exchange(0, Count)", [&] { list.Exchange(0, 2); }, "List index out of bounds (2)"},
      {"Insert(Count + 1)", [&] { list.Insert(3, "x"); }, "List index out of bounds (3)"},
      {"SetCapacity(1)", [&] { list.SetCapacity(1); }, "List capacity out of bounds (1)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ListErrorOf(c.Action), c.Message);
    EXPECT_EQ(TextsOf(list), (std::vector<std::string>{"a", "b"}));
  }
  list.SetSorted(true);
  EXPECT_EQ(ListErrorOf([&] { list.Insert(0, "c"); }), platform::SSortedListError);
  EXPECT_EQ(ListErrorOf([&] { list.Put(0, "c"); }), platform::SSortedListError);
  EXPECT_EQ(TextsOf(list), (std::vector<std::string>{"a", "b"}));
  EXPECT_THROW(list.GetDataRow(2), platform::EAssertionFailed);
  try {
    list.GetDataRow(2);
  } catch (const platform::EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "TDataRowList.GetDataRow: (idx >= 0) and (idx < Count), idx: 2");
  }
}

TEST(RowList, ChangeEventsSurroundChangesOutsideUpdateBrackets) {
  TDataRowList list;
  std::string log;
  list.OnChanging = [&] { log += "<"; };
  list.OnChange = [&] { log += ">"; };
  list.Clear();  // empty: nothing
  EXPECT_EQ(log, "");
  list.Add("a");
  list.Insert(0, "b");
  list.Exchange(0, 1);
  list.Put(0, "c");
  EXPECT_EQ(log, "<><><><>");
  log.clear();
  list.BeginUpdate();
  list.Add("d");
  list.Delete(0);
  list.BeginUpdate();
  list.Add("e");
  list.EndUpdate();
  EXPECT_EQ(log, "<");
  list.EndUpdate();
  EXPECT_EQ(log, "<>");
  log.clear();
  list.Clear();
  EXPECT_EQ(log, "<>");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.GetCapacity(), 0);
}

TEST(RowList, IndexOfSearchesSortedAndUnsortedListsIgnoringCase) {
  TDataRowList list;
  for (const char* text : {"delta", "Alpha", "charlie", "Bravo"}) list.Add(text);
  EXPECT_EQ(list.IndexOf("BRAVO"), 3);
  EXPECT_EQ(list.IndexOf("echo"), -1);
  list.SetSorted(true);
  EXPECT_EQ(TextsOf(list), (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta"}));
  EXPECT_EQ(list.IndexOf("CHARLIE"), 2);
  EXPECT_EQ(list.IndexOf("echo"), -1);
  EXPECT_EQ(list.Add("Echo"), 4);
}

// ------------------------------------------------------------- the rows

class RowListRows : public CalcFixture {
 protected:
  TDataRowList List;
  std::vector<TDataRow*> Rows;

  // Rows 1/a .. 1/c and 2/a .. 2/c in the storage, listed in reverse order
  // with their key text.
  void SetUp() override {
    CalcFixture::SetUp();
    for (int k1 : {1, 2})
      for (const char* k2 : {"a", "b", "c"}) Rows.push_back(Put(k1, k2, k1 * 10));
    for (auto it = Rows.rbegin(); it != Rows.rend(); ++it) List.AddObject(Describe(*it), *it);
  }
  std::string Describe(const TAbstractRow* Row) const {
    return Text(Row, K1.get()) + Text(Row, K2.get());
  }
  std::vector<std::string> DescribeRows(const platform::TStrings& L) const {
    std::vector<std::string> out;
    for (int i = 0; i < L.Count(); ++i)
      out.push_back(Describe(static_cast<TAbstractRow*>(L.GetObject(i))));
    return out;
  }
  std::unique_ptr<TCriteria> K1Is(int Value) {
    auto criteria = std::make_unique<TCriteria>();
    criteria->CriteriaFields(K1.get()).AddValue(IntegerValue(Value));
    return criteria;
  }
  int StoredRows() const {
    return Storage->CountRows(rsInserted) + Storage->CountRows(rsUnchanged) +
           Storage->CountRows(rsModified);
  }
};

TEST_F(RowListRows, GetRowsDeliversInListOrderByMode) {
  const std::vector<std::string> all{"2c", "2b", "2a", "1c", "1b", "1a"};
  const std::vector<std::string> ones{"1c", "1b", "1a"};
  auto criteria = K1Is(1);

  platform::TStringList rows;
  List.GetRows(&rows, criteria.get(), gmRows);
  EXPECT_EQ(TextsOf(rows), ones);  // the entries' texts come along
  EXPECT_EQ(rows.GetObject(0), Rows[2]);
  EXPECT_EQ(List.Count(), 6);

  TCopies copies;
  List.GetRows(&copies.List, nullptr, gmCopies);
  EXPECT_EQ(DescribeRows(copies.List), all);
  for (int i = 0; i < copies.List.Count(); ++i) {
    auto* copy = static_cast<TDataRow*>(copies.List.GetObject(i));
    EXPECT_NE(copy, List.GetObject(i));
    EXPECT_EQ(copy->State(), rsExternControlled);
    EXPECT_DOUBLE_EQ(Number(copy, X.get()), Number(List.GetDataRow(i), X.get()));
  }
  EXPECT_EQ(List.Count(), 6);
  EXPECT_EQ(StoredRows(), 6);

  TCopies moved;
  List.GetRows(&moved.List, criteria.get(), gmMoveOut);
  EXPECT_EQ(DescribeRows(moved.List), ones);
  EXPECT_EQ(DescribeRows(List), (std::vector<std::string>{"2c", "2b", "2a"}));
  EXPECT_EQ(StoredRows(), 3);
  EXPECT_EQ(SubTotalOf(1), nullptr);  // the emptied subtotal went with its rows
}

TEST_F(RowListRows, GetRowsWithDeleteAndNoCriteriaEmptiesListAndStorage) {
  // Two rows count as loaded from the database: they wait in the deleted rows.
  Rows[0]->SetState(rsUnchanged);
  Rows[4]->SetState(rsModified);
  auto free = Storage->CreateRow();  // a row outside any storage
  List.AddObject("free", free.release());
  List.Add("no row");
  List.GetRows(nullptr, nullptr, gmDelete);
  EXPECT_EQ(TextsOf(List), (std::vector<std::string>{"no row"}));
  EXPECT_EQ(StoredRows(), 0);
  EXPECT_EQ(Storage->Root()->ChildCount(), 0);
  ASSERT_EQ(Storage->DeletedRowCount(), 2);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(Storage->DeletedRow(i)->State(), rsDeleted);
}

TEST_F(RowListRows, ARowListedTwiceIsDeletedOnce) {
  List.AddObject("again", Rows[1]);
  List.AddObject("again", Rows[1]);
  TCopies moved;
  List.GetRows(&moved.List, K1Is(1).get(), gmMoveOut);
  // The walk meets 1b at its last entry first: one copy, placed there.
  EXPECT_EQ(DescribeRows(moved.List), (std::vector<std::string>{"1c", "1a", "1b"}));
  EXPECT_EQ(List.Count(), 3);
  List.GetRows(nullptr, nullptr, gmDelete);
  EXPECT_EQ(List.Count(), 0);
  EXPECT_EQ(StoredRows(), 0);
}

TEST_F(RowListRows, SubtotalRowsStayListedUntilTheirLastDataRowGoes) {
  TSubTotalRow* one = SubTotalOf(1);
  TSubTotalRow* two = SubTotalOf(2);
  ASSERT_NE(one, nullptr);
  List.AddObject("sub1", one);
  List.AddObject("sub2", two);
  TCopies copies;
  List.GetRows(&copies.List, nullptr, gmCopies);
  EXPECT_EQ(copies.List.Count(), 6);  // a subtotal row has no copy
  // Deleting the rows of K1 = 1 frees their subtotal row: its entry goes too.
  List.GetRows(nullptr, K1Is(1).get(), gmDelete);
  EXPECT_EQ(TextsOf(List), (std::vector<std::string>{"2c", "2b", "2a", "sub2"}));
  EXPECT_EQ(List.GetDataRow(3), two);
  EXPECT_EQ(SubTotalOf(1), nullptr);
}

TEST_F(RowListRows, DisplayTextsComeFromTheRowsUnlessTheListIsSorted) {
  List.Add("no row");
  List.SetDisplayTexts(K1.get(), dvKeyOnly);
  EXPECT_EQ(TextsOf(List), (std::vector<std::string>{"2", "2", "2", "1", "1", "1", "no row"}));

  TDataRowList sorted;
  sorted.SetSorted(true);
  sorted.SetDuplicates(platform::dupAccept);
  sorted.AddObject("x", Rows[0]);
  sorted.AddObject("y", Rows[1]);
  EXPECT_EQ(ListErrorOf([&] { sorted.SetDisplayTexts(K1.get(), dvKeyOnly); }),
            platform::SSortedListError);
  EXPECT_EQ(TextsOf(sorted), (std::vector<std::string>{"x", "y"}));
}

}  // namespace
}  // namespace dataframework::calctest
