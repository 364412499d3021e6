#include "dataframework/translation/TranslatorViews.h"

#include <algorithm>

namespace dataframework {

TTranslatorView* TTranslatorViews::FirstView() {
  if (FPages.empty() || FPages.front().Views.empty()) return nullptr;
  return &FPages.front().Views.front();
}

const TTranslatorView* TTranslatorViews::FirstView() const {
  if (FPages.empty() || FPages.front().Views.empty()) return nullptr;
  return &FPages.front().Views.front();
}

void TTranslatorViews::InsertColumn(int Column, TDataField* Field) {
  TTranslatorView* view = FirstView();
  if (view == nullptr) return;
  const int at = std::clamp(Column, 0, static_cast<int>(view->Columns.size()));
  view->Columns.insert(view->Columns.begin() + at, Field);
}

void TTranslatorViews::RemoveColumn(const TDataField* Field) {
  for (TTranslatorPage& page : FPages)
    for (TTranslatorView& view : page.Views) std::erase(view.Columns, Field);
}

}  // namespace dataframework
