#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Exception.h"
#include "testsupport/TestSettings.h"

namespace platform {
namespace {

using testing::CommaSettings;
using testing::PointSettings;

class NumberTextTest : public ::testing::Test {
 protected:
  TFormatSettingsScope FScope{PointSettings()};
};

TEST_F(NumberTextTest, FloatToStrGivesShortestGeneralText) {
  struct {
    double x;
    const char* text;
  } cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.0, "1"},
      {-1.5, "-1.5"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},  // 15 significant digits hide the binary error
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {100.0, "100"},
      {123456.789, "123456.789"},
      {1e14, "100000000000000"},
      {1e15, "1E15"},
      {123456789012345678.0, "1.23456789012346E17"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {-1.5e-7, "-1.5E-7"},
      {1e300, "1E300"},
      {5e-324, "5E-324"},  // the shortest text that reads back
      {1.0 / 7.0, "0.142857142857143"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FloatToStr(c.x), c.text);
  }
}

TEST_F(NumberTextTest, FloatToStrUsesLocaleDecimalSeparatorWithoutGrouping) {
  TFormatSettingsScope comma(CommaSettings('.'));
  EXPECT_EQ(FloatToStr(1234.5), "1234,5");
  EXPECT_EQ(FloatToStr(-2.5e-9), "-2,5E-9");
}

TEST_F(NumberTextTest, CurrToStrWritesUpToFourDecimals) {
  EXPECT_EQ(CurrToStr(0), "0");
  EXPECT_EQ(CurrToStr(15000), "1.5");
  EXPECT_EQ(CurrToStr(10000), "1");
  EXPECT_EQ(CurrToStr(-1), "-0.0001");
  EXPECT_EQ(CurrToStr(123456789), "12345.6789");
  EXPECT_EQ(CurrToStr(std::numeric_limits<int64_t>::min()), "-922337203685477.5808");
  EXPECT_EQ(CurrToStr(std::numeric_limits<int64_t>::max()), "922337203685477.5807");
  TFormatSettingsScope comma(CommaSettings('.'));
  EXPECT_EQ(CurrToStr(12345000), "1234,5");
}

TEST_F(NumberTextTest, FormatNumberFollowsTheMask) {
  struct {
    const char* mask;
    double x;
    const char* text;
  } cases[] = {
      {"0.00", 0.125, "0.13"},  // halves away from zero
      {"0.00", -0.125, "-0.13"},
      {"0.00", 1.005, "1.01"},  // rounded from its 15-digit text, not its binary value
      {"0", 2.5, "3"},
      {"0", -2.5, "-3"},
      {"0", -0.4, "0"},  // no sign for what rounds to zero
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,##0.00", -1234.5, "-1,234.50"},
      {"#,##0", 999.5, "1,000"},
      {"#,##0", 0, "0"},
      {"#", 0, ""},
      {"#.##", 0.5, ".5"},
      {"0.##", 1.5, "1.5"},
      {"0.##", 1, "1"},
      {"0.0#", 1.25, "1.25"},
      {"000", 7, "007"},
      {"00", 1234, "1234"},  // more digits than places all show
      {".00", 0.5, ".50"},
      {".00", 12.5, "12.50"},
      {"0.0 %", 12.5, "12.5 %"},
      {"'$'#,##0", 1234, "$1,234"},
      {"\"n=\"0", 5, "n=5"},
      {"0.00;(0.00)", -1.5, "(1.50)"},
      {"0.00;(0.00);'zero'", 0, "zero"},
      {"0.00;(0.00);'zero'", 0.001, "zero"},  // the zero section is chosen after rounding
      {"0.00;;'zero'", -2, "-2.00"},          // an empty negative section uses the first
      {"0", 1e20, "100000000000000000000"},
      {"#,##0", 1e9, "1,000,000,000"},
      {"0.000", 1e-10, "0.000"},
      {"", 1.5, "1.5"},  // no mask: the general text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " / " + std::to_string(c.x));
    EXPECT_EQ(FormatNumber(c.mask, c.x), c.text);
  }
  EXPECT_EQ(FormatNumber("0.00", std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FormatNumber("#,##0", 1e300).size(), 301u + 100u);  // 301 digits and 100 groups
}

TEST_F(NumberTextTest, FormatNumberUsesLocaleSeparators) {
  {
    TFormatSettingsScope pointGrouping(CommaSettings('.'));
    EXPECT_EQ(FormatNumber("#,##0.00", 1234567.5), "1.234.567,50");
  }
  TFormatSettingsScope blankGrouping(CommaSettings(' '));
  EXPECT_EQ(FormatNumber("#,##0.0", -1234.56), "-1 234,6");
}

TEST_F(NumberTextTest, FormatCurrIsExactOnTheCount) {
  EXPECT_EQ(FormatCurr("#,##0.00", 12345678), "1,234.57");
  EXPECT_EQ(FormatCurr("0.00", 1250), "0.13");  // an exact half goes away from zero
  EXPECT_EQ(FormatCurr("0.00", -1250), "-0.13");
  EXPECT_EQ(FormatCurr("0.0000", 1), "0.0001");
  EXPECT_EQ(FormatCurr("0", std::numeric_limits<int64_t>::min()), "-922337203685478");
  EXPECT_EQ(FormatCurr("", 15000), "1.5");
}

TEST_F(NumberTextTest, StrToFloatReadsLocaleNumberText) {
  struct {
    const char* text;
    double value;
  } cases[] = {
      {"1", 1},        {" 1.5 ", 1.5}, {"-2.5", -2.5},
      {"+3", 3},       {".5", 0.5},    {"5.", 5},
      {"1e3", 1000},   {"1E-2", 0.01}, {"\t-1.25e+2 ", -125},
      {"000123", 123}, {"1e-400", 0},  {"1.7976931348623157e308", 1.7976931348623157e308},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StrToFloat(c.text), c.value);
  }
  TFormatSettingsScope comma(CommaSettings('.'));
  EXPECT_EQ(StrToFloat("1,5"), 1.5);
  EXPECT_EQ(StrToFloat("-0,25E1"), -2.5);
}

TEST_F(NumberTextTest, StrToFloatRefusesEverythingElse) {
  const std::string bad[] = {"",
                             "   ",
                             "abc",
                             "1,5",
                             "1.2.3",
                             "1e",
                             "e5",
                             "+",
                             "-",
                             ".",
                             "1 000",
                             "inf",
                             "nan",
                             "0x10",
                             "1e400",
                             "-1e400",
                             "1.5abc",
                             "--1",
                             "1e+",
                             std::string("1\0"
                                         "2",
                                         3),
                             "\xff"};
  for (const std::string& text : bad) {
    SCOPED_TRACE(text);
    double value = 42;
    EXPECT_FALSE(TryStrToFloat(text, value));
    EXPECT_EQ(value, 42);  // untouched on failure
  }
  try {
    StrToFloat("abc");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'abc' is not a valid floating point value");
  }
  TFormatSettingsScope comma(CommaSettings('.'));
  double value = 0;
  EXPECT_FALSE(TryStrToFloat("1.5", value));
}

TEST_F(NumberTextTest, StrToCurrKeepsFourDecimalsRoundingHalvesToEven) {
  struct {
    const char* text;
    int64_t count;
  } cases[] = {
      {"1.5", 15000},
      {"  7  ", 70000},
      {"-1.23456", -12346},
      {"0.00005", 0},  // half, to even
      {"0.00015", 2},
      {"0.00025", 2},
      {"0.000251", 3},
      {"1.5e-4", 2},
      {"1e3", 10000000},
      {"0000000000000000000000001", 10000},
      {"1e-100000000", 0},
      {"922337203685477.5807", std::numeric_limits<int64_t>::max()},
      {"-922337203685477.5808", std::numeric_limits<int64_t>::min()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StrToCurr(c.text), c.count);
  }
  const char* bad[] = {
      "", "abc", "1,5", "922337203685477.5808", "12345678901234567890", "1e100000000", "-"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    int64_t count = 0;
    EXPECT_FALSE(TryStrToCurr(text, count));
  }
  EXPECT_THROW(StrToCurr("x"), EConvertError);
  TFormatSettingsScope comma(CommaSettings('.'));
  EXPECT_EQ(StrToCurr("12,5"), 125000);
}

TEST_F(NumberTextTest, GeneralTextReadsBack) {
  const double values[] = {0.1, 1.0 / 3, 123456.789, -9.87654321e-12, 6.02214076e23, 1e15};
  for (double x : values) {
    double back = StrToFloat(FloatToStr(x));
    EXPECT_NEAR(back, x, std::fabs(x) * 1e-14);
  }
}

}  // namespace
}  // namespace platform
