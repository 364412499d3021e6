// The translation file: round trips through the tables and its errors.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "dataframework/translation/TranslationFile.h"
#include "dataframework/translation/tests/TranslationTestSupport.h"

namespace dataframework {

namespace testing {
namespace {

void ExpectSameContent(const TTranslationContent& A, const TTranslationContent& B) {
  EXPECT_EQ(A.Languages, B.Languages);
  EXPECT_EQ(A.Rules, B.Rules);
  EXPECT_EQ(A.Forms, B.Forms);
  ASSERT_EQ(A.Entries.size(), B.Entries.size());
  for (size_t i = 0; i < A.Entries.size(); ++i) {
    SCOPED_TRACE(A.Entries[i].Component + " " + A.Entries[i].Path);
    EXPECT_EQ(A.Entries[i], B.Entries[i]);
  }
}

class FileTest : public TranslationFixture {
 protected:
  void SetUp() override {
    TranslationFixture::SetUp();
    Directory = std::filesystem::temp_directory_path() /
                ("clavira-translation-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Directory);
    FileName = (Directory / "window.translations").string();

    auto* button = new TTestButton(Form.get());
    button->SetName("BTNOk");
    button->SetCaption("Aceptar");
    button->SetHint("  Cierra = sale\n#dos\tlíneas \\ fin  ");
    auto* list = new TTestListBox(Form.get());
    list->SetName("LBXDays");
    list->Items()->Add("Lunes");
    list->Items()->Add("");
    Strings->AddRule("TTestForm", "Caption", false, true);
    Strings->AddRule("TTestButton", "Caption", true, true);
    Strings->AddRule("TTestButton", "Hint", false, false);
    Strings->AddRule("TTestListBox", "Items[]", false, true);
    Strings->Synchronize();
    Row("BTNOk", "Caption")->SetFStringValue(Strings->LanguageField(1), "OK");
    Row("BTNOk", "Caption")->SetFStringValue(Strings->LanguageField(2), "");
    Row("FRMMain", "Caption")->SetFStringValue(Strings->LanguageField(2), "Janela [principal]");
    // Texts of a form that is not registered.
    TFormTranslator other(nullptr);
    other.SetName("FRMOther");
    other.SetFormGuid("{00000000-0000-0000-0000-0000000000FF}");
    Strings->StoreText(&other, &other, true, NotFound, "Otra", "Caption");
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(Directory, ignored);
    TranslationFixture::TearDown();
  }

  void WriteFile(const std::string& Text) {
    std::ofstream file(FileName, std::ios::binary);
    file << Text;
  }

  std::string ReadFile() {
    std::ifstream file(FileName, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  std::string LoadError(TTranslatedStrings& Target, const std::string& Name) {
    try {
      LoadTranslationFile(Target, Name);
    } catch (const ETranslationFileError& e) {
      return e.Message();
    }
    return "(no error)";
  }

  std::filesystem::path Directory;
  std::string FileName;
};

TEST_F(FileTest, SavedFileLoadsBackToTheSameTables) {
  SaveTranslationFile(*Strings, FileName);
  const TTranslationContent saved = Strings->Content();
  ASSERT_EQ(saved.Entries.size(), 6u);

  TTestForm form(nullptr);
  auto* translator = new TFormTranslator(&form);
  TTranslatedStrings loaded(translator);
  LoadTranslationFile(loaded, FileName);
  ExpectSameContent(loaded.Content(), saved);
  EXPECT_EQ(translator->CurrentLanguage(), 0);

  // Writing the loaded tables gives the very same file.
  const std::string first = ReadFile();
  SaveTranslationFile(loaded, FileName);
  EXPECT_EQ(ReadFile(), first);
  EXPECT_FALSE(std::filesystem::exists(FileName + ".tmp"));
}

TEST_F(FileTest, FileIsPlainTextOneLinePerLanguage) {
  SaveTranslationFile(*Strings, FileName);
  const std::string text = ReadFile();
  for (const char* line :
       {"[languages]\nEsp\nIng\nPor\n", "TTestButton Caption = subclasses, translate\n",
        "TTestButton Hint =\n",
        "[form {00000000-0000-0000-0000-000000000001}]\nunit = TestForms\n"
        "class = TTestForm\n",
        "[text BTNOk Caption]\nclass = TTestButton\ntranslate = yes\nEsp = Aceptar\nIng = OK\n"
        "Por =\n",
        "Esp = \\s\\sCierra = sale\\n#dos\\tlíneas \\\\ fin\\s\\s\n", "[text LBXDays Items[1]]\n",
        "Por = Janela [principal]\n",
        "[form {00000000-0000-0000-0000-0000000000FF}]\n\n[text FRMOther Caption]\n"}) {
    SCOPED_TRACE(line);
    EXPECT_NE(text.find(line), std::string::npos);
  }
}

TEST_F(FileTest, LoadingKeepsTheCurrentLanguageByName) {
  SaveTranslationFile(*Strings, FileName);
  Translator->SetCurrentLanguage(2);  // Por
  Strings->RemoveLanguage(0);
  Strings->InsertLanguage(0, "Cat", NotFound);
  ASSERT_EQ(CurrentLanguageName(Translator), "Por");
  LoadTranslationFile(*Strings, FileName);
  EXPECT_EQ(Strings->LanguageCount(), 3);
  EXPECT_EQ(Translator->CurrentLanguage(), 2);
  EXPECT_EQ(CurrentLanguageName(Translator), "Por");
  EXPECT_EQ(Text(Row("BTNOk", "Caption"), 1), "OK");
  // The loaded rows are live rows of the form again.
  Translator->SwitchLanguage(1);
  EXPECT_EQ(static_cast<TTestButton*>(Form->FindComponent("BTNOk"))->Caption(), "OK");
}

TEST_F(FileTest, ABadFileNamesItsLineAndLeavesTheTablesAlone) {
  const std::string head = "[languages]\nEsp\nIng\n[form {G}]\n";
  const struct {
    std::string Text;
    std::string Message;
  } cases[] = {
      {"Esp\n", ":1: a line outside any section"},
      {"[languages]\nEsp\nEsp\n", ":3: the language 'Esp' appears twice"},
      {"[languages]\nEsp\nclass\n", ":3: the language name 'class' is a key of the file"},
      {"[languages]\n[languages]\n", ":2: the section [languages] appears twice"},
      {"[rules]\nTButton = translate\n", ":2: a rule names a class and a property path"},
      {"[rules]\nTButton Caption = always\n", ":2: unknown rule flag 'always'"},
      {"[rules]\nTButton Caption =\ntbutton caption =\n",
       ":3: the rule tbutton caption appears twice"},
      {"[rules]\nTButton Caption\n", ":2: 'key = value' expected"},
      {"[text A Caption]\n", ":1: a [text] section must follow a [form] section"},
      {head + "[text A Caption]\nDeu = Hallo\n", ":6: unknown language or key 'Deu'"},
      {head + "[text A Caption]\nEsp = a\nEsp = b\n", ":7: the key 'Esp' appears twice"},
      {head + "[text A Caption]\ntranslate = maybe\n",
       ":6: translate must be yes or no, not 'maybe'"},
      {head + "[text A Caption]\n[text a caption]\n", ":6: the text of a caption appears twice"},
      {head + "[text A Caption]\nEsp = a\\qb\n", ":6: unknown escape '\\q'"},
      {head + "[text A Caption]\nEsp = a\\\n", ":6: a line ends in a lone backslash"},
      {head + "unit = u\nowner = x\n", ":6: unknown key 'owner' in a form section"},
      {head + "[form {g}]\n", ":5: the form {g} appears twice"},
      {head + "[text A Caption]\n[languages]\n", ":6: the section [languages] appears twice"},
      {"[form {G}]\n[text A Caption]\n[languages]\nEsp\n",
       ":3: the languages must come before the texts"},
      {"[glossary]\n", ":1: unknown section [glossary]"},
      {head + "[text A " + std::string(65, 'p') + "]\n",
       ":5: the property path '" + std::string(65, 'p') + "' is longer than 64 bytes"},
      {head + "[text A Caption]\nEsp = " + std::string(256, 't') + "\n",
       ":6: the text '" + std::string(256, 't') + "' is longer than 255 bytes"},
  };
  const TTranslationContent before = Strings->Content();
  TTranslatorRowStorage* storage = Strings->GetTranslationStorage();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    WriteFile(c.Text);
    EXPECT_EQ(LoadError(*Strings, FileName), FileName + c.Message);
    EXPECT_EQ(Strings->GetTranslationStorage(), storage);
    ExpectSameContent(Strings->Content(), before);
  }
}

TEST_F(FileTest, MissingOrUnreadableFilesAreNamed) {
  const TTranslationContent before = Strings->Content();
  const std::string missing = (Directory / "none.translations").string();
  EXPECT_EQ(LoadError(*Strings, missing), missing + ": the file does not exist");
  EXPECT_EQ(LoadError(*Strings, Directory.string()),
            Directory.string() + ": the file cannot be read");
  ExpectSameContent(Strings->Content(), before);
  // Only a regular file of bounded size: a FIFO would hold the window before
  // it opens, a device or a huge file would be read for ever.
  const std::string fifo = (Directory / "fifo.translations").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(LoadError(*Strings, fifo), fifo + ": the file cannot be read");
  EXPECT_EQ(LoadError(*Strings, "/dev/zero"), "/dev/zero: the file cannot be read");
  const std::string huge = (Directory / "huge.translations").string();
  std::filesystem::resize_file((std::ofstream(huge), huge), kMaxTranslationFileBytes + 1);
  EXPECT_EQ(LoadError(*Strings, huge), huge + ": the file is larger than " +
                                           std::to_string(kMaxTranslationFileBytes) + " bytes");
  ExpectSameContent(Strings->Content(), before);
  const std::string nowhere = (Directory / "no" / "such" / "dir.translations").string();
  try {
    SaveTranslationFile(*Strings, nowhere);
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const ETranslationFileError& e) {
    EXPECT_EQ(e.Message(), nowhere + ": the file cannot be written");
  }
}

TEST_F(FileTest, ContentThatCannotBeKeyedIsNotWritten) {
  const struct {
    std::vector<std::string> Languages;
    std::string Message;
  } cases[] = {
      {{"Esp", "Esp"}, "out: language name 'Esp' is used twice"},
      {{"Esp", ""}, "out: a language without a name cannot be saved"},
      {{"translate"}, "out: language name 'translate' is a key of the file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    TTranslationContent content;
    content.Languages = c.Languages;
    std::ostringstream out;
    try {
      WriteTranslationContent(out, content, "out");
      ADD_FAILURE() << "written";
    } catch (const ETranslationFileError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    EXPECT_EQ(out.str(), "");
  }
}

TEST(TranslationTextTest, OddNamesAndTextsRoundTrip) {
  TTranslationContent content;
  content.Languages = {"Español", "A = B", "#hash", "[x]", " blank "};
  content.Rules = {{"TButton", "Caption", true, false},
                   {"TGrid", "Columns[].Title.Caption", false, true}};
  content.Forms = {{"{G1}", "app window", "TWindow"}};
  TTranslationEntry entry{"{G1}", "BTN", "Caption", "TButton", true, {}};
  entry.Texts = {"", " ", "a\r\nb", "\\s", "= x ="};
  content.Entries.push_back(entry);
  std::stringstream text;
  WriteTranslationContent(text, content, "mem");
  const TTranslationContent back = ReadTranslationContent(text, "mem");
  ExpectSameContent(back, content);

  // Windows line ends and a byte order mark read the same.
  std::string crlf = "\xEF\xBB\xBF";
  for (char c : text.str()) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  std::istringstream windows(crlf);
  ExpectSameContent(ReadTranslationContent(windows, "mem"), content);
}

}  // namespace
}  // namespace testing
}  // namespace dataframework
