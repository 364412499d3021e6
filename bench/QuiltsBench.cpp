// Quilt fields against Boost.ICL, and the normalisation of quilts.
//
// One field: interval sets of doubles with mixed open and closed ends, the
// same random intervals for both engines (a TQuiltField of a double field,
// and boost::icl::interval_set<double> of continuous intervals):
//   Quilts/Intersect/<engine>, Quilts/Subtract/<engine>: a copy of one set
//     of 100,000 intervals intersected with / reduced by another;
//   Quilts/Contains/<engine>: 100,000 value probes;
//   Quilts/Build1000|Build10000|Build100000/<engine>: a set built by single
//     interval insertions.
// Both engines merge overlapping and touching intervals, so the sets are
// checked to hold the same number of intervals before timing.
//
// Normalisation: Quilts/AddPatch/<n> builds a quilt from n random patches
// over three fields; Quilts/Relation/<n> relates two such quilts;
// Quilts/RelationEqual/<n> relates one to its copy (the containment tests
// then run to the end).
#include <benchmark/benchmark.h>

#include <boost/icl/continuous_interval.hpp>
#include <boost/icl/interval_set.hpp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "dataframework/conditions/Quilt.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"

namespace {

using namespace dataframework;

using TIclInterval = boost::icl::continuous_interval<double>;
using TIclSet = boost::icl::interval_set<double, std::less, TIclInterval>;

struct TInterval {
  double Start;
  double End;
  bool StartClosed;
  bool EndClosed;
};

// Random intervals over [0, 10^7) of lengths below 100 (a single point now
// and then); a set of 100,000 of them keeps about 60,000 apart.
std::vector<TInterval> RandomIntervals(size_t Count, unsigned Seed) {
  std::mt19937 random(Seed);
  std::uniform_int_distribution<int> start(0, 9999999);
  std::uniform_int_distribution<int> length(0, 99);
  std::uniform_int_distribution<int> coin(0, 1);
  std::vector<TInterval> result;
  result.reserve(Count);
  for (size_t i = 0; i < Count; ++i) {
    const double s = start(random);
    const int len = length(random);
    const double e = s + len;
    bool sc = coin(random) == 1, ec = coin(random) == 1;
    if (len == 0) sc = ec = true;
    result.push_back({s, e, sc, ec});
  }
  return result;
}

TIclInterval IclOf(const TInterval& I) {
  using boost::icl::interval_bounds;
  interval_bounds bounds =
      I.StartClosed ? (I.EndClosed ? interval_bounds::closed() : interval_bounds::right_open())
                    : (I.EndClosed ? interval_bounds::left_open() : interval_bounds::open());
  return TIclInterval(I.Start, I.End, bounds);
}

TDataField* Field() {
  static std::unique_ptr<TDataField> field =
      TDataField::CreateField("BenchQuiltField", DoubleType());
  return field.get();
}

void Add(TQuiltField& Field, const TInterval& I) {
  Field.AddInterval(MakePoint(DoubleValue(I.Start), I.StartClosed),
                    MakePoint(DoubleValue(I.End), I.EndClosed));
}

std::unique_ptr<TQuiltField> ClaviraSet(const std::vector<TInterval>& Intervals) {
  auto field = std::make_unique<TQuiltField>(Field());
  for (const TInterval& i : Intervals) Add(*field, i);
  return field;
}

TIclSet IclSet(const std::vector<TInterval>& Intervals) {
  TIclSet set;
  for (const TInterval& i : Intervals) set += IclOf(i);
  return set;
}

// The inputs of the one-field benchmarks, made once.
struct TInputs {
  std::unique_ptr<TQuiltField> X, Y;
  TIclSet IX, IY;
  std::vector<double> Probes;
  std::vector<TValue> ProbeValues;

