// Criteria: the map of criteria fields and its ownership, the answers of the
// condition contract, translated copies with their conflict actions, the
// conversion to quilt patches, the text form written and read back (with
// the errors of bad input), and, on real tables, rows and row storages,
// AcceptsRow, GetRows / HasRows and the derivation of restrictions through
// aux tables and their cache storages.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "dataframework/conditions/Quilt.h"
#include "dataframework/conditions/tests/CriteriaTestSupport.h"
#include "dataframework/elements/Storages.h"
#include "platform/ClassRegistry.h"
#include "platform/DataError.h"
#include "platform/Errors.h"
#include "platform/StringList.h"

namespace dataframework::criteriatest {
namespace {

using platform::TDataErrorCapture;

using CriteriaTest = CriteriaFields;

TEST_F(CriteriaTest, OwnsItsCriteriaFields) {
  auto criteria = std::make_unique<TCriteria>();
  TCriteriaField& cf = criteria->CriteriaFields(FI.get());
  EXPECT_TRUE(cf.IsBlank());
  EXPECT_EQ(cf.OwnerCriteria(), criteria.get());
  EXPECT_EQ(&criteria->CriteriaFields(FI.get()), &cf) << "found, not made again";
  criteria->CriteriaFields(FI2.get());
  EXPECT_EQ(criteria->CriteriaFieldCount(), 2);

  delete &cf;  // a criteria field destroyed from outside leaves the map
  EXPECT_EQ(criteria->FindCriteriaField(FI.get()), nullptr);
  EXPECT_EQ(criteria->CriteriaFieldCount(), 1);
  EXPECT_TRUE(criteria->DeleteCriteriaField(FI2.get()));
  EXPECT_FALSE(criteria->DeleteCriteriaField(FI2.get()));
  EXPECT_EQ(criteria->FindCriteriaField(FI.get(), false), nullptr);
  EXPECT_NE(criteria->FindCriteriaField(FI.get(), true), nullptr);

  EXPECT_EQ(MessageOf([&] { criteria->FindCriteriaField(nullptr); }),
            "TCriteria.FindCriteriaField: Field <> nil");
  TCriteriaFieldIterator none(nullptr);
  EXPECT_TRUE(none.Eof());
  EXPECT_EQ(none.CriteriaField(), nullptr);
}

TEST_F(CriteriaTest, SetCriteriaFieldCopiesAndARefusedCopyLeavesNoField) {
  TCriteria criteria;
  auto source = IntItems({{1, 3}});
  criteria.SetCriteriaField(FI.get(), source.get());
  TCriteriaField* cf = criteria.FindCriteriaField(FI.get());
  ASSERT_NE(cf, nullptr);
  EXPECT_NE(cf, source.get());
  EXPECT_TRUE(cf->IsEqual(*source));

  TCriteriaField text(FS.get());
  text.AddValueText("a");
  EXPECT_THROW(criteria.SetCriteriaField(FI2.get(), &text), platform::Exception);
  EXPECT_EQ(criteria.FindCriteriaField(FI2.get()), nullptr);
}

TEST_F(CriteriaTest, FieldQueries) {
  TCriteria c;
  c.CriteriaFields(FI.get());                    // blank
  c.CriteriaFields(FI2.get()).SetAll();          // all
  c.CriteriaFields(FD.get()).SetNone();          // none
  c.CriteriaFields(FS.get()).AddValueText("x");  // listed
  struct Case {
    TDataField* Field;
    bool Restricts, NonBlank, AcceptsAll, AcceptsNone, Uses;
  };
  const Case cases[] = {{FI.get(), false, false, true, false, false},
                        {FI2.get(), false, true, true, false, true},
                        {FD.get(), true, true, false, true, true},
                        {FS.get(), true, true, false, false, true},
                        {FNoIntervals.get(), false, false, true, false, false}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Field->FieldName());
    EXPECT_EQ(c.Restricts(k.Field), k.Restricts);
    EXPECT_EQ(c.HasNonBlankField(k.Field), k.NonBlank);
    EXPECT_EQ(c.AcceptsAllOfField(k.Field), k.AcceptsAll);
    EXPECT_EQ(c.AcceptsNoneOfField(k.Field), k.AcceptsNone);
    EXPECT_EQ(c.UsesField(k.Field), k.Uses);
  }
  EXPECT_TRUE(c.AcceptsValue(FS.get(), StringValue("x")));
  EXPECT_FALSE(c.AcceptsValue(FS.get(), StringValue("y")));
  EXPECT_TRUE(c.AcceptsValue(FNoIntervals.get(), IntegerValue(1)));
  TValue v;
  EXPECT_TRUE(c.HasOnlyValue(FS.get(), v));
  EXPECT_EQ(ValueAsString(v), "x");
  EXPECT_FALSE(c.HasOnlyValue(FD.get(), v));

