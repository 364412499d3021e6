// Quilt points, interval lists and quilt fields: merging insertion, the
// checks and their messages, the three-way split, field relations, copies,
// unions and prefix ranges.
#include <gtest/gtest.h>

#include <random>

#include "dataframework/conditions/tests/QuiltTestSupport.h"
#include "dataframework/types/TextTypes.h"
#include "platform/Errors.h"

namespace dataframework::quilttest {
namespace {

int Sign(int X) {
  return (X > 0) - (X < 0);
}

TEST(QuiltPointTest, ComparisonsFollowTheirReading) {
  const TDataType& type = *DoubleType();
  const TQuiltPoint mi = MinusInfinity(), pi = PlusInfinity();
  struct Case {
    const char* Name;
    int (*Compare)(const TDataType&, const TQuiltPoint&, const TQuiltPoint&);
    TQuiltPoint P, Q;
    int Expected;
  };
  const Case cases[] = {
      {"values: 1 < 2", ComparePointValues, Pt(1, true), Pt(2, false), -1},
      {"values: closedness ignored", ComparePointValues, Pt(2, true), Pt(2, false), 0},
      {"values: -inf below", ComparePointValues, mi, Pt(-1e300, true), -1},
      {"values: +inf above", ComparePointValues, Pt(1e300, true), pi, -1},
      {"values: -inf = -inf", ComparePointValues, mi, mi, 0},
      {"values: +inf > -inf", ComparePointValues, pi, mi, 1},
      {"starts: closed before open", CompareStartPoints, Pt(3, true), Pt(3, false), -1},
      {"starts: open after closed", CompareStartPoints, Pt(3, false), Pt(3, true), 1},
      {"starts: infinite first", CompareStartPoints, mi, Pt(-5, true), -1},
      {"starts: infinite equal", CompareStartPoints, mi, mi, 0},
      {"ends: closed after open", CompareEndPoints, Pt(3, true), Pt(3, false), 1},
      {"ends: infinite last", CompareEndPoints, pi, Pt(9, true), 1},
      {"ends: finite before infinite", CompareEndPoints, Pt(9, true), pi, -1},
      {"start to end: [3,3] holds", CompareStartToEnd, Pt(3, true), Pt(3, true), 0},
      {"start to end: [3,3) is empty", CompareStartToEnd, Pt(3, true), Pt(3, false), 1},
      {"start to end: (3,3] is empty", CompareStartToEnd, Pt(3, false), Pt(3, true), 1},
      {"start to end: 5 to 3 is empty", CompareStartToEnd, Pt(5, true), Pt(3, true), 1},
      {"start to end: both infinite", CompareStartToEnd, mi, pi, -1},
      {"after end: inside", StartVsPrevEnd, Pt(2, true), Pt(3, true), 0},
      {"after end: touching closed", StartVsPrevEnd, Pt(3, false), Pt(3, true), 1},
      {"after end: touching half open", StartVsPrevEnd, Pt(3, true), Pt(3, false), 1},
      {"after end: both open leave a gap", StartVsPrevEnd, Pt(3, false), Pt(3, false), 2},
      {"after end: beyond", StartVsPrevEnd, Pt(4, true), Pt(3, true), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const int answer = c.Compare(type, c.P, c.Q);
    // StartVsPrevEnd answers 0, 1 or 2; the others only by their sign.
    EXPECT_EQ(c.Compare == &StartVsPrevEnd ? answer : Sign(answer), c.Expected);
  }
  EXPECT_TRUE(PointsEqual(Pt(2, true), Pt(2, true)));
  EXPECT_FALSE(PointsEqual(Pt(2, true), Pt(2, false)));
  EXPECT_FALSE(PointsEqual(mi, pi));
  EXPECT_TRUE(PointsEqual(ComplementPoint(Pt(2, true)), Pt(2, false)));
  EXPECT_TRUE(PointsEqual(ComplementPoint(pi), pi));
}

class QuiltFieldTest : public QuiltFields {};

TEST_F(QuiltFieldTest, MergingInsertionKeepsDisjointSortedItems) {
  struct Case {
    std::vector<const char*> Added;
    const char* Expected;
  };
  const Case cases[] = {
      {{"[1,3]", "(3,5]"}, "[1,5]"},
      {{"(1,3)", "(3,5)"}, "(1,3) (3,5)"},
      {{"[1,3)", "[3,5]"}, "[1,5]"},
      {{"[1,5]", "[2,2]"}, "[1,5]"},
      {{"[7,9]", "[1,2]", "[4,5]"}, "[1,2] [4,5] [7,9]"},
      {{"[1,2]", "[4,5]", "[7,9]", "(1.5,8)"}, "[1,9]"},
      {{"[1,2]", "[4,5]", "[7,9]", "[3,4]"}, "[1,2] [3,5] [7,9]"},
      {{"[4,5]", "[1,4)"}, "[1,5]"},
      {{"(3,5]", "[3,3]"}, "[3,5]"},
      {{"[1,2]", "(-inf,0]"}, "(-inf,0] [1,2]"},
      {{"[1,2]", "[2,+inf)"}, "[1,+inf)"},
      {{"[1,2]", "(-inf,+inf)"}, "(-inf,+inf)"},
  };
  for (const Case& c : cases) {
    std::string trace;
    for (const char* a : c.Added) trace += std::string(a) + " ";
    SCOPED_TRACE(trace);
    TQuiltField field(A.get());
    for (const char* a : c.Added) AddIntervals(field, a);
    EXPECT_EQ(Text(field), c.Expected);
  }
}

TEST_F(QuiltFieldTest, ContainsValueHonoursEveryKindOfEnd) {
  struct Case {
    const char* Field;
    double Value;
    bool Expected;
  };
  const Case cases[] = {
      {"(3,5]", 3, false},        {"[3,5]", 3, true},        {"(3,5]", 5, true},
      {"[3,5)", 5, false},        {"[3,5)", 4.5, true},      {"all", 3, true},
      {"none", 3, false},         {"[1,2] [4,5]", 3, false}, {"[1,2] [4,5]", 4, true},
      {"(-inf,0)", -1e300, true}, {"(-inf,0)", 0, false},    {"[1,+inf)", 1e300, true},
      {"[1,1]", 1, true},         {"[1,2]", 0.5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Field) + " contains " + NumberText(c.Value));
    std::unique_ptr<TQuiltField> field = MakeField(A.get(), c.Field);
    EXPECT_EQ(field->ValueList().ContainsValue(DoubleValue(c.Value)), c.Expected);
    EXPECT_EQ(field->AcceptsValue(A.get(), DoubleValue(c.Value)), c.Expected);
    EXPECT_TRUE(field->AcceptsValue(B.get(), DoubleValue(c.Value)));
  }
  // A value of another type is converted to the field's type first.
  EXPECT_TRUE(MakeField(A.get(), "[3,5]")->ValueList().ContainsValue(IntegerValue(4)));
}

TEST_F(QuiltFieldTest, EmptyAndSameSignIntervalsAreRefusedWithoutChange) {
  struct Case {
    TQuiltPoint Start, End;
    const char* Message;
  };
  const Case cases[] = {
      {Pt(5, true), Pt(3, true), "Illegal interval from '5' to '3'!"},
      {Pt(3, false), Pt(3, false), "Illegal interval from '3' to '3'!"},
      {Pt(3, true), Pt(3, false), "Illegal interval from '3' to '3'!"},
      {Pt(3, false), Pt(3, true), "Illegal interval from '3' to '3'!"},
      {PlusInfinity(), Pt(3, true), "Illegal interval from '0' to '3'!"},
      {Pt(3, true), MinusInfinity(), "Illegal interval from '3' to '0'!"},
      {PlusInfinity(), MinusInfinity(), "Illegal interval from '0' to '0'!"},
      {MinusInfinity(), MinusInfinity(),
       "Interval can not have both end points in positive or negative infinity!"},
      {PlusInfinity(), PlusInfinity(),
       "Interval can not have both end points in positive or negative infinity!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Message);
    std::unique_ptr<TQuiltField> field = MakeField(A.get(), "[10,20]");
    platform::TDataErrorCapture capture;
    try {
      field->AddIntervalPoints(c.Start, c.End);
      ADD_FAILURE() << "no error";
    } catch (const platform::Exception& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    ASSERT_EQ(capture.Entries().size(), 1u);
    EXPECT_EQ(capture.Entries()[0].Context, "Intervals");
    EXPECT_EQ(Text(*field), "[10,20]");
    // An unrestricted list stays unrestricted after a refusal.
    TQuiltField open(A.get());
    EXPECT_THROW(open.AddIntervalPoints(c.Start, c.End), platform::Exception);
    EXPECT_EQ(Text(open), "all");
  }
}

// Long lists are kept in blocks; insertions, merges that swallow many items
// across blocks, splits and copies must behave as on short lists. The model
// is the membership of the points 0, 0.5, ..., 4000.
TEST_F(QuiltFieldTest, LongListsBehaveLikeShortOnes) {
  constexpr int kMax = 4000;
  std::mt19937 random(7);
  auto model = [&](std::vector<bool>& In, TQuiltField& Field, int Count, int MaxLength) {
    for (int n = 0; n < Count; ++n) {
      const int s = std::uniform_int_distribution<int>(0, kMax - 1)(random);
      const int e = std::min(kMax, s + std::uniform_int_distribution<int>(0, MaxLength)(random));
      bool sc = random() % 2 == 0, ec = random() % 2 == 0;
      if (s == e) sc = ec = true;
      Field.AddInterval(Pt(s, sc), Pt(e, ec));
      for (int g = 2 * s; g <= 2 * e; ++g)
        if ((g != 2 * s || sc) && (g != 2 * e || ec)) In[static_cast<size_t>(g)] = true;
    }
  };
  auto check = [&](const TQuiltField& Field, const std::vector<bool>& In) {
    int runs = 0;
    for (int g = 0; g <= 2 * kMax; ++g) {
      ASSERT_EQ(Field.ValueList().ContainsValue(DoubleValue(g / 2.0)), In[static_cast<size_t>(g)])
          << g / 2.0;
      if (In[static_cast<size_t>(g)] && (g == 0 || !In[static_cast<size_t>(g - 1)])) ++runs;
    }
    // Disjoint, non-touching items: one per run of accepted points.
    EXPECT_EQ(Field.Count(), runs);
  };
  std::vector<bool> x(2 * kMax + 1, false), y(2 * kMax + 1, false);
  TQuiltField fx(A.get()), fy(A.get());
  fx.SetNone();
  fy.SetNone();
  model(x, fx, 1500, 2);
  model(y, fy, 1500, 2);
  check(fx, x);
  // Wide intervals swallow many items, across blocks.
  model(x, fx, 40, 150);
  check(fx, x);

  TQuiltField both(A.get()), selfOnly(A.get()), otherOnly(A.get());
  fx.Split(fy, &both, &selfOnly, &otherOnly);
  std::vector<bool> b(x.size()), s(x.size()), o(x.size());
  for (size_t g = 0; g < x.size(); ++g) {
    b[g] = x[g] && y[g];
    s[g] = x[g] && !y[g];
    o[g] = y[g] && !x[g];
  }
  check(both, b);
  check(selfOnly, s);
  check(otherOnly, o);
  TQuiltField copy(A.get());
  copy.CopyFrom(fx);
  check(copy, x);
  copy.UnionField(fy);
  for (size_t g = 0; g < x.size(); ++g) x[g] = x[g] || y[g];
  check(copy, x);
  // Deleting items one by one from the front keeps the rest apart and in
  // order.
  const int before = copy.Count();
  for (int i = 0; i < before / 2; ++i) copy.ValueList().Delete(0);
  EXPECT_EQ(copy.Count(), before - before / 2);
  for (int i = 1; i < copy.Count(); ++i)
    EXPECT_EQ(StartVsPrevEnd(*DoubleType(), copy.ValueList().Get(i), copy.ValueList().Get2(i - 1)),
              2);
}

TEST_F(QuiltFieldTest, StartPointsAndIndexChecks) {
  TQuiltValueList list(A.get());
  EXPECT_EQ(list.AddStartPoint(Pt(3, true)), 0);
  try {
    list.AddStartPoint(Pt(3, true));
    ADD_FAILURE() << "duplicate start accepted";
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(), "TQuiltValueList.AddStartPoint: Start point already exists!");
  }
  EXPECT_EQ(list.AddStartPoint(Pt(3, false)), 1);
  EXPECT_EQ(list.AddStartPoint(Pt(1, false)), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_TRUE(list.Restricted());
  EXPECT_THROW(list.AddStartPoint(Pt(3, false)), platform::Exception);
  EXPECT_EQ(list.Count(), 3);

  try {
    list.Get(3);
    ADD_FAILURE();
  } catch (const platform::EListError& e) {
    EXPECT_EQ(e.Message(), "SListIndexError");
  }
  EXPECT_THROW(list.PutStart(-1, Pt(0, true)), platform::EListError);
  EXPECT_THROW(list.PutEnd(3, Pt(0, true)), platform::EListError);
  try {
    list.Get2(7);
    ADD_FAILURE();
  } catch (const platform::EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "TQuiltValueList.Get2: (Index >= 0) and (Index < FCount), Index: 7");
  }
  try {
    list.Delete(-1);
    ADD_FAILURE();
  } catch (const platform::EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "TQuiltValueList.Delete: (Index >= 0) and (Index < FCount), Index: -1");
  }
  EXPECT_EQ(list.Count(), 3);
  try {
    TQuiltValueList bad(nullptr);
    ADD_FAILURE();
  } catch (const platform::EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "TQuiltValueList.Create: DataField should not be nil!");
  }
}

TEST_F(QuiltFieldTest, SplitGivesTheThreePartsAndFlags) {
  struct Case {
    const char* X;
    const char* Y;
    const char* Both;
    const char* SelfOnly;
    const char* OtherOnly;
  };
  // Flags follow from the parts: a part that is not "none" set its flag.
  const Case cases[] = {
      {"[1,5]", "[3,9]", "[3,5]", "[1,3)", "(5,9]"},
      {"all", "[1,2]", "[1,2]", "(-inf,1) (2,+inf)", "none"},
      {"[1,2]", "all", "[1,2]", "none", "(-inf,1) (2,+inf)"},
      {"all", "all", "(-inf,+inf)", "none", "none"},
      {"(-inf,+inf)", "all", "(-inf,+inf)", "none", "none"},
      {"none", "[1,2]", "none", "none", "[1,2]"},
      {"[1,2]", "none", "none", "[1,2]", "none"},
      {"none", "none", "none", "none", "none"},
      {"[1,2]", "[3,4]", "none", "[1,2]", "[3,4]"},
      {"[3,4]", "[1,2]", "none", "[3,4]", "[1,2]"},
      {"[1,3)", "[3,5]", "none", "[1,3)", "[3,5]"},
      {"[1,3]", "[3,5]", "[3,3]", "[1,3)", "(3,5]"},
      {"[1,9]", "[3,4] [6,7]", "[3,4] [6,7]", "[1,3) (4,6) (7,9]", "none"},
      {"[3,4] [6,7]", "[1,9]", "[3,4] [6,7]", "none", "[1,3) (4,6) (7,9]"},
      {"(1,5) (6,9)", "[5,6]", "none", "(1,5) (6,9)", "[5,6]"},
      {"[1,5] [6,9]", "[5,6]", "[5,5] [6,6]", "[1,5) (6,9]", "(5,6)"},
      {"[1,2] [4,5] [7,8]", "[2,4] [8,10]", "[2,2] [4,4] [8,8]", "[1,2) (4,5] [7,8)",
       "(2,4) (8,10]"},
      {"(-inf,0] [5,+inf)", "[-1,6]", "[-1,0] [5,6]", "(-inf,-1) (6,+inf)", "(0,5)"},
      {"[1,5]", "[1,5]", "[1,5]", "none", "none"},
      {"[1,5]", "(1,5)", "(1,5)", "[1,1] [5,5]", "none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.X) + " split by " + c.Y);
    std::unique_ptr<TQuiltField> x = MakeField(A.get(), c.X);
    std::unique_ptr<TQuiltField> y = MakeField(A.get(), c.Y);
    TQuiltField both(A.get()), selfOnly(A.get()), otherOnly(A.get());
    TQuiltField::TSplitFlags flags = x->Split(*y, &both, &selfOnly, &otherOnly);
    EXPECT_EQ(Text(both), c.Both);
    EXPECT_EQ(Text(selfOnly), c.SelfOnly);
    EXPECT_EQ(Text(otherOnly), c.OtherOnly);
    EXPECT_EQ(flags.Overlap, std::string(c.Both) != "none");
    EXPECT_EQ(flags.SelfHasMore, std::string(c.SelfOnly) != "none");
    EXPECT_EQ(flags.OtherHasMore, std::string(c.OtherOnly) != "none");
    // The flags alone agree with the full split.
    TQuiltField::TSplitFlags alone = x->SplitFlags(*y);
    EXPECT_EQ(alone.Overlap, flags.Overlap);
    EXPECT_EQ(alone.SelfHasMore, flags.SelfHasMore);
    EXPECT_EQ(alone.OtherHasMore, flags.OtherHasMore);
    // Subtraction and intersection keep the matching part.
    std::unique_ptr<TQuiltField> difference = MakeField(A.get(), c.X);
    difference->SubtractField(*y);
    std::unique_ptr<TQuiltField> intersection = MakeField(A.get(), c.X);
    intersection->IntersectField(*y);
    EXPECT_EQ(Text(*difference), c.SelfOnly);
    EXPECT_EQ(Text(*intersection), std::string(c.Both) == "(-inf,+inf)" ? c.Both : c.Both);
  }
}

TEST_F(QuiltFieldTest, SplitChecksItsArgumentsFirst) {
  std::unique_ptr<TQuiltField> x = MakeField(A.get(), "[1,5]");
  std::unique_ptr<TQuiltField> y = MakeField(A.get(), "[3,9]");
  TQuiltField otherOnly(A.get());
  AddIntervals(otherOnly, "[100,200]");
  try {
    x->Split(*y, nullptr, nullptr, &otherOnly);
    ADD_FAILURE();
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(),
              "TQuiltField.Split: You have to supply at least one of the TQuiltFields to put the "
              "intersection or difference in!");
  }
  EXPECT_EQ(Text(otherOnly), "[100,200]");

  std::unique_ptr<TDataField> text = TDataField::CreateField("QuiltText", StringType(10, true));
  TQuiltField other(text.get());
  TQuiltField both(A.get());
  AddIntervals(both, "[7,7]");
  EXPECT_THROW(x->Split(other, &both, nullptr, nullptr), platform::EAssertionFailed);
  EXPECT_THROW(x->SubtractField(other), platform::EAssertionFailed);
  TQuiltField wrongTarget(text.get());
  EXPECT_THROW(x->Split(*y, &wrongTarget, nullptr, nullptr), platform::EAssertionFailed);
  EXPECT_EQ(Text(both), "[7,7]");
  EXPECT_EQ(Text(*x), "[1,5]");
}

TEST_F(QuiltFieldTest, FieldRelationAndContainment) {
  struct Case {
    const char* X;
    const char* Y;
    TQuiltRelation Relation;
  };
  const Case cases[] = {
      {"[1,5]", "[1,5]", qrEqual},       {"[1,5]", "[6,9]", qrDisjoint},
      {"[1,5]", "[3,9]", qrOverlapping}, {"[1,9]", "[3,4]", qrContains},
      {"[3,4]", "[1,9]", qrContainedIn}, {"all", "[1,2]", qrContains},
      {"all", "(-inf,+inf)", qrEqual},   {"none", "none", qrEqual},
      {"[1,3)", "[3,5]", qrDisjoint},    {"(1,5)", "[1,5]", qrContainedIn},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.X) + " vs " + c.Y);
    std::unique_ptr<TQuiltField> x = MakeField(A.get(), c.X);
    std::unique_ptr<TQuiltField> y = MakeField(A.get(), c.Y);
    EXPECT_EQ(x->FieldRelation(*y), c.Relation);
    bool touch = false;
    const bool contains = x->FieldContains(*y, touch, nullptr);
    EXPECT_EQ(contains, c.Relation == qrEqual || c.Relation == qrContains);
    EXPECT_EQ(x->Contains(*y), contains);
  }
  // Different data fields overlap; containment then holds only trivially.
  std::unique_ptr<TQuiltField> a = MakeField(A.get(), "[1,2]");
  std::unique_ptr<TQuiltField> b = MakeField(B.get(), "[1,2]");
  EXPECT_EQ(a->FieldRelation(*b), qrOverlapping);
  EXPECT_FALSE(a->Contains(*b));
  EXPECT_TRUE(MakeField(A.get(), "(-inf,+inf)")->Contains(*b));
  bool touch = false;
  EXPECT_TRUE(a->FieldContains(*b, touch, nullptr));
  EXPECT_TRUE(touch);
  TDataFieldSet onlyB;
  onlyB.Add(B.get());
  touch = false;
  EXPECT_TRUE(a->FieldContains(*MakeField(A.get(), "[7,8]"), touch, &onlyB));
  EXPECT_TRUE(touch);
}

