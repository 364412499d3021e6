// The bridge against a real PostgreSQL, over both engines: describing
// tables, loading on demand, saving with conflicts.
#include <gtest/gtest.h>

#include "dataframework/bridge/tests/BridgeFixture.h"
#include "dataframework/conditions/QuiltField.h"
#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "db/Errors.h"

namespace dataframework::bridge::test {
namespace {

const char* const kItems =
    "DROP TABLE IF EXISTS items; "
    "CREATE TABLE items (k1 integer, k2 varchar(10), amount numeric(12,2), ratio double "
    "precision, name varchar(20), note text, flag boolean, day date, at time, stamp timestamp, "
    "PRIMARY KEY (k2, k1)); "
    "INSERT INTO items VALUES "
    "(1, 'a', 12.50, 0.5, 'O''Neil', 'x', true, '2024-02-29', '10:00:00', '2024-01-01 10:00:00'),"
    "(2, 'a', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),"
    "(1, 'b\xc3\xa9', -3.25, 1e10, '\xc3\x9c"
    "ber \"q\"', '', false, '1850-06-01', '23:59:59', "
    "'1999-12-31 23:59:59.5');";

std::string Message(const std::exception& E) {
  return E.what();
}

TEST_P(BridgeTest, DescribesKeysAndTypesInKeyOrder) {
  Db->Exec(kItems);
  auto table = Bridge->Describe("items");
  const auto& c = table->Columns();
  ASSERT_EQ(c.size(), 10u);
  EXPECT_EQ(table->KeyCount(), 2);
  EXPECT_EQ(c[0].Name, "k2");
  EXPECT_EQ(c[1].Name, "k1");
  const TColumnKind kinds[] = {ckString, ckInteger, ckCurrency, ckDouble, ckString,
                               ckMemo,   ckBoolean, ckDate,     ckTime,   ckDateTime};
  for (size_t i = 0; i < c.size(); ++i) EXPECT_EQ(c[i].Kind, kinds[i]) << c[i].Name;
  EXPECT_EQ(c[0].Size, 10);
  EXPECT_EQ(&table->Table(), table->Storage().Table());
  EXPECT_EQ(table->Table().DataBridge(), Bridge.get());
}

TEST_P(BridgeTest, RefusesTablesItCannotHold) {
  Db->Exec(
      "DROP TABLE IF EXISTS nokey, odd; CREATE TABLE nokey (a integer); "
      "CREATE TABLE odd (k integer PRIMARY KEY, blob bytea, v integer)");
  struct TCase {
    const char* Name;
    const char* Error;
  } cases[] = {{"missing", "Table missing does not exist"},
               {"nokey", "Table nokey has no primary key"},
               {"odd", "Column odd.blob has a type the framework cannot hold (bytea)"}};
  for (const TCase& t : cases) {
    try {
      Bridge->Describe(t.Name);
      ADD_FAILURE() << t.Name;
    } catch (const EBridgeError& e) {
      EXPECT_EQ(Message(e), t.Error);
    }
  }
  auto odd = Bridge->Describe("odd", ucLeaveOut);
  ASSERT_EQ(odd->Columns().size(), 2u);
  EXPECT_EQ(odd->LeftOut(), std::vector<std::string>{"blob (bytea)"});
}

// The database's rows of items as the storage should show them (NULL read
// as the type's empty value), key order.
std::vector<TDbRow> Expected(TPgSession& Db, const TBridgeTable& Table, const std::string& Where) {
  std::vector<TDbRow> rows =
      Db.Rows("SELECT k2, k1, amount, ratio, name, note, flag, day, at, stamp FROM items " + Where +
              " ORDER BY k2 COLLATE \"C\", k1");
  for (TDbRow& row : rows) {
    for (size_t c = 0; c < row.size(); ++c) {
      const TBridgeColumn& col = Table.Columns()[c];
      TValue v;
      if (row[c]) {
        v = ValueFromText(col.Kind, col.Field->DataType(), *row[c], "items", col.Name);
      } else {
        v = NullValue(col.Kind, col.Field->DataType());
      }
      row[c] = TextOfValue(col.Kind, v);
    }
  }
  return rows;
}

TEST_P(BridgeTest, LoadsOnDemandOnlyWhatIsNotLoaded) {
  Db->Exec(kItems);
  auto table = Bridge->Describe("items");
  TQuiltPatch onlyA;
  onlyA.FieldFor(table->Columns()[0].Field, true)->AddValue(StringValue("a"));
  EXPECT_EQ(Bridge->Load(*table, &onlyA), 2);
  EXPECT_EQ(StorageRows(*table), Expected(*Db, *table, "WHERE k2 = 'a'"));
  EXPECT_EQ(Bridge->Load(*table, &onlyA), 0);   // already there
  EXPECT_EQ(Bridge->Load(*table, nullptr), 1);  // only the rest
  EXPECT_EQ(StorageRows(*table), Expected(*Db, *table, ""));
  EXPECT_EQ(table->Storage().CountRows(rsUnchanged), 3);
  EXPECT_EQ(Bridge->Load(*table, nullptr), 0);
}

TEST_P(BridgeTest, LongValueListsLoadExactlyTheirRows) {
  // More values than a statement may carry parameters (65,535), and texts
  // that need quoting inside a list.
  Db->Exec(
      "DROP TABLE IF EXISTS many; CREATE TABLE many (k integer PRIMARY KEY, t varchar(8)); "
      "INSERT INTO many SELECT i, CASE i % 3 WHEN 0 THEN 'a\"' || i WHEN 1 THEN 'b\\' || i "
      "ELSE 'c,' || i END FROM generate_series(0, 99999) i;");
  auto table = Bridge->Describe("many");
  TQuiltPatch evens;
  TQuiltField* keys = evens.FieldFor(table->Columns()[0].Field, true);
  for (int k = 0; k < 140000; k += 2) keys->AddValue(IntegerValue(k));
  int expected = 50000;
  if (GetParam() == eOdbc) {
    // ODBC sends a list as one parameter per value: a clear refusal.
    try {
      Bridge->Load(*table, &evens);
      ADD_FAILURE() << "sent 70,000 parameters";
    } catch (const EBridgeError& e) {
      EXPECT_EQ(Message(e), "The condition on many has more than 32767 values to send at once");
    }
    EXPECT_EQ(table->Storage().CountRows(rsUnchanged), 0);
    keys->Clear();
    for (int k = 0; k < 60000; k += 2) keys->AddValue(IntegerValue(k));
    keys->AddInterval(MakePoint(IntegerValue(60000), true), PlusInfinity());
    expected = 30000 + 40000;
  }
  EXPECT_EQ(Bridge->Load(*table, &evens), expected);
  TQuiltPatch texts;
  TQuiltField* t = texts.FieldFor(table->Columns()[1].Field, true);
  for (int k = 1; k < 1000; k += 2)  // odd keys: not loaded yet
    t->AddValue(StringValue((k % 3 == 0 ? "a\"" : k % 3 == 1 ? "b\\" : "c,") + std::to_string(k)));
  EXPECT_EQ(Bridge->Load(*table, &texts), 500);
  EXPECT_EQ(table->Storage().CountRows(rsUnchanged), expected + 500);
  auto* row = static_cast<TDataRow*>(table->Storage().LocateRow({"1"}));
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->GetFStringValue(table->Columns()[1].Field), "b\\1");
}

TEST_P(BridgeTest, CancelKeepsWholeBlocksAndTheLoadedQuiltExact) {
  Db->Exec(
      "DROP TABLE IF EXISTS big; CREATE TABLE big (g integer, n integer, v double precision, "
      "PRIMARY KEY (g, n)); INSERT INTO big SELECT i / 100, i % 100, i FROM "
      "generate_series(0, 999) i");
  auto table = Bridge->Describe("big");
  Bridge->BlockRows = 150;
  platform::TInterruptable progress;
  Bridge->OnProgress = [](platform::TInterruptable& P) {
    if (P.Counters[bcRowsRead] >= 300) P.SetInterrupted(true);
  };
  const int first = Bridge->Load(*table, nullptr, &progress);
  EXPECT_EQ(first, 300);
  EXPECT_EQ(table->Storage().CountRows(rsUnchanged), 300);
  Bridge->OnProgress = nullptr;
  EXPECT_EQ(Bridge->Load(*table, nullptr), 700);
  EXPECT_EQ(table->Storage().CountRows(rsUnchanged), 1000);
}

TEST_P(BridgeTest, LostConnectionDuringLoadLosesNothing) {
  Db->Exec(
      "DROP TABLE IF EXISTS big; CREATE TABLE big (g integer, n integer, PRIMARY KEY (g, n)); "
      "INSERT INTO big SELECT i / 100, i % 100 FROM generate_series(0, 2999) i");
  auto table = Bridge->Describe("big");
  TQuiltPatch first;
  first.FieldFor(table->Columns()[0].Field, true)->AddValue(IntegerValue(0));
  EXPECT_EQ(Bridge->Load(*table, &first), 100);
  Db->Terminate(BackendPid(*Bridge, *Db));  // the server ends the bridge's session
  EXPECT_THROW(Bridge->Load(*table, nullptr), db::EDatabaseError);
  EXPECT_EQ(table->Storage().CountRows(rsUnchanged), 100);
  EXPECT_EQ(Bridge->Load(*table, nullptr), 2900);  // reopened, only the rest
  EXPECT_EQ(table->Storage().CountRows(rsUnchanged), 3000);
}

TDataRow* Find(TBridgeTable& T, const std::string& K2, int K1) {
  return static_cast<TDataRow*>(T.Storage().LocateRow({K2, std::to_string(K1)}));
}

TEST_P(BridgeTest, SavesChangesInsertsAndDeletes) {
  Db->Exec(kItems);
  auto table = Bridge->Describe("items");
  Bridge->Load(*table, nullptr);
  TBridgeRowStorage& s = table->Storage();
  auto* nameField = table->Columns()[4].Field;
  ASSERT_NE(Find(*table, "a", 1), nullptr);
  Find(*table, "a", 1)->SetFieldValue(nameField, StringValue("It's \xc3\xa9"));
  Find(*table, "a", 2)->Delete(true);
  auto row = s.CreateRow();
  row->SetIndexValue(0, StringValue("z"));
  row->SetIndexValue(1, IntegerValue(9));
  row->SetFieldValue(nameField, StringValue("new"));
  ASSERT_EQ(s.PutNewRow(row, paRefuse), prOk);
  platform::TInterruptable progress;
  ASSERT_TRUE(Bridge->Save(*table, nullptr, &progress));
  EXPECT_EQ(progress.Counters[bcRowsUpdated], 1);
  EXPECT_EQ(progress.Counters[bcRowsDeleted], 1);
  EXPECT_EQ(progress.Counters[bcRowsInserted], 1);
  EXPECT_EQ(s.DeletedRowCount(), 0);
  EXPECT_EQ(s.CountRows(rsUnchanged), 3);
  // The NULLs of the changed row's other columns stay NULL.
  EXPECT_EQ(Db->Rows("SELECT name, amount IS NULL FROM items WHERE k2='a' AND k1=1")[0],
            (TDbRow{"It's \xc3\xa9", "f"}));
  EXPECT_EQ(StorageRows(*table), Expected(*Db, *table, ""));
  // A reload through a fresh table gives the edited table.
  auto again = Bridge->Describe("items");
  Bridge->Load(*again, nullptr);
  EXPECT_EQ(StorageRows(*again), StorageRows(*table));
}

TEST_P(BridgeTest, ConflictFailsTheWholeSaveAndKeepsEveryChange) {
  Db->Exec(kItems);
  auto table = Bridge->Describe("items");
  Bridge->Load(*table, nullptr);
  auto* nameField = table->Columns()[4].Field;
  Find(*table, "a", 1)->SetFieldValue(nameField, StringValue("mine"));
  Find(*table, "a", 2)->SetFieldValue(nameField, StringValue("mine too"));
  Db->Exec("UPDATE items SET ratio = 7 WHERE k2 = 'a' AND k1 = 2");
  const auto before = Db->Rows("SELECT * FROM items ORDER BY 1, 2");
  try {
    Bridge->Save(*table);
    ADD_FAILURE() << "saved over a changed row";
  } catch (const EBridgeConflict& e) {
    EXPECT_EQ(e.Key(), "a, 2");
    EXPECT_EQ(Message(e), "Conflict in items: the row (a, 2) was changed in the database");
  }
  EXPECT_EQ(Db->Rows("SELECT * FROM items ORDER BY 1, 2"), before);
  EXPECT_EQ(table->Storage().CountRows(rsModified), 2);
  EXPECT_EQ(Find(*table, "a", 1)->GetFStringValue(nameField), "mine");

  // Deleted there, inserted twice: both conflicts too.
  Db->Exec("DELETE FROM items WHERE k2 = 'a' AND k1 = 1");
  EXPECT_THROW(Bridge->Save(*table), EBridgeConflict);
  EXPECT_EQ(table->Storage().CountRows(rsModified), 2);
}

TEST_P(BridgeTest, RefusedSaveAndLostConnectionLoseNothing) {
  Db->Exec(kItems);
  auto table = Bridge->Describe("items");
  Bridge->Load(*table, nullptr);
  auto* nameField = table->Columns()[4].Field;
  Find(*table, "a", 1)->SetFieldValue(nameField, StringValue("far too long for twenty"));
  Find(*table, "a", 2)->SetFieldValue(nameField, StringValue("fine"));
  const auto before = Db->Rows("SELECT * FROM items ORDER BY 1, 2");
  EXPECT_THROW(Bridge->Save(*table), db::EDatabaseError);
  EXPECT_EQ(Db->Rows("SELECT * FROM items ORDER BY 1, 2"), before);
  EXPECT_EQ(table->Storage().CountRows(rsModified), 2);

  Find(*table, "a", 1)->SetFieldValue(nameField, StringValue("short"));
  Db->Terminate(BackendPid(*Bridge, *Db));
  EXPECT_THROW(Bridge->Save(*table), db::EDatabaseError);
  EXPECT_EQ(Db->Rows("SELECT * FROM items ORDER BY 1, 2"), before);
  EXPECT_EQ(table->Storage().CountRows(rsModified), 2);
  EXPECT_TRUE(Bridge->Save(*table));  // reopened
  EXPECT_EQ(Db->Rows("SELECT name FROM items WHERE k2 = 'a' ORDER BY k1"),
            (std::vector<TDbRow>{{"short"}, {"fine"}}));
}

TEST_P(BridgeTest, DatabaseRefusingTheSaveLosesNothing) {
  // The database refuses through a check constraint (an update) and a
  // trigger (an insert); each save fails whole with the server's error.
  Db->Exec(std::string(kItems) +
           "ALTER TABLE items ADD CONSTRAINT sane_ratio CHECK (ratio IS NULL OR ratio <> 100);"
           "CREATE OR REPLACE FUNCTION no_z() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
           "IF NEW.k2 = 'z' THEN RAISE EXCEPTION 'no z keys'; END IF; RETURN NEW; END $$;"
           "CREATE TRIGGER no_z BEFORE INSERT ON items FOR EACH ROW EXECUTE FUNCTION no_z();");
  auto table = Bridge->Describe("items");
  Bridge->Load(*table, nullptr);
  TBridgeRowStorage& s = table->Storage();
  const auto before = Db->Rows("SELECT * FROM items ORDER BY 1, 2");
  Find(*table, "a", 1)->SetFieldValue(table->Columns()[3].Field, DoubleValue(100));
  Find(*table, "a", 2)->Delete(true);
  try {
    Bridge->Save(*table);
    ADD_FAILURE() << "saved past the check constraint";
  } catch (const db::EDatabaseError& e) {
    EXPECT_EQ(e.SqlState(), "23514");
    EXPECT_NE(Message(e).find("sane_ratio"), std::string::npos) << Message(e);
  }
  EXPECT_EQ(Db->Rows("SELECT * FROM items ORDER BY 1, 2"), before);
  EXPECT_EQ(s.CountRows(rsModified), 1);
  EXPECT_EQ(s.DeletedRowCount(), 1);

  Find(*table, "a", 1)->SetFieldValue(table->Columns()[3].Field, DoubleValue(2));
  auto row = s.CreateRow();
  row->SetIndexValue(0, StringValue("z"));
  row->SetIndexValue(1, IntegerValue(1));
  ASSERT_EQ(s.PutNewRow(row, paRefuse), prOk);
  try {
    Bridge->Save(*table);
    ADD_FAILURE() << "saved past the trigger";
  } catch (const db::EDatabaseError& e) {
    EXPECT_NE(Message(e).find("no z keys"), std::string::npos) << Message(e);
  }
  EXPECT_EQ(Db->Rows("SELECT * FROM items ORDER BY 1, 2"), before);
  EXPECT_EQ(s.CountRows(rsInserted), 1);
  EXPECT_EQ(s.CountRows(rsModified), 1);

  // Without the refused row the same save goes through.
  Find(*table, "z", 1)->Delete(true);
  EXPECT_TRUE(Bridge->Save(*table));
  EXPECT_EQ(Db->Rows("SELECT ratio, (SELECT count(*) FROM items) FROM items WHERE k2 = 'a'"),
            (std::vector<TDbRow>{{"2", "2"}}));
}

TEST_P(BridgeTest, ReadOnlyBridgeRefusesWritesAsTheBaseDoes) {
  Db->Exec(kItems);
  auto table = Bridge->Describe("items");
  Bridge->SetCanWrite(false);
  const std::string name = Bridge->ClassName();
  try {
    Bridge->Save(*table);
    ADD_FAILURE();
  } catch (const std::exception& e) {
    EXPECT_EQ(Message(e), name + ".UpdateData: Write is not allowed to this type of DataBridge");
  }
  try {
    table->Table().DeleteData(nullptr);
    ADD_FAILURE();
  } catch (const std::exception& e) {
    EXPECT_EQ(Message(e), name + ".DeleteData: Write is not allowed to this type of DataBridge");
  }
  Bridge->SetCanWrite(true);
  TQuiltPatch onlyA;
  onlyA.FieldFor(table->Columns()[0].Field, true)->AddValue(StringValue("a"));
  EXPECT_EQ(table->Table().DeleteData(&onlyA), 2);
  EXPECT_EQ(Db->Rows("SELECT count(*) FROM items")[0][0], "1");
}

TEST_P(BridgeTest, ConditionOnAnotherFieldAndCancelledSaveChangeNothing) {
  Db->Exec(kItems);
  auto table = Bridge->Describe("items");
  auto stranger = TDataField::CreateField("bridge.stranger", IntegerType());
  TQuiltPatch foreign;
  foreign.FieldFor(stranger.get(), true)->AddValue(IntegerValue(1));
  try {
    Bridge->Load(*table, &foreign);
    ADD_FAILURE();
  } catch (const EBridgeError& e) {
    EXPECT_EQ(Message(e), "Field bridge.stranger is not a column of items");
  }
  EXPECT_EQ(table->Storage().CountRows(rsUnchanged), 0);

  Bridge->Load(*table, nullptr);
  Find(*table, "a", 1)->Delete(true);
  Find(*table, "a", 2)->SetFieldValue(table->Columns()[4].Field, StringValue("later"));
  const auto before = Db->Rows("SELECT * FROM items ORDER BY 1, 2");
  platform::TInterruptable progress;
  Bridge->OnProgress = [](platform::TInterruptable& P) { P.SetInterrupted(true); };
  EXPECT_FALSE(Bridge->Save(*table, nullptr, &progress));
  EXPECT_EQ(Db->Rows("SELECT * FROM items ORDER BY 1, 2"), before);
  EXPECT_EQ(table->Storage().DeletedRowCount(), 1);
  EXPECT_EQ(table->Storage().CountRows(rsModified), 1);
  Bridge->OnProgress = nullptr;
  EXPECT_TRUE(Bridge->Save(*table));
  EXPECT_EQ(Db->Rows("SELECT name FROM items WHERE k2 = 'a'"), (std::vector<TDbRow>{{"later"}}));
}

INSTANTIATE_TEST_SUITE_P(Engines, BridgeTest, ::testing::Values(ePg, eOdbc), EngineName);

}  // namespace
}  // namespace dataframework::bridge::test
