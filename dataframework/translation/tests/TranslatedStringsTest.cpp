// Languages, rules and the walks of TTranslatedStrings over plain components.
#include <gtest/gtest.h>

#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/RowStorage.h"
#include "dataframework/translation/LangDisplayField.h"
#include "dataframework/translation/LangNameField.h"
#include "dataframework/translation/PropertyPath.h"
#include "dataframework/translation/TranslatedProperties.h"
#include "dataframework/translation/TranslatorViews.h"
#include "dataframework/translation/UnitLookupField.h"
#include "dataframework/translation/tests/TranslationTestSupport.h"
#include "testsupport/MessageOf.h"

namespace dataframework::testing {
namespace {

// A form with a button, a bit button, a list box, a grid and an action.
class StringsTest : public TranslationFixture {
 protected:
  void SetUp() override {
    TranslationFixture::SetUp();
    Button = new TTestButton(Form.get());
    Button->SetName("BTNOk");
    Button->SetCaption("Aceptar");
    Button->SetHint("Cierra");
    BitButton = new TTestBitButton(Form.get());
    BitButton->SetName("BBNHelp");
    BitButton->SetCaption("Ayuda");
    List = new TTestListBox(Form.get());
    List->SetName("LBXDays");
    List->Items()->Add("Lunes");
    List->Items()->Add("Martes");
    Grid = new TTestGrid(Form.get());
    Grid->SetName("GRDUsers");
    Grid->AddColumn("Nombre");
    Grid->AddColumn("Correo");
    Grid->Title()->SetCaption("Usuarios");
    Action = new TTestAction(Form.get());
    Action->SetName("ACTSave");
    Action->SetCaption("&Guardar");
  }

  // Column captions of the first view from the language offset on.
  std::vector<std::string> LanguageColumns() {
    std::vector<std::string> names;
    const TTranslatorView* view = Strings->GetViews().FirstView();
    for (size_t i = LanguageColumnOffset; i < view->Columns.size(); ++i)
      names.push_back(view->Columns[i]->CaptionText());
    return names;
  }

  TTestButton* Button = nullptr;
  TTestBitButton* BitButton = nullptr;
  TTestListBox* List = nullptr;
  TTestGrid* Grid = nullptr;
  TTestAction* Action = nullptr;
};

// ---- Languages.

TEST_F(StringsTest, InsertLanguageAtEveryPlaceKeepsTextsAndCurrentLanguage) {
  Strings->AddRule("TTestButton", "Caption", false, true);
  Strings->Gather(Translator, NotFound);
  Translator->SetCurrentLanguage(1);  // Ing
  Row("BTNOk", "Caption")->SetFStringValue(Strings->LanguageField(1), "OK");

  struct Case {
    int Index;
    std::vector<std::string> Names;
    int Current;
  };
  // Each case inserts "X<n>" into the languages left by the previous one.
  const Case cases[] = {
      {3, {"Esp", "Ing", "Por", "X3"}, 1},        // at LanguageCount: appended
      {1, {"Esp", "X1", "Ing", "Por", "X3"}, 2},  // before the current: it moves up
      {3, {"Esp", "X1", "Ing", "X3", "Por", "X3"}, 2},
  };
  Translator->SetAllowDuplicateLanguageNames(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Index);
    Strings->InsertLanguage(c.Index, "X" + std::to_string(c.Index), NotFound);
    std::vector<std::string> names;
    for (int i = 0; i < Strings->LanguageCount(); ++i) names.push_back(Strings->LanguageName(i));
    EXPECT_EQ(names, c.Names);
    EXPECT_EQ(LanguageColumns(), c.Names);
    EXPECT_EQ(Translator->CurrentLanguage(), c.Current);
    EXPECT_EQ(CurrentLanguageName(Translator), "Ing");
    // The rows moved to the new table with their texts.
    TDataRow* row = Row("BTNOk", "Caption");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->Table(), Strings->TranslationTable());
    EXPECT_EQ(Text(row, c.Current), "OK");
    EXPECT_EQ(Text(row, 0), "Aceptar");
    EXPECT_EQ(Strings->TranslationTable()->IndexOfField(Strings->LanguageField(c.Index)),
              6 + c.Index);
    EXPECT_EQ(Strings->MirrorTable()->FieldCount(), Strings->TranslationTable()->FieldCount());
  }
}

