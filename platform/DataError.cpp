#include "platform/DataError.h"

#include "platform/Exception.h"

namespace platform {

TDataErrorHook DataErrorHook;

void DataError(TErrorSeverity Severity, const std::string& Context, const std::string& Message) {
  if (DataErrorHook) DataErrorHook(Severity, Context, Message);
  if (Severity == esFatal) throw Exception(Message);
}

TDataErrorCapture::TDataErrorCapture() : FPrevious(std::move(DataErrorHook)) {
  DataErrorHook = [this](TErrorSeverity Severity, const std::string& Context,
                         const std::string& Message) {
    FEntries.push_back({Severity, Context, Message});
  };
}

TDataErrorCapture::~TDataErrorCapture() {
  DataErrorHook = std::move(FPrevious);
}

std::vector<TDataErrorCapture::TEntry> TDataErrorCapture::Warnings() const {
  std::vector<TEntry> result;
  for (const TEntry& e : FEntries) {
    if (e.Severity == esWarning) result.push_back(e);
  }
  return result;
}

}  // namespace platform
