#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

#include "platform/NumberText.h"
#include "testsupport/TestSettings.h"

namespace platform {
namespace {

TEST(FormatSettingsTest, ScopeReplacesAndRestoresAsAWhole) {
  TFormatSettings before = FormatSettings();
  {
    TFormatSettingsScope scope(testing::CommaSettings(' '));
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
    EXPECT_EQ(FormatSettings().ThousandSeparator, ' ');
    EXPECT_EQ(FloatToStr(0.5), "0,5");
  }
  EXPECT_EQ(FormatSettings().DecimalSeparator, before.DecimalSeparator);
  EXPECT_EQ(FormatSettings().ShortDateFormat, before.ShortDateFormat);
}

TEST(FormatSettingsTest, CLocaleGivesUsableFormats) {
  TFormatSettings c = LocaleFormatSettings("C");
  EXPECT_EQ(c.DecimalSeparator, '.');
  EXPECT_EQ(c.ThousandSeparator, ',');  // the C locale has none; a sensible one is chosen
  EXPECT_EQ(c.DateSeparator, '/');
  EXPECT_EQ(c.ShortDateFormat, "mm/dd/yyyy");
  EXPECT_EQ(c.TimeSeparator, ':');
  EXPECT_EQ(c.LongTimeFormat, "hh:nn:ss");
}

TEST(FormatSettingsTest, UnknownLocaleFallsBackToDefaults) {
  TFormatSettings s = LocaleFormatSettings("xx_NOWHERE.UTF-8");
  TFormatSettings defaults;
  EXPECT_EQ(s.DecimalSeparator, defaults.DecimalSeparator);
  EXPECT_EQ(s.ShortDateFormat, defaults.ShortDateFormat);
}

}  // namespace
}  // namespace platform
