// TCriteriaField: the restriction of one data field to a sorted list of
// accepted values and closed intervals (OR within the field).
//
// A criteria field is in exactly one of four states:
//   blank   no items, neither flag   accepts every value (IsBlank)
//   all     FAll                     accepts every value
//   none    FNone                    accepts no value
//   listed  one or more items        accepts the values inside some item
// Blank and all accept the same values but are told apart (IsEqual, AsText).
// Items added by AddValue / AddInterval never overlap: overlapping or
// touching ones are merged; copies keep whatever their source held.
//
// Changes run inside an update bracket and signal once more after it
// (a subscriber outside any bracket hears two signals); CopyFrom signals
// once. Every check that raises runs before anything changes.
//
// Text form (WriteToStream): "TCriteriaField(" FieldName ": " AsText ")".
// AsText: "All" for all, "None" for none, the empty text for blank; a listed
// field joins its items with ", ", an interval as start "-" end (fields with
// interval support only). A value text is put between single quotes when it
// is empty, equals "All" or "None", or contains ":", ",", " ", "(", ")", a
// control character, or "-" (interval fields). Quotes inside a value are not
// escaped: such a value cannot be read back (see SetAsText).
//
// Ownership: a criteria field owns its value list; it borrows its data
// field, which must outlive it. A criteria field owned by a criteria
// (OwnerCriteria) removes itself from that criteria's map when destroyed.
// Every Create... answer is owned by the caller.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "dataframework/conditions/Condition.h"
#include "dataframework/conditions/CriteriaValueList.h"

namespace dataframework {

class TCriteriaField : public TNiceCondition {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Create(Field): a blank field without owner.
  // REQUIRES: Field is given ("TCriteriaField.Create: Field <> nil").
  explicit TCriteriaField(TDataField* Field);
  // CreateOwned(Owner, Field): a blank field whose owner is Owner (the
  // owner adopts it; see TCriteria). REQUIRES: Field is given.
  TCriteriaField(TCondition* Owner, TDataField* Field);
  ~TCriteriaField() override;

  // A copy of Source's states and items without owner.
  // REQUIRES: Source is given ("TCriteriaField.CreateCopy: CriteriaField <> nil").
  static std::unique_ptr<TCriteriaField> CreateCopy(const TCriteriaField* Source);
  // As CreateCopy, with Owner as owner (the owner adopts it).
  static std::unique_ptr<TCriteriaField> CreateCopyOwned(TCondition* Owner,
                                                         const TCriteriaField* Source);
  // The intersection of the restrictions that Src1 and Src2 put on Field
  // (each asked through GetCriteriaField). REQUIRES: all three given
  // ("TCriteriaField.CreateIntersection: Field <> nil", "... Src1 <> nil",
  // "... Src2 <> nil").
  static std::unique_ptr<TCriteriaField> CreateIntersection(TDataField* Field,
                                                            const TNiceCondition* Src1,
                                                            const TNiceCondition* Src2);
  // A restriction on Field derived from the restriction Source on another
  // field: through the lookup chain of Source's field and the aux tables'
  // cache storages. Context is the criteria Source came from (may be null).
  // REQUIRES: Field and Source given.
  static std::unique_ptr<TCriteriaField> CreateDerived(TDataField* Field, const TCriteria* Context,
                                                       const TCriteriaField* Source);
  // A restriction on a table's field made from Condition (a criteria or a
  // criteria field), by intersection or by union. REQUIRES: both given.
  static std::unique_ptr<TCriteriaField> CreateForTableField(TDataField* Field, bool Intersect,
                                                             const TNiceCondition* Condition);
  // A copy of the states and items under another data field; null when
  // Field is null.
  std::unique_ptr<TCriteriaField> CreateRetargeted(TDataField* Field) const;

  // ---- Queries.
  TDataField* Field() const noexcept { return FValues.Field(); }
  const TCriteriaValueList& Values() const noexcept { return FValues; }
  int Count() const noexcept { return FValues.Count(); }
  bool IsBlank() const noexcept { return FValues.Count() == 0 && !FAll && !FNone; }
  // All, or blank.
  bool AcceptsAll() const noexcept { return FAll || (FValues.Count() == 0 && !FNone); }
  bool IsNone() const noexcept { return FNone; }
  // Not none, not all, one item, and that item is not an interval.
  bool HasExactlyOneValue() const;
  // The item's two ends compare as different. REQUIRES: 0 <= Index < Count
  // ("TCriteriaField.GetIsInterval: (idx >= 0) and (idx < FValues.Count), idx: ").
  bool GetIsInterval(int Index) const;
  bool IsInterval(int Index) const { return GetIsInterval(Index); }
  // The item's ends, with the same index checks ("TCriteriaField.GetStartValue:
  // ...", "TCriteriaField.GetEndValue: ...").
  const TValue& GetStartValue(int Index) const;
  const TValue& GetEndValue(int Index) const;
  // The start of a single-value item; an interval is a fatal DataError
  // "TCriteriaField.GetSingleValue: Tried to get single value from interval".
  const TValue& GetSingleValue(int Index) const;
  // The value when HasExactlyOneValue, else a fatal DataError
  // "TCriteriaField.OnlyValue called when HasExactlyOneValue is False!".
  const TValue& OnlyValue() const;
  // AcceptsAll, or not none and some item holds Value.
  bool Accepts(const TValue& Value) const;
  std::string AsText() const;
  // The owner when it is a criteria, else null.
  TCriteria* OwnerCriteria() const;

