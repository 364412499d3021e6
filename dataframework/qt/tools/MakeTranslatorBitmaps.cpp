// Writes the translator's bitmap resources (BMP_ACTLIST.bmp, BMP_FORM.bmp,
// BMP_FORMDISABLE.bmp) as 4-bit, 16-colour BMP files into the folder given,
// from the pictures drawn in the translation code. Run it after changing a
// picture there:  build/bin/make_translator_bitmaps dataframework/qt/resources
#include <fstream>
#include <iostream>

#include "dataframework/translation/BitmapLoader.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_translator_bitmaps FOLDER\n";
    return 2;
  }
  try {
    const dataframework::TBuiltInBitmapLoader loader;
    for (const std::string& name : dataframework::TBuiltInBitmapLoader::ResourceNames()) {
      const std::vector<std::uint8_t> bytes =
          dataframework::EncodeBitmap4(*loader.LoadBitmap(name));
      const std::string path = std::string(argv[1]) + "/" + name + ".bmp";
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
      if (!out) {
        std::cerr << "cannot write " << path << "\n";
        return 1;
      }
      std::cout << path << "\n";
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
