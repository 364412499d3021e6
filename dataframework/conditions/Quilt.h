// TQuilt: a condition of arbitrary shape, the union (OR) of patches. Also
// the umbrella of module Quilt: including it gives every quilt class.
//
// The quilt keeps its patches normalised as they are added (AddPatch):
// empty patches are dropped, a patch inside another is dropped, patches
// inside the new one are replaced by it, and two patches that differ in one
// field only are merged. Union, subtraction, intersection, containment and
// the relation of two quilts build on these steps and on the split of quilt
// fields. Building a quilt of n patches costs up to n^2 patch comparisons.
//
// Ownership: TQuiltPatchList owns its patches; a quilt owns its list; each
// patch in the list has the quilt as Owner, a patch taken out has none. An
// object handed to AddPatch or AppendPatch belongs to the quilt afterwards,
// which may free it at once. Every changing operation runs in an update
// bracket.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "dataframework/conditions/Condition.h"
#include "dataframework/conditions/CustomQuilt.h"
#include "dataframework/conditions/QuiltField.h"
#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/conditions/QuiltPoint.h"
#include "dataframework/conditions/QuiltValueList.h"

namespace dataframework {

class TQuiltPatchList {
 public:
  TQuiltPatchList();
  ~TQuiltPatchList();
  TQuiltPatchList(const TQuiltPatchList&) = delete;
  TQuiltPatchList& operator=(const TQuiltPatchList&) = delete;

  void Add(std::unique_ptr<TQuiltPatch> Patch);
  // Frees the patch at Index.
  void Delete(int Index);
  // Takes Patch out (null when it is not in the list).
  std::unique_ptr<TQuiltPatch> Extract(const TQuiltPatch* Patch);
  // Frees all patches.
  void Clear();
  int Count() const noexcept { return static_cast<int>(FPatches.size()); }
  TQuiltPatch* Items(int Index) const noexcept {
    return FPatches[static_cast<size_t>(Index)].get();
  }
  int IndexOf(const TQuiltPatch* Patch) const noexcept;
  // Union of the patches' field sets, rebuilt on request after a change of
  // the list or of a patch's quilt fields.
  const TDataFieldSet& FieldSet() const;
  void SetOnChange(std::function<void()> Callback) { FOnChange = std::move(Callback); }
  // Every data field that a patch of the list had when it was added (or
  // gained later inside the list), without repeats; a superset of the
  // fields the patches mention, emptied only by Clear.
  const std::vector<TDataField*>& FieldsSeen() const;
  // Exchanges the patches with Other; callbacks stay with their lists.
  void SwapContents(TQuiltPatchList& Other) noexcept;

 private:
  void Changed();

  std::vector<std::unique_ptr<TQuiltPatch>> FPatches;
  // Sum of the patches' field list versions when the cache was made.
  uint64_t FieldsVersion() const noexcept;

  mutable std::unique_ptr<TDataFieldSet> FFieldSet;
  mutable bool FFieldSetValid = false;
  mutable uint64_t FFieldSetVersion = 0;
  mutable std::vector<TDataField*> FFieldsSeen;
  std::function<void()> FOnChange;
};

class TQuilt : public TCustomQuilt {
  CLAVIRA_DECLARE_CLASS()

 public:
  // No patches: accepts no row.
  explicit TQuilt(TCondition* Owner = nullptr);
  ~TQuilt() override;

  int PatchCount() const noexcept { return FPatches.Count(); }
  TQuiltPatch* Patches(int Index) const noexcept { return FPatches.Items(Index); }
  // Removes Patch from the list without freeing it; it has no owner then.
  std::unique_ptr<TQuiltPatch> ExtractPatch(TQuiltPatch* Patch);

