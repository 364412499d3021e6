// Translators' files checked with translators' own tools (lconvert,
// lrelease, msgfmt, msgfilter), and imports of hostile files: a clear error,
// with the line, and nothing taken.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dataframework/qt/TranslationExchangeFile.h"
#include "dataframework/qt/TsFile.h"
#include "dataframework/translation/ITranslatedStrings.h"
#include "dataframework/translation/PoFile.h"
#include "testsupport/Process.h"

namespace dataframework {
void PrintTo(const TExchangeMessage& Message, std::ostream* Out) {
  *Out << "{" << Message.Context << " | " << Message.Comment << " | "
       << ::testing::PrintToString(Message.Source) << " -> "
       << ::testing::PrintToString(Message.Translation) << (Message.Unfinished ? " unfinished" : "")
       << "}";
}

}  // namespace dataframework

namespace dataframework::qt {
namespace {

namespace fs = std::filesystem;

// XML turns a carriage return into a line feed unless it is written as a
// reference, and lconvert's XLIFF writes it raw: what an .xlf keeps.
std::string WithoutCarriageReturns(std::string Text) {
  for (size_t at; (at = Text.find("\r\n")) != std::string::npos;) Text.erase(at, 1);
  std::replace(Text.begin(), Text.end(), '\r', '\n');
  return Text;
}

// Qt's language tools are not on PATH in Debian.
std::string Tool(const std::string& Name) {
  const std::string qt = "/usr/lib/qt6/bin/" + Name;
  return fs::exists(qt) ? qt : Name;
}

std::string Read(const std::string& Name) {
  std::ifstream in(Name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const std::string& Name, const std::string& Text) {
  std::ofstream(Name, std::ios::binary) << Text;
}

// Texts that test the formats' escapes: quotes, markup, line feeds, tabs,
// blanks at the ends, non-ASCII; an untranslated copy; an empty
// translation; a row that is not translated and one without a source.
TTranslationContent SampleContent() {
  TTranslationContent content;
  content.Languages = {"Esp", "Ing", "Por"};
  content.Rules = {{"QLabel", "text", true, true}, {"QComboBox", "Items[]", false, true}};
  content.Forms = {{"{6C1A5E0B-3F7D-4B8E-9A21-C1A7D0E5F4B2}", "app", "TFRMClavira"}};
  const std::string guid = content.Forms[0].Guid;
  content.Entries = {
      {guid, "Label1", "text", "QLabel", true, {"Nombre", "Name", "Nome"}},
      {guid, "Label2", "text", "QLabel", true, {"Año & <día>", "Year & <day>", "Ano & <dia>"}},
      {guid, "Label3", "text", "QLabel", true, {"Dos\nlíneas \"x\"", "Two\nlines \"x\"", ""}},
      {guid, "Label4", "text", "QLabel", true, {" tab\there ", " tab\there ", "  "}},
      {guid, "Label5", "text", "QLabel", true, {"cr\r\nlf", "CR\r\nLF", "cr\rlf"}},
      {guid, "Box", "Items[0]", "QComboBox", true, {"Uno", "One", "Um"}},
      {guid, "Box", "Items[1]", "QComboBox", true, {"Dos", "Two", "Dois"}},
      {guid, "Fixed", "text", "QLabel", false, {"SSL", "SSL", "SSL"}},
      {guid, "Empty", "text", "QLabel", true, {"", "", ""}},
  };
  return content;
}

class ExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override { Dir = testsupport::MakeTempDir("clavira-exchange"); }
  void TearDown() override { fs::remove_all(Dir); }

  // Runs a tool; its exit status must be 0.
  testsupport::ProcessResult Run(const std::vector<std::string>& Args) {
    testsupport::ProcessResult result = testsupport::RunProcess(Args);
    EXPECT_EQ(result.ExitCode, 0) << Args[0] << ": " << result.Error
                                  << " (scripts/install-deps installs qt6-l10n-tools and gettext)";
    return result;
  }
  // Messages without the lines they were read at.
  static std::vector<TExchangeMessage> Messages(TExchangeCatalog Catalog) {
    for (TExchangeMessage& message : Catalog.Messages) message.Line = 0;
    return Catalog.Messages;
  }

  std::string Dir;
};

TEST_F(ExchangeTest, ExportedMessagesCarryKeysSourcesAndTheUnfinishedMark) {
  const TExchangeCatalog catalog = ExportCatalog(SampleContent(), 2);
  EXPECT_EQ(catalog.Language, "Por");
  EXPECT_EQ(catalog.SourceLanguage, "Esp");
  ASSERT_EQ(catalog.Messages.size(), 7u);  // neither the fixed text nor the empty source
  const TExchangeMessage& first = catalog.Messages[0];
  EXPECT_EQ(first.Context, "TFRMClavira/Label1");
  EXPECT_EQ(first.Comment, "QLabel text");
  EXPECT_EQ(first.Source, "Nombre");
  EXPECT_EQ(first.Translation, "Nome");
  EXPECT_FALSE(first.Unfinished);
  EXPECT_TRUE(catalog.Messages[2].Unfinished);  // empty
  EXPECT_EQ(catalog.Messages[5].Comment, "QComboBox Items[0]");
  EXPECT_TRUE(ExportCatalog(SampleContent(), 1).Messages[3].Unfinished);  // still the source
}

// Both formats read back what they wrote, and each tool's conversions
// through the other formats lose nothing.
TEST_F(ExchangeTest, TheToolsConvertTheFilesWithoutLoss) {
  const TTranslationContent content = SampleContent();
  for (int language : {1, 2}) {
    SCOPED_TRACE(language);
    const TExchangeCatalog exported = ExportCatalog(content, language);
    const std::string ts = Dir + "/texts.ts";
    const std::string po = Dir + "/texts.po";
    ExportLanguageFile(content, language, ts);
    ExportLanguageFile(content, language, po);
    EXPECT_EQ(Messages(ReadTs(Read(ts), ts)), exported.Messages);
    EXPECT_EQ(Messages(ReadPo(Read(po), po)), exported.Messages);
    EXPECT_EQ(Messages(ReadPo("\xEF\xBB\xBF" + Read(po), po)), exported.Messages);  // a BOM

    for (const char* through : {"po", "xlf"}) {
      SCOPED_TRACE(through);
      const std::string middle = Dir + "/through." + through;
      const std::string back = Dir + "/back.ts";
      Run({Tool("lconvert"), "-i", ts, "-o", middle});
      Run({Tool("lconvert"), "-i", middle, "-o", back});
      const TExchangeCatalog again = ReadTs(Read(back), back);
      EXPECT_EQ(again.Language, exported.Language);
      EXPECT_EQ(again.SourceLanguage, exported.SourceLanguage);
      std::vector<TExchangeMessage> expected = exported.Messages;
      if (std::string(through) == "xlf") {
        for (TExchangeMessage& message : expected) {
          message.Source = WithoutCarriageReturns(message.Source);
          message.Translation = WithoutCarriageReturns(message.Translation);
        }
      }
      EXPECT_EQ(Messages(again), expected);
    }
    // Our own PO file, read by lconvert, is the same .ts.
    const std::string fromPo = Dir + "/from-po.ts";
    Run({Tool("lconvert"), "-i", po, "-o", fromPo});
    EXPECT_EQ(Messages(ReadTs(Read(fromPo), fromPo)), exported.Messages);

    const testsupport::ProcessResult release =
        Run({Tool("lrelease"), ts, "-qm", Dir + "/texts.qm"});
    const std::string said = release.Output + release.Error;
    EXPECT_EQ(said.find("arning"), std::string::npos) << said;
    EXPECT_EQ(said.find("rror"), std::string::npos) << said;
    EXPECT_TRUE(fs::exists(Dir + "/texts.qm"));
    const testsupport::ProcessResult check =
        Run({"msgfmt", "--check", "-o", Dir + "/texts.mo", po});
    EXPECT_EQ(check.Error, "");
  }
}

// A translator's edit made with a tool (msgfilter rewrites translations)
// changes exactly the edited texts when the file comes back.
TEST_F(ExchangeTest, AnEditMadeWithAToolChangesExactlyTheEditedTexts) {
  const TTranslationContent content = SampleContent();
  for (const char* format : {"po", "ts"}) {
    SCOPED_TRACE(format);
    const std::string out = Dir + "/out." + format;
    const std::string edited = Dir + "/edited." + format;
    ExportLanguageFile(content, 1, out);
    if (std::string(format) == "po") {
      Run({"msgfilter", "--keep-header", "-i", out, "-o", edited, "sed", "-e", "s/^One$/Une/"});
    } else {
      Run({Tool("lconvert"), "-i", out, "-o", Dir + "/mid.po"});
      Run({"msgfilter", "--keep-header", "-i", Dir + "/mid.po", "-o", Dir + "/mid2.po", "sed", "-e",
           "s/^One$/Une/"});
      Run({Tool("lconvert"), "-i", Dir + "/mid2.po", "-o", edited});
    }
    TImportReport report;
    const TTranslationContent imported = ImportLanguageFile(content, NotFound, edited, report);
    EXPECT_EQ(report.Changed, 1);
    EXPECT_EQ(report.Unknown, std::vector<std::string>{});
    TTranslationContent expected = content;
    expected.Entries[5].Texts[1] = "Une";
    EXPECT_EQ(imported, expected);
  }
}

TEST_F(ExchangeTest, UnknownKeysAreReportedAndLeftOut) {
  const TTranslationContent content = SampleContent();
  const std::string po = Dir + "/texts.po";
  TExchangeCatalog catalog = ExportCatalog(content, 2);
  catalog.Messages[0].Translation = "Nome completo";
  catalog.Messages[1].Context = "TFRMClavira/Gone";
  catalog.Messages[3].Source = "otra cosa";
  Write(po, WritePo(catalog));
  TImportReport report;
  const TTranslationContent imported = ImportLanguageFile(content, 2, po, report);
  EXPECT_EQ(report.Changed, 1);
  EXPECT_EQ(report.Unknown,
            std::vector<std::string>{po + ":20: no text TFRMClavira/Gone QLabel text"});
  EXPECT_EQ(report.SourceChanged,
            std::vector<std::string>{po + ":30: the source of TFRMClavira/Label4 QLabel text is "
                                          "no longer 'otra cosa'"});
  TTranslationContent expected = content;
  expected.Entries[0].Texts[2] = "Nome completo";
  EXPECT_EQ(imported, expected);
}

// Files that are not sound raise an error that names the file (and the
// line where there is one); nothing is taken.
TEST_F(ExchangeTest, HostileFilesAreRefusedWithTheirLine) {
  const TTranslationContent content = SampleContent();
  const std::string ts = WriteTs(ExportCatalog(content, 1));
  const std::string po = WritePo(ExportCatalog(content, 1));
  const auto replaced = [](std::string Text, const std::string& From, const std::string& To) {
    const size_t at = Text.find(From);
    EXPECT_NE(at, std::string::npos) << From;
    if (at != std::string::npos) Text.replace(at, From.size(), To);
    return Text;
  };
  struct Case {
    const char* What;
    const char* Extension;
    std::string Text;
    std::string Error;  // after "<file>"
  };
  const std::string latin1 = "Espa\xF1ol";
  const Case cases[] = {
      {"truncated ts", "ts", ts.substr(0, ts.size() / 2), ":"},
      {"truncated po", "po", po.substr(0, po.find("msgstr \"Name\"")), ":"},
      {"latin-1 bytes ts", "ts", replaced(ts, "Name", latin1), ":9: the text is not UTF-8"},
      {"latin-1 bytes po", "po", replaced(po, "\"Name\"", "\"" + latin1 + "\""),
       ":18: the text is not UTF-8"},
      {"declared latin-1 ts", "ts", replaced(ts, "encoding=\"UTF-8\"", "encoding=\"ISO-8859-1\""),
       ":1: the file must be UTF-8, not ISO-8859-1"},
      {"declared latin-1 po", "po", replaced(po, "charset=UTF-8", "charset=ISO-8859-1"),
       ":2: the file must be UTF-8, not ISO-8859-1"},
      {"another language", "ts", replaced(ts, "language=\"Ing\"", "language=\"Fra\""),
       ": the file holds the language 'Fra', not 'Ing'"},
      {"another first language", "po",
       replaced(po, "X-Source-Language: Esp", "X-Source-Language: Cat"),
       ": the file translates from the language 'Cat', not from the first language 'Esp'"},
      {"unknown element", "ts", replaced(ts, "<comment>", "<remark/><comment>"),
       ":8: unknown element <remark> in a message"},
      {"plural forms", "po",
       replaced(po, "msgstr \"Name\"", "msgid_plural \"x\"\nmsgstr[0] \"Name\""),
       ":18: plural forms are not used by these translations"},
      {"a key twice", "po",
       po + "\nmsgctxt \"TFRMClavira/Label1|QLabel text\"\nmsgid "
            "\"Nombre\"\nmsgstr \"Again\"\n",
       ":53: the text of TFRMClavira/Label1 QLabel text appears twice"},
      {"unknown escape", "po", replaced(po, "\"Name\"", "\"Na\\qme\""),
       ":18: unknown escape '\\q'"},
      {"text too long", "po", replaced(po, "\"Name\"", "\"" + std::string(300, 'x') + "\""),
       ":16: the text of TFRMClavira/Label1 QLabel text is longer than 255 bytes"},
      {"not a ts file", "ts", "<html><body/></html>", ":1: a Qt Linguist file (<TS>) expected"},
      {"huge", "po", std::string(kMaxExchangeFileBytes + 1, '#'),
       ": the file is larger than 4194304 bytes"},
      {"no such format", "txt", po,
       ": the file name must end in .ts (Qt Linguist) or .po (gettext)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    const std::string file = Dir + "/hostile." + c.Extension;
    Write(file, c.Text);
    TImportReport report;
    report.Changed = 99;
    try {
      ImportLanguageFile(content, 1, file, report);
      ADD_FAILURE() << "accepted";
    } catch (const ETranslationExchangeError& e) {
      EXPECT_EQ(e.Message().rfind(file + c.Error, 0), 0u) << e.Message();
      EXPECT_GT(e.Message().size(), file.size() + 3) << e.Message();  // says what is wrong
    }
    EXPECT_EQ(report.Changed, 99);  // no report of a partial import
  }
  TImportReport report;
  EXPECT_THROW(ImportLanguageFile(content, 1, Dir + "/missing.po", report),
               ETranslationExchangeError);
  // A file of a language the translations do not have (made when they had
  // another set of languages), taken by the language it names.
  const std::string other = Dir + "/other.ts";
  Write(other, replaced(ts, "language=\"Ing\"", "language=\"Cat\""));
  try {
    ImportLanguageFile(content, NotFound, other, report);
    ADD_FAILURE() << "accepted";
  } catch (const ETranslationExchangeError& e) {
    EXPECT_EQ(e.Message(), other +
                               ": the file holds the language 'Cat', which the translations "
                               "do not have");
  }
}

}  // namespace
}  // namespace dataframework::qt
