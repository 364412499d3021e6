#include "grid/tests/GridFixture.h"

#include "dataframework/elements/DataField.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/SubTotalRow.h"

namespace grid::test {

using namespace dataframework;

void MakeSalesTable(TPgSession& Db) {
  Db.Exec(
      "DROP TABLE IF EXISTS sales;"
      "CREATE TABLE sales (region varchar(10), product varchar(20), month integer,"
      " amount double precision, quantity integer, PRIMARY KEY (region, product, month));"
      "INSERT INTO sales VALUES"
      " ('north', 'apple', 1, 10, 1), ('north', 'apple', 2, 20, 1), ('north', 'apple', 3, 30, 1),"
      " ('north', 'pear', 1, 5, 2), ('south', 'apple', 1, 100, 3), ('south', 'apple', 2, 200, 4),"
      " ('south', 'kiwi,\"gold\"', 1, 7.5, 5);");
}

std::string Cell(const TAbstractRow& Row, TDataField* Field) {
  return ValueAsString(Row.ValueOf(Field));
}

std::vector<std::string> Rows(const TGridDocument& Document) {
  static const char* const kStates[] = {"unchanged", "modified", "deleted",
                                        "inserted",  "extern",   "controlled"};
  std::vector<TDataRow*> rows;
  Document.CollectDataRows(Document.Storage().Root(), rows);
  const auto fields = Document.Fields();
  std::vector<std::string> lines;
  for (TDataRow* row : rows) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
      line += Cell(*row, fields[i]);
      line += i + 1 < 3 ? "/" : " ";
    }
    lines.push_back(line + kStates[row->State()]);
  }
  return lines;
}

std::vector<std::string> View(const TGridDocument& Document) {
  auto& storage = Document.Storage();
  storage.Refresh();
  std::vector<std::string> lines;
  for (int i = 0; i < storage.RowCount(); ++i) {
    TAbstractRow* row = storage.GetRow(i);
    std::string line;
    if (row->IsSubTotal()) {
      const TKeyValues path = Document.GroupPath(*static_cast<TSubTotalRow*>(row));
      line = "S" + std::to_string(path.size()) + ":";
      for (size_t k = 0; k < path.size(); ++k) line += (k ? "/" : "") + ValueAsString(path[k]);
    } else {
      const TKeyValues key = Document.KeyOf(*row);
      for (size_t k = 0; k < key.size(); ++k) line += (k ? "/" : "") + ValueAsString(key[k]);
    }
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::vector<std::string>> ReadCsv(const std::string& Text) {
  std::vector<std::vector<std::string>> records;
  std::vector<std::string> record;
  std::string field;
  bool quoted = false, any = false;
  for (size_t i = 0; i < Text.size(); ++i) {
    const char c = Text[i];
    if (quoted) {
      if (c == '"' && i + 1 < Text.size() && Text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
      any = true;
    } else if (c == ',') {
      record.push_back(field);
      field.clear();
    } else if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') {
      record.push_back(field);
      records.push_back(record);
      record.clear();
      field.clear();
      ++i;
    } else {
      field += c;
      any = true;
    }
  }
  EXPECT_FALSE(quoted) << "an open quote at the end";
  if (!field.empty() || !record.empty() || (any && records.empty())) {
    record.push_back(field);
    records.push_back(record);
    ADD_FAILURE() << "the last record does not end with CRLF";
  }
  return records;
}

void GridTest::SetUp() {
  Db = std::make_unique<TPgSession>();
  MakeSalesTable(*Db);
  Bridge = dataframework::bridge::test::MakeBridge(dataframework::bridge::test::ePg);
  Doc = std::make_unique<TGridDocument>(*Bridge);
}

void GridTest::TearDown() {
  Doc.reset();
  Bridge.reset();
  Db.reset();
}

}  // namespace grid::test
