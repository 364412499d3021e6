#include "dataframework/translation/LangSortField.h"

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/translation/LangNameField.h"
#include "dataframework/translation/PropertyPath.h"
#include "platform/Assert.h"

namespace dataframework {

const platform::TClass& TLangSortField::StaticClass() {
  static const platform::TClass Class("TLangSortField", &TCalcField::StaticClass(),
                                      "TranslatorFields");
  return Class;
}

namespace {
TLangNameField* Checked(TLangNameField* Field) {
  platform::Assert(Field != nullptr, "TLangSortField.Create: LanguageField <> nil");
  return Field;
}
}  // namespace

TLangSortField::TLangSortField(TLangNameField* LanguageField)
    : TCalcField(std::string(), Checked(LanguageField)->DataType(), true, true),
      FLanguageField(LanguageField) {}

TLangSortField::~TLangSortField() = default;

void TLangSortField::CalcValue(const TAbstractRow* Row, TValue& Value) const {
  if (Row == nullptr) {
    Value = EmptyStringValue();
    return;
  }
  Value = StringValue(CaptionSortKey(Row->GetFStringValue(FLanguageField)));
}

}  // namespace dataframework
