// Reads arbitrary bytes as a translator's file: the first byte chooses the
// format (even: gettext PO, odd: Qt Linguist .ts), the rest is the file. The
// only error allowed is ETranslationExchangeError. A PO catalog that was read
// writes and reads back to the same messages; any catalog that was read
// imports into a small content (or is refused) without touching the key
// structure, and writes as a .ts without a crash. Anything else, a crash, a
// leak or a hang, is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dataframework/qt/TsFile.h"
#include "dataframework/translation/PoFile.h"
#include "dataframework/translation/TranslationExchange.h"

namespace df = dataframework;

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

df::TTranslationContent Sample() {
  df::TTranslationContent content;
  content.Languages = {"Esp", "Ing"};
  content.Forms = {{"{6C1A5E0B-3F7D-4B8E-9A21-C1A7D0E5F4B2}", "app", "TFRMClavira"}};
  content.Entries = {{content.Forms[0].Guid, "Label1", "text", "QLabel", true, {"Nombre", "Name"}},
                     {content.Forms[0].Guid, "Box", "Items[0]", "QComboBox", true, {"Uno", ""}}};
  return content;
}

void Messages(df::TExchangeCatalog& Catalog) {
  for (df::TExchangeMessage& message : Catalog.Messages) message.Line = 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const bool po = (Data[0] & 1) == 0;
  const std::string text(reinterpret_cast<const char*>(Data + 1), Size - 1);
  df::TExchangeCatalog catalog;
  try {
    catalog = po ? df::ReadPo(text, "fuzz") : df::qt::ReadTs(text, "fuzz");
  } catch (const df::ETranslationExchangeError&) {
    return 0;
  }
  if (po) {
    df::TExchangeCatalog again = df::ReadPo(df::WritePo(catalog), "fuzz");
    Messages(catalog);
    Messages(again);
    Check(again.Messages == catalog.Messages);
  }
  (void)df::qt::WriteTs(catalog);
  const df::TTranslationContent content = Sample();
  df::TImportReport report;
  try {
    const df::TTranslationContent imported = df::ImportCatalog(content, 1, catalog, "fuzz", report);
    Check(imported.Languages == content.Languages && imported.Entries.size() == 2);
    Check(imported.Entries[0].Texts[0] == "Nombre" && imported.Entries[1].Texts[0] == "Uno");
  } catch (const df::ETranslationExchangeError&) {
  }
  return 0;
}
