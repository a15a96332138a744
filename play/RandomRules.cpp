#include "play/RandomRules.h"

#include "platform/Conversions.h"
#include "platform/Runtime.h"

namespace play {

using platform::Int;
using platform::Rnd;

namespace {
// The product of a single-precision draw and 255 is exact in double.
int Component() { return static_cast<int>(Int(static_cast<double>(Rnd()) * 255)); }
}  // namespace

platform::Colour RandomColour() {
  const int red = Component();
  const int green = Component();
  const int blue = Component();
  return platform::RGB(red, green, blue);
}

void ScatterDot(platform::PictureBox& dot, const platform::PictureBox& Back) {
  const double r1 = Rnd();
  const double width = Back.ScaleWidth;
  const double r2 = Rnd();
  const double height = Back.ScaleHeight;
  dot.Move(static_cast<platform::Twips>(Int(r1 * width)), static_cast<platform::Twips>(Int(r2 * height)));
  if (dot.Top < 100) dot.Top = 200;
}

}  // namespace play
