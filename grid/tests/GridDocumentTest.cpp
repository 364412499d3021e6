// The grid document against a real PostgreSQL: groups, filters, edits and
// spreads with undo and redo, save with conflicts, revert, CSV, cancel.
#include <sstream>

#include "dataframework/bridge/ColumnValues.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/SubTotalRow.h"
#include "grid/tests/GridFixture.h"
#include "platform/Interruptable.h"

namespace grid::test {
namespace {

using namespace dataframework;
using Lines = std::vector<std::string>;

TSubTotalRow* Group(TGridDocument& Doc, const std::vector<std::string>& Keys) {
  TKeyValues path;
  for (const auto& k : Keys) path.push_back(StringValue(k));
  return Doc.FindGroup(path);
}

TDataRow* Row(TGridDocument& Doc, const std::string& Region, const std::string& Product,
              int Month) {
  return Doc.FindRow({StringValue(Region), StringValue(Product), IntegerValue(Month)});
}

TEST_F(GridTest, OpensGroupsAndSubtotals) {
  ASSERT_TRUE(Doc->Open("sales"));
  EXPECT_TRUE(Doc->Complete());
  EXPECT_EQ(Rows(*Doc).size(), 7u);
  EXPECT_EQ(View(*Doc), (Lines{"north/apple/1", "north/apple/2", "north/apple/3", "north/pear/1",
                               "south/apple/1", "south/apple/2", "south/kiwi,\"gold\"/1"}))
      << "no groups: the rows in key order";

  Doc->SetGroupColumns({"region"});
  EXPECT_EQ(View(*Doc), (Lines{"S1:north", "S1:south"})) << "collapsed groups";
  TDataField* amount = Doc->Column("amount");
  TDataField* quantity = Doc->Column("QUANTITY");
  EXPECT_EQ(Cell(*Group(*Doc, {"north"}), amount), "65");
  EXPECT_EQ(Cell(*Group(*Doc, {"south"}), quantity), "12");

  Doc->ExpandGroup(Group(*Doc, {"north"}));
  EXPECT_EQ(View(*Doc),
            (Lines{"north/apple/1", "north/apple/2", "north/apple/3", "north/pear/1", "S1:south"}))
      << "one group deep: the rows directly, the product level is no group";
  Doc->CollapseGroup(Group(*Doc, {"north"}));
  EXPECT_EQ(View(*Doc), (Lines{"S1:north", "S1:south"}));

  Doc->SetGroupLevels(2);
  EXPECT_EQ(View(*Doc), (Lines{"S1:north", "S1:south"}));
  Doc->ExpandGroup(Group(*Doc, {"south"}));
  EXPECT_EQ(View(*Doc), (Lines{"S1:north", "S2:south/apple", "S2:south/kiwi,\"gold\""}));
  Doc->ShowLevel(3);
  EXPECT_EQ(View(*Doc).size(), 7u) << "every group expanded";
  Doc->ShowLevel(2);
  EXPECT_EQ(View(*Doc),
            (Lines{"S2:north/apple", "S2:north/pear", "S2:south/apple", "S2:south/kiwi,\"gold\""}));
  Doc->SetGrandTotal(true);
  Doc->SetTotalsBelow(false);
  EXPECT_EQ(View(*Doc), (Lines{"S1:north", "S1:south"})) << "the grand total is an expanded node";
  EXPECT_EQ(Cell(*Doc->Storage().Root(), amount), "372.5");
  Doc->SetFlatMode(true);
  EXPECT_EQ(View(*Doc).size(), 7u) << "flat: every row, no subtotal";
  Doc->SetFlatMode(false);
  EXPECT_EQ(View(*Doc), (Lines{"S1:north", "S1:south"}));

  struct {
    std::function<void()> Call;
    const char* Message;
  } refusals[] = {
      {[&] { Doc->SetGroupLevels(3); }, "sales can be grouped by at most 2 columns"},
      {[&] { Doc->SetGroupColumns({"product"}); },
       "Cannot group by product: groups follow the key columns in order (region, product, month)"},
      {[&] {
         Doc->SetGroupColumns({"region", "product", "month"});
       },
       "Cannot group by month: groups follow the key columns in order (region, product, month)"},
      {[&] { Doc->SetGroupColumns({"colour"}); }, "Unknown column colour in table sales"},
  };
  for (const auto& r : refusals) {
    try {
      r.Call();
      ADD_FAILURE() << "taken: " << r.Message;
    } catch (const EGridError& e) {
      EXPECT_STREQ(e.what(), r.Message);
    }
  }
  EXPECT_EQ(Doc->GroupLevels(), 2) << "a refused grouping changes nothing";
}

TEST_F(GridTest, UnknownTableIsTheBridgesError) {
  try {
    Doc->Open("nosuch");
    FAIL();
  } catch (const dataframework::bridge::EBridgeError& e) {
    EXPECT_STREQ(e.what(), "Table nosuch does not exist");
  }
  EXPECT_FALSE(Doc->IsOpen());
}

TEST_F(GridTest, FilterTextsParseOrSayWhatIsWrong) {
  ASSERT_TRUE(Doc->Open("sales"));
  struct {
    const char* Text;
    const char* Shown;  // FilterText after SetFilterText, or the error
    size_t Rows;
  } cases[] = {
      {"month: 2-3", "TCriteria(TCriteriaField(sales.month: 2-3))", 3},
      {"region: south; amount: 0-150", nullptr, 2},
      {"TCriteria(TCriteriaField(sales.product: 'kiwi,\"gold\"'))", nullptr, 1},
      {"product: a-b", nullptr, 5},
      {"  ", "", 7},
      {"colour: red", "Invalid filter: Unknown column colour in table sales", 0},
      {"month: x", "Invalid filter for column month: Invalid criteria text: x", 0},
      {"month 3", "Invalid filter: \"month 3\" is not <column>: <values>", 0},
      {"TCriteria(TCriteriaField(sales.month: 1)", "Invalid filter: the closing ) is missing", 0},
      {"month: 1; month: 2", "Invalid filter: column month appears twice", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    const std::string before = Doc->FilterText();
    const size_t rowsBefore = Rows(*Doc).size();
    try {
      Doc->SetFilterText(c.Text);
      if (c.Rows == 0) {
        ADD_FAILURE() << "taken";
      }
      EXPECT_EQ(Rows(*Doc).size(), c.Rows) << "the load follows the filter";
      if (c.Shown) {
        EXPECT_EQ(Doc->FilterText(), c.Shown);
      }
      // The shown text reads back as the same criteria.
      const std::string shown = Doc->FilterText();
      Doc->SetFilterText(shown);
      EXPECT_EQ(Doc->FilterText(), shown);
      EXPECT_EQ(Rows(*Doc).size(), c.Rows);
    } catch (const EGridError& e) {
      EXPECT_EQ(c.Rows, 0u) << e.what();
      if (c.Shown) {
        EXPECT_EQ(std::string(e.what()), c.Shown);
      }
      EXPECT_EQ(Doc->FilterText(), before) << "a bad text changes nothing";
      EXPECT_EQ(Rows(*Doc).size(), rowsBefore);
    }
  }
  // The filter's rows are what the database holds for it.
  Doc->SetFilterText("month: 2-3");
  EXPECT_EQ(Rows(*Doc), (Lines{"north/apple/2 20 1 unchanged", "north/apple/3 30 1 unchanged",
                               "south/apple/2 200 4 unchanged"}));
  // A changed filter would drop unsaved work: refused.
  EXPECT_EQ(Doc->EditCell(Row(*Doc, "north", "apple", 2), Doc->Column("amount"), "21"), "Ok");
  EXPECT_THROW(Doc->SetFilterText(""), EGridError);
  EXPECT_EQ(Doc->UnsavedCount(), 1);
}

TEST_F(GridTest, EditsAreParsedAndRefusalsKeepTheValue) {
  ASSERT_TRUE(Doc->Open("sales"));
  TDataField* amount = Doc->Column("amount");
  TDataField* month = Doc->Column("month");
  TDataRow* row = Row(*Doc, "north", "apple", 1);
  EXPECT_EQ(Doc->EditCell(row, amount, "twelve"),
            amount->DataType()->InvalidValueMessage("twelve"));
  EXPECT_EQ(Cell(*row, amount), "10");
  EXPECT_EQ(Doc->EditCell(row, month, "2"), SetResultText(srKeyConflict)) << "a taken key";
  EXPECT_EQ(Doc->UnsavedCount(), 0);
  EXPECT_FALSE(Doc->UndoStack().CanUndo()) << "refusals are no steps";

  EXPECT_EQ(Doc->EditCell(row, amount, "12.5"), "Ok");
  EXPECT_EQ(Cell(*row, amount), "12.5");
  EXPECT_EQ(row->State(), rsModified);
  EXPECT_EQ(Doc->EditCell(row, month, "7"), "Ok") << "a key change moves the row";
  EXPECT_EQ(Row(*Doc, "north", "apple", 1), nullptr);
  EXPECT_EQ(Row(*Doc, "north", "apple", 7), row);
  // In the database that is the old key deleted and a new one inserted.
  EXPECT_EQ(Doc->ChangedCount(), 0);
  EXPECT_EQ(Doc->InsertedCount(), 1);
  EXPECT_EQ(Doc->DeletedCount(), 1);
  EXPECT_EQ(Doc->UndoStack().Count(), 2);
  ASSERT_TRUE(Doc->Undo());
  EXPECT_EQ(Row(*Doc, "north", "apple", 1), row);
  EXPECT_EQ(row->State(), rsModified);
  EXPECT_EQ(Doc->DeletedCount(), 0);
  ASSERT_TRUE(Doc->Undo());
  EXPECT_EQ(Doc->UnsavedCount(), 0);
  EXPECT_EQ(Cell(*row, amount), "10");
}

TEST_F(GridTest, SubtotalsSpreadEvenlyOrInProportion) {
  ASSERT_TRUE(Doc->Open("sales"));
  Doc->SetGroupLevels(2);
  TDataField* amount = Doc->Column("amount");
  TDataField* quantity = Doc->Column("quantity");
  struct {
    TSpreadMode Mode;
    TDataField* Field;
    const char* Total;
    Lines Values;
  } cases[] = {
      {smEven, amount, "120", {"30", "40", "50"}},
      {smProportional, amount, "120", {"20", "40", "60"}},
      {smProportional, quantity, "10", {"3", "3", "4"}},  // rounding ends in the last row
      {smEven, quantity, "6", {"2", "2", "2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Total);
    TSubTotalRow* apples = Group(*Doc, {"north", "apple"});
    ASSERT_NE(apples, nullptr);
    EXPECT_EQ(Doc->EditCell(apples, c.Field, c.Total, c.Mode), "Ok");
    Lines values;
    for (int m = 1; m <= 3; ++m) values.push_back(Cell(*Row(*Doc, "north", "apple", m), c.Field));
    EXPECT_EQ(values, c.Values);
    EXPECT_EQ(Cell(*Group(*Doc, {"north", "apple"}), c.Field), c.Total);
    EXPECT_EQ(Doc->ChangedCount(), 3);
    ASSERT_TRUE(Doc->Undo());
    EXPECT_EQ(Doc->UnsavedCount(), 0) << "the undo gives the states back too";
  }
  // A level-1 spread goes down through the level-2 groups, in proportion.
  EXPECT_EQ(Doc->EditCell(Group(*Doc, {"north"}), amount, "130", smProportional), "Ok");
  EXPECT_EQ(Rows(*Doc)[0], "north/apple/1 20 1 modified");
  EXPECT_EQ(Rows(*Doc)[3], "north/pear/1 10 2 modified");
  // Keys of a subtotal are not writable; a refused text keeps everything.
  EXPECT_NE(Doc->EditCell(Group(*Doc, {"north"}), Doc->Column("region"), "east"), "Ok");
  EXPECT_EQ(Doc->EditCell(Group(*Doc, {"north"}), amount, "x"),
            amount->DataType()->InvalidValueMessage("x"));
  EXPECT_EQ(Cell(*Group(*Doc, {"north"}), amount), "130");
}

TEST_F(GridTest, UndoAndRedoManyStepsDeep) {
  ASSERT_TRUE(Doc->Open("sales"));
  Doc->SetGroupLevels(1);
  TDataField* amount = Doc->Column("amount");
  std::vector<Lines> states{Rows(*Doc)};
  std::vector<int> deleted{Doc->DeletedCount()};
  auto step = [&](const std::function<void()>& Do) {
    Do();
    states.push_back(Rows(*Doc));
    deleted.push_back(Doc->DeletedCount());
  };
  step([&] { EXPECT_EQ(Doc->EditCell(Row(*Doc, "north", "apple", 1), amount, "11"), "Ok"); });
  step([&] {
    EXPECT_EQ(Doc->EditCell(Group(*Doc, {"south"}), amount, "400", smProportional), "Ok");
  });
  step([&] { Doc->AddRow({"west", "fig", "4"}); });
  step([&] { EXPECT_EQ(Doc->EditCell(Row(*Doc, "west", "fig", 4), amount, "9"), "Ok"); });
  step([&] {
    Doc->DeleteRows({Row(*Doc, "north", "apple", 1), Row(*Doc, "west", "fig", 4),
                     Row(*Doc, "north", "pear", 1)});
  });
  step([&] {
    EXPECT_EQ(Doc->EditCell(Row(*Doc, "south", "apple", 2), Doc->Column("product"), "banana"),
              "Ok");
  });
  step([&] { EXPECT_EQ(Doc->EditCell(Group(*Doc, {"north"}), amount, "100"), "Ok"); });
  EXPECT_THROW(Doc->AddRow({"north", "apple", "2"}), EGridError) << "a taken key";
  EXPECT_THROW(Doc->AddRow({"north", "apple"}), EGridError);
  ASSERT_EQ(Doc->UndoStack().Count(), 7);
  EXPECT_EQ(Doc->DeletedCount(), 3)
      << "two loaded rows and the old key of the moved one; the new row is gone";

  for (int round = 0; round < 2; ++round) {
    for (size_t i = states.size() - 1; i > 0; --i) {
      SCOPED_TRACE("undo to " + std::to_string(i - 1));
      ASSERT_TRUE(Doc->Undo());
      EXPECT_EQ(Rows(*Doc), states[i - 1]);
      EXPECT_EQ(Doc->DeletedCount(), deleted[i - 1]);
    }
    EXPECT_FALSE(Doc->Undo());
    EXPECT_EQ(Doc->UnsavedCount(), 0);
    for (size_t i = 1; i < states.size(); ++i) {
      SCOPED_TRACE("redo to " + std::to_string(i));
      ASSERT_TRUE(Doc->Redo());
      EXPECT_EQ(Rows(*Doc), states[i]);
      EXPECT_EQ(Doc->DeletedCount(), deleted[i]);
    }
    EXPECT_FALSE(Doc->Redo());
  }
  // A new step drops what was undone.
  Doc->Undo();
  EXPECT_EQ(Doc->EditCell(Row(*Doc, "south", "apple", 1), amount, "1"), "Ok");
  EXPECT_FALSE(Doc->UndoStack().CanRedo());
}

TEST_F(GridTest, SaveWritesEverythingAndReloadMatchesTheDatabase) {
  ASSERT_TRUE(Doc->Open("sales"));
  TDataField* amount = Doc->Column("amount");
  EXPECT_EQ(Doc->EditCell(Row(*Doc, "north", "apple", 1), amount, "11"), "Ok");
  Doc->AddRow({"west", "fig", "4"});
  EXPECT_EQ(Doc->EditCell(Row(*Doc, "west", "fig", 4), Doc->Column("quantity"), "8"), "Ok");
  Doc->DeleteRows({Row(*Doc, "north", "pear", 1)});
  EXPECT_EQ(Doc->ChangedCount(), 1);
  EXPECT_EQ(Doc->InsertedCount(), 1);
  EXPECT_EQ(Doc->DeletedCount(), 1);
  ASSERT_TRUE(Doc->Save());
  EXPECT_EQ(Doc->UnsavedCount(), 0);
  EXPECT_FALSE(Doc->UndoStack().CanUndo());
  const auto db = Db->Rows(
      "SELECT region || '/' || product || '/' || month || ' ' || amount || ' ' || quantity "
      "FROM sales ORDER BY region COLLATE \"C\", product COLLATE \"C\", month");
  Lines fromDb;
  for (const auto& r : db) fromDb.push_back(*r[0] + " unchanged");
  EXPECT_EQ(Rows(*Doc), fromDb);
  EXPECT_EQ(fromDb.size(), 7u);
  EXPECT_EQ(fromDb[0], "north/apple/1 11 1 unchanged");
  ASSERT_TRUE(Doc->Revert());
  EXPECT_EQ(Rows(*Doc), fromDb) << "read again from the database";
}

TEST_F(GridTest, ConflictNamesTheKeyAndLosesNothing) {
  ASSERT_TRUE(Doc->Open("sales"));
  TDataField* amount = Doc->Column("amount");
  EXPECT_EQ(Doc->EditCell(Row(*Doc, "south", "apple", 2), amount, "201"), "Ok");
  EXPECT_EQ(Doc->EditCell(Row(*Doc, "north", "apple", 1), amount, "11"), "Ok");
  Db->Exec("UPDATE sales SET amount = 999 WHERE region = 'south' AND month = 2");
  const Lines before = Rows(*Doc);
  try {
    Doc->Save();
    FAIL() << "saved over another's change";
  } catch (const dataframework::bridge::EBridgeConflict& e) {
    EXPECT_EQ(e.Key(), "south, apple, 2");
    EXPECT_NE(std::string(e.what()).find("(south, apple, 2)"), std::string::npos) << e.what();
  }
  EXPECT_EQ(Rows(*Doc), before);
  EXPECT_EQ(Doc->UnsavedCount(), 2);
  EXPECT_EQ(Doc->UndoStack().Count(), 2) << "the steps stay";
  EXPECT_EQ(*Db->Rows("SELECT amount FROM sales WHERE region = 'north' AND month = 1 AND "
                      "product = 'apple'")[0][0],
            "10")
      << "nothing of the failed save was written";
  // Both edits taken back, the one without conflict made again: it saves.
  ASSERT_TRUE(Doc->Undo());
  ASSERT_TRUE(Doc->Undo());
  EXPECT_EQ(Doc->EditCell(Row(*Doc, "north", "apple", 1), amount, "11"), "Ok");
  EXPECT_TRUE(Doc->Save());
  EXPECT_EQ(*Db->Rows("SELECT amount FROM sales WHERE region = 'south' AND month = 2")[0][0],
            "999");
}

TEST_F(GridTest, CsvExportReadsBack) {
  ASSERT_TRUE(Doc->Open("sales"));
  Doc->SetGroupLevels(1);
  std::ostringstream plain, totals;
  Doc->ExportCsv(plain, false);
  auto records = ReadCsv(plain.str());
  ASSERT_EQ(records.size(), 8u);
  EXPECT_EQ(records[0], (Lines{"region", "product", "month", "amount", "quantity"}));
  EXPECT_EQ(records[7], (Lines{"south", "kiwi,\"gold\"", "1", "7.5", "5"}));
  EXPECT_NE(plain.str().find("\"kiwi,\"\"gold\"\"\""), std::string::npos)
      << "quoted, quotes doubled";

  Doc->ExportCsv(totals, true);
  records = ReadCsv(totals.str());
  ASSERT_EQ(records.size(), 10u);
  EXPECT_EQ(records[0][0], "level");
  EXPECT_EQ(records[1], (Lines{"1", "north", "", "", "65", "5"}));
  EXPECT_EQ(records[2], (Lines{"", "north", "apple", "1", "10", "1"}));
  EXPECT_EQ(records[6], (Lines{"1", "south", "", "", "307.5", "12"}));
  Doc->SetTotalsBelow(true);
  std::ostringstream below;
  Doc->ExportCsv(below, true);
  records = ReadCsv(below.str());
  EXPECT_EQ(records[5], (Lines{"1", "north", "", "", "65", "5"})) << "after its rows";
  EXPECT_EQ(TGridDocument::CsvField("a\r\nb"), "\"a\r\nb\"");
  EXPECT_EQ(TGridDocument::CsvField("Ωmega"), "Ωmega") << "UTF-8 as it is";
}

TEST_F(GridTest, CancelledLoadKeepsWhatWasRead) {
  Db->Exec("INSERT INTO sales SELECT 'x', 'p', g, g, 1 FROM generate_series(1, 20000) g");
  Bridge->BlockRows = 1000;
  platform::TInterruptable progress;
  Bridge->OnProgress = [](platform::TInterruptable& p) {
    if (p.Counter(0) >= 3000) p.SetInterrupted(true);
  };
  EXPECT_FALSE(Doc->Open("sales", &progress));
  EXPECT_FALSE(Doc->Complete());
  const size_t read = Rows(*Doc).size();
  EXPECT_GE(read, 3000u);
  EXPECT_LT(read, 20007u);
  Bridge->OnProgress = nullptr;
  platform::TInterruptable again;
  EXPECT_TRUE(Doc->Revert(&again));
  EXPECT_EQ(Rows(*Doc).size(), 20007u);
}

}  // namespace
}  // namespace grid::test
