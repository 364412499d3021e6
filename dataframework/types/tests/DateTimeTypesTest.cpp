// The date-time, date and time types.

#include <gtest/gtest.h>

#include <cmath>

#include "dataframework/types/DataType.h"
#include "platform/DateTime.h"
#include "platform/FormatSettings.h"
#include "testsupport/TestSettings.h"

namespace dataframework {
namespace {

using platform::testing::PointSettings;

class DateTimeTypes : public ::testing::Test {
 protected:
  platform::TFormatSettingsScope FLocale{PointSettings()};
  const double FJan2 = platform::EncodeDate(2003, 1, 2);
  const double FAt102030 = platform::EncodeTime(10, 20, 30, 0);
};

TValue Make(const TDateTimeType* type, double x) {
  TValue v;
  type->DateTimeToValue(x, v);
  return v;
}

TEST_F(DateTimeTypes, Descriptions) {
  const struct {
    const TDateTimeType* type;
    const char* name;
    const char* sql;
    int width;
    bool numeric;
  } cases[] = {{DateTimeType(), "DateTime", "datetime", 20, false},
               {DateType(), "Date", "datetime", 10, false},
               {TimeType(), "Time", "float", 10, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.type->TypeName(), c.name);
    EXPECT_EQ(c.type->SqlTypeName(), c.sql) << c.name;
    EXPECT_EQ(c.type->DisplayWidth(), c.width) << c.name;
    EXPECT_EQ(c.type->DataSize(), 8);
    EXPECT_EQ(c.type->IsNumeric(), c.numeric) << c.name;
    EXPECT_EQ(c.type->IsAggregable(), c.numeric) << c.name;
    EXPECT_EQ(c.type->Alignment(), taRightJustify);
    EXPECT_EQ(c.type->CreateFromParams({}), c.type);
    EXPECT_TRUE(c.type->IsComplexValue(Make(c.type, 1)));
  }
}

TEST_F(DateTimeTypes, DateCutsTheTimeOfDay) {
  EXPECT_EQ(ValueAsDateTime(Make(DateType(), 37622.75)), 37622.0);
  EXPECT_EQ(ValueAsDateTime(Make(DateTimeType(), 37622.75)), 37622.75);
  EXPECT_EQ(ValueAsDateTime(DateValue(-3.5)), -3.0);  // toward zero
  TValue r;
  DateType()->Sum(Make(DateType(), 37622), Make(DateTimeType(), 1.75), r);
  EXPECT_EQ(ValueAsDateTime(r), 37623.0);
  DateTimeType()->Difference(Make(DateTimeType(), 2.5), Make(DateTimeType(), 0.25), r);
  EXPECT_EQ(ValueAsDateTime(r), 2.25);
  DateTimeType()->Negate(Make(DateTimeType(), 2.5), r);
  EXPECT_EQ(ValueAsDateTime(r), -2.5);
}

TEST_F(DateTimeTypes, DefaultsAndEmptiness) {
  TValue a, b;
  TimeType()->DefaultValue(a);
  EXPECT_EQ(ValueAsDateTime(a), 0.0);
  DateType()->DefaultValue(a);
  DateType()->DefaultValue(b);
  EXPECT_EQ(ValueAsDateTime(a), std::trunc(ValueAsDateTime(a)));
  EXPECT_NEAR(ValueAsDateTime(a), platform::Today(), 1.0);
  DateTimeType()->DefaultValue(a);
  EXPECT_NEAR(ValueAsDateTime(a), platform::Now(), 1.0 / 24);
  EXPECT_TRUE(DateTimeType()->IsEmpty(Make(DateTimeType(), 0.0)));
  EXPECT_FALSE(DateTimeType()->IsEmpty(Make(DateTimeType(), 0.5)));
}

TEST_F(DateTimeTypes, TextOfValues) {
  EXPECT_EQ(ValueAsString(Make(DateTimeType(), FJan2 + FAt102030)), "02.01.2003 10:20:30");
  EXPECT_EQ(ValueAsString(Make(DateTimeType(), FJan2)), "02.01.2003");
  EXPECT_EQ(ValueAsString(Make(DateType(), FJan2 + FAt102030)), "02.01.2003");
  EXPECT_EQ(ValueAsString(Make(TimeType(), FJan2 + FAt102030)), "10:20:30");
  TValue r;
  DateType()->FormatValue(Make(DateType(), FJan2), TValueFormat{}, r);
  EXPECT_EQ(r.DataType, MemoType());
  EXPECT_EQ(ValueAsString(r), "02.01.2003");
}

TEST_F(DateTimeTypes, TextReaders) {
  EXPECT_EQ(DateTimeType()->StringToDateTime("   "), 0.0);
  EXPECT_EQ(TimeType()->StringToDateTime(""), 0.0);
  EXPECT_THROW(DateType()->StringToDateTime("   "), platform::EConvertError);
  EXPECT_EQ(DateType()->StringToDateTime(" 02.01.2003 "), FJan2);
  EXPECT_DOUBLE_EQ(DateTimeType()->StringToDateTime("02.01.2003 10:20:30"), FJan2 + FAt102030);
  EXPECT_DOUBLE_EQ(TimeType()->StringToDateTime("10:20:30"), FAt102030);
  EXPECT_THROW(TimeType()->StringToDateTime("25:00"), platform::EConvertError);
  // Text values read through the matching type.
  EXPECT_EQ(ValueAsDate(StringValue("02.01.2003")), FJan2);
  EXPECT_DOUBLE_EQ(ValueAsTime(StringValue("10:20:30")), FAt102030);
}

TEST_F(DateTimeTypes, ParseValueRaisesOnUnreadableText) {
  TValue r;
  EXPECT_TRUE(DateType()->ParseValue("02.01.2003", r, TValueFormat{}));
  EXPECT_EQ(r.DataType, DateType());
  EXPECT_EQ(ValueAsDateTime(r), FJan2);
  EXPECT_TRUE(DateTimeType()->ParseValue("", r, TValueFormat{}));
  EXPECT_EQ(ValueAsDateTime(r), 0.0);
  EXPECT_THROW(DateType()->ParseValue("31.02.2003", r, TValueFormat{}), platform::EConvertError);
  EXPECT_THROW(DateTimeType()->ParseValue("abc", r, TValueFormat{}), platform::EConvertError);
  EXPECT_THROW(TimeType()->ParseValue("\x80\xff", r, TValueFormat{}), platform::EConvertError);
}

TEST_F(DateTimeTypes, SqlLiterals) {
  EXPECT_EQ(DateType()->SqlValue(Make(DateType(), FJan2)), "'2003-01-02'");
  EXPECT_EQ(DateTimeType()->SqlValue(Make(DateTimeType(), FJan2 + FAt102030)),
            "'2003-01-02 10:20:30.0000'");
  const double ms123 = platform::EncodeTime(10, 20, 30, 123);
  EXPECT_EQ(DateTimeType()->SqlValue(Make(DateTimeType(), FJan2 + ms123)),
            "'2003-01-02 10:20:30.0123'");
  EXPECT_EQ(TimeType()->SqlValue(Make(TimeType(), 0.5)), "0.5");
  // A value that is not a date falls back to its quoted text.
  EXPECT_EQ(DateType()->SqlValue(StringValue("n'a")), "'n''a'");
  EXPECT_EQ(DateTimeType()->SqlValue(StringValue("abc")), "'abc'");
  platform::TFormatSettings comma = PointSettings();
  comma.DecimalSeparator = ',';
  platform::TFormatSettingsScope scope(comma);
  // A statement must not read the decimal comma as a list separator.
  EXPECT_EQ(TimeType()->SqlValue(Make(TimeType(), 0.5)), "0.5");
}

TEST_F(DateTimeTypes, ConversionsAndCompare) {
  EXPECT_EQ(DateTimeType()->Compare(Make(DateTimeType(), 5.5), Make(DateTimeType(), 5.5)), 0);
  EXPECT_EQ(DateTimeType()->Compare(Make(DateTimeType(), 5.5), IntegerValue(5)), 1);
  EXPECT_EQ(ValueAsInteger(Make(DateTimeType(), 37622.5)), 37623);
  EXPECT_EQ(ValueAsFloat(Make(DateTimeType(), 1.25)), 1.25);
  try {
    ValueAsBoolean(Make(DateTimeType(), 1));
    ADD_FAILURE();
  } catch (const ETypeConversionError& e) {
    EXPECT_EQ(e.Message(), "Cannot convert DateTime to Boolean!");
  }
  try {
    ValueAsObject(Make(DateType(), 1));
    ADD_FAILURE();
  } catch (const ETypeConversionError& e) {
    EXPECT_EQ(e.Message(), "Cannot convert DateTime to Pointer!");
  }
  TValue r;
  TimeType()->ConvertValue(DoubleValue(0.25), r);
  EXPECT_EQ(r.DataType, TimeType());
  EXPECT_EQ(ValueAsTime(r), 0.25);
  EXPECT_EQ(TimeType()->InvalidValueMessage("x"), "The given value 'x' is not a valid time!");
  EXPECT_EQ(DateType()->InvalidValueMessage("x"), "The given value 'x' is not a valid date!");
}

TEST_F(DateTimeTypes, RowBufferCellsCutByTheType) {
  unsigned char cell[8];
  TValue r;
  DateType()->WriteBuffer(cell, Make(DateTimeType(), 37622.75), 0, nullptr, nullptr);
  DateType()->ReadBuffer(cell, 0, r, nullptr, nullptr);
  EXPECT_EQ(r.DataType, DateType());
  EXPECT_EQ(ValueAsDateTime(r), 37622.0);
  DateTimeType()->WriteBuffer(cell, Make(DateTimeType(), 37622.75), 0, nullptr, nullptr);
  DateTimeType()->ReadBuffer(cell, 0, r, nullptr, nullptr);
  EXPECT_EQ(ValueAsDateTime(r), 37622.75);
}

}  // namespace
}  // namespace dataframework
