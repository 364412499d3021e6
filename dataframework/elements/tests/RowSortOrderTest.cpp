// Sort orders: binding of rules and the randomised three-way quicksort.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "dataframework/elements/tests/StorageFixture.h"
#include "platform/Errors.h"
#include "platform/Random.h"

namespace dataframework::storagetest {
namespace {

class SortOrderTest : public StorageFixture {
 protected:
  // Free rows with V drawn from 0 ... Distinct - 1 and N from a few texts;
  // each list entry's text names its row.
  void MakeRows(int Count, int Distinct, unsigned Seed) {
    std::mt19937 gen(Seed);
    for (int i = 0; i < Count; ++i) {
      FRows.push_back(MakeRow(i, "r", static_cast<double>(gen() % Distinct),
                              std::string(1, static_cast<char>('a' + gen() % 3))));
      FList.AddObject(std::to_string(i), FRows.back().get());
    }
  }
  // Whether the list is in order, is a permutation of the rows, and kept
  // each text with its row.
  void ExpectSorted(TRowSortOrder& Order) {
    ASSERT_EQ(FList.Count(), static_cast<int>(FRows.size()));
    std::vector<TAbstractRow*> seen = RowsOf(FList);
    for (int i = 0; i + 1 < FList.Count(); ++i) {
      ASSERT_LE(seen[i]->Compare(seen[i + 1], &Order), 0) << "at " << i;
    }
    for (int i = 0; i < FList.Count(); ++i) {
      int id = std::stoi(FList[i]);
      EXPECT_EQ(seen[i], FRows[static_cast<size_t>(id)].get()) << "text moved without its row";
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_TRUE(std::adjacent_find(seen.begin(), seen.end()) == seen.end());
  }

  std::vector<std::unique_ptr<TDataRow>> FRows;
  platform::TStringList FList;
};

struct SortCase {
  int Count;
  int Distinct;
  bool TwoRules;
  unsigned Seed;
};

class SortCasesTest : public SortOrderTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(SortCasesTest, SortsEveryShape) {
  const SortCase& c = GetParam();
  MakeRows(c.Count, c.Distinct, c.Seed);
  TRowSortOrder order;
  if (c.TwoRules) order.Add(N.get(), soDescending);
  order.Add(V.get(), soAscending);
  platform::SetRandSeed(c.Seed);
  order.Sort(Table.get(), FList);
  ExpectSorted(order);
  EXPECT_EQ(order.Table(), Table.get());
}

INSTANTIATE_TEST_SUITE_P(Shapes, SortCasesTest,
                         ::testing::Values(SortCase{0, 1, false, 1}, SortCase{1, 1, false, 2},
                                           SortCase{2, 2, false, 3}, SortCase{2, 2, true, 4},
                                           SortCase{3, 3, false, 5}, SortCase{17, 1, false, 6},
                                           SortCase{17, 17, true, 7}, SortCase{200, 5, true, 8},
                                           SortCase{500, 500, false, 9},
                                           SortCase{500, 2, true, 10}));

TEST_F(SortOrderTest, SameSeedSameOrderOfEqualRows) {
  MakeRows(300, 4, 42);
  TRowSortOrder order;
  order.Add(V.get(), soAscending);
  std::vector<std::string> firstRun, secondRun;
  platform::TStringList original;
  original.AddStrings(FList);
  for (auto* run : {&firstRun, &secondRun}) {
    FList.Clear();
    FList.AddStrings(original);
    platform::SetRandSeed(77);
    order.Sort(Table.get(), FList);
    for (int i = 0; i < FList.Count(); ++i) run->push_back(FList[i]);
  }
  EXPECT_EQ(firstRun, secondRun);
  ExpectSorted(order);
}

TEST_F(SortOrderTest, RulesBindToOneTable) {
  TRowSortOrder order;
  order.Add(V.get(), soDescending);
  order.Add(K1.get(), soAscending);
  EXPECT_EQ(order.Count(), 2);
  EXPECT_EQ(order.Rule(0).FieldIndex(), -1) << "unbound";
  order.SetTable(Table.get());
  EXPECT_EQ(order.Rule(0).FieldIndex(), 2);
  EXPECT_EQ(order.Rule(1).FieldIndex(), 0);
  EXPECT_EQ(&order.Rule(1).Order(), &order);
  EXPECT_THROW(order.Rule(2), platform::EAssertionFailed);

  std::unique_ptr<TRowSortOrder> copy = TRowSortOrder::CreateCopy(order);
  ASSERT_EQ(copy->Count(), 2);
  EXPECT_EQ(copy->Rule(0).Field(), V.get());
  EXPECT_EQ(copy->Rule(0).Direction(), soDescending);
  EXPECT_EQ(copy->Rule(0).FieldIndex(), -1);
  EXPECT_EQ(copy->Table(), nullptr);

  // A rule reads a row of its bound table by position, any other row by field.
  std::unique_ptr<TDataRow> row = MakeRow(4, "q", 2.5);
  TValue value;
  order.Rule(0).GetValue(*row, value);
  EXPECT_DOUBLE_EQ(ValueAsFloat(value), 2.5);
  auto otherTable = TDataTable::CreateTable("SortOther", nullptr, {K2.get()}, {V.get()}, nullptr);
  std::unique_ptr<TDataRow> other = TDataRow::CreateFromDefaults(otherTable.get());
  other->SetFieldValue(V.get(), DoubleValue(8));
  order.Rule(0).GetValue(*other, value);
  EXPECT_DOUBLE_EQ(ValueAsFloat(value), 8) << "V sits at position 1 there, not 2";
  other.reset();
  otherTable.reset();
}

}  // namespace
}  // namespace dataframework::storagetest
