#include "app/TranslationEditor.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ErrorDisplay.h"
#include "app/MessagePresenter.h"
#include "app/TranslatedWindow.h"
#include "app/TranslationDialogs.h"
#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/KeyField.h"
#include "dataframework/qt/RowStorageModel.h"
#include "dataframework/qt/TranslationExchangeFile.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslationFile.h"
#include "dataframework/translation/TranslatorFields.h"
#include "dataframework/translation/TranslatorRowStorage.h"
#include "platform/ClassRegistry.h"
#include "platform/Component.h"
#include "platform/Exception.h"
#include "platform/StringList.h"
#include "platform/qt/QtText.h"

namespace app {

using dataframework::NotFound;
using platform::qt::FromUtf8;

namespace {

QPushButton* Button(QWidget* Parent, QLayout* Row, const char* Name, const QString& Caption) {
  auto* button = new QPushButton(Caption, Parent);
  button->setObjectName(QString::fromLatin1(Name));
  Row->addWidget(button);
  return button;
}

QTreeView* NewGrid(QWidget* Parent, QBoxLayout* Layout) {
  auto* grid = new QTreeView(Parent);
  grid->setRootIsDecorated(false);
  grid->setUniformRowHeights(true);
  grid->setAlternatingRowColors(true);
  grid->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  Layout->addWidget(grid, 1);
  return grid;
}

// The visible editors of a grid (the delegate makes them on its viewport).
std::vector<QWidget*> OpenEditors(QTreeView* Grid) {
  std::vector<QWidget*> editors;
  for (QWidget* child : Grid->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->isVisible()) editors.push_back(child);
  return editors;
}

}  // namespace

// One undo step: the whole content before and after a change. Contents are
// small (a few hundred texts), and putting a whole content back is the one
// way that restores every kind of change alike.
class TFRMTranslationEditor::TContentCommand : public QUndoCommand {
 public:
  TContentCommand(TFRMTranslationEditor* Editor, dataframework::TTranslationContent Before,
                  dataframework::TTranslationContent After, const QString& Text)
      : QUndoCommand(Text), FEditor(Editor), FBefore(std::move(Before)), FAfter(std::move(After)) {}

  void undo() override {
    RunGuarded(FEditor, [this] { FEditor->PutContent(FBefore); });
  }
  void redo() override {
    if (FDone) {  // pushed after the change was made
      FDone = false;
      return;
    }
    RunGuarded(FEditor, [this] { FEditor->PutContent(FAfter); });
  }

