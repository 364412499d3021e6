// The condition contract: predicates over rows and single field values.
//
// TCondition is the abstract base of the two condition families: the nice
// conditions (TNiceCondition, base of the criteria classes: each field is
// restricted on its own) and the quilts (TCommonQuilt: unions of boxes over
// fields). A condition answers whether it accepts a value of a field or a
// row, walks a row storage's tree for a get-rows handler, converts into the
// other family, copies itself and writes a text form to a stream.
//
// Ownership: a condition never owns its Owner (the criteria of a criteria
// field, the quilt of a patch, the patch of a quilt field); owners own their
// parts. Clone and every "caller owns" answer is a std::unique_ptr; the
// conversions that may answer the object itself answer a TMaybeOwned
// (MustFree() tells whether the holder frees it). A borrowed conversion
// answer is the condition itself: callers read it and must not change it.
//
// Field sets: a null TDataFieldSet pointer means all fields; fields outside a
// given set are not tested (they count as accepting).
//
// Quilt algebra: Union, Subtract, Intersect and Simplify may consume their
// receiver and answer another object. They take the receiver's ownership
// explicitly (REQUIRES: Self.get() == this) and the other operand as a
// TMaybeOwned (owned: consumed, the old FreeOther); only the answer is valid
// afterwards. Use the free functions QuiltUnion etc. at call sites.
//
// Single-threaded like the rest of the framework.
#pragma once

#include <exception>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "dataframework/conditions/ConditionsFwd.h"
#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/types/DataTypeCore.h"
#include "platform/ClassRegistry.h"
#include "platform/MaybeOwned.h"
#include "platform/Persistent.h"

namespace dataframework {

// Signalled when a condition changes outside an update bracket.
using TConditionNotifyEvent = std::function<void(TCondition* Sender)>;

// Maps a field of a condition to another field for CreateFieldTranslatedCopy:
// answers the field to use (null: the field is dropped) and may set
// ConflictAction (preset to 1: 0 keep the existing restriction, 1 replace,
// 2 unite, 3 intersect) and KeepOriginal (preset to false: also keep the
// restriction under the original field).
using TFieldTranslator = TDataField* (*)(void* UserData, TDataField* Field, int& ConflictAction,
                                         bool& KeepOriginal);

// Called by ForEachField once per mentioned field.
using TFieldCallback = void (*)(void* UserData, TDataField* Field, bool AcceptsAll);

// Metaclass of the condition classes: adds the class-level "create from
// stream" constructor. Metaclasses live for the whole run.
class TConditionClass : public platform::TClass {
 public:
  // Reads a new condition of the class from the stream (its text form after
  // the header "ClassName(" up to and including the closing ")").
  using TCreateFromStream = std::unique_ptr<TCondition> (*)(std::istream& Stream);

  // Create null: the class cannot be read (CreateFromStream raises
  // "Abstract Error").
  TConditionClass(std::string Name, const platform::TClass* Parent, std::string UnitName,
                  TCreateFromStream Create);

  std::unique_ptr<TCondition> CreateFromStream(std::istream& Stream) const;
  bool CanCreateFromStream() const noexcept { return FCreate != nullptr; }

 private:
  TCreateFromStream FCreate;
};

class TCondition : public platform::TPersistent {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TCondition(TCondition* Owner = nullptr);
  ~TCondition() override;
  TCondition(const TCondition&) = delete;
  TCondition& operator=(const TCondition&) = delete;

  // The condition that contains this one, or null (not owned).
  TCondition* Owner() const noexcept { return FOwner; }
  void SetOwner(TCondition* Owner) noexcept { FOwner = Owner; }

  // Update brackets: changes inside one are signalled once, by the EndUpdate
  // that closes the outermost bracket (even when nothing changed). An
  // unbalanced EndUpdate signals and leaves the count at 0.
  void BeginUpdate() noexcept { ++FUpdateCount; }
  void EndUpdate();
  // Signals OnChange unless an update bracket is open.
  void Changed();
  int UpdateCount() const noexcept { return FUpdateCount; }
  const TConditionNotifyEvent& OnChange() const noexcept { return FOnChange; }
  void SetOnChange(TConditionNotifyEvent Event) { FOnChange = std::move(Event); }

  // Text form: "ClassName(" contents ")"; a line break is "\r\n" and Indent
  // blanks.
  void WriteHeader(std::ostream& Stream) const;
  static void WriteLineBreak(std::ostream& Stream, int Indent);
  static void WriteFooter(std::ostream& Stream);

