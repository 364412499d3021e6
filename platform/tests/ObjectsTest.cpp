// Root object, persistent objects, picture and text helpers.
#include <gtest/gtest.h>

#include "platform/Exception.h"
#include "platform/Picture.h"
#include "platform/StringList.h"
#include "platform/TextUtils.h"

namespace platform {
namespace {

class TSample : public TObject {};

TEST(ObjectTest, ClassNameIsTheDynamicClassWithoutNamespace) {
  TSample sample;
  TStringList list;
  const TObject* object = &list;
  EXPECT_EQ(sample.ClassName(), "TSample");
  EXPECT_EQ(object->ClassName(), "TStringList");
}

TEST(PictureTest, AssignCopiesPixelsAndNilEmpties) {
  TPicture source(3, 2);
  source.SetPixel(2, 1, 0xFF00FF);
  source.SetPixel(5, 5, 1);  // outside: ignored
  TPicture copy;
  copy.Assign(&source);
  EXPECT_EQ(copy.Width(), 3);
  EXPECT_EQ(copy.Height(), 2);
  EXPECT_EQ(copy.Pixel(2, 1), 0xFF00FFu);
  EXPECT_EQ(copy.Pixel(-1, 0), 0u);
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
  TStringList list;
  try {
    copy.Assign(&list);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TStringList to a TPicture");
  }
  TPicture negative(-4, 10);
  EXPECT_TRUE(negative.Empty());
}

TEST(TextUtilsTest, TrimCaseAndQuoting) {
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a "), "  a");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // only bytes up to the blank are trimmed

  EXPECT_EQ(CompareText("Abc", "aBC"), 0);
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_LT(CompareStr("B", "a"), 0);      // by byte value
  EXPECT_GT(CompareStr("\xE9", "z"), 0);   // bytes compare unsigned
  EXPECT_FALSE(SameText("\xE9", "\xC9"));  // case rule is A to Z only
  EXPECT_EQ(UpperCase("abz\xE9"), "ABZ\xE9");
  EXPECT_EQ(LowerCase("ABZ"), "abz");

  EXPECT_EQ(QuotedStr("O'Neil"), "'O''Neil'");
  EXPECT_EQ(QuotedStr(""), "''");
  EXPECT_EQ(IntToHex(0, 8), "00000000");
  EXPECT_EQ(IntToHex(0xABC, 8), "00000ABC");
  EXPECT_EQ(IntToHex(0x123456789ULL, 4), "123456789");
}

}  // namespace
}  // namespace platform
