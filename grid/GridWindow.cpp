#include "grid/GridWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <cstdlib>
#include <fstream>

#include "app/ShippedFile.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/qt/QtBitmapLoader.h"
#include "dataframework/qt/RowStorageModel.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslationFile.h"
#include "db/Vesquin.h"
#include "platform/Interruptable.h"
#include "platform/qt/QtComponent.h"

namespace grid {

using namespace dataframework;
using dataframework::qt::TRowStorageModel;

namespace {

QString FromUtf8(const std::string& Text) {
  return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}

std::string ToUtf8(const QString& Text) {
  return Text.toUtf8().toStdString();
}

}  // namespace

// Sorts by the fields' own order, marks unsaved rows, and turns edits into
// document steps.
class TGridProxy : public QSortFilterProxyModel {
 public:
  explicit TGridProxy(TGridWindow& Window) : FWindow(Window) { setDynamicSortFilter(false); }

  TRowStorageModel& Source() const { return *static_cast<TRowStorageModel*>(sourceModel()); }

  QVariant data(const QModelIndex& Index, int Role) const override {
    if (Role == Qt::BackgroundRole || Role == Qt::ToolTipRole) {
      const TAbstractRow* row = Source().RowAt(mapToSource(Index));
      if (row != nullptr && !row->IsSubTotal()) {
        const TRowState state = static_cast<const TDataRow*>(row)->State();
        if (state == rsModified)
          return Role == Qt::BackgroundRole ? QVariant(QColor(255, 244, 200)) : QVariant("changed");
        if (state == rsInserted)
          return Role == Qt::BackgroundRole ? QVariant(QColor(214, 245, 214))
                                            : QVariant("inserted");
      }
    }
    return QSortFilterProxyModel::data(Index, Role);
  }

  // A collapsed group has rows in the storage but none in the model: the
  // view must still offer to expand it.
  bool hasChildren(const QModelIndex& Parent) const override {
    return Parent.isValid() ? Source().hasChildren(mapToSource(Parent))
                            : QSortFilterProxyModel::hasChildren(Parent);
  }

  bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override {
    const QModelIndex source = mapToSource(Index);
    TAbstractRow* row = Source().RowAt(source);
    TDataField* field = Source().ColumnField(source.column());
    if (row == nullptr || field == nullptr) return false;
    std::string text;
    if (Role == Qt::CheckStateRole)
      text = ValueAsString(BooleanValue(Value.toInt() == Qt::Checked));
    else if (Role == Qt::EditRole)
      text = ToUtf8(Value.toString());
    else
      return false;
    const std::string message = FWindow.Document().EditCell(row, field, text, FWindow.SpreadMode());
    FWindow.Report(message);
    return message == ResultTexts[prOk];
  }

 protected:
  bool lessThan(const QModelIndex& Left, const QModelIndex& Right) const override {
    const TAbstractRow* a = Source().RowAt(Left);
    const TAbstractRow* b = Source().RowAt(Right);
    TDataField* field = Source().ColumnField(Left.column());
    if (a == nullptr || b == nullptr || field == nullptr) return false;
    const bool hasA = !a->IsSubTotal() || a->FieldHasValue(field);
    const bool hasB = !b->IsSubTotal() || b->FieldHasValue(field);
    if (!hasA || !hasB) return hasB && !hasA;
    return field->DataType()->Compare(a->ValueOf(field), b->ValueOf(field)) < 0;
  }

 private:
  TGridWindow& FWindow;
};

namespace {

template <class T>
T* Make(QWidget* Parent, const char* Name) {
  auto* control = new T(Parent);
  control->setObjectName(QString::fromLatin1(Name));
  return control;
}

}  // namespace

TGridWindow::TGridWindow(bridge::TDbDataBridge& Bridge, QWidget* Parent)
    : QMainWindow(Parent), FBridge(Bridge), FDocument(std::make_unique<TGridDocument>(Bridge)) {
  setObjectName(QStringLiteral("GridWindow"));
  setWindowTitle(QStringLiteral("Clavira Grid"));
  resize(980, 640);
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("Central"));
  setCentralWidget(central);

