// The window's translated texts: the translation file, the language the
// runtime library names, and labels that grow with their text.
#include <QLabel>
#include <algorithm>
#include <cstdlib>

#include "app/FRMClavira.h"
#include "app/ShippedFile.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslationFile.h"
#include "db/Vesquin.h"
#include "dataframework/qt/QtBitmapLoader.h"
#include "platform/qt/QtComponent.h"

namespace app {

using dataframework::NotFound;

std::string TFRMClavira::TranslationFileName() {
  if (const char* file = std::getenv("CLAVIRA_TRANSLATIONS")) return file;
  return ShippedFile("FRMClavira.translations", CLAVIRA_TRANSLATION_FILE);
}

void TFRMClavira::UseBuiltInTexts() {
  dataframework::TTranslationContent content;
  content.Languages = {"Esp"};
  content.Rules = {{"QAbstractButton", "text", true, true},
                   {"QLabel", "text", true, true},
                   {"TFRMClavira", "windowTitle", false, true}};
  FStrings->SetContent(content);
  FStrings->RegisterForm(FTranslator);
  FStrings->GatherAll();
  FTranslator->SetCurrentLanguage(0);
}

void TFRMClavira::LoadTranslations() {
  dataframework::qt::InstallQtBitmapLoader();
  const std::string file = TranslationFileName();
  if (file.empty()) {
    UseBuiltInTexts();
    return;
  }
  try {
    dataframework::LoadTranslationFile(*FStrings, file);  // unchanged on an error
  } catch (...) {
    // The window keeps its own Spanish texts, and they stay editable.
    UseBuiltInTexts();
    throw;
  }
  // Controls the file does not know yet get rows with their current texts.
  FStrings->RegisterForm(FTranslator);
  FStrings->GatherAll();

  int language = FStrings->IndexOfLanguage(db::LoadIdioma());
  if (language == NotFound) language = FStrings->IndexOfLanguage("Esp");
  if (language == NotFound && FStrings->LanguageCount() > 0) language = 0;
  if (language != NotFound) SwitchLanguage(language);
}

void TFRMClavira::SwitchLanguage(int Index) {
  FTranslator->SwitchLanguage(Index);
  FitLabels();
}

void TFRMClavira::FitLabels() {
  for (const auto& [label, width] : FLabelWidths) {
    label->resize(std::max(width, label->sizeHint().width()), label->height());
  }
}

}  // namespace app
