// The row storage's edge cases: put actions, criteria, locating, the view,
// the get-rows modes, copies and the trace.
#include <gtest/gtest.h>

#include "dataframework/elements/CalcField.h"
#include "dataframework/elements/tests/StorageFixture.h"
#include "platform/DataError.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"

namespace dataframework::storagetest {
namespace {

using platform::TDataErrorCapture;

// ------------------------------------------------------------------- puts

struct PutCase {
  const char* Name;
  TPutAction Action;
  bool FirstLoaded;     // the stored row came from the database (rsUnchanged)
  double SecondV;       // the second row's V
  const char* SecondN;  // the second row's N
  TPutResult Result;
  double StoredV;
  const char* StoredN;
  bool SecondStored;  // the second row is now the stored row
  int DeletedRows;
};

class PutActionTest : public StorageFixture, public ::testing::WithParamInterface<PutCase> {};

TEST_P(PutActionTest, ConflictOnTakenKey) {
  const PutCase& c = GetParam();
  TDataRow* first = Put(1, "a", 10, "x");
  ASSERT_NE(first, nullptr);
  if (c.FirstLoaded) first->SetState(rsUnchanged);

  std::unique_ptr<TDataRow> second = MakeRow(1, "a", c.SecondV, c.SecondN);
  TDataRow* secondRaw = second.get();
  TPutResult result = Storage->PutNewRow(second, c.Action);
  EXPECT_EQ(result, c.Result);

  TDataRow* stored = Storage->LocateRow({"1", "a"});
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored == secondRaw, c.SecondStored);
  EXPECT_EQ(second == nullptr, c.SecondStored) << "the storage takes the row exactly when stored";
  EXPECT_DOUBLE_EQ(ValueOf(stored, V.get()), c.StoredV);
  EXPECT_EQ(TextOf(stored, N.get()), c.StoredN);
  EXPECT_EQ(Storage->DeletedRowCount(), c.DeletedRows);
  if (c.DeletedRows > 0) {
    EXPECT_EQ(Storage->DeletedRow(0)->State(), rsDeleted);
  }
  if (c.SecondStored) {
    EXPECT_EQ(secondRaw->State(), rsInserted);
  } else {
    EXPECT_EQ(second->State(), rsExternControlled);
  }
  EXPECT_DOUBLE_EQ(ValueOf(Storage->Root(), V.get()), c.StoredV) << "the totals follow";
}

INSTANTIATE_TEST_SUITE_P(
    Actions, PutActionTest,
    ::testing::Values(
        PutCase{"Refuse", paRefuse, false, 5, "x", prKeyConflict, 10, "x", false, 0},
        PutCase{"Reinsert", paReinsert, false, 5, "x", prKeyConflict, 10, "x", false, 0},
        PutCase{"OverwriteInserted", paOverwrite, false, 5, "y", prKeyOverwrited, 5, "y", true, 0},
        PutCase{"OverwriteLoaded", paOverwrite, true, 5, "y", prKeyOverwrited, 5, "y", true, 1},
        PutCase{"OverwriteChangedSame", paOverwriteChanged, false, 10, "x", prCannotAdd, 10, "x",
                false, 0},
        PutCase{"OverwriteChangedOther", paOverwriteChanged, true, 10, "y", prKeyOverwrited, 10,
                "y", true, 1},
        PutCase{"AddStrictEqual", paAddStrict, true, 5, "x", prRowsAdded, 15, "x", true, 1},
        PutCase{"AddStrictDiffers", paAddStrict, false, 5, "y", prCannotAdd, 10, "x", false, 0},
        PutCase{"AddKeep", paAddKeep, false, 5, "y", prRowsAdded, 15, "y", true, 0},
        PutCase{"AddFillEmpty", paAddFill, false, 5, "", prRowsAdded, 15, "x", true, 0},
        PutCase{"AddFillSet", paAddFill, false, 5, "y", prRowsAdded, 15, "y", true, 0},
        PutCase{"AddTake", paAddTake, false, 5, "y", prRowsAdded, 15, "x", true, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(StorageFixture, PutRefuseTwiceAnswersOkThenConflict) {
  TPutResult first = prCannotAdd, second = prCannotAdd;
  TDataRow* stored = Put(1, "a", 1, "", paRefuse, &first);
  std::unique_ptr<TDataRow> other = MakeRow(1, "a", 2);
  second = Storage->PutNewRow(other, paRefuse);
  EXPECT_EQ(first, prOk);
  EXPECT_EQ(second, prKeyConflict);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->State(), rsExternControlled);
  EXPECT_EQ(stored->State(), rsInserted);
  EXPECT_EQ(stored->Storage(), Storage.get());
}

TEST_F(StorageFixture, InsertRowChecksTableAndState) {
  auto otherKey = TKeyField::CreateSimpleKey("OtherK", IntegerType());
  auto otherTable = TDataTable::CreateTable("OtherT", nullptr, {otherKey.get()}, {}, nullptr);
  std::unique_ptr<TDataRow> foreign = TDataRow::CreateFromDefaults(otherTable.get());
  try {
    Storage->PutRow(foreign.get(), paRefuse);
    FAIL() << "a row of another table was taken";
  } catch (const platform::Exception& e) {
    EXPECT_STREQ(e.what(), "Row and RowStorage types differ! (OtherT <> StorageT)");
  }
  EXPECT_EQ(Storage->Root()->ChildCount(), 0);

  TDataRow* stored = Put(1, "a", 1);
  TDataErrorCapture capture;
  EXPECT_EQ(Storage->PutRow(stored, paRefuse), prKeyConflict);
  ASSERT_EQ(capture.Warnings().size(), 1u);
  EXPECT_EQ(capture.Warnings()[0].Message,
            "Trying to add a row to RowStorage that is already in the Storage!");
  EXPECT_EQ(stored->State(), rsInserted);
  EXPECT_THROW(Storage->PutRow(nullptr, paRefuse), platform::EAssertionFailed);
}

// A storage with a view but without criteria: the base of TRowStorage on
// its own (it patches the view instead of rebuilding it).
class TPlainStorage : public TCustomRowStorage {
 public:
  using TCustomRowStorage::TCustomRowStorage;
  bool DeferredTotals() const override { return false; }
  void SetDeferredTotals(bool) override {}
  std::unique_ptr<TCustomRowStorage> Clone() const override { return nullptr; }
};

TEST_F(StorageFixture, MergedRowCountsAsStoredInACustomStorage) {
  TPlainStorage plain(Table.get());
  std::unique_ptr<TDataRow> first = MakeRow(1, "a", 1, "x");
  ASSERT_EQ(plain.PutNewRow(first, paRefuse), prOk);
  std::unique_ptr<TDataRow> second = MakeRow(1, "a", 2, "x");
  TDataRow* merged = second.get();
  ASSERT_EQ(plain.PutNewRow(second, paAddKeep), prRowsAdded);
  EXPECT_EQ(merged->State(), rsInserted);
  // Being known as stored, a key write moves it in the tree.
  EXPECT_EQ(merged->SetFieldValue(K2.get(), StringValue("b")), srOk);
  EXPECT_EQ(plain.LocateRow({"1", "a"}), nullptr);
  EXPECT_EQ(plain.LocateRow({"1", "b"}), merged);
  EXPECT_DOUBLE_EQ(ValueOf(plain.Root(), V.get()), 3);
}

TEST_F(StorageFixture, CustomStoragePatchesAValidView) {
  TPlainStorage plain(Table.get());
  std::unique_ptr<TDataRow> first = MakeRow(1, "a", 1);
  plain.PutNewRow(first, paRefuse);
  ASSERT_EQ(plain.RowCount(), 1);
  std::unique_ptr<TDataRow> second = MakeRow(2, "a", 1);
  TDataRow* raw = second.get();
  ASSERT_EQ(plain.InsertRow(raw, paRefuse, 0), prOk);
  (void)second.release();
  ASSERT_EQ(plain.RowCount(), 2);
  EXPECT_EQ(plain.GetRow(0), raw) << "inserted where the caller asked";
  raw->Delete(true);
  ASSERT_EQ(plain.RowCount(), 1);
  EXPECT_NE(plain.GetRow(0), raw);
}

// --------------------------------------------------------------- criteria

TEST_F(StorageFixture, CriteriaOnAFieldRefusesEveryRow) {
  auto criteria = std::make_unique<TCriteria>();
  criteria->FindCriteriaField(N.get(), true)->AddValue(StringValue("x"));
  Storage->SetCriteria(std::move(criteria));
  EXPECT_FALSE(Storage->CriteriaCoversFields());
  for (const char* n : {"x", "y", ""}) {
    SCOPED_TRACE(n);
    TPutResult result = prOk;
    EXPECT_EQ(Put(1, n, 1, n, paRefuse, &result), nullptr);
    EXPECT_EQ(result, prCannotAdd);
  }
  EXPECT_TRUE(Storage->IsEmpty());
}

TEST_F(StorageFixture, KeyCriteriaRefusesIllegalKeys) {
  auto criteria = std::make_unique<TCriteria>();
  criteria->FindCriteriaField(K1.get(), true)->AddValue(IntegerValue(1));
  criteria->FindCriteriaField(K2.get(), true)->AddInterval(StringValue("a"), StringValue("m"));
  Storage->SetCriteria(std::move(criteria));
  EXPECT_TRUE(Storage->CriteriaCoversFields());
  ASSERT_NE(Storage->KeyCriteria(), nullptr);
  EXPECT_EQ(Storage->KeyCriteria()->CriteriaFieldCount(), 2);
  struct {
    int K1;
    const char* K2;
    TPutResult Result;
  } cases[] = {
      {1, "b", prOk}, {2, "b", prIllegalKeyValue}, {1, "z", prIllegalKeyValue}, {1, "m", prOk}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.K1) + c.K2);
    TPutResult result = prOk;
    Put(c.K1, c.K2, 1, "", paRefuse, &result);
    EXPECT_EQ(result, c.Result);
  }
  EXPECT_EQ(Storage->CountRows(rsInserted), 2);
}

TEST_F(StorageFixture, SetCriteriaEmptiesTheStorage) {
  Put(1, "a", 1);
  Put(2, "b", 1);
  ASSERT_EQ(Storage->RowCount(), 2);
  Storage->SetCriteria(std::make_unique<TCriteria>());
  EXPECT_EQ(Storage->RowCount(), 0);
  EXPECT_EQ(Storage->Root()->ChildCount(), 0);
  EXPECT_FALSE(Storage->HasRowsFor({}));
  EXPECT_NE(Put(1, "a", 1), nullptr) << "the emptied storage takes rows again";
}

// --------------------------------------------------------------- locating

TEST_F(StorageFixture, LocateRowByKeyTexts) {
  TDataRow* a = Put(1, "a", 1);
  Put(1, "b", 1);
  Put(20, "a", 1);
  struct {
    std::vector<std::string> Keys;
    TDataRow* Expected;
    bool Warns;
  } cases[] = {{{}, nullptr, true},          {{"1"}, nullptr, true},
               {{"1", "a"}, a, false},       {{"1", "zz"}, nullptr, false},
               {{"3", "a"}, nullptr, false}, {{"1", "a", "extra"}, a, false},
               {{"x", "a"}, nullptr, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Keys));
    TDataErrorCapture capture;
    EXPECT_EQ(Storage->LocateRow(c.Keys), c.Expected);
    ASSERT_EQ(capture.Warnings().size(), c.Warns ? 1u : 0u);
    if (c.Warns) {
      EXPECT_EQ(capture.Warnings()[0].Message, "LocateRow: Too few elements in array!");
    }
  }
}

