// One language of the translations written to and read from a translator's
// file, the format chosen by the file's extension: ".ts" (Qt Linguist,
// TsFile.h) or ".po" (gettext, PoFile.h).
//
// Both work on a TTranslationContent, so that the caller decides how the
// new content is taken over (the editor as one undo step, the command line
// by saving the translation file).
#pragma once

#include <string>

#include "dataframework/translation/TranslationContent.h"
#include "dataframework/translation/TranslationExchange.h"

namespace dataframework::qt {

enum class TExchangeFormat { Ts, Po };

// The format of FileName by its extension; another one raises
// ETranslationExchangeError "<file>: ...".
TExchangeFormat ExchangeFormatOf(const std::string& FileName);

// Writes language Language of Content to FileName (replacing it as a
// whole: written to a temporary file first and renamed over it).
void ExportLanguageFile(const TTranslationContent& Content, int Language,
                        const std::string& FileName);

// Content with the translations of FileName taken into language Language
// (NotFound: the language the file names). Reads at most
// kMaxExchangeFileBytes of a regular file. Any error (unreadable, too
// large, malformed, another language) raises ETranslationExchangeError;
// Content itself is never touched.
TTranslationContent ImportLanguageFile(const TTranslationContent& Content, int Language,
                                       const std::string& FileName, TImportReport& Report);

}  // namespace dataframework::qt
