// Per-language arrays (module LangArray): one entry per language, read for
// the language their owner names.
//
// Reading entry i answers entry i when it exists; an array without entries
// answers its default; otherwise entry 0 stands in for the missing language
// (also for a negative i). The current entry is the entry of the language
// the owner's callback answers, or entry 0 without a callback. Owners of the
// data framework answer the process-wide CurrentLanguageIndex().
//
// TLangArray holds texts and a default text. TLangFieldArray holds object
// references (data fields; never owned) and asks a second callback for its
// default (none without one). Entries are typed platform::TObject* so that
// the platform need not know the field classes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ClassRegistry.h"
#include "platform/Persistent.h"

namespace platform {

// The process-wide language index: 0 at start.
int CurrentLanguageIndex();
void SetCurrentLanguageIndex(int Index);

// Answers the language index to use.
using TLanguageCallback = std::function<int()>;

class TCommonLangArray : public TPersistent {
  CLAVIRA_DECLARE_CLASS()

 public:
  virtual int Count() const = 0;
  virtual void Clear() = 0;

  // Empty: the current language is 0.
  void SetLanguageCallback(TLanguageCallback Callback) { FLanguage = std::move(Callback); }
  const TLanguageCallback& LanguageCallback() const { return FLanguage; }
  // The language index the current entry is read for.
  int CurrentIndex() const { return FLanguage ? FLanguage() : 0; }

 private:
  TLanguageCallback FLanguage;
};

class TLangArray : public TCommonLangArray {
  CLAVIRA_DECLARE_CLASS()

 public:
  TLangArray() = default;
  explicit TLangArray(std::string DefaultText) : FDefaultText(std::move(DefaultText)) {}

  int Count() const override { return static_cast<int>(FTexts.size()); }
  void Clear() override { FTexts.clear(); }

  const std::string& Text(int Index) const;
  const std::string& CurrentText() const { return Text(CurrentIndex()); }
  // Replaces entry Index; Index == Count appends.
  // REQUIRES: 0 <= Index <= Count (EListError otherwise).
  void SetText(int Index, const std::string& Value);
  void Add(const std::string& Value) { FTexts.push_back(Value); }
  // Clears the list and appends each text in order.
  void SetTexts(const std::vector<std::string>& Values) { FTexts = Values; }
  const std::vector<std::string>& Texts() const { return FTexts; }

  const std::string& DefaultText() const { return FDefaultText; }
  void SetDefaultText(const std::string& Value) { FDefaultText = Value; }

  // From another TLangArray: its entries and its default text (not its
  // callback). Other sources: the "Cannot assign" error.
  void Assign(const TPersistent* Source) override;

 private:
  std::vector<std::string> FTexts;
  std::string FDefaultText;
};

class TLangFieldArray : public TCommonLangArray {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Answers the default entry.
  using TDefaultCallback = std::function<TObject*()>;

  int Count() const override { return static_cast<int>(FFields.size()); }
  void Clear() override { FFields.clear(); }

  TObject* Field(int Index) const;
  TObject* CurrentField() const { return Field(CurrentIndex()); }
  // Replaces entry Index; Index == Count appends.
  // REQUIRES: 0 <= Index <= Count (EListError otherwise).
  void SetField(int Index, TObject* Value);
  void Add(TObject* Value) { FFields.push_back(Value); }
  // Clears the list and appends each reference in order.
  void SetFields(const std::vector<TObject*>& Values) { FFields = Values; }
  const std::vector<TObject*>& Fields() const { return FFields; }

  void SetDefaultCallback(TDefaultCallback Callback) { FDefault = std::move(Callback); }
  TObject* DefaultField() const { return FDefault ? FDefault() : nullptr; }

  // From another TLangFieldArray: its entries (not its callbacks).
  void Assign(const TPersistent* Source) override;

 private:
  std::vector<TObject*> FFields;  // not owned
  TDefaultCallback FDefault;
};

}  // namespace platform
