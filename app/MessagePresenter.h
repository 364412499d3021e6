// How the window's messages and the default error display reach the user.
//
// The process has one presenter; the real one shows a modal QMessageBox with
// a single OK button (Yes, No and maybe Cancel for a question) and returns
// when it is closed. Tests put their own in
// place with SetPresenter. The process owns the presenter in place.
#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace app {

// The answer to a question.
enum class TAnswer { Yes, No, Cancel };

class IMessagePresenter {
 public:
  virtual ~IMessagePresenter() = default;
  // A handler's message, such as "autenticado con exito".
  virtual void ShowMessage(QWidget* Parent, const QString& Text) = 0;
  // The text of an error that ended a handler.
  virtual void ShowError(QWidget* Parent, const QString& Text) = 0;
  // A question before something that loses work, such as "Remove the
  // language Por and its 9 texts?"; Cancellable offers Cancel besides Yes
  // and No. A presenter that cannot ask answers Cancel (No when not
  // Cancellable), so nothing is lost unasked.
  virtual TAnswer Ask(QWidget* Parent, const QString& Text, bool Cancellable);
};

class TMessageBoxPresenter : public IMessagePresenter {
 public:
  void ShowMessage(QWidget* Parent, const QString& Text) override;
  void ShowError(QWidget* Parent, const QString& Text) override;
  TAnswer Ask(QWidget* Parent, const QString& Text, bool Cancellable) override;
};

// The presenter in place (a TMessageBoxPresenter until another is set).
IMessagePresenter& Presenter();
// Puts Presenter in place (null: the real one again) and returns the previous.
std::unique_ptr<IMessagePresenter> SetPresenter(std::unique_ptr<IMessagePresenter> Presenter);

}  // namespace app
