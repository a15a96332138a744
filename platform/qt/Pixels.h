#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include "platform/Colour.h"
#include "platform/Controls.h"
#include "platform/Picture.h"
#include "platform/Units.h"

namespace platform::qt {

// Twips to the nearest pixel boundary at 96 dots per inch, halves rounding
// up. Every edge on the screen, of a box or of a stroke, comes from this one
// rule; values far outside any window are held where they still fit an int.
int ToPixels(double twips);

// The pixels a box covers: each edge by ToPixels.
QRect PixelRect(Twips left, Twips top, Twips width, Twips height);

// The pixels a one-pixel pen marks as its centre runs along the stroke: from
// the pixel it starts in up to, not including, the one it ends in, and at
// least the first.
QRect StrokePixels(const LineSegment& stroke);

QColor ToQColor(Colour colour);

// The picture's image, decoded once per picture object.
const QImage& ImageOf(const Picture& picture);

}  // namespace platform::qt
