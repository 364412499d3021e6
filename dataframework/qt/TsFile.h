// Qt Linguist .ts files of one language (Linguist, lconvert, lrelease):
//
//   <TS version="2.1" language="Ing" sourcelanguage="Esp">
//   <context>
//       <name>TFRMClavira/Label1</name>
//       <message>
//           <source>Nombre</source>
//           <comment>QLabel text</comment>
//           <translation>Name</translation>
//       </message>
//   ...
//
// The language attributes hold the translations' own language names. An
// unfinished translation has type="unfinished"; vanished and obsolete
// messages are not read.
//
// The reader is strict: bytes that are not UTF-8, an encoding other than
// UTF-8, malformed XML, an element Linguist does not write there, a message
// without a source, plural forms, or a context without a name raise
// ETranslationExchangeError "<file>:<line>: <what>". What Linguist and
// lconvert keep for themselves (locations, extra comments, "extra-"
// elements) is skipped.
#pragma once

#include <string>

#include "dataframework/translation/TranslationExchange.h"

namespace dataframework::qt {

std::string WriteTs(const TExchangeCatalog& Catalog);
TExchangeCatalog ReadTs(const std::string& Text, const std::string& SourceName);

}  // namespace dataframework::qt