  platform::TMaybeOwned<TCriteria> self = c.AsCriteria();
  EXPECT_EQ(self.get(), &c);
  EXPECT_FALSE(self.MustFree());
  EXPECT_TRUE(c.IsNice());

  std::vector<std::pair<std::string, bool>> seen;
  c.ForEachField(
      [](void* UserData, TDataField* Field, bool AcceptsAll) {
        static_cast<std::vector<std::pair<std::string, bool>>*>(UserData)->emplace_back(
            Field->FieldName(), AcceptsAll);
      },
      &seen);
  std::sort(seen.begin(), seen.end());
  const std::vector<std::pair<std::string, bool>> expected = {
      {"CrD", false}, {"CrI", true}, {"CrI2", true}, {"CrS", false}};
  EXPECT_EQ(seen, expected);
}

TEST_F(CriteriaTest, IsEqualComparesRestrictingFields) {
  auto make = [&](std::initializer_list<std::pair<TDataField*, const char*>> Fields) {
    auto c = std::make_unique<TCriteria>();
    for (auto [field, state] : Fields) {
      TCriteriaField& cf = c->CriteriaFields(field);
      const std::string s = state;
      if (s == "all") cf.SetAll();
      if (s == "none") cf.SetNone();
      if (s != "all" && s != "none" && s != "blank") cf.AddValueText(s);
    }
    return c;
  };
  struct Case {
    const char* Name;
    std::unique_ptr<TCriteria> A, B;
    bool Equal;
  };
  Case cases[] = {
      {"empty and blank fields", make({}), make({{FI.get(), "blank"}, {FD.get(), "all"}}), true},
      {"same items", make({{FI.get(), "3"}, {FD.get(), "none"}}),
       make({{FD.get(), "none"}, {FI.get(), "3"}}), true},
      {"other items", make({{FI.get(), "3"}}), make({{FI.get(), "4"}}), false},
      {"restriction against nothing", make({{FI.get(), "3"}}), make({}), false},
      {"none against blank", make({{FI.get(), "none"}}), make({{FI.get(), "blank"}}), false},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.A->IsEqual(*c.B), c.Equal);
    EXPECT_EQ(c.B->IsEqual(*c.A), c.Equal);
    EXPECT_TRUE(c.A->Clone()->IsEqual(*c.A));
  }
  TCriteriaField cf(FI.get());
  EXPECT_FALSE(make({})->IsEqual(cf));
}

TEST_F(CriteriaTest, CloneIsIndependent) {
  TCriteria c;
  c.CriteriaFields(FI.get()).AddValue(IntegerValue(1));
  std::unique_ptr<TCondition> copy = c.Clone();
  c.CriteriaFields(FI.get()).AddValue(IntegerValue(2));
  auto* copied = dynamic_cast<TCriteria*>(copy.get());
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(Describe(*copied->FindCriteriaField(FI.get())), "[1,1]");
  EXPECT_EQ(copied->FindCriteriaField(FI.get())->OwnerCriteria(), copied);
  EXPECT_EQ(copy->Owner(), nullptr);
}

// ---- Translated copies

struct TTranslation {
  TDataField* From1;
  TDataField* From2;
  TDataField* To;
  int Action;
  bool Keep;
};

