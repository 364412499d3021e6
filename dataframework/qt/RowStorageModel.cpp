#include "dataframework/qt/RowStorageModel.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeView>
#include <cstdint>
#include <exception>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "dataframework/elements/CustomRowStorage.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/RowStorageTreeKey.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/types/DataTypeCore.h"
#include "dataframework/types/ReferenceTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/Assert.h"
#include "platform/Picture.h"
#include "platform/qt/QtText.h"

namespace dataframework::qt {

using dataframework::TAbstractRow;
using dataframework::TDataField;
using dataframework::TPutResult;
using dataframework::TSetResult;
using platform::qt::FromUtf8;
using platform::qt::ToUtf8;

namespace {

bool IsBooleanField(const TDataField* Field) {
  return Field->DataType() == dataframework::BooleanType();
}

// Object values are shown as pictures (or not at all), never as addresses.
bool IsObjectField(const TDataField* Field) {
  return dynamic_cast<const dataframework::TObjectType*>(Field->DataType()) != nullptr;
}

// The picture a value holds, or none.
const platform::TPicture* PictureOf(const dataframework::TValue& Value) {
  const auto* type = dynamic_cast<const dataframework::TObjectType*>(Value.DataType);
  if (type == nullptr) return nullptr;
  return dynamic_cast<const platform::TPicture*>(type->AsObject(Value));
}

// A subtotal row shows only the fields it can give a value for (keys of the
// levels above, totals); the others would show the record's defaults.
bool ShowsValue(const TAbstractRow* Row, TDataField* Field) {
  return !Row->IsSubTotal() || Row->FieldHasValue(Field);
}

bool Succeeded(TSetResult Result) {
  return Result == dataframework::srOk || Result == dataframework::srKeyOverwrited;
}

std::string SetResultText(TSetResult Result) {
  using namespace dataframework;
  switch (Result) {
    case srOk:
      return ResultTexts[prOk];
    case srInvalidValue:
      return TranslateMessage(E_InvalidValue);
    case srKeyConflict:
      return TranslateMessage(I_KeyCombinationExists);
    case srKeyOverwrited:
      return ResultTexts[prKeyOverwrited];
    case srReadOnly:
      return TranslateMessage(E_FieldReadOnly);
  }
  return TranslateMessage(E_InvalidValue);
}

std::string PutResultText(TPutResult Result) {
  const auto i = static_cast<size_t>(Result);
  return i < dataframework::ResultTexts.size() ? dataframework::ResultTexts[i]
                                               : dataframework::ResultTexts.back();
}

Qt::Alignment AlignmentOf(dataframework::TAlignment Alignment) {
  switch (Alignment) {
    case dataframework::taRightJustify:
      return Qt::AlignRight | Qt::AlignVCenter;
    case dataframework::taCenter:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case dataframework::taLeftJustify:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// A column without field could not be drawn at all: refused at once.
void CheckColumns(const std::vector<TDataField*>& Columns, std::string_view Method) {
  for (size_t i = 0; i < Columns.size(); ++i) {
    if (Columns[i] == nullptr)
      platform::AssertionFailed(std::string(Method) + ": Columns[idx] <> nil, idx: ",
                                static_cast<std::int64_t>(i));
  }
}

}  // namespace

// ------------------------------------------------------------------ nodes

TRowStorageModel::TTree TRowStorageModel::Build() const {
  TTree tree;
  const int count = FStorage.RowCount();
  std::vector<TAbstractRow*> view;
  view.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) view.push_back(FStorage.GetRow(i));
  const std::unordered_set<const TAbstractRow*> inView(view.begin(), view.end());
  // The flat view is sorted across groups: no ancestor can stand above it.
  const bool flat = FStorage.FlatMode();

  auto isNode = [&](const dataframework::TSubTotalRow* Row) {
    return inView.count(Row) != 0 || FStorage.GetTreeKey(Row->LevelIndex()).Visible();
  };
  // Places Row (and the ancestors it hangs under) once; its node number.
  auto place = [&](auto& self, TAbstractRow* Row) -> int {
    if (auto found = tree.NodeOf.find(Row); found != tree.NodeOf.end()) return found->second;
    int parent = -1;
    if (!flat) {
      for (dataframework::TSubTotalRow* up = Row->Parent(); up != nullptr; up = up->Parent()) {
        if (isNode(up)) {
          parent = self(self, up);
          break;
        }
      }
    }
    const int id = static_cast<int>(tree.Nodes.size());
    std::vector<int>& siblings = parent < 0 ? tree.TopLevel : tree.Nodes[parent].Children;
    TNode node;
    node.Row = Row;
    node.Parent = parent;
    node.Position = static_cast<int>(siblings.size());
    node.Used = true;
    siblings.push_back(id);
    tree.Nodes.push_back(std::move(node));
    tree.NodeOf.emplace(Row, id);
    return id;
  };
  for (TAbstractRow* row : view) place(place, row);
  return tree;
}

void TRowStorageModel::Rebuild() {
  FImages.clear();
  FResetPending = false;
  FDirty.clear();
  FChanged.clear();
  FLastValueParent = nullptr;
  FLastStructureParent = nullptr;
  try {
    // A storage that patches its view does not follow visibility changes
    // (Expand, Collapse) nor puts without a position: read it afresh.
    FStorage.Refresh();
    FTree = Build();
  } catch (const std::exception& e) {
    FTree = TTree();
    FLastMessage = e.what();
  }
}

const TRowStorageModel::TNode* TRowStorageModel::NodeAt(const QModelIndex& Index) const {
  if (!Index.isValid() || Index.model() != this) return nullptr;
  const quintptr id = Index.internalId();
  if (id >= FTree.Nodes.size() || !FTree.Nodes[id].Used) return nullptr;
  return &FTree.Nodes[id];
}

// ------------------------------------------------------------------ public

TRowStorageModel::TRowStorageModel(dataframework::TCustomRowStorage& Storage,
                                   std::vector<TDataField*> Columns, QObject* Parent)
    : QAbstractItemModel(Parent),
      FStorage(Storage),
      FColumns(std::move(Columns)),
      FLastMessage(dataframework::ResultTexts[dataframework::prOk]),
      FFollower(*this) {
  CheckColumns(FColumns, "TRowStorageModel.Create");
  Rebuild();
  FStorage.AddListener(&FFollower);
}

TRowStorageModel::~TRowStorageModel() {
  FStorage.RemoveListener(&FFollower);
}

void TRowStorageModel::SetColumns(std::vector<TDataField*> Columns) {
  CheckColumns(Columns, "TRowStorageModel.SetColumns");
  beginResetModel();
  FColumns = std::move(Columns);
  Rebuild();
  endResetModel();
}

TDataField* TRowStorageModel::ColumnField(int Column) const {
  if (Column < 0 || Column >= static_cast<int>(FColumns.size())) return nullptr;
  return FColumns[static_cast<size_t>(Column)];
}

void TRowStorageModel::Refresh() {
  beginResetModel();
  Rebuild();
  endResetModel();
}

bool TRowStorageModel::Expand(const QModelIndex& Index) {
  const TNode* node = NodeAt(Index);
  if (node == nullptr || !node->Children.empty()) return false;
  TAbstractRow* row = RowAt(Index);
  if (!FStorage.IsOwnSubtotal(row) || !row->HasDataRows()) return false;
  try {
    FStorage.Expand(row);
  } catch (const std::exception& e) {
    Sync();
    Report(e.what());
    return false;
  }
  Sync();
  return true;
}

bool TRowStorageModel::Collapse(const QModelIndex& Index) {
  const TNode* node = NodeAt(Index);
  if (node == nullptr || node->Children.empty() || RowAt(Index) == nullptr ||
      !node->Row->IsSubTotal())
    return false;
  // Collapsing any child of the node's row shows that row and hides all
  // below it. The first model child may sit deeper (below a hidden level),
  // where the storage would collapse that child's own parent instead.
  const auto* subTotal = static_cast<const dataframework::TSubTotalRow*>(node->Row);
  TAbstractRow* child = nullptr;
  for (int i = 0; i < subTotal->ChildCount() && child == nullptr; ++i) child = subTotal->Child(i);
  if (child == nullptr || !FStorage.CanCollapse(child)) return false;
  bool collapsed = false;
  try {
    collapsed = FStorage.Collapse(child) != nullptr;
  } catch (const std::exception& e) {
    Report(e.what());
  }
  Sync();
  return collapsed;
}

bool TRowStorageModel::IsExpanded(const QModelIndex& Index) const {
  const TNode* node = NodeAt(Index);
  return node != nullptr && !node->Children.empty();
}

TPutResult TRowStorageModel::PutRow(std::unique_ptr<dataframework::TDataRow>& Row,
                                    dataframework::TPutAction Action) {
  TPutResult result = dataframework::prCannotAdd;
  std::string message;
  try {
    result = FStorage.PutNewRow(Row, Action);
    message = PutResultText(result);
  } catch (const std::exception& e) {
    result = dataframework::prCannotAdd;
    message = e.what();
  }
  Sync();
  FLastPutResult = result;
  Report(message);
  return result;
}

TAbstractRow* TRowStorageModel::RowAt(const QModelIndex& Index) const {
  // Rows known before a view-wide change may be gone until the reset.
  if (FResetPending) return nullptr;
  const TNode* node = NodeAt(Index);
  return node != nullptr ? node->Row : nullptr;
}

QModelIndex TRowStorageModel::IndexOf(const TAbstractRow* Row, int Column) const {
  if (Column < 0 || Column >= columnCount()) return QModelIndex();
  auto found = FTree.NodeOf.find(Row);
  if (found == FTree.NodeOf.end()) return QModelIndex();
  const int id = found->second;
  return createIndex(FTree.Nodes[static_cast<size_t>(id)].Position, Column,
                     static_cast<quintptr>(id));
}

void TRowStorageModel::Report(const std::string& Message) {
  FLastMessage = Message;
  if (FOnResult) FOnResult(FLastMessage);
}

// ------------------------------------------------------------------ structure

QModelIndex TRowStorageModel::index(int Row, int Column, const QModelIndex& Parent) const {
  if (Row < 0 || Column < 0 || Column >= columnCount()) return QModelIndex();
  const std::vector<int>* children = &FTree.TopLevel;
  if (Parent.isValid()) {
    const TNode* node = NodeAt(Parent);
    if (node == nullptr || Parent.column() != 0) return QModelIndex();
    children = &node->Children;
  }
  if (Row >= static_cast<int>(children->size())) return QModelIndex();
  return createIndex(Row, Column, static_cast<quintptr>((*children)[static_cast<size_t>(Row)]));
}

QModelIndex TRowStorageModel::parent(const QModelIndex& Index) const {
  const TNode* node = NodeAt(Index);
  if (node == nullptr || node->Parent < 0) return QModelIndex();
  const TNode& up = FTree.Nodes[static_cast<size_t>(node->Parent)];
  return createIndex(up.Position, 0, static_cast<quintptr>(node->Parent));
}

int TRowStorageModel::rowCount(const QModelIndex& Parent) const {
  if (!Parent.isValid()) return static_cast<int>(FTree.TopLevel.size());
  const TNode* node = NodeAt(Parent);
  if (node == nullptr || Parent.column() != 0) return 0;
  return static_cast<int>(node->Children.size());
}

int TRowStorageModel::columnCount(const QModelIndex& /*Parent*/) const {
  return static_cast<int>(FColumns.size());
}

bool TRowStorageModel::hasChildren(const QModelIndex& Parent) const {
  if (!Parent.isValid()) return !FTree.TopLevel.empty();
  const TNode* node = NodeAt(Parent);
  if (node == nullptr || Parent.column() != 0) return false;
  if (!node->Children.empty()) return true;
  // A collapsed group: rows below it in the storage, none shown.
  if (FResetPending || node->Row == nullptr || !node->Row->IsSubTotal()) return false;
  const auto* subTotal = static_cast<const dataframework::TSubTotalRow*>(node->Row);
  for (int i = 0; i < subTotal->ChildCount(); ++i)
    if (subTotal->Child(i) != nullptr) return true;
  return false;
}

// ------------------------------------------------------------------ data

const QImage& TRowStorageModel::ImageOf(const platform::TPicture& Picture) const {
  QImage& image = FImages[&Picture];
  if (image.width() != Picture.Width() || image.height() != Picture.Height()) {
    image = QImage(Picture.Width(), Picture.Height(), QImage::Format_ARGB32);
    for (int y = 0; y < Picture.Height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < Picture.Width(); ++x) line[x] = Picture.Pixel(x, y);
    }
  }
  return image;
}

QVariant TRowStorageModel::CellData(TAbstractRow* Row, TDataField* Field, int Role) const {
  switch (Role) {
    case Qt::DisplayRole: {
      if (IsBooleanField(Field) || IsObjectField(Field) || !ShowsValue(Row, Field)) break;
      std::string text;
      Row->GetDisplayText(Field, Field->EffectiveDisplayValues(), text);
      return FromUtf8(text);
    }
    case Qt::EditRole:
      // The text the field's type parses back (no key description).
      if (IsBooleanField(Field) || IsObjectField(Field) || !ShowsValue(Row, Field)) break;
      return FromUtf8(dataframework::ValueAsString(Row->ValueOf(Field)));
    case Qt::CheckStateRole:
      if (!IsBooleanField(Field) || !ShowsValue(Row, Field)) break;
      return static_cast<int>(Row->GetFBooleanValue(Field) ? Qt::Checked : Qt::Unchecked);
    case Qt::DecorationRole: {
      if (!IsObjectField(Field) || !ShowsValue(Row, Field)) break;
      const platform::TPicture* picture = PictureOf(Row->ValueOf(Field));
      if (picture == nullptr || picture->Empty()) break;
      return ImageOf(*picture);
    }
    case Qt::TextAlignmentRole:
      return static_cast<int>(AlignmentOf(Field->DataType()->Alignment()));
    default:
      break;
  }
  return QVariant();
}

QVariant TRowStorageModel::data(const QModelIndex& Index, int Role) const {
  TAbstractRow* row = RowAt(Index);
  TDataField* field = ColumnField(Index.column());
  if (row == nullptr || field == nullptr) return QVariant();
  try {
    return CellData(row, field, Role);
  } catch (const std::exception&) {
    // A value the row cannot give is shown empty; Qt must not see the error.
    return QVariant();
  }
}

QVariant TRowStorageModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
  TDataField* field = ColumnField(Section);
  if (Orientation != Qt::Horizontal || field == nullptr) return QVariant();
  if (Role == Qt::DisplayRole) return FromUtf8(field->CaptionText());
  if (Role == Qt::TextAlignmentRole)
    return static_cast<int>(AlignmentOf(field->DataType()->Alignment()));
  return QVariant();
}

