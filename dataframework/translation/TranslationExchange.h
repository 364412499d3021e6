// The texts of one language as translators' tools carry them (Qt Linguist
// .ts, gettext .po): one message per translated property, keyed by its
// context (the form and the component, "TFRMClavira/Label1") and its
// comment (the component's class and the property path, "QLabel text"),
// with the first language's text as the source.
//
// Export makes the messages of a language from a content; import takes the
// translations of a catalog back into a copy of the content, only for
// messages whose key the content has. The key structure (languages, rules,
// forms, entries) never changes: only texts of the imported language do.
//
// Left out of the messages: entries not marked translated (they have one
// text for every language) and entries whose source text is empty (gettext
// keeps msgid "" for its header, and there is nothing to translate).
// A translation is unfinished when it is empty or still the source text.
//
// The formats' readers and writers live beside their tools: PoFile.h here,
// the .ts file in dataframework/qt (it needs an XML reader).
#pragma once

#include <string>
#include <vector>

#include "dataframework/translation/TranslationContent.h"
#include "platform/Exception.h"

namespace dataframework {

// A file that cannot be imported (malformed, another language, too large):
// "<file>:<line>: <what>" or "<file>: <what>". Nothing is changed.
class ETranslationExchangeError : public platform::Exception {
 public:
  using platform::Exception::Exception;
};

struct TExchangeMessage {
  std::string Context;      // form and component
  std::string Comment;      // class and property path
  std::string Source;       // the first language's text
  std::string Translation;  // the language's text
  bool Unfinished = false;
  int Line = 0;  // where the message starts in the file read (0: not read)

  bool operator==(const TExchangeMessage&) const = default;
};

struct TExchangeCatalog {
  std::string Language;        // the translations' language (by name)
  std::string SourceLanguage;  // the first language's name
  std::vector<TExchangeMessage> Messages;
};

// What an import did: texts changed, and messages left out (each
// "<file>:<line>: <why>"): keys the content does not have, and sources that
// differ from the first language's text (the translation is of another text).
struct TImportReport {
  int Changed = 0;
  int Unchanged = 0;
  std::vector<std::string> Unknown;
  std::vector<std::string> SourceChanged;
};

// The messages of language Language of Content, in the entries' order.
// REQUIRES: 0 <= Language < Content.Languages.size() (else
// ETranslationExchangeError).
TExchangeCatalog ExportCatalog(const TTranslationContent& Content, int Language);

// Content with Catalog's translations taken into language Language, the
// report in Report. SourceName names the file in messages. A catalog of
// another language or another first language, a message key given twice
// or a text longer than the tables keep raise ETranslationExchangeError
// (Content is not touched: the caller gets a copy or an error). An empty
// translation leaves the text as it is.
TTranslationContent ImportCatalog(const TTranslationContent& Content, int Language,
                                  const TExchangeCatalog& Catalog, const std::string& SourceName,
                                  TImportReport& Report);

// The largest translator's file that is read.
inline constexpr size_t kMaxExchangeFileBytes = 4 * 1024 * 1024;

// True when Text is well-formed UTF-8; otherwise Line is the line (from 1)
// of the first bad byte.
bool IsValidUtf8(const std::string& Text, int& Line);

}  // namespace dataframework