  LabelTable = Make<QLabel>(central, "LabelTable");
  LabelTable->setText(QStringLiteral("Tabla"));
  TableName = Make<QLabel>(central, "TableName");
  ButtonOpen = Make<QPushButton>(central, "ButtonOpen");
  ButtonOpen->setText(QStringLiteral("Abrir..."));
  LabelGroup = Make<QLabel>(central, "LabelGroup");
  LabelGroup->setText(QStringLiteral("Agrupar por"));
  GroupBox = Make<QComboBox>(central, "GroupBox");
  LabelLevel = Make<QLabel>(central, "LabelLevel");
  LabelLevel->setText(QStringLiteral("Mostrar nivel"));
  LevelBox = Make<QComboBox>(central, "LevelBox");
  CheckGrandTotal = Make<QCheckBox>(central, "CheckGrandTotal");
  CheckGrandTotal->setText(QStringLiteral("Total general"));
  CheckTotalsBelow = Make<QCheckBox>(central, "CheckTotalsBelow");
  CheckTotalsBelow->setText(QStringLiteral("Totales abajo"));
  CheckFlat = Make<QCheckBox>(central, "CheckFlat");
  CheckFlat->setText(QStringLiteral("Plano"));
  LabelFilter = Make<QLabel>(central, "LabelFilter");
  LabelFilter->setText(QStringLiteral("Filtro"));
  FilterEdit = Make<QLineEdit>(central, "FilterEdit");
  FilterEdit->setPlaceholderText(QStringLiteral("month: 2-3; region: north"));
  FilterEdit->setClearButtonEnabled(true);
  ButtonFilter = Make<QPushButton>(central, "ButtonFilter");
  ButtonFilter->setText(QStringLiteral("Filtrar"));
  ButtonAdd = Make<QPushButton>(central, "ButtonAdd");
  ButtonAdd->setText(QStringLiteral("Añadir fila"));
  ButtonDelete = Make<QPushButton>(central, "ButtonDelete");
  ButtonDelete->setText(QStringLiteral("Borrar filas"));
  ButtonUndo = Make<QPushButton>(central, "ButtonUndo");
  ButtonUndo->setText(QStringLiteral("Deshacer"));
  ButtonRedo = Make<QPushButton>(central, "ButtonRedo");
  ButtonRedo->setText(QStringLiteral("Rehacer"));
  LabelSpread = Make<QLabel>(central, "LabelSpread");
  LabelSpread->setText(QStringLiteral("Reparto"));
  SpreadBox = Make<QComboBox>(central, "SpreadBox");
  SpreadBox->addItem(QStringLiteral("="));
  SpreadBox->addItem(QStringLiteral("%"));
  SpreadBox->setToolTip(QStringLiteral("= even, % in proportion"));
  ButtonSave = Make<QPushButton>(central, "ButtonSave");
  ButtonSave->setText(QStringLiteral("Guardar"));
  ButtonRevert = Make<QPushButton>(central, "ButtonRevert");
  ButtonRevert->setText(QStringLiteral("Revertir"));
  ButtonExport = Make<QPushButton>(central, "ButtonExport");
  ButtonExport->setText(QStringLiteral("Exportar CSV..."));
  CheckExportTotals = Make<QCheckBox>(central, "CheckExportTotals");
  CheckExportTotals->setText(QStringLiteral("con subtotales"));
  Tree = Make<QTreeView>(central, "Tree");
  Tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
  Tree->setUniformRowHeights(true);
  Tree->setAlternatingRowColors(true);
  StatusText = Make<QLabel>(this, "StatusText");
  statusBar()->addWidget(StatusText, 1);

  auto* layout = new QVBoxLayout(central);
  auto row = [&](std::initializer_list<QWidget*> Widgets, QWidget* Stretch = nullptr) {
    auto* line = new QHBoxLayout;
    for (QWidget* w : Widgets) line->addWidget(w, w == Stretch ? 1 : 0);
    if (Stretch == nullptr) line->addStretch(1);
    layout->addLayout(line);
  };
  row({LabelTable, TableName, ButtonOpen, LabelGroup, GroupBox, LabelLevel, LevelBox,
       CheckGrandTotal, CheckTotalsBelow, CheckFlat});
  row({LabelFilter, FilterEdit, ButtonFilter}, FilterEdit);
  row({ButtonAdd, ButtonDelete, ButtonUndo, ButtonRedo, LabelSpread, SpreadBox, ButtonSave,
       ButtonRevert, ButtonExport, CheckExportTotals});
  layout->addWidget(Tree, 1);

