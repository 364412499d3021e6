// The row storage against SQLite in memory and against the limit of its
// shape, the same work on each in one run. Engines: clavira (TRowStorage),
// sqlite (a WITHOUT ROWID table clustered on the key, as SQLite's users keep
// keyed rows), sqlite_rowid (a rowid table with the key as a separate index)
// and limit (a hand-written tree of the same shape; see TLimit).
//
// 1,000,000 rows with three integer keys (10 x 100 x 1,000 distinct values)
// and two aggregable doubles, inserted in a shuffled order (fixed seed).
// Phases, each run once and in this order, every phase on the state the one
// before left:
//   Insert     every row (paRefuse / INSERT OR IGNORE, one transaction)
//   Subtotals  both sums of every subtotal row at the three levels (root,
//              first key, first two keys; GROUP BY per level)
//   Locate     100,000 rows by their key texts
//   Select     the rows with the first key in {2, 5} and the third in
//              [100, 199] (a criteria / one SELECT)
//   Update     100,000 value writes, then the root's totals again
//   Delete     the rows with the third key in [0, 99] (GetRows in gmDelete /
//              one DELETE)
// The counter bytes_per_row of Insert is the memory the stored rows take
// (heap in use for the storage and the limit, sqlite3_memory_used for SQLite).
//
// Run: build/bin/bench_storage (names Storage/<phase>/<engine>).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/conditions/CriteriaField.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "platform/StringList.h"

namespace {

using namespace dataframework;

constexpr int Keys1 = 10, Keys2 = 100, Keys3 = 1000;
constexpr int RowCount = Keys1 * Keys2 * Keys3;
constexpr int LocateCount = 100000;
constexpr int UpdateCount = 100000;

struct TBenchRow {
  int K1, K2, K3;
  double A, B;
};

// The work both engines do, drawn once with fixed seeds.
struct TWork {
  std::vector<TBenchRow> Rows;
  std::vector<std::array<std::string, 3>> LocateTexts;
  std::vector<TBenchRow> Updates;  // keys of existing rows and the new A

  TWork() {
    Rows.reserve(RowCount);
    std::mt19937 gen(12345);
    std::uniform_real_distribution<double> value(0, 1000);
    for (int a = 0; a < Keys1; ++a) {
      for (int b = 0; b < Keys2; ++b) {
        for (int c = 0; c < Keys3; ++c) Rows.push_back({a, b, c, value(gen), value(gen)});
      }
    }
    std::shuffle(Rows.begin(), Rows.end(), gen);
    for (int i = 0; i < LocateCount; ++i) {
      const TBenchRow& r = Rows[gen() % RowCount];
      LocateTexts.push_back({std::to_string(r.K1), std::to_string(r.K2), std::to_string(r.K3)});
    }
    for (int i = 0; i < UpdateCount; ++i) {
      TBenchRow r = Rows[gen() % RowCount];
      r.A = value(gen);
      Updates.push_back(r);
    }
  }
};

const TWork& Work() {
  static const TWork work;
  return work;
}

size_t HeapInUse() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// ------------------------------------------------------------ the storage

struct TClavira {
  std::unique_ptr<TKeyField> K1 = TKeyField::CreateSimpleKey("BenchK1", IntegerType());
  std::unique_ptr<TKeyField> K2 = TKeyField::CreateSimpleKey("BenchK2", IntegerType());
  std::unique_ptr<TKeyField> K3 = TKeyField::CreateSimpleKey("BenchK3", IntegerType());
  std::unique_ptr<TDataField> A = TDataField::CreateField("BenchA", DoubleType());
  std::unique_ptr<TDataField> B = TDataField::CreateField("BenchB", DoubleType());
  std::unique_ptr<TDataTable> Table = TDataTable::CreateTable(
      "BenchT", nullptr, {K1.get(), K2.get(), K3.get()}, {A.get(), B.get()}, nullptr);
  std::unique_ptr<TRowStorage> Storage = std::make_unique<TRowStorage>(Table.get());
  bool Inserted = false;
  double BytesPerRow = 0;

  ~TClavira() {
    Storage.reset();
    Table.reset();
  }

