// Reads arbitrary bytes as a translation file. The only error allowed is the
// reader's ETranslationFileError. Content that was read is taken over by
// translated strings (which may refuse it as a whole with an exception of
// theirs, changing nothing), and its text form reads back to the same text.
// Anything else, a crash, a leak or a hang, is a finding.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslationFile.h"
#include "platform/Exception.h"

namespace df = dataframework;

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::string TextOf(const df::TTranslationContent& Content) {
  std::ostringstream text;
  df::WriteTranslationContent(text, Content, "fuzz");
  return text.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::istringstream input(std::string(reinterpret_cast<const char*>(Data), Size));
  df::TTranslationContent content;
  try {
    content = df::ReadTranslationContent(input, "fuzz");
  } catch (const df::ETranslationFileError&) {
    return 0;
  }

  df::TTranslatedStrings strings;
  const std::string before = TextOf(strings.Content());
  try {
    strings.SetContent(content);
  } catch (const platform::Exception&) {
    Check(TextOf(strings.Content()) == before);  // refused as a whole
  }

  const std::string text = TextOf(content);
  std::istringstream again(text);
  Check(TextOf(df::ReadTranslationContent(again, "fuzz")) == text);
  return 0;
}
