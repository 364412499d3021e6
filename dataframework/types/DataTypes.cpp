#include "dataframework/types/DataTypes.h"

#include <memory>

#include "platform/Conversions.h"

namespace dataframework {
namespace {

// The installed translator; not owned.
IStringTranslator* gInstalledTranslator = nullptr;

}  // namespace

std::vector<TDoubleStringArray> DefaultMessageTable() {
  std::vector<TDoubleStringArray> table;
  table.reserve(DefaultMessages.size());
  for (const TMessageDefinition& m : DefaultMessages) table.push_back({m.Key, m.Text});
  return table;
}

TDefaultTranslator::TDefaultTranslator(std::vector<TDoubleStringArray> Table)
    : FTable(std::move(Table)) {}

bool TDefaultTranslator::GetText(const std::string& Key, std::string& Text) {
  Text.clear();
  return Translate(Key, Text);
}

bool TDefaultTranslator::GetTextFmt(const std::string& Key, const std::vector<std::string>& Args,
                                    std::string& Text) {
  Text.clear();
  return TranslateFmt(Key, Args, Text);
}

bool TDefaultTranslator::Translate(const std::string& Key, std::string& Text) {
  Text = Key;
  for (const TDoubleStringArray& entry : FTable) {
    if (entry[0] == Key) {
      Text = entry[1];
      return true;
    }
  }
  return false;
}

bool TDefaultTranslator::TranslateFmt(const std::string& Key, const std::vector<std::string>& Args,
                                      std::string& Text) {
  Text.clear();
  bool found = Translate(Key, Text);
  if (found) Text = SubstituteArgs(Text, Args);
  return found;
}

TDefaultTranslator* DefaultTranslator() {
  // Made on first use, destroyed at the end of the process.
  static std::unique_ptr<TDefaultTranslator> translator =
      std::make_unique<TDefaultTranslator>(DefaultMessageTable());
  return translator.get();
}

IStringTranslator* CurrentTranslator() {
  return gInstalledTranslator != nullptr ? gInstalledTranslator : DefaultTranslator();
}

IStringTranslator* InstallTranslator(IStringTranslator* Translator) {
  IStringTranslator* previous = gInstalledTranslator;
  gInstalledTranslator = Translator;
  return previous;
}

std::string TranslateMessage(const std::string& Key) {
  std::string result;
  if (CurrentTranslator()->Translate(Key, result)) return result;
  if (DefaultTranslator()->Translate(Key, result)) return result;
  DefaultTranslator()->GetText(E_ValueInvalidType, result);
  return result;
}

std::string TranslateMessageFmt(const std::string& Key, const std::vector<std::string>& Args) {
  std::string result;
  if (CurrentTranslator()->TranslateFmt(Key, Args, result)) return result;
  if (DefaultTranslator()->TranslateFmt(Key, Args, result)) return result;
  DefaultTranslator()->GetTextFmt(E_ValueInvalidType, Args, result);
  return result;
}

std::string SubstituteArgs(const std::string& Text, const std::vector<std::string>& Args) {
  // The result is built left to right: text before a placeholder is copied,
  // the placeholder replaced, and the search goes on after it in Text, so an
  // argument that itself holds a placeholder is never searched again.
  std::string result;
  result.reserve(Text.size());
  size_t sequence = 1;
  size_t pos = 0;
  while (true) {
    size_t open = Text.find("<$", pos);
    if (open == std::string::npos) break;
    size_t close = Text.find('>', open);
    if (close == std::string::npos) break;
    std::string inner = Text.substr(open + 2, close - open - 2);
    int64_t number = 0;
    if (inner.empty()) {
      number = static_cast<int64_t>(sequence);
    } else if (auto parsed = platform::TryStrToInt(inner)) {
      number = *parsed;
    } else {
      // Not a placeholder: copied as it stands, the turn does not advance.
      result.append(Text, pos, close + 1 - pos);
      pos = close + 1;
      continue;
    }
    result.append(Text, pos, open - pos);
    if (number >= 1 && static_cast<uint64_t>(number) <= Args.size()) {
      result += Args[static_cast<size_t>(number - 1)];
    }
    ++sequence;
    pos = close + 1;
  }
  result.append(Text, pos, std::string::npos);
  return result;
}

}  // namespace dataframework
