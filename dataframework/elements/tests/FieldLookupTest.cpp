// Fields over aux tables: dependent and derived fields, the lookup field,
// the translation of conditions to the aux table, the rows a field's values
// come from (through the aux table's cache storage), values of fields a row
// does not store, dependency changes and stale caches.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/conditions/Quilt.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/DataError.h"
#include "platform/Errors.h"
#include "platform/StringList.h"
#include "testsupport/MessageOf.h"

namespace dataframework {
namespace {

using platform::TDataErrorCapture;
using testsupport::MessageOf;

// A criteria fixing Field to one value.
std::unique_ptr<TCriteria> Only(TDataField* Field, const TValue& Value) {
  auto criteria = std::make_unique<TCriteria>();
  criteria->CriteriaFields(Field).AddValue(Value);
  return criteria;
}

// A quilt patch fixing Field to Values.
std::unique_ptr<TQuiltPatch> PatchOf(TDataField* Field, const std::vector<TValue>& Values) {
  auto patch = std::make_unique<TQuiltPatch>();
  for (const TValue& v : Values) patch->FieldFor(Field, true)->AddValue(v);
  return patch;
}

// Countries (aux table of the country key) with a derived country field,
// cities keyed by country and city, and orders that name a country.
class AuxTableFixture : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> CountryKey = TKeyField::CreateSimpleKey("", IntegerType());
  std::unique_ptr<TDataField> CountryName = TDataField::CreateField("", StringType(20, true));
  std::unique_ptr<TDataField> Continent = TDataField::CreateField("", StringType(10, true));
  // A country field of its own that stands for the country key.
  std::unique_ptr<TKeyField> HomeCountry = TKeyField::CreateSimpleKey("", IntegerType());
  // CountryName as HomeCountry shows it.
  std::unique_ptr<TDataField> ShortName = TDataField::CreateField("", StringType(20, true));
  std::unique_ptr<TKeyField> CityKey = TKeyField::CreateSimpleKey("CityKey", IntegerType());
  std::unique_ptr<TDataField> CityName = TDataField::CreateField("", StringType(20, true));
  std::unique_ptr<TDataField> CityPop = TDataField::CreateField("", IntegerType());
  std::unique_ptr<TKeyField> HomeCity = TKeyField::CreateSimpleKey("", IntegerType());
  std::unique_ptr<TDataField> CityAlias = TDataField::CreateField("", StringType(20, true));
  std::unique_ptr<TKeyField> OrderNo = TKeyField::CreateSimpleKey("", IntegerType());
  std::unique_ptr<TDataField> Outside = TDataField::CreateField("", IntegerType());

  std::unique_ptr<TDataTable> Countries;
  std::unique_ptr<TDataTable> Cities;
  std::unique_ptr<TDataTable> Orders;

  void SetUp() override {
    Countries = TDataTable::CreateTable("Countries", nullptr, {CountryKey.get()},
                                        {CountryName.get(), Continent.get()}, nullptr);
    Cities = TDataTable::CreateTable("Cities", nullptr, {CountryKey.get(), CityKey.get()},
                                     {CityName.get(), CityPop.get()}, nullptr);
    Orders =
        TDataTable::CreateTable("Orders", nullptr, {OrderNo.get()}, {CountryKey.get()}, nullptr);
    HomeCountry->SetLookupKey(CountryKey.get());
    HomeCountry->SetOrigin(CountryKey.get());
    ShortName->SetOrigin(CountryName.get());
    ShortName->SetDerivedKey(HomeCountry.get());
    CountryKey->SetAuxTable(Countries.get());  // HomeCountry follows as derived field
    HomeCity->SetLookupKey(CityKey.get());
    HomeCity->SetAuxTable(Cities.get());
    CityAlias->SetOrigin(CityName.get());
    CityAlias->SetDerivedKey(HomeCity.get());
    CityAlias->SetLookupKey(CityName.get());
  }

  void TearDown() override {
    Orders.reset();
    Cities.reset();
    Countries.reset();
  }

