#include "grid/GridDocument.h"

#include <algorithm>
#include <cctype>
#include <ostream>

#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/RowStorageTreeKey.h"
#include "dataframework/elements/SubTotalHandler.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/types/DataTypes.h"
#include "grid/ProportionalSubTotalHandler.h"

namespace grid {

using namespace dataframework;
using dataframework::bridge::TBridgeRowStorage;
using dataframework::bridge::TBridgeTable;

namespace {

bool Succeeded(TSetResult Result) {
  return Result == srOk || Result == srKeyOverwrited;
}

std::string Trim(const std::string& Text) {
  size_t b = 0, e = Text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(Text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(Text[e - 1]))) --e;
  return Text.substr(b, e - b);
}

std::string Lower(std::string Text) {
  for (char& c : Text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return Text;
}

}  // namespace

bool TGridDocument::SameKey(const TKeyValues& A, const TKeyValues& B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i)
    if (TypeOf(A[i]).Compare(A[i], B[i]) != 0) return false;
  return true;
}

namespace {

TDataField* FieldOfColumn(const TBridgeTable& Table, const std::string& Name) {
  for (const auto& c : Table.Columns())
    if (c.Name == Name || c.Field->FieldName() == Name) return c.Field;
  const std::string lower = Lower(Name);
  for (const auto& c : Table.Columns())
    if (Lower(c.Name) == lower || Lower(c.Field->FieldName()) == lower) return c.Field;
  throw EGridError("Unknown column " + Name + " in table " + Table.Name());
}

// The position of the first Stop outside single quotes at or after From.
size_t FindOutsideQuotes(const std::string& Text, char Stop, size_t From) {
  bool quoted = false;
  for (size_t i = From; i < Text.size(); ++i) {
    if (Text[i] == '\'')
      quoted = !quoted;
    else if (!quoted && Text[i] == Stop)
      return i;
  }
  return std::string::npos;
}

void AddFilterField(const TBridgeTable& Table, TCriteria& Criteria, const std::string& Name,
                    const std::string& Values) {
  const std::string name = Trim(Name);
  if (name.empty()) throw EGridError("Invalid filter: a column name is missing");
  TDataField* field = nullptr;
  try {
    field = FieldOfColumn(Table, name);
  } catch (const EGridError& e) {
    throw EGridError(std::string("Invalid filter: ") + e.what());
  }
  if (Criteria.FindCriteriaField(field) != nullptr)
    throw EGridError("Invalid filter: column " + name + " appears twice");
  auto restriction = std::make_unique<TCriteriaField>(field);
  try {
    restriction->SetAsText(Trim(Values));
  } catch (const std::exception& e) {
    throw EGridError("Invalid filter for column " + name + ": " + e.what());
  }
  Criteria.SetCriteriaField(field, restriction.get());
}

}  // namespace

