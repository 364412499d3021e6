// The module TranslatorFields: the process-wide fields and tables of the
// translator, and the helpers its fields share.
//
// Process-wide objects, all made together on the first use of any accessor
// (or by StartTranslatorFields) and freed at process exit:
//   ClassField "Class" (key, Text(64)), GuidField "GUID" (key, Text(38)),
//   UnitField "Unit" and FormClassField "Form Class" (TUnitLookupField,
//   Text(64)), ComponentField "Component" and PropertyField "Property"
//   (keys, Text(64)), MarkRowField (TMarkRowCalcField, pictures),
//   TranslateField "Translate" (Boolean), TranslateDisplayField "Translate"
//   (TDoTranslateDisplayField), IncludeSubclassesField "Include subclasses"
//   (Boolean), ComponentPointerField "Pointer to component" (object), the
//   Boolean text fields over TranslateField, TranslateDisplayField and
//   IncludeSubclassesField; RulesTable (keys ClassField, PropertyField;
//   fields IncludeSubclassesField, TranslateField) and FormsTable (key
//   GuidField; fields UnitField, FormClassField).
// None has a field name (they stay out of the field registry); the words
// above are their captions in every language.
#pragma once

#include <memory>
#include <string>

#include "dataframework/elements/ElementsFwd.h"
#include "dataframework/types/DataTypeCore.h"

namespace platform {
class TComponent;
class TPicture;
}  // namespace platform

namespace dataframework {

class TBooleanTextField;
class TDoTranslateDisplayField;
class TFormTranslator;
class TMarkRowCalcField;
class TUnitLookupField;

// Makes the process-wide objects now (idempotent). A failure (a bitmap
// resource missing) leaves nothing made and is raised again on the next
// use.
void StartTranslatorFields();

TKeyField* ClassField();
TKeyField* GuidField();
TUnitLookupField* UnitField();
TUnitLookupField* FormClassField();
TKeyField* ComponentField();
TKeyField* PropertyField();
TMarkRowCalcField* MarkRowField();
TDataField* TranslateField();
TDoTranslateDisplayField* TranslateDisplayField();
TBooleanTextField* TranslateTextField();
TBooleanTextField* TranslateDisplayTextField();
TDataField* IncludeSubclassesField();
TBooleanTextField* IncludeSubclassesTextField();
TDataField* ComponentPointerField();
TDataTable* RulesTable();
TDataTable* FormsTable();

// The translation context of Row: both none unless Row is in a
// TTranslatorRowStorage whose strings serve a translator; then Translator
// is that context and Component the form (when its name is the row's
// component text) or the form's owned component of that name (or none).
void RowTranslationContext(const TAbstractRow* Row, TFormTranslator*& Translator,
                           platform::TComponent*& Component);
// The row's component exists and takes the row's property from its action.
bool IsActionRow(const TAbstractRow* Row);
// The write path of the display fields: writes V into Field of Row; a text
// (any field but TranslateField) also marks the row translated; then, with
// a translator, tells the designer, applies the row to the form when it is
// marked translated (a text only when Field's caption is the current
// language's name) and, for an action's row, copies the action's texts to
// its users. Nothing for Row none.
void SetTranslationValue(TAbstractRow* Row, TDataField* Field, const TValue& V);
// A new picture from the bitmap resource ResourceName, made transparent:
// every pixel of the colour of the bottom-left pixel gets alpha 0. A
// missing resource raises platform::Exception "LoadImageFromRes: Requested
// image '<name>' couldn't be found!".
std::unique_ptr<platform::TPicture> LoadTransparentBitmap(const std::string& ResourceName);

}  // namespace dataframework
