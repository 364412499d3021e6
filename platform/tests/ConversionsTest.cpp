#include "platform/Conversions.h"

#include <gtest/gtest.h>

#include "platform/Exception.h"

namespace platform {
namespace {

struct TIntCase {
  const char* text;
  int32_t value;
};

TEST(StrToIntTest, AcceptsDecimalHexSignsAndLeadingBlanks) {
  const TIntCase cases[] = {
      {"0", 0},
      {"10", 10},
      {"  42", 42},
      {"-7", -7},
      {"+7", 7},
      {"$10", 16},
      {"x1F", 31},
      {"X1f", 31},
      {"0x80", 128},
      {"0XFF", 255},
      {"-$10", -16},
      {" \t-0x1", -1},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$FFFFFFFF", -1},
      {"0x80000000", INT32_MIN},
      {"007", 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StrToInt(c.text), c.value);
  }
}

TEST(StrToIntTest, RejectsEverythingElseWithTheTextAsTyped) {
  const char* bad[] = {"",    " ",   "-",   "+",          "$",           "0x",
                       "1 ",  "1a",  "abc", "2147483648", "-2147483649", "$100000000",
                       "1.5", "--1", "- 1", "0x-1",       "１",          "99999999999999999999"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(TryStrToInt(text).has_value());
    try {
      StrToInt(text);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid integer value");
    }
  }
}

TEST(FormatMessageTest, FillsPlaceholdersInOrderAndLeavesTheRest) {
  EXPECT_EQ(FormatMessage("Parameter '%s' not found", {"i_user"}), "Parameter 'i_user' not found");
  EXPECT_EQ(FormatMessage("List index out of bounds (%d)", {"0"}), "List index out of bounds (0)");
  EXPECT_EQ(FormatMessage("%s and %s", {"a"}), "a and %s");
  EXPECT_EQ(FormatMessage("100%% of %s", {"%s"}), "100% of %s");
}

}  // namespace
}  // namespace platform
