// A minimal picture: a width, a height and 32-bit pixels, copied by Assign.
// Enough for values that carry pictures; drawing and file formats are not
// part of it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Persistent.h"

namespace platform {

class TPicture : public TPersistent {
 public:
  TPicture() = default;
  TPicture(int width, int height);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }

  // New size, all pixels 0; negative sizes count as 0.
  void SetSize(int width, int height);
  // Pixels outside the picture read as 0 and are not written.
  uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t color);

  // Copies another picture; no source empties this one.
  void Assign(const TPersistent* Source) override;

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<uint32_t> FPixels;  // row by row
};

}  // namespace platform
