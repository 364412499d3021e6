#include "dataframework/translation/TranslationExchange.h"

#include <map>
#include <utility>

#include "platform/TextUtils.h"

namespace dataframework {

namespace {

// Longest text the translation tables keep (bytes), as the translation file.
constexpr size_t MaxText = 255;

std::string KeyOf(const std::string& Context, const std::string& Comment) {
  return Context + '\x1f' + Comment;
}

// The context's form part: the form's class name while it names one form,
// else its identifier.
std::map<std::string, std::string> FormNames(const TTranslationContent& Content) {
  std::map<std::string, int> uses;
  for (const TTranslationForm& form : Content.Forms)
    if (!form.ClassName.empty()) ++uses[form.ClassName];
  std::map<std::string, std::string> names;  // by upper-case GUID
  for (const TTranslationForm& form : Content.Forms) {
    const bool unique = !form.ClassName.empty() && uses[form.ClassName] == 1;
    names[platform::UpperCase(form.Guid)] = unique ? form.ClassName : form.Guid;
  }
  return names;
}

// The messages with the entry each stands for.
std::vector<std::pair<TExchangeMessage, size_t>> Messages(const TTranslationContent& Content,
                                                          int Language) {
  const std::map<std::string, std::string> forms = FormNames(Content);
  std::vector<std::pair<TExchangeMessage, size_t>> messages;
  for (size_t i = 0; i < Content.Entries.size(); ++i) {
    const TTranslationEntry& entry = Content.Entries[i];
    if (!entry.Translate || entry.Texts.empty() || entry.Texts[0].empty()) continue;
    auto form = forms.find(platform::UpperCase(entry.Guid));
    TExchangeMessage message;
    message.Context = (form != forms.end() ? form->second : entry.Guid) + "/" + entry.Component;
    message.Comment = entry.ClassName.empty() ? entry.Path : entry.ClassName + " " + entry.Path;
    message.Source = entry.Texts[0];
    const size_t at = static_cast<size_t>(Language);
    message.Translation = at < entry.Texts.size() ? entry.Texts[at] : std::string();
    message.Unfinished =
        Language > 0 && (message.Translation.empty() || message.Translation == message.Source);
    messages.emplace_back(std::move(message), i);
  }
  return messages;
}

void CheckLanguage(const TTranslationContent& Content, int Language) {
  if (Language < 0 || static_cast<size_t>(Language) >= Content.Languages.size())
    throw ETranslationExchangeError("Invalid index " + std::to_string(Language) + "!");
}

}  // namespace

TExchangeCatalog ExportCatalog(const TTranslationContent& Content, int Language) {
  CheckLanguage(Content, Language);
  TExchangeCatalog catalog;
  catalog.Language = Content.Languages[static_cast<size_t>(Language)];
  catalog.SourceLanguage = Content.Languages[0];
  for (auto& [message, entry] : Messages(Content, Language))
    catalog.Messages.push_back(std::move(message));
  return catalog;
}

TTranslationContent ImportCatalog(const TTranslationContent& Content, int Language,
                                  const TExchangeCatalog& Catalog, const std::string& SourceName,
                                  TImportReport& Report) {
  CheckLanguage(Content, Language);
  const std::string& language = Content.Languages[static_cast<size_t>(Language)];
  if (!Catalog.Language.empty() && Catalog.Language != language)
    throw ETranslationExchangeError(SourceName + ": the file holds the language '" +
                                    Catalog.Language + "', not '" + language + "'");
  if (!Catalog.SourceLanguage.empty() && Catalog.SourceLanguage != Content.Languages[0])
    throw ETranslationExchangeError(SourceName + ": the file translates from the language '" +
                                    Catalog.SourceLanguage + "', not from the first language '" +
                                    Content.Languages[0] + "'");
  std::map<std::string, std::pair<std::string, size_t>> known;  // key: source, entry
  for (auto& [message, entry] : Messages(Content, Language))
    known[KeyOf(message.Context, message.Comment)] = {message.Source, entry};

  const auto where = [&](const TExchangeMessage& Message) {
    return SourceName + (Message.Line > 0 ? ":" + std::to_string(Message.Line) : "") + ": ";
  };
  TTranslationContent result = Content;
  TImportReport report;
  std::map<std::string, int> seen;
  for (const TExchangeMessage& message : Catalog.Messages) {
    const std::string key = KeyOf(message.Context, message.Comment);
    if (!seen.emplace(key, message.Line).second)
      throw ETranslationExchangeError(where(message) + "the text of " + message.Context + " " +
                                      message.Comment + " appears twice");
    if (message.Translation.size() > MaxText)
      throw ETranslationExchangeError(where(message) + "the text of " + message.Context + " " +
                                      message.Comment + " is longer than " +
                                      std::to_string(MaxText) + " bytes");
    auto found = known.find(key);
    if (found == known.end()) {
      report.Unknown.push_back(where(message) + "no text " + message.Context + " " +
                               message.Comment);
      continue;
    }
    if (found->second.first != message.Source) {
      report.SourceChanged.push_back(where(message) + "the source of " + message.Context + " " +
                                     message.Comment + " is no longer '" + message.Source + "'");
      continue;
    }
    std::vector<std::string>& texts = result.Entries[found->second.second].Texts;
    const size_t at = static_cast<size_t>(Language);
    if (texts.size() <= at) texts.resize(Content.Languages.size());
    if (message.Translation.empty() || texts[at] == message.Translation) {
      ++report.Unchanged;
      continue;
    }
    texts[at] = message.Translation;
    ++report.Changed;
  }
  Report = std::move(report);
  return result;
}

bool IsValidUtf8(const std::string& Text, int& Line) {
  Line = 1;
  const auto* bytes = reinterpret_cast<const unsigned char*>(Text.data());
  const size_t size = Text.size();
  for (size_t i = 0; i < size;) {
    const unsigned char c = bytes[i];
    if (c == '\n') ++Line;
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t length = 0;
    unsigned int code = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      code = c & 0x07;
    } else {
      return false;
    }
    if (i + length > size) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return false;
      code = (code << 6) | (bytes[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += length;
  }
  return true;
}

}  // namespace dataframework
