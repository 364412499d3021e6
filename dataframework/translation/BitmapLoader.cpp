#include "dataframework/translation/BitmapLoader.h"

#include <array>
#include <cstring>

#include "platform/Exception.h"
#include "platform/TextUtils.h"

namespace dataframework {

namespace {

constexpr std::array<std::uint32_t, 16> Palette = {
    0xFF000000u, 0xFF800000u, 0xFF008000u, 0xFF808000u, 0xFF000080u, 0xFF800080u,
    0xFF008080u, 0xFFC0C0C0u, 0xFF808080u, 0xFFFF0000u, 0xFF00FF00u, 0xFFFFFF00u,
    0xFF0000FFu, 0xFFFF00FFu, 0xFF00FFFFu, 0xFFFFFFFFu};

// The resources as palette indexes in hexadecimal, one text per row from the
// top. 3 olive and 5 purple are the grounds (the bottom-left pixel), which
// become transparent; 4 navy, 7 silver, 8 grey, F white.
struct TArt {
  const char* Name;
  std::vector<const char*> Rows;
};

const std::vector<TArt>& Arts() {
  static const std::vector<TArt> arts = {
      {"BMP_FORM",
       {"888888888883", "84F4444F4F83", "8FFFFFFFFF83", "8FFFFFFFFF83", "8FFFFFFFFF83",
        "8FFFFFFFFF83", "8FFFFFFFFF83", "888888888883", "333333333333"}},
      {"BMP_FORMDISABLE",
       {"555555555553", "587888878753", "577777777753", "577777777753", "577777777753",
        "577777777753", "577777777753", "555555555553", "333333333333"}},
      {"BMP_ACTLIST",
       {"5555555555555", "8888888885555", "8444444485555", "8FFFFFFF85555", "8FFFFFFF85555",
        "8FFF888888888", "8FFF844444448", "88888FFFFFFF8", "55558FFFFFFF8", "55558FFFFFFF8",
        "55558FFFFFFF8", "5555888888888", "5555555555555"}},
  };
  return arts;
}

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  return C - 'A' + 10;
}

TBuiltInBitmapLoader& BuiltIn() {
  static TBuiltInBitmapLoader loader;
  return loader;
}

const IBitmapLoader* Installed = nullptr;

[[noreturn]] void DecodeError(const std::string& Why) {
  throw platform::Exception("DecodeBitmap: " + Why);
}

std::uint32_t ReadLE(const std::vector<std::uint8_t>& B, size_t At, int Bytes) {
  std::uint32_t v = 0;
  for (int i = Bytes - 1; i >= 0; --i) v = (v << 8) | B[At + static_cast<size_t>(i)];
  return v;
}

void WriteLE(std::vector<std::uint8_t>& B, std::uint32_t V, int Bytes) {
  for (int i = 0; i < Bytes; ++i) B.push_back(static_cast<std::uint8_t>((V >> (8 * i)) & 0xFF));
}

}  // namespace

std::uint32_t StandardPaletteColor(int Index) {
  return Index >= 0 && Index < 16 ? Palette[static_cast<size_t>(Index)] : 0xFF000000u;
}

std::vector<std::string> TBuiltInBitmapLoader::ResourceNames() {
  std::vector<std::string> names;
  for (const TArt& art : Arts()) names.emplace_back(art.Name);
  return names;
}

std::vector<std::uint8_t> TBuiltInBitmapLoader::PaletteIndexes(const std::string& ResourceName,
                                                               int& Width, int& Height) {
  Width = 0;
  Height = 0;
  for (const TArt& art : Arts()) {
    if (!platform::SameText(art.Name, ResourceName)) continue;
    Height = static_cast<int>(art.Rows.size());
    Width = static_cast<int>(std::strlen(art.Rows.front()));
    std::vector<std::uint8_t> indexes;
    for (const char* row : art.Rows)
      for (const char* c = row; *c != '\0'; ++c)
        indexes.push_back(static_cast<std::uint8_t>(HexDigit(*c)));
    return indexes;
  }
  return {};
}

