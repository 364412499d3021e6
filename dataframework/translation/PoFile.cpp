#include "dataframework/translation/PoFile.h"

#include <sstream>
#include <string_view>

#include "platform/TextUtils.h"

namespace dataframework {

namespace {

std::string Quote(const std::string& Text) {
  std::string out = "\"";
  for (const char c : Text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
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
      default:
        out += c;
    }
  }
  return out + "\"";
}

// A keyword and its text; texts with line feeds go one line per piece, as
// gettext's own tools write them.
void WriteField(std::ostream& Out, const char* Keyword, const std::string& Text) {
  Out << Keyword << " ";
  const size_t feed = Text.find('\n');
  if (feed == std::string::npos || feed + 1 == Text.size()) {
    Out << Quote(Text) << "\n";
    return;
  }
  Out << "\"\"\n";
  size_t start = 0;
  while (start < Text.size()) {
    size_t end = Text.find('\n', start);
    end = end == std::string::npos ? Text.size() : end + 1;
    Out << Quote(Text.substr(start, end - start)) << "\n";
    start = end;
  }
}

class TPoReader {
 public:
  TPoReader(const std::string& Text, const std::string& SourceName)
      : FText(Text), FSource(SourceName) {}
  TExchangeCatalog Read();

 private:
  enum TField { fNone, fContext, fId, fString };

  [[noreturn]] void Fail(const std::string& What) const {
    throw ETranslationExchangeError(FSource + ":" + std::to_string(FLine) + ": " + What);
  }
  std::string Unquote(std::string_view Raw) const;
  void Finish();
  void Header(const std::string& Text);

  const std::string& FText;
  std::string FSource;
  int FLine = 0;
  TExchangeCatalog FCatalog;
  // The message being read.
  bool FOpen = false;
  bool FHasId = false;
  bool FHasString = false;
  bool FHasContext = false;
  bool FFuzzy = false;
  bool FHeaderSeen = false;
  int FStart = 0;
  TField FField = fNone;
  std::string FContext, FId, FString;
};

std::string TPoReader::Unquote(std::string_view Raw) const {
  const std::string trimmed = platform::Trim(Raw);
  if (trimmed.size() < 2 || trimmed.front() != '"' || trimmed.back() != '"')
    Fail("a quoted text expected");
  std::string out;
  for (size_t i = 1; i + 1 < trimmed.size(); ++i) {
    char c = trimmed[i];
    if (c == '"') Fail("a quote inside a text must be escaped");
    if (c != '\\') {
      out += c;
      continue;
    }
    if (i + 2 >= trimmed.size()) Fail("a text ends in a lone backslash");
    c = trimmed[++i];
    switch (c) {
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
      case '"':
        out += c;
        break;
      default:
        Fail(std::string("unknown escape '\\") + c + "'");
    }
  }
  return out;
}

void TPoReader::Header(const std::string& Text) {
  std::istringstream lines(Text);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string name = platform::Trim(line.substr(0, colon));
    const std::string value = platform::Trim(line.substr(colon + 1));
    if (platform::SameText(name, "Content-Type")) {
      const size_t charset = platform::UpperCase(value).find("CHARSET=");
      if (charset != std::string::npos &&
          !platform::SameText(platform::Trim(value.substr(charset + 8)), "UTF-8"))
        Fail("the file must be UTF-8, not " + value.substr(charset + 8));
    } else if (platform::SameText(name, "X-Language")) {
      FCatalog.Language = value;
    } else if (platform::SameText(name, "Language") && FCatalog.Language.empty()) {
      FCatalog.Language = value;
    } else if (platform::SameText(name, "X-Source-Language")) {
      FCatalog.SourceLanguage = value;
    }
  }
}

void TPoReader::Finish() {
  if (!FOpen) return;
  const int line = FLine;
  FLine = FStart;
  if (!FHasId) Fail("a message without msgid");
  if (!FHasString) Fail("a message without msgstr");
  if (FId.empty()) {
    if (FHasContext || FHeaderSeen) Fail("a message with an empty msgid");
    FHeaderSeen = true;
    Header(FString);
  } else {
    const size_t bar = FContext.find('|');
    if (!FHasContext || bar == std::string::npos)
      Fail("msgctxt must hold the context and the comment, joined by '|'");
    TExchangeMessage message;
    message.Context = FContext.substr(0, bar);
    message.Comment = FContext.substr(bar + 1);
    message.Source = FId;
    message.Translation = FString;
    message.Unfinished = FFuzzy || FString.empty();
    message.Line = FStart;
    FCatalog.Messages.push_back(std::move(message));
  }
  FLine = line;
  FOpen = FHasId = FHasString = FHasContext = FFuzzy = false;
  FField = fNone;
  FContext.clear();
  FId.clear();
  FString.clear();
}