Qt::ItemFlags TRowStorageModel::flags(const QModelIndex& Index) const {
  TAbstractRow* row = RowAt(Index);
  TDataField* field = ColumnField(Index.column());
  if (row == nullptr || field == nullptr) return Qt::NoItemFlags;
  Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (IsObjectField(field)) return result;
  try {
    std::string reason;
    if (!ShowsValue(row, field) || field->IsReadOnly(row) || !row->CanWrite(field, reason))
      return result;
  } catch (const std::exception&) {
    return result;
  }
  return result | (IsBooleanField(field) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

// ------------------------------------------------------------------ edits

bool TRowStorageModel::setData(const QModelIndex& Index, const QVariant& Value, int Role) {
  TAbstractRow* row = RowAt(Index);
  TDataField* field = ColumnField(Index.column());
  if (row == nullptr || field == nullptr) return false;
  if (Role == Qt::CheckStateRole ? !IsBooleanField(field) : Role != Qt::EditRole) return false;
  std::string message;
  TSetResult result;
  try {
    result = Write(row, field, Value, Role, message);
  } catch (const std::exception& e) {
    result = dataframework::srInvalidValue;
    message = e.what();
  }
  FLastSetResult = result;
  Report(message.empty() ? SetResultText(result) : message);
  return Succeeded(result);
}

TSetResult TRowStorageModel::Write(TAbstractRow* Row, TDataField* Field, const QVariant& Value,
                                   int Role, std::string& Message) {
  using namespace dataframework;
  std::string reason;
  if (Field->IsReadOnly(Row) || !Row->CanWrite(Field, reason)) {
    Message = reason;
    return srReadOnly;
  }
  TValue value;
  if (Role == Qt::CheckStateRole) {
    value = BooleanValue(Value.toInt() == Qt::Checked);
  } else if (IsBooleanField(Field) && Value.typeId() == QMetaType::Bool) {
    value = BooleanValue(Value.toBool());
  } else {
    const std::string text = ToUtf8(Value.toString());
    bool parsed = false;
    try {
      parsed = Field->DataType()->ParseValue(text, value, TValueFormat{});
    } catch (const std::exception&) {
      parsed = false;
    }
    if (!parsed) {
      Message = Field->DataType()->InvalidValueMessage(text);
      return srInvalidValue;
    }
  }

  // The storage tells the model what the write changed (a moved row, the
  // totals above, a row freed by an overwrite) when the write has ended.
  const TSetResult result = Row->SetFieldValue(Field, value);
  Sync();
  return result;
}

// ------------------------------------------------------------------ view link

namespace {

constexpr const char* LinkName = "qt_rowstoragemodel_link";

// Expands in View exactly the nodes of Model that have children, below
// Parent.
void SyncExpanded(QTreeView& View, const TRowStorageModel& Model, const QModelIndex& Parent) {
  const int rows = Model.rowCount(Parent);
  for (int i = 0; i < rows; ++i) {
    const QModelIndex at = Model.index(i, 0, Parent);
    const bool expanded = Model.IsExpanded(at);
    if (View.isExpanded(at) != expanded) View.setExpanded(at, expanded);
    if (expanded) SyncExpanded(View, Model, at);
  }
}

}  // namespace

void ConnectTreeView(QTreeView& View, TRowStorageModel& Model) {
  delete View.findChild<QObject*>(QLatin1String(LinkName), Qt::FindDirectChildrenOnly);
  // The link's connections die with it, and it dies with the view.
  auto* link = new QObject(&View);
  link->setObjectName(QLatin1String(LinkName));
  auto syncing = std::make_shared<bool>(false);
  QPointer<QTreeView> view(&View);
  QPointer<TRowStorageModel> model(&Model);

  auto sync = [view, model, syncing]() {
    if (view.isNull() || model.isNull()) return;
    *syncing = true;
    SyncExpanded(*view, *model, QModelIndex());
    *syncing = false;
  };
  // The view's signal is answered later, outside the view's own handling.
  // The index is kept as a persistent one: a reset in between voids it.
  auto follow = [model, syncing, link, sync](const QModelIndex& Index, bool Expand) {
    if (*syncing || model.isNull()) return;
    const QPersistentModelIndex target(Index);
    QMetaObject::invokeMethod(
        link,
        [model, target, Expand, sync]() {
          if (model.isNull() || !target.isValid()) return;
          const QModelIndex at(target);
          const bool changed = Expand ? model->Expand(at) : model->Collapse(at);
          // Nothing changed in the storage: the view goes back to its state.
          if (!changed) sync();
        },
        Qt::QueuedConnection);
  };

  View.setModel(&Model);
  QObject::connect(&View, &QTreeView::expanded, link,
                   [follow](const QModelIndex& Index) { follow(Index, true); });
  QObject::connect(&View, &QTreeView::collapsed, link,
                   [follow](const QModelIndex& Index) { follow(Index, false); });
  QObject::connect(&Model, &QAbstractItemModel::modelReset, link, sync);
  // Rows inserted or removed: only the parent and the new rows' subtrees.
  auto syncBelow = [view, model, syncing](const QModelIndex& Parent, int First, int Last) {
    if (view.isNull() || model.isNull()) return;
    *syncing = true;
    if (Parent.isValid() && view->isExpanded(Parent) != model->IsExpanded(Parent))
      view->setExpanded(Parent, model->IsExpanded(Parent));
    for (int i = First; i <= Last && i < model->rowCount(Parent); ++i) {
      const QModelIndex at = model->index(i, 0, Parent);
      const bool expanded = model->IsExpanded(at);
      if (view->isExpanded(at) != expanded) view->setExpanded(at, expanded);
      if (expanded) SyncExpanded(*view, *model, at);
    }
    *syncing = false;
  };
  QObject::connect(&Model, &QAbstractItemModel::rowsInserted, link, syncBelow);
  QObject::connect(&Model, &QAbstractItemModel::rowsRemoved, link,
                   [syncBelow](const QModelIndex& Parent, int, int) { syncBelow(Parent, 0, -1); });
  sync();
}

}  // namespace dataframework::qt
