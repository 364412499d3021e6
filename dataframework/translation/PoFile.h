// gettext PO files of one language (Poedit, web translation platforms,
// msgfmt). Each message is
//
//   #, fuzzy                          (only for an unfinished translation)
//   msgctxt "TFRMClavira/Label1|QLabel text"
//   msgid "Nombre"
//   msgstr "Name"
//
// msgctxt is the context and the comment joined by "|", as lconvert writes
// them (the header's "X-Qt-Contexts: true" tells lconvert so). The header
// names the languages ("Language", "X-Language", "X-Source-Language") and
// says the file is UTF-8.
//
// The reader is strict: a file that is not UTF-8 (by its bytes or its
// header's charset), a line that fits nowhere, an unknown escape, a message
// without msgid or msgstr, plural forms, or a msgctxt without "|" raise
// ETranslationExchangeError "<file>:<line>: <what>". Comments other than
// flags are skipped; obsolete messages ("#~") are skipped.
#pragma once

#include <string>

#include "dataframework/translation/TranslationExchange.h"

namespace dataframework {

std::string WritePo(const TExchangeCatalog& Catalog);
TExchangeCatalog ReadPo(const std::string& Text, const std::string& SourceName);

}  // namespace dataframework
