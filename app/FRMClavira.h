// The test bench's one window: an operator types a name, a domain, a
// password and a security code and tries a directory bind ("Autenticar"),
// the database flow ("Autenticar DB") or the system logon ("Button2").
//
// The controls keep the positions and sizes of the original 8-point layout;
// the font is that size, in a face narrow enough for every caption to show
// whole (Liberation Sans Narrow where "MS Sans Serif" is missing).
//
// The window owns its controls (through Qt's parent chain). It keeps no data
// between clicks: every handler reads the controls afresh. Messages and
// errors go through app::Presenter().
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class TFRMClavira : public QWidget {
  Q_OBJECT

 public:
  explicit TFRMClavira(QWidget* Parent = nullptr);
  ~TFRMClavira() override;

  // Handlers; an error raised in one goes to the default error display.
  void FormCreate(QObject* Sender);       // the database connection (FRMClaviraDb.cpp)
  void AutenticarClick(QObject* Sender);  // directory bind
  void Button1Click(QObject* Sender);     // database flow (FRMClaviraDb.cpp)
  void Button2Click(QObject* Sender);     // system logon

  QPushButton* Autenticar;
  QLineEdit* EditName;
  QLineEdit* EditDomain;
  QLineEdit* EditPassword;
  QPushButton* Button1;
  QCheckBox* CheckBoxSSL;
  QLineEdit* EditSecurity;
  QPushButton* Button2;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;

 private:
  // Shows Text through the presenter, this window as parent.
  void Show(const std::string& Text);
};

}  // namespace app
