// TBridgeTable: a database table as the framework sees it. It owns the
// data fields made for the table's columns, the TDataTable over them (one
// TKeyField per primary-key column in key order, then one TDataField per
// other column) and the row storage that holds the loaded part.
//
// Tables are made by describing them from the database's catalog
// (TDbDataBridge::Describe); MakeBridgeTable turns the catalog's answer
// into the table and is where every refusal is decided: no columns
// (unknown table), no primary key, a column type the framework cannot
// hold (unless the caller chose to leave such columns out; a key column
// can never be left out).
//
// Ownership: the bridge table owns its fields, table and storage and frees
// them storage first. Field names are "<table>.<column>".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dataframework/bridge/BridgeRowStorage.h"
#include "dataframework/bridge/ColumnValues.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataTable.h"

namespace dataframework::bridge {

class TDbDataBridge;

// One column as the catalog describes it (ODBC's SQLColumns terms).
struct TCatalogColumn {
  std::string Name;
  int SqlType = 0;  // ODBC SQL data type (SQL_INTEGER, SQL_TYPE_DATE, ...)
  std::string TypeName;
  int Size = 0;   // characters for texts, precision for numbers
  int Scale = 0;  // decimal digits
};

// A column of a bridge table; its position in Columns is its field's
// position in the table.
struct TBridgeColumn {
  std::string Name;
  TColumnKind Kind = ckInteger;
  int SqlType = 0;
  int Size = 0;
  int Scale = 0;
  bool Key = false;
  TDataField* Field = nullptr;  // owned by the bridge table
};

enum TUnsupportedColumns : uint8_t {
  ucRefuse,   // a column the framework cannot hold is an error
  ucLeaveOut  // such a (non-key) column is left out of the table
};

class TBridgeTable {
 public:
  ~TBridgeTable();
  TBridgeTable(const TBridgeTable&) = delete;
  TBridgeTable& operator=(const TBridgeTable&) = delete;

  // The name as given ("t" or "schema.t") and as the statements write it
  // (each part quoted as the catalog spells it).
  const std::string& Name() const noexcept { return FName; }
  const std::string& SqlName() const noexcept { return FSqlName; }
  TDataTable& Table() const noexcept { return *FTable; }
  TBridgeRowStorage& Storage() const noexcept { return *FStorage; }
  const std::vector<TBridgeColumn>& Columns() const noexcept { return FColumns; }
  int KeyCount() const noexcept { return FTable->KeyCount(); }
  // The column of a table field, or null when Field is none of them.
  const TBridgeColumn* ColumnOf(const TDataField* Field) const;
  // Columns left out by ucLeaveOut, as "<column> (<type name>)".
  const std::vector<std::string>& LeftOut() const noexcept { return FLeftOut; }
  // The bridge that described the table (it must outlive the table).
  TDbDataBridge* Bridge() const noexcept { return FBridge; }

 private:
  friend std::unique_ptr<TBridgeTable> MakeBridgeTable(const std::string&, const std::string&,
                                                       const std::vector<TCatalogColumn>&,
                                                       const std::vector<std::string>&,
                                                       TUnsupportedColumns, TDbDataBridge*);
  TBridgeTable() = default;

  std::string FName;
  std::string FSqlName;
  std::vector<std::unique_ptr<TDataField>> FFields;
  std::unique_ptr<TDataTable> FTable;
  std::unique_ptr<TBridgeRowStorage> FStorage;
  std::vector<TBridgeColumn> FColumns;
  std::vector<std::string> FLeftOut;
  TDbDataBridge* FBridge = nullptr;
};

// The kind that holds a column, or false when the framework cannot hold it.
bool KindOfColumn(const TCatalogColumn& Column, TColumnKind& Kind);
// The framework type of a column of Kind.
const TDataType* TypeOfColumn(TColumnKind Kind, const TCatalogColumn& Column);
// "schema.table" -> schema and table ("t" -> "" and "t").
void SplitTableName(const std::string& Name, std::string& Schema, std::string& Table);
// "name" with every " doubled.
std::string QuoteIdentifier(const std::string& Name);

// The bridge table for a described table. Columns in the catalog's order;
// KeyColumns the primary-key column names in key order. Raises EBridgeError
// "Table <name> does not exist" (no columns), "Table <name> has no primary
// key", "Column <name>.<column> has a type the framework cannot hold
// (<type>)" (ucRefuse, or a key column).
std::unique_ptr<TBridgeTable> MakeBridgeTable(const std::string& Name, const std::string& SqlName,
                                              const std::vector<TCatalogColumn>& Columns,
                                              const std::vector<std::string>& KeyColumns,
                                              TUnsupportedColumns Unsupported,
                                              TDbDataBridge* Bridge);

}  // namespace dataframework::bridge
