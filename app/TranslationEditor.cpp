#include "app/TranslationEditor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/ErrorDisplay.h"
#include "app/FRMClavira.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslationFile.h"
#include "dataframework/translation/TranslatorRowStorage.h"
#include "platform/Exception.h"
#include "platform/qt/QtText.h"
#include "dataframework/qt/RowStorageModel.h"

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

// Asks for a language name; false when the operator cancels.
bool AskName(QWidget* Parent, const QString& Title, const QString& Current, std::string& Name) {
  bool ok = false;
  const QString text = QInputDialog::getText(Parent, Title, QStringLiteral("Language name:"),
                                             QLineEdit::Normal, Current, &ok);
  if (!ok) return false;
  Name = platform::qt::ToUtf8(text);
  return true;
}

}  // namespace

TFRMTranslationEditor::TFRMTranslationEditor(TFRMClavira& Window, QWidget* Parent)
    : QWidget(Parent), FWindow(&Window) {
  setObjectName(QStringLiteral("FRMTranslationEditor"));
  setWindowTitle(QStringLiteral("Translations of FRMClavira"));
  resize(820, 380);

  auto* layout = new QVBoxLayout(this);
  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  InsertButton = Button(this, buttons, "InsertButton", QStringLiteral("Insert language…"));
  RenameButton = Button(this, buttons, "RenameButton", QStringLiteral("Rename language…"));
  RemoveButton = Button(this, buttons, "RemoveButton", QStringLiteral("Remove language"));
  GatherButton = Button(this, buttons, "GatherButton", QStringLiteral("Gather texts"));
  SaveButton = Button(this, buttons, "SaveButton", QStringLiteral("Save"));
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
  // The pages and views stay; only the first view's columns follow the languages.
  for (const dataframework::TTranslatorPage& page : Window.Strings().GetViews().Pages()) {
    auto* tab = new QWidget;
    auto* views = new QVBoxLayout(tab);
    views->setContentsMargins(0, 0, 0, 0);
    FGrids.emplace_back();
    for (size_t i = 0; i < page.Views.size(); ++i) FGrids.back().push_back(NewGrid(tab, views));
    Pages->addTab(tab, FromUtf8(page.Caption));
  }
  Grid = ViewGrid(0, 0);
  if (Grid == nullptr) Grid = NewGrid(this, layout);  // views without pages: an empty grid
  Grid->setObjectName(QStringLiteral("Grid"));
  Status = new QLabel(this);
  Status->setObjectName(QStringLiteral("Status"));
  layout->addWidget(Status);

  connect(InsertButton, &QPushButton::clicked, this, [this] {
    RunGuarded(this, [this] {
      std::string name;
      if (AskName(this, QStringLiteral("Insert language"), QString(), name)) InsertLanguage(name);
    });
  });
  connect(RenameButton, &QPushButton::clicked, this, [this] {
    RunGuarded(this, [this] {
      const int language = SelectedLanguage();
      if (language == NotFound || FWindow == nullptr) return;
      std::string name;
      if (AskName(this, QStringLiteral("Rename language"),
                  FromUtf8(FWindow->Strings().LanguageName(language)), name)) {
        RenameLanguage(language, name);
      }
    });
  });
  connect(RemoveButton, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { RemoveLanguage(SelectedLanguage()); }); });
  connect(GatherButton, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { Gather(); }); });
  connect(SaveButton, &QPushButton::clicked, this, [this] {
    RunGuarded(this, [this] { Status->setText(QStringLiteral("Saved ") + FromUtf8(Save())); });
  });
  connect(LanguageBox, &QComboBox::activated, this,
          [this](int Index) { RunGuarded(this, [this, Index] { SelectLanguage(Index); }); });

  Window.Strings().SetEditorForm(this);
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
  LanguageBox->clear();
  close();  // frees the editor when it was made to be deleted on close
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

void TFRMTranslationEditor::DropModels() {
  for (const std::vector<QTreeView*>& views : FGrids)
    for (QTreeView* grid : views) grid->setModel(nullptr);
  Grid->setModel(nullptr);
  FModels.clear();
}

void TFRMTranslationEditor::Rebuild() {
  DropModels();
  LanguageBox->clear();
  if (FWindow == nullptr) return;
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
      });
      QTreeView* grid = FGrids[p][v];
      dataframework::qt::ConnectTreeView(*grid, *model);
      grid->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
      FModels.push_back(std::move(model));
    }
  }
  for (int i = 0; i < strings.LanguageCount(); ++i) {
    LanguageBox->addItem(FromUtf8(strings.LanguageName(i)));
  }
  LanguageBox->setCurrentIndex(FWindow->Translator().CurrentLanguage());
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

void TFRMTranslationEditor::InsertLanguage(const std::string& Name) {
  if (FWindow == nullptr) return;
  ChangeLanguages([&](dataframework::TTranslatedStrings& Strings) {
    Strings.InsertLanguage(Strings.LanguageCount(), Name,
                           Strings.LanguageCount() > 0 ? 0 : NotFound);
  });
  Status->setText(QStringLiteral("Language ") + FromUtf8(Name) + QStringLiteral(" inserted"));
}

void TFRMTranslationEditor::RenameLanguage(int Index, const std::string& Name) {
  if (FWindow == nullptr) return;
  ChangeLanguages(
      [&](dataframework::TTranslatedStrings& Strings) { Strings.RenameLanguage(Index, Name); });
}

void TFRMTranslationEditor::RemoveLanguage(int Index) {
  if (FWindow == nullptr) return;
  ChangeLanguages(
      [&](dataframework::TTranslatedStrings& Strings) { Strings.RemoveLanguage(Index); });
}

void TFRMTranslationEditor::SelectLanguage(int Index) {
  if (FWindow == nullptr) return;
  try {
    FWindow->SwitchLanguage(Index);
  } catch (...) {
    LanguageBox->setCurrentIndex(FWindow->Translator().CurrentLanguage());
    throw;
  }
  LanguageBox->setCurrentIndex(Index);
}

void TFRMTranslationEditor::Gather() {
  if (FWindow == nullptr) return;
  DropModels();
  try {
    FWindow->Strings().GatherAll();
  } catch (...) {
    Rebuild();
    throw;
  }
  Rebuild();
}

std::string TFRMTranslationEditor::Save() {
  const std::string file = TFRMClavira::TranslationFileName();
  if (FWindow == nullptr) return file;
  if (file.empty()) {
    throw platform::Exception("No translation file to save to: CLAVIRA_TRANSLATIONS is empty");
  }
  FWindow->Strings().RegisterForm(&FWindow->Translator());
  dataframework::SaveTranslationFile(FWindow->Strings(), file);
  return file;
}

int TFRMTranslationEditor::SelectedLanguage() const {
  if (FWindow == nullptr) return NotFound;
  const int column = Grid->currentIndex().isValid() ? Grid->currentIndex().column() : -1;
  const int language = column - dataframework::LanguageColumnOffset;
  if (column >= 0 && language >= 0 && language < FWindow->Strings().LanguageCount()) {
    return language;
  }
  return FWindow->Translator().CurrentLanguage();
}

}  // namespace app
