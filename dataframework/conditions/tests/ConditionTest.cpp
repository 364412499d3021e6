// The condition contract: update brackets and change events, the text-form
// readers, and the default row walks (GetRows, HasRows and the single-value
// shortcut) over a real row storage.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <tuple>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/conditions/CriteriaField.h"
#include "dataframework/conditions/tests/QuiltTestSupport.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/types/TextTypes.h"
#include "platform/StringList.h"

namespace dataframework::quilttest {
namespace {

TEST(ConditionUpdateTest, BracketsSignalOnceAtTheOutermostEnd) {
  struct Case {
    const char* Name;
    std::function<void(TCondition&)> Steps;
    int Signals;
  };
  const Case cases[] = {
      {"a change outside a bracket", [](TCondition& c) { c.Changed(); }, 1},
      {"two changes in a bracket",
       [](TCondition& c) {
         c.BeginUpdate();
         c.Changed();
         c.Changed();
         c.EndUpdate();
       },
       1},
      {"an empty bracket",
       [](TCondition& c) {
         c.BeginUpdate();
         c.EndUpdate();
       },
       1},
      {"nested brackets",
       [](TCondition& c) {
         c.BeginUpdate();
         c.BeginUpdate();
         c.Changed();
         c.EndUpdate();
         c.Changed();
         c.EndUpdate();
       },
       1},
      {"an EndUpdate without BeginUpdate", [](TCondition& c) { c.EndUpdate(); }, 1},
      {"an open bracket",
       [](TCondition& c) {
         c.BeginUpdate();
         c.Changed();
       },
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TQuiltPatch condition;
    int signals = 0;
    condition.SetOnChange([&](TCondition* sender) {
      EXPECT_EQ(sender, &condition);
      ++signals;
    });
    c.Steps(condition);
    EXPECT_EQ(signals, c.Signals);
    EXPECT_GE(condition.UpdateCount(), 0);
  }
  TQuiltPatch unbalanced;
  unbalanced.EndUpdate();
  unbalanced.EndUpdate();
  EXPECT_EQ(unbalanced.UpdateCount(), 0);
  unbalanced.BeginUpdate();
  EXPECT_EQ(unbalanced.UpdateCount(), 1);
  // Without a subscriber nothing happens.
  unbalanced.EndUpdate();
  EXPECT_EQ(unbalanced.UpdateCount(), 0);
}

TEST(ConditionUpdateTest, OwnerIsNeverOwned) {
  auto quilt = std::make_unique<TQuilt>();
  quilt->AppendPatch(std::make_unique<TQuiltPatch>());
  TQuiltPatch* patch = quilt->Patches(0);
  EXPECT_EQ(patch->Owner(), quilt.get());
  std::unique_ptr<TQuiltPatch> taken = quilt->ExtractPatch(patch);
  EXPECT_EQ(taken->Owner(), nullptr);
  quilt.reset();
  EXPECT_TRUE(taken->IsUniverse(nullptr));
}

TEST(ConditionTextFormTest, ReadUpToScansOutsideQuotes) {
  struct Case {
    const char* Name;
    std::string Input;
    size_t Skip;  // bytes consumed before the call
    char Delimiter;
    char Stop;
    bool Result;
    std::string Text;
    long Position;  // after the call
  };
  const Case cases[] = {
      {"plain", "abc(def", 0, '(', ')', true, "abc", 4},
      {"nothing before the delimiter", "(x", 0, '(', ')', true, "", 1},
      {"a quoted delimiter is skipped", "'a(b'(x", 0, '(', ')', true, "'a(b'", 6},
      {"a quoted stop character is skipped", "'a)b'(x", 0, '(', ')', true, "'a)b'", 6},
      {"the stop character fails", "ab)c(", 0, '(', ')', false, "unchanged", 0},
      {"the end of the stream fails", "abc", 0, '(', ')', false, "unchanged", 0},
      {"an open quote runs to the end", "'ab(c", 0, '(', ')', false, "unchanged", 0},
      {"from the middle", "xx,ab(c", 3, '(', ')', true, "ab", 6},
      {"a failure goes back to the middle", "xx,ab)c", 3, '(', ')', false, "unchanged", 3},
      {"stop 0 stops at a zero byte", std::string("ab\0c)", 5), 0, ')', '\0', false, "unchanged",
       0},
      {"stop 0 passes other stops", "a(b)c", 0, ')', '\0', true, "a(b", 4},
      {"an empty stream", "", 0, '(', ')', false, "unchanged", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::istringstream stream(c.Input);
    stream.ignore(static_cast<std::streamsize>(c.Skip));
    std::string text = "unchanged";
    EXPECT_EQ(TCondition::ReadUpTo(stream, c.Delimiter, text, c.Stop), c.Result);
    EXPECT_EQ(text, c.Text);
    EXPECT_TRUE(stream.good() || stream.eof());
    stream.clear();
    EXPECT_EQ(static_cast<long>(stream.tellg()), c.Position);
  }
}

TEST(ConditionTextFormTest, HeadersAndFooters) {
  // The criteria unit registers its classes for this lookup.
  std::unique_ptr<TDataField> field = TDataField::CreateField("CondHeaderF", IntegerType());
  TCriteria criteria;
  criteria.CriteriaFields(field.get()).AddValue(IntegerValue(1));
  std::ostringstream written;
  criteria.WriteToStream(written, 0);

  std::istringstream stream("  TCriteria  (rest)");
  const TConditionClass* found = nullptr;
  ASSERT_TRUE(TCondition::ReadHeader(stream, found));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->ClassName(), "TCriteria");
  EXPECT_TRUE(found->InheritsFrom(&TCondition::StaticClass()));
  EXPECT_EQ(static_cast<long>(stream.tellg()), 14);
  EXPECT_TRUE(TCondition::ReadFooter(stream));
  EXPECT_EQ(static_cast<long>(stream.tellg()), 19);

  std::istringstream end("  ) TCriteria(");
  found = nullptr;
  EXPECT_FALSE(TCondition::ReadHeader(end, found));
  end.clear();
  EXPECT_EQ(static_cast<long>(end.tellg()), 0);
  std::istringstream empty("");
  EXPECT_FALSE(TCondition::ReadHeader(empty, found));

  std::istringstream unknown("TNoSuchCondition(x)");
  try {
    TCondition::ReadHeader(unknown, found);
    ADD_FAILURE();
  } catch (const platform::EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNoSuchCondition not found");
  }

  // The class-level reader makes a condition equal to the one written.
  std::istringstream back(written.str());
  ASSERT_TRUE(TCondition::ReadHeader(back, found));
  ASSERT_EQ(found, &TCriteria::StaticClass());
  std::unique_ptr<TCondition> read = found->CreateFromStream(back);
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->IsEqual(criteria));

  std::ostringstream out;
  criteria.WriteHeader(out);
  TCondition::WriteLineBreak(out, 3);
  TCondition::WriteFooter(out);
  EXPECT_EQ(out.str(), "TCriteria(\r\n   )");
}

// Keys K1, K2 (integer) and fields V (double), W (double) in a row storage;
// rows for K1 = 1..4, K2 = 1..5 with V = 10 K1 + K2 and W = K2.
class RowWalkTest : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> K1 = TKeyField::CreateSimpleKey("WalkK1", IntegerType());
  std::unique_ptr<TKeyField> K2 = TKeyField::CreateSimpleKey("WalkK2", IntegerType());
  std::unique_ptr<TDataField> V = TDataField::CreateField("WalkV", DoubleType());
  std::unique_ptr<TDataField> W = TDataField::CreateField("WalkW", DoubleType());
  std::unique_ptr<TDataTable> Table;
  std::unique_ptr<TRowStorage> Storage;

