#include "dataframework/translation/TranslatedProperties.h"

#include "dataframework/elements/RowList.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "platform/Component.h"
#include "platform/TextUtils.h"

namespace dataframework {

bool TTranslatedProperties::TNameLess::operator()(const std::string& A,
                                                  const std::string& B) const {
  return platform::CompareText(A, B) < 0;
}

TTranslatedProperties::TTranslatedProperties(TTranslatedStrings& Strings) : FStrings(Strings) {}

TTranslatedProperties::~TTranslatedProperties() = default;

const platform::TStrings& TTranslatedProperties::PropertiesOf(
    const platform::TComponent* Component) {
  // Unnamed components have no rules; caching their empty answer would hide
  // the rules of named components of the same class.
  if (Component == nullptr || Component->Name().empty()) return FEmpty;
  const std::string name = Component->ClassType().ClassName();
  auto found = FCache.find(name);
  if (found == FCache.end()) {
    auto rules = std::make_unique<TDataRowList>();
    FStrings.RulesForComponent(Component, *rules);
    found = FCache.emplace(name, std::move(rules)).first;
  }
  return *found->second;
}

}  // namespace dataframework
