// TKeyField: a data field that identifies rows (a table's key area) and is
// offered as a value list in user interfaces. It differs from TDataField by
// its defaults only: not aggregable, with combo, selections and reports.
//
// Ownership: as TDataField. The text fields given to CreateKey are borrowed;
// ParentKey is borrowed and gets this key as a dependent child.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dataframework/elements/DataField.h"

namespace dataframework {

class TKeyField : public TDataField {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Field defaults, then: not aggregable, HasCombo, AllowSelections,
  // IsReportable, width -1, no parent key.
  explicit TKeyField(platform::TComponent* Owner);
  // CreateKey: CreateField(Name, DataType), then not aggregable, DisplayValues
  // and HasCombo as given, selections and reports allowed, DisplayWidth as
  // given or (for -1) the type's data size + 25, the text fields and the
  // parent key set. REQUIRES: DataType is given.
  TKeyField(const std::string& Name, const TDataType* DataType,
            const std::vector<TDataField*>& TextFields, TDisplayValues DisplayValues, bool HasCombo,
            int DisplayWidth, TDataField* ParentKey);
  ~TKeyField() override;

  static std::unique_ptr<TKeyField> CreateKey(const std::string& Name, const TDataType* DataType,
                                              const std::vector<TDataField*>& TextFields,
                                              TDisplayValues DisplayValues, bool HasCombo,
                                              int DisplayWidth, TDataField* ParentKey);
  // CreateKey(Name, DataType, [none], dvKeyOnly, false, -1, none).
  static std::unique_ptr<TKeyField> CreateSimpleKey(const std::string& Name,
                                                    const TDataType* DataType);
};

}  // namespace dataframework
