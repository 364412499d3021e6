#include "dataframework/conditions/IndexContainer.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <vector>

#include "platform/Errors.h"

namespace dataframework {

using platform::TObject;
namespace {

struct TKey : TObject {};

// A value that counts its destruction.
struct TCountedValue : TObject {
  explicit TCountedValue(int* destroyed) : FDestroyed(destroyed) {}
  ~TCountedValue() override { ++*FDestroyed; }
  int* FDestroyed;
};

class IndexContainerTest : public ::testing::Test {
 protected:
  IndexContainerTest() {
    for (int i = 0; i < 400; ++i) FKeys.push_back(std::make_unique<TKey>());
  }

  // Two keys of the same bucket (there are more keys than buckets).
  std::pair<TKey*, TKey*> CollidingPair(const TIndexContainer& c) {
    std::map<int, TKey*> seen;
    for (auto& k : FKeys) {
      auto [it, fresh] = seen.emplace(c.BucketOf(k.get()), k.get());
      if (!fresh) return {it->second, k.get()};
    }
    ADD_FAILURE() << "no collision";
    return {nullptr, nullptr};
  }

  static std::vector<TObject*> Walk(const TIndexContainer& c) {
    std::vector<TObject*> out;
    for (TIndexContainerIterator it(&c); !it.Eof(); it.Next()) out.push_back(it.Index());
    return out;
  }