 private:
  TFRMTranslationEditor* FEditor;
  dataframework::TTranslationContent FBefore;
  dataframework::TTranslationContent FAfter;
  bool FDone = true;
};

TFRMTranslationEditor::TFRMTranslationEditor(ITranslatedWindow& Window, QWidget* Parent)
    : QWidget(Parent),
      FWindow(&Window),
      FTranslationFile(Window.TranslationFile()),
      FUndo(new QUndoStack(this)) {
  setObjectName(QStringLiteral("FRMTranslationEditor"));
  // "[*]" shows the unsaved changes.
  setWindowTitle(QStringLiteral("Translations of FRMClavira[*]"));
  resize(820, 420);

  auto* layout = new QVBoxLayout(this);
  // Two rows, so that every button shows at the editor's first size: the
  // languages, then the changes and the files.
  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  auto* changes = new QHBoxLayout;
  layout->addLayout(changes);
  InsertButton = Button(this, buttons, "InsertButton", QStringLiteral("Insert language…"));
  RenameButton = Button(this, buttons, "RenameButton", QStringLiteral("Rename language…"));
  RemoveButton = Button(this, buttons, "RemoveButton", QStringLiteral("Remove language"));
  GatherButton = Button(this, buttons, "GatherButton", QStringLiteral("Gather texts"));
  UndoButton = Button(this, changes, "UndoButton", QStringLiteral("Undo"));
  RedoButton = Button(this, changes, "RedoButton", QStringLiteral("Redo"));
  ExportButton = Button(this, changes, "ExportButton", QStringLiteral("Export…"));
  ImportButton = Button(this, changes, "ImportButton", QStringLiteral("Import…"));
  changes->addStretch();
  SaveButton = Button(this, changes, "SaveButton", QStringLiteral("Save"));
  buttons->addStretch();
  auto* shown = new QLabel(QStringLiteral("Window language:"), this);
  buttons->addWidget(shown);
  LanguageBox = new QComboBox(this);
  LanguageBox->setObjectName(QStringLiteral("LanguageBox"));
  shown->setBuddy(LanguageBox);
  buttons->addWidget(LanguageBox);

  Pages = new QTabWidget(this);
  Pages->setObjectName(QStringLiteral("Pages"));
  layout->addWidget(Pages, 1);
  AddRuleButton = nullptr;
  DeleteRuleButton = nullptr;
  // The pages and views stay; only the first view's columns follow the languages.
  for (const dataframework::TTranslatorPage& page : Window.Strings().GetViews().Pages()) {
    auto* tab = new QWidget;
    auto* views = new QVBoxLayout(tab);
    views->setContentsMargins(0, 0, 0, 0);
    const bool rules = std::any_of(page.Views.begin(), page.Views.end(), [](const auto& View) {
      return View.Source == dataframework::vsRules;
    });
    if (rules && AddRuleButton == nullptr) {
      auto* row = new QHBoxLayout;
      views->addLayout(row);
      AddRuleButton = Button(tab, row, "AddRuleButton", QStringLiteral("Add rule…"));
      DeleteRuleButton = Button(tab, row, "DeleteRuleButton", QStringLiteral("Delete rule"));
      row->addStretch();
    }
    FGrids.emplace_back();
    for (size_t i = 0; i < page.Views.size(); ++i) {
      FGrids.back().push_back(NewGrid(tab, views));
      if (page.Views[i].Source == dataframework::vsRules && FRulesGrid == nullptr)
        FRulesGrid = FGrids.back().back();
    }
    Pages->addTab(tab, FromUtf8(page.Caption));
  }
  Grid = ViewGrid(0, 0);
  if (Grid == nullptr) Grid = NewGrid(this, layout);  // views without pages: an empty grid
  Grid->setObjectName(QStringLiteral("Grid"));
  if (FRulesGrid != nullptr) FRulesGrid->setObjectName(QStringLiteral("RulesGrid"));
  Status = new QLabel(this);
  Status->setObjectName(QStringLiteral("Status"));
  layout->addWidget(Status);

  connect(InsertButton, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { AskInsert(); }); });
  connect(RenameButton, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { AskRename(); }); });
  connect(RemoveButton, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { AskRemove(); }); });
  connect(GatherButton, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { Gather(); }); });
  connect(SaveButton, &QPushButton::clicked, this, [this] {
    RunGuarded(this, [this] { Status->setText(QStringLiteral("Saved ") + FromUtf8(Save())); });
  });
  connect(ExportButton, &QPushButton::clicked, this, [this] {
    RunGuarded(this, [this] {
      const int language = SelectedLanguage();
      if (language == NotFound) return;
      const std::string file = AskFile(true);
      if (!file.empty()) ExportLanguage(language, file);
    });
  });
  connect(ImportButton, &QPushButton::clicked, this, [this] {
    RunGuarded(this, [this] {
      const std::string file = AskFile(false);
      if (!file.empty()) ImportFile(file);
    });
  });
  connect(UndoButton, &QPushButton::clicked, this, [this] {
    CommitEdits();
    FUndo->undo();
  });
  connect(RedoButton, &QPushButton::clicked, this, [this] {
    CommitEdits();
    FUndo->redo();
  });
  connect(FUndo, &QUndoStack::canUndoChanged, UndoButton, &QPushButton::setEnabled);
  connect(FUndo, &QUndoStack::canRedoChanged, RedoButton, &QPushButton::setEnabled);
  connect(FUndo, &QUndoStack::cleanChanged, this,
          [this](bool Clean) { setWindowModified(!Clean); });
  UndoButton->setEnabled(false);
  RedoButton->setEnabled(false);
  if (AddRuleButton != nullptr) {
    connect(AddRuleButton, &QPushButton::clicked, this,
            [this] { RunGuarded(this, [this] { AskAddRule(); }); });
    connect(DeleteRuleButton, &QPushButton::clicked, this,
            [this] { RunGuarded(this, [this] { DeleteRule(SelectedRule()); }); });
  }
  connect(LanguageBox, &QComboBox::activated, this,
          [this](int Index) { RunGuarded(this, [this, Index] { SelectLanguage(Index); }); });

  Window.Strings().SetEditorForm(this);
  FLastContent = Window.Strings().Content();
  Rebuild();
}

