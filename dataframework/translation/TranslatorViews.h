// The editor's description of what it shows: pages of views, each view a
// list of column fields over one of the translator's storages. The editor
// window (elsewhere) draws them; the translated strings keep the language
// columns of the first view of the first page in step with the languages.
//
// Also the editor window's contract as the translated strings see it.
//
// Ownership: views own nothing but their column lists; fields are borrowed
// and must outlive the views (language fields are removed from the columns
// before they are freed).
#pragma once

#include <string>
#include <vector>

#include "dataframework/elements/ElementsFwd.h"

namespace dataframework {

// Which storage of the translated strings a view lists.
enum TViewSource : int { vsTranslation = 0, vsRules = 1, vsForms = 2, vsMirror = 3 };

struct TTranslatorView {
  std::string Caption;
  TViewSource Source = vsTranslation;
  std::vector<TDataField*> Columns;  // borrowed
};

struct TTranslatorPage {
  std::string Caption;
  std::vector<TTranslatorView> Views;
};

class TTranslatorViews {
 public:
  TTranslatorViews() = default;
  TTranslatorViews(const TTranslatorViews&) = delete;
  TTranslatorViews& operator=(const TTranslatorViews&) = delete;

  std::vector<TTranslatorPage>& Pages() { return FPages; }
  const std::vector<TTranslatorPage>& Pages() const { return FPages; }
  // The first view of the first page, or none when there is none.
  TTranslatorView* FirstView();
  const TTranslatorView* FirstView() const;

  // Inserts Field into the first view at Column (clamped to its end);
  // nothing without a first view.
  void InsertColumn(int Column, TDataField* Field);
  // Removes every occurrence of Field from every view.
  void RemoveColumn(const TDataField* Field);

 private:
  std::vector<TTranslatorPage> FPages;
};

// The editor window as the translated strings see it. The strings borrow it
// while it is open and close and release it when they go.
class ITranslationEditorForm {
 public:
  virtual ~ITranslationEditorForm() = default;
  // Closes the window and lets it free itself; the strings forget it.
  virtual void CloseAndRelease() = 0;
};

}  // namespace dataframework
