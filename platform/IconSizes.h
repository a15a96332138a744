#pragma once

namespace platform {

// The program icon's sizes in pixels: those a desktop's icon theme asks for,
// which the window carries too, and the page's, for its web app manifest.
inline constexpr int kDesktopIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
inline constexpr int kPageIconSizes[] = {192, 512};

// How the icon stays crisp at a size: the .ico's own 16 or 32 px image, each
// of its pixels a factor × factor block, centred on transparency, `margin`
// pixels from the top left. The source that fills most of the size wins;
// on a tie the larger one, for its finer detail.
struct CrispIcon {
  int source, factor, margin;
};
constexpr CrispIcon CrispIconOf(int size) {
  const int factor32 = size / 32, factor16 = size / 16;
  if (factor32 * 32 >= factor16 * 16) return {32, factor32, (size - 32 * factor32) / 2};
  return {16, factor16, (size - 16 * factor16) / 2};
}

}  // namespace platform
