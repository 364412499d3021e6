// The model work of a grid over 1,000,000 sales rows grouped by two levels:
// a TRowStorage keyed by region (10), product (100 per region) and month
// (1,000 per product) with an aggregable amount and quantity, regions and
// products shown as groups, a TRowStorageModel attached to it.
//
// Operations (each iteration leaves the state as it found it):
//   ExpandRegion    expand a region (100 product groups appear), collapse
//                   it again outside the timing
//   CollapseRegion  collapse an expanded region (its 100 groups go)
//   ExpandProduct   expand a product group (its 1,000 months appear)
//   CollapseProduct collapse it again
//   EditCell        write a month's amount through setData (the row, its
//                   product's and its region's totals signal dataChanged)
// Engines: clavira (the model follows the storage row by row) and reset
// (the same storage operation followed by the model's Refresh, how the
// model followed every change before: the peer).
//
// Run: build/bin/bench_grid_model (names Grid/<operation>/<engine>).
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/qt/RowStorageModel.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"

namespace {

using namespace dataframework;
using dataframework::qt::TRowStorageModel;

constexpr int Regions = 10, Products = 100, Months = 1000;

std::string RegionName(int i) {
  return "R" + std::to_string(100 + i);
}
std::string ProductName(int i) {
  return "P" + std::to_string(1000 + i);
}

struct TGrid {
  std::unique_ptr<TKeyField> Region = TKeyField::CreateSimpleKey("GRegion", StringType(8, true));
  std::unique_ptr<TKeyField> Product = TKeyField::CreateSimpleKey("GProduct", StringType(8, true));
  std::unique_ptr<TKeyField> Month = TKeyField::CreateSimpleKey("GMonth", IntegerType());
  std::unique_ptr<TDataField> Amount = TDataField::CreateField("GAmount", DoubleType());
  std::unique_ptr<TDataField> Quantity = TDataField::CreateField("GQuantity", IntegerType());
  std::unique_ptr<TDataTable> Table;
  std::unique_ptr<TRowStorage> Storage;
  std::unique_ptr<TRowStorageModel> Model;

