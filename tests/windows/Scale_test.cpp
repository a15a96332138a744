#include <gtest/gtest.h>

#include <utility>

#include "platform/win32/FormWindow.h"

// The Windows window draws at the whole-number scale that rounding the
// display's dpi / 96 gives, as the desktop window does: 125 % stays at one,
// 150 % and 175 % draw at two, 250 % at three.
TEST(Win32ScaleTest, DpiRoundsToTheNearestWholeScale) {
  const std::pair<unsigned, int> scales[] = {{96, 1}, {120, 1}, {143, 1}, {144, 2}, {168, 2},
                                             {192, 2}, {239, 2}, {240, 3}, {288, 3}};
  for (const auto& [dpi, scale] : scales) EXPECT_EQ(platform::win32::FormWindow::ScaleFor(dpi), scale) << dpi;
}