  void Insert() {
    size_t before = HeapInUse();
    for (const TBenchRow& r : Work().Rows) {
      std::unique_ptr<TDataRow> row = Storage->CreateRow();
      row->SetIndexValue(0, IntegerValue(r.K1));
      row->SetIndexValue(1, IntegerValue(r.K2));
      row->SetIndexValue(2, IntegerValue(r.K3));
      row->SetIndexValue(3, DoubleValue(r.A));
      row->SetIndexValue(4, DoubleValue(r.B));
      if (Storage->PutNewRow(row, paRefuse) != prOk) throw std::runtime_error("insert refused");
    }
    BytesPerRow = static_cast<double>(HeapInUse() - before) / RowCount;
    Inserted = true;
  }
  void EnsureInserted() {
    if (!Inserted) Insert();
  }
};

TClavira& Clavira() {
  static TClavira clavira;
  return clavira;
}

// ----------------------------------------------------------------- SQLite

struct TSqlite {
  sqlite3* Db = nullptr;
  bool Inserted = false;
  double BytesPerRow = 0;

  // Clustered: WITHOUT ROWID, the rows kept in the primary key's own tree, as
  // a user who keeps keyed rows in SQLite sets it up. Otherwise a rowid
  // table with the key as a separate index.
  explicit TSqlite(bool Clustered) {
    if (sqlite3_open(":memory:", &Db) != SQLITE_OK) throw std::runtime_error("sqlite open");
    Exec(Clustered ? "CREATE TABLE t(k1 INTEGER, k2 INTEGER, k3 INTEGER, a REAL, b REAL, "
                     "PRIMARY KEY(k1, k2, k3)) WITHOUT ROWID"
                   : "CREATE TABLE t(k1 INTEGER, k2 INTEGER, k3 INTEGER, a REAL, b REAL, "
                     "PRIMARY KEY(k1, k2, k3))");
  }
  ~TSqlite() { sqlite3_close(Db); }

  void Exec(const char* Sql) {
    char* error = nullptr;
    if (sqlite3_exec(Db, Sql, nullptr, nullptr, &error) != SQLITE_OK) {
      std::string text = error != nullptr ? error : "?";
      sqlite3_free(error);
      throw std::runtime_error(text);
    }
  }
  sqlite3_stmt* Prepare(const char* Sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(Db, Sql, -1, &stmt, nullptr) != SQLITE_OK) {
      throw std::runtime_error(sqlite3_errmsg(Db));
    }
    return stmt;
  }
  // Steps through every row; the sum of the double columns from First on.
  static double Drain(sqlite3_stmt* Stmt, int First, int Columns) {
    double sum = 0;
    while (sqlite3_step(Stmt) == SQLITE_ROW) {
      for (int c = First; c < Columns; ++c) sum += sqlite3_column_double(Stmt, c);
    }
    sqlite3_reset(Stmt);
    return sum;
  }

  void Insert() {
    sqlite3_int64 before = sqlite3_memory_used();
    sqlite3_stmt* stmt = Prepare("INSERT OR IGNORE INTO t VALUES (?, ?, ?, ?, ?)");
    Exec("BEGIN");
    for (const TBenchRow& r : Work().Rows) {
      sqlite3_bind_int(stmt, 1, r.K1);
      sqlite3_bind_int(stmt, 2, r.K2);
      sqlite3_bind_int(stmt, 3, r.K3);
      sqlite3_bind_double(stmt, 4, r.A);
      sqlite3_bind_double(stmt, 5, r.B);
      if (sqlite3_step(stmt) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(Db));
      sqlite3_reset(stmt);
    }
    Exec("COMMIT");
    sqlite3_finalize(stmt);
    BytesPerRow = static_cast<double>(sqlite3_memory_used() - before) / RowCount;
    Inserted = true;
  }
  void EnsureInserted() {
    if (!Inserted) Insert();
  }
};

TSqlite& SqliteClustered() {
  static TSqlite sqlite(true);
  return sqlite;
}

TSqlite& SqliteRowid() {
  static TSqlite sqlite(false);
  return sqlite;
}

// ------------------------------------------------------------------ limit

// The same work by hand, with nothing general about it: a tree of the
// storage's shape (root, first-key nodes, second-key nodes, leaves of
// third-key entries in sorted vectors), sums cached per node and marked stale
// on change, the rows in one flat array. What a storage of this shape could
// do at best.
struct TLimit {
  struct TEntry {
    int32_t K3;
    uint32_t Row;
  };
  struct TLeaf {
    int32_t Key;
    std::vector<TEntry> Entries;
    double A = 0, B = 0;
    bool Stale = true;
  };
  struct TBranch {
    int32_t Key;
    std::vector<TLeaf> Leaves;
    double A = 0, B = 0;
    bool Stale = true;
  };
  std::vector<TBenchRow> Rows;
  std::vector<TBranch> Branches;
  double A = 0, B = 0;
  bool Stale = true;
  bool Inserted = false;
  double BytesPerRow = 0;