TFRMTranslationEditor::~TFRMTranslationEditor() {
  DropModels();
  if (FWindow != nullptr && FWindow->Strings().GetEditorForm() == this) {
    FWindow->Strings().SetEditorForm(nullptr);
  }
}

void TFRMTranslationEditor::CloseAndRelease() {
  DropModels();
  FWindow = nullptr;
  FUndo->clear();  // the steps name contents of strings that are gone
  LanguageBox->clear();
  UpdateActions();
  close();  // frees the editor when it was made to be deleted on close
}

void TFRMTranslationEditor::closeEvent(QCloseEvent* Event) {
  if (FWindow == nullptr || !HasUnsavedChanges()) {
    Event->accept();
    return;
  }
  CommitEdits();
  switch (Presenter().Ask(
      this, QStringLiteral("The translations have unsaved changes. Save them before closing?"),
      true)) {
    case TAnswer::Yes: {
      bool saved = false;
      RunGuarded(this, [&] {
        Save();
        saved = true;
      });
      if (saved) {
        Event->accept();
      } else {
        Event->ignore();  // the error is shown; the changes stay
      }
      return;
    }
    case TAnswer::No:
      Event->accept();
      return;
    case TAnswer::Cancel:
      Event->ignore();
      return;
  }
}

dataframework::qt::TRowStorageModel* TFRMTranslationEditor::Model() const {
  return FModels.empty() ? nullptr : FModels.front().get();
}

QTreeView* TFRMTranslationEditor::ViewGrid(int Page, int View) const {
  if (Page < 0 || Page >= static_cast<int>(FGrids.size())) return nullptr;
  const std::vector<QTreeView*>& views = FGrids[static_cast<size_t>(Page)];
  if (View < 0 || View >= static_cast<int>(views.size())) return nullptr;
  return views[static_cast<size_t>(View)];
}

QTreeView* TFRMTranslationEditor::RulesGrid() const {
  return FRulesGrid;
}

void TFRMTranslationEditor::CommitEdits() {
  std::vector<QTreeView*> grids;
  for (const std::vector<QTreeView*>& views : FGrids)
    grids.insert(grids.end(), views.begin(), views.end());
  if (std::find(grids.begin(), grids.end(), Grid) == grids.end()) grids.push_back(Grid);
  for (QTreeView* grid : grids) {
    for (QWidget* editor : OpenEditors(grid)) {
      // The view writes the editor's text through the model, then closes it.
      emit grid->itemDelegate()->commitData(editor);
      // A write that reset the model has released the editor already.
      if (editor->isVisible())
        emit grid->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
  }
}

void TFRMTranslationEditor::DropModels() {
  CommitEdits();
  for (const std::vector<QTreeView*>& views : FGrids)
    for (QTreeView* grid : views) grid->setModel(nullptr);
  Grid->setModel(nullptr);
  FModels.clear();
}

void TFRMTranslationEditor::Rebuild() {
  // The current cell survives new models (same rows, same columns).
  const QModelIndex current = Grid->currentIndex();
  const int currentRow = current.isValid() ? current.row() : -1;
  const int currentColumn = current.isValid() ? current.column() : -1;
  DropModels();
  LanguageBox->clear();
  if (FWindow == nullptr) {
    UpdateActions();
    return;
  }
  dataframework::TTranslatedStrings& strings = FWindow->Strings();
  const std::vector<dataframework::TTranslatorPage>& pages = strings.GetViews().Pages();
  for (size_t p = 0; p < pages.size() && p < FGrids.size(); ++p) {
    for (size_t v = 0; v < pages[p].Views.size() && v < FGrids[p].size(); ++v) {
      const dataframework::TTranslatorView& view = pages[p].Views[v];
      dataframework::TCustomRowStorage* storage = nullptr;
      switch (view.Source) {
        case dataframework::vsTranslation:
          storage = strings.GetTranslationStorage();
          break;
        case dataframework::vsRules:
          storage = strings.GetRulesStorage();
          break;
        case dataframework::vsForms:
          storage = strings.GetFormsStorage();
          break;
        case dataframework::vsMirror:
          storage = strings.GetMirrorStorage();
          break;
      }
      if (storage == nullptr) continue;
      auto model = std::make_unique<dataframework::qt::TRowStorageModel>(*storage, view.Columns);
      model->SetOnResult([this](const std::string& Message) {
        Status->setText(FromUtf8(Message));
        // An edited caption may be longer than its label.
        if (FWindow != nullptr) FWindow->FitLabels();
        Record(QStringLiteral("Edit"));
      });
      QTreeView* grid = FGrids[p][v];
      dataframework::qt::ConnectTreeView(*grid, *model);
      grid->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
      connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
              [this] { UpdateActions(); });
      connect(model.get(), &QAbstractItemModel::modelReset, this, [this] { UpdateActions(); });
      FModels.push_back(std::move(model));
    }
  }
  for (int i = 0; i < strings.LanguageCount(); ++i) {
    LanguageBox->addItem(FromUtf8(strings.LanguageName(i)));
  }
  LanguageBox->setCurrentIndex(FWindow->Translator().CurrentLanguage());
  if (Grid->model() != nullptr && currentRow >= 0) {
    const QModelIndex again =
        Grid->model()->index(std::min(currentRow, Grid->model()->rowCount() - 1),
                             std::min(currentColumn, Grid->model()->columnCount() - 1));
    if (again.isValid()) Grid->setCurrentIndex(again);
  }
  UpdateActions();
}

