// The translation file: the languages, rules, forms and texts of a
// TTranslatedStrings as UTF-8 text that people can read and diff.
//
//   # comment lines start with "#"; blank lines are ignored
//   [languages]
//   Esp
//   Ing
//   [rules]
//   TButton Caption = subclasses, translate
//   TLabel Caption = translate
//   [form {0E5A3C1B-...}]
//   unit = app
//   class = TFRMClavira
//   [text LBLUser Caption]
//   class = TLabel
//   translate = yes
//   Esp = Usuario
//   Ing = User
//
// A [text component path] section belongs to the [form guid] section above
// it; "unit" and "class" appear in a form section only when the form is
// registered. Language lines are keyed by the language's name. In keys and
// values "\\", "\n", "\r" and "\t" stand for a backslash, line feed,
// carriage return and tab, "\=" for "=" in a key, and "\s" for a blank at
// either end of a text (so trailing blanks survive editors).
//
// Reading checks everything before anything is replaced: a missing or
// unreadable file, a line that fits nowhere, an unknown language or key, a
// text section outside a form, or a property entered twice raise
// ETranslationFileError "<file>:<line>: <what>" (or "<file>: <what>") and
// leave the strings as they were.
#pragma once

#include <iosfwd>
#include <string>

#include "dataframework/translation/TranslationContent.h"
#include "platform/Exception.h"

namespace dataframework {

class TTranslatedStrings;

class ETranslationFileError : public platform::Exception {
 public:
  using platform::Exception::Exception;
};

// Why the file cannot key texts by Name: "a language without a name cannot
// be saved", "language name '<n>' is a key of the file"; "" when it can.
// Editors check names with it before they take them.
std::string LanguageNameProblem(const std::string& Name);

// Text form of Content. Duplicate language names cannot be keyed apart and
// raise ETranslationFileError "<SourceName>: language name '<n>' is used
// twice".
void WriteTranslationContent(std::ostream& Stream, const TTranslationContent& Content,
                             const std::string& SourceName);
// Content read from its text form; SourceName names the text in errors.
TTranslationContent ReadTranslationContent(std::istream& Stream, const std::string& SourceName);

// The largest translation file that is read (the window reads it before it opens).
inline constexpr size_t kMaxTranslationFileBytes = 4 * 1024 * 1024;

// Writes the strings' content to FileName (replacing it as a whole: written
// to a temporary file first and renamed over it).
void SaveTranslationFile(const TTranslatedStrings& Strings, const std::string& FileName);
// Replaces the strings' content by the file's; on any error the strings
// are unchanged.
void LoadTranslationFile(TTranslatedStrings& Strings, const std::string& FileName);

}  // namespace dataframework
