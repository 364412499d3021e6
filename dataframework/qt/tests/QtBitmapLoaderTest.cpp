// The translator's bitmap resources: real 4-bit, 16-colour BMP files of the
// drawn pictures, read back through Qt's image reader.
#include <gtest/gtest.h>
#include <QFile>
#include <QImage>

#include "dataframework/qt/QtBitmapLoader.h"
#include "dataframework/translation/BitmapLoader.h"
#include "dataframework/translation/TranslatorFields.h"

namespace dataframework::qt {
namespace {

std::vector<std::uint8_t> Resource(const std::string& Name) {
  QFile file(QStringLiteral(":/translator/") + QString::fromStdString(Name) +
             QStringLiteral(".bmp"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::uint16_t Word(const std::vector<std::uint8_t>& B, size_t At) {
  return static_cast<std::uint16_t>(B[At] | (B[At + 1] << 8));
}

TEST(QtBitmapLoaderTest, ResourcesAre16ColourBitmapsOfTheDrawnPictures) {
  const TQtBitmapLoader loader;  // registers the resources
  const dataframework::TBuiltInBitmapLoader drawn;
  struct Case {
    const char* Name;
    int Width;
    int Height;
  };
  for (const Case& c :
       {Case{"BMP_ACTLIST", 13, 13}, Case{"BMP_FORM", 12, 9}, Case{"BMP_FORMDISABLE", 12, 9}}) {
    SCOPED_TRACE(c.Name);
    const std::vector<std::uint8_t> bytes = Resource(c.Name);
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Word(bytes, 28), 4);  // bits per pixel
    // Regenerating the file from the drawn picture gives the same bytes.
    std::unique_ptr<platform::TPicture> picture = drawn.LoadBitmap(c.Name);
    EXPECT_EQ(bytes, dataframework::EncodeBitmap4(*picture));

    std::unique_ptr<platform::TPicture> read = loader.LoadBitmap(c.Name);
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->Width(), c.Width);
    ASSERT_EQ(read->Height(), c.Height);
    for (int y = 0; y < c.Height; ++y)
      for (int x = 0; x < c.Width; ++x) ASSERT_EQ(read->Pixel(x, y), picture->Pixel(x, y));
  }
  EXPECT_EQ(loader.LoadBitmap("BMP_NONE"), nullptr);
}

TEST(QtBitmapLoaderTest, InstalledLoaderServesTheTranslator) {
  InstallQtBitmapLoader();
  EXPECT_NE(dynamic_cast<const TQtBitmapLoader*>(&dataframework::CurrentBitmapLoader()), nullptr);
  // Transparent where the bottom-left pixel's colour is.
  std::unique_ptr<platform::TPicture> form = dataframework::LoadTransparentBitmap("BMP_FORM");
  EXPECT_EQ(form->Pixel(0, form->Height() - 1) >> 24, 0u);
  EXPECT_EQ(dataframework::LoadTransparentBitmap("BMP_ACTLIST")->Width(), 13);
  dataframework::InstallBitmapLoader(nullptr);
}

}  // namespace
}  // namespace dataframework::qt
