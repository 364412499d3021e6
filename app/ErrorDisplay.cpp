#include "app/ErrorDisplay.h"

#include <QWidget>

#include "app/MessagePresenter.h"
#include "platform/Exception.h"

namespace app {

void ShowCurrentError(QWidget* Parent) noexcept {
  try {
    QString text;
    try {
      throw;
    } catch (const platform::Exception& e) {
      text = QString::fromLocal8Bit(e.Message());
    } catch (const std::exception& e) {
      text = QString::fromLocal8Bit(e.what());
    } catch (...) {
      text = QStringLiteral("Unknown error");
    }
    Presenter().ShowError(Parent, text);
  } catch (...) {
    // Nothing more can be done if showing the error fails.
  }
}

TApplication::TApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {
  setApplicationName(QStringLiteral("Clavira"));
}

bool TApplication::notify(QObject* Receiver, QEvent* Event) {
  try {
    return QApplication::notify(Receiver, Event);
  } catch (...) {
    ShowCurrentError(activeWindow());
    return false;
  }
}

}  // namespace app
