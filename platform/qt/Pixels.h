#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include "platform/Colour.h"
#include "platform/Picture.h"
#include "platform/Units.h"

namespace platform::qt {

// Twips to whole pixels at 96 dots per inch, rounded to the nearest; values
// far outside any window are held where they still fit an int.
int ToPixels(Twips twips);
QRect PixelRect(Twips left, Twips top, Twips width, Twips height);

QColor ToQColor(Colour colour);

// The picture's pixels as an image, made once per picture object.
const QImage& ImageOf(const Picture& picture);

}  // namespace platform::qt