  template <class T>
  static auto Find(std::vector<T>& Nodes, int32_t Key) {
    return std::lower_bound(Nodes.begin(), Nodes.end(), Key,
                            [](const T& Node, int32_t K) { return Node.Key < K; });
  }
  static auto FindEntry(std::vector<TEntry>& Entries, int32_t Key) {
    return std::lower_bound(Entries.begin(), Entries.end(), Key,
                            [](const TEntry& E, int32_t K) { return E.K3 < K; });
  }

  bool Put(const TBenchRow& R) {
    auto branch = Find(Branches, R.K1);
    if (branch == Branches.end() || branch->Key != R.K1)
      branch = Branches.insert(branch, TBranch{R.K1, {}});
    auto leaf = Find(branch->Leaves, R.K2);
    if (leaf == branch->Leaves.end() || leaf->Key != R.K2)
      leaf = branch->Leaves.insert(leaf, TLeaf{R.K2, {}});
    auto entry = FindEntry(leaf->Entries, R.K3);
    if (entry != leaf->Entries.end() && entry->K3 == R.K3) return false;
    leaf->Entries.insert(entry, {R.K3, static_cast<uint32_t>(Rows.size())});
    Rows.push_back(R);
    leaf->Stale = branch->Stale = Stale = true;
    return true;
  }
  TBenchRow* Locate(int32_t K1, int32_t K2, int32_t K3) {
    auto branch = Find(Branches, K1);
    if (branch == Branches.end() || branch->Key != K1) return nullptr;
    auto leaf = Find(branch->Leaves, K2);
    if (leaf == branch->Leaves.end() || leaf->Key != K2) return nullptr;
    auto entry = FindEntry(leaf->Entries, K3);
    if (entry == leaf->Entries.end() || entry->K3 != K3) return nullptr;
    return &Rows[entry->Row];
  }
  // Brings the stale sums up to date, bottom up.
  void Totals() {
    if (!Stale) return;
    A = B = 0;
    for (TBranch& branch : Branches) {
      if (branch.Stale) {
        branch.A = branch.B = 0;
        for (TLeaf& leaf : branch.Leaves) {
          if (leaf.Stale) {
            leaf.A = leaf.B = 0;
            for (const TEntry& e : leaf.Entries) {
              leaf.A += Rows[e.Row].A;
              leaf.B += Rows[e.Row].B;
            }
            leaf.Stale = false;
          }
          branch.A += leaf.A;
          branch.B += leaf.B;
        }
        branch.Stale = false;
      }
      A += branch.A;
      B += branch.B;
    }
    Stale = false;
  }

  void Insert() {
    size_t before = HeapInUse();
    Rows.reserve(RowCount);
    for (const TBenchRow& r : Work().Rows) {
      if (!Put(r)) throw std::runtime_error("insert refused");
    }
    BytesPerRow = static_cast<double>(HeapInUse() - before) / RowCount;
    Inserted = true;
  }
  void EnsureInserted() {
    if (!Inserted) Insert();
  }
};

TLimit& Limit() {
  static TLimit limit;
  return limit;
}

int32_t KeyOf(const std::string& Text) {
  int32_t value = 0;
  std::from_chars(Text.data(), Text.data() + Text.size(), value);
  return value;
}

void InsertLimit(benchmark::State& state) {
  Work();
  TLimit& l = Limit();
  for (auto _ : state) l.Insert();
  state.counters["bytes_per_row"] = l.BytesPerRow;
  state.counters["rows"] = RowCount;
}

void SubtotalsLimit(benchmark::State& state) {
  TLimit& l = Limit();
  l.EnsureInserted();
  double sum = 0;
  int read = 0;
  for (auto _ : state) {
    l.Totals();
    sum += l.A + l.B;
    ++read;
    for (const TLimit::TBranch& branch : l.Branches) {
      sum += branch.A + branch.B;
      ++read;
      for (const TLimit::TLeaf& leaf : branch.Leaves) {
        sum += leaf.A + leaf.B;
        ++read;
      }
    }
  }
  benchmark::DoNotOptimize(sum);
  state.counters["subtotal_rows"] = read;
}

