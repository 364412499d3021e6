// The string translator interface: turns message keys into words.
//
// Implementations are not reference counted: whoever creates one owns it
// and keeps it alive while it is installed (see InstallTranslator in
// DataTypes.h).
#pragma once

#include <string>
#include <vector>

namespace dataframework {

// Interface identifier, kept for callers that select translators by it.
inline constexpr const char* IID_IStringTranslator = "{B7F2BFFE-D009-45B8-B8C4-24852A66CDD8}";

class IStringTranslator {
 public:
  virtual ~IStringTranslator() = default;

  // Empties Text, then as Translate.
  virtual bool GetText(const std::string& Key, std::string& Text) = 0;
  // Empties Text, then as TranslateFmt.
  virtual bool GetTextFmt(const std::string& Key, const std::vector<std::string>& Args,
                          std::string& Text) = 0;
  // True with the text of Key; false with Text holding Key itself.
  virtual bool Translate(const std::string& Key, std::string& Text) = 0;
  // As Translate, the found text's placeholders filled from Args
  // (SubstituteArgs); an unknown key leaves Text as the key, unfilled.
  virtual bool TranslateFmt(const std::string& Key, const std::vector<std::string>& Args,
                            std::string& Text) = 0;
};

}  // namespace dataframework
