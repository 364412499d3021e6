// Data fields and key fields: defaults, constructors, names and the field
// registry, captions, parent keys, display values, refills, published
// properties and the errors of the plain field.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/conditions/Quilt.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/DataError.h"
#include "platform/Errors.h"
#include "platform/PropInfo.h"
#include "testsupport/MessageOf.h"

namespace dataframework {
namespace {

using platform::TDataErrorCapture;
using testsupport::MessageOf;

TEST(SingletonTest, FrameworkObjectsCarryNoComponentNameAndNoPlacement) {
  platform::TComponent owner(nullptr);
  auto* field = new TDataField(&owner);  // freed by its owner
  EXPECT_EQ(field->Owner(), &owner);
  EXPECT_EQ(field->DesignLeft(), 32767);
  EXPECT_EQ(field->DesignTop(), 32767);
  EXPECT_EQ(field->DesignInfo(), 0x7FFF7FFF);
  EXPECT_FALSE(field->HasParent());
  EXPECT_EQ(field->GetParentComponent(), nullptr);
  field->SetParentComponent(&owner);
  EXPECT_EQ(field->GetParentComponent(), nullptr);
  field->SetName("Something");
  EXPECT_EQ(field->Name(), "");
  platform::SetStrProp(*field, "Name", "Other");
  EXPECT_EQ(field->Name(), "");
  EXPECT_EQ(field->DisplayNames().DefaultText(), "");
  EXPECT_EQ(field->UnitName(), "DataElements");
}

TEST(SingletonTest, DisplayNamesFollowTheProcessLanguage) {
  auto field = TDataField::CreateField("LangField", IntegerType());
  field->DisplayNames().SetTexts({"uno", "one"});
  EXPECT_EQ(field->DisplayName(), "uno");
  platform::SetCurrentLanguageIndex(1);
  EXPECT_EQ(field->DisplayName(), "one");
  platform::SetCurrentLanguageIndex(5);  // a missing language reads entry 0
  EXPECT_EQ(field->DisplayName(), "uno");
  platform::SetCurrentLanguageIndex(0);
}

TEST(DataFieldTest, NewFieldDefaults) {
  TDataField field(nullptr);
  EXPECT_EQ(field.FieldName(), "");
  EXPECT_EQ(field.DataType(), StringType(30, true));
  EXPECT_EQ(field.DefaultValue().DataType, StringType(30, true));
  EXPECT_EQ(ValueAsString(field.DefaultValue()), "");
  EXPECT_EQ(field.SortField(), &field);
  EXPECT_EQ(field.Origin(), &field);
  EXPECT_EQ(field.LookupKey(), &field);
  EXPECT_FALSE(field.IsAggregable());
  EXPECT_EQ(field.DisplayWidth(), -1);
  EXPECT_EQ(field.RefillType(), rtDependentChange);
  EXPECT_EQ(field.DisplayValues(), dvKeyOnly);
  EXPECT_EQ(field.SortOrder(), soAscending);
  EXPECT_TRUE(field.CanGenerateCondSQL());
  EXPECT_TRUE(field.CanGenerateValueSQL());
  EXPECT_FALSE(field.HasCombo() || field.AllowSelections() || field.IsReportable());
  EXPECT_FALSE(field.DefaultReadOnly() || field.DisableIntervals() || field.IsRunningNumber());
  EXPECT_TRUE(field.Intervals());
  EXPECT_FALSE(field.HasCustomValues());
  EXPECT_EQ(field.HomeTable(), nullptr);
  EXPECT_EQ(field.AuxTable(), nullptr);
  EXPECT_EQ(field.ParentKey(), nullptr);
  EXPECT_EQ(field.DerivedKey(), nullptr);
  EXPECT_EQ(field.Criteria(), nullptr);
  EXPECT_TRUE(field.Tables().IsEmpty());
  EXPECT_EQ(field.CurrentTextField(), nullptr);
  EXPECT_TRUE(field.IsStored());
  EXPECT_FALSE(field.IsReadOnly(nullptr));
}

TEST(DataFieldTest, CreateFieldTakesNameAndTypeSettings) {
  struct Case {
    const char* Name;
    const TDataType* Type;
  };
  const Case cases[] = {{"CfInt", IntegerType()},
                        {"CfDouble", DoubleType()},
                        {"CfText", StringType(12, false)},
                        {"CfPercent", PercentType()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto field = TDataField::CreateField(c.Name, c.Type);
    EXPECT_EQ(field->FieldName(), c.Name);
    EXPECT_EQ(field->DataType(), c.Type);
    EXPECT_EQ(field->DefaultValue().DataType, c.Type);
    EXPECT_EQ(field->IsAggregable(), c.Type->IsAggregable());
    EXPECT_EQ(field->DisplayWidth(), c.Type->DisplayWidth());
    EXPECT_EQ(field->Captions().DefaultText(), c.Name);
    EXPECT_EQ(field->Headings().DefaultText(), c.Name);
    EXPECT_EQ(field->DisplayNames().DefaultText(), c.Name);
    EXPECT_EQ(field->CaptionText(), c.Name);
    EXPECT_EQ(FindFieldByName(c.Name), field.get());
  }
  EXPECT_THROW(TDataField::CreateField("NoType", nullptr), platform::EAssertionFailed);
  EXPECT_EQ(FindFieldByName("NoType"), nullptr);
}

TEST(KeyFieldTest, CreateKeyWidthsAndFlags) {
  struct Case {
    const TDataType* Type;
    int Width;
    int Expected;
  };
  const Case cases[] = {{IntegerType(), -1, 29},
                        {IntegerType(), 10, 10},
                        {StringType(10, true), -1, StringType(10, true)->DataSize() + 25},
                        {DoubleType(), 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Type->TypeName() + " width " + std::to_string(c.Width));
    auto key = TKeyField::CreateKey("", c.Type, {}, dvKeyAndText, false, c.Width, nullptr);
    EXPECT_EQ(key->DisplayWidth(), c.Expected);
    EXPECT_FALSE(key->IsAggregable());  // even for an aggregable type
    EXPECT_FALSE(key->HasCombo());
    EXPECT_TRUE(key->AllowSelections());
    EXPECT_TRUE(key->IsReportable());
    EXPECT_EQ(key->DisplayValues(), dvKeyAndText);
  }

  auto simple = TKeyField::CreateSimpleKey("SimpleKey", DoubleType());
  EXPECT_EQ(simple->DisplayWidth(), 8 + 25);
  EXPECT_FALSE(simple->HasCombo());
  EXPECT_EQ(simple->DisplayValues(), dvKeyOnly);
  EXPECT_EQ(simple->TextFields().Count(), 1);
  EXPECT_EQ(simple->TextFields().Field(0), nullptr);
  EXPECT_EQ(simple->AltTextFields().Count(), 1);
  EXPECT_EQ(simple->CurrentTextField(), nullptr);
  EXPECT_EQ(FindFieldByName("SimpleKey"), simple.get());

  TKeyField plain(nullptr);
  EXPECT_TRUE(plain.HasCombo());
  EXPECT_TRUE(plain.AllowSelections());
  EXPECT_TRUE(plain.IsReportable());
  EXPECT_FALSE(plain.IsAggregable());
  EXPECT_EQ(plain.DisplayWidth(), -1);
}

TEST(DataFieldTest, RenamingMovesDefaultTextsThatFollowedTheName) {
  auto field = TDataField::CreateField("OldName", IntegerType());
  field->Headings().SetDefaultText("Own heading");
  field->SetFieldName("NewName");
  EXPECT_EQ(field->FieldName(), "NewName");
  EXPECT_EQ(field->Captions().DefaultText(), "NewName");
  EXPECT_EQ(field->DisplayNames().DefaultText(), "NewName");
  EXPECT_EQ(field->Headings().DefaultText(), "Own heading");
  EXPECT_EQ(FindFieldByName("OldName"), nullptr);
  EXPECT_EQ(FindFieldByName("NewName"), field.get());

  field->SetFieldName("");
  EXPECT_EQ(FindFieldByName("NewName"), nullptr);
  EXPECT_EQ(field->Captions().DefaultText(), "");

  // A field that never had a name gets one (and its texts) later.
  TDataField late(nullptr);
  late.SetFieldName("LateName");
  EXPECT_EQ(late.Captions().DefaultText(), "LateName");
  EXPECT_EQ(FindFieldByName("LateName"), &late);
}

TEST(DataFieldTest, CaptionsAndHeadingsAreSetTogetherOrApart) {
  auto field = TDataField::CreateField("CaptionField", IntegerType());
  field->SetCaptions({"Caption", "Leyenda"});
  EXPECT_EQ(field->Captions().Texts(), (std::vector<std::string>{"Caption", "Leyenda"}));
  EXPECT_EQ(field->Headings().Texts(), (std::vector<std::string>{"Caption", "Leyenda"}));
  field->SetCaptions({"C"}, {"H1", "H2"});
  EXPECT_EQ(field->CaptionText(), "C");
  EXPECT_EQ(field->HeadingText(), "H1");
  EXPECT_EQ(field->Headings().Count(), 2);
}

TEST(FieldRegistryTest, DuplicateNamesWarnAndTheFirstFieldKeepsTheName) {
  TDataErrorCapture capture;
  auto first = TDataField::CreateField("DupName", IntegerType());
  auto second = TDataField::CreateField("DupName", IntegerType());
  ASSERT_EQ(capture.Warnings().size(), 1u);
  EXPECT_EQ(capture.Warnings()[0].Context, "Duplicates");
  EXPECT_EQ(capture.Warnings()[0].Message, "Duplicate fields: DupName");
  EXPECT_EQ(second->FieldName(), "DupName");
  EXPECT_EQ(FindFieldByName("DupName"), first.get());

  // The refused field leaving the name must not take the first one's entry.
  second->SetFieldName("DupOther");
  EXPECT_EQ(FindFieldByName("DupName"), first.get());
  EXPECT_EQ(FindFieldByName("DupOther"), second.get());
  second->SetFieldName("DupName");
  EXPECT_EQ(capture.Warnings().size(), 2u);

  first.reset();
  EXPECT_EQ(FindFieldByName("DupName"), nullptr);
  second.reset();
  EXPECT_EQ(FindFieldByName("DupOther"), nullptr);
}

TEST(FieldRegistryTest, RegistryIsSortedAndExact) {
  auto b = TDataField::CreateField("RegB", IntegerType());
  auto a = TDataField::CreateField("RegA", IntegerType());
  auto lower = TDataField::CreateField("rega", IntegerType());
  EXPECT_EQ(FindFieldByName("RegA"), a.get());
  EXPECT_EQ(FindFieldByName("rega"), lower.get());  // names are case-sensitive
  EXPECT_EQ(FindFieldByName("Reg"), nullptr);
  EXPECT_EQ(FindFieldByName(""), nullptr);
  TFieldRegistry& registry = FieldRegistry();
  for (int i = 1; i < registry.Count(); ++i) {
    EXPECT_LT(registry.NameAt(i - 1), registry.NameAt(i));
  }
  TFieldRegistry own;
  EXPECT_TRUE(own.Add("X", a.get()));
  EXPECT_FALSE(own.Add("X", b.get()));
  EXPECT_FALSE(own.Add("", b.get()));
  EXPECT_FALSE(own.Remove("X", b.get()));  // another object's entry stays
  EXPECT_EQ(own.Find("X"), a.get());
  EXPECT_TRUE(own.Remove("Y", a.get()));  // found by identity
  EXPECT_EQ(own.Count(), 0);
}

TEST(DataFieldTest, IntervalsNeedsOwnSortFieldAndIntervalsEnabled) {
  struct Case {
    bool Disable;
    bool OtherSortField;
    bool Expected;
  };
  const Case cases[] = {
      {false, false, true}, {true, false, false}, {false, true, false}, {true, true, false}};
  TDataField other(nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Disable) + std::to_string(c.OtherSortField));
    TDataField field(nullptr);
    field.SetDisableIntervals(c.Disable);
    if (c.OtherSortField) field.SetSortField(&other);
    EXPECT_EQ(field.Intervals(), c.Expected);
    EXPECT_EQ(platform::GetOrdProp(field, "Intervals"), c.Expected ? 1 : 0);
  }
  TDataField field(nullptr);
  field.SetSortField(&other);
  field.SetSortField(nullptr);
  EXPECT_EQ(field.SortField(), &field);
}

class ParentKeyTest : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> Country = TKeyField::CreateSimpleKey("", IntegerType());
  std::unique_ptr<TKeyField> Region = TKeyField::CreateSimpleKey("", IntegerType());
  std::unique_ptr<TKeyField> City =
      TKeyField::CreateKey("", IntegerType(), {}, dvKeyOnly, true, -1, Region.get());
  void SetUp() override { Region->SetParentKey(Country.get()); }
  void TearDown() override {
    City->SetParentKey(nullptr);
    Region->SetParentKey(nullptr);
  }
};

