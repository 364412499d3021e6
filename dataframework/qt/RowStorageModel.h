// TRowStorageModel: a Qt item model over any row storage, for tree and table
// views that show and edit the rows of a storage's view.
//
// Rows: the model shows the storage's view (RowCount / GetRow) as a tree.
// Its nodes are the rows of the view plus every hidden subtotal row whose
// tree level is visible and that has a row of the view below it (an
// expanded group). A node's parent is its nearest ancestor that is a node
// (none: top level); nodes are ordered as they are first met walking the
// view, an ancestor when its first descendant is met, so a parent always
// comes before its children, also with TotalsBelow. In FlatMode, and when
// every level above the data rows is hidden, the model is a flat list.
// A subtotal node with rows below it in the storage but no children in the
// model is collapsed: hasChildren is true and rowCount 0. Expand and
// Collapse go to the storage's Expand and Collapse and rebuild the model.
//
// Columns: one per field of Columns. DisplayRole is the field's display text
// (keys with their descriptions), EditRole the plain value text that the
// field's data type parses back. Boolean fields show a check box instead of
// text; values that hold a platform::TPicture show it as DecorationRole. All
// texts are UTF-8 on the framework side.
//
// Edits: setData parses the text with the field's data type (a check state
// for Boolean fields) and writes it through the row. Every write and every
// PutRow leaves its outcome in LastSetResult / LastPutResult and a text in
// LastMessage, which also goes to the OnResult callback. Errors raised by
// the framework during a write are caught and reported, never passed to Qt.
//
// Ownership: the model borrows the storage and the column fields; it owns
// only its node table and a cache of images made from pictures (emptied on
// every rebuild). REQUIRES: the storage and the fields outlive the model.
// REQUIRES: after changing the storage other than through this model (puts,
// deletes, key writes, visibility, view options) the caller calls Refresh()
// before the model is used again: the model holds row pointers of the view.
// REQUIRES: used on the GUI thread only, like the framework.
#pragma once

#include <QAbstractItemModel>
#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/types/DataTypes.h"

class QTreeView;

namespace platform {
class TPicture;
}

namespace dataframework::qt {

class TRowStorageModel : public QAbstractItemModel {
 public:
  using TResultCallback = std::function<void(const std::string& Message)>;

  // REQUIRES: no entry of Columns is null (asserted).
  TRowStorageModel(dataframework::TCustomRowStorage& Storage,
                   std::vector<dataframework::TDataField*> Columns, QObject* Parent = nullptr);
  ~TRowStorageModel() override;

  dataframework::TCustomRowStorage& Storage() const noexcept { return FStorage; }
  const std::vector<dataframework::TDataField*>& Columns() const noexcept { return FColumns; }
  // Replaces the columns (model reset). REQUIRES: no entry is null
  // (asserted; the columns stay as they were).
  void SetColumns(std::vector<dataframework::TDataField*> Columns);
  // The field of Column, or none out of range.
  dataframework::TDataField* ColumnField(int Column) const;

  // Rebuilds the storage's view and the nodes from it (model reset).
  void Refresh();

  // Shows the children of the collapsed subtotal node Index (the storage's
  // Expand) and rebuilds; false when Index is no collapsed subtotal node.
  bool Expand(const QModelIndex& Index);
  // Hides everything below the expanded node Index and shows its row again
  // (the storage's Collapse of a child of the node's row) and rebuilds;
  // false when Index is not expanded.
  bool Collapse(const QModelIndex& Index);
  // Index is a node with children in the model.
  bool IsExpanded(const QModelIndex& Index) const;

  // Puts a new row through the storage (PutNewRow: Row is released when the
  // storage keeps it), rebuilds and reports the put result's text.
  dataframework::TPutResult PutRow(std::unique_ptr<dataframework::TDataRow>& Row,
                                   dataframework::TPutAction Action);

  // The row of Index, or none for an invalid or foreign index.
  dataframework::TAbstractRow* RowAt(const QModelIndex& Index) const;
  // The index of Row's node at Column; invalid when Row is no node.
  QModelIndex IndexOf(const dataframework::TAbstractRow* Row, int Column = 0) const;

  // The outcome of the last setData that reached a write (srOk before any).
  dataframework::TSetResult LastSetResult() const noexcept { return FLastSetResult; }
  // The outcome of the last PutRow (prOk before any).
  dataframework::TPutResult LastPutResult() const noexcept { return FLastPutResult; }
  // "Ok" or why the last write or put failed.
  const std::string& LastMessage() const noexcept { return FLastMessage; }
  // Called with LastMessage after every write and put.
  // REQUIRES: the callback does not throw (it may run inside Qt's event
  // handling).
  void SetOnResult(TResultCallback Callback) { FOnResult = std::move(Callback); }

  // ---- QAbstractItemModel
  QModelIndex index(int Row, int Column, const QModelIndex& Parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& Index) const override;
  int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& Parent = QModelIndex()) const override;
  bool hasChildren(const QModelIndex& Parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
  QVariant headerData(int Section, Qt::Orientation Orientation,
                      int Role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& Index) const override;
  bool setData(const QModelIndex& Index, const QVariant& Value, int Role = Qt::EditRole) override;

 private:
  struct TNode {
    dataframework::TAbstractRow* Row = nullptr;
    int Parent = -1;   // node number, -1: top level
    int Position = 0;  // row among the parent's children
    std::vector<int> Children;
  };
  struct TTree {
    std::vector<TNode> Nodes;
    std::vector<int> TopLevel;
    std::unordered_map<const dataframework::TAbstractRow*, int> NodeOf;
    bool SameShape(const TTree& Other) const;
  };

  TTree Build() const;
  // Refreshes the storage's view and replaces the nodes by a fresh Build; a
  // storage that fails to answer its view leaves the model empty, with the
  // error as LastMessage.
  void Rebuild();
  // The node of Index, or none.
  const TNode* NodeAt(const QModelIndex& Index) const;
  // The write of setData; may reset the model.
  dataframework::TSetResult Write(dataframework::TAbstractRow* Row,
                                  dataframework::TDataField* Field, const QVariant& Value, int Role,
                                  std::string& Message);
  // After a write that may change values only: dataChanged for the row and
  // the groups above it, or a reset when the tree changed shape after all.
  void RowWritten(const dataframework::TAbstractRow* Row);
  void EmitRowChanged(const dataframework::TAbstractRow* Row);
  void Report(const std::string& Message);
  QVariant CellData(dataframework::TAbstractRow* Row, dataframework::TDataField* Field,
                    int Role) const;
  const QImage& ImageOf(const platform::TPicture& Picture) const;

  dataframework::TCustomRowStorage& FStorage;
  std::vector<dataframework::TDataField*> FColumns;
  TTree FTree;
  mutable std::unordered_map<const platform::TPicture*, QImage> FImages;
  dataframework::TSetResult FLastSetResult = dataframework::srOk;
  dataframework::TPutResult FLastPutResult = dataframework::prOk;
  std::string FLastMessage;
  TResultCallback FOnResult;
};

// Shows Model in View and keeps the view's expanded nodes in step with the
// storage: expanding or collapsing a node in the view expands or collapses
// it in the storage (queued, so the model is not reset inside the view's own
// signal), and after every model reset the view expands exactly the nodes
// that are expanded in the storage. Calling it again for the same view
// replaces the earlier link.
void ConnectTreeView(QTreeView& View, TRowStorageModel& Model);

}  // namespace dataframework::qt
