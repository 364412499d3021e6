// The translator's pictures read from the program's resources: the bitmap
// resources "BMP_ACTLIST", "BMP_FORM" and "BMP_FORMDISABLE" are 4-bit,
// 16-colour BMP files compiled in (resources/, made by
// tools/MakeTranslatorBitmaps.cpp) and decoded by Qt's image reader.
//
// Ownership: loaded pictures belong to the caller. The loader installed by
// InstallQtBitmapLoader lives for the whole run.
#pragma once

#include <memory>
#include <string>

#include "dataframework/translation/BitmapLoader.h"

namespace dataframework::qt {

class TQtBitmapLoader : public dataframework::IBitmapLoader {
 public:
  TQtBitmapLoader();
  // The resource ":/translator/<ResourceName>.bmp", or null when there is
  // none or it cannot be decoded.
  std::unique_ptr<platform::TPicture> LoadBitmap(const std::string& ResourceName) const override;
};

// Makes the translation code read its pictures from the resources (once per
// process; later calls do nothing).
void InstallQtBitmapLoader();

}  // namespace dataframework::qt
