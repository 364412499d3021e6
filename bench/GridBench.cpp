// The grid editor's model work against Qt's SQL table model, in one run,
// over the same table on a private PostgreSQL cluster (wall time):
//
//   Grid/Load/clavira   describe, load through the bridge (libpq) into the
//                       row storage, group by two keys, build the item model
//   Grid/Load/qsql      QSqlTableModel (QPSQL) select and fetch every row,
//                       behind a QSortFilterProxyModel
//   Grid/Sort/<engine>  sort the flat rows by amount (a proxy over each model;
//                       clavira compares with the field's data type)
//   Grid/Expand, Grid/Collapse, Grid/EditCell, Grid/Spread, Grid/Undo
//                       (clavira): one document operation plus the model's
//                       refresh; Spread writes a subtotal over 100,000 rows
//
// CLAVIRA_GRID_ROWS sets the table size (default 1,000,000; a multiple of
// 1,000: 10 regions x products x 100 months).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSortFilterProxyModel>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlTableModel>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "dataframework/bridge/PgDataBridge.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/qt/RowStorageModel.h"
#include "grid/GridDocument.h"
#include "testsupport/PgCluster.h"

namespace {

using namespace dataframework;
using dataframework::bridge::TPgConnectParams;
using dataframework::bridge::TPgDataBridge;
using dataframework::qt::TRowStorageModel;

testsupport::PgCluster* g_cluster = nullptr;
long g_rows = 1000000;

TPgConnectParams PgParams() {
  TPgConnectParams p;
  p.Host = g_cluster->Host();
  p.Port = g_cluster->Port();
  p.Database = g_cluster->Database();
  p.User = g_cluster->User();
  p.Password = g_cluster->Password();
  return p;
}

// Compares the rows' values with the field's data type.
class TTypedProxy : public QSortFilterProxyModel {
 protected:
  bool lessThan(const QModelIndex& Left, const QModelIndex& Right) const override {
    auto& model = *static_cast<TRowStorageModel*>(sourceModel());
    TAbstractRow* a = model.RowAt(Left);
    TAbstractRow* b = model.RowAt(Right);
    TDataField* field = model.ColumnField(Left.column());
    return field->DataType()->Compare(a->ValueOf(field), b->ValueOf(field)) < 0;
  }
};

struct TClaviraGrid {
  TPgDataBridge Bridge{nullptr, PgParams()};
  grid::TGridDocument Document{Bridge};
  std::unique_ptr<TRowStorageModel> Model;
  TClaviraGrid() {
    Document.Open("demo_sales");
    Document.SetGroupLevels(2);
    Model = std::make_unique<TRowStorageModel>(Document.Storage(), Document.Fields());
    Document.OnReset = [this] { Model.reset(); };
  }
};

void BM_LoadClavira(benchmark::State& State) {
  for (auto _ : State) {
    TClaviraGrid grid;
    benchmark::DoNotOptimize(grid.Model->rowCount());
    State.counters["rows"] = static_cast<double>(grid.Document.Storage().CountRows(rsUnchanged));
  }
}

QSqlDatabase Qsql() {
  QSqlDatabase db = QSqlDatabase::contains("bench") ? QSqlDatabase::database("bench")
                                                    : QSqlDatabase::addDatabase("QPSQL", "bench");
  db.setHostName(QString::fromStdString(g_cluster->Host()));
  db.setPort(g_cluster->Port());
  db.setDatabaseName(QString::fromStdString(g_cluster->Database()));
  db.setUserName(QString::fromStdString(g_cluster->User()));
  db.setPassword(QString::fromStdString(g_cluster->Password()));
  if (!db.isOpen() && !db.open()) throw std::runtime_error(db.lastError().text().toStdString());
  return db;
}

struct TQsqlGrid {
  QSqlTableModel Model{nullptr, Qsql()};
  QSortFilterProxyModel Proxy;
  TQsqlGrid() {
    Model.setTable("demo_sales");
    if (!Model.select()) throw std::runtime_error(Model.lastError().text().toStdString());
    while (Model.canFetchMore()) Model.fetchMore();
    Proxy.setSourceModel(&Model);
  }
};

void BM_LoadQsql(benchmark::State& State) {
  for (auto _ : State) {
    TQsqlGrid grid;
    benchmark::DoNotOptimize(grid.Proxy.rowCount());
    State.counters["rows"] = grid.Model.rowCount();
  }
}

void BM_SortClavira(benchmark::State& State) {
  TClaviraGrid grid;
  grid.Document.SetFlatMode(true);
  grid.Model->Refresh();
  TTypedProxy proxy;
  proxy.setSourceModel(grid.Model.get());
  const int column = 3;  // amount
  bool up = true;
  for (auto _ : State) {
    proxy.sort(column, up ? Qt::AscendingOrder : Qt::DescendingOrder);
    benchmark::DoNotOptimize(proxy.index(0, column));
    up = !up;
  }
  State.counters["rows"] = proxy.rowCount();
}

void BM_SortQsql(benchmark::State& State) {
  TQsqlGrid grid;
  const int column = 3;
  bool up = true;
  for (auto _ : State) {
    grid.Proxy.sort(column, up ? Qt::AscendingOrder : Qt::DescendingOrder);
    benchmark::DoNotOptimize(grid.Proxy.index(0, column));
    up = !up;
  }
  State.counters["rows"] = grid.Proxy.rowCount();
}

// One loaded, grouped document for the operations below.
TClaviraGrid& Shared() {
  static TClaviraGrid* grid = new TClaviraGrid();  // kept to the process end
  return *grid;
}

TSubTotalRow* Region(TClaviraGrid& Grid, int Index) {
  return static_cast<TSubTotalRow*>(Grid.Document.Storage().Root()->Child(Index));
}

void BM_ExpandCollapse(benchmark::State& State, bool Expand) {
  TClaviraGrid& grid = Shared();
  grid.Document.ShowLevel(1);
  TSubTotalRow* first = Region(grid, 0);
  for (auto _ : State) {
    State.PauseTiming();
    if (Expand)
      grid.Document.CollapseGroup(first);
    else
      grid.Document.ExpandGroup(first);
    grid.Model->Refresh();
    State.ResumeTiming();
    if (Expand)
      grid.Document.ExpandGroup(first);
    else
      grid.Document.CollapseGroup(first);
    grid.Model->Refresh();
  }
}

void BM_EditCell(benchmark::State& State) {
  TClaviraGrid& grid = Shared();
  TDataField* amount = grid.Document.Column("amount");
  std::vector<TDataRow*> rows;
  grid.Document.CollectDataRows(Region(grid, 1), rows);
  int i = 0;
  for (auto _ : State) {
    grid.Document.EditCell(rows[static_cast<size_t>(i++ % 1000)], amount, "12.5");
    grid.Model->Refresh();
  }
}

// A subtotal over 100,000 rows (one region of the default table), undone
// after each write so that the values stay put.
void BM_SpreadUndo(benchmark::State& State, bool Undo) {
  TClaviraGrid& grid = Shared();
  TDataField* amount = grid.Document.Column("amount");
  TSubTotalRow* region = Region(grid, 2);
  std::vector<TDataRow*> rows;
  grid.Document.CollectDataRows(region, rows);
  for (auto _ : State) {
    if (Undo) {
      State.PauseTiming();
      grid.Document.EditCell(region, amount, "1000000", grid::smProportional);
      State.ResumeTiming();
      grid.Document.Undo();
      grid.Model->Refresh();
    } else {
      grid.Document.EditCell(region, amount, "1000000", grid::smProportional);
      grid.Model->Refresh();
      State.PauseTiming();
      grid.Document.Undo();
      State.ResumeTiming();
    }
  }
  State.counters["rows"] = static_cast<double>(rows.size());
}

}  // namespace