  auto guarded = [this](const std::function<void()>& Work) {
    try {
      Work();
    } catch (const std::exception& e) {
      Report(e.what());
    }
  };
  connect(ButtonOpen, &QPushButton::clicked, this, [this] { PickTable(); });
  connect(ButtonFilter, &QPushButton::clicked, this,
          [this] { ApplyFilter(ToUtf8(FilterEdit->text())); });
  connect(FilterEdit, &QLineEdit::returnPressed, this,
          [this] { ApplyFilter(ToUtf8(FilterEdit->text())); });
  connect(GroupBox, &QComboBox::activated, this, [this, guarded](int Index) {
    guarded([&] { FDocument->SetGroupLevels(Index); });
    FillGroupChoices();
  });
  connect(LevelBox, &QComboBox::activated, this,
          [this, guarded](int Index) { guarded([&] { FDocument->ShowLevel(Index + 1); }); });
  connect(CheckGrandTotal, &QCheckBox::toggled, this, [this, guarded](bool On) {
    guarded([&] {
      if (FDocument->IsOpen()) FDocument->SetGrandTotal(On);
    });
  });
  connect(CheckTotalsBelow, &QCheckBox::toggled, this, [this, guarded](bool On) {
    guarded([&] {
      if (FDocument->IsOpen()) FDocument->SetTotalsBelow(On);
    });
  });
  connect(CheckFlat, &QCheckBox::toggled, this, [this, guarded](bool On) {
    guarded([&] {
      if (FDocument->IsOpen()) FDocument->SetFlatMode(On);
    });
  });
  // Steps that free rows bring the models up to date at once: no view may
  // read a row pointer the model still holds after the row is gone.
  connect(ButtonAdd, &QPushButton::clicked, this, [this] {
    AddRowAsked();
    FollowChanges();
  });
  connect(ButtonDelete, &QPushButton::clicked, this, [this] {
    DeleteSelected();
    FollowChanges();
  });
  connect(ButtonUndo, &QPushButton::clicked, this, [this, guarded] {
    guarded([&] { FDocument->Undo(); });
    FollowChanges();
  });
  connect(ButtonRedo, &QPushButton::clicked, this, [this, guarded] {
    guarded([&] { FDocument->Redo(); });
    FollowChanges();
  });
  connect(ButtonSave, &QPushButton::clicked, this, [this] { Save(); });
  connect(ButtonRevert, &QPushButton::clicked, this, [this] { Revert(); });
  connect(ButtonExport, &QPushButton::clicked, this, [this] {
    const QString file =
        QFileDialog::getSaveFileName(this, QString(), QString(), QStringLiteral("CSV (*.csv)"));
    if (!file.isEmpty()) ExportCsv(ToUtf8(file), CheckExportTotals->isChecked());
  });
  auto* undo = new QShortcut(QKeySequence::Undo, this);
  connect(undo, &QShortcut::activated, ButtonUndo, &QPushButton::click);
  auto* redo = new QShortcut(QKeySequence::Redo, this);
  connect(redo, &QShortcut::activated, ButtonRedo, &QPushButton::click);
  // The view's expand and collapse go to the document's groups.
  connect(Tree, &QTreeView::expanded, this, [this](const QModelIndex& Index) {
    if (FSyncing) return;
    TAbstractRow* row = RowAt(Index);
    if (row != nullptr && row->IsSubTotal() && row->Visible())
      FDocument->ExpandGroup(static_cast<TSubTotalRow*>(row));
  });
  connect(Tree, &QTreeView::collapsed, this, [this](const QModelIndex& Index) {
    if (FSyncing) return;
    TAbstractRow* row = RowAt(Index);
    if (row != nullptr && row->IsSubTotal())
      FDocument->CollapseGroup(static_cast<TSubTotalRow*>(row));
  });

  FDocument->OnReset = [this] { DropModels(); };
  FDocument->OnChanged = [this] { ScheduleRefresh(); };

  FComponent = std::make_unique<platform::qt::TQtForm>(this);
  FTranslator = new TFormTranslator(FComponent.get());  // owned by FComponent
  FTranslator->SetName("Translator");
  FTranslator->SetFormGuid(GridWindowGuid);
  FTranslator->SetAllowDuplicateLanguageNames(false);
  FStrings = std::make_unique<TTranslatedStrings>(FTranslator);
  try {
    LoadTranslations();
  } catch (const std::exception& e) {
    Report(e.what());
  }
  UpdateStatus();
}

