// The window, offscreen: its controls, and real clicks on its buttons against
// a private slapd and a pam_wrapper stack, with the messages captured.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "app/ErrorDisplay.h"
#include "app/FRMClavira.h"
#include "app/MessagePresenter.h"
#include "platform/Exception.h"
#include "testsupport/PamStack.h"
#include "testsupport/SlapdServer.h"

namespace {

struct Shown {
  bool Error;
  std::string Text;
  bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
  *os << (s.Error ? "error \"" : "message \"") << s.Text << "\"";
}

std::vector<Shown> One(bool Error, const char* Text) {
  return {{Error, Text}};
}

class TCapturePresenter : public app::IMessagePresenter {
 public:
  explicit TCapturePresenter(std::vector<Shown>* Log) : FLog(Log) {}
  void ShowMessage(QWidget*, const QString& Text) override {
    FLog->push_back({false, Text.toStdString()});
  }
  void ShowError(QWidget*, const QString& Text) override {
    FLog->push_back({true, Text.toStdString()});
  }

 private:
  std::vector<Shown>* FLog;
};

testsupport::SlapdServer& Server() {
  static auto server = [] {
    auto s = std::make_unique<testsupport::SlapdServer>(testsupport::SlapdOptions{.Tls = true});
    setenv("LDAPTLS_CACERT", s->CaFile().c_str(), 1);  // read at the library's first use
    return s;
  }();
  return *server;
}

testsupport::PamStack& Pam() {
  static testsupport::PamStack stack({{"alice", "alice-secret", ""}});
  return stack;
}

class FRMClaviraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPrevious = app::SetPresenter(std::make_unique<TCapturePresenter>(&FShown));
    FWindow = std::make_unique<app::TFRMClavira>();
    FWindow->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(FWindow.get()));
  }
  void TearDown() override {
    FWindow.reset();
    app::SetPresenter(std::move(FPrevious));
  }

  void Fill(const std::string& Name, const std::string& Domain, const std::string& Password,
            const std::string& Security) {
    FWindow->EditName->setText(QString::fromStdString(Name));
    FWindow->EditDomain->setText(QString::fromStdString(Domain));
    FWindow->EditPassword->setText(QString::fromStdString(Password));
    FWindow->EditSecurity->setText(QString::fromStdString(Security));
  }
  // Clicks Button and answers what it showed.
  std::vector<Shown> Click(QPushButton* Button) {
    FShown.clear();
    QTest::mouseClick(Button, Qt::LeftButton);
    return FShown;
  }

  std::vector<Shown> FShown;
  std::unique_ptr<app::IMessagePresenter> FPrevious;
  std::unique_ptr<app::TFRMClavira> FWindow;
};