TExchangeCatalog TPoReader::Read() {
  int bad = 0;
  if (!IsValidUtf8(FText, bad)) {
    FLine = bad;
    Fail("the text is not UTF-8");
  }
  // Some editors start a UTF-8 file with a byte order mark.
  size_t start = FText.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
  while (start < FText.size()) {
    size_t end = FText.find('\n', start);
    if (end == std::string::npos) end = FText.size();
    std::string_view line(FText.data() + start, end - start);
    start = end + 1;
    ++FLine;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string trimmed = platform::Trim(line);
    if (trimmed.empty()) {
      Finish();
      continue;
    }
    if (trimmed[0] == '#') {
      if (trimmed.rfind("#~", 0) == 0) continue;  // obsolete message
      // A comment starts the next message when the current one is complete.
      if (FOpen && FHasString) Finish();
      if (trimmed.rfind("#,", 0) == 0) {
        if (!FOpen) FStart = FLine;
        FOpen = true;
        std::istringstream flags(trimmed.substr(2));
        std::string flag;
        while (std::getline(flags, flag, ','))
          if (platform::Trim(flag) == "fuzzy") FFuzzy = true;
      }
      continue;
    }
    if (trimmed[0] == '"') {
      if (FField == fNone) Fail("a text that continues no msgctxt, msgid or msgstr");
      std::string& field = FField == fContext ? FContext : FField == fId ? FId : FString;
      field += Unquote(trimmed);
      continue;
    }
    const size_t blank = trimmed.find_first_of(" \t");
    const std::string keyword = trimmed.substr(0, blank);
    if (blank == std::string::npos) Fail("'" + keyword + "' without a text");
    const std::string rest = trimmed.substr(blank);
    if (keyword == "msgctxt") {
      if (FOpen && (FHasId || FHasContext)) {
        if (!FHasString) Fail("a message without msgstr");
        Finish();
      }
      if (!FOpen) FStart = FLine;
      FOpen = FHasContext = true;
      FField = fContext;
      FContext = Unquote(rest);
    } else if (keyword == "msgid") {
      if (FOpen && FHasId) {
        if (!FHasString) Fail("a message without msgstr");
        Finish();
      }
      if (!FOpen) FStart = FLine;
      FOpen = FHasId = true;
      FField = fId;
      FId = Unquote(rest);
    } else if (keyword == "msgstr") {
      if (!FHasId) Fail("msgstr without msgid");
      if (FHasString) Fail("msgstr appears twice in a message");
      FHasString = true;
      FField = fString;
      FString = Unquote(rest);
    } else if (keyword == "msgid_plural" || keyword.rfind("msgstr[", 0) == 0) {
      Fail("plural forms are not used by these translations");
    } else {
      Fail("unknown keyword '" + keyword + "'");
    }
  }
  Finish();
  return std::move(FCatalog);
}

}  // namespace

std::string WritePo(const TExchangeCatalog& Catalog) {
  std::ostringstream out;
  out << "# Clavira translations: language " << Catalog.Language << ", translated from "
      << Catalog.SourceLanguage << ".\n";
  out << "msgid \"\"\nmsgstr \"\"\n";
  const auto header = [&](const char* Name, const std::string& Value) {
    out << Quote(std::string(Name) + ": " + Value + "\n") << "\n";
  };
  header("Project-Id-Version", "Clavira");
  header("PO-Revision-Date", "2026-01-01 00:00+0000");
  header("Last-Translator", "");
  header("Language-Team", "");
  header("Language", Catalog.Language);
  header("MIME-Version", "1.0");
  header("Content-Type", "text/plain; charset=UTF-8");
  header("Content-Transfer-Encoding", "8bit");
  header("X-Language", Catalog.Language);
  header("X-Source-Language", Catalog.SourceLanguage);
  header("X-Qt-Contexts", "true");
  for (const TExchangeMessage& message : Catalog.Messages) {
    out << "\n";
    // An unfinished text that is still a copy of the source waits for review.
    if (message.Unfinished && !message.Translation.empty()) out << "#, fuzzy\n";
    WriteField(out, "msgctxt", message.Context + "|" + message.Comment);
    WriteField(out, "msgid", message.Source);
    WriteField(out, "msgstr", message.Translation);
  }
  return out.str();
}

TExchangeCatalog ReadPo(const std::string& Text, const std::string& SourceName) {
  return TPoReader(Text, SourceName).Read();
}

}  // namespace dataframework