TEST_F(StorageFixture, HasRowsForLeadingKeys) {
  EXPECT_FALSE(Storage->HasRowsFor({})) << "an empty storage has no rows";
  Put(1, "a", 1);
  Put(2, "b", 1);
  struct {
    std::vector<std::string> Keys;
    bool Expected;
  } cases[] = {{{}, true},         {{"1"}, true},       {{"3"}, false},
               {{"1", "a"}, true}, {{"1", "b"}, false}, {{"2", "b", "x"}, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Keys));
    EXPECT_EQ(Storage->HasRowsFor(c.Keys), c.Expected);
  }
  Storage->GetRows(nullptr, nullptr, gmDelete);
  EXPECT_FALSE(Storage->HasRowsFor({}));
}

TEST_F(StorageFixture, LocateByAnotherRowsValues) {
  TDataRow* b = Put(1, "b", 1);
  Put(1, "c", 1);
  std::unique_ptr<TDataRow> probe = MakeRow(1, "b", 99);
  EXPECT_EQ(Storage->LocateByRowValues(probe.get(), {}), b);
  probe->SetFieldValue(K2.get(), StringValue("q"));
  EXPECT_EQ(Storage->LocateByRowValues(probe.get(), {}), nullptr);
}

TEST_F(StorageFixture, FindOneAndDeleteRowsWhere) {
  TDataRow* a = Put(1, "a", 1);
  Put(1, "b", 1);
  Put(2, "b", 1);
  TCriteria one;
  one.FindCriteriaField(K2.get(), true)->AddValue(StringValue("a"));
  EXPECT_EQ(Storage->FindOne(one, false), a);
  TCriteria none;
  none.FindCriteriaField(K2.get(), true)->AddValue(StringValue("q"));
  EXPECT_EQ(Storage->FindOne(none, false), nullptr);
  TCriteria many;
  many.FindCriteriaField(K2.get(), true)->AddValue(StringValue("b"));
  EXPECT_NE(Storage->FindOne(many, true), nullptr);
  try {
    Storage->FindOne(many, false);
    FAIL() << "several matches were accepted";
  } catch (const platform::Exception& e) {
    EXPECT_STREQ(e.what(), "More than one match!");
  }
  Storage->DeleteRowsWhere(*many.FindCriteriaField(K2.get()));
  EXPECT_EQ(View(), (std::vector<std::string>{"1/a"}));
  EXPECT_EQ(Storage->Root()->ChildCount(), 1) << "empty subtotal rows went with their rows";
}