  void PutCountry(int Key, const std::string& Name, const std::string& Where) {
    TRowStorage* cache = Countries->CacheStorage();
    std::unique_ptr<TDataRow> row = cache->CreateRow();
    row->SetFieldValue(CountryKey.get(), IntegerValue(Key));
    row->SetFieldValue(CountryName.get(), StringValue(Name));
    row->SetFieldValue(Continent.get(), StringValue(Where));
    ASSERT_EQ(cache->PutNewRow(row, paRefuse), prOk);
  }

  void FillCountries() {
    PutCountry(1, "Chile", "SA");
    PutCountry(2, "Peru", "SA");
    PutCountry(3, "Spain", "EU");
  }

  // The country names of the rows in List.
  std::vector<std::string> Names(const platform::TStrings& List) {
    std::vector<std::string> names;
    for (int i = 0; i < List.Count(); ++i) {
      names.push_back(
          static_cast<TAbstractRow*>(List.GetObject(i))->GetFStringValue(CountryName.get()));
    }
    return names;
  }
};

TEST_F(AuxTableFixture, SetAuxTableNeedsTheLookupKeyAmongTheKeys) {
  EXPECT_EQ(HomeCountry->AuxTable(), Countries.get());  // followed its origin
  EXPECT_EQ(MessageOf([&] { HomeCity->SetAuxTable(Countries.get()); }),
            "Countries doesn't have CityKey as a key!");
  EXPECT_EQ(HomeCity->AuxTable(), Cities.get());
  // CityKey is a key of Cities, though not the last one's table: fine.
  HomeCity->SetAuxTable(nullptr);
  EXPECT_EQ(HomeCity->AuxTable(), nullptr);
  EXPECT_EQ(Countries->OwnKey(), CountryKey.get());
  EXPECT_EQ(Cities->OwnKey(), nullptr);
}

TEST_F(AuxTableFixture, DependentFieldsSkipFixedOnesAndPreferOwnDerivedFields) {
  EXPECT_EQ(CountryKey->DependentFieldCount(), 2);
  EXPECT_EQ(CountryKey->GetDependentField(0), CountryName.get());
  EXPECT_EQ(CountryKey->GetDependentField(1), Continent.get());
  EXPECT_EQ(CountryKey->GetDependentField(2), nullptr);
  EXPECT_EQ(HomeCountry->GetDependentField(0), ShortName.get());
  EXPECT_EQ(HomeCountry->GetDependentField(1), Continent.get());
  EXPECT_EQ(MessageOf([&] { CountryKey->GetDependentField(-1); }),
            "TKeyField.GetDependentField: idx >= 0, idx: -1");
  EXPECT_EQ(OrderNo->DependentFieldCount(), 0);
  EXPECT_EQ(OrderNo->GetDependentField(0), nullptr);

  CountryKey->SetCriteria(PatchOf(Continent.get(), {StringValue("SA")}));
  EXPECT_EQ(CountryKey->DependentFieldCount(), 1);
  EXPECT_EQ(CountryKey->GetDependentField(0), CountryName.get());
  EXPECT_EQ(CountryKey->GetDependentField(1), nullptr);
  // Two values do not fix the field.
  CountryKey->SetCriteria(PatchOf(Continent.get(), {StringValue("SA"), StringValue("EU")}));
  EXPECT_EQ(CountryKey->DependentFieldCount(), 2);
}

TEST_F(AuxTableFixture, FindDependentFieldAnswersTheMemberThatBelongs) {
  struct Case {
    TDataField* Self;
    TDataField* Asked;
    TDataField* Expected;
  };
  const Case cases[] = {
      {CountryKey.get(), CountryName.get(), CountryName.get()},
      {CountryKey.get(), ShortName.get(), CountryName.get()},
      {HomeCountry.get(), CountryName.get(), ShortName.get()},
      {HomeCountry.get(), ShortName.get(), ShortName.get()},
      {HomeCountry.get(), Continent.get(), nullptr},  // Continent belongs to the key only
      {CountryKey.get(), Continent.get(), Continent.get()},
      {CountryKey.get(), Outside.get(), nullptr},
      {OrderNo.get(), CountryName.get(), nullptr},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(cases[i].Self->FindDependentField(cases[i].Asked), cases[i].Expected);
  }
  CountryKey->SetCriteria(PatchOf(CountryName.get(), {StringValue("Chile")}));
  EXPECT_EQ(CountryKey->FindDependentField(CountryName.get()), nullptr);
}

TEST_F(AuxTableFixture, LookupFieldOfAFieldInItsHomeTable) {
  EXPECT_EQ(CountryName->GetLookupField(), nullptr);  // no home table
  CountryName->SetHomeTable(Countries.get());
  EXPECT_EQ(CountryName->GetLookupField(), CountryKey.get());
  ShortName->SetHomeTable(Countries.get());
  EXPECT_EQ(ShortName->GetLookupField(), HomeCountry.get());

  TDataErrorCapture capture;
  Outside->SetHomeTable(Countries.get());
  EXPECT_EQ(Outside->GetLookupField(), CountryKey.get());
  ASSERT_EQ(capture.Warnings().size(), 1u);
  EXPECT_EQ(capture.Warnings()[0].Context, "GetLookupField");
  EXPECT_EQ(capture.Warnings()[0].Message,
            "TDataField.GetLookupField: Uncertain result for field ");

  CityName->SetHomeTable(Cities.get());  // Cities has no own key
  EXPECT_EQ(CityName->GetLookupField(), nullptr);

  EXPECT_EQ(TDataField::LookupChainReaches(HomeCountry.get(), nullptr), nullptr);
  EXPECT_EQ(TDataField::LookupChainReaches(HomeCountry.get(), HomeCountry.get()),
            HomeCountry.get());
  EXPECT_EQ(TDataField::LookupChainReaches(HomeCountry.get(), ShortName.get()), HomeCountry.get());
  EXPECT_EQ(TDataField::LookupChainReaches(CountryKey.get(), ShortName.get()), nullptr);
  EXPECT_EQ(TDataField::LookupChainReaches(CountryKey.get(), CountryName.get()), CountryKey.get());
  // A chain that loops never reaches a field outside the loop.
  CountryKey->SetHomeTable(Countries.get());
  EXPECT_EQ(TDataField::LookupChainReaches(Outside.get(), CountryName.get()), nullptr);
  EXPECT_EQ(Orders->ResolveField(CountryName.get()), CountryKey.get());
}

TEST_F(AuxTableFixture, TranslationToTheAuxTable) {
  struct Case {
    const char* Name;
    TDataField* Self;
    TDataField* Field;
    TDataField* Expected;
  };
  const Case cases[] = {
      {"a key of the aux table before the last", HomeCity.get(), CountryKey.get(),
       CountryKey.get()},
      {"the field itself", HomeCity.get(), HomeCity.get(), CityKey.get()},
      {"its lookup key", HomeCity.get(), CityKey.get(), nullptr},
      {"a dependent field", HomeCity.get(), CityAlias.get(), CityName.get()},
      {"a dependent field of its own", HomeCity.get(), CityPop.get(), CityPop.get()},
      {"a lookup key of a dependent field", HomeCity.get(), CityName.get(), nullptr},
      {"a field outside the aux table", HomeCity.get(), Outside.get(), Outside.get()},
      {"no aux table", OrderNo.get(), CityName.get(), CityName.get()},
      {"the own lookup key of a plain key", CountryKey.get(), CountryKey.get(), CountryKey.get()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    int conflict = 1;
    bool keep = true;
    EXPECT_EQ(TDataField::TranslateToAuxField(c.Self, c.Field, conflict, keep), c.Expected);
    EXPECT_EQ(conflict, 3);
    EXPECT_FALSE(keep);
  }
}

TEST_F(AuxTableFixture, GetRowsComesFromTheCacheStorage) {
  FillCountries();
  platform::TStringList rows;
  CountryKey->GetRows(&rows, nullptr);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"Chile", "Peru", "Spain"}));

  rows.Clear();
  auto two = Only(CountryKey.get(), IntegerValue(2));
  CountryKey->GetRows(&rows, two.get());
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"Peru"}));

  // A field standing for the key: the condition on it is translated.
  rows.Clear();
  auto home = Only(HomeCountry.get(), IntegerValue(3));
  HomeCountry->GetRows(&rows, home.get());
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"Spain"}));

  // The field's own criteria restricts what comes without a condition.
  HomeCountry->SetCriteria(PatchOf(Continent.get(), {StringValue("SA")}));
  rows.Clear();
  HomeCountry->GetRows(&rows, nullptr);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"Chile", "Peru"}));
  // With a condition as well nothing comes, unless the translation leaves
  // nothing of it.
  rows.Clear();
  HomeCountry->GetRows(&rows, home.get());
  EXPECT_EQ(rows.Count(), 0);
  TQuiltField onLookupKey(CountryKey.get());
  onLookupKey.AddValue(IntegerValue(3));
  HomeCountry->GetRows(&rows, &onLookupKey);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"Chile", "Peru"}));

  // GetValues of a plain field is GetRows.
  rows.Clear();
  CountryKey->GetValues(&rows, Orders.get(), nullptr, two.get());
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"Peru"}));

  rows.Clear();
  OrderNo->GetRows(&rows, nullptr);  // no aux table
  EXPECT_EQ(rows.Count(), 0);
  EXPECT_EQ(MessageOf([&] { CountryKey->GetRows(nullptr, nullptr); }),
            "TDataField.GetRows: Results <> nil");
}

