// The window's translations, offscreen: the language the runtime library
// names, the shipped file, a missing or corrupt file, and the translation
// editor changing the live window.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/FRMClavira.h"
#include "app/MessagePresenter.h"
#include "app/TranslationEditor.h"
#include "app/tests/TranslationFixture.h"
#include "dataframework/qt/RowStorageModel.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslationFile.h"
#include "testsupport/MessageOf.h"
#include "testsupport/Process.h"

namespace {

using namespace apptest;

// Every caption shows whole in every shipped language.
TEST_F(TranslationTest, OpensInTheLibrarysLanguageWithEveryCaptionWhole) {
  struct Case {
    const char* Language;
    const std::vector<std::string>* Captions;
  };
  for (const Case& c : {Case{"Esp", &Spanish}, Case{"Ing", &English}, Case{"Por", &Portuguese},
                        Case{"", &Spanish}, Case{"Fra", &Spanish}}) {
    SCOPED_TRACE(c.Language);
    Open(c.Language);
    EXPECT_EQ(Captions(), *c.Captions);
    EXPECT_EQ(Errors, std::vector<std::string>{});
    for (QLabel* label : {Window->Label1, Window->Label2, Window->Label3, Window->Label4}) {
      const QFontMetrics metrics(label->font());
      EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width())
          << label->text().toStdString();
      EXPECT_LE(label->geometry().right(), Window->EditName->x()) << label->text().toStdString();
    }
    for (QPushButton* button : {Window->Autenticar, Window->Button1, Window->Button2}) {
      QStyleOptionButton option;
      option.initFrom(button);
      option.text = button->text();
      const QRect contents =
          button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
      EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text()), contents.width())
          << button->text().toStdString();
    }
    Window.reset();
  }
}

TEST_F(TranslationTest, NoFileMeansSpanishWithoutComplaint) {
  setenv("CLAVIRA_TRANSLATIONS", "", 1);
  Open("Ing");
  EXPECT_EQ(Captions(), Spanish);
  EXPECT_EQ(Errors, std::vector<std::string>{});
  EXPECT_EQ(Window->Strings().LanguageCount(), 1);
  EXPECT_EQ(dataframework::CurrentLanguageName(&Window->Translator()), "Esp");
}

// A file that cannot be used is reported, and the window opens in Spanish,
// its translations still editable.
TEST_F(TranslationTest, AMissingOrCorruptFileLeavesAUsableSpanishWindow) {
  struct Case {
    const char* What;
    std::string Content;  // none: the file is missing
    std::string Error;
    bool Fifo = false;  // a FIFO, which would hold the window before it opens
  };
  const Case cases[] = {
      {"missing", "", File + ": "},
      {"corrupt", "[languages]\nEsp\nIng\n[text Label1 text]\nEsp = Nombre\n", File + ":4: "},
      {"fifo", "", File + ": ", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    fs::remove(File);
    if (!c.Content.empty()) std::ofstream(File) << c.Content;
    if (c.Fifo) {
      ASSERT_EQ(mkfifo(File.c_str(), 0600), 0);
    }
    Errors.clear();
    Open("Ing");
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Errors[0].rfind(c.Error, 0), 0u) << Errors[0];
    EXPECT_GT(Errors[0].size(), c.Error.size());  // says what is wrong
    EXPECT_EQ(Captions(), Spanish);
    EXPECT_TRUE(Window->isVisible());
    QTest::keyClicks(Window->EditName, "alice");
    EXPECT_EQ(Window->EditName->text(), "alice");
    OpenEditor();
    EXPECT_EQ(Editor->Model()->rowCount(), 9);  // the window's own texts
    Editor->InsertLanguage("Ing");
    EXPECT_EQ(Window->Strings().LanguageCount(), 2);
    Editor.reset();
    Window.reset();
  }
}

TEST_F(TranslationTest, EditorSwitchesTheWindowsLanguage) {
  Open("Esp");
  OpenEditor();
  // The rules and the forms on pages of their own.
  ASSERT_EQ(Editor->Pages->count(), 3);
  EXPECT_EQ(Editor->Pages->tabText(1), "Rules");
  ASSERT_NE(Editor->ViewGrid(1, 0), nullptr);
  EXPECT_EQ(Editor->ViewGrid(1, 0)->model()->rowCount(), 3);
  EXPECT_EQ(Editor->ViewGrid(2, 0)->model()->index(0, 0).data().toString(), app::FRMClaviraGuid);
  ASSERT_EQ(Editor->LanguageBox->count(), 3);
  EXPECT_EQ(Editor->LanguageBox->currentText(), "Esp");
  Editor->LanguageBox->setCurrentIndex(2);
  emit Editor->LanguageBox->activated(2);
  EXPECT_EQ(Captions(), Portuguese);
  EXPECT_EQ(dataframework::CurrentLanguageName(&Window->Translator()), "Por");
  Editor->LanguageBox->setCurrentIndex(0);
  emit Editor->LanguageBox->activated(0);
  EXPECT_EQ(Captions(), Spanish);
  EXPECT_EQ(Errors, std::vector<std::string>{});
}

