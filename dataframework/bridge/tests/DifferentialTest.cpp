// Random conditions loaded through the bridge against a brute-force read of
// the whole table filtered in C++, and random edit sequences saved and
// read back against a plain map, over both engines. CLAVIRA_BRIDGE_SEED
// sets the seed (each failure names it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <string>

#include "dataframework/bridge/tests/BridgeFixture.h"
#include "dataframework/conditions/QuiltField.h"
#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/types/DataTypes.h"
#include "platform/StringList.h"

namespace dataframework::bridge::test {
namespace {

class DifferentialTest : public BridgeTest {
 protected:
  void SetUp() override {
    BridgeTest::SetUp();
    if (const char* text = std::getenv("CLAVIRA_BRIDGE_SEED"))
      Seed = static_cast<unsigned>(std::strtoul(text, nullptr, 10));
    Gen.seed(Seed);
  }

  unsigned Seed = 20261210;
  std::mt19937 Gen{Seed};
  int Draw(int Range) { return static_cast<int>(Gen() % static_cast<unsigned>(Range)); }

  void MakeTable() {
    std::string sql =
        "DROP TABLE IF EXISTS d; CREATE TABLE d (k1 integer, k2 varchar(3), v integer, s "
        "varchar(4), PRIMARY KEY (k1, k2)); INSERT INTO d VALUES ";
    bool first = true;
    for (int k1 = 0; k1 < 20; ++k1) {
      for (int k2 = 0; k2 < 12; ++k2) {
        if (Draw(4) == 0) continue;
        if (!first) sql += ",";
        first = false;
        const std::string key = std::string(1, static_cast<char>('a' + k2 % 4)) +
                                (k2 >= 4 ? std::string(1, static_cast<char>('a' + k2 / 4)) : "");
        sql +=
            "(" + std::to_string(k1) + ",'" + key + "'," +
            (Draw(5) == 0 ? "NULL" : std::to_string(Draw(50) - 10)) + "," +
            (Draw(5) == 0 ? "NULL" : "'" + std::string(1, static_cast<char>('p' + Draw(3))) + "'") +
            ")";
      }
    }
    Db->Exec(sql);
  }

  std::unique_ptr<TQuilt> DrawCondition(const TBridgeTable& T) {
    auto quilt = std::make_unique<TQuilt>();
    const int patches = 1 + Draw(3);
    for (int p = 0; p < patches; ++p) {
      auto patch = std::make_unique<TQuiltPatch>();
      if (Draw(3) > 0) {  // k1: an interval with random ends, or values
        TQuiltField* f = patch->FieldFor(T.Columns()[0].Field, true);
        if (Draw(2) == 0) {
          const int a = Draw(20), b = a + Draw(8);
          f->AddInterval(
              Draw(5) == 0 ? MinusInfinity() : MakePoint(IntegerValue(a), Draw(2) == 0),
              Draw(5) == 0 ? PlusInfinity() : MakePoint(IntegerValue(b + 1), Draw(2) == 0));
        } else {
          for (int n = 1 + Draw(4); n > 0; --n) f->AddValue(IntegerValue(Draw(22)));
        }
      }
      if (Draw(2) == 0) {  // k2: a prefix or a value
        TQuiltField* f = patch->FieldFor(T.Columns()[1].Field, true);
        const std::string text(1, static_cast<char>('a' + Draw(4)));
        if (Draw(2) == 0) {
          f->AddPrefixRange(text);
        } else {
          f->AddValue(StringValue(text));
        }
      }
      if (Draw(3) == 0) {  // a non-key field
        TQuiltField* f = patch->FieldFor(T.Columns()[2].Field, true);
        const int a = Draw(40) - 10;
        f->AddInterval(MakePoint(IntegerValue(a), true),
                       MakePoint(IntegerValue(a + Draw(20)), true));
      }
      quilt->AddPatch(std::move(patch));
    }
    return quilt;
  }

