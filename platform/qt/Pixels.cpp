#include "platform/qt/Pixels.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace platform::qt {

int ToPixels(Twips twips) {
  const double pixels = std::round(static_cast<double>(twips) / TwipsPerPixel);
  return static_cast<int>(std::clamp(pixels, -1e8, 1e8));
}

QRect PixelRect(Twips left, Twips top, Twips width, Twips height) {
  return {ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height)};
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
    QImage image(picture.WidthPixels(), picture.HeightPixels(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const Colour c = picture.Pixel(x, y);
        image.setPixel(x, y, qRgb(RedOf(c), GreenOf(c), BlueOf(c)));
      }
    it->second = image;
  }
  return it->second;
}

}  // namespace platform::qt
