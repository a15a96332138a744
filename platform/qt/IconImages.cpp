#include "platform/qt/IconImages.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <map>

namespace platform::qt {

std::vector<QImage> IconImages(std::span<const std::uint8_t> icoFile, std::span<const int> sizes) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(icoFile.data()), static_cast<qsizetype>(icoFile.size()));
  QBuffer buffer;
  buffer.setData(bytes);
  QImageReader reader(&buffer, "ico");
  // The richest image of a size comes first in the file, so the first one wins.
  std::map<int, QImage> sources;
  for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
    const QImage image = reader.read();
    if (!image.isNull() && image.width() == image.height())
      sources.emplace(image.width(), image.convertToFormat(QImage::Format_ARGB32));
  }
  if (!sources.contains(16) || !sources.contains(32)) return {};

  std::vector<QImage> images;
  for (const int size : sizes) {
    const CrispIcon crisp = CrispIconOf(size);
    const QImage& source = sources.at(crisp.source);
    QImage& image = images.emplace_back(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < source.height() * crisp.factor; ++y)
      for (int x = 0; x < source.width() * crisp.factor; ++x)
        image.setPixel(crisp.margin + x, crisp.margin + y, source.pixel(x / crisp.factor, y / crisp.factor));
  }
  return images;
}

}  // namespace platform::qt