  // Every database row that Condition accepts, read and filtered here.
  std::vector<TDbRow> BruteForce(TBridgeTable& T, const TCondition& Condition) {
    std::vector<TDbRow> out;
    for (const TDbRow& db : Db->Rows("SELECT * FROM d ORDER BY k1, k2 COLLATE \"C\"")) {
      auto row = T.Storage().CreateRow();
      for (size_t c = 0; c < db.size(); ++c) {
        const TBridgeColumn& col = T.Columns()[c];
        row->WriteIndexRaw(
            static_cast<int>(c),
            db[c] ? ValueFromText(col.Kind, col.Field->DataType(), *db[c], "d", col.Name)
                  : NullValue(col.Kind, col.Field->DataType()));
      }
      if (Condition.AcceptsRow(row.get(), nullptr)) out.push_back(StorageRowText(T, *row));
    }
    return out;
  }
};

TEST_P(DifferentialTest, RandomConditionsLoadExactlyTheirRows) {
  SCOPED_TRACE("seed " + std::to_string(Seed) + " (set CLAVIRA_BRIDGE_SEED to rerun)");
  MakeTable();
  auto table = Bridge->Describe("d");
  Bridge->BlockRows = 7;  // many blocks
  for (int round = 0; round < 40; ++round) {
    auto condition = DrawCondition(*table);
    Bridge->Load(*table, condition.get());
    ASSERT_EQ(StorageRows(*table, condition.get()), BruteForce(*table, *condition))
        << "round " << round;
  }
  // Nothing was loaded twice: the storage holds each database row once.
  Bridge->Load(*table, nullptr);
  EXPECT_EQ(StorageRows(*table), BruteForce(*table, TQuiltPatch()));
}

TEST_P(DifferentialTest, RandomEditsSavedAndReadBack) {
  SCOPED_TRACE("seed " + std::to_string(Seed) + " (set CLAVIRA_BRIDGE_SEED to rerun)");
  MakeTable();
  // Texts that need escaping on every road to the server.
  const char* const texts[] = {"\t", "\\N", "a\nb", "\\", "x\ry", "'\"", "p"};
  for (int round = 0; round < 6; ++round) {
    // Small blocks make loads and saves go in several pieces.
    Bridge->BlockRows = round % 2 == 0 ? 10000 : 1 + Draw(10);
    auto table = Bridge->Describe("d");
    Bridge->Load(*table, nullptr);
    TBridgeRowStorage& s = table->Storage();
    std::map<std::pair<int, std::string>, TDbRow> model;
    for (const TDbRow& r : StorageRows(*table)) model[{std::stoi(*r[0]), *r[1]}] = r;
    for (int step = 0; step < 30; ++step) {
      const int k1 = Draw(22);
      const std::string k2(1, static_cast<char>('a' + Draw(4)));
      auto* row = static_cast<TDataRow*>(s.LocateRow({std::to_string(k1), k2}));
      const int what = Draw(4);
      if (row != nullptr && what == 0) {
        row->Delete(true);
        model.erase({k1, k2});
      } else if (row != nullptr) {
        // The value, the text or both: saves with several sets of columns.
        if (what != 2) {
          const int v = Draw(100);
          row->SetIndexValue(2, IntegerValue(v));
          model[{k1, k2}][2] = std::to_string(v);
        }
        if (what != 1) {
          const std::string text = texts[Draw(7)];
          row->SetIndexValue(3, StringValue(text));
          model[{k1, k2}][3] = text;
        }
      } else {
        const std::string text = Draw(2) == 0 ? "n'" + k2 : texts[Draw(7)];
        auto fresh = s.CreateRow();
        fresh->SetIndexValue(0, IntegerValue(k1));
        fresh->SetIndexValue(1, StringValue(k2));
        fresh->SetIndexValue(2, IntegerValue(-1));
        fresh->SetIndexValue(3, StringValue(text));
        ASSERT_EQ(s.PutNewRow(fresh, paRefuse), prOk);
        model[{k1, k2}] = {std::to_string(k1), k2, "-1", text};
      }
    }
    ASSERT_TRUE(Bridge->Save(*table));
    auto again = Bridge->Describe("d");
    Bridge->Load(*again, nullptr);
    std::vector<TDbRow> expected;
    for (auto& entry : model) expected.push_back(entry.second);
    ASSERT_EQ(StorageRows(*again), expected) << "round " << round;
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, DifferentialTest, ::testing::Values(ePg, eOdbc), EngineName);

}  // namespace
}  // namespace dataframework::bridge::test
