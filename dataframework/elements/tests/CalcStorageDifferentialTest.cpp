// A randomised differential test of calculated fields in a row storage
// against a plain map of key to value.
//
// The table has two integer keys and a fictive third key that reads
// (K1 + K2) mod 3 through a calculated field, so the tree's last level is
// grouped by a computed key. Three aggregable calculated fields ride along:
// V × V outside the table and V × V computed in it (both summed over the
// children on subtotal rows), and 2 × V computed from the subtotal's own
// totals. Random puts, value writes, key writes, deletes and get-rows by the
// fictive key run on the storage; after every step each subtotal row's
// values are checked against sums over the map, and the stored rows against
// the map. The seed is fixed; CLAVIRA_CALC_SEED and CLAVIRA_CALC_STEPS
// override it and the step count.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <utility>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/conditions/CriteriaField.h"
#include "dataframework/elements/tests/CalcTestSupport.h"
#include "platform/DataError.h"
#include "platform/StringList.h"

namespace dataframework::calctest {
namespace {

using TKey = std::pair<int, int>;
using TModel = std::map<TKey, double>;

unsigned EnvNumber(const char* Name, unsigned Default) {
  const char* text = std::getenv(Name);
  return text != nullptr && *text != '\0' ? static_cast<unsigned>(std::strtoul(text, nullptr, 10))
                                          : Default;
}

int FictiveOf(const TKey& Key) {
  return (Key.first + Key.second) % 3;
}

class CalcStorageDifferentialTest : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> K1 = TKeyField::CreateSimpleKey("XK1", IntegerType());
  std::unique_ptr<TKeyField> K2 = TKeyField::CreateSimpleKey("XK2", IntegerType());
  std::unique_ptr<TDataField> V = TDataField::CreateField("XV", DoubleType());
  std::unique_ptr<TCalcField> Group = TCalcField::CreateCalc("XGroup", IntegerType(), true, false);
  std::unique_ptr<TFictiveField> F = TFictiveField::CreateFictive("XF", IntegerType(), Group.get());
  std::unique_ptr<TCalcField> Square = TCalcField::CreateCalc("XSquare", DoubleType(), true, true);
  std::unique_ptr<TCalcField> SquareIn =
      TCalcField::CreateCalc("XSquareIn", DoubleType(), true, true);
  std::unique_ptr<TCalcField> Twice = TCalcField::CreateCalc("XTwice", DoubleType(), true, false);
  std::unique_ptr<TDataTable> Table;
  std::unique_ptr<TRowStorage> Storage;

  std::mt19937 Gen;
  TModel Model;
  std::string Step;

  void SetUp() override {
    TDataField* k1 = K1.get();
    TDataField* k2 = K2.get();
    TDataField* v = V.get();
    Group->SetIsAggregable(false);
    Group->SetOnCalcValue([k1, k2](const TCalcField*, const TAbstractRow* Row) {
      return IntegerValue((ValueAsInteger(Row->ValueOf(k1)) + ValueAsInteger(Row->ValueOf(k2))) %
                          3);
    });
    auto square = [v](const TCalcField*, const TAbstractRow* Row) { return SquareOfX(v, Row); };
    Square->SetOnCalcValue(square);
    SquareIn->SetOnCalcValue(square);
    SquareIn->SetCalcInTable(true);
    Twice->SetOnCalcValue([v](const TCalcField*, const TAbstractRow* Row) {
      return DoubleValue(2 * ValueAsFloat(Row->ValueOf(v)));
    });
    Table = TDataTable::CreateTable("XDiffT", nullptr, {K1.get(), K2.get(), F.get()},
                                    {V.get(), SquareIn.get()}, nullptr);
    Storage = std::make_unique<TRowStorage>(Table.get());
  }
  void TearDown() override {
    Storage.reset();
    Table.reset();
  }