TEST_F(QuiltFieldTest, CopiesAndUnionsKeepTheState) {
  struct Case {
    const char* Receiver;
    const char* Source;
    const char* Copy;
    const char* Union;
  };
  const Case cases[] = {
      {"[1,2]", "[5,6]", "[5,6]", "[1,2] [5,6]"},
      {"[1,2]", "none", "none", "[1,2]"},
      {"[1,2]", "all", "all", "all"},
      {"all", "[5,6]", "[5,6]", "all"},
      {"none", "[5,6]", "[5,6]", "[5,6]"},
      {"[1,3]", "(3,4] [6,7]", "(3,4] [6,7]", "[1,4] [6,7]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Receiver) + " with " + c.Source);
    std::unique_ptr<TQuiltField> source = MakeField(A.get(), c.Source);
    std::unique_ptr<TQuiltField> copy = MakeField(A.get(), c.Receiver);
    copy->CopyFrom(*source);
    EXPECT_EQ(Text(*copy), c.Copy);
    std::unique_ptr<TQuiltField> united = MakeField(A.get(), c.Receiver);
    united->UnionField(*source);
    EXPECT_EQ(Text(*united), c.Union);
    EXPECT_EQ(Text(*source), c.Source);
  }
  std::unique_ptr<TDataField> text = TDataField::CreateField("QuiltText", StringType(10, true));
  TQuiltField textField(text.get());
  textField.AddValue(StringValue("x"));
  std::unique_ptr<TQuiltField> target = MakeField(A.get(), "[1,2]");
  for (auto [name, action] :
       {std::pair<const char*, void (TQuiltField::*)(const TQuiltField&)>{
            "TQuiltField.CopyFrom: Different DataField types!", &TQuiltField::CopyFrom},
        {"TQuiltField.InternalAddFrom: Different DataField types!", &TQuiltField::UnionField}}) {
    SCOPED_TRACE(name);
    platform::TDataErrorCapture capture;
    try {
      ((*target).*action)(textField);
      ADD_FAILURE();
    } catch (const platform::Exception& e) {
      EXPECT_EQ(e.Message(), name);
    }
    ASSERT_EQ(capture.Entries().size(), 1u);
    EXPECT_EQ(capture.Entries()[0].Context, "CopyFrom");
    EXPECT_EQ(Text(*target), "[1,2]");
  }
}

TEST_F(QuiltFieldTest, IntervalsNeedFieldSupport) {
  A->SetDisableIntervals(true);
  TQuiltField field(A.get());
  field.AddInterval(Pt(2, true), Pt(2, true));
  try {
    field.AddInterval(Pt(2, true), Pt(3, true));
    ADD_FAILURE();
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(),
              "TQuiltField.AddInterval: Intervals not supported for the field 'QuiltA'!");
  }
  EXPECT_EQ(Text(field), "[2,2]");
  A->SetDisableIntervals(false);
  field.AddInterval(Pt(2, true), Pt(3, true));
  EXPECT_EQ(Text(field), "[2,3]");
}

