// The translation editor as a new user meets it, offscreen: language actions
// that wait for a chosen language, questions before work is lost, undo and
// redo of every change, names refused in the dialog, rules added and
// deleted, edits that survive a language change, and the close prompt.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPointer>
#include <QUndoStack>
#include <QWindow>

#include "app/TranslationDialogs.h"
#include "app/tests/TranslationFixture.h"
#include "testsupport/MessageOf.h"

namespace {

using namespace apptest;
using app::TAnswer;

class TranslationEditorTest : public TranslationTest {
 protected:
  // The grid's cell of Component's row for Path in column Column.
  QModelIndex CellAt(const char* Component, const char* Path, int Column) {
    dataframework::qt::TRowStorageModel* model = Editor->Model();
    for (int row = 0; row < model->rowCount(); ++row) {
      if (model->index(row, 2).data().toString() == Component &&
          model->index(row, 3).data().toString() == Path) {
        return model->index(row, Column);
      }
    }
    return {};
  }
  // The title as the window system shows it.
  std::string ShownTitle() { return Editor->windowHandle()->title().toStdString(); }
};

// Warnings Qt writes while a test runs.
class TQtWarnings {
 public:
  TQtWarnings() { FPrevious = qInstallMessageHandler(&TQtWarnings::Handle); }
  ~TQtWarnings() { qInstallMessageHandler(FPrevious); }
  static std::vector<std::string>& Seen() {
    static std::vector<std::string> seen;
    return seen;
  }