  int Draw(int Range) { return static_cast<int>(Gen() % static_cast<unsigned>(Range)); }
  TKey DrawKey() { return {Draw(4), Draw(5)}; }
  double DrawV() { return static_cast<double>(Draw(21) - 10); }
  static std::string KeyText(const TKey& Key) {
    return std::to_string(Key.first) + "/" + std::to_string(Key.second);
  }
  TDataRow* Locate(const TKey& Key) {
    return Storage->LocateRow(
        {std::to_string(Key.first), std::to_string(Key.second), std::to_string(FictiveOf(Key))});
  }
  bool DrawStored(TKey& Key) {
    if (Model.empty()) return false;
    auto it = Model.begin();
    std::advance(it, Draw(static_cast<int>(Model.size())));
    Key = it->first;
    return true;
  }

  // ---------------------------------------------------------------- steps
  void StepPut() {
    const TKey key = DrawKey();
    const double v = DrawV();
    Step = "put " + KeyText(key);
    std::unique_ptr<TDataRow> row = Storage->CreateRow();
    row->SetFieldValue(K1.get(), IntegerValue(key.first));
    row->SetFieldValue(K2.get(), IntegerValue(key.second));
    row->SetFieldValue(V.get(), DoubleValue(v));
    const TPutResult result = Storage->PutNewRow(row, paRefuse);
    if (Model.count(key) != 0) {
      EXPECT_EQ(result, prKeyConflict);
    } else {
      ASSERT_EQ(result, prOk);
      Model[key] = v;
    }
  }
  void StepWriteValue() {
    TKey key;
    if (!DrawStored(key)) return;
    const double v = DrawV();
    Step = "write V of " + KeyText(key);
    TDataRow* row = Locate(key);
    ASSERT_NE(row, nullptr);
    ASSERT_EQ(row->SetFieldValue(V.get(), DoubleValue(v)), srOk);
    Model[key] = v;
  }
  void StepWriteKey() {
    TKey key;
    if (!DrawStored(key)) return;
    const TKey moved{key.first, Draw(5)};
    Step = "key write " + KeyText(key) + " -> " + KeyText(moved);
    TDataRow* row = Locate(key);
    ASSERT_NE(row, nullptr);
    const TSetResult result = row->SetFieldValue(K2.get(), IntegerValue(moved.second));
    if (moved == key) {
      EXPECT_EQ(result, srOk);
    } else if (Model.count(moved) != 0) {
      EXPECT_EQ(result, srKeyConflict);
    } else {
      ASSERT_EQ(result, srOk);
      Model[moved] = Model[key];
      Model.erase(key);
    }
  }
  void StepDelete() {
    TKey key;
    if (!DrawStored(key)) return;
    Step = "delete " + KeyText(key);
    TDataRow* row = Locate(key);
    ASSERT_NE(row, nullptr);
    row->Delete(true);
    Model.erase(key);
  }
  // Rows by their fictive key, read or deleted through the storage's walk.
  void StepGetRowsByFictive(bool Delete) {
    const int group = Draw(3);
    Step = std::string(Delete ? "delete" : "get") + " rows of group " + std::to_string(group);
    TCriteria criteria;
    criteria.CriteriaFields(F.get()).AddValue(IntegerValue(group));
    platform::TStringList rows;
    Storage->GetRows(Delete ? nullptr : &rows, &criteria, Delete ? gmDelete : gmRows);
    std::set<TKey> expected;
    for (const auto& [key, v] : Model)
      if (FictiveOf(key) == group) expected.insert(key);
    if (Delete) {
      for (const TKey& key : expected) Model.erase(key);
      return;
    }
    std::set<TKey> got;
    for (int i = 0; i < rows.Count(); ++i) {
      const auto* row = static_cast<const TAbstractRow*>(rows.GetObject(i));
      got.insert({ValueAsInteger(row->ValueOf(K1.get())), ValueAsInteger(row->ValueOf(K2.get()))});
    }
    EXPECT_EQ(got, expected);
  }

