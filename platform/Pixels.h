#pragma once

#include "platform/Controls.h"
#include "platform/Units.h"

namespace platform {

// A rectangle of screen pixels at one pixel per pixel.
struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;

  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
  bool Empty() const { return width <= 0 || height <= 0; }
  PixelRect Intersected(const PixelRect& other) const;
  bool operator==(const PixelRect&) const = default;
};

// Twips to the nearest pixel boundary at 96 dots per inch, halves rounding
// up. Every edge on the screen, of a box or of a stroke, comes from this one
// rule; values far outside any window are held where they still fit an int.
int ToPixels(double twips);

// The pixels a box covers: each edge by ToPixels.
PixelRect PixelRectOf(Twips left, Twips top, Twips width, Twips height);
PixelRect PixelRectOf(const Control& control);

// The pixels a one-pixel pen marks as its centre runs along the stroke: from
// the pixel it starts in up to, not including, the one it ends in, and at
// least the first.
PixelRect StrokePixels(const LineSegment& stroke);

// Device pixels per form pixel on a display of `ratio` device pixels per
// logical pixel (dpi / 96): the nearest whole number, halves up, at least
// one, so that every pixel of the form covers whole device pixels; and less,
// while the form, `width` pixels wide, would not fit in `room` logical
// pixels, as in a page narrower than the window.
int WholeScale(double ratio, int width = 0, double room = 0);

}  // namespace platform