  std::vector<std::unique_ptr<TKey>> FKeys;
};

TEST_F(IndexContainerTest, NewContainerIsEmpty) {
  TIndexContainer c(101, true);
  EXPECT_TRUE(c.IsEmpty());
  EXPECT_TRUE(c.HasValues());
  EXPECT_FALSE(TIndexContainer(101, false).HasValues());
  TIndexContainerIterator it(&c);
  EXPECT_TRUE(it.Eof());
  EXPECT_EQ(it.Index(), nullptr);
  it.Next();  // stays at the end
  EXPECT_TRUE(it.Eof());
}

TEST_F(IndexContainerTest, BucketIsTheAddressModuloTheCount) {
  TIndexContainer c(101, false);
  for (int i = 0; i < 5; ++i) {
    TKey* k = FKeys[i].get();
    EXPECT_EQ(c.BucketOf(k), static_cast<int>(reinterpret_cast<uintptr_t>(k) % 101));
  }
  EXPECT_EQ(c.BucketOf(nullptr), 0);
}

TEST_F(IndexContainerTest, NilKeyIsRefusedOnAddAndAbsentElsewhere) {
  TIndexContainer c(101, true);
  TObject* value = nullptr;
  try {
    c.AddValue(nullptr, FKeys[0].get());
    FAIL() << "no error";
  } catch (const platform::EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "TIndexContainer.Add: nil is not allowed as Index!");
  }
  EXPECT_THROW(c.Add(nullptr), platform::EAssertionFailed);
  EXPECT_TRUE(c.IsEmpty());
  EXPECT_FALSE(c.Find(nullptr, value));
  EXPECT_FALSE(c.Contains(nullptr));
  EXPECT_FALSE(c.Delete(nullptr));
  EXPECT_FALSE(c.Extract(nullptr, value));
  EXPECT_THROW(TIndexContainer(0, false), platform::EAssertionFailed);
}

TEST_F(IndexContainerTest, CollidingKeysUseTheOverflowListAndArePromoted) {
  TIndexContainer c(101, true);
  auto [first, second] = CollidingPair(c);
  TKey v1, v2;
  c.AddValue(first, &v1);
  c.AddValue(second, &v2);
  TObject* value = nullptr;
  EXPECT_TRUE(c.Find(first, value));
  EXPECT_EQ(value, &v1);
  EXPECT_TRUE(c.Find(second, value));
  EXPECT_EQ(value, &v2);
  // The primary slots come before the overflow list.
  EXPECT_EQ(Walk(c), (std::vector<TObject*>{first, second}));

  EXPECT_TRUE(c.Extract(first, value));
  EXPECT_EQ(value, &v1);
  EXPECT_FALSE(c.Contains(first));
  EXPECT_TRUE(c.Find(second, value));  // promoted into the primary slot
  EXPECT_EQ(value, &v2);
  EXPECT_EQ(Walk(c), (std::vector<TObject*>{second}));

  c.Add(first);  // the slot is taken now: first goes to the overflow list
  EXPECT_EQ(Walk(c), (std::vector<TObject*>{second, first}));
  EXPECT_TRUE(c.Delete(second));
  EXPECT_TRUE(c.Delete(first));
  EXPECT_TRUE(c.IsEmpty());
}

TEST_F(IndexContainerTest, AddKeepsAndAddValueReplacesTheValue) {
  TIndexContainer c(101, true);
  auto [primary, overflow] = CollidingPair(c);
  TKey v1, v2;
  for (TKey* k : {primary, overflow}) {
    SCOPED_TRACE(k == primary ? "primary slot" : "overflow list");
    TObject* value = &v1;
    c.Add(k);
    EXPECT_TRUE(c.Find(k, value));
    EXPECT_EQ(value, nullptr);
    c.AddValue(k, &v1);
    c.Add(k);  // keeps the value
    EXPECT_TRUE(c.Find(k, value));
    EXPECT_EQ(value, &v1);
    c.AddValue(k, &v2);
    EXPECT_TRUE(c.Find(k, value));
    EXPECT_EQ(value, &v2);
  }
  EXPECT_EQ(Walk(c).size(), 2u);  // each key once

  TIndexContainer plain(101, false);
  TObject* value = &v1;
  plain.AddValue(primary, &v2);  // no values kept
  EXPECT_TRUE(plain.Find(primary, value));
  EXPECT_EQ(value, nullptr);
  EXPECT_TRUE(plain.Extract(primary, value));
  EXPECT_EQ(value, nullptr);
}

TEST_F(IndexContainerTest, DeleteOfAnAbsentKeyChangesNothing) {
  TIndexContainer c(101, true);
  auto [a, b] = CollidingPair(c);
  c.Add(a);
  EXPECT_FALSE(c.Delete(b));  // same bucket, not stored
  EXPECT_FALSE(c.Delete(FKeys[399].get() == a ? FKeys[398].get() : FKeys[399].get()));
  EXPECT_EQ(Walk(c), (std::vector<TObject*>{a}));
}

TEST_F(IndexContainerTest, IteratorSurvivesDeletionOfTheCurrentElement) {
  // Every key: plenty of collisions, promotions and overflow shifts.
  TIndexContainer c(101, true);
  std::map<TObject*, int> visits;
  for (auto& k : FKeys) c.AddValue(k.get(), k.get());
  int step = 0;
  for (TIndexContainerIterator it(&c); !it.Eof(); it.Next()) {
    ++visits[it.Index()];
    EXPECT_EQ(it.Value(), it.Index());
    if (step++ % 3 != 1) {
      EXPECT_TRUE(c.Delete(it.Index()));
    }
  }
  EXPECT_EQ(visits.size(), FKeys.size());
  for (auto& [key, n] : visits) EXPECT_EQ(n, 1);
  // What was not deleted is still there and found.
  for (TObject* k : Walk(c)) EXPECT_TRUE(c.Contains(k));
  EXPECT_EQ(Walk(c).size(), FKeys.size() - (FKeys.size() * 2 + 2) / 3);
}

TEST_F(IndexContainerTest, RandomOperationsMatchAMap) {
  TIndexContainer c(101, true);
  std::map<TObject*, TObject*> model;
  std::mt19937 random(12345);
  std::vector<std::unique_ptr<TKey>> values(8);
  for (auto& v : values) v = std::make_unique<TKey>();
  for (int round = 0; round < 5000; ++round) {
    TKey* key = FKeys[random() % 150].get();  // 150 keys in 101 buckets
    TObject* value = values[random() % values.size()].get();
    TObject* got = nullptr;
    switch (random() % 4) {
      case 0:
        c.Add(key);
        model.emplace(key, nullptr);
        break;
      case 1:
        c.AddValue(key, value);
        model[key] = value;
        break;
      case 2: {
        bool present = model.count(key) != 0;
        ASSERT_EQ(c.Extract(key, got), present);
        ASSERT_EQ(got, present ? model[key] : nullptr);
        model.erase(key);
        break;
      }
      default:
        if (random() % 50 == 0) {
          c.Clear();
          model.clear();
        }
    }
    ASSERT_EQ(c.IsEmpty(), model.empty());
    ASSERT_EQ(c.Find(key, got), model.count(key) != 0);
  }
  std::map<TObject*, int> seen;
  for (TIndexContainerIterator it(&c); !it.Eof(); it.Next()) {
    ASSERT_EQ(model.at(it.Index()), it.Value());
    ++seen[it.Index()];
  }
  EXPECT_EQ(seen.size(), model.size());
}

TEST_F(IndexContainerTest, ClearLeavesValuesAliveAndClearAndFreeValuesDestroysEachOnce) {
  int destroyed = 0;
  TIndexContainer c(101, true);
  auto [a, b] = CollidingPair(c);
  auto* v1 = new TCountedValue(&destroyed);
  auto* v2 = new TCountedValue(&destroyed);
  c.AddValue(a, v1);
  c.AddValue(b, v2);  // in the overflow list
  c.AddValue(FKeys[0].get() == a || FKeys[0].get() == b ? FKeys[1].get() : FKeys[0].get(), v1);
  c.Add(FKeys[2].get() == a || FKeys[2].get() == b ? FKeys[3].get() : FKeys[2].get());  // nil value
  c.ClearAndFreeValues();
  EXPECT_EQ(destroyed, 2);  // v1 is stored twice but destroyed once
  EXPECT_TRUE(c.IsEmpty());

  TCountedValue kept(&destroyed);
  c.AddValue(a, &kept);
  c.Clear();
  EXPECT_EQ(destroyed, 2);
  EXPECT_TRUE(c.IsEmpty());

  TIndexContainer plain(101, false);
  plain.Add(a);
  plain.ClearAndFreeValues();
  EXPECT_TRUE(plain.IsEmpty());
}

}  // namespace
}  // namespace dataframework
