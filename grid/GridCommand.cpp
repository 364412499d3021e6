#include "grid/GridCommand.h"

#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/SubTotalRow.h"
#include "grid/GridDocument.h"

namespace grid {

using namespace dataframework;

namespace {

// A step finds its rows as it left them; anything else is a broken stack.
[[noreturn]] void Gone(const std::string& What) {
  throw EGridError("Cannot take back \"" + What + "\": its rows are no longer there");
}

}  // namespace

// ------------------------------------------------------------ edit

TEditCommand::TEditCommand(TKeyValues Before, TKeyValues After, TDataField* Field, TValue Old,
                           TValue New, TRowState OldState, TRowState NewState)
    : FBefore(std::move(Before)),
      FAfter(std::move(After)),
      FField(Field),
      FOld(std::move(Old)),
      FNew(std::move(New)),
      FOldState(OldState),
      FNewState(NewState) {}

void TEditCommand::Undo(TGridDocument& Document) {
  TDataRow* row = Document.FindRow(FAfter);
  if (row == nullptr) Gone(Text());
  row->SetFieldValue(FField, FOld);
  // A loaded row that moved left its old key among the deleted rows.
  if (FOldState != rsInserted && !TGridDocument::SameKey(FBefore, FAfter))
    Document.ForgetDeleted(FBefore);
  row->SetState(FOldState);
}

void TEditCommand::Redo(TGridDocument& Document) {
  TDataRow* row = Document.FindRow(FBefore);
  if (row == nullptr) Gone(Text());
  row->SetFieldValue(FField, FNew);
  row->SetState(FNewState);
}

std::string TEditCommand::Text() const {
  return "Edit " + FField->CaptionText();
}

// ------------------------------------------------------------ spread

TSpreadCommand::TSpreadCommand(TKeyValues Group, TDataField* Field)
    : FGroup(std::move(Group)), FField(Field) {}

void TSpreadCommand::Capture(TGridDocument& Document, bool Old) {
  TSubTotalRow* group = Document.FindGroup(FGroup);
  if (group == nullptr) Gone(Text());
  std::vector<TDataRow*> rows;
  Document.CollectDataRows(group, rows);
  TSnapshot& snapshot = Old ? FBefore : FAfter;
  snapshot.Values.resize(rows.size());
  snapshot.States.resize(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    rows[i]->GetFieldValue(FField, snapshot.Values[i]);
    snapshot.States[i] = rows[i]->State();
  }
}

void TSpreadCommand::Apply(TGridDocument& Document, const TSnapshot& Snapshot) {
  TSubTotalRow* group = Document.FindGroup(FGroup);
  if (group == nullptr) Gone(Text());
  std::vector<TDataRow*> rows;
  Document.CollectDataRows(group, rows);
  if (rows.size() != Snapshot.Values.size()) Gone(Text());
  for (size_t i = 0; i < rows.size(); ++i) {
    rows[i]->SetFieldValue(FField, Snapshot.Values[i]);
    rows[i]->SetState(Snapshot.States[i]);
  }
}

void TSpreadCommand::Undo(TGridDocument& Document) {
  Apply(Document, FBefore);
}

void TSpreadCommand::Redo(TGridDocument& Document) {
  Apply(Document, FAfter);
}

std::string TSpreadCommand::Text() const {
  return "Spread " + FField->CaptionText();
}

// ------------------------------------------------------------ add, delete

TAddCommand::TAddCommand(const TDataRow& Row) : FCopy(Row.Clone()) {}

void TAddCommand::Undo(TGridDocument& Document) {
  TDataRow* row = Document.FindRow(Document.KeyOf(*FCopy));
  if (row == nullptr) Gone(Text());
  row->Delete(true);  // an inserted row is freed
}

void TAddCommand::Redo(TGridDocument& Document) {
  Document.Restore(*FCopy, rsInserted);
}

void TDeleteCommand::Add(const TDataRow& Row) {
  FCopies.push_back(Row.Clone());
  FStates.push_back(Row.State());
}

void TDeleteCommand::Undo(TGridDocument& Document) {
  for (size_t i = FCopies.size(); i-- > 0;) Document.Restore(*FCopies[i], FStates[i]);
}

void TDeleteCommand::Redo(TGridDocument& Document) {
  for (const auto& copy : FCopies) {
    TDataRow* row = Document.FindRow(Document.KeyOf(*copy));
    if (row == nullptr) Gone(Text());
    row->Delete(true);
  }
}

std::string TDeleteCommand::Text() const {
  return FCopies.size() == 1 ? "Delete row" : "Delete " + std::to_string(FCopies.size()) + " rows";
}

// ------------------------------------------------------------ stack

void TGridUndoStack::Push(std::unique_ptr<TGridCommand> Command) {
  FUndone.clear();
  FDone.push_back(std::move(Command));
}

std::string TGridUndoStack::UndoText() const {
  return FDone.empty() ? "" : FDone.back()->Text();
}

std::string TGridUndoStack::RedoText() const {
  return FUndone.empty() ? "" : FUndone.back()->Text();
}

bool TGridUndoStack::Undo(TGridDocument& Document) {
  if (FDone.empty()) return false;
  FDone.back()->Undo(Document);
  FUndone.push_back(std::move(FDone.back()));
  FDone.pop_back();
  return true;
}

bool TGridUndoStack::Redo(TGridDocument& Document) {
  if (FUndone.empty()) return false;
  FUndone.back()->Redo(Document);
  FDone.push_back(std::move(FUndone.back()));
  FUndone.pop_back();
  return true;
}

void TGridUndoStack::Clear() {
  FDone.clear();
  FUndone.clear();
}

}  // namespace grid
