// Criteria value lists and criteria fields: growth and search, the four
// states, additions with merging, intersection, union, signals, the errors
// and their messages (raised before anything changes), the value text with
// its quoting, reading it back, and the conversion to quilt fields.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "dataframework/conditions/Quilt.h"
#include "dataframework/conditions/tests/CriteriaTestSupport.h"
#include "platform/DataError.h"
#include "platform/Errors.h"

namespace dataframework::criteriatest {
namespace {

using platform::TDataErrorCapture;

// ---- TCriteriaValueList

using CriteriaValueListTest = CriteriaFields;

TEST_F(CriteriaValueListTest, GrowsTo16ThenDoublesAndClearReleases) {
  TCriteriaValueList list(FI.get());
  EXPECT_EQ(list.Capacity(), 0);
  std::vector<int> capacities;
  for (int i = 0; i < 33; ++i) {
    list.Add(IntegerValue(100 - i));
    capacities.push_back(list.Capacity());
  }
  EXPECT_EQ(capacities[0], 16);
  EXPECT_EQ(capacities[15], 16);
  EXPECT_EQ(capacities[16], 32);
  EXPECT_EQ(capacities[32], 64);
  // Sorted by start whatever the order of insertion.
  for (int i = 1; i < list.Count(); ++i) {
    EXPECT_LT(ValueAsInteger(list.Get(i - 1)), ValueAsInteger(list.Get(i)));
  }
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
}

TEST_F(CriteriaValueListTest, FindAddAndContains) {
  TCriteriaValueList list(FI.get());
  list.AddInterval(IntegerValue(10), IntegerValue(20));
  list.Add(IntegerValue(30));
  list.AddInterval(IntegerValue(40), IntegerValue(45));
  EXPECT_EQ(list.Add(IntegerValue(30)), 1) << "an existing start is found, not added";
  EXPECT_EQ(list.Count(), 3);

  struct Case {
    int Value;
    bool Found;
    int Index;
    bool Contained;
  };
  const Case cases[] = {{5, false, 0, false},  {10, true, 0, true},   {15, false, 1, true},
                        {20, false, 1, true},  {21, false, 1, false}, {30, true, 1, true},
                        {31, false, 2, false}, {45, false, 3, true},  {46, false, 3, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Value);
    int index = -1;
    EXPECT_EQ(list.Find(IntegerValue(c.Value), index), c.Found);
    EXPECT_EQ(index, c.Index);
    EXPECT_EQ(list.Contains(IntegerValue(c.Value)), c.Contained);
  }
}

TEST_F(CriteriaValueListTest, IndexChecksAndMissingField) {
  TCriteriaValueList list(FI.get());
  list.Add(IntegerValue(1));
  EXPECT_THROW(list.Get(1), platform::EListError);
  EXPECT_EQ(MessageOf([&] { list.Get(-1); }), "SListIndexError");
  EXPECT_EQ(MessageOf([&] { list.Get2(1); }),
            "TCriteriaValueList.Get2: (Index >= 0) and (Index < FCount), Index: 1");
  EXPECT_EQ(MessageOf([&] { list.Put2(-2, IntegerValue(3)); }),
            "TCriteriaValueList.Put2: (Index >= 0) and (Index < FCount), Index: -2");
  EXPECT_EQ(MessageOf([&] { list.Delete(7); }),
            "TCriteriaValueList.Delete: (Index >= 0) and (Index < FCount), Index: 7");
  EXPECT_THROW(list.Get2(1), platform::EAssertionFailed);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(MessageOf([] { TCriteriaValueList bad(nullptr); }),
            "TCriteriaValueList.Create: Field <> nil");
}

// ---- States

using CriteriaFieldTest = CriteriaFields;

TEST_F(CriteriaFieldTest, FourStates) {
  struct Case {
    const char* Name;
    std::function<void(TCriteriaField&)> Make;
    bool Blank, AcceptsAll, None, Accepts5;
    const char* Text;
  };
  const Case cases[] = {
      {"blank", [](TCriteriaField&) {}, true, true, false, true, ""},
      {"all", [](TCriteriaField& f) { f.SetAll(); }, false, true, false, true, "All"},
      {"none", [](TCriteriaField& f) { f.SetNone(); }, false, false, true, false, "None"},
      {"listed", [](TCriteriaField& f) { f.AddValue(IntegerValue(4)); }, false, false, false, false,
       "4"},
      {"none after items",
       [](TCriteriaField& f) {
         f.AddInterval(IntegerValue(1), IntegerValue(9));
         f.SetNone();
       },
       false, false, true, false, "None"},
      {"cleared",
       [](TCriteriaField& f) {
         f.SetAll();
         f.Clear();
       },
       true, true, false, true, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TCriteriaField cf(FI.get());
    c.Make(cf);
    EXPECT_EQ(cf.IsBlank(), c.Blank);
    EXPECT_EQ(cf.AcceptsAll(), c.AcceptsAll);
    EXPECT_EQ(cf.IsNone(), c.None);
    EXPECT_EQ(cf.Accepts(IntegerValue(5)), c.Accepts5);
    EXPECT_EQ(cf.AsText(), c.Text);
    EXPECT_EQ(cf.UsesField(FI.get()), !c.Blank);
    EXPECT_EQ(cf.AcceptsAllOfField(FI.get()), c.AcceptsAll);
    EXPECT_EQ(cf.AcceptsNoneOfField(FI.get()), c.None);
    EXPECT_TRUE(cf.AcceptsAllOfField(FI2.get()));
    EXPECT_TRUE(cf.AcceptsValue(FI2.get(), IntegerValue(5)));
  }
}

TEST_F(CriteriaFieldTest, BlankAndAllAreNotEqual) {
  TCriteriaField blank(FI.get());
  TCriteriaField all(FI.get());
  all.SetAll();
  TCriteriaField none(FI.get());
  none.SetNone();
  EXPECT_FALSE(blank.IsEqual(all));
  EXPECT_FALSE(blank.IsEqual(none));
  EXPECT_TRUE(all.IsEqual(*TCriteriaField::CreateCopy(&all)));
  auto a = IntItems({{1, 3}, {5, 5}});
  EXPECT_TRUE(a->IsEqual(*IntItems({{5, 5}, {1, 3}})));
  EXPECT_FALSE(a->IsEqual(*IntItems({{1, 3}, {5, 6}})));
  EXPECT_FALSE(a->IsEqual(*IntItems({{1, 3}, {5, 5}}, FI2.get()))) << "another data field";
  TCriteria criteria;
  criteria.SetCriteriaField(FI.get(), a.get());
  EXPECT_FALSE(a->IsEqual(criteria)) << "a criteria is not a criteria field";
}

// ---- Additions

TEST_F(CriteriaFieldTest, AddValueAndAddIntervalMerge) {
  struct Step {
    int Start, End;  // Start == End: AddValue
  };
  struct Case {
    const char* Name;
    std::vector<Step> Steps;
    const char* Items;
  };
  const Case cases[] = {
      {"values sorted, repeats ignored", {{5, 5}, {3, 3}, {5, 5}}, "[3,3] [5,5]"},
      {"interval absorbs a value", {{5, 5}, {3, 3}, {2, 4}}, "[2,4] [5,5]"},
      {"touching ends merge", {{5, 5}, {3, 3}, {2, 4}, {4, 5}}, "[2,5]"},
      {"value inside an interval adds nothing", {{2, 4}, {3, 3}}, "[2,4]"},
      {"a value at an interval's end", {{2, 4}, {4, 4}}, "[2,4]"},
      {"adjacent numbers stay apart", {{1, 2}, {3, 4}}, "[1,2] [3,4]"},
      {"same start, longer end grows and merges", {{1, 2}, {5, 6}, {8, 9}, {1, 8}}, "[1,9]"},
      {"same start, shorter end changes nothing", {{1, 5}, {1, 3}}, "[1,5]"},
      {"spanning interval swallows several",
       {{2, 2}, {4, 5}, {7, 7}, {10, 12}, {1, 8}},
       "[1,8] [10,12]"},
      {"new start inside previous item", {{1, 4}, {6, 7}, {3, 6}}, "[1,7]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TCriteriaField cf(FI.get());
    for (const Step& s : c.Steps) {
      if (s.Start == s.End) {
        cf.AddValue(IntegerValue(s.Start));
      } else {
        cf.AddInterval(IntegerValue(s.Start), IntegerValue(s.End));
      }
    }
    EXPECT_EQ(Describe(cf), c.Items);
  }
}

TEST_F(CriteriaFieldTest, AdditionsConvertClearNoneAndIgnoreAll) {
  TCriteriaField cf(FI.get());
  cf.SetNone();
  cf.AddValueText("42");
  EXPECT_EQ(Describe(cf), "[42,42]");
  EXPECT_EQ(cf.GetStartValue(0).DataType, FI->DataType()) << "converted to the field's type";
  cf.AddValue(DoubleValue(7));
  EXPECT_EQ(cf.GetStartValue(0).DataType, FI->DataType());
  EXPECT_THROW(cf.AddValueText("x"), platform::Exception);
  EXPECT_EQ(Describe(cf), "[7,7] [42,42]");

  cf.SetAll();
  cf.AddValue(IntegerValue(1));
  cf.AddInterval(IntegerValue(1), IntegerValue(2));
  EXPECT_EQ(Describe(cf), "all");
}

TEST_F(CriteriaFieldTest, RefusedAdditionsChangeNothing) {
  struct Case {
    const char* Name;
    TDataField* Field;
    int Start, End;
    const char* Message;
  };
  const Case cases[] = {
      {"interval on a field without intervals", FNoIntervals.get(), 1, 3,
       "Intervals not supported!"},
      {"reversed interval", FI.get(), 5, 3, "Illegal interval from '5' to '3'!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TCriteriaField cf(c.Field);
    cf.SetNone();
    int signals = 0;
    cf.SetOnChange([&](TCondition*) { ++signals; });
    TDataErrorCapture capture;
    EXPECT_EQ(MessageOf([&] { cf.AddInterval(IntegerValue(c.Start), IntegerValue(c.End)); }),
              c.Message);
    ASSERT_EQ(capture.Entries().size(), 1u);
    EXPECT_EQ(capture.Entries()[0].Context, "Intervals");
    EXPECT_EQ(capture.Entries()[0].Severity, platform::esFatal);
    EXPECT_TRUE(cf.IsNone()) << "the none flag is cleared only after the checks";
    EXPECT_EQ(signals, 0);
  }
  TCriteriaField single(FNoIntervals.get());
  single.AddInterval(IntegerValue(3), IntegerValue(3));
  EXPECT_EQ(Describe(single), "[3,3]") << "equal ends are a single value";
}

// ---- Item queries

TEST_F(CriteriaFieldTest, ItemQueriesAndTheirChecks) {
  auto cf = IntItems({{1, 3}, {5, 5}});
  EXPECT_TRUE(cf->IsInterval(0));
  EXPECT_FALSE(cf->IsInterval(1));
  EXPECT_EQ(ValueAsInteger(cf->GetSingleValue(1)), 5);
  EXPECT_FALSE(cf->HasExactlyOneValue());
  TValue v;
  EXPECT_FALSE(cf->HasOnlyValue(FI.get(), v));

  const struct {
    std::function<void()> Call;
    const char* Message;
  } checks[] = {
      {[&] { cf->GetIsInterval(2); },
       "TCriteriaField.GetIsInterval: (idx >= 0) and (idx < FValues.Count), idx: 2"},
      {[&] { cf->GetStartValue(-1); },
       "TCriteriaField.GetStartValue: (idx >= 0) and (idx < FValues.Count), idx: -1"},
      {[&] { cf->GetEndValue(2); },
       "TCriteriaField.GetEndValue: (idx >= 0) and (idx < FValues.Count), idx: 2"},
      {[&] { cf->GetSingleValue(5); },
       "TCriteriaField.GetSingleValue: (idx >= 0) and (idx < FValues.Count), idx: 5"},
      {[&] { cf->GetSingleValue(0); },
       "TCriteriaField.GetSingleValue: Tried to get single value from interval"},
      {[&] { cf->OnlyValue(); },
       "TCriteriaField.OnlyValue called when HasExactlyOneValue is False!"},
      {[&] { cf->GetCriteriaField(FI2.get()); },
       "Tried to perform a Criteriaoperation on CriteteriaFields of different DataFields"},
  };
  for (const auto& c : checks) {
    SCOPED_TRACE(c.Message);
    EXPECT_EQ(MessageOf(c.Call), c.Message);
  }

  auto one = IntItems({{7, 7}});
  EXPECT_TRUE(one->HasExactlyOneValue());
  EXPECT_TRUE(one->HasOnlyValue(FI.get(), v));
  EXPECT_EQ(ValueAsInteger(v), 7);
  EXPECT_FALSE(one->HasOnlyValue(FI2.get(), v));
  EXPECT_EQ(one->GetCriteriaField(FI.get()), one.get());
}

TEST_F(CriteriaFieldTest, NilArgumentsAreAssertions) {
  TCriteriaField cf(FI.get());
  const struct {
    std::function<void()> Call;
    const char* Message;
  } checks[] = {
      {[] { TCriteriaField bad(nullptr); }, "TCriteriaField.Create: Field <> nil"},
      {[] { TCriteriaField::CreateCopy(nullptr); },
       "TCriteriaField.CreateCopy: CriteriaField <> nil"},
      {[&] { TCriteriaField::CreateIntersection(nullptr, &cf, &cf); },
       "TCriteriaField.CreateIntersection: Field <> nil"},
      {[&] { TCriteriaField::CreateIntersection(FI.get(), nullptr, &cf); },
       "TCriteriaField.CreateIntersection: Src1 <> nil"},
      {[&] { TCriteriaField::CreateIntersection(FI.get(), &cf, nullptr); },
       "TCriteriaField.CreateIntersection: Src2 <> nil"},
      {[&] { cf.CopyFrom(nullptr); }, "TCriteriaField.CopyFrom: Source <> nil"},
      {[&] { cf.IntersectWith(nullptr); }, "TCriteriaField.IntersectWith: Cond <> nil"},
      {[&] { cf.UnionAddFrom(nullptr); }, "TCriteriaField.UnionAddFrom: Cond <> nil"},
  };
  for (const auto& c : checks) {
    SCOPED_TRACE(c.Message);
    EXPECT_THROW(c.Call(), platform::EAssertionFailed);
    EXPECT_EQ(MessageOf(c.Call), c.Message);
  }
}

// ---- Copy, intersection, union

TEST_F(CriteriaFieldTest, CopyFromKeepsOwnFieldAndRefusesOtherTypes) {
  auto source = IntItems({{1, 3}}, FI2.get());
  TCriteriaField target(FI.get());
  target.CopyFrom(source.get());
  EXPECT_EQ(target.Field(), FI.get());
  EXPECT_EQ(Describe(target), "[1,3]");

  TCriteriaField text(FS.get());
  text.AddValueText("a");
  TDataErrorCapture capture;
  EXPECT_EQ(MessageOf([&] { target.CopyFrom(&text); }),
            "TCriteriaField.CopyFrom: Different DataField types!");
  EXPECT_EQ(capture.Entries().at(0).Context, "CopyFrom");
  EXPECT_EQ(Describe(target), "[1,3]");
  TCriteriaField textAll(FS.get());
  textAll.SetAll();
  target.CopyFrom(&textAll);
  EXPECT_EQ(Describe(target), "all") << "states without items copy across types";
}

TEST_F(CriteriaFieldTest, Intersection) {
  using Items = std::initializer_list<std::pair<int, int>>;
  enum Kind { kItems, kBlank, kAll, kNone, kMissing };
  struct Side {
    Kind K;
    Items I;
  };
  auto make = [&](const Side& s, TCriteria& holder) -> const TNiceCondition* {
    if (s.K == kMissing) return &holder;  // a criteria without the field
    auto cf = IntItems(s.I);
    if (s.K == kAll) cf->SetAll();
    if (s.K == kNone) cf->SetNone();
    holder.SetCriteriaField(FI.get(), cf.get());
    return &holder;
  };
  struct Case {
    const char* Name;
    Side A, B;
    const char* Result;
  };
  const Case cases[] = {
      {"overlaps and a touching end",
       {kItems, {{1, 5}, {8, 9}}},
       {kItems, {{4, 8}}},
       "[4,5] [8,8]"},
      {"disjoint gives none", {kItems, {{1, 2}}}, {kItems, {{3, 4}}}, "none"},
      {"same start", {kItems, {{1, 5}}}, {kItems, {{1, 3}, {4, 9}}}, "[1,3] [4,5]"},
      {"nested", {kItems, {{1, 10}}}, {kItems, {{2, 3}, {5, 5}, {12, 14}}}, "[2,3] [5,5]"},
      {"blank side gives the other", {kBlank, {}}, {kItems, {{2, 3}}}, "[2,3]"},
      {"missing side gives the other", {kItems, {{2, 3}}}, {kMissing, {}}, "[2,3]"},
      {"all and all", {kAll, {}}, {kAll, {}}, "all"},
      {"blank and blank", {kBlank, {}}, {kBlank, {}}, "all"},
      {"missing and all", {kMissing, {}}, {kAll, {}}, "blank"},
      {"none wins", {kNone, {}}, {kItems, {{2, 3}}}, "none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TCriteria a;
    TCriteria b;
    auto result = TCriteriaField::CreateIntersection(FI.get(), make(c.A, a), make(c.B, b));
    EXPECT_EQ(result->Field(), FI.get());
    EXPECT_EQ(Describe(*result), c.Result);
    // Intersection is symmetric in the values it accepts.
    auto reverse = TCriteriaField::CreateIntersection(FI.get(), &b, &a);
    EXPECT_EQ(Describe(*reverse), c.Result);
  }
}

TEST_F(CriteriaFieldTest, IntersectWithAndUnionAddFrom) {
  auto cf = IntItems({{1, 5}, {8, 9}});
  cf->IntersectWith(IntItems({{4, 8}}).get());
  EXPECT_EQ(Describe(*cf), "[4,5] [8,8]");

  TCriteria unrelated;
  unrelated.CriteriaFields(FI2.get()).AddValue(IntegerValue(1));
  auto listed = IntItems({{1, 2}});
  listed->UnionAddFrom(&unrelated);
  EXPECT_EQ(Describe(*listed), "all") << "a criteria that does not mention the field";

  auto base = IntItems({{1, 2}});
  TCriteriaField none(FI.get());
  none.SetNone();
  base->UnionAddFrom(&none);
  EXPECT_EQ(Describe(*base), "[1,2]");
  base->UnionAddFrom(IntItems({{2, 4}, {9, 9}}, FI2.get()).get());
  EXPECT_EQ(Describe(*base), "[1,4] [9,9]") << "another field of the same type";
  TCriteriaField text(FS.get());
  text.AddValueText("a");
  EXPECT_EQ(MessageOf([&] { base->UnionAddFrom(&text); }),
            "Tried to perform a Criteriaoperation on CriteteriaFields of different DataFields");
  EXPECT_EQ(Describe(*base), "[1,4] [9,9]");

  TCriteriaField noIntervals(FNoIntervals.get());
  noIntervals.AddValue(IntegerValue(3));
  EXPECT_EQ(MessageOf([&] {
              noIntervals.UnionAddFrom(IntItems({{5, 5}, {7, 8}}).get());
            }),
            "Intervals not supported!");
  EXPECT_EQ(Describe(noIntervals), "[3,3]") << "checked before the first item is added";
}

// ---- Signals

TEST_F(CriteriaFieldTest, ChangesSignalTwiceOutsideABracketAndOnceInside) {
  auto other = IntItems({{2, 6}});
  struct Case {
    const char* Name;
    std::function<void(TCriteriaField&)> Change;
    int Signals;
  };
  const Case cases[] = {
      {"Clear", [](TCriteriaField& f) { f.Clear(); }, 2},
      {"SetAll", [](TCriteriaField& f) { f.SetAll(); }, 2},
      {"SetNone", [](TCriteriaField& f) { f.SetNone(); }, 2},
      {"AddValue", [](TCriteriaField& f) { f.AddValue(IntegerValue(1)); }, 2},
      {"AddInterval", [](TCriteriaField& f) { f.AddInterval(IntegerValue(1), IntegerValue(3)); },
       2},
      {"IntersectWith", [&](TCriteriaField& f) { f.IntersectWith(other.get()); }, 2},
      {"UnionAddFrom", [&](TCriteriaField& f) { f.UnionAddFrom(other.get()); }, 2},
      {"CopyFrom", [&](TCriteriaField& f) { f.CopyFrom(other.get()); }, 1},
      {"SetAsText", [](TCriteriaField& f) { f.SetAsText("1, 3"); }, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto cf = IntItems({{4, 4}});
    int signals = 0;
    cf->SetOnChange([&](TCondition* sender) {
      EXPECT_EQ(sender, cf.get());
      ++signals;
    });
    c.Change(*cf);
    EXPECT_EQ(signals, c.Signals);

    signals = 0;
    cf->BeginUpdate();
    c.Change(*cf);
    c.Change(*cf);
    EXPECT_EQ(signals, 0) << "nothing leaves an open bracket";
    EXPECT_EQ(cf->UpdateCount(), 1);
    cf->EndUpdate();
    EXPECT_EQ(signals, 1);
  }
}

// ---- Text

TEST_F(CriteriaFieldTest, AsTextQuotesSpecials) {
  struct Case {
    const char* Name;
    TDataField* Field;
    std::vector<std::string> Values;
    const char* Text;
  };
  const Case cases[] = {
      {"plain texts", FS.get(), {"b", "a"}, "a, b"},
      {"comma, colon, blank", FS.get(), {"a,b", "x:y", "p q"}, "'a,b', 'p q', 'x:y'"},
      {"the word All and the empty text", FS.get(), {"All", ""}, "'', 'All'"},
      {"None and parentheses", FS.get(), {"None", "f(x)"}, "'None', 'f(x)'"},
      {"a dash with intervals", FS.get(), {"a-b"}, "'a-b'"},
      {"a dash without intervals", FSNoIntervals.get(), {"a-b"}, "a-b"},
      {"negative numbers with intervals", FI.get(), {"-5", "3"}, "'-5', 3"},
      {"a control character", FS.get(), {"a\tb"}, "'a\tb'"},
      {"quotes are not escaped", FS.get(), {"it's"}, "it's"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TCriteriaField cf(c.Field);
    for (const std::string& v : c.Values) cf.AddValueText(v);
    EXPECT_EQ(cf.AsText(), c.Text);
  }
  auto intervals = IntItems({{1, 3}, {5, 5}, {-9, -7}});
  EXPECT_EQ(intervals->AsText(), "'-9'-'-7', 1-3, 5");
  auto copied = std::make_unique<TCriteriaField>(FNoIntervals.get());
  copied->CopyFrom(IntItems({{1, 3}}).get());
  EXPECT_EQ(copied->AsText(), "1") << "without intervals only the start is shown";
}

TEST_F(CriteriaFieldTest, WriteToStreamWritesNameAndValues) {
  auto cf = IntItems({{1, 3}, {5, 5}});
  std::ostringstream out;
  cf->WriteToStream(out, 4);
  EXPECT_EQ(out.str(), "TCriteriaField(CrI: 1-3, 5)");
}

TEST_F(CriteriaFieldTest, SetAsTextReadsWhatAsTextWrites) {
  struct Case {
    const char* Name;
    TDataField* Field;
    std::function<void(TCriteriaField&)> Make;
  };
  const Case cases[] = {
      {"blank", FI.get(), [](TCriteriaField&) {}},
      {"all", FI.get(), [](TCriteriaField& f) { f.SetAll(); }},
      {"none", FI.get(), [](TCriteriaField& f) { f.SetNone(); }},
      {"intervals and negatives", FI.get(),
       [](TCriteriaField& f) {
         f.AddInterval(IntegerValue(-9), IntegerValue(-7));
         f.AddInterval(IntegerValue(1), IntegerValue(3));
         f.AddValue(IntegerValue(5));
       }},
      {"doubles beyond 15 digits", FD.get(),
       [](TCriteriaField& f) {
         f.AddValue(DoubleValue(0.1 + 0.2));
         f.AddInterval(DoubleValue(1.0 / 3), DoubleValue(2.5e100));
       }},
      {"texts with specials", FS.get(),
       [](TCriteriaField& f) {
         for (const char* t : {"", "All", "None", "a,b", "x:y", "p q", "a-b", "f(x)", "-", "a)"}) {
           f.AddValueText(t);
         }
       }},
      {"text intervals", FS.get(),
       [](TCriteriaField& f) { f.AddInterval(StringValue("alpha"), StringValue("beta")); }},
      {"dash without intervals", FSNoIntervals.get(),
       [](TCriteriaField& f) {
         f.AddValueText("a-b");
         f.AddValueText("-");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TCriteriaField original(c.Field);
    c.Make(original);
    TCriteriaField read(c.Field);
    read.AddValue(IntegerValue(99));  // replaced entirely
    read.SetAsText(original.AsText());
    EXPECT_TRUE(read.IsEqual(original)) << original.AsText() << " read as " << read.AsText();
  }
}

TEST_F(CriteriaFieldTest, SetAsTextRefusesWhatAsTextCannotWrite) {
  struct Case {
    TDataField* Field;
    const char* Text;
  };
  const Case cases[] = {
      {FS.get(), "'it's'"},         // a quote inside a quoted value
      {FS.get(), "it's"},           // a raw quote
      {FS.get(), "'open"},          // no closing quote
      {FS.get(), "a b"},            // unquoted blank
      {FS.get(), "a,b"},            // no blank after the comma
      {FS.get(), "a,  b"},          // two blanks
      {FS.get(), "a, "},            // empty last item (trimmed to "a,")
      {FS.get(), "a, All"},         // the word All as an item
      {FS.get(), "x)y"},            // unquoted parenthesis
      {FS.get(), "'a'b"},           // text after a closing quote
      {FI.get(), "1-"},             // interval without end
      {FI.get(), "5-3"},            // reversed interval
      {FI.get(), "1-2-3"},          // two dashes
      {FI.get(), "x"},              // not a number
      {FI.get(), "99999999999"},    // beyond 32 bits
      {FNoIntervals.get(), "1-3"},  // not a number without intervals
      {FNoIntervals.get(), "'1'-'3'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    TCriteriaField cf(c.Field);
    cf.SetNone();
    int signals = 0;
    cf.SetOnChange([&](TCondition*) { ++signals; });
    EXPECT_THROW(cf.SetAsText(c.Text), platform::EConvertError);
    EXPECT_TRUE(cf.IsNone()) << "left unchanged";
    EXPECT_EQ(signals, 0);
  }
}

// ---- Quilt conversion, checked with the quilt classes

TEST_F(CriteriaFieldTest, AsQuiltFieldMatchesTheQuiltClasses) {
  TCriteriaField blank(FI.get());
  auto q = blank.AsQuiltField();
  EXPECT_FALSE(q->Restricted());
  EXPECT_TRUE(q->IsUniverse(nullptr));

  TCriteriaField all(FI.get());
  all.SetAll();
  q = all.AsQuiltField();
  EXPECT_TRUE(q->Restricted());
  EXPECT_TRUE(q->IsUniverse(nullptr));

  TCriteriaField none(FI.get());
  none.SetNone();
  q = none.AsQuiltField();
  EXPECT_TRUE(q->IsEmpty(nullptr));

  auto listed = IntItems({{1, 3}, {5, 5}, {8, 12}});
  q = listed->AsQuiltField();
  TQuiltField expected(FI.get());
  expected.AddInterval(MakePoint(IntegerValue(1), true), MakePoint(IntegerValue(3), true));
  expected.AddValue(IntegerValue(5));
  expected.AddInterval(MakePoint(IntegerValue(8), true), MakePoint(IntegerValue(12), true));
  EXPECT_EQ(q->FieldRelation(expected), qrEqual);
  EXPECT_TRUE(q->IsEqual(expected));
  for (int v = -1; v <= 14; ++v) {
    SCOPED_TRACE(v);
    EXPECT_EQ(q->AcceptsValue(FI.get(), IntegerValue(v)), listed->Accepts(IntegerValue(v)));
  }
  platform::TMaybeOwned<TCommonQuilt> common = listed->AsCommonQuilt();
  EXPECT_TRUE(common.MustFree());
  EXPECT_TRUE(common->IsEqual(expected));
  EXPECT_NE(QuiltCopyOf(*listed), nullptr);

  // A copied interval on a field without intervals is refused by the quilt.
  TCriteriaField copied(FNoIntervals.get());
  copied.CopyFrom(IntItems({{1, 3}}).get());
  EXPECT_THROW(copied.AsQuiltField(), platform::Exception);
}

TEST_F(CriteriaFieldTest, CopiesRetargetingAndTranslation) {
  auto cf = IntItems({{1, 3}});
  auto clone = cf->Clone();
  EXPECT_TRUE(clone->IsEqual(*cf));
  EXPECT_EQ(clone->Owner(), nullptr);
  auto retargeted = cf->CreateRetargeted(FI2.get());
  EXPECT_EQ(retargeted->Field(), FI2.get());
  EXPECT_EQ(Describe(*retargeted), "[1,3]");
  EXPECT_EQ(cf->CreateRetargeted(nullptr), nullptr);

  struct TTarget {
    TDataField* Field;
    int Calls = 0;
  } target{FI2.get()};
  auto translate = [](void* UserData, TDataField*, int& ConflictAction, bool& KeepOriginal) {
    auto* t = static_cast<TTarget*>(UserData);
    EXPECT_EQ(ConflictAction, 1);
    EXPECT_FALSE(KeepOriginal);
    ++t->Calls;
    return t->Field;
  };
  auto translated = cf->CreateFieldTranslatedCopy(translate, &target);
  EXPECT_EQ(target.Calls, 1);
  EXPECT_TRUE(translated->IsEqual(*retargeted));
  target.Field = nullptr;
  EXPECT_EQ(cf->CreateFieldTranslatedCopy(translate, &target), nullptr);

  platform::TMaybeOwned<TCriteria> asCriteria = cf->AsCriteria();
  EXPECT_TRUE(asCriteria.MustFree());
  EXPECT_TRUE(asCriteria->FindCriteriaField(FI.get())->IsEqual(*cf));
  int calls = 0;
  cf->ForEachField(
      [](void* UserData, TDataField* Field, bool AcceptsAll) {
        ++*static_cast<int*>(UserData);
        EXPECT_EQ(Field->FieldName(), "CrI");
        EXPECT_FALSE(AcceptsAll);
      },
      &calls);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace dataframework::criteriatest
