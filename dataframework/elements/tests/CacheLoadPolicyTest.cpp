// Cache load policies: the patches built from conditions, key texts and
// rows, checked by the values they accept.
#include <gtest/gtest.h>

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
#include "platform/Errors.h"
#include "platform/PropInfo.h"

namespace dataframework {
namespace {

// Table keys K1, K2, K3 (texts) and field V (integer); a second table whose
// field X stands for K2 and which also holds K1 and V.
class PolicyFixture : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> K1 = TKeyField::CreateSimpleKey("", StringType(5, true));
  std::unique_ptr<TKeyField> K2 = TKeyField::CreateSimpleKey("", StringType(5, true));
  std::unique_ptr<TKeyField> K3 = TKeyField::CreateSimpleKey("", StringType(5, true));
  std::unique_ptr<TDataField> V = TDataField::CreateField("", IntegerType());
  std::unique_ptr<TKeyField> X = TKeyField::CreateSimpleKey("", StringType(5, true));
  std::unique_ptr<TDataField> Outside = TDataField::CreateField("", IntegerType());
  std::unique_ptr<TDataTable> Table =
      TDataTable::CreateTable("", nullptr, {K1.get(), K2.get(), K3.get()}, {V.get()}, nullptr);
  std::unique_ptr<TDataTable> Other =
      TDataTable::CreateTable("", nullptr, {K1.get(), X.get()}, {V.get()}, nullptr);
  TDefaultCacheLoadPolicy Policy{nullptr};

  void SetUp() override { X->SetLookupKey(K2.get()); }

  // Whether Patch accepts exactly Value of Field: Value itself and not
  // another value ("-" for texts, -1 for integers).
  static bool Fixes(const TCommonQuilt& Patch, TDataField* Field, const TValue& Value) {
    const TValue other = Field->DataType() == IntegerType() ? IntegerValue(-1) : StringValue("-");
    return Patch.AcceptsValue(Field, Value) && !Patch.AcceptsValue(Field, other);
  }
  static bool Free(const TCommonQuilt& Patch, TDataField* Field) {
    return Patch.AcceptsAllOfField(Field);
  }
};

TEST_F(PolicyFixture, KeptKeyCount) {
  struct Case {
    int NoCriteria;
    int Keys;
    int Expected;
  };
  const Case cases[] = {{0, 3, 3}, {1, 3, 2}, {3, 3, 1}, {5, 3, 1}, {0, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.NoCriteria) + "/" + std::to_string(c.Keys));
    std::vector<TDataField*> keys(Table->Fields().begin(), Table->Fields().begin() + c.Keys);
    auto table = TDataTable::CreateTable("", nullptr, keys, {V.get()}, nullptr);
    Policy.SetNoCriteriaKeyCount(c.NoCriteria);
    EXPECT_EQ(Policy.KeptKeyCount(*table), c.Expected);
  }
}

TEST_F(PolicyFixture, PatchForConditionKeepsLeadingKeysAndAskedFields) {
  TCriteria condition;
  condition.CriteriaFields(K1.get()).AddValue(StringValue("a"));
  condition.CriteriaFields(K3.get()).AddValue(StringValue("c"));
  condition.CriteriaFields(V.get()).AddValue(IntegerValue(7));
  condition.CriteriaFields(Outside.get()).AddValue(IntegerValue(9));
  Policy.SetNoCriteriaKeyCount(1);  // N = 2: K1 and K2

  TDataFieldSet onlyV;
  onlyV.Add(V.get());
  TDataFieldSet none;
  struct Case {
    const char* Name;
    const TDataFieldSet* Set;
    bool K3Kept, VKept;
  };
  const Case cases[] = {{"all fields", nullptr, true, true},
                        {"V asked for", &onlyV, false, true},
                        {"nothing asked for", &none, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TCommonQuilt> patch = Policy.PatchForCondition(*Table, &condition, c.Set);
    ASSERT_NE(patch, nullptr);
    EXPECT_TRUE(Fixes(*patch, K1.get(), StringValue("a")));
    EXPECT_TRUE(Free(*patch, K2.get()));
    EXPECT_EQ(Fixes(*patch, K3.get(), StringValue("c")), c.K3Kept);
    EXPECT_EQ(Free(*patch, K3.get()), !c.K3Kept);
    EXPECT_EQ(Fixes(*patch, V.get(), IntegerValue(7)), c.VKept);
    EXPECT_EQ(Free(*patch, V.get()), !c.VKept);
    EXPECT_TRUE(Free(*patch, Outside.get()));  // not a field of the table
  }
  // The condition itself is untouched.
  EXPECT_FALSE(condition.AcceptsValue(Outside.get(), IntegerValue(1)));

  std::unique_ptr<TCommonQuilt> empty = Policy.PatchForCondition(*Table, nullptr, nullptr);
  ASSERT_NE(empty, nullptr);
  EXPECT_TRUE(Free(*empty, K1.get()));
  EXPECT_TRUE(empty->IsUniverse(nullptr));
}

TEST_F(PolicyFixture, PatchForConditionOfAQuiltOfSeveralPatches) {
  TQuilt quilt;
  auto first = std::make_unique<TQuiltPatch>();
  first->FieldFor(K1.get(), true)->AddValue(StringValue("a"));
  first->FieldFor(V.get(), true)->AddValue(IntegerValue(1));
  auto second = std::make_unique<TQuiltPatch>();
  second->FieldFor(K1.get(), true)->AddValue(StringValue("b"));
  quilt.AddPatch(std::move(first));
  quilt.AddPatch(std::move(second));
  TDataFieldSet keysOnly;
  std::unique_ptr<TCommonQuilt> patch = Policy.PatchForCondition(*Table, &quilt, &keysOnly);
  EXPECT_TRUE(patch->AcceptsValue(K1.get(), StringValue("a")));
  EXPECT_TRUE(patch->AcceptsValue(K1.get(), StringValue("b")));
  EXPECT_FALSE(patch->AcceptsValue(K1.get(), StringValue("c")));
  // V is beyond the kept keys and not asked for: projected away.
  EXPECT_TRUE(Free(*patch, V.get()));
}

TEST_F(PolicyFixture, PatchForKeyTextsUsesAtMostTheKeptKeys) {
  struct Case {
    int NoCriteria;
    std::vector<std::string> Keys;
    std::vector<bool> Fixed;  // K1, K2, K3
  };
  const Case cases[] = {
      {1, {"a", "b", "c", "d"}, {true, true, false}},
      {0, {"a", "b", "c", "d"}, {true, true, true}},
      {0, {"a"}, {true, false, false}},
      {0, {}, {false, false, false}},
      {3, {"a", "b"}, {true, false, false}},
  };
  TDataField* keys[] = {K1.get(), K2.get(), K3.get()};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.NoCriteria) + "/" + std::to_string(c.Keys.size()));
    Policy.SetNoCriteriaKeyCount(c.NoCriteria);
    std::unique_ptr<TQuiltPatch> patch = Policy.PatchForKeyTexts(*Table, c.Keys);
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      if (c.Fixed[i]) {
        EXPECT_TRUE(Fixes(*patch, keys[i], StringValue(c.Keys[i])));
      } else {
        EXPECT_TRUE(Free(*patch, keys[i]));
      }
    }
    EXPECT_TRUE(Free(*patch, V.get()));
  }
}