TEST_F(ParentKeyTest, DepthAndAncestorsByLevel) {
  EXPECT_EQ(City->ParentKeyDepth(), 2);
  EXPECT_EQ(Country->ParentKeyDepth(), 0);
  struct Case {
    int Level;
    TDataField* Expected;
  };
  const Case cases[] = {
      {0, Country.get()}, {1, Region.get()}, {2, City.get()}, {3, City.get()}, {-1, Country.get()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Level);
    int depth = -7;
    EXPECT_EQ(City->GetParentKeyAt(c.Level, depth), c.Expected);
    EXPECT_EQ(depth, 2);
  }
  int depth = -7;
  EXPECT_EQ(Country->GetParentKeyAt(0, depth), Country.get());
  EXPECT_EQ(depth, 0);
}

TEST_F(ParentKeyTest, DependentChildrenFollowTheParent) {
  ASSERT_EQ(Country->DependentChildCount(), 1);
  EXPECT_EQ(Country->GetDependentChild(0), Region.get());
  EXPECT_EQ(Region->GetDependentChild(0), City.get());
  City->SetParentKey(Country.get());
  EXPECT_EQ(Region->DependentChildCount(), 0);
  ASSERT_EQ(Country->DependentChildCount(), 2);
  EXPECT_EQ(Country->GetDependentChild(1), City.get());
  City->SetParentKey(Country.get());  // unchanged: nothing happens
  EXPECT_EQ(Country->DependentChildCount(), 2);
  EXPECT_EQ(MessageOf([&] { Country->GetDependentChild(2); }),
            "TKeyField.GetDependentChild: (idx >= 0) and (idx < FDependentChildren.Count), idx: "
            "2");
  EXPECT_EQ(MessageOf([&] { Country->GetDerivedField(0); }),
            "TKeyField.GetDerivedField: (idx >= 0) and (idx < FDerivedFields.Count), idx: 0");
}

