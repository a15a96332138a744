#include "platform/qt/Pixels.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

namespace platform::qt {
namespace {

// Where a pen's centre runs from `from` to `to` along one axis: first pixel
// and the end, exclusive.
std::pair<int, int> PenSpan(double from, double to) {
  constexpr double kHalfPixel = TwipsPerPixel / 2.0;
  const int first = ToPixels(std::min(from, to) - kHalfPixel);
  return {first, std::max(first + 1, ToPixels(std::max(from, to) - kHalfPixel))};
}

}  // namespace

int ToPixels(double twips) {
  return static_cast<int>(std::clamp(std::floor(twips / TwipsPerPixel + 0.5), -1e8, 1e8));
}

QRect PixelRect(Twips left, Twips top, Twips width, Twips height) {
  const int x = ToPixels(left), y = ToPixels(top);
  return {x, y, ToPixels(static_cast<double>(left) + width) - x, ToPixels(static_cast<double>(top) + height) - y};
}

QRect StrokePixels(const LineSegment& stroke) {
  const auto [x, xEnd] = PenSpan(stroke.x1, stroke.x2);
  const auto [y, yEnd] = PenSpan(stroke.y1, stroke.y2);
  return {x, y, xEnd - x, yEnd - y};
}

QColor ToQColor(Colour colour) {
  const Colour rgb = ResolveColour(colour);
  return {RedOf(rgb), GreenOf(rgb), BlueOf(rgb)};
}

const QImage& ImageOf(const Picture& picture) {
  // Pictures are never changed once made, so an image per handle serves for
  // the program's life; the game makes eleven.
  static std::unordered_map<std::uint64_t, QImage> images;
  auto [it, made] = images.try_emplace(picture.Handle());
  if (made && !picture.Empty()) {
    const auto file = picture.File();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                                     static_cast<qsizetype>(file.size()));
    it->second = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
  }
  return it->second;
}

}  // namespace platform::qt
