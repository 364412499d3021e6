// Live widgets through the component model: classes and ancestry, properties
// by name, the form's named components as the widget tree changes, string
// lists, collections and actions; then the translated strings gathering and
// applying texts on real widgets.
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

#include "dataframework/elements/DataRow.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/LangNameField.h"
#include "dataframework/translation/PropertyPath.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslatorFields.h"
#include "dataframework/translation/TranslatorRowStorage.h"
#include "platform/Collection.h"
#include "platform/PropInfo.h"
#include "platform/StringList.h"
#include "platform/qt/QtComponent.h"
#include "testsupport/MessageOf.h"

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

namespace platformqt {
namespace {

using platform::TComponent;
using testsupport::MessageOf;

template <class T>
T* Named(QWidget* Parent, const char* Name) {
  auto* object = new T(Parent);
  object->setObjectName(QString::fromLatin1(Name));
  return object;
}

class QtComponentTest : public ::testing::Test {
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

TEST_F(QtComponentTest, ClassesComeFromTheMetaObjectSystem) {
  struct Case {
    const char* Component;
    const char* ClassName;
    std::vector<const char*> Ancestors;
  };
  const Case cases[] = {
      {"FRMMain", "TMainWindow", {"QWidget", "QObject", "TComponent"}},
      {"BTNOpen", "QPushButton", {"QAbstractButton", "QWidget", "TComponent"}},
      {"ACTSave", "QAction", {"TBasicAction", "QObject", "TComponent", "TPersistent"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Component);
    TComponent* component =
        std::string(c.Component) == "FRMMain" ? Form.get() : Component(c.Component);
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(component->ClassName(), c.ClassName);
    for (const char* ancestor : c.Ancestors)
      EXPECT_TRUE(component->ClassType().InheritsFrom(ancestor)) << ancestor;
  }
  EXPECT_EQ(Form->UnitName(), "clavtest");
  EXPECT_EQ(Component("BTNOpen")->UnitName(), "Qt");
  EXPECT_TRUE(dataframework::IsAction(Component("ACTSave")));
  EXPECT_FALSE(dataframework::IsAction(Component("BTNOpen")));
}

TEST_F(QtComponentTest, PropertiesReadAndWriteTheLiveObject) {
  TComponent* open = Component("BTNOpen");
  EXPECT_EQ(platform::GetStrProp(*open, "text"), "Abrir");
  platform::SetStrProp(*open, "text", "Ñandú");  // UTF-8 both ways
  EXPECT_EQ(Open->text(), QString::fromUtf8("Ñandú"));
  EXPECT_EQ(platform::GetStrProp(*open, "text"), "Ñandú");

  platform::SetOrdProp(*open, "enabled", 0);
  EXPECT_FALSE(Open->isEnabled());
  platform::SetOrdProp(*open, "maximumWidth", 120);
  EXPECT_EQ(Open->maximumWidth(), 120);
  platform::SetEnumProp(*open, "focusPolicy", "NoFocus");
  EXPECT_EQ(Open->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(platform::GetEnumProp(*open, "focusPolicy"), "NoFocus");
  EXPECT_EQ(platform::PropType(*Form, "heading"), platform::tkString);  // the program's own
  // Object pointers are class-typed: the adapters of the objects held.
  EXPECT_EQ(platform::PropType(*Form, "target"), platform::tkClass);
  platform::SetObjectProp(*Form, "target", Component("LBLName"));
  EXPECT_EQ(Window->Target(), Name);
  EXPECT_EQ(platform::GetObjectProp(*Form, "target"), Component("LBLName"));
  EXPECT_EQ(MessageOf([&] { platform::SetObjectProp(*Form, "target", Component("ACTSave")); }),
            "Invalid property value");  // an action is no widget

  EXPECT_EQ(MessageOf([&] { platform::SetOrdProp(*open, "isActiveWindow", 1); }),
            "Property isActiveWindow is read-only");
  EXPECT_EQ(MessageOf([&] { platform::GetStrProp(*open, "caption"); }),
            "Property caption does not exist");
}

TEST_F(QtComponentTest, NamedDescendantsAreTheFormsComponents) {
  std::vector<std::string> names;
  for (int i = 0; i < Form->ComponentCount(); ++i) names.push_back(Form->Components(i)->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"BTNOpen", "GRPBox", "LBLName", "CBXKind", "GRDUsers",
                                             "ACTSave", "TBNSave"}));
  for (const std::string& name : names) EXPECT_EQ(Form->FindComponent(name)->Owner(), Form.get());

  // The tree changes: a widget goes, one comes, one is renamed.
  delete Name;
  Named<QPushButton>(Group, "BTNClose");
  Open->setObjectName("BTNAbrir");
  // The label that lost to it by name now has a component of its own.
  ASSERT_NE(Form->FindComponent("LBLName"), nullptr);
  EXPECT_EQ(Form->FindComponent("LBLName")->Name(), "lblname");
  EXPECT_NE(Form->FindComponent("BTNClose"), nullptr);
  ASSERT_NE(Form->FindComponent("BTNAbrir"), nullptr);
  EXPECT_EQ(Form->FindComponent("BTNOpen"), nullptr);

  // A widget that loses its name keeps its component, nameless, until it
  // has a name again.
  TComponent* group = Form->FindComponent("GRPBox");
  const int count = Form->ComponentCount();
  Group->setObjectName("");
  EXPECT_EQ(Form->ComponentCount(), count);
  EXPECT_EQ(group->Name(), "");
  EXPECT_EQ(Form->FindComponent("GRPBox"), nullptr);
  Group->setObjectName("GRPFrame");
  EXPECT_EQ(Form->FindComponent("GRPFrame"), group);
  Group->setObjectName("GRPBox");

  // Renaming the component renames the widget; a taken name changes nothing.
  Form->FindComponent("BTNAbrir")->SetName("BTNOpen");
  EXPECT_EQ(Open->objectName(), "BTNOpen");
  EXPECT_EQ(MessageOf([&] { Form->FindComponent("BTNOpen")->SetName("GRPBox"); }),
            "A component named GRPBox already exists");
  EXPECT_EQ(Open->objectName(), "BTNOpen");
}

TEST_F(QtComponentTest, ADestroyedWidgetIsReportedNotRead) {
  TComponent* open = Component("BTNOpen");
  delete Open;
  // Held from before the widget went: its properties refuse to work.
  EXPECT_EQ(MessageOf([&] { platform::GetStrProp(*open, "text"); }),
            "The object of BTNOpen no longer exists");
  EXPECT_EQ(Form->FindComponent("BTNOpen"), nullptr);
}

TEST_F(QtComponentTest, ItemsColumnsAndActions) {
  auto* items =
      dynamic_cast<platform::TStrings*>(platform::GetObjectProp(*Component("CBXKind"), "Items"));
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(items->Count(), 2);
  items->Put(1, "two");
  EXPECT_EQ(Kinds->itemText(1), "two");
  EXPECT_EQ(dataframework::GetPropertyText(Component("CBXKind"), "currentText"), "uno");

  auto* columns = dynamic_cast<platform::TCollection*>(
      platform::GetObjectProp(*Component("GRDUsers"), "Columns"));
  ASSERT_NE(columns, nullptr);
  ASSERT_EQ(columns->Count(), 2);
  EXPECT_EQ(platform::GetStrProp(*columns->Items(1), "text"), "Correo");
  platform::SetStrProp(*columns->Items(1), "text", "Mail");
  EXPECT_EQ(Grid->horizontalHeaderItem(1)->text(), "Mail");
  Grid->setColumnCount(3);
  columns = dynamic_cast<platform::TCollection*>(
      platform::GetObjectProp(*Component("GRDUsers"), "Columns"));
  EXPECT_EQ(columns->Count(), 3);

  platform::TComponent* action = nullptr;
  EXPECT_TRUE(dataframework::IsActionProperty(Component("TBNSave"), "text", action));
  EXPECT_EQ(action, Component("ACTSave"));
  EXPECT_FALSE(dataframework::IsActionProperty(Component("BTNOpen"), "text", action));
  platform::SetStrProp(*Component("ACTSave"), "text", "Save");
  EXPECT_EQ(Tool->text(), "Save");  // the button follows its action
}

// The translated strings over real widgets: gathering reads the live texts,
// switching the language writes them back.
TEST_F(QtComponentTest, TranslationGathersAndAppliesLiveTexts) {
  auto* translator = new dataframework::TFormTranslator(Form.get());  // owned by the form
  translator->SetName("Translator");
  translator->SetFormGuid("{00000000-0000-0000-0000-0000000000AA}");
  dataframework::TTranslatedStrings strings(translator);
  strings.InsertLanguage(0, "Esp", dataframework::NotFound);
  strings.InsertLanguage(1, "Ing", dataframework::NotFound);
  translator->SetCurrentLanguage(0);
  strings.AddRule("QAbstractButton", "text", true, true);
  strings.AddRule("QLabel", "text", false, true);
  strings.AddRule("TMainWindow", "windowTitle", false, true);
  strings.AddRule("QComboBox", "Items[]", false, true);
  strings.AddRule("QTableWidget", "Columns[].text", false, true);
  strings.AddRule("QAction", "text", false, true);
  strings.GatherAll();

  struct Case {
    const char* Component;
    const char* Path;
    const char* Spanish;
    const char* English;
  };
  const Case cases[] = {
      {"FRMMain", "windowTitle", "Principal", "Main"},
      {"BTNOpen", "text", "Abrir", "Open"},
      {"LBLName", "text", "Nombre", "Name"},
      {"CBXKind", "Items[1]", "dos", "two"},
      {"GRDUsers", "Columns[0].text", "Usuario", "User"},
      {"ACTSave", "text", "Guardar", "Save"},
  };
  auto* storage = strings.GetTranslationStorage();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Component) + " " + c.Path);
    dataframework::TDataRow* row =
        storage->LocateRow({translator->FormGuid(), c.Component, c.Path});
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->GetFStringValue(strings.LanguageField(0)), c.Spanish);
    row->SetFStringValue(strings.LanguageField(1), c.English);
  }
  // The tool button takes its text from the action: its row is the action's.
  EXPECT_TRUE(
      dataframework::IsActionRow(storage->LocateRow({translator->FormGuid(), "TBNSave", "text"})));

  translator->SwitchLanguage(1);
  EXPECT_EQ(Window->windowTitle(), "Main");
  EXPECT_EQ(Open->text(), "Open");
  EXPECT_EQ(Name->text(), "Name");
  EXPECT_EQ(Kinds->itemText(1), "two");
  EXPECT_EQ(Grid->horizontalHeaderItem(0)->text(), "User");
  EXPECT_EQ(Tool->text(), "Save");
  translator->SwitchLanguage(0);
  EXPECT_EQ(Open->text(), "Abrir");
  EXPECT_EQ(Kinds->itemText(1), "dos");
}

}  // namespace
}  // namespace platformqt

#include "QtComponentTest.moc"
