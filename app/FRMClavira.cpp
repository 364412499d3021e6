#include "app/FRMClavira.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

#include "app/Checks.h"
#include "app/ErrorDisplay.h"
#include "app/MessagePresenter.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "platform/ProcessSecrets.h"
#include "platform/qt/QtComponent.h"

namespace app {
namespace {

// Masks a password edit with "*" whatever the platform style would use.
class TStarPasswordStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

template <class T>
T* Place(QWidget* parent, const char* name, const QRect& geometry) {
  auto* control = new T(parent);
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(geometry);
  return control;
}

std::string Text(const QLineEdit* edit) {
  return edit->text().toLocal8Bit().toStdString();
}

}  // namespace

TFRMClavira::TFRMClavira(QWidget* Parent) : QWidget(Parent) {
  setObjectName(QStringLiteral("FRMClavira"));
  setWindowTitle(QStringLiteral("FRMClavira"));
  move(493, 230);
  resize(342, 254);
  // The positions and sizes are laid out for "MS Sans Serif" at 8 points
  // (11 pixels). Where it is missing, a narrow face of the same size keeps
  // every caption whole; the toolkit's default face is too wide for them.
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans Narrow"),
                    QStringLiteral("Arial Narrow")});
  font.setPixelSize(11);
  setFont(font);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Button));
  setPalette(colours);
  setAutoFillBackground(true);

  Autenticar = Place<QPushButton>(this, "Autenticar", {248, 112, 75, 25});
  Autenticar->setText(QStringLiteral("Autenticar"));
  EditName = Place<QLineEdit>(this, "EditName", {80, 40, 241, 21});
  EditDomain = Place<QLineEdit>(this, "EditDomain", {80, 64, 241, 21});
  EditPassword = Place<QLineEdit>(this, "EditPassword", {80, 88, 241, 21});
  auto* star = new TStarPasswordStyle;
  star->setParent(EditPassword);
  EditPassword->setStyle(star);
  EditPassword->setEchoMode(QLineEdit::Password);
  Button1 = Place<QPushButton>(this, "Button1", {248, 144, 75, 25});
  Button1->setText(QStringLiteral("Autenticar DB"));
  CheckBoxSSL = Place<QCheckBox>(this, "CheckBoxSSL", {24, 120, 97, 17});
  CheckBoxSSL->setText(QStringLiteral("SSL"));
  EditSecurity = Place<QLineEdit>(this, "EditSecurity", {80, 144, 161, 21});
  Button2 = Place<QPushButton>(this, "Button2", {16, 176, 75, 25});
  Button2->setText(QStringLiteral("Button2"));
  Label1 = Place<QLabel>(this, "Label1", {24, 48, 37, 13});
  Label1->setText(QStringLiteral("Nombre"));
  Label2 = Place<QLabel>(this, "Label2", {24, 72, 38, 13});
  Label2->setText(QStringLiteral("Dominio"));
  Label3 = Place<QLabel>(this, "Label3", {24, 96, 27, 13});
  Label3->setText(QStringLiteral("Clave"));
  Label4 = Place<QLabel>(this, "Label4", {24, 144, 48, 13});
  Label4->setText(QStringLiteral("Seguridad"));

  QWidget* order[] = {Autenticar, EditName,    EditDomain,   EditPassword,
                      Button1,    CheckBoxSSL, EditSecurity, Button2};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
  for (QWidget* control : order) control->setFocusPolicy(Qt::StrongFocus);

  connect(Autenticar, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { AutenticarClick(Autenticar); }); });
  connect(Button1, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { Button1Click(Button1); }); });
  connect(Button2, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { Button2Click(Button2); }); });

  for (QLabel* label : {Label1, Label2, Label3, Label4}) FLabelWidths[label] = label->width();

  FComponent = std::make_unique<platform::qt::TQtForm>(this);
  FTranslator = new dataframework::TFormTranslator(FComponent.get());  // owned by FComponent
  FTranslator->SetName("Translator");
  FTranslator->SetFormGuid(FRMClaviraGuid);
  FTranslator->SetAllowDuplicateLanguageNames(false);
  FStrings = std::make_unique<dataframework::TTranslatedStrings>(FTranslator);

  // An error while the window is made is shown, and the window opens regardless.
  RunGuarded(this, [this] { LoadTranslations(); });
  RunGuarded(this, [this] { FormCreate(this); });
}

// The strings go before the translator (either order is safe).
TFRMClavira::~TFRMClavira() = default;

void TFRMClavira::Show(const std::string& Text) {
  Presenter().ShowMessage(this, QString::fromLocal8Bit(Text));
}

void TFRMClavira::AutenticarClick(QObject* /*Sender*/) {
  // The "SSL" box is offered, but the request follows the security code alone.
  std::string password = Text(EditPassword);
  const platform::TWipeOnExit wipe(password);
  Show(DirectoryCheck(Text(EditName), password, Text(EditDomain), Text(EditSecurity)));
}

void TFRMClavira::Button2Click(QObject* /*Sender*/) {
  std::string password = Text(EditPassword);
  const platform::TWipeOnExit wipe(password);
  Show(SystemCheck(Text(EditName), Text(EditDomain), password));
}

}  // namespace app