TDataField* Translate(void* UserData, TDataField* Field, int& ConflictAction, bool& KeepOriginal) {
  const auto* t = static_cast<const TTranslation*>(UserData);
  EXPECT_EQ(ConflictAction, 1);
  EXPECT_FALSE(KeepOriginal);
  ConflictAction = t->Action;
  KeepOriginal = t->Keep;
  if (Field == t->From1 || Field == t->From2) return t->To;
  return nullptr;
}

TEST_F(CriteriaTest, TranslatedCopyConflictActions) {
  TCriteria c;
  c.CriteriaFields(FI.get()).AddInterval(IntegerValue(1), IntegerValue(5));
  c.CriteriaFields(FI2.get()).AddInterval(IntegerValue(4), IntegerValue(9));
  c.CriteriaFields(FD.get()).AddValue(DoubleValue(1));  // dropped: translated to none

  auto translated = [&](int Action, bool Keep) {
    TTranslation t{FI.get(), FI2.get(), FI2.get(), Action, Keep};
    std::unique_ptr<TCondition> copy = c.CreateFieldTranslatedCopy(&Translate, &t);
    return std::unique_ptr<TCriteria>(static_cast<TCriteria*>(copy.release()));
  };
  auto unite = translated(2, false);
  EXPECT_EQ(Describe(*unite->FindCriteriaField(FI2.get())), "[1,9]");
  EXPECT_EQ(unite->FindCriteriaField(FI.get()), nullptr);
  EXPECT_EQ(unite->FindCriteriaField(FD.get()), nullptr);
  auto intersect = translated(3, false);
  EXPECT_EQ(Describe(*intersect->FindCriteriaField(FI2.get())), "[4,5]");

  // Keep and replace depend on which field the map yields first; they give
  // the two different sources.
  const std::string keep = Describe(*translated(0, false)->FindCriteriaField(FI2.get()));
  const std::string replace = Describe(*translated(1, false)->FindCriteriaField(FI2.get()));
  EXPECT_NE(keep, replace);
  EXPECT_TRUE(keep == "[1,5]" || keep == "[4,9]") << keep;
  EXPECT_TRUE(replace == "[1,5]" || replace == "[4,9]") << replace;

  auto kept = translated(2, true);
  EXPECT_EQ(Describe(*kept->FindCriteriaField(FI.get())), "[1,5]");
  EXPECT_EQ(Describe(*kept->FindCriteriaField(FI2.get())), "[1,9]");

  EXPECT_EQ(MessageOf([&] { translated(7, false); }),
            "TCriteria.CreateFieldTranslatedCopy: Unknown ConflictAction!");
}

// ---- Quilt conversion, checked with the quilt classes

TEST_F(CriteriaTest, AsQuiltPatchMatchesAHandMadePatch) {
  TCriteria c;
  c.CriteriaFields(FI.get()).AddInterval(IntegerValue(1), IntegerValue(5));
  c.CriteriaFields(FI.get()).AddValue(IntegerValue(9));
  c.CriteriaFields(FD.get()).SetNone();
  c.CriteriaFields(FS.get());  // blank: no restriction
  std::unique_ptr<TQuiltPatch> patch = c.AsQuiltPatch();

  TQuiltPatch expected;
  TQuiltField* qi = expected.FieldFor(FI.get(), true);
  qi->AddInterval(MakePoint(IntegerValue(1), true), MakePoint(IntegerValue(5), true));
  qi->AddValue(IntegerValue(9));
  expected.FieldFor(FD.get(), true)->SetNone();
  EXPECT_EQ(patch->Relation(expected, nullptr), qrEqual);
  EXPECT_TRUE(patch->IsEmpty(nullptr)) << "a none field empties the patch";

  c.DeleteCriteriaField(FD.get());
  patch = c.AsQuiltPatch();
  expected.DeleteField(FD.get());
  EXPECT_EQ(patch->Relation(expected, nullptr), qrEqual);
  for (int v = 0; v <= 10; ++v) {
    EXPECT_EQ(patch->AcceptsValue(FI.get(), IntegerValue(v)),
              c.AcceptsValue(FI.get(), IntegerValue(v)));
  }
  std::unique_ptr<TCommonQuilt> copy = QuiltCopyOf(c);
  EXPECT_TRUE(copy->IsEqual(expected));
  platform::TMaybeOwned<TCommonQuilt> common = c.AsCommonQuilt();
  EXPECT_TRUE(common.MustFree());
}

