#include "dataframework/translation/tests/TranslationTestSupport.h"

#include "dataframework/elements/RowStorage.h"
#include "dataframework/translation/LangNameField.h"

namespace dataframework::testing {

using platform::ClassProp;
using platform::StrProp;

const platform::TClass& TTestForm::StaticClass() {
  static const platform::TClass Class(
      "TTestForm", &TComponent::StaticClass(), "TestForms",
      {StrProp<TTestForm>("Caption", &TTestForm::Caption, &TTestForm::SetCaption)});
  return Class;
}

const platform::TClass& TBasicAction::StaticClass() {
  static const platform::TClass Class("TBasicAction", &TComponent::StaticClass(), "TestActions");
  return Class;
}

const platform::TClass& TTestAction::StaticClass() {
  using T = TTestAction;
  static const platform::TClass Class("TTestAction", &TBasicAction::StaticClass(), "TestActions",
                                      {StrProp<T>("Caption", &T::Caption, &T::SetCaption),
                                       StrProp<T>("Hint", &T::Hint, &T::SetHint)});
  return Class;
}

const platform::TClass& TTestButton::StaticClass() {
  using T = TTestButton;
  static const platform::TClass Class(
      "TTestButton", &TComponent::StaticClass(), "TestControls",
      {StrProp<T>("Caption", &T::Caption, &T::SetCaption),
       StrProp<T>("Hint", &T::Hint, &T::SetHint), StrProp<T>("Kind", &T::Kind),
       ClassProp<T, TBasicAction>("Action", &T::Action, &T::SetAction)});
  return Class;
}

const platform::TClass& TTestBitButton::StaticClass() {
  static const platform::TClass Class("TTestBitButton", &TTestButton::StaticClass(),
                                      "TestControls");
  return Class;
}

const platform::TClass& TTestListBox::StaticClass() {
  static const platform::TClass Class(
      "TTestListBox", &TComponent::StaticClass(), "TestControls",
      {ClassProp<TTestListBox, platform::TStringList>("Items", &TTestListBox::Items)});
  return Class;
}

const platform::TClass& TTestTitle::StaticClass() {
  static const platform::TClass Class(
      "TTestTitle", &TPersistent::StaticClass(), "TestControls",
      {StrProp<TTestTitle>("Caption", &TTestTitle::Caption, &TTestTitle::SetCaption)});
  return Class;
}

const platform::TClass& TTestColumn::StaticClass() {
  using T = TTestColumn;
  static const platform::TCollectionItemClassOf<TTestColumn> Class(
      "TTestColumn", &TCollectionItem::StaticClass(), "TestControls",
      std::vector<platform::TPropInfo>{ClassProp<T, TTestTitle>("Title", &T::Title),
                                       StrProp<T>("FieldName", &T::FieldName, &T::SetFieldName)});
  return Class;
}

const platform::TClass& TTestGrid::StaticClass() {
  using T = TTestGrid;
  static const platform::TClass Class("TTestGrid", &TComponent::StaticClass(), "TestControls",
                                      {ClassProp<T, platform::TCollection>("Columns", &T::Columns),
                                       ClassProp<T, TTestTitle>("Title", &T::Title)});
  return Class;
}

TTestGrid::TTestGrid(platform::TComponent* Owner)
    : TComponent(Owner),
      FColumns(std::make_unique<platform::TCollection>(
          static_cast<const platform::TCollectionItemClass&>(TTestColumn::StaticClass()))) {}

TTestColumn* TTestGrid::AddColumn(const std::string& Caption) {
  auto* column = static_cast<TTestColumn*>(FColumns->Add());
  column->Title()->SetCaption(Caption);
  return column;
}

const platform::TClass& TTestNode::StaticClass() {
  using T = TTestNode;
  static const platform::TClass Class("TTestNode", &TPersistent::StaticClass(), "TestControls",
                                      {StrProp<T>("Caption", &T::Caption, &T::SetCaption),
                                       ClassProp<T, TTestNode>("Next", &T::Next)});
  return Class;
}

TTestNode::TTestNode(int Depth)
    : FCaption("level " + std::to_string(Depth)),
      FNext(Depth > 0 ? std::make_unique<TTestNode>(Depth - 1) : nullptr) {}

const platform::TClass& TTestTree::StaticClass() {
  static const platform::TClass Class("TTestTree", &TComponent::StaticClass(), "TestControls",
                                      {ClassProp<TTestTree, TTestNode>("Root", &TTestTree::Root)});
  return Class;
}

void TranslationFixture::SetUp() {
  Form = std::make_unique<TTestForm>(nullptr);
  Form->SetName("FRMMain");
  Form->SetCaption("Principal");
  Translator = new TFormTranslator(Form.get());  // owned by the form
  Translator->SetName("Translator");
  Translator->SetFormGuid("{00000000-0000-0000-0000-000000000001}");
  Strings = std::make_unique<TTranslatedStrings>(Translator);
  Strings->InsertLanguage(0, "Esp", NotFound);
  Strings->InsertLanguage(1, "Ing", NotFound);
  Strings->InsertLanguage(2, "Por", NotFound);
  Translator->SetCurrentLanguage(0);
}

void TranslationFixture::TearDown() {
  Strings.reset();
  Form.reset();
}

TDataRow* TranslationFixture::Row(const std::string& Component, const std::string& Path) {
  return Strings->GetTranslationStorage()->LocateRow({Translator->FormGuid(), Component, Path});
}

std::string TranslationFixture::Text(TDataRow* Row, int Language) {
  return Row->GetFStringValue(Strings->LanguageField(Language));
}

int TranslationFixture::RowTotal() {
  platform::TStringList rows;
  Strings->GetTranslationStorage()->GetRows(&rows, nullptr, gmRows);
  return rows.Count();
}

}  // namespace dataframework::testing
