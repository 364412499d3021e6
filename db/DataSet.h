// In-memory result sets: columns (TField) over records fetched in full.
//
// A TDataSet owns its fields and records. Right after loading, the first
// record is current. Engine stored procedure objects derive from it, so the
// object that ran the procedure is also its result set.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "db/FieldType.h"
#include "db/Variant.h"

namespace db {

class TDataSet;

// One column of a data set; reads the current record. A null column, and any
// column while there is no current record, reads as "", 0 and 0.0.
class TField {
 public:
  TField(TDataSet* dataSet, std::string fieldName, TFieldType dataType, int size, int index)
      : FDataSet(dataSet),
        FFieldName(std::move(fieldName)),
        FDataType(dataType),
        FSize(size),
        FIndex(index) {}

  const std::string& FieldName() const { return FFieldName; }
  TFieldType DataType() const { return FDataType; }
  int Size() const { return FSize; }
  int Index() const { return FIndex; }

  const TVariant& Value() const;
  bool IsNull() const { return VarIsNull(Value()); }
  std::string AsString() const { return VarToStr(Value()); }
  int32_t AsInteger() const { return VarToInt(Value()); }
  int64_t AsLargeInt() const { return VarToInt64(Value()); }
  double AsFloat() const { return VarToFloat(Value()); }
  double AsDateTime() const { return VarToDateTime(Value()); }

  // Edits the current record in memory; fails with EDatabaseError when the
  // data set does not accept changes or has no current record.
  void SetValue(const TVariant& v);
  void SetAsString(const std::string& v) { SetValue(v); }
  void SetAsInteger(int32_t v) { SetValue(v); }
  void Clear() { SetValue(std::monostate{}); }

 private:
  TDataSet* FDataSet;
  std::string FFieldName;
  TFieldType FDataType;
  int FSize;
  int FIndex;
};

class TDataSet {
 public:
  TDataSet() = default;
  virtual ~TDataSet() = default;
  TDataSet(const TDataSet&) = delete;
  TDataSet& operator=(const TDataSet&) = delete;

  bool Active() const { return FActive; }
  bool IsEmpty() const { return FRecords.empty(); }
  int RecordCount() const { return static_cast<int>(FRecords.size()); }
  // 1-based number of the current record; 0 when there is none.
  int RecNo() const { return Eof() ? 0 : static_cast<int>(FRecNo) + 1; }

  void First() { FRecNo = 0; }
  void Next() {
    if (FRecNo < FRecords.size()) ++FRecNo;
  }
  bool Eof() const { return FRecNo >= FRecords.size(); }

  int FieldCount() const { return static_cast<int>(FFields.size()); }
  TField& Fields(int index) { return *FFields.at(index); }
  const TField& Fields(int index) const { return *FFields.at(index); }
  // Case-insensitive; the first match wins. nullptr when there is none.
  TField* FindField(const std::string& name) const;
  // As FindField, but fails with EDatabaseError "Field '%s' not found".
  TField& FieldByName(const std::string& name) const;

  // Whether edits of the records are accepted (kept in memory only).
  virtual bool CanModify() const { return false; }

  // The value of column `index` in record `recNo` (0-based).
  const TVariant& RecordValue(int recNo, int index) const { return FRecords.at(recNo).at(index); }

 protected:
  // Adds a column; records added later carry one value per column.
  TField& AddField(const std::string& name, TFieldType dataType, int size);
  void AppendRecord(std::vector<TVariant> values);
  void SetActive(bool active) { FActive = active; }
  // Drops fields and records.
  void ClearData();

 private:
  friend class TField;
  std::vector<std::unique_ptr<TField>> FFields;
  std::vector<std::vector<TVariant>> FRecords;
  size_t FRecNo = 0;
  bool FActive = false;
};

}  // namespace db