TEST_F(StringsTest, InsertLanguageRefusesBadInputAndChangesNothing) {
  Strings->AddRule("TTestButton", "Caption", false, true);
  Strings->Gather(Translator, NotFound);
  TDataTable* table = Strings->TranslationTable();
  const struct {
    int Index;
    const char* Name;
    int CopyFrom;
    const char* Message;
  } cases[] = {
      {4, "Deu", NotFound, "Invalid index 4!"},  // one past LanguageCount
      {-1, "Deu", NotFound, "Invalid index -1!"},
      {3, "Ing", NotFound, "Languagename 'Ing' is already used!"},
      {3, "Deu", 3, "Invalid index 3!"},  // CopyFrom names no language
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    EXPECT_EQ(testsupport::MessageOf([&] { Strings->InsertLanguage(c.Index, c.Name, c.CopyFrom); }),
              c.Message);
    EXPECT_EQ(Strings->LanguageCount(), 3);
    EXPECT_EQ(Strings->TranslationTable(), table);
    EXPECT_EQ(LanguageColumns(), (std::vector<std::string>{"Esp", "Ing", "Por"}));
    EXPECT_EQ(RowTotal(), 1);
  }
  // Duplicate names pass when the translator allows them.
  Translator->SetAllowDuplicateLanguageNames(true);
  Strings->InsertLanguage(3, "Ing", NotFound);
  EXPECT_EQ(Strings->LanguageCount(), 4);
  EXPECT_EQ(Strings->IndexOfLanguage("Ing"), 1);
  EXPECT_EQ(Strings->IndexOfLanguage("ing"), NotFound);
}

TEST_F(StringsTest, NewLanguageCopiesTheTextsOfAnother) {
  Strings->AddRule("TTestButton", "Caption", false, true);
  Strings->AddRule("TTestListBox", "Items[]", false, false);
  Strings->Gather(Translator, NotFound);
  Row("BTNOk", "Caption")->SetFStringValue(Strings->LanguageField(1), "OK");
  Row("BTNOk", "Caption")->SetFStringValue(Strings->LanguageField(2), "Aceitar");
  Strings->InsertLanguage(3, "Cat", 0);
  Strings->InsertLanguage(0, "Eng", 2);  // copies the old position 2 (Por)
  EXPECT_EQ(Text(Row("BTNOk", "Caption"), 4), "Aceptar");
  EXPECT_EQ(Text(Row("LBXDays", "Items[1]"), 4), "Martes");
  EXPECT_EQ(Text(Row("BTNOk", "Caption"), 0), "Aceitar");
  EXPECT_EQ(Text(Row("BTNOk", "Caption"), 2), "OK");
  Strings->InsertLanguage(5, "Blank", NotFound);
  EXPECT_EQ(Text(Row("BTNOk", "Caption"), 5), "");
}

TEST_F(StringsTest, RemoveLanguage) {
  Strings->AddRule("TTestButton", "Caption", false, true);
  Strings->Gather(Translator, NotFound);
  Row("BTNOk", "Caption")->SetFStringValue(Strings->LanguageField(2), "Aceitar");
  Translator->SetCurrentLanguage(2);
  EXPECT_EQ(testsupport::MessageOf([&] { Strings->RemoveLanguage(2); }),
            "You are not allowed to remove the currently selected language!");
  EXPECT_EQ(testsupport::MessageOf([&] { Strings->RemoveLanguage(3); }), "Invalid index 3!");
  EXPECT_EQ(Strings->LanguageCount(), 3);
  Strings->RemoveLanguage(NotFound);
  EXPECT_EQ(Strings->LanguageCount(), 3);

  Strings->RemoveLanguage(0);
  EXPECT_EQ(Strings->LanguageName(0), "Ing");
  EXPECT_EQ(LanguageColumns(), (std::vector<std::string>{"Ing", "Por"}));
  EXPECT_EQ(Translator->CurrentLanguage(), 1);
  EXPECT_EQ(CurrentLanguageName(Translator), "Por");
  EXPECT_EQ(Text(Row("BTNOk", "Caption"), 1), "Aceitar");
  EXPECT_EQ(Strings->TranslationTable()->FieldCount(), 8);
}

