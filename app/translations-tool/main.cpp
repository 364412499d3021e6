// clavira-translations: one language of the window's translation file to and
// from translators' files (Qt Linguist .ts, gettext .po).
//
//   clavira-translations export --language NAME [--translations FILE] OUTPUT.ts|.po
//   clavira-translations import [--language NAME] [--translations FILE] INPUT.ts|.po
//
// FILE defaults to $CLAVIRA_TRANSLATIONS, else the shipped file. Import takes
// only texts whose keys the translation file has (it reports the others on
// standard error) and rewrites the file only when the input is sound.
// Exit status: 0 done, 1 an error (said on standard error), 2 bad usage.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/ShippedFile.h"
#include "dataframework/qt/TranslationExchangeFile.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslationFile.h"
#include "platform/Exception.h"

namespace {

constexpr const char* kUsage =
    "usage: clavira-translations export --language NAME [--translations FILE] OUTPUT.ts|.po\n"
    "       clavira-translations import [--language NAME] [--translations FILE] INPUT.ts|.po\n";

int Usage(const std::string& Problem) {
  std::cerr << "clavira-translations: " << Problem << "\n" << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("no command");
  const std::string command = args[0];
  if (command == "--help" || command == "-h") {
    std::cout << kUsage;
    return 0;
  }
  if (command != "export" && command != "import") return Usage("unknown command '" + command + "'");
  std::string language;
  std::string translations;
  if (const char* file = std::getenv("CLAVIRA_TRANSLATIONS"); file != nullptr && *file != '\0') {
    translations = file;
  } else {
    translations = app::ShippedFile("FRMClavira.translations", CLAVIRA_TRANSLATION_FILE);
  }
  std::string file;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--language" || args[i] == "--translations") {
      if (i + 1 >= args.size()) return Usage(args[i] + " needs a value");
      (args[i] == "--language" ? language : translations) = args[i + 1];
      ++i;
    } else if (!args[i].empty() && args[i][0] == '-') {
      return Usage("unknown option '" + args[i] + "'");
    } else if (file.empty()) {
      file = args[i];
    } else {
      return Usage("one file only");
    }
  }
  if (file.empty()) return Usage("no file given");
  if (command == "export" && language.empty()) return Usage("export needs --language");

  try {
    dataframework::TTranslatedStrings strings;
    dataframework::LoadTranslationFile(strings, translations);
    const dataframework::TTranslationContent content = strings.Content();
    int index = dataframework::NotFound;
    if (!language.empty()) {
      index = strings.IndexOfLanguage(language);
      if (index == dataframework::NotFound)
        throw platform::Exception(translations + ": no language '" + language + "'");
    }
    if (command == "export") {
      dataframework::qt::ExportLanguageFile(content, index, file);
      std::cout << file << ": " << dataframework::ExportCatalog(content, index).Messages.size()
                << " texts of " << language << "\n";
      return 0;
    }
    dataframework::TImportReport report;
    const dataframework::TTranslationContent imported =
        dataframework::qt::ImportLanguageFile(content, index, file, report);
    for (const std::string& line : report.Unknown) std::cerr << line << "\n";
    for (const std::string& line : report.SourceChanged) std::cerr << line << "\n";
    if (report.Changed > 0) {
      strings.SetContent(imported);
      dataframework::SaveTranslationFile(strings, translations);
    }
    std::cout << translations << ": " << report.Changed << " texts changed, " << report.Unchanged
              << " unchanged, " << report.Unknown.size() + report.SourceChanged.size()
              << " left out\n";
    return 0;
  } catch (const platform::Exception& e) {
    std::cerr << e.Message() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