 private:
  static void Handle(QtMsgType Type, const QMessageLogContext&, const QString& Text) {
    if (Type != QtDebugMsg) Seen().push_back(Text.toStdString());
  }
  QtMessageHandler FPrevious;
};

TEST_F(TranslationEditorTest, LanguageActionsWaitForAChosenLanguage) {
  Open("Ing");
  OpenEditor();
  // Right after opening nothing is chosen: the actions are off, and a click
  // does nothing (before, it acted on the window's language).
  EXPECT_FALSE(Editor->RemoveButton->isEnabled());
  EXPECT_FALSE(Editor->RenameButton->isEnabled());
  QTest::mouseClick(Editor->RemoveButton, Qt::LeftButton);
  EXPECT_EQ(Errors, std::vector<std::string>{});
  struct Case {
    int Column;
    int Language;  // NotFound: none chosen
  };
  for (const Case& c : {Case{LanguageColumnOffset + 2, 2}, Case{2, dataframework::NotFound},
                        Case{LanguageColumnOffset, 0}}) {
    SCOPED_TRACE(c.Column);
    Editor->Grid->setCurrentIndex(Editor->Model()->index(1, c.Column));
    EXPECT_EQ(Editor->SelectedLanguage(), c.Language);
    EXPECT_EQ(Editor->RemoveButton->isEnabled(), c.Language != dataframework::NotFound);
    EXPECT_EQ(Editor->RenameButton->isEnabled(), c.Language != dataframework::NotFound);
  }
  // The rename dialog starts on the chosen language and may pick another.
  Editor->Grid->setCurrentIndex(Cell("Label1", 2));
  WithDialog([&] { QTest::mouseClick(Editor->RenameButton, Qt::LeftButton); },
             [&](QDialog& Dialog) {
               auto* box = Dialog.findChild<QComboBox*>("LanguageBox");
               auto* name = Dialog.findChild<QLineEdit*>("NameEdit");
               ASSERT_TRUE(box && name);
               EXPECT_EQ(box->currentText(), "Por");
               EXPECT_EQ(name->text(), "Por");
               box->setCurrentIndex(0);
               EXPECT_EQ(name->text(), "Esp");
               name->setText("Spa");
               Dialog.accept();
             });
  EXPECT_EQ(Window->Strings().LanguageName(0), "Spa");
  EXPECT_EQ(Window->Strings().LanguageName(2), "Por");
  EXPECT_EQ(Errors, std::vector<std::string>{});
}

TEST_F(TranslationEditorTest, RemovingALanguageAsksAndCanBeUndone) {
  Open("Ing");
  OpenEditor();
  const std::string before = ContentText(Window->Strings());
  Editor->Grid->setCurrentIndex(Cell("Label1", 2));
  QTest::mouseClick(Editor->RemoveButton, Qt::LeftButton);  // answered No
  EXPECT_EQ(Errors, std::vector<std::string>{"ask: Remove the language Por and its 9 texts?"});
  EXPECT_EQ(Window->Strings().LanguageCount(), 3);
  EXPECT_FALSE(Editor->HasUnsavedChanges());

  Answers = {TAnswer::Yes};
  QTest::mouseClick(Editor->RemoveButton, Qt::LeftButton);
  EXPECT_EQ(Window->Strings().LanguageCount(), 2);
  EXPECT_TRUE(Editor->UndoButton->isEnabled());
  QTest::mouseClick(Editor->UndoButton, Qt::LeftButton);
  EXPECT_EQ(ContentText(Window->Strings()), before);
  EXPECT_EQ(Editor->Model()->columnCount(), LanguageColumnOffset + 3);
  EXPECT_EQ(Editor->LanguageBox->count(), 3);
  EXPECT_EQ(dataframework::CurrentLanguageName(&Window->Translator()), "Ing");
  EXPECT_EQ(Captions(), English);
  QTest::mouseClick(Editor->RedoButton, Qt::LeftButton);
  EXPECT_EQ(Window->Strings().LanguageCount(), 2);
  EXPECT_EQ(Captions(), English);
}

// Every kind of change is one undo step; undoing them all gives back the
// content (and the window) as it was, redoing them all the changed one.
// Save ends the history.
TEST_F(TranslationEditorTest, EveryChangeIsOneUndoStepUntilSave) {
  Open("Ing");
  OpenEditor();
  const std::string initial = ContentText(Window->Strings());
  ASSERT_TRUE(Editor->Model()->setData(Cell("Label1", 1), "User name"));
  Editor->RenameLanguage(1, "Eng");
  Editor->InsertLanguage("Cat");
  Editor->AddRule("QLineEdit", "placeholderText", false, true);
  Editor->Grid->setCurrentIndex(Cell("Label1", 3));
  Answers = {TAnswer::Yes};
  QTest::mouseClick(Editor->RemoveButton, Qt::LeftButton);
  EXPECT_EQ(Errors, std::vector<std::string>{"ask: Remove the language Cat and its 9 texts?"});
  const std::string changed = ContentText(Window->Strings());
  ASSERT_EQ(Editor->UndoStack()->count(), 5);
  EXPECT_EQ(Window->Label1->text(), "User name");

  for (int i = 0; i < 5; ++i) QTest::mouseClick(Editor->UndoButton, Qt::LeftButton);
  EXPECT_EQ(ContentText(Window->Strings()), initial);
  EXPECT_EQ(Captions(), English);
  EXPECT_EQ(dataframework::CurrentLanguageName(&Window->Translator()), "Ing");
  EXPECT_FALSE(Editor->UndoButton->isEnabled());
  EXPECT_FALSE(Editor->HasUnsavedChanges());
  for (int i = 0; i < 5; ++i) QTest::mouseClick(Editor->RedoButton, Qt::LeftButton);
  EXPECT_EQ(ContentText(Window->Strings()), changed);
  EXPECT_EQ(Window->Label1->text(), "User name");
  EXPECT_EQ(dataframework::CurrentLanguageName(&Window->Translator()), "Eng");
  EXPECT_FALSE(Editor->RedoButton->isEnabled());

  Editor->Save();
  EXPECT_EQ(Editor->UndoStack()->count(), 0);
  EXPECT_FALSE(Editor->UndoButton->isEnabled());
  EXPECT_FALSE(Editor->HasUnsavedChanges());
  EXPECT_EQ(Errors.size(), 1u);
}

// The dialog refuses the names the file could not key texts by, with the
// message Save would give, and says where the new language goes and what it
// starts with.
TEST_F(TranslationEditorTest, TheInsertDialogRefusesWhatSaveWouldRefuse) {
  Open("Esp");
  OpenEditor();
  struct Case {
    const char* Name;
    std::string Problem;  // "": accepted
  };
  const Case cases[] = {
      {"", "a language without a name cannot be saved"},
      {"class", "language name 'class' is a key of the file"},
      {"translate", "language name 'translate' is a key of the file"},
      {"Ing", "Languagename 'Ing' is already used!"},
      {"Cat", ""},
  };
  WithDialog([&] { QTest::mouseClick(Editor->InsertButton, Qt::LeftButton); },
             [&](QDialog& Dialog) {
               auto* name = Dialog.findChild<QLineEdit*>("NameEdit");
               auto* problem = Dialog.findChild<QLabel*>("Problem");
               auto* about = Dialog.findChild<QLabel*>("About");
               auto* copy = Dialog.findChild<QComboBox*>("CopyFromBox");
               auto* buttons = Dialog.findChild<QDialogButtonBox*>("Buttons");
               ASSERT_TRUE(name && problem && about && copy && buttons);
               EXPECT_EQ(about->text(),
                         "The new language is added at the end, after the others. Its texts "
                         "start as a copy of the language chosen below.");
               EXPECT_EQ(copy->currentText(), "Esp");
               for (const Case& c : cases) {
                 SCOPED_TRACE(c.Name);
                 name->setText(QString::fromUtf8(c.Name));
                 EXPECT_EQ(problem->text().toStdString(), c.Problem);
                 EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->isEnabled(), c.Problem.empty());
               }
               copy->setCurrentIndex(1);  // the English texts
               buttons->button(QDialogButtonBox::Ok)->click();
             });
  ASSERT_EQ(Window->Strings().LanguageCount(), 4);
  EXPECT_EQ(Window->Strings().LanguageName(3), "Cat");
  EXPECT_EQ(Cell("Label1", 3).data().toString(), "Name");
  EXPECT_EQ(Editor->Status->text(), "Language Cat inserted");
  // The same refusal without the dialog; nothing changes.
  const std::string before = ContentText(Window->Strings());
  for (const Case& c : cases) {
    if (c.Problem.empty()) continue;
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(testsupport::MessageOf([&] { Editor->InsertLanguage(c.Name); }), c.Problem);
    EXPECT_EQ(testsupport::MessageOf([&] { Editor->RenameLanguage(3, c.Name); }), c.Problem);
  }
  EXPECT_EQ(ContentText(Window->Strings()), before);
  EXPECT_EQ(Editor->UndoStack()->count(), 1);
}

