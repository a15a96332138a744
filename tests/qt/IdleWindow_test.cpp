#include "tests/qt/WindowFixture.h"

TEST_F(WindowTest, OpensAfterTheInstructionsBox) {
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "vantor");
  EXPECT_EQ(boxes[0].prompt, "Press arrow keys to move, Enter to shoot. Shoot at the red dots to score points!");
}

TEST_F(WindowTest, CaptionsFitTheirBoxes) {
  const QFontMetrics metrics(Window().font());
  EXPECT_LE(metrics.height(), 17);  // the strip's labels are 17 pixels high
  for (const char* name : {"sshoot", "Label2", "Label3", "Label1"}) {
    const auto& label = form.Find<platform::Label>(name);
    EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(label.Caption)), label.Width / 15) << name;
  }
}

// Enter on it is played in the whole game.
TEST_F(WindowTest, NewGameHasTheFocusAndSpacePressesIt) {
  ASSERT_EQ(QApplication::focusWidget(), &NewGame());
  QTest::keyClick(&NewGame(), Qt::Key_Space);
  EXPECT_TRUE(form.Back.Visible);
  // Neither disabled control holds the focus during the game.
  EXPECT_FALSE(TimeBox().hasFocus() || NewGame().hasFocus());
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
