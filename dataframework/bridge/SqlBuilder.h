// TSqlBuilder: statement text with bound parameters. Values never enter the
// text: each one becomes a placeholder ("?" for ODBC, "$n" for libpq) and a
// parameter carrying the value's server text and its column.
//
// The Append* functions write the conditions of the bridge's statements:
// a quilt as an OR of patches, each an AND over its fields, each field an
// OR of its intervals (open, closed and infinite ends) with single values
// gathered into one IN list; and the match of a list of rows by key.
// Texts are compared in the collation the builder was given (on
// PostgreSQL "C", the byte order the framework sorts texts in).
#pragma once

#include <string>
#include <vector>

#include "dataframework/bridge/BridgeTable.h"
#include "dataframework/conditions/Quilt.h"

namespace dataframework::bridge {

struct TSqlParam {
  const TBridgeColumn* Column = nullptr;  // borrowed from the bridge table
  std::string Text;
  bool IsNull = false;
};

class TSqlBuilder {
 public:
  enum TPlaceholders : uint8_t { phQuestionMark, phDollar };
  TSqlBuilder(TPlaceholders Style, std::string TextCollation)
      : FStyle(Style), FCollation(std::move(TextCollation)) {}

  std::string Text;
  std::vector<TSqlParam> Params;

  TSqlBuilder& operator<<(const std::string& Sql) {
    Text += Sql;
    return *this;
  }
  // A placeholder for Value as a value of Column.
  void AddParam(const TBridgeColumn& Column, const TValue& Value);
  void AddNull(const TBridgeColumn& Column);
  // Whether one parameter can carry a list of values (PostgreSQL's arrays).
  bool TakesArrays() const { return FStyle == phDollar; }
  // One array parameter of Values as values of Column ("$n::type[]").
  // REQUIRES: TakesArrays().
  void AddArrayParam(const TBridgeColumn& Column, const std::vector<TValue>& Values);
  // The column's quoted name, with the collation for texts.
  std::string ColumnRef(const TBridgeColumn& Column) const;
  void Clear() {
    Text.clear();
    Params.clear();
  }

 private:
  TPlaceholders FStyle;
  std::string FCollation;
};

// The condition of Quilt on Table's columns ("1=0" for a quilt without
// patches). Raises EBridgeError "Field <name> is not a column of <table>"
// for a quilt field on another field.
void AppendQuiltCondition(TSqlBuilder& Sql, const TBridgeTable& Table, const TQuilt& Quilt);
// (k1 = ? AND k2 = ? ...) OR ... for the keys of Rows (at least one).
void AppendKeyMatch(TSqlBuilder& Sql, const TBridgeTable& Table,
                    const std::vector<const TAbstractRow*>& Rows);
// "SELECT <every column> FROM <table>".
std::string SelectList(const TBridgeTable& Table);
// " ORDER BY <keys>" in the collation of the builder.
std::string KeyOrder(const TSqlBuilder& Sql, const TBridgeTable& Table);

}  // namespace dataframework::bridge
