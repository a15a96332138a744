#pragma once

#include <QColor>
#include <QRect>

#include "platform/Colour.h"
#include "platform/Pixels.h"

namespace platform::qt {

inline QRect ToQRect(const PixelRect& r) { return {r.x, r.y, r.width, r.height}; }

QColor ToQColor(Colour colour);

}  // namespace platform::qt