TEST_F(TranslationTest, AnEditInTheGridChangesTheWindowAtOnce) {
  Open("Ing");
  OpenEditor();
  const QModelIndex cell = Cell("Label1", 1);
  ASSERT_TRUE(cell.isValid());
  EXPECT_EQ(cell.data().toString(), "Name");
  Editor->Grid->setCurrentIndex(cell);
  Editor->Grid->edit(cell);
  auto* editor = Editor->Grid->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "Name");
  editor->selectAll();
  QTest::keyClicks(editor, "User name");
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();  // the view commits the editor's text queued
  EXPECT_EQ(Window->Label1->text(), "User name");
  EXPECT_EQ(Editor->Status->text(), "Ok");
  // The longer text shows whole.
  EXPECT_LE(QFontMetrics(Window->Label1->font()).horizontalAdvance("User name"),
            Window->Label1->contentsRect().width());
  // A text of a language not shown changes the row only.
  ASSERT_TRUE(Editor->Model()->setData(Cell("Label1", 2), "Nome completo"));
  EXPECT_EQ(Window->Label1->text(), "User name");
  EXPECT_EQ(Cell("Label1", 2).data().toString(), "Nome completo");
}

TEST_F(TranslationTest, RemovingTheCurrentLanguageIsRefused) {
  Open("Ing");
  OpenEditor();
  Editor->Grid->setCurrentIndex(Cell("Label2", 1));
  QTest::mouseClick(Editor->RemoveButton, Qt::LeftButton);
  EXPECT_EQ(Errors, std::vector<std::string>{
                        "You are not allowed to remove the currently selected language!"});
  EXPECT_EQ(Window->Strings().LanguageCount(), 3);
  EXPECT_EQ(Captions(), English);
  // Another language goes; the window keeps its own.
  Errors.clear();
  Editor->Grid->setCurrentIndex(Cell("Label2", 2));
  Answers = {app::TAnswer::Yes};
  QTest::mouseClick(Editor->RemoveButton, Qt::LeftButton);
  EXPECT_EQ(Errors, std::vector<std::string>{"ask: Remove the language Por and its 9 texts?"});
  EXPECT_EQ(Window->Strings().LanguageCount(), 2);
  EXPECT_EQ(Editor->Model()->columnCount(), LanguageColumnOffset + 2);
  EXPECT_EQ(dataframework::CurrentLanguageName(&Window->Translator()), "Ing");
  EXPECT_EQ(Captions(), English);
}

TEST_F(TranslationTest, TheSavedFileLoadsBackToTheSameTables) {
  Open("Esp");
  OpenEditor();
  Editor->InsertLanguage("Cat");  // starts as a copy of the Spanish texts
  ASSERT_EQ(Editor->Model()->columnCount(), LanguageColumnOffset + 4);
  EXPECT_EQ(Cell("Label3", 3).data().toString(), "Clave");
  ASSERT_TRUE(Editor->Model()->setData(Cell("Label3", 3), "Contrasenya"));
  EXPECT_EQ(testsupport::MessageOf([&] { Editor->RenameLanguage(3, "Ing"); }),
            "Languagename 'Ing' is already used!");
  Editor->RenameLanguage(3, "Cat ");  // a blank at the end must survive the file
  EXPECT_EQ(Editor->Save(), File);

  dataframework::TTranslatedStrings loaded;
  dataframework::LoadTranslationFile(loaded, File);
  EXPECT_EQ(ContentText(loaded), ContentText(Window->Strings()));

  // A window opened on the saved file shows the new language.
  Editor.reset();
  Window.reset();
  Open("Cat ");
  EXPECT_EQ(Window->Label3->text(), "Contrasenya");
  EXPECT_EQ(Window->Label1->text(), "Nombre");
}

// The shipped file is what the editor writes: saving without a change
// changes no byte, so a diff shows only what an operator changed.
TEST_F(TranslationTest, SavingWithoutAChangeKeepsTheFileAsItIs) {
  const auto read = [](const std::string& Name) {
    std::ifstream in(Name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string shipped = read(File);
  Open("Por");
  OpenEditor();
  Editor->Save();
  EXPECT_EQ(read(File), shipped);
}

// Captions change with the language; the messages do not, since scripts
// read them.
TEST_F(TranslationTest, MessagesStayTheSameInEveryLanguage) {
  std::vector<std::vector<std::string>> shown;
  for (const char* language : {"Esp", "Ing", "Por"}) {
    SCOPED_TRACE(language);
    Open(language);
    Errors.clear();
    QTest::mouseClick(Window->Button1, Qt::LeftButton);  // no database configured
    shown.push_back(Errors);
    Window.reset();
  }
  ASSERT_FALSE(shown[0].empty());
  EXPECT_EQ(shown[1], shown[0]);
  EXPECT_EQ(shown[2], shown[0]);
}

// The window (and its strings) may go before the editor: the editor is
// closed and lets go of them.
TEST_F(TranslationTest, TheWindowGoingFirstReleasesTheEditor) {
  Open("Esp");
  OpenEditor();
  Window.reset();
  EXPECT_FALSE(Editor->isVisible());
  EXPECT_EQ(Editor->Model(), nullptr);
  EXPECT_EQ(Editor->LanguageBox->count(), 0);
  QTest::mouseClick(Editor->GatherButton, Qt::LeftButton);  // nothing left to work on
  EXPECT_EQ(Errors, std::vector<std::string>{});
}

}  // namespace
