#include "db/MemDataSet.h"

#include "db/Errors.h"

namespace db {

void TMemDataSet::LoadFromDataSet(const TDataSet& Source) {
  if (&Source == this) return;
  // Fields declared beforehand take their values from the source's fields of
  // the same name; without any, the source's structure is copied.
  std::vector<int> sourceIndex;
  if (FieldCount() == 0) {
    for (int i = 0; i < Source.FieldCount(); ++i) {
      const TField& f = Source.Fields(i);
      AddField(f.FieldName(), f.DataType(), f.Size());
      sourceIndex.push_back(i);
    }
  } else {
    for (int i = 0; i < FieldCount(); ++i)
      sourceIndex.push_back(Source.FieldByName(Fields(i).FieldName()).Index());
  }
  std::vector<std::vector<TVariant>> records;
  for (int r = 0; r < Source.RecordCount(); ++r) {
    std::vector<TVariant> values;
    values.reserve(sourceIndex.size());
    for (int i : sourceIndex) values.push_back(Source.RecordValue(r, i));
    records.push_back(std::move(values));
  }
  // Keep the declared fields, replace the records.
  std::vector<std::tuple<std::string, TFieldType, int>> fields;
  for (int i = 0; i < FieldCount(); ++i)
    fields.emplace_back(Fields(i).FieldName(), Fields(i).DataType(), Fields(i).Size());
  ClearData();
  for (auto& [name, type, size] : fields) AddField(name, type, size);
  for (auto& r : records) AppendRecord(std::move(r));
  SetActive(true);
}

}  // namespace db
