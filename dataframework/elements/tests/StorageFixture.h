// A small table and a row storage over it for the storage tests: keys K1
// (integer) and K2 (text of 10), an aggregable double V and a text N that is
// not aggregable. Fields, table and storage are real framework objects; the
// fixture frees them storage first, table next, fields last.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/conditions/CriteriaField.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/StringList.h"

namespace dataframework::storagetest {

// Rows of a list as typed pointers.
inline std::vector<TAbstractRow*> RowsOf(const platform::TStrings& List) {
  std::vector<TAbstractRow*> rows;
  for (int i = 0; i < List.Count(); ++i)
    rows.push_back(static_cast<TAbstractRow*>(List.GetObject(i)));
  return rows;
}

// Frees the row copies a gmCopies / gmMoveOut walk handed over.
struct TOwnedCopies {
  platform::TStringList List;
  ~TOwnedCopies() {
    for (int i = 0; i < List.Count(); ++i) delete static_cast<TAbstractRow*>(List.GetObject(i));
  }
};

class StorageFixture : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> K1 = TKeyField::CreateSimpleKey("K1", IntegerType());
  std::unique_ptr<TKeyField> K2 = TKeyField::CreateSimpleKey("K2", StringType(10, true));
  std::unique_ptr<TDataField> V = TDataField::CreateField("V", DoubleType());
  std::unique_ptr<TDataField> N = TDataField::CreateField("N", StringType(10, true));
  std::unique_ptr<TDataTable> Table;
  std::unique_ptr<TRowStorage> Storage;

  void SetUp() override {
    Table = TDataTable::CreateTable("StorageT", nullptr, {K1.get(), K2.get()}, {V.get(), N.get()},
                                    nullptr);
    Storage = std::make_unique<TRowStorage>(Table.get());
  }
  void TearDown() override {
    Storage.reset();
    Table.reset();
  }

  std::unique_ptr<TDataRow> MakeRow(int k1, const std::string& k2, double v,
                                    const std::string& n = "") {
    std::unique_ptr<TDataRow> row = Storage->CreateRow();
    row->SetFieldValue(K1.get(), IntegerValue(k1));
    row->SetFieldValue(K2.get(), StringValue(k2));
    row->SetFieldValue(V.get(), DoubleValue(v));
    row->SetFieldValue(N.get(), StringValue(n));
    return row;
  }
  // Puts a new row; the stored row (or none when refused).
  TDataRow* Put(int k1, const std::string& k2, double v, const std::string& n = "",
                TPutAction action = paRefuse, TPutResult* result = nullptr) {
    std::unique_ptr<TDataRow> row = MakeRow(k1, k2, v, n);
    TDataRow* raw = row.get();
    TPutResult r = Storage->PutNewRow(row, action);
    if (result != nullptr) *result = r;
    return row ? nullptr : raw;
  }

  double ValueOf(const TAbstractRow* Row, TDataField* Field) const {
    return ValueAsFloat(Row->ValueOf(Field));
  }
  std::string TextOf(const TAbstractRow* Row, TDataField* Field) const {
    return ValueAsString(Row->ValueOf(Field));
  }
  // "K1/K2" of a data row, "S<level>:<key>" of a subtotal row.
  std::string Describe(const TAbstractRow* Row) const {
    if (auto* sub = dynamic_cast<const TSubTotalRow*>(Row)) {
      if (sub->Parent() == nullptr) return "root";
      return "S" + std::to_string(sub->LevelIndex()) + ":" +
             TextOf(Row, Storage->GetTreeKey(sub->LevelIndex() - 1).Field());
    }
    return TextOf(Row, K1.get()) + "/" + TextOf(Row, K2.get());
  }
  std::vector<std::string> View() {
    std::vector<std::string> view;
    for (int i = 0; i < Storage->RowCount(); ++i) view.push_back(Describe(Storage->GetRow(i)));
    return view;
  }
  std::vector<std::string> Describe(const platform::TStrings& List) const {
    std::vector<std::string> out;
    for (TAbstractRow* row : RowsOf(List)) out.push_back(Describe(row));
    return out;
  }
};

}  // namespace dataframework::storagetest
