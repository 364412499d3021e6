// The translation editor of the test bench window (`clavira --translations`):
// one tab per page of the strings' views, one grid per view over its
// storage. The first grid lists the window's translation rows (mark
// picture, class, component, property, translate flag, then one column per
// language); the other pages list the rules and the forms. A text edited in the grid reaches the
// live window at once; languages are inserted, renamed and removed; the window's texts are gathered
// again; the translations are saved to the translation file.
//
// Errors of every action go to the default error display; the outcome of
// each grid edit shows in the status line.
//
// Ownership: the editor borrows the window (and through it the translated
// strings) and registers itself as the strings' editor window; it owns its
// controls and the item model. A language change makes the strings build new
// storages, so the editor makes a new model after each one.
// REQUIRES: the window outlives the editor, or the strings close the editor
// (CloseAndRelease) before they go; after that the editor touches nothing
// of the window.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "dataframework/translation/TranslatorViews.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTreeView;

namespace dataframework::qt {
class TRowStorageModel;
}

namespace app {

class TFRMClavira;

class TFRMTranslationEditor : public QWidget, public dataframework::ITranslationEditorForm {
  Q_OBJECT

 public:
  explicit TFRMTranslationEditor(TFRMClavira& Window, QWidget* Parent = nullptr);
  ~TFRMTranslationEditor() override;

  // The strings are going: hide and let go of them.
  void CloseAndRelease() override;

  // What the buttons do once they have their answers; errors are raised to
  // the caller (the buttons show them through the error display).
  // A language Name at the end, its texts copied from the first language.
  void InsertLanguage(const std::string& Name);
  void RenameLanguage(int Index, const std::string& Name);
  void RemoveLanguage(int Index);
  // Shows language Index in the window.
  void SelectLanguage(int Index);
  // Reads the window's current texts into the rows.
  void Gather();
  // Writes the translation file; answers its name.
  std::string Save();

  // The language of the grid's current column, else the window's current
  // language (NotFound: none).
  int SelectedLanguage() const;
  // The model of the first grid (the translation rows), or none.
  dataframework::qt::TRowStorageModel* Model() const;
  // The grid of view View of page Page, or none.
  QTreeView* ViewGrid(int Page, int View) const;

  QPushButton* InsertButton;
  QPushButton* RenameButton;
  QPushButton* RemoveButton;
  QPushButton* GatherButton;
  QPushButton* SaveButton;
  QComboBox* LanguageBox;  // the window's current language
  QTabWidget* Pages;
  QTreeView* Grid;  // the first view's grid
  QLabel* Status;

 private:
  // Tabs, grids and models over the strings' current storages and views;
  // the language box follows the languages.
  void Rebuild();
  // Lets go of the models before the strings replace their storages.
  void DropModels();
  // Runs a language change between DropModel and Rebuild.
  template <class F>
  void ChangeLanguages(F&& Change);

  TFRMClavira* FWindow;                         // none once released
  std::vector<std::vector<QTreeView*>> FGrids;  // by page and view; owned by Pages
  std::vector<std::unique_ptr<dataframework::qt::TRowStorageModel>> FModels;
};

}  // namespace app