// ---- Text form

std::string Written(const TCondition& Condition, int Indent = 0) {
  std::ostringstream out;
  Condition.WriteToStream(out, Indent);
  return out.str();
}

// Reads one condition the way any reader does: header, class, reader.
std::unique_ptr<TCondition> ReadCondition(std::istream& In) {
  const TConditionClass* cls = nullptr;
  if (!TCondition::ReadHeader(In, cls) || cls == nullptr) return nullptr;
  return cls->CreateFromStream(In);
}

std::unique_ptr<TCondition> ReadText(const std::string& Text) {
  std::istringstream in(Text);
  return ReadCondition(in);
}

TEST_F(CriteriaTest, WritesItsTextForm) {
  TCriteria one;
  one.CriteriaFields(FI.get()).AddInterval(IntegerValue(1), IntegerValue(3));
  one.CriteriaFields(FI.get()).AddValue(IntegerValue(5));
  EXPECT_EQ(Written(one), "TCriteria(TCriteriaField(CrI: 1-3, 5))");

  TCriteria two;
  two.CriteriaFields(FI.get()).SetAll();
  two.CriteriaFields(FS.get()).AddValueText("a b");
  const std::string text = Written(two, 3);
  const std::string first = "TCriteriaField(CrI: All)";
  const std::string second = "TCriteriaField(CrS: 'a b')";
  const std::string gap = "\r\n" + std::string(3 + 9 + 1, ' ');
  EXPECT_TRUE(text == "TCriteria(" + first + gap + second + ")" ||
              text == "TCriteria(" + second + gap + first + ")")
      << text;
  EXPECT_EQ(Written(TCriteria()), "TCriteria()");
}

TEST_F(CriteriaTest, ReadsBackWhatItWrites) {
  TCriteria c;
  c.CriteriaFields(FI.get()).AddInterval(IntegerValue(-4), IntegerValue(3));
  c.CriteriaFields(FD.get()).SetNone();
  c.CriteriaFields(FS.get()).AddValueText("x) y");
  c.CriteriaFields(FI2.get());  // blank
  c.CriteriaFields(FNoIntervals.get()).SetAll();

  std::stringstream stream;
  c.WriteToStream(stream, 0);
  c.WriteToStream(stream, 0);  // two in a row: each read stops at its own end
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    std::unique_ptr<TCondition> read = ReadCondition(stream);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ClassName(), "TCriteria");
    EXPECT_TRUE(read->IsEqual(c)) << Written(*read);
  }
  std::istringstream again(Written(c).substr(std::string("TCriteria(").size()));
  EXPECT_TRUE(c.CreateFromStream(again)->IsEqual(c)) << "the virtual reader";

  std::unique_ptr<TCondition> field = ReadText("TCriteriaField(CrI: 2, 7-9)");
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(Describe(dynamic_cast<TCriteriaField&>(*field)), "[2,2] [7,9]");
  EXPECT_TRUE(ReadText("TCriteria( )")->IsEqual(TCriteria()));
}

