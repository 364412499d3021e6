// Real fields, a table and a row storage for the row and subtotal tests.
//
// Table "RowsT": keys RK1 (integer) and RK2 (text of 10), aggregable doubles
// RA and RB, a non-aggregable text RN and a memo RM. The storage's tree has
// two levels: the root groups by RK1, its children by RK2, and their
// children are the data rows. Freed storage first, table next, fields last.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/conditions/CriteriaField.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/elements/SubTotalHandler.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/elements/internal/SubTotalChildren.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/DataError.h"
#include "platform/StringList.h"

namespace dataframework::rowstest {

class RowsFixture : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> K1 = TKeyField::CreateSimpleKey("RK1", IntegerType());
  std::unique_ptr<TKeyField> K2 = TKeyField::CreateSimpleKey("RK2", StringType(10, true));
  std::unique_ptr<TDataField> A = TDataField::CreateField("RA", DoubleType());
  std::unique_ptr<TDataField> B = TDataField::CreateField("RB", DoubleType());
  std::unique_ptr<TDataField> N = TDataField::CreateField("RN", StringType(20, true));
  std::unique_ptr<TDataField> M = TDataField::CreateField("RM", MemoType());
  std::unique_ptr<TDataTable> Table;
  std::unique_ptr<TRowStorage> Storage;

  void SetUp() override {
    Table = TDataTable::CreateTable("RowsT", nullptr, {K1.get(), K2.get()},
                                    {A.get(), B.get(), N.get(), M.get()}, nullptr);
    Storage = std::make_unique<TRowStorage>(Table.get());
  }
  void TearDown() override {
    Storage.reset();
    Table.reset();
  }

  // A free row of the table with the given values.
  std::unique_ptr<TDataRow> MakeRow(int k1, const std::string& k2, double a, double b = 0,
                                    const std::string& n = "") {
    std::unique_ptr<TDataRow> row = TDataRow::CreateFromDefaults(Table.get());
    row->SetFieldValue(K1.get(), IntegerValue(k1));
    row->SetFieldValue(K2.get(), StringValue(k2));
    row->SetFieldValue(A.get(), DoubleValue(a));
    row->SetFieldValue(B.get(), DoubleValue(b));
    row->SetFieldValue(N.get(), StringValue(n));
    return row;
  }
  // Puts a new row with paRefuse; the stored row. State given: set after the put
  // (rsUnchanged stands for a row loaded from the database).
  TDataRow* Put(int k1, const std::string& k2, double a, double b = 0, const std::string& n = "",
                TRowState state = rsInserted) {
    std::unique_ptr<TDataRow> row = MakeRow(k1, k2, a, b, n);
    TDataRow* raw = row.get();
    EXPECT_EQ(Storage->PutNewRow(row, paRefuse), prOk);
    raw->SetState(state);
    return raw;
  }
  TDataRow* Find(int k1, const std::string& k2) {
    return Storage->LocateRow({std::to_string(k1), k2});
  }
  // The level-1 subtotal row of k1 (children: the rows of k1), or none.
  TSubTotalRow* Sub(int k1) {
    int i;
    if (!Storage->Root()->FindChild(IntegerValue(k1), i)) return nullptr;
    return static_cast<TSubTotalRow*>(Storage->Root()->Child(i));
  }

  static double Num(const TAbstractRow* Row, TDataField* Field) {
    return ValueAsFloat(Row->ValueOf(Field));
  }
  static std::string Text(const TAbstractRow* Row, TDataField* Field) {
    return ValueAsString(Row->ValueOf(Field));
  }

  // Every subtotal row's totals of RA and RB against the sums of the data
  // rows below it, and the children ordered by key without gaps.
  void ExpectTotalsRight() {
    std::function<void(TSubTotalRow*, double&, double&)> walk = [&](TSubTotalRow* s, double& a,
                                                                    double& b) {
      a = 0;
      b = 0;
      for (int i = 0; i < s->ChildCount(); ++i) {
        TAbstractRow* child = s->Child(i);
        ASSERT_NE(child, nullptr) << "an entry without row is left";
        if (i > 0) {
          ASSERT_LT(s->Children().DataType()->Compare(s->ChildKey(i - 1), s->ChildKey(i)), 0)
              << "children out of order";
        }
        EXPECT_EQ(child->Parent(), s);
        double ca;
        double cb;
        if (child->IsSubTotal()) {
          EXPECT_GT(static_cast<TSubTotalRow*>(child)->ChildCount(), 0) << "empty subtotal row";
          walk(static_cast<TSubTotalRow*>(child), ca, cb);
        } else {
          ca = Num(child, A.get());
          cb = Num(child, B.get());
        }
        a += ca;
        b += cb;
      }
      EXPECT_DOUBLE_EQ(Num(s, A.get()), a);
      EXPECT_DOUBLE_EQ(Num(s, B.get()), b);
    };
    double a;
    double b;
    walk(Storage->Root(), a, b);
  }
};

// A writable handler (undo switchable) with hooks to make a write fail after
// the distribution did its work, or to add a child of a new key on the way.
class TTestHandler : public TSubTotalHandler {
 public:
  explicit TTestHandler(bool Undo) : TSubTotalHandler(Undo) {}
  bool FailAfterDistribute = false;
  std::vector<TValue> NewKeys;  // children to add below the written row

  void Distribute(TAbstractRowStorage* Storage, TSubTotalRow* Row, const TValue& Value,
                  TDataField* Field) override {
    const bool top = CurrentMark()->TopRow() == Row && Row == WrittenRow;
    if (top)
      for (const TValue& key : NewKeys) SetChildValue(key, DoubleValue(1));
    TSubTotalHandler::Distribute(Storage, Row, Value, Field);
    if (top && FailAfterDistribute) throw platform::Exception("distribution failed");
  }
  TSubTotalRow* WrittenRow = nullptr;
};

}  // namespace dataframework::rowstest