TEST_F(AuxTableFixture, GetRowsUntranslated) {
  FillCountries();
  auto peru = Only(CountryKey.get(), IntegerValue(2));
  platform::TStringList rows;
  HomeCountry->GetRowsUntranslated(&rows, peru.get());
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"Peru"}));
  rows.Clear();
  HomeCountry->GetRowsUntranslated(&rows, nullptr);
  EXPECT_EQ(rows.Count(), 3);

  HomeCountry->SetCriteria(PatchOf(Continent.get(), {StringValue("EU")}));
  rows.Clear();
  HomeCountry->GetRowsUntranslated(&rows, nullptr);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"Spain"}));
  rows.Clear();
  HomeCountry->GetRowsUntranslated(&rows, peru.get());
  EXPECT_EQ(rows.Count(), 0);
  OrderNo->GetRowsUntranslated(&rows, nullptr);
  EXPECT_EQ(rows.Count(), 0);
  EXPECT_EQ(MessageOf([&] { CountryKey->GetRowsUntranslated(nullptr, nullptr); }),
            "TDataField.GetRows: Results <> nil");
}

TEST_F(AuxTableFixture, DependencyChangesOverTheAuxTablesFields) {
  auto one = Only(CountryKey.get(), IntegerValue(1));
  auto alsoOne = Only(CountryKey.get(), IntegerValue(1));
  auto two = Only(CountryKey.get(), IntegerValue(2));
  auto oneElsewhere = Only(CountryKey.get(), IntegerValue(1));
  oneElsewhere->CriteriaFields(Outside.get()).AddValue(IntegerValue(9));
  struct Case {
    const char* Name;
    const TCondition* Old;
    const TCondition* New;
    bool Changed;
  };
  const Case cases[] = {
      {"old none", nullptr, one.get(), true},
      {"new none", one.get(), nullptr, true},
      {"equal", one.get(), alsoOne.get(), false},
      {"different", one.get(), two.get(), true},
      {"differ outside the aux table only", one.get(), oneElsewhere.get(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(CountryKey->DependencyChanged(c.Old, c.New), c.Changed);
    EXPECT_EQ(CountryKey->NeedsRefill(c.Old, c.New, 0), c.Changed);  // rtDependentChange
  }
  EXPECT_TRUE(OrderNo->DependencyChanged(one.get(), alsoOne.get()));  // no aux table
}

TEST_F(AuxTableFixture, StaleCacheNeedsRefill) {
  EXPECT_FALSE(CountryKey->IsCacheStale(1.0));  // no cache made yet
  FillCountries();
  const double changed = Countries->CacheStorage()->LastChange();
  ASSERT_GT(changed, 0);
  auto one = Only(CountryKey.get(), IntegerValue(1));
  auto alsoOne = Only(CountryKey.get(), IntegerValue(1));
  struct Case {
    TRefillType Type;
    double LoadTime;
    bool Stale;
    bool Refill;
  };
  const Case cases[] = {
      {rtNever, changed - 1, true, true},
      {rtNever, changed + 1, false, false},
      {rtNever, 0, false, false},
      {rtDependentChange, changed - 1, true, true},
      {rtDependentChange, changed, false, false},
      {rtAlways, changed + 1, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Type) + " " + std::to_string(c.LoadTime - changed));
    CountryKey->SetRefillType(c.Type);
    EXPECT_EQ(CountryKey->IsCacheStale(c.LoadTime), c.Stale);
    EXPECT_EQ(CountryKey->NeedsRefill(one.get(), alsoOne.get(), c.LoadTime), c.Refill);
  }
}

TEST_F(AuxTableFixture, ValuesOfFieldsARowDoesNotStore) {
  FillCountries();
  TRowStorage orders(Orders.get());
  std::unique_ptr<TDataRow> order = orders.CreateRow();
  order->SetFieldValue(OrderNo.get(), IntegerValue(100));
  order->SetFieldValue(CountryKey.get(), IntegerValue(2));
  TDataRow* stored = order.get();
  ASSERT_EQ(orders.PutNewRow(order, paRefuse), prOk);

  // Through the row lookup in the home table's cache storage.
  CountryName->SetHomeTable(Countries.get());
  TValue value;
  CountryName->GetExternValue(stored, value);
  EXPECT_EQ(ValueAsString(value), "Peru");
  EXPECT_EQ(stored->GetFStringValue(CountryName.get()), "Peru");
  stored->SetFieldValue(CountryKey.get(), IntegerValue(7));  // no such country
  CountryName->GetExternValue(stored, value);
  EXPECT_EQ(value.DataType, CountryName->DataType());
  EXPECT_EQ(ValueAsString(value), "");

  // A field of the row's own table, standing for a key the row shows.
  HomeCountry->SetHomeTable(Orders.get());
  HomeCountry->GetExternValue(stored, value);
  EXPECT_EQ(ValueAsInteger(value), 7);

  // A subtotal row supplies the keys of the levels above it.
  TRowStorage cities(Cities.get());
  std::unique_ptr<TDataRow> city = cities.CreateRow();
  city->SetFieldValue(CountryKey.get(), IntegerValue(3));
  city->SetFieldValue(CityKey.get(), IntegerValue(30));
  TDataRow* cityRow = city.get();
  ASSERT_EQ(cities.PutNewRow(city, paRefuse), prOk);
  TSubTotalRow* level = cityRow->Parent();
  ASSERT_NE(level, nullptr);
  ASSERT_NE(level->Parent(), nullptr);  // the subtotal of country 3
  CountryKey->GetExternValue(level, value);
  EXPECT_EQ(ValueAsInteger(value), 3);

  // Without a home table there is nothing to look in.
  EXPECT_THROW(Continent->GetExternValue(stored, value), platform::Exception);
}

TEST_F(AuxTableFixture, StorageCriteriaFixesAValue) {
  TRowStorage orders(Orders.get());
  orders.SetCriteria(Only(OrderNo.get(), IntegerValue(5)));
  std::unique_ptr<TDataRow> order = orders.CreateRow();
  order->SetFieldValue(OrderNo.get(), IntegerValue(5));
  TDataRow* stored = order.get();
  ASSERT_EQ(orders.PutNewRow(order, paRefuse), prOk);
  TValue value;
  OrderNo->GetExternValue(stored, value);
  EXPECT_EQ(ValueAsInteger(value), 5);
}

}  // namespace
}  // namespace dataframework