TEST_F(QuiltFieldTest, StatesAndQueries) {
  TQuiltField field(A.get());
  TValue value;
  EXPECT_TRUE(field.IsUniverse(nullptr));
  EXPECT_FALSE(field.IsEmpty(nullptr));
  field.SetNone();
  EXPECT_TRUE(field.IsEmpty(nullptr));
  EXPECT_TRUE(field.AcceptsNoneOfField(A.get()));
  EXPECT_FALSE(field.AcceptsNoneOfField(B.get()));
  TDataFieldSet onlyB;
  onlyB.Add(B.get());
  // What accepts nothing accepts nothing on any fields.
  EXPECT_TRUE(field.IsEmpty(&onlyB));
  EXPECT_FALSE(field.IsUniverse(&onlyB));
  field.SetAll();
  EXPECT_TRUE(field.IsUniverse(nullptr));
  EXPECT_EQ(Text(field), "(-inf,+inf)");
  field.Clear();
  EXPECT_EQ(Text(field), "all");
  field.AddValue(DoubleValue(4));
  EXPECT_TRUE(field.HasOnlyValue(A.get(), value));
  EXPECT_EQ(ValueAsFloat(value), 4);
  EXPECT_FALSE(field.HasOnlyValue(B.get(), value));
  field.AddValue(DoubleValue(5));
  EXPECT_FALSE(field.HasOnlyValue(A.get(), value));
  field.ProjectOn(&onlyB);
  EXPECT_EQ(Text(field), "all");
  EXPECT_TRUE(field.IsNice());
  EXPECT_TRUE(field.UsesField(A.get()));
  EXPECT_FALSE(field.UsesField(B.get()));
}

