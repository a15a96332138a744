#include "platform/Pixels.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform {
namespace {

// Where a pen's centre runs from `from` to `to` along one axis: first pixel
// and the end, exclusive.
std::pair<int, int> PenSpan(double from, double to) {
  constexpr double kHalfPixel = TwipsPerPixel / 2.0;
  const int first = ToPixels(std::min(from, to) - kHalfPixel);
  return {first, std::max(first + 1, ToPixels(std::max(from, to) - kHalfPixel))};
}

}  // namespace

PixelRect PixelRect::Intersected(const PixelRect& other) const {
  const int left = std::max(x, other.x), top = std::max(y, other.y);
  const int right = std::min(Right(), other.Right()), bottom = std::min(Bottom(), other.Bottom());
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

int ToPixels(double twips) {
  return static_cast<int>(std::clamp(std::floor(twips / TwipsPerPixel + 0.5), -1e8, 1e8));
}

PixelRect PixelRectOf(Twips left, Twips top, Twips width, Twips height) {
  const int x = ToPixels(left), y = ToPixels(top);
  return {x, y, ToPixels(static_cast<double>(left) + width) - x, ToPixels(static_cast<double>(top) + height) - y};
}

PixelRect PixelRectOf(const Control& control) {
  return PixelRectOf(control.Left, control.Top, control.Width, control.Height);
}

PixelRect StrokePixels(const LineSegment& stroke) {
  const auto [x, xEnd] = PenSpan(stroke.x1, stroke.x2);
  const auto [y, yEnd] = PenSpan(stroke.y1, stroke.y2);
  return {x, y, xEnd - x, yEnd - y};
}

int WholeScale(double ratio, int width, double room) {
  int scale = std::max(1, static_cast<int>(std::floor(ratio + 0.5)));
  while (scale > 1 && room > 0 && width * scale / ratio > room) --scale;
  return scale;
}

}  // namespace platform