  TInputs() {
    const std::vector<TInterval> x = RandomIntervals(100000, 1);
    const std::vector<TInterval> y = RandomIntervals(100000, 2);
    X = ClaviraSet(x);
    Y = ClaviraSet(y);
    IX = IclSet(x);
    IY = IclSet(y);
    if (static_cast<size_t>(X->Count()) != IX.iterative_size() ||
        static_cast<size_t>(Y->Count()) != IY.iterative_size()) {
      std::fprintf(stderr, "the engines disagree on the inputs\n");
      std::abort();
    }
    std::mt19937 random(3);
    std::uniform_real_distribution<double> value(0, 1e7);
    for (int i = 0; i < 100000; ++i) {
      // Whole numbers hit interval ends now and then.
      const double v =
          (i % 2 == 0) ? value(random) : static_cast<double>(static_cast<int>(value(random)));
      Probes.push_back(v);
      ProbeValues.push_back(DoubleValue(v));
    }
  }
};

TInputs& Inputs() {
  static TInputs inputs;
  return inputs;
}

void IntersectClavira(benchmark::State& State) {
  TInputs& in = Inputs();
  for (auto _ : State) {
    TQuiltField result(Field());
    result.CopyFrom(*in.X);
    result.IntersectField(*in.Y);
    benchmark::DoNotOptimize(result.Count());
  }
}

void IntersectIcl(benchmark::State& State) {
  TInputs& in = Inputs();
  for (auto _ : State) {
    TIclSet result = in.IX;
    result &= in.IY;
    benchmark::DoNotOptimize(result.iterative_size());
  }
}

void SubtractClavira(benchmark::State& State) {
  TInputs& in = Inputs();
  for (auto _ : State) {
    TQuiltField result(Field());
    result.CopyFrom(*in.X);
    result.SubtractField(*in.Y);
    benchmark::DoNotOptimize(result.Count());
  }
}

void SubtractIcl(benchmark::State& State) {
  TInputs& in = Inputs();
  for (auto _ : State) {
    TIclSet result = in.IX;
    result -= in.IY;
    benchmark::DoNotOptimize(result.iterative_size());
  }
}

void ContainsClavira(benchmark::State& State) {
  TInputs& in = Inputs();
  const TQuiltValueList& list = in.X->ValueList();
  for (auto _ : State) {
    int hits = 0;
    for (const TValue& v : in.ProbeValues) hits += list.ContainsValue(v) ? 1 : 0;
    benchmark::DoNotOptimize(hits);
  }
}

void ContainsIcl(benchmark::State& State) {
  TInputs& in = Inputs();
  for (auto _ : State) {
    int hits = 0;
    for (double v : in.Probes) hits += boost::icl::contains(in.IX, v) ? 1 : 0;
    benchmark::DoNotOptimize(hits);
  }
}

void BuildClavira(benchmark::State& State) {
  const std::vector<TInterval> intervals = RandomIntervals(static_cast<size_t>(State.range(0)), 4);
  for (auto _ : State) {
    TQuiltField field(Field());
    for (const TInterval& i : intervals) Add(field, i);
    benchmark::DoNotOptimize(field.Count());
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

void BuildIcl(benchmark::State& State) {
  const std::vector<TInterval> intervals = RandomIntervals(static_cast<size_t>(State.range(0)), 4);
  for (auto _ : State) {
    TIclSet set;
    for (const TInterval& i : intervals) set += IclOf(i);
    benchmark::DoNotOptimize(set.iterative_size());
  }
  State.SetItemsProcessed(State.iterations() * State.range(0));
}

// ---- Normalisation.

struct TPatchFields {
  std::unique_ptr<TDataField> A = TDataField::CreateField("BenchPatchA", DoubleType());
  std::unique_ptr<TDataField> B = TDataField::CreateField("BenchPatchB", DoubleType());
  std::unique_ptr<TDataField> C = TDataField::CreateField("BenchPatchC", DoubleType());
};

TPatchFields& PatchFields() {
  static TPatchFields fields;
  return fields;
}

// n random boxes in [0, 1000)^3 with sides below 100, closed or half open.
std::vector<std::unique_ptr<TQuiltPatch>> RandomPatches(int Count, unsigned Seed) {
  std::mt19937 random(Seed);
  std::uniform_int_distribution<int> start(0, 999);
  std::uniform_int_distribution<int> length(1, 99);
  std::uniform_int_distribution<int> choice(0, 3);
  std::vector<std::unique_ptr<TQuiltPatch>> patches;
  TPatchFields& f = PatchFields();
  for (int n = 0; n < Count; ++n) {
    auto patch = std::make_unique<TQuiltPatch>();
    for (TDataField* field : {f.A.get(), f.B.get(), f.C.get()}) {
      const double s = start(random);
      patch->FieldFor(field, true)
          ->AddInterval(MakePoint(DoubleValue(s), true),
                        MakePoint(DoubleValue(s + length(random)), choice(random) != 0));
    }
    patches.push_back(std::move(patch));
  }
  return patches;
}

std::unique_ptr<TQuilt> BuildQuilt(int Count, unsigned Seed) {
  auto quilt = std::make_unique<TQuilt>();
  for (auto& patch : RandomPatches(Count, Seed)) quilt->AddPatch(std::move(patch));
  return quilt;
}

void AddPatchBench(benchmark::State& State) {
  const int n = static_cast<int>(State.range(0));
  int patches = 0;
  for (auto _ : State) {
    State.PauseTiming();
    std::vector<std::unique_ptr<TQuiltPatch>> input = RandomPatches(n, 5);
    TQuilt quilt;
    State.ResumeTiming();
    for (auto& patch : input) quilt.AddPatch(std::move(patch));
    patches = quilt.PatchCount();
    State.PauseTiming();
    quilt.Clear();
    State.ResumeTiming();
  }
  State.counters["patches"] = patches;
}

void RelationBench(benchmark::State& State) {
  const int n = static_cast<int>(State.range(0));
  std::unique_ptr<TQuilt> x = BuildQuilt(n, 6);
  std::unique_ptr<TQuilt> y = BuildQuilt(n, 7);
  for (auto _ : State) benchmark::DoNotOptimize(x->QuiltRelation(*y, nullptr));
  State.counters["patches"] = x->PatchCount() + y->PatchCount();
}

// The worst case of the relation: a quilt and its copy contain each other,
// so every patch of each is checked against the other quilt.
void RelationEqualBench(benchmark::State& State) {
  const int n = static_cast<int>(State.range(0));
  std::unique_ptr<TQuilt> x = BuildQuilt(n, 6);
  std::unique_ptr<TQuilt> y = x->Copy();
  for (auto _ : State) benchmark::DoNotOptimize(x->QuiltRelation(*y, nullptr));
  State.counters["patches"] = x->PatchCount() + y->PatchCount();
}

}  // namespace

BENCHMARK(IntersectClavira)->Name("Quilts/Intersect/clavira")->Unit(benchmark::kMillisecond);
BENCHMARK(IntersectIcl)->Name("Quilts/Intersect/icl")->Unit(benchmark::kMillisecond);
BENCHMARK(SubtractClavira)->Name("Quilts/Subtract/clavira")->Unit(benchmark::kMillisecond);
BENCHMARK(SubtractIcl)->Name("Quilts/Subtract/icl")->Unit(benchmark::kMillisecond);
BENCHMARK(ContainsClavira)->Name("Quilts/Contains/clavira")->Unit(benchmark::kMillisecond);
BENCHMARK(ContainsIcl)->Name("Quilts/Contains/icl")->Unit(benchmark::kMillisecond);
BENCHMARK(BuildClavira)->Name("Quilts/Build1000/clavira")->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildIcl)->Name("Quilts/Build1000/icl")->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildClavira)
    ->Name("Quilts/Build10000/clavira")
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BuildIcl)->Name("Quilts/Build10000/icl")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildClavira)
    ->Name("Quilts/Build100000/clavira")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BuildIcl)->Name("Quilts/Build100000/icl")->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(AddPatchBench)
    ->Name("Quilts/AddPatch")
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(RelationBench)
    ->Name("Quilts/Relation")
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(RelationEqualBench)
    ->Name("Quilts/RelationEqual")
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