  // Scans from the current position for Delimiter outside single quotes (a
  // quote toggles the quoted state). Success: Text := the bytes before the
  // delimiter, the delimiter is consumed. StopChar outside quotes, or the end
  // of the stream, ends with failure and the stream back at its start
  // position (Text unchanged). A StopChar of 0 stops only at a zero byte.
  static bool ReadUpTo(std::istream& Stream, char Delimiter, std::string& Text, char StopChar);
  // Reads "ClassName(" and looks the trimmed name up in the class registry
  // (platform::EClassNotFound for an unknown name). ConditionClass := the
  // metaclass, or null when the class found is not a condition class.
  // False (stream unchanged) when a ")" comes first (the enclosing list has
  // ended) or at the end of the stream.
  static bool ReadHeader(std::istream& Stream, const TConditionClass*& ConditionClass);
  // Consumes up to and including the next ")" outside quotes.
  static bool ReadFooter(std::istream& Stream);

  // The virtual contract, in this order.

  // Delivers to the handler every child of the subtotal row Row that may
  // hold accepted rows. The default walks Row's children by their key value
  // (see Condition.cpp); Row is not null.
  virtual void GetRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const;
  // True when some child of Row holds an accepted row.
  virtual bool HasRows(TGetRowsHandler& Handler, TSubTotalRow* Row) const;
  virtual bool UsesField(const TDataField* Field) const = 0;
  virtual bool UsesTable(const TDataTable* Table) const = 0;
  virtual void WriteToStream(std::ostream& Stream, int Indent) const = 0;
  // A new condition of this object's class read from Stream. The default
  // asks this class's metaclass (TConditionClass); a class without a reader
  // raises "Abstract Error".
  virtual std::unique_ptr<TCondition> CreateFromStream(std::istream& Stream) const;
  virtual platform::TMaybeOwned<TCriteria> AsCriteria() const = 0;
  virtual platform::TMaybeOwned<TCriteria> AsNiceCriteria() const = 0;
  // Each field is restricted independently of the others. False here.
  virtual bool IsNice() const;
  virtual bool AcceptsRow(TAbstractRow* Row, const TDataFieldSet* FieldSet) const = 0;
  // As AcceptsRow; a value that cannot be read or a failing test accepts.
  virtual bool AcceptsRowLenient(TAbstractRow* Row, const TDataFieldSet* FieldSet) const = 0;
  // True for any field the condition does not restrict.
  virtual bool AcceptsValue(const TDataField* Field, const TValue& Value) const = 0;
  // An independent copy without owner.
  virtual std::unique_ptr<TCondition> Clone() const = 0;
  // A copy whose fields are mapped by Translate (null when nothing is left,
  // as the class says).
  virtual std::unique_ptr<TCondition> CreateFieldTranslatedCopy(TFieldTranslator Translate,
                                                                void* UserData) const = 0;
  virtual bool IsEqual(const TCondition& Other) const = 0;
  virtual bool AcceptsAllOfTable(const TDataTable* Table) const = 0;
  virtual bool AcceptsNoneOfTable(const TDataTable* Table) const = 0;
  virtual bool AcceptsAllOfField(const TDataField* Field) const = 0;
  virtual bool AcceptsNoneOfField(const TDataField* Field) const = 0;
  // True when Field is restricted to exactly one value, handed back in Value.
  virtual bool HasOnlyValue(const TDataField* Field, TValue& Value) const = 0;
  virtual void ForEachField(TFieldCallback Callback, void* UserData) const = 0;
  virtual platform::TMaybeOwned<TCommonQuilt> AsCommonQuilt() const = 0;

 protected:
  // The single-value shortcut for GetRows / HasRows overrides: applies when
  // the handler's NiceCondition is set, Row is not a last-level row that
  // needs a row test, and HasOnlyValue fixes Row's level field. Then only
  // the child with that key (FindChild) is delivered / examined. Answers
  // whether the shortcut applied; when not, the caller runs the default.
  bool GetRowsBySingleValue(TGetRowsHandler& Handler, TSubTotalRow* Row) const;
  bool HasRowsBySingleValue(TGetRowsHandler& Handler, TSubTotalRow* Row, bool& Result) const;

 private:
  int FUpdateCount = 0;
  TConditionNotifyEvent FOnChange;
  TCondition* FOwner;
};

// An update bracket that always closes: BeginUpdate on construction,
// EndUpdate on destruction (a change event failing while another error
// already leaves the block is dropped in favour of that error).
class TConditionUpdate {
 public:
  explicit TConditionUpdate(TCondition& Condition)
      : FCondition(Condition), FExceptions(std::uncaught_exceptions()) {
    FCondition.BeginUpdate();
  }
  ~TConditionUpdate() noexcept(false);
  TConditionUpdate(const TConditionUpdate&) = delete;
  TConditionUpdate& operator=(const TConditionUpdate&) = delete;

 private:
  TCondition& FCondition;
  int FExceptions;
};

// Base of the criteria classes: each field is restricted on its own.
class TNiceCondition : public TCondition {
  CLAVIRA_DECLARE_CLASS()

 public:
  using TCondition::TCondition;