TEST_F(ParentKeyTest, AKeyCannotDependOnItself) {
  // Country <- Region <- City: making Country depend on City closes a loop.
  EXPECT_THROW(Country->SetParentKey(City.get()), platform::Exception);
  EXPECT_EQ(Country->ParentKey(), nullptr);
  EXPECT_EQ(City->DependentChildCount(), 0);
  EXPECT_THROW(Country->SetParentKey(Country.get()), platform::Exception);
  EXPECT_EQ(Country->ParentKeyDepth(), 0);
}

TEST(DataFieldTest, EffectiveDisplayValues) {
  auto text = TDataField::CreateField("", StringType(20, true));
  struct Case {
    const TDataType* Type;
    bool WithText;
    TDisplayValues Set;
    TDisplayValues Expected;
  };
  const Case cases[] = {
      {IntegerType(), false, dvTextOnly, dvKeyOnly},
      {StringType(5, true), false, dvDefault, dvKeyOnly},
      {StringType(5, true), true, dvDefault, dvKeyAndText},
      {MemoType(), true, dvDefault, dvKeyAndText},
      {IntegerType(), true, dvDefault, dvKeyOnly},
      {IntegerType(), true, dvTextOnly, dvTextOnly},
      {IntegerType(), true, dvKeyAndText, dvKeyAndText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Type->TypeName() + " " + std::to_string(c.WithText) + " " +
                 std::to_string(c.Set));
    std::vector<TDataField*> texts;
    if (c.WithText) texts.push_back(text.get());
    auto key = TKeyField::CreateKey("", c.Type, texts, c.Set, true, -1, nullptr);
    EXPECT_EQ(key->EffectiveDisplayValues(), c.Expected);
    EXPECT_EQ(key->CurrentTextField(), c.WithText ? text.get() : nullptr);
    // The second list's default is the first list's current entry.
    EXPECT_EQ(key->AltTextFields().Count(), c.WithText ? 1 : 0);
  }
  TKeyField empty(nullptr);
  EXPECT_EQ(empty.AltTextFields().DefaultField(), nullptr);
}

