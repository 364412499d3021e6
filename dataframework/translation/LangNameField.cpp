#include "dataframework/translation/LangNameField.h"

#include "dataframework/translation/LangDisplayField.h"
#include "dataframework/translation/LangSortField.h"
#include "dataframework/types/TextTypes.h"

namespace dataframework {

const platform::TClass& TLangNameField::StaticClass() {
  static const platform::TClass Class("TLangNameField", &TDataField::StaticClass(),
                                      "TranslatorFields");
  return Class;
}

TLangNameField::TLangNameField() : TDataField(std::string(), StringType(255, false)) {
  FSortField = std::make_unique<TLangSortField>(this);
  FDisplayField = std::make_unique<TLangDisplayField>(this);
  SetSortField(FSortField.get());
  FDisplayField->SetSortField(FSortField.get());
}

TLangNameField::~TLangNameField() = default;

void TLangNameField::SetLanguageName(const std::string& Name) {
  SetCaptions({Name});
  FDisplayField->SetCaptions({Name});
}

}  // namespace dataframework
