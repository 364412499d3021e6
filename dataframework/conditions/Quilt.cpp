#include "dataframework/conditions/Quilt.h"

#include <algorithm>

#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataFieldSet.h"
#include "platform/Assert.h"

namespace dataframework {

// ---- TQuiltPatchList.

TQuiltPatchList::TQuiltPatchList() = default;

TQuiltPatchList::~TQuiltPatchList() = default;

void TQuiltPatchList::Changed() {
  FFieldSetValid = false;
  if (FOnChange) FOnChange();
}

void TQuiltPatchList::Add(std::unique_ptr<TQuiltPatch> Patch) {
  FPatches.push_back(std::move(Patch));
  Changed();
}

void TQuiltPatchList::Delete(int Index) {
  FPatches.erase(FPatches.begin() + Index);
  Changed();
}

int TQuiltPatchList::IndexOf(const TQuiltPatch* Patch) const noexcept {
  for (size_t i = 0; i < FPatches.size(); ++i)
    if (FPatches[i].get() == Patch) return static_cast<int>(i);
  return -1;
}

std::unique_ptr<TQuiltPatch> TQuiltPatchList::Extract(const TQuiltPatch* Patch) {
  int index = IndexOf(Patch);
  if (index < 0) return nullptr;
  std::unique_ptr<TQuiltPatch> result = std::move(FPatches[static_cast<size_t>(index)]);
  FPatches.erase(FPatches.begin() + index);
  Changed();
  return result;
}

void TQuiltPatchList::Clear() {
  FPatches.clear();
  FFieldsSeen.clear();
  Changed();
}

uint64_t TQuiltPatchList::FieldsVersion() const noexcept {
  uint64_t sum = 0;
  for (const auto& patch : FPatches) sum += patch->Fields().Version();
  return sum;
}

const TDataFieldSet& TQuiltPatchList::FieldSet() const {
  if (!FFieldSet) FFieldSet = std::make_unique<TDataFieldSet>();
  // A patch that gained or lost a quilt field (ProjectOn, FieldFor, ...)
  // makes the cache stale as well.
  const uint64_t version = FieldsVersion();
  if (!FFieldSetValid || version != FFieldSetVersion) {
    FFieldSet->Clear();
    for (const auto& patch : FPatches) FFieldSet->AddSet(patch->FieldSet());
    FFieldSetValid = true;
    FFieldSetVersion = version;
  }
  return *FFieldSet;
}

const std::vector<TDataField*>& TQuiltPatchList::FieldsSeen() const {
  // Fields gained inside a patch after it was added are picked up here as
  // well; the walk is over a handful of fields per patch.
  for (const auto& patch : FPatches) {
    const TQuiltFieldList& fields = patch->Fields();
    for (int i = 0; i < fields.Count(); ++i) {
      TDataField* field = fields.At(i)->Field();
      if (std::find(FFieldsSeen.begin(), FFieldsSeen.end(), field) == FFieldsSeen.end())
        FFieldsSeen.push_back(field);
    }
  }
  return FFieldsSeen;
}

void TQuiltPatchList::SwapContents(TQuiltPatchList& Other) noexcept {
  FPatches.swap(Other.FPatches);
  FFieldsSeen.swap(Other.FFieldsSeen);
  FFieldSetValid = false;
  Other.FFieldSetValid = false;
}

// ---- TQuilt.

namespace {

const TCustomQuilt& AsCustomQuilt(const TCondition& Condition) {
  auto* quilt = dynamic_cast<const TCustomQuilt*>(&Condition);
  platform::Assert(quilt != nullptr, "Assertion failure");
  return *quilt;
}

// A quilt of one patch without quilt fields: every row.
std::unique_ptr<TQuilt> UniverseQuilt() {
  auto quilt = std::make_unique<TQuilt>();
  quilt->AppendPatch(std::make_unique<TQuiltPatch>());
  return quilt;
}

// A cheap necessary condition for a quilt (without empty patches) to accept
// every row: on each field, the union of the patches' restrictions is
// everything.
bool CoversEveryValue(const TQuilt& Quilt) {
  for (TDataFieldSetIterator it(&Quilt.FieldSet()); !it.Eof(); it.Next()) {
    TQuiltField values(it.Current());
    values.SetNone();
    for (int i = 0; i < Quilt.PatchCount(); ++i) {
      const TQuiltField* own = Quilt.Patches(i)->FieldFor(it.Current());
      if (own == nullptr || own->IsUniverse(nullptr)) {
        values.Clear();
        break;
      }
      values.UnionField(*own);
    }
    if (!values.IsUniverse(nullptr)) return false;
  }
  return true;
}

}  // namespace

const platform::TClass& TQuilt::StaticClass() {
  static const TConditionClass Class("TQuilt", &TCustomQuilt::StaticClass(), "Quilt", nullptr);
  return Class;
}

TQuilt::TQuilt(TCondition* Owner) : TCustomQuilt(Owner) {
  FPatches.SetOnChange([this] { Changed(); });
}

TQuilt::~TQuilt() = default;

std::unique_ptr<TQuiltPatch> TQuilt::ExtractPatch(TQuiltPatch* Patch) {
  std::unique_ptr<TQuiltPatch> result = FPatches.Extract(Patch);
  if (result) result->SetOwner(nullptr);
  return result;
}

void TQuilt::AddPatch(std::unique_ptr<TQuiltPatch> Patch) {
  if (Patch->Owner() != nullptr) {
    // Its owner keeps (and frees) it.
    (void)Patch.release();
    throw platform::Exception(ClassName() +
                              ".AddPatch: APatch is already owned by another TCondition!");
  }
  TConditionUpdate bracket(*this);
  if (Patch->IsEmpty(nullptr)) return;
  if (ContainsPatchInQuilt(*Patch, nullptr) || MergePatch(*Patch)) return;
  AppendPatch(std::move(Patch));
}

void TQuilt::AppendPatch(std::unique_ptr<TQuiltPatch> Patch) {
  if (Patch->Owner() != nullptr) {
    (void)Patch.release();
    throw platform::Exception(ClassName() +
                              ".AppendPatch: APatch is already owned by another TCondition!");
  }
  if (Patch->IsEmpty(nullptr) || Patch->AllFieldsEmpty()) return;
  Patch->SetOwner(this);
  FPatches.Add(std::move(Patch));
}

namespace {

// How an existing patch E compares with a new patch N on one field.
TQuiltRelation CompareOnField(const TQuiltPatch& E, const TQuiltPatch& N, const TDataField* Field) {
  const TQuiltField* e = E.FieldFor(Field);
  const TQuiltField* n = N.FieldFor(Field);
  if (e == nullptr) return (n == nullptr || n->IsUniverse(nullptr)) ? qrEqual : qrContains;
  if (n == nullptr) return e->IsUniverse(nullptr) ? qrEqual : qrContainedIn;
  return e->FieldRelation(*n);
}

}  // namespace

bool TQuilt::MergePatch(const TQuiltPatch& Patch) {
  TConditionUpdate bracket(*this);
  if (IsEmpty(nullptr)) {
    FPatches.Clear();
    return false;
  }
  // A field that neither patch restricts compares equal, so a superset of
  // the quilt's fields serves.
  std::vector<TDataField*> fields;
  for (TQuiltFieldIterator it = Patch.Iterator(); !it.Eof(); it.Next())
    fields.push_back(it.Field());
  for (TDataField* field : FPatches.FieldsSeen())
    if (Patch.FieldFor(field) == nullptr) fields.push_back(field);

  for (int index = PatchCount() - 1; index >= 0; --index) {
    TQuiltPatch* existing = Patches(index);
    if (existing->IsUniverse(nullptr)) return true;
    int differing = 0;
    TDataField* firstDiffering = nullptr;
    TQuiltRelation combination = qrEqual;
    bool leave = false;
    for (TDataField* field : fields) {
      TQuiltRelation relation = CompareOnField(*existing, Patch, field);
      if (relation == qrEqual) continue;
      if (differing > 0 && (combination == qrDisjoint || combination == qrOverlapping)) {
        leave = true;
        break;
      }
      ++differing;
      if (differing == 1) {
        firstDiffering = field;
        combination = relation;
      } else if (relation == qrDisjoint) {
        combination = qrDisjoint;
      } else if (relation != combination) {
        combination = qrOverlapping;
      }
    }
    if (leave) continue;
    if (differing == 0 || combination == qrContains) return true;
    if (combination == qrContainedIn) {
      FPatches.Delete(index);
      continue;
    }
    if (differing == 1) {
      std::unique_ptr<TQuiltPatch> merged = ExtractPatch(existing);
      merged->FieldFor(firstDiffering, true)->UnionField(*Patch.FieldFor(firstDiffering));
      AddPatch(std::move(merged));
      return true;
    }
  }
  return false;
}

bool TQuilt::ContainsPatchInQuilt(const TQuiltPatch& Patch, const TDataFieldSet* FieldSet) const {
  bool touch = false;
  for (int i = 0; i < PatchCount(); ++i)
    if (Patches(i)->ContainsPatch(Patch, touch, FieldSet)) return true;
  return false;
}

bool TQuilt::ContainsAllPatches(const TQuilt& Other, const TDataFieldSet* FieldSet) const {
  if (Other.PatchCount() == 0) return true;
  if (PatchCount() == 0) return false;
  for (int i = 0; i < Other.PatchCount(); ++i)
    if (!ContainsPatchInQuilt(*Other.Patches(i), FieldSet)) return false;
  return true;
}

void TQuilt::AddPatchesOf(const TQuilt& Other, bool Normalize) {
  TConditionUpdate bracket(*this);
  std::vector<std::unique_ptr<TQuiltPatch>> copies;
  copies.reserve(static_cast<size_t>(Other.PatchCount()));
  for (int i = 0; i < Other.PatchCount(); ++i) copies.push_back(Other.Patches(i)->Copy());
  for (auto& copy : copies) {
    if (Normalize)
      AddPatch(std::move(copy));
    else
      AppendPatch(std::move(copy));
  }
}

void TQuilt::UnionWithQuilt(const TQuilt& Other) {
  AddPatchesOf(Other, true);
}

void TQuilt::AssignQuilt(const TQuilt& Other) {
  if (&Other == this) return;
  TConditionUpdate bracket(*this);
  FPatches.Clear();
  AddPatchesOf(Other, false);
}

void TQuilt::Assign(const platform::TPersistent* Source) {
  if (auto* quilt = dynamic_cast<const TQuilt*>(Source)) {
    AssignQuilt(*quilt);
    return;
  }
  TCustomQuilt::Assign(Source);
}

std::unique_ptr<TQuilt> TQuilt::Copy() const {
  auto result = std::make_unique<TQuilt>();
  result->AssignQuilt(*this);
  return result;
}

void TQuilt::UnionWith(const TCondition& Condition) {
  const TCustomQuilt& quilt = AsCustomQuilt(Condition);
  platform::TMaybeOwned<TQuilt> other = quilt.AsQuilt();
  UnionWithQuilt(*other);
}

void TQuilt::SubtractPatch(const TQuiltPatch& Patch, bool& Changed) {
  TConditionUpdate bracket(*this);
  std::unique_ptr<TQuiltPatch> ownCopy;
  const TQuiltPatch* subtrahend = &Patch;
  if (Patch.Owner() == this) {
    ownCopy = Patch.Copy();
    subtrahend = ownCopy.get();
  }
  // The patches that overlap Patch are replaced by their pieces outside it.
  // The others stay as they are (they were already normalised among
  // themselves); only the pieces go through the normalising AddPatch.
  std::vector<std::unique_ptr<TQuiltPatch>> pieces;
  for (int index = PatchCount() - 1; index >= 0; --index) {
    std::unique_ptr<TQuiltPatch> remainder;
    if (Patches(index)->SubtractPatch(*subtrahend, pieces, remainder)) {
      Changed = true;
      FPatches.Delete(index);
    }
  }
  for (auto& piece : pieces) AddPatch(std::move(piece));
}

void TQuilt::SubtractQuilt(const TQuilt& Other, bool& Changed) {
  TConditionUpdate bracket(*this);
  Changed = false;
  std::unique_ptr<TQuilt> ownCopy;
  const TQuilt* other = &Other;
  if (&Other == this) {
    ownCopy = Copy();
    other = ownCopy.get();
  }
  for (int i = 0; i < other->PatchCount() && PatchCount() > 0; ++i)
    SubtractPatch(*other->Patches(i), Changed);
}

void TQuilt::SubtractCondition(const TCondition& Condition) {
  const TCustomQuilt& quilt = AsCustomQuilt(Condition);
  platform::TMaybeOwned<TQuilt> other = quilt.AsQuilt();
  bool changed = false;
  SubtractQuilt(*other, changed);
}

void TQuilt::IntersectWithPatch(const TQuiltPatch& Patch) {
  TConditionUpdate bracket(*this);
  std::unique_ptr<TQuiltPatch> ownCopy;
  const TQuiltPatch* other = &Patch;
  if (Patch.Owner() == this) {
    ownCopy = Patch.Copy();
    other = ownCopy.get();
  }
  for (int i = 0; i < PatchCount(); ++i) Patches(i)->IntersectWithPatch(*other);
}

void TQuilt::IntersectWithQuilt(const TQuilt& Other) {
  TConditionUpdate bracket(*this);
  TQuilt result;
  for (int i = 0; i < Other.PatchCount(); ++i) {
    std::unique_ptr<TQuilt> part = Copy();
    part->IntersectWithPatch(*Other.Patches(i));
    result.UnionWithQuilt(*part);
  }
  SwapPatches(result);
}

void TQuilt::IntersectWith(const TCondition& Condition) {
  if (auto* quilt = dynamic_cast<const TQuilt*>(&Condition)) {
    IntersectWithQuilt(*quilt);
  } else if (auto* patch = dynamic_cast<const TQuiltPatch*>(&Condition)) {
    IntersectWithPatch(*patch);
  } else {
    platform::TMaybeOwned<TQuilt> other = AsCustomQuilt(Condition).AsQuilt();
    IntersectWithQuilt(*other);
  }
}

void TQuilt::SwapPatches(TQuilt& Other) {
  if (&Other == this) return;
  FPatches.SwapContents(Other.FPatches);
  for (int i = 0; i < PatchCount(); ++i) Patches(i)->SetOwner(this);
  for (int i = 0; i < Other.PatchCount(); ++i) Other.Patches(i)->SetOwner(&Other);
  Changed();
  Other.Changed();
}

bool TQuilt::QuiltContains(const TQuilt& Other, bool& Touch, const TDataFieldSet* FieldSet) const {
  Touch = true;
  if (IsUniverse(FieldSet) || Other.IsEmpty(FieldSet)) return true;
  if (IsEmpty(FieldSet) || Other.IsUniverse(FieldSet)) return false;
  if (ContainsAllPatches(Other, FieldSet)) return true;
  // Other minus this quilt, both looked at through FieldSet only, must leave
  // nothing. Each patch of Other is taken on its own against the patches of
  // this quilt, so the pieces of one patch never meet those of another (the
  // same answer as subtracting from all of Other at once, without the
  // growing list of pieces). Touch: some patch of Other meets this quilt.
  std::unique_ptr<TQuilt> rest = Other.Copy();
  rest->ProjectOn(FieldSet);
  std::unique_ptr<TQuilt> projected;
  const TQuilt* subtrahend = this;
  if (FieldSet != nullptr) {
    projected = Copy();
    projected->ProjectOn(FieldSet);
    subtrahend = projected.get();
  }
  Touch = false;
  bool covered = true;
  for (int i = 0; i < rest->PatchCount() && (covered || !Touch); ++i) {
    TQuilt left;
    left.AppendPatch(rest->Patches(i)->Copy());
    bool touched = false;
    for (int j = 0; j < subtrahend->PatchCount() && left.PatchCount() > 0; ++j)
      left.SubtractPatch(*subtrahend->Patches(j), touched);
    Touch = Touch || touched;
    if (!left.IsEmpty(nullptr)) covered = false;
  }
  return Touch && covered;
}

TQuiltRelation TQuilt::QuiltRelation(const TQuilt& Other, const TDataFieldSet* FieldSet) const {
  bool touch = false;
  bool ignored = false;
  if (QuiltContains(Other, touch, FieldSet))
    return Other.QuiltContains(*this, ignored, FieldSet) ? qrEqual : qrContains;
  if (!touch) return qrDisjoint;
  return Other.QuiltContains(*this, ignored, FieldSet) ? qrContainedIn : qrOverlapping;
}

bool TQuilt::IsNice() const {
  return PatchCount() < 2;
}

bool TQuilt::AcceptsRow(TAbstractRow* Row, const TDataFieldSet* FieldSet) const {
  for (int i = 0; i < PatchCount(); ++i)
    if (Patches(i)->AcceptsRow(Row, FieldSet)) return true;
  return false;
}

bool TQuilt::AcceptsRowLenient(TAbstractRow* Row, const TDataFieldSet* FieldSet) const {
  for (int i = 0; i < PatchCount(); ++i)
    if (Patches(i)->AcceptsRowLenient(Row, FieldSet)) return true;
  return false;
}

bool TQuilt::AcceptsValue(const TDataField* Field, const TValue& Value) const {
  for (int i = 0; i < PatchCount(); ++i)
    if (Patches(i)->AcceptsValue(Field, Value)) return true;
  return false;
}

std::unique_ptr<TCondition> TQuilt::Clone() const {
  return Copy();
}

std::unique_ptr<TCondition> TQuilt::CreateFieldTranslatedCopy(TFieldTranslator Translate,
                                                              void* UserData) const {
  auto result = std::make_unique<TQuilt>();
  for (int i = 0; i < PatchCount(); ++i)
    result->AddPatch(Patches(i)->CreateFieldTranslatedPatchCopy(Translate, UserData));
  return result;
}

bool TQuilt::AcceptsAllOfTable(const TDataTable* Table) const {
  for (int i = 0; i < PatchCount(); ++i)
    if (Patches(i)->AcceptsAllOfTable(Table)) return true;
  return false;
}

bool TQuilt::AcceptsNoneOfTable(const TDataTable* Table) const {
  for (int i = 0; i < PatchCount(); ++i)
    if (!Patches(i)->AcceptsNoneOfTable(Table)) return false;
  return true;
}

bool TQuilt::AcceptsAllOfField(const TDataField* Field) const {
  for (int i = 0; i < PatchCount(); ++i)
    if (Patches(i)->AcceptsAllOfField(Field)) return true;
  return false;
}

bool TQuilt::AcceptsNoneOfField(const TDataField* Field) const {
  for (int i = 0; i < PatchCount(); ++i)
    if (!Patches(i)->AcceptsNoneOfField(Field)) return false;
  return true;
}

bool TQuilt::HasOnlyValue(const TDataField* Field, TValue& Value) const {
  // Only the patches that accept some row count; each of them must fix the
  // field, all to the same value (a patch that leaves the field open lets
  // other values through).
  bool fixed = false;
  const TDataType* type = Field != nullptr ? Field->DataType() : nullptr;
  for (int i = 0; i < PatchCount(); ++i) {
    const TQuiltPatch& patch = *Patches(i);
    if (patch.IsEmpty(nullptr)) continue;
    TValue value;
    if (!patch.HasOnlyValue(Field, value)) return false;
    if (!fixed) {
      Value = value;
      fixed = true;
    } else if (type == nullptr || !type->ValuesEqual(Value, value)) {
      return false;
    }
  }
  return fixed;
}

void TQuilt::ForEachField(TFieldCallback Callback, void* UserData) const {
  for (int i = 0; i < PatchCount(); ++i) Patches(i)->ForEachField(Callback, UserData);
}

const TDataFieldSet& TQuilt::FieldSet() const {
  return FPatches.FieldSet();
}

std::unique_ptr<TCommonQuilt> TQuilt::Union(std::unique_ptr<TCommonQuilt> Self,
                                            platform::TMaybeOwned<TCommonQuilt> Other) {
  platform::Assert(Self.get() == this, "TQuilt.Union: Self is not this object");
  UnionWith(*Other);
  return Self;
}

std::unique_ptr<TCommonQuilt> TQuilt::Subtract(std::unique_ptr<TCommonQuilt> Self,
                                               platform::TMaybeOwned<TCommonQuilt> Other) {
  platform::Assert(Self.get() == this, "TQuilt.Subtract: Self is not this object");
  SubtractCondition(*Other);
  return Self;
}

std::unique_ptr<TCommonQuilt> TQuilt::Intersect(std::unique_ptr<TCommonQuilt> Self,
                                                platform::TMaybeOwned<TCommonQuilt> Other) {
  platform::Assert(Self.get() == this, "TQuilt.Intersect: Self is not this object");
  IntersectWith(*Other);
  return Self;
}

std::unique_ptr<TCommonQuilt> TQuilt::CloneQuilt() const {
  return Copy();
}

std::unique_ptr<TCommonQuilt> TQuilt::Simplify(std::unique_ptr<TCommonQuilt> Self) {
  platform::Assert(Self.get() == this, "TQuilt.Simplify: Self is not this object");
  if (PatchCount() != 1) return Self;
  std::unique_ptr<TQuiltPatch> patch = ExtractPatch(Patches(0));
  Self.reset();
  TQuiltPatch* simplifier = patch.get();
  return simplifier->Simplify(std::move(patch));
}

bool TQuilt::Contains(const TCommonQuilt& Other) const {
  platform::TMaybeOwned<TQuilt> other = AsCustomQuilt(Other).AsQuilt();
  bool touch = false;
  return QuiltContains(*other, touch, nullptr);
}

void TQuilt::Clear() {
  TConditionUpdate bracket(*this);
  FPatches.Clear();
}

void TQuilt::ProjectOn(const TDataFieldSet* FieldSet) {
  TConditionUpdate bracket(*this);
  for (int index = PatchCount() - 1; index >= 0; --index) {
    TQuiltPatch* patch = Patches(index);
    // A patch that accepts no row has nothing to project.
    if (patch->IsEmpty(nullptr)) {
      FPatches.Delete(index);
      continue;
    }
    if (patch->FieldCount() == 0) continue;
    patch->ProjectOn(FieldSet);
    if (patch->IsEmpty(nullptr) || patch->AllFieldsEmpty()) FPatches.Delete(index);
  }
}

bool TQuilt::IsUniverse(const TDataFieldSet* FieldSet) const {
  if (PatchCount() == 0) return false;
  for (int i = 0; i < PatchCount(); ++i)
    if (Patches(i)->IsUniverse(FieldSet)) return true;
  // No single patch covers everything; the union may still do so. Take
  // this quilt away from everything and see whether anything is left.
  std::unique_ptr<TQuilt> projected = Copy();
  projected->ProjectOn(FieldSet);
  if (!CoversEveryValue(*projected)) return false;
  std::unique_ptr<TQuilt> rest = UniverseQuilt();
  bool changed = false;
  rest->SubtractQuilt(*projected, changed);
  return rest->IsEmpty(FieldSet);
}

bool TQuilt::IsEmpty(const TDataFieldSet* FieldSet) const {
  for (int i = 0; i < PatchCount(); ++i)
    if (!Patches(i)->IsEmpty(FieldSet)) return false;
  return true;
}

platform::TMaybeOwned<TQuilt> TQuilt::AsQuilt() const {
  return platform::TMaybeOwned<TQuilt>::Borrowed(const_cast<TQuilt*>(this));
}

}  // namespace dataframework