TEST_F(StringsTest, RenameLanguage) {
  Strings->RenameLanguage(1, "Ing");  // unchanged: no duplicate error
  EXPECT_EQ(testsupport::MessageOf([&] { Strings->RenameLanguage(1, "Esp"); }),
            "Languagename 'Esp' is already used!");
  EXPECT_EQ(testsupport::MessageOf([&] { Strings->RenameLanguage(3, "Deu"); }), "Invalid index 3!");
  Strings->RenameLanguage(1, "English");
  EXPECT_EQ(Strings->LanguageName(1), "English");
  EXPECT_EQ(Strings->LanguageField(1)->DisplayField()->CaptionText(), "English");
  EXPECT_EQ(Strings->IndexOfLanguage("English"), 1);
  EXPECT_EQ(Strings->LanguageName(7), "");
}

TEST_F(StringsTest, CurrentLanguageName) {
  EXPECT_EQ(CurrentLanguageName(Translator), "Esp");
  TFormTranslator loose(nullptr);
  EXPECT_EQ(CurrentLanguageName(&loose), "[Select Server]");
  EXPECT_EQ(CurrentLanguageName(nullptr), "[Select Server]");
  Translator->SetCurrentLanguage(NotFound);
  EXPECT_EQ(CurrentLanguageName(Translator), "");
}

// ---- Rules.

TEST_F(StringsTest, RulesHoldForSubclassesOnlyWhenSaid) {
  const struct {
    bool IncludeSubclasses;
    bool ForButton;
    bool ForBitButton;
  } cases[] = {{false, true, false}, {true, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.IncludeSubclasses);
    Strings->AddRule("TTestButton", "Caption", c.IncludeSubclasses, true);
    EXPECT_EQ(Strings->IsTranslatable(TTestButton::StaticClass(), "Caption"), c.ForButton);
    EXPECT_EQ(Strings->IsTranslatable(TTestBitButton::StaticClass(), "Caption"), c.ForBitButton);
    EXPECT_FALSE(Strings->IsTranslatable(TTestButton::StaticClass(), "Hint"));
    platform::TStringList rules;
    Strings->RulesForComponent(BitButton, rules);
    EXPECT_EQ(rules.Count(), c.ForBitButton ? 1 : 0);
    Strings->GatherAll();
    EXPECT_EQ(Row("BBNHelp", "Caption") != nullptr, c.ForBitButton);
    EXPECT_NE(Row("BTNOk", "Caption"), nullptr);
  }
  // Indexed paths are judged by their stripped form.
  Strings->AddRule("TTestListBox", "Items[7]", false, true);
  EXPECT_TRUE(Strings->IsTranslatable(TTestListBox::StaticClass(), "Items[3]"));
}

TEST_F(StringsTest, RulesForComponentListsOwnRulesThenInheritedOnes) {
  Strings->AddRule("TTestButton", "Caption", true, true);
  Strings->AddRule("TTestButton", "Hint", true, false);
  Strings->AddRule("TTestButton", "Kind", false, true);
  Strings->AddRule("TTestBitButton", "Hint", false, true);  // overrides the inherited one
  Strings->AddRule("TComponent", "Name", true, false);
  platform::TStringList rules;
  Strings->RulesForComponent(BitButton, rules);
  std::vector<std::string> paths;
  for (int i = 0; i < rules.Count(); ++i) paths.push_back(rules[i]);
  EXPECT_EQ(paths, (std::vector<std::string>{"Hint", "Caption", "Name"}));
  EXPECT_TRUE(static_cast<TAbstractRow*>(rules.GetObject(0))->GetFBooleanValue(TranslateField()));

  // An unnamed component has no rules.
  TTestBitButton unnamed(nullptr);
  platform::TStringList none;
  Strings->RulesForComponent(&unnamed, none);
  EXPECT_EQ(none.Count(), 0);
}