TEST(DataFieldTest, RefillWithoutAuxTable) {
  struct Case {
    TRefillType Type;
    bool Expected;
  };
  // Without an aux table DependencyChanged is true, a cache is never stale.
  const Case cases[] = {{rtNever, false}, {rtAlways, true}, {rtDependentChange, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Type);
    TDataField field(nullptr);
    field.SetRefillType(c.Type);
    EXPECT_EQ(field.NeedsRefill(nullptr, nullptr, 1000.0), c.Expected);
  }
  TDataField field(nullptr);
  EXPECT_FALSE(field.IsCacheStale(1000.0));
  EXPECT_TRUE(field.DependencyChanged(nullptr, nullptr));
}

TEST(DataFieldTest, PlainFieldRefusesExternalWritesAndReads) {
  auto field = TDataField::CreateField("PlainF", IntegerType());
  EXPECT_EQ(MessageOf([&] { field->SetExternValue(nullptr, IntegerValue(7), saRefuse); }),
            "Cannot set value 7 to Row , Field PlainF");
  TValue value;
  EXPECT_EQ(MessageOf([&] { field->GetExternValue(nullptr, value); }),
            "TDataField.GetExternValue: ARow = nil! (TDataField : PlainF)");
  auto key = TKeyField::CreateSimpleKey("PlainK", IntegerType());
  EXPECT_EQ(MessageOf([&] { key->GetExternValue(nullptr, value); }),
            "TDataField.GetExternValue: ARow = nil! (TKeyField : PlainK)");
}