void LocateLimit(benchmark::State& state) {
  TLimit& l = Limit();
  l.EnsureInserted();
  int found = 0;
  for (auto _ : state) {
    for (const auto& texts : Work().LocateTexts) {
      found += l.Locate(KeyOf(texts[0]), KeyOf(texts[1]), KeyOf(texts[2])) != nullptr;
    }
  }
  if (found != LocateCount) state.SkipWithError("rows not found");
}

void SelectLimit(benchmark::State& state) {
  TLimit& l = Limit();
  l.EnsureInserted();
  int count = 0;
  for (auto _ : state) {
    std::vector<const TBenchRow*> rows;
    for (int32_t k1 : {2, 5}) {
      auto branch = TLimit::Find(l.Branches, k1);
      if (branch == l.Branches.end() || branch->Key != k1) continue;
      for (TLimit::TLeaf& leaf : branch->Leaves) {
        for (auto e = TLimit::FindEntry(leaf.Entries, 100); e != leaf.Entries.end() && e->K3 <= 199;
             ++e)
          rows.push_back(&l.Rows[e->Row]);
      }
    }
    count = static_cast<int>(rows.size());
  }
  state.counters["rows"] = count;
}

void UpdateLimit(benchmark::State& state) {
  TLimit& l = Limit();
  l.EnsureInserted();
  double total = 0;
  for (auto _ : state) {
    for (const TBenchRow& u : Work().Updates) {
      auto branch = TLimit::Find(l.Branches, u.K1);
      auto leaf = TLimit::Find(branch->Leaves, u.K2);
      auto entry = TLimit::FindEntry(leaf->Entries, u.K3);
      l.Rows[entry->Row].A = u.A;
      leaf->Stale = branch->Stale = l.Stale = true;
    }
    l.Totals();
    total = l.A + l.B;
  }
  benchmark::DoNotOptimize(total);
}

void DeleteLimit(benchmark::State& state) {
  TLimit& l = Limit();
  l.EnsureInserted();
  int left = 0;
  for (auto _ : state) {
    left = 0;
    for (TLimit::TBranch& branch : l.Branches) {
      for (TLimit::TLeaf& leaf : branch.Leaves) {
        auto first = TLimit::FindEntry(leaf.Entries, 0);
        auto last = TLimit::FindEntry(leaf.Entries, 100);
        if (first != last) {
          leaf.Entries.erase(first, last);
          leaf.Stale = branch.Stale = l.Stale = true;
        }
        left += static_cast<int>(leaf.Entries.size());
      }
    }
  }
  state.counters["rows_left"] = left;
}

// ---------------------------------------------------------------- phases

void InsertClavira(benchmark::State& state) {
  Work();  // drawn before the clock runs
  TClavira& c = Clavira();
  for (auto _ : state) c.Insert();
  state.counters["bytes_per_row"] = Clavira().BytesPerRow;
  state.counters["rows"] = RowCount;
}

void InsertSqlite(benchmark::State& state, TSqlite& s) {
  Work();
  for (auto _ : state) s.Insert();
  state.counters["bytes_per_row"] = s.BytesPerRow;
  state.counters["rows"] = RowCount;
}

void SubtotalsClavira(benchmark::State& state) {
  TClavira& c = Clavira();
  c.EnsureInserted();
  double sum = 0;
  int read = 0;
  for (auto _ : state) {
    TSubTotalRow* root = c.Storage->Root();
    std::vector<TSubTotalRow*> level{root};
    TValue value;
    while (!level.empty()) {
      std::vector<TSubTotalRow*> next;
      for (TSubTotalRow* row : level) {
        row->GetIndexValue(3, value);
        sum += ValueAsFloat(value);
        row->GetIndexValue(4, value);
        sum += ValueAsFloat(value);
        ++read;
        if (row->IsLastLevel()) continue;
        for (int i = 0; i < row->ChildCount(); ++i) {
          next.push_back(static_cast<TSubTotalRow*>(row->Child(i)));
        }
      }
      level.swap(next);
    }
  }
  benchmark::DoNotOptimize(sum);
  state.counters["subtotal_rows"] = read;
}

void SubtotalsSqlite(benchmark::State& state, TSqlite& s) {
  s.EnsureInserted();
  sqlite3_stmt* root = s.Prepare("SELECT SUM(a), SUM(b) FROM t");
  sqlite3_stmt* first = s.Prepare("SELECT k1, SUM(a), SUM(b) FROM t GROUP BY k1");
  sqlite3_stmt* second = s.Prepare("SELECT k1, k2, SUM(a), SUM(b) FROM t GROUP BY k1, k2");
  double sum = 0;
  for (auto _ : state) {
    sum += TSqlite::Drain(root, 0, 2);
    sum += TSqlite::Drain(first, 1, 3);
    sum += TSqlite::Drain(second, 2, 4);
  }
  benchmark::DoNotOptimize(sum);
  sqlite3_finalize(root);
  sqlite3_finalize(first);
  sqlite3_finalize(second);
}

