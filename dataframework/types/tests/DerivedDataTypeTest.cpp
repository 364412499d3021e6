// TIntegerStringType, TPictureType and TStringDateTimeType.

#include "dataframework/types/DerivedDataType.h"

#include <gtest/gtest.h>

#include "platform/DateTime.h"
#include "platform/FormatSettings.h"

namespace dataframework {
namespace {

TEST(IntegerStringType, TextSizedForIntegers) {
  const TIntegerStringType* type = IntegerStringType();
  EXPECT_EQ(type->DataSize(), 12);
  EXPECT_EQ(type->TypeName(), "Text(11)");
  EXPECT_EQ(type->Alignment(), taRightJustify);
  EXPECT_EQ(type->ClassName(), "TIntegerStringType");
  TValue ten, nine;
  type->StringToValue("10", ten);
  type->StringToValue("9", nine);
  EXPECT_LT(type->Compare(ten, nine), 0);  // compared as text
  TValue r;
  // Every integer keeps all its digits, the most negative one included.
  for (int32_t i : {INT32_MIN, INT32_MAX, -1, 0}) {
    type->ConvertValue(IntegerValue(i), r);
    EXPECT_EQ(ValueAsInteger(r), i);
  }
}

TEST(PictureType, PicturesComeBackOthersRaise) {
  platform::TPicture picture(2, 3);
  EXPECT_EQ(PictureType()->GetAsPicture(PictureValue(&picture)), &picture);
  EXPECT_EQ(PictureType()->GetAsPicture(PictureValue(nullptr)), nullptr);
  EXPECT_EQ(PictureType()->GetAsPicture(ObjectValue(&picture)), &picture);
  platform::TObject other;
  try {
    PictureType()->GetAsPicture(ObjectValue(&other));
    ADD_FAILURE();
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(),
              "TPictureType.GetAsPicture: You can not get Pictures from this DataType!");
  }
  EXPECT_EQ(PictureType()->TypeName(), "Object");
  EXPECT_FALSE(PictureType()->IsStored());
}

class StringDateTime : public ::testing::Test {
 protected:
  StringDateTime() {
    platform::TFormatSettings s;
    s.DateSeparator = '.';
    s.ShortDateFormat = "dd/mm/yyyy";
    FLocale = std::make_unique<platform::TFormatSettingsScope>(s);
  }
  std::unique_ptr<platform::TFormatSettingsScope> FLocale;
};

TEST_F(StringDateTime, WritesAndReadsTheFixedPattern) {
  const TStringDateTimeType* type = StringDateTimeType();
  const double x = platform::EncodeDate(2003, 1, 2) + platform::EncodeTime(10, 20, 30, 0);
  TValue v;
  type->DateTimeToValue(x, v);
  EXPECT_EQ(ValueAsString(v), "2003-01-02 10.20.30");
  EXPECT_DOUBLE_EQ(type->StringToDateTime("2003-01-02 10.20.30"), x);
  EXPECT_DOUBLE_EQ(type->StringToDateTime("2003-01-02 10:20:30"), x);  // separators unchecked
  EXPECT_EQ(type->StringToDateTime(""), 0.0);
  EXPECT_EQ(type->SqlTypeName(), "char(19)");
  EXPECT_EQ(type->TypeName(), "DateTime");
  EXPECT_EQ(type->SqlValue(v), "'2003-01-02 10:20:30.0000'");
  EXPECT_EQ(type->AsString(IntegerValue(4)), "4");  // others keep their own text
}

TEST_F(StringDateTime, EarlyDatesReadBackToTheSameMoment) {
  const TStringDateTimeType* type = StringDateTimeType();
  TValue v;
  type->DateTimeToValue(type->StringToDateTime("1899-12-29 06:00:00"), v);
  EXPECT_EQ(ValueAsString(v), "1899-12-29 06.00.00");
}

TEST_F(StringDateTime, BadTextRaises) {
  const TStringDateTimeType* type = StringDateTimeType();
  try {
    type->StringToDateTime("2003-01-02");
    ADD_FAILURE();
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(),
              "ExtractDate: The length of the length of the date/time value '2003-01-02' doesn't "
              "equal the length of the format string 'yyyy-mm-dd hh/nn/ss'!");
  }
  EXPECT_THROW(type->StringToDateTime("2003-02-30 10:00:00"), platform::EConvertError);
  EXPECT_THROW(type->StringToDateTime("2003-01-02 25:00:00"), platform::EConvertError);
  EXPECT_THROW(type->StringToDateTime("yyyy-01-02 10:00:00"), platform::EConvertError);
}

}  // namespace
}  // namespace dataframework