TEST_F(CriteriaTest, BadTextFormIsRefused) {
  enum Outcome { kInvalid, kClassNotFound, kNoField };
  struct Case {
    const char* Text;
    Outcome Expected;
  };
  const Case cases[] = {
      {"TCriteria(TCriteria())", kInvalid},
      {"TCriteria(TCriteriaField(CrI 1))", kInvalid},
      {"TCriteria(TCriteriaField(CrI: 1)", kInvalid},
      {"TCriteria(TCriteriaField(CrI: 1) junk)", kInvalid},
      {"TCriteria(TCriteriaField(CrI: 1)TCriteriaField(CrI: 2))", kInvalid},
      {"TCriteria(TCriteriaField(CrI: x))", kInvalid},
      {"TCriteria(TCriteriaField(CrNI: 1-2))", kInvalid},
      {"TCriteria(TCriteriaField(CrS: 'it's'))", kInvalid},
      {"TCriteria(TCriteriaField(CrS: it's)\r\n TCriteriaField(CrI: 'x y'))", kInvalid},
      {"TCriteria(TCriteriaField(CrS: a)b))", kInvalid},
      {"TCriteria(TCriteriaField(CrS: a\r\nb))", kInvalid},
      {"TCriteria(", kInvalid},
      {"TCriteria(Nonsense(", kClassNotFound},
      {"TCriteria(TCriteriaField(NoSuchField: 1))", kNoField},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    const std::string message = MessageOf([&] { ReadText(c.Text); });
    switch (c.Expected) {
      case kInvalid:
        EXPECT_EQ(message, "Invalid stream format!");
        break;
      case kClassNotFound:
        EXPECT_THROW(ReadText(c.Text), platform::EClassNotFound);
        break;
      case kNoField:
        EXPECT_EQ(message, "TCriteriaField.Create: Field <> nil");
        EXPECT_THROW(ReadText(c.Text), platform::EAssertionFailed);
        break;
    }
  }
}

// ---- Rows and storages

class CriteriaStorageTest : public CriteriaFields {
 protected:
  std::unique_ptr<TKeyField> K1 = TKeyField::CreateSimpleKey("CrK1", IntegerType());
  std::unique_ptr<TKeyField> K2 = TKeyField::CreateSimpleKey("CrK2", StringType(10, true));
  std::unique_ptr<TDataField> V = TDataField::CreateField("CrV", DoubleType());
  std::unique_ptr<TDataTable> Table =
      TDataTable::CreateTable("CrT", nullptr, {K1.get(), K2.get()}, {V.get()}, nullptr);
  std::unique_ptr<TRowStorage> Storage = std::make_unique<TRowStorage>(Table.get());

  void SetUp() override {
    int n = 0;
    for (int k1 = 1; k1 <= 4; ++k1) {
      for (const char* k2 : {"a", "b", "c"}) {
        std::unique_ptr<TDataRow> row = Storage->CreateRow();
        row->SetFieldValue(K1.get(), IntegerValue(k1));
        row->SetFieldValue(K2.get(), StringValue(k2));
        row->SetFieldValue(V.get(), DoubleValue(n++ * 2.5));
        ASSERT_EQ(Storage->PutNewRow(row, paRefuse), prOk);
      }
    }
  }
  void TearDown() override {
    Storage.reset();
    Table.reset();
  }

  std::vector<TAbstractRow*> Rows(const TCondition* Condition) {
    platform::TStringList list;
    Storage->GetRows(&list, Condition, gmRows);
    std::vector<TAbstractRow*> rows;
    for (int i = 0; i < list.Count(); ++i)
      rows.push_back(static_cast<TAbstractRow*>(list.GetObject(i)));
    return rows;
  }
};

