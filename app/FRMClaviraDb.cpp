// The window's database actions. No database layer is configured yet, so
// "Autenticar DB" ends in an error shown by the default error display.
#include "app/FRMClavira.h"
#include "platform/Exception.h"

namespace app {

void TFRMClavira::FormCreate(QObject* /*Sender*/) {}

void TFRMClavira::Button1Click(QObject* /*Sender*/) {
  throw platform::Exception("Autenticar DB: no database configured");
}

}  // namespace app