TEST_F(StringsTest, CollectPropertyPathsOffersStringsListsObjectsAndCollectionItems) {
  const struct {
    const platform::TClass* Class;
    const platform::TObject* Instance;
    std::vector<std::string> Paths;
  } cases[] = {
      {&TTestButton::StaticClass(), nullptr, {"Caption", "Hint", "Kind"}},
      {&TTestListBox::StaticClass(), nullptr, {"Items[]"}},
      {&TTestGrid::StaticClass(), nullptr, {"Title.Caption"}},
      {&TTestGrid::StaticClass(),
       Grid,
       {"Columns[].Title.Caption", "Columns[].FieldName", "Title.Caption"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Class->ClassName());
    platform::TStringList list;
    Strings->CollectPropertyPaths(*c.Class, c.Instance, "", list);
    std::vector<std::string> paths;
    for (int i = 0; i < list.Count(); ++i) paths.push_back(list[i]);
    EXPECT_EQ(paths, c.Paths);
  }
  // A class that holds objects of its own kind stops at the depth limit.
  platform::TStringList nodes;
  Strings->CollectPropertyPaths(TTestNode::StaticClass(), nullptr, "Root.", nodes);
  EXPECT_EQ(nodes.Count(), MaxPathDepth + 1);
  EXPECT_EQ(nodes[0], "Root.Caption");
  EXPECT_EQ(nodes[4], "Root.Next.Next.Next.Next.Caption");
}

TEST_F(StringsTest, ClassesDerivedFromListsTheFormsSubclasses) {
  std::vector<std::string> names;
  for (const platform::TClass* cls : Strings->ClassesDerivedFrom("TComponent"))
    names.push_back(cls->ClassName());
  EXPECT_EQ(names, (std::vector<std::string>{"TTestForm", "TFormTranslator", "TTestButton",
                                             "TTestBitButton", "TTestListBox", "TTestGrid",
                                             "TTestAction", "TBasicAction"}));
  names.clear();
  for (const platform::TClass* cls : Strings->ClassesDerivedFrom("TTestButton"))
    names.push_back(cls->ClassName());
  EXPECT_EQ(names, (std::vector<std::string>{"TTestBitButton"}));
}

// ---- Gather and apply.

TEST_F(StringsTest, GatherWalksPlainListObjectAndCollectionPaths) {
  Strings->AddRule("TTestForm", "Caption", false, true);
  Strings->AddRule("TTestButton", "Caption", false, true);
  Strings->AddRule("TTestButton", "Missing", false, true);  // names nothing: skipped
  Strings->AddRule("TTestListBox", "Items[]", false, false);
  Strings->AddRule("TTestGrid", "Columns[].Title.Caption", false, true);
  Strings->AddRule("TTestGrid", "Title.Caption", false, true);
  Strings->Gather(Translator, NotFound);
  const struct {
    const char* Component;
    const char* Path;
    const char* Text;
    bool Translate;
  } rows[] = {
      {"FRMMain", "Caption", "Principal", true},
      {"BTNOk", "Caption", "Aceptar", true},
      {"LBXDays", "Items[0]", "Lunes", false},
      {"LBXDays", "Items[1]", "Martes", false},
      {"GRDUsers", "Columns[0].Title.Caption", "Nombre", true},
      {"GRDUsers", "Columns[1].Title.Caption", "Correo", true},
      {"GRDUsers", "Title.Caption", "Usuarios", true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.Component) + " " + r.Path);
    TDataRow* row = Row(r.Component, r.Path);
    ASSERT_NE(row, nullptr);
    for (int language = 0; language < 3; ++language) EXPECT_EQ(Text(row, language), r.Text);
    EXPECT_EQ(row->GetFBooleanValue(TranslateField()), r.Translate);
    EXPECT_FALSE(row->GetFStringValue(ClassField()).empty());
  }
  EXPECT_EQ(RowTotal(), 7);
}

TEST_F(StringsTest, GatherStopsBelowTheDepthLimit) {
  auto* tree = new TTestTree(Form.get());
  tree->SetName("TRVMenu");
  Strings->AddRule("TTestTree", "Root.Next.Next.Next.Caption", false, true);       // depth 4
  Strings->AddRule("TTestTree", "Root.Next.Next.Next.Next.Caption", false, true);  // depth 5
  Strings->Gather(Translator, NotFound);
  EXPECT_NE(Row("TRVMenu", "Root.Next.Next.Next.Caption"), nullptr);
  EXPECT_EQ(Row("TRVMenu", "Root.Next.Next.Next.Next.Caption"), nullptr);
}