TEST_F(CriteriaStorageTest, GetRowsAndHasRowsAgreeWithAcceptsRow) {
  struct Case {
    const char* Name;
    std::function<std::unique_ptr<TNiceCondition>()> Make;
    size_t Count;
  };
  auto criteria = [](std::function<void(TCriteria&)> Fill) {
    return [Fill]() -> std::unique_ptr<TNiceCondition> {
      auto c = std::make_unique<TCriteria>();
      Fill(*c);
      return c;
    };
  };
  const Case cases[] = {
      {"empty criteria", criteria([](TCriteria&) {}), 12},
      {"one first-level key",
       criteria([&](TCriteria& c) { c.CriteriaFields(K1.get()).AddValue(IntegerValue(2)); }), 3},
      {"interval and single last-level key", criteria([&](TCriteria& c) {
         c.CriteriaFields(K1.get()).AddInterval(IntegerValue(2), IntegerValue(3));
         c.CriteriaFields(K2.get()).AddValueText("b");
       }),
       2},
      {"non-key field needs the row test", criteria([&](TCriteria& c) {
         c.CriteriaFields(V.get()).AddInterval(DoubleValue(5), DoubleValue(15));
       }),
       5},
      {"single key and non-key", criteria([&](TCriteria& c) {
         c.CriteriaFields(K1.get()).AddValue(IntegerValue(3));
         c.CriteriaFields(V.get()).AddInterval(DoubleValue(16), DoubleValue(20));
       }),
       2},
      {"absent key value",
       criteria([&](TCriteria& c) { c.CriteriaFields(K1.get()).AddValue(IntegerValue(9)); }), 0},
      {"none field", criteria([&](TCriteria& c) { c.CriteriaFields(K2.get()).SetNone(); }), 0},
      {"criteria field alone",
       [&]() -> std::unique_ptr<TNiceCondition> {
         auto cf = std::make_unique<TCriteriaField>(K2.get());
         cf->AddValueText("c");
         return cf;
       },
       4},
      {"single criteria field of the first key",
       [&]() -> std::unique_ptr<TNiceCondition> {
         auto cf = std::make_unique<TCriteriaField>(K1.get());
         cf->AddValue(IntegerValue(4));
         return cf;
       },
       3},
  };
  const std::vector<TAbstractRow*> all = Rows(nullptr);
  ASSERT_EQ(all.size(), 12u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TNiceCondition> condition = c.Make();
    std::vector<TAbstractRow*> expected;
    for (TAbstractRow* row : all) {
      if (condition->AcceptsRow(row, nullptr)) expected.push_back(row);
    }
    EXPECT_EQ(expected.size(), c.Count);
    EXPECT_EQ(Rows(condition.get()), expected) << "same rows in key order";
    EXPECT_EQ(Storage->HasRows(condition.get()), !expected.empty());
  }
}

TEST_F(CriteriaStorageTest, AcceptsRowOnDataAndSubtotalRows) {
  TSubTotalRow* root = Storage->Root();
  ASSERT_EQ(root->ChildCount(), 4);
  auto* level1 = dynamic_cast<TSubTotalRow*>(root->Child(1));  // K1 = 2
  ASSERT_NE(level1, nullptr);
  TAbstractRow* row = Rows(nullptr).at(4);  // K1 = 2, K2 = b

  TCriteria keyAndText;
  keyAndText.CriteriaFields(K1.get()).AddValue(IntegerValue(2));
  keyAndText.CriteriaFields(K2.get()).AddValueText("zz");
  EXPECT_TRUE(keyAndText.AcceptsRow(level1, nullptr)) << "K2 has no value at level 1";
  EXPECT_FALSE(keyAndText.AcceptsRow(row, nullptr));
  TCriteria otherKey;
  otherKey.CriteriaFields(K1.get()).AddValue(IntegerValue(3));
  EXPECT_FALSE(otherKey.AcceptsRow(level1, nullptr));

  TCriteriaField k2(K2.get());
  k2.AddValueText("zz");
  EXPECT_TRUE(k2.AcceptsRow(level1, nullptr));
  EXPECT_FALSE(k2.AcceptsRow(row, nullptr));
  k2.SetAll();
  EXPECT_TRUE(k2.AcceptsRow(row, nullptr));
  k2.SetNone();
  EXPECT_FALSE(k2.AcceptsRow(row, nullptr));

  TDataFieldSet onlyK1;
  onlyK1.Add(K1.get());
  EXPECT_TRUE(k2.AcceptsRowLenient(row, &onlyK1)) << "outside the field set";
  EXPECT_FALSE(k2.AcceptsRowLenient(row, nullptr));
  EXPECT_FALSE(keyAndText.AcceptsRowLenient(row, nullptr));
  EXPECT_EQ(MessageOf([&] { keyAndText.AcceptsRowLenient(nullptr, nullptr); }),
            "TCriteria.AcceptsRow: ARow <> nil");

  EXPECT_TRUE(keyAndText.UsesTable(Table.get()));
  EXPECT_FALSE(keyAndText.AcceptsAllOfTable(Table.get()));
  EXPECT_FALSE(keyAndText.AcceptsNoneOfTable(Table.get()));
  TCriteria noneOfV;
  noneOfV.CriteriaFields(V.get()).SetNone();
  EXPECT_TRUE(noneOfV.AcceptsNoneOfTable(Table.get()));
  TCriteria elsewhere;
  elsewhere.CriteriaFields(FI.get()).SetNone();
  EXPECT_FALSE(elsewhere.UsesTable(Table.get()));
  EXPECT_TRUE(elsewhere.AcceptsAllOfTable(Table.get()));
  EXPECT_FALSE(elsewhere.AcceptsNoneOfTable(Table.get()));
}