TEST(DataFieldTest, BuildValueSQLWrapsTheBuildersExpression) {
  auto field = TDataField::CreateField("Amount", DoubleType());
  TValueSQLBuilder builder = [](void* UserData, TDataField* Field, std::string& Expr) {
    Expr = *static_cast<std::string*>(UserData) + "." + Field->FieldName();
  };
  std::string alias = "t";
  std::string sql;
  field->BuildValueSQL(false, sql, builder, &alias);
  EXPECT_EQ(sql, "t.Amount");
  field->BuildValueSQL(true, sql, builder, &alias);
  EXPECT_EQ(sql, "SUM(t.Amount)");
}

TEST(DataFieldTest, AddToListAppendsTheField) {
  TDataField a(nullptr);
  TKeyField b(nullptr);
  std::vector<TDataField*> list;
  a.AddToList(&list, false);
  b.AddToList(&list, true);
  EXPECT_EQ(list, (std::vector<TDataField*>{&a, &b}));
  EXPECT_EQ(MessageOf([&] { a.AddToList(nullptr, true); }), "TDataField.AddToList: AList <> nil");
}

TEST(DataFieldTest, SetDataTypeResetsTheDefault) {
  TDataField field(nullptr);
  field.SetDefaultValue(StringValue("x"));
  field.SetDataType(field.DataType());  // unchanged: the default stays
  EXPECT_EQ(ValueAsString(field.DefaultValue()), "x");
  field.SetDataType(IntegerType());
  EXPECT_EQ(field.DefaultValue().DataType, IntegerType());
  EXPECT_EQ(ValueAsInteger(field.DefaultValue()), 0);
  field.SetDataType(nullptr);
  EXPECT_EQ(field.DataType(), nullptr);
  EXPECT_EQ(field.DefaultValue().DataType, IntegerType());
  EXPECT_FALSE(field.IsStored());
}

