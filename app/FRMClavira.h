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
//
// Its texts are translated (FRMClaviraTranslation.cpp): the window owns its
// translated strings and, through its component adapter, its form
// translator. It opens in the language the runtime library names
// (LoadIdioma), in Spanish (the texts it is built with) when that language
// or the translation file is missing. Only captions change: the texts of
// messages and errors stay as they are, since scripts read them.
#pragma once

#include <QWidget>
#include <map>
#include <memory>
#include <string>

#include "app/TranslatedWindow.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dataframework {
class TFormTranslator;
class TTranslatedStrings;
}  // namespace dataframework
namespace platform::qt {
class TQtForm;
}

namespace app {

// The window's translator identifier: fixed, so that its rows in the
// translation file stay its own.
inline constexpr const char* FRMClaviraGuid = "{6C1A5E0B-3F7D-4B8E-9A21-C1A7D0E5F4B2}";

class TFRMClavira : public QWidget, public ITranslatedWindow {
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

  // ---- Translation (FRMClaviraTranslation.cpp).
  // The translation file: $CLAVIRA_TRANSLATIONS when set (empty: none),
  // else the one shipped with the program.
  static std::string TranslationFileName();
  // Reads the translation file, gathers texts the file lacks and shows
  // LoadIdioma's language. A missing, unreadable or corrupt file leaves the
  // window's own Spanish texts (as the only language) and raises its error,
  // which the window's constructor shows through the error display.
  // Called when the window is made.
  void LoadTranslations();
  dataframework::TTranslatedStrings& Strings() const override { return *FStrings; }
  dataframework::TFormTranslator& Translator() const override { return *FTranslator; }
  std::string TranslationFile() const override { return TranslationFileName(); }
  // Shows language Index of the strings (raises "Invalid index <n>!").
  void SwitchLanguage(int Index) override;
  // Labels grow to show a longer translated text whole; the layout's own
  // widths stay where the text fits.
  void FitLabels() override;

 private:
  // Shows Text through the presenter, this window as parent.
  void Show(const std::string& Text);
  // Languages, rules and the window's own texts when there is no file.
  void UseBuiltInTexts();

  std::unique_ptr<platform::qt::TQtForm> FComponent;  // owns FTranslator
  dataframework::TFormTranslator* FTranslator = nullptr;
  std::unique_ptr<dataframework::TTranslatedStrings> FStrings;
  std::map<QLabel*, int> FLabelWidths;  // as laid out
};

}  // namespace app
