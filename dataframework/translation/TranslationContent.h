// TTranslationContent: everything the translated strings keep, as plain
// data: the languages in order, the rules, the registered forms and one
// entry per translated property with its text in every language. The
// translation file reads and writes it; TTranslatedStrings takes it over in
// one step and hands out a copy of its own.
#pragma once

#include <string>
#include <vector>

namespace dataframework {

struct TTranslationRule {
  std::string ClassName;
  std::string Path;  // indexes stripped
  bool IncludeSubclasses = false;
  bool Translate = false;

  bool operator==(const TTranslationRule&) const = default;
};

struct TTranslationForm {
  std::string Guid;
  std::string UnitName;
  std::string ClassName;

  bool operator==(const TTranslationForm&) const = default;
};

struct TTranslationEntry {
  std::string Guid;
  std::string Component;
  std::string Path;
  std::string ClassName;
  bool Translate = false;
  std::vector<std::string> Texts;  // one per language, in language order

  bool operator==(const TTranslationEntry&) const = default;
};

struct TTranslationContent {
  std::vector<std::string> Languages;
  std::vector<TTranslationRule> Rules;
  std::vector<TTranslationForm> Forms;
  std::vector<TTranslationEntry> Entries;

  bool operator==(const TTranslationContent&) const = default;
};

}  // namespace dataframework