  TGrid() {
    Amount->SetIsAggregable(true);
    Quantity->SetIsAggregable(true);
    Table =
        TDataTable::CreateTable("GridSales", nullptr, {Region.get(), Product.get(), Month.get()},
                                {Amount.get(), Quantity.get()}, nullptr);
    Storage = std::make_unique<TRowStorage>(Table.get());
    for (int r = 0; r < Regions; ++r) {
      for (int p = 0; p < Products; ++p) {
        for (int m = 0; m < Months; ++m) {
          std::unique_ptr<TDataRow> row = Storage->CreateRow();
          row->SetIndexValue(0, StringValue(RegionName(r)));
          row->SetIndexValue(1, StringValue(ProductName(p)));
          row->SetIndexValue(2, IntegerValue(m));
          row->SetIndexValue(3, DoubleValue((r * 7 + p * 3 + m) % 100));
          row->SetIndexValue(4, IntegerValue(m % 10));
          if (Storage->PutNewRow(row, paRefuse) != prOk) throw std::runtime_error("put refused");
        }
      }
    }
    // Regions and products as groups, all collapsed.
    Storage->GetTreeKey(1).SetVisible(true);
    Storage->GetTreeKey(2).SetVisible(true);
    Storage->DataLevelKey().SetVisible(false);
    for (int r = 0; r < Regions; ++r) Storage->Collapse(Group(r, 0));
    Model = std::make_unique<TRowStorageModel>(
        *Storage, std::vector<TDataField*>{Region.get(), Product.get(), Month.get(), Amount.get(),
                                           Quantity.get()});
  }
  TSubTotalRow* Group(int r, int p = -1) const {
    TSubTotalRow* row = Storage->Root();
    int i;
    if (!row->FindChild(StringValue(RegionName(r)), i)) return nullptr;
    row = static_cast<TSubTotalRow*>(row->Child(i));
    if (p < 0) return row;
    if (!row->FindChild(StringValue(ProductName(p)), i)) return nullptr;
    return static_cast<TSubTotalRow*>(row->Child(i));
  }
};

TGrid& Grid() {
  static TGrid* grid = new TGrid();  // built once for every benchmark; never freed
  return *grid;
}

// Expand or collapse through the model, or through the storage and a reset.
void Expand(TGrid& G, TSubTotalRow* Row, bool Reset) {
  if (Reset) {
    G.Storage->Expand(Row);
    G.Model->Refresh();
  } else if (!G.Model->Expand(G.Model->IndexOf(Row))) {
    throw std::runtime_error("not expanded");
  }
}
void Collapse(TGrid& G, TSubTotalRow* Row, bool Reset) {
  if (Reset) {
    G.Storage->Collapse(Row->Child(0));
    G.Model->Refresh();
  } else if (!G.Model->Collapse(G.Model->IndexOf(Row))) {
    throw std::runtime_error("not collapsed");
  }
}

void ExpandRegion(benchmark::State& state, bool Reset) {
  TGrid& g = Grid();
  TSubTotalRow* region = g.Group(3);
  int shown = 0;
  for (auto _ : state) {
    Expand(g, region, Reset);
    state.PauseTiming();
    shown = g.Model->rowCount(g.Model->IndexOf(region));
    Collapse(g, region, false);
    state.ResumeTiming();
  }
  state.counters["rows_shown"] = shown;
}

void CollapseRegion(benchmark::State& state, bool Reset) {
  TGrid& g = Grid();
  TSubTotalRow* region = g.Group(3);
  for (auto _ : state) {
    state.PauseTiming();
    Expand(g, region, false);
    state.ResumeTiming();
    Collapse(g, region, Reset);
  }
}

void ExpandProduct(benchmark::State& state, bool Reset) {
  TGrid& g = Grid();
  TSubTotalRow* region = g.Group(4);
  TSubTotalRow* product = g.Group(4, 50);
  Expand(g, region, false);
  int shown = 0;
  for (auto _ : state) {
    Expand(g, product, Reset);
    state.PauseTiming();
    shown = g.Model->rowCount(g.Model->IndexOf(product));
    Collapse(g, product, false);
    state.ResumeTiming();
  }
  state.counters["rows_shown"] = shown;
  Collapse(g, region, false);
}

void CollapseProduct(benchmark::State& state, bool Reset) {
  TGrid& g = Grid();
  TSubTotalRow* region = g.Group(4);
  TSubTotalRow* product = g.Group(4, 50);
  Expand(g, region, false);
  for (auto _ : state) {
    state.PauseTiming();
    Expand(g, product, false);
    state.ResumeTiming();
    Collapse(g, product, Reset);
  }
  Collapse(g, region, false);
}

void EditCell(benchmark::State& state, bool Reset) {
  TGrid& g = Grid();
  TSubTotalRow* region = g.Group(5);
  TSubTotalRow* product = g.Group(5, 20);
  Expand(g, region, false);
  Expand(g, product, false);
  TAbstractRow* row = product->Child(500);
  int value = 0;
  for (auto _ : state) {
    const QModelIndex cell = g.Model->IndexOf(row, 3);
    if (Reset) {
      row->SetFieldValue(g.Amount.get(), DoubleValue(++value % 1000));
      g.Model->Refresh();
    } else if (!g.Model->setData(cell, QString::number(++value % 1000))) {
      state.SkipWithError("edit refused");
      break;
    }
    // The totals above are read as a view would after the signal.
    benchmark::DoNotOptimize(g.Model->data(g.Model->IndexOf(region, 3)));
  }
  Collapse(g, product, false);
  Collapse(g, region, false);
}

void Register(const char* Name, void (*Bench)(benchmark::State&, bool)) {
  benchmark::RegisterBenchmark((std::string("Grid/") + Name + "/clavira").c_str(),
                               [Bench](benchmark::State& s) { Bench(s, false); })
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark((std::string("Grid/") + Name + "/reset").c_str(),
                               [Bench](benchmark::State& s) { Bench(s, true); })
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
  Register("ExpandRegion", ExpandRegion);
  Register("CollapseRegion", CollapseRegion);
  Register("ExpandProduct", ExpandProduct);
  Register("CollapseProduct", CollapseProduct);
  Register("EditCell", EditCell);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