  bool IsNice() const override;
  // The criteria field that restricts Field, or null (not owned by the
  // caller).
  virtual TCriteriaField* GetCriteriaField(const TDataField* Field) const = 0;
  // Carries this condition over to the fields of Table and merges the result
  // into Criteria, by intersection or by union.
  virtual void AddToCriteria(TCriteria& Criteria, TDataTable* Table, bool Intersect) const = 0;
};

// Base of the quilt classes: unions of boxes over fields.
class TCommonQuilt : public TCondition {
  CLAVIRA_DECLARE_CLASS()

 public:
  using TCondition::TCondition;

  // FieldSet contains Field.
  bool UsesField(const TDataField* Field) const override;
  // Some field of Table (key and ordinary fields, in table order) is in
  // FieldSet.
  bool UsesTable(const TDataTable* Table) const override;
  // Quilts have no text form and no criteria form: "Not implemented!".
  void WriteToStream(std::ostream& Stream, int Indent) const override;
  std::unique_ptr<TCondition> CreateFromStream(std::istream& Stream) const override;
  platform::TMaybeOwned<TCriteria> AsCriteria() const override;
  platform::TMaybeOwned<TCriteria> AsNiceCriteria() const override;

  // The fields the quilt mentions; owned by the quilt, valid until it changes.
  virtual const TDataFieldSet& FieldSet() const = 0;
  // REQUIRES: Self.get() == this. The answer may be Self, Other or a new
  // object; an owned Other is consumed.
  virtual std::unique_ptr<TCommonQuilt> Union(std::unique_ptr<TCommonQuilt> Self,
                                              platform::TMaybeOwned<TCommonQuilt> Other) = 0;
  virtual std::unique_ptr<TCommonQuilt> Subtract(std::unique_ptr<TCommonQuilt> Self,
                                                 platform::TMaybeOwned<TCommonQuilt> Other) = 0;
  virtual std::unique_ptr<TCommonQuilt> Intersect(std::unique_ptr<TCommonQuilt> Self,
                                                  platform::TMaybeOwned<TCommonQuilt> Other) = 0;
  virtual std::unique_ptr<TCommonQuilt> CloneQuilt() const = 0;
  // An equivalent quilt of the simplest class. REQUIRES: Self.get() == this.
  virtual std::unique_ptr<TCommonQuilt> Simplify(std::unique_ptr<TCommonQuilt> Self) = 0;
  // How the sets of accepted rows relate, looking only at FieldSet: the
  // accepted rows projected onto those fields (null: all fields).
  virtual TQuiltRelation Relation(const TCommonQuilt& Other,
                                  const TDataFieldSet* FieldSet) const = 0;
  // Every row accepted by Other is accepted by this quilt.
  virtual bool Contains(const TCommonQuilt& Other) const = 0;
  // Removes all parts.
  virtual void Clear() = 0;
  // Drops every restriction on fields outside FieldSet (null: none); what
  // accepts no row stays so.
  virtual void ProjectOn(const TDataFieldSet* FieldSet) = 0;
  // Accepts every row / no row, looking only at FieldSet as in Relation.
  virtual bool IsUniverse(const TDataFieldSet* FieldSet) const = 0;
  virtual bool IsEmpty(const TDataFieldSet* FieldSet) const = 0;
};

// Free helpers for the quilt algebra (see TCommonQuilt). REQUIRES: Self given.
std::unique_ptr<TCommonQuilt> QuiltUnion(std::unique_ptr<TCommonQuilt> Self,
                                         platform::TMaybeOwned<TCommonQuilt> Other);
std::unique_ptr<TCommonQuilt> QuiltSubtract(std::unique_ptr<TCommonQuilt> Self,
                                            platform::TMaybeOwned<TCommonQuilt> Other);
std::unique_ptr<TCommonQuilt> QuiltIntersect(std::unique_ptr<TCommonQuilt> Self,
                                             platform::TMaybeOwned<TCommonQuilt> Other);
std::unique_ptr<TCommonQuilt> QuiltSimplify(std::unique_ptr<TCommonQuilt> Self);

// Operand helpers: a borrowed operand (not consumed) and an owned one.
inline platform::TMaybeOwned<TCommonQuilt> BorrowQuilt(const TCommonQuilt& Quilt) {
  return platform::TMaybeOwned<TCommonQuilt>::Borrowed(const_cast<TCommonQuilt*>(&Quilt));
}
inline platform::TMaybeOwned<TCommonQuilt> OwnQuilt(std::unique_ptr<TCommonQuilt> Quilt) {
  return platform::TMaybeOwned<TCommonQuilt>::Owned(std::move(Quilt));
}

// A private quilt of any condition, owned by the caller: the condition's
// AsCommonQuilt when that is a new object, else a CloneQuilt of it.
std::unique_ptr<TCommonQuilt> QuiltCopyOf(const TCondition& Condition);

// Raises platform::Exception "Not implemented!".
[[noreturn]] void RaiseNotImplemented();

}  // namespace dataframework