std::string SetResultText(TSetResult Result) {
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

TGridDocument::TGridDocument(bridge::TDbDataBridge& Bridge) : FBridge(Bridge) {}

// The table goes after every command that names its fields.
TGridDocument::~TGridDocument() {
  FUndo.Clear();
  FFilter.reset();
}

// ------------------------------------------------------------ opening

bool TGridDocument::Open(const std::string& Name, platform::TInterruptable* Progress) {
  // Described and checked before the open table is let go.
  std::unique_ptr<TBridgeTable> table = FBridge.Describe(Name);
  std::unique_ptr<TCriteria> filter = ParseFilter(*table, FFilterText);
  if (FTable && OnReset) OnReset();
  FUndo.Clear();
  FFilter = std::move(filter);
  FTable = std::move(table);
  FName = Name;
  for (const auto& c : FTable->Columns()) c.Field->SetCaptions({c.Name});
  Storage().SetSubTotalHandler(std::make_unique<TProportionalSubTotalHandler>(true));
  FGroupLevels = std::min(FGroupLevels, KeyCount() - 1);
  return Load(Progress);
}

bool TGridDocument::Load(platform::TInterruptable* Progress) {
  FComplete = false;
  try {
    FBridge.Load(*FTable, FFilter.get(), Progress);
  } catch (...) {
    SetGroupLevels(FGroupLevels);
    throw;
  }
  FComplete = Progress == nullptr || !Progress->Interrupted;
  SetGroupLevels(FGroupLevels);
  return FComplete;
}

TBridgeRowStorage& TGridDocument::Storage() const {
  return FTable->Storage();
}

std::vector<TDataField*> TGridDocument::Fields() const {
  std::vector<TDataField*> fields;
  for (const auto& c : FTable->Columns()) fields.push_back(c.Field);
  return fields;
}

TDataField* TGridDocument::Column(const std::string& Name) const {
  return FieldOfColumn(*FTable, Name);
}

const std::string& TGridDocument::ColumnName(const TDataField* Field) const {
  const auto* column = FTable->ColumnOf(Field);
  return column != nullptr ? column->Name : Field->FieldName();
}

int TGridDocument::KeyCount() const {
  return FTable->KeyCount();
}

void TGridDocument::Changed() const {
  if (OnChanged) OnChanged();
}

// ------------------------------------------------------------ groups

bool TGridDocument::IsGroupLevel(int TreeLevel) const {
  if (TreeLevel == 0) return FGrandTotal;
  return TreeLevel >= 1 && TreeLevel <= FGroupLevels;
}

void TGridDocument::SetGroupLevels(int Levels) {
  if (Levels < 0 || Levels >= KeyCount())
    throw EGridError(FTable->Name() + " can be grouped by at most " +
                     std::to_string(KeyCount() - 1) + " columns");
  FGroupLevels = Levels;
  TBridgeRowStorage& storage = Storage();
  // A level's flag says whether its subtotal rows are groups; ShowLevel
  // then sets each row.
  for (int i = 0; i < storage.TreeKeyCount(); ++i)
    storage.GetTreeKey(i).SetVisible(IsGroupLevel(i));
  storage.DataLevelKey().SetVisible(true);
  ShowLevel(FlatMode() ? FGroupLevels + 1 : 1);
}

void TGridDocument::SetGroupColumns(const std::vector<std::string>& Columns) {
  std::string keys;
  for (int i = 0; i < KeyCount(); ++i) keys += (i ? ", " : "") + FTable->Columns()[i].Name;
  for (size_t i = 0; i < Columns.size(); ++i) {
    TDataField* field = Column(Trim(Columns[i]));
    if (static_cast<int>(i) >= KeyCount() - 1 || FTable->Columns()[i].Field != field)
      throw EGridError("Cannot group by " + Trim(Columns[i]) +
                       ": groups follow the key columns in order (" + keys + ")");
  }
  SetGroupLevels(static_cast<int>(Columns.size()));
}

void TGridDocument::SetGrandTotal(bool Value) {
  FGrandTotal = Value;
  SetGroupLevels(FGroupLevels);
}

bool TGridDocument::TotalsBelow() const {
  return Storage().TotalsBelow();
}

void TGridDocument::SetTotalsBelow(bool Value) {
  Storage().SetTotalsBelow(Value);
  Changed();
}

bool TGridDocument::FlatMode() const {
  return Storage().FlatMode();
}

void TGridDocument::SetFlatMode(bool Value) {
  Storage().SetFlatMode(Value);
  ShowLevel(Value ? FGroupLevels + 1 : 1);
}

int TGridDocument::GroupLevelOf(const TAbstractRow* Row) const {
  if (Row == nullptr || !Row->IsSubTotal()) return -1;
  const int level = static_cast<const TSubTotalRow*>(Row)->LevelIndex();
  return IsGroupLevel(level) ? level : -1;
}

void TGridDocument::ShowBelow(TSubTotalRow* Row, int Level) {
  const int level = Row->LevelIndex();
  if (IsGroupLevel(level) && level >= Level) {
    Row->SetVisible(true);
    Row->SetChildrenVisible(false, true);
    return;
  }
  Row->SetVisible(false);
  for (int i = 0; i < Row->ChildCount(); ++i) {
    TAbstractRow* child = Row->Child(i);
    if (child == nullptr) continue;
    if (child->IsSubTotal()) {
      ShowBelow(static_cast<TSubTotalRow*>(child), Level);
    } else {
      child->SetVisible(true);
    }
  }
}

void TGridDocument::ShowLevel(int Level) {
  ShowBelow(Storage().Root(), Level);
  Changed();
}

void TGridDocument::ExpandGroup(TSubTotalRow* Group) {
  if (Group == nullptr || !Storage().Owns(Group)) return;
  const int level = Group->LevelIndex();
  Group->SetVisible(false);
  for (int i = 0; i < Group->ChildCount(); ++i) {
    TAbstractRow* child = Group->Child(i);
    if (child == nullptr) continue;
    if (child->IsSubTotal()) {
      ShowBelow(static_cast<TSubTotalRow*>(child), level + 1);
    } else {
      child->SetVisible(true);
    }
  }
  Changed();
}

void TGridDocument::CollapseGroup(TSubTotalRow* Group) {
  if (Group == nullptr || !Storage().Owns(Group)) return;
  Group->SetVisible(true);
  Group->SetChildrenVisible(false, true);
  Changed();
}

// ------------------------------------------------------------ filter

std::string TGridDocument::FilterText() const {
  if (!FFilter) return "";
  // The criteria's text form, its fields in column order: the criteria's
  // own order follows its map and changes from one load to the next.
  std::string text = "TCriteria(";
  bool first = true;
  for (const auto& c : FTable->Columns()) {
    const TCriteriaField* restriction = FFilter->FindCriteriaField(c.Field);
    if (restriction == nullptr) continue;
    text += (first ? "" : " ") + std::string("TCriteriaField(") + c.Field->FieldName() + ": " +
            restriction->AsText() + ")";
    first = false;
  }
  return text + ")";
}

bool TGridDocument::SetFilterText(const std::string& Text, platform::TInterruptable* Progress) {
  if (IsOpen()) {
    ParseFilter(*FTable, Text);  // a bad text changes nothing
    if (UnsavedCount() > 0)
      throw EGridError("Save or revert the changes before changing the filter");
  }
  FFilterText = Text;
  if (!IsOpen()) return true;
  return Open(FName, Progress);
}

std::unique_ptr<TCriteria> TGridDocument::ParseFilter(const TBridgeTable& Table,
                                                      const std::string& Text) {
  const std::string text = Trim(Text);
  if (text.empty()) return nullptr;
  auto criteria = std::make_unique<TCriteria>();
  static const std::string kHead = "TCriteria(", kField = "TCriteriaField(";
  if (text.compare(0, kHead.size(), kHead) == 0) {
    if (text.back() != ')') throw EGridError("Invalid filter: the closing ) is missing");
    const std::string body = text.substr(kHead.size(), text.size() - kHead.size() - 1);
    size_t at = 0;
    while (true) {
      while (at < body.size() && std::isspace(static_cast<unsigned char>(body[at]))) ++at;
      if (at == body.size()) break;
      if (body.compare(at, kField.size(), kField) != 0)
        throw EGridError("Invalid filter: TCriteriaField( expected at \"" + body.substr(at) + "\"");
      at += kField.size();
      const size_t colon = body.find(':', at);
      if (colon == std::string::npos)
        throw EGridError("Invalid filter: \":\" expected after \"" + body.substr(at) + "\"");
      const size_t close = FindOutsideQuotes(body, ')', colon + 1);
      if (close == std::string::npos) throw EGridError("Invalid filter: the closing ) is missing");
      AddFilterField(Table, *criteria, body.substr(at, colon - at),
                     body.substr(colon + 1, close - colon - 1));
      at = close + 1;
    }
    return criteria;
  }
  size_t at = 0;
  while (at <= text.size()) {
    size_t end = FindOutsideQuotes(text, ';', at);
    if (end == std::string::npos) end = text.size();
    const std::string part = Trim(text.substr(at, end - at));
    if (!part.empty()) {
      const size_t colon = part.find(':');
      if (colon == std::string::npos)
        throw EGridError("Invalid filter: \"" + part + "\" is not <column>: <values>");
      AddFilterField(Table, *criteria, part.substr(0, colon), part.substr(colon + 1));
    }
    at = end + 1;
  }
  return criteria;
}

// ------------------------------------------------------------ edits

TKeyValues TGridDocument::KeyOf(const TAbstractRow& Row) const {
  TKeyValues key(static_cast<size_t>(KeyCount()));
  for (int i = 0; i < KeyCount(); ++i) Row.GetIndexValue(i, key[static_cast<size_t>(i)]);
  return key;
}

TDataRow* TGridDocument::FindRow(const TKeyValues& Key) const {
  if (static_cast<int>(Key.size()) != KeyCount()) return nullptr;
  TSubTotalRow* group = FindGroup(TKeyValues(Key.begin(), Key.end() - 1));
  int i = 0;
  if (group == nullptr || !group->FindChild(Key.back(), i)) return nullptr;
  TAbstractRow* row = group->Child(i);
  return row != nullptr && !row->IsSubTotal() ? static_cast<TDataRow*>(row) : nullptr;
}

TSubTotalRow* TGridDocument::FindGroup(const TKeyValues& Path) const {
  TSubTotalRow* group = Storage().Root();
  for (const TValue& key : Path) {
    int i = 0;
    if (group->IsLastLevel() || !group->FindChild(key, i)) return nullptr;
    TAbstractRow* child = group->Child(i);
    if (child == nullptr || !child->IsSubTotal()) return nullptr;
    group = static_cast<TSubTotalRow*>(child);
  }
  return group;
}

TKeyValues TGridDocument::GroupPath(const TSubTotalRow& Group) const {
  TKeyValues path;
  for (const TAbstractRow* row = &Group; row->Parent() != nullptr; row = row->Parent()) {
    const TSubTotalRow* parent = row->Parent();
    path.push_back(parent->ChildKey(parent->IndexOfChild(row)));
  }
  std::reverse(path.begin(), path.end());
  return path;
}

void TGridDocument::CollectDataRows(TSubTotalRow* Group, std::vector<TDataRow*>& Rows) const {
  for (int i = 0; i < Group->ChildCount(); ++i) {
    TAbstractRow* child = Group->Child(i);
    if (child == nullptr) continue;
    if (child->IsSubTotal()) {
      CollectDataRows(static_cast<TSubTotalRow*>(child), Rows);
    } else {
      Rows.push_back(static_cast<TDataRow*>(child));
    }
  }
}

namespace {

// Opens every collapsed group above Row, so that a row put back shows.
void ShowPath(TGridDocument& Document, TAbstractRow* Row) {
  std::vector<TSubTotalRow*> above;
  for (TSubTotalRow* p = Row->Parent(); p != nullptr; p = p->Parent()) above.push_back(p);
  for (auto it = above.rbegin(); it != above.rend(); ++it)
    if (Document.GroupLevelOf(*it) >= 0 && (*it)->Visible()) Document.ExpandGroup(*it);
}

}  // namespace

void TGridDocument::ForgetDeleted(const TKeyValues& Key) {
  // A loaded row deleted (or moved to another key) here waits among the
  // deleted rows; an undo brings it back into the tree.
  Storage().ForgetDeletedRows(
      [&](const TDataRow& Deleted) { return SameKey(KeyOf(Deleted), Key); });
}

TDataRow* TGridDocument::Restore(const TDataRow& Row, TRowState State) {
  const TKeyValues key = KeyOf(Row);
  if (State != rsInserted) ForgetDeleted(key);
  std::unique_ptr<TDataRow> copy = Row.Clone();
  TDataRow* row = copy.get();
  const TPutResult result = Storage().PutNewRow(copy, paRefuse);
  if (copy) throw EGridError(ResultTexts[result]);
  row->SetState(State);
  row->SetVisible(true);
  ShowPath(*this, row);
  return row;
}

std::string TGridDocument::EditCell(TAbstractRow* Row, TDataField* Field, const std::string& Text,
                                    TSpreadMode Mode) {
  if (Row == nullptr || Field == nullptr || !Storage().Owns(Row)) return SetResultText(srReadOnly);
  std::string reason;
  if (Field->IsReadOnly(Row) || !Row->CanWrite(Field, reason))
    return reason.empty() ? SetResultText(srReadOnly) : reason;
  TValue value;
  bool parsed = false;
  try {
    parsed = Field->DataType()->ParseValue(Text, value, TValueFormat{});
  } catch (const std::exception&) {
    parsed = false;
  }
  if (!parsed) return Field->DataType()->InvalidValueMessage(Text);

  if (Row->IsSubTotal()) {
    auto* group = static_cast<TSubTotalRow*>(Row);
    // One handler for both ways: a new one would reset every view.
    static_cast<TProportionalSubTotalHandler&>(*Storage().SubTotalHandler()).Proportional =
        Mode == smProportional;
    auto step = std::make_unique<TSpreadCommand>(GroupPath(*group), Field);
    step->Capture(*this, true);
    try {
      const TSetResult result = Row->SetFieldValue(Field, value);
      if (!Succeeded(result)) {
        step->Undo(*this);
        return SetResultText(result);
      }
    } catch (const std::exception& e) {
      // The handler took its writes back; the rows' states come back too.
      step->Undo(*this);
      Changed();
      return e.what();
    }
    step->Capture(*this, false);
    FUndo.Push(std::move(step));
    Changed();
    return SetResultText(srOk);
  }

  auto* row = static_cast<TDataRow*>(Row);
  const TKeyValues before = KeyOf(*row);
  const int index = FTable->Table().IndexOfField(Field);
  if (index >= 0 && index < KeyCount()) {
    // A taken key is refused here: overwriting the other row could not be undone.
    TKeyValues after = before;
    after[static_cast<size_t>(index)] = ConvertToType(Field->DataType(), value);
    TDataRow* other = FindRow(after);
    if (other != nullptr && other != row) return SetResultText(srKeyConflict);
  }
  const TValue old = row->ValueOf(Field);
  const TRowState oldState = row->State();
  const TSetResult result = row->SetFieldValue(Field, value);
  if (!Succeeded(result)) return SetResultText(result);
  FUndo.Push(std::make_unique<TEditCommand>(before, KeyOf(*row), Field, old, row->ValueOf(Field),
                                            oldState, row->State()));
  if (index >= 0 && index < KeyCount()) ShowPath(*this, row);
  Changed();
  return SetResultText(srOk);
}

TDataRow* TGridDocument::AddRow(const std::vector<std::string>& KeyTexts) {
  if (static_cast<int>(KeyTexts.size()) != KeyCount())
    throw EGridError("A new row needs " + std::to_string(KeyCount()) + " key values");
  std::unique_ptr<TDataRow> row = Storage().CreateRow();
  for (int i = 0; i < KeyCount(); ++i) {
    const auto& column = FTable->Columns()[static_cast<size_t>(i)];
    const std::string& text = KeyTexts[static_cast<size_t>(i)];
    TValue value;
    bool parsed = false;
    try {
      parsed = column.Field->DataType()->ParseValue(text, value, TValueFormat{});
    } catch (const std::exception&) {
      parsed = false;
    }
    if (!parsed)
      throw EGridError(column.Name + ": " + column.Field->DataType()->InvalidValueMessage(text));
    row->SetFieldValue(column.Field, value);
  }
  if (FindRow(KeyOf(*row)) != nullptr) throw EGridError(ResultTexts[prKeyConflict]);
  TDataRow* put = row.get();
  const TPutResult result = Storage().PutNewRow(row, paRefuse);
  if (row) throw EGridError(ResultTexts[result]);
  put->SetVisible(true);
  FUndo.Push(std::make_unique<TAddCommand>(*put));
  ShowPath(*this, put);
  Changed();
  return put;
}

void TGridDocument::DeleteRows(const std::vector<TDataRow*>& Rows) {
  auto step = std::make_unique<TDeleteCommand>();
  std::vector<TDataRow*> rows;
  for (TDataRow* row : Rows) {
    if (row == nullptr || !Storage().Owns(row) || row->IsSubTotal()) continue;
    if (std::find(rows.begin(), rows.end(), row) != rows.end()) continue;
    rows.push_back(row);
    step->Add(*row);
  }
  if (rows.empty()) return;
  for (TDataRow* row : rows) row->Delete(true);
  FUndo.Push(std::move(step));
  Changed();
}

bool TGridDocument::Undo() {
  const bool done = FUndo.Undo(*this);
  if (done) Changed();
  return done;
}

bool TGridDocument::Redo() {
  const bool done = FUndo.Redo(*this);
  if (done) Changed();
  return done;
}

// ------------------------------------------------------------ saving

int TGridDocument::ChangedCount() const {
  return Storage().CountRows(rsModified);
}

int TGridDocument::InsertedCount() const {
  return Storage().CountRows(rsInserted);
}

int TGridDocument::DeletedCount() const {
  return Storage().DeletedRowCount();
}

bool TGridDocument::Save(platform::TInterruptable* Progress) {
  if (!FBridge.Save(*FTable, nullptr, Progress)) return false;
  // The steps' states were those before the save.
  FUndo.Clear();
  Changed();
  return true;
}

bool TGridDocument::Revert(platform::TInterruptable* Progress) {
  return Open(FName, Progress);
}

// ------------------------------------------------------------ export

std::string TGridDocument::CsvField(const std::string& Text) {
  if (Text.find_first_of(",\"\r\n") == std::string::npos) return Text;
  std::string quoted = "\"";
  for (char c : Text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

void TGridDocument::ExportCsv(std::ostream& Out, bool WithSubtotals) const {
  const bool totals = WithSubtotals && !FlatMode();
  const std::vector<TDataField*> fields = Fields();
  std::string line = totals ? "level" : "";
  for (size_t i = 0; i < fields.size(); ++i)
    line += (i > 0 || totals ? "," : "") + CsvField(ColumnName(fields[i]));
  Out << line << "\r\n";
  auto write = [&](TAbstractRow* Row, int Level) {
    std::string text = totals ? (Level >= 0 ? std::to_string(Level) : std::string()) : "";
    for (size_t i = 0; i < fields.size(); ++i) {
      std::string cell;
      if (!Row->IsSubTotal() || Row->FieldHasValue(fields[i]))
        cell = ValueAsString(Row->ValueOf(fields[i]));
      text += (i > 0 || totals ? "," : "") + CsvField(cell);
    }
    Out << text << "\r\n";
  };
  const bool below = TotalsBelow();
  std::function<void(TSubTotalRow*)> walk = [&](TSubTotalRow* Group) {
    const int level = totals ? GroupLevelOf(Group) : -1;
    if (level >= 0 && !below) write(Group, level);
    for (int i = 0; i < Group->ChildCount(); ++i) {
      TAbstractRow* child = Group->Child(i);
      if (child == nullptr) continue;
      if (child->IsSubTotal())
        walk(static_cast<TSubTotalRow*>(child));
      else
        write(child, -1);
    }
    if (level >= 0 && below) write(Group, level);
  };
  walk(Storage().Root());
}

}  // namespace grid