  // ---------------------------------------------------------------- checks
  // Sums over the map of the rows whose key starts with Prefix (its first
  // Depth parts).
  void ExpectSums(const TAbstractRow* Row, const TKey& Prefix, int Depth) {
    double sum = 0;
    double squares = 0;
    for (const auto& [key, v] : Model) {
      if (Depth >= 1 && key.first != Prefix.first) continue;
      if (Depth >= 2 && key.second != Prefix.second) continue;
      sum += v;
      squares += v * v;
    }
    SCOPED_TRACE("subtotal " + KeyText(Prefix) + " depth " + std::to_string(Depth));
    EXPECT_DOUBLE_EQ(ValueAsFloat(Row->ValueOf(V.get())), sum);
    EXPECT_DOUBLE_EQ(ValueAsFloat(Row->ValueOf(Square.get())), squares);
    EXPECT_DOUBLE_EQ(ValueAsFloat(Row->ValueOf(SquareIn.get())), squares);
    EXPECT_DOUBLE_EQ(ValueAsFloat(Row->ValueOf(Twice.get())), 2 * sum);
  }
  // Walks the tree below Row (a subtotal at Depth with key Prefix),
  // checking every subtotal and collecting the data rows.
  void Walk(const TSubTotalRow* Row, TKey Prefix, int Depth, TModel& Stored) {
    ExpectSums(Row, Prefix, Depth);
    for (int i = 0; i < Row->ChildCount(); ++i) {
      const TAbstractRow* child = Row->Child(i);
      ASSERT_NE(child, nullptr) << "an entry without row was left behind";
      if (const auto* sub = dynamic_cast<const TSubTotalRow*>(child)) {
        TKey next = Prefix;
        (Depth == 0 ? next.first : next.second) = ValueAsInteger(Row->ChildKey(i));
        Walk(sub, next, Depth + 1, Stored);
        continue;
      }
      const TKey key{ValueAsInteger(child->ValueOf(K1.get())),
                     ValueAsInteger(child->ValueOf(K2.get()))};
      EXPECT_EQ(key.first, Prefix.first);
      EXPECT_EQ(key.second, Prefix.second);
      EXPECT_EQ(ValueAsInteger(Row->ChildKey(i)), FictiveOf(key));
      EXPECT_EQ(ValueAsInteger(child->ValueOf(F.get())), FictiveOf(key));
      const double v = ValueAsFloat(child->ValueOf(V.get()));
      EXPECT_DOUBLE_EQ(ValueAsFloat(child->ValueOf(Square.get())), v * v);
      EXPECT_DOUBLE_EQ(ValueAsFloat(child->ValueOf(Twice.get())), 2 * v);
      Stored[key] = v;
    }
  }
  void Check() {
    TModel stored;
    Walk(Storage->Root(), {0, 0}, 0, stored);
    EXPECT_EQ(stored, Model);
  }
};

TEST_F(CalcStorageDifferentialTest, SubtotalsOfCalculatedFieldsMatchBruteForce) {
  const unsigned seed = EnvNumber("CLAVIRA_CALC_SEED", 20240611);
  const unsigned steps = EnvNumber("CLAVIRA_CALC_STEPS", 1500);
  Gen.seed(seed);
  for (unsigned i = 0; i < steps; ++i) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(i));
    const int kind = Draw(100);
    if (kind < 40) {
      StepPut();
    } else if (kind < 60) {
      StepWriteValue();
    } else if (kind < 75) {
      StepWriteKey();
    } else if (kind < 88) {
      StepDelete();
    } else {
      StepGetRowsByFictive(kind >= 96);
    }
    SCOPED_TRACE(Step);
    Check();
    if (HasFailure()) return;
  }
  EXPECT_FALSE(Model.empty());
}

}  // namespace
}  // namespace dataframework::calctest
