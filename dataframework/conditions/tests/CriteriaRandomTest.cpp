// Randomised differential tests of criteria.
//
// 1. Criteria fields against their value sets: random AddValue, AddInterval,
//    IntersectWith, UnionAddFrom, SetAll, SetNone and Clear on an integer
//    and a double field, checked after every step against a brute-force
//    model (the accepted points among the whole numbers, and for the double
//    field the half numbers too), together with the item invariants, the
//    state queries, the quilt field made from it and its value text.
// 2. The text form: random criteria over fields of several data types are
//    written to a stream and read back, and must be IsEqual.
//
// The seed is fixed and printed with every failure; CLAVIRA_CRITERIA_SEED
// replaces it to replay or widen a run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "dataframework/conditions/Quilt.h"
#include "dataframework/conditions/tests/CriteriaTestSupport.h"
#include "dataframework/types/DateTimeTypes.h"

namespace dataframework::criteriatest {
namespace {

uint32_t Seed() {
  if (const char* text = std::getenv("CLAVIRA_CRITERIA_SEED")) {
    return static_cast<uint32_t>(std::strtoul(text, nullptr, 10));
  }
  return 20240917u;
}

class TRandom {
 public:
  explicit TRandom(uint32_t Seed) : FEngine(Seed) {}
  // Uniform in Low ... High.
  int Range(int Low, int High) {
    return Low + static_cast<int>(FEngine() % static_cast<uint32_t>(High - Low + 1));
  }
  bool Chance(int Percent) { return Range(0, 99) < Percent; }
  double Real(double Low, double High) {
    return Low + (High - Low) * (static_cast<double>(FEngine()) / 4294967296.0);
  }

 private:
  std::mt19937 FEngine;
};

// ---- 1. Criteria fields against their value sets

// The accepted points of one field, counted in ticks of 1 / Scale.
struct TModel {
  enum TKind { kBlank, kAll, kNone, kListed } Kind = kBlank;
  std::set<int> Ticks;

  bool AcceptsAll() const { return Kind == kBlank || Kind == kAll; }
  bool Accepts(int Tick) const { return AcceptsAll() || (Kind == kListed && Ticks.count(Tick)); }
};

// A field under test: its data field, a second field of the same type (for
// unions from another field), and how whole numbers and ticks become values.
struct TSubject {
  TDataField* Field;
  TDataField* Twin;
  int Scale;  // ticks per whole number
  bool IsDouble;

  TValue Whole(int N) const { return IsDouble ? DoubleValue(N) : IntegerValue(N); }
  TValue Tick(int T) const {
    return IsDouble ? DoubleValue(static_cast<double>(T) / Scale) : IntegerValue(T / Scale);
  }
};

constexpr int kLow = -10;
constexpr int kHigh = 10;

class CriteriaDifferentialTest : public CriteriaFields {
 protected:
  std::unique_ptr<TDataField> FD2 = TDataField::CreateField("CrD2", DoubleType());

  // A random restriction of Field, with its model.
  std::unique_ptr<TCriteriaField> RandomField(TRandom& R, const TSubject& S, TDataField* Field,
                                              TModel& Model) {
    auto cf = std::make_unique<TCriteriaField>(Field);
    Model = TModel();
    switch (R.Range(0, 5)) {
      case 0:
        break;
      case 1:
        cf->SetAll();
        Model.Kind = TModel::kAll;
        break;
      case 2:
        cf->SetNone();
        Model.Kind = TModel::kNone;
        break;
      default:
        for (int n = R.Range(1, 3); n > 0; --n) ApplyInterval(R, S, *cf, Model);
    }
    return cf;
  }

  static void ApplyInterval(TRandom& R, const TSubject& S, TCriteriaField& CF, TModel& Model) {
    const int a = R.Range(kLow, kHigh);
    const int b = R.Chance(30) ? a : R.Range(a, std::min(kHigh, a + 6));
    if (a == b) {
      CF.AddValue(S.Whole(a));
    } else {
      CF.AddInterval(S.Whole(a), S.Whole(b));
    }
    if (Model.Kind == TModel::kAll) return;
    if (Model.Kind != TModel::kListed) Model.Ticks.clear();
    Model.Kind = TModel::kListed;
    for (int t = a * S.Scale; t <= b * S.Scale; ++t) Model.Ticks.insert(t);
  }

  static std::string Dump(const TCriteriaField& CF, const TModel& Model) {
    std::string text = "field " + Describe(CF) + "; model ";
    const char* kinds[] = {"blank", "all", "none", "listed"};
    text += kinds[Model.Kind];
    for (int t : Model.Ticks) text += " " + std::to_string(t);
    return text;
  }

