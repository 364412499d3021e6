// A small window of named widgets (button, nested label, combo box, table,
// action with its tool button) and its component adapter, shared by the
// adapter's tests and the translation tests over live widgets.
#pragma once

#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QWidget>

#include <memory>

#include "platform/qt/QtComponent.h"

namespace clavtest {

// A window class of a program's own, in its own namespace.
class TMainWindow : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString heading READ Heading WRITE SetHeading)
  Q_PROPERTY(QWidget* target READ Target WRITE SetTarget)

 public:
  QString Heading() const { return FHeading; }
  void SetHeading(const QString& Value) { FHeading = Value; }
  QWidget* Target() const { return FTarget; }
  void SetTarget(QWidget* Value) { FTarget = Value; }

 private:
  QString FHeading;
  QWidget* FTarget = nullptr;
};

}  // namespace clavtest

namespace platform::qt::testform {

using platform::TComponent;

template <class T>
T* Named(QWidget* Parent, const char* Name) {
  auto* object = new T(Parent);
  object->setObjectName(QString::fromLatin1(Name));
  return object;
}

class QtFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Window = std::make_unique<clavtest::TMainWindow>();
    Window->setObjectName("FRMMain");
    Window->setWindowTitle("Principal");
    Open = Named<QPushButton>(Window.get(), "BTNOpen");
    Open->setText("Abrir");
    Group = Named<QGroupBox>(Window.get(), "GRPBox");
    Name = Named<QLabel>(Group, "LBLName");  // nested one level down
    Name->setText("Nombre");
    Kinds = Named<QComboBox>(Window.get(), "CBXKind");
    Kinds->addItems({"uno", "dos"});
    Grid = Named<QTableWidget>(Window.get(), "GRDUsers");
    Grid->setColumnCount(2);
    Grid->setHorizontalHeaderLabels({"Usuario", "Correo"});
    Save = Named<QAction>(Window.get(), "ACTSave");
    Save->setText("Guardar");
    Tool = Named<QToolButton>(Window.get(), "TBNSave");
    Tool->setDefaultAction(Save);
    new QLabel(Window.get());                  // unnamed: no component
    Named<QLabel>(Window.get(), "qt_helper");  // Qt's own: no component
    Named<QLabel>(Window.get(), "lblname");    // taken (case-insensitively)
    Named<QLabel>(Window.get(), "not valid");  // not a component name
    Form = std::make_unique<TQtForm>(Window.get());
  }

  void TearDown() override {
    Form.reset();
    Window.reset();
  }

  TComponent* Component(const char* Name) { return Form->FindComponent(Name); }

  std::unique_ptr<clavtest::TMainWindow> Window;
  QPushButton* Open = nullptr;
  QGroupBox* Group = nullptr;
  QLabel* Name = nullptr;
  QComboBox* Kinds = nullptr;
  QTableWidget* Grid = nullptr;
  QAction* Save = nullptr;
  QToolButton* Tool = nullptr;
  std::unique_ptr<TQtForm> Form;
};

}  // namespace platform::qt::testform