TEST_F(QuiltFieldTest, EveryChangeSignalsOnce) {
  TQuiltField field(A.get());
  int signals = 0;
  field.SetOnChange([&](TCondition* sender) {
    EXPECT_EQ(sender, &field);
    ++signals;
  });
  std::unique_ptr<TQuiltField> other = MakeField(A.get(), "[4,6]");
  struct Step {
    const char* Name;
    std::function<void()> Change;
  };
  const Step steps[] = {
      {"AddValue", [&] { field.AddValue(DoubleValue(1)); }},
      {"AddInterval", [&] { field.AddInterval(Pt(2, true), Pt(3, true)); }},
      {"UnionField", [&] { field.UnionField(*other); }},
      {"SubtractField", [&] { field.SubtractField(*other); }},
      {"IntersectField", [&] { field.IntersectField(*other); }},
      {"CopyFrom", [&] { field.CopyFrom(*other); }},
      {"SetNone", [&] { field.SetNone(); }},
      {"SetAll", [&] { field.SetAll(); }},
      {"Clear", [&] { field.Clear(); }},
      {"AddPrefixRange", [&] { field.AddPrefixRange(""); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.Name);
    signals = 0;
    step.Change();
    EXPECT_EQ(signals, 1);
  }
  signals = 0;
  field.BeginUpdate();
  field.AddValue(DoubleValue(8));
  field.AddValue(DoubleValue(9));
  EXPECT_EQ(signals, 0);
  field.EndUpdate();
  EXPECT_EQ(signals, 1);
}

TEST(PrefixUpperBoundTest, SmallestTextAfterThePrefix) {
  const TDataType& sensitive = *StringType(20, true);
  const TDataType& insensitive = *StringType(20, false);
  struct Case {
    const TDataType* Type;
    std::string Text;
    std::string Expected;
  };
  const Case cases[] = {
      {&sensitive, "ab", "ac"},       {&sensitive, "", ""},         {&sensitive, "a\xff", "b"},
      {&sensitive, "a\xff\xff", "b"}, {&sensitive, "\xff\xff", ""}, {&sensitive, "a\xfe", "b"},
      {&sensitive, "aZ", "a["},       {&insensitive, "ab", "ac"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(PrefixUpperBound(*c.Type, c.Text), c.Expected);
  }
  // Ignoring case, the bound after "Z" must also sort after "z".
  std::string bound = PrefixUpperBound(insensitive, "Z");
  ASSERT_EQ(bound.size(), 1u);
  EXPECT_GT(insensitive.Compare(StringValue(bound), StringValue("z")), 0);
  EXPECT_GT(insensitive.Compare(StringValue(bound), StringValue("Zzzz")), 0);
}

TEST(PrefixRangeTest, AcceptsExactlyTheTextsWithThePrefix) {
  std::unique_ptr<TDataField> text = TDataField::CreateField("QuiltPrefix", StringType(10, true));
  TQuiltField field(text.get());
  field.AddPrefixRange("ab");
  for (auto [value, expected] : {std::pair<const char*, bool>{"ab", true},
                                 {"abzzz", true},
                                 {"ab\xff", true},
                                 {"aa", false},
                                 {"ac", false},
                                 {"a", false},
                                 {"b", false}}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(field.AcceptsValue(text.get(), StringValue(value)), expected);
  }
  TQuiltField top(text.get());
  top.AddPrefixRange("\xff");
  EXPECT_TRUE(top.AcceptsValue(text.get(), StringValue("\xff\xff")));
  EXPECT_FALSE(top.AcceptsValue(text.get(), StringValue("\xfe")));
  TQuiltField everything(text.get());
  everything.AddPrefixRange("");
  EXPECT_TRUE(everything.IsUniverse(nullptr));
}

}  // namespace
}  // namespace dataframework::quilttest