TEST(DataFieldTest, OriginsKeepTheirDerivedFields) {
  auto origin = TDataField::CreateField("", IntegerType());
  auto d1 = TDataField::CreateField("", IntegerType());
  auto d2 = TDataField::CreateField("", IntegerType());
  d1->SetOrigin(origin.get());
  d2->SetOrigin(origin.get());
  ASSERT_EQ(origin->DerivedFieldCount(), 2);
  EXPECT_EQ(origin->GetDerivedField(1), d2.get());
  d1->SetOrigin(nullptr);
  EXPECT_EQ(d1->Origin(), d1.get());
  EXPECT_EQ(origin->DerivedFieldCount(), 1);
  // A dying derived field leaves its origin; a dying origin frees its
  // derived fields to be their own origin.
  d1->SetOrigin(origin.get());
  d1.reset();
  EXPECT_EQ(origin->DerivedFieldCount(), 1);
  origin.reset();
  EXPECT_EQ(d2->Origin(), d2.get());
}

TEST(DataFieldTest, CriteriaIsOwnedAndAnswersSingleValues) {
  auto key = TKeyField::CreateSimpleKey("", IntegerType());
  auto other = TKeyField::CreateSimpleKey("", IntegerType());
  TDataField field(nullptr);
  EXPECT_FALSE(field.SingleCriteriaValue(key.get()));
  auto patch = std::make_unique<TQuiltPatch>();
  patch->FieldFor(key.get(), true)->AddValue(IntegerValue(4));
  patch->FieldFor(other.get(), true)->AddValue(IntegerValue(1));
  patch->FieldFor(other.get(), true)->AddValue(IntegerValue(2));
  field.SetCriteria(std::move(patch));
  EXPECT_TRUE(field.SingleCriteriaValue(key.get()));
  EXPECT_FALSE(field.SingleCriteriaValue(other.get()));
  EXPECT_FALSE(field.SingleCriteriaValue(&field));
  field.SetCriteria(nullptr);
  EXPECT_FALSE(field.SingleCriteriaValue(key.get()));
}

