#include "dataframework/translation/DoTranslateDisplayField.h"

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/translation/TranslatorFields.h"
#include "dataframework/types/DerivedDataType.h"
#include "dataframework/types/ReferenceTypes.h"
#include "dataframework/types/TextTypes.h"

namespace dataframework {

const platform::TClass& TDoTranslateDisplayField::StaticClass() {
  static const platform::TClass Class("TDoTranslateDisplayField", &TCalcField::StaticClass(),
                                      "TranslatorFields");
  return Class;
}

TDoTranslateDisplayField::TDoTranslateDisplayField()
    : TCalcField(std::string(), BooleanType(), false, true) {}

TDoTranslateDisplayField::~TDoTranslateDisplayField() = default;

bool TDoTranslateDisplayField::IsReadOnly(const TAbstractRow* Row) const {
  return IsActionRow(Row);
}

void TDoTranslateDisplayField::CalcValue(const TAbstractRow* Row, TValue& Value) const {
  if (Row == nullptr) {
    Value = BooleanValue(false);
    return;
  }
  Row->GetFieldValue(TranslateField(), Value);
}

TSetResult TDoTranslateDisplayField::DistributeValue(TAbstractRow* Row, const TValue& Value) {
  SetTranslationValue(Row, TranslateField(), Value);
  return srOk;
}

}  // namespace dataframework
