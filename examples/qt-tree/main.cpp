// A tree view over a row storage: regions as collapsible subtotal rows with
// their sums, months below them, cells edited in place (the field's data type
// parses what is typed). With --quit the window closes once shown (for
// scripts and tests).
#include <QApplication>
#include <QTimer>
#include <QTreeView>
#include <memory>
#include <string>

#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/qt/RowStorageModel.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"

using namespace dataframework;

int main(int argc, char** argv) {
  QApplication app(argc, argv);

  std::unique_ptr<TKeyField> region = TKeyField::CreateSimpleKey("Region", StringType(20, false));
  std::unique_ptr<TKeyField> month = TKeyField::CreateSimpleKey("Month", IntegerType());
  std::unique_ptr<TDataField> amount = TDataField::CreateField("Amount", DoubleType());
  std::unique_ptr<TDataTable> table = TDataTable::CreateTable(
      "Sales", nullptr, {region.get(), month.get()}, {amount.get()}, nullptr);
  auto storage = std::make_unique<TRowStorage>(table.get());
  const char* regions[] = {"North", "South", "East", "West"};
  for (int r = 0; r < 4; ++r) {
    for (int m = 1; m <= 12; ++m) {
      std::unique_ptr<TDataRow> row = storage->CreateRow();
      row->SetFieldValue(region.get(), StringValue(regions[r]));
      row->SetFieldValue(month.get(), IntegerValue(m));
      row->SetFieldValue(amount.get(), DoubleValue(100.0 * (r + 1) + m));
      storage->PutNewRow(row, paRefuse);
    }
  }

  {
    // The model and the view borrow the storage and the fields: they go first.
    qt::TRowStorageModel model(*storage, {region.get(), month.get(), amount.get()});
    QTreeView view;
    qt::ConnectTreeView(view, model);  // expanding a node expands the storage's group
    view.setWindowTitle("Sales");
    view.resize(480, 360);
    view.show();
    if (app.arguments().contains("--quit")) QTimer::singleShot(0, &app, &QApplication::quit);
    app.exec();
  }
  storage.reset();
  table.reset();
  return 0;
}
