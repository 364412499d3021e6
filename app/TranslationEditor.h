// The translation editor of the test bench window (`clavira --translations`):
// one tab per page of the strings' views, one grid per view over its
// storage. The first grid lists the window's translation rows (mark
// picture, class, component, property, translate flag, then one column per
// language); the other pages list the rules (which can be added and
// deleted) and the forms. A text edited in the grid reaches the live window
// at once; languages are inserted, renamed and removed; the window's texts
// are gathered again; the translations are saved to the translation file,
// and one language is exported to and imported from a translator's file
// (Qt Linguist .ts, gettext .po).
//
// Every change (cell edits included) can be undone and redone until the
// next Save; the title marks unsaved changes and closing asks whether to
// save them. Language actions act on the language of the grid's current
// column and are disabled while none is chosen. Errors of every action go
// to the default error display; the outcome of each grid edit shows in the
// status line.
//
// Ownership: the editor borrows the window (and through it the translated
// strings) and registers itself as the strings' editor window; it owns its
// controls, the undo stack and the item models. A language change makes the
// strings build new storages, so the editor makes new models after each
// one; an edit open in a grid is committed first.
// REQUIRES: the window outlives the editor, or the strings close the editor
// (CloseAndRelease) before they go; after that the editor touches nothing
// of the window.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "dataframework/translation/TranslationContent.h"
#include "dataframework/translation/TranslationExchange.h"
#include "dataframework/translation/TranslatorViews.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTreeView;
class QUndoStack;

namespace dataframework::qt {
class TRowStorageModel;
}

namespace app {

class ITranslatedWindow;

class TFRMTranslationEditor : public QWidget, public dataframework::ITranslationEditorForm {
  Q_OBJECT

 public:
  explicit TFRMTranslationEditor(ITranslatedWindow& Window, QWidget* Parent = nullptr);
  ~TFRMTranslationEditor() override;

  // The strings are going: hide and let go of them.
  void CloseAndRelease() override;

  // What the buttons do once they have their answers; errors are raised to
  // the caller (the buttons show them through the error display). Each
  // change is one step of the undo stack.
  // A language Name at the end, its texts copied from language CopyFrom
  // (NotFound: empty texts).
  void InsertLanguage(const std::string& Name, int CopyFrom = 0);
  void RenameLanguage(int Index, const std::string& Name);
  void RemoveLanguage(int Index);
  // Adds (or replaces) a rule and gathers the window's texts again.
  void AddRule(const std::string& ClassName, const std::string& Path, bool IncludeSubclasses,
               bool Translate);
  // Deletes the rule of the rules grid's row Row; the rows only it named
  // are no longer shown.
  void DeleteRule(int Row);
  // Shows language Index in the window; an open cell edit is committed first.
  void SelectLanguage(int Index);
  // Reads the window's current texts into the rows.
  void Gather();
  // Writes the translation file; answers its name. Ends the undo history.
  std::string Save();
  // Writes language Language to a translator's file (.ts or .po).
  void ExportLanguage(int Language, const std::string& FileName);
  // Takes the translations of a translator's file into the language it
  // names (one undo step); unknown keys are reported (as a message) and
  // left out; a bad file changes nothing. Answers the report.
  dataframework::TImportReport ImportFile(const std::string& FileName);

  // Why Name cannot be given to language Language (NotFound: a new one):
  // the translation file's reasons and the strings' duplicate message; ""
  // when it can.
  std::string NameProblem(const std::string& Name, int Language) const;
  // The language of the grid's current column (NotFound: none chosen).
  int SelectedLanguage() const;
  // The rules grid's current row (-1: none).
  int SelectedRule() const;
  // Unsaved changes (the undo stack is not at its clean state).
  bool HasUnsavedChanges() const;
  QUndoStack* UndoStack() const { return FUndo; }
  // The model of the first grid (the translation rows), or none.
  dataframework::qt::TRowStorageModel* Model() const;
  // The grid of view View of page Page, or none.
  QTreeView* ViewGrid(int Page, int View) const;
  // The first grid over the rules (none without a rules view).
  QTreeView* RulesGrid() const;

  QPushButton* InsertButton;
  QPushButton* RenameButton;
  QPushButton* RemoveButton;
  QPushButton* GatherButton;
  QPushButton* SaveButton;
  QPushButton* ExportButton;  // the chosen language
  QPushButton* ImportButton;
  QPushButton* UndoButton;
  QPushButton* RedoButton;
  QPushButton* AddRuleButton;     // on the rules page
  QPushButton* DeleteRuleButton;  // on the rules page
  QComboBox* LanguageBox;         // the window's current language
  QTabWidget* Pages;
  QTreeView* Grid;  // the first view's grid
  QLabel* Status;

 protected:
  void closeEvent(QCloseEvent* Event) override;

 private:
  class TContentCommand;

  // Tabs, grids and models over the strings' current storages and views;
  // the language box follows the languages.
  void Rebuild();
  // Lets go of the models before the strings replace their storages.
  void DropModels();
  // Runs a language change between DropModel and Rebuild.
  template <class F>
  void ChangeLanguages(F&& Change);
  // Commits the edit open in any grid (before the models change).
  void CommitEdits();
  // Records what changed since the last step as one undo step named What.
  void Record(const QString& What);
  // Puts Content back (undo, redo), keeping the window's language by name
  // (else by position), and shows it in the window.
  void PutContent(const dataframework::TTranslationContent& Content);
  // Enables the actions that need a chosen language or rule.
  void UpdateActions();
  void AskInsert();
  void AskRename();
  void AskRemove();
  void AskAddRule();
  // A file name from a file dialog ("" when cancelled).
  std::string AskFile(bool ForExport);

  ITranslatedWindow* FWindow;                   // none once released
  std::string FTranslationFile;                 // the window's, when it was made
  std::vector<std::vector<QTreeView*>> FGrids;  // by page and view; owned by Pages
  std::vector<std::unique_ptr<dataframework::qt::TRowStorageModel>> FModels;
  QTreeView* FRulesGrid = nullptr;                  // among FGrids
  QUndoStack* FUndo;                                // owned by the editor (Qt parent)
  dataframework::TTranslationContent FLastContent;  // as of the last undo step
  bool FPutting = false;                            // an undo or redo is putting content back
};

}  // namespace app
