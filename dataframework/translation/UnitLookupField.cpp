#include "dataframework/translation/UnitLookupField.h"

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/RowStorage.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslatorFields.h"
#include "dataframework/translation/TranslatorRowStorage.h"
#include "dataframework/types/DerivedDataType.h"
#include "dataframework/types/ReferenceTypes.h"
#include "dataframework/types/TextTypes.h"

namespace dataframework {

const platform::TClass& TUnitLookupField::StaticClass() {
  static const platform::TClass Class("TUnitLookupField", &TCalcField::StaticClass(),
                                      "TranslatorFields");
  return Class;
}

TUnitLookupField::TUnitLookupField()
    : TCalcField(std::string(), StringType(64, false), true, true) {}

TUnitLookupField::~TUnitLookupField() = default;

void TUnitLookupField::CalcValue(const TAbstractRow* Row, TValue& Value) const {
  Value = EmptyStringValue();
  TFormTranslator* translator = nullptr;
  platform::TComponent* component = nullptr;
  RowTranslationContext(Row, translator, component);
  if (translator == nullptr) return;
  // The context came from the row's storage, so its owner is known.
  auto* strings = static_cast<TTranslatorRowStorage*>(Row->Storage())->Owner();
  TRowStorage* forms = strings->GetFormsStorage();
  if (forms == nullptr) return;
  TDataRow* form = forms->LocateRow({Row->GetFStringValue(GuidField())});
  if (form != nullptr) form->GetFieldValue(const_cast<TUnitLookupField*>(this), Value);
}

}  // namespace dataframework
