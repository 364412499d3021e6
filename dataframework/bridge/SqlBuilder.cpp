#include "dataframework/bridge/SqlBuilder.h"

#include "dataframework/conditions/QuiltField.h"
#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/elements/AbstractRow.h"

namespace dataframework::bridge {

void TSqlBuilder::AddParam(const TBridgeColumn& Column, const TValue& Value) {
  Params.push_back({&Column, TextOfValue(Column.Kind, Value), false});
  Text += FStyle == phDollar ? "$" + std::to_string(Params.size()) : std::string("?");
}

void TSqlBuilder::AddNull(const TBridgeColumn& Column) {
  Params.push_back({&Column, {}, true});
  Text += FStyle == phDollar ? "$" + std::to_string(Params.size()) : std::string("?");
}

void TSqlBuilder::AddArrayParam(const TBridgeColumn& Column, const std::vector<TValue>& Values) {
  std::string text = "{";
  for (size_t i = 0; i < Values.size(); ++i) {
    if (i > 0) text += ',';
    text += '"';
    for (char c : TextOfValue(Column.Kind, Values[i])) {
      if (c == '"' || c == '\\') text += '\\';
      text += c;
    }
    text += '"';
  }
  text += '}';
  Params.push_back({&Column, std::move(text), false});
  const char* type = "text";
  switch (Column.Kind) {
    case ckInteger:
      type = "integer";
      break;
    case ckDouble:
      type = "double precision";
      break;
    case ckCurrency:
      type = "numeric";
      break;
    case ckBoolean:
      type = "boolean";
      break;
    case ckDate:
      type = "date";
      break;
    case ckTime:
      type = "time";
      break;
    case ckDateTime:
      type = "timestamp";
      break;
    case ckString:
    case ckMemo:
      break;
  }
  Text += "$" + std::to_string(Params.size()) + "::" + type + "[]";
}

std::string TSqlBuilder::ColumnRef(const TBridgeColumn& Column) const {
  std::string ref = QuoteIdentifier(Column.Name);
  if ((Column.Kind == ckString || Column.Kind == ckMemo) && !FCollation.empty())
    ref += " COLLATE " + QuoteIdentifier(FCollation);
  return ref;
}

namespace {

bool IsSingleValue(const TDataType& Type, const TQuiltValueItem& Item) {
  return !Item.StartPoint.Infinite && !Item.EndPoint.Infinite && Item.StartPoint.Closed &&
         Item.EndPoint.Closed && Type.ValuesEqual(Item.StartPoint.Value, Item.EndPoint.Value);
}

// Value lists longer than this go to PostgreSQL as one array parameter.
constexpr size_t kListAsArrayFrom = 100;

// Writes the field's condition; false when the field accepts every value
// (nothing written).
bool AppendFieldCondition(TSqlBuilder& Sql, const TBridgeColumn& Column, const TQuiltField& QF) {
  if (!QF.Restricted()) return false;
  const TQuiltValueList& list = QF.ValueList();
  if (list.Count() == 0) {
    Sql << "1=0";
    return true;
  }
  const std::string ref = Sql.ColumnRef(Column);
  std::vector<int> singles;
  std::vector<int> ranges;
  for (int i = 0; i < list.Count(); ++i)
    (IsSingleValue(list.DataType(), list.Item(i)) ? singles : ranges).push_back(i);
  bool universe = false;
  for (int i : ranges) {
    const TQuiltValueItem& item = list.Item(i);
    if (item.StartPoint.Infinite && item.EndPoint.Infinite) universe = true;
  }
  if (universe) return false;
  // A NULL is loaded as its stand-in value (NullValue): where the condition
  // accepts that value it accepts the NULL rows too, so the rows loaded are
  // exactly those the storage's own condition then finds.
  const bool nulls =
      !Column.Key &&
      QF.AcceptsValue(Column.Field, NullValue(Column.Kind, Column.Field->DataType()));
  if (nulls) Sql << "(";
  const bool several = singles.size() + ranges.size() > 1;
  if (several) Sql << "(";
  bool first = true;
  if (!singles.empty()) {
    first = false;
    if (singles.size() > kListAsArrayFrom && Sql.TakesArrays()) {
      // A long list is one parameter: statements take at most 65,535.
      std::vector<TValue> values;
      values.reserve(singles.size());
      for (int i : singles) values.push_back(list.Item(i).StartPoint.Value);
      Sql << ref << " = ANY(";
      Sql.AddArrayParam(Column, values);
      Sql << ")";
    } else if (singles.size() == 1) {
      Sql << ref << " = ";
      Sql.AddParam(Column, list.Item(singles[0]).StartPoint.Value);
    } else {
      Sql << ref << " IN (";
      for (size_t n = 0; n < singles.size(); ++n) {
        if (n > 0) Sql << ", ";
        Sql.AddParam(Column, list.Item(singles[n]).StartPoint.Value);
      }
      Sql << ")";
    }
  }
  for (int i : ranges) {
    const TQuiltValueItem& item = list.Item(i);
    if (!first) Sql << " OR ";
    first = false;
    Sql << "(";
    if (!item.StartPoint.Infinite) {
      Sql << ref << (item.StartPoint.Closed ? " >= " : " > ");
      Sql.AddParam(Column, item.StartPoint.Value);
    }
    if (!item.EndPoint.Infinite) {
      if (!item.StartPoint.Infinite) Sql << " AND ";
      Sql << ref << (item.EndPoint.Closed ? " <= " : " < ");
      Sql.AddParam(Column, item.EndPoint.Value);
    }
    Sql << ")";
  }
  if (several) Sql << ")";
  if (nulls) Sql << " OR " << QuoteIdentifier(Column.Name) << " IS NULL)";
  return true;
}

}  // namespace

void AppendQuiltCondition(TSqlBuilder& Sql, const TBridgeTable& Table, const TQuilt& Quilt) {
  if (Quilt.PatchCount() == 0) {
    Sql << "1=0";
    return;
  }
  Sql << "(";
  for (int p = 0; p < Quilt.PatchCount(); ++p) {
    if (p > 0) Sql << " OR ";
    const TQuiltPatch& patch = *Quilt.Patches(p);
    Sql << "(";
    bool any = false;
    for (TQuiltFieldIterator it = patch.Iterator(); !it.Eof(); it.Next()) {
      const TBridgeColumn* column = Table.ColumnOf(it.Field());
      if (column == nullptr)
        throw EBridgeError("Field " + it.Field()->FieldName() + " is not a column of " +
                           Table.Name());
      const size_t mark = Sql.Text.size();
      if (any) Sql << " AND ";
      if (AppendFieldCondition(Sql, *column, *it.QuiltField())) {
        any = true;
      } else {
        Sql.Text.resize(mark);
      }
    }
    if (!any) Sql << "1=1";
    Sql << ")";
  }
  Sql << ")";
}

void AppendKeyMatch(TSqlBuilder& Sql, const TBridgeTable& Table,
                    const std::vector<const TAbstractRow*>& Rows) {
  const auto& columns = Table.Columns();
  Sql << "(";
  for (size_t r = 0; r < Rows.size(); ++r) {
    if (r > 0) Sql << " OR ";
    Sql << "(";
    for (int k = 0; k < Table.KeyCount(); ++k) {
      if (k > 0) Sql << " AND ";
      Sql << QuoteIdentifier(columns[static_cast<size_t>(k)].Name) << " = ";
      Sql.AddParam(columns[static_cast<size_t>(k)], Rows[r]->ValueAt(k));
    }
    Sql << ")";
  }
  Sql << ")";
}

std::string SelectList(const TBridgeTable& Table) {
  std::string sql = "SELECT ";
  bool first = true;
  for (const TBridgeColumn& c : Table.Columns()) {
    if (!first) sql += ", ";
    first = false;
    sql += QuoteIdentifier(c.Name);
  }
  return sql + " FROM " + Table.SqlName();
}

std::string KeyOrder(const TSqlBuilder& Sql, const TBridgeTable& Table) {
  std::string order = " ORDER BY ";
  for (int k = 0; k < Table.KeyCount(); ++k) {
    if (k > 0) order += ", ";
    order += Sql.ColumnRef(Table.Columns()[static_cast<size_t>(k)]);
  }
  return order;
}

}  // namespace dataframework::bridge
