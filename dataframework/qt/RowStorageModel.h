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
// Collapse go to the storage's Expand and Collapse.
//
// Changes: the model listens to its storage (TRowStorageListener) and, when
// an operation of the storage has ended, signals what changed as the rows
// it touches: rowsInserted / rowsRemoved for rows that came, went or moved
// (a moved row is removed and inserted), dataChanged for rows whose values
// changed and for every node above them (their totals). So an edit, a put,
// a delete, a key change, an expand or a collapse keeps selection,
// persistent indexes and open editors of the other rows, whether it went
// through the model or straight to the storage or its rows. Only view-wide
// changes reset the model: view options (flat mode, totals below), a
// level's visibility, tree keys, criteria, subtotal handler, and puts,
// removals and visibility changes in flat mode (whose order the storage's
// sort does not keep).
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
// only its node table, its listener (registered with the storage for the
// model's life) and a cache of images made from pictures (emptied on every
// reset). REQUIRES: the storage and the fields outlive the model.
// REQUIRES: used on the GUI thread only, like the framework.
#pragma once

#include <QAbstractItemModel>
#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/elements/RowStorageListener.h"
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
  // Signals the storage changes noted since the last operation of the
  // storage ended (normally nothing is left: the model follows each
  // operation's end by itself).
  void Sync();

  // Shows the children of the collapsed subtotal node Index (the storage's
  // Expand); false when Index is no collapsed subtotal node.
  bool Expand(const QModelIndex& Index);
  // Hides everything below the expanded node Index and shows its row again
  // (the storage's Collapse of a child of the node's row); false when Index
  // is not expanded.
  bool Collapse(const QModelIndex& Index);
  // Index is a node with children in the model.
  bool IsExpanded(const QModelIndex& Index) const;

  // Puts a new row through the storage (PutNewRow: Row is released when the
  // storage keeps it) and reports the put result's text.
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
  // The model's ear on the storage: every note goes to the model.
  class TFollower : public dataframework::TRowStorageListener {
   public:
    explicit TFollower(TRowStorageModel& Model) : FModel(Model) {}
    void RowInserted(dataframework::TAbstractRowStorage&,
                     dataframework::TAbstractRow& Row) override {
      FModel.NoteInserted(Row);
    }
    void RowRemoving(dataframework::TAbstractRowStorage&,
                     dataframework::TAbstractRow& Row) override {
      FModel.NoteRemoving(Row);
    }
    void RowValuesChanged(dataframework::TAbstractRowStorage&,
                          dataframework::TAbstractRow& Row) override {
      FModel.NoteValues(Row);
    }
    void RowMoved(dataframework::TAbstractRowStorage&, dataframework::TAbstractRow& Row) override {
      FModel.NoteStructure(Row);
      FModel.NoteValues(Row);
    }
    void RowVisibilityChanged(dataframework::TAbstractRowStorage&,
                              dataframework::TAbstractRow& Row) override {
      FModel.NoteStructure(Row);
    }
    void ViewReset(dataframework::TAbstractRowStorage&) override { FModel.NoteReset(); }
    void ChangesDone(dataframework::TAbstractRowStorage&) override { FModel.Sync(); }

   private:
    TRowStorageModel& FModel;
  };
  struct TNode {
    // None: the row is gone from the storage; the node waits for its
    // removal by the next sync.
    dataframework::TAbstractRow* Row = nullptr;
    int Parent = -1;   // node number, -1: top level
    int Position = 0;  // row among the parent's children
    std::vector<int> Children;
    bool Used = false;  // false: a free slot
  };
  struct TTree {
    std::vector<TNode> Nodes;  // node numbers are stable while a node lives
    std::vector<int> FreeNodes;
    std::vector<int> TopLevel;
    std::unordered_map<const dataframework::TAbstractRow*, int> NodeOf;
  };
  // A row to become a node, and its place among the planned ones.
  struct TPlanned {
    dataframework::TAbstractRow* Row;
    int Parent;  // index into the plan, -1: the node being synced
  };

  TTree Build() const;
  // Refreshes the storage's view and replaces the nodes by a fresh Build; a
  // storage that fails to answer its view leaves the model empty, with the
  // error as LastMessage. Drops every pending note.
  void Rebuild();
  // The node of Index, or none.
  const TNode* NodeAt(const QModelIndex& Index) const;
  // The write of setData.
  dataframework::TSetResult Write(dataframework::TAbstractRow* Row,
                                  dataframework::TDataField* Field, const QVariant& Value, int Role,
                                  std::string& Message);
  void Report(const std::string& Message);

  // ---- following the storage (RowStorageModelSync.cpp)
  void NoteInserted(dataframework::TAbstractRow& Row);
  void NoteRemoving(dataframework::TAbstractRow& Row);
  void NoteValues(dataframework::TAbstractRow& Row);
  void NoteStructure(dataframework::TAbstractRow& Row);
  void NoteReset();
  // The nearest node above Row (its own excluded), -1: top level.
  int NodeAbove(const dataframework::TAbstractRow* Row) const;
  // Marks the nodes above Row (its own excluded) as changed in value.
  void NoteValuesAbove(const dataframework::TAbstractRow* Row);
  // Whether Row is a node of a fresh model.
  bool IsNodeNow(const dataframework::TAbstractRow* Row) const;
  // The rows that are the children of node Parent (-1: the top level) in a
  // fresh model, in order.
  void ChildrenNow(int Parent, std::vector<dataframework::TAbstractRow*>& Rows) const;
  void CollectNodes(dataframework::TAbstractRow* Row,
                    std::vector<dataframework::TAbstractRow*>& Rows) const;
  void SyncOnce();
  // Brings the children of node Parent in line with the storage.
  void SyncChildren(int Parent);
  void InsertRun(int Parent, int Position, const std::vector<dataframework::TAbstractRow*>& Rows);
  void RemoveRun(int Parent, int First, int Last);
  // Removes node Id wherever it is (with its subtree).
  void RemoveNode(int Id);
  void FreeSubtree(int Id);
  int NewNode(dataframework::TAbstractRow* Row, int Parent);
  std::vector<int>& ChildrenOf(int Parent);
  QModelIndex IndexOfNode(int Id) const;
  int DepthOf(int Id) const;
  void EmitValueChanges();
  void ResetNow();
  QVariant CellData(dataframework::TAbstractRow* Row, dataframework::TDataField* Field,
                    int Role) const;
  const QImage& ImageOf(const platform::TPicture& Picture) const;

  dataframework::TCustomRowStorage& FStorage;
  std::vector<dataframework::TDataField*> FColumns;
  TTree FTree;
  // Notes waiting for the end of the storage's operation.
  bool FResetPending = false;
  std::unordered_set<int> FDirty;    // nodes (-1: the top level) whose children may differ
  std::unordered_set<int> FChanged;  // nodes whose values may differ
  // The last parent whose nodes above were marked (most notes come for
  // siblings in a row); none after any change of the nodes.
  const dataframework::TSubTotalRow* FLastValueParent = nullptr;
  const dataframework::TSubTotalRow* FLastStructureParent = nullptr;
  bool FSyncing = false;
  bool FSyncAgain = false;
  mutable std::unordered_map<const platform::TPicture*, QImage> FImages;
  dataframework::TSetResult FLastSetResult = dataframework::srOk;
  dataframework::TPutResult FLastPutResult = dataframework::prOk;
  std::string FLastMessage;
  TResultCallback FOnResult;
  TFollower FFollower;
};

// Shows Model in View and keeps the view's expanded nodes in step with the
// storage: expanding or collapsing a node in the view expands or collapses
// it in the storage (queued, so the model does not change inside the view's
// own signal), and after every model reset, and for the parent and the new
// rows of every insertion and removal, the view expands exactly the nodes
// that are expanded in the storage. Calling it again for the same view
// replaces the earlier link.
void ConnectTreeView(QTreeView& View, TRowStorageModel& Model);

}  // namespace dataframework::qt
