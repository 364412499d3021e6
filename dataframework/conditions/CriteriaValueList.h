// TCriteriaValueList: the sorted list of closed intervals inside a criteria
// field, and its item record TCritValueItem.
//
// An item [StartValue, EndValue] is closed at both ends; a single value v is
// stored as [v, v]. Items are kept sorted ascending by StartValue, ordered by
// the Compare of the data type of the list's field. The list itself does not
// merge or validate: TCriteriaField keeps its items disjoint.
//
// Growth: when the array is full the capacity becomes 16 if it was below
// 16, else twice the old capacity; emptying the list releases the array.
//
// Ownership: the list owns its items; it borrows its field, which must
// outlive it. REQUIRES: Field is given (assertion
// "TCriteriaValueList.Create: Field <> nil").
#pragma once

#include <vector>

#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/types/DataTypeCore.h"
#include "platform/Object.h"

namespace dataframework {

struct TCritValueItem {
  TValue StartValue;
  TValue EndValue;
};

class TCriteriaValueList : public platform::TObject {
 public:
  explicit TCriteriaValueList(TDataField* Field);
  ~TCriteriaValueList() override;
  // A copy of the items and of the field reference (capacity follows the
  // growth rule for the copied count).
  TCriteriaValueList(const TCriteriaValueList& Other);
  TCriteriaValueList& operator=(const TCriteriaValueList& Other);

  // Binary search on StartValue. True when an item starts at Value; Index is
  // that item, otherwise the insertion position.
  bool Find(const TValue& Value, int& Index) const;
  // The index of the item starting at Value; when there is none, [Value,
  // Value] is inserted at its sorted position and that position returned.
  int Add(const TValue& Value);
  // Add(Start), then that item's end := End; returns the index.
  int AddInterval(const TValue& Start, const TValue& End);
  // Inserts [Value, Value] at Index, moving later items up.
  // REQUIRES: 0 <= Index <= Count (EListError "SListIndexError" otherwise).
  void Insert(int Index, const TValue& Value);
  // StartValue of item Index; out of range: EListError "SListIndexError".
  const TValue& Get(int Index) const;
  // EndValue of item Index; out of range: EAssertionFailed
  // "TCriteriaValueList.Get2: (Index >= 0) and (Index < FCount), Index: <i>".
  const TValue& Get2(int Index) const;
  // Sets EndValue of item Index; out of range: EAssertionFailed
  // "TCriteriaValueList.Put2: (Index >= 0) and (Index < FCount), Index: <i>".
  void Put2(int Index, const TValue& Value);
  // Removes item Index; out of range: EAssertionFailed
  // "TCriteriaValueList.Delete: (Index >= 0) and (Index < FCount), Index: <i>".
  void Delete(int Index);
  // True when Value starts an item, or lies at or below the end of the item
  // before its insertion position. Value is compared without conversion.
  bool Contains(const TValue& Value) const;
  // Removes every item and releases the array.
  void Clear();
  // Takes Other's items (not its field).
  void AssignItems(const TCriteriaValueList& Other);

  int Count() const noexcept { return FCount; }
  int Capacity() const noexcept { return FCapacity; }
  TDataField* Field() const noexcept { return FField; }
  // The data type that orders the values (the field's data type).
  const TDataType* DataType() const;

 private:
  void Grow();
  int CompareValues(const TValue& A, const TValue& B) const;

  std::vector<TCritValueItem> FItems;  // FItems.size() == FCount
  int FCount = 0;
  int FCapacity = 0;
  TDataField* FField;
};

}  // namespace dataframework
