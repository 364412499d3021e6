// Bitmap resources of the translator: the loader through which pictures are
// read by resource name, and the built-in resources used until a program
// installs its own loader (a toolkit side that reads its bitmap resources).
//
// Pictures are 32-bit 0xAARRGGBB pixels (platform::TPicture); a transparent
// pixel has alpha 0.
//
// Ownership: an installed loader is borrowed and must stay alive until it
// is replaced; a loaded picture belongs to the caller.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Picture.h"

namespace dataframework {

class IBitmapLoader {
 public:
  virtual ~IBitmapLoader() = default;
  // The bitmap resource named ResourceName, or null when there is none.
  virtual std::unique_ptr<platform::TPicture> LoadBitmap(const std::string& ResourceName) const = 0;
};

// The built-in resources "BMP_ACTLIST" (13 x 13), "BMP_FORM" (12 x 9) and
// "BMP_FORMDISABLE" (12 x 9), drawn in the standard 16-colour palette.
class TBuiltInBitmapLoader : public IBitmapLoader {
 public:
  std::unique_ptr<platform::TPicture> LoadBitmap(const std::string& ResourceName) const override;
  // The names of the built-in resources.
  static std::vector<std::string> ResourceNames();
  // The resource's pixels as indexes into the 16-colour palette, row by row
  // from the top; empty for an unknown name.
  static std::vector<std::uint8_t> PaletteIndexes(const std::string& ResourceName, int& Width,
                                                  int& Height);
};

// The standard 16-colour palette (black, maroon, green, olive, navy,
// purple, teal, silver, grey, red, lime, yellow, blue, fuchsia, aqua,
// white) as opaque 0xAARRGGBB.
std::uint32_t StandardPaletteColor(int Index);

// The loader in use: the installed one, else the built-in resources.
const IBitmapLoader& CurrentBitmapLoader();
// Installs Loader (none: back to the built-in resources); answers the one
// installed before (none for the built-in one).
const IBitmapLoader* InstallBitmapLoader(const IBitmapLoader* Loader);

// Uncompressed 4-bit Windows bitmap (BMP file) of a picture whose pixels
// all are colours of the standard palette; other colours raise
// platform::Exception "EncodeBitmap4: colour ... is not in the palette".
std::vector<std::uint8_t> EncodeBitmap4(const platform::TPicture& Picture);
// A picture from a BMP file of 4 or 8 bits per pixel with a palette, or 24
// or 32 bits per pixel, uncompressed. Anything else, or a truncated or
// inconsistent file, raises platform::Exception "DecodeBitmap: <why>".
std::unique_ptr<platform::TPicture> DecodeBitmap(const std::vector<std::uint8_t>& Bytes);

}  // namespace dataframework
