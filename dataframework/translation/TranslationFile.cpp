#include "dataframework/translation/TranslationFile.h"

#include <filesystem>
#include <fstream>
#include <istream>
#include <map>
#include <ostream>
#include <set>
#include <sstream>

#include "dataframework/translation/TranslatedStrings.h"
#include "platform/FileRead.h"
#include "platform/TextUtils.h"

namespace dataframework {

namespace {

// Longest texts the translation tables keep (bytes); longer ones would be
// cut, so the file refuses them.
constexpr size_t MaxGuid = 38;
constexpr size_t MaxName = 64;
constexpr size_t MaxText = 255;

enum TEscapeContext { ecValue, ecKey, ecWord };

// Escapes Text for the file. Keys also escape "=" and a leading "#" or "[";
// words of a section header escape every blank.
std::string Escape(const std::string& Text, TEscapeContext Context) {
  const size_t first = Text.find_first_not_of(' ');
  const size_t last = Text.find_last_not_of(' ');
  std::string out;
  for (size_t i = 0; i < Text.size(); ++i) {
    const char c = Text[i];
    const bool edge = first == std::string::npos || i < first || i > last;
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case ' ':
        out += (edge || Context == ecWord) ? "\\s" : " ";
        break;
      case '=':
        out += Context == ecValue ? "=" : "\\=";
        break;
      case '#':
      case '[':
        out += (i == 0 && Context != ecValue) ? std::string("\\") + c : std::string(1, c);
        break;
      default:
        out += c;
    }
  }
  return out;
}

class TReader {
 public:
  TReader(std::istream& Stream, const std::string& SourceName)
      : FStream(Stream), FSource(SourceName) {}

  TTranslationContent Read();

 private:
  enum TSection { sNone, sLanguages, sRules, sForm, sText };

  [[noreturn]] void Fail(const std::string& What) const {
    throw ETranslationFileError(FSource + ":" + std::to_string(FLine) + ": " + What);
  }
  std::string Unescape(std::string_view Raw) const;
  // Splits "key = value" at the first "=" that is not escaped; the key is
  // left escaped (rules split it into words first).
  bool SplitKeyValue(const std::string& Line, std::string& RawKey, std::string& Value) const;
  void Header(const std::string& Inner);
  void Entry(const std::string& Line);
  void CheckLength(const std::string& Text, size_t Most, const char* What) const {
    if (Text.size() > Most)
      Fail(std::string(What) + " '" + Text + "' is longer than " + std::to_string(Most) + " bytes");
  }
  void FinishForm();

