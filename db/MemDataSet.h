// TMemDataSet: an in-memory data set holding a copy of another data set's
// structure and records. It accepts edits (kept in memory).
#pragma once

#include "db/DataSet.h"

namespace db {

class TMemDataSet : public TDataSet {
 public:
  TMemDataSet() = default;

  // Replaces the content by a copy of Source: its fields (unless this set has
  // fields of its own, which then must match by name) and all its records
  // from the first on. The current record becomes the first.
  void LoadFromDataSet(const TDataSet& Source);
  // Declares a field before loading.
  TField& DefineField(const std::string& name, TFieldType dataType, int size = 0) {
    return AddField(name, dataType, size);
  }

  bool CanModify() const override { return true; }
};

}  // namespace db
