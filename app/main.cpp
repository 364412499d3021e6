// The test bench: one window; closing it ends the program. With
// --translations an editor of the window's translations opens beside it.
#include <QScreen>
#include <algorithm>
#include <csignal>
#include <memory>

#include "app/ErrorDisplay.h"
#include "app/FRMClavira.h"
#include "app/TranslationEditor.h"
#include "platform/ProcessSecrets.h"

int main(int argc, char** argv) {
  // The password field may hold a secret at any moment: no core file.
  platform::KeepSecretsOutOfCoreFiles();
  // A directory server that drops the connection must not end the program.
  std::signal(SIGPIPE, SIG_IGN);
  app::TApplication application(argc, argv);
  app::TFRMClavira window;
  window.show();
  // Declared after the window, so it goes first.
  std::unique_ptr<app::TFRMTranslationEditor> editor;
  if (application.arguments().contains(QStringLiteral("--translations"))) {
    editor = std::make_unique<app::TFRMTranslationEditor>(window);
    // Below the window, inside the screen.
    const QRect screen = window.screen()->availableGeometry();
    editor->move(std::clamp(window.x(), screen.left(), screen.right() - editor->width()),
                 std::clamp(window.y() + window.frameGeometry().height() + 8, screen.top(),
                            screen.bottom() - editor->height()));
    editor->show();
  }
  return application.exec();
}
