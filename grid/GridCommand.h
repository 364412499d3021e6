// Undo steps of the grid editor and the stack that holds them.
//
// A command is made for a change the document has just done (it remembers
// what was there before and what is there after) and can take it back
// (Undo) and do it again (Redo). Commands name rows by their key values,
// never by pointer: a row deleted and brought back by an undo is a new
// object, and the steps below it must still find it. The stack is linear:
// an undo restores exactly the state the next older step was made in.
//
// Ownership: the stack owns its commands; commands own their value copies
// and borrow the document and the fields.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/types/DataTypeCore.h"

namespace grid {

class TGridDocument;

class TGridCommand {
 public:
  virtual ~TGridCommand() = default;
  virtual void Undo(TGridDocument& Document) = 0;
  virtual void Redo(TGridDocument& Document) = 0;
  // What the step did, for the Undo and Redo actions ("Edit amount").
  virtual std::string Text() const = 0;
};

using TKeyValues = std::vector<dataframework::TValue>;

// One cell of a data row written (a key field too: the row moved).
class TEditCommand : public TGridCommand {
 public:
  TEditCommand(TKeyValues Before, TKeyValues After, dataframework::TDataField* Field,
               dataframework::TValue Old, dataframework::TValue New,
               dataframework::TRowState OldState, dataframework::TRowState NewState);
  void Undo(TGridDocument& Document) override;
  void Redo(TGridDocument& Document) override;
  std::string Text() const override;

 private:
  TKeyValues FBefore, FAfter;
  dataframework::TDataField* FField;
  dataframework::TValue FOld, FNew;
  dataframework::TRowState FOldState, FNewState;
};

// A subtotal written and spread over the data rows below it: their values
// of the field and their states, before and after, in key order.
class TSpreadCommand : public TGridCommand {
 public:
  TSpreadCommand(TKeyValues Group, dataframework::TDataField* Field);
  // Reads the rows below the group into Before (Old true) or After.
  void Capture(TGridDocument& Document, bool Old);
  void Undo(TGridDocument& Document) override;
  void Redo(TGridDocument& Document) override;
  std::string Text() const override;

 private:
  struct TSnapshot {
    std::vector<dataframework::TValue> Values;
    std::vector<dataframework::TRowState> States;
  };
  void Apply(TGridDocument& Document, const TSnapshot& Snapshot);

  TKeyValues FGroup;
  dataframework::TDataField* FField;
  TSnapshot FBefore, FAfter;
};

// A row added with the values it was put with.
class TAddCommand : public TGridCommand {
 public:
  explicit TAddCommand(const dataframework::TDataRow& Row);
  void Undo(TGridDocument& Document) override;
  void Redo(TGridDocument& Document) override;
  std::string Text() const override { return "Add row"; }

 private:
  std::unique_ptr<dataframework::TDataRow> FCopy;
};

// Rows deleted: copies with the states they had.
class TDeleteCommand : public TGridCommand {
 public:
  TDeleteCommand() = default;
  // Remembers Row before it is deleted.
  void Add(const dataframework::TDataRow& Row);
  void Undo(TGridDocument& Document) override;
  void Redo(TGridDocument& Document) override;
  std::string Text() const override;

 private:
  std::vector<std::unique_ptr<dataframework::TDataRow>> FCopies;
  std::vector<dataframework::TRowState> FStates;
};

class TGridUndoStack {
 public:
  // Takes a step that has been done; the steps undone so far are dropped.
  void Push(std::unique_ptr<TGridCommand> Command);
  bool CanUndo() const noexcept { return !FDone.empty(); }
  bool CanRedo() const noexcept { return !FUndone.empty(); }
  // Text of the step Undo / Redo would take ("" when none).
  std::string UndoText() const;
  std::string RedoText() const;
  // False when there is nothing to undo / redo.
  bool Undo(TGridDocument& Document);
  bool Redo(TGridDocument& Document);
  void Clear();
  int Count() const noexcept { return static_cast<int>(FDone.size()); }

 private:
  std::vector<std::unique_ptr<TGridCommand>> FDone;
  std::vector<std::unique_ptr<TGridCommand>> FUndone;
};

}  // namespace grid
