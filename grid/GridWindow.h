// TGridWindow: the grid editor's window over a TGridDocument. A tree view
// shows the document's storage through TRowStorageModel (behind a sorting
// proxy that also marks unsaved rows and sends edits to the document, so
// that each is one undo step); above it the controls for the groups
// (group-by columns, the level shown, grand total, totals below, flat),
// the filter (its criteria text, editable, copied and pasted as text), the
// edits (add, delete, undo, redo, the spread of a subtotal edit), save,
// revert and CSV export; below it the status line with the unsaved count.
//
// Expanding or collapsing a node in the view expands or collapses the
// group in the document (after the view's own signal, so the model is not
// reset inside it); after every refresh the view shows expanded exactly
// the groups the document has expanded.
//
// Long loads and saves show a progress dialog whose Cancel interrupts the
// bridge (platform::TInterruptable). Errors are shown in the status line
// and kept as LastMessage(); a save conflict names the row's key.
//
// Captions are translated through the framework's translation (the
// translation file $CLAVIRA_GRID_TRANSLATIONS, else the shipped
// GridWindow.translations; the language the runtime library names), and
// can be edited with the test bench's translation editor (--translations). Messages stay
// untranslated, as scripts read them.
//
// Ownership: the window borrows the bridge (which must outlive it) and owns
// the document, the models and its controls.
#pragma once

#include <QMainWindow>
#include <exception>
#include <memory>
#include <string>

#include "app/TranslatedWindow.h"
#include "grid/GridDocument.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QSortFilterProxyModel;
class QTreeView;

namespace dataframework {
class TFormTranslator;
class TTranslatedStrings;
}  // namespace dataframework
namespace dataframework::qt {
class TRowStorageModel;
}
namespace platform::qt {
class TQtForm;
}

namespace grid {

inline constexpr const char* GridWindowGuid = "{3B8F2C61-7A4E-4D09-B5C2-9E1F6A0D8C47}";

class TGridProxy;

class TGridWindow : public QMainWindow, public app::ITranslatedWindow {
  Q_OBJECT

 public:
  explicit TGridWindow(dataframework::bridge::TDbDataBridge& Bridge, QWidget* Parent = nullptr);
  ~TGridWindow() override;

  TGridDocument& Document() noexcept { return *FDocument; }
  // None while no table is open.
  dataframework::qt::TRowStorageModel* Model() const noexcept { return FModel.get(); }
  QSortFilterProxyModel* Proxy() const noexcept;
  QTreeView* View() const noexcept { return Tree; }
  // The row of a view index, or none.
  dataframework::TAbstractRow* RowAt(const QModelIndex& ViewIndex) const;
  // The view index of Row at Column (invalid when Row shows no node).
  QModelIndex ViewIndexOf(const dataframework::TAbstractRow* Row, int Column = 0) const;

  // ---- What the controls do (also for tests and scripts); errors are
  // shown and answered false.
  bool OpenTable(const std::string& Name);
  // Asks for a table name (the table picker).
  void PickTable();
  bool ApplyFilter(const std::string& Text);
  bool Save();
  bool Revert();
  bool ExportCsv(const std::string& FileName, bool WithSubtotals);
  // The models read the storage again (a reset: after loads, saves and
  // reverts, which change rows' states and marks wholesale).
  void RefreshNow();
  // The progress dialog of the running load or save, or none.
  QProgressDialog* Progress() const noexcept { return FProgress; }
  const std::string& LastMessage() const noexcept { return FLastMessage; }
  TSpreadMode SpreadMode() const;

  // ---- Translation.
  static std::string TranslationFileName();
  void LoadTranslations();
  dataframework::TTranslatedStrings& Strings() const override { return *FStrings; }
  dataframework::TFormTranslator& Translator() const override { return *FTranslator; }
  void SwitchLanguage(int Index) override;
  std::string TranslationFile() const override { return TranslationFileName(); }

  // Controls (named for the translation).
  QLabel* LabelTable;
  QLabel* TableName;
  QPushButton* ButtonOpen;
  QLabel* LabelGroup;
  QComboBox* GroupBox;
  QLabel* LabelLevel;
  QComboBox* LevelBox;
  QCheckBox* CheckGrandTotal;
  QCheckBox* CheckTotalsBelow;
  QCheckBox* CheckFlat;
  QLabel* LabelFilter;
  QLineEdit* FilterEdit;
  QPushButton* ButtonFilter;
  QPushButton* ButtonAdd;
  QPushButton* ButtonDelete;
  QPushButton* ButtonUndo;
  QPushButton* ButtonRedo;
  QLabel* LabelSpread;
  QComboBox* SpreadBox;
  QPushButton* ButtonSave;
  QPushButton* ButtonRevert;
  QPushButton* ButtonExport;
  QCheckBox* CheckExportTotals;
  QTreeView* Tree;
  QLabel* StatusText;

  // Shows Message in the status line and keeps it.
  void Report(const std::string& Message);

 private:
  void MakeModels();
  void DropModels();
  void ScheduleRefresh();
  void FollowChanges();
  void UpdateModels(bool Reset);
  // The window's part after a load through the document (Done: not
  // cancelled), or after its failure.
  bool Loaded(bool Done);
  bool LoadFailed(const std::exception& E);
  void SyncExpansion(const QModelIndex& Parent);
  void FillGroupChoices();
  void UpdateStatus();
  void AddRowAsked();
  void DeleteSelected();
  // Runs Work with a progress dialog that can interrupt it; false when
  // interrupted.
  bool WithProgress(const QString& Title,
                    const std::function<bool(platform::TInterruptable&)>& Work);

  dataframework::bridge::TDbDataBridge& FBridge;
  std::unique_ptr<TGridDocument> FDocument;
  std::unique_ptr<dataframework::qt::TRowStorageModel> FModel;
  std::unique_ptr<TGridProxy> FProxy;
  QProgressDialog* FProgress = nullptr;
  bool FRefreshPending = false;
  bool FSyncing = false;
  std::string FLastMessage;
  std::unique_ptr<platform::qt::TQtForm> FComponent;  // owns FTranslator
  dataframework::TFormTranslator* FTranslator = nullptr;
  std::unique_ptr<dataframework::TTranslatedStrings> FStrings;
};

}  // namespace grid