  // Every answer of CF agrees with Model.
  void Check(const TSubject& S, const TCriteriaField& CF, const TModel& Model, bool Deep) {
    SCOPED_TRACE(Dump(CF, Model));
    EXPECT_EQ(CF.IsBlank(), Model.Kind == TModel::kBlank);
    EXPECT_EQ(CF.AcceptsAll(), Model.AcceptsAll());
    EXPECT_EQ(CF.IsNone(), Model.Kind == TModel::kNone);
    EXPECT_EQ(CF.Count() > 0, Model.Kind == TModel::kListed);
    EXPECT_EQ(CF.HasExactlyOneValue(), Model.Kind == TModel::kListed && Model.Ticks.size() == 1);
    const TDataType* type = S.Field->DataType();
    for (int i = 0; i < CF.Count(); ++i) {
      EXPECT_LE(type->Compare(CF.GetStartValue(i), CF.GetEndValue(i)), 0) << "item " << i;
      if (i > 0) {
        EXPECT_LT(type->Compare(CF.GetEndValue(i - 1), CF.GetStartValue(i)), 0)
            << "items " << i - 1 << " and " << i << " overlap or touch";
      }
    }
    for (int t = (kLow - 2) * S.Scale; t <= (kHigh + 2) * S.Scale; ++t) {
      ASSERT_EQ(CF.Accepts(S.Tick(t)), Model.Accepts(t)) << "tick " << t;
    }
    if (!Deep) return;
    std::unique_ptr<TQuiltField> quilt = CF.AsQuiltField();
    for (int t = (kLow - 2) * S.Scale; t <= (kHigh + 2) * S.Scale; ++t) {
      ASSERT_EQ(quilt->AcceptsValue(S.Field, S.Tick(t)), Model.Accepts(t)) << "quilt, tick " << t;
    }
    EXPECT_EQ(quilt->IsEmpty(nullptr), Model.Kind == TModel::kNone);
    TCriteriaField read(S.Field);
    read.SetAsText(CF.AsText());
    EXPECT_TRUE(read.IsEqual(CF)) << CF.AsText();
  }

  void Run(const TSubject& S, uint32_t Seed) {
    TRandom r(Seed);
    for (int sequence = 0; sequence < 60; ++sequence) {
      TCriteriaField cf(S.Field);
      TModel model;
      for (int step = 0; step < 40; ++step) {
        std::string op;
        switch (r.Range(0, 9)) {
          case 0:
          case 1:
          case 2:
            op = "add";
            ApplyInterval(r, S, cf, model);
            break;
          case 3:
            op = "SetAll";
            cf.SetAll();
            model = {TModel::kAll, {}};
            break;
          case 4:
            op = "SetNone";
            cf.SetNone();
            model = {TModel::kNone, {}};
            break;
          case 5:
            op = "Clear";
            cf.Clear();
            model = {};
            break;
          case 6:
          case 7:
            op = "IntersectWith";
            Intersect(r, S, cf, model);
            break;
          default:
            op = "UnionAddFrom";
            Unite(r, S, cf, model);
        }
        SCOPED_TRACE("seed " + std::to_string(Seed) + ", sequence " + std::to_string(sequence) +
                     ", step " + std::to_string(step) + " (" + op + ")");
        Check(S, cf, model, step % 4 == 0);
        if (HasFatalFailure() || HasFailure()) return;
      }
    }
  }

  void Intersect(TRandom& R, const TSubject& S, TCriteriaField& CF, TModel& Model) {
    TModel other;
    auto source = RandomField(R, S, S.Field, other);
    TCriteria holder;
    const TNiceCondition* cond = source.get();
    const int container = R.Range(0, 2);
    bool missing = false;
    if (container == 1) {
      holder.SetCriteriaField(S.Field, source.get());
      cond = &holder;
    } else if (container == 2) {
      holder.CriteriaFields(S.Twin).AddValue(S.Whole(1));
      cond = &holder;
      missing = true;
    }
    CF.IntersectWith(cond);

    const bool aFree = missing || other.AcceptsAll();
    const bool bFree = Model.AcceptsAll();
    if (aFree && bFree) {
      Model = {missing ? TModel::kBlank : TModel::kAll, {}};
    } else if (aFree) {
      // this field unchanged
    } else if (bFree) {
      Model = other;
    } else if (other.Kind == TModel::kNone || Model.Kind == TModel::kNone) {
      Model = {TModel::kNone, {}};
    } else {
      std::set<int> both;
      for (int t : Model.Ticks) {
        if (other.Ticks.count(t)) both.insert(t);
      }
      Model = both.empty() ? TModel{TModel::kNone, {}} : TModel{TModel::kListed, both};
    }
  }

