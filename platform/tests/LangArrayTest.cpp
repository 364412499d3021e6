// Per-language arrays: which entry a language reads, the current language,
// copying and setting all entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/LangArray.h"
#include "platform/StringList.h"

namespace platform {
namespace {

TEST(LangArrayTest, EntryForALanguage) {
  struct Case {
    const char* What;
    std::vector<std::string> Texts;
    int Index;
    const char* Expected;
  };
  const Case cases[] = {
      {"own entry", {"Name", "Nombre", "Nome"}, 1, "Nombre"},
      {"last entry", {"Name", "Nombre", "Nome"}, 2, "Nome"},
      {"missing language reads entry 0", {"Name", "Nombre"}, 5, "Name"},
      {"no entries read the default", {}, 0, "default"},
      {"no entries, any language", {}, 3, "default"},
      {"negative language reads entry 0", {"Name", "Nombre"}, -1, "Name"},
      {"negative language, no entries", {}, -1, "default"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TLangArray texts("default");
    texts.SetTexts(c.Texts);
    EXPECT_EQ(texts.Count(), static_cast<int>(c.Texts.size()));
    EXPECT_EQ(texts.Text(c.Index), c.Expected);
    texts.SetLanguageCallback([&c] { return c.Index; });
    EXPECT_EQ(texts.CurrentText(), c.Expected);
  }
}

TEST(LangArrayTest, CurrentEntryFollowsTheProcessLanguage) {
  TLangArray texts;
  texts.SetTexts({"Yes", "Si"});
  EXPECT_EQ(texts.CurrentText(), "Yes");  // no callback: language 0
  texts.SetLanguageCallback(&CurrentLanguageIndex);
  ASSERT_EQ(CurrentLanguageIndex(), 0);
  SetCurrentLanguageIndex(1);
  EXPECT_EQ(texts.CurrentText(), "Si");
  SetCurrentLanguageIndex(0);
  EXPECT_EQ(texts.CurrentText(), "Yes");
}

TEST(LangArrayTest, AddSetAndSetAll) {
  TLangArray texts;
  texts.Add("a");
  texts.Add("b");
  texts.SetText(1, "B");
  texts.SetText(2, "c");  // one past the end appends
  EXPECT_EQ(texts.Texts(), (std::vector<std::string>{"a", "B", "c"}));
  EXPECT_THROW(texts.SetText(4, "x"), EListError);
  EXPECT_THROW(texts.SetText(-1, "x"), EListError);
  texts.SetTexts({"only"});
  EXPECT_EQ(texts.Texts(), std::vector<std::string>{"only"});
  texts.Clear();
  EXPECT_EQ(texts.Count(), 0);
}

TEST(LangArrayTest, AssignCopiesEntriesAndDefaultButNotTheCallback) {
  TLangArray source("Source default");
  source.SetTexts({"one", "uno"});
  source.SetLanguageCallback([] { return 1; });
  TLangArray copy("mine");
  copy.Add("old");
  copy.Assign(&source);
  EXPECT_EQ(copy.Texts(), source.Texts());
  EXPECT_EQ(copy.DefaultText(), "Source default");
  EXPECT_EQ(copy.CurrentText(), "one");
  copy.Assign(&copy);
  EXPECT_EQ(copy.Count(), 2);

  TLangFieldArray fields;
  EXPECT_THROW(copy.Assign(&fields), EConvertError);
  TStringList list;
  EXPECT_THROW(copy.Assign(&list), EConvertError);
  EXPECT_EQ(copy.Count(), 2);
}

TEST(LangFieldArrayTest, EntriesDefaultAndAssign) {
  TStringList first, second, fallback;  // any objects stand for fields here
  TLangFieldArray fields;
  EXPECT_EQ(fields.Field(0), nullptr);  // no entries, no default callback
  fields.SetDefaultCallback([&fallback]() -> TObject* { return &fallback; });
  EXPECT_EQ(fields.Field(2), &fallback);
  EXPECT_EQ(fields.CurrentField(), &fallback);
  fields.SetFields({&first, &second});
  EXPECT_EQ(fields.Field(1), &second);
  EXPECT_EQ(fields.Field(7), &first);
  fields.SetLanguageCallback([] { return 1; });
  EXPECT_EQ(fields.CurrentField(), &second);
  fields.SetField(0, &second);
  EXPECT_EQ(fields.Field(0), &second);

  TLangFieldArray copy;
  copy.Add(&fallback);
  copy.Assign(&fields);
  EXPECT_EQ(copy.Fields(), fields.Fields());
  EXPECT_EQ(copy.CurrentField(), &second);  // entry 0; the callback stays its own
  copy.Clear();
  EXPECT_EQ(copy.CurrentField(), nullptr);
  EXPECT_EQ(&copy.ClassType(), &TLangFieldArray::StaticClass());
  EXPECT_EQ(copy.ClassType().UnitName(), "LangArray");
}

}  // namespace
}  // namespace platform
