// Subtotal rows: cached totals that stay right, what a subtotal row shows,
// the subtotal handlers with distribution and undo, and the tree algorithms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "dataframework/elements/RowSortOrder.h"
#include "dataframework/elements/tests/RowsFixture.h"
#include "platform/Errors.h"

namespace dataframework::rowstest {
namespace {

using platform::TDataErrorCapture;

std::string ErrorOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const platform::Exception& e) {
    return e.what();
  }
  return "(no error)";
}

// ---------------------------------------------------------- totals

TEST_F(RowsFixture, TotalsAreCachedAndMarkedDirtyByChanges) {
  Put(1, "a", 1);
  TDataRow* two = Put(1, "b", 2);
  Put(1, "c", 3);
  TSubTotalRow* sub = Sub(1);
  TSubTotalRow* root = Storage->Root();
  EXPECT_FALSE(sub->TotalsValid());
  EXPECT_DOUBLE_EQ(Num(sub, A.get()), 6);
  EXPECT_TRUE(sub->TotalsValid());
  EXPECT_DOUBLE_EQ(Num(root, A.get()), 6);
  EXPECT_TRUE(root->TotalsValid());

  ASSERT_EQ(two->SetFieldValue(A.get(), DoubleValue(10)), srOk);
  EXPECT_FALSE(sub->TotalsValid());
  EXPECT_FALSE(root->TotalsValid());
  EXPECT_DOUBLE_EQ(Num(root, A.get()), 14) << "read through the root first";
  EXPECT_TRUE(sub->TotalsValid()) << "the root brought its children up to date";
  EXPECT_DOUBLE_EQ(Num(sub, A.get()), 14);

  // A non-aggregable field leaves the totals alone.
  ASSERT_EQ(two->SetFieldValue(N.get(), StringValue("x")), srOk);
  EXPECT_TRUE(sub->TotalsValid());

  TValue v;
  sub->SumChildren(A.get(), v);
  EXPECT_DOUBLE_EQ(ValueAsFloat(v), 14);
  sub->MarkDirty();
  EXPECT_FALSE(root->TotalsValid()) << "MarkDirty reaches every ancestor";
  root->ClearChildren();
  EXPECT_DOUBLE_EQ(Num(root, A.get()), 0) << "no children: the empty value";
  root->SumChildren(A.get(), v);
  EXPECT_DOUBLE_EQ(ValueAsFloat(v), 0);
}

TEST_F(RowsFixture, TotalsStayRightAfterEveryChange) {
  auto handler = std::make_unique<TSubTotalHandler>(true);
  Storage->SetSubTotalHandler(std::move(handler));
  const std::vector<std::pair<const char*, std::function<void()>>> steps = {
      {"puts",
       [&] {
         Put(1, "a", 1, 10);
         Put(1, "b", 2, 20);
         Put(2, "a", 3, 30, "", rsUnchanged);
         Put(3, "c", 4, 40);
         Put(1, "c", 0, 1);
       }},
      {"value write", [&] { Find(1, "b")->SetFieldValue(B.get(), DoubleValue(25)); }},
      {"key write to a new subtotal",
       [&] { Find(1, "a")->SetFieldValue(K1.get(), IntegerValue(4)); }},
      {"key write overwriting",
       [&] { Find(2, "a")->SetFieldValueEx(K1.get(), IntegerValue(4), saOverwrite); }},
      {"refused key write",
       [&] { EXPECT_EQ(Find(1, "b")->SetFieldValue(K2.get(), StringValue("c")), srKeyConflict); }},
      {"merging put",
       [&] {
         std::unique_ptr<TDataRow> row = MakeRow(3, "c", 6, 60);
         EXPECT_EQ(Storage->PutNewRow(row, paAddKeep), prRowsAdded);
       }},
      {"overwriting put",
       [&] {
         std::unique_ptr<TDataRow> row = MakeRow(1, "b", 0.5, 0.5);
         EXPECT_EQ(Storage->PutNewRow(row, paOverwrite), prKeyOverwrited);
       }},
      {"delete", [&] { Find(3, "c")->Delete(true); }},
      {"subtotal write",
       [&] { EXPECT_EQ(Sub(4)->SetFieldValue(A.get(), DoubleValue(100)), srOk); }},
      {"root write",
       [&] { EXPECT_EQ(Storage->Root()->SetFieldValue(B.get(), DoubleValue(0)), srOk); }},
      {"removal",
       [&] {
         TDataRow* row = Find(1, "b");
         ASSERT_TRUE(Storage->RemoveRow(row));
         delete row;
       }},
  };
  for (const auto& [name, step] : steps) {
    SCOPED_TRACE(name);
    step();
    ExpectTotalsRight();
  }
  EXPECT_EQ(Storage->Root()->ChildCount(), 2);
  EXPECT_DOUBLE_EQ(Num(Storage->Root(), A.get()), 100);
}

