#include "dataframework/conditions/QuiltPatch.h"

#include <algorithm>

#include "dataframework/conditions/Quilt.h"
#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/AbstractRowStorage.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataFieldSet.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/RowStorageTreeKey.h"
#include "platform/Assert.h"

namespace dataframework {

// ---- TQuiltFieldList.

TQuiltFieldList::TQuiltFieldList() = default;

TQuiltFieldList::~TQuiltFieldList() = default;

TQuiltField* TQuiltFieldList::Find(const TDataField* Field) const noexcept {
  for (const auto& item : FItems)
    if (item->Field() == Field) return item.get();
  return nullptr;
}

void TQuiltFieldList::Changed() {
  FFieldSetValid = false;
  ++FVersion;
  if (FOnChange) FOnChange();
}

void TQuiltFieldList::AddValue(std::unique_ptr<TQuiltField> QuiltField) {
  for (auto& item : FItems) {
    if (item->Field() == QuiltField->Field()) {
      item = std::move(QuiltField);
      Changed();
      return;
    }
  }
  FItems.push_back(std::move(QuiltField));
  Changed();
}

std::unique_ptr<TQuiltField> TQuiltFieldList::Extract(const TDataField* Field) {
  for (auto it = FItems.begin(); it != FItems.end(); ++it) {
    if ((*it)->Field() == Field) {
      std::unique_ptr<TQuiltField> result = std::move(*it);
      FItems.erase(it);
      Changed();
      return result;
    }
  }
  return nullptr;
}

bool TQuiltFieldList::Delete(const TDataField* Field) {
  return Extract(Field) != nullptr;
}

void TQuiltFieldList::ClearAndFreeValues() {
  FItems.clear();
  Changed();
}

void TQuiltFieldList::SwapContents(TQuiltFieldList& Other) noexcept {
  FItems.swap(Other.FItems);
  FFieldSetValid = false;
  Other.FFieldSetValid = false;
  ++FVersion;
  ++Other.FVersion;
}

const TDataFieldSet& TQuiltFieldList::FieldSet() const {
  if (!FFieldSet) FFieldSet = std::make_unique<TDataFieldSet>();
  if (!FFieldSetValid) {
    FFieldSet->Clear();
    for (const auto& item : FItems) FFieldSet->Add(item->Field());
    FFieldSetValid = true;
  }
  return *FFieldSet;
}

// ---- TQuiltPatch.

const platform::TClass& TQuiltPatch::StaticClass() {
  static const TConditionClass Class("TQuiltPatch", &TCustomQuilt::StaticClass(), "Quilt", nullptr);
  return Class;
}

TQuiltPatch::TQuiltPatch(TCondition* Owner) : TCustomQuilt(Owner) {}

TQuiltPatch::~TQuiltPatch() = default;

TQuiltField* TQuiltPatch::FieldFor(TDataField* Field, bool CreateIfMissing) {
  TQuiltField* found = FFields.Find(Field);
  if (found != nullptr || !CreateIfMissing) return found;
  auto created = std::make_unique<TQuiltField>(Field, this);
  found = created.get();
  FFields.AddValue(std::move(created));
  return found;
}

void TQuiltPatch::InternalAddQuiltField(std::unique_ptr<TQuiltField> QuiltField) {
  if (QuiltField->Owner() != nullptr) {
    // Its owner keeps (and frees) it.
    (void)QuiltField.release();
    throw platform::Exception(ClassName() +
                              ".InternalAddQuiltField: AQuiltField already has an owner!");
  }
  TConditionUpdate bracket(*this);
  QuiltField->SetOwner(this);
  FFields.AddValue(std::move(QuiltField));
}

void TQuiltPatch::SetField(TDataField* Field, const TQuiltField& Source) {
  TConditionUpdate bracket(*this);
  FieldFor(Field, true)->CopyFrom(Source);
}

bool TQuiltPatch::DeleteField(const TDataField* Field) {
  TConditionUpdate bracket(*this);
  return FFields.Delete(Field);
}

std::unique_ptr<TQuiltField> TQuiltPatch::ExtractField(const TDataField* Field) {
  TConditionUpdate bracket(*this);
  std::unique_ptr<TQuiltField> result = FFields.Extract(Field);
  if (result) result->SetOwner(nullptr);
  return result;
}

void TQuiltPatch::IntersectWithField(const TQuiltField& QuiltField) {
  TConditionUpdate bracket(*this);
  FieldFor(QuiltField.Field(), true)->IntersectField(QuiltField);
}

void TQuiltPatch::IntersectWithPatch(const TQuiltPatch& Patch) {
  if (&Patch == this) return;
  TConditionUpdate bracket(*this);
  for (TQuiltFieldIterator it = Patch.Iterator(); !it.Eof(); it.Next())
    IntersectWithField(*it.QuiltField());
}

void TQuiltPatch::AssignPatch(const TQuiltPatch& Patch) {
  if (&Patch == this) return;
  TConditionUpdate bracket(*this);
  FFields.ClearAndFreeValues();
  for (TQuiltFieldIterator it = Patch.Iterator(); !it.Eof(); it.Next())
    InternalAddQuiltField(it.QuiltField()->Copy());
}

void TQuiltPatch::Assign(const platform::TPersistent* Source) {
  if (auto* patch = dynamic_cast<const TQuiltPatch*>(Source)) {
    AssignPatch(*patch);
    return;
  }
  TCustomQuilt::Assign(Source);
}

std::unique_ptr<TQuiltPatch> TQuiltPatch::Copy() const {
  auto result = std::make_unique<TQuiltPatch>();
  result->AssignPatch(*this);
  return result;
}

bool TQuiltPatch::SubtractPatch(const TQuiltPatch& Other,
                                std::vector<std::unique_ptr<TQuiltPatch>>& Pieces,
                                std::unique_ptr<TQuiltPatch>& Remainder) const {
  Remainder.reset();
  // An empty side shares nothing with the other.
  if (Other.IsEmpty(nullptr) || IsEmpty(nullptr)) return false;
  // Boxes apart on some field share nothing; most pairs are told apart here,
  // before anything is copied.
  for (TQuiltFieldIterator it = Other.Iterator(); !it.Eof(); it.Next()) {
    const TQuiltField* own = FFields.Find(it.Field());
    if (own != nullptr && own->HullsApart(*it.QuiltField())) return false;
  }
  std::unique_ptr<TQuiltPatch> rest = Copy();
  std::vector<std::unique_ptr<TQuiltPatch>> kept;
  for (TQuiltFieldIterator it = Other.Iterator(); !it.Eof(); it.Next()) {
    const TQuiltField& otherField = *it.QuiltField();
    TDataField* field = otherField.Field();
    std::unique_ptr<TQuiltPatch> piece = rest->Copy();
    // A field this patch does not restrict takes part unrestricted.
    TQuiltField unrestricted(field);
    const TQuiltField* ownField = FFields.Find(field);
    if (ownField == nullptr) ownField = &unrestricted;
    TQuiltField* restField = rest->FieldFor(field, true);
    TQuiltField* pieceField = piece->FieldFor(field, true);
    ownField->Split(otherField, restField, pieceField, nullptr);
    if (restField->IsEmpty(nullptr)) return false;
    if (!piece->IsEmpty(nullptr)) kept.push_back(std::move(piece));
  }
  for (auto& piece : kept) Pieces.push_back(std::move(piece));
  Remainder = std::move(rest);
  return true;
}

bool TQuiltPatch::ContainsPatch(const TQuiltPatch& Other, bool& Touch,
                                const TDataFieldSet* FieldSet) const {
  Touch = true;
  // Empty boxes first: nothing is inside everything, and only nothing is
  // inside nothing.
  if (Other.IsEmpty(nullptr)) return true;
  if (IsEmpty(nullptr)) return false;
  auto check = [&](const TQuiltField& own) {
    if (own.IsUniverse(nullptr)) return true;
    const TQuiltField* other = Other.FieldFor(own.Field());
    if (other == nullptr) return false;
    if (!own.HullHolds(*other)) {
      Touch = !own.HullsApart(*other);
      return false;
    }
    return own.FieldContains(*other, Touch, FieldSet);
  };
  if (FieldSet == nullptr) {
    for (TQuiltFieldIterator it = Iterator(); !it.Eof(); it.Next())
      if (!check(*it.QuiltField())) return false;
    return true;
  }
  for (TDataFieldSetIterator it(FieldSet); !it.Eof(); it.Next()) {
    const TQuiltField* own = FFields.Find(it.Current());
    if (own != nullptr && !check(*own)) return false;
  }
  return true;
}

std::unique_ptr<TQuiltPatch> TQuiltPatch::CreateFieldTranslatedPatchCopy(TFieldTranslator Translate,
                                                                         void* UserData) const {
  auto result = std::make_unique<TQuiltPatch>();
  for (TQuiltFieldIterator it = Iterator(); !it.Eof(); it.Next()) {
    const TQuiltField& source = *it.QuiltField();
    int conflictAction = 1;
    bool keepOriginal = false;
    TDataField* target = Translate(UserData, source.Field(), conflictAction, keepOriginal);
    if (target == nullptr) continue;
    TQuiltField* existing = result->FieldFor(target, false);
    if (existing == nullptr) {
      result->SetField(target, source);
    } else {
      switch (conflictAction) {
        case 0:
          break;
        case 1:
          result->SetField(target, source);
          break;
        case 2:
          existing->UnionField(source);
          break;
        case 3:
          existing->IntersectField(source);
          break;
        default:
          throw platform::Exception(ClassName() +
                                    ".CreateFieldTranslatedPatchCopy: Unknown ConflictAction!");
      }
    }
    if (keepOriginal) {
      // A field made for the purpose takes the source as it is; an existing
      // one is united with it.
      TQuiltField* original = result->FieldFor(source.Field(), false);
      if (original == nullptr)
        result->SetField(source.Field(), source);
      else
        original->UnionField(source);
    }
  }
  return result;
}

bool TQuiltPatch::AllFieldsEmpty() const {
  if (FFields.Count() == 0) return false;
  for (TQuiltFieldIterator it = Iterator(); !it.Eof(); it.Next())
    if (!it.QuiltField()->IsEmpty(nullptr)) return false;
  return true;
}

void TQuiltPatch::SwapFields(TQuiltPatch& Other) {
  if (&Other == this) return;
  FFields.SwapContents(Other.FFields);
  for (TQuiltFieldIterator it = Iterator(); !it.Eof(); it.Next()) it.QuiltField()->SetOwner(this);
  for (TQuiltFieldIterator it = Other.Iterator(); !it.Eof(); it.Next())
    it.QuiltField()->SetOwner(&Other);
  Changed();
  Other.Changed();
}

void TQuiltPatch::GetRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const {
  if (!GetRowsBySingleValue(Handler, Row)) TCondition::GetRows(Handler, Row);
}

bool TQuiltPatch::IsNice() const {
  return true;
}

bool TQuiltPatch::AcceptsRow(TAbstractRow* Row, const TDataFieldSet* FieldSet) const {
  if (FFields.Count() == 0) return true;
  TValue value;
  auto accepts = [&](TDataField* field) {
    if (field == nullptr || !TDataFieldSet::Contains(FieldSet, field)) return true;
    const TQuiltField* own = FFields.Find(field);
    if (own == nullptr || !own->Restricted()) return true;
    Row->GetFieldValue(field, value);
    return own->AcceptsValue(field, value);
  };
  TDataTable* table = Row->Table();
  TAbstractRowStorage* storage = Row->Storage();
  const int levels = Row->KeyLevelCount();
  for (int k = 0; k < levels; ++k) {
    TDataField* field = storage != nullptr ? storage->GetTreeKey(k).Field() : table->GetField(k);
    if (!accepts(field)) return false;
  }
  if (dynamic_cast<TDataRow*>(Row) != nullptr) {
    for (int i = table->KeyCount(); i < table->FieldCount(); ++i)
      if (!accepts(table->GetField(i))) return false;
  }
  return true;
}

bool TQuiltPatch::AcceptsRowLenient(TAbstractRow* Row, const TDataFieldSet* FieldSet) const {
  for (TQuiltFieldIterator it = Iterator(); !it.Eof(); it.Next())
    if (!it.QuiltField()->AcceptsRowLenient(Row, FieldSet)) return false;
  return true;
}

bool TQuiltPatch::AcceptsValue(const TDataField* Field, const TValue& Value) const {
  const TQuiltField* own = FFields.Find(Field);
  return own == nullptr || own->AcceptsValue(Field, Value);
}

std::unique_ptr<TCondition> TQuiltPatch::Clone() const {
  return Copy();
}

std::unique_ptr<TCondition> TQuiltPatch::CreateFieldTranslatedCopy(TFieldTranslator Translate,
                                                                   void* UserData) const {
  return CreateFieldTranslatedPatchCopy(Translate, UserData);
}

bool TQuiltPatch::AcceptsAllOfTable(const TDataTable* Table) const {
  for (TQuiltFieldIterator it = Iterator(); !it.Eof(); it.Next())
    if (!it.QuiltField()->AcceptsAllOfTable(Table)) return false;
  return true;
}

bool TQuiltPatch::AcceptsNoneOfTable(const TDataTable* Table) const {
  for (TQuiltFieldIterator it = Iterator(); !it.Eof(); it.Next())
    if (it.QuiltField()->AcceptsNoneOfTable(Table)) return true;
  return false;
}

bool TQuiltPatch::AcceptsAllOfField(const TDataField* Field) const {
  const TQuiltField* own = FFields.Find(Field);
  return own == nullptr || own->IsUniverse(nullptr);
}

bool TQuiltPatch::AcceptsNoneOfField(const TDataField* Field) const {
  const TQuiltField* own = FFields.Find(Field);
  return own != nullptr && own->IsEmpty(nullptr);
}

bool TQuiltPatch::HasOnlyValue(const TDataField* Field, TValue& Value) const {
  const TQuiltField* own = FFields.Find(Field);
  return own != nullptr && own->HasOnlyValue(Field, Value);
}

void TQuiltPatch::ForEachField(TFieldCallback Callback, void* UserData) const {
  for (TQuiltFieldIterator it = Iterator(); !it.Eof(); it.Next())
    it.QuiltField()->ForEachField(Callback, UserData);
}

const TDataFieldSet& TQuiltPatch::FieldSet() const {
  return FFields.FieldSet();
}

namespace {

std::unique_ptr<TQuiltPatch> AsPatch(std::unique_ptr<TCommonQuilt> Quilt) {
  return std::unique_ptr<TQuiltPatch>(static_cast<TQuiltPatch*>(Quilt.release()));
}

std::unique_ptr<TQuilt> TakeOrCopyQuilt(platform::TMaybeOwned<TCommonQuilt>& Other,
                                        const TQuilt& Quilt) {
  if (Other.MustFree())
    return std::unique_ptr<TQuilt>(static_cast<TQuilt*>(Other.ReleaseOwned().release()));
  return Quilt.Copy();
}

// A quilt left with one patch answers that patch.
std::unique_ptr<TCommonQuilt> ReduceOnePatch(std::unique_ptr<TQuilt> Quilt) {
  if (Quilt->PatchCount() == 1) return Quilt->ExtractPatch(Quilt->Patches(0));
  return Quilt;
}

}  // namespace

std::unique_ptr<TCommonQuilt> TQuiltPatch::Union(std::unique_ptr<TCommonQuilt> Self,
                                                 platform::TMaybeOwned<TCommonQuilt> Other) {
  platform::Assert(Self.get() == this, "TQuiltPatch.Union: Self is not this object");
  if (auto* quilt = dynamic_cast<TQuilt*>(Other.get())) {
    std::unique_ptr<TQuilt> target = TakeOrCopyQuilt(Other, *quilt);
    target->AddPatch(AsPatch(std::move(Self)));
    return target;
  }
  auto quilt = std::make_unique<TQuilt>();
  quilt->AppendPatch(AsPatch(std::move(Self)));
  quilt->UnionWith(*Other);
  return ReduceOnePatch(std::move(quilt));
}

std::unique_ptr<TCommonQuilt> TQuiltPatch::Subtract(std::unique_ptr<TCommonQuilt> Self,
                                                    platform::TMaybeOwned<TCommonQuilt> Other) {
  platform::Assert(Self.get() == this, "TQuiltPatch.Subtract: Self is not this object");
  if (auto* field = dynamic_cast<TQuiltField*>(Other.get())) {
    TConditionUpdate bracket(*this);
    FieldFor(field->Field(), true)->SubtractField(*field);
    return Self;
  }
  auto quilt = std::make_unique<TQuilt>();
  quilt->AppendPatch(AsPatch(std::move(Self)));
  quilt->SubtractCondition(*Other);
  return ReduceOnePatch(std::move(quilt));
}

std::unique_ptr<TCommonQuilt> TQuiltPatch::Intersect(std::unique_ptr<TCommonQuilt> Self,
                                                     platform::TMaybeOwned<TCommonQuilt> Other) {
  platform::Assert(Self.get() == this, "TQuiltPatch.Intersect: Self is not this object");
  if (auto* quilt = dynamic_cast<TQuilt*>(Other.get())) {
    std::unique_ptr<TQuilt> target = TakeOrCopyQuilt(Other, *quilt);
    target->IntersectWithPatch(*this);
    return target;
  }
  if (auto* field = dynamic_cast<TQuiltField*>(Other.get())) {
    IntersectWithField(*field);
    return Self;
  }
  auto quilt = std::make_unique<TQuilt>();
  quilt->AppendPatch(AsPatch(std::move(Self)));
  quilt->IntersectWith(*Other);
  return ReduceOnePatch(std::move(quilt));
}

std::unique_ptr<TCommonQuilt> TQuiltPatch::CloneQuilt() const {
  return Copy();
}

std::unique_ptr<TCommonQuilt> TQuiltPatch::Simplify(std::unique_ptr<TCommonQuilt> Self) {
  platform::Assert(Self.get() == this, "TQuiltPatch.Simplify: Self is not this object");
  {
    TConditionUpdate bracket(*this);
    std::vector<TDataField*> unrestricted;
    for (TQuiltFieldIterator it = Iterator(); !it.Eof(); it.Next())
      if (!it.QuiltField()->Restricted()) unrestricted.push_back(it.Field());
    for (TDataField* field : unrestricted) FFields.Delete(field);
  }
  if (FFields.Count() == 1) {
    std::unique_ptr<TQuiltField> only = ExtractField(FFields.At(0)->Field());
    return only;
  }
  return Self;
}

bool TQuiltPatch::Contains(const TCommonQuilt& Other) const {
  bool touch = false;
  if (auto* patch = dynamic_cast<const TQuiltPatch*>(&Other))
    return patch->IsEmpty(nullptr) || ContainsPatch(*patch, touch, nullptr);
  if (auto* field = dynamic_cast<const TQuiltField*>(&Other)) {
    TQuiltPatch slab;
    slab.InternalAddQuiltField(field->Copy());
    return slab.IsEmpty(nullptr) || ContainsPatch(slab, touch, nullptr);
  }
  // A box contains a union of boxes when it contains each of them.
  auto* custom = dynamic_cast<const TCustomQuilt*>(&Other);
  platform::Assert(custom != nullptr, "Assertion failure");
  platform::TMaybeOwned<TQuilt> quilt = custom->AsQuilt();
  for (int i = 0; i < quilt->PatchCount(); ++i) {
    const TQuiltPatch& patch = *quilt->Patches(i);
    if (!patch.IsEmpty(nullptr) && !ContainsPatch(patch, touch, nullptr)) return false;
  }
  return true;
}

void TQuiltPatch::Clear() {
  TConditionUpdate bracket(*this);
  FFields.ClearAndFreeValues();
}

void TQuiltPatch::ProjectOn(const TDataFieldSet* FieldSet) {
  if (FieldSet == nullptr) return;
  TConditionUpdate bracket(*this);
  // An empty patch keeps one empty quilt field, so that it stays empty
  // (nothing projects onto nothing).
  const TQuiltField* keep = nullptr;
  if (IsEmpty(nullptr)) {
    for (TQuiltFieldIterator it = Iterator(); !it.Eof(); it.Next()) {
      if (!it.QuiltField()->IsEmpty(nullptr)) continue;
      if (keep == nullptr || FieldSet->Contains(it.Field())) keep = it.QuiltField();
      if (FieldSet->Contains(it.Field())) break;
    }
  }
  std::vector<TDataField*> outside;
  for (TQuiltFieldIterator it = Iterator(); !it.Eof(); it.Next())
    if (!FieldSet->Contains(it.Field()) && it.QuiltField() != keep) outside.push_back(it.Field());
  for (TDataField* field : outside) FFields.Delete(field);
}

bool TQuiltPatch::IsUniverse(const TDataFieldSet* FieldSet) const {
  if (IsEmpty(nullptr)) return false;
  for (TQuiltFieldIterator it = Iterator(); !it.Eof(); it.Next()) {
    const TQuiltField& own = *it.QuiltField();
    if (TDataFieldSet::Contains(FieldSet, own.Field()) && !own.IsUniverse(nullptr)) return false;
  }
  return true;
}

bool TQuiltPatch::IsEmpty(const TDataFieldSet*) const {
  // A box with an empty side accepts no row, whatever fields are looked at.
  for (int i = 0; i < FFields.Count(); ++i)
    if (FFields.At(i)->AcceptsNothing()) return true;
  return false;
}

platform::TMaybeOwned<TQuilt> TQuiltPatch::AsQuilt() const {
  auto quilt = std::make_unique<TQuilt>();
  quilt->AppendPatch(Copy());
  return platform::TMaybeOwned<TQuilt>::Owned(std::move(quilt));
}

}  // namespace dataframework