TEST_F(FRMClaviraTest, ControlsStandWhereTheyShould) {
  app::TFRMClavira& w = *FWindow;
  EXPECT_EQ(w.objectName(), "FRMClavira");
  EXPECT_EQ(w.windowTitle(), "FRMClavira");
  EXPECT_EQ(w.size(), QSize(342, 254));
  EXPECT_EQ(w.font().family(), "MS Sans Serif");
  EXPECT_EQ(w.font().pixelSize(), 11);

  struct Control {
    QWidget* Widget;
    const char* Name;
    QString Caption;
    QRect Geometry;
  };
  auto caption = [](QWidget* widget) {
    if (auto* b = qobject_cast<QAbstractButton*>(widget)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(widget)) return l->text();
    return qobject_cast<QLineEdit*>(widget)->text();
  };
  const Control controls[] = {
      {w.Autenticar, "Autenticar", "Autenticar", {248, 112, 75, 25}},
      {w.EditName, "EditName", "", {80, 40, 241, 21}},
      {w.EditDomain, "EditDomain", "", {80, 64, 241, 21}},
      {w.EditPassword, "EditPassword", "", {80, 88, 241, 21}},
      {w.Button1, "Button1", "Autenticar DB", {248, 144, 75, 25}},
      {w.CheckBoxSSL, "CheckBoxSSL", "SSL", {24, 120, 97, 17}},
      {w.EditSecurity, "EditSecurity", "", {80, 144, 161, 21}},
      {w.Button2, "Button2", "Button2", {16, 176, 75, 25}},
      {w.Label1, "Label1", "Nombre", {24, 48, 37, 13}},
      {w.Label2, "Label2", "Dominio", {24, 72, 38, 13}},
      {w.Label3, "Label3", "Clave", {24, 96, 27, 13}},
      {w.Label4, "Label4", "Seguridad", {24, 144, 48, 13}},
  };
  for (const Control& c : controls) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(c.Widget->objectName(), c.Name);
    EXPECT_EQ(w.findChild<QWidget*>(c.Name), c.Widget);
    EXPECT_EQ(caption(c.Widget), c.Caption);
    EXPECT_EQ(c.Widget->geometry(), c.Geometry);
  }

  // Tab order: the eight controls in a ring, no label among them.
  std::vector<QWidget*> ring;
  QWidget* next = w.Autenticar;
  do {
    if (next->focusPolicy() & Qt::TabFocus) ring.push_back(next);
    next = next->nextInFocusChain();
  } while (next != w.Autenticar && ring.size() < 20);
  std::vector<QWidget*> expected = {w.Autenticar, w.EditName,    w.EditDomain,   w.EditPassword,
                                    w.Button1,    w.CheckBoxSSL, w.EditSecurity, w.Button2};
  EXPECT_EQ(ring, expected);
  EXPECT_EQ(w.Label1->focusPolicy(), Qt::NoFocus);
}

// The layout keeps its pixel positions and sizes; the font must let every
// caption show whole inside them ("Nombr", "Autenticar D" are faults).
TEST_F(FRMClaviraTest, EveryCaptionFitsItsControl) {
  app::TFRMClavira& w = *FWindow;
  for (QLabel* label : {w.Label1, w.Label2, w.Label3, w.Label4}) {
    SCOPED_TRACE(label->text().toStdString());
    const QFontMetrics metrics(label->font());
    EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width());
    EXPECT_LE(metrics.height(), label->contentsRect().height());
  }
  struct Button {
    QAbstractButton* Control;
    QStyle::SubElement Contents;
  } buttons[] = {{w.Autenticar, QStyle::SE_PushButtonContents},
                 {w.Button1, QStyle::SE_PushButtonContents},
                 {w.Button2, QStyle::SE_PushButtonContents},
                 {w.CheckBoxSSL, QStyle::SE_CheckBoxContents}};
  for (const Button& b : buttons) {
    SCOPED_TRACE(b.Control->text().toStdString());
    QStyleOptionButton option;
    option.initFrom(b.Control);
    option.text = b.Control->text();
    const QRect contents = b.Control->style()->subElementRect(b.Contents, &option, b.Control);
    const QFontMetrics metrics(b.Control->font());
    EXPECT_LE(metrics.horizontalAdvance(b.Control->text()), contents.width());
    EXPECT_LE(metrics.height(), contents.height());
  }
  EXPECT_EQ(QFontInfo(w.font()).pixelSize(), 11);
}

TEST_F(FRMClaviraTest, PasswordIsMaskedWithStars) {
  FWindow->EditPassword->setFocus();
  QTest::keyClicks(FWindow->EditPassword, "secret");
  EXPECT_EQ(FWindow->EditPassword->text(), "secret");
  EXPECT_EQ(FWindow->EditPassword->displayText(), "******");
}

struct DirectoryCase {
  const char* Name;
  const char* Uid;  // empty: empty account
  const char* Password;
  const char* Security;
  Shown Expected;
};

void PrintTo(const DirectoryCase& c, std::ostream* os) {
  *os << c.Name;
}

const Shown kOk{false, "autenticado con exito"};
const Shown kRefused{false, "autenticacion fallida"};

