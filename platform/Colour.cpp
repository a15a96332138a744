#include "platform/Colour.h"

namespace platform {

Colour ResolveColour(Colour colour) {
  if ((colour & 0x80000000u) == 0) return colour & 0xFFFFFF;
  switch (colour & 0xFF) {
    case 5:  // window background
      return RGB(255, 255, 255);
    case 8:   // window text
    case 18:  // button text
      return RGB(0, 0, 0);
    case 15:  // button face
      return RGB(240, 240, 240);
    default:
      return RGB(0, 0, 0);
  }
}

}  // namespace platform