  // Normalising insertion. A patch that already has an owner raises
  // "<ClassName>.AddPatch: APatch is already owned by another TCondition!"
  // and stays with that owner.
  void AddPatch(std::unique_ptr<TQuiltPatch> Patch);
  // Insertion without normalisation; an empty patch (or one whose quilt
  // fields are all empty) is freed instead.
  void AppendPatch(std::unique_ptr<TQuiltPatch> Patch);
  // Part of AddPatch: true when Patch (not inside any patch) was merged into
  // the quilt or adds nothing; the caller then frees it.
  bool MergePatch(const TQuiltPatch& Patch);
  // Some patch contains Patch, looking at FieldSet.
  bool ContainsPatchInQuilt(const TQuiltPatch& Patch, const TDataFieldSet* FieldSet) const;
  // True when Other has no patches; false when this quilt has none; else
  // every patch of Other is contained in some patch of this quilt.
  bool ContainsAllPatches(const TQuilt& Other, const TDataFieldSet* FieldSet) const;
  // A copy of every patch of Other, added normalising or appended.
  void AddPatchesOf(const TQuilt& Other, bool Normalize);
  void UnionWithQuilt(const TQuilt& Other);
  // Clear, then the patches of Other appended.
  void AssignQuilt(const TQuilt& Other);
  void Assign(const platform::TPersistent* Source) override;
  // A new free-standing quilt equal to this one.
  std::unique_ptr<TQuilt> Copy() const;

  // REQUIRES for the three: Condition is a quilt class (EAssertionFailed
  // "Assertion failure" otherwise).
  void UnionWith(const TCondition& Condition);
  void SubtractCondition(const TCondition& Condition);
  void IntersectWith(const TCondition& Condition);
  // Changed := true when some patch overlapped Patch.
  void SubtractPatch(const TQuiltPatch& Patch, bool& Changed);
  void SubtractQuilt(const TQuilt& Other, bool& Changed);
  // Every patch intersected with Patch (empty ones stay until the next
  // normalisation).
  void IntersectWithPatch(const TQuiltPatch& Patch);
  void IntersectWithQuilt(const TQuilt& Other);
  // Exchanges the patch lists (patches change owner); both quilts signal.
  void SwapPatches(TQuilt& Other);
  // This quilt contains Other looking only at FieldSet; Touch := the two
  // share rows (or a trivial case decided).
  bool QuiltContains(const TQuilt& Other, bool& Touch, const TDataFieldSet* FieldSet) const;
  TQuiltRelation QuiltRelation(const TQuilt& Other, const TDataFieldSet* FieldSet) const;

  // TCondition
  bool IsNice() const override;
  bool AcceptsRow(TAbstractRow* Row, const TDataFieldSet* FieldSet) const override;
  bool AcceptsRowLenient(TAbstractRow* Row, const TDataFieldSet* FieldSet) const override;
  bool AcceptsValue(const TDataField* Field, const TValue& Value) const override;
  std::unique_ptr<TCondition> Clone() const override;
  std::unique_ptr<TCondition> CreateFieldTranslatedCopy(TFieldTranslator Translate,
                                                        void* UserData) const override;
  bool AcceptsAllOfTable(const TDataTable* Table) const override;
  bool AcceptsNoneOfTable(const TDataTable* Table) const override;
  bool AcceptsAllOfField(const TDataField* Field) const override;
  bool AcceptsNoneOfField(const TDataField* Field) const override;
  bool HasOnlyValue(const TDataField* Field, TValue& Value) const override;
  void ForEachField(TFieldCallback Callback, void* UserData) const override;

  // TCommonQuilt
  const TDataFieldSet& FieldSet() const override;
  std::unique_ptr<TCommonQuilt> Union(std::unique_ptr<TCommonQuilt> Self,
                                      platform::TMaybeOwned<TCommonQuilt> Other) override;
  std::unique_ptr<TCommonQuilt> Subtract(std::unique_ptr<TCommonQuilt> Self,
                                         platform::TMaybeOwned<TCommonQuilt> Other) override;
  std::unique_ptr<TCommonQuilt> Intersect(std::unique_ptr<TCommonQuilt> Self,
                                          platform::TMaybeOwned<TCommonQuilt> Other) override;
  std::unique_ptr<TCommonQuilt> CloneQuilt() const override;
  std::unique_ptr<TCommonQuilt> Simplify(std::unique_ptr<TCommonQuilt> Self) override;
  bool Contains(const TCommonQuilt& Other) const override;
  void Clear() override;
  void ProjectOn(const TDataFieldSet* FieldSet) override;
  bool IsUniverse(const TDataFieldSet* FieldSet) const override;
  bool IsEmpty(const TDataFieldSet* FieldSet) const override;

  // TCustomQuilt: itself, borrowed.
  platform::TMaybeOwned<TQuilt> AsQuilt() const override;

 private:
  TQuiltPatchList FPatches;
};

}  // namespace dataframework