class AutenticarTest : public FRMClaviraTest,
                       public ::testing::WithParamInterface<DirectoryCase> {};

TEST_P(AutenticarTest, ShowsTheAnswerWhateverTheSslBox) {
  const DirectoryCase& c = GetParam();
  testsupport::SlapdServer& server = Server();
  Fill(*c.Uid ? server.UserDn(c.Uid) : "", server.HostPort(), c.Password, c.Security);
  for (bool ssl : {false, true}) {
    SCOPED_TRACE(ssl ? "SSL ticked" : "SSL not ticked");
    FWindow->CheckBoxSSL->setChecked(ssl);
    EXPECT_EQ(Click(FWindow->Autenticar), std::vector<Shown>{c.Expected});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, AutenticarTest,
    ::testing::Values(DirectoryCase{"Code0", "alice", "alice-secret", "0", kOk},
                      DirectoryCase{"WrongPassword", "alice", "bob-secret", "0", kRefused},
                      DirectoryCase{"EmptyPassword", "alice", "", "0", kRefused},
                      DirectoryCase{"Code2OverTls", "bob", "bob-secret", "2", kOk},
                      DirectoryCase{"Code3NoBind", "alice", "alice-secret", "3", kRefused},
                      DirectoryCase{"Code10Anonymous", "alice", "wrong", "10", kOk},
                      DirectoryCase{"Hex14IsFastBind", "alice", "alice-secret", "$14", kOk},
                      DirectoryCase{"Hex0x10IsSixteen", "alice", "alice-secret", "0x10", kRefused},
                      DirectoryCase{"LeadingBlanks", "alice", "alice-secret", "  4", kOk},
                      DirectoryCase{"NotAnInteger",
                                    "alice",
                                    "alice-secret",
                                    "abc",
                                    {true, "'abc' is not a valid integer value"}},
                      DirectoryCase{"EmptySecurity",
                                    "alice",
                                    "alice-secret",
                                    "",
                                    {true, "'' is not a valid integer value"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FRMClaviraTest, Button2LogsOnThroughPam) {
  Pam();
  Fill("alice", "", "alice-secret", "");
  EXPECT_EQ(Click(FWindow->Button2), One(false, "Exitoso"));
  Fill("alice", ".", "alice-secret", "");
  EXPECT_EQ(Click(FWindow->Button2), One(false, "Exitoso"));
  Fill("alice", "", "wrong", "");
  EXPECT_EQ(Click(FWindow->Button2), One(false, "Fallido"));
  Fill("alice", "elsewhere", "alice-secret", "");
  EXPECT_EQ(Click(FWindow->Button2), One(false, "Fallido"));
}

TEST_F(FRMClaviraTest, AnErrorIsShownAndTheWindowStaysUsable) {
  EXPECT_TRUE(FShown.empty());  // creating the window showed nothing
  // No engine configured: no connection, and the error says so.
  EXPECT_EQ(Click(FWindow->Button1),
            One(true, "No database engine: VESQUIN_ENGINE is set but empty"));
  EXPECT_TRUE(FWindow->isVisible());
  testsupport::SlapdServer& server = Server();
  Fill(server.UserDn("alice"), server.HostPort(), "alice-secret", "4");
  EXPECT_EQ(Click(FWindow->Autenticar), std::vector<Shown>{kOk});
}

// Throws from its event handler.
class TThrowingWidget : public QWidget {
 protected:
  bool event(QEvent* Event) override {
    if (Event->type() == QEvent::User)
      throw platform::EConvertError("'x' is not a valid integer value");
    return QWidget::event(Event);
  }
};

TEST_F(FRMClaviraTest, ApplicationShowsErrorsEscapingEvents) {
  TThrowingWidget widget;
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&widget, &event));
  EXPECT_EQ(FShown, One(true, "'x' is not a valid integer value"));
}

}  // namespace