void TFRMTranslationEditor::UpdateActions() {
  const bool language = SelectedLanguage() != NotFound;
  RenameButton->setEnabled(language);
  RemoveButton->setEnabled(language);
  ExportButton->setEnabled(language);
  const bool live = FWindow != nullptr;
  InsertButton->setEnabled(live);
  GatherButton->setEnabled(live);
  SaveButton->setEnabled(live);
  ImportButton->setEnabled(live);
  if (AddRuleButton != nullptr) {
    AddRuleButton->setEnabled(live);
    DeleteRuleButton->setEnabled(SelectedRule() >= 0);
  }
}

void TFRMTranslationEditor::Record(const QString& What) {
  if (FWindow == nullptr || FPutting) return;
  dataframework::TTranslationContent now = FWindow->Strings().Content();
  if (now == FLastContent) return;
  dataframework::TTranslationContent before = std::move(FLastContent);
  FLastContent = now;
  FUndo->push(new TContentCommand(this, std::move(before), std::move(now), What));
}

void TFRMTranslationEditor::PutContent(const dataframework::TTranslationContent& Content) {
  if (FWindow == nullptr) return;
  dataframework::TTranslatedStrings& strings = FWindow->Strings();
  const std::string name = dataframework::CurrentLanguageName(&FWindow->Translator());
  const int position = FWindow->Translator().CurrentLanguage();
  FPutting = true;
  try {
    ChangeLanguages(
        [&](dataframework::TTranslatedStrings& Strings) { Strings.SetContent(Content); });
  } catch (...) {
    FPutting = false;
    throw;
  }
  FPutting = false;
  FLastContent = strings.Content();
  int language = strings.IndexOfLanguage(name);
  if (language == NotFound) language = std::min(position, strings.LanguageCount() - 1);
  if (language != NotFound) FWindow->SwitchLanguage(language);
  LanguageBox->setCurrentIndex(FWindow->Translator().CurrentLanguage());
  for (const std::vector<QTreeView*>& views : FGrids)
    for (QTreeView* grid : views) grid->viewport()->update();
}

template <class F>
void TFRMTranslationEditor::ChangeLanguages(F&& Change) {
  DropModels();
  try {
    Change(FWindow->Strings());
  } catch (...) {
    Rebuild();
    throw;
  }
  Rebuild();
}

