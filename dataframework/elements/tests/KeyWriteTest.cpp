// Writes of a stored row's tree keys (the row moves in the tree) and
// deleting rows.
#include <gtest/gtest.h>

#include "dataframework/elements/tests/RowsFixture.h"
#include "platform/Errors.h"

namespace dataframework::rowstest {
namespace {

using platform::TDataErrorCapture;

struct KeyWriteCase {
  const char* Name;
  TSetAction Action;
  int NewK1;             // the row (1, "a") gets this RK1
  bool TargetTaken;      // a row (NewK1, "a") exists
  TRowState RowState;    // of the moving row
  TRowState OtherState;  // of the row at the target
  TSetResult Result;
  bool Moved;          // the row sits at (NewK1, "a") afterwards
  int DeletedRows;     // rows waiting for the write-back afterwards
  TRowState EndState;  // of the moving row
};

class KeyWriteTest : public RowsFixture, public ::testing::WithParamInterface<KeyWriteCase> {};

TEST_P(KeyWriteTest, RowMovesOrStays) {
  const KeyWriteCase& c = GetParam();
  TDataRow* row = Put(1, "a", 1, 0, "moving", c.RowState);
  Put(1, "b", 10);  // keeps the old subtotal alive
  TDataRow* other = c.TargetTaken ? Put(c.NewK1, "a", 100, 0, "other", c.OtherState) : nullptr;

  EXPECT_EQ(row->SetFieldValueEx(K1.get(), IntegerValue(c.NewK1), c.Action), c.Result);
  EXPECT_EQ(row->LockCount(), 0);
  EXPECT_EQ(row->State(), c.EndState);
  if (c.Moved) {
    EXPECT_EQ(Find(c.NewK1, "a"), row);
    EXPECT_EQ(Find(1, "a"), nullptr) << "the old key left the tree";
    EXPECT_EQ(row->GetFIntegerValue(K1.get()), c.NewK1);
  } else {
    EXPECT_EQ(Find(1, "a"), row) << "the row keeps its old place";
    EXPECT_EQ(row->GetFIntegerValue(K1.get()), 1);
    if (other != nullptr) {
      EXPECT_EQ(Find(c.NewK1, "a"), other);
    }
  }
  EXPECT_EQ(Text(row, N.get()), "moving");
  ASSERT_EQ(Storage->DeletedRowCount(), c.DeletedRows);
  for (int i = 0; i < Storage->DeletedRowCount(); ++i) {
    TDataRow* deleted = Storage->DeletedRow(i);
    EXPECT_EQ(deleted->State(), rsDeleted);
    EXPECT_EQ(deleted->Parent(), nullptr);
    EXPECT_NE(deleted, row);
  }
  if (c.RowState == rsUnchanged && c.Moved) {
    // The old key must still be deleted in the database.
    int oldKeys = 0;
    for (int i = 0; i < Storage->DeletedRowCount(); ++i) {
      TDataRow* old = Storage->DeletedRow(i);
      if (old->GetFIntegerValue(K1.get()) != 1) continue;
      ++oldKeys;
      EXPECT_EQ(Text(old, N.get()), "moving");
    }
    EXPECT_EQ(oldKeys, 1);
  }
  ExpectTotalsRight();
}

INSTANTIATE_TEST_SUITE_P(
    Actions, KeyWriteTest,
    ::testing::Values(KeyWriteCase{"FreeKey", saRefuse, 2, false, rsInserted, rsInserted, srOk,
                                   true, 0, rsInserted},
                      KeyWriteCase{"FreeKeyLoaded", saRefuse, 2, false, rsUnchanged, rsInserted,
                                   srOk, true, 1, rsInserted},
                      KeyWriteCase{"FreeKeyOverwriteAction", saOverwrite, 2, false, rsModified,
                                   rsInserted, srOk, true, 1, rsInserted},
                      KeyWriteCase{"TakenRefused", saRefuse, 2, true, rsUnchanged, rsInserted,
                                   srKeyConflict, false, 0, rsUnchanged},
                      KeyWriteCase{"TakenOverwritten", saOverwrite, 2, true, rsInserted, rsInserted,
                                   srKeyOverwrited, true, 0, rsInserted},
                      KeyWriteCase{"TakenOverwrittenBothLoaded", saOverwrite, 2, true, rsUnchanged,
                                   rsUnchanged, srKeyOverwrited, true, 2, rsInserted}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(RowsFixture, KeyWriteOfTheLastRowRemovesItsSubtotals) {
  TDataRow* row = Put(1, "a", 5);
  Put(2, "b", 7);
  EXPECT_EQ(row->SetFieldValue(K1.get(), IntegerValue(2)), srOk);
  EXPECT_EQ(Sub(1), nullptr) << "the emptied subtotal row is gone";
  ASSERT_NE(Sub(2), nullptr);
  EXPECT_EQ(Sub(2)->ChildCount(), 2);
  EXPECT_EQ(row->SetFieldValue(K2.get(), StringValue("c")), srOk) << "a key of the last level";
  EXPECT_EQ(Find(2, "c"), row);
  ExpectTotalsRight();
}

TEST_F(RowsFixture, KeyWriteWithUnknownActionIsFatalAndChangesNothing) {
  TDataRow* row = Put(1, "a", 5);
  TDataErrorCapture capture;
  try {
    row->SetFieldValueEx(K1.get(), IntegerValue(2), static_cast<TSetAction>(7));
    ADD_FAILURE() << "no error";
  } catch (const platform::Exception& e) {
    EXPECT_STREQ(e.what(), "Unknown TSetAction 7)!");
  }
  EXPECT_EQ(Find(1, "a"), row);
  EXPECT_EQ(row->LockCount(), 0);
  // A plain field ignores the action.
  EXPECT_EQ(row->SetFieldValueEx(A.get(), DoubleValue(6), static_cast<TSetAction>(7)), srOk);
}

TEST_F(RowsFixture, KeyWriteOutsideTheKeyCriteriaIsInvalid) {
  auto criteria = std::make_unique<TCriteria>();
  criteria->CriteriaFields(K1.get()).AddValue(IntegerValue(1));
  criteria->CriteriaFields(K1.get()).AddValue(IntegerValue(2));
  Storage->SetCriteria(std::move(criteria));
  TDataRow* row = Put(1, "a", 5);
  EXPECT_EQ(row->SetFieldValue(K1.get(), IntegerValue(3)), srInvalidValue);
  EXPECT_EQ(Find(1, "a"), row);
  EXPECT_EQ(row->SetFieldValue(K1.get(), IntegerValue(2)), srOk);
  EXPECT_EQ(Find(2, "a"), row);
  EXPECT_EQ(row->SetFieldValue(A.get(), DoubleValue(9)), srOk) << "other fields are not checked";
}

TEST_F(RowsFixture, KeyWriteInAStorageWhoseCriteriaMissesFieldsIsInvalid) {
  auto criteria = std::make_unique<TCriteria>();
  criteria->CriteriaFields(N.get()).AddValue(StringValue("x"));
  Storage->SetCriteria(std::move(criteria));
  ASSERT_FALSE(Storage->CriteriaCoversFields());
  // Such a storage takes no rows; a row that knows it as its storage (put
  // before the criteria came) cannot change keys, other fields it can.
  std::unique_ptr<TDataRow> row = MakeRow(1, "a", 5);
  row->SetStorage(Storage.get());
  EXPECT_EQ(row->SetFieldValue(K1.get(), IntegerValue(2)), srInvalidValue);
  EXPECT_EQ(row->SetFieldValue(A.get(), DoubleValue(2)), srOk);
}

TEST_F(RowsFixture, RunningNumberKeyIsNeverWritten) {
  std::unique_ptr<TDataTable> numbered =
      TDataTable::CreateTable("RowsNumbered", nullptr, {K1.get(), K2.get()}, {A.get()}, nullptr);
  numbered->SetRunningNumberField(K2.get());
  TRowStorage storage(numbered.get());
  std::unique_ptr<TDataRow> row = storage.CreateRow();
  row->SetFieldValue(K1.get(), IntegerValue(1));
  TDataRow* raw = row.get();
  ASSERT_EQ(storage.PutNewRow(row, paRefuse), prOk);
  const std::string number = Text(raw, K2.get());
  EXPECT_EQ(number, "-1") << "the generator numbered the row";
  EXPECT_EQ(raw->SetFieldValue(K2.get(), StringValue("77")), srInvalidValue);
  EXPECT_EQ(Text(raw, K2.get()), number);
  EXPECT_EQ(storage.LocateRow({"1", number}), raw);
  EXPECT_EQ(raw->LockCount(), 0);
}

// ---------------------------------------------------------- Delete

TEST_F(RowsFixture, DeleteByState) {
  struct Case {
    const char* Name;
    TRowState State;
    bool Kept;  // in the deleted-row list
  } cases[] = {{"inserted", rsInserted, false},
               {"loaded", rsUnchanged, true},
               {"modified", rsModified, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Storage->Root()->ClearChildren();
    const int before = Storage->DeletedRowCount();
    TDataRow* row = Put(1, "a", 5, 0, "", c.State);
    Put(1, "b", 7);
    row->Delete(true);
    EXPECT_EQ(Find(1, "a"), nullptr);
    EXPECT_EQ(Storage->DeletedRowCount(), before + (c.Kept ? 1 : 0));
    if (c.Kept) {
      EXPECT_EQ(Storage->DeletedRow(before), row);
      EXPECT_EQ(row->State(), rsDeleted);
      EXPECT_EQ(row->Parent(), nullptr);
      row->Delete(true);  // a deleted row stays as it is
      EXPECT_EQ(Storage->DeletedRowCount(), before + 1);
      // Writes to a deleted row do not bring it back into the tree.
      EXPECT_EQ(row->SetFieldValue(K1.get(), IntegerValue(3)), srOk);
      EXPECT_EQ(Find(3, "a"), nullptr);
    }
    ExpectTotalsRight();
  }
}

TEST_F(RowsFixture, DeleteFreesAFreeRow) {
  std::unique_ptr<TDataRow> row = MakeRow(1, "a", 5);
  row.release()->Delete(false);  // freed; the sanitizer build sees any leak or misuse
  EXPECT_TRUE(Storage->IsEmpty());
}

TEST_F(RowsFixture, DeleteKeepingTheKeyLeavesAnEntryUntilPruned) {
  TDataRow* row = Put(1, "a", 5);
  Put(1, "b", 7);
  TSubTotalRow* sub = Sub(1);
  row->Delete(false);
  ASSERT_EQ(sub->ChildCount(), 2) << "the key stays";
  EXPECT_EQ(sub->Child(0), nullptr);
  EXPECT_DOUBLE_EQ(Num(sub, A.get()), 7) << "the totals skip the empty entry";
  EXPECT_DOUBLE_EQ(Num(Storage->Root(), A.get()), 7);
  EXPECT_EQ(Find(1, "a"), nullptr);
  EXPECT_EQ(Storage->Root()->CountState(rsInserted), 1);
  // A put fills the key again.
  std::unique_ptr<TDataRow> again = MakeRow(1, "a", 1);
  EXPECT_EQ(Storage->PutNewRow(again, paRefuse), prOk);
  EXPECT_EQ(sub->ChildCount(), 2);
  Find(1, "a")->Delete(false);
  sub->PruneEmptyEntries();
  EXPECT_EQ(sub->ChildCount(), 1);
  ExpectTotalsRight();
}

}  // namespace
}  // namespace dataframework::rowstest