TEST_F(StringsTest, GatherAllOverwritesOnlyUnmarkedRows) {
  Strings->AddRule("TTestButton", "Caption", false, false);
  Strings->AddRule("TTestButton", "Hint", false, true);
  Strings->GatherAll();
  TDataRow* unmarked = Row("BTNOk", "Caption");
  TDataRow* marked = Row("BTNOk", "Hint");
  marked->SetFStringValue(Strings->LanguageField(1), "Closes");
  Button->SetCaption("Vale");
  Button->SetHint("Cierra la ventana");
  Strings->GatherAll();
  for (int language = 0; language < 3; ++language) EXPECT_EQ(Text(unmarked, language), "Vale");
  EXPECT_EQ(Text(marked, 0), "Cierra");
  EXPECT_EQ(Text(marked, 1), "Closes");
  // Gathering in a language updates only that language of a marked row.
  Strings->Gather(Translator, 0);
  EXPECT_EQ(Text(marked, 0), "Cierra la ventana");
  EXPECT_EQ(Text(marked, 1), "Closes");
}

TEST_F(StringsTest, ApplyTranslationsWritesMarkedRowsOfALanguage) {
  Strings->AddRule("TTestForm", "Caption", false, true);
  Strings->AddRule("TTestButton", "Caption", false, true);
  Strings->AddRule("TTestButton", "Hint", false, false);
  Strings->AddRule("TTestListBox", "Items[]", false, true);
  Strings->AddRule("TTestGrid", "Columns[].Title.Caption", false, true);
  Strings->Gather(Translator, NotFound);
  Row("FRMMain", "Caption")->SetFStringValue(Strings->LanguageField(1), "Main");
  Row("BTNOk", "Caption")->SetFStringValue(Strings->LanguageField(1), "OK");
  Row("BTNOk", "Hint")->SetFStringValue(Strings->LanguageField(1), "Closes");  // not marked
  Row("LBXDays", "Items[1]")->SetFStringValue(Strings->LanguageField(1), "Tuesday");
  Row("GRDUsers", "Columns[1].Title.Caption")->SetFStringValue(Strings->LanguageField(1), "Mail");

  Translator->SwitchLanguage(1);
  EXPECT_EQ(Form->Caption(), "Main");
  EXPECT_EQ(Button->Caption(), "OK");
  EXPECT_EQ(Button->Hint(), "Cierra");
  EXPECT_EQ(List->Items()->Get(0), "Lunes");
  EXPECT_EQ(List->Items()->Get(1), "Tuesday");
  EXPECT_EQ(static_cast<TTestColumn*>(Grid->Columns()->Items(1))->Title()->Caption(), "Mail");
  Translator->SwitchLanguage(0);
  EXPECT_EQ(Button->Caption(), "Aceptar");
  EXPECT_EQ(List->Items()->Get(1), "Martes");
  EXPECT_EQ(testsupport::MessageOf([&] { Translator->SwitchLanguage(3); }), "Invalid index 3!");
  EXPECT_EQ(Translator->CurrentLanguage(), 0);

  // Not a language, or no strings: nothing is written.
  Strings->ApplyTranslations(Translator, 5);
  TFormTranslator loose(nullptr);
  Strings->ApplyTranslations(&loose, 1);
  EXPECT_EQ(Button->Caption(), "Aceptar");
}