// ------------------------------------------------------------------- view

class ViewTest : public StorageFixture {
 protected:
  void SetUp() override {
    StorageFixture::SetUp();
    Put(2, "a", 1);
    Put(1, "b", 2);
    Put(1, "a", 3);
  }
};

TEST_F(ViewTest, ShapesOfTheView) {
  EXPECT_EQ(View(), (std::vector<std::string>{"1/a", "1/b", "2/a"}));
  Storage->SetLevelsVisible(true);
  EXPECT_EQ(View(), (std::vector<std::string>{"root", "S1:1", "1/a", "1/b", "S1:2", "2/a"}));
  Storage->SetTotalsBelow(true);
  EXPECT_EQ(View(), (std::vector<std::string>{"1/a", "1/b", "S1:1", "2/a", "S1:2", "root"}));
  Storage->SetFlatMode(true);
  EXPECT_EQ(View(), (std::vector<std::string>{"1/a", "1/b", "2/a"}));
  EXPECT_EQ(Storage->FirstDataRow(), Storage->LocateRow({"1", "a"}));
}

TEST_F(ViewTest, DescendingLevelIsShownReversed) {
  Storage->GetRows(nullptr, nullptr, gmDelete);
  TRowSortOrder order;
  order.Add(K1.get(), soAscending);
  order.Add(K2.get(), soDescending);
  Storage->SetTreeKeys(&order);
  Put(2, "a", 1);
  Put(1, "b", 2);
  Put(1, "a", 3);
  EXPECT_EQ(View(), (std::vector<std::string>{"1/b", "1/a", "2/a"}));
  platform::TStringList rows;
  Storage->GetRows(&rows, nullptr, gmRows);
  EXPECT_EQ(Describe(rows), (std::vector<std::string>{"1/b", "1/a", "2/a"}))
      << "the get-rows walk sorts like the view";
}

