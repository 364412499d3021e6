// TSingleton: the base of every named object of the data framework (fields,
// tables, table types, bridges, cache load policies).
//
// Framework objects are identified by their own name properties (FieldName,
// TableName), never by component name: SetName does nothing. They are not
// placed on a design surface (design position 32767/32767), have no visual
// parent and stream no extra properties. DisplayNames holds the object's
// name per language, read for the process-wide language index.
//
// Ownership: a singleton made with an owner is freed by that owner (see
// platform::TComponent); DisplayNames is owned.
#pragma once

#include <memory>
#include <string>

#include "platform/Component.h"
#include "platform/LangArray.h"

namespace dataframework {

class TSingleton : public platform::TComponent {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TSingleton(platform::TComponent* Owner);
  ~TSingleton() override;

  platform::TLangArray& DisplayNames() const { return *FDisplayNames; }
  // The current entry of DisplayNames.
  const std::string& DisplayName() const { return FDisplayNames->CurrentText(); }

  // Framework objects carry no component name.
  void SetName(const std::string& NewName) override;
  bool HasParent() const override;
  platform::TComponent* GetParentComponent() const override;
  void SetParentComponent(platform::TComponent* Value) override;

 protected:
  // Defines nothing: no design position is streamed.
  void DefineProperties(platform::TFiler* Filer) override;

  // Every per-language array of the framework reads the process-wide index.
  static void BindLanguage(platform::TCommonLangArray& Array);

 private:
  std::unique_ptr<platform::TLangArray> FDisplayNames;
};

}  // namespace dataframework