// ---------------------------------------------------------- what a subtotal shows

TEST_F(RowsFixture, SubtotalRowsShowTheKeysOfTheirLevelsAbove) {
  Put(1, "a", 1);
  Put(1, "b", 2, 0, "text");
  TSubTotalRow* root = Storage->Root();
  TSubTotalRow* sub = Sub(1);
  const int a = Table->IndexOfField(A.get());
  const int n = Table->IndexOfField(N.get());
  struct Case {
    const char* Name;
    TSubTotalRow* Row;
    TDataField* Field;
    int Index;
    bool HasValue;
  } cases[] = {
      {"root, level-0 key", root, K1.get(), -1, false},
      {"root, aggregable", root, A.get(), a, true},
      {"root, other field", root, N.get(), n, false},
      {"level 1, level-0 key", sub, K1.get(), 0, true},
      {"level 1, level-1 key", sub, K2.get(), -1, false},
      {"level 1, aggregable", sub, A.get(), a, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.Row->IndexOfField(c.Field), c.Index);
    EXPECT_EQ(c.Row->FieldHasValue(c.Field), c.HasValue);
  }
  EXPECT_EQ(ValueAsInteger(sub->ValueOf(K1.get())), 1);
  EXPECT_EQ(Text(sub, K2.get()), "") << "a lower level's key reads empty";
  EXPECT_EQ(root->KeyLevelCount(), 0);
  EXPECT_EQ(sub->KeyLevelCount(), 1);
  EXPECT_TRUE(sub->IsLastLevel());
  EXPECT_FALSE(root->IsLastLevel());
  EXPECT_EQ(sub->LevelField(), K2.get());
  EXPECT_THROW(sub->IndexOfField(nullptr), platform::EAssertionFailed);
  EXPECT_THROW(sub->FieldHasValue(nullptr), platform::EAssertionFailed);

  std::unique_ptr<TDataField> outside = TDataField::CreateField("ROutside", DoubleType());
  EXPECT_FALSE(sub->FieldHasValue(outside.get()));
}

TEST_F(RowsFixture, KeyCriteriaFixedKeysShowOnEveryLevel) {
  auto criteria = std::make_unique<TCriteria>();
  criteria->CriteriaFields(K2.get()).AddValue(StringValue("only"));
  Storage->SetCriteria(std::move(criteria));
  Put(1, "only", 5);
  TSubTotalRow* sub = Sub(1);
  EXPECT_EQ(sub->IndexOfField(K2.get()), 1);
  EXPECT_TRUE(sub->FieldHasValue(K2.get()));
  EXPECT_EQ(Text(sub, K2.get()), "only");
  EXPECT_EQ(Text(Storage->Root(), K2.get()), "only");
}

