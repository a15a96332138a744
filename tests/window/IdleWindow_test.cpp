#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "tests/window/WindowFixture.h"

TEST_F(WindowTest, OpensAfterTheInstructionsBox) {
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "vantor");
  EXPECT_EQ(boxes[0].prompt, "Press arrow keys to move, Enter to shoot. Shoot at the red dots to score points!");
  EXPECT_EQ(Window().windowTitle(), "Form1");
  EXPECT_TRUE(Window().isWindow());
}

TEST_F(WindowTest, CaptionsFitTheirBoxes) {
  for (const char* name : {"sshoot", "Label2", "Label3", "Label1"}) {
    const auto& control = form.Find<platform::Label>(name);
    const QFontMetrics metrics(Window().font());
    EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(control.Caption)), control.Width / 15) << name;
    EXPECT_LE(metrics.height(), 17) << name;
  }
}

TEST_F(WindowTest, NewGameHasTheFocusAndEnterBothStartsAndFires) {
  auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), "New Game");
  QTest::keyClick(button, Qt::Key_Return);
  EXPECT_TRUE(form.Back.Visible);
  EXPECT_FALSE(form.NewGame.Enabled);
  EXPECT_NE(front.Keys().Query(platform::vbKeyReturn), 0);  // the press is there for the tick to see
  // Neither disabled control holds the focus during the game.
  EXPECT_FALSE(Window().findChild<QLineEdit*>()->hasFocus());
  EXPECT_FALSE(button->hasFocus());
}

TEST_F(WindowTest, SpacePressesTheFocusedButton) {
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_TRUE(form.Back.Visible);
}

TEST_F(WindowTest, LosingTheKeyboardReleasesEveryKey) {
  QTest::keyPress(&Window(), Qt::Key_Left);
  EXPECT_NE(front.Keys().Query(platform::vbKeyLeft), 0);
  QEvent deactivate(QEvent::WindowDeactivate);
  QApplication::sendEvent(&Window(), &deactivate);
  EXPECT_EQ(front.Keys().Query(platform::vbKeyLeft), 0);
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