std::string TFRMTranslationEditor::NameProblem(const std::string& Name, int Language) const {
  if (std::string problem = dataframework::LanguageNameProblem(Name); !problem.empty())
    return problem;
  if (FWindow == nullptr) return {};
  const dataframework::TTranslatedStrings& strings = FWindow->Strings();
  for (int i = 0; i < strings.LanguageCount(); ++i) {
    if (i != Language && strings.LanguageName(i) == Name)
      return "Languagename '" + Name + "' is already used!";
  }
  return {};
}

void TFRMTranslationEditor::AskInsert() {
  if (FWindow == nullptr) return;
  std::vector<std::string> languages;
  for (int i = 0; i < FWindow->Strings().LanguageCount(); ++i)
    languages.push_back(FWindow->Strings().LanguageName(i));
  TLanguageDialog dialog(
      this, TLanguageDialog::dpInsert, languages, 0,
      [this](const std::string& Name, int Language) { return NameProblem(Name, Language); });
  if (dialog.exec() != QDialog::Accepted) return;
  InsertLanguage(dialog.Name(), dialog.Language());
}

void TFRMTranslationEditor::AskRename() {
  const int language = SelectedLanguage();
  if (language == NotFound) return;
  std::vector<std::string> languages;
  for (int i = 0; i < FWindow->Strings().LanguageCount(); ++i)
    languages.push_back(FWindow->Strings().LanguageName(i));
  TLanguageDialog dialog(
      this, TLanguageDialog::dpRename, languages, language,
      [this](const std::string& Name, int Language) { return NameProblem(Name, Language); });
  if (dialog.exec() != QDialog::Accepted || dialog.Language() == NotFound) return;
  RenameLanguage(dialog.Language(), dialog.Name());
}

void TFRMTranslationEditor::AskRemove() {
  const int language = SelectedLanguage();
  if (language == NotFound) return;
  // The window's own language is refused (by the strings) before anything is asked.
  if (language != FWindow->Translator().CurrentLanguage()) {
    int texts = 0;
    for (const dataframework::TTranslationEntry& entry : FLastContent.Entries) {
      const size_t at = static_cast<size_t>(language);
      if (at < entry.Texts.size() && !entry.Texts[at].empty()) ++texts;
    }
    const QString question = QStringLiteral("Remove the language %1 and its %2 texts?")
                                 .arg(FromUtf8(FWindow->Strings().LanguageName(language)))
                                 .arg(texts);
    if (Presenter().Ask(this, question, false) != TAnswer::Yes) return;
  }
  RemoveLanguage(language);
}

void TFRMTranslationEditor::AskAddRule() {
  if (FWindow == nullptr) return;
  dataframework::TTranslatedStrings& strings = FWindow->Strings();
  const platform::TComponent* form = FWindow->Translator().Form();
  std::vector<const platform::TComponent*> components = {form};
  for (int i = 0; i < form->ComponentCount(); ++i) components.push_back(form->Components(i));
  // Every class of the form, from the root of the form's class down.
  const std::vector<const platform::TClass*> ancestry = form->ClassType().Ancestry();
  std::vector<const platform::TClass*> classes =
      strings.ClassesDerivedFrom(ancestry.back()->ClassName());
  std::sort(classes.begin(), classes.end(),
            [](const auto* A, const auto* B) { return A->ClassName() < B->ClassName(); });
  std::vector<std::string> names;
  for (const platform::TClass* cls : classes) names.push_back(cls->ClassName());
  TRuleDialog dialog(this, names, [&](const std::string& ClassName) {
    std::vector<std::string> paths;
    auto cls = std::find_if(classes.begin(), classes.end(),
                            [&](const auto* C) { return C->ClassName() == ClassName; });
    if (cls == classes.end()) return paths;
    // A live instance also offers the items of its collections.
    const platform::TObject* instance = nullptr;
    for (const platform::TComponent* component : components) {
      if (component->ClassType().InheritsFrom(*cls)) {
        instance = component;
        break;
      }
    }
    platform::TStringList list;
    strings.CollectPropertyPaths(**cls, instance, "", list);
    for (int i = 0; i < list.Count(); ++i) paths.push_back(list[i]);
    return paths;
  });
  if (dialog.exec() != QDialog::Accepted || dialog.Path().empty()) return;
  AddRule(dialog.ClassName(), dialog.Path(), dialog.IncludeSubclasses(), dialog.Translate());
}