// The models go before the document they show.
TGridWindow::~TGridWindow() {
  FDocument->OnReset = nullptr;
  FDocument->OnChanged = nullptr;
  DropModels();
}

QSortFilterProxyModel* TGridWindow::Proxy() const noexcept {
  return FProxy.get();
}

TSpreadMode TGridWindow::SpreadMode() const {
  return SpreadBox->currentIndex() == 1 ? smProportional : smEven;
}

void TGridWindow::Report(const std::string& Message) {
  FLastMessage = Message;
  UpdateStatus();
}

TAbstractRow* TGridWindow::RowAt(const QModelIndex& ViewIndex) const {
  if (!FProxy || !FModel) return nullptr;
  return FModel->RowAt(FProxy->mapToSource(ViewIndex));
}

QModelIndex TGridWindow::ViewIndexOf(const TAbstractRow* Row, int Column) const {
  if (!FProxy || !FModel) return QModelIndex();
  return FProxy->mapFromSource(FModel->IndexOf(Row, Column));
}

// ------------------------------------------------------------ models

void TGridWindow::MakeModels() {
  FModel = std::make_unique<TRowStorageModel>(FDocument->Storage(), FDocument->Fields());
  FProxy = std::make_unique<TGridProxy>(*this);
  FProxy->setSourceModel(FModel.get());
  Tree->setModel(FProxy.get());
  Tree->setSortingEnabled(true);
  Tree->sortByColumn(-1, Qt::AscendingOrder);  // the key order until a header is clicked
  TableName->setText(FromUtf8(FDocument->Name()));
  FillGroupChoices();
  SyncExpansion(QModelIndex());
}

void TGridWindow::DropModels() {
  Tree->setModel(nullptr);
  FProxy.reset();
  FModel.reset();
}

void TGridWindow::ScheduleRefresh() {
  if (FRefreshPending) return;
  FRefreshPending = true;
  QTimer::singleShot(0, this, [this] {
    if (FRefreshPending) FollowChanges();
  });
}

// The model has signalled each change of the storage as it ended (so
// selection, scroll position and open editors stay); what is left is the
// view's expansion, the choosers and the status line.
void TGridWindow::FollowChanges() {
  UpdateModels(false);
}

void TGridWindow::RefreshNow() {
  UpdateModels(true);
}

void TGridWindow::UpdateModels(bool Reset) {
  FRefreshPending = false;
  if (FModel) {
    if (Reset)
      FModel->Refresh();
    else
      FModel->Sync();
    SyncExpansion(QModelIndex());
  }
  FillGroupChoices();
  UpdateStatus();
}

void TGridWindow::SyncExpansion(const QModelIndex& Parent) {
  if (!FProxy) return;
  FSyncing = true;
  for (int i = 0; i < FProxy->rowCount(Parent); ++i) {
    const QModelIndex at = FProxy->index(i, 0, Parent);
    if (FModel->IsExpanded(FProxy->mapToSource(at))) {
      Tree->expand(at);
      SyncExpansion(at);
      FSyncing = true;
    }
  }
  FSyncing = false;
}

void TGridWindow::FillGroupChoices() {
  GroupBox->clear();
  LevelBox->clear();
  if (!FDocument->IsOpen()) return;
  const auto& columns = FDocument->Table().Columns();
  QString keys;
  GroupBox->addItem(QStringLiteral("-"));
  for (int i = 0; i + 1 < FDocument->KeyCount(); ++i) {
    keys += (i ? QStringLiteral(", ") : QString()) + FromUtf8(columns[static_cast<size_t>(i)].Name);
    GroupBox->addItem(keys);
  }
  GroupBox->setCurrentIndex(FDocument->GroupLevels());
  const QSignalBlocker b1(CheckGrandTotal), b2(CheckTotalsBelow), b3(CheckFlat);
  CheckGrandTotal->setChecked(FDocument->GrandTotal());
  CheckTotalsBelow->setChecked(FDocument->TotalsBelow());
  CheckFlat->setChecked(FDocument->FlatMode());
  for (int level = 1; level <= FDocument->GroupLevels() + 1; ++level)
    LevelBox->addItem(level <= FDocument->GroupLevels() ? QString::number(level)
                                                        : QStringLiteral("*"));
}

