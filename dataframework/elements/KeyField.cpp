#include "dataframework/elements/KeyField.h"

namespace dataframework {

const platform::TClass& TKeyField::StaticClass() {
  static const platform::TClass Class("TKeyField", &TDataField::StaticClass(), "DataElements");
  return Class;
}

TKeyField::TKeyField(platform::TComponent* Owner) : TDataField(Owner) {
  SetIsAggregable(false);
  SetHasCombo(true);
  SetAllowSelections(true);
  SetIsReportable(true);
  SetDisplayWidth(-1);
  SetParentKey(nullptr);
}

TKeyField::TKeyField(const std::string& Name, const TDataType* DataType,
                     const std::vector<TDataField*>& TextFields, TDisplayValues DisplayValues,
                     bool HasCombo, int DisplayWidth, TDataField* ParentKey)
    : TKeyField(nullptr) {
  InitField(Name, DataType);
  SetIsAggregable(false);
  SetDisplayValues(DisplayValues);
  SetHasCombo(HasCombo);
  SetAllowSelections(true);
  SetIsReportable(true);
  SetDisplayWidth(DisplayWidth == -1 ? DataType->DataSize() + 25 : DisplayWidth);
  SetTextFields(TextFields);
  SetParentKey(ParentKey);
}

TKeyField::~TKeyField() = default;

std::unique_ptr<TKeyField> TKeyField::CreateKey(const std::string& Name, const TDataType* DataType,
                                                const std::vector<TDataField*>& TextFields,
                                                TDisplayValues DisplayValues, bool HasCombo,
                                                int DisplayWidth, TDataField* ParentKey) {
  return std::make_unique<TKeyField>(Name, DataType, TextFields, DisplayValues, HasCombo,
                                     DisplayWidth, ParentKey);
}

std::unique_ptr<TKeyField> TKeyField::CreateSimpleKey(const std::string& Name,
                                                      const TDataType* DataType) {
  return CreateKey(Name, DataType, {nullptr}, dvKeyOnly, false, -1, nullptr);
}

}  // namespace dataframework