TEST_F(StringsTest, ARenamedComponentKeepsItsRowAtDesignTime) {
  Strings->AddRule("TTestButton", "Caption", false, true);
  Strings->Gather(Translator, NotFound);
  Row("BTNOk", "Caption")->SetFStringValue(Strings->LanguageField(1), "OK");
  const struct {
    bool Designing;
    const char* Name;
    bool Kept;
  } cases[] = {{false, "BTNAccept", false}, {true, "BTNYes", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Form->SetDesigning(c.Designing);
    const std::string old = Button->Name();
    Button->SetName(c.Name);
    TDataRow* row = Strings->FindTranslationRow(Translator, Button, "Caption");
    EXPECT_EQ(row != nullptr, c.Kept);
    if (row != nullptr) {
      EXPECT_EQ(row->GetFStringValue(ComponentField()), c.Name);
      EXPECT_EQ(Text(row, 1), "OK");
      EXPECT_EQ(Row(old, "Caption"), nullptr);
    } else {
      Button->SetName(old);
    }
  }
  EXPECT_EQ(RowTotal(), 1);
}

TEST_F(StringsTest, RowsOfUnnamedComponentsAreNeverMade) {
  auto* unnamed = new TTestButton(Form.get());
  unnamed->SetCaption("x");
  Strings->AddRule("TTestButton", "Caption", false, true);
  Strings->Gather(Translator, NotFound);
  EXPECT_EQ(RowTotal(), 1);  // BTNOk only
  EXPECT_EQ(Strings->FindTranslationRow(Translator, unnamed, "Caption"), nullptr);
  std::string text = "left over";
  EXPECT_FALSE(Strings->GetTranslatedText(Translator, unnamed, 0, "Caption", text));
  EXPECT_EQ(text, "");
}

TEST_F(StringsTest, PropagateActionTextsCopiesTheActionsRowToItsUsers) {
  Strings->AddRule("TTestButton", "Caption", true, true);
  Strings->AddRule("TTestAction", "Caption", false, true);
  Button->SetAction(Action);
  BitButton->SetAction(Action);
  Strings->Gather(Translator, NotFound);
  EXPECT_EQ(Text(Row("BTNOk", "Caption"), 0), "&Guardar");  // read from the action
  TDataRow* own = Row("ACTSave", "Caption");
  own->SetFStringValue(Strings->LanguageField(1), "&Save");
  Strings->PropagateActionTexts(Action);
  for (const char* user : {"BTNOk", "BBNHelp"}) {
    SCOPED_TRACE(user);
    EXPECT_EQ(Text(Row(user, "Caption"), 1), "&Save");
    EXPECT_TRUE(Row(user, "Caption")->GetFBooleanValue(TranslateField()));
  }
  // A user whose action has no row of its own keeps its texts.
  auto* other = new TTestAction(Form.get());
  other->SetName("ACTOther");
  other->SetCaption("Otro");
  BitButton->SetAction(other);
  Strings->PropagateActionTexts(Action);
  EXPECT_EQ(Text(Row("BBNHelp", "Caption"), 1), "&Save");
}

TEST_F(StringsTest, ApplyRowWritesOnlyThatRow) {
  Strings->AddRule("TTestButton", "Caption", false, true);
  Strings->AddRule("TTestButton", "Hint", false, true);
  Strings->Gather(Translator, NotFound);
  Row("BTNOk", "Caption")->SetFStringValue(Strings->LanguageField(0), "Vale");
  Row("BTNOk", "Hint")->SetFStringValue(Strings->LanguageField(0), "Sale");
  Strings->ApplyRow(Translator, Row("BTNOk", "Hint"));
  EXPECT_EQ(Button->Hint(), "Sale");
  EXPECT_EQ(Button->Caption(), "Aceptar");
  // The real storage is back in place afterwards.
  EXPECT_EQ(Strings->GetTranslationStorage()->Owner(), Strings.get());
  EXPECT_EQ(RowTotal(), 2);
}

TEST_F(StringsTest, RulesAreCachedPerClassButNotForUnnamedComponents) {
  Strings->AddRule("TTestButton", "Caption", false, true);
  auto* unnamed = new TTestButton(Form.get());
  unnamed->SetCaption("x");
  // The unnamed button comes before a named one of its class.
  Form->RemoveComponent(Button);
  Form->InsertComponent(Button);
  Strings->Gather(Translator, NotFound);
  EXPECT_NE(Row("BTNOk", "Caption"), nullptr);

  TTranslatedProperties properties(*Strings);
  EXPECT_EQ(properties.PropertiesOf(unnamed).Count(), 0);
  EXPECT_EQ(properties.CachedClassCount(), 0);
  const platform::TStrings& first = properties.PropertiesOf(Button);
  EXPECT_EQ(first.Count(), 1);
  auto* other = new TTestButton(Form.get());
  other->SetName("BTNOther");
  EXPECT_EQ(&properties.PropertiesOf(other), &first);
  EXPECT_EQ(properties.CachedClassCount(), 1);
}

TEST_F(StringsTest, HiddenRowsStayHiddenAcrossLanguageChanges) {
  Strings->AddRule("TTestButton", "Caption", false, false);
  Strings->AddRule("TTestButton", "Hint", false, true);
  Strings->GatherAll();
  Strings->SetMode(1);
  ASSERT_EQ(Strings->GetTranslationStorage()->RowCount(), 1);
  Strings->InsertLanguage(3, "Cat", NotFound);
  EXPECT_EQ(RowTotal(), 2);
  EXPECT_EQ(Strings->GetTranslationStorage()->RowCount(), 1);
  Strings->RemoveLanguage(3);
  EXPECT_EQ(RowTotal(), 2);
  EXPECT_EQ(Strings->GetTranslationStorage()->RowCount(), 1);
}

TEST_F(StringsTest, SetContentRefusesBrokenContentAndChangesNothing) {
  Strings->AddRule("TTestButton", "Caption", false, true);
  Strings->Gather(Translator, NotFound);
  const TTranslationContent before = Strings->Content();
  TTranslationContent duplicate = before;
  duplicate.Languages.push_back("Esp");
  for (auto& entry : duplicate.Entries) entry.Texts.push_back("x");
  TTranslationContent shortTexts = before;
  shortTexts.Entries[0].Texts.pop_back();
  TTranslationContent twice = before;
  twice.Entries.push_back(before.Entries[0]);
  twice.Entries.back().Component = "btnok";
  const struct {
    const TTranslationContent* Content;
    std::string Message;
  } cases[] = {
      {&duplicate, "Languagename 'Esp' is already used!"},
      {&shortTexts,
       "The text " + Translator->FormGuid() + " BTNOk Caption has 2 texts for 3 languages"},
      {&twice, "The text " + Translator->FormGuid() + " btnok Caption is given twice"},
  };
  TDataTable* table = Strings->TranslationTable();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    EXPECT_EQ(testsupport::MessageOf([&] { Strings->SetContent(*c.Content); }), c.Message);
    EXPECT_EQ(Strings->TranslationTable(), table);
    EXPECT_EQ(Strings->LanguageCount(), 3);
    EXPECT_EQ(RowTotal(), 1);
  }
}

