// The window's database actions: the connection made when the window is
// created, and "Autenticar DB". Errors go to the default error display.
#include "app/DatabaseCheck.h"
#include "app/FRMClavira.h"
#include "platform/ProcessSecrets.h"

#include <QLineEdit>

namespace app {

void TFRMClavira::FormCreate(QObject* /*Sender*/) {
  ConnectDatabase();
}

void TFRMClavira::Button1Click(QObject* /*Sender*/) {
  std::string password = EditPassword->text().toStdString();
  const platform::TWipeOnExit wipe(password);
  const TDatabaseAnswer answer = DatabaseCheck(EditName->text().toStdString(), password);
  Show(answer.Message);
}

}  // namespace app
