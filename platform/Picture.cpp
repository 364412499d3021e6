#include "platform/Picture.h"

namespace platform {

TPicture::TPicture(int width, int height) {
  SetSize(width, height);
}

void TPicture::SetSize(int width, int height) {
  FWidth = width > 0 ? width : 0;
  FHeight = height > 0 ? height : 0;
  FPixels.assign(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight), 0);
}

uint32_t TPicture::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
  return FPixels[static_cast<size_t>(y) * FWidth + x];
}

void TPicture::SetPixel(int x, int y, uint32_t color) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  FPixels[static_cast<size_t>(y) * FWidth + x] = color;
}

void TPicture::Assign(const TPersistent* Source) {
  if (Source == nullptr) {
    SetSize(0, 0);
    return;
  }
  if (const auto* picture = dynamic_cast<const TPicture*>(Source)) {
    if (picture == this) return;
    FWidth = picture->FWidth;
    FHeight = picture->FHeight;
    FPixels = picture->FPixels;
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace platform