  void Fill() {
    Table = TDataTable::CreateTable("WalkT", nullptr, {K1.get(), K2.get()}, {V.get(), W.get()},
                                    nullptr);
    Storage = std::make_unique<TRowStorage>(Table.get());
    for (int k1 = 1; k1 <= 4; ++k1) {
      for (int k2 = 1; k2 <= 5; ++k2) {
        std::unique_ptr<TDataRow> row = Storage->CreateRow();
        row->SetFieldValue(K1.get(), IntegerValue(k1));
        row->SetFieldValue(K2.get(), IntegerValue(k2));
        row->SetFieldValue(V.get(), DoubleValue(10 * k1 + k2));
        row->SetFieldValue(W.get(), DoubleValue(k2));
        ASSERT_EQ(Storage->PutNewRow(row, paRefuse), prOk);
      }
    }
  }
  void TearDown() override {
    Storage.reset();
    Table.reset();
  }

  std::string Key(TAbstractRow* Row) {
    return std::to_string(ValueAsInteger(Row->ValueOf(K1.get()))) + "/" +
           std::to_string(ValueAsInteger(Row->ValueOf(K2.get())));
  }
  std::vector<std::string> Fetch(const TCondition& Condition) {
    platform::TStringList results;
    Storage->GetRows(&results, &Condition, gmRows);
    std::vector<std::string> keys;
    for (int i = 0; i < results.Count(); ++i)
      keys.push_back(Key(static_cast<TAbstractRow*>(results.GetObject(i))));
    return keys;
  }
  // The stored keys, in key order, that Accepts picks (k1, k2, v).
  std::vector<std::string> Expected(const std::function<bool(int, int, double)>& Accepts) {
    std::vector<std::string> keys;
    for (int k1 = 1; k1 <= 4; ++k1)
      for (int k2 = 1; k2 <= 5; ++k2)
        if (Accepts(k1, k2, 10 * k1 + k2))
          keys.push_back(std::to_string(k1) + "/" + std::to_string(k2));
    return keys;
  }
};

TEST_F(RowWalkTest, GetRowsAndHasRowsDeliverTheAcceptedRows) {
  Fill();
  struct Case {
    const char* Name;
    std::function<std::unique_ptr<TCondition>()> Make;
    std::function<bool(int, int, double)> Accepts;
    bool Nice;
  };
  auto field = [](TDataField* f, const char* intervals) { return MakeField(f, intervals); };
  const Case cases[] = {
      {"a key range",
       [&] {
         return MakePatch({{K1.get(), "[2,3]"}});
       },
       [](int k1, int, double) { return k1 >= 2 && k1 <= 3; }, true},
      {"one key value (single-value shortcut)",
       [&] {
         return MakePatch({{K1.get(), "[2,2]"}});
       },
       [](int k1, int, double) { return k1 == 2; }, true},
      {"one value of each key",
       [&] {
         return MakePatch({{K1.get(), "[2,2]"}, {K2.get(), "[4,4]"}});
       },
       [](int k1, int k2, double) { return k1 == 2 && k2 == 4; }, true},
      {"a value that is not stored",
       [&] {
         return MakePatch({{K1.get(), "[7,7]"}});
       },
       [](int, int, double) { return false; }, true},
      {"a non-key field needs the row test",
       [&] {
         return MakePatch({{K2.get(), "[2,2] [4,5]"}, {V.get(), "[0,25)"}});
       },
       [](int, int k2, double v) { return (k2 == 2 || k2 >= 4) && v < 25; }, true},
      {"an open key bound", [&] { return field(K2.get(), "(3,+inf)"); },
       [](int, int k2, double) { return k2 > 3; }, true},
      {"two patches are not nice",
       [&] {
         auto quilt = std::make_unique<TQuilt>();
         quilt->AddPatch(MakePatch({{K1.get(), "[1,1]"}}));
         quilt->AddPatch(MakePatch({{K2.get(), "[5,5]"}, {V.get(), "[30,+inf)"}}));
         return quilt;
       },
       [](int k1, int k2, double v) { return k1 == 1 || (k2 == 5 && v >= 30); }, false},
      {"nothing", [&] { return std::make_unique<TQuilt>(); },
       [](int, int, double) { return false; }, true},
      {"everything", [&] { return std::make_unique<TQuiltPatch>(); },
       [](int, int, double) { return true; }, true},
      {"a criteria",
       [&] {
         auto criteria = std::make_unique<TCriteria>();
         criteria->CriteriaFields(K2.get()).AddValue(IntegerValue(3));
         return criteria;
       },
       [](int, int k2, double) { return k2 == 3; }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TCondition> condition = c.Make();
    EXPECT_EQ(condition->IsNice(), c.Nice);
    const std::vector<std::string> expected = Expected(c.Accepts);
    EXPECT_EQ(Fetch(*condition), expected);
    EXPECT_EQ(Storage->HasRows(condition.get()), !expected.empty());
    TGetRowsHandler handler(*Storage, gmRows, nullptr, condition.get());
    EXPECT_EQ(handler.RunHasRows(), !expected.empty());
  }
}

TEST_F(RowWalkTest, EmptyLevelsDeliverNothing) {
  Table = TDataTable::CreateTable("WalkT", nullptr, {K1.get(), K2.get()}, {V.get()}, nullptr);
  Storage = std::make_unique<TRowStorage>(Table.get());
  TQuiltPatch all;
  EXPECT_TRUE(Fetch(all).empty());
  EXPECT_FALSE(Storage->HasRows(&all));
  std::unique_ptr<TQuiltPatch> one = MakePatch({{K1.get(), "[1,1]"}});
  EXPECT_TRUE(Fetch(*one).empty());
  EXPECT_FALSE(Storage->HasRows(one.get()));
}

TEST_F(RowWalkTest, DeletingWalkSkipsTheRowsItRemoved) {
  Fill();
  std::unique_ptr<TQuiltPatch> doomed = MakePatch({{K2.get(), "[2,4]"}});
  Storage->GetRows(nullptr, doomed.get(), gmDelete);
  TQuiltPatch all;
  EXPECT_EQ(Fetch(all), Expected([](int, int k2, double) { return k2 < 2 || k2 > 4; }));
  // A walk over whole levels leaves no empty subtotal rows behind.
  std::unique_ptr<TQuiltPatch> level = MakePatch({{K1.get(), "[1,2]"}});
  Storage->GetRows(nullptr, level.get(), gmDelete);
  EXPECT_EQ(Fetch(all),
            Expected([](int k1, int k2, double) { return k1 > 2 && (k2 < 2 || k2 > 4); }));
  EXPECT_EQ(Storage->Root()->ChildCount(), 2);
}

TEST_F(RowWalkTest, SortedLevelsDeliverInTheirOrder) {
  // K1 descending; K2 ordered by W descending (W = K2 written below as 6 - K2).
  K1->SetSortOrder(soDescending);
  K2->SetSortField(W.get());
  K2->SetSortOrder(soDescending);
  Table =
      TDataTable::CreateTable("WalkT", nullptr, {K1.get(), K2.get()}, {V.get(), W.get()}, nullptr);
  Storage = std::make_unique<TRowStorage>(Table.get());
  for (int k1 = 1; k1 <= 3; ++k1) {
    for (int k2 = 1; k2 <= 3; ++k2) {
      std::unique_ptr<TDataRow> row = Storage->CreateRow();
      row->SetFieldValue(K1.get(), IntegerValue(k1));
      row->SetFieldValue(K2.get(), IntegerValue(k2));
      row->SetFieldValue(W.get(), DoubleValue(k2 == 2 ? 9 : 1));
      ASSERT_EQ(Storage->PutNewRow(row, paRefuse), prOk);
    }
  }
  TQuiltPatch all;
  // Within a K1 group: W descending (k2 = 2 first), ties by K2 ascending.
  EXPECT_EQ(Fetch(all), (std::vector<std::string>{"3/2", "3/1", "3/3", "2/2", "2/1", "2/3", "1/2",
                                                  "1/1", "1/3"}));
  std::unique_ptr<TQuiltPatch> some = MakePatch({{K1.get(), "[2,3]"}});
  some->FieldFor(K2.get(), true)->AddValue(IntegerValue(1));
  some->FieldFor(K2.get(), true)->AddValue(IntegerValue(2));
  EXPECT_EQ(Fetch(*some), (std::vector<std::string>{"3/2", "3/1", "2/2", "2/1"}));
  // Deleting walks do not sort.
  Storage->GetRows(nullptr, some.get(), gmDelete);
  EXPECT_EQ(Fetch(all), (std::vector<std::string>{"3/3", "2/3", "1/2", "1/1", "1/3"}));
}

TEST_F(RowWalkTest, RowAndTableQueriesOfQuilts) {
  Fill();
  platform::TStringList rows;
  TQuiltPatch all;
  Storage->GetRows(&rows, &all, gmRows);
  auto* row = static_cast<TDataRow*>(rows.GetObject(7));  // 2/3: V = 23, W = 3
  ASSERT_EQ(Key(row), "2/3");
  struct Case {
    const char* Name;
    std::unique_ptr<TCommonQuilt> Quilt;
    bool Accepts;
  };
  auto two = std::make_unique<TQuilt>();
  two->AddPatch(MakePatch({{K1.get(), "[1,1]"}}));
  two->AddPatch(MakePatch({{V.get(), "[20,25]"}, {W.get(), "[3,3]"}}));
  Case cases[] = {
      {"key field", MakeField(K1.get(), "[2,2]"), true},
      {"other key value", MakeField(K1.get(), "[3,3]"), false},
      {"non-key field", MakeField(V.get(), "(22,23]"), true},
      {"patch over keys and fields", MakePatch({{K2.get(), "[3,3]"}, {V.get(), "[0,22]"}}), false},
      {"quilt", std::move(two), true},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.Quilt->AcceptsRow(row, nullptr), c.Accepts);
    EXPECT_EQ(c.Quilt->AcceptsRowLenient(row, nullptr), c.Accepts);
    EXPECT_TRUE(c.Quilt->UsesTable(Table.get()));
  }
  TDataFieldSet onlyK2;
  onlyK2.Add(K2.get());
  EXPECT_TRUE(MakeField(K1.get(), "[3,3]")->AcceptsRow(row, &onlyK2));
  EXPECT_TRUE(MakePatch({{K1.get(), "[3,3]"}})->AcceptsRow(row, &onlyK2));

  // A subtotal row that does not show a field accepts it.
  TSubTotalRow* level1 = static_cast<TSubTotalRow*>(Storage->Root()->Child(1));  // K1 = 2
  EXPECT_TRUE(MakeField(K2.get(), "[9,9]")->AcceptsRow(level1, nullptr));
  EXPECT_FALSE(MakeField(K1.get(), "[9,9]")->AcceptsRow(level1, nullptr));
  EXPECT_TRUE(MakePatch({{K2.get(), "[9,9]"}})->AcceptsRow(level1, nullptr));

  std::unique_ptr<TDataField> other = TDataField::CreateField("WalkOther", DoubleType());
  EXPECT_FALSE(MakeField(other.get(), "[1,1]")->UsesTable(Table.get()));
  EXPECT_TRUE(MakeField(other.get(), "[1,1]")->AcceptsAllOfTable(Table.get()));
  EXPECT_FALSE(MakeField(V.get(), "[1,1]")->AcceptsAllOfTable(Table.get()));
  EXPECT_TRUE(MakeField(V.get(), "none")->AcceptsNoneOfTable(Table.get()));
  EXPECT_FALSE(MakePatch({{other.get(), "none"}})->AcceptsNoneOfTable(Table.get()));
  EXPECT_TRUE(MakePatch({{V.get(), "(-inf,+inf)"}})->AcceptsAllOfTable(Table.get()));
}

}  // namespace
}  // namespace dataframework::quilttest