  std::istream& FStream;
  std::string FSource;
  int FLine = 0;
  TTranslationContent FContent;
  TSection FSection = sNone;
  bool FHasLanguages = false;
  bool FHasRules = false;
  std::set<std::string> FSeenRules;  // upper-cased "class path"
  std::set<std::string> FSeenForms;  // upper-cased guids
  std::set<std::string> FSeenTexts;  // upper-cased "component path" of the form
  std::set<std::string> FSeenKeys;   // keys of the current section
  TTranslationForm FForm;
  bool FFormRegistered = false;
  bool FInForm = false;
};

std::string TReader::Unescape(std::string_view Raw) const {
  std::string out;
  for (size_t i = 0; i < Raw.size(); ++i) {
    if (Raw[i] != '\\') {
      out += Raw[i];
      continue;
    }
    if (i + 1 >= Raw.size()) Fail("a line ends in a lone backslash");
    switch (const char c = Raw[++i]) {
      case '\\':
        out += '\\';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 's':
        out += ' ';
        break;
      case '=':
      case '#':
      case '[':
        out += c;
        break;
      default:
        Fail(std::string("unknown escape '\\") + c + "'");
    }
  }
  return out;
}

bool TReader::SplitKeyValue(const std::string& Line, std::string& RawKey,
                            std::string& Value) const {
  for (size_t i = 0; i < Line.size(); ++i) {
    if (Line[i] == '\\') {
      ++i;
      continue;
    }
    if (Line[i] == '=') {
      RawKey = platform::Trim(std::string_view(Line).substr(0, i));
      Value = Unescape(platform::Trim(std::string_view(Line).substr(i + 1)));
      return true;
    }
  }
  return false;
}

void TReader::FinishForm() {
  if (FInForm && FFormRegistered) FContent.Forms.push_back(FForm);
  FInForm = false;
  FFormRegistered = false;
}

void TReader::Header(const std::string& Inner) {
  std::istringstream words(Inner);
  std::vector<std::string> parts;
  for (std::string word; words >> word;) parts.push_back(Unescape(word));
  FSeenKeys.clear();
  const std::string kind = parts.empty() ? std::string() : parts.front();
  if (kind == "languages" && parts.size() == 1) {
    if (FHasLanguages) Fail("the section [languages] appears twice");
    if (!FContent.Entries.empty()) Fail("the languages must come before the texts");
    FHasLanguages = true;
    FSection = sLanguages;
  } else if (kind == "rules" && parts.size() == 1) {
    if (FHasRules) Fail("the section [rules] appears twice");
    FHasRules = true;
    FSection = sRules;
  } else if (kind == "form" && parts.size() == 2) {
    FinishForm();
    CheckLength(parts[1], MaxGuid, "the form identifier");
    if (!FSeenForms.insert(platform::UpperCase(parts[1])).second)
      Fail("the form " + parts[1] + " appears twice");
    FForm = TTranslationForm{parts[1], {}, {}};
    FInForm = true;
    FSeenTexts.clear();
    FSection = sForm;
  } else if (kind == "text" && parts.size() == 3) {
    if (!FInForm) Fail("a [text] section must follow a [form] section");
    CheckLength(parts[1], MaxName, "the component name");
    CheckLength(parts[2], MaxName, "the property path");
    if (!FSeenTexts.insert(platform::UpperCase(parts[1] + " " + parts[2])).second)
      Fail("the text of " + parts[1] + " " + parts[2] + " appears twice");
    TTranslationEntry entry;
    entry.Guid = FForm.Guid;
    entry.Component = parts[1];
    entry.Path = parts[2];
    entry.Texts.assign(FContent.Languages.size(), std::string());
    FContent.Entries.push_back(std::move(entry));
    FSection = sText;
  } else {
    Fail("unknown section [" + Inner + "]");
  }
}

void TReader::Entry(const std::string& Line) {
  if (FSection == sNone) Fail("a line outside any section");
  if (FSection == sLanguages) {
    const std::string name = Unescape(Line);
    // Texts are keyed by language name: a name that is a key of a [text]
    // section could not be told apart (and could not be written back).
    if (name == "class" || name == "translate")
      Fail("the language name '" + name + "' is a key of the file");
    for (const std::string& known : FContent.Languages)
      if (known == name) Fail("the language '" + name + "' appears twice");
    FContent.Languages.push_back(name);
    return;
  }
  std::string rawKey;
  std::string value;
  if (!SplitKeyValue(Line, rawKey, value)) Fail("'key = value' expected");
  if (FSection == sRules) {
    std::istringstream words(rawKey);
    std::string className;
    std::string path;
    std::string extra;
    if (!(words >> className >> path) || (words >> extra))
      Fail("a rule names a class and a property path");
    className = Unescape(className);
    path = Unescape(path);
    CheckLength(className, MaxName, "the class name");
    CheckLength(path, MaxName, "the property path");
    TTranslationRule rule{className, path, false, false};
    std::istringstream flags(value);
    for (std::string flag; std::getline(flags, flag, ',');) {
      flag = platform::Trim(flag);
      if (flag == "subclasses") {
        rule.IncludeSubclasses = true;
      } else if (flag == "translate") {
        rule.Translate = true;
      } else if (!flag.empty()) {
        Fail("unknown rule flag '" + flag + "'");
      }
    }
    if (!FSeenRules.insert(platform::UpperCase(className + " " + path)).second)
      Fail("the rule " + className + " " + path + " appears twice");
    FContent.Rules.push_back(rule);
    return;
  }
  const std::string key = Unescape(rawKey);
  if (!FSeenKeys.insert(key).second) Fail("the key '" + key + "' appears twice");
  if (FSection == sForm) {
    if (key == "unit") {
      CheckLength(value, MaxName, "the unit name");
      FForm.UnitName = value;
    } else if (key == "class") {
      CheckLength(value, MaxName, "the class name");
      FForm.ClassName = value;
    } else {
      Fail("unknown key '" + key + "' in a form section");
    }
    FFormRegistered = true;
    return;
  }
  TTranslationEntry& entry = FContent.Entries.back();
  if (key == "class") {
    CheckLength(value, MaxName, "the class name");
    entry.ClassName = value;
  } else if (key == "translate") {
    const std::string flag = platform::LowerCase(value);
    if (flag == "yes" || flag == "true") {
      entry.Translate = true;
    } else if (flag == "no" || flag == "false") {
      entry.Translate = false;
    } else {
      Fail("translate must be yes or no, not '" + value + "'");
    }
  } else {
    size_t language = 0;
    while (language < FContent.Languages.size() && FContent.Languages[language] != key) ++language;
    if (language == FContent.Languages.size()) Fail("unknown language or key '" + key + "'");
    CheckLength(value, MaxText, "the text");
    entry.Texts[language] = value;
  }
}

TTranslationContent TReader::Read() {
  std::string line;
  while (std::getline(FStream, line)) {
    ++FLine;
    if (FLine == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // byte order mark
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string trimmed = platform::Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    if (trimmed.front() == '[' && trimmed.back() == ']' && trimmed.size() >= 2) {
      Header(trimmed.substr(1, trimmed.size() - 2));
    } else {
      Entry(trimmed);
    }
  }
  if (FStream.bad()) {
    FLine = FLine + 1;
    Fail("the text cannot be read");
  }
  FinishForm();
  return std::move(FContent);
}

}  // namespace

std::string LanguageNameProblem(const std::string& Name) {
  if (Name.empty()) return "a language without a name cannot be saved";
  if (Name == "class" || Name == "translate")
    return "language name '" + Name + "' is a key of the file";
  return {};
}

void WriteTranslationContent(std::ostream& Stream, const TTranslationContent& Content,
                             const std::string& SourceName) {
  // Texts are keyed by language name, so a name must be one the reader can
  // tell from the other keys and languages.
  for (size_t i = 0; i < Content.Languages.size(); ++i) {
    const std::string& name = Content.Languages[i];
    if (const std::string problem = LanguageNameProblem(name); !problem.empty())
      throw ETranslationFileError(SourceName + ": " + problem);
    for (size_t j = 0; j < i; ++j)
      if (name == Content.Languages[j])
        throw ETranslationFileError(SourceName + ": language name '" + name + "' is used twice");
  }
  Stream << "# Clavira translations (UTF-8): the languages, the rules and one [text]\n"
            "# section per translated property of each form.\n";
  Stream << "\n[languages]\n";
  for (const std::string& name : Content.Languages) Stream << Escape(name, ecKey) << "\n";
  Stream << "\n[rules]\n";
  for (const TTranslationRule& rule : Content.Rules) {
    Stream << Escape(rule.ClassName, ecWord) << " " << Escape(rule.Path, ecWord) << " =";
    if (rule.IncludeSubclasses) Stream << " subclasses" << (rule.Translate ? "," : "");
    if (rule.Translate) Stream << " translate";
    Stream << "\n";
  }
  // Forms in their order, then forms that only have texts, in the texts' order.
  std::vector<std::string> guids;
  std::map<std::string, const TTranslationForm*> registered;
  for (const TTranslationForm& form : Content.Forms) {
    guids.push_back(form.Guid);
    registered[platform::UpperCase(form.Guid)] = &form;
  }
  for (const TTranslationEntry& entry : Content.Entries) {
    const std::string key = platform::UpperCase(entry.Guid);
    bool known = registered.count(key) > 0;
    for (const std::string& g : guids) known = known || platform::UpperCase(g) == key;
    if (!known) guids.push_back(entry.Guid);
  }
  for (const std::string& guid : guids) {
    Stream << "\n[form " << Escape(guid, ecWord) << "]\n";
    auto form = registered.find(platform::UpperCase(guid));
    if (form != registered.end()) {
      Stream << "unit = " << Escape(form->second->UnitName, ecValue) << "\n";
      Stream << "class = " << Escape(form->second->ClassName, ecValue) << "\n";
    }
    for (const TTranslationEntry& entry : Content.Entries) {
      if (!platform::SameText(entry.Guid, guid)) continue;
      Stream << "\n[text " << Escape(entry.Component, ecWord) << " " << Escape(entry.Path, ecWord)
             << "]\n";
      Stream << "class = " << Escape(entry.ClassName, ecValue) << "\n";
      Stream << "translate = " << (entry.Translate ? "yes" : "no") << "\n";
      for (size_t i = 0; i < Content.Languages.size(); ++i) {
        const std::string text = i < entry.Texts.size() ? entry.Texts[i] : std::string();
        Stream << Escape(Content.Languages[i], ecKey) << " =";
        if (!text.empty()) Stream << " " << Escape(text, ecValue);
        Stream << "\n";
      }
    }
  }
}

TTranslationContent ReadTranslationContent(std::istream& Stream, const std::string& SourceName) {
  return TReader(Stream, SourceName).Read();
}

void SaveTranslationFile(const TTranslatedStrings& Strings, const std::string& FileName) {
  const TTranslationContent content = Strings.Content();
  std::ostringstream text;
  WriteTranslationContent(text, content, FileName);
  const std::string temporary = FileName + ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file) throw ETranslationFileError(FileName + ": the file cannot be written");
    file << text.str();
    file.flush();
    if (!file) {
      file.close();
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      throw ETranslationFileError(FileName + ": the file cannot be written");
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, FileName, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    throw ETranslationFileError(FileName + ": the file cannot be written");
  }
}

void LoadTranslationFile(TTranslatedStrings& Strings, const std::string& FileName) {
  // Only a regular file of bounded size, opened without waiting (a FIFO would
  // wait for a writer before the window opens).
  const platform::TFileRead read = platform::ReadRegularFile(FileName, kMaxTranslationFileBytes);
  switch (read.Error) {
    case platform::TFileReadError::None:
      break;
    case platform::TFileReadError::Missing:
      throw ETranslationFileError(FileName + ": the file does not exist");
    case platform::TFileReadError::TooLarge:
      throw ETranslationFileError(FileName + ": the file is larger than " +
                                  std::to_string(kMaxTranslationFileBytes) + " bytes");
    default:
      throw ETranslationFileError(FileName + ": the file cannot be read");
  }
  const std::string& text = read.Text;
  std::istringstream file(text);
  const TTranslationContent content = ReadTranslationContent(file, FileName);
  try {
    Strings.SetContent(content);
  } catch (const platform::Exception& e) {
    throw ETranslationFileError(FileName + ": " + e.Message());
  }
}

}  // namespace dataframework