void TFRMTranslationEditor::InsertLanguage(const std::string& Name, int CopyFrom) {
  if (FWindow == nullptr) return;
  CommitEdits();
  if (const std::string problem = NameProblem(Name, NotFound); !problem.empty())
    throw platform::Exception(problem);
  ChangeLanguages([&](dataframework::TTranslatedStrings& Strings) {
    Strings.InsertLanguage(
        Strings.LanguageCount(), Name,
        CopyFrom >= 0 && CopyFrom < Strings.LanguageCount() ? CopyFrom : NotFound);
  });
  Record(QStringLiteral("Insert language"));
  Status->setText(QStringLiteral("Language ") + FromUtf8(Name) + QStringLiteral(" inserted"));
}

void TFRMTranslationEditor::RenameLanguage(int Index, const std::string& Name) {
  if (FWindow == nullptr) return;
  CommitEdits();
  if (const std::string problem = NameProblem(Name, Index); !problem.empty())
    throw platform::Exception(problem);
  ChangeLanguages(
      [&](dataframework::TTranslatedStrings& Strings) { Strings.RenameLanguage(Index, Name); });
  Record(QStringLiteral("Rename language"));
}

void TFRMTranslationEditor::RemoveLanguage(int Index) {
  if (FWindow == nullptr) return;
  CommitEdits();
  ChangeLanguages(
      [&](dataframework::TTranslatedStrings& Strings) { Strings.RemoveLanguage(Index); });
  Record(QStringLiteral("Remove language"));
}

void TFRMTranslationEditor::AddRule(const std::string& ClassName, const std::string& Path,
                                    bool IncludeSubclasses, bool Translate) {
  if (FWindow == nullptr) return;
  CommitEdits();
  ChangeLanguages([&](dataframework::TTranslatedStrings& Strings) {
    Strings.AddRule(ClassName, Path, IncludeSubclasses, Translate);
    Strings.GatherAll();
  });
  FWindow->SwitchLanguage(FWindow->Translator().CurrentLanguage());
  Record(QStringLiteral("Add rule"));
  Status->setText(QStringLiteral("Rule ") + FromUtf8(ClassName + " " + Path) +
                  QStringLiteral(" added"));
}

void TFRMTranslationEditor::DeleteRule(int Row) {
  if (FWindow == nullptr || FRulesGrid == nullptr || FRulesGrid->model() == nullptr) return;
  CommitEdits();
  auto* model = static_cast<dataframework::qt::TRowStorageModel*>(FRulesGrid->model());
  const dataframework::TAbstractRow* row = model->RowAt(model->index(Row, 0));
  if (row == nullptr) return;
  const std::string className = row->GetFStringValue(dataframework::ClassField());
  const std::string path = row->GetFStringValue(dataframework::PropertyField());
  dataframework::TTranslationContent content = FWindow->Strings().Content();
  std::erase_if(content.Rules, [&](const dataframework::TTranslationRule& Rule) {
    return Rule.ClassName == className && Rule.Path == path;
  });
  ChangeLanguages([&](dataframework::TTranslatedStrings& Strings) {
    Strings.SetContent(content);
    Strings.GatherAll();
  });
  Record(QStringLiteral("Delete rule"));
  Status->setText(QStringLiteral("Rule ") + FromUtf8(className + " " + path) +
                  QStringLiteral(" deleted"));
}

void TFRMTranslationEditor::SelectLanguage(int Index) {
  if (FWindow == nullptr) return;
  // The edit belongs to the language it was typed in.
  CommitEdits();
  try {
    FWindow->SwitchLanguage(Index);
  } catch (...) {
    LanguageBox->setCurrentIndex(FWindow->Translator().CurrentLanguage());
    throw;
  }
  LanguageBox->setCurrentIndex(Index);
  // Same rows and columns: only the marks and texts shown change.
  for (const std::vector<QTreeView*>& views : FGrids)
    for (QTreeView* grid : views) grid->viewport()->update();
}

