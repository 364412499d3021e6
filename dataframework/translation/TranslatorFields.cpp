#include "dataframework/translation/TranslatorFields.h"

#include "dataframework/elements/AbstractRow.h"
#include "dataframework/elements/CommonCalcFields.h"
#include "dataframework/elements/DataTable.h"
#include "dataframework/elements/KeyField.h"
#include "dataframework/translation/BitmapLoader.h"
#include "dataframework/translation/DoTranslateDisplayField.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/MarkRowCalcField.h"
#include "dataframework/translation/PropertyPath.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslatorRowStorage.h"
#include "dataframework/translation/UnitLookupField.h"
#include "dataframework/types/DerivedDataType.h"
#include "dataframework/types/ReferenceTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/TextUtils.h"

namespace dataframework {

namespace {

// The module's process-wide objects. Members die in reverse order: the
// tables first (they leave their fields), then the text fields, then the
// fields they show.
struct TTranslatorModule {
  std::unique_ptr<TKeyField> Class;
  std::unique_ptr<TKeyField> Guid;
  std::unique_ptr<TUnitLookupField> Unit;
  std::unique_ptr<TUnitLookupField> FormClass;
  std::unique_ptr<TKeyField> Component;
  std::unique_ptr<TKeyField> Property;
  std::unique_ptr<TMarkRowCalcField> MarkRow;
  std::unique_ptr<TDataField> Translate;
  std::unique_ptr<TDoTranslateDisplayField> TranslateDisplay;
  std::unique_ptr<TBooleanTextField> TranslateText;
  std::unique_ptr<TBooleanTextField> TranslateDisplayText;
  std::unique_ptr<TDataField> IncludeSubclasses;
  std::unique_ptr<TBooleanTextField> IncludeSubclassesText;
  std::unique_ptr<TDataField> ComponentPointer;
  std::unique_ptr<TDataTable> Rules;
  std::unique_ptr<TDataTable> Forms;
};

std::unique_ptr<TKeyField> MakeKey(int Size, const char* Caption) {
  auto field = TKeyField::CreateSimpleKey(std::string(), StringType(Size, false));
  field->SetCaptions({Caption});
  return field;
}

std::unique_ptr<TDataField> MakeField(const TDataType* Type, const char* Caption) {
  auto field = TDataField::CreateField(std::string(), Type);
  field->SetCaptions({Caption});
  return field;
}

std::unique_ptr<TTranslatorModule> MakeModule() {
  auto m = std::make_unique<TTranslatorModule>();
  m->Class = MakeKey(64, "Class");
  m->Guid = MakeKey(38, "GUID");
  m->Unit = std::make_unique<TUnitLookupField>();
  m->Unit->SetCaptions({"Unit"});
  m->FormClass = std::make_unique<TUnitLookupField>();
  m->FormClass->SetCaptions({"Form Class"});
  m->Component = MakeKey(64, "Component");
  m->Property = MakeKey(64, "Property");
  m->MarkRow = std::make_unique<TMarkRowCalcField>();
  m->Translate = MakeField(BooleanType(), "Translate");
  m->TranslateDisplay = std::make_unique<TDoTranslateDisplayField>();
  m->TranslateDisplay->SetCaptions({"Translate"});
  m->TranslateText = TBooleanTextField::CreateBoolText(std::string(), m->Translate.get());
  m->TranslateDisplayText =
      TBooleanTextField::CreateBoolText(std::string(), m->TranslateDisplay.get());
  m->IncludeSubclasses = MakeField(BooleanType(), "Include subclasses");
  m->IncludeSubclassesText =
      TBooleanTextField::CreateBoolText(std::string(), m->IncludeSubclasses.get());
  m->ComponentPointer = MakeField(ObjectType(), "Pointer to component");
  m->Rules = TDataTable::CreateTable(std::string(), nullptr, {m->Class.get(), m->Property.get()},
                                     {m->IncludeSubclasses.get(), m->Translate.get()}, nullptr);
  m->Forms = TDataTable::CreateTable(std::string(), nullptr, {m->Guid.get()},
                                     {m->Unit.get(), m->FormClass.get()}, nullptr);
  return m;
}

std::unique_ptr<TTranslatorModule>& ModuleHolder() {
  static std::unique_ptr<TTranslatorModule> Holder;
  return Holder;
}

TTranslatorModule& Module() {
  std::unique_ptr<TTranslatorModule>& holder = ModuleHolder();
  if (!holder) holder = MakeModule();
  return *holder;
}

}  // namespace

void StartTranslatorFields() {
  Module();
}

TKeyField* ClassField() {
  return Module().Class.get();
}
TKeyField* GuidField() {
  return Module().Guid.get();
}
TUnitLookupField* UnitField() {
  return Module().Unit.get();
}
TUnitLookupField* FormClassField() {
  return Module().FormClass.get();
}
TKeyField* ComponentField() {
  return Module().Component.get();
}
TKeyField* PropertyField() {
  return Module().Property.get();
}
TMarkRowCalcField* MarkRowField() {
  return Module().MarkRow.get();
}
TDataField* TranslateField() {
  return Module().Translate.get();
}
TDoTranslateDisplayField* TranslateDisplayField() {
  return Module().TranslateDisplay.get();
}
TBooleanTextField* TranslateTextField() {
  return Module().TranslateText.get();
}
TBooleanTextField* TranslateDisplayTextField() {
  return Module().TranslateDisplayText.get();
}
TDataField* IncludeSubclassesField() {
  return Module().IncludeSubclasses.get();
}
TBooleanTextField* IncludeSubclassesTextField() {
  return Module().IncludeSubclassesText.get();
}
TDataField* ComponentPointerField() {
  return Module().ComponentPointer.get();
}
TDataTable* RulesTable() {
  return Module().Rules.get();
}
TDataTable* FormsTable() {
  return Module().Forms.get();
}

namespace {
// The strings that own Row's storage, or none.
TTranslatedStrings* RowStrings(const TAbstractRow* Row) {
  if (Row == nullptr) return nullptr;
  auto* storage = dynamic_cast<TTranslatorRowStorage*>(Row->Storage());
  return storage != nullptr ? storage->Owner() : nullptr;
}
}  // namespace

void RowTranslationContext(const TAbstractRow* Row, TFormTranslator*& Translator,
                           platform::TComponent*& Component) {
  Translator = nullptr;
  Component = nullptr;
  TTranslatedStrings* strings = RowStrings(Row);
  if (strings == nullptr) return;
  Translator = strings->GetContext();
  if (Translator == nullptr) return;
  const std::string name = Row->GetFStringValue(ComponentField());
  if (name.empty()) return;  // an unnamed component has no rows
  platform::TComponent* form = Translator->Form();
  Component = platform::SameText(form->Name(), name) ? form : form->FindComponent(name);
}

bool IsActionRow(const TAbstractRow* Row) {
  TFormTranslator* translator = nullptr;
  platform::TComponent* component = nullptr;
  RowTranslationContext(Row, translator, component);
  if (component == nullptr) return false;
  platform::TComponent* action = nullptr;
  return IsActionProperty(component, Row->GetFStringValue(PropertyField()), action);
}

void SetTranslationValue(TAbstractRow* Row, TDataField* Field, const TValue& V) {
  if (Row == nullptr) return;
  TFormTranslator* translator = nullptr;
  platform::TComponent* component = nullptr;
  RowTranslationContext(Row, translator, component);
  Row->SetFieldValue(Field, V);
  // Editing a text marks the property as translated.
  if (Field != TranslateField()) Row->SetFieldValue(TranslateField(), TrueValue());
  if (translator == nullptr) return;
  TTranslatedStrings* strings = RowStrings(Row);
  translator->NotifyDesigner();
  if (Row->GetFBooleanValue(TranslateField())) {
    if (Field == TranslateField() || Field->CaptionText() == CurrentLanguageName(translator))
      strings->ApplyRow(translator, Row);
  }
  if (IsAction(component)) strings->PropagateActionTexts(component);
}

std::unique_ptr<platform::TPicture> LoadTransparentBitmap(const std::string& ResourceName) {
  std::unique_ptr<platform::TPicture> picture = CurrentBitmapLoader().LoadBitmap(ResourceName);
  if (!picture || picture->Empty())
    throw platform::Exception("LoadImageFromRes: Requested image '" + ResourceName +
                              "' couldn't be found!");
  const int height = picture->Height();
  const std::uint32_t transparent = picture->Pixel(0, height - 1) & 0x00FFFFFFu;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < picture->Width(); ++x)
      if ((picture->Pixel(x, y) & 0x00FFFFFFu) == transparent) picture->SetPixel(x, y, transparent);
  return picture;
}

}  // namespace dataframework