// Derivation through an aux table: cities (keys country and city, a
// population) held in the aux table's cache storage.
class CriteriaDerivationTest : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> Country =
      TKeyField::CreateSimpleKey("CrCountry", StringType(10, true));
  std::unique_ptr<TKeyField> City = TKeyField::CreateSimpleKey("CrCity", StringType(10, true));
  std::unique_ptr<TDataField> Pop = TDataField::CreateField("CrPop", IntegerType());
  std::unique_ptr<TKeyField> Order = TKeyField::CreateSimpleKey("CrOrder", IntegerType());
  std::unique_ptr<TDataTable> Cities = TDataTable::CreateTable(
      "CrCities", nullptr, {Country.get(), City.get()}, {Pop.get()}, nullptr);
  std::unique_ptr<TDataTable> Orders =
      TDataTable::CreateTable("CrOrders", nullptr, {Order.get()}, {City.get()}, nullptr);
  TDataErrorCapture Warnings;  // the lookup of Country warns (no derived field decides it)

  void SetUp() override {
    Country->SetAuxTable(Cities.get());
    City->SetAuxTable(Cities.get());
    Country->SetHomeTable(Cities.get());  // its lookup field is City
    const struct {
      const char *Country, *City;
      int Pop;
    } rows[] = {{"DE", "Berlin", 3},
                {"DE", "Munich", 1},
                {"FR", "Paris", 2},
                {"FR", "Lyon", 1},
                {"IT", "Rome", 3}};
    TRowStorage* cache = Cities->CacheStorage();
    for (const auto& r : rows) {
      std::unique_ptr<TDataRow> row = cache->CreateRow();
      row->SetFieldValue(Country.get(), StringValue(r.Country));
      row->SetFieldValue(City.get(), StringValue(r.City));
      row->SetFieldValue(Pop.get(), IntegerValue(r.Pop));
      ASSERT_EQ(cache->PutNewRow(row, paRefuse), prOk);
    }
  }
  void TearDown() override {
    Country->SetAuxTable(nullptr);
    City->SetAuxTable(nullptr);
    Country->SetHomeTable(nullptr);
    Orders.reset();
    Cities.reset();
  }

  std::unique_ptr<TCriteriaField> Texts(TDataField* Field,
                                        std::initializer_list<const char*> Values) {
    auto cf = std::make_unique<TCriteriaField>(Field);
    for (const char* v : Values) cf->AddValueText(v);
    return cf;
  }
  static std::string TextsOf(const TCriteriaField& CF) {
    std::string text;
    for (int i = 0; i < CF.Count(); ++i)
      text += (i ? " " : "") + ValueAsString(CF.GetStartValue(i));
    return CF.IsNone() ? "none" : CF.IsBlank() ? "blank" : text;
  }
};

TEST_F(CriteriaDerivationTest, CreateDerivedThroughTheCacheStorage) {
  auto de = Texts(Country.get(), {"DE"});
  EXPECT_EQ(TextsOf(*TCriteriaField::CreateDerived(City.get(), nullptr, de.get())),
            "Berlin Munich");

  TCriteria context;
  context.SetCriteriaField(City.get(), Texts(City.get(), {"Berlin", "Paris", "Rome"}).get());
  EXPECT_EQ(TextsOf(*TCriteriaField::CreateDerived(City.get(), &context, de.get())), "Berlin")
      << "the context restricts the aux table's other keys";

  auto nowhere = Texts(Country.get(), {"ES"});
  EXPECT_EQ(TextsOf(*TCriteriaField::CreateDerived(City.get(), nullptr, nowhere.get())), "none");
  EXPECT_EQ(TextsOf(*TCriteriaField::CreateDerived(Pop.get(), nullptr, de.get())), "blank")
      << "only key fields are derived";
  EXPECT_TRUE(TCriteriaField::CreateDerived(Country.get(), nullptr, de.get())->IsEqual(*de));
}