TEST(DataFieldTest, PublishedPropertiesByName) {
  auto field = TDataField::CreateField("PropField", IntegerType());
  std::vector<std::string> names;
  for (const platform::TPropInfo* p : platform::GetPropList(*field)) names.push_back(p->Name);
  for (const char* name :
       {"FieldName", "DataType", "DefaultValue", "DisplayWidth", "AllowSelections", "IsReportable",
        "HasCombo", "IsAggregable", "DisableIntervals", "CanGenerateCondSQL", "CanGenerateValueSQL",
        "DefaultReadOnly", "IsRunningNumber", "SortField", "SortOrder", "Criteria", "Intervals",
        "RefillType", "DisplayValues"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
  }

  platform::SetStrProp(*field, "FieldName", "PropRenamed");
  EXPECT_EQ(FindFieldByName("PropRenamed"), field.get());
  platform::SetOrdProp(*field, "DisplayWidth", 17);
  EXPECT_EQ(field->DisplayWidth(), 17);
  platform::SetEnumProp(*field, "SortOrder", "soDescending");
  EXPECT_EQ(field->SortOrder(), soDescending);
  platform::SetEnumProp(*field, "RefillType", "rtNever");
  EXPECT_EQ(platform::GetEnumProp(*field, "RefillType"), "rtNever");
  platform::SetOrdProp(*field, "DisplayValues", dvTextOnly);
  EXPECT_EQ(field->DisplayValues(), dvTextOnly);
  platform::SetOrdProp(*field, "HasCombo", 1);
  EXPECT_TRUE(field->HasCombo());
  EXPECT_THROW(platform::SetOrdProp(*field, "IsRunningNumber", 1), platform::EPropertyError);
  EXPECT_THROW(platform::SetOrdProp(*field, "Intervals", 0), platform::EPropertyError);

  platform::SetStrProp(*field, "DefaultValue", "42");
  EXPECT_EQ(ValueAsInteger(field->DefaultValue()), 42);
  EXPECT_EQ(platform::GetStrProp(*field, "DefaultValue"), "42");
  EXPECT_THROW(platform::SetStrProp(*field, "DefaultValue", "forty"), platform::EPropertyError);
  EXPECT_EQ(ValueAsInteger(field->DefaultValue()), 42);

  platform::SetObjectProp(*field, "DataType", const_cast<TDoubleType*>(DoubleType()));
  EXPECT_EQ(field->DataType(), DoubleType());

  TDataField sorter(nullptr);
  platform::SetObjectProp(*field, "SortField", &sorter);
  EXPECT_EQ(field->SortField(), &sorter);
  EXPECT_EQ(platform::GetObjectProp(*field, "SortField"), &sorter);

  // The field takes the condition over and frees it.
  auto* quilt = new TQuilt();
  platform::SetObjectProp(*field, "Criteria", quilt);
  EXPECT_EQ(field->Criteria(), quilt);
  platform::SetObjectProp(*field, "Criteria", quilt);  // the same object again: kept
  EXPECT_EQ(field->Criteria(), quilt);
}

TEST(DataFieldSetTest, MembershipAndNullMeansAll) {
  TDataField a(nullptr), b(nullptr), c(nullptr);
  EXPECT_TRUE(TDataFieldSet::Contains(nullptr, &a));
  TDataFieldSet set;
  EXPECT_TRUE(set.IsEmpty());
  EXPECT_FALSE(TDataFieldSet::Contains(&set, &a));
  set.Add(&a);
  set.Add(&a);
  set.Add(&b);
  EXPECT_EQ(set.Count(), 2);
  EXPECT_TRUE(set.Contains(&a));
  EXPECT_FALSE(set.Contains(&c));
  EXPECT_FALSE(set.Contains(nullptr));

  TDataFieldSet other;
  other.Add(&c);
  other.AddSet(set);
  EXPECT_EQ(other.Count(), 3);
  other.AddSet(other);
  EXPECT_EQ(other.Count(), 3);
  other.Assign(set);
  EXPECT_EQ(other.Count(), 2);
  EXPECT_FALSE(other.Contains(&c));
  other.Assign(other);
  EXPECT_EQ(other.Count(), 2);
  EXPECT_TRUE(other.Remove(&a));
  EXPECT_FALSE(other.Remove(&a));
  other.Clear();
  EXPECT_TRUE(other.IsEmpty());
}

TEST(DataFieldSetTest, IteratorVisitsEveryFieldOnce) {
  std::vector<std::unique_ptr<TDataField>> fields;
  TDataFieldSet set;
  for (int i = 0; i < 150; ++i) {
    fields.push_back(std::make_unique<TDataField>(nullptr));
    set.Add(fields.back().get());
  }
  TDataFieldSet seen;
  int visits = 0;
  for (TDataFieldSetIterator it(&set); !it.Eof(); it.Next()) {
    ASSERT_NE(it.Current(), nullptr);
    seen.Add(it.Current());
    ++visits;
  }
  EXPECT_EQ(visits, 150);
  EXPECT_EQ(seen.Count(), 150);

  TDataFieldSetIterator none(nullptr);
  EXPECT_TRUE(none.Eof());
  EXPECT_EQ(none.Current(), nullptr);
  none.Next();
  EXPECT_TRUE(none.Eof());
}

TEST(DataFieldSetTest, TableFieldsByArea) {
  auto k = TKeyField::CreateSimpleKey("", IntegerType());
  auto f = TDataField::CreateField("", IntegerType());
  auto g = TDataField::CreateField("", IntegerType());
  auto table = TDataTable::CreateTable("", nullptr, {k.get()}, {f.get()}, nullptr);
  table->AddIgnore(g.get());
  struct Case {
    bool Keys, Fields, Ignored;
    int Count;
  };
  const Case cases[] = {{true, false, false, 1}, {false, true, false, 1}, {false, false, true, 1},
                        {true, true, false, 2},  {true, true, true, 3},   {false, false, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Keys) + std::to_string(c.Fields) + std::to_string(c.Ignored));
    TDataFieldSet set;
    set.AddTableFields(*table, c.Keys, c.Fields, c.Ignored);
    EXPECT_EQ(set.Count(), c.Count);
    EXPECT_EQ(set.Contains(k.get()), c.Keys);
    EXPECT_EQ(set.Contains(f.get()), c.Fields);
    EXPECT_EQ(set.Contains(g.get()), c.Ignored);
    EXPECT_EQ(TDataFieldSet::ContainsTableField(&set, *table, 2), c.Ignored);
    EXPECT_TRUE(TDataFieldSet::ContainsTableField(nullptr, *table, 2));
  }
}

}  // namespace
}  // namespace dataframework
