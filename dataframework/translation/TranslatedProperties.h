// TTranslatedProperties: the rules that apply to each component class, kept
// for one gather or apply pass so that a form with many components of one
// class asks the rules storage once per class.
//
// Ownership: borrows the strings (which must outlive the cache and keep
// their rules unchanged during the pass); owns one list per class name.
// The lists' objects are rule rows borrowed from the rules storage.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/StringList.h"

namespace platform {
class TComponent;
}

namespace dataframework {

class TTranslatedStrings;

class TTranslatedProperties {
 public:
  explicit TTranslatedProperties(TTranslatedStrings& Strings);
  TTranslatedProperties(const TTranslatedProperties&) = delete;
  TTranslatedProperties& operator=(const TTranslatedProperties&) = delete;
  ~TTranslatedProperties();

  TTranslatedStrings& Strings() const { return FStrings; }
  // RulesForComponent of Component's class, built on the first request for
  // that class name (names compare without case). A component without a
  // name has no rules and is not cached.
  const platform::TStrings& PropertiesOf(const platform::TComponent* Component);
  // Number of classes cached so far.
  int CachedClassCount() const { return static_cast<int>(FCache.size()); }

 private:
  struct TNameLess {
    bool operator()(const std::string& A, const std::string& B) const;
  };

  TTranslatedStrings& FStrings;
  std::map<std::string, std::unique_ptr<platform::TStrings>, TNameLess> FCache;
  platform::TStringList FEmpty;
};

}  // namespace dataframework
