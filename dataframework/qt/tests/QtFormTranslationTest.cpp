// The translated strings over real widgets: gathering reads the live texts,
// switching the language writes them back; actions are told by their class.
#include <gtest/gtest.h>

#include <string>

#include "dataframework/elements/DataRow.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/LangNameField.h"
#include "dataframework/translation/PropertyPath.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslatorFields.h"
#include "dataframework/translation/TranslatorRowStorage.h"
#include "platform/qt/tests/QtTestForm.h"

namespace dataframework::qt {
namespace {

using QtFormTranslationTest = platform::qt::testform::QtFormTest;

TEST_F(QtFormTranslationTest, ActionsAndTheirButtons) {
  EXPECT_TRUE(IsAction(Component("ACTSave")));
  EXPECT_FALSE(IsAction(Component("BTNOpen")));
  EXPECT_EQ(GetPropertyText(Component("CBXKind"), "currentText"), "uno");
  platform::TComponent* action = nullptr;
  EXPECT_TRUE(IsActionProperty(Component("TBNSave"), "text", action));
  EXPECT_EQ(action, Component("ACTSave"));
  EXPECT_FALSE(IsActionProperty(Component("BTNOpen"), "text", action));
}

// The translated strings over real widgets: gathering reads the live texts,
// switching the language writes them back.
TEST_F(QtFormTranslationTest, TranslationGathersAndAppliesLiveTexts) {
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
}  // namespace dataframework::qt
