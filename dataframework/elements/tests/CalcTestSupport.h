// A small table and row storage for the calculated field and row list tests:
// keys CK1 (integer) and CK2 (text of 4), an aggregable double CX and a text
// CN that is not aggregable. All are real framework objects; the fixture
// frees the storage first, the table next, the fields last.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dataframework/elements/CalcField.h"
#include "dataframework/elements/CommonCalcFields.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/RowList.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"

namespace dataframework::calctest {

class CalcFixture : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> K1 = TKeyField::CreateSimpleKey("CK1", IntegerType());
  std::unique_ptr<TKeyField> K2 = TKeyField::CreateSimpleKey("CK2", StringType(4, true));
  std::unique_ptr<TDataField> X = TDataField::CreateField("CX", DoubleType());
  std::unique_ptr<TDataField> N = TDataField::CreateField("CN", StringType(4, true));
  // Fields a test adds to its tables; they outlive the tables.
  std::vector<std::unique_ptr<TDataField>> Owned;
  std::unique_ptr<TDataTable> Table;
  std::unique_ptr<TRowStorage> Storage;

  // The table over K1, K2 | X, N plus Extra as further ordinary fields.
  void MakeTable(const std::vector<TDataField*>& Extra = {}) {
    std::vector<TDataField*> fields{X.get(), N.get()};
    fields.insert(fields.end(), Extra.begin(), Extra.end());
    Table = TDataTable::CreateTable("CalcT", nullptr, {K1.get(), K2.get()}, fields, nullptr);
    Storage = std::make_unique<TRowStorage>(Table.get());
  }
  void SetUp() override { MakeTable(); }
  template <typename T>
  T* Own(std::unique_ptr<T> Field) {
    T* raw = Field.get();
    Owned.push_back(std::move(Field));
    return raw;
  }
  void TearDown() override {
    Storage.reset();
    Table.reset();
  }

  // Puts a new row; the stored row, or none when the storage refused it.
  TDataRow* Put(int k1, const std::string& k2, double x, const std::string& n = "") {
    std::unique_ptr<TDataRow> row = Storage->CreateRow();
    row->SetFieldValue(K1.get(), IntegerValue(k1));
    row->SetFieldValue(K2.get(), StringValue(k2));
    row->SetFieldValue(X.get(), DoubleValue(x));
    row->SetFieldValue(N.get(), StringValue(n));
    TDataRow* raw = row.get();
    Storage->PutNewRow(row, paRefuse);
    return row ? nullptr : raw;
  }
  // The subtotal row of K1 = k1 (level 1 of the tree).
  TSubTotalRow* SubTotalOf(int k1) const {
    int i;
    if (!Storage->Root()->FindChild(IntegerValue(k1), i)) return nullptr;
    return dynamic_cast<TSubTotalRow*>(Storage->Root()->Child(i));
  }
  static double Number(const TAbstractRow* Row, TDataField* Field) {
    return ValueAsFloat(Row->ValueOf(Field));
  }
  static std::string Text(const TAbstractRow* Row, TDataField* Field) {
    return ValueAsString(Row->ValueOf(Field));
  }
};

// X × X of a row (the subtotal example's handler).
inline TValue SquareOfX(const TDataField* X, const TAbstractRow* Row) {
  const double x = ValueAsFloat(Row->ValueOf(const_cast<TDataField*>(X)));
  return DoubleValue(x * x);
}

}  // namespace dataframework::calctest
