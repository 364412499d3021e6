#include "dataframework/conditions/Condition.h"

#include <algorithm>
#include <exception>
#include <istream>
#include <ostream>
#include <vector>

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataFieldSet.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/GetRowsHandler.h"
#include "dataframework/elements/RowStorageTreeKey.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/elements/internal/SubTotalChildren.h"
#include "platform/Errors.h"
#include "platform/TextUtils.h"

namespace dataframework {

// ---- Metaclasses.

TConditionClass::TConditionClass(std::string Name, const platform::TClass* Parent,
                                 std::string UnitName, TCreateFromStream Create)
    : platform::TClass(std::move(Name), Parent, std::move(UnitName)), FCreate(Create) {}

std::unique_ptr<TCondition> TConditionClass::CreateFromStream(std::istream& Stream) const {
  if (FCreate == nullptr) throw platform::EAbstractError();
  return FCreate(Stream);
}

const platform::TClass& TCondition::StaticClass() {
  static const TConditionClass Class("TCondition", &platform::TPersistent::StaticClass(), "Quilt",
                                     nullptr);
  return Class;
}

const platform::TClass& TNiceCondition::StaticClass() {
  static const TConditionClass Class("TNiceCondition", &TCondition::StaticClass(), "Quilt",
                                     nullptr);
  return Class;
}

const platform::TClass& TCommonQuilt::StaticClass() {
  static const TConditionClass Class("TCommonQuilt", &TCondition::StaticClass(), "Quilt", nullptr);
  return Class;
}

// ---- Update brackets and change events.

TConditionUpdate::~TConditionUpdate() noexcept(false) {
  if (std::uncaught_exceptions() > FExceptions) {
    // The block is already failing: close the bracket, keep the first error.
    try {
      FCondition.EndUpdate();
    } catch (...) {
    }
    return;
  }
  FCondition.EndUpdate();
}

TCondition::TCondition(TCondition* Owner) : FOwner(Owner) {}

TCondition::~TCondition() = default;

void TCondition::EndUpdate() {
  if (--FUpdateCount <= 0) {
    FUpdateCount = 0;
    Changed();
  }
}

void TCondition::Changed() {
  if (FUpdateCount > 0) return;
  if (FOnChange) FOnChange(this);
}

// ---- Text form.

void TCondition::WriteHeader(std::ostream& Stream) const {
  Stream << ClassName() << '(';
}

void TCondition::WriteLineBreak(std::ostream& Stream, int Indent) {
  Stream << "\r\n";
  if (Indent > 0) Stream << std::string(static_cast<size_t>(Indent), ' ');
}

void TCondition::WriteFooter(std::ostream& Stream) {
  Stream << ')';
}

bool TCondition::ReadUpTo(std::istream& Stream, char Delimiter, std::string& Text, char StopChar) {
  if (!Stream.good()) return false;
  const std::istream::pos_type start = Stream.tellg();
  if (start == std::istream::pos_type(-1)) return false;
  std::string read;
  bool quoted = false;
  for (;;) {
    const int c = Stream.get();
    if (c == std::char_traits<char>::eof()) break;
    const char ch = static_cast<char>(c);
    if (ch == '\'') {
      quoted = !quoted;
    } else if (!quoted) {
      if (ch == Delimiter) {
        Text = std::move(read);
        return true;
      }
      if (ch == StopChar) break;
    }
    read.push_back(ch);
  }
  Stream.clear();
  Stream.seekg(start);
  return false;
}

bool TCondition::ReadHeader(std::istream& Stream, const TConditionClass*& ConditionClass) {
  std::string text;
  if (!ReadUpTo(Stream, '(', text, ')')) return false;
  const platform::TClass& found = platform::GetClass(platform::Trim(text));
  ConditionClass = dynamic_cast<const TConditionClass*>(&found);
  return true;
}

bool TCondition::ReadFooter(std::istream& Stream) {
  std::string ignored;
  return ReadUpTo(Stream, ')', ignored, '\0');
}

// ---- Default row walks.

namespace {

struct TCollected {
  TAbstractRow* Row;
  TValue Key;
  TValue SortValue;
  bool HasSortValue;
};

// Orders Children by the level's sort field (descending when the level
// says so), ties by the level's key ascending. A sort value that cannot be
// read ties.
void SortByLevel(std::vector<TCollected>& Children, const TRowStorageTreeKey& Level,
                 const TDataType& KeyType) {
  TDataField* sortField = Level.SortField() != nullptr ? Level.SortField() : Level.Field();
  for (TCollected& c : Children) {
    try {
      c.Row->GetFieldValue(sortField, c.SortValue);
      c.HasSortValue = true;
    } catch (const platform::Exception&) {
      c.HasSortValue = false;
    }
  }
  const TDataType* sortType = sortField->DataType();
  const bool descending = Level.Direction() == soDescending;
  std::stable_sort(Children.begin(), Children.end(), [&](const TCollected& a, const TCollected& b) {
    if (a.HasSortValue && b.HasSortValue && sortType != nullptr) {
      int c = sortType->Compare(a.SortValue, b.SortValue);
      if (descending) c = -c;
      if (c != 0) return c < 0;
    }
    return KeyType.Compare(a.Key, b.Key) < 0;
  });
}

}  // namespace

void TCondition::GetRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const {
  const TRowStorageTreeKey& level = *Row->Level();
  TDataField* levelField = level.Field();
  const bool lastLevel = Row->IsLastLevel();
  const bool sort = Handler.SortChildren() &&
                    ((level.SortField() != nullptr && level.SortField() != levelField) ||
                     level.Direction() == soDescending);
  const TCondition& condition = Handler.Condition();
  const bool nice = Handler.NiceCondition();
  const bool rowTest = Handler.NeedsRowTest() && lastLevel;
  std::vector<TCollected> collected;
  TValue key;
  // Deliver leaves the entries in place (a deleted row leaves its key
  // without row until the level is pruned), so positions stay valid.
  for (int i = 0; i < Row->ChildCount(); ++i) {
    TAbstractRow* child = Row->Child(i);
    if (child == nullptr) continue;
    if (nice) {
      Row->Children().GetKey(i, key);
      if (!condition.AcceptsValue(levelField, key)) continue;
      if (rowTest && !condition.AcceptsRow(child, nullptr)) continue;
    } else if (lastLevel && !condition.AcceptsRow(child, nullptr)) {
      continue;
    }
    if (sort) {
      if (!nice) Row->Children().GetKey(i, key);
      collected.push_back(TCollected{child, key, TValue(), false});
    } else {
      Handler.Deliver(Row, child);
    }
  }
  if (!sort) return;
  SortByLevel(collected, level, *Row->Children().DataType());
  for (const TCollected& c : collected) Handler.Deliver(Row, c.Row);
}

bool TCondition::HasRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const {
  TDataField* levelField = Row->Level()->Field();
  const bool lastLevel = Row->IsLastLevel();
  const bool nice = Handler.NiceCondition();
  TValue key;
  for (int i = 0; i < Row->ChildCount(); ++i) {
    TAbstractRow* child = Row->Child(i);
    if (child == nullptr) continue;
    bool success;
    if (lastLevel) {
      if (Handler.NeedsRowTest()) {
        success = AcceptsRow(child, nullptr);
      } else {
        Row->Children().GetKey(i, key);
        success = AcceptsValue(levelField, key);
      }
    } else if (nice) {
      Row->Children().GetKey(i, key);
      success = AcceptsValue(levelField, key) &&
                Handler.Condition().HasRows(Handler, static_cast<TSubTotalRow*>(child));
    } else {
      success = Handler.Condition().HasRows(Handler, static_cast<TSubTotalRow*>(child));
    }
    if (success) return true;
  }
  return false;
}

bool TCondition::GetRowsBySingleValue(TGetRowsHandler& Handler, TSubTotalRow* Row) const {
  if (!Handler.NiceCondition()) return false;
  const bool lastLevel = Row->IsLastLevel();
  if (Handler.NeedsRowTest() && lastLevel) return false;
  TValue only;
  if (!HasOnlyValue(Row->Level()->Field(), only)) return false;
  int index = 0;
  if (Row->FindChild(only, index)) {
    TAbstractRow* child = Row->Child(index);
    if (child != nullptr) Handler.Deliver(Row, child);
  }
  return true;
}

bool TCondition::HasRowsBySingleValue(TGetRowsHandler& Handler, TSubTotalRow* Row,
                                      bool& Result) const {
  if (!Handler.NiceCondition()) return false;
  const bool lastLevel = Row->IsLastLevel();
  if (Handler.NeedsRowTest() && lastLevel) return false;
  TValue only;
  if (!HasOnlyValue(Row->Level()->Field(), only)) return false;
  int index = 0;
  Result = false;
  if (Row->FindChild(only, index)) {
    TAbstractRow* child = Row->Child(index);
    if (child != nullptr)
      Result = lastLevel || Handler.Condition().HasRows(Handler, static_cast<TSubTotalRow*>(child));
  }
  return true;
}

// ---- Remaining defaults of the contract.

std::unique_ptr<TCondition> TCondition::CreateFromStream(std::istream& Stream) const {
  auto* metaclass = dynamic_cast<const TConditionClass*>(&ClassType());
  if (metaclass == nullptr) throw platform::EAbstractError();
  return metaclass->CreateFromStream(Stream);
}

bool TCondition::IsNice() const {
  return false;
}

bool TNiceCondition::IsNice() const {
  return true;
}

bool TCommonQuilt::UsesField(const TDataField* Field) const {
  return FieldSet().Contains(Field);
}

bool TCommonQuilt::UsesTable(const TDataTable* Table) const {
  const TDataFieldSet& fields = FieldSet();
  for (int i = 0; i < Table->FieldCount(); ++i)
    if (fields.Contains(Table->GetField(i))) return true;
  return false;
}

void TCommonQuilt::WriteToStream(std::ostream&, int) const {
  RaiseNotImplemented();
}

std::unique_ptr<TCondition> TCommonQuilt::CreateFromStream(std::istream&) const {
  RaiseNotImplemented();
}

platform::TMaybeOwned<TCriteria> TCommonQuilt::AsCriteria() const {
  RaiseNotImplemented();
}

platform::TMaybeOwned<TCriteria> TCommonQuilt::AsNiceCriteria() const {
  RaiseNotImplemented();
}

// ---- Free functions.

std::unique_ptr<TCommonQuilt> QuiltUnion(std::unique_ptr<TCommonQuilt> Self,
                                         platform::TMaybeOwned<TCommonQuilt> Other) {
  TCommonQuilt* receiver = Self.get();
  return receiver->Union(std::move(Self), std::move(Other));
}

std::unique_ptr<TCommonQuilt> QuiltSubtract(std::unique_ptr<TCommonQuilt> Self,
                                            platform::TMaybeOwned<TCommonQuilt> Other) {
  TCommonQuilt* receiver = Self.get();
  return receiver->Subtract(std::move(Self), std::move(Other));
}

std::unique_ptr<TCommonQuilt> QuiltIntersect(std::unique_ptr<TCommonQuilt> Self,
                                             platform::TMaybeOwned<TCommonQuilt> Other) {
  TCommonQuilt* receiver = Self.get();
  return receiver->Intersect(std::move(Self), std::move(Other));
}

std::unique_ptr<TCommonQuilt> QuiltSimplify(std::unique_ptr<TCommonQuilt> Self) {
  TCommonQuilt* receiver = Self.get();
  return receiver->Simplify(std::move(Self));
}

std::unique_ptr<TCommonQuilt> QuiltCopyOf(const TCondition& Condition) {
  platform::TMaybeOwned<TCommonQuilt> quilt = Condition.AsCommonQuilt();
  if (quilt.MustFree()) return quilt.ReleaseOwned();
  return quilt->CloneQuilt();
}

void RaiseNotImplemented() {
  throw platform::Exception("Not implemented!");
}

}  // namespace dataframework
