// The data framework's error routine, assertions, progress record and the
// pseudo-random generator.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/Assert.h"
#include "platform/DataError.h"
#include "platform/Errors.h"
#include "platform/Interruptable.h"
#include "platform/Random.h"

namespace platform {
namespace {

TEST(DataErrorTest, HookSeesEveryCallBeforeAFatalErrorIsRaised) {
  TDataErrorCapture capture;
  DataError(esWarning, "Duplicates", "field twice");
  try {
    DataError(esFatal, "SetAuxTable", "no table");
    FAIL() << "fatal returned";
  } catch (const Exception& e) {
    EXPECT_EQ(typeid(e), typeid(Exception));  // the general class, not a subclass
    EXPECT_EQ(e.Message(), "no table");       // the context is not part of the text
  }
  ASSERT_EQ(capture.Entries().size(), 2u);
  EXPECT_EQ(capture.Entries()[1].Severity, esFatal);
  EXPECT_EQ(capture.Entries()[1].Context, "SetAuxTable");
  const auto warnings = capture.Warnings();
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].Context, "Duplicates");
  EXPECT_EQ(warnings[0].Message, "field twice");
}

TEST(DataErrorTest, WithoutAHookWarningsReturnAndFatalsRaise) {
  ASSERT_FALSE(DataErrorHook);
  EXPECT_NO_THROW(DataError(esWarning, "Context", "text"));
  EXPECT_THROW(DataError(esFatal, "Context", "text"), Exception);
}

TEST(DataErrorTest, CapturesNestAndRestoreThePreviousHook) {
  std::vector<std::string> host;
  DataErrorHook = [&host](TErrorSeverity, const std::string&, const std::string& Message) {
    host.push_back(Message);
  };
  {
    TDataErrorCapture outer;
    {
      TDataErrorCapture inner;
      DataError(esWarning, "c", "inner");
      EXPECT_EQ(inner.Entries().size(), 1u);
    }
    DataError(esWarning, "c", "outer");
    ASSERT_EQ(outer.Entries().size(), 1u);
    EXPECT_EQ(outer.Entries()[0].Message, "outer");
  }
  DataError(esWarning, "c", "host");
  EXPECT_EQ(host, std::vector<std::string>{"host"});
  DataErrorHook = nullptr;
}

TEST(AssertTest, FailureCarriesTheTextAndTheIndexInDecimal) {
  struct Case {
    std::int64_t Index;
    const char* Expected;
  };
  const Case cases[] = {{5, "TList.Get: out of range, idx: 5"},
                        {-1, "TList.Get: out of range, idx: -1"},
                        {1234567890123, "TList.Get: out of range, idx: 1234567890123"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Expected);
    try {
      Assert(false, "TList.Get: out of range, idx: ", c.Index);
      FAIL() << "no failure";
    } catch (const EAssertionFailed& e) {
      EXPECT_EQ(e.Message(), c.Expected);
    }
  }
  try {
    Assert(1 + 1 == 3, "TIndexContainer.Add: nil is not allowed as Index!");
    FAIL() << "no failure";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "TIndexContainer.Add: nil is not allowed as Index!");
  }
  EXPECT_NO_THROW(Assert(true, "never"));
  EXPECT_NO_THROW(Assert(true, "never", 1));
}

TEST(InterruptableTest, StartsWithTheDocumentedValues) {
  TInterruptable progress;
  EXPECT_EQ(progress.CheckInterval, 10);
  for (int kind = 0; kind < TInterruptable::CounterKindCount; ++kind) {
    EXPECT_EQ(progress.Counter(kind), 0);
    EXPECT_EQ(progress.Limits[kind], 0);
  }
  for (std::int32_t word : progress.Reserved) EXPECT_EQ(word, 0);
  EXPECT_FALSE(progress.Interrupted);
  EXPECT_EQ(progress.WakeEvent, nullptr);
}

TEST(InterruptableTest, CountersAndInterruptionWithAndWithoutARecord) {
  TInterruptable progress;
  progress.Counters[3] = 42;
  EXPECT_EQ(TInterruptable::Counter(&progress, 3), 42);
  EXPECT_EQ(TInterruptable::Counter(nullptr, 3), 0);
  EXPECT_THROW(progress.Counter(6), EAssertionFailed);
  EXPECT_THROW(progress.Counter(-1), EAssertionFailed);

  TInterruptable::SetInterrupted(nullptr, true);  // nothing to do, no crash
  progress.SetInterrupted(true);                  // no event: only the flag
  EXPECT_TRUE(progress.Interrupted);
  progress.WakeEvent = std::make_unique<TEvent>();
  TInterruptable::SetInterrupted(&progress, true);
  EXPECT_TRUE(progress.WakeEvent->IsSet());
  progress.SetInterrupted(false);
  EXPECT_FALSE(progress.Interrupted);
  EXPECT_FALSE(progress.WakeEvent->IsSet());
}

TEST(RandomTest, ASeedReplaysTheSameSequence) {
  SetRandSeed(20240611);
  std::vector<int> first;
  for (int i = 0; i < 50; ++i) first.push_back(Random(1000));
  EXPECT_NE(RandSeed(), 20240611u);  // drawing advances the seed
  SetRandSeed(20240611);
  std::vector<int> again;
  for (int i = 0; i < 50; ++i) again.push_back(Random(1000));
  EXPECT_EQ(first, again);
  SetRandSeed(20240612);
  std::vector<int> other;
  for (int i = 0; i < 50; ++i) other.push_back(Random(1000));
  EXPECT_NE(first, other);
}

TEST(RandomTest, DrawsStayInRangeAndCoverItEvenly) {
  struct Case {
    std::int32_t Range;
    int Draws;
  };
  const Case cases[] = {{1, 100}, {2, 20000}, {7, 70000}, {1000, 200000}};
  SetRandSeed(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Range);
    std::map<int, int> counts;
    for (int i = 0; i < c.Draws; ++i) {
      const int r = Random(c.Range);
      ASSERT_GE(r, 0);
      ASSERT_LT(r, c.Range);
      ++counts[r];
    }
    EXPECT_EQ(static_cast<int>(counts.size()), c.Range);
    const double expected = static_cast<double>(c.Draws) / c.Range;
    for (const auto& [value, count] : counts) {
      EXPECT_NEAR(count, expected, expected * 0.5) << "value " << value;
    }
  }
  const std::uint32_t seed = RandSeed();
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
  EXPECT_EQ(RandSeed(), seed);
  EXPECT_GE(Random(2147483647), 0);
  const double f = RandomFloat();
  EXPECT_GE(f, 0.0);
  EXPECT_LT(f, 1.0);
}

}  // namespace
}  // namespace platform
