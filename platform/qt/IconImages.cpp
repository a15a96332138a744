#include "platform/qt/IconImages.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <map>

namespace platform::qt {
namespace {

// Each pixel of source becomes a factor × factor block, offset from the
// top left by margin.
QImage BlockScaled(const QImage& source, int size, int factor) {
  QImage result(size, size, QImage::Format_ARGB32);
  result.fill(Qt::transparent);
  const int margin = (size - source.width() * factor) / 2;
  for (int y = 0; y < source.height() * factor; ++y)
    for (int x = 0; x < source.width() * factor; ++x)
      result.setPixel(margin + x, margin + y, source.pixel(x / factor, y / factor));
  return result;
}

}  // namespace

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
    // The source that fills most of the size; on a tie the larger one, for
    // its finer detail.
    const QImage* best = nullptr;
    int bestFactor = 0;
    for (const int side : {32, 16}) {
      const int factor = size / side;
      if (best == nullptr || factor * side > bestFactor * best->width()) {
        best = &sources.at(side);
        bestFactor = factor;
      }
    }
    images.push_back(BlockScaled(*best, size, bestFactor));
  }
  return images;
}

}  // namespace platform::qt