// A property no rule names (a placeholder) becomes translatable through a
// rule added on the Rules page, and stops being shown when it is deleted.
TEST_F(TranslationEditorTest, RulesAreAddedAndDeletedFromWhatTheFormHas) {
  Open("Ing");
  OpenEditor();
  const int rows = Editor->Model()->rowCount();
  ASSERT_NE(Editor->RulesGrid(), nullptr);
  ASSERT_NE(Editor->AddRuleButton, nullptr);
  EXPECT_FALSE(Editor->DeleteRuleButton->isEnabled());
  WithDialog(
      [&] { QTest::mouseClick(Editor->AddRuleButton, Qt::LeftButton); },
      [&](QDialog& Dialog) {
        auto* classes = Dialog.findChild<QComboBox*>("ClassBox");
        auto* paths = Dialog.findChild<QComboBox*>("PathBox");
        auto* subclasses = Dialog.findChild<QCheckBox*>("SubclassesCheck");
        ASSERT_TRUE(classes && paths && subclasses);
        // Classes of the form only: its own and those of its controls.
        EXPECT_GE(classes->findText("TFRMClavira"), 0);
        EXPECT_GE(classes->findText("QLineEdit"), 0);
        EXPECT_EQ(classes->findText("QTreeView"), -1);
        classes->setCurrentIndex(classes->findText("QLineEdit"));
        EXPECT_GE(paths->findText("toolTip"), 0);
        ASSERT_GE(paths->findText("placeholderText"), 0);
        paths->setCurrentIndex(paths->findText("placeholderText"));
        subclasses->setChecked(false);
        Dialog.findChild<QDialogButtonBox*>("Buttons")->button(QDialogButtonBox::Ok)->click();
      });
  EXPECT_EQ(Errors, std::vector<std::string>{});
  EXPECT_EQ(Editor->Status->text(), "Rule QLineEdit placeholderText added");
  EXPECT_EQ(Editor->RulesGrid()->model()->rowCount(), 4);
  const int lineEdits = Editor->Model()->rowCount() - rows;
  EXPECT_GT(lineEdits, 0);
  const QModelIndex placeholder = CellAt("EditName", "placeholderText", LanguageColumnOffset + 1);
  ASSERT_TRUE(placeholder.isValid());
  ASSERT_TRUE(Editor->Model()->setData(placeholder, "Your user name"));
  EXPECT_EQ(Window->EditName->placeholderText(), "Your user name");

  // Delete it again: the rows it alone named are no longer shown.
  QAbstractItemModel* rules = Editor->RulesGrid()->model();
  int row = 0;
  while (row < rules->rowCount() && rules->index(row, 0).data().toString() != "QLineEdit") ++row;
  ASSERT_LT(row, rules->rowCount());
  Editor->RulesGrid()->setCurrentIndex(rules->index(row, 0));
  ASSERT_TRUE(Editor->DeleteRuleButton->isEnabled());
  QTest::mouseClick(Editor->DeleteRuleButton, Qt::LeftButton);
  EXPECT_EQ(Errors, std::vector<std::string>{});
  EXPECT_EQ(Editor->RulesGrid()->model()->rowCount(), 3);
  EXPECT_EQ(Editor->Model()->rowCount(), rows);
  EXPECT_EQ(Editor->UndoStack()->count(), 3);  // add, edit, delete
}

