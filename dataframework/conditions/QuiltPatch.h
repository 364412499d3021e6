// TQuiltPatch: a box, the AND over fields of quilt fields; a patch without
// quilt fields accepts every row, a data field without a quilt field is
// unrestricted.
//
// TQuiltFieldList maps data fields to the patch's quilt fields (one per
// field, in the order they were added) and caches the field set;
// TQuiltFieldIterator walks it.
//
// Ownership: a patch owns its quilt fields (each has the patch as Owner);
// a patch is owned by one quilt (Owner) or free-standing. Every changing
// operation runs in an update bracket.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "dataframework/conditions/CustomQuilt.h"
#include "dataframework/conditions/QuiltField.h"

namespace dataframework {

class TQuiltFieldList {
 public:
  TQuiltFieldList();
  // Frees every quilt field.
  ~TQuiltFieldList();
  TQuiltFieldList(const TQuiltFieldList&) = delete;
  TQuiltFieldList& operator=(const TQuiltFieldList&) = delete;

  int Count() const noexcept { return static_cast<int>(FItems.size()); }
  TQuiltField* At(int Index) const noexcept { return FItems[static_cast<size_t>(Index)].get(); }
  // The quilt field of Field, or null.
  TQuiltField* Find(const TDataField* Field) const noexcept;
  // Stores QuiltField under its data field; a quilt field already stored
  // for that field is freed. Signals.
  void AddValue(std::unique_ptr<TQuiltField> QuiltField);
  // Takes the quilt field of Field out (null when absent). Signals.
  std::unique_ptr<TQuiltField> Extract(const TDataField* Field);
  // Frees the quilt field of Field; true when there was one. Signals.
  bool Delete(const TDataField* Field);
  // Frees every quilt field. Signals.
  void ClearAndFreeValues();
  // Exchanges the contents with Other (owners are rewired by the caller).
  void SwapContents(TQuiltFieldList& Other) noexcept;
  // The data fields of the list, rebuilt on request after a change.
  const TDataFieldSet& FieldSet() const;

  void SetOnChange(std::function<void()> Event) { FOnChange = std::move(Event); }
  // Grows with every change of the list (owners compare it to keep caches
  // of their own current).
  uint64_t Version() const noexcept { return FVersion; }

 private:
  void Changed();

  std::vector<std::unique_ptr<TQuiltField>> FItems;
  uint64_t FVersion = 0;
  mutable std::unique_ptr<TDataFieldSet> FFieldSet;
  mutable bool FFieldSetValid = false;
  std::function<void()> FOnChange;
};

// Walks a patch's quilt fields. The list must outlive the iterator and may
// change only by deleting the current field.
class TQuiltFieldIterator {
 public:
  explicit TQuiltFieldIterator(const TQuiltFieldList& List) : FList(&List) {}
  bool Eof() const noexcept { return FIndex >= FList->Count(); }
  void Next() noexcept { ++FIndex; }
  TQuiltField* QuiltField() const noexcept { return FList->At(FIndex); }
  TDataField* Field() const noexcept { return QuiltField()->Field(); }

 private:
  const TQuiltFieldList* FList;
  int FIndex = 0;
};

class TQuiltPatch : public TCustomQuilt {
  CLAVIRA_DECLARE_CLASS()

 public:
  // No quilt fields.
  explicit TQuiltPatch(TCondition* Owner = nullptr);
  ~TQuiltPatch() override;

  int FieldCount() const noexcept { return FFields.Count(); }
  // The quilt field of Field; a missing one is created unrestricted and
  // adopted when CreateIfMissing, else null.
  TQuiltField* FieldFor(TDataField* Field, bool CreateIfMissing);
  const TQuiltField* FieldFor(const TDataField* Field) const { return FFields.Find(Field); }
  // Adopts a quilt field without owner, stored under its data field (one
  // already there is freed). One owned by another condition raises
  // "<ClassName>.InternalAddQuiltField: AQuiltField already has an owner!"
  // and stays with that owner.
  void InternalAddQuiltField(std::unique_ptr<TQuiltField> QuiltField);
  // FieldFor(Field, true) takes a copy of Source (CopyFrom).
  void SetField(TDataField* Field, const TQuiltField& Source);
  // Frees the quilt field of Field; true when there was one.
  bool DeleteField(const TDataField* Field);
  // Takes the quilt field of Field out (no owner), or null.
  std::unique_ptr<TQuiltField> ExtractField(const TDataField* Field);
  void IntersectWithField(const TQuiltField& QuiltField);
  void IntersectWithPatch(const TQuiltPatch& Patch);
  // Removes the quilt fields and adopts a copy of each of Patch's.
  void AssignPatch(const TQuiltPatch& Patch);
  void Assign(const platform::TPersistent* Source) override;
  // A new free-standing patch equal to this one.
  std::unique_ptr<TQuiltPatch> Copy() const;
  // True when this patch and Other overlap; then Pieces receives this patch
  // minus Other as disjoint patches and Remainder := this * Other. False:
  // Pieces unchanged, Remainder null.
  bool SubtractPatch(const TQuiltPatch& Other, std::vector<std::unique_ptr<TQuiltPatch>>& Pieces,
                     std::unique_ptr<TQuiltPatch>& Remainder) const;
  // This patch contains Other looking at FieldSet (this patch's fields when
  // null); Touch as set by FieldContains.
  bool ContainsPatch(const TQuiltPatch& Other, bool& Touch, const TDataFieldSet* FieldSet) const;
  // A new patch with fields mapped by Translate (see TFieldTranslator);
  // an unknown ConflictAction raises
  // "<ClassName>.CreateFieldTranslatedPatchCopy: Unknown ConflictAction!".
  std::unique_ptr<TQuiltPatch> CreateFieldTranslatedPatchCopy(TFieldTranslator Translate,
                                                              void* UserData) const;
  // The patch has quilt fields and each is empty.
  bool AllFieldsEmpty() const;
  TQuiltFieldIterator Iterator() const { return TQuiltFieldIterator(FFields); }
  const TQuiltFieldList& Fields() const noexcept { return FFields; }

  // Exchanges the quilt fields with Other (owners rewired); both signal.
  void SwapFields(TQuiltPatch& Other);

  // TCondition
  void GetRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const override;
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

  // TCustomQuilt: a new quilt holding a copy of this patch.
  platform::TMaybeOwned<TQuilt> AsQuilt() const override;

 private:
  TQuiltFieldList FFields;
};

}  // namespace dataframework
