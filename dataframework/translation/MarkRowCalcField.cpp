#include "dataframework/translation/MarkRowCalcField.h"

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/translation/PropertyPath.h"
#include "dataframework/translation/TranslatorFields.h"
#include "dataframework/types/DerivedDataType.h"
#include "dataframework/types/ReferenceTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/Component.h"

namespace dataframework {

const platform::TClass& TMarkRowCalcField::StaticClass() {
  static const platform::TClass Class("TMarkRowCalcField", &TCalcField::StaticClass(),
                                      "TranslatorFields");
  return Class;
}

TMarkRowCalcField::TMarkRowCalcField()
    : TCalcField(std::string(), PictureType(), true, true),
      FActionPicture(LoadTransparentBitmap("BMP_ACTLIST")),
      FFormPicture(LoadTransparentBitmap("BMP_FORM")),
      FDisabledPicture(LoadTransparentBitmap("BMP_FORMDISABLE")) {
  SetIsAggregable(true);
}

TMarkRowCalcField::~TMarkRowCalcField() = default;

void TMarkRowCalcField::GetExternValue(const TAbstractRow* Row, TValue& Value) const {
  if (Row != nullptr && Row->IsSubTotal()) {
    CalcValue(Row, Value);
    return;
  }
  TCalcField::GetExternValue(Row, Value);
}

void TMarkRowCalcField::CalcValue(const TAbstractRow* Row, TValue& Value) const {
  TFormTranslator* translator = nullptr;
  platform::TComponent* component = nullptr;
  RowTranslationContext(Row, translator, component);
  if (translator == nullptr || component == nullptr) {
    Value = PictureValue(FDisabledPicture.get());
    return;
  }
  const std::string property = Row->GetFStringValue(PropertyField());
  platform::TComponent* action = nullptr;
  if (HasProperty(component, property) && IsActionProperty(component, property, action)) {
    Value = PictureValue(FActionPicture.get());
  } else {
    Value = PictureValue(FFormPicture.get());
  }
}

}  // namespace dataframework
