#include "dataframework/conditions/Criteria.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "dataframework/conditions/QuiltField.h"
#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataTable.h"
#include "platform/Assert.h"
#include "platform/Errors.h"
#include "platform/TextUtils.h"

namespace dataframework {

using platform::TObject;

namespace {

[[noreturn]] void InvalidStreamFormat() {
  throw platform::Exception("Invalid stream format!");
}

TCriteriaField* AsCriteriaField(TObject* Object) {
  return static_cast<TCriteriaField*>(Object);
}

}  // namespace

const platform::TClass& TCriteria::StaticClass() {
  static const TConditionClass cls(
      "TCriteria", &TNiceCondition::StaticClass(), "Criteria",
      [](std::istream& Stream) -> std::unique_ptr<TCondition> { return ReadFromStream(Stream); });
  return cls;
}

void RegisterCriteriaClasses() {
  platform::RegisterClasses({&TCriteria::StaticClass(), &TCriteriaField::StaticClass()});
}

namespace {
// Module start: the text form's reader finds the two classes by name.
[[maybe_unused]] const bool CriteriaClassesRegistered = (RegisterCriteriaClasses(), true);
}  // namespace

// ---- Construction and the map of criteria fields.

TCriteria::TCriteria(TCondition* Owner) : TNiceCondition(Owner), FFields(101, true) {}

TCriteria::~TCriteria() {
  std::vector<TCriteriaField*> owned;
  for (TIndexContainerIterator it(&FFields); !it.Eof(); it.Next()) {
    owned.push_back(AsCriteriaField(it.Value()));
  }
  FFields.Clear();
  for (TCriteriaField* cf : owned) {
    cf->SetOwner(nullptr);
    delete cf;
  }
}

TCriteriaField& TCriteria::Adopt(std::unique_ptr<TCriteriaField> CF) {
  TDataField* field = CF->Field();
  TObject* old = nullptr;
  if (FFields.Find(field, old) && old != CF.get()) {
    FFields.Delete(field);
    AsCriteriaField(old)->SetOwner(nullptr);
    delete old;
  }
  CF->SetOwner(this);
  FFields.AddValue(field, CF.get());
  return *CF.release();
}

void TCriteria::Forget(TCriteriaField* CF) noexcept {
  TObject* stored = nullptr;
  if (FFields.Find(CF->Field(), stored) && stored == CF) FFields.Delete(CF->Field());
}

TCriteriaField* TCriteria::FindCriteriaField(const TDataField* Field) const {
  platform::Assert(Field != nullptr, "TCriteria.FindCriteriaField: Field <> nil");
  TObject* value = nullptr;
  return FFields.Find(Field, value) ? AsCriteriaField(value) : nullptr;
}

TCriteriaField* TCriteria::FindCriteriaField(const TDataField* Field, bool CreateIfMissing) {
  TCriteriaField* cf = static_cast<const TCriteria*>(this)->FindCriteriaField(Field);
  if (cf != nullptr || !CreateIfMissing) return cf;
  // The criteria only borrows the field; the map keys are plain objects.
  return &Adopt(std::make_unique<TCriteriaField>(this, const_cast<TDataField*>(Field)));
}

TCriteriaField& TCriteria::CriteriaFields(TDataField* Field) {
  return *FindCriteriaField(Field, true);
}

void TCriteria::SetCriteriaField(TDataField* Field, const TCriteriaField* Source) {
  if (TCriteriaField* cf = FindCriteriaField(Field)) {
    cf->CopyFrom(Source);
    return;
  }
  // Copied first, adopted after: a refused copy leaves no blank field behind.
  auto cf = std::make_unique<TCriteriaField>(Field);
  cf->CopyFrom(Source);
  Adopt(std::move(cf));
}

bool TCriteria::Restricts(const TDataField* Field) const {
  const TCriteriaField* cf = FindCriteriaField(Field);
  return cf != nullptr && !cf->AcceptsAll();
}

bool TCriteria::HasNonBlankField(const TDataField* Field) const {
  const TCriteriaField* cf = FindCriteriaField(Field);
  return cf != nullptr && !cf->IsBlank();
}

bool TCriteria::DeleteCriteriaField(const TDataField* Field) {
  TCriteriaField* cf = FindCriteriaField(Field);
  if (cf == nullptr) return false;
  delete cf;  // leaves the map on its own
  return true;
}

int TCriteria::CriteriaFieldCount() const {
  int count = 0;
  for (TIndexContainerIterator it(&FFields); !it.Eof(); it.Next()) ++count;
  return count;
}

void TCriteria::MergeFieldFromTable(TDataTable* Table, bool Intersect,
                                    const TCriteriaField* CriteriaField, const TCriteria* Source) {
  platform::Assert(Table != nullptr, "TCriteria.MergeFieldFromTable: Table <> nil");
  platform::Assert(CriteriaField != nullptr, "TCriteria.MergeFieldFromTable: CriteriaField <> nil");
  TDataField* f = Table->ResolveField(CriteriaField->Field());
  if (f == nullptr) return;
  std::unique_ptr<TCriteriaField> nf = TCriteriaField::CreateDerived(f, Source, CriteriaField);
  if (Restricts(f)) {
    TCriteriaField* own = FindCriteriaField(f);
    if (Intersect) {
      own->IntersectWith(nf.get());
    } else {
      own->UnionAddFrom(nf.get());
    }
  } else if (Source == nullptr || Source->Restricts(CriteriaField->Field())) {
    SetCriteriaField(f, nf.get());
  } else {
    SetCriteriaField(CriteriaField->Field(), CriteriaField);
  }
}

std::unique_ptr<TQuiltPatch> TCriteria::AsQuiltPatch() const {
  auto patch = std::make_unique<TQuiltPatch>();
  for (TCriteriaFieldIterator it(this); !it.Eof(); it.Next()) {
    patch->InternalAddQuiltField(it.CriteriaField()->AsQuiltField());
  }
  return patch;
}

// ---- Text form.

void TCriteria::WriteToStream(std::ostream& Stream, int Indent) const {
  WriteHeader(Stream);
  const int indent = Indent + static_cast<int>(ClassName().size()) + 1;
  bool first = true;
  for (TCriteriaFieldIterator it(this); !it.Eof(); it.Next()) {
    if (!first) WriteLineBreak(Stream, indent);
    first = false;
    it.CriteriaField()->WriteToStream(Stream, indent);
  }
  WriteFooter(Stream);
}

std::unique_ptr<TCriteria> TCriteria::ReadFromStream(std::istream& Stream) {
  auto criteria = std::make_unique<TCriteria>();
  const TConditionClass* cls = nullptr;
  while (ReadHeader(Stream, cls)) {
    if (cls != &TCriteriaField::StaticClass()) InvalidStreamFormat();
    std::unique_ptr<TCriteriaField> cf = TCriteriaField::ReadFromStream(Stream);
    // A field named twice is not something the writer makes.
    if (criteria->FindCriteriaField(cf->Field()) != nullptr) InvalidStreamFormat();
    criteria->SetCriteriaField(cf->Field(), cf.get());
  }
  // Only blanks may stand before the closing parenthesis: anything else
  // would be dropped without notice.
  std::string rest;
  if (!ReadUpTo(Stream, ')', rest, 0) || !platform::Trim(rest).empty()) InvalidStreamFormat();
  return criteria;
}

std::unique_ptr<TCondition> TCriteria::CreateFromStream(std::istream& Stream) const {
  return ReadFromStream(Stream);
}

// ---- The condition contract.

void TCriteria::GetRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const {
  if (!GetRowsBySingleValue(Handler, Row)) TCondition::GetRows(Handler, Row);
}

bool TCriteria::HasRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const {
  bool result = false;
  if (HasRowsBySingleValue(Handler, Row, result)) return result;
  return TCondition::HasRows(Handler, Row);
}

bool TCriteria::UsesField(const TDataField* Field) const {
  const TCriteriaField* cf = FindCriteriaField(Field);
  return cf != nullptr && cf->UsesField(Field);
}

bool TCriteria::UsesTable(const TDataTable* Table) const {
  for (TCriteriaFieldIterator it(this); !it.Eof(); it.Next()) {
    if (it.CriteriaField()->UsesTable(Table)) return true;
  }
  return false;
}

platform::TMaybeOwned<TCriteria> TCriteria::AsCriteria() const {
  return platform::TMaybeOwned<TCriteria>::Borrowed(const_cast<TCriteria*>(this));
}

platform::TMaybeOwned<TCriteria> TCriteria::AsNiceCriteria() const {
  return AsCriteria();
}

bool TCriteria::IsNice() const {
  return true;
}

bool TCriteria::AcceptsRow(TAbstractRow* Row, const TDataFieldSet* /*FieldSet*/) const {
  platform::Assert(Row != nullptr, "TCriteria.AcceptsRow: ARow <> nil");
  if (FFields.IsEmpty()) return true;
  const TDataTable* table = Row->Table();
  TValue value;
  for (int i = 0; i < table->FieldCount(); ++i) {
    TDataField* field = table->GetField(i);
    const TCriteriaField* cf = FindCriteriaField(field);
    if (cf == nullptr) continue;
    if (Row->IsSubTotal() && !Row->FieldHasValue(field)) continue;
    Row->GetIndexValue(i, value);
    if (!cf->Accepts(value)) return false;
  }
  return true;
}

bool TCriteria::AcceptsRowLenient(TAbstractRow* Row, const TDataFieldSet* FieldSet) const {
  platform::Assert(Row != nullptr, "TCriteria.AcceptsRow: ARow <> nil");
  for (TCriteriaFieldIterator it(this); !it.Eof(); it.Next()) {
    if (!it.CriteriaField()->AcceptsRowLenient(Row, FieldSet)) return false;
  }
  return true;
}

bool TCriteria::AcceptsValue(const TDataField* Field, const TValue& Value) const {
  const TCriteriaField* cf = FindCriteriaField(Field);
  return cf == nullptr || cf->Accepts(Value);
}

std::unique_ptr<TCondition> TCriteria::Clone() const {
  auto copy = std::make_unique<TCriteria>();
  for (TCriteriaFieldIterator it(this); !it.Eof(); it.Next()) {
    copy->Adopt(TCriteriaField::CreateCopy(it.CriteriaField()));
  }
  return copy;
}

std::unique_ptr<TCondition> TCriteria::CreateFieldTranslatedCopy(TFieldTranslator Translate,
                                                                 void* UserData) const {
  auto result = std::make_unique<TCriteria>();
  for (TCriteriaFieldIterator it(this); !it.Eof(); it.Next()) {
    TDataField* f = it.Field();
    const TCriteriaField* cf = it.CriteriaField();
    int conflictAction = 1;
    bool keepOriginal = false;
    TDataField* g = Translate(UserData, f, conflictAction, keepOriginal);
    std::unique_ptr<TCriteriaField> copy = cf->CreateRetargeted(g);
    if (copy == nullptr || copy->IsBlank()) continue;
    if (TCriteriaField* existing = result->FindCriteriaField(g)) {
      switch (conflictAction) {
        case 0:
          break;
        case 1:
          existing->CopyFrom(copy.get());
          break;
        case 2:
          existing->UnionAddFrom(copy.get());
          break;
        case 3:
          existing->IntersectWith(copy.get());
          break;
        default:
          throw platform::Exception(ClassName() +
                                    ".CreateFieldTranslatedCopy: Unknown ConflictAction!");
      }
    } else {
      result->Adopt(std::move(copy));
    }
    if (keepOriginal) result->CriteriaFields(f).UnionAddFrom(cf);
  }
  return result;
}

bool TCriteria::IsEqual(const TCondition& Other) const {
  const auto* other = dynamic_cast<const TCriteria*>(&Other);
  if (other == nullptr) return false;
  // Every restricting field of one side has a non-blank equal counterpart.
  auto covered = [](const TCriteria& A, const TCriteria& B) {
    for (TCriteriaFieldIterator it(&A); !it.Eof(); it.Next()) {
      const TCriteriaField* cf = it.CriteriaField();
      if (cf->AcceptsAll()) continue;
      const TCriteriaField* counterpart = B.FindCriteriaField(it.Field());
      if (counterpart == nullptr || counterpart->IsBlank() || !cf->IsEqual(*counterpart)) {
        return false;
      }
    }
    return true;
  };
  return covered(*this, *other) && covered(*other, *this);
}

bool TCriteria::AcceptsAllOfTable(const TDataTable* Table) const {
  for (TCriteriaFieldIterator it(this); !it.Eof(); it.Next()) {
    if (!it.CriteriaField()->AcceptsAll() && Table != nullptr && Table->TableHasField(it.Field())) {
      return false;
    }
  }
  return true;
}

bool TCriteria::AcceptsNoneOfTable(const TDataTable* Table) const {
  for (TCriteriaFieldIterator it(this); !it.Eof(); it.Next()) {
    if (it.CriteriaField()->IsNone() && Table != nullptr && Table->TableHasField(it.Field())) {
      return true;
    }
  }
  return false;
}

bool TCriteria::AcceptsAllOfField(const TDataField* Field) const {
  return !Restricts(Field);
}

bool TCriteria::AcceptsNoneOfField(const TDataField* Field) const {
  const TCriteriaField* cf = FindCriteriaField(Field);
  return cf != nullptr && cf->IsNone();
}

bool TCriteria::HasOnlyValue(const TDataField* Field, TValue& Value) const {
  const TCriteriaField* cf = FindCriteriaField(Field);
  return cf != nullptr && cf->HasOnlyValue(Field, Value);
}

void TCriteria::ForEachField(TFieldCallback Callback, void* UserData) const {
  for (TCriteriaFieldIterator it(this); !it.Eof(); it.Next()) {
    it.CriteriaField()->ForEachField(Callback, UserData);
  }
}

platform::TMaybeOwned<TCommonQuilt> TCriteria::AsCommonQuilt() const {
  return platform::TMaybeOwned<TCommonQuilt>::Owned(AsQuiltPatch());
}

TCriteriaField* TCriteria::GetCriteriaField(const TDataField* Field) const {
  return FindCriteriaField(Field);
}

void TCriteria::AddToCriteria(TCriteria& Criteria, TDataTable* Table, bool Intersect) const {
  platform::Assert(Table != nullptr, "TCriteria.AddToCriteria: Table <> nil");
  // Adding a criteria to itself works on a snapshot of the source.
  std::unique_ptr<TCondition> snapshot;
  const TCriteria* source = this;
  if (&Criteria == this) {
    snapshot = Clone();
    source = static_cast<const TCriteria*>(snapshot.get());
  }
  if (Intersect) {
    for (int i = 0; i < Table->FieldCount(); ++i) {
      TDataField* f = Table->GetField(i);
      std::unique_ptr<TCriteriaField> nf = TCriteriaField::CreateForTableField(f, true, source);
      if (!nf->IsBlank()) Criteria.SetCriteriaField(f, nf.get());
    }
  } else {
    for (TCriteriaFieldIterator it(source); !it.Eof(); it.Next()) {
      Criteria.MergeFieldFromTable(Table, false, it.CriteriaField(), source);
    }
  }
}

// ---- Iterator.

TCriteriaFieldIterator::TCriteriaFieldIterator(const TCriteria* Criteria) {
  if (Criteria != nullptr)
    FIterator = std::make_unique<TIndexContainerIterator>(&Criteria->FFields);
}

TCriteriaFieldIterator::~TCriteriaFieldIterator() = default;

TCriteriaField* TCriteriaFieldIterator::CriteriaField() const {
  return FIterator ? AsCriteriaField(FIterator->Value()) : nullptr;
}

TDataField* TCriteriaFieldIterator::Field() const {
  return FIterator ? static_cast<TDataField*>(FIterator->Index()) : nullptr;
}

void TCriteriaFieldIterator::Next() {
  if (FIterator) FIterator->Next();
}

bool TCriteriaFieldIterator::Eof() const {
  return !FIterator || FIterator->Eof();
}

}  // namespace dataframework
