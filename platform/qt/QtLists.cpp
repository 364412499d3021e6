#include "platform/qt/QtLists.h"

#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QTableWidget>
#include <QTreeWidget>

#include "platform/Errors.h"
#include "platform/TextUtils.h"
#include "platform/qt/QtText.h"

namespace platform::qt {

namespace {

[[noreturn]] void IndexError(int Index) {
  throw platform::EListError(
      platform::FormatMessage(platform::SListIndexError, {std::to_string(Index)}));
}

// The column texts of a table's header item or a tree's header item.
struct TSection {
  QTableWidget* Table = nullptr;
  QTreeWidget* Tree = nullptr;
  int Column = -1;

  QString Get(int Role) const {
    if (Table != nullptr) {
      const QTableWidgetItem* item = Table->horizontalHeaderItem(Column);
      return item != nullptr ? item->data(Role).toString() : QString();
    }
    if (Tree != nullptr) return Tree->headerItem()->data(Column, Role).toString();
    return QString();
  }
  void Set(int Role, const QString& Value) const {
    if (Table != nullptr) {
      QTableWidgetItem* item = Table->horizontalHeaderItem(Column);
      if (item == nullptr) {
        item = new QTableWidgetItem;  // the table takes it
        Table->setHorizontalHeaderItem(Column, item);
      }
      item->setData(Role, Value);
    } else if (Tree != nullptr) {
      Tree->headerItem()->setData(Column, Role, Value);
    } else {
      throw platform::EListError("The widget of the columns no longer exists");
    }
  }
};

TSection SectionOf(const TQtColumnItem& Item) {
  TSection section;
  auto* columns = static_cast<const TQtColumns*>(Item.Collection());
  if (columns == nullptr) return section;
  section.Table = qobject_cast<QTableWidget*>(columns->Widget());
  section.Tree = qobject_cast<QTreeWidget*>(columns->Widget());
  section.Column = Item.Index();
  return section;
}

}  // namespace

// ---- TQtItemStrings

TQtItemStrings::TQtItemStrings(QObject* Widget) : FWidget(Widget) {}

int TQtItemStrings::GetCount() const {
  if (auto* combo = qobject_cast<QComboBox*>(FWidget.data())) return combo->count();
  if (auto* list = qobject_cast<QListWidget*>(FWidget.data())) return list->count();
  return 0;
}

void TQtItemStrings::Check(int Index, int Count) const {
  if (FWidget.isNull()) throw platform::EListError("The widget of the items no longer exists");
  if (Index < 0 || Index >= Count) IndexError(Index);
}

std::string TQtItemStrings::Get(int Index) const {
  Check(Index, GetCount());
  if (auto* combo = qobject_cast<QComboBox*>(FWidget.data())) return ToUtf8(combo->itemText(Index));
  return ToUtf8(qobject_cast<QListWidget*>(FWidget.data())->item(Index)->text());
}

void TQtItemStrings::Put(int Index, const std::string& S) {
  Check(Index, GetCount());
  if (auto* combo = qobject_cast<QComboBox*>(FWidget.data())) {
    combo->setItemText(Index, FromUtf8(S));
  } else {
    qobject_cast<QListWidget*>(FWidget.data())->item(Index)->setText(FromUtf8(S));
  }
}

void TQtItemStrings::Insert(int Index, const std::string& S) {
  Check(Index, GetCount() + 1);  // one past the end appends
  if (auto* combo = qobject_cast<QComboBox*>(FWidget.data())) {
    combo->insertItem(Index, FromUtf8(S));
  } else {
    qobject_cast<QListWidget*>(FWidget.data())->insertItem(Index, FromUtf8(S));
  }
}

void TQtItemStrings::Delete(int Index) {
  Check(Index, GetCount());
  if (auto* combo = qobject_cast<QComboBox*>(FWidget.data())) {
    combo->removeItem(Index);
  } else {
    delete qobject_cast<QListWidget*>(FWidget.data())->takeItem(Index);
  }
}

void TQtItemStrings::Clear() {
  if (auto* combo = qobject_cast<QComboBox*>(FWidget.data())) combo->clear();
  if (auto* list = qobject_cast<QListWidget*>(FWidget.data())) list->clear();
}

// ---- TQtColumnItem

const platform::TClass& TQtColumnItem::StaticClass() {
  static const platform::TCollectionItemClassOf<TQtColumnItem> Class(
      "TQtColumnItem", &platform::TCollectionItem::StaticClass(), "Qt",
      {platform::StrProp<TQtColumnItem>("text", &TQtColumnItem::Text, &TQtColumnItem::SetText),
       platform::StrProp<TQtColumnItem>("toolTip", &TQtColumnItem::ToolTip,
                                        &TQtColumnItem::SetToolTip)});
  return Class;
}

TQtColumnItem::TQtColumnItem(platform::TCollection* Collection)
    : platform::TCollectionItem(Collection) {}

std::string TQtColumnItem::Text() const {
  return ToUtf8(SectionOf(*this).Get(Qt::DisplayRole));
}
void TQtColumnItem::SetText(const std::string& Value) {
  SectionOf(*this).Set(Qt::DisplayRole, FromUtf8(Value));
}
std::string TQtColumnItem::ToolTip() const {
  return ToUtf8(SectionOf(*this).Get(Qt::ToolTipRole));
}
void TQtColumnItem::SetToolTip(const std::string& Value) {
  SectionOf(*this).Set(Qt::ToolTipRole, FromUtf8(Value));
}

// ---- TQtColumns

TQtColumns::TQtColumns(QObject* Widget)
    : platform::TCollection(
          static_cast<const platform::TCollectionItemClass&>(TQtColumnItem::StaticClass())),
      FWidget(Widget) {
  Synchronize();
}

void TQtColumns::Synchronize() {
  int columns = 0;
  if (auto* table = qobject_cast<QTableWidget*>(FWidget.data())) columns = table->columnCount();
  if (auto* tree = qobject_cast<QTreeWidget*>(FWidget.data())) columns = tree->columnCount();
  while (Count() > columns) Delete(Count() - 1);
  while (Count() < columns) Add();
}

}  // namespace platform::qt