void TFRMTranslationEditor::Gather() {
  if (FWindow == nullptr) return;
  CommitEdits();
  ChangeLanguages([](dataframework::TTranslatedStrings& Strings) { Strings.GatherAll(); });
  Record(QStringLiteral("Gather texts"));
}

std::string TFRMTranslationEditor::Save() {
  const std::string file = FWindow != nullptr ? FWindow->TranslationFile() : FTranslationFile;
  if (FWindow == nullptr) return file;
  if (file.empty()) {
    throw platform::Exception("No translation file to save to: CLAVIRA_TRANSLATIONS is empty");
  }
  CommitEdits();
  FWindow->Strings().RegisterForm(&FWindow->Translator());
  dataframework::SaveTranslationFile(FWindow->Strings(), file);
  FLastContent = FWindow->Strings().Content();
  FUndo->clear();  // saved: the history ends here, and the editor is clean
  return file;
}

std::string TFRMTranslationEditor::AskFile(bool ForExport) {
  QFileDialog dialog(
      this, ForExport ? QStringLiteral("Export language") : QStringLiteral("Import translations"));
  dialog.setObjectName(QStringLiteral("FileDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(ForExport ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(ForExport ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilters({QStringLiteral("Qt Linguist (*.ts)"), QStringLiteral("gettext (*.po)")});
  if (ForExport) dialog.setDefaultSuffix(QStringLiteral("ts"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return platform::qt::ToUtf8(dialog.selectedFiles().front());
}

void TFRMTranslationEditor::ExportLanguage(int Language, const std::string& FileName) {
  if (FWindow == nullptr) return;
  CommitEdits();
  const dataframework::TTranslationContent content = FWindow->Strings().Content();
  dataframework::qt::ExportLanguageFile(content, Language, FileName);
  Status->setText(
      QStringLiteral("Exported %1 texts of %2 to %3")
          .arg(dataframework::ExportCatalog(content, Language).Messages.size())
          .arg(FromUtf8(content.Languages[static_cast<size_t>(Language)]), FromUtf8(FileName)));
}

dataframework::TImportReport TFRMTranslationEditor::ImportFile(const std::string& FileName) {
  dataframework::TImportReport report;
  if (FWindow == nullptr) return report;
  CommitEdits();
  const dataframework::TTranslationContent imported = dataframework::qt::ImportLanguageFile(
      FWindow->Strings().Content(), NotFound, FileName, report);
  if (report.Changed > 0) {
    dataframework::TTranslationContent before = FLastContent;
    PutContent(imported);
    FUndo->push(
        new TContentCommand(this, std::move(before), FLastContent, QStringLiteral("Import")));
  }
  const size_t leftOut = report.Unknown.size() + report.SourceChanged.size();
  Status->setText(QStringLiteral("Imported %1: %2 texts changed, %3 unchanged, %4 left out")
                      .arg(FromUtf8(FileName))
                      .arg(report.Changed)
                      .arg(report.Unchanged)
                      .arg(leftOut));
  if (leftOut > 0) {
    QString lines =
        QStringLiteral("%1 texts of %2 were left out:").arg(leftOut).arg(FromUtf8(FileName));
    for (const std::string& line : report.Unknown) lines += QStringLiteral("\n") + FromUtf8(line);
    for (const std::string& line : report.SourceChanged)
      lines += QStringLiteral("\n") + FromUtf8(line);
    Presenter().ShowMessage(this, lines);
  }
  return report;
}

bool TFRMTranslationEditor::HasUnsavedChanges() const {
  return !FUndo->isClean();
}

int TFRMTranslationEditor::SelectedLanguage() const {
  if (FWindow == nullptr || Grid->model() == nullptr) return NotFound;
  const QModelIndex current = Grid->currentIndex();
  if (!current.isValid()) return NotFound;
  const int language = current.column() - dataframework::LanguageColumnOffset;
  if (language >= 0 && language < FWindow->Strings().LanguageCount()) return language;
  return NotFound;
}

int TFRMTranslationEditor::SelectedRule() const {
  if (FWindow == nullptr || FRulesGrid == nullptr || FRulesGrid->model() == nullptr) return -1;
  const QModelIndex current = FRulesGrid->currentIndex();
  return current.isValid() ? current.row() : -1;
}

}  // namespace app
