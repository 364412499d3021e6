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
