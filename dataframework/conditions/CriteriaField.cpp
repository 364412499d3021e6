#include "dataframework/conditions/CriteriaField.h"

#include <cstdio>
#include <exception>
#include <istream>
#include <ostream>
#include <unordered_set>
#include <vector>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/conditions/QuiltField.h"
#include "dataframework/conditions/QuiltPoint.h"
#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataFieldSet.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/FieldRegistry.h"
#include "dataframework/elements/KeyField.h"
#include "dataframework/elements/RowStorage.h"
#include "platform/Assert.h"
#include "platform/DataError.h"
#include "platform/Errors.h"
#include "platform/FormatSettings.h"
#include "platform/StringList.h"
#include "platform/TextUtils.h"

namespace dataframework {

namespace {

TDataField* CheckedField(TDataField* Field) {
  platform::Assert(Field != nullptr, "TCriteriaField.Create: Field <> nil");
  return Field;
}

// Characters that a value text must not hold unquoted: they separate the
// parts of the text form, or trimming and the stream reader would eat them.
bool IsSpecialChar(char C, bool Intervals) {
  const auto u = static_cast<unsigned char>(C);
  return C == ':' || C == ',' || C == ' ' || C == '(' || C == ')' || u < 32 || u == 127 ||
         (Intervals && C == '-');
}

bool NeedsQuotes(const std::string& Text, bool Intervals) {
  if (Text.empty() || Text == "All" || Text == "None") return true;
  for (char c : Text) {
    if (IsSpecialChar(c, Intervals)) return true;
  }
  return false;
}

// Whether Text, read as a value of Type, gives back V.
bool ReadsBack(const TDataType* Type, const std::string& Text, const TValue& V) {
  try {
    const TValue r = ConvertToType(Type, StringValue(Text));
    return Type->Compare(r, V) == 0;
  } catch (const std::exception&) {
    return false;
  }
}

// The text of V for the text form: its display text, or, when that text
// does not read back to the same value (a double with more than 15
// significant digits), the number with 17 significant digits.
std::string ValueText(const TDataType* Type, const TValue& V) {
  std::string s = ValueAsString(V);
  if (ReadsBack(Type, s, V)) return s;
  try {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", ValueAsFloat(V));
    std::string t(buffer);
    for (char& c : t) {
      if (c == '.') c = platform::FormatSettings().DecimalSeparator;
    }
    if (ReadsBack(Type, t, V)) return t;
  } catch (const std::exception&) {
  }
  return s;
}

std::string RenderValue(const TDataType* Type, const TValue& V, bool Intervals) {
  std::string s = ValueText(Type, V);
  if (NeedsQuotes(s, Intervals)) return "'" + s + "'";
  return s;
}

struct TTextItem {
  std::string Start;
  std::string End;
  bool IsInterval = false;
};

// One value at Pos: between single quotes (anything but a quote), or
// unquoted up to "," (or "-" with intervals) without special characters.
bool ParseValueText(const std::string& T, size_t& Pos, bool Intervals, std::string& Out) {
  const size_t n = T.size();
  if (Pos < n && T[Pos] == '\'') {
    const size_t q = T.find('\'', Pos + 1);
    if (q == std::string::npos) return false;
    Out = T.substr(Pos + 1, q - Pos - 1);
    Pos = q + 1;
    return true;
  }
  const size_t start = Pos;
  while (Pos < n && T[Pos] != ',' && !(Intervals && T[Pos] == '-')) {
    if (T[Pos] == '\'' || IsSpecialChar(T[Pos], Intervals)) return false;
    ++Pos;
  }
  Out = T.substr(start, Pos - start);
  return !Out.empty() && Out != "All" && Out != "None";
}

// Items joined by ", ", each a value or (with intervals) start "-" end.
bool ParseItems(const std::string& T, bool Intervals, std::vector<TTextItem>& Items) {
  size_t p = 0;
  for (;;) {
    TTextItem item;
    if (!ParseValueText(T, p, Intervals, item.Start)) return false;
    if (Intervals && p < T.size() && T[p] == '-') {
      ++p;
      if (!ParseValueText(T, p, Intervals, item.End)) return false;
      item.IsInterval = true;
    }
    Items.push_back(std::move(item));
    if (p == T.size()) return true;
    if (T.compare(p, 2, ", ") != 0) return false;
    p += 2;
  }
}

[[noreturn]] void InvalidStreamFormat() {
  throw platform::Exception("Invalid stream format!");
}

// An update bracket that also gives the extra signal of the changing
// operations; it opens only after every check has passed.
class TChangeBracket {
 public:
  explicit TChangeBracket(TCondition& Condition)
      : FCondition(Condition), FExceptions(std::uncaught_exceptions()) {
    FCondition.BeginUpdate();
  }
  ~TChangeBracket() noexcept(false) {
    if (std::uncaught_exceptions() > FExceptions) {
      // Unwinding: close the bracket, but a failing subscriber must not end
      // the process.
      try {
        FCondition.EndUpdate();
      } catch (...) {
      }
      return;
    }
    FCondition.EndUpdate();
    FCondition.Changed();
  }
  TChangeBracket(const TChangeBracket&) = delete;
  TChangeBracket& operator=(const TChangeBracket&) = delete;

