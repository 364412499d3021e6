// One language out to a translator's file and back, offscreen: through the
// editor's Export and Import (the file dialog driven as a user would), and
// through clavira-translations; edited with gettext's own msgfilter.
#include <QFileDialog>
#include <QUndoStack>
#include <algorithm>

#include "app/tests/TranslationFixture.h"
#include "dataframework/translation/TranslationContent.h"

namespace {

using namespace apptest;

class TranslationExchangeTest : public TranslationTest {
 protected:
  // Clicks Button and picks FileName in the file dialog it opens.
  void PickFile(QPushButton* Button, const std::string& FileName) {
    WithDialog([&] { QTest::mouseClick(Button, Qt::LeftButton); },
               [&](QDialog& Dialog) {
                 auto* files = qobject_cast<QFileDialog*>(&Dialog);
                 ASSERT_NE(files, nullptr);
                 files->selectFile(QString::fromStdString(FileName));
                 Dialog.accept();  // QFileDialog::accept, as the Open button
               });
  }
  // The translator's edit: msgfilter runs sed over every translation.
  void EditWithMsgfilter(const std::string& In, const std::string& Out, const std::string& Script) {
    const testsupport::ProcessResult edit = testsupport::RunProcess(
        {"msgfilter", "--keep-header", "-i", In, "-o", Out, "sed", "-e", Script});
    ASSERT_EQ(edit.ExitCode, 0) << edit.Error;
  }
  // The texts that differ between two contents, as "component path language: text".
  static std::vector<std::string> Differences(const dataframework::TTranslationContent& A,
                                              const dataframework::TTranslationContent& B) {
    std::vector<std::string> out;
    EXPECT_EQ(A.Languages, B.Languages);
    EXPECT_EQ(A.Rules, B.Rules);
    EXPECT_EQ(A.Forms, B.Forms);
    EXPECT_EQ(A.Entries.size(), B.Entries.size());
    for (size_t i = 0; i < A.Entries.size() && i < B.Entries.size(); ++i) {
      EXPECT_EQ(A.Entries[i].Component, B.Entries[i].Component);
      EXPECT_EQ(A.Entries[i].Path, B.Entries[i].Path);
      for (size_t l = 0; l < A.Entries[i].Texts.size() && l < B.Entries[i].Texts.size(); ++l)
        if (A.Entries[i].Texts[l] != B.Entries[i].Texts[l])
          out.push_back(B.Entries[i].Component + " " + B.Entries[i].Path + " " + B.Languages[l] +
                        ": " + B.Entries[i].Texts[l]);
    }
    return out;
  }
};

TEST_F(TranslationExchangeTest, ARoundTripThroughATranslatorsToolChangesExactlyTheEditedTexts) {
  Open("Ing");
  OpenEditor();
  EXPECT_FALSE(Editor->ExportButton->isEnabled());  // no language chosen yet
  Editor->Grid->setCurrentIndex(Cell("Label1", 1));
  ASSERT_TRUE(Editor->ExportButton->isEnabled());
  const std::string exported = Dir + "/Ing.po";
  PickFile(Editor->ExportButton, exported);
  EXPECT_EQ(Editor->Status->text().toStdString(), "Exported 9 texts of Ing to " + exported);
  const std::string edited = Dir + "/Ing-edited.po";
  EditWithMsgfilter(exported, edited, "s/^Name$/Full name/;s/^Domain$/Realm/");
  // A text the translations do not have is reported, not taken.
  std::ofstream(edited, std::ios::app)
      << "\nmsgctxt \"TFRMClavira/Label9|QLabel text\"\nmsgid \"Otro\"\nmsgstr \"Other\"\n";

  const dataframework::TTranslationContent before = Window->Strings().Content();
  Errors.clear();
  PickFile(Editor->ImportButton, edited);
  ASSERT_EQ(Errors.size(), 1u);
  // The line of the message that names it.
  const std::string all = ReadFile(edited);
  const size_t at = all.find("msgctxt \"TFRMClavira/Label9");
  const auto line = std::count(all.begin(), all.begin() + static_cast<long>(at), '\n') + 1;
  EXPECT_EQ(Errors[0], "message: 1 texts of " + edited + " were left out:\n" + edited + ":" +
                           std::to_string(line) + ": no text TFRMClavira/Label9 QLabel text");
  EXPECT_EQ(Differences(before, Window->Strings().Content()),
            (std::vector<std::string>{"Label1 text Ing: Full name", "Label2 text Ing: Realm"}));
  EXPECT_EQ(Window->Label1->text(), "Full name");
  EXPECT_EQ(Window->Label2->text(), "Realm");
  EXPECT_EQ(Cell("Label1", 1).data().toString(), "Full name");
  EXPECT_EQ(Editor->Status->text().toStdString(),
            "Imported " + edited + ": 2 texts changed, 7 unchanged, 1 left out");
  // One step, undone as one.
  EXPECT_EQ(Editor->UndoStack()->count(), 1);
  EXPECT_TRUE(Editor->HasUnsavedChanges());
  Editor->UndoStack()->undo();
  EXPECT_EQ(Differences(before, Window->Strings().Content()), std::vector<std::string>{});
  EXPECT_EQ(Captions(), English);
}

// A file that is not sound is refused as a whole: the error with its line,
// no text taken, no undo step.
TEST_F(TranslationExchangeTest, AMalformedImportChangesNothing) {
  Open("Por");
  OpenEditor();
  Editor->Grid->setCurrentIndex(Cell("Label1", 2));
  const std::string exported = Dir + "/Por.ts";
  Editor->ExportLanguage(2, exported);
  std::string text = ReadFile(exported);
  const size_t cut = text.find("Nome");
  ASSERT_NE(cut, std::string::npos);
  // The first text changed, then the file cut short.
  text = text.substr(0, cut) + "Nome completo</translation>\n" + text.substr(cut + 20, 300);
  std::ofstream(exported, std::ios::binary | std::ios::trunc) << text;
  const std::string before = ContentText(Window->Strings());
  PickFile(Editor->ImportButton, exported);
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0].rfind(exported + ":", 0), 0u) << Errors[0];
  EXPECT_EQ(ContentText(Window->Strings()), before);
  EXPECT_EQ(Captions(), Portuguese);
  EXPECT_EQ(Editor->UndoStack()->count(), 0);
}

