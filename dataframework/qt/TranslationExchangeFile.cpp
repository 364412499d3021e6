#include "dataframework/qt/TranslationExchangeFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "dataframework/qt/TsFile.h"
#include "dataframework/translation/ITranslatedStrings.h"
#include "dataframework/translation/PoFile.h"
#include "platform/FileRead.h"
#include "platform/TextUtils.h"

namespace dataframework::qt {

namespace {

void WriteWhole(const std::string& FileName, const std::string& Text) {
  const std::string temporary = FileName + ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (file) file << Text;
    if (file) file.flush();
    if (!file) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      throw ETranslationExchangeError(FileName + ": the file cannot be written");
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, FileName, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    throw ETranslationExchangeError(FileName + ": the file cannot be written");
  }
}

}  // namespace

TExchangeFormat ExchangeFormatOf(const std::string& FileName) {
  const std::string extension =
      platform::UpperCase(std::filesystem::path(FileName).extension().string());
  if (extension == ".TS") return TExchangeFormat::Ts;
  if (extension == ".PO") return TExchangeFormat::Po;
  throw ETranslationExchangeError(FileName +
                                  ": the file name must end in .ts (Qt Linguist) or .po (gettext)");
}

void ExportLanguageFile(const TTranslationContent& Content, int Language,
                        const std::string& FileName) {
  const TExchangeFormat format = ExchangeFormatOf(FileName);
  const TExchangeCatalog catalog = ExportCatalog(Content, Language);
  WriteWhole(FileName, format == TExchangeFormat::Ts ? WriteTs(catalog) : WritePo(catalog));
}

TTranslationContent ImportLanguageFile(const TTranslationContent& Content, int Language,
                                       const std::string& FileName, TImportReport& Report) {
  const TExchangeFormat format = ExchangeFormatOf(FileName);
  const platform::TFileRead read = platform::ReadRegularFile(FileName, kMaxExchangeFileBytes);
  switch (read.Error) {
    case platform::TFileReadError::None:
      break;
    case platform::TFileReadError::Missing:
      throw ETranslationExchangeError(FileName + ": the file does not exist");
    case platform::TFileReadError::TooLarge:
      throw ETranslationExchangeError(FileName + ": the file is larger than " +
                                      std::to_string(kMaxExchangeFileBytes) + " bytes");
    default:
      throw ETranslationExchangeError(FileName + ": the file cannot be read");
  }
  const TExchangeCatalog catalog =
      format == TExchangeFormat::Ts ? ReadTs(read.Text, FileName) : ReadPo(read.Text, FileName);
  if (Language == NotFound) {
    if (catalog.Language.empty())
      throw ETranslationExchangeError(FileName + ": the file names no language");
    auto found = std::find(Content.Languages.begin(), Content.Languages.end(), catalog.Language);
    if (found == Content.Languages.end())
      throw ETranslationExchangeError(FileName + ": the file holds the language '" +
                                      catalog.Language + "', which the translations do not have");
    Language = static_cast<int>(found - Content.Languages.begin());
  }
  return ImportCatalog(Content, Language, catalog, FileName, Report);
}

}  // namespace dataframework::qt
