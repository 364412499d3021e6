// The value record, dispatch, helpers, registry and process-wide instances.

#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

#include "dataframework/types/DataType.h"
#include "platform/Errors.h"

namespace dataframework {
namespace {

TEST(ValueRecord, StaysSmallAndNonTextKindsShareNothing) {
  static_assert(sizeof(TValue) <= 24);
  TValue a = IntegerValue(7);
  EXPECT_TRUE(a.Text.empty());
  TValue b = a;  // a copy of a non-text value holds no text handle
  EXPECT_TRUE(b.Text.empty());
  EXPECT_EQ(ValueAsInteger(b), 7);
}

TEST(ValueRecord, TextIsSharedBetweenCopiesAndSurvivesTheOriginal) {
  TValue copy;
  {
    TValue original = StringValue(std::string(100, 'x'));
    copy = original;
    EXPECT_EQ(&copy.Text.str(), &original.Text.str());
  }
  EXPECT_EQ(copy.Text.str(), std::string(100, 'x'));
  copy = copy;  // self-assignment keeps the text
  EXPECT_EQ(copy.Text.size(), 100u);
}

TEST(ValueRecord, RefillingAValueNeverChangesItsCopies) {
  TValue a = StringValue("hello");
  const TValue b = a;
  MemoType()->StringToValue("x", a);  // a shares its block with b: a new block
  EXPECT_EQ(b.Text.str(), "hello");
  EXPECT_EQ(a.Text.str(), "x");
  TValue c = StringValue("abcdef");
  StringType(3, true)->StringToValue(c.Text, c);  // the text is the value's own
  EXPECT_EQ(c.Text.str(), "abc");
  MemoType()->StringToValue("", c);
  EXPECT_TRUE(c.Text.empty());
}

TEST(ValueRecord, UninitialisedValueRaisesInsteadOfCrashing) {
  TValue none;
  EXPECT_THROW(ValueAsString(none), platform::Exception);
  EXPECT_THROW(IntegerType()->AsFloat(none), platform::Exception);
}

TEST(Dispatch, ForeignValuesGoToTheirOwnType) {
  // IntegerType.AsString of a string value answers the string's own text.
  EXPECT_EQ(IntegerType()->AsString(StringValue("abc")), "abc");
  EXPECT_EQ(BooleanType()->AsFloat(IntegerValue(5)), 5.0);
  EXPECT_EQ(DoubleType()->AsInteger(DoubleValue(2.5)), 3);
}

TEST(Dispatch, ConvertToTypeKeepsOwnAndNullTypeValues) {
  const TValue v = IntegerValue(3);
  EXPECT_EQ(ConvertToType(nullptr, v).DataType, v.DataType);
  EXPECT_EQ(ConvertToType(IntegerType(), v).DataType, IntegerType());
  const TValue d = ConvertToType(DoubleType(), v);
  EXPECT_EQ(d.DataType, DoubleType());
  EXPECT_EQ(ValueAsFloat(d), 3.0);
}

TEST(Helpers, MaxAndMinOfEqualValuesPickFirstAndSecond) {
  TValue a = IntegerValue(3);
  TValue b = IntegerValue(3);
  a.Data[7] = 1;  // bytes outside the value tell the two apart
  b.Data[7] = 2;
  EXPECT_EQ(MaxValue(IntegerType(), a, b).Data[7], 1);
  EXPECT_EQ(MinValue(IntegerType(), a, b).Data[7], 2);
  EXPECT_EQ(ValueAsInteger(MaxValue(IntegerType(), IntegerValue(1), IntegerValue(4))), 4);
  EXPECT_EQ(ValueAsInteger(MinValue(IntegerType(), IntegerValue(1), IntegerValue(4))), 1);
}

TEST(Helpers, RoundHalfAwayAndRoundToFactor) {
  struct Case {
    double x;
    int64_t expected;
  };
  for (const Case c : {Case{2.5, 3}, Case{-2.5, -3}, Case{2.4999, 2}, Case{-0.5, -1}, Case{0.0, 0},
                       Case{1e15 + 0.5, 1000000000000001}})
    EXPECT_EQ(RoundHalfAway(c.x), c.expected) << c.x;
  EXPECT_DOUBLE_EQ(RoundToFactor(100, 0.125), 0.13);
  EXPECT_DOUBLE_EQ(RoundToFactor(100, -0.125), -0.13);
  EXPECT_EQ(RoundToFactor(0, 0.123456), 0.123456);
  EXPECT_EQ(RoundToFactor(-5, 7.77), 7.77);
  EXPECT_THROW(RoundHalfAway(1e300), platform::Exception);
  EXPECT_THROW(RoundHalfAway(std::nan("")), platform::Exception);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
}

TEST(Helpers, PadText) {
  EXPECT_EQ(PadText("7", '0', 3, true), "007");
  EXPECT_EQ(PadText("7", '.', 3, false), "7..");
  EXPECT_EQ(PadText("12345", '0', 3, true), "12345");
}

TEST(Helpers, ValuesEqualSwallowsConversionErrors) {
  // Reading a date as a Boolean raises, comparing them does not.
  EXPECT_THROW(BooleanType()->Compare(BooleanValue(true), DateValue(2)), ETypeConversionError);
  EXPECT_FALSE(BooleanType()->ValuesEqual(BooleanValue(true), DateValue(2)));
  EXPECT_FALSE(BooleanType()->Equals(BooleanValue(true), DateValue(2)));
  EXPECT_TRUE(BooleanType()->ValuesEqual(BooleanValue(true), StringValue("T")));
}

TEST(StringTypeCache, OneObjectPerSizeAndCaseRule) {
  EXPECT_EQ(StringType(10, true), StringType(10, true));
  EXPECT_NE(StringType(10, true), StringType(10, false));
  EXPECT_EQ(StringType(10, false)->Size(), 10);
  EXPECT_FALSE(StringType(10, false)->CaseSensitive());
  EXPECT_EQ(StringValue("abc").DataType, StringType(3, true));
  EXPECT_EQ(StringValue("").DataType, StringType(0, true));
}

TEST(StringTypeCache, SizesAboveTheDirectRangeAreSearched) {
  // The case-insensitive list has seen no size above 1024 in this process.
  ASSERT_LE(StringTypeCacheLength(false), 1025u);
  const TStringType* first = StringType(2000, false);
  EXPECT_EQ(StringTypeCacheLength(false), 1026u);
  EXPECT_EQ(StringType(2000, false), first);
  EXPECT_EQ(StringTypeCacheLength(false), 1026u);
  EXPECT_EQ(first->Size(), 2000);
  EXPECT_NE(StringType(3000, false), first);
  EXPECT_EQ(StringTypeCacheLength(false), 1027u);
}

TEST(StringTypeCache, SizesNoLengthPrefixCanCountAreRefused) {
  EXPECT_THROW(StringType(-1, true), platform::Exception);
  EXPECT_THROW(StringType(65536, true), platform::Exception);
  EXPECT_EQ(StringType(65535, true)->DataSize(), 65537);
  // Longer texts still make values, of the memo kind.
  const TValue v = StringValue(std::string(70000, 'a'));
  EXPECT_EQ(v.DataType, CaseSensitiveMemoType());
  EXPECT_EQ(v.Text.size(), 70000u);
}

TEST(ProcessWide, InstancesAndConstants) {
  EXPECT_EQ(EmptyStringValue().DataType, StringType(0, true));
  EXPECT_EQ(EmptyStringValue().Text.str(), "");
  EXPECT_EQ(TrueValue().DataType, BooleanType());
  EXPECT_TRUE(ValueAsBoolean(TrueValue()));
  EXPECT_EQ(ZeroValue().DataType, IntegerType());
  EXPECT_EQ(ValueAsInteger(ZeroValue()), 0);
  EXPECT_TRUE(MemoType() != CaseSensitiveMemoType());
  EXPECT_FALSE(MemoType()->CaseSensitive());
  EXPECT_TRUE(CaseSensitiveMemoType()->CaseSensitive());
}

TEST(Factory, EveryClassIsRegisteredOnce) {
  const std::vector<std::string> names = DataTypeFactory().ClassNames();
  for (const char* name : {"TBooleanType", "TCurrencyType", "TDateTimeType", "TDateType",
                           "TDoubleType", "TIntegerType", "TMemoType", "TObjectType",
                           "TPercentType", "TPointerType", "TStringType", "TTimeType"})
    EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
  ASSERT_NE(DataTypeFactory().FindClass("TIntegerType"), nullptr);
  EXPECT_EQ(DataTypeFactory().FindClass("TIntegerType")->CreateFromParams({}), IntegerType());
  EXPECT_EQ(DataTypeFactory().FindClass("TNoSuchType"), nullptr);
}

TEST(Factory, ParamsRoundTripThroughTheClass) {
  for (const TDataType* type :
       {static_cast<const TDataType*>(StringType(20, false)),
        static_cast<const TDataType*>(MemoType()),
        static_cast<const TDataType*>(CaseSensitiveMemoType()),
        static_cast<const TDataType*>(IntegerType()), static_cast<const TDataType*>(DateType()),
        static_cast<const TDataType*>(PercentType()),
        static_cast<const TDataType*>(ObjectType())}) {
    TParams params;
    type->WriteParams(params);
    EXPECT_EQ(type->CreateFromParams(params), type) << type->TypeName();
  }
}

TEST(Arithmetic, UnsupportedOperationsNameClassAndOperation) {
  const struct {
    const TDataType* type;
    void (TDataType::*op)(const TValue&, const TValue&, TValue&) const;
    const char* message;
  } cases[] = {
      {BooleanType(), &TDataType::Sum, "TBooleanType.Sum: Operation not supported!"},
      {BooleanType(), &TDataType::Product, "TBooleanType.Product: Operation not supported!"},
      {BooleanType(), &TDataType::Quota, "TBooleanType.Quota: Operation not supported!"},
      {StringType(5, true), &TDataType::Difference,
       "TStringType.Difference: Operation not supported!"},
      {StringType(5, true), &TDataType::Product, "TStringType.Product: Operation not supported!"},
      {MemoType(), &TDataType::Quota, "TMemoType.Quota: Operation not supported!"},
      {MemoType(), &TDataType::Difference, "TStringType.Difference: Operation not supported!"},
      {DateTimeType(), &TDataType::Quota, "TDateTimeType.Quota: Operation not supported!"},
      {DateTimeType(), &TDataType::Product, "TDateTimeType.Product: Operation not supported!"},
      {PointerType(), &TDataType::Sum, "TPointerType.Sum: Operation not supported!"},
      {ObjectType(), &TDataType::Quota, "TPointerType.Quota: Operation not supported!"},
  };
  for (const auto& c : cases) {
    TValue r;
    try {
      (c.type->*c.op)(IntegerValue(1), IntegerValue(2), r);
      ADD_FAILURE() << c.message << " not raised";
    } catch (const platform::Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

}  // namespace
}  // namespace dataframework
