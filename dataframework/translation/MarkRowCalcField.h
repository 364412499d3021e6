// TMarkRowCalcField: a picture that shows what a translation row stands
// for: DisabledPicture when the row has no translator or no component,
// ActionPicture when the component takes the property from its action,
// FormPicture otherwise. Aggregable, read-only.
//
// Ownership: owns its three pictures (loaded at construction from the
// bitmap resources "BMP_ACTLIST", "BMP_FORM", "BMP_FORMDISABLE"); picture
// values handed out borrow them.
#pragma once

#include <memory>

#include "dataframework/elements/CalcField.h"
#include "platform/Picture.h"

namespace dataframework {

class TMarkRowCalcField : public TCalcField {
  CLAVIRA_DECLARE_CLASS()

 public:
  // Loads the three pictures (LoadTransparentBitmap; a missing resource
  // raises its error and nothing is kept).
  TMarkRowCalcField();
  ~TMarkRowCalcField() override;

  // Pictures cannot be summed: a subtotal row gets its own picture
  // (CalcValue) instead of the sum of its children's.
  void GetExternValue(const TAbstractRow* Row, TValue& Value) const override;
  void CalcValue(const TAbstractRow* Row, TValue& Value) const override;

  platform::TPicture* ActionPicture() const { return FActionPicture.get(); }
  platform::TPicture* FormPicture() const { return FFormPicture.get(); }
  platform::TPicture* DisabledPicture() const { return FDisabledPicture.get(); }

 private:
  std::unique_ptr<platform::TPicture> FActionPicture;
  std::unique_ptr<platform::TPicture> FFormPicture;
  std::unique_ptr<platform::TPicture> FDisabledPicture;
};

}  // namespace dataframework
