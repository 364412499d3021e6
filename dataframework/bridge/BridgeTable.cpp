#include "dataframework/bridge/BridgeTable.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>

#include "dataframework/bridge/DbDataBridge.h"
#include "dataframework/elements/KeyField.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/DateTimeTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"

namespace dataframework::bridge {

namespace {

// Bytes a text of Size characters may take in UTF-8.
constexpr int BytesPerCharacter = 4;

}  // namespace

bool KindOfColumn(const TCatalogColumn& Column, TColumnKind& Kind) {
  switch (Column.SqlType) {
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_TINYINT:
      Kind = ckInteger;
      return true;
    case SQL_DOUBLE:
    case SQL_FLOAT:
    case SQL_REAL:
      Kind = ckDouble;
      return true;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
      // Up to four decimals fit the currency type exactly; whole numbers of
      // up to nine digits fit an integer; anything wider would lose digits.
      if (Column.Scale >= 1 && Column.Scale <= 4 && Column.Size - Column.Scale <= 14) {
        Kind = ckCurrency;
        return true;
      }
      if (Column.Scale == 0 && Column.Size >= 1 && Column.Size <= 9) {
        Kind = ckInteger;
        return true;
      }
      return false;
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
      Kind = Column.Size > 0 && Column.Size * BytesPerCharacter <= 65535 ? ckString : ckMemo;
      return true;
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR:
      Kind = ckMemo;
      return true;
    case SQL_BIT:
      Kind = ckBoolean;
      return true;
    case SQL_TYPE_DATE:
    case SQL_DATE:
      Kind = ckDate;
      return true;
    case SQL_TYPE_TIME:
    case SQL_TIME:
      Kind = ckTime;
      return true;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
      Kind = ckDateTime;
      return true;
    default:
      return false;
  }
}

const TDataType* TypeOfColumn(TColumnKind Kind, const TCatalogColumn& Column) {
  switch (Kind) {
    case ckInteger:
      return IntegerType();
    case ckDouble:
      return DoubleType();
    case ckCurrency:
      return CurrencyType();
    case ckString:
      return StringType(Column.Size * BytesPerCharacter, true);
    case ckMemo:
      return CaseSensitiveMemoType();
    case ckBoolean:
      return BooleanType();
    case ckDate:
      return DateType();
    case ckTime:
      return TimeType();
    case ckDateTime:
      return DateTimeType();
  }
  return nullptr;
}

void SplitTableName(const std::string& Name, std::string& Schema, std::string& Table) {
  const size_t dot = Name.find('.');
  Schema = dot == std::string::npos ? std::string() : Name.substr(0, dot);
  Table = dot == std::string::npos ? Name : Name.substr(dot + 1);
}

std::string QuoteIdentifier(const std::string& Name) {
  std::string out = "\"";
  for (char c : Name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

TBridgeTable::~TBridgeTable() {
  if (FBridge != nullptr && FTable) FBridge->Forget(this);
  // Rows first, then the table that locks over them, then the fields.
  FStorage.reset();
  FTable.reset();
  FFields.clear();
}

const TBridgeColumn* TBridgeTable::ColumnOf(const TDataField* Field) const {
  if (Field == nullptr) return nullptr;
  const int i = FTable->IndexOfField(Field);
  return i < 0 ? nullptr : &FColumns[static_cast<size_t>(i)];
}

std::unique_ptr<TBridgeTable> MakeBridgeTable(const std::string& Name, const std::string& SqlName,
                                              const std::vector<TCatalogColumn>& Columns,
                                              const std::vector<std::string>& KeyColumns,
                                              TUnsupportedColumns Unsupported,
                                              TDbDataBridge* Bridge) {
  if (Columns.empty()) throw EBridgeError("Table " + Name + " does not exist");
  if (KeyColumns.empty()) throw EBridgeError("Table " + Name + " has no primary key");

  std::unique_ptr<TBridgeTable> result(new TBridgeTable());
  result->FName = Name;
  result->FSqlName = SqlName;
  result->FBridge = Bridge;

  auto describe = [&](const TCatalogColumn& c, bool key) {
    TColumnKind kind;
    if (!KindOfColumn(c, kind)) {
      if (key || Unsupported == ucRefuse)
        throw EBridgeError("Column " + Name + "." + c.Name +
                           " has a type the framework cannot hold (" + c.TypeName + ")");
      result->FLeftOut.push_back(c.Name + " (" + c.TypeName + ")");
      return;
    }
    TBridgeColumn column{c.Name, kind, c.SqlType, c.Size, c.Scale, key, nullptr};
    const std::string fieldName = Name + "." + c.Name;
    const TDataType* type = TypeOfColumn(kind, c);
    if (key) {
      result->FFields.push_back(TKeyField::CreateSimpleKey(fieldName, type));
    } else {
      result->FFields.push_back(TDataField::CreateField(fieldName, type));
    }
    column.Field = result->FFields.back().get();
    result->FColumns.push_back(std::move(column));
  };

  for (const std::string& keyName : KeyColumns) {
    auto it = std::find_if(Columns.begin(), Columns.end(),
                           [&](const TCatalogColumn& c) { return c.Name == keyName; });
    if (it == Columns.end())
      throw EBridgeError("Table " + Name + ": key column " + keyName + " is not among its columns");
    describe(*it, true);
  }
  for (const TCatalogColumn& c : Columns) {
    if (std::find(KeyColumns.begin(), KeyColumns.end(), c.Name) == KeyColumns.end())
      describe(c, false);
  }

  std::vector<TDataField*> keys, fields;
  for (const TBridgeColumn& c : result->FColumns) (c.Key ? keys : fields).push_back(c.Field);
  result->FTable = TDataTable::CreateTable(Name, nullptr, keys, fields, nullptr);
  result->FStorage = std::make_unique<TBridgeRowStorage>(result->FTable.get());
  return result;
}

}  // namespace dataframework::bridge
