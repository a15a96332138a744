#include "tests/qt/WindowFixture.h"

TEST_F(WindowTest, CaptionsFitTheirBoxes) {
  const QFontMetrics metrics(Window().font());
  EXPECT_LE(metrics.height(), 17);  // the strip's labels are 17 pixels high
  for (const char* name : {"sshoot", "Label2", "Label3", "Label1"}) {
    const auto& label = form.Find<platform::Label>(name);
    EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(label.Caption)), label.Width / 15) << name;
  }
}

// The strip stays where it is, "Ready To Shoot" red to its last pixel, and the
// form's own grey fills the rest.
TEST_F(WindowTest, EnlargingTheWindowMovesNothing) {
  Window().resize(600, 500);
  const QImage shot = Screenshot();
  EXPECT_EQ(shot.pixel(80, 343), qRgb(255, 0, 0));
  EXPECT_EQ(shot.pixel(81, 343), qRgb(240, 240, 240));
  EXPECT_EQ(shot.pixel(550, 450), qRgb(240, 240, 240));
}
