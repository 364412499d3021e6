// TSubTotalChildren: the children of a subtotal row, kept sorted by key.
//
// One entry per child: the child's key value (of the list's data type) and
// the child row, which may be none while a deleting walk is under way (the
// key stays until the tree is pruned). Keys are unique.
//
// Memory: keys and rows are kept in arrays of their own, so that the binary
// search reads only keys and an insertion moves as few bytes as it can (a
// storage holds one entry per stored row): a row pointer plus 4 bytes for a
// key of the plain integer type, 8 data bytes for the other non-text kinds,
// or one shared-text pointer for the text kinds.
//
// Ownership: the list owns neither the rows (TSubTotalRow frees them) nor
// its data type (a process-wide object). It owns the key texts.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/types/DataTypeCore.h"

namespace dataframework {

class TSubTotalChildren {
 public:
  // REQUIRES: DataType != nullptr.
  explicit TSubTotalChildren(const TDataType* DataType);
  ~TSubTotalChildren();
  TSubTotalChildren(const TSubTotalChildren&) = delete;
  TSubTotalChildren& operator=(const TSubTotalChildren&) = delete;

  const TDataType* DataType() const noexcept { return FDataType; }
  int Count() const noexcept { return static_cast<int>(FRows.size()); }
  // The row of entry Index (none for a key without row).
  // REQUIRES: 0 <= Index < Count (unchecked).
  TAbstractRow* Row(int Index) const noexcept { return FRows[Index]; }
  void SetRow(int Index, TAbstractRow* Row) noexcept { FRows[Index] = Row; }
  // The key of entry Index as a value of the list's type.
  void GetKey(int Index, TValue& Key) const;
  TValue Key(int Index) const;

  // Binary search: true when Key (converted to the list's type) is present;
  // Index is its position, or where it would be inserted. A key that cannot
  // be converted is not present (Index 0).
  bool Find(const TValue& Key, int& Index) const;
  // Position of the entry whose row is Row, or -1 (linear search).
  int IndexOfRow(const TAbstractRow* Row) const;
  // Inserts (Key, Row) at Index (the position Find gave).
  void Insert(int Index, const TValue& Key, TAbstractRow* Row);
  // Adds (Key, Row) at its sorted place; the position.
  // REQUIRES: Key not present.
  int Add(const TValue& Key, TAbstractRow* Row);
  void Delete(int Index);
  // Drops every entry without row, in one pass; the number dropped.
  int DeleteEmpty();
  void Clear() noexcept;
  // Key values only (for the running-number generator and tests).
  void CopyKeysTo(std::vector<TValue>& Keys) const;

 private:
  using TKeyData = std::array<unsigned char, 8>;
  // Key converted to the list's type; false when it cannot be converted.
  bool Convert(const TValue& Key, TValue& Converted) const;
  // Compares entry Index with V (a value of the list's type).
  int CompareAt(int Index, const TValue& V) const;

  std::vector<TAbstractRow*> FRows;
  // Exactly one of the key arrays is used, by the kind of the keys.
  std::vector<int32_t> FIntegers;   // the plain integer type
  std::vector<TKeyData> FData;      // other non-text kinds: the data bytes
  std::vector<TSharedText> FTexts;  // text kinds
  const TDataType* FDataType;
  bool FTextKeys;     // the type keeps its values in the text part
  bool FIntegerKeys;  // the plain integer type: compared in place
};

}  // namespace dataframework
