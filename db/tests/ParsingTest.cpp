// Taking connection strings apart: the pattern split, the word extraction
// and the two engines' parsers.
#include <gtest/gtest.h>

#include "db/DBManagerClass.h"

namespace db {
namespace {

std::vector<std::string> Split(const std::string& pattern, const std::string& text) {
  std::vector<std::string> items;
  SplitByPattern(pattern, text, items);
  return items;
}

using Items = std::vector<std::string>;

TEST(SplitByPatternTest, MaximalRunsWithoutEmptyItems) {
  struct Case {
    std::string pattern, text;
    Items expected;
  } cases[] = {
      {"[^\\;]*", "a=1;b=2", {"a=1", "b=2"}},
      {"[^\\;]*", ";;a=1;;b=2;", {"a=1", "b=2"}},
      {"[^\\;]*", "", {}},
      {"[^\\;]*", ";;;", {}},
      {"[^/@]*", "scott/tiger@orcl", {"scott", "tiger", "orcl"}},
      {"[^/@]*", "u/p@host:1521/svc", {"u", "p", "host:1521", "svc"}},
      {"[^/@]*", "u/p/w@d@srv", {"u", "p", "w", "d", "srv"}},
      {"[^:]*:[^:]*:[^:]*", "host:1521:orcl", {"host:1521:orcl"}},
      {"[^:]*:[^:]*:[^:]*", "orcl", {}},
      {"[^:]*:[^:]*:[^:]*", "host:1521", {}},
      {"[^:]*:[^:]*:[^:]*", "::", {"::"}},
      {"[^:]*:[^:]*:[^:]*", "a:b:c:d:e", {"a:b:c", ":d:e"}},
      // Case-insensitive, classes and literals alike.
      {"a+", "xAaBa", {"Aa", "a"}},
      {"[a-c]+", "ABCDabc", {"ABC", "abc"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Split(c.pattern, c.text), c.expected) << c.pattern << " over '" << c.text << "'";
}

TEST(SplitByPatternTest, AppendsWithoutClearingAndRejectsUnsupportedSyntax) {
  Items items{"kept"};
  SplitByPattern("[^\\;]*", "x;y", items);
  EXPECT_EQ(items, (Items{"kept", "x", "y"}));
  for (const char* bad : {"(a)", "a|b", "[abc", "*a", "a**", "x\\"})
    EXPECT_THROW(Split(bad, "abc"), platform::Exception) << bad;
}

TEST(ExtractWordTest, SecondWordWithEqualsAndAsteriskQuote) {
  struct Case {
    std::string text;
    bool found;
    std::string word;
  } cases[] = {
      {"K=V", true, "V"},         {"K==V", true, "V"},        {"K=V=W", true, "V"},
      {"K=*V=W*", true, "*V=W*"}, {"K=", false, "unchanged"}, {"K", false, "unchanged"},
      {"=K=V", true, "V"},        {"", false, "unchanged"},   {"K=*V=W", true, "*V=W"},
  };
  for (const auto& c : cases) {
    std::string word = "unchanged";
    EXPECT_EQ(ExtractWord(2, c.text, "=", '*', word), c.found) << c.text;
    EXPECT_EQ(word, c.word) << c.text;
  }
  std::string word;
  EXPECT_TRUE(ExtractWord(1, "  a  b", " ", '"', word));
  EXPECT_EQ(word, "a");
  EXPECT_TRUE(ExtractWord(3, "a \"b c\" d", " ", '"', word));
  EXPECT_EQ(word, "d");
}

TEST(ParseOleDbConnectionTest, EachValueFromItsOwnItemInAnyOrder) {
  const std::string variants[] = {
      "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=True;User ID=sa;Initial "
      "Catalog=velkor;Data Source=db01,1433",
      "Data Source=db01,1433;;Initial Catalog=velkor;;User ID=sa;;Password=pw;;"
      "Persist Security Info=True;Provider=SQLOLEDB.1;",
  };
  for (const auto& text : variants) {
    Items items;
    SplitByPattern("[^\\;]*", text, items);
    TOleDbConnection c = ParseOleDbConnection(items);
    EXPECT_EQ(c.User, "sa") << text;
    EXPECT_EQ(c.Password, "pw") << text;
    EXPECT_EQ(c.Server, "db01,1433") << text;
    EXPECT_EQ(c.Database, "velkor") << text;
  }
}

TEST(ParseOleDbConnectionTest, SubstringKeysLaterItemsAndMissingWords) {
  // Any item holding "Password" is a password item; a later one replaces an
  // earlier one, unless it has no second word.
  TOleDbConnection c = ParseOleDbConnection(
      {"Password=first", "OldPassword=second", "Password=", "User ID=*a=b*", "Data Source=x=y"});
  EXPECT_EQ(c.Password, "second");
  EXPECT_EQ(c.User, "*a=b*");
  EXPECT_EQ(c.Server, "x");
  EXPECT_EQ(c.Database, "");
  // Keys are case-sensitive.
  EXPECT_EQ(ParseOleDbConnection({"user id=sa"}).User, "");
}

TEST(ParseOracleConnectionTest, ThreePartsOrTheListError) {
  TOracleConnection c = ParseOracleConnection({"scott", "tiger", "orcl", "ignored"});
  EXPECT_EQ(c.User, "scott");
  EXPECT_EQ(c.Password, "tiger");
  EXPECT_EQ(c.Server, "orcl");
  for (size_t n = 0; n < 3; ++n) {
    Items items(n, "x");
    try {
      ParseOracleConnection(items);
      ADD_FAILURE() << n << " items";
    } catch (const platform::EListError& e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(n) + ")");
    }
  }
}

TEST(ParseOracleConnectionTest, ServerFormsAndDirectMode) {
  struct Case {
    std::string text, user, password, server;
    bool direct;
  } cases[] = {
      {"scott/tiger@orcl", "scott", "tiger", "orcl", false},
      {"scott/tiger@dbhost:1521:ORCL", "scott", "tiger", "dbhost:1521:ORCL", true},
      {"scott/tiger@dbhost:1521/ORCL", "scott", "tiger", "dbhost:1521", false},
      // A slash or at sign in the password shifts the parts.
      {"scott/ti/ger@orcl", "scott", "ti", "ger", false},
      {"scott/ti@ger@orcl", "scott", "ti", "ger", false},
  };
  for (const auto& c : cases) {
    Items items;
    SplitByPattern("[^/@]*", c.text, items);
    TOracleConnection o = ParseOracleConnection(items);
    EXPECT_EQ(o.User, c.user) << c.text;
    EXPECT_EQ(o.Password, c.password) << c.text;
    EXPECT_EQ(o.Server, c.server) << c.text;
    Items colon;
    SplitByPattern("[^:]*:[^:]*:[^:]*", o.Server, colon);
    EXPECT_EQ(!colon.empty(), c.direct) << c.text;
  }
}

}  // namespace
}  // namespace db
