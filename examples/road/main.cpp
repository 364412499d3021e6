// The road of one use of the data framework: fields and a table, a row
// storage, rows put under their keys, subtotals read from the tree, and rows
// got back by a criteria.
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/RowList.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"

using namespace dataframework;

namespace {

struct TSale {
  const char* Region;
  int Month;
  double Amount;
  int Quantity;
};

const TSale Sales[] = {
    {"North", 1, 120.50, 3}, {"North", 2, 80.00, 2}, {"North", 3, 99.99, 1},
    {"South", 1, 300.00, 6}, {"South", 3, 45.25, 1}, {"West", 2, 10.00, 1},
};

void PrintTotals(const TAbstractRow* Row, TDataField* Amount, TDataField* Quantity,
                 const std::string& Label) {
  std::printf("%-12s amount %8s  quantity %3s\n", Label.c_str(),
              ValueAsString(Row->ValueOf(Amount)).c_str(),
              ValueAsString(Row->ValueOf(Quantity)).c_str());
}

}  // namespace

int main() {
  // Fields: two keys (the storage's tree levels) and two aggregable values.
  // The caller owns the fields; they must outlive the table.
  std::unique_ptr<TKeyField> region = TKeyField::CreateSimpleKey("Region", StringType(20, false));
  std::unique_ptr<TKeyField> month = TKeyField::CreateSimpleKey("Month", IntegerType());
  std::unique_ptr<TDataField> amount = TDataField::CreateField("Amount", DoubleType());
  std::unique_ptr<TDataField> quantity = TDataField::CreateField("Quantity", IntegerType());
  std::unique_ptr<TDataTable> table = TDataTable::CreateTable(
      "Sales", nullptr, {region.get(), month.get()}, {amount.get(), quantity.get()}, nullptr);

  // The storage files rows under their key values in a tree of subtotal rows.
  auto storage = std::make_unique<TRowStorage>(table.get());
  for (const TSale& sale : Sales) {
    std::unique_ptr<TDataRow> row = storage->CreateRow();  // the table's defaults
    row->SetFieldValue(region.get(), StringValue(sale.Region));
    row->SetFieldValue(month.get(), IntegerValue(sale.Month));
    row->SetFieldValue(amount.get(), DoubleValue(sale.Amount));
    row->SetFieldValue(quantity.get(), IntegerValue(sale.Quantity));
    if (storage->PutNewRow(row, paRefuse) != prOk) {  // the storage took the row
      std::fprintf(stderr, "key taken\n");
      return 1;
    }
  }
  // The same key again is refused; the row stays the caller's.
  std::unique_ptr<TDataRow> again = storage->CreateRow();
  again->SetFieldValue(region.get(), StringValue("North"));
  again->SetFieldValue(month.get(), IntegerValue(1));
  std::printf("put North/1 again: %s\n",
              storage->PutNewRow(again, paRefuse) == prOk ? "accepted" : "refused");

  // Subtotals: the root and one subtotal row per region sum the rows below.
  TSubTotalRow* root = storage->Root();
  PrintTotals(root, amount.get(), quantity.get(), "all");
  for (int i = 0; i < root->ChildCount(); ++i) {
    const TAbstractRow* child = root->Child(i);
    PrintTotals(child, amount.get(), quantity.get(), "  " + child->GetFStringValue(region.get()));
  }

  // Rows back by a criteria: North or South, months 2 to 3.
  TCriteria criteria;
  TCriteriaField* regions = criteria.FindCriteriaField(region.get(), true);
  regions->AddValue(StringValue("North"));
  regions->AddValue(StringValue("South"));
  criteria.FindCriteriaField(month.get(), true)->AddInterval(IntegerValue(2), IntegerValue(3));
  // The text form of each field's part (the criteria's own text lists its
  // fields in the order of its identity-keyed container, which varies).
  for (TDataField* field : {region.get(), month.get()}) {
    std::ostringstream text;
    criteria.FindCriteriaField(field)->WriteToStream(text, 0);
    std::printf("criteria %s\n", text.str().c_str());
  }

  TDataRowList rows;  // borrows the rows; the storage keeps them
  storage->GetRows(&rows, &criteria, gmRows);
  for (int i = 0; i < rows.Count(); ++i) {
    const TAbstractRow* row = dynamic_cast<const TAbstractRow*>(rows.GetObject(i));
    std::printf("  %s/%d amount %s\n", row->GetFStringValue(region.get()).c_str(),
                row->GetFIntegerValue(month.get()),
                ValueAsString(row->ValueOf(amount.get())).c_str());
  }

  // The storage goes before the table, the table before its fields.
  rows.Clear();
  storage.reset();
  table.reset();
  return 0;
}