void LocateClavira(benchmark::State& state) {
  TClavira& c = Clavira();
  c.EnsureInserted();
  std::vector<std::vector<std::string>> keys;
  for (const auto& texts : Work().LocateTexts) keys.push_back({texts[0], texts[1], texts[2]});
  int found = 0;
  for (auto _ : state) {
    for (const auto& key : keys) found += c.Storage->LocateRow(key) != nullptr;
  }
  if (found != LocateCount) state.SkipWithError("rows not found");
}

void LocateSqlite(benchmark::State& state, TSqlite& s) {
  s.EnsureInserted();
  sqlite3_stmt* stmt = s.Prepare("SELECT a, b FROM t WHERE k1 = ? AND k2 = ? AND k3 = ?");
  int found = 0;
  for (auto _ : state) {
    for (const auto& texts : Work().LocateTexts) {
      for (int i = 0; i < 3; ++i) {
        sqlite3_bind_text(stmt, i + 1, texts[static_cast<size_t>(i)].c_str(),
                          static_cast<int>(texts[static_cast<size_t>(i)].size()), SQLITE_STATIC);
      }
      found += sqlite3_step(stmt) == SQLITE_ROW;
      sqlite3_reset(stmt);
    }
  }
  sqlite3_finalize(stmt);
  if (found != LocateCount) state.SkipWithError("rows not found");
}

void SelectClavira(benchmark::State& state) {
  TClavira& c = Clavira();
  c.EnsureInserted();
  int count = 0;
  for (auto _ : state) {
    TCriteria criteria;
    TCriteriaField* first = criteria.FindCriteriaField(c.K1.get(), true);
    first->AddValue(IntegerValue(2));
    first->AddValue(IntegerValue(5));
    criteria.FindCriteriaField(c.K3.get(), true)->AddInterval(IntegerValue(100), IntegerValue(199));
    platform::TStringList rows;
    c.Storage->GetRows(&rows, &criteria, gmRows);
    count = rows.Count();
  }
  state.counters["rows"] = count;
}

void SelectSqlite(benchmark::State& state, TSqlite& s) {
  s.EnsureInserted();
  sqlite3_stmt* stmt =
      s.Prepare("SELECT k1, k2, k3, a, b FROM t WHERE k1 IN (?, ?) AND k3 BETWEEN ? AND ?");
  int count = 0;
  for (auto _ : state) {
    sqlite3_bind_int(stmt, 1, 2);
    sqlite3_bind_int(stmt, 2, 5);
    sqlite3_bind_int(stmt, 3, 100);
    sqlite3_bind_int(stmt, 4, 199);
    count = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) ++count;
    sqlite3_reset(stmt);
  }
  sqlite3_finalize(stmt);
  state.counters["rows"] = count;
}

void UpdateClavira(benchmark::State& state) {
  TClavira& c = Clavira();
  c.EnsureInserted();
  double total = 0;
  for (auto _ : state) {
    std::vector<std::string> key(3);
    for (const TBenchRow& u : Work().Updates) {
      key[0] = std::to_string(u.K1);
      key[1] = std::to_string(u.K2);
      key[2] = std::to_string(u.K3);
      c.Storage->LocateRow(key)->SetIndexValue(3, DoubleValue(u.A));
    }
    TValue value;
    c.Storage->Root()->GetIndexValue(3, value);
    total = ValueAsFloat(value);
    c.Storage->Root()->GetIndexValue(4, value);
    total += ValueAsFloat(value);
  }
  benchmark::DoNotOptimize(total);
}

void UpdateSqlite(benchmark::State& state, TSqlite& s) {
  s.EnsureInserted();
  sqlite3_stmt* stmt = s.Prepare("UPDATE t SET a = ? WHERE k1 = ? AND k2 = ? AND k3 = ?");
  sqlite3_stmt* root = s.Prepare("SELECT SUM(a), SUM(b) FROM t");
  double total = 0;
  for (auto _ : state) {
    s.Exec("BEGIN");
    for (const TBenchRow& u : Work().Updates) {
      sqlite3_bind_double(stmt, 1, u.A);
      sqlite3_bind_int(stmt, 2, u.K1);
      sqlite3_bind_int(stmt, 3, u.K2);
      sqlite3_bind_int(stmt, 4, u.K3);
      sqlite3_step(stmt);
      sqlite3_reset(stmt);
    }
    s.Exec("COMMIT");
    total = TSqlite::Drain(root, 0, 2);
  }
  benchmark::DoNotOptimize(total);
  sqlite3_finalize(stmt);
  sqlite3_finalize(root);
}

