// TQuiltField: the restriction of one data field to a union of intervals
// with open, closed or infinite ends; the smallest quilt.
//
// Three kinds of state: unrestricted (accepts every value), restricted with
// intervals, restricted and empty (accepts nothing). The three-way split of
// two quilt fields (Split) is the step all quilt algebra rests on.
//
// Ownership: owns its field set ({Field}) and its value list; borrows the
// data field. Owned by its patch (Owner) or free-standing. Every change runs
// in an update bracket and ends with one change signal.
#pragma once

#include <memory>
#include <string>

#include "dataframework/conditions/CustomQuilt.h"
#include "dataframework/conditions/QuiltValueList.h"

namespace dataframework {

// The smallest text that sorts (for DataType) after every text starting with
// Text; empty when there is none (Text empty, or only characters of code 255).
std::string PrefixUpperBound(const TDataType& DataType, const std::string& Text);

class TQuiltField : public TCustomQuilt {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Flags of a split: which of its three parts received anything.
  struct TSplitFlags {
    bool Overlap = false;       // X and Y share values
    bool SelfHasMore = false;   // X has values outside Y
    bool OtherHasMore = false;  // Y has values outside X
  };

  // Unrestricted. REQUIRES: Field given.
  explicit TQuiltField(TDataField* Field, TCondition* Owner = nullptr);
  ~TQuiltField() override;

  TDataField* Field() const noexcept { return FValueList.Field(); }
  int Count() const noexcept { return FValueList.Count(); }
  bool Restricted() const noexcept { return FValueList.Restricted(); }
  // Restricted and without items: accepts no value (IsEmpty without the
  // virtual call).
  bool AcceptsNothing() const noexcept {
    return FValueList.Restricted() && FValueList.Count() == 0;
  }
  const TQuiltValueList& ValueList() const noexcept { return FValueList; }
  TQuiltValueList& ValueList() noexcept { return FValueList; }

  // Adds the single value [Value, Value].
  void AddValue(const TValue& Value);
  // Refuses a real interval when the field has no interval support:
  // "<ClassName>.AddInterval: Intervals not supported for the field '<name>'!".
  void AddInterval(const TQuiltPoint& Start, const TQuiltPoint& End);
  // The value list's merging AddInterval inside an update bracket.
  void AddIntervalPoints(const TQuiltPoint& Start, const TQuiltPoint& End);
  // The texts starting with Text: [Text, PrefixUpperBound) or [Text, +inf);
  // an empty Text accepts everything (SetAll).
  void AddPrefixRange(const std::string& Text);
  // Restricted, no items: accepts nothing.
  void SetNone();
  // Adds (-inf, +inf).
  void SetAll();

  // This field := Source's state and items (no merging). Fatal DataError
  // "CopyFrom" "TQuiltField.CopyFrom: Different DataField types!" when
  // Source has items of another data type.
  void CopyFrom(const TQuiltField& Source);
  // Union by merging insertion; an unrestricted Other changes nothing, an
  // unrestricted receiver takes Other's items.
  void UnionField(const TQuiltField& Other);
  // X := X - Other, X := X * Other. REQUIRES: same data type
  // (EAssertionFailed "Assertion failure").
  void SubtractField(const TQuiltField& Other);
  void IntersectField(const TQuiltField& Other);
  // X = this, Y = Other: X*Y into Both, X-Y into SelfOnly, Y-X into
  // OtherOnly (targets may be null, not Both and SelfOnly together:
  // "<ClassName>.Split: You have to supply at least one of the TQuiltFields
  // to put the intersection or difference in!"). REQUIRES: Other and the
  // targets have X's data type (EAssertionFailed "Assertion failure").
  // Targets are emptied (SetNone) first; they may not be this or Other.
  TSplitFlags Split(const TQuiltField& Other, TQuiltField* Both, TQuiltField* SelfOnly,
                    TQuiltField* OtherOnly) const;
  // The split for its flags alone (no targets; stops early once all three
  // flags are set).
  TSplitFlags SplitFlags(const TQuiltField& Other) const;
  // Different data fields: qrOverlapping; else by the split flags of this
  // field against Other.
  TQuiltRelation FieldRelation(const TQuiltField& Other) const;
  // This field contains Other (true, Touch true, when the data fields
  // differ, FieldSet lacks the field, or this field is a universe);
  // otherwise Touch := they overlap.
  bool FieldContains(const TQuiltField& Other, bool& Touch, const TDataFieldSet* FieldSet) const;
  // Cheap tests on the hulls (first start to last end) of two restricted,
  // non-empty fields of one data type: the hulls do not meet (so neither do
  // the fields) / this hull holds Other's (needed for containment).
  bool HullsApart(const TQuiltField& Other) const;
  bool HullHolds(const TQuiltField& Other) const;
  // Exchanges the value lists' contents; both fields signal.
  void Swap(TQuiltField& Other);

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

  // TCustomQuilt: a new quilt of one patch holding a copy of this field.
  platform::TMaybeOwned<TQuilt> AsQuilt() const override;

  // A new free-standing copy.
  std::unique_ptr<TQuiltField> Copy() const;

 private:
  TSplitFlags SplitCore(const TQuiltField& Other, TQuiltField* Both, TQuiltField* SelfOnly,
                        TQuiltField* OtherOnly) const;
  void InternalAddFrom(const TQuiltField& Source, bool Merge, const char* Message);

  std::unique_ptr<TDataFieldSet> FFieldSet;
  TQuiltValueList FValueList;
};

}  // namespace dataframework
