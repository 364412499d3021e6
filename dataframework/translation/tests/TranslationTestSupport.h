// Plain components of the platform model for the translation tests: a form,
// buttons (and a subclass), actions, a list box with a string list, a grid
// with a collection of columns whose titles are nested objects, and a chain
// of nested objects for the depth limit. Also a fixture with a form, its
// translator and translated strings in three languages.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dataframework/elements/DataRow.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/LangNameField.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslatorFields.h"
#include "dataframework/translation/TranslatorRowStorage.h"
#include "platform/Collection.h"
#include "platform/Component.h"
#include "platform/PropInfo.h"
#include "platform/StringList.h"

namespace dataframework::testing {

class TTestForm : public platform::TComponent {
  CLAVIRA_DECLARE_CLASS()
 public:
  using TComponent::TComponent;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }

 private:
  std::string FCaption;
};

class TBasicAction : public platform::TComponent {
  CLAVIRA_DECLARE_CLASS()
 public:
  using TComponent::TComponent;
};

class TTestAction : public TBasicAction {
  CLAVIRA_DECLARE_CLASS()
 public:
  using TBasicAction::TBasicAction;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }

 private:
  std::string FCaption;
  std::string FHint;
};

class TTestButton : public platform::TComponent {
  CLAVIRA_DECLARE_CLASS()
 public:
  using TComponent::TComponent;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  TBasicAction* Action() const { return FAction; }
  void SetAction(TBasicAction* Value) { FAction = Value; }
  // A string property that no rule should ever make the walk read wrongly.
  std::string Kind() const { return "push"; }

 private:
  std::string FCaption;
  std::string FHint;
  TBasicAction* FAction = nullptr;
};

class TTestBitButton : public TTestButton {
  CLAVIRA_DECLARE_CLASS()
 public:
  using TTestButton::TTestButton;
};

class TTestListBox : public platform::TComponent {
  CLAVIRA_DECLARE_CLASS()
 public:
  using TComponent::TComponent;
  platform::TStringList* Items() const { return FItems.get(); }

 private:
  std::unique_ptr<platform::TStringList> FItems = std::make_unique<platform::TStringList>();
};

class TTestTitle : public platform::TPersistent {
  CLAVIRA_DECLARE_CLASS()
 public:
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }

 private:
  std::string FCaption;
};

class TTestColumn : public platform::TCollectionItem {
  CLAVIRA_DECLARE_CLASS()
 public:
  explicit TTestColumn(platform::TCollection* Collection) : TCollectionItem(Collection) {}
  TTestTitle* Title() const { return FTitle.get(); }
  const std::string& FieldName() const { return FFieldName; }
  void SetFieldName(const std::string& Value) { FFieldName = Value; }

 private:
  std::unique_ptr<TTestTitle> FTitle = std::make_unique<TTestTitle>();
  std::string FFieldName;
};

class TTestGrid : public platform::TComponent {
  CLAVIRA_DECLARE_CLASS()
 public:
  explicit TTestGrid(platform::TComponent* Owner);
  platform::TCollection* Columns() const { return FColumns.get(); }
  TTestTitle* Title() const { return FTitle.get(); }
  TTestColumn* AddColumn(const std::string& Caption);

 private:
  std::unique_ptr<platform::TCollection> FColumns;
  std::unique_ptr<TTestTitle> FTitle = std::make_unique<TTestTitle>();
};

// A chain of nested objects: Node.Next.Next... each with a Caption.
class TTestNode : public platform::TPersistent {
  CLAVIRA_DECLARE_CLASS()
 public:
  explicit TTestNode(int Depth);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  TTestNode* Next() const { return FNext.get(); }

 private:
  std::string FCaption;
  std::unique_ptr<TTestNode> FNext;
};

class TTestTree : public platform::TComponent {
  CLAVIRA_DECLARE_CLASS()
 public:
  explicit TTestTree(platform::TComponent* Owner)
      : TComponent(Owner), FRoot(std::make_unique<TTestNode>(7)) {}
  TTestNode* Root() const { return FRoot.get(); }

 private:
  std::unique_ptr<TTestNode> FRoot;
};

// A form "FRMMain" with a translator and the strings (languages Esp, Ing,
// Por; current language 0) serving it.
class TranslationFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The row of (form, component, path), or none.
  TDataRow* Row(const std::string& Component, const std::string& Path);
  std::string Text(TDataRow* Row, int Language);
  // Number of data rows of the translation storage.
  int RowTotal();

  std::unique_ptr<TTestForm> Form;
  TFormTranslator* Translator = nullptr;  // owned by Form
  std::unique_ptr<TTranslatedStrings> Strings;
};

}  // namespace dataframework::testing