void DeleteClavira(benchmark::State& state) {
  TClavira& c = Clavira();
  c.EnsureInserted();
  for (auto _ : state) {
    TCriteria criteria;
    criteria.FindCriteriaField(c.K3.get(), true)->AddInterval(IntegerValue(0), IntegerValue(99));
    c.Storage->GetRows(nullptr, &criteria, gmDelete);
  }
  state.counters["rows_left"] = c.Storage->CountRows(rsInserted);
}

void DeleteSqlite(benchmark::State& state, TSqlite& s) {
  s.EnsureInserted();
  sqlite3_stmt* stmt = s.Prepare("DELETE FROM t WHERE k3 BETWEEN ? AND ?");
  for (auto _ : state) {
    s.Exec("BEGIN");
    sqlite3_bind_int(stmt, 1, 0);
    sqlite3_bind_int(stmt, 2, 99);
    sqlite3_step(stmt);
    sqlite3_reset(stmt);
    s.Exec("COMMIT");
  }
  sqlite3_finalize(stmt);
  sqlite3_stmt* count = s.Prepare("SELECT COUNT(*) FROM t");
  sqlite3_step(count);
  state.counters["rows_left"] = sqlite3_column_int(count, 0);
  sqlite3_finalize(count);
}

// Each phase once, in order: the phases build on each other's state.
#define STORAGE_PHASE(Title, Function) \
  BENCHMARK(Function)->Name(Title)->Iterations(1)->Unit(benchmark::kMillisecond)
#define SQLITE_PHASE(Title, Function, Engine)   \
  BENCHMARK_CAPTURE(Function, Engine, Engine()) \
      ->Name(Title)                             \
      ->Iterations(1)                           \
      ->Unit(benchmark::kMillisecond)

STORAGE_PHASE("Storage/Insert/clavira", InsertClavira);
SQLITE_PHASE("Storage/Insert/sqlite", InsertSqlite, SqliteClustered);
SQLITE_PHASE("Storage/Insert/sqlite_rowid", InsertSqlite, SqliteRowid);
STORAGE_PHASE("Storage/Insert/limit", InsertLimit);
STORAGE_PHASE("Storage/Subtotals/clavira", SubtotalsClavira);
SQLITE_PHASE("Storage/Subtotals/sqlite", SubtotalsSqlite, SqliteClustered);
SQLITE_PHASE("Storage/Subtotals/sqlite_rowid", SubtotalsSqlite, SqliteRowid);
STORAGE_PHASE("Storage/Subtotals/limit", SubtotalsLimit);
STORAGE_PHASE("Storage/Locate/clavira", LocateClavira);
SQLITE_PHASE("Storage/Locate/sqlite", LocateSqlite, SqliteClustered);
SQLITE_PHASE("Storage/Locate/sqlite_rowid", LocateSqlite, SqliteRowid);
STORAGE_PHASE("Storage/Locate/limit", LocateLimit);
STORAGE_PHASE("Storage/Select/clavira", SelectClavira);
SQLITE_PHASE("Storage/Select/sqlite", SelectSqlite, SqliteClustered);
SQLITE_PHASE("Storage/Select/sqlite_rowid", SelectSqlite, SqliteRowid);
STORAGE_PHASE("Storage/Select/limit", SelectLimit);
STORAGE_PHASE("Storage/Update/clavira", UpdateClavira);
SQLITE_PHASE("Storage/Update/sqlite", UpdateSqlite, SqliteClustered);
SQLITE_PHASE("Storage/Update/sqlite_rowid", UpdateSqlite, SqliteRowid);
STORAGE_PHASE("Storage/Update/limit", UpdateLimit);
STORAGE_PHASE("Storage/Delete/clavira", DeleteClavira);
SQLITE_PHASE("Storage/Delete/sqlite", DeleteSqlite, SqliteClustered);
SQLITE_PHASE("Storage/Delete/sqlite_rowid", DeleteSqlite, SqliteRowid);
STORAGE_PHASE("Storage/Delete/limit", DeleteLimit);

}  // namespace

BENCHMARK_MAIN();