  void Unite(TRandom& R, const TSubject& S, TCriteriaField& CF, TModel& Model) {
    TModel other;
    const int container = R.Range(0, 3);
    auto source = RandomField(R, S, container == 3 ? S.Twin : S.Field, other);
    TCriteria holder;
    const TNiceCondition* cond = source.get();
    bool missing = false;
    if (container == 1) {
      holder.SetCriteriaField(S.Field, source.get());
      cond = &holder;
    } else if (container == 2) {
      holder.SetCriteriaField(S.Twin, source.get());
      cond = &holder;
      missing = true;
    }
    CF.UnionAddFrom(cond);

    if (missing || other.AcceptsAll()) {
      Model = {TModel::kAll, {}};
    } else if (other.Kind == TModel::kNone || Model.Kind == TModel::kAll) {
      // nothing added
    } else {
      if (Model.Kind != TModel::kListed) Model.Ticks.clear();
      Model.Kind = TModel::kListed;
      Model.Ticks.insert(other.Ticks.begin(), other.Ticks.end());
    }
  }
};

TEST_F(CriteriaDifferentialTest, IntegerFieldAgainstItsValueSet) {
  Run({FI.get(), FI2.get(), 1, false}, Seed());
}

TEST_F(CriteriaDifferentialTest, DoubleFieldAgainstItsValueSetAtHalfNumbers) {
  Run({FD.get(), FD2.get(), 2, true}, Seed() + 1);
}

// ---- 2. The text form round trip

class CriteriaRoundTripTest : public CriteriaFields {
 protected:
  std::unique_ptr<TDataField> FDate = TDataField::CreateField("CrDate", DateType());
  std::unique_ptr<TDataField> FDateTime = TDataField::CreateField("CrDateTime", DateTimeType());
  std::unique_ptr<TDataField> FCurrency = TDataField::CreateField("CrCurrency", CurrencyType());
  std::unique_ptr<TDataField> FBoolean = TDataField::CreateField("CrBoolean", BooleanType());
  std::unique_ptr<TDataField> FCaseless =
      TDataField::CreateField("CrCaseless", StringType(20, false));

  std::vector<TDataField*> All() const {
    return {FI.get(),    FD.get(),        FS.get(),        FSNoIntervals.get(), FNoIntervals.get(),
            FDate.get(), FDateTime.get(), FCurrency.get(), FBoolean.get(),      FCaseless.get()};
  }

  static std::string RandomText(TRandom& R) {
    static const char* const pieces[] = {"a", "B",   "xy",   " ",  ",",    ":", "-",   "(",
                                         ")", "All", "None", "\t", "\xe9", "0", "1.5", "z"};
    std::string text;
    for (int n = R.Range(0, 4); n > 0; --n) text += pieces[R.Range(0, 15)];
    return text;
  }

  TValue RandomValue(TRandom& R, TDataField* Field) {
    const TDataType* type = Field->DataType();
    if (type == IntegerType()) return IntegerValue(R.Range(-1000, 1000));
    if (type == DoubleType()) {
      switch (R.Range(0, 3)) {
        case 0:
          return DoubleValue(R.Range(-50, 50));
        case 1:
          return DoubleValue(R.Real(-1e6, 1e6));
        case 2:
          return DoubleValue(R.Real(-1, 1) * 1e-200);
        default:
          return DoubleValue(R.Real(-1, 1) * 1e200);
      }
    }
    if (type == CurrencyType())
      return CurrencyValue(static_cast<int64_t>(R.Range(-1000000, 1000000)) * 9973);
    if (type == DateType()) return DateValue(R.Range(-600000, 2900000));
    if (type == DateTimeType()) {
      return ConvertToType(type, DoubleValue(R.Range(1, 80000) + R.Range(0, 86399) / 86400.0));
    }
    if (type == BooleanType()) return BooleanValue(R.Chance(50));
    return StringValue(RandomText(R));
  }

  std::unique_ptr<TCriteria> RandomCriteria(TRandom& R) {
    auto c = std::make_unique<TCriteria>();
    for (TDataField* field : All()) {
      if (R.Chance(40)) continue;
      TCriteriaField& cf = c->CriteriaFields(field);
      switch (R.Range(0, 5)) {
        case 0:
          break;
        case 1:
          cf.SetAll();
          break;
        case 2:
          cf.SetNone();
          break;
        default:
          for (int n = R.Range(1, 4); n > 0; --n) {
            const TValue a = RandomValue(R, field);
            const TValue b = RandomValue(R, field);
            if (!field->Intervals() || R.Chance(40)) {
              cf.AddValue(a);
            } else if (field->DataType()->Compare(a, b) <= 0) {
              cf.AddInterval(a, b);
            } else {
              cf.AddInterval(b, a);
            }
          }
      }
    }
    return c;
  }
};

TEST_F(CriteriaRoundTripTest, WrittenCriteriaReadBackEqual) {
  const uint32_t seed = Seed() + 2;
  TRandom r(seed);
  for (int round = 0; round < 300; ++round) {
    std::unique_ptr<TCriteria> original = RandomCriteria(r);
    std::stringstream stream;
    original->WriteToStream(stream, round % 5);
    const std::string text = stream.str();
    SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round) + ": " + text);
    const TConditionClass* cls = nullptr;
    ASSERT_TRUE(TCondition::ReadHeader(stream, cls));
    ASSERT_EQ(cls, &TCriteria::StaticClass());
    std::unique_ptr<TCondition> read = cls->CreateFromStream(stream);
    ASSERT_TRUE(read->IsEqual(*original));
    ASSERT_TRUE(original->IsEqual(*read));
    EXPECT_EQ(stream.peek(), std::char_traits<char>::eof()) << "read up to its own end";
  }
}

}  // namespace
}  // namespace dataframework::criteriatest