TEST_F(RowsFixture, ChildQueriesSkipNothingAndCountStates) {
  Put(1, "a", 1, 0, "", rsUnchanged);
  Put(1, "b", 2, 0, "", rsModified);
  Put(2, "a", 3);
  TSubTotalRow* root = Storage->Root();
  EXPECT_TRUE(root->HasDataRows());
  EXPECT_TRUE(root->IsChanged());
  EXPECT_EQ(root->CountState(rsUnchanged), 1);
  EXPECT_EQ(root->CountState(rsModified), 1);
  EXPECT_EQ(root->CountState(rsInserted), 1);
  platform::TStringList list;
  root->CollectState(&list, rsModified);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetObject(0), Find(1, "b"));
  Find(1, "b")->SetState(rsUnchanged);
  EXPECT_FALSE(Sub(1)->IsChanged());

  // ExpandInList replaces a subtotal row by its data rows.
  list.Clear();
  list.AddObject("", root);
  int position = 0;
  root->ExpandInList(&list, position);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(position, 3);
  EXPECT_EQ(list.GetObject(2), Find(2, "a"));
}

TEST_F(RowsFixture, VisibilityByLevel) {
  Put(1, "a", 1);
  Put(2, "a", 2);
  TSubTotalRow* root = Storage->Root();
  EXPECT_TRUE(root->AllVisible());
  root->SetVisibleAtLevel(2, false);  // the data level
  EXPECT_FALSE(Find(1, "a")->Visible());
  EXPECT_FALSE(root->AllVisible());
  root->SetVisibleAtLevel(1, true);
  EXPECT_TRUE(Sub(1)->Visible());
  EXPECT_TRUE(Sub(2)->Visible());
  root->SetChildrenVisible(false, true);
  EXPECT_FALSE(Sub(1)->Visible());
  EXPECT_FALSE(Find(2, "a")->Visible());
  Sub(2)->SetChildrenVisible(true, false);
  EXPECT_TRUE(Find(2, "a")->Visible());
  EXPECT_FALSE(Find(1, "a")->Visible());
}

// ---------------------------------------------------------- subtotal handlers

TEST_F(RowsFixture, DefaultHandlerRefusesSubtotalWrites) {
  Put(1, "a", 1);
  const char* refusal =
      "Subtotals are by default read-only. Subclass TSubTotalHandler for writable subtotals!";
  EXPECT_EQ(&Storage->SubTotalHandlerOf(), DefaultSubTotalHandler());
  EXPECT_EQ(ErrorOf([&] { Sub(1)->SetFieldValue(A.get(), DoubleValue(5)); }), refusal);
  std::string reason;
  EXPECT_FALSE(Sub(1)->CanWrite(A.get(), reason));
  EXPECT_EQ(reason, refusal);
  EXPECT_DOUBLE_EQ(Num(Find(1, "a"), A.get()), 1);
  EXPECT_EQ(DefaultSubTotalHandler()->MarkCount(), 0) << "marks are popped on failure";
}