std::unique_ptr<platform::TPicture> TBuiltInBitmapLoader::LoadBitmap(
    const std::string& ResourceName) const {
  int width = 0;
  int height = 0;
  const std::vector<std::uint8_t> indexes = PaletteIndexes(ResourceName, width, height);
  if (indexes.empty()) return nullptr;
  auto picture = std::make_unique<platform::TPicture>(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture->SetPixel(x, y, Palette[indexes[static_cast<size_t>(y * width + x)]]);
  return picture;
}

const IBitmapLoader& CurrentBitmapLoader() {
  return Installed != nullptr ? *Installed : BuiltIn();
}

const IBitmapLoader* InstallBitmapLoader(const IBitmapLoader* Loader) {
  const IBitmapLoader* previous = Installed;
  Installed = Loader;
  return previous;
}

std::vector<std::uint8_t> EncodeBitmap4(const platform::TPicture& Picture) {
  const int width = Picture.Width();
  const int height = Picture.Height();
  const int stride = ((width * 4 + 31) / 32) * 4;
  const auto imageSize = static_cast<std::uint32_t>(stride * height);
  const std::uint32_t offset = 14 + 40 + 16 * 4;
  std::vector<std::uint8_t> b;
  b.reserve(offset + imageSize);
  b.push_back('B');
  b.push_back('M');
  WriteLE(b, offset + imageSize, 4);
  WriteLE(b, 0, 4);
  WriteLE(b, offset, 4);
  WriteLE(b, 40, 4);
  WriteLE(b, static_cast<std::uint32_t>(width), 4);
  WriteLE(b, static_cast<std::uint32_t>(height), 4);
  WriteLE(b, 1, 2);
  WriteLE(b, 4, 2);
  WriteLE(b, 0, 4);  // uncompressed
  WriteLE(b, imageSize, 4);
  WriteLE(b, 0, 4);
  WriteLE(b, 0, 4);
  WriteLE(b, 16, 4);
  WriteLE(b, 0, 4);
  for (std::uint32_t c : Palette) WriteLE(b, c & 0x00FFFFFFu, 4);  // B, G, R, 0
  for (int y = height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<size_t>(stride), 0);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t color = Picture.Pixel(x, y) | 0xFF000000u;
      int index = -1;
      for (int i = 0; i < 16; ++i)
        if (Palette[static_cast<size_t>(i)] == color) index = i;
      if (index < 0)
        throw platform::Exception("EncodeBitmap4: colour " +
                                  platform::IntToHex(color & 0xFFFFFF, 6) +
                                  " is not in the palette");
      row[static_cast<size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

std::unique_ptr<platform::TPicture> DecodeBitmap(const std::vector<std::uint8_t>& Bytes) {
  if (Bytes.size() < 14 + 40) DecodeError("the file is too short");
  if (Bytes[0] != 'B' || Bytes[1] != 'M') DecodeError("not a bitmap file");
  const std::uint32_t offset = ReadLE(Bytes, 10, 4);
  const std::uint32_t headerSize = ReadLE(Bytes, 14, 4);
  if (headerSize < 40 || 14 + static_cast<size_t>(headerSize) > Bytes.size())
    DecodeError("unsupported header");
  const auto width = static_cast<std::int32_t>(ReadLE(Bytes, 18, 4));
  const auto rawHeight = static_cast<std::int32_t>(ReadLE(Bytes, 22, 4));
  const std::uint32_t bits = ReadLE(Bytes, 28, 2);
  const std::uint32_t compression = ReadLE(Bytes, 30, 4);
  std::uint32_t colors = ReadLE(Bytes, 46, 4);
  if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || width > 16384 ||
      rawHeight > 16384 || rawHeight < -16384)
    DecodeError("invalid size");
  if (bits != 4 && bits != 8 && bits != 24 && bits != 32)
    DecodeError(std::to_string(bits) + " bits per pixel are not supported");
  if (compression != 0) DecodeError("compressed bitmaps are not supported");
  const bool topDown = rawHeight < 0;
  const int height = topDown ? -rawHeight : rawHeight;
  std::vector<std::uint32_t> palette;
  if (bits <= 8) {
    const std::uint32_t most = 1u << bits;
    if (colors == 0) colors = most;
    if (colors > most) DecodeError("invalid palette");
    const size_t at = 14 + headerSize;
    if (at + colors * 4 > Bytes.size()) DecodeError("the palette is cut off");
    for (std::uint32_t i = 0; i < colors; ++i)
      palette.push_back(0xFF000000u | (ReadLE(Bytes, at + i * 4, 4) & 0x00FFFFFFu));
  }
  const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  if (offset > Bytes.size() || Bytes.size() - offset < stride * static_cast<size_t>(height))
    DecodeError("the pixels are cut off");
  auto picture = std::make_unique<platform::TPicture>(width, height);
  for (int row = 0; row < height; ++row) {
    const size_t base = offset + stride * static_cast<size_t>(row);
    const int y = topDown ? row : height - 1 - row;
    for (int x = 0; x < width; ++x) {
      std::uint32_t color = 0;
      if (bits == 4 || bits == 8) {
        std::uint32_t index =
            bits == 8 ? Bytes[base + static_cast<size_t>(x)]
                      : (Bytes[base + static_cast<size_t>(x / 2)] >> (x % 2 == 0 ? 4 : 0)) & 0x0F;
        if (index >= palette.size()) DecodeError("a pixel names no palette entry");
        color = palette[index];
      } else {
        const size_t at = base + static_cast<size_t>(x) * (bits / 8);
        color = 0xFF000000u | (ReadLE(Bytes, at, 3) & 0x00FFFFFFu);
      }
      picture->SetPixel(x, y, color);
    }
  }
  return picture;
}

}  // namespace dataframework
