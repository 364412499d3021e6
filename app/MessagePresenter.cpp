#include "app/MessagePresenter.h"

#include <QApplication>
#include <QMessageBox>

namespace app {
namespace {

std::unique_ptr<IMessagePresenter>& Slot() {
  static std::unique_ptr<IMessagePresenter> presenter;
  return presenter;
}

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

void TMessageBoxPresenter::ShowMessage(QWidget* Parent, const QString& Text) {
  ShowBox(Parent, QMessageBox::NoIcon, Text);
}

void TMessageBoxPresenter::ShowError(QWidget* Parent, const QString& Text) {
  ShowBox(Parent, QMessageBox::Critical, Text);
}

TAnswer IMessagePresenter::Ask(QWidget*, const QString&, bool Cancellable) {
  return Cancellable ? TAnswer::Cancel : TAnswer::No;
}

TAnswer TMessageBoxPresenter::Ask(QWidget* Parent, const QString& Text, bool Cancellable) {
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (Cancellable) buttons |= QMessageBox::Cancel;
  QMessageBox box(QMessageBox::Question, QApplication::applicationName(), Text, buttons, Parent);
  box.setDefaultButton(Cancellable ? QMessageBox::Cancel : QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return TAnswer::Yes;
    case QMessageBox::No:
      return TAnswer::No;
    default:
      return TAnswer::Cancel;
  }
}

IMessagePresenter& Presenter() {
  if (!Slot()) Slot() = std::make_unique<TMessageBoxPresenter>();
  return *Slot();
}

std::unique_ptr<IMessagePresenter> SetPresenter(std::unique_ptr<IMessagePresenter> Presenter) {
  std::unique_ptr<IMessagePresenter> previous = std::move(Slot());
  Slot() = std::move(Presenter);
  return previous;
}

}  // namespace app
