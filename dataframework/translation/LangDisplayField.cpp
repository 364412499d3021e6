#include "dataframework/translation/LangDisplayField.h"

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/translation/LangNameField.h"
#include "dataframework/translation/TranslatorFields.h"
#include "platform/Assert.h"

namespace dataframework {

const platform::TClass& TLangDisplayField::StaticClass() {
  static const platform::TClass Class("TLangDisplayField", &TCalcField::StaticClass(),
                                      "TranslatorFields");
  return Class;
}

namespace {
TLangNameField* Checked(TLangNameField* Field) {
  platform::Assert(Field != nullptr, "TLangDisplayField.Create: LanguageField <> nil");
  return Field;
}
}  // namespace

TLangDisplayField::TLangDisplayField(TLangNameField* LanguageField)
    : TCalcField(std::string(), Checked(LanguageField)->DataType(), false, true),
      FLanguageField(LanguageField) {}

TLangDisplayField::~TLangDisplayField() = default;

bool TLangDisplayField::IsReadOnly(const TAbstractRow* Row) const {
  return IsActionRow(Row);
}

void TLangDisplayField::CalcValue(const TAbstractRow* Row, TValue& Value) const {
  if (Row == nullptr) {
    Value = EmptyStringValue();
    return;
  }
  Row->GetFieldValue(FLanguageField, Value);
}

TSetResult TLangDisplayField::DistributeValue(TAbstractRow* Row, const TValue& Value) {
  SetTranslationValue(Row, FLanguageField, Value);
  return srOk;
}

}  // namespace dataframework