BENCHMARK(BM_LoadClavira)
    ->Name("Grid/Load/clavira")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();
BENCHMARK(BM_LoadQsql)
    ->Name("Grid/Load/qsql")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();
BENCHMARK(BM_SortClavira)
    ->Name("Grid/Sort/clavira")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();
BENCHMARK(BM_SortQsql)
    ->Name("Grid/Sort/qsql")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ExpandCollapse, expand, true)
    ->Name("Grid/Expand/clavira")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ExpandCollapse, collapse, false)
    ->Name("Grid/Collapse/clavira")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_EditCell)->Name("Grid/EditCell/clavira")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_SpreadUndo, spread, false)
    ->Name("Grid/Spread/clavira")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_SpreadUndo, undo, true)
    ->Name("Grid/Undo/clavira")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (const char* rows = std::getenv("CLAVIRA_GRID_ROWS")) g_rows = std::atol(rows);
  const long products = std::max(1L, g_rows / 1000);
  testsupport::PgCluster cluster;
  g_cluster = &cluster;
  cluster.RunSql(
      "CREATE TABLE demo_sales (region varchar(20), product varchar(30), month date,"
      " amount numeric(12, 2), quantity integer, PRIMARY KEY (region, product, month));"
      "SELECT setseed(0.16);"
      "INSERT INTO demo_sales SELECT 'Region ' || lpad(r::text, 2, '0'),"
      " 'Product ' || lpad(p::text, 4, '0'), (date '2017-01-01' + make_interval(months => "
      "m))::date,"
      " round((random() * 1000)::numeric, 2), (random() * 100)::integer"
      " FROM generate_series(1, 10) r, generate_series(1, " +
      std::to_string(products) + ") p, generate_series(0, 99) m; ANALYZE demo_sales;");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