TEST_F(RowsFixture, SubtotalWriteChecks) {
  auto owned = std::make_unique<TSubTotalHandler>(false);
  TSubTotalHandler* handler = owned.get();
  Storage->SetSubTotalHandler(std::move(owned));
  Put(1, "a", 1);
  struct Case {
    const char* Name;
    TSubTotalRow* Row;
    TDataField* Field;
    const char* Reason;  // none: writable
  } cases[] = {
      {"aggregable", Sub(1), A.get(), nullptr},
      {"key", Sub(1), K1.get(), "The subtotalrow's keys cannot be updated."},
      {"not aggregable", Sub(1), N.get(), "RN isn't aggregable."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string reason;
    EXPECT_EQ(handler->CanSet(Storage.get(), c.Row, reason, c.Field), c.Reason == nullptr);
    if (c.Reason != nullptr) {
      EXPECT_EQ(reason, c.Reason);
    }
    EXPECT_EQ(c.Row->CanWrite(c.Field, reason), c.Reason == nullptr);
  }
  std::string reason;
  EXPECT_FALSE(handler->CanSet(nullptr, Sub(1), reason, A.get()));
  EXPECT_EQ(reason, "The subtotalrow isn't in a storage.");
  // A subtotal row without children: its storage's root once emptied.
  Storage->Root()->ClearChildren();
  EXPECT_EQ(ErrorOf([&] { Storage->Root()->SetFieldValue(A.get(), DoubleValue(5)); }),
            "Cannot distribute value because the subtotal has no child rows!");
  EXPECT_EQ(handler->MarkCount(), 0);
}

TEST_F(RowsFixture, WritableSubtotalsSpreadTheDifferenceEvenly) {
  Storage->SetSubTotalHandler(std::make_unique<TSubTotalHandler>(false));
  Put(1, "a", 1);
  Put(1, "b", 2);
  Put(1, "c", 3);
  Put(2, "a", 4);
  EXPECT_EQ(Sub(1)->SetFieldValue(A.get(), DoubleValue(12)), srOk);
  EXPECT_DOUBLE_EQ(Num(Find(1, "a"), A.get()), 3);
  EXPECT_DOUBLE_EQ(Num(Find(1, "b"), A.get()), 4);
  EXPECT_DOUBLE_EQ(Num(Find(1, "c"), A.get()), 5);
  EXPECT_DOUBLE_EQ(Num(Sub(1), A.get()), 12);
  EXPECT_DOUBLE_EQ(Num(Storage->Root(), A.get()), 16);
  // From the root: each subtotal gets half of the difference, its rows a
  // third or all of that.
  EXPECT_EQ(Storage->Root()->SetFieldValue(A.get(), DoubleValue(26)), srOk);
  EXPECT_DOUBLE_EQ(Num(Sub(1), A.get()), 17);
  EXPECT_DOUBLE_EQ(Num(Sub(2), A.get()), 9);
  EXPECT_DOUBLE_EQ(Num(Find(2, "a"), A.get()), 9);
  ExpectTotalsRight();
}

struct UndoCase {
  const char* Name;
  bool Undo;
  bool FromRoot;  // write the root instead of subtotal 1
};

class SubtotalUndoTest : public RowsFixture, public ::testing::WithParamInterface<UndoCase> {};

TEST_P(SubtotalUndoTest, FailedWriteIsTakenBackWithUndo) {
  const UndoCase& c = GetParam();
  auto owned = std::make_unique<TTestHandler>(c.Undo);
  TTestHandler* handler = owned.get();
  Storage->SetSubTotalHandler(std::move(owned));
  TDataRow* r1 = Put(1, "a", 1, 0, "", rsUnchanged);
  TDataRow* r2 = Put(1, "b", 2);
  TDataRow* r3 = Put(2, "a", 3);
  TSubTotalRow* target = c.FromRoot ? Storage->Root() : Sub(1);
  handler->WrittenRow = target;
  handler->FailAfterDistribute = true;
  if (!c.FromRoot) handler->NewKeys = {StringValue("new")};

  EXPECT_EQ(ErrorOf([&] { target->SetFieldValue(A.get(), DoubleValue(100)); }),
            "distribution failed");
  EXPECT_EQ(handler->MarkCount(), 0);
  if (c.Undo) {
    EXPECT_DOUBLE_EQ(Num(r1, A.get()), 1);
    EXPECT_DOUBLE_EQ(Num(r2, A.get()), 2);
    EXPECT_DOUBLE_EQ(Num(r3, A.get()), 3);
    EXPECT_EQ(Find(1, "new"), nullptr) << "the added row is gone";
    EXPECT_EQ(Sub(1)->ChildCount(), 2);
    EXPECT_DOUBLE_EQ(Num(Storage->Root(), A.get()), 6);
  } else {
    EXPECT_DOUBLE_EQ(Num(target, A.get()), 100) << "what was done stays";
    if (!c.FromRoot) {
      ASSERT_NE(Find(1, "new"), nullptr);
      EXPECT_EQ(Find(1, "new")->State(), rsInserted);
    }
  }
  EXPECT_EQ(r1->State(), rsModified) << "undo restores values, not states";
  ExpectTotalsRight();
}

INSTANTIATE_TEST_SUITE_P(Modes, SubtotalUndoTest,
                         ::testing::Values(UndoCase{"UndoSubtotal", true, false},
                                           UndoCase{"UndoRoot", true, true},
                                           UndoCase{"NoUndoSubtotal", false, false},
                                           UndoCase{"NoUndoRoot", false, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(RowsFixture, NewChildrenOfADistributionCarryTheKeysAbove) {
  auto owned = std::make_unique<TTestHandler>(true);
  TTestHandler* handler = owned.get();
  Storage->SetSubTotalHandler(std::move(owned));
  Put(7, "a", 1);
  handler->WrittenRow = Sub(7);
  handler->NewKeys = {StringValue("b")};
  ASSERT_EQ(Sub(7)->SetFieldValue(A.get(), DoubleValue(10)), srOk);
  TDataRow* made = Find(7, "b");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetFIntegerValue(K1.get()), 7);
  EXPECT_EQ(made->Storage(), Storage.get());
  EXPECT_EQ(made->Parent(), Sub(7));
  EXPECT_DOUBLE_EQ(Num(Sub(7), A.get()), 10);
  ExpectTotalsRight();
}

// Totals of plain double fields over plain data rows are summed straight
// from the records; they must be bit for bit the sums the general road (any
// other field class) gives, over values whose sum depends on the order.
TEST(SubTotalSums, StraightFromTheRecordsAsTheGeneralRoad) {
  struct TOtherField : TDataField {
    using TDataField::TDataField;
  };
  std::unique_ptr<TKeyField> k1 = TKeyField::CreateSimpleKey("SumK1", IntegerType());
  std::unique_ptr<TKeyField> k2 = TKeyField::CreateSimpleKey("SumK2", IntegerType());
  std::unique_ptr<TDataField> plain = TDataField::CreateField("SumPlain", DoubleType());
  auto other = std::make_unique<TOtherField>("SumOther", DoubleType());
  std::unique_ptr<TDataTable> table = TDataTable::CreateTable(
      "SumT", nullptr, {k1.get(), k2.get()}, {plain.get(), other.get()}, nullptr);
  auto storage = std::make_unique<TRowStorage>(table.get());
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> magnitude(-30, 30);
  for (int a = 0; a < 5; ++a) {
    for (int b = 0; b < 200; ++b) {
      const double x = std::ldexp(magnitude(gen), static_cast<int>(magnitude(gen)));
      std::unique_ptr<TDataRow> row = storage->CreateRow();
      row->SetFieldValue(k1.get(), IntegerValue(a));
      row->SetFieldValue(k2.get(), IntegerValue(b));
      row->SetFieldValue(plain.get(), DoubleValue(x));
      row->SetFieldValue(other.get(), DoubleValue(x));
      ASSERT_EQ(storage->PutNewRow(row, paRefuse), prOk);
    }
  }
  std::vector<TSubTotalRow*> rows{storage->Root()};
  for (int i = 0; i < storage->Root()->ChildCount(); ++i)
    rows.push_back(static_cast<TSubTotalRow*>(storage->Root()->Child(i)));
  for (TSubTotalRow* row : rows) {
    const double fast = ValueAsFloat(row->ValueOf(plain.get()));
    const double general = ValueAsFloat(row->ValueOf(other.get()));
    EXPECT_EQ(std::memcmp(&fast, &general, sizeof fast), 0) << fast << " " << general;
  }
  // A subtotal without children: the type's default.
  storage->Root()->ClearChildren();
  EXPECT_EQ(ValueAsFloat(storage->Root()->ValueOf(plain.get())), 0.0);
  storage.reset();
  table.reset();
}

TEST(SubTotalHandlerMark, UndoRunsNewestFirstAndEmpties) {
  std::vector<int> order;
  struct TRecord : TCallbackCommand {
    std::vector<int>& Order;
    int Id;
    TRecord(std::vector<int>& O, int I) : Order(O), Id(I) {}
    void Execute() override { Order.push_back(Id); }
  };
  TSubTotalHandlerMark mark(nullptr, nullptr);
  for (int i = 1; i <= 3; ++i) mark.AddCommand(std::make_unique<TRecord>(order, i));
  mark.Undo();
  EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(mark.CommandCount(), 0);
  mark.Undo();
  EXPECT_EQ(order.size(), 3u);
  EXPECT_EQ(mark.PopRow(), nullptr);
}

// ---------------------------------------------------------- tree algorithms

class DeepTreeTest : public RowsFixture {
 protected:
  std::unique_ptr<TKeyField> K3 = TKeyField::CreateSimpleKey("RK3", IntegerType());
  std::unique_ptr<TDataTable> Deep;
  std::unique_ptr<TRowStorage> DeepStorage;
  void SetUp() override {
    RowsFixture::SetUp();
    Deep = TDataTable::CreateTable("RowsDeep", nullptr, {K1.get(), K2.get(), K3.get()}, {A.get()},
                                   nullptr);
    DeepStorage = std::make_unique<TRowStorage>(Deep.get());
  }
  void TearDown() override {
    DeepStorage.reset();
    Deep.reset();
    RowsFixture::TearDown();
  }
  TDataRow* PutDeep(int k1, const std::string& k2, int k3) {
    std::unique_ptr<TDataRow> row = DeepStorage->CreateRow();
    row->SetFieldValue(K1.get(), IntegerValue(k1));
    row->SetFieldValue(K2.get(), StringValue(k2));
    row->SetFieldValue(K3.get(), IntegerValue(k3));
    TDataRow* raw = row.get();
    EXPECT_EQ(DeepStorage->PutNewRow(row, paRefuse), prOk);
    return raw;
  }
};

TEST_F(DeepTreeTest, RemoveChildFreesTheEmptiedChainUpToAKeptRow) {
  TDataRow* r1 = PutDeep(1, "a", 1);
  TDataRow* r2 = PutDeep(1, "b", 1);
  PutDeep(2, "a", 1);
  TSubTotalRow* root = DeepStorage->Root();
  TSubTotalRow* level1 = static_cast<TSubTotalRow*>(root->Child(0));
  ASSERT_EQ(level1->ChildCount(), 2);

  r1->Parent()->RemoveChild(r1, true);
  std::unique_ptr<TDataRow> gone1(r1);  // a data row is handed back
  EXPECT_EQ(level1->ChildCount(), 1) << "(1, a) went, (1) keeps (1, b)";
  EXPECT_EQ(root->ChildCount(), 2);

  r2->Parent()->RemoveChild(r2, true);
  std::unique_ptr<TDataRow> gone2(r2);
  EXPECT_EQ(root->ChildCount(), 1) << "(1, b) and (1) went";
  EXPECT_EQ(DeepStorage->LocateRow({"1", "b", "1"}), nullptr);
  EXPECT_EQ(DeepStorage->CountRows(rsInserted), 1);
}

TEST_F(DeepTreeTest, RemoveRowTakesOnlyTheRowItself) {
  TDataRow* stored = PutDeep(1, "a", 1);
  PutDeep(1, "a", 2);
  std::unique_ptr<TDataRow> twin = DeepStorage->CreateRow();
  twin->SetFieldValue(K1.get(), IntegerValue(1));
  twin->SetFieldValue(K2.get(), StringValue("a"));
  twin->SetFieldValue(K3.get(), IntegerValue(1));
  EXPECT_FALSE(DeepStorage->Root()->RemoveRow(twin.get())) << "another row under the same key";
  EXPECT_EQ(DeepStorage->LocateRow({"1", "a", "1"}), stored);
  EXPECT_TRUE(DeepStorage->Root()->RemoveRow(stored));
  std::unique_ptr<TDataRow> removed(stored);
  EXPECT_EQ(stored->Parent(), nullptr);
  EXPECT_EQ(DeepStorage->LocateRow({"1", "a", "1"}), nullptr);
  EXPECT_FALSE(DeepStorage->Root()->RemoveRow(stored)) << "not there any more";
}

TEST_F(RowsFixture, LocateByRowValuesWithUnreadableKeys) {
  // Rows of tables that lack one of the storage's keys.
  std::unique_ptr<TDataTable> onlyK1 =
      TDataTable::CreateTable("RowsOnlyK1", nullptr, {K1.get()}, {}, nullptr);
  std::unique_ptr<TDataTable> onlyK2 =
      TDataTable::CreateTable("RowsOnlyK2", nullptr, {K2.get()}, {}, nullptr);
  std::unique_ptr<TDataRow> byK1 = TDataRow::CreateFromDefaults(onlyK1.get());
  std::unique_ptr<TDataRow> byK2 = TDataRow::CreateFromDefaults(onlyK2.get());
  byK1->SetFieldValue(K1.get(), IntegerValue(1));
  byK2->SetFieldValue(K2.get(), StringValue("b"));
  TDataRow* oneA = Put(1, "a", 1);
  TSubTotalRow* root = Storage->Root();

  struct Step {
    const char* Name;
    std::function<void()> Change;
    const TAbstractRow* Row;
    std::function<TDataRow*()> Expected;
    const char* Warning;
  } steps[] = {
      {"one child at the last level", [] {}, byK1.get(), [&] { return oneA; }, nullptr},
      {"two children at the last level", [&] { Put(1, "b", 2); }, byK1.get(),
       [] { return nullptr; },
       "TSubTotalRow.LocateByRowValues: Found multiple matching values for RowsOnlyK1Row RK1=1 "
       "when looking for match in table RowsT."},
      {"one match among the upper level", [] {}, byK2.get(), [&] { return Find(1, "b"); }, nullptr},
      {"two matches among the upper level", [&] { Put(2, "b", 3); }, byK2.get(),
       [] { return nullptr; },
       "TSubTotalRow.LocateByRowValues: Found multiple matching values for RowsOnlyK2Row RK2='b' "
       "when looking for match in table RowsT."},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.Name);
    s.Change();
    TDataErrorCapture capture;
    EXPECT_EQ(root->LocateByRowValues(s.Row, {}), s.Expected());
    const auto warnings = capture.Warnings();
    if (s.Warning == nullptr) {
      EXPECT_TRUE(warnings.empty());
    } else {
      ASSERT_EQ(warnings.size(), 1u);
      EXPECT_EQ(warnings[0].Message, s.Warning);
      EXPECT_EQ(warnings[0].Context, "LocateByRowValues");
    }
  }
  // A row of the storage's own table is found by its keys.
  std::unique_ptr<TDataRow> probe = MakeRow(2, "b", 0);
  EXPECT_EQ(root->LocateByRowValues(probe.get(), {}), Find(2, "b"));
  probe->SetFieldValue(K2.get(), StringValue("zz"));
  EXPECT_EQ(root->LocateByRowValues(probe.get(), {}), nullptr);
}

TEST_F(RowsFixture, PutOfAStoredRowOntoItselfChangesNothing) {
  TDataRow* row = Put(1, "a", 1);
  TDataErrorCapture quiet;
  for (TPutAction action : {paRefuse, paOverwrite, paAddKeep}) {
    SCOPED_TRACE(static_cast<int>(action));
    EXPECT_EQ(Storage->PutRow(row, action), prKeyConflict);
    EXPECT_EQ(Find(1, "a"), row);
    EXPECT_DOUBLE_EQ(Num(row, A.get()), 1);
  }
  std::unique_ptr<TDataRow> other = MakeRow(1, "a", 2);
  EXPECT_EQ(ErrorOf([&] { Storage->Root()->PutRow(other.get(), static_cast<TPutAction>(9)); }),
            "Unknown PutAction (9)!");
  EXPECT_EQ(Find(1, "a"), row);
}

TEST_F(RowsFixture, ChildrenStayOrderedByKeyWithBinarySearch) {
  for (int k : {5, 1, 9, 3, 7}) Put(k, "a", k);
  TSubTotalRow* root = Storage->Root();
  ASSERT_EQ(root->ChildCount(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(ValueAsInteger(root->ChildKey(i)), 2 * i + 1);
  int index = -1;
  EXPECT_TRUE(root->FindChild(IntegerValue(7), index));
  EXPECT_EQ(index, 3);
  EXPECT_FALSE(root->FindChild(IntegerValue(4), index));
  EXPECT_EQ(index, 2) << "where 4 would go";
  EXPECT_TRUE(root->FindChild(StringValue("9"), index)) << "keys are converted to the level's type";
  EXPECT_FALSE(root->FindChild(StringValue("nine"), index)) << "a text that is no number";
  EXPECT_EQ(root->IndexOfChild(Sub(9)), 4);
  EXPECT_EQ(root->IndexOfChild(nullptr), -1);
  EXPECT_THROW(root->ChildKey(5), platform::EAssertionFailed);
}

// ---------------------------------------------------------- loose rows, extra keys

TEST_F(RowsFixture, LooseSubtotalRowKeepsItsExtraKeys) {
  std::unique_ptr<TDataField> extra = TDataField::CreateField("RExtra", StringType(8, true));
  TRowStorage storage(Table.get());
  TRowSortOrder order;
  order.Add(K1.get(), soAscending);
  order.Add(extra.get(), soAscending);
  storage.SetTreeKeys(&order);
  ASSERT_EQ(storage.ExtraKeyIndex(extra.get()), 0);

  std::unique_ptr<TSubTotalRow> made =
      TSubTotalRow::Create(&storage, true, IntegerValue(0), nullptr);
  TSubTotalRow* loose = made.get();
  ASSERT_EQ(loose->ExtraKeyValues().Count(), 1);
  storage.AddLooseRow(std::move(made));

  EXPECT_EQ(loose->SetFieldValue(extra.get(), StringValue("x1")), srOk);
  EXPECT_EQ(Text(loose, extra.get()), "x1");
  TValue v;
  EXPECT_TRUE(TSubTotalRow::TreeKeyValue(loose, extra.get(), v));
  EXPECT_EQ(ValueAsString(v), "") << "the row lies above the extra key's level";
  EXPECT_EQ(loose->SetFieldValue(A.get(), DoubleValue(3)), srReadOnly);
  EXPECT_EQ(loose->SetIndexValue(0, IntegerValue(4)), srOk) << "a tree key is written raw";
  EXPECT_EQ(ValueAsInteger(loose->ValueOf(K1.get())), 0) << "level 0 does not show its key";
  EXPECT_EQ(ValueAsInteger(loose->ValueAt(0)), 4);
  EXPECT_EQ(Text(loose, extra.get()), "x1") << "a table key never lands among the extra keys";
  EXPECT_THROW(loose->SetFieldValue(K1.get(), IntegerValue(5)), platform::Exception);
  EXPECT_EQ(Text(loose, extra.get()), "x1");
}

TEST_F(RowsFixture, SubtotalRowOutsideAStorageIsAnError) {
  EXPECT_THROW(TSubTotalRow::Create(nullptr, true, IntegerValue(0), nullptr),
               platform::EAssertionFailed);
}

}  // namespace
}  // namespace dataframework::rowstest