 private:
  TCondition& FCondition;
  int FExceptions;
};

}  // namespace

const platform::TClass& TCriteriaField::StaticClass() {
  static const TConditionClass cls(
      "TCriteriaField", &TNiceCondition::StaticClass(), "Criteria",
      [](std::istream& Stream) -> std::unique_ptr<TCondition> { return ReadFromStream(Stream); });
  return cls;
}

// ---- Construction.

TCriteriaField::TCriteriaField(TDataField* Field)
    : TNiceCondition(nullptr), FValues(CheckedField(Field)) {}

TCriteriaField::TCriteriaField(TCondition* Owner, TDataField* Field)
    : TNiceCondition(Owner), FValues(CheckedField(Field)) {}

TCriteriaField::~TCriteriaField() {
  if (TCriteria* owner = OwnerCriteria()) owner->Forget(this);
}

std::unique_ptr<TCriteriaField> TCriteriaField::CreateCopy(const TCriteriaField* Source) {
  return CreateCopyOwned(nullptr, Source);
}

std::unique_ptr<TCriteriaField> TCriteriaField::CreateCopyOwned(TCondition* Owner,
                                                                const TCriteriaField* Source) {
  platform::Assert(Source != nullptr, "TCriteriaField.CreateCopy: CriteriaField <> nil");
  auto result = std::make_unique<TCriteriaField>(Owner, Source->Field());
  result->AssignItems(*Source);
  return result;
}

std::unique_ptr<TCriteriaField> TCriteriaField::CreateRetargeted(TDataField* Field) const {
  if (Field == nullptr) return nullptr;
  auto result = std::make_unique<TCriteriaField>(Field);
  result->AssignItems(*this);
  return result;
}

std::unique_ptr<TCriteriaField> TCriteriaField::CreateIntersection(TDataField* Field,
                                                                   const TNiceCondition* Src1,
                                                                   const TNiceCondition* Src2) {
  platform::Assert(Field != nullptr, "TCriteriaField.CreateIntersection: Field <> nil");
  platform::Assert(Src1 != nullptr, "TCriteriaField.CreateIntersection: Src1 <> nil");
  platform::Assert(Src2 != nullptr, "TCriteriaField.CreateIntersection: Src2 <> nil");
  const TCriteriaField* a = Src1->GetCriteriaField(Field);
  const TCriteriaField* b = Src2->GetCriteriaField(Field);
  const bool aFree = a == nullptr || a->AcceptsAll();
  const bool bFree = b == nullptr || b->AcceptsAll();
  if (aFree && bFree) {
    auto result = std::make_unique<TCriteriaField>(Field);
    if (a != nullptr && b != nullptr) result->FAll = true;
    return result;
  }
  if (aFree) return b->CreateRetargeted(Field);
  if (bFree) return a->CreateRetargeted(Field);

  auto result = std::make_unique<TCriteriaField>(Field);
  if (a->IsNone() || b->IsNone()) {
    result->FNone = true;
    return result;
  }
  const TDataType* type = Field->DataType();
  int i = 0;
  int j = 0;
  bool added = false;
  while (i < a->Count() && j < b->Count()) {
    const TValue& as = a->FValues.Get(i);
    const TValue& ae = a->FValues.Get2(i);
    const TValue& bs = b->FValues.Get(j);
    const TValue& be = b->FValues.Get2(j);
    int cs = type->Compare(as, bs);
    if (cs == 0) cs = type->Compare(ae, be);
    // The later-starting item gives the start; the other must reach it.
    const TValue& start = cs >= 0 ? as : bs;
    const TValue& firstEnd = cs >= 0 ? be : ae;
    const TValue end = MinValue(type, ae, be);
    if (type->Compare(firstEnd, start) >= 0) {
      result->AddInterval(start, end);
      added = true;
    }
    const int ce = type->Compare(ae, be);
    if (ce <= 0) ++i;
    if (ce >= 0) ++j;
  }
  if (!added) result->FNone = true;
  return result;
}

std::unique_ptr<TCriteriaField> TCriteriaField::CreateDerived(TDataField* Field,
                                                              const TCriteria* Context,
                                                              const TCriteriaField* Source) {
  platform::Assert(Field != nullptr, "TCriteriaField.CreateDerived: Field <> nil");
  platform::Assert(Source != nullptr, "TCriteriaField.CreateDerived: Source <> nil");
  if (Field == Source->Field()) return CreateCopy(Source);
  auto result = std::make_unique<TCriteriaField>(Field);
  if (dynamic_cast<TKeyField*>(Field) == nullptr) return result;

  // Walk the lookup chain of Source's field towards Field. A chain that
  // comes back to a field already passed ends the walk (no endless loop).
  std::vector<std::unique_ptr<TCriteriaField>> intermediates;
  std::unordered_set<const TDataField*> passed{Source->Field()};
  const TCriteriaField* current = Source;
  for (;;) {
    TDataField* lookup = current->Field()->GetLookupField();
    if (lookup == nullptr || lookup == Field || !passed.insert(lookup).second) break;
    intermediates.push_back(CreateDerived(lookup, Context, current));
    current = intermediates.back().get();
  }

  TDataTable* aux = current->Field()->AuxTable();
  if (aux == nullptr) return result;
  TCriteria temporary;
  temporary.SetCriteriaField(current->Field(), current);
  for (int k = 0; k < aux->KeyCount(); ++k) {
    TDataField* key = aux->GetField(k);
    if (key == current->Field() || Context == nullptr) continue;
    if (const TCriteriaField* known = Context->FindCriteriaField(key)) {
      temporary.CriteriaFields(key).UnionAddFrom(known);
    }
  }
  platform::TStringList rows;
  aux->CacheStorage()->GetRows(&rows, &temporary, gmRows);
  result->FNone = true;
  TValue value;
  for (int r = 0; r < rows.Count(); ++r) {
    static_cast<const TAbstractRow*>(rows.GetObject(r))->GetFieldValue(Field, value);
    result->AddValue(value);
  }
  return result;
}

std::unique_ptr<TCriteriaField> TCriteriaField::CreateForTableField(
    TDataField* Field, bool Intersect, const TNiceCondition* Condition) {
  platform::Assert(Field != nullptr, "TCriteriaField.CreateForTableField: Field <> nil");
  platform::Assert(Condition != nullptr, "TCriteriaField.CreateForTableField: Condition <> nil");
  if (const auto* cf = dynamic_cast<const TCriteriaField*>(Condition)) {
    auto result = std::make_unique<TCriteriaField>(Field);
    result->MergeFrom(Intersect, nullptr, cf);
    return result;
  }
  if (dynamic_cast<TKeyField*>(Field) == nullptr) {
    const TCriteriaField* own = Condition->GetCriteriaField(Field);
    return own != nullptr ? CreateCopy(own) : std::make_unique<TCriteriaField>(Field);
  }
  if (Intersect) {
    bool restrictsDependent = false;
    for (int i = 0; i < Field->DependentFieldCount() && !restrictsDependent; ++i) {
      const TDataField* dependent = Field->GetDependentField(i);
      if (dependent == nullptr) continue;
      const TCriteriaField* cf = Condition->GetCriteriaField(dependent);
      restrictsDependent = cf != nullptr && !cf->AcceptsAll();
    }
    if (restrictsDependent) {
      platform::TStringList rows;
      Field->GetRows(&rows, Condition);
      auto result = std::make_unique<TCriteriaField>(Field);
      result->FNone = true;
      TValue value;
      for (int r = 0; r < rows.Count(); ++r) {
        static_cast<const TAbstractRow*>(rows.GetObject(r))->GetFieldValue(Field, value);
        result->AddValue(value);
      }
      return result;
    }
    const TCriteriaField* own = Condition->GetCriteriaField(Field);
    if (own != nullptr && !own->IsBlank()) return CreateCopy(own);
    return std::make_unique<TCriteriaField>(Field);
  }
  auto result = std::make_unique<TCriteriaField>(Field);
  if (const auto* criteria = dynamic_cast<const TCriteria*>(Condition)) {
    for (TCriteriaFieldIterator it(criteria); !it.Eof(); it.Next()) {
      result->MergeFrom(false, criteria, it.CriteriaField());
    }
  }
  return result;
}

// ---- Queries.

void TCriteriaField::CheckIndex(int Index, const char* Text) const {
  platform::Assert(Index >= 0 && Index < FValues.Count(), Text, Index);
}

bool TCriteriaField::HasExactlyOneValue() const {
  return !FNone && !FAll && FValues.Count() == 1 && !GetIsInterval(0);
}

bool TCriteriaField::GetIsInterval(int Index) const {
  CheckIndex(Index, "TCriteriaField.GetIsInterval: (idx >= 0) and (idx < FValues.Count), idx: ");
  return FValues.DataType()->Compare(FValues.Get(Index), FValues.Get2(Index)) != 0;
}

const TValue& TCriteriaField::GetStartValue(int Index) const {
  CheckIndex(Index, "TCriteriaField.GetStartValue: (idx >= 0) and (idx < FValues.Count), idx: ");
  return FValues.Get(Index);
}

const TValue& TCriteriaField::GetEndValue(int Index) const {
  CheckIndex(Index, "TCriteriaField.GetEndValue: (idx >= 0) and (idx < FValues.Count), idx: ");
  return FValues.Get2(Index);
}

const TValue& TCriteriaField::GetSingleValue(int Index) const {
  CheckIndex(Index, "TCriteriaField.GetSingleValue: (idx >= 0) and (idx < FValues.Count), idx: ");
  if (GetIsInterval(Index)) {
    platform::DataError(platform::esFatal, "Criteria",
                        "TCriteriaField.GetSingleValue: Tried to get single value from interval");
  }
  return FValues.Get(Index);
}

const TValue& TCriteriaField::OnlyValue() const {
  if (!HasExactlyOneValue()) {
    platform::DataError(platform::esFatal, "OnlyValue",
                        "TCriteriaField.OnlyValue called when HasExactlyOneValue is False!");
  }
  return GetSingleValue(0);
}

bool TCriteriaField::Accepts(const TValue& Value) const {
  return AcceptsAll() || (!FNone && FValues.Contains(Value));
}

std::string TCriteriaField::AsText() const {
  if (FAll) return "All";
  if (FNone) return "None";
  const bool intervals = Field()->Intervals();
  const TDataType* type = FValues.DataType();
  std::string text;
  for (int i = 0; i < FValues.Count(); ++i) {
    if (i > 0) text += ", ";
    text += RenderValue(type, FValues.Get(i), intervals);
    if (intervals && GetIsInterval(i)) {
      text += "-";
      text += RenderValue(type, FValues.Get2(i), intervals);
    }
  }
  return text;
}

TCriteria* TCriteriaField::OwnerCriteria() const {
  return dynamic_cast<TCriteria*>(Owner());
}

// ---- Changes.

void TCriteriaField::AssignItems(const TCriteriaField& Source) {
  if (&Source == this) return;
  FValues.AssignItems(Source.FValues);
  FAll = Source.FAll;
  FNone = Source.FNone;
}

void TCriteriaField::Clear() {
  TChangeBracket bracket(*this);
  FValues.Clear();
  FAll = false;
  FNone = false;
}

void TCriteriaField::SetAll() {
  TChangeBracket bracket(*this);
  Clear();
  FAll = true;
}

void TCriteriaField::SetNone() {
  TChangeBracket bracket(*this);
  Clear();
  FNone = true;
}

void TCriteriaField::AddValue(const TValue& Value) {
  const TValue v = FAll ? Value : ConvertToType(FValues.DataType(), Value);
  TChangeBracket bracket(*this);
  if (FAll) return;
  FNone = false;
  int i = 0;
  if (FValues.Find(v, i)) return;
  if (i == 0 || FValues.DataType()->Compare(v, FValues.Get2(i - 1)) > 0) FValues.Insert(i, v);
}

void TCriteriaField::AddValueText(const std::string& Text) {
  AddValue(StringValue(Text));
}

void TCriteriaField::AddInterval(const TValue& Start, const TValue& End) {
  const TDataType* type = FValues.DataType();
  TValue s = Start;
  TValue e = End;
  if (!FAll) {
    s = ConvertToType(type, Start);
    e = ConvertToType(type, End);
    const int c = type->Compare(s, e);
    if (c != 0 && !Field()->Intervals()) {
      platform::DataError(platform::esFatal, "Intervals", "Intervals not supported!");
    }
    // A reversed interval holds no value; taking it would leave an item
    // that accepts its start only.
    if (c > 0) {
      platform::DataError(
          platform::esFatal, "Intervals",
          "Illegal interval from '" + ValueAsString(s) + "' to '" + ValueAsString(e) + "'!");
    }
  }
  TChangeBracket bracket(*this);
  if (FAll) return;
  FNone = false;
  int i = 0;
  if (FValues.Find(s, i)) {
    if (type->Compare(e, FValues.Get2(i)) > 0) {
      FValues.Put2(i, e);
      MergeFollowing(i);
    }
    return;
  }
  const int p = FValues.AddInterval(s, e);
  if (!MergeFollowing(p - 1)) MergeFollowing(p);
}

bool TCriteriaField::MergeFollowing(int Index) {
  if (Index < 0 || Index >= FValues.Count()) return false;
  const TDataType* type = FValues.DataType();
  TValue e = FValues.Get2(Index);
  int j = Index + 1;
  while (j < FValues.Count() && type->Compare(e, FValues.Get(j)) >= 0) {
    e = MaxValue(type, e, FValues.Get2(j));
    ++j;
  }
  if (j <= Index + 1) return false;
  for (int k = j - 1; k > Index; --k) FValues.Delete(k);
  FValues.Put2(Index, e);
  return true;
}

void TCriteriaField::CopyFrom(const TCriteriaField* Source) {
  platform::Assert(Source != nullptr, "TCriteriaField.CopyFrom: Source <> nil");
  if (Source->Count() > 0 && Source->FValues.DataType() != FValues.DataType()) {
    platform::DataError(platform::esFatal, "CopyFrom",
                        "TCriteriaField.CopyFrom: Different DataField types!");
  }
  // The update count is kept: a copy made inside a caller's bracket must not
  // break that bracket.
  AssignItems(*Source);
  Changed();
}

void TCriteriaField::IntersectWith(const TNiceCondition* Cond) {
  platform::Assert(Cond != nullptr, "TCriteriaField.IntersectWith: Cond <> nil");
  std::unique_ptr<TCriteriaField> intersection = CreateIntersection(Field(), Cond, this);
  TChangeBracket bracket(*this);
  CopyFrom(intersection.get());
}

void TCriteriaField::UnionAddFrom(const TNiceCondition* Cond) {
  platform::Assert(Cond != nullptr, "TCriteriaField.UnionAddFrom: Cond <> nil");
  const TCriteriaField* source = nullptr;
  const auto* cf = dynamic_cast<const TCriteriaField*>(Cond);
  if (cf != nullptr && cf->Field() != Field() && cf->FValues.DataType() == FValues.DataType()) {
    source = cf;
  } else {
    source = Cond->GetCriteriaField(Field());
  }
  if (source == nullptr || source->AcceptsAll()) {
    SetAll();
    return;
  }
  // Every item is checked and converted before the first one is added.
  const TDataType* type = FValues.DataType();
  std::vector<TCritValueItem> items;
  if (!source->IsNone() && !FAll) {
    for (int i = 0; i < source->Count(); ++i) {
      TCritValueItem item{ConvertToType(type, source->FValues.Get(i)),
                          ConvertToType(type, source->FValues.Get2(i))};
      const int c = type->Compare(item.StartValue, item.EndValue);
      if (c != 0 && !Field()->Intervals()) {
        platform::DataError(platform::esFatal, "Intervals", "Intervals not supported!");
      }
      if (c > 0) {
        platform::DataError(platform::esFatal, "Intervals",
                            "Illegal interval from '" + ValueAsString(item.StartValue) + "' to '" +
                                ValueAsString(item.EndValue) + "'!");
      }
      items.push_back(std::move(item));
    }
  }
  TChangeBracket bracket(*this);
  for (const TCritValueItem& item : items) AddInterval(item.StartValue, item.EndValue);
}

void TCriteriaField::MergeFrom(bool Intersect, const TCriteria* Context,
                               const TCriteriaField* Cond) {
  platform::Assert(Cond != nullptr, "TCriteriaField.MergeFrom: Cond <> nil");
  if (TDataField::LookupChainReaches(Field(), Cond->Field()) == nullptr) return;
  std::unique_ptr<TCriteriaField> derived = CreateDerived(Field(), Context, Cond);
  TChangeBracket bracket(*this);
  if (IsBlank()) {
    CopyFrom(derived.get());
  } else if (Intersect) {
    IntersectWith(derived.get());
  } else {
    UnionAddFrom(derived.get());
  }
}

void TCriteriaField::SetAsText(const std::string& Text) {
  const std::string t = platform::Trim(Text);
  TCriteriaField parsed(Field());
  if (t == "All") {
    parsed.FAll = true;
  } else if (t == "None") {
    parsed.FNone = true;
  } else if (!t.empty()) {
    const bool intervals = Field()->Intervals();
    std::vector<TTextItem> items;
    if (!ParseItems(t, intervals, items)) {
      throw platform::EConvertError("Invalid criteria text: " + t);
    }
    try {
      for (const TTextItem& item : items) {
        if (item.IsInterval) {
          parsed.AddInterval(StringValue(item.Start), StringValue(item.End));
        } else {
          parsed.AddValueText(item.Start);
        }
      }
    } catch (const platform::EAssertionFailed&) {
      throw;
    } catch (const std::exception&) {
      throw platform::EConvertError("Invalid criteria text: " + t);
    }
  }
  TChangeBracket bracket(*this);
  AssignItems(parsed);
}

std::unique_ptr<TQuiltField> TCriteriaField::AsQuiltField() const {
  auto quilt = std::make_unique<TQuiltField>(Field());
  if (FAll) {
    quilt->SetAll();
  } else if (FNone) {
    quilt->SetNone();
  } else {
    for (int i = 0; i < FValues.Count(); ++i) {
      quilt->AddInterval(MakePoint(FValues.Get(i), true), MakePoint(FValues.Get2(i), true));
    }
  }
  return quilt;
}

// ---- The condition contract.

void TCriteriaField::GetRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const {
  if (!GetRowsBySingleValue(Handler, Row)) TCondition::GetRows(Handler, Row);
}

bool TCriteriaField::HasRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const {
  bool result = false;
  if (HasRowsBySingleValue(Handler, Row, result)) return result;
  return TCondition::HasRows(Handler, Row);
}

bool TCriteriaField::UsesField(const TDataField* Field) const {
  return Field == this->Field() && !IsBlank();
}

bool TCriteriaField::UsesTable(const TDataTable* Table) const {
  return Table != nullptr && Table->TableHasField(Field()) && !IsBlank();
}

void TCriteriaField::WriteToStream(std::ostream& Stream, int /*Indent*/) const {
  WriteHeader(Stream);
  Stream << Field()->FieldName() << ": " << AsText();
  WriteFooter(Stream);
}

std::unique_ptr<TCondition> TCriteriaField::CreateFromStream(std::istream& Stream) const {
  return ReadFromStream(Stream);
}

std::unique_ptr<TCriteriaField> TCriteriaField::ReadFromStream(std::istream& Stream) {
  std::string name;
  if (!ReadUpTo(Stream, ':', name, ')')) InvalidStreamFormat();
  std::string values;
  if (!ReadUpTo(Stream, ')', values, 0)) InvalidStreamFormat();
  auto result = std::make_unique<TCriteriaField>(FindFieldByName(platform::Trim(name)));
  try {
    result->SetAsText(values);
  } catch (const platform::EConvertError&) {
    InvalidStreamFormat();
  }
  return result;
}

platform::TMaybeOwned<TCriteria> TCriteriaField::AsCriteria() const {
  auto criteria = std::make_unique<TCriteria>();
  criteria->SetCriteriaField(Field(), this);
  return platform::TMaybeOwned<TCriteria>::Owned(std::move(criteria));
}

platform::TMaybeOwned<TCriteria> TCriteriaField::AsNiceCriteria() const {
  return AsCriteria();
}

bool TCriteriaField::IsNice() const {
  return true;
}

bool TCriteriaField::AcceptsRow(TAbstractRow* Row, const TDataFieldSet* /*FieldSet*/) const {
  platform::Assert(Row != nullptr, "TCriteriaField.AcceptsRow: ARow <> nil");
  if (Row->IsSubTotal() && !Row->FieldHasValue(Field())) return true;
  if (AcceptsAll()) return true;
  if (FNone) return false;
  TValue value;
  Row->GetFieldValue(Field(), value);
  return Accepts(value);
}

bool TCriteriaField::AcceptsRowLenient(TAbstractRow* Row, const TDataFieldSet* FieldSet) const {
  if (FieldSet != nullptr && !TDataFieldSet::Contains(FieldSet, Field())) return true;
  try {
    TValue value;
    Row->GetFieldValue(Field(), value);
    return AcceptsValue(Field(), value);
  } catch (const platform::EAssertionFailed&) {
    throw;
  } catch (const std::exception&) {
    return true;
  }
}

bool TCriteriaField::AcceptsValue(const TDataField* Field, const TValue& Value) const {
  return Field != this->Field() || Accepts(Value);
}

std::unique_ptr<TCondition> TCriteriaField::Clone() const {
  return CreateCopy(this);
}

std::unique_ptr<TCondition> TCriteriaField::CreateFieldTranslatedCopy(TFieldTranslator Translate,
                                                                      void* UserData) const {
  int conflictAction = 1;
  bool keepOriginal = false;
  return CreateRetargeted(Translate(UserData, Field(), conflictAction, keepOriginal));
}

bool TCriteriaField::IsEqual(const TCondition& Other) const {
  const auto* other = dynamic_cast<const TCriteriaField*>(&Other);
  if (other == nullptr || other->Field() != Field() || other->Count() != Count() ||
      other->FAll != FAll || other->FNone != FNone) {
    return false;
  }
  const TDataType* type = FValues.DataType();
  for (int i = 0; i < Count(); ++i) {
    if (type->Compare(FValues.Get(i), other->FValues.Get(i)) != 0 ||
        type->Compare(FValues.Get2(i), other->FValues.Get2(i)) != 0) {
      return false;
    }
  }
  return true;
}

bool TCriteriaField::AcceptsAllOfTable(const TDataTable* Table) const {
  return Table == nullptr || !Table->TableHasField(Field()) || AcceptsAll();
}

bool TCriteriaField::AcceptsNoneOfTable(const TDataTable* Table) const {
  return Table != nullptr && Table->TableHasField(Field()) && FNone;
}

bool TCriteriaField::AcceptsAllOfField(const TDataField* Field) const {
  return Field != this->Field() || AcceptsAll();
}

bool TCriteriaField::AcceptsNoneOfField(const TDataField* Field) const {
  return Field == this->Field() && FNone;
}

bool TCriteriaField::HasOnlyValue(const TDataField* Field, TValue& Value) const {
  if (Field != this->Field() || !HasExactlyOneValue()) return false;
  Value = OnlyValue();
  return true;
}

void TCriteriaField::ForEachField(TFieldCallback Callback, void* UserData) const {
  Callback(UserData, Field(), AcceptsAll());
}

platform::TMaybeOwned<TCommonQuilt> TCriteriaField::AsCommonQuilt() const {
  return platform::TMaybeOwned<TCommonQuilt>::Owned(AsQuiltField());
}

void TCriteriaField::CheckSameField(const TCriteriaField* CF, const TDataField* Field) {
  if (Field != CF->Field()) {
    platform::DataError(
        platform::esFatal, "Criteriaoperation",
        "Tried to perform a Criteriaoperation on CriteteriaFields of different DataFields");
  }
}

TCriteriaField* TCriteriaField::GetCriteriaField(const TDataField* Field) const {
  CheckSameField(this, Field);
  return const_cast<TCriteriaField*>(this);
}

void TCriteriaField::AddToCriteria(TCriteria& Criteria, TDataTable* Table, bool Intersect) const {
  Criteria.MergeFieldFromTable(Table, Intersect, this, nullptr);
}

}  // namespace dataframework