void TGridWindow::UpdateStatus() {
  const bool open = FDocument->IsOpen();
  QString text;
  if (open) {
    text = QStringLiteral("Unsaved: %1 (changed %2, inserted %3, deleted %4)")
               .arg(FDocument->UnsavedCount())
               .arg(FDocument->ChangedCount())
               .arg(FDocument->InsertedCount())
               .arg(FDocument->DeletedCount());
    if (!FDocument->Complete()) text += QStringLiteral(" - load cancelled, rows incomplete");
  }
  if (!FLastMessage.empty())
    text += (text.isEmpty() ? QString() : QStringLiteral(" - ")) + FromUtf8(FLastMessage);
  StatusText->setText(text);
  for (QWidget* w : std::initializer_list<QWidget*>{
           GroupBox, LevelBox, CheckGrandTotal, CheckTotalsBelow, CheckFlat, ButtonFilter,
           ButtonAdd, ButtonDelete, ButtonSave, ButtonRevert, ButtonExport})
    w->setEnabled(open);
  ButtonUndo->setEnabled(open && FDocument->UndoStack().CanUndo());
  ButtonRedo->setEnabled(open && FDocument->UndoStack().CanRedo());
  ButtonUndo->setToolTip(FromUtf8(FDocument->UndoStack().UndoText()));
  ButtonRedo->setToolTip(FromUtf8(FDocument->UndoStack().RedoText()));
}

// ------------------------------------------------------------ actions

bool TGridWindow::WithProgress(const QString& Title,
                               const std::function<bool(platform::TInterruptable&)>& Work) {
  platform::TInterruptable progress;
  QProgressDialog dialog(Title, QStringLiteral("Cancel"), 0, 0, this);
  dialog.setObjectName(QStringLiteral("Progress"));
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(500);
  FProgress = &dialog;
  FBridge.OnProgress = [&dialog](platform::TInterruptable& P) {
    dialog.setLabelText(dialog.labelText().section('\n', 0, 0) +
                        QStringLiteral("\n%1").arg(P.Counter(0)));
    QCoreApplication::processEvents();
    if (dialog.wasCanceled()) P.SetInterrupted(true);
  };
  // Cancel also before the first block arrives.
  QCoreApplication::processEvents();
  if (dialog.wasCanceled()) progress.SetInterrupted(true);
  bool done = false;
  try {
    done = Work(progress);
  } catch (...) {
    FBridge.OnProgress = nullptr;
    FProgress = nullptr;
    throw;
  }
  FBridge.OnProgress = nullptr;
  FProgress = nullptr;
  return done;
}

bool TGridWindow::OpenTable(const std::string& Name) {
  try {
    const bool done =
        WithProgress(QStringLiteral("Loading %1").arg(FromUtf8(Name)),
                     [&](platform::TInterruptable& P) { return FDocument->Open(Name, &P); });
    if (FModel && &FModel->Storage() != &FDocument->Storage()) DropModels();
    return Loaded(done);
  } catch (const std::exception& e) {
    return LoadFailed(e);
  }
}

bool TGridWindow::Loaded(bool Done) {
  if (!FModel) MakeModels();
  FilterEdit->setText(FromUtf8(FDocument->FilterText()));
  RefreshNow();
  Report(Done ? ResultTexts[prOk] : "Load cancelled");
  return Done;
}

bool TGridWindow::LoadFailed(const std::exception& E) {
  if (FDocument->IsOpen() && !FModel) MakeModels();
  Report(E.what());
  return false;
}

void TGridWindow::PickTable() {
  bool ok = false;
  const QString name =
      QInputDialog::getText(this, QStringLiteral("Clavira Grid"), LabelTable->text(),
                            QLineEdit::Normal, TableName->text(), &ok);
  if (ok && !name.trimmed().isEmpty()) OpenTable(ToUtf8(name.trimmed()));
}

bool TGridWindow::ApplyFilter(const std::string& Text) {
  if (!FDocument->IsOpen()) return false;
  try {
    const bool done = WithProgress(
        QStringLiteral("Loading %1").arg(FromUtf8(FDocument->Name())),
        [&](platform::TInterruptable& P) { return FDocument->SetFilterText(Text, &P); });
    return Loaded(done);
  } catch (const std::exception& e) {
    return LoadFailed(e);
  }
}