TEST_F(PolicyFixture, PatchForRowOfTheSameTable) {
  auto row = TDataRow::Create(Table.get());
  row->SetFieldValue(K1.get(), StringValue("a"));
  row->SetFieldValue(K2.get(), StringValue("b"));
  row->SetFieldValue(K3.get(), StringValue("c"));
  row->SetFieldValue(V.get(), IntegerValue(5));
  Policy.SetNoCriteriaKeyCount(1);
  std::unique_ptr<TQuiltPatch> patch = Policy.PatchForRow(*Table, *row, nullptr, {});
  EXPECT_TRUE(Fixes(*patch, K1.get(), StringValue("a")));
  EXPECT_TRUE(Fixes(*patch, K2.get(), StringValue("b")));
  EXPECT_TRUE(Free(*patch, K3.get()));
  EXPECT_TRUE(Free(*patch, V.get()));  // a row of the table gives only keys
}

TEST_F(PolicyFixture, PatchForRowOfAnotherTable) {
  auto row = TDataRow::Create(Other.get());
  row->SetFieldValue(K1.get(), StringValue("a"));
  row->SetFieldValue(X.get(), StringValue("x"));
  row->SetFieldValue(V.get(), IntegerValue(5));
  TDataFieldSet onlyV;
  onlyV.Add(V.get());
  struct Case {
    const char* Name;
    int NoCriteria;
    const TDataFieldSet* Set;
    std::vector<TDataField*> Extra;
    bool K2Fixed, VFixed;
  };
  const Case cases[] = {
      {"X stands for K2", 0, nullptr, {X.get()}, true, true},
      {"no stand-in for K2", 0, nullptr, {}, false, true},
      {"V not asked for", 2, nullptr, {X.get()}, true, true},
      {"only V beyond the kept key", 2, &onlyV, {X.get()}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Policy.SetNoCriteriaKeyCount(c.NoCriteria);
    std::unique_ptr<TQuiltPatch> patch = Policy.PatchForRow(*Table, *row, c.Set, c.Extra);
    EXPECT_TRUE(Fixes(*patch, K1.get(), StringValue("a")));
    EXPECT_EQ(Fixes(*patch, K2.get(), StringValue("x")), c.K2Fixed);
    EXPECT_EQ(Free(*patch, K2.get()), !c.K2Fixed);
    // K3 cannot be read from the row (no home table to look in): no restriction.
    EXPECT_TRUE(Free(*patch, K3.get()));
    EXPECT_EQ(Fixes(*patch, V.get(), IntegerValue(5)), c.VFixed);
  }
}

TEST_F(PolicyFixture, TheBasePolicyIsAbstract) {
  TCacheLoadPolicy base(nullptr);
  auto row = TDataRow::Create(Table.get());
  EXPECT_THROW(base.PatchForCondition(*Table, nullptr, nullptr), platform::EAbstractError);
  EXPECT_THROW(base.PatchForKeyTexts(*Table, {"a"}), platform::EAbstractError);
  EXPECT_THROW(base.PatchForRow(*Table, *row, nullptr, {}), platform::EAbstractError);
}

TEST_F(PolicyFixture, SharedDefaults) {
  TDefaultCacheLoadPolicy& shared = DefaultCacheLoadPolicy();
  EXPECT_EQ(&shared, &DefaultCacheLoadPolicy());
  EXPECT_EQ(shared.NoCriteriaKeyCount(), 0);
  EXPECT_EQ(&DefaultRunningNumberGenerator(), &DefaultRunningNumberGenerator());
  platform::SetOrdProp(Policy, "NoCriteriaKeyCount", 2);
  EXPECT_EQ(Policy.NoCriteriaKeyCount(), 2);
  EXPECT_EQ(platform::GetOrdProp(Policy, "NoCriteriaKeyCount"), 2);
}

}  // namespace
}  // namespace dataframework
