// ITranslatedWindow: what the translation editor needs of a window whose
// captions it edits (the test bench's window, the grid editor's window):
// the window's translated strings and form translator, a language switch,
// and the translation file the editor saves to.
//
// Ownership: the window owns its strings and translator; the editor
// borrows them through this interface.
#pragma once

#include <string>

namespace dataframework {
class TFormTranslator;
class TTranslatedStrings;
}  // namespace dataframework

namespace app {

class ITranslatedWindow {
 public:
  virtual ~ITranslatedWindow() = default;
  virtual dataframework::TTranslatedStrings& Strings() const = 0;
  virtual dataframework::TFormTranslator& Translator() const = 0;
  // Shows language Index (raises "Invalid index <n>!").
  virtual void SwitchLanguage(int Index) = 0;
  // Lets controls grow to show longer translated texts; nothing by default.
  virtual void FitLabels() {}
  // The file the editor saves the translations to ("" none).
  virtual std::string TranslationFile() const = 0;
};

}  // namespace app
