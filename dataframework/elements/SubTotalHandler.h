// Subtotal handlers: how a storage computes its subtotals and whether and how
// a value written into a subtotal row is distributed over the rows below.
//
// TSubTotalHandler is writable: it splits the difference between the new and
// the old total evenly over the children, level by level, making missing
// children, and with UndoEnabled takes everything back when a write fails.
// TDefaultSubTotalHandler (the shared handler of storages without their own)
// refuses every write. Each subtotal write or totals computation runs inside
// a mark (TSubTotalHandlerMark) pushed on the handler and popped at its end
// whatever the outcome; the mark records the undo commands.
//
// Ownership: a handler owns its marks, a mark its commands. Handlers never
// own storages or rows. A storage does not own the shared default handler
// (DefaultSubTotalHandler, freed at process end).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/types/DataTypeCore.h"
#include "dataframework/types/DataTypes.h"
#include "platform/Object.h"

namespace dataframework {

// An undo step recorded by a distribution.
class TCallbackCommand : public platform::TObject {
 public:
  virtual void Execute() = 0;
};

// Takes a row made by the distribution out of its parent again (a subtotal
// row is freed, a data row handed back to this command, which frees it).
class TCallbackCommandRemoveRow : public TCallbackCommand {
 public:
  explicit TCallbackCommandRemoveRow(TAbstractRow* Row) : FRow(Row) {}
  void Execute() override;
  TAbstractRow* Row() const noexcept { return FRow; }

 private:
  TAbstractRow* FRow;
};

// Writes back the value a distribution replaced.
class TCallbackCommandRestoreValue : public TCallbackCommand {
 public:
  TCallbackCommandRestoreValue(TAbstractRow* Row, TDataField* Field, const TValue& Value)
      : FRow(Row), FField(Field), FValue(Value) {}
  void Execute() override;
  TAbstractRow* Row() const noexcept { return FRow; }
  TDataField* Field() const noexcept { return FField; }
  const TValue& Value() const noexcept { return FValue; }

 private:
  TAbstractRow* FRow;
  TDataField* FField;
  TValue FValue;
};

// One running subtotal write or totals computation.
class TSubTotalHandlerMark : public platform::TObject {
 public:
  TSubTotalHandlerMark(TAbstractRowStorage* Storage, TDataField* Field)
      : FStorage(Storage), FField(Field) {}
  ~TSubTotalHandlerMark() override;

  TAbstractRowStorage* Storage() const noexcept { return FStorage; }
  TDataField* Field() const noexcept { return FField; }
  int CommandCount() const noexcept { return static_cast<int>(FCommands.size()); }

  void AddCommand(std::unique_ptr<TCallbackCommand> Command);
  // Executes the commands newest first, freeing each; the list ends empty.
  void Undo();
  void PushRow(TSubTotalRow* Row) { FRows.push_back(Row); }
  // The top row taken off, or none when the stack is empty.
  TSubTotalRow* PopRow();
  TSubTotalRow* TopRow() const noexcept { return FRows.empty() ? nullptr : FRows.back(); }

 private:
  TAbstractRowStorage* FStorage;
  TDataField* FField;
  std::vector<std::unique_ptr<TCallbackCommand>> FCommands;
  std::vector<TSubTotalRow*> FRows;
};

class TSubTotalHandler : public platform::TObject {
 public:
  explicit TSubTotalHandler(bool UndoEnabled) : FUndoEnabled(UndoEnabled) {}
  ~TSubTotalHandler() override;
  TSubTotalHandler(const TSubTotalHandler&) = delete;
  TSubTotalHandler& operator=(const TSubTotalHandler&) = delete;

  bool UndoEnabled() const noexcept { return FUndoEnabled; }
  void SetUndoEnabled(bool Value) noexcept { FUndoEnabled = Value; }