  // ---- Changes.
  // Blank: no items, no flags.
  void Clear();
  void SetAll();
  void SetNone();
  // Nothing when all. Value is converted to the field's type first; a value
  // inside an existing item adds nothing.
  void AddValue(const TValue& Value);
  // StringValue(Text), then AddValue.
  void AddValueText(const std::string& Text);
  // Nothing when all. Adds [Start, End] and merges it with every item it
  // overlaps or touches. A real interval on a field without interval
  // support is a fatal DataError "Intervals not supported!".
  void AddInterval(const TValue& Start, const TValue& End);
  // Takes Source's states and items (keeping this field's data field).
  // REQUIRES: Source given ("TCriteriaField.CopyFrom: Source <> nil"). Items
  // of another data type are a fatal DataError
  // "TCriteriaField.CopyFrom: Different DataField types!".
  void CopyFrom(const TCriteriaField* Source);
  // Intersects with Cond's restriction of this field (Cond: a criteria or a
  // criteria field). REQUIRES: Cond given ("TCriteriaField.IntersectWith: Cond <> nil").
  void IntersectWith(const TNiceCondition* Cond);
  // Unites Cond's restriction of this field into this one (a criteria field
  // of another field with the same data type counts as such a restriction);
  // a missing or all-accepting one makes this field all.
  // REQUIRES: Cond given ("TCriteriaField.UnionAddFrom: Cond <> nil").
  void UnionAddFrom(const TNiceCondition* Cond);
  // When this field lies on the lookup chain of Cond's field: a restriction
  // derived from Cond (with Context) is copied (blank field), intersected or
  // united into this one; otherwise nothing changes. REQUIRES: Cond given.
  void MergeFrom(bool Intersect, const TCriteria* Context, const TCriteriaField* Cond);
  // Reads what AsText writes (the text trimmed of blanks and control
  // characters). The empty text gives blank, "All" all, "None" none; any
  // other text must be a list of items joined by ", " whose values convert
  // to the field's data type. A text that AsText could not have written (a
  // quote inside a value, an unquoted special, a stray separator, an
  // interval on a field without interval support, a value of the wrong kind)
  // raises platform::EConvertError "Invalid criteria text: <text>" and leaves
  // the field unchanged.
  void SetAsText(const std::string& Text);
  // A new quilt field for the same data field: blank stays unrestricted, all
  // is the full interval, none the empty restriction, each item a closed
  // interval.
  std::unique_ptr<TQuiltField> AsQuiltField() const;

  // ---- The condition contract (see Condition.h), in its order.
  void GetRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const override;
  bool HasRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const override;
  bool UsesField(const TDataField* Field) const override;
  bool UsesTable(const TDataTable* Table) const override;
  void WriteToStream(std::ostream& Stream, int Indent) const override;
  std::unique_ptr<TCondition> CreateFromStream(std::istream& Stream) const override;
  platform::TMaybeOwned<TCriteria> AsCriteria() const override;
  platform::TMaybeOwned<TCriteria> AsNiceCriteria() const override;
  bool IsNice() const override;
  bool AcceptsRow(TAbstractRow* Row, const TDataFieldSet* FieldSet) const override;
  bool AcceptsRowLenient(TAbstractRow* Row, const TDataFieldSet* FieldSet) const override;
  bool AcceptsValue(const TDataField* Field, const TValue& Value) const override;
  std::unique_ptr<TCondition> Clone() const override;
  // Translate is asked once; the answer is CreateRetargeted of the field it
  // names (null when it names none).
  std::unique_ptr<TCondition> CreateFieldTranslatedCopy(TFieldTranslator Translate,
                                                        void* UserData) const override;
  bool IsEqual(const TCondition& Other) const override;
  bool AcceptsAllOfTable(const TDataTable* Table) const override;
  bool AcceptsNoneOfTable(const TDataTable* Table) const override;
  bool AcceptsAllOfField(const TDataField* Field) const override;
  bool AcceptsNoneOfField(const TDataField* Field) const override;
  bool HasOnlyValue(const TDataField* Field, TValue& Value) const override;
  void ForEachField(TFieldCallback Callback, void* UserData) const override;
  platform::TMaybeOwned<TCommonQuilt> AsCommonQuilt() const override;
  // Itself. Field must be its own field, else a fatal DataError "Tried to
  // perform a Criteriaoperation on CriteteriaFields of different DataFields".
  TCriteriaField* GetCriteriaField(const TDataField* Field) const override;
  void AddToCriteria(TCriteria& Criteria, TDataTable* Table, bool Intersect) const override;

  // Reads "FieldName: values)" after the header "TCriteriaField(": the field
  // is found by name (an unknown name fails the assertion
  // "TCriteriaField.Create: Field <> nil"); a missing ":" or ")" or a value
  // text SetAsText refuses raises "Invalid stream format!".
  static std::unique_ptr<TCriteriaField> ReadFromStream(std::istream& Stream);

 private:
  friend class TCriteria;

  // Merges the items after Index that its end reaches into it.
  bool MergeFollowing(int Index);
  // The value list, states and items of Source taken without signalling.
  void AssignItems(const TCriteriaField& Source);
  // Index check shared by the item accessors.
  void CheckIndex(int Index, const char* Text) const;
  // The fatal error of GetCriteriaField for another field.
  static void CheckSameField(const TCriteriaField* CF, const TDataField* Field);

  TCriteriaValueList FValues;
  bool FAll = false;
  bool FNone = false;
};

}  // namespace dataframework