TEST_F(ViewTest, LevelSortedByItsSortField) {
  Storage->GetRows(nullptr, nullptr, gmDelete);
  K2->SetSortField(N.get());
  Storage->SetTreeKeys(&Storage->TreeOrder());
  ASSERT_EQ(Storage->GetTreeKey(1).SortField(), N.get());
  ASSERT_TRUE(Storage->CheckTreeOrder()) << "N is a field of the rows themselves";
  Put(1, "a", 1, "z");
  Put(1, "b", 1, "m");
  Put(1, "c", 1, "m");
  Put(1, "d", 1, "a");
  std::vector<std::string> expected{"1/d", "1/b", "1/c", "1/a"};  // by N, ties by K2
  EXPECT_EQ(View(), expected);
  platform::TStringList rows;
  Storage->GetRows(&rows, nullptr, gmRows);
  EXPECT_EQ(Describe(rows), expected);
  Storage->SetFlatMode(true);
  EXPECT_EQ(View(), (std::vector<std::string>{"1/a", "1/b", "1/c", "1/d"}))
      << "the flat view follows the flat order";
}

TEST_F(StorageFixture, CheckTreeOrderNeedsReadableSortFields) {
  auto outside = TDataField::CreateField("Outside", IntegerType());
  auto calc = TCalcField::CreateCalc("CalcSort", IntegerType(), true, false);
  auto homeOfK1 = TDataTable::CreateTable("HomeK1", nullptr, {K1.get()}, {}, nullptr);
  auto homeOfK2 = TDataTable::CreateTable("HomeK2", nullptr, {K2.get()}, {}, nullptr);
  struct {
    const char* Name;
    TDataField* Key;  // the tree key whose sort field is set
    TDataField* SortField;
    TDataTable* Home;  // the sort field's home table
    bool Expected;
  } cases[] = {{"a field of the table", K2.get(), V.get(), nullptr, true},
               {"outside, no home table", K2.get(), outside.get(), nullptr, false},
               {"home keyed by a level above", K2.get(), outside.get(), homeOfK1.get(), true},
               {"home keyed by this level", K2.get(), outside.get(), homeOfK2.get(), true},
               {"home keyed by a level below", K1.get(), outside.get(), homeOfK2.get(), false},
               {"a calculated field", K1.get(), calc.get(), nullptr, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    c.SortField->SetHomeTable(c.Home);
    c.Key->SetSortField(c.SortField);
    Storage->SetTreeKeys(&Storage->TreeOrder());
    EXPECT_EQ(Storage->CheckTreeOrder(), c.Expected);
    c.Key->SetSortField(nullptr);
    c.SortField->SetHomeTable(nullptr);
  }
  Storage->SetTreeKeys(&Storage->TreeOrder());
  EXPECT_TRUE(Storage->CheckTreeOrder());
}

TEST_F(ViewTest, ExpandAndCollapse) {
  TDataRow* a = Storage->LocateRow({"1", "a"});
  TSubTotalRow* s1 = Storage->Collapse(a);
  ASSERT_NE(s1, nullptr);
  EXPECT_EQ(View(), (std::vector<std::string>{"S1:1", "2/a"}));
  Storage->Expand(s1);
  EXPECT_EQ(View(), (std::vector<std::string>{"1/a", "1/b", "2/a"}));
  EXPECT_EQ(Storage->Collapse(s1), Storage->Root());
  EXPECT_EQ(View(), (std::vector<std::string>{"root"})) << "every descendant is hidden";
  EXPECT_EQ(Storage->Collapse(Storage->Root()), nullptr) << "the root has no parent";
  Storage->Expand(Storage->Root());
  EXPECT_EQ(View(), (std::vector<std::string>{"S1:1", "S1:2"}));
  std::unique_ptr<TDataRow> free = MakeRow(5, "z", 1);
  EXPECT_FALSE(Storage->CanCollapse(free.get()));
  EXPECT_FALSE(Storage->IsOwnSubtotal(a));
}

TEST_F(ViewTest, GetRowOutOfRangeNamesTheCount) {
  try {
    Storage->GetRow(3);
    FAIL();
  } catch (const platform::EAssertionFailed& e) {
    EXPECT_STREQ(e.what(),
                 "TRowStorage.GetRow: (idx >= 0) and (idx < FRowList.Count), idx: 3, "
                 "FRowList.Count: 3");
  }
}

TEST_F(ViewTest, ViewFollowsChanges) {
  ASSERT_EQ(Storage->RowCount(), 3);
  TDataRow* a = Storage->LocateRow({"1", "a"});
  a->SetVisible(false);
  EXPECT_EQ(View(), (std::vector<std::string>{"1/b", "2/a"}));
  a->SetVisible(true);
  EXPECT_EQ(a->SetFieldValue(K1.get(), IntegerValue(3)), srOk);
  EXPECT_EQ(View(), (std::vector<std::string>{"1/b", "2/a", "3/a"}));
  Storage->LocateRow({"2", "a"})->Delete(true);
  EXPECT_EQ(View(), (std::vector<std::string>{"1/b", "3/a"}));
}

// --------------------------------------------------------- get-rows modes

TEST_F(ViewTest, GetRowsModes) {
  TCriteria k2a;
  k2a.FindCriteriaField(K2.get(), true)->AddValue(StringValue("a"));

  platform::TStringList rows;
  Storage->GetRows(&rows, &k2a, gmRows);
  EXPECT_EQ(Describe(rows), (std::vector<std::string>{"1/a", "2/a"}));
  EXPECT_EQ(RowsOf(rows)[0], Storage->LocateRow({"1", "a"}));

  TOwnedCopies copies;
  Storage->GetRows(&copies.List, &k2a, gmCopies);
  ASSERT_EQ(Describe(copies.List), (std::vector<std::string>{"1/a", "2/a"}));
  EXPECT_NE(RowsOf(copies.List)[0], Storage->LocateRow({"1", "a"}));
  EXPECT_EQ(RowsOf(copies.List)[0]->Storage(), nullptr);
  EXPECT_EQ(Storage->CountRows(rsInserted), 3);

  TOwnedCopies moved;
  Storage->GetRows(&moved.List, &k2a, gmMoveOut);
  EXPECT_EQ(Describe(moved.List), (std::vector<std::string>{"1/a", "2/a"}));
  EXPECT_EQ(View(), (std::vector<std::string>{"1/b"}));
  EXPECT_EQ(Storage->Root()->ChildCount(), 1);

  EXPECT_THROW(Storage->GetRows(nullptr, &k2a, gmRows), platform::EAssertionFailed);
}

TEST_F(ViewTest, DeleteModeLeavesNoEmptySubtotals) {
  Put(3, "c", 1)->SetState(rsUnchanged);
  struct {
    const char* Name;
    TDataField* Field;
    TValue Value;
    std::vector<std::string> Left;
    int RootChildren;
  } steps[] = {{"K2=a", K2.get(), StringValue("a"), {"1/b", "3/c"}, 2},
               {"K1=3", K1.get(), IntegerValue(3), {"1/b"}, 1},
               {"K2=b", K2.get(), StringValue("b"), {}, 0}};
  for (auto& s : steps) {
    SCOPED_TRACE(s.Name);
    TCriteria criteria;
    criteria.FindCriteriaField(s.Field, true)->AddValue(s.Value);
    Storage->GetRows(nullptr, &criteria, gmDelete);
    EXPECT_EQ(View(), s.Left);
    ASSERT_EQ(Storage->Root()->ChildCount(), s.RootChildren);
    for (int i = 0; i < Storage->Root()->ChildCount(); ++i) {
      auto* sub = static_cast<TSubTotalRow*>(Storage->Root()->Child(i));
      ASSERT_NE(sub, nullptr);
      EXPECT_GT(sub->ChildCount(), 0);
      for (int j = 0; j < sub->ChildCount(); ++j) EXPECT_NE(sub->Child(j), nullptr);
    }
  }
  EXPECT_EQ(Storage->DeletedRowCount(), 1) << "the loaded row waits for the write-back";
  EXPECT_FALSE(Storage->IsEmpty());
  EXPECT_TRUE(Storage->IsModified());
}

TEST_F(ViewTest, HasRowsAndFirstNext) {
  TCriteria k2b;
  k2b.FindCriteriaField(K2.get(), true)->AddValue(StringValue("b"));
  TCriteria k2q;
  k2q.FindCriteriaField(K2.get(), true)->AddValue(StringValue("q"));
  EXPECT_TRUE(Storage->HasRows(&k2b));
  EXPECT_FALSE(Storage->HasRows(&k2q));
  EXPECT_TRUE(Storage->HasRows(nullptr));
  EXPECT_EQ(Storage->Root()->ChildCount(), 2) << "HasRows removes nothing";

  std::vector<std::string> walked;
  Storage->First();
  while (TAbstractRow* row = Storage->Next()) walked.push_back(Describe(row));
  EXPECT_EQ(walked, (std::vector<std::string>{"1/a", "1/b", "2/a"}));
  EXPECT_EQ(Storage->Next(), nullptr);
}

TEST_F(ViewTest, GetRowsByTextPrefix) {
  Put(1, "ab", 1);
  Put(2, "abc", 1);
  Put(2, "b", 1);
  TCriteria k1is2;
  k1is2.FindCriteriaField(K1.get(), true)->AddValue(IntegerValue(2));
  struct {
    const char* Text;
    const TCondition* Condition;
    std::vector<std::string> Expected;
  } cases[] = {{"a", nullptr, {"1/a", "1/ab", "2/a", "2/abc"}},
               {"ab", nullptr, {"1/ab", "2/abc"}},
               {"a", &k1is2, {"2/a", "2/abc"}},
               {"", &k1is2, {"2/a", "2/abc", "2/b"}},
               {"", nullptr, {"1/a", "1/ab", "1/b", "2/a", "2/abc", "2/b"}},
               {"abcdefghijkl", nullptr, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("'") + c.Text + "'" + (c.Condition ? " with K1=2" : ""));
    platform::TStringList rows;
    Storage->GetRowsByText(&rows, c.Condition, c.Text, K2.get(), gmRows);
    EXPECT_EQ(Describe(rows), c.Expected);
  }
}

// ----------------------------------------------------- states and counts

TEST_F(ViewTest, CountsAndModification) {
  EXPECT_TRUE(Storage->IsModified()) << "inserted rows are changes";
  for (int i = 0; i < 3; ++i) static_cast<TDataRow*>(Storage->GetRow(i))->SetState(rsUnchanged);
  EXPECT_FALSE(Storage->IsModified());
  TDataRow* b = Storage->LocateRow({"1", "b"});
  EXPECT_EQ(b->SetFieldValue(V.get(), DoubleValue(7)), srOk);
  EXPECT_EQ(b->State(), rsModified);
  Storage->LocateRow({"2", "a"})->Delete(true);
  struct {
    TRowState State;
    int Count;
  } counts[] = {{rsUnchanged, 1}, {rsModified, 1}, {rsDeleted, 1},
                {rsInserted, 0},  {rsExtern, 0},   {rsExternControlled, 0}};
  for (const auto& c : counts) {
    SCOPED_TRACE(static_cast<int>(c.State));
    EXPECT_EQ(Storage->CountRows(c.State), c.Count);
    platform::TStringList list;
    Storage->CollectState(list, c.State);
    EXPECT_EQ(list.Count(), c.Count);
  }
  EXPECT_DOUBLE_EQ(ValueOf(Storage->Root(), V.get()), 10);
  EXPECT_FALSE(Storage->Owns(nullptr));
  EXPECT_TRUE(Storage->Owns(b));
  EXPECT_TRUE(Storage->RemoveRow(b));
  std::unique_ptr<TDataRow> removed(b);
  EXPECT_EQ(b->State(), rsExternControlled);
  EXPECT_FALSE(Storage->RemoveRow(b)) << "not in the tree any more";
  EXPECT_DOUBLE_EQ(ValueOf(Storage->Root(), V.get()), 3);
}

TEST_F(ViewTest, LastChangeMovesWithChanges) {
  platform::TDateTime before = platform::Now();
  Put(9, "z", 1);
  platform::TDateTime after = platform::Now();
  constexpr double oneMs = 1.0 / platform::MSecsPerDay;
  EXPECT_GE(Storage->LastChange(), before - oneMs);
  EXPECT_LE(Storage->LastChange(), after + oneMs);
}

TEST_F(ViewTest, TreeKeysAreFixedOnceUsed) {
  TRowSortOrder order;
  order.Add(K2.get(), soAscending);
  try {
    Storage->SetTreeKeys(&order);
    FAIL();
  } catch (const platform::Exception& e) {
    EXPECT_STREQ(e.what(),
                 "TAbstractRowStorage.SetTreeKeys: Storage must be empty (unused) when settings "
                 "TreeKeys!");
  }
  EXPECT_EQ(Storage->TreeKeyCount(), 2);
  EXPECT_EQ(Storage->GetTreeKey(1).Field(), K2.get());
  EXPECT_TRUE(Storage->GetTreeKey(2).IsDataLevel());
  EXPECT_EQ(&Storage->DataLevelKey(), &Storage->GetTreeKey(2));
  EXPECT_EQ(Storage->TreeKeyOf(K2.get()), &Storage->GetTreeKey(1));
  EXPECT_EQ(Storage->TreeKeyOf(nullptr), &Storage->DataLevelKey());
  EXPECT_EQ(Storage->TreeKeyOf(V.get()), nullptr);
  EXPECT_THROW(Storage->GetTreeKey(3), platform::EAssertionFailed);
  EXPECT_TRUE(Storage->CheckTreeOrder());
}

TEST(StorageCreation, TableWithoutKeysIsRefusedClearly) {
  auto field = TDataField::CreateField("Lonely", IntegerType());
  auto table = TDataTable::CreateTable("NoKeys", nullptr, {}, {field.get()}, nullptr);
  EXPECT_THROW(TRowStorage storage(table.get()), platform::Exception);
  EXPECT_FALSE(table->Locked()) << "a refused storage leaves the table as it was";
  EXPECT_THROW(TRowStorage storage(nullptr), platform::EAssertionFailed);
}

TEST_F(StorageFixture, StorageLocksItsTable) {
  auto extra = TDataField::CreateField("Extra", IntegerType());
  EXPECT_TRUE(Table->Locked());
  EXPECT_THROW(Table->AddField(extra.get()), platform::Exception);
  EXPECT_EQ(Table->FieldCount(), 4);
}

// ------------------------------------------------------- subtotal handler

TEST_F(ViewTest, SubtotalsThroughTheStoragesHandler) {
  TSubTotalRow* root = Storage->Root();
  EXPECT_DOUBLE_EQ(ValueOf(root, V.get()), 6);
  EXPECT_EQ(&Storage->SubTotalHandlerOf(), DefaultSubTotalHandler());
  try {
    root->SetFieldValue(V.get(), DoubleValue(12));
    FAIL() << "the default handler wrote a subtotal";
  } catch (const platform::Exception& e) {
    EXPECT_STREQ(e.what(),
                 "Subtotals are by default read-only. Subclass TSubTotalHandler for writable "
                 "subtotals!");
  }
  Storage->SetSubTotalHandler(std::make_unique<TSubTotalHandler>(true));
  EXPECT_EQ(&Storage->SubTotalHandlerOf(), Storage->SubTotalHandler());
  EXPECT_EQ(root->SetFieldValue(V.get(), DoubleValue(12)), srOk);
  EXPECT_DOUBLE_EQ(ValueOf(root, V.get()), 12);
  // Two groups share 6 evenly; each group shares its part over its rows.
  EXPECT_DOUBLE_EQ(ValueOf(Storage->LocateRow({"2", "a"}), V.get()), 4);
  EXPECT_DOUBLE_EQ(ValueOf(Storage->LocateRow({"1", "a"}), V.get()), 4.5);
  Storage->SetSubTotalHandler(nullptr);
  EXPECT_EQ(&Storage->SubTotalHandlerOf(), DefaultSubTotalHandler());
}

TEST_F(ViewTest, DeferredTotalsRecalculateWhenTurnedOff) {
  Storage->SetDeferredTotals(true);
  Storage->LocateRow({"1", "a"})->SetFieldValue(V.get(), DoubleValue(30));
  EXPECT_FALSE(Storage->Root()->TotalsValid());
  Storage->SetDeferredTotals(false);
  EXPECT_FALSE(Storage->DeferredTotals());
  EXPECT_TRUE(Storage->Root()->TotalsValid());
  EXPECT_DOUBLE_EQ(ValueOf(Storage->Root(), V.get()), 33);
}

// ------------------------------------------------------------ copies

TEST_F(ViewTest, CreateCopyKeepsRowsStatesAndCriteria) {
  TDataRow* a = Storage->LocateRow({"1", "a"});
  a->SetState(rsUnchanged);
  a->SetVisible(false);
  TDataRow* b = Storage->LocateRow({"1", "b"});
  b->SetState(rsUnchanged);
  b->SetFieldValue(V.get(), DoubleValue(5));
  TDataRow* gone = Put(4, "d", 1);
  gone->SetState(rsUnchanged);
  gone->Delete(true);
  Storage->SetTotalsBelow(true);

  std::unique_ptr<TRowStorage> copy = TRowStorage::CreateCopy(Storage.get());
  EXPECT_TRUE(copy->TotalsBelow());
  EXPECT_TRUE(copy->RebuildViewOnChange());
  struct {
    std::vector<std::string> Keys;
    TRowState State;
    bool Visible;
    double V;
  } rows[] = {{{"1", "a"}, rsUnchanged, false, 3},
              {{"1", "b"}, rsModified, true, 5},
              {{"2", "a"}, rsInserted, true, 1}};
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::PrintToString(r.Keys));
    TDataRow* row = copy->LocateRow(r.Keys);
    ASSERT_NE(row, nullptr);
    EXPECT_NE(row, Storage->LocateRow(r.Keys));
    EXPECT_EQ(row->Storage(), copy.get());
    EXPECT_EQ(row->State(), r.State);
    EXPECT_EQ(row->Visible(), r.Visible);
    EXPECT_DOUBLE_EQ(ValueOf(row, V.get()), r.V);
  }
  ASSERT_EQ(copy->DeletedRowCount(), 1);
  EXPECT_EQ(copy->DeletedRow(0)->State(), rsDeleted);
  EXPECT_NE(copy->DeletedRow(0), Storage->DeletedRow(0));
  copy->LocateRow({"2", "a"})->SetFieldValue(V.get(), DoubleValue(50));
  EXPECT_DOUBLE_EQ(ValueOf(Storage->LocateRow({"2", "a"}), V.get()), 1) << "independent";
  EXPECT_THROW(TRowStorage::CreateCopy(nullptr), platform::EAssertionFailed);
}

