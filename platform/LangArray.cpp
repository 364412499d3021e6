#include "platform/LangArray.h"

#include "platform/Errors.h"
#include "platform/StringList.h"

namespace platform {

namespace {
int LanguageIndex = 0;

[[noreturn]] void IndexError(int Index) {
  throw EListError(FormatMessage(SListIndexError, {std::to_string(Index)}));
}
}  // namespace

int CurrentLanguageIndex() {
  return LanguageIndex;
}
void SetCurrentLanguageIndex(int Index) {
  LanguageIndex = Index;
}

const TClass& TCommonLangArray::StaticClass() {
  static const TClass Class("TCommonLangArray", &TPersistent::StaticClass(), "LangArray");
  return Class;
}

const TClass& TLangArray::StaticClass() {
  static const TClass Class("TLangArray", &TCommonLangArray::StaticClass(), "LangArray");
  return Class;
}

const TClass& TLangFieldArray::StaticClass() {
  static const TClass Class("TLangFieldArray", &TCommonLangArray::StaticClass(), "LangArray");
  return Class;
}

const std::string& TLangArray::Text(int Index) const {
  // A language without its own entry reads entry 0; a negative index (a
  // callback with no language) is such a language too.
  if (Index >= 0 && Index < Count()) return FTexts[static_cast<size_t>(Index)];
  if (FTexts.empty()) return FDefaultText;
  return FTexts.front();
}

void TLangArray::SetText(int Index, const std::string& Value) {
  if (Index < 0 || Index > Count()) IndexError(Index);
  if (Index == Count()) {
    FTexts.push_back(Value);
  } else {
    FTexts[static_cast<size_t>(Index)] = Value;
  }
}

void TLangArray::Assign(const TPersistent* Source) {
  if (const auto* other = dynamic_cast<const TLangArray*>(Source)) {
    if (other == this) return;
    FTexts = other->FTexts;
    FDefaultText = other->FDefaultText;
    return;
  }
  TCommonLangArray::Assign(Source);
}

TObject* TLangFieldArray::Field(int Index) const {
  if (Index >= 0 && Index < Count()) return FFields[static_cast<size_t>(Index)];
  if (FFields.empty()) return DefaultField();
  return FFields.front();
}

void TLangFieldArray::SetField(int Index, TObject* Value) {
  if (Index < 0 || Index > Count()) IndexError(Index);
  if (Index == Count()) {
    FFields.push_back(Value);
  } else {
    FFields[static_cast<size_t>(Index)] = Value;
  }
}

void TLangFieldArray::Assign(const TPersistent* Source) {
  if (const auto* other = dynamic_cast<const TLangFieldArray*>(Source)) {
    if (other != this) FFields = other->FFields;
    return;
  }
  TCommonLangArray::Assign(Source);
}

}  // namespace platform
