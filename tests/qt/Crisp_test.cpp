#include "tests/qt/WindowFixture.h"

// Run with QT_SCALE_FACTOR=2: the field and its sprites then scale up by
// whole pixels, every picture pixel a uniform block of its own colour, never
// smoothed.
TEST_F(WindowTest, FieldPixelsScaleUpAsUniformBlocks) {
  StartGame();
  const QPixmap grab = Window().grab();
  const int scale = static_cast<int>(grab.devicePixelRatio());
  ASSERT_EQ(grab.devicePixelRatio(), scale);
  const QImage field = grab.toImage().convertToFormat(QImage::Format_RGB32).copy(0, 0, 465 * scale, 329 * scale);
  // Sampled once a block and scaled back up, the field comes out the same
  // only if every block is of one colour.
  EXPECT_EQ(field, field.scaled(465, 329).scaled(field.size()));
  EXPECT_EQ(field.pixel(0, 0), Decoded(form.Back.Picture).pixel(0, 0));
}