TEST_F(StringsTest, RefreshWithoutAFormKeepsEveryRow) {
  Strings->AddRule("TTestButton", "Caption", false, false);
  Strings->GatherAll();
  Strings->SetContext(nullptr);
  Strings->Refresh(true);
  EXPECT_EQ(RowTotal(), 1);
  EXPECT_EQ(Strings->GetTranslationStorage()->RowCount(), 1);
  Strings->GatherAll();  // no form: nothing gathered, nothing lost
  EXPECT_EQ(RowTotal(), 1);
}

// ---- Forms, refresh, synchronize.

TEST_F(StringsTest, RefreshHidesOrDeletesStaleRowsOfTheFormOnly) {
  Strings->AddRule("TTestButton", "Caption", false, false);
  Strings->AddRule("TTestButton", "Hint", false, true);
  Strings->AddRule("TTestListBox", "Items[]", false, true);
  Strings->GatherAll();
  // A row of another form stays whatever happens to this form.
  TFormTranslator other(nullptr);
  other.SetFormGuid("{00000000-0000-0000-0000-000000000002}");
  other.SetName("Other");
  Strings->StoreText(&other, &other, true, NotFound, "x", "Caption");
  auto* storage = Strings->GetTranslationStorage();
  EXPECT_EQ(storage->RowCount(), 5);

  Strings->SetMode(1);  // only rows marked translated
  EXPECT_EQ(storage->RowCount(), 3);
  Strings->SetMode(0);
  EXPECT_EQ(storage->RowCount(), 4);
  EXPECT_FALSE(Strings->GetTranslationStorage()
                   ->LocateRow({other.FormGuid(), "Other", "Caption"})
                   ->Visible());

  delete List;  // its rows are stale now
  Strings->Refresh(false);
  EXPECT_EQ(storage->RowCount(), 2);
  EXPECT_EQ(RowTotal(), 5);
  Strings->Refresh(true);
  EXPECT_EQ(RowTotal(), 3);
  EXPECT_NE(Strings->GetTranslationStorage()->LocateRow({other.FormGuid(), "Other", "Caption"}),
            nullptr);
}