  // ---- Virtual operations, in their fixed order.
  // 0: subtotals of level LevelIndex may be written.
  virtual bool CanDistributeAtLevel(TAbstractRowStorage* Storage, int LevelIndex,
                                    std::string& Reason);
  // 1: Value for Field can be distributed below Row (Row has children).
  virtual bool CanDistributeValue(TAbstractRowStorage* Storage, TSubTotalRow* Row,
                                  std::string& Reason, TDataField* Field);
  // 2: hook before Distribute.
  virtual void BeforeDistribute(TAbstractRowStorage* Storage, TSubTotalRow* Row,
                                const TValue& Value, TDataField* Field);
  // 3: makes Row's total of Field equal Value by changing the rows below
  // (even split of the difference). REQUIRES: Row is the current row.
  virtual void Distribute(TAbstractRowStorage* Storage, TSubTotalRow* Row, const TValue& Value,
                          TDataField* Field);
  // 4: computes Row's totals of the aggregable fields and hands each to Store.
  virtual void ComputeTotals(TAbstractRowStorage* Storage, TSubTotalRow* Row, TStoreTotalProc Store,
                             void* UserData);

  // ---- Writing subtotals.
  // Writes Value into Row's Field: checks (CanSet), then distributes; a
  // refused or failed write raises an exception with the reason (with undo
  // everything done is taken back first). srOk otherwise.
  TSetResult SetSubTotalValue(TAbstractRowStorage* Storage, TSubTotalRow* Row, TSetAction Action,
                              const TValue& Value, TDataField* Field);
  // Whether Row's Field may be written; Reason says why not. The level and
  // value checks are those of Storage's own handler.
  bool CanSet(TAbstractRowStorage* Storage, TSubTotalRow* Row, std::string& Reason,
              TDataField* Field);
  // CanSet inside a pushed mark.
  bool CheckSet(TAbstractRowStorage* Storage, TSubTotalRow* Row, std::string& Reason,
                TDataField* Field);
  // ComputeTotals inside a pushed mark.
  void RunComputeTotals(TAbstractRowStorage* Storage, TSubTotalRow* Row, TStoreTotalProc Store,
                        void* UserData);

  // ---- Marks.
  // A new mark for (Storage, Field) with Row on its row stack.
  void PushMark(TAbstractRowStorage* Storage, TSubTotalRow* Row, TDataField* Field);
  void PopMark();
  // The newest mark, or none.
  TSubTotalHandlerMark* CurrentMark() const noexcept;
  int MarkCount() const noexcept { return static_cast<int>(FMarks.size()); }

  // ---- The current mark's work. REQUIRES: a mark is pushed.
  TSubTotalRow* CurrentRow() const;
  int CurrentChildCount() const;
  TAbstractRow* CurrentChild(int Index) const;
  TDataField* CurrentLevelField() const;
  // The current row's child under KeyValue, or none.
  TAbstractRow* FindCurrentChild(const TValue& KeyValue) const;
  // Makes the current row's child under KeyValue hold Value for the mark's
  // field (making the child when missing); the child.
  TAbstractRow* SetChildValue(const TValue& KeyValue, const TValue& Value);
  // Adds Share to the child under KeyValue (Share itself for a new child).
  TAbstractRow* AddToChild(const TValue& KeyValue, const TValue& Share);

 private:
  std::vector<std::unique_ptr<TSubTotalHandlerMark>> FMarks;
  bool FUndoEnabled;
};

// The read-only handler: every subtotal write is refused with
// "Subtotals are by default read-only. Subclass TSubTotalHandler for writable subtotals!".
class TDefaultSubTotalHandler : public TSubTotalHandler {
 public:
  TDefaultSubTotalHandler() : TSubTotalHandler(false) {}
  bool CanDistributeAtLevel(TAbstractRowStorage* Storage, int LevelIndex,
                            std::string& Reason) override;
};

// The shared default handler, made on first use and kept to the process end.
TDefaultSubTotalHandler* DefaultSubTotalHandler();

}  // namespace dataframework
