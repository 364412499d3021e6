// TRowStorageTreeKey: one level of a row storage's tree.
//
// Level i (0 ... TreeKeyCount - 1) groups its rows by Field; the children of
// a subtotal row at level i are kept in the order of their Field value. The
// last tree key of a storage is the data level: it has no field, and its
// Visible flag says whether data rows are shown in the view.
//
// Ownership: owned by its storage (TreeKeys); borrows the storage and the
// fields.
#pragma once

#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/types/DataTypeCore.h"
#include "dataframework/types/DataTypes.h"

namespace dataframework {

class TRowStorageTreeKey {
 public:
  // The data level key: no field, visible.
  explicit TRowStorageTreeKey(TAbstractRowStorage& Storage);
  // A grouping level: not visible until SetVisible.
  TRowStorageTreeKey(TAbstractRowStorage& Storage, TSortOrder Direction, TDataField* SortField,
                     TDataField* Field);

  // LevelIndex := the key's position among the storage's tree keys;
  // FieldIndex := the field's position in the storage's table (-1 when the
  // table lacks it, and for the data level). Asserts the storage has a table.
  void Bind();

  // The key of Row at this level: by position when the table has the field;
  // else a data row's field value, or a subtotal row's TreeKeyValue (a
  // subtotal that cannot name it means a corrupt tree: fatal DataError).
  // REQUIRES: Row given (asserted).
  void GetValue(const TAbstractRow* Row, TValue& Value) const;

  // Visible := Value; the rows of this level in the tree follow; the
  // storage's LastChange moves on.
  void SetVisible(bool Value);
  bool IsDataLevel() const noexcept { return FField == nullptr; }

  TAbstractRowStorage& Storage() const noexcept { return FStorage; }
  TDataField* Field() const noexcept { return FField; }
  TDataField* SortField() const noexcept { return FSortField; }
  TSortOrder Direction() const noexcept { return FDirection; }
  int LevelIndex() const noexcept { return FLevelIndex; }
  int FieldIndex() const noexcept { return FFieldIndex; }
  bool Visible() const noexcept { return FVisible; }

 private:
  TAbstractRowStorage& FStorage;
  TDataField* FField = nullptr;
  TDataField* FSortField = nullptr;
  TSortOrder FDirection = soAscending;
  int FLevelIndex = -1;
  int FFieldIndex = -1;
  bool FVisible = true;
};

}  // namespace dataframework