TEST_F(StorageFixture, CloneKeepsTreeOrderAndCriteria) {
  TRowSortOrder order;
  order.Add(K2.get(), soAscending);
  order.Add(K1.get(), soDescending);
  auto criteria = std::make_unique<TCriteria>();
  criteria->FindCriteriaField(K1.get(), true)->AddInterval(IntegerValue(1), IntegerValue(5));
  Storage->SetCriteria(std::move(criteria));
  Storage->SetTreeKeys(&order);
  Put(1, "a", 1);
  Put(2, "a", 1);
  std::unique_ptr<TCustomRowStorage> clone = Storage->Clone();
  ASSERT_EQ(clone->TreeKeyCount(), 2);
  EXPECT_EQ(clone->GetTreeKey(0).Field(), K2.get());
  EXPECT_EQ(clone->GetTreeKey(1).Direction(), soDescending);
  EXPECT_EQ(clone->LocateRow({"a", "2"})->Storage(), clone.get());
  std::unique_ptr<TDataRow> outside = MakeRow(9, "a", 1);
  EXPECT_EQ(clone->PutNewRow(outside, paRefuse), prIllegalKeyValue) << "criteria copied";
  auto* cloned = dynamic_cast<TRowStorage*>(clone.get());
  ASSERT_NE(cloned, nullptr);
  EXPECT_NE(cloned->Criteria(), Storage->Criteria());
}

