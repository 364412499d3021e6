#include "dataframework/elements/BooleanTextField.h"

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/DataField.h"
#include "dataframework/types/TextTypes.h"
#include "platform/Assert.h"
#include "platform/Exception.h"

namespace dataframework {

const platform::TClass& TBooleanTextField::StaticClass() {
  static const platform::TClass Class("TBooleanTextField", &TCalcField::StaticClass(),
                                      "CommonCalcFields");
  return Class;
}

TBooleanTextField::TBooleanTextField(platform::TComponent* Owner) : TCalcField(Owner) {}

TBooleanTextField::TBooleanTextField(const std::string& Name, TDataField* BooleanField)
    : TCalcField(Name, StringType(5, false), true, true), FBooleanField(BooleanField) {
  platform::Assert(BooleanField != nullptr,
                   "TBooleanTextField.CreateBoolText: BooleanField <> nil");
  BooleanField->SetTextFields({this});
  BooleanField->SetDisplayValues(dvTextOnly);
}

std::unique_ptr<TBooleanTextField> TBooleanTextField::CreateBoolText(const std::string& Name,
                                                                     TDataField* BooleanField) {
  return std::make_unique<TBooleanTextField>(Name, BooleanField);
}

TBooleanTextField::~TBooleanTextField() = default;

void TBooleanTextField::CalcValue(const TAbstractRow* Row, TValue& Value) const {
  platform::Assert(FBooleanField != nullptr, "TBooleanTextField.CalcValue: BooleanField <> nil");
  if (Row == nullptr)
    throw platform::Exception("TBooleanTextField.CalcValue: ARow = nil! (" + FieldName() + ")");
  const bool on = ValueAsBoolean(Row->ValueOf(FBooleanField));
  Value = ConvertToType(DataType(), StringValue(on ? "True" : "False"));
}

}  // namespace dataframework