bool TGridWindow::Save() {
  if (!FDocument->IsOpen()) return false;
  try {
    const bool done =
        WithProgress(QStringLiteral("Saving %1").arg(FromUtf8(FDocument->Name())),
                     [&](platform::TInterruptable& P) { return FDocument->Save(&P); });
    RefreshNow();
    Report(done ? ResultTexts[prOk] : "Save cancelled: nothing written");
    return done;
  } catch (const std::exception& e) {
    Report(e.what());
    return false;
  }
}

bool TGridWindow::Revert() {
  if (!FDocument->IsOpen()) return false;
  return OpenTable(FDocument->Name());
}

bool TGridWindow::ExportCsv(const std::string& FileName, bool WithSubtotals) {
  if (!FDocument->IsOpen()) return false;
  std::ofstream file(FileName, std::ios::binary | std::ios::trunc);
  if (file) FDocument->ExportCsv(file, WithSubtotals);
  file.close();
  if (!file) {
    Report("Cannot write " + FileName);
    return false;
  }
  Report(ResultTexts[prOk]);
  return true;
}

void TGridWindow::AddRowAsked() {
  if (!FDocument->IsOpen()) return;
  std::vector<std::string> keys;
  TAbstractRow* current = RowAt(Tree->currentIndex());
  for (int i = 0; i < FDocument->KeyCount(); ++i) {
    const auto& column = FDocument->Table().Columns()[static_cast<size_t>(i)];
    QString proposal;
    if (current != nullptr && (!current->IsSubTotal() || current->FieldHasValue(column.Field)))
      proposal = FromUtf8(ValueAsString(current->ValueOf(column.Field)));
    bool ok = false;
    const QString text = QInputDialog::getText(this, ButtonAdd->text(), FromUtf8(column.Name),
                                               QLineEdit::Normal, proposal, &ok);
    if (!ok) return;
    keys.push_back(ToUtf8(text));
  }
  try {
    FDocument->AddRow(keys);
    Report(ResultTexts[prOk]);
  } catch (const std::exception& e) {
    Report(e.what());
  }
}

void TGridWindow::DeleteSelected() {
  if (!FDocument->IsOpen()) return;
  std::vector<TDataRow*> rows;
  for (const QModelIndex& at : Tree->selectionModel()->selectedRows()) {
    TAbstractRow* row = RowAt(at);
    if (row == nullptr) continue;
    if (row->IsSubTotal())
      FDocument->CollectDataRows(static_cast<TSubTotalRow*>(row), rows);
    else
      rows.push_back(static_cast<TDataRow*>(row));
  }
  FDocument->DeleteRows(rows);
}

// ------------------------------------------------------------ translation

std::string TGridWindow::TranslationFileName() {
  if (const char* file = std::getenv("CLAVIRA_GRID_TRANSLATIONS")) return file;
  return app::ShippedFile("GridWindow.translations", CLAVIRA_GRID_TRANSLATION_FILE);
}

void TGridWindow::LoadTranslations() {
  dataframework::qt::InstallQtBitmapLoader();
  const std::string file = TranslationFileName();
  auto builtIn = [this] {
    TTranslationContent content;
    content.Languages = {"Esp"};
    content.Rules = {{"QAbstractButton", "text", true, true}, {"QLabel", "text", true, true}};
    FStrings->SetContent(content);
    FStrings->RegisterForm(FTranslator);
    FStrings->GatherAll();
    FTranslator->SetCurrentLanguage(0);
  };
  if (file.empty()) {
    builtIn();
    return;
  }
  try {
    LoadTranslationFile(*FStrings, file);
  } catch (...) {
    builtIn();
    throw;
  }
  FStrings->RegisterForm(FTranslator);
  FStrings->GatherAll();
  int language = FStrings->IndexOfLanguage(db::LoadIdioma());
  if (language == NotFound) language = FStrings->IndexOfLanguage("Esp");
  if (language == NotFound && FStrings->LanguageCount() > 0) language = 0;
  if (language != NotFound) SwitchLanguage(language);
}

void TGridWindow::SwitchLanguage(int Index) {
  FTranslator->SwitchLanguage(Index);
}

}  // namespace grid
