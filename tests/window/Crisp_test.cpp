#include <QPushButton>

#include "platform/qt/Pixels.h"
#include "tests/window/WindowFixture.h"

// Run with QT_SCALE_FACTOR=2: the field and its sprites then scale up
// by whole pixels, every picture pixel a uniform block, never smoothed.
TEST_F(WindowTest, FieldPixelsScaleUpAsUniformBlocks) {
  Window().findChild<QPushButton*>()->click();
  const QPixmap grab = Window().grab();
  const int scale = static_cast<int>(grab.devicePixelRatio());
  ASSERT_EQ(grab.devicePixelRatio(), scale);
  const QImage shot = grab.toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shot.size(), QSize(465, 344) * scale);
  for (int y = 0; y < 329; ++y)
    for (int x = 0; x < 465; ++x)
      for (int dy = 0; dy < scale; ++dy)
        for (int dx = 0; dx < scale; ++dx)
          ASSERT_EQ(shot.pixel(x * scale + dx, y * scale + dy), shot.pixel(x * scale, y * scale)) << x << "," << y;
  // And the blocks carry the picture's own colours: nothing blends.
  EXPECT_EQ(shot.pixel(0, 0), platform::qt::ImageOf(form.Back.Picture).pixel(0, 0));
}
