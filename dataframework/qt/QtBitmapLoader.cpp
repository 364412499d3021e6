#include "dataframework/qt/QtBitmapLoader.h"

#include <QImage>

#include "platform/NoDestructor.h"

// Resources of a static library are registered by hand, outside any
// namespace.
static void InitTranslatorBitmaps() {
  Q_INIT_RESOURCE(translator_bitmaps);
}

namespace dataframework::qt {

TQtBitmapLoader::TQtBitmapLoader() {
  InitTranslatorBitmaps();
}

std::unique_ptr<platform::TPicture> TQtBitmapLoader::LoadBitmap(
    const std::string& ResourceName) const {
  const QImage image(QStringLiteral(":/translator/") + QString::fromStdString(ResourceName) +
                     QStringLiteral(".bmp"));
  if (image.isNull()) return nullptr;
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  auto picture = std::make_unique<platform::TPicture>(argb.width(), argb.height());
  for (int y = 0; y < argb.height(); ++y)
    for (int x = 0; x < argb.width(); ++x) picture->SetPixel(x, y, argb.pixel(x, y));
  return picture;
}

void InstallQtBitmapLoader() {
  static platform::TNoDestructor<TQtBitmapLoader> loader;
  dataframework::InstallBitmapLoader(loader.get());
}

}  // namespace dataframework::qt
