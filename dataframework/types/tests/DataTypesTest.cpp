#include "dataframework/types/DataTypes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace dataframework {
namespace {

TEST(MessagesTest, TableHoldsTheThirtyOneMessagesInOrder) {
  ASSERT_EQ(DefaultMessages.size(), 31u);
  EXPECT_STREQ(DefaultMessages[0].Key, "E_ValueInvalidType");
  EXPECT_STREQ(DefaultMessages[0].Text, "The given value '<$>' is not valid!");
  EXPECT_STREQ(DefaultMessages[6].Key, "E_ValueInvalidCurrency");
  EXPECT_STREQ(DefaultMessages[16].Key, "E_NoSuchType");
  EXPECT_STREQ(DefaultMessages[21].Key, "I_CanNotDeleteRowsContainingLocked");
  EXPECT_STREQ(DefaultMessages[27].Key, "Q_DeleteSelectedRow");
  EXPECT_STREQ(DefaultMessages[29].Text, "Do you want to owerwrite the old row?");
  EXPECT_STREQ(DefaultMessages[30].Key, "Q_SaveChanges");
  std::set<std::string> keys;
  for (const auto& m : DefaultMessages) {
    keys.insert(m.Key);
    std::string key = m.Key;
    EXPECT_TRUE(key.rfind("E_", 0) == 0 || key.rfind("I_", 0) == 0 || key.rfind("Q_", 0) == 0)
        << key;
  }
  EXPECT_EQ(keys.size(), 31u);  // no key twice
  std::vector<TDoubleStringArray> table = DefaultMessageTable();
  ASSERT_EQ(table.size(), 31u);
  EXPECT_EQ(table[30][0], "Q_SaveChanges");
  EXPECT_EQ(table[30][1], "Save changes to");
}

TEST(MessagesTest, TranslateMessageUsesTheBuiltInTexts) {
  EXPECT_EQ(TranslateMessage(E_NoSuchType), "No such type!");
  EXPECT_EQ(TranslateMessage(Q_SaveChanges), "Save changes to");  // no trailing blank
  EXPECT_EQ(TranslateMessageFmt(E_ValueInvalidDate, {"31.02.2003"}),
            "The given value '31.02.2003' is not a valid date!");
  EXPECT_EQ(TranslateMessageFmt(E_ValueInvalidDate, {}), "The given value '' is not a valid date!");
  EXPECT_EQ(TranslateMessageFmt(E_CouldntSetValue, {"x", "y"}), "Could not set the value to 'x'!");
}

TEST(MessagesTest, UnknownKeysFallBackToTheInvalidTypeText) {
  // Keys are case-sensitive.
  EXPECT_EQ(TranslateMessage("e_nosuchtype"), "The given value '<$>' is not valid!");
  EXPECT_EQ(TranslateMessage(""), "The given value '<$>' is not valid!");
  EXPECT_EQ(TranslateMessageFmt("E_NOSUCHTYPE", {"x"}), "The given value 'x' is not valid!");
}

TEST(TranslatorTest, LookupIsExactAndInTableOrder) {
  TDefaultTranslator translator(
      {{"A", "first"}, {"a", "lower"}, {"A", "second"}, {"F", "<$2>/<$1>"}});
  std::string text = "stale";
  EXPECT_TRUE(translator.Translate("A", text));
  EXPECT_EQ(text, "first");
  EXPECT_TRUE(translator.Translate("a", text));
  EXPECT_EQ(text, "lower");
  EXPECT_FALSE(translator.Translate("B", text));
  EXPECT_EQ(text, "B");  // the key itself
  EXPECT_TRUE(translator.TranslateFmt("F", {"x", "y"}, text));
  EXPECT_EQ(text, "y/x");
  EXPECT_FALSE(translator.TranslateFmt("<$1>", {"x"}, text));
  EXPECT_EQ(text, "<$1>");  // unknown key: the key, unsubstituted
  EXPECT_TRUE(translator.GetText("a", text));
  EXPECT_EQ(text, "lower");
  EXPECT_TRUE(translator.GetTextFmt("F", {}, text));
  EXPECT_EQ(text, "/");
}

class InstalledTranslatorTest : public ::testing::Test {
 protected:
  void TearDown() override { InstallTranslator(FPrevious); }
  TDefaultTranslator FGerman{{{"E_NoSuchType", "Kein solcher Typ!"},
                              {"E_ValueInvalidDate", "Der Wert '<$>' ist kein Datum!"}}};
  IStringTranslator* FPrevious = InstallTranslator(&FGerman);
};

TEST_F(InstalledTranslatorTest, InstalledTranslatorWinsAndBuiltInFillsTheGaps) {
  EXPECT_EQ(CurrentTranslator(), &FGerman);
  EXPECT_EQ(TranslateMessage(E_NoSuchType), "Kein solcher Typ!");
  EXPECT_EQ(TranslateMessageFmt(E_ValueInvalidDate, {"x"}), "Der Wert 'x' ist kein Datum!");
  EXPECT_EQ(TranslateMessage(E_InvalidValue), "Invalid Value!");
  EXPECT_EQ(TranslateMessageFmt(E_ValueInvalidTime, {"25:00"}),
            "The given value '25:00' is not a valid time!");
  EXPECT_EQ(TranslateMessage("Unknown"), "The given value '<$>' is not valid!");

  EXPECT_EQ(InstallTranslator(nullptr), &FGerman);
  EXPECT_EQ(CurrentTranslator(), DefaultTranslator());
  EXPECT_EQ(TranslateMessage(E_NoSuchType), "No such type!");
}

TEST(SubstituteArgsTest, PlaceholderRule) {
  struct {
    const char* text;
    std::vector<std::string> args;
    const char* result;
  } cases[] = {
      {"<$2>-<$1>", {"a", "b"}, "b-a"},
      {"<$>+<$>", {"a"}, "a+"},         // no second argument: removed
      {"<$x> <$>", {"a"}, "<$x> a"},    // not a number: kept, does not use up argument 1
      {"<$2> <$>", {"a", "b"}, "b b"},  // numbered placeholders advance the turn too
      {"<$> <$2> <$>", {"a", "b", "c"}, "a b c"},
      {"<$>", {}, ""},
      {"no placeholders", {"a"}, "no placeholders"},
      {"<$3>", {"a", "b"}, ""},
      {"<$0>|<$-1>|<$>", {"a", "b", "c"}, "||c"},  // no argument below 1
      {"a <$ b", {"x"}, "a <$ b"},                 // "<$" without ">": the rest stays
      {"<$>> <$", {"x"}, "x> <$"},
      {"<<$>>", {"x"}, "<x>"},
      {"<$$2>", {"a", "b"}, "b"},  // the integer reading takes hexadecimal too
      {"<$99999999999999999999>", {"a"}, "<$99999999999999999999>"},  // too big: not a number
      {"<$1><$1>", {"<$1>"}, "<$1><$1>"},  // arguments are not searched again
      {"<$><$>", {"<$>", "<$2>"}, "<$><$2>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SubstituteArgs(c.text, c.args), c.result);
  }
}

TEST(DataTypesTest, EnumerationsAndConstantTables) {
  EXPECT_EQ(static_cast<int>(dvDefault), 3);
  EXPECT_EQ(static_cast<int>(soDescending), 1);
  EXPECT_EQ(static_cast<int>(srReadOnly), 4);
  EXPECT_EQ(static_cast<int>(rtDependentChange), 2);
  EXPECT_STREQ(ResultTexts[0], "Ok");
  EXPECT_STREQ(ResultTexts[4], "Illegal key value");
  EXPECT_STREQ(ResultTexts[6], "Cannot add");
  EXPECT_STREQ(DisplayValuesNames[dvKeyAndText], "KeyAndText");
  EXPECT_STREQ(DisplayValuesNames[dvDefault], "Default");
  EXPECT_STREQ(MagnitudeNames[2], "MEGA");
  EXPECT_STREQ(IID_IStringTranslator, "{B7F2BFFE-D009-45B8-B8C4-24852A66CDD8}");
}

}  // namespace
}  // namespace dataframework
