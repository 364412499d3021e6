// The integer, double, currency and percent types.

#include <gtest/gtest.h>

#include <climits>

#include "dataframework/types/DataType.h"
#include "dataframework/types/DataTypes.h"
#include "platform/Errors.h"
#include "platform/FormatSettings.h"
#include "platform/NumberText.h"

namespace dataframework {
namespace {

platform::TFormatSettings PointDecimals() {
  platform::TFormatSettings s;
  s.DecimalSeparator = '.';
  s.ThousandSeparator = ',';
  return s;
}

platform::TFormatSettings CommaDecimals() {
  platform::TFormatSettings s;
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  return s;
}

class NumericTypes : public ::testing::Test {
 protected:
  platform::TFormatSettingsScope FLocale{PointDecimals()};
};

TValueFormat Format(long double scale, int inputDecimals, int roundFactor,
                    const std::string& mask = "", bool editMode = false) {
  TValueFormat f;
  f.Scale = scale;
  f.InputDecimals = inputDecimals;
  f.RoundFactor = roundFactor;
  f.Mask = mask;
  f.EditMode = editMode;
  return f;
}

std::string ConversionMessage(const std::function<void()>& call) {
  try {
    call();
  } catch (const ETypeConversionError& e) {
    return e.Message();
  }
  return "(nothing raised)";
}

TEST_F(NumericTypes, Descriptions) {
  const struct {
    const TDataType* type;
    const char* name;
    const char* sql;
    int size, width, decimals;
    bool aggregable, complex;
  } cases[] = {
      {IntegerType(), "Integer", "int", 4, 12, 0, true, false},
      {DoubleType(), "Float", "float", 8, 16, 1, true, true},
      {CurrencyType(), "Currency", "money", 8, 16, 2, true, true},
      {PercentType(), "Percent", "float", 8, 10, 1, false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.type->TypeName(), c.name);
    EXPECT_EQ(c.type->SqlTypeName(), c.sql) << c.name;
    EXPECT_EQ(c.type->DataSize(), c.size) << c.name;
    EXPECT_EQ(c.type->DisplayWidth(), c.width) << c.name;
    EXPECT_EQ(c.type->DefaultDecimals(), c.decimals) << c.name;
    EXPECT_EQ(c.type->IsAggregable(), c.aggregable) << c.name;
    EXPECT_EQ(c.type->IsComplexValue(ZeroValue()), c.complex) << c.name;
    EXPECT_TRUE(c.type->IsNumeric());
    EXPECT_EQ(c.type->Alignment(), taRightJustify);
    EXPECT_EQ(c.type->CreateFromParams({}), c.type);
  }
}

TEST_F(NumericTypes, TextOfNumbers) {
  EXPECT_EQ(ValueAsString(IntegerValue(7)), "7");
  EXPECT_EQ(ValueAsString(IntegerValue(INT_MIN)), "-2147483648");
  EXPECT_EQ(ValueAsString(DoubleValue(2.5)), "2.5");
  EXPECT_EQ(ValueAsString(CurrencyValue(15000)), "1.5");
  EXPECT_EQ(ValueAsString(PercentValue(0.25)), "0.25");
  EXPECT_EQ(IntegerType()->SqlValue(IntegerValue(-3)), "-3");
  EXPECT_EQ(PercentType()->SqlValue(PercentValue(0.5)), "0.5");
  platform::TFormatSettingsScope comma(CommaDecimals());
  EXPECT_EQ(ValueAsString(DoubleValue(2.5)), "2,5");
  EXPECT_EQ(ValueAsString(CurrencyValue(-12345)), "-1,2345");
  // Database literals keep the decimal point in every locale.
  EXPECT_EQ(DoubleType()->SqlValue(DoubleValue(2.5)), "2.5");
  EXPECT_EQ(CurrencyType()->SqlValue(CurrencyValue(-12345)), "-1.2345");
  EXPECT_EQ(PercentType()->SqlValue(PercentValue(0.125)), "0.125");
  EXPECT_EQ(DoubleType()->SqlValue(DoubleValue(1.5e20)), "1.5E20");
  EXPECT_EQ(IntegerType()->SqlValue(IntegerValue(-7)), "-7");
  EXPECT_EQ(DoubleType()->SqlValue(StringValue("a,b")), "a,b");  // texts are left alone
}

TEST_F(NumericTypes, TextReaders) {
  EXPECT_EQ(IntegerType()->StringToInteger("   "), 0);
  EXPECT_EQ(IntegerType()->StringToInteger(" -12 "), -12);
  EXPECT_THROW(IntegerType()->StringToInteger("1.5"), platform::EConvertError);
  EXPECT_THROW(IntegerType()->StringToInteger("99999999999"), platform::EConvertError);
  EXPECT_EQ(DoubleType()->StringToDouble(""), 0.0);
  EXPECT_EQ(DoubleType()->StringToDouble(" 1.25e2 "), 125.0);
  EXPECT_THROW(DoubleType()->StringToDouble("1,000"), platform::EConvertError);
  EXPECT_EQ(CurrencyType()->StringToCurrency("1.23456"), 12346);
  EXPECT_EQ(CurrencyType()->StringToCurrency("  "), 0);
  EXPECT_EQ(PercentType()->StringToPercent("25 %"), 25.0);
  EXPECT_EQ(PercentType()->StringToPercent(" %"), 0.0);
  EXPECT_EQ(PercentType()->StringToPercent(""), 0.0);
  EXPECT_THROW(PercentType()->StringToPercent("25% "), platform::EConvertError);
}

TEST_F(NumericTypes, ConversionsBetweenKinds) {
  EXPECT_EQ(ValueAsCurrency(PercentValue(0.125)), 1250);
  EXPECT_EQ(ValueAsCurrency(IntegerValue(3)), 30000);
  EXPECT_EQ(ValueAsCurrency(DoubleValue(0.00005)), 0);  // ties to even
  EXPECT_EQ(ValueAsCurrency(DoubleValue(-0.00005)), 0);
  EXPECT_EQ(ValueAsCurrency(DoubleValue(0.00006)), 1);
  EXPECT_EQ(ValueAsInteger(CurrencyValue(25000)), 3);  // halves away from zero
  EXPECT_EQ(ValueAsPercent(CurrencyValue(2500)), 0.25);
  EXPECT_EQ(ValueAsDateTime(IntegerValue(37622)), 37622.0);
  EXPECT_TRUE(ValueAsBoolean(DoubleValue(0.1)));
  EXPECT_FALSE(ValueAsBoolean(CurrencyValue(0)));
  EXPECT_THROW(ValueAsInteger(DoubleValue(3e9)), platform::EConvertError);
  EXPECT_EQ(ConversionMessage([] { ValueAsInteger(PercentValue(0.5)); }),
            "Cannot convert Percent to Integer!");
  EXPECT_EQ(ConversionMessage([] { ValueAsBoolean(PercentValue(0.5)); }),
            "Cannot convert Percent to Boolean!");
  EXPECT_EQ(ConversionMessage([] { ValueAsDateTime(CurrencyValue(1)); }),
            "Cannot convert Currency to DateTime!");
  EXPECT_EQ(ConversionMessage([] { ValueAsPointer(DoubleValue(1)); }),
            "Cannot convert Double to Pointer!");
  EXPECT_EQ(ConversionMessage([] { ValueAsPointer(PercentValue(1)); }),
            "Cannot convert Percent to Pointer!");
  TValue r;
  IntegerType()->ConvertValue(StringValue("7"), r);
  EXPECT_EQ(r.DataType, IntegerType());
  EXPECT_EQ(ValueAsInteger(r), 7);
}

TEST_F(NumericTypes, CompareAndSign) {
  EXPECT_LT(IntegerType()->Compare(IntegerValue(INT_MIN), IntegerValue(INT_MAX)), 0);
  EXPECT_GT(IntegerType()->Compare(IntegerValue(INT_MAX), IntegerValue(-1)), 0);
  EXPECT_EQ(DoubleType()->Compare(IntegerValue(2), DoubleValue(2.0)), 0);
  EXPECT_EQ(CurrencyType()->Compare(CurrencyValue(1), CurrencyValue(2)), -1);
  EXPECT_EQ(PercentType()->Compare(PercentValue(0.3), PercentValue(0.2)), 1);
  EXPECT_TRUE(IntegerType()->IsNegative(IntegerValue(-1)));
  EXPECT_FALSE(IntegerType()->IsNegative(IntegerValue(0)));
  EXPECT_FALSE(IntegerType()->IsNegative(StringValue("abc")));  // comparison raises
  EXPECT_TRUE(CurrencyType()->IsNegative(CurrencyValue(-1)));
}

TEST_F(NumericTypes, Arithmetic) {
  TValue r;
  IntegerType()->Quota(IntegerValue(-7), IntegerValue(2), r);
  EXPECT_EQ(ValueAsInteger(r), -3);
  EXPECT_THROW(IntegerType()->Quota(IntegerValue(7), IntegerValue(0), r), platform::EDivByZero);
  IntegerType()->Quota(IntegerValue(INT_MIN), IntegerValue(-1), r);  // wraps, no trap
  EXPECT_EQ(ValueAsInteger(r), INT_MIN);
  IntegerType()->Sum(IntegerValue(INT_MAX), IntegerValue(1), r);
  EXPECT_EQ(ValueAsInteger(r), INT_MIN);
  IntegerType()->Product(DoubleValue(2.5), IntegerValue(4), r);  // operands read as integers
  EXPECT_EQ(ValueAsInteger(r), 12);

  DoubleType()->Quota(DoubleValue(1.0), DoubleValue(0.0), r);
  EXPECT_EQ(ValueAsFloat(r), 0.0);
  DoubleType()->Quota(DoubleValue(1.0), StringValue("abc"), r);
  EXPECT_EQ(ValueAsFloat(r), 0.0);
  DoubleType()->Difference(DoubleValue(1.0), IntegerValue(3), r);
  EXPECT_EQ(r.DataType, DoubleType());
  EXPECT_EQ(ValueAsFloat(r), -2.0);

  CurrencyType()->Product(CurrencyValue(15000), CurrencyValue(25000), r);
  EXPECT_EQ(ValueAsCurrency(r), 37500);
  CurrencyType()->Product(CurrencyValue(1), CurrencyValue(5000), r);  // 0.5 counts: even
  EXPECT_EQ(ValueAsCurrency(r), 0);
  CurrencyType()->Quota(CurrencyValue(10000), CurrencyValue(0), r);
  EXPECT_EQ(ValueAsCurrency(r), 0);
  CurrencyType()->Quota(CurrencyValue(10000), CurrencyValue(30000), r);
  EXPECT_EQ(ValueAsCurrency(r), 3333);
  CurrencyType()->Negate(CurrencyValue(5), r);
  EXPECT_EQ(ValueAsCurrency(r), -5);

  PercentType()->Quota(PercentValue(0.5), PercentValue(0.25), r);
  EXPECT_EQ(ValueAsPercent(r), 2.0);
  EXPECT_THROW(PercentType()->Quota(PercentValue(0.5), PercentValue(0), r), platform::EZeroDivide);
  PercentType()->Sum(PercentValue(0.25), PercentValue(0.5), r);
  EXPECT_EQ(ValueAsPercent(r), 0.75);
}

TEST_F(NumericTypes, ParseWithCommaDecimalsAndGrouping) {
  platform::TFormatSettingsScope comma(CommaDecimals());
  TValue r;
  EXPECT_TRUE(DoubleType()->ParseValue("1 234,5", r, Format(1, 0, 10)));
  EXPECT_EQ(r.DataType, DoubleType());
  EXPECT_DOUBLE_EQ(ValueAsFloat(r), 1234.5);
  EXPECT_TRUE(DoubleType()->ParseValue("1.234,56", r, Format(1, 0, 10)));
  EXPECT_DOUBLE_EQ(ValueAsFloat(r), 1234.6);
  EXPECT_TRUE(IntegerType()->ParseValue("2,6", r, Format(1000, -1, 0)));
  EXPECT_EQ(ValueAsInteger(r), 2600);
  EXPECT_TRUE(IntegerType()->ParseValue("2,5", r, Format(1000, -1, 0)));
  EXPECT_EQ(ValueAsInteger(r), 2500);
  EXPECT_TRUE(IntegerType()->ParseValue("0,0025", r, Format(1000, -1, 0)));
  EXPECT_EQ(ValueAsInteger(r), 3);
  EXPECT_TRUE(PercentType()->ParseValue("12,5 %", r, Format(1, -1, 0)));
  EXPECT_DOUBLE_EQ(ValueAsPercent(r), 0.125);
  EXPECT_TRUE(CurrencyType()->ParseValue("1.000,125", r, Format(1, 0, 100)));
  EXPECT_EQ(ValueAsCurrency(r), 10001300);
}

TEST_F(NumericTypes, ParseKeepsWholeDigitsAndRoundsOnlyTheFraction) {
  TValue r;
  EXPECT_TRUE(DoubleType()->ParseValue("123456789012.346", r, Format(1, 2, 100)));
  EXPECT_DOUBLE_EQ(ValueAsFloat(r), 123456789012.35);
  EXPECT_TRUE(DoubleType()->ParseValue("-2.125", r, Format(1, 2, 100)));
  EXPECT_DOUBLE_EQ(ValueAsFloat(r), -2.13);
  EXPECT_TRUE(DoubleType()->ParseValue("2.125", r, Format(1, -1, 100)));  // no input decimals
  EXPECT_DOUBLE_EQ(ValueAsFloat(r), 2.125);
}

TEST_F(NumericTypes, ParseReadsLikeThePlatformReaders) {
  // Plain decimals take a shorter road; it must end where the platform's does.
  for (const auto& settings : {PointDecimals(), CommaDecimals()}) {
    platform::TFormatSettingsScope scope(settings);
    const char sep = settings.DecimalSeparator;
    for (std::string text :
         {"0", "-0", "12", "-12_5", "0_1", "123456789012345_6789", "99999999999999_9999",
          "-99999999999999_9999", "1_23456", "100000000000000", "12345678901234567", "00012_50",
          "7_", "_5", "-", "1e3"}) {
      std::replace(text.begin(), text.end(), '_', sep);
      TValue r;
      double x = 0;
      const bool doubleOk = platform::TryStrToFloat(text, x);
      EXPECT_EQ(DoubleType()->ParseValue(text, r, Format(1, -1, 0)), doubleOk) << text;
      if (doubleOk) {
        EXPECT_EQ(ValueAsFloat(r), x) << text;
      }
      int64_t count = 0;
      const bool currencyOk = platform::TryStrToCurr(text, count);
      EXPECT_EQ(CurrencyType()->ParseValue(text, r, Format(1, -1, 0)), currencyOk) << text;
      if (currencyOk) {
        EXPECT_EQ(ValueAsCurrency(r), count) << text;
      }
    }
  }
}

TEST_F(NumericTypes, ParseRejectsBadInputWithTheRawText) {
  for (const TDataType* type :
       {static_cast<const TDataType*>(IntegerType()), static_cast<const TDataType*>(DoubleType()),
        static_cast<const TDataType*>(CurrencyType()),
        static_cast<const TDataType*>(PercentType())}) {
    for (const char* input : {"abc", "1e999", "--1", "1.2.3", "\xff\x01"}) {
      TValue r;
      EXPECT_FALSE(type->ParseValue(input, r, Format(1, -1, 0))) << type->TypeName() << input;
      EXPECT_EQ(r.DataType, MemoType());
      EXPECT_EQ(ValueAsString(r), input);
    }
  }
  TValue r;
  // An integer beyond 32 bits is refused instead of being cut.
  EXPECT_FALSE(IntegerType()->ParseValue("3000000000", r, Format(1, -1, 0)));
  EXPECT_FALSE(IntegerType()->ParseValue("3", r, Format(1e18L, -1, 0)));
  EXPECT_TRUE(IntegerType()->ParseValue("-2147483648", r, Format(1, -1, 0)));
  EXPECT_EQ(ValueAsInteger(r), INT_MIN);
}

TEST_F(NumericTypes, FormatIntegerScalesHalvesAwayFromZero) {
  TValue r;
  IntegerType()->FormatValue(IntegerValue(2500), Format(1000, -1, 0), r);
  EXPECT_EQ(ValueAsString(r), "3");
  IntegerType()->FormatValue(IntegerValue(-2500), Format(1000, -1, 0), r);
  EXPECT_EQ(ValueAsString(r), "-3");
  IntegerType()->FormatValue(IntegerValue(1234567), Format(1, -1, 0, "#,##0"), r);
  EXPECT_EQ(ValueAsString(r), "1234567");  // the mask is not used
  IntegerType()->FormatValue(IntegerValue(INT_MAX), Format(0.001L, -1, 0), r);
  EXPECT_EQ(ValueAsString(r), "2147483647000");
  EXPECT_THROW(IntegerType()->FormatValue(IntegerValue(1), Format(0, -1, 0), r),
               platform::EZeroDivide);
}

TEST_F(NumericTypes, FormatDoubleAndCurrencyWithMasks) {
  TValue r;
  DoubleType()->FormatValue(DoubleValue(1234.5), Format(1, -1, 0, "#,##0.00"), r);
  EXPECT_EQ(ValueAsString(r), "1,234.50");
  DoubleType()->FormatValue(DoubleValue(1234.5), Format(1, -1, 0, "#,##0.00", true), r);
  EXPECT_EQ(ValueAsString(r), "1234.50");
  DoubleType()->FormatValue(DoubleValue(1234.5), Format(1000, -1, 10, "0.0"), r);
  EXPECT_EQ(ValueAsString(r), "1.2");
  DoubleType()->FormatValue(DoubleValue(0.1), Format(1, -1, 0), r);
  EXPECT_EQ(ValueAsString(r), "0.1");
  // A failing step shows the plain text of the value.
  DoubleType()->FormatValue(DoubleValue(2.5), Format(0, -1, 0, "0.00"), r);
  EXPECT_EQ(r.DataType, MemoType());
  EXPECT_EQ(ValueAsString(r), "2.5");

  CurrencyType()->FormatValue(CurrencyValue(12345678), Format(1, -1, 0, "#,##0.00"), r);
  EXPECT_EQ(ValueAsString(r), "1,234.57");
  CurrencyType()->FormatValue(CurrencyValue(12345678), Format(1, -1, 0, "#,##0.00", true), r);
  EXPECT_EQ(ValueAsString(r), "1234.57");
  CurrencyType()->FormatValue(CurrencyValue(12345678), Format(1000, -1, 10, "0.00"), r);
  EXPECT_EQ(ValueAsString(r), "1.20");
  CurrencyType()->FormatValue(CurrencyValue(15000), Format(1, -1, 0), r);
  EXPECT_EQ(ValueAsString(r), "1.5");

  platform::TFormatSettingsScope comma(CommaDecimals());
  DoubleType()->FormatValue(DoubleValue(1234.5), Format(1, -1, 0, "#,##0.00"), r);
  EXPECT_EQ(ValueAsString(r), "1.234,50");
}

TEST_F(NumericTypes, FormatPercent) {
  TValue r;
  PercentType()->FormatValue(PercentValue(0.125), Format(1, -1, 10, "0.0"), r);
  EXPECT_EQ(ValueAsString(r), "12.5 %");
  PercentType()->FormatValue(PercentValue(0.125), Format(1, -1, 1, "0.0", true), r);
  EXPECT_EQ(ValueAsString(r), "13.0 %");
  PercentType()->FormatValue(PercentValue(0.125), Format(1, -1, 0), r);
  EXPECT_EQ(ValueAsString(r), "12.5 %");
  PercentType()->FormatValue(StringValue("n/a"), Format(1, -1, 0, "0.0"), r);
  EXPECT_EQ(ValueAsString(r), "n/a");
  EXPECT_EQ(r.DataType, MemoType());
  PercentType()->FormatValue(IntegerValue(2), Format(1, -1, 0, "0"), r);
  EXPECT_EQ(ValueAsString(r), "200 %");
}

TEST_F(NumericTypes, InvalidValueMessages) {
  EXPECT_EQ(IntegerType()->InvalidValueMessage("abc"),
            "The given value 'abc' is not a valid integer!");
  EXPECT_EQ(DoubleType()->InvalidValueMessage("abc"),
            "The given value 'abc' is not a valid number!");
  EXPECT_EQ(CurrencyType()->InvalidValueMessage("x"),
            "The given value 'x' is not a valid currency value!");
  EXPECT_EQ(PercentType()->InvalidValueMessage("x"),
            "The given value 'x' is not a valid percent value!");
  EXPECT_EQ(BooleanType()->InvalidValueMessage("x"), "The given value 'x' is not valid!");
}

TEST_F(NumericTypes, InvalidValueMessagesUseTheInstalledTranslator) {
  TDefaultTranslator german(std::vector<TDoubleStringArray>{
      {"E_ValueInvalidInteger", "Der Wert '<$>' ist keine ganze Zahl!"}});
  IStringTranslator* previous = InstallTranslator(&german);
  EXPECT_EQ(IntegerType()->InvalidValueMessage("abc"), "Der Wert 'abc' ist keine ganze Zahl!");
  // A key the installed translator does not know keeps the built-in text.
  EXPECT_EQ(DoubleType()->InvalidValueMessage("abc"),
            "The given value 'abc' is not a valid number!");
  InstallTranslator(previous);
}

TEST_F(NumericTypes, RowBufferCells) {
  unsigned char cell[8];
  TValue r;
  IntegerType()->WriteBuffer(cell, StringValue("-5"), 0, nullptr, nullptr);
  IntegerType()->ReadBuffer(cell, 0, r, nullptr, nullptr);
  EXPECT_EQ(r.DataType, IntegerType());
  EXPECT_EQ(ValueAsInteger(r), -5);
  CurrencyType()->WriteBuffer(cell, CurrencyValue(INT64_MIN), 0, nullptr, nullptr);
  CurrencyType()->ReadBuffer(cell, 0, r, nullptr, nullptr);
  EXPECT_EQ(ValueAsCurrency(r), INT64_MIN);
  DoubleType()->WriteBuffer(cell, IntegerValue(3), 0, nullptr, nullptr);
  DoubleType()->ReadBuffer(cell, 0, r, nullptr, nullptr);
  EXPECT_EQ(ValueAsFloat(r), 3.0);
  PercentType()->WriteBuffer(cell, PercentValue(0.25), 0, nullptr, nullptr);
  PercentType()->ReadBuffer(cell, 0, r, nullptr, nullptr);
  EXPECT_EQ(ValueAsPercent(r), 0.25);
}

}  // namespace
}  // namespace dataframework
