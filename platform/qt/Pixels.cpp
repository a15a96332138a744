#include "platform/qt/Pixels.h"

namespace platform::qt {

QColor ToQColor(Colour colour) {
  const Colour rgb = ResolveColour(colour);
  return {RedOf(rgb), GreenOf(rgb), BlueOf(rgb)};
}

}  // namespace platform::qt
