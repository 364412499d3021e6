// TCriteria: the nice condition made of one criteria field per data field
// (AND over fields), and TCriteriaFieldIterator. Also the umbrella of the
// module Criteria: including it gives TCriteriaValueList and TCriteriaField.
//
// A criteria maps each data field it mentions to a TCriteriaField (an
// identity-keyed container, 101 buckets). A field without a criteria field,
// or with a blank or all one, is not restricted.
//
// Text form: "TCriteria(" followed by each criteria field's text form (the
// second and later ones after "\r\n" and Indent + 10 blanks) and ")".
// ReadFromStream reads it back (see there); TCriteria and TCriteriaField are
// registered with the platform class registry when the module starts, so
// TCondition::ReadHeader finds them.
//
// Ownership: a criteria owns its criteria fields (each has the criteria as
// Owner); destroying it clears their owner and frees them. A criteria field
// destroyed by someone else leaves the map on its own. Data fields are
// borrowed and must outlive the criteria.
#pragma once

#include <iosfwd>
#include <memory>

#include "dataframework/conditions/Condition.h"
#include "dataframework/conditions/CriteriaField.h"
#include "dataframework/conditions/CriteriaValueList.h"
#include "dataframework/conditions/IndexContainer.h"

namespace dataframework {

class TCriteria : public TNiceCondition {
  CLAVIRA_DECLARE_CLASS()

 public:
  // An empty criteria (accepts every row).
  explicit TCriteria(TCondition* Owner = nullptr);
  ~TCriteria() override;

  // The criteria field of Field, or null; with CreateIfMissing a missing one
  // is created blank and owned by the criteria.
  // REQUIRES: Field given ("TCriteria.FindCriteriaField: Field <> nil").
  TCriteriaField* FindCriteriaField(const TDataField* Field, bool CreateIfMissing);
  // The criteria field of Field, or null. REQUIRES: Field given.
  TCriteriaField* FindCriteriaField(const TDataField* Field) const;
  // The criteria field of Field, created blank when missing.
  TCriteriaField& CriteriaFields(TDataField* Field);
  // CopyFrom of Source into CriteriaFields(Field).
  void SetCriteriaField(TDataField* Field, const TCriteriaField* Source);
  // A criteria field for Field exists and does not accept all.
  bool Restricts(const TDataField* Field) const;
  // A criteria field for Field exists and is not blank.
  bool HasNonBlankField(const TDataField* Field) const;
  // Removes and frees the criteria field of Field; true when there was one.
  bool DeleteCriteriaField(const TDataField* Field);
  // Number of criteria fields (blank ones included).
  int CriteriaFieldCount() const;
  // Carries CriteriaField over to the field of Table on its lookup chain
  // (ResolveField) and merges it in, by intersection or union; Source is the
  // criteria CriteriaField came from (may be null). REQUIRES: Table and
  // CriteriaField given.
  void MergeFieldFromTable(TDataTable* Table, bool Intersect, const TCriteriaField* CriteriaField,
                           const TCriteria* Source);
  // A new quilt patch holding AsQuiltField of each criteria field.
  std::unique_ptr<TQuiltPatch> AsQuiltPatch() const;

  // Reads the text form after the header "TCriteria(": every criteria field
  // up to the closing ")". Any other content raises "Invalid stream format!";
  // an unknown class name the platform's class-not-found error; a field name
  // that is not registered the assertion "TCriteriaField.Create: Field <> nil".
  // Nothing leaks and nothing of a partly read criteria is handed out.
  static std::unique_ptr<TCriteria> ReadFromStream(std::istream& Stream);

  // ---- The condition contract (see Condition.h), in its order.
  void GetRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const override;
  bool HasRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const override;
  bool UsesField(const TDataField* Field) const override;
  bool UsesTable(const TDataTable* Table) const override;
  void WriteToStream(std::ostream& Stream, int Indent) const override;
  std::unique_ptr<TCondition> CreateFromStream(std::istream& Stream) const override;
  // Itself, borrowed.
  platform::TMaybeOwned<TCriteria> AsCriteria() const override;
  platform::TMaybeOwned<TCriteria> AsNiceCriteria() const override;
  bool IsNice() const override;
  bool AcceptsRow(TAbstractRow* Row, const TDataFieldSet* FieldSet) const override;
  // REQUIRES: Row given ("TCriteria.AcceptsRow: ARow <> nil").
  bool AcceptsRowLenient(TAbstractRow* Row, const TDataFieldSet* FieldSet) const override;
  bool AcceptsValue(const TDataField* Field, const TValue& Value) const override;
  std::unique_ptr<TCondition> Clone() const override;
  // Each criteria field is retargeted to the field Translate names; a
  // ConflictAction outside 0..3 raises
  // "<ClassName>.CreateFieldTranslatedCopy: Unknown ConflictAction!".
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
  // FindCriteriaField(Field, false).
  TCriteriaField* GetCriteriaField(const TDataField* Field) const override;
  void AddToCriteria(TCriteria& Criteria, TDataTable* Table, bool Intersect) const override;

 private:
  friend class TCriteriaField;
  friend class TCriteriaFieldIterator;

  // Takes CF over under its field (replacing and freeing an earlier one).
  TCriteriaField& Adopt(std::unique_ptr<TCriteriaField> CF);
  // Called by a dying criteria field that this criteria owns.
  void Forget(TCriteriaField* CF) noexcept;

  TIndexContainer FFields;
};

// Walks the criteria fields of a criteria in the container's order.
//   for (TCriteriaFieldIterator it(&c); !it.Eof(); it.Next()) use(it.Field(), it.CriteriaField());
// The criteria is borrowed; it must outlive the iterator and may change only
// by deleting the criteria field the iterator stands on. A null criteria
// gives an iterator that is at its end at once.
class TCriteriaFieldIterator : public platform::TObject {
 public:
  explicit TCriteriaFieldIterator(const TCriteria* Criteria);
  ~TCriteriaFieldIterator() override;
  TCriteriaFieldIterator(const TCriteriaFieldIterator&) = delete;
  TCriteriaFieldIterator& operator=(const TCriteriaFieldIterator&) = delete;

  TCriteriaField* CriteriaField() const;
  TDataField* Field() const;
  void Next();
  bool Eof() const;

 private:
  std::unique_ptr<TIndexContainerIterator> FIterator;
};

// Registers TCriteria and TCriteriaField with the platform class registry
// (done once at start; calling it again does nothing).
void RegisterCriteriaClasses();

}  // namespace dataframework
