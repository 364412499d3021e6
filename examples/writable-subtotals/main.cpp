// Writable subtotals: a total written into a subtotal row is spread over the
// rows below it; a handler that refuses a spread half-way has everything it
// did taken back (undo), so the storage is as before the write.
#include <cstdio>
#include <memory>
#include <string>

#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/elements/SubTotalHandler.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/Exception.h"

using namespace dataframework;

namespace {

// Spreads evenly (the inherited Distribute), then refuses a total above a
// budget; with undo enabled the handler takes its changes back.
class TBudgetHandler : public TSubTotalHandler {
 public:
  explicit TBudgetHandler(double Budget) : TSubTotalHandler(true), FBudget(Budget) {}

  void Distribute(TAbstractRowStorage* Storage, TSubTotalRow* Row, const TValue& Value,
                  TDataField* Field) override {
    TSubTotalHandler::Distribute(Storage, Row, Value, Field);
    if (ValueAsFloat(Value) > FBudget) {
      throw platform::Exception("over the budget of " + std::to_string(static_cast<int>(FBudget)));
    }
  }

 private:
  double FBudget;
};

void Show(TRowStorage& Storage, TDataField* Region, TDataField* Month, TDataField* Amount) {
  TSubTotalRow* root = Storage.Root();
  for (int i = 0; i < root->ChildCount(); ++i) {
    auto* region = static_cast<TSubTotalRow*>(root->Child(i));
    std::printf("  %-6s %7s:", region->GetFStringValue(Region).c_str(),
                ValueAsString(region->ValueOf(Amount)).c_str());
    for (int j = 0; j < region->ChildCount(); ++j) {
      const TAbstractRow* row = region->Child(j);
      std::printf("  %d=%s", row->GetFIntegerValue(Month),
                  ValueAsString(row->ValueOf(Amount)).c_str());
    }
    std::printf("\n");
  }
  std::printf("  total  %7s\n", ValueAsString(root->ValueOf(Amount)).c_str());
}

}  // namespace

int main() {
  std::unique_ptr<TKeyField> region = TKeyField::CreateSimpleKey("Region", StringType(20, false));
  std::unique_ptr<TKeyField> month = TKeyField::CreateSimpleKey("Month", IntegerType());
  std::unique_ptr<TDataField> amount = TDataField::CreateField("Amount", DoubleType());
  std::unique_ptr<TDataTable> table = TDataTable::CreateTable(
      "Plan", nullptr, {region.get(), month.get()}, {amount.get()}, nullptr);
  auto storage = std::make_unique<TRowStorage>(table.get());
  storage->SetSubTotalHandler(std::make_unique<TBudgetHandler>(1000));  // the storage owns it

  const struct {
    const char* Region;
    int Month;
    double Amount;
  } plan[] = {{"North", 1, 100}, {"North", 2, 100}, {"North", 3, 200}, {"South", 1, 50}};
  for (const auto& p : plan) {
    std::unique_ptr<TDataRow> row = storage->CreateRow();
    row->SetFieldValue(region.get(), StringValue(p.Region));
    row->SetFieldValue(month.get(), IntegerValue(p.Month));
    row->SetFieldValue(amount.get(), DoubleValue(p.Amount));
    storage->PutNewRow(row, paRefuse);
  }
  std::printf("as planned\n");
  Show(*storage, region.get(), month.get(), amount.get());

  // North's total from 400 to 700: each of its three months gets 100 more.
  TSubTotalRow* north = static_cast<TSubTotalRow*>(storage->Root()->Child(0));
  north->SetFieldValue(amount.get(), DoubleValue(700));
  std::printf("North set to 700\n");
  Show(*storage, region.get(), month.get(), amount.get());

  // Above the budget: the spread is refused and taken back.
  try {
    north->SetFieldValue(amount.get(), DoubleValue(1600));
    std::printf("North set to 1600\n");
  } catch (const platform::Exception& e) {
    std::printf("North set to 1600 refused: %s\n", e.what());
  }
  Show(*storage, region.get(), month.get(), amount.get());

  storage.reset();
  table.reset();
  return 0;
}
