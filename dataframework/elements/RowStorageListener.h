// TRowStorageListener: what a row storage tells the objects that follow it
// (an item model, a cache) about its changes, row by row.
//
// A storage calls its listeners (TAbstractRowStorage::AddListener) from the
// places where it notes a change for itself (RowChanged, the plain value
// write, Expand, Collapse, the view options), in the order the changes
// happen. Most calls come while the storage is in the middle of an
// operation: a listener only takes note there and does its real work in
// ChangesDone, which comes once the outermost operation of the storage has
// ended and the tree is consistent again.
//
// Ownership: the storage borrows its listeners; a listener removes itself
// (RemoveListener) before it dies, or outlives the storage.
// REQUIRES: no method throws (they run inside the storage's operations,
// some of them on the way out of an exception); a listener does not change
// the storage from the note-taking methods (it may from ChangesDone).
#pragma once

namespace dataframework {

class TAbstractRow;
class TAbstractRowStorage;
class TSubTotalRow;

class TRowStorageListener {
 public:
  virtual ~TRowStorageListener() = default;

  // Row has entered the tree (a put, the re-filing of a row whose key
  // changed, a row a subtotal handler made). Row's parents are current.
  virtual void RowInserted(TAbstractRowStorage& /*Storage*/, TAbstractRow& /*Row*/) {}
  // Row is about to leave the tree, with every row below it (a delete, a
  // removal, an empty subtotal row going with its last child). Row and the
  // rows below it are still intact; they may be freed before ChangesDone.
  // Also sent once more for a row the storage already took out (Row's
  // State then says it is outside the tree).
  virtual void RowRemoving(TAbstractRowStorage& /*Storage*/, TAbstractRow& /*Row*/) {}
  // Values of Row changed in place (a plain write, or the end of a key
  // write); the totals of the subtotal rows above it may have changed too.
  virtual void RowValuesChanged(TAbstractRowStorage& /*Storage*/, TAbstractRow& /*Row*/) {}
  // Row's key changed and the row is filed under its new key (sent after
  // the RowInserted of the re-filing and the RowRemoving of its old place).
  virtual void RowMoved(TAbstractRowStorage& /*Storage*/, TAbstractRow& /*Row*/) {}
  // Row's Visible flag changed.
  virtual void RowVisibilityChanged(TAbstractRowStorage& /*Storage*/, TAbstractRow& /*Row*/) {}
  // Expand(Row) ended: Row is hidden and its children are shown.
  virtual void SubtreeExpanded(TAbstractRowStorage& /*Storage*/, TSubTotalRow& /*Row*/) {}
  // Collapse ended: Row is shown and everything below it is hidden.
  virtual void SubtreeCollapsed(TAbstractRowStorage& /*Storage*/, TSubTotalRow& /*Row*/) {}
  // A change too wide to tell row by row: view options (flat mode, totals
  // below), a whole level's visibility, new tree keys, a new criteria, a
  // new subtotal handler, loose rows. Rows known before may be gone.
  virtual void ViewReset(TAbstractRowStorage& /*Storage*/) {}
  // The outermost operation that sent the notes above has ended.
  virtual void ChangesDone(TAbstractRowStorage& /*Storage*/) {}
};

}  // namespace dataframework