TEST_F(StorageFixture, AssignRowsSkipsRowsTheTargetRefuses) {
  Put(1, "a", 1);
  Put(7, "a", 1);
  TRowStorage target(Table.get());
  auto criteria = std::make_unique<TCriteria>();
  criteria->FindCriteriaField(K1.get(), true)->AddValue(IntegerValue(1));
  target.SetCriteria(std::move(criteria));
  target.AssignRows(*Storage);
  EXPECT_EQ(target.RowCount(), 1);
  EXPECT_NE(target.LocateRow({"1", "a"}), nullptr);
}

// ---------------------------------------------------------------- trace

TEST_F(StorageFixture, WriteTraceListsEachSourceOnce) {
  TRowStorage other(Table.get());
  platform::TStringList sources, lines;
  EXPECT_TRUE(Storage->WriteTrace(sources, lines, 0));
  EXPECT_TRUE(other.WriteTrace(sources, lines, 1));
  EXPECT_FALSE(Storage->WriteTrace(sources, lines, 2));
  ASSERT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines[0], "TRowStorage(StorageT) Output: 0 [1]");
  EXPECT_EQ(lines[1], "  TRowStorage(StorageT) Output: 0 [2]");
  EXPECT_EQ(lines[2], "    [1]");
  EXPECT_EQ(sources.Count(), 2);
  std::string description;
  Storage->Description(description);
  EXPECT_EQ(description, "StorageT");
  EXPECT_TRUE(Storage->IsStorage());
  EXPECT_EQ(Storage->SortOrder(), &Storage->TreeOrder());
  EXPECT_EQ(Storage->SourceKind(), 2);
}

}  // namespace
}  // namespace dataframework::storagetest