TEST_F(CriteriaDerivationTest, CreateForTableField) {
  TCriteria byPop;
  byPop.CriteriaFields(Pop.get()).AddValue(IntegerValue(1));
  EXPECT_EQ(TextsOf(*TCriteriaField::CreateForTableField(City.get(), true, &byPop)), "Lyon Munich")
      << "a restricted dependent field: the key's rows";
  EXPECT_EQ(TextsOf(*TCriteriaField::CreateForTableField(Pop.get(), true, &byPop)), "1");

  TCriteria byCity;
  byCity.SetCriteriaField(City.get(), Texts(City.get(), {"Rome"}).get());
  EXPECT_EQ(TextsOf(*TCriteriaField::CreateForTableField(City.get(), true, &byCity)), "Rome");

  TCriteria byCountry;
  byCountry.SetCriteriaField(Country.get(), Texts(Country.get(), {"DE"}).get());
  EXPECT_EQ(TextsOf(*TCriteriaField::CreateForTableField(City.get(), false, &byCountry)),
            "Berlin Munich")
      << "merged along the lookup chain of Country";
  auto fr = Texts(Country.get(), {"FR"});
  EXPECT_EQ(TextsOf(*TCriteriaField::CreateForTableField(City.get(), true, fr.get())),
            "Lyon Paris");
}

TEST_F(CriteriaDerivationTest, MergeFieldFromTableAndAddToCriteria) {
  TCriteria target;
  auto de = Texts(Country.get(), {"DE"});
  target.MergeFieldFromTable(Orders.get(), true, de.get(), nullptr);
  ASSERT_NE(target.FindCriteriaField(City.get()), nullptr) << "resolved to the table's City";
  EXPECT_EQ(TextsOf(*target.FindCriteriaField(City.get())), "Berlin Munich");

  target.MergeFieldFromTable(Orders.get(), true, Texts(Country.get(), {"DE", "FR"}).get(), nullptr);
  EXPECT_EQ(TextsOf(*target.FindCriteriaField(City.get())), "Berlin Munich");
  target.MergeFieldFromTable(Orders.get(), false, Texts(Country.get(), {"IT"}).get(), nullptr);
  EXPECT_EQ(TextsOf(*target.FindCriteriaField(City.get())), "Berlin Munich Rome");

  // A source that does not restrict the field: the field itself is stored.
  TCriteria other;
  TCriteria unrelated;
  other.MergeFieldFromTable(Orders.get(), true, de.get(), &unrelated);
  EXPECT_EQ(other.FindCriteriaField(City.get()), nullptr);
  ASSERT_NE(other.FindCriteriaField(Country.get()), nullptr);
  EXPECT_EQ(TextsOf(*other.FindCriteriaField(Country.get())), "DE");

  TCriteria byCountry;
  byCountry.SetCriteriaField(Country.get(), de.get());
  TCriteria united;
  byCountry.AddToCriteria(united, Orders.get(), false);
  EXPECT_EQ(TextsOf(*united.FindCriteriaField(City.get())), "Berlin Munich");
  TCriteria fromField;
  de->AddToCriteria(fromField, Orders.get(), true);
  EXPECT_EQ(TextsOf(*fromField.FindCriteriaField(City.get())), "Berlin Munich");

  TCriteria byPop;
  byPop.CriteriaFields(Pop.get()).AddValue(IntegerValue(3));
  TCriteria intersected;
  byPop.AddToCriteria(intersected, Orders.get(), true);
  EXPECT_EQ(TextsOf(*intersected.FindCriteriaField(City.get())), "Berlin Rome");
  EXPECT_EQ(intersected.FindCriteriaField(Order.get()), nullptr) << "blank results are not stored";

  TCriteria self;
  self.SetCriteriaField(Country.get(), de.get());
  self.AddToCriteria(self, Orders.get(), false);
  EXPECT_EQ(TextsOf(*self.FindCriteriaField(City.get())), "Berlin Munich");
}

}  // namespace
}  // namespace dataframework::criteriatest
