#include "db/DataSet.h"

#include "db/Errors.h"
#include "platform/TextUtils.h"

namespace db {
namespace {
const TVariant kNull;
}

const TVariant& TField::Value() const {
  if (FDataSet->Eof()) return kNull;
  return FDataSet->FRecords[FDataSet->FRecNo][FIndex];
}

void TField::SetValue(const TVariant& v) {
  if (!FDataSet->CanModify()) throw EDatabaseError("Cannot modify a read-only dataset");
  if (FDataSet->Eof()) throw EDatabaseError("Dataset not in edit or insert mode");
  FDataSet->FRecords[FDataSet->FRecNo][FIndex] = v;
}

TField* TDataSet::FindField(const std::string& name) const {
  for (auto& f : FFields)
    if (platform::SameText(f->FieldName(), name)) return f.get();
  return nullptr;
}

TField& TDataSet::FieldByName(const std::string& name) const {
  if (TField* f = FindField(name)) return *f;
  throw EDatabaseError(platform::FormatMessage("Field '%s' not found", {name}));
}

TField& TDataSet::AddField(const std::string& name, TFieldType dataType, int size) {
  FFields.push_back(
      std::make_unique<TField>(this, name, dataType, size, static_cast<int>(FFields.size())));
  return *FFields.back();
}

void TDataSet::AppendRecord(std::vector<TVariant> values) {
  values.resize(FFields.size());
  FRecords.push_back(std::move(values));
}

void TDataSet::ClearData() {
  FFields.clear();
  FRecords.clear();
  FRecNo = 0;
  FActive = false;
}

}  // namespace db