// A text typed but not yet committed belongs to the language it was typed
// in, whatever the user does next; Qt has nothing to warn about.
TEST_F(TranslationEditorTest, AnOpenEditSurvivesALanguageChange) {
  Open("Ing");
  OpenEditor();
  TQtWarnings warnings;
  TQtWarnings::Seen().clear();
  struct Case {
    const char* What;
    std::function<void()> Change;
  };
  const Case cases[] = {
      {"window language",
       [&] {
         Editor->LanguageBox->setCurrentIndex(2);
         emit Editor->LanguageBox->activated(2);
       }},
      {"insert", [&] { Editor->InsertLanguage("Cat"); }},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    const QString text = QStringLiteral("Full name %1").arg(++n);
    const QModelIndex cell = Cell("Label1", 1);
    Editor->Grid->setCurrentIndex(cell);
    Editor->Grid->edit(cell);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // closed editors
    QPointer<QLineEdit> editor = Editor->Grid->viewport()->findChild<QLineEdit*>();
    ASSERT_FALSE(editor.isNull());
    editor->selectAll();
    QTest::keyClicks(editor.data(), text);
    c.Change();
    QCoreApplication::processEvents();
    EXPECT_EQ(Cell("Label1", 1).data().toString(), text);
    EXPECT_TRUE(editor.isNull() || !editor->isVisible());  // closed
  }
  EXPECT_EQ(TQtWarnings::Seen(), std::vector<std::string>{});
  EXPECT_EQ(Captions()[0], "Nome");
  EXPECT_EQ(Editor->UndoStack()->count(), 3);  // edit, edit, insert
  EXPECT_EQ(Errors, std::vector<std::string>{});
}

TEST_F(TranslationEditorTest, UnsavedChangesShowInTheTitleAndClosingAsks) {
  const std::string shipped = ReadFile(File);
  Open("Ing");
  OpenEditor();
  EXPECT_EQ(ShownTitle(), "Translations of FRMClavira");
  Editor->close();  // nothing to save: no question
  EXPECT_FALSE(Editor->isVisible());
  EXPECT_EQ(Errors, std::vector<std::string>{});

  const std::string question =
      "ask: The translations have unsaved changes. Save them before closing?";
  struct Case {
    TAnswer Answer;
    bool StaysOpen;
    bool Saved;
  };
  for (const Case& c : {Case{TAnswer::Cancel, true, false}, Case{TAnswer::No, false, false},
                        Case{TAnswer::Yes, false, true}}) {
    SCOPED_TRACE(static_cast<int>(c.Answer));
    fs::copy_file(std::string(CLAVIRA_SOURCE_DIR) + "/app/translations/FRMClavira.translations",
                  File, fs::copy_options::overwrite_existing);
    Editor.reset();
    OpenEditor();
    Errors.clear();
    ASSERT_TRUE(Editor->Model()->setData(
        Cell("Label2", 1), QStringLiteral("Realm %1").arg(static_cast<int>(c.Answer))));
    EXPECT_TRUE(Editor->isWindowModified());
    EXPECT_EQ(ShownTitle(), "Translations of FRMClavira*");
    Answers = {c.Answer};
    Editor->close();
    EXPECT_EQ(Errors, std::vector<std::string>{question});
    EXPECT_EQ(Editor->isVisible(), c.StaysOpen);
    EXPECT_EQ(ReadFile(File) != shipped, c.Saved);
    EXPECT_EQ(Editor->HasUnsavedChanges(), !c.Saved);
  }
  // Undoing back to the saved state is no change either.
  Editor.reset();
  OpenEditor();
  ASSERT_TRUE(Editor->Model()->setData(Cell("Label2", 1), "Area"));
  EXPECT_EQ(ShownTitle(), "Translations of FRMClavira*");
  Editor->UndoStack()->undo();
  EXPECT_EQ(ShownTitle(), "Translations of FRMClavira");
}

}  // namespace
