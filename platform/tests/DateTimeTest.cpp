#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Exception.h"
#include "testsupport/TestSettings.h"

namespace platform {
namespace {

using testing::PointSettings;

class DateTimeTest : public ::testing::Test {
 protected:
  TFormatSettingsScope FScope{PointSettings()};  // dd.mm.yyyy hh:nn:ss
};

TEST_F(DateTimeTest, EncodeDateCountsDaysFrom30December1899) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1899, 12, 31), 1);
  EXPECT_EQ(EncodeDate(2003, 1, 2), 37623);
  EXPECT_EQ(EncodeDate(2000, 2, 29), 36585);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
}

TEST_F(DateTimeTest, EncodeRefusesImpossibleDatesAndTimes) {
  const int bad[][3] = {{2003, 2, 29}, {1900, 2, 29}, {2003, 2, 30}, {0, 1, 1},     {10000, 1, 1},
                        {2003, 13, 1}, {2003, 0, 1},  {2003, 1, 0},  {2003, 4, 31}, {-5, 1, 1}};
  for (const auto& d : bad) {
    SCOPED_TRACE(std::to_string(d[0]) + "-" + std::to_string(d[1]) + "-" + std::to_string(d[2]));
    try {
      EncodeDate(d[0], d[1], d[2]);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
  }
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(10, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(10, 0, 60, 0), EConvertError);
  EXPECT_THROW(EncodeTime(10, 0, 0, 1000), EConvertError);
  EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
}

TEST_F(DateTimeTest, DecodeDateInvertsEncodeDateOverTheWholeRange) {
  int checked = 0;
  for (int y = 1; y <= 9999; y += 7) {
    for (int m = 1; m <= 12; ++m) {
      for (int d : {1, 15, DaysInMonth(y, m)}) {
        int yy, mm, dd;
        DecodeDate(EncodeDate(y, m, d), yy, mm, dd);
        ASSERT_EQ(yy * 10000 + mm * 100 + dd, y * 10000 + m * 100 + d);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 50000);
}

TEST_F(DateTimeTest, DecodeTimeSplitsTheFraction) {
  int h, n, s, ms;
  DecodeTime(EncodeDate(2003, 1, 2) + EncodeTime(10, 20, 30, 123), h, n, s, ms);
  EXPECT_EQ((std::array<int, 4>{h, n, s, ms}), (std::array<int, 4>{10, 20, 30, 123}));
  DecodeTime(0.75, h, n, s, ms);
  EXPECT_EQ((std::array<int, 4>{h, n, s, ms}), (std::array<int, 4>{18, 0, 0, 0}));

  // Before day 0 the whole part is still the day, the fraction's magnitude the time.
  int y, m, d;
  DecodeDateTime(-1.25, y, m, d, h, n, s, ms);
  EXPECT_EQ((std::array<int, 5>{y, m, d, h, n}), (std::array<int, 5>{1899, 12, 29, 6, 0}));

  // Decoding rounds to the millisecond, possibly into the next day.
  DecodeDateTime(37622.9999999999, y, m, d, h, n, s, ms);
  EXPECT_EQ((std::array<int, 5>{y, m, d, h, ms}), (std::array<int, 5>{2003, 1, 2, 0, 0}));
}

TEST_F(DateTimeTest, DecodeRefusesNumbersOutsideTheDates) {
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(), 1e10, -700000.0, 2958466.0};
  for (double x : bad) {
    SCOPED_TRACE(x);
    int y, m, d;
    EXPECT_THROW(DecodeDate(x, y, m, d), EConvertError);
    EXPECT_THROW(DateTimeToStr(x), EConvertError);
  }
}

TEST_F(DateTimeTest, FormatDateTimeWritesTokensAndSeparators) {
  TDateTime t = EncodeDate(2003, 1, 2) + EncodeTime(13, 5, 9, 7);
  struct {
    const char* format;
    const char* text;
  } cases[] = {
      {"yyyy-mm-dd hh/nn/ss", "2003-01-02 13.05.09"},  // "/" is the date separator
      {"d/m/yy", "2.1.03"},
      {"hh:nn:ss.zzz", "13:05:09.007"},
      {"h:n:s.z", "13:5:9.7"},
      {"hh:nn ampm", "01:05 PM"},
      {"h am/pm", "1 pm"},
      {"'day' d", "day 2"},
      {"\"yyyy\"yyyy", "yyyy2003"},
      {"DD/MM/YYYY", "02.01.2003"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(FormatDateTime(c.format, t), c.text);
  }
}

TEST_F(DateTimeTest, LocaleTextOfDatesAndTimes) {
  TDateTime date = EncodeDate(2003, 1, 2);
  EXPECT_EQ(DateToStr(date + 0.5), "02.01.2003");
  EXPECT_EQ(TimeToStr(date + 0.5), "12:00:00");
  EXPECT_EQ(DateTimeToStr(date), "02.01.2003");  // midnight: no time
  EXPECT_EQ(DateTimeToStr(date + EncodeTime(10, 20, 30, 0)), "02.01.2003 10:20:30");

  TFormatSettings us = PointSettings();
  us.DateSeparator = '/';
  us.ShortDateFormat = "m/d/yyyy";
  us.LongTimeFormat = "h:nn:ss ampm";
  TFormatSettingsScope scope(us);
  EXPECT_EQ(DateTimeToStr(date + 0.75), "1/2/2003 6:00:00 PM");
}

TEST_F(DateTimeTest, StrToDateReadsTheShortDateFormat) {
  EXPECT_EQ(StrToDate("02.01.2003"), 37623);
  EXPECT_EQ(StrToDate(" 2.1.2003 "), 37623);
  EXPECT_EQ(StrToDate("02.01.03"), 37623);  // within 50 years of today
  int y, m, d;
  DecodeDate(Today(), y, m, d);  // without a year, the current one
  EXPECT_EQ(StrToDate("2.1"), EncodeDate(y, 1, 2));

  const char* bad[] = {"",          "  ",
                       "abc",       "31.02.2003",
                       "1.2.3.4",   "02/01/2003",
                       "2.1.2003x", "99999999999.1.1",
                       "2.",        ".1.2003",
                       "0.1.2003",  "2.1.00000",
                       "2.1.10000", "02.01.2003 10:20"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    TDateTime date = 42;
    EXPECT_FALSE(TryStrToDate(text, date));
  }
  try {
    StrToDate("31.02.2003");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'31.02.2003' is not a valid date");
  }

  TFormatSettings iso = PointSettings();
  iso.DateSeparator = '-';
  iso.ShortDateFormat = "yyyy/mm/dd";
  TFormatSettingsScope scope(iso);
  EXPECT_EQ(StrToDate("2003-01-02"), 37623);
  EXPECT_EQ(StrToDate("01-02"), EncodeDate(y, 1, 2));  // month and day
}

TEST_F(DateTimeTest, StrToTimeReadsHoursMinutesAndOptionalParts) {
  struct {
    const char* text;
    int h, n, s, ms;
  } cases[] = {
      {"10:20", 10, 20, 0, 0},
      {" 10:20:30 ", 10, 20, 30, 0},
      {"10:20:30.123", 10, 20, 30, 123},
      {"10:20:30.5", 10, 20, 30, 500},
      {"12:00 PM", 12, 0, 0, 0},
      {"12:00 am", 0, 0, 0, 0},
      {"1 PM", 13, 0, 0, 0},
      {"0:0", 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_DOUBLE_EQ(StrToTime(c.text), EncodeTime(c.h, c.n, c.s, c.ms));
  }
  const char* bad[] = {"",         "10",     "24:00",  "10:60", "10:20:60", "10:20:30.1234",
                       "13:00 PM", "10:20x", "10::20", ":20",   "10:20 XM"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    TDateTime time = 0;
    EXPECT_FALSE(TryStrToTime(text, time));
  }
  EXPECT_THROW(StrToTime("25:00"), EConvertError);
}

TEST_F(DateTimeTest, StrToDateTimeReadsDateTimeOrEither) {
  TDateTime date = EncodeDate(2003, 1, 2);
  EXPECT_DOUBLE_EQ(StrToDateTime("02.01.2003 10:20:30"), date + EncodeTime(10, 20, 30, 0));
  EXPECT_EQ(StrToDateTime("02.01.2003"), date);
  EXPECT_DOUBLE_EQ(StrToDateTime("10:20"), EncodeTime(10, 20, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("30.12.1899 06:00"), 0.25);
  EXPECT_DOUBLE_EQ(StrToDateTime("29.12.1899 06:00"), -1.25);
  for (const char* text :
       {"", "02.01.2003x", "02.01.2003 25:00", "02.01.2003 10:20 x", "x 10:20"}) {
    SCOPED_TRACE(text);
    TDateTime value = 0;
    EXPECT_FALSE(TryStrToDateTime(text, value));
  }
  try {
    StrToDateTime("x");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'x' is not a valid date and time");
  }
}

TEST_F(DateTimeTest, WrittenTextReadsBack) {
  const TDateTime values[] = {EncodeDate(2003, 1, 2) + EncodeTime(10, 20, 30, 0),
                              EncodeDate(1, 1, 1), EncodeDate(9999, 12, 31) + 0.5,
                              EncodeDate(1850, 6, 7) - EncodeTime(23, 59, 59, 0)};
  for (TDateTime x : values) {
    SCOPED_TRACE(DateTimeToStr(x));
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(x)), x);
  }
}

TEST_F(DateTimeTest, NowIsTodayPlusTheTimeOfDay) {
  TDateTime now = Now();
  TDateTime today = Today();
  EXPECT_EQ(today, std::trunc(today));
  EXPECT_GE(now, today);
  EXPECT_LT(now - today, 1.01);  // Today() may fall just before midnight
  EXPECT_GT(today, EncodeDate(2020, 1, 1));
}

}  // namespace
}  // namespace platform