TEST_F(StringsTest, SynchronizeRegistersTheFormAndDeleteFormForgetsIt) {
  Strings->AddRule("TTestButton", "Caption", false, true);
  EXPECT_EQ(Strings->Synchronize(), 1);
  TDataRow* form = Strings->GetFormsStorage()->LocateRow({Translator->FormGuid()});
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->GetFStringValue(UnitField()), "TestForms");
  EXPECT_EQ(form->GetFStringValue(FormClassField()), "TTestForm");
  // Registering again replaces the row.
  Strings->RegisterForm(Translator);
  platform::TStringList forms;
  Strings->GetFormsStorage()->GetRows(&forms, nullptr, gmRows);
  EXPECT_EQ(forms.Count(), 1);

  Strings->DeleteForm(Translator->FormGuid());
  EXPECT_EQ(RowTotal(), 0);
  EXPECT_EQ(Strings->GetFormsStorage()->LocateRow({Translator->FormGuid()}), nullptr);

  TTranslatedStrings empty;
  EXPECT_EQ(empty.Synchronize(), 0);
}

TEST_F(StringsTest, ListComponentsGivesTheFormFirst) {
  platform::TStringList list;
  Strings->ListComponents(list);
  ASSERT_EQ(list.Count(), 7);
  EXPECT_EQ(list[0], "FRMMain");
  EXPECT_EQ(list.GetObject(0), Form.get());
  EXPECT_EQ(list[1], "Translator");
  EXPECT_EQ(list.GetObject(6), Action);
}

TEST(FormGuidTest, MadeOnceUnlessASecondIdentifierIsSet) {
  TFormTranslator translator(nullptr);
  const std::string guid = FormGuid(&translator);
  ASSERT_EQ(guid.size(), 38u);
  EXPECT_EQ(guid.front(), '{');
  EXPECT_EQ(guid.back(), '}');
  for (size_t i : {9u, 14u, 19u, 24u}) EXPECT_EQ(guid[i], '-');
  EXPECT_EQ(FormGuid(&translator), guid);
  TFormTranslator other(nullptr);
  EXPECT_NE(FormGuid(&other), guid);
  TFormTranslator fixed(nullptr);
  fixed.SetSecondIdentifier("window");
  EXPECT_EQ(FormGuid(&fixed), "");
}

TEST(TranslatorLinkTest, EitherSideMayGoFirst) {
  auto strings = std::make_unique<TTranslatedStrings>();
  auto translator = std::make_unique<TFormTranslator>(nullptr);
  translator->SetStrings(strings.get());
  strings->SetContext(translator.get());
  strings->InsertLanguage(0, "Esp", NotFound);
  translator->SetCurrentLanguage(0);
  translator.reset();
  EXPECT_EQ(strings->GetContext(), nullptr);
  strings->InsertLanguage(0, "Ing", NotFound);  // no dangling translator to move

  translator = std::make_unique<TFormTranslator>(nullptr);
  strings->SetContext(translator.get());
  EXPECT_EQ(translator->Strings(), strings.get());
  strings.reset();
  EXPECT_EQ(translator->Strings(), nullptr);
  EXPECT_EQ(CurrentLanguageName(translator.get()), "[Select Server]");
}

class ClosingEditor : public ITranslationEditorForm {
 public:
  void CloseAndRelease() override { ++Closed; }
  int Closed = 0;
};

TEST(TranslatorLinkTest, DestroyingTheStringsClosesTheEditor) {
  ClosingEditor editor;
  {
    TTranslatedStrings strings;
    strings.SetEditorForm(&editor);
    EXPECT_EQ(strings.GetEditorForm(), &editor);
    EXPECT_EQ(strings.AddRef(), 1);
    EXPECT_EQ(strings.Release(), 1);
  }
  EXPECT_EQ(editor.Closed, 1);
}

}  // namespace
}  // namespace dataframework::testing
