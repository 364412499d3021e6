// The application-wide default error display: an error that escapes a
// handler is shown with its text, and the window stays usable.
#pragma once

#include <QApplication>
#include <exception>
#include <utility>

class QWidget;

namespace app {

// Shows the error being handled (call from a catch block) through the presenter.
void ShowCurrentError(QWidget* Parent) noexcept;

// Runs Handler; any error it raises goes to the default error display.
template <class F>
void RunGuarded(QWidget* Parent, F&& Handler) noexcept {
  try {
    std::forward<F>(Handler)();
  } catch (...) {
    ShowCurrentError(Parent);
  }
}

// The application object; errors escaping event delivery are shown by the
// default error display instead of ending the program.
class TApplication : public QApplication {
 public:
  TApplication(int& Argc, char** Argv);
  bool notify(QObject* Receiver, QEvent* Event) override;
};

}  // namespace app