// The command line: export, a tool's edit, import into the translation file;
// a bad file leaves the translation file byte for byte as it was.
TEST_F(TranslationExchangeTest, TheCommandLineExportsAndImports) {
  const std::string tool = CLAVIRA_TRANSLATIONS_TOOL;
  const std::string shipped = ReadFile(File);
  const std::string ts = Dir + "/Por.ts";
  testsupport::ProcessResult run =
      testsupport::RunProcess({tool, "export", "--language", "Por", ts});
  ASSERT_EQ(run.ExitCode, 0) << run.Error;
  EXPECT_EQ(run.Output, ts + ": 9 texts of Por\n");
  EXPECT_EQ(ReadFile(File), shipped);

  // Edited as a .po (lconvert there and back), the way a Poedit user would.
  const std::string lconvert =
      fs::exists("/usr/lib/qt6/bin/lconvert") ? "/usr/lib/qt6/bin/lconvert" : "lconvert";
  ASSERT_EQ(testsupport::RunProcess({lconvert, "-i", ts, "-o", Dir + "/Por.po"}).ExitCode, 0);
  EditWithMsgfilter(Dir + "/Por.po", Dir + "/Por2.po", "s/^Senha$/Palavra-passe/");
  ASSERT_EQ(testsupport::RunProcess({lconvert, "-i", Dir + "/Por2.po", "-o", ts}).ExitCode, 0);
  run = testsupport::RunProcess({tool, "import", ts});
  ASSERT_EQ(run.ExitCode, 0) << run.Error;
  EXPECT_EQ(run.Output, File + ": 1 texts changed, 8 unchanged, 0 left out\n");
  Open("Por");
  EXPECT_EQ(Window->Label3->text(), "Palavra-passe");
  EXPECT_EQ(Window->Label1->text(), "Nome");
  Window.reset();

  const std::string changed = ReadFile(File);
  struct Case {
    std::vector<std::string> Args;
    int Exit;
    std::string Error;
  };
  std::ofstream(Dir + "/bad.po") << "msgid \"x\"\nmsgstr \"y\"\nmsgstr \"z\"\n";
  const Case cases[] = {
      {{tool, "import", Dir + "/bad.po"},
       1,
       Dir + "/bad.po:3: msgstr appears twice in a message\n"},
      {{tool, "import", "--language", "Fra", ts}, 1, File + ": no language 'Fra'\n"},
      {{tool, "import", "--language", "Ing", ts},
       1,
       ts + ": the file holds the language 'Por', not 'Ing'\n"},
      {{tool, "export", ts}, 2, "clavira-translations: export needs --language\n"},
      {{tool, "translate"}, 2, "clavira-translations: unknown command 'translate'\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Args[1]);
    run = testsupport::RunProcess(c.Args);
    EXPECT_EQ(run.ExitCode, c.Exit);
    EXPECT_EQ(run.Error.substr(0, c.Error.size()), c.Error);
    EXPECT_EQ(ReadFile(File), changed);
  }
}

}  // namespace
