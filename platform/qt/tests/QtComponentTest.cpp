// Live widgets through the component model: classes and ancestry, properties
// by name, the form's named components as the widget tree changes, string
// lists, collections and actions.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Collection.h"
#include "platform/PropInfo.h"
#include "platform/StringList.h"
#include "platform/qt/QtComponent.h"
#include "platform/qt/tests/QtTestForm.h"
#include "testsupport/MessageOf.h"

namespace platform::qt {
namespace {

using platform::TComponent;
using testsupport::MessageOf;
using QtComponentTest = testform::QtFormTest;
using testform::Named;
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
  EXPECT_FALSE(Component("BTNOpen")->ClassType().InheritsFrom("TBasicAction"));
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
  EXPECT_EQ(platform::GetStrProp(*Component("CBXKind"), "currentText"), "uno");

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

  EXPECT_EQ(platform::GetObjectProp(*Component("TBNSave"), "Action"), Component("ACTSave"));
  EXPECT_FALSE(platform::IsPublishedProp(*Component("BTNOpen"), "Action"));
  platform::SetStrProp(*Component("ACTSave"), "text", "Save");
  EXPECT_EQ(Tool->text(), "Save");  // the button follows its action
}

}  // namespace
}  // namespace platform::qt
